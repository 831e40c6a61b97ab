/*
 * _qx_floor: a hand-written CPython module binding the benchmark's calls of
 * the native libraries with the same conversions and checks as the
 * generated modules, for comparison.
 *
 * Calling conventions are those of the generated modules, so that only the
 * conversion work differs: METH_NOARGS for no argument, METH_O for one,
 * METH_VARARGS (argument count checked here) for two or more.
 *
 * Conversions:
 *  - unsigned scalars: an int from 0 to 2**32 - 1, stored truncated to the
 *    declared width (TypeError / OverflowError otherwise), refused without
 *    raising an exception only to clear it;
 *  - byte lists: any sequence of ints, each a signed 32-bit value of which
 *    the low 8 bits are kept;
 *  - capacities: an int from 0 to 2**31 - 1; the buffer starts zeroed and
 *    the count cell holds the capacity; the count reported is clamped to it;
 *  - records: floor.Record objects (one allocation per record, owned or
 *    not, knowing the bytes they reach), or instances of a registered class
 *    holding one in `this`;
 *  - byte buffers (new_u8_array, memmove, cdata): Record objects of any
 *    kind, a bytes-like object in, bytes out, refused beyond the bytes the
 *    object reaches;
 *  - record arrays (new_Qx_Common_Xcp_Daq_Signal_t_array): a Record of
 *    count records; an item is a view Record that keeps the array alive,
 *    refused once the array's storage is gone; a record pointer beside a
 *    count is refused where it reaches fewer records;
 *  - pointer members (the update command's interfaces): the setter stores
 *    the address and keeps a reference to the object given, and the
 *    address it stored; before the native call, a member still holding
 *    that address is refused where its object reaches fewer records than
 *    the count beside it, or none (its storage deleted);
 *  - a nonzero status raises Exception with Qx_GetLastErrorDescription().
 */
#define PY_SSIZE_T_CLEAN
#include <Python.h>
#include <stdlib.h>
#include <string.h>

#include "qx_api.h"
#include "qx_api_can_node.h"
#include "qx_api_common_xcp.h"

/* ---- Records -------------------------------------------------------------- */

typedef struct {
  const char *name;
  size_t size;
} RecordKind;

static const RecordKind kind_ip = {"Qx_IpAddress_t *", sizeof(Qx_IpAddress_t)};
static const RecordKind kind_info = {"Qx_InterfaceInfo_t *", sizeof(Qx_InterfaceInfo_t)};
static const RecordKind kind_data = {"Qx_InterfaceData_t *", sizeof(Qx_InterfaceData_t)};
static const RecordKind kind_u8 = {"u8_t *", 1};
static const RecordKind kind_daq_signal = {"Qx_Common_Xcp_Daq_Signal_t *", sizeof(Qx_Common_Xcp_Daq_Signal_t)};
static const RecordKind kind_update = {"Qx_Interface_UpdateAllInterfaces_Cmd_t *",
                                       sizeof(Qx_Interface_UpdateAllInterfaces_Cmd_t)};

typedef struct {
  PyObject ob_base;
  void *ptr;
  const RecordKind *kind;
  int own;
  size_t extent;    /* the bytes it reaches */
  PyObject *keeper; /* a view's owner, kept alive */
  PyObject *member; /* the object its pointer member was set from, kept alive */
  void *member_at;  /* the address that setter stored */
} RecordObject;

static void record_dealloc(PyObject *self) {
  RecordObject *rec = (RecordObject *)self;
  if (rec->own) free(rec->ptr);
  Py_XDECREF(rec->keeper);
  Py_XDECREF(rec->member);
  PyObject_Free(self);
}

// clang-format off
static PyTypeObject RecordType = {
    PyVarObject_HEAD_INIT(NULL, 0)
    .tp_name = "_qx_floor.Record",
    .tp_basicsize = sizeof(RecordObject),
    .tp_dealloc = record_dealloc,
    .tp_flags = Py_TPFLAGS_DEFAULT,
};
// clang-format on

static PyObject *this_name; /* "this", interned */
static PyObject *empty_tuple;
static PyTypeObject *interface_data_class; /* registered class, or NULL */

static PyObject *record_new(void *ptr, const RecordKind *kind, int own) {
  RecordObject *rec = PyObject_New(RecordObject, &RecordType);
  if (!rec) return NULL;
  rec->ptr = ptr;
  rec->kind = kind;
  rec->own = own;
  rec->extent = kind->size;
  rec->keeper = NULL;
  rec->member = NULL;
  rec->member_at = NULL;
  return (PyObject *)rec;
}

/* A record argument: None is NULL; a Record of the kind, or an object whose
 * `this` is one. Raises TypeError `msg` and returns 0 otherwise. */
static int as_record(PyObject *obj, const RecordKind *kind, RecordObject **rec, void **ptr, const char *msg) {
  *rec = NULL;
  *ptr = NULL;
  if (obj == Py_None) return 1;
  if (Py_TYPE(obj) != &RecordType) {
    PyObject *inner = PyObject_GetAttr(obj, this_name);
    int ok;
    if (!inner) {
      PyErr_Clear();
      PyErr_SetString(PyExc_TypeError, msg);
      return 0;
    }
    ok = Py_TYPE(inner) == &RecordType && ((RecordObject *)inner)->kind == kind;
    Py_DECREF(inner); /* the object keeps it alive */
    if (!ok) {
      PyErr_SetString(PyExc_TypeError, msg);
      return 0;
    }
    obj = inner;
  } else if (((RecordObject *)obj)->kind != kind) {
    PyErr_SetString(PyExc_TypeError, msg);
    return 0;
  }
  *rec = (RecordObject *)obj;
  *ptr = (*rec)->ptr;
  return 1;
}

/* A record argument of any kind (a `void *`): a Record, or an object whose
 * `this` is one; None and a deleted record are refused too. */
static RecordObject *as_any_record(PyObject *obj, const char *msg, const char *null_msg) {
  RecordObject *rec;
  if (Py_TYPE(obj) == &RecordType) {
    rec = (RecordObject *)obj;
  } else {
    PyObject *inner = obj == Py_None ? NULL : PyObject_GetAttr(obj, this_name);
    int ok;
    if (!inner && obj != Py_None) PyErr_Clear();
    ok = inner && Py_TYPE(inner) == &RecordType;
    rec = (RecordObject *)inner;
    Py_XDECREF(inner); /* the object keeps it alive */
    if (!ok) {
      PyErr_SetString(obj == Py_None ? PyExc_ValueError : PyExc_TypeError, obj == Py_None ? null_msg : msg);
      return NULL;
    }
  }
  if (!rec->ptr) {
    PyErr_SetString(PyExc_ValueError, null_msg);
    return NULL;
  }
  return rec;
}

/* ---- Scalars, sequences, statuses -------------------------------------- */

/* From CPython 3.12 on, the best hand-written code reads a compact int
 * (at most one 30-bit digit: the small ints of every call) directly, with
 * no call: so does the floor, on every interpreter that has them. */
#if PY_VERSION_HEX >= 0x030C0000
#define COMPACT(obj) PyUnstable_Long_IsCompact((PyLongObject *)(obj))
#define COMPACT_VALUE(obj) PyUnstable_Long_CompactValue((PyLongObject *)(obj))
#else
#define COMPACT(obj) 0
#define COMPACT_VALUE(obj) 0
#endif

/* An int from 0 to 2**32 - 1. */
static int as_u32(PyObject *obj, unsigned long *val, const char *msg) {
  int overflow = 0;
  long long v;
  if (!PyLong_Check(obj)) {
    PyErr_SetString(PyExc_TypeError, msg);
    return 0;
  }
  v = COMPACT(obj) ? (long long)COMPACT_VALUE(obj) : PyLong_AsLongLongAndOverflow(obj, &overflow);
  if (overflow || v < 0 || v > 0xFFFFFFFFLL) {
    PyErr_SetString(PyExc_OverflowError, msg);
    return 0;
  }
  *val = (unsigned long)v;
  return 1;
}

/* An int from 0 to SIZE_MAX. */
static int as_size(PyObject *obj, size_t *val, const char *msg) {
  int overflow = 0;
  long long v;
  if (!PyLong_Check(obj)) {
    PyErr_SetString(PyExc_TypeError, msg);
    return 0;
  }
  v = COMPACT(obj) ? (long long)COMPACT_VALUE(obj) : PyLong_AsLongLongAndOverflow(obj, &overflow);
  if (overflow > 0) { /* beyond 2**63 - 1: rare */
    size_t big = PyLong_AsSize_t(obj);
    if (big == (size_t)-1 && PyErr_Occurred()) {
      PyErr_Clear();
      PyErr_SetString(PyExc_OverflowError, msg);
      return 0;
    }
    *val = big;
    return 1;
  }
  if (overflow || v < 0) {
    PyErr_SetString(PyExc_OverflowError, msg);
    return 0;
  }
  *val = (size_t)v;
  return 1;
}

/* An int from -2**31 to 2**31 - 1; `res` tells why it was refused
 * (PyExc_TypeError or PyExc_OverflowError). */
static int as_s32(PyObject *obj, long *val, PyObject **res) {
  int overflow = 0;
  long long v;
  if (!PyLong_Check(obj)) {
    *res = PyExc_TypeError;
    return 0;
  }
  v = COMPACT(obj) ? (long long)COMPACT_VALUE(obj) : PyLong_AsLongLongAndOverflow(obj, &overflow);
  if (overflow || v < -2147483648LL || v > 2147483647LL) {
    *res = PyExc_OverflowError;
    return 0;
  }
  *val = (long)v;
  return 1;
}

/* A sequence of ints into a fresh buffer of bytes (low 8 bits of each). */
static int bytes_from_sequence(PyObject *seq, unsigned char **buf, Py_ssize_t *count) {
  PyObject *fast;
  PyObject **items;
  Py_ssize_t i, n;
  *buf = NULL;
  *count = 0;
  if (!PySequence_Check(seq) || !(fast = PySequence_Fast(seq, "Expecting a sequence"))) {
    PyErr_Clear();
    PyErr_SetString(PyExc_TypeError, "Expecting a sequence");
    return 0;
  }
  n = PySequence_Fast_GET_SIZE(fast);
  items = PySequence_Fast_ITEMS(fast);
  *buf = (unsigned char *)malloc(n ? (size_t)n : 1);
  if (!*buf) {
    Py_DECREF(fast);
    PyErr_NoMemory();
    return 0;
  }
  for (i = 0; i < n; i++) {
    long v;
    PyObject *res;
    if (PyLong_CheckExact(items[i]) && COMPACT(items[i])) { /* always in range */
      (*buf)[i] = (unsigned char)COMPACT_VALUE(items[i]);
      continue;
    }
    if (!as_s32(items[i], &v, &res)) {
      Py_DECREF(fast);
      free(*buf);
      *buf = NULL;
      PyErr_SetString(res, "list must contain u8_t");
      return 0;
    }
    (*buf)[i] = (unsigned char)v;
  }
  Py_DECREF(fast);
  *count = n;
  return 1;
}

/* A capacity (0 to 2**31 - 1) and a zeroed block of that many elements. */
static int capacity_block(PyObject *obj, size_t width, void **block, unsigned long *capacity) {
  long v;
  PyObject *res;
  *block = NULL;
  if (!as_s32(obj, &v, &res)) {
    PyErr_SetString(res, res == PyExc_TypeError ? "Expecting a integer" : "capacity out of range");
    return 0;
  }
  if (v < 0) {
    PyErr_SetString(PyExc_ValueError, "capacity must not be negative");
    return 0;
  }
  *block = calloc(v ? (size_t)v : 1, width);
  if (!*block) {
    PyErr_NoMemory();
    return 0;
  }
  *capacity = (unsigned long)v;
  return 1;
}

static PyObject *status_error(void) {
  const char *text = Qx_GetLastErrorDescription();
  PyObject *msg;
  if (!text) text = "native call failed without an error description";
  msg = PyUnicode_DecodeUTF8(text, (Py_ssize_t)strlen(text), "surrogateescape");
  if (msg) {
    PyErr_SetObject(PyExc_Exception, msg);
    Py_DECREF(msg);
  }
  return NULL;
}

static int unpack(PyObject *args, const char *name, Py_ssize_t n, PyObject **out) {
  Py_ssize_t i, got = PyTuple_GET_SIZE(args);
  if (got != n) {
    PyErr_Format(PyExc_TypeError, "%s expected %zd arguments, got %zd", name, n, got);
    return 0;
  }
  for (i = 0; i < n; i++) out[i] = PyTuple_GET_ITEM(args, i);
  return 1;
}

/* ---- Bindings ------------------------------------------------------------- */

/* A new zeroed record of `kind` that the object owns (new_R). */
static PyObject *record_made(const RecordKind *kind) {
  void *ptr = calloc(1, kind->size);
  PyObject *rec;
  if (!ptr) return PyErr_NoMemory();
  rec = record_new(ptr, kind, 1);
  if (!rec) free(ptr);
  return rec;
}

static PyObject *f_new_Qx_IpAddress_t(PyObject *self, PyObject *unused) {
  (void)self;
  (void)unused;
  return record_made(&kind_ip);
}

static PyObject *f_delete_Qx_IpAddress_t(PyObject *self, PyObject *arg) {
  RecordObject *rec;
  void *ptr;
  (void)self;
  if (!as_record(arg, &kind_ip, &rec, &ptr, "in method 'delete_Qx_IpAddress_t', argument 1 of type 'Qx_IpAddress_t *'"))
    return NULL;
  if (rec && rec->own) {
    rec->own = 0;
    free(ptr);
  }
  Py_RETURN_NONE;
}

static PyObject *f_Qx_IpAddress_t_All_get(PyObject *self, PyObject *arg) {
  RecordObject *rec;
  void *ptr;
  (void)self;
  if (!as_record(arg, &kind_ip, &rec, &ptr,
                 "in method 'Qx_IpAddress_t_All_get', argument 1 of type 'Qx_IpAddress_t *'"))
    return NULL;
  if (!ptr) {
    PyErr_SetString(PyExc_ValueError,
                    "invalid null reference in method 'Qx_IpAddress_t_All_get', argument 1 of type 'Qx_IpAddress_t *'");
    return NULL;
  }
  return PyLong_FromUnsignedLong(((Qx_IpAddress_t *)ptr)->All);
}

static PyObject *f_Qx_IpAddress_t_All_set(PyObject *self, PyObject *args) {
  PyObject *a[2];
  RecordObject *rec;
  void *ptr;
  unsigned long v;
  (void)self;
  if (!unpack(args, "Qx_IpAddress_t_All_set", 2, a)) return NULL;
  if (!as_record(a[0], &kind_ip, &rec, &ptr,
                 "in method 'Qx_IpAddress_t_All_set', argument 1 of type 'Qx_IpAddress_t *'"))
    return NULL;
  if (!as_u32(a[1], &v, "in method 'Qx_IpAddress_t_All_set', argument 2 of type 'u32_t'")) return NULL;
  if (ptr) ((Qx_IpAddress_t *)ptr)->All = (u32_t)v;
  Py_RETURN_NONE;
}

static PyObject *f_Qx_CloseInterface(PyObject *self, PyObject *arg) {
  unsigned long port;
  (void)self;
  if (!as_u32(arg, &port, "in method 'Qx_CloseInterface', argument 1 of type 'Qx_PortHandle_t'")) return NULL;
  if (Qx_CloseInterface((Qx_PortHandle_t)port) != 0) return status_error();
  Py_RETURN_NONE;
}

static PyObject *f_Qx_CheckPortHandle(PyObject *self, PyObject *arg) {
  unsigned long port;
  (void)self;
  if (!as_u32(arg, &port, "in method 'Qx_CheckPortHandle', argument 1 of type 'Qx_PortHandle_t'")) return NULL;
  if (Qx_CheckPortHandle((Qx_PortHandle_t)port) != 0) return status_error();
  Py_RETURN_NONE;
}

static PyObject *f_Qx_Can_CyclicMsgs_StartMsg(PyObject *self, PyObject *args) {
  PyObject *a[2];
  unsigned long port, id;
  (void)self;
  if (!unpack(args, "Qx_Can_CyclicMsgs_StartMsg", 2, a)) return NULL;
  if (!as_u32(a[0], &port, "in method 'Qx_Can_CyclicMsgs_StartMsg', argument 1 of type 'Qx_PortHandle_t'")) return NULL;
  if (!as_u32(a[1], &id, "in method 'Qx_Can_CyclicMsgs_StartMsg', argument 2 of type 'u32_t'")) return NULL;
  if (Qx_Can_CyclicMsgs_StartMsg((Qx_PortHandle_t)port, (u32_t)id) != 0) return status_error();
  Py_RETURN_NONE;
}

static PyObject *f_Qx_OpenInterface(PyObject *self, PyObject *arg) {
  RecordObject *rec;
  void *info;
  Qx_PortHandle_t port = 0;
  (void)self;
  if (!as_record(arg, &kind_info, &rec, &info,
                 "in method 'Qx_OpenInterface', argument 1 of type 'Qx_InterfaceInfo_t const *'"))
    return NULL;
  if (Qx_OpenInterface((const Qx_InterfaceInfo_t *)info, &port) != 0) return status_error();
  return PyLong_FromUnsignedLong(port);
}

static PyObject *f_Qx_Command(PyObject *self, PyObject *args) {
  PyObject *a[3];
  unsigned long port, command;
  unsigned char *data;
  Py_ssize_t n;
  Qx_Error_t status;
  (void)self;
  if (!unpack(args, "Qx_Command", 3, a)) return NULL;
  if (!as_u32(a[0], &port, "in method 'Qx_Command', argument 1 of type 'Qx_PortHandle_t'")) return NULL;
  if (!as_u32(a[1], &command, "in method 'Qx_Command', argument 2 of type 'u8_t'")) return NULL;
  if (!bytes_from_sequence(a[2], &data, &n)) return NULL;
  status = Qx_Command((Qx_PortHandle_t)port, (u8_t)command, data, (u32_t)n);
  free(data);
  if (status != 0) return status_error();
  Py_RETURN_NONE;
}

static PyObject *f_Qx_CommandWithResponse(PyObject *self, PyObject *args) {
  PyObject *a[4];
  PyObject *list;
  unsigned long port, command, capacity, i, count;
  unsigned char *data;
  void *block;
  Py_ssize_t n;
  u32_t cell;
  Qx_Error_t status;
  (void)self;
  if (!unpack(args, "Qx_CommandWithResponse", 4, a)) return NULL;
  if (!as_u32(a[0], &port, "in method 'Qx_CommandWithResponse', argument 1 of type 'Qx_PortHandle_t'")) return NULL;
  if (!as_u32(a[1], &command, "in method 'Qx_CommandWithResponse', argument 2 of type 'u8_t'")) return NULL;
  if (!bytes_from_sequence(a[2], &data, &n)) return NULL;
  if (!capacity_block(a[3], 1, &block, &capacity)) {
    free(data);
    return NULL;
  }
  cell = (u32_t)capacity;
  status = Qx_CommandWithResponse((Qx_PortHandle_t)port, (u8_t)command, data, (u32_t)n, (u8_t *)block, &cell);
  free(data);
  if (status != 0) {
    free(block);
    return status_error();
  }
  count = cell < capacity ? cell : capacity;
  list = PyList_New((Py_ssize_t)count);
  for (i = 0; list && i < count; i++) {
    PyList_SET_ITEM(list, (Py_ssize_t)i, PyLong_FromLong(((unsigned char *)block)[i]));
  }
  free(block);
  return list;
}

/* One owned copy of a record, as an instance of the registered class where
 * one is registered. */
static PyObject *record_copy(const void *src, const RecordKind *kind, PyTypeObject *cls) {
  void *copy = malloc(kind->size);
  PyObject *rec, *inst;
  if (!copy) return PyErr_NoMemory();
  memcpy(copy, src, kind->size);
  rec = record_new(copy, kind, 1);
  if (!rec) {
    free(copy);
    return NULL;
  }
  if (!cls) return rec;
  inst = cls->tp_new(cls, empty_tuple, NULL);
  if (inst && PyObject_SetAttr(inst, this_name, rec) < 0) Py_CLEAR(inst);
  Py_DECREF(rec);
  return inst;
}

static PyObject *f_Qx_Interface_GetInterfaceList(PyObject *self, PyObject *args) {
  PyObject *a[2];
  PyObject *list;
  unsigned long flags, capacity, i, count;
  void *block;
  u32_t cell;
  (void)self;
  if (!unpack(args, "Qx_Interface_GetInterfaceList", 2, a)) return NULL;
  if (!as_u32(
          a[0], &flags,
          "in method 'Qx_Interface_GetInterfaceList', argument 1 of type 'Qx_Interface_GetInterfaceList_CmdFlags_t'"))
    return NULL;
  if (!capacity_block(a[1], sizeof(Qx_InterfaceData_t), &block, &capacity)) return NULL;
  cell = (u32_t)capacity;
  if (Qx_Interface_GetInterfaceList((Qx_Interface_GetInterfaceList_CmdFlags_t)flags, &cell, (Qx_InterfaceData_t *)block,
                                    sizeof(Qx_InterfaceData_t)) != 0) {
    free(block);
    return status_error();
  }
  count = cell < capacity ? cell : capacity;
  list = PyList_New((Py_ssize_t)count);
  for (i = 0; list && i < count; i++) {
    PyObject *item = record_copy((Qx_InterfaceData_t *)block + i, &kind_data, interface_data_class);
    if (!item)
      Py_CLEAR(list);
    else
      PyList_SET_ITEM(list, (Py_ssize_t)i, item);
  }
  free(block);
  return list;
}

static PyObject *f_new_u8_array(PyObject *self, PyObject *arg) {
  size_t count;
  void *ptr;
  PyObject *rec;
  (void)self;
  if (!as_size(arg, &count, "in method 'new_u8_array', argument 1 of type 'size_t'")) return NULL;
  if (count == 0) {
    PyErr_SetString(PyExc_ValueError,
                    "a count of 0 given for an array in method 'new_u8_array', argument 1 of type 'size_t'");
    return NULL;
  }
  if (count > 0xFFFFFFFFu) {
    PyErr_SetString(PyExc_OverflowError, "a count beyond 4294967295 bytes given for an array in method "
                                         "'new_u8_array', argument 1 of type 'size_t'");
    return NULL;
  }
  if (!(ptr = calloc(count, 1))) return PyErr_NoMemory();
  rec = record_new(ptr, &kind_u8, 1);
  if (!rec) {
    free(ptr);
    return NULL;
  }
  ((RecordObject *)rec)->extent = count;
  return rec;
}

static PyObject *f_memmove(PyObject *self, PyObject *args) {
  PyObject *a[2];
  RecordObject *rec;
  Py_buffer view;
  (void)self;
  if (!unpack(args, "memmove", 2, a)) return NULL;
  if (!(rec = as_any_record(a[0], "in method 'memmove', argument 1 of type 'void *'",
                            "invalid null reference in method 'memmove', argument 1 of type 'void *'")))
    return NULL;
  if (PyObject_GetBuffer(a[1], &view, PyBUF_SIMPLE) < 0) {
    PyErr_Clear();
    PyErr_SetString(PyExc_TypeError, "in method 'memmove', argument 2 of type 'void const *'");
    return NULL;
  }
  if ((size_t)view.len > rec->extent) {
    PyBuffer_Release(&view);
    PyErr_SetString(PyExc_ValueError,
                    "too few bytes given for the call in method 'memmove', argument 1 of type 'void *'");
    return NULL;
  }
  memmove(rec->ptr, view.buf, (size_t)view.len);
  PyBuffer_Release(&view);
  Py_RETURN_NONE;
}

static PyObject *f_cdata(PyObject *self, PyObject *args) {
  PyObject *a[2];
  RecordObject *rec;
  size_t count;
  (void)self;
  if (!unpack(args, "cdata", 2, a)) return NULL;
  if (!(rec = as_any_record(a[0], "in method 'cdata', argument 1 of type 'void *'",
                            "invalid null reference in method 'cdata', argument 1 of type 'void *'")))
    return NULL;
  if (!as_size(a[1], &count, "in method 'cdata', argument 2 of type 'size_t'")) return NULL;
  if (count > rec->extent) {
    PyErr_SetString(PyExc_ValueError,
                    "too few bytes given for the call in method 'cdata', argument 1 of type 'void *'");
    return NULL;
  }
  return PyBytes_FromStringAndSize((const char *)rec->ptr, (Py_ssize_t)count);
}

/* A zeroed array of `count` records of `kind` (new_R_array). */
static PyObject *record_array(PyObject *arg, const RecordKind *kind, const char *name, const char *msg) {
  size_t count;
  void *ptr;
  PyObject *rec;
  if (!as_size(arg, &count, msg)) return NULL;
  if (count == 0 || count > 0xFFFFFFFFu / kind->size) {
    PyErr_Format(count ? PyExc_OverflowError : PyExc_ValueError, "a count %s given for an array in method '%s'",
                 count ? "too large" : "of 0", name);
    return NULL;
  }
  if (!(ptr = calloc(count, kind->size))) return PyErr_NoMemory();
  rec = record_new(ptr, kind, 1);
  if (!rec) {
    free(ptr);
    return NULL;
  }
  ((RecordObject *)rec)->extent = count * kind->size;
  return rec;
}

static PyObject *f_new_Qx_Common_Xcp_Daq_Signal_t_array(PyObject *self, PyObject *arg) {
  (void)self;
  return record_array(arg, &kind_daq_signal, "new_Qx_Common_Xcp_Daq_Signal_t_array",
                      "in method 'new_Qx_Common_Xcp_Daq_Signal_t_array', argument 1 of type 'size_t'");
}

/* A DAQ signal argument: a Record of the kind (or a `this` holding one)
 * whose storage is there (a view's owner not deleted). */
static int as_daq_signal(PyObject *obj, RecordObject **rec, void **ptr, const char *msg) {
  if (!as_record(obj, &kind_daq_signal, rec, ptr, msg)) return 0;
  if (*rec && (*rec)->keeper && !((RecordObject *)(*rec)->keeper)->ptr) *ptr = NULL;
  return 1;
}

static PyObject *f_Qx_Common_Xcp_Daq_Signal_t_array_getitem(PyObject *self, PyObject *args) {
  PyObject *a[2];
  RecordObject *array, *view;
  void *ptr;
  size_t index;
  (void)self;
  if (!unpack(args, "Qx_Common_Xcp_Daq_Signal_t_array_getitem", 2, a)) return NULL;
  if (!as_daq_signal(a[0], &array, &ptr,
                     "in method 'Qx_Common_Xcp_Daq_Signal_t_array_getitem', argument 1 of type "
                     "'Qx_Common_Xcp_Daq_Signal_t *'"))
    return NULL;
  if (!ptr) {
    PyErr_SetString(PyExc_ValueError, "invalid null reference in method 'Qx_Common_Xcp_Daq_Signal_t_array_getitem', "
                                      "argument 1 of type 'Qx_Common_Xcp_Daq_Signal_t *'");
    return NULL;
  }
  if (!as_size(a[1], &index, "in method 'Qx_Common_Xcp_Daq_Signal_t_array_getitem', argument 2 of type 'size_t'"))
    return NULL;
  if (index >= array->extent / sizeof(Qx_Common_Xcp_Daq_Signal_t)) {
    PyErr_SetString(PyExc_IndexError, "index out of range in method 'Qx_Common_Xcp_Daq_Signal_t_array_getitem', "
                                      "argument 2 of type 'size_t'");
    return NULL;
  }
  view = (RecordObject *)record_new((Qx_Common_Xcp_Daq_Signal_t *)ptr + index, &kind_daq_signal, 0);
  if (!view) return NULL;
  view->keeper = array->keeper ? array->keeper : (PyObject *)array;
  Py_INCREF(view->keeper);
  return (PyObject *)view;
}

static PyObject *f_Qx_Common_Xcp_Daq_Signal_t_Address_set(PyObject *self, PyObject *args) {
  PyObject *a[2];
  RecordObject *rec;
  void *ptr;
  unsigned long value;
  (void)self;
  if (!unpack(args, "Qx_Common_Xcp_Daq_Signal_t_Address_set", 2, a)) return NULL;
  if (!as_daq_signal(a[0], &rec, &ptr,
                     "in method 'Qx_Common_Xcp_Daq_Signal_t_Address_set', argument 1 of type "
                     "'Qx_Common_Xcp_Daq_Signal_t *'"))
    return NULL;
  if (!ptr && a[0] != Py_None) {
    PyErr_SetString(PyExc_ValueError, "invalid null reference in method 'Qx_Common_Xcp_Daq_Signal_t_Address_set', "
                                      "argument 1 of type 'Qx_Common_Xcp_Daq_Signal_t *'");
    return NULL;
  }
  if (!as_u32(a[1], &value, "in method 'Qx_Common_Xcp_Daq_Signal_t_Address_set', argument 2 of type 'u32_t'"))
    return NULL;
  if (ptr) ((Qx_Common_Xcp_Daq_Signal_t *)ptr)->Address = (u32_t)value;
  Py_RETURN_NONE;
}

static PyObject *f_Qx_Common_Xcp_Daq_SetSignals(PyObject *self, PyObject *args) {
  PyObject *a[5];
  RecordObject *rec;
  void *ptr;
  unsigned long port, instance, flags, count;
  (void)self;
  if (!unpack(args, "Qx_Common_Xcp_Daq_SetSignals", 5, a)) return NULL;
  if (!as_u32(a[0], &port, "in method 'Qx_Common_Xcp_Daq_SetSignals', argument 1 of type 'Qx_PortHandle_t'") ||
      !as_u32(a[1], &instance, "in method 'Qx_Common_Xcp_Daq_SetSignals', argument 2 of type 'u8_t'") ||
      !as_u32(a[2], &flags,
              "in method 'Qx_Common_Xcp_Daq_SetSignals', argument 3 of type 'Qx_Common_Xcp_Daq_SetSignals_CmdFlags_t'") ||
      !as_u32(a[3], &count, "in method 'Qx_Common_Xcp_Daq_SetSignals', argument 4 of type 'u32_t'"))
    return NULL;
  if (!as_daq_signal(a[4], &rec, &ptr,
                     "in method 'Qx_Common_Xcp_Daq_SetSignals', argument 5 of type "
                     "'Qx_Common_Xcp_Daq_Signal_t const *const'"))
    return NULL;
  if (!ptr && a[4] != Py_None) {
    PyErr_SetString(PyExc_ValueError, "invalid null reference in method 'Qx_Common_Xcp_Daq_SetSignals', argument 5 "
                                      "of type 'Qx_Common_Xcp_Daq_Signal_t const *const'");
    return NULL;
  }
  if (ptr && (unsigned long long)count * sizeof(Qx_Common_Xcp_Daq_Signal_t) > rec->extent) {
    PyErr_SetString(PyExc_ValueError, "too few records given for the count in method 'Qx_Common_Xcp_Daq_SetSignals', "
                                      "argument 5 of type 'Qx_Common_Xcp_Daq_Signal_t const *const'");
    return NULL;
  }
  if (Qx_Common_Xcp_Daq_SetSignals((Qx_PortHandle_t)port, (u8_t)instance, (Qx_Common_Xcp_Daq_SetSignals_CmdFlags_t)flags,
                                   (u32_t)count, (const Qx_Common_Xcp_Daq_Signal_t *)ptr) != 0)
    return status_error();
  Py_RETURN_NONE;
}

static PyObject *f_new_Qx_InterfaceInfo_t(PyObject *self, PyObject *unused) {
  (void)self;
  (void)unused;
  return record_made(&kind_info);
}

static PyObject *f_Qx_InterfaceData_t_register(PyObject *self, PyObject *cls) {
  (void)self;
  if (!PyType_Check(cls)) {
    PyErr_SetString(PyExc_TypeError, "a class is needed");
    return NULL;
  }
  Py_INCREF(cls);
  Py_XSETREF(interface_data_class, (PyTypeObject *)cls);
  Py_RETURN_NONE;
}

static PyObject *f_new_Qx_InterfaceData_t_array(PyObject *self, PyObject *arg) {
  (void)self;
  return record_array(arg, &kind_data, "new_Qx_InterfaceData_t_array",
                      "in method 'new_Qx_InterfaceData_t_array', argument 1 of type 'size_t'");
}

static PyObject *f_new_Qx_Interface_UpdateAllInterfaces_Cmd_t(PyObject *self, PyObject *unused) {
  (void)self;
  (void)unused;
  return record_made(&kind_update);
}

static PyObject *f_Qx_Interface_UpdateAllInterfaces_Cmd_t_NumberOfInterfaces_set(PyObject *self, PyObject *args) {
  PyObject *a[2];
  RecordObject *rec;
  void *ptr;
  unsigned long value;
  (void)self;
  if (!unpack(args, "Qx_Interface_UpdateAllInterfaces_Cmd_t_NumberOfInterfaces_set", 2, a)) return NULL;
  if (!as_record(a[0], &kind_update, &rec, &ptr,
                 "in method 'Qx_Interface_UpdateAllInterfaces_Cmd_t_NumberOfInterfaces_set', argument 1 of type "
                 "'Qx_Interface_UpdateAllInterfaces_Cmd_t *'") ||
      !as_u32(a[1], &value,
              "in method 'Qx_Interface_UpdateAllInterfaces_Cmd_t_NumberOfInterfaces_set', argument 2 of type 'u32_t'"))
    return NULL;
  if (ptr) ((Qx_Interface_UpdateAllInterfaces_Cmd_t *)ptr)->NumberOfInterfaces = (u32_t)value;
  Py_RETURN_NONE;
}

static PyObject *f_Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(PyObject *self, PyObject *args) {
  PyObject *a[2];
  RecordObject *rec, *value;
  void *ptr, *vptr;
  (void)self;
  if (!unpack(args, "Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set", 2, a)) return NULL;
  if (!as_record(a[0], &kind_update, &rec, &ptr,
                 "in method 'Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set', argument 1 of type "
                 "'Qx_Interface_UpdateAllInterfaces_Cmd_t *'") ||
      !as_record(a[1], &kind_data, &value, &vptr,
                 "in method 'Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set', argument 2 of type "
                 "'Qx_InterfaceData_t *'"))
    return NULL;
  if (value && value->keeper && !((RecordObject *)value->keeper)->ptr) vptr = NULL;
  if (!vptr && a[1] != Py_None) {
    PyErr_SetString(PyExc_ValueError, "invalid null reference in method "
                                      "'Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set', argument 2 of type "
                                      "'Qx_InterfaceData_t *'");
    return NULL;
  }
  if (ptr) {
    ((Qx_Interface_UpdateAllInterfaces_Cmd_t *)ptr)->InterfaceData = (Qx_InterfaceData_t *)vptr;
    Py_XINCREF(value);
    Py_XSETREF(rec->member, (PyObject *)value);
    rec->member_at = vptr;
  }
  Py_RETURN_NONE;
}

static PyObject *f_Qx_Interface_UpdateAllInterfaces(PyObject *self, PyObject *args) {
  PyObject *a[2];
  RecordObject *rec;
  void *ptr;
  const char *name = NULL;
  const Qx_Interface_UpdateAllInterfaces_Cmd_t *cmd;
  (void)self;
  if (!unpack(args, "Qx_Interface_UpdateAllInterfaces", 2, a)) return NULL;
  if (a[0] != Py_None) {
    if (!PyUnicode_Check(a[0])) {
      PyErr_SetString(PyExc_TypeError, "in method 'Qx_Interface_UpdateAllInterfaces', argument 1 of type "
                                       "'char const *const'");
      return NULL;
    }
    if (!(name = PyUnicode_AsUTF8(a[0]))) return NULL;
  }
  if (!as_record(a[1], &kind_update, &rec, &ptr,
                 "in method 'Qx_Interface_UpdateAllInterfaces', argument 2 of type "
                 "'Qx_Interface_UpdateAllInterfaces_Cmd_t const *const'"))
    return NULL;
  cmd = (const Qx_Interface_UpdateAllInterfaces_Cmd_t *)ptr;
  if (cmd && cmd->InterfaceData && cmd->NumberOfInterfaces && rec->member && (void *)cmd->InterfaceData == rec->member_at) {
    RecordObject *member = (RecordObject *)rec->member;
    int gone = !member->ptr || (member->keeper && !((RecordObject *)member->keeper)->ptr);
    if (gone || (unsigned long long)cmd->NumberOfInterfaces * sizeof(Qx_InterfaceData_t) > member->extent) {
      PyErr_SetString(PyExc_ValueError, "too few bytes given for the call in method 'Qx_Interface_UpdateAllInterfaces', "
                                        "argument 2 of type 'Qx_Interface_UpdateAllInterfaces_Cmd_t const *const'");
      return NULL;
    }
  }
  if (Qx_Interface_UpdateAllInterfaces(name, cmd) != 0) return status_error();
  Py_RETURN_NONE;
}

static PyMethodDef methods[] = {
    {"new_Qx_IpAddress_t", f_new_Qx_IpAddress_t, METH_NOARGS, NULL},
    {"delete_Qx_IpAddress_t", f_delete_Qx_IpAddress_t, METH_O, NULL},
    {"Qx_IpAddress_t_All_get", f_Qx_IpAddress_t_All_get, METH_O, NULL},
    {"Qx_IpAddress_t_All_set", f_Qx_IpAddress_t_All_set, METH_VARARGS, NULL},
    {"new_Qx_InterfaceInfo_t", f_new_Qx_InterfaceInfo_t, METH_NOARGS, NULL},
    {"Qx_InterfaceData_t_register", f_Qx_InterfaceData_t_register, METH_O, NULL},
    {"Qx_CloseInterface", f_Qx_CloseInterface, METH_O, NULL},
    {"Qx_CheckPortHandle", f_Qx_CheckPortHandle, METH_O, NULL},
    {"Qx_Can_CyclicMsgs_StartMsg", f_Qx_Can_CyclicMsgs_StartMsg, METH_VARARGS, NULL},
    {"Qx_OpenInterface", f_Qx_OpenInterface, METH_O, NULL},
    {"Qx_Command", f_Qx_Command, METH_VARARGS, NULL},
    {"Qx_CommandWithResponse", f_Qx_CommandWithResponse, METH_VARARGS, NULL},
    {"Qx_Interface_GetInterfaceList", f_Qx_Interface_GetInterfaceList, METH_VARARGS, NULL},
    {"new_u8_array", f_new_u8_array, METH_O, NULL},
    {"memmove", f_memmove, METH_VARARGS, NULL},
    {"cdata", f_cdata, METH_VARARGS, NULL},
    {"new_Qx_Common_Xcp_Daq_Signal_t_array", f_new_Qx_Common_Xcp_Daq_Signal_t_array, METH_O, NULL},
    {"Qx_Common_Xcp_Daq_Signal_t_array_getitem", f_Qx_Common_Xcp_Daq_Signal_t_array_getitem, METH_VARARGS, NULL},
    {"Qx_Common_Xcp_Daq_Signal_t_Address_set", f_Qx_Common_Xcp_Daq_Signal_t_Address_set, METH_VARARGS, NULL},
    {"Qx_Common_Xcp_Daq_SetSignals", f_Qx_Common_Xcp_Daq_SetSignals, METH_VARARGS, NULL},
    {"new_Qx_InterfaceData_t_array", f_new_Qx_InterfaceData_t_array, METH_O, NULL},
    {"new_Qx_Interface_UpdateAllInterfaces_Cmd_t", f_new_Qx_Interface_UpdateAllInterfaces_Cmd_t, METH_NOARGS, NULL},
    {"Qx_Interface_UpdateAllInterfaces_Cmd_t_NumberOfInterfaces_set",
     f_Qx_Interface_UpdateAllInterfaces_Cmd_t_NumberOfInterfaces_set, METH_VARARGS, NULL},
    {"Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set", f_Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set,
     METH_VARARGS, NULL},
    {"Qx_Interface_UpdateAllInterfaces", f_Qx_Interface_UpdateAllInterfaces, METH_VARARGS, NULL},
    {NULL, NULL, 0, NULL},
};

static struct PyModuleDef module_def = {PyModuleDef_HEAD_INIT, "_qx_floor", NULL, -1, methods, NULL, NULL, NULL, NULL};

PyMODINIT_FUNC PyInit__qx_floor(void) {
  PyObject *m;
  if (PyType_Ready(&RecordType) < 0) return NULL;
  if (!this_name && !(this_name = PyUnicode_InternFromString("this"))) return NULL;
  if (!empty_tuple && !(empty_tuple = PyTuple_New(0))) return NULL;
  m = PyModule_Create(&module_def);
  if (!m) return NULL;
  Py_INCREF(&RecordType);
  if (PyModule_AddObject(m, "Record", (PyObject *)&RecordType) < 0) {
    Py_DECREF(&RecordType);
    Py_DECREF(m);
    return NULL;
  }
  return m;
}
