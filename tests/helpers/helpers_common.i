/* Test helpers for _qx_api_common. */

/* A native host-notification callback of the event/action engine
 * (Qx_Common_EA_NotifyHost_Callback_t) that records its calls. Its type is
 * found by name in the shared type table, so _qx_api_common must be loaded
 * before qxt_ea_notify_callback() is called. */
%{
#define QXT_EA_NOTIFY_MAX 16
static u32_t qxt_ea_notify_log[QXT_EA_NOTIFY_MAX][3];
static int qxt_ea_notify_count;

static void qxt_ea_on_notify(u32_t const port, u32_t first, u32_t second) {
  if (qxt_ea_notify_count < QXT_EA_NOTIFY_MAX) {
    qxt_ea_notify_log[qxt_ea_notify_count][0] = port;
    qxt_ea_notify_log[qxt_ea_notify_count][1] = first;
    qxt_ea_notify_log[qxt_ea_notify_count][2] = second;
    qxt_ea_notify_count++;
  }
}
%}

%inline %{
PyObject *qxt_ea_notify_callback(void) {
  swig_type_info *type = SWIG_TypeQuery("Qx_Common_EA_NotifyHost_Callback_t");
  if (!type) {
    PyErr_SetString(PyExc_RuntimeError, "Qx_Common_EA_NotifyHost_Callback_t is unknown: import _qx_api_common first");
    return NULL;
  }
  return SWIG_NewFunctionPtrObj((void *)qxt_ea_on_notify, type);
}

/* The calls recorded since the last drain, as (port, first, second) tuples. */
PyObject *qxt_ea_notify_calls(void) {
  int i;
  PyObject *list = PyList_New(qxt_ea_notify_count);
  for (i = 0; list && i < qxt_ea_notify_count; i++)
    PyList_SET_ITEM(list, i, Py_BuildValue("(kkk)", (unsigned long)qxt_ea_notify_log[i][0],
                                           (unsigned long)qxt_ea_notify_log[i][1],
                                           (unsigned long)qxt_ea_notify_log[i][2]));
  qxt_ea_notify_count = 0;
  return list;
}
%}

/* Cells and callbacks of the types that _qx_api_common declares but no
 * module makes with a chosen content. Their types are found by name in the
 * shared type table, so _qx_api_common (or, for the CAN spelling of the
 * event handle, _qx_api_can) must be loaded before they are called. */
%{
#include "qx_api_common.h"

static PyObject *qxt_cell_of_type(const char *mangled, const void *value, size_t size) {
  swig_type_info *type = SWIG_MangledTypeQuery(mangled);
  void *cell;
  if (!type) {
    PyErr_Format(PyExc_RuntimeError, "type %s is unknown: import its module first", mangled);
    return NULL;
  }
  cell = qxt_keep(calloc(1, size));
  memcpy(cell, value, size);
  return SWIG_NewPointerObj(cell, type, 0);
}

#define QXT_FIRMWARE_MAX 8
static PyObject *qxt_firmware_log;

static void qxt_on_firmware_version(Qx_PortHandle_t const port, char const *const text, u32_t const value) {
  PyObject *entry;
  if (!qxt_firmware_log) qxt_firmware_log = PyList_New(0);
  if (!qxt_firmware_log || PyList_GET_SIZE(qxt_firmware_log) >= QXT_FIRMWARE_MAX) return;
  entry = Py_BuildValue("(kyk)", (unsigned long)port, text, (unsigned long)value);
  if (entry) {
    PyList_Append(qxt_firmware_log, entry);
    Py_DECREF(entry);
  }
}
%}

%inline %{
/* A Qx_Error_t cell holding `value`, typed as _qx_api_common knows it. */
PyObject *qxt_error_cell(unsigned long value) {
  Qx_Error_t v = (Qx_Error_t)value;
  return qxt_cell_of_type("_p_Qx_Error_t", &v, sizeof v);
}

/* A host event handle cell as _qx_api_common knows it (size_t). */
PyObject *qxt_event_handle_cell(unsigned long long value) {
  size_t v = (size_t)value;
  return qxt_cell_of_type("_p_size_t", &v, sizeof v);
}

/* The same cell as _qx_api_can knows it: a type of its own name. */
PyObject *qxt_can_event_handle_cell(unsigned long long value) {
  size_t v = (size_t)value;
  return qxt_cell_of_type("_p_Qx_Common_EventHandle_t", &v, sizeof v);
}

/* A native firmware-version callback that records (port, text, value). */
PyObject *qxt_firmware_version_callback(void) {
  swig_type_info *type = SWIG_TypeQuery("Qx_Common_GetFirmwareVersion_Async_Callback_t");
  if (!type) {
    PyErr_SetString(PyExc_RuntimeError, "Qx_Common_GetFirmwareVersion_Async_Callback_t is unknown: import _qx_api_common first");
    return NULL;
  }
  return SWIG_NewFunctionPtrObj((void *)qxt_on_firmware_version, type);
}

/* The calls recorded since the last drain. */
PyObject *qxt_firmware_version_calls(void) {
  PyObject *log = qxt_firmware_log ? qxt_firmware_log : PyList_New(0);
  qxt_firmware_log = NULL;
  return log;
}
%}

/* ---- XCP and function blocks: float cells ----------------------------------
 * A float cell holding `value`, typed as _qx_api_common knows float *
 * (Qx_Common_GetTemperature), and the value a cell holds. */
%inline %{
PyObject *qxt_float_cell(double value) {
  float v = (float)value;
  return qxt_cell_of_type("_p_float", &v, sizeof v);
}

double qxt_read_float(void const *pointer) {
  float v;
  memcpy(&v, pointer, sizeof v);
  return (double)v;
}
%}
