/* Test helpers for _qx_api_can: float64_t cells with chosen values, and
 * native callbacks of the CAN callback types that log their last call. */

%{
/* float64_t is double on every host the simulated device runs on. */
static double *qxt_f64_cells(PyObject *values) {
  Py_ssize_t n, i;
  double *block;
  if (!PySequence_Check(values)) {
    PyErr_SetString(PyExc_TypeError, "expected a sequence of floats");
    return NULL;
  }
  n = PySequence_Size(values);
  block = (double *)qxt_keep(calloc(n ? (size_t)n : 1, sizeof(double)));
  for (i = 0; i < n; i++) {
    PyObject *item = PySequence_GetItem(values, i);
    double v = item ? PyFloat_AsDouble(item) : 0.0;
    Py_XDECREF(item);
    if (PyErr_Occurred()) return NULL;
    block[i] = v;
  }
  return block;
}

/* The last call of a CAN callback: which one (1 transmit FIFO state, 2
 * buffer mode item, 3 list mode item), its scalar arguments in order, and
 * for 2 and 3 the first data bytes it was given. */
static unsigned long long qxt_can_log[16];
static int qxt_can_log_n;
static unsigned qxt_can_calls;

static void qxt_can_logged(int kind, int n, const unsigned long long *values) {
  int i;
  qxt_can_calls++;
  qxt_can_log[0] = (unsigned long long)kind;
  for (i = 0; i < n && i < 15; i++) qxt_can_log[i + 1] = values[i];
  qxt_can_log_n = n + 1;
}

static void qxt_can_on_fifo_state(u32_t port, u32_t queued, u32_t free_entries) {
  unsigned long long v[3] = {port, queued, free_entries};
  qxt_can_logged(1, 3, v);
}

/* Item layout of Qx_Can_Monitor_BufferItem_t: Timestamp u64 at 0, Id u32 at
 * 8, Flags u16 at 12, Dlc at 14, DataLength at 15, Data at 16. */
static void qxt_can_on_buffer_item(u32_t port, u32_t count, const void *item) {
  const unsigned char *p = (const unsigned char *)item;
  unsigned long long v[6] = {port, count, 0, 0, 0, 0};
  u32_t id = 0;
  if (p) {
    memcpy(&v[2], p, 8);
    memcpy(&id, p + 8, 4);
    v[3] = id;
    v[4] = p[14];
    v[5] = p[16];
  }
  qxt_can_logged(2, 6, v);
}

static void qxt_can_on_list_item(u32_t port, u32_t status, u64_t timestamp, u32_t id, u32_t flags, u8_t dlc,
                                 const u8_t *data) {
  unsigned long long v[7] = {port, status, timestamp, id, flags, dlc, data ? data[0] : 0};
  qxt_can_logged(3, 7, v);
}

typedef void (*qxt_can_fifo_state_cb)(u32_t, u32_t, u32_t);
typedef void (*qxt_can_buffer_item_cb)(u32_t, u32_t, const void *);
typedef void (*qxt_can_list_item_cb)(u32_t, u32_t, u64_t, u32_t, u32_t, u8_t, const u8_t *);
%}

/* The same function-pointer types as the CAN module declares them, so that
 * the pointer objects made here carry their mangled names. */
typedef void (*qxt_can_fifo_state_cb)(Qx_PortHandle_t, u32_t, u32_t);
typedef void (*qxt_can_buffer_item_cb)(Qx_PortHandle_t, u32_t, Qx_Can_Monitor_BufferItem_t const *const);
typedef void (*qxt_can_list_item_cb)(Qx_PortHandle_t, u32_t, u64_t, u32_t, u32_t, u8_t, u8_t const *const);

%inline %{
float64_t *qxt_f64_array(PyObject *values) { return (float64_t *)qxt_f64_cells(values); }
/* The cells may be views of members at any offset: read bytewise. */
PyObject *qxt_read_f64(void const *pointer, Py_ssize_t count) {
  Py_ssize_t i;
  PyObject *list = PyList_New(count);
  for (i = 0; list && i < count; i++) {
    double v;
    memcpy(&v, (const unsigned char *)pointer + (size_t)i * sizeof v, sizeof v);
    PyList_SET_ITEM(list, i, PyFloat_FromDouble(v));
  }
  return list;
}

qxt_can_fifo_state_cb qxt_can_fifo_state_callback(void) { return qxt_can_on_fifo_state; }
qxt_can_buffer_item_cb qxt_can_buffer_item_callback(void) { return qxt_can_on_buffer_item; }
qxt_can_list_item_cb qxt_can_list_item_callback(void) { return qxt_can_on_list_item; }

/* Number of CAN callback calls so far, and the last call as a list
 * [kind, arguments...]. */
unsigned qxt_can_callback_calls(void) { return qxt_can_calls; }
PyObject *qxt_can_last_callback(void) {
  int i;
  PyObject *list = PyList_New(qxt_can_log_n);
  for (i = 0; list && i < qxt_can_log_n; i++) PyList_SET_ITEM(list, i, PyLong_FromUnsignedLongLong(qxt_can_log[i]));
  return list;
}
%}

/* The transport protocols' and diagnostic sessions' helpers. */
%include "helpers_can_tp.i"
