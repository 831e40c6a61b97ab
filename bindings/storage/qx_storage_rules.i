/*
 * Rules of _qx_storage alone: SWIG's arrays (carrays.i, %array_functions),
 * cells (cpointer.i, %pointer_functions) and raw bytes (cdata.i, cdata and
 * memmove), with the pointer objects of the modules' runtime.
 *
 *   QX_STORAGE_ARRAY(TYPE, NAME)   new_NAME(count), delete_NAME(a),
 *                                  NAME_getitem(a, i), NAME_setitem(a, i, v)
 *   QX_STORAGE_CELL(TYPE, NAME)    new_NAME(), copy_NAME(v), delete_NAME(p),
 *                                  NAME_assign(p, v), NAME_value(p)
 *
 * The value v follows the rule of TYPE that the module names (qx_scalars.i).
 * What differs from SWIG's library:
 *  - every array and cell is an object that owns its storage and knows its
 *    extent (qx_runtime.i): count * sizeof(TYPE) bytes, or sizeof(TYPE) for
 *    a cell. The four modules' checks read it: a buffer that reaches fewer
 *    bytes than a call reads or writes is refused before the native call
 *    ("too few bytes given for the call in method ...", "single element
 *    given for an array in method ...");
 *  - collecting an object frees its storage silently, as the value copies
 *    that getters return do; delete_NAME frees it at once and leaves the
 *    object holding a null address (a second delete_NAME, and delete_NAME of
 *    None or of a view that owns nothing, frees nothing). Any other use of
 *    a deleted object raises ValueError "invalid null reference in method
 *    '<binding>', argument 1 of type 'TYPE *'", as None does, in this module
 *    and in the four;
 *  - a count of 0 raises ValueError "a count of 0 given for an array in
 *    method 'new_NAME', argument 1 of type 'size_t'"; a negative count, or
 *    one beyond size_t, OverflowError; so does a count of more bytes than
 *    QX_STORAGE_MAX_BYTES, the most a native call reads or writes (its
 *    lengths are u32_t): "a count beyond 4294967295 bytes given for an
 *    array in method 'new_NAME', argument 1 of type 'size_t'"; a failed
 *    allocation raises MemoryError;
 *  - an index outside 0 ... count - 1 raises IndexError "index out of range
 *    in method 'NAME_getitem', argument 2 of type 'size_t'";
 *  - NAME_value and NAME_assign refuse an object that reaches fewer bytes
 *    than one TYPE (ValueError, "too few bytes given for the call in method
 *    ..."); they also read the owned copies that the modules' getters return
 *    (a float64_t member of a CAN record, a u16_t member of a common one);
 *  - elements are copied with memcpy, never read or written through a
 *    TYPE pointer ("Loads and stores at any address", qx_convert.h): an
 *    array may be a view of a member at an address below TYPE's alignment;
 *  - a failed allocation in copy_NAME raises MemoryError instead of writing
 *    through a null pointer.
 * Objects made outside the modules (unknown extent) are indexed and read
 * as far as asked, as SWIG's library does, unless they own their storage
 * (then they hold one element).
 */

%include <carrays.i>
%include <cpointer.i>

%fragment("qx_storage", "header", fragment="qx_self", fragment="qx_extent") %{
/* The most bytes an array holds: the most that a native call reads or
 * writes through a buffer, whose lengths are u32_t. */
#define QX_STORAGE_MAX_BYTES 0xFFFFFFFFu

/* A zeroed block of `count` elements of `size` bytes for new_NAME; NULL with
 * the exception set (`name` is new_NAME's). */
SWIGINTERN void *qx_storage_block(size_t count, size_t size, const char *name) {
  void *block;
  if (count == 0) {
    PyErr_Format(PyExc_ValueError, "a count of 0 given for an array in method '%s', argument 1 of type 'size_t'",
                 name);
    return NULL;
  }
  if (count > QX_STORAGE_MAX_BYTES / size) {
    PyErr_Format(PyExc_OverflowError,
                 "a count beyond %lu bytes given for an array in method '%s', argument 1 of type 'size_t'",
                 (unsigned long)QX_STORAGE_MAX_BYTES, name);
    return NULL;
  }
  block = calloc(count, size);
  if (!block) return PyErr_NoMemory();
  return block;
}

/* The object that owns a block of `size` bytes and frees it when collected;
 * NULL with the exception set (the block is freed then). */
SWIGINTERN PyObject *qx_new_storage(void *block, size_t size, swig_type_info *type) {
  PyObject *obj;
  if (!block) return PyErr_Occurred() ? NULL : PyErr_NoMemory();
  obj = qx_new_object(block, type, SWIG_POINTER_OWN, size, NULL, 1);
  if (!obj) free(block);
  return obj;
}

/* Whether element `index` of `size` bytes lies outside what an object
 * reaching `extent` bytes (QX_EXTENT_UNKNOWN: nobody knows) holds. An
 * object of unknown extent that owns its storage holds one element. */
SWIGINTERN int qx_index_outside(long long index, size_t extent, int own, size_t size) {
  if (index < 0) return 1;
  if (extent == QX_EXTENT_UNKNOWN) return (own & SWIG_POINTER_OWN) && index > 0;
  return (unsigned long long)index >= extent / size;
}
%}

/* The array or cell argument (`ary`, `obj`): a pointer object of the type
 * (or one the type table accepts). None and deleted objects are refused
 * but by the destructors, which free only what the converted link owns. */
%define %qx_storage_pointer(PARAM, CHECK)
%typemap(in, noblock=1, fragment="qx_storage") PARAM (void *argp = 0, int res = 0, int qx_own = 0, qx_origin qx_from) {
  res = qx_convert($input, &argp, $descriptor, $disown ? QX_POINTER_DELETE : 0, &qx_own, &qx_from);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!argp && !$disown) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  CHECK
  $1 = ($ltype)($disown ? qx_disown(argp, qx_own) : argp);
}
%enddef

%qx_storage_pointer(SWIGTYPE *ary, )
%qx_storage_pointer(SWIGTYPE *obj, if (!$disown && qx_short_of(qx_from.extent, qx_own, sizeof($*1_ltype), sizeof($*1_ltype))) {
    SWIG_exception_fail(SWIG_ValueError, "too few bytes given for the call in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  })

/* The index of an element of the array argument (argument 1). */
%typemap(in, noblock=1, fragment="qx_storage") size_t index (long long val, int ecode = 0) {
  ecode = qx_as_s64($input, &val);
  if (ecode == SWIG_TypeError) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  if (!SWIG_IsOK(ecode) || qx_index_outside(val, qx_from1.extent, qx_own1, sizeof(*arg1))) {
    SWIG_exception_fail(SWIG_IndexError, "index out of range in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = (size_t)val;
}

%define QX_STORAGE_ARRAY(TYPE, NAME)
%delobject delete_##NAME;
%feature("action") new_##NAME {
  result = (TYPE *)qx_storage_block(arg1, sizeof(TYPE), "new_" #NAME);
}
%typemap(out, noblock=1) TYPE *new_##NAME {
  $result = qx_new_storage($1, arg1 * sizeof(TYPE), $1_descriptor);
  if (!$result) SWIG_fail;
}
%feature("action") NAME##_getitem {
  memcpy(&result, (const unsigned char *)arg1 + arg2 * sizeof(TYPE), sizeof(TYPE));
}
%feature("action") NAME##_setitem {
  memcpy((unsigned char *)arg1 + arg2 * sizeof(TYPE), &arg3, sizeof(TYPE));
}
%array_functions(TYPE, NAME)
%enddef

%define QX_STORAGE_CELL(TYPE, NAME)
%delobject delete_##NAME;
%feature("action") copy_##NAME {
  result = (TYPE *)calloc(1, sizeof(TYPE));
  if (result) memcpy(result, &arg1, sizeof(TYPE));
}
%typemap(out, noblock=1) TYPE *new_##NAME, TYPE *copy_##NAME {
  $result = qx_new_storage($1, sizeof(TYPE), $1_descriptor);
  if (!$result) SWIG_fail;
}
%feature("action") NAME##_assign {
  memcpy(arg1, &arg2, sizeof(TYPE));
}
%feature("action") NAME##_value {
  memcpy(&result, arg1, sizeof(TYPE));
}
%pointer_functions(TYPE, NAME)
%enddef

/* -------------------------------------------------------------------------
 * QX_STORAGE_BYTES: cdata(ptr, nbytes) and memmove(data, indata), the
 * functions of cdata.i, declared here with its names and shapes, with these
 * differences:
 *  - both take a pointer object of any type (an array, a cell, a record)
 *    and refuse None and deleted objects (ValueError "invalid null
 *    reference in method 'cdata', argument 1 of type 'void *'");
 *  - the count (cdata.i's nelements) has no default: cdata(ptr) raises
 *    TypeError like every call with too few arguments;
 *  - cdata returns bytes, not a str;
 *  - memmove takes a bytes-like object (bytes, bytearray, a contiguous
 *    memoryview), not a str (TypeError "in method 'memmove', argument 2 of
 *    type 'void const *'");
 *  - reading or writing beyond the object's extent raises ValueError "too
 *    few bytes given for the call in method 'cdata', argument 1 of type
 *    'void *'" (for memmove, 'memmove') and writes nothing.
 * ------------------------------------------------------------------------- */
%typemap(in, noblock=1, fragment="qx_storage") void *ptr (void *argp = 0, int res = 0, int qx_own = 0, qx_origin qx_from),
                                                void *data (void *argp = 0, int res = 0, int qx_own = 0, qx_origin qx_from) {
  res = qx_convert($input, &argp, 0, 0, &qx_own, &qx_from);
  if (!SWIG_IsOK(res)) {
    %argument_fail(SWIG_TypeError, "$type", $symname, $argnum);
  }
  if (!argp) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = argp;
}

%typemap(check, noblock=1) size_t nbytes {
  if ($1 > (size_t)PY_SSIZE_T_MAX || qx_short_of(qx_from1.extent, qx_own1, $1, 1)) {
    SWIG_exception_fail(SWIG_ValueError, "too few bytes given for the call in method '" "$symname" "', argument 1 of type 'void *'");
  }
}

%typemap(out, noblock=1) SWIGCDATA {
  $result = PyBytes_FromStringAndSize($1.data, (Py_ssize_t)$1.len);
}

%typemap(in, noblock=1) (const void *indata, size_t inlen) (Py_buffer qx_view, int qx_viewed = 0) {
  if (PyObject_GetBuffer($input, &qx_view, PyBUF_SIMPLE) < 0) {
    PyErr_Clear();
    %argument_fail(SWIG_TypeError, "$1_type", $symname, $argnum);
  }
  qx_viewed = 1;
  $1 = qx_view.buf;
  $2 = (size_t)qx_view.len;
}
%typemap(freearg, noblock=1) (const void *indata, size_t inlen) {
  if (qx_viewed$argnum) PyBuffer_Release(&qx_view$argnum);
}
%typemap(check, noblock=1) (const void *indata, size_t inlen) {
  if (qx_short_of(qx_from1.extent, qx_own1, $2, 1)) {
    SWIG_exception_fail(SWIG_ValueError, "too few bytes given for the call in method '" "$symname" "', argument 1 of type 'void *'");
  }
}

%define QX_STORAGE_BYTES
%{
typedef struct SWIGCDATA {
  char *data;
  size_t len;
} SWIGCDATA;

static SWIGCDATA cdata(void *ptr, size_t nbytes) {
  SWIGCDATA d;
  d.data = (char *)ptr;
  d.len = nbytes;
  return d;
}
%}
SWIGCDATA cdata(void *ptr, size_t nbytes);
/* The C library's memmove (its result is not returned). */
void memmove(void *data, const void *indata, size_t inlen);
%enddef
