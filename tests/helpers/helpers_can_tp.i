/* Test helpers for _qx_api_can's transport protocols and diagnostic
 * sessions: native callbacks of their three callback types that log every
 * call, so that a test reads what the library handed them. */

%{
/* The calls of the transport-protocol callbacks since the last
 * qxt_tp_clear(): each [kind, arguments...], kind 1 a channel handed out
 * (port, channel), 2 broadcast data (port, channel, count, then the bytes),
 * 3 a diagnostic state (port, channel, error, state, type, flags). */
static PyObject *qxt_tp_calls;

static void qxt_tp_logged(PyObject *entry) {
  if (!entry) {
    PyErr_Clear();
    return;
  }
  if (!qxt_tp_calls) qxt_tp_calls = PyList_New(0);
  if (qxt_tp_calls && PyList_Append(qxt_tp_calls, entry) < 0) PyErr_Clear();
  Py_DECREF(entry);
}

/* The library calls these within a binding's native call, on the thread
 * that holds the interpreter lock: they may make Python objects. */
static void qxt_tp_on_channel(u32_t port, u8_t channel) {
  qxt_tp_logged(Py_BuildValue("[iIi]", 1, (unsigned)port, (int)channel));
}

static void qxt_tp_on_broadcast(u32_t port, u8_t channel, const u8_t *data, u32_t count) {
  PyObject *entry = Py_BuildValue("[iIiI]", 2, (unsigned)port, (int)channel, (unsigned)count);
  u32_t i;
  for (i = 0; entry && data && i < count; i++) {
    PyObject *byte = PyLong_FromLong(data[i]);
    if (!byte || PyList_Append(entry, byte) < 0) Py_CLEAR(entry);
    Py_XDECREF(byte);
  }
  qxt_tp_logged(entry);
}

static void qxt_tp_on_diag_state(u32_t port, u8_t channel, u32_t error, u8_t state, u8_t type, u32_t flags) {
  qxt_tp_logged(Py_BuildValue("[iIiIiiI]", 3, (unsigned)port, (int)channel, (unsigned)error, (int)state, (int)type,
                              (unsigned)flags));
}

typedef void (*qxt_tp_channel_cb)(u32_t, u8_t);
typedef void (*qxt_tp_broadcast_cb)(u32_t, u8_t, const u8_t *, u32_t);
typedef void (*qxt_tp_diag_state_cb)(u32_t, u8_t, u32_t, u8_t, u8_t, u32_t);
%}

/* The same function-pointer types as the CAN module declares them, so that
 * the pointer objects made here carry their mangled names. */
typedef void (*qxt_tp_channel_cb)(Qx_PortHandle_t const, u8_t const);
typedef void (*qxt_tp_broadcast_cb)(Qx_PortHandle_t const, u8_t const, u8_t const *const, u32_t const);
typedef void (*qxt_tp_diag_state_cb)(Qx_PortHandle_t const, u8_t const, Qx_Error_t const, u8_t const, u8_t const,
                                     u32_t const);

%inline %{
qxt_tp_channel_cb qxt_tp_channel_callback(void) { return qxt_tp_on_channel; }
qxt_tp_broadcast_cb qxt_tp_broadcast_callback(void) { return qxt_tp_on_broadcast; }
qxt_tp_diag_state_cb qxt_tp_diag_state_callback(void) { return qxt_tp_on_diag_state; }

/* The calls logged since the last clear, oldest first (a new list). */
PyObject *qxt_tp_callback_calls(void) {
  return qxt_tp_calls ? PyList_GetSlice(qxt_tp_calls, 0, PyList_GET_SIZE(qxt_tp_calls)) : PyList_New(0);
}
void qxt_tp_clear(void) { Py_CLEAR(qxt_tp_calls); }
%}
