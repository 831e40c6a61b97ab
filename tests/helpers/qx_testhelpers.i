/*
 * Test-only module: joins the shared type table and makes pointer objects
 * with chosen content, which no module of the system makes (u8_t, u16_t,
 * u32_t and u64_t arrays, native callbacks of the declared types). Its
 * objects have an unknown extent, as any object made outside the modules,
 * except those of qxt_view_reaching.
 * Storage made here is not owned by the returned objects; qxt_release_all()
 * frees it.
 */
%module qx_testhelpers

/* The modules' pointer-object runtime: objects made here are recognised by
 * the modules, and theirs here. */
%include "qx_runtime.i"

%{
#include "qx_api.h"

static void **qxt_blocks;
static size_t qxt_count;

static void *qxt_keep(void *block) {
  qxt_blocks = (void **)realloc(qxt_blocks, (qxt_count + 1) * sizeof(void *));
  qxt_blocks[qxt_count++] = block;
  return block;
}

/* Fills a fresh zeroed array of `width`-byte elements from a sequence of
 * Python ints (each taken modulo 2**(8*width)). */
static void *qxt_array(PyObject *seq, size_t width) {
  Py_ssize_t n, i;
  unsigned char *block;
  if (!PySequence_Check(seq)) {
    PyErr_SetString(PyExc_TypeError, "expected a sequence of ints");
    return NULL;
  }
  n = PySequence_Size(seq);
  block = (unsigned char *)qxt_keep(calloc(n ? (size_t)n : 1, width));
  for (i = 0; i < n; i++) {
    PyObject *item = PySequence_GetItem(seq, i);
    unsigned long long v = item ? PyLong_AsUnsignedLongLongMask(item) : 0;
    Py_XDECREF(item);
    if (PyErr_Occurred()) return NULL;
    memcpy(block + (size_t)i * width, &v, width); /* little-endian host */
  }
  return block;
}

static PyObject *qxt_read(const void *p, size_t width, Py_ssize_t n) {
  Py_ssize_t i;
  PyObject *list = PyList_New(n);
  for (i = 0; list && i < n; i++) {
    unsigned long long v = 0;
    memcpy(&v, (const unsigned char *)p + (size_t)i * width, width);
    PyList_SET_ITEM(list, i, PyLong_FromUnsignedLongLong(v));
  }
  return list;
}

static void qxt_on_data(u32_t const port, void *const context, u8_t const *const data, u32_t const length) {
  (void)port; (void)context; (void)data; (void)length;
}
static void qxt_on_cleanup(u32_t const port, void *const context) {
  (void)port; (void)context;
}
void qxt_on_error(u32_t const port, u32_t const error, u8_t const *const data, u32_t const length) {
  (void)port; (void)error; (void)data; (void)length;
}
%}

%import "qx_api.h"

%typemap(in) PyObject *values "$1 = $input;";
%typemap(in) PyObject *obj "$1 = $input;";
%typemap(in) Py_ssize_t count, Py_ssize_t offset "$1 = PyLong_AsSsize_t($input); if ($1 < 0) SWIG_fail;";
%typemap(in) void const *pointer (void *argp = 0) {
  if (!SWIG_IsOK(SWIG_ConvertPtr($input, &argp, 0, 0)) || !argp) SWIG_exception_fail(SWIG_TypeError, "expected a pointer object");
  $1 = argp;
}
%typemap(out) PyObject * "$result = $1;";

%inline %{
u8_t *qxt_u8_array(PyObject *values) { return (u8_t *)qxt_array(values, 1); }
u16_t *qxt_u16_array(PyObject *values) { return (u16_t *)qxt_array(values, 2); }
u32_t *qxt_u32_array(PyObject *values) { return (u32_t *)qxt_array(values, 4); }
u64_t *qxt_u64_array(PyObject *values) { return (u64_t *)qxt_array(values, 8); }
PyObject *qxt_read_u8(void const *pointer, Py_ssize_t count) { return qxt_read(pointer, 1, count); }
PyObject *qxt_read_u16(void const *pointer, Py_ssize_t count) { return qxt_read(pointer, 2, count); }
PyObject *qxt_read_u32(void const *pointer, Py_ssize_t count) { return qxt_read(pointer, 4, count); }
PyObject *qxt_read_u64(void const *pointer, Py_ssize_t count) { return qxt_read(pointer, 8, count); }

/* Views (non-owning pointer objects) of type `type` ("R *") onto storage
 * that stays until qxt_release_all(): `count` zeroed bytes (storage for
 * several records, as a native array would be), or the given bytes (a
 * sequence of ints, each taken modulo 256: records the tests packed from
 * the layout tables). */
static PyObject *qxt_typed_view(const char *type, void *block) {
  swig_type_info *info = SWIG_TypeQuery(type);
  if (!block) return NULL;
  if (!info) {
    PyErr_Format(PyExc_LookupError, "type %s is unknown", type);
    return NULL;
  }
  return SWIG_NewPointerObj(block, info, 0);
}
PyObject *qxt_view(const char *type, Py_ssize_t count) {
  return qxt_typed_view(type, qxt_keep(calloc(count ? (size_t)count : 1, 1)));
}
PyObject *qxt_view_of(const char *type, PyObject *values) { return qxt_typed_view(type, qxt_array(values, 1)); }

/* The same, its bytes starting `offset` bytes into storage that malloc
 * aligned: offset 4 gives an address that is a multiple of 4 but not of 8,
 * where the native layouts may leave an 8-byte member. */
PyObject *qxt_view_at(const char *type, PyObject *values, Py_ssize_t offset) {
  unsigned char *bytes = (unsigned char *)qxt_array(values, 1);
  unsigned char *block;
  Py_ssize_t n;
  if (!bytes) return NULL;
  n = PySequence_Size(values);
  block = (unsigned char *)qxt_keep(calloc((size_t)(offset + n) + 1, 1));
  memcpy(block + offset, bytes, (size_t)n);
  return qxt_typed_view(type, block + offset);
}

/* A view of type `type` at an address the test names (an int), of unknown
 * extent, as a pointer that the native side returned would be. */
PyObject *qxt_view_at_address(const char *type, PyObject *obj) {
  void *address = PyLong_AsVoidPtr(obj);
  if (!address && PyErr_Occurred()) return NULL;
  return qxt_typed_view(type, address);
}

/* A view of type `type` onto `count` zeroed bytes that knows its extent, as
 * the views the modules make do (a member of a record, an array member): it
 * reaches exactly those bytes. */
PyObject *qxt_view_reaching(const char *type, Py_ssize_t count) {
  swig_type_info *info = SWIG_TypeQuery(type);
  void *block = qxt_keep(calloc(count ? (size_t)count : 1, 1));
  if (!info) {
    PyErr_Format(PyExc_LookupError, "type %s is unknown", type);
    return NULL;
  }
  return qx_new_object(block, info, 0, (size_t)count, NULL, 0);
}

void qxt_release_all(void) {
  size_t i;
  for (i = 0; i < qxt_count; i++) free(qxt_blocks[i]);
  free(qxt_blocks);
  qxt_blocks = NULL;
  qxt_count = 0;
}

/* Native function pointers of the declared callback types. */
Qx_AsyncCommunication_CallbackFunction_t qxt_data_callback(void) { return qxt_on_data; }
Qx_AsyncCommunication_CleanUpFunction_t qxt_cleanup_callback(void) { return qxt_on_cleanup; }
Qx_AsyncCommunication_ErrorCallback_t qxt_error_callback(void) { return qxt_on_error; }
%}

/* The same error callback as a built-in whose doc carries "swig_ptr: ". */
%callback("%s_cb");
void qxt_on_error(u32_t const port, u32_t const error, u8_t const *const data, u32_t const length);
%nocallback;

/* The helpers of each library this build makes (tests/helpers/helpers_<key>.i,
 * listed by tests/CMakeLists.txt from the registry). */
%include "qx_testhelpers_libraries.i"
