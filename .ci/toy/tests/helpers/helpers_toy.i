/* Test helpers for _qx_api_toy: a native level callback that logs its
 * calls. */

%{
static unsigned qxt_toy_calls;
static u32_t qxt_toy_log[2];

static void qxt_toy_on_level(Qx_PortHandle_t const port, u32_t const level) {
  qxt_toy_calls++;
  qxt_toy_log[0] = port;
  qxt_toy_log[1] = level;
}

typedef void (*qxt_toy_level_cb)(Qx_PortHandle_t const, u32_t const);
%}

/* The callback type as the module declares it, so that the pointer objects
 * made here carry its mangled name. */
typedef void (*qxt_toy_level_cb)(Qx_PortHandle_t const, u32_t const);

%inline %{
qxt_toy_level_cb qxt_toy_level_callback(void) { return qxt_toy_on_level; }

/* Number of level callback calls so far, and the last one as [port, level]. */
unsigned qxt_toy_callback_calls(void) { return qxt_toy_calls; }
PyObject *qxt_toy_last_callback(void) { return Py_BuildValue("[II]", (unsigned)qxt_toy_log[0], (unsigned)qxt_toy_log[1]); }
%}
