/* Test helpers for _qx_api_trovix: a native signal-update callback that logs
 * its last call, and the block address held in a signal-block cell. */

%{
static unsigned long long qxt_trovix_log[7];
static unsigned qxt_trovix_calls;

/* Logs port, mode, handle, flags, size and the value's first 8 bytes (as a
 * little-endian int); the data is read while the library's call lasts. */
static void qxt_trovix_on_update(u32_t const port, u8_t const mode, u16_t const handle, u32_t const flags,
                                 u16_t const size, void const *const data) {
  unsigned long long value = 0;
  if (data) memcpy(&value, data, size < 8 ? size : 8);
  qxt_trovix_calls++;
  qxt_trovix_log[0] = port;
  qxt_trovix_log[1] = mode;
  qxt_trovix_log[2] = handle;
  qxt_trovix_log[3] = flags;
  qxt_trovix_log[4] = size;
  qxt_trovix_log[5] = value;
  qxt_trovix_log[6] = data != NULL;
}

typedef struct Qx_Trovix_SignalBlock Qx_Trovix_SignalBlock_t;
typedef void (*qxt_trovix_update_cb)(Qx_PortHandle_t const, u8_t const, u16_t const, u32_t const, u16_t const,
                                     void const *const);
%}

/* The callback type as the module declares it, so that the pointer objects
 * made here carry its mangled name; the block type by name. */
typedef void (*qxt_trovix_update_cb)(Qx_PortHandle_t const, u8_t const, u16_t const, u32_t const, u16_t const,
                                     void const *const);
typedef struct Qx_Trovix_SignalBlock Qx_Trovix_SignalBlock_t;

%inline %{
qxt_trovix_update_cb qxt_trovix_update_callback(void) { return qxt_trovix_on_update; }

/* Number of update callback calls so far, and the last call as a list
 * [port, mode, handle, flags, size, value, data given]. */
unsigned qxt_trovix_callback_calls(void) { return qxt_trovix_calls; }
PyObject *qxt_trovix_last_callback(void) {
  int i;
  PyObject *list = PyList_New(7);
  for (i = 0; list && i < 7; i++) PyList_SET_ITEM(list, i, PyLong_FromUnsignedLongLong(qxt_trovix_log[i]));
  return list;
}

/* A fresh zeroed cell for one block address (freed by qxt_release_all). */
Qx_Trovix_SignalBlock_t **qxt_block_cell(void) {
  return (Qx_Trovix_SignalBlock_t **)qxt_keep(calloc(1, sizeof(Qx_Trovix_SignalBlock_t *)));
}
/* The block address a cell holds, as a block pointer object (None for NULL). */
Qx_Trovix_SignalBlock_t *qxt_block_in(Qx_Trovix_SignalBlock_t **cell) {
  Qx_Trovix_SignalBlock_t *block;
  memcpy(&block, cell, sizeof block);
  return block;
}
%}
