/*
 * C helpers of the shared conversion rules (bindings/shared/qx_*.i).
 *
 * Plain C on the Python C API, with no SWIG in it: every module's wrapper
 * includes this header, and the typemaps stay thin calls into it. Every
 * message is passed in by the caller, so one helper serves the modules that
 * word their refusals differently ("Expecting a sequence" in _qx_api,
 * "fail in '<binding>' : Expecting a sequence" in _qx_api_can).
 *
 * Error convention: a helper that fails sets a Python exception and returns
 * -1 (or NULL); the scalar readers instead return a conversion code, which a
 * typemap turns into the argument's own message.
 */
#ifndef QX_CONVERT_H
#define QX_CONVERT_H

#include <Python.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

/* Conversion codes of the scalar readers. The values are SWIG's (SWIG_OK,
 * SWIG_TypeError, SWIG_OverflowError), so a typemap passes them on to its
 * argument-failure macro unchanged. */
enum { QX_OK = 0, QX_TYPE_ERROR = -5, QX_OVERFLOW_ERROR = -7 };

/* ---------------------------------------------------------------------------
 * Loads and stores at any address
 *
 * The records keep the native layouts, whose alignment stops at 4 bytes: an
 * 8-byte element or member (u64_t, s64_t, float64_t, size_t, a pointer) may
 * sit at an address that is only a multiple of 4, and so may a pointer
 * object that stands for a value (a view of such a member). Reading or
 * writing it through a pointer of its own type would tell the compiler an
 * alignment that the address does not have (undefined behaviour: the
 * compiler may vectorise on it, strict-alignment targets trap). Every rule
 * therefore moves multi-byte elements through these two, whose memcpy the
 * compiler turns into a single load or store where the target allows it.
 * `width` is 1, 2, 4 or 8; a store keeps the low `width` bytes of `v`.
 * ------------------------------------------------------------------------- */
static inline unsigned long long qx_load_uint(const void *p, size_t width) {
  switch (width) {
    case 1: return *(const uint8_t *)p;
    case 2: {
      uint16_t v;
      memcpy(&v, p, sizeof v);
      return v;
    }
    case 4: {
      uint32_t v;
      memcpy(&v, p, sizeof v);
      return v;
    }
    default: {
      uint64_t v;
      memcpy(&v, p, sizeof v);
      return v;
    }
  }
}

static inline void qx_store_uint(void *p, size_t width, unsigned long long v) {
  switch (width) {
    case 1: *(uint8_t *)p = (uint8_t)v; break;
    case 2: {
      uint16_t e = (uint16_t)v;
      memcpy(p, &e, sizeof e);
      break;
    }
    case 4: {
      uint32_t e = (uint32_t)v;
      memcpy(p, &e, sizeof e);
      break;
    }
    default: {
      uint64_t e = (uint64_t)v;
      memcpy(p, &e, sizeof e);
      break;
    }
  }
}

/* ---------------------------------------------------------------------------
 * Scalars
 * ------------------------------------------------------------------------- */

/* Whether a compact int (at most one 30-bit digit; CPython 3.12 on) is
 * read directly, without a call. */
#if PY_VERSION_HEX >= 0x030C0000
#define QX_COMPACT_INTS 1
#define qx_is_compact(obj) PyUnstable_Long_IsCompact((PyLongObject *)(obj))
#define qx_compact_value(obj) PyUnstable_Long_CompactValue((PyLongObject *)(obj))
#else
#define QX_COMPACT_INTS 0
#endif

/* An int above 2**63 - 1 as 64 bits, where it fits: 1, else 0. Asked
 * without raising. Rare, so kept out of line: the conversions it is part of
 * stay small where every binding inlines them. */
static __attribute__((noinline, cold)) int qx_big_u64(PyObject *obj, unsigned long long *val) {
#if PY_VERSION_HEX >= 0x030D0000
  /* the bytes an unsigned buffer needs; the value is copied where 8 do */
  unsigned long long v;
  Py_ssize_t bytes =
      PyLong_AsNativeBytes(obj, &v, sizeof v, Py_ASNATIVEBYTES_NATIVE_ENDIAN | Py_ASNATIVEBYTES_UNSIGNED_BUFFER);
  if (bytes < 0 || (size_t)bytes > sizeof v) return 0;
  *val = v;
  return 1;
#else
  if (_PyLong_NumBits(obj) > 64) return 0;
  *val = PyLong_AsUnsignedLongLongMask(obj);
  return 1;
#endif
}

/* An int from 0 to 2**64 - 1. An int out of range is refused without
 * raising anything: the caller raises the argument's own exception, and
 * from CPython 3.12 on raising makes the exception object at once, so an
 * exception raised here only to be cleared would double the cost of every
 * refused argument. */
static inline int qx_as_u64(PyObject *obj, unsigned long long *val) {
  long long v;
  int overflow;
  if (!PyLong_Check(obj)) return QX_TYPE_ERROR;
#if QX_COMPACT_INTS
  if (qx_is_compact(obj)) {
    Py_ssize_t c = qx_compact_value(obj);
    if (c < 0) return QX_OVERFLOW_ERROR;
    *val = (unsigned long long)c;
    return QX_OK;
  }
#endif
  v = PyLong_AsLongLongAndOverflow(obj, &overflow);
  if (overflow == 0) {
    if (v < 0) return QX_OVERFLOW_ERROR;
    *val = (unsigned long long)v;
    return QX_OK;
  }
  return overflow > 0 && qx_big_u64(obj, val) ? QX_OK : QX_OVERFLOW_ERROR;
}

/* An int (bool included) from 0 to 2**32 - 1. */
static inline int qx_as_u32(PyObject *obj, unsigned long long *val) {
  unsigned long long v;
  int res = qx_as_u64(obj, &v);
  if (res != QX_OK) return res;
  if (v > 0xFFFFFFFFull) return QX_OVERFLOW_ERROR;
  *val = v;
  return QX_OK;
}

/* A signed 64-bit int (bool included), from -2**63 to 2**63 - 1. Small
 * ints, the usual list item, are read without a call. */
static inline int qx_as_s64(PyObject *obj, long long *val) {
  long long v;
  int overflow;
  if (!PyLong_Check(obj)) return QX_TYPE_ERROR;
#if QX_COMPACT_INTS
  if (qx_is_compact(obj)) {
    *val = (long long)qx_compact_value(obj);
    return QX_OK;
  }
#endif
  v = PyLong_AsLongLongAndOverflow(obj, &overflow);
  if (overflow) return QX_OVERFLOW_ERROR;
  *val = v;
  return QX_OK;
}

/* A signed 32-bit int (the native platform's long): list items and
 * capacities. */
static inline int qx_as_s32(PyObject *obj, long long *val) {
  long long v;
  int res = qx_as_s64(obj, &v);
  if (res != QX_OK) return res;
  if (v < -2147483648LL || v > 2147483647LL) return QX_OVERFLOW_ERROR;
  *val = v;
  return QX_OK;
}

/* A float (or float subclass), else an int (bool included) converted to a
 * double; an int too large for a double is QX_OVERFLOW_ERROR, anything else
 * QX_TYPE_ERROR. */
static inline int qx_as_double(PyObject *obj, double *val) {
  double v;
  if (PyFloat_Check(obj)) {
    *val = PyFloat_AsDouble(obj);
    return QX_OK;
  }
  if (!PyLong_Check(obj)) return QX_TYPE_ERROR;
  v = PyLong_AsDouble(obj);
  if (v == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    return QX_OVERFLOW_ERROR;
  }
  *val = v;
  return QX_OK;
}

/* A char: a str whose UTF-8 encoding is at most one byte (the empty str is
 * 0), else an int from -128 to 127 (-1 is 0xFF; QX_OVERFLOW_ERROR outside);
 * anything else (a longer str, a str UTF-8 cannot encode, None, a float, a
 * pointer object) is QX_TYPE_ERROR. */
static inline int qx_as_char(PyObject *obj, char *val) {
  long long v;
  int res;
  if (PyUnicode_Check(obj)) {
    Py_ssize_t size;
    const char *text = PyUnicode_AsUTF8AndSize(obj, &size);
    if (!text) {
      PyErr_Clear();
      return QX_TYPE_ERROR;
    }
    if (size > 1) return QX_TYPE_ERROR;
    *val = size ? text[0] : 0;
    return QX_OK;
  }
  res = qx_as_s32(obj, &v);
  if (res != QX_OK) return res;
  if (v < -128 || v > 127) return QX_OVERFLOW_ERROR;
  *val = (char)v;
  return QX_OK;
}

/* ---------------------------------------------------------------------------
 * Optional attributes
 *
 * obj.name where obj may lack it: 1 with a new reference in *value; 0, with
 * *value NULL and no error, where obj has no such attribute; -1 with the
 * error for any other failure. The interpreter's own look-up tells a
 * missing attribute without raising AttributeError where it can, so that
 * refusing an object makes no exception only to clear it.
 * ------------------------------------------------------------------------- */
static inline int qx_optional_attr(PyObject *obj, PyObject *name, PyObject **value) {
#if PY_VERSION_HEX >= 0x030D0000
  return PyObject_GetOptionalAttr(obj, name, value);
#else
  return _PyObject_LookupAttr(obj, name, value);
#endif
}

static inline int qx_optional_attr_string(PyObject *obj, const char *name, PyObject **value) {
#if PY_VERSION_HEX >= 0x030D0000
  return PyObject_GetOptionalAttrString(obj, name, value);
#else
  int found;
  PyObject *key = PyUnicode_FromString(name);
  *value = NULL;
  if (!key) return -1;
  found = _PyObject_LookupAttr(obj, key, value);
  Py_DECREF(key);
  return found;
#endif
}

/* ---------------------------------------------------------------------------
 * Sequences in
 *
 * A list or tuple (or subclass) is read through its item array (borrowed
 * items, as PySequence_Fast gives them); any other object that supports the
 * sequence protocol is read by position. An object without it, or without a
 * length, is refused with TypeError `not_sequence`. An exception that the
 * sequence itself raises (its __len__ or __getitem__) propagates unchanged.
 * ------------------------------------------------------------------------- */

typedef struct qx_seq {
  PyObject *obj;
  Py_ssize_t n;
  int fast; /* a list or tuple: items read through the item array */
} qx_seq;

static inline int qx_seq_open(qx_seq *s, PyObject *obj, const char *not_sequence) {
  PySequenceMethods *methods;
  s->obj = obj;
  s->fast = PyList_Check(obj) || PyTuple_Check(obj);
  if (s->fast) {
    s->n = PySequence_Fast_GET_SIZE(obj);
    return 0;
  }
  methods = Py_TYPE(obj)->tp_as_sequence;
  if (!PySequence_Check(obj) || !methods || !methods->sq_length) {
    PyErr_SetString(PyExc_TypeError, not_sequence);
    return -1;
  }
  s->n = methods->sq_length(obj);
  return s->n < 0 ? -1 : 0;
}

/* Item i as a new reference, NULL with the sequence's exception. A list
 * that shrank while its items were being converted (Python code ran in
 * between) has no item i any more: IndexError. */
static inline PyObject *qx_seq_item(const qx_seq *s, Py_ssize_t i) {
  if (s->fast) {
    PyObject *item;
    if (i >= PySequence_Fast_GET_SIZE(s->obj)) {
      PyErr_SetString(PyExc_IndexError, "sequence changed size during conversion");
      return NULL;
    }
    item = PySequence_Fast_GET_ITEM(s->obj, i);
    Py_INCREF(item);
    return item;
  }
  return PySequence_GetItem(s->obj, i);
}

/* Stores n ints of a list or tuple, each a signed 32-bit value truncated to
 * the element width. Reading an exact int runs no Python code, so the item
 * array stays valid throughout. Returns the index of the first refused item
 * (with its code in *res), or n. */
#define QX_STORE_FAST(ELEM)                                                        \
  for (i = 0; i < n; i++) {                                                        \
    long long v;                                                                   \
    if ((*res = qx_as_s32(items[i], &v)) != QX_OK) return i;                       \
    qx_store_uint((unsigned char *)out + (size_t)i * sizeof(ELEM), sizeof(ELEM),   \
                  (unsigned long long)v);                                          \
  }                                                                                \
  return n

static inline Py_ssize_t qx_store_fast(PyObject **items, Py_ssize_t n, void *out, size_t width, int *res) {
  Py_ssize_t i;
  switch (width) {
    case 1: QX_STORE_FAST(uint8_t);
    case 2: QX_STORE_FAST(uint16_t);
    default: QX_STORE_FAST(uint32_t);
  }
}
#undef QX_STORE_FAST

/* Reads a sequence of ints into elements of `width` bytes (1, 2 or 4), each
 * taken as a signed 32-bit value and stored truncated to the width (-1 is
 * 255 in a byte, 256 is 0).
 *
 * `limit` is the number of elements `out` holds: with `exact` the sequence
 * must have exactly that many items, else at most that many (ValueError
 * `bad_length`); a negative limit takes any length. With `out` NULL the
 * elements go to a fresh zeroed block of the sequence's length, returned in
 * *block (the caller frees it, also when 0 items were read).
 *
 * An item that is no int raises `item_error` (TypeError or ValueError) with
 * `bad_item`; an int beyond 32 bits raises `overflow_error` (OverflowError,
 * or ValueError where a module words every bad item alike) with `bad_item`.
 * Returns the number of items read, or -1 with the exception set; `out` is
 * then partly written, so callers that must stay unchanged read into a
 * buffer of their own first. */
static inline Py_ssize_t qx_read_ints(PyObject *obj, void *out, void **block, size_t width, Py_ssize_t limit,
                                      int exact, PyObject *item_error, PyObject *overflow_error,
                                      const char *not_sequence,
                                      const char *bad_length, const char *bad_item) {
  qx_seq s;
  Py_ssize_t i;
  int res = QX_OK;
  if (block) *block = NULL;
  if (qx_seq_open(&s, obj, not_sequence) < 0) return -1;
  if (limit >= 0 && (exact ? s.n != limit : s.n > limit)) {
    PyErr_SetString(PyExc_ValueError, bad_length);
    return -1;
  }
  if (!out) {
    if ((size_t)s.n > (size_t)PY_SSIZE_T_MAX / width) {
      PyErr_NoMemory();
      return -1;
    }
    out = *block = calloc(s.n ? (size_t)s.n : 1, width);
    if (!out) {
      PyErr_NoMemory();
      return -1;
    }
  }
  if (s.fast) {
    i = qx_store_fast(PySequence_Fast_ITEMS(obj), s.n, out, width, &res);
  } else {
    for (i = 0; i < s.n; i++) {
      long long v;
      PyObject *item = PySequence_GetItem(obj, i);
      if (!item) goto failed;
      res = qx_as_s32(item, &v);
      Py_DECREF(item);
      if (res != QX_OK) break;
      qx_store_uint((unsigned char *)out + (size_t)i * width, width, (unsigned long long)v);
    }
  }
  if (i == s.n) return s.n;
  PyErr_SetString(res == QX_OVERFLOW_ERROR ? overflow_error : item_error, bad_item);
failed:
  if (block) {
    free(*block);
    *block = NULL;
  }
  return -1;
}

/* ---------------------------------------------------------------------------
 * Capacity of an output list
 *
 * An int from 0 to 2**31 - 1, refused before anything is allocated:
 * TypeError `not_int`, ValueError `negative`, OverflowError `too_large`.
 * Allocates a zeroed block of capacity elements of `size` bytes (at least
 * one byte, so that a capacity of 0 still passes a valid address). Returns
 * the capacity, or -1 with the exception set.
 * ------------------------------------------------------------------------- */
static inline Py_ssize_t qx_capacity_block(PyObject *obj, size_t size, void **block, const char *not_int,
                                           const char *negative, const char *too_large) {
  long long v = 0;
  int res = qx_as_s32(obj, &v);
  *block = NULL;
  if (res != QX_OK) {
    PyErr_SetString(res == QX_TYPE_ERROR ? PyExc_TypeError : PyExc_OverflowError,
                    res == QX_TYPE_ERROR ? not_int : too_large);
    return -1;
  }
  if (v < 0) {
    PyErr_SetString(PyExc_ValueError, negative);
    return -1;
  }
  if ((unsigned long long)v > (unsigned long long)PY_SSIZE_T_MAX / size) {
    PyErr_NoMemory();
    return -1;
  }
  *block = calloc(v ? (size_t)v : 1, size);
  if (!*block) {
    PyErr_NoMemory();
    return -1;
  }
  return (Py_ssize_t)v;
}

/* The largest count an unsigned count parameter of `width` bytes (1, 2, 4
 * or 8) holds: a list longer than that cannot be described by it. */
static inline unsigned long long qx_count_max(size_t width) {
  return width >= sizeof(unsigned long long) ? ~0ull : (1ull << (8 * width)) - 1;
}

/* The number of elements an output list holds: the count the native side
 * reports, clamped to the capacity it was given. */
static inline Py_ssize_t qx_reported(uint32_t count, Py_ssize_t capacity) {
  return (Py_ssize_t)count < capacity ? (Py_ssize_t)count : capacity;
}

/* ---------------------------------------------------------------------------
 * Results out
 * ------------------------------------------------------------------------- */

/* A new list of n non-negative ints read from `data` (elements of `width`
 * bytes: 1, 2, 4 or 8, at any alignment: an array member of a record held
 * in another lies where the layouts put it). NULL with the exception set;
 * never a list holding a NULL item. */
static inline PyObject *qx_list_of_uints(const void *data, size_t width, Py_ssize_t n) {
  Py_ssize_t i;
  PyObject *list = PyList_New(n);
  if (!list) return NULL;
  for (i = 0; i < n; i++) {
    unsigned long long v;
    PyObject *item;
    v = qx_load_uint((const unsigned char *)data + (size_t)i * width, width);
    item = PyLong_FromUnsignedLongLong(v);
    if (!item) {
      Py_DECREF(list);
      return NULL;
    }
    PyList_SET_ITEM(list, i, item);
  }
  return list;
}

/* The text of a fixed buffer up to its first zero byte (the whole buffer if
 * it has none), decoded as UTF-8 with "surrogateescape". */
static inline PyObject *qx_text_from_buffer(const char *buf, size_t size) {
  const char *end = (const char *)memchr(buf, 0, size);
  return PyUnicode_DecodeUTF8(buf, end ? end - buf : (Py_ssize_t)size, "surrogateescape");
}

/* Appends an output value to a binding's result: the first output replaces
 * None (or an empty result), the second turns the result into a list of
 * both, later ones are appended to that list. Takes over both references.
 * `obj` NULL (its conversion failed) or a failing list operation releases
 * everything and returns NULL with the exception set, so a binding never
 * returns a partial result beside a pending exception. */
static inline PyObject *qx_append_output(PyObject *result, PyObject *obj) {
  if (!obj) {
    Py_XDECREF(result);
    return NULL;
  }
  if (!result || result == Py_None) {
    Py_XDECREF(result);
    return obj;
  }
  if (!PyList_Check(result)) {
    PyObject *list = PyList_New(1);
    if (!list) {
      Py_DECREF(result);
      Py_DECREF(obj);
      return NULL;
    }
    PyList_SET_ITEM(list, 0, result);
    result = list;
  }
  if (PyList_Append(result, obj) < 0) {
    Py_DECREF(result);
    result = NULL;
  }
  Py_DECREF(obj);
  return result;
}

#endif /* QX_CONVERT_H */
