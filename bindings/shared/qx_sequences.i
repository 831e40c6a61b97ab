/*
 * List, array and scalar rules of the modules that report conversion
 * failures with the binding's name (_qx_api_can, _qx_api_trovix):
 * "fail in '<binding>' : ...". A module %includes this file after
 * qx_rules.i and applies each macro to the exact types or `type name`
 * pairs it concerns.
 *
 *   QX_ARRAY_FROM_LIST(T)                  T [N] members (and array arguments)
 *                                          set from a sequence of exactly N ints
 *   QX_ARRAY_ARG_FROM_LIST(T, PARAM, N)    a T pointer argument filled from a
 *                                          sequence of exactly N ints; its N
 *                                          elements are appended to the result
 *   QX_BYTE_LIST_TO_STACK_BUFFER(PARAM)    up to 64 bytes into a 64-byte buffer
 *   QX_STRUCT_LIST_TO_ARRAY(R, COUNT, ARRAY)  a sequence of records as count + array
 *   QX_CAPACITY_TO_RECORD_ARRAY(R, COUNT, BLOCK)  capacity in, list of owned
 *                                          record copies out
 *   QX_U64_SCALAR(T)                       64-bit ints, all 64 bits kept
 *   QX_DOUBLE_IN(T)                        float or int for a double
 *
 * StructByValueIn needs no macro. A record passed by value (Qx_Common_Signal_t
 * const, Qx_Can_Data_t const) is taken by SWIG's default from a record object
 * of the type, copied whole; None raises ValueError "invalid null reference
 * in method '<binding>', argument <n> of type '<T const>'". A member of a
 * type the module knows by name only (Qx_Common_Signal_t in _qx_api_can) is
 * an opaque value to SWIG: its setter copies the record given (None:
 * ValueError "... argument 2 of type 'Qx_Common_Signal_t'") and its getter
 * returns an owned copy, not a view into the parent.
 */

%fragment("qx_sequences", "header", fragment="qx_lists") %{
/* Reads exactly `n` ints from a sequence into `out` (elements of `width`
 * bytes, each taken as a signed 32-bit value and truncated to the width).
 * `out` is written only when every item was accepted. Raises and returns 0
 * on failure:
 *   not a sequence             TypeError  seq_msg
 *   length other than n        ValueError len_msg
 *   an item that is no int     ValueError item_msg
 *   an int beyond 32 bits      OverflowError item_msg */
SWIGINTERN int qx_list_to_array(PyObject *seq, void *out, Py_ssize_t n, size_t width,
                                const char *seq_msg, const char *len_msg, const char *item_msg) {
  Py_ssize_t i, size;
  unsigned char *tmp;
  if (!PySequence_Check(seq) || (size = PySequence_Size(seq)) < 0) {
    PyErr_Clear();
    PyErr_SetString(PyExc_TypeError, seq_msg);
    return 0;
  }
  if (size != n) {
    PyErr_SetString(PyExc_ValueError, len_msg);
    return 0;
  }
  tmp = (unsigned char *)calloc(n ? (size_t)n : 1, width);
  if (!tmp) {
    PyErr_NoMemory();
    return 0;
  }
  for (i = 0; i < n; i++) {
    long long v = 0;
    int res = SWIG_TypeError;
    PyObject *item = PySequence_GetItem(seq, i);
    if (item) {
      res = qx_as_s32(item, &v);
      Py_DECREF(item);
    }
    if (!SWIG_IsOK(res)) {
      free(tmp);
      PyErr_Clear();
      PyErr_SetString(res == SWIG_OverflowError ? PyExc_OverflowError : PyExc_ValueError, item_msg);
      return 0;
    }
    switch (width) {
      case 1: tmp[i] = (unsigned char)v; break;
      case 2: ((uint16_t *)tmp)[i] = (uint16_t)v; break;
      default: ((uint32_t *)tmp)[i] = (uint32_t)v; break;
    }
  }
  memcpy(out, tmp, (size_t)n * width);
  free(tmp);
  return 1;
}

/* Reads up to `capacity` ints of a sequence into the zeroed `buffer`, one
 * byte each (a signed 32-bit value, low 8 bits kept). Raises and returns 0:
 *   not a sequence             TypeError  seq_msg
 *   more than capacity items   ValueError len_msg
 *   an item that is no int     TypeError  item_msg
 *   an int beyond 32 bits      OverflowError item_msg */
SWIGINTERN int qx_bytes_to_buffer(PyObject *seq, unsigned char *buffer, Py_ssize_t capacity,
                                  const char *seq_msg, const char *len_msg, const char *item_msg) {
  Py_ssize_t i, size;
  if (!PySequence_Check(seq) || (size = PySequence_Size(seq)) < 0) {
    PyErr_Clear();
    PyErr_SetString(PyExc_TypeError, seq_msg);
    return 0;
  }
  if (size > capacity) {
    PyErr_SetString(PyExc_ValueError, len_msg);
    return 0;
  }
  for (i = 0; i < size; i++) {
    long long v = 0;
    int res = SWIG_TypeError;
    PyObject *item = PySequence_GetItem(seq, i);
    if (item) {
      res = qx_as_s32(item, &v);
      Py_DECREF(item);
    }
    if (!SWIG_IsOK(res)) {
      PyErr_Clear();
      PyErr_SetString(res == SWIG_OverflowError ? PyExc_OverflowError : PyExc_TypeError, item_msg);
      return 0;
    }
    buffer[i] = (unsigned char)v;
  }
  return 1;
}

/* Copies a sequence of records of `descriptor`'s type (record objects or
 * instances of a registered class; None refused) into one fresh array of
 * `size`-byte slots. Raises TypeError (seq_msg, item_msg) or MemoryError
 * and returns 0 on failure. */
SWIGINTERN int qx_records_to_array(PyObject *seq, swig_type_info *descriptor, size_t size, void **array,
                                   Py_ssize_t *count, const char *seq_msg, const char *item_msg) {
  Py_ssize_t i, n;
  unsigned char *block;
  *array = NULL;
  *count = 0;
  if (!PySequence_Check(seq) || (n = PySequence_Size(seq)) < 0) {
    PyErr_Clear();
    PyErr_SetString(PyExc_TypeError, seq_msg);
    return 0;
  }
  if ((size_t)n > (size_t)PY_SSIZE_T_MAX / size) {
    PyErr_NoMemory();
    return 0;
  }
  block = (unsigned char *)calloc(n ? (size_t)n : 1, size);
  if (!block) {
    PyErr_NoMemory();
    return 0;
  }
  for (i = 0; i < n; i++) {
    void *record = NULL;
    int res = SWIG_ERROR;
    PyObject *item = PySequence_GetItem(seq, i);
    if (item) {
      res = SWIG_ConvertPtr(item, &record, descriptor, 0);
      Py_DECREF(item);
    }
    if (!SWIG_IsOK(res) || !record) {
      free(block);
      PyErr_Clear();
      PyErr_SetString(PyExc_TypeError, item_msg);
      return 0;
    }
    memcpy(block + (size_t)i * size, record, size);
  }
  *array = block;
  *count = n;
  return 1;
}

/* Capacity of an output list: an int from 0 to 2**31 - 1, refused before
 * anything is allocated (TypeError `type_msg` for a non-int, ValueError
 * `range_msg` for a negative one, OverflowError `range_msg` beyond 32 bits). */
SWIGINTERN int qx_capacity_records(PyObject *obj, size_t size, void **block, unsigned long *capacity,
                                   const char *type_msg, const char *range_msg) {
  long long v = 0;
  int res = qx_as_s32(obj, &v);
  *block = NULL;
  if (!SWIG_IsOK(res)) {
    PyErr_SetString(res == SWIG_TypeError ? PyExc_TypeError : PyExc_OverflowError,
                    res == SWIG_TypeError ? type_msg : range_msg);
    return 0;
  }
  if (v < 0) {
    PyErr_SetString(PyExc_ValueError, range_msg);
    return 0;
  }
  if ((unsigned long long)v > (unsigned long long)PY_SSIZE_T_MAX / size) {
    PyErr_NoMemory();
    return 0;
  }
  *block = calloc(v ? (size_t)v : 1, size);
  if (!*block) {
    PyErr_NoMemory();
    return 0;
  }
  *capacity = (unsigned long)v;
  return 1;
}
%}

/* -------------------------------------------------------------------------
 * FixedArrayFromList (setter of a T [N] member, T u8_t or u32_t)
 *
 * A sequence (list, tuple, ...) of exactly N ints, each a signed 32-bit value
 * stored truncated to the element (-1 is 255 in a u8_t and 4294967295 in a
 * u32_t; 4294967295 itself raises OverflowError). All or nothing: on any
 * failure the member keeps its old contents. Messages, N spelled as the
 * declaration spells it:
 *   TypeError  "fail in '<binding>' : Expecting a sequence"
 *   ValueError "fail in '<binding>' : Expecting a sequence with <N> elements"
 *   ValueError "fail in '<binding>' : Expecting a sequence of <T>"
 * A None record stores nothing once the sequence was accepted.
 * The getter stays FixedArrayToList (QX_ARRAY_TO_LIST).
 * ------------------------------------------------------------------------- */
%define QX_ARRAY_FROM_LIST(TYPE)
%typemap(in, noblock=1, fragment="qx_sequences") TYPE [ANY] (TYPE qx_array[$1_dim0]) {
  if (!qx_list_to_array($input, qx_array, $1_dim0, sizeof(TYPE),
                        "fail in '" "$symname" "' : Expecting a sequence",
                        "fail in '" "$symname" "' : Expecting a sequence with " "$1_dim0" " elements",
                        "fail in '" "$symname" "' : Expecting a sequence of " #TYPE)) SWIG_fail;
  $1 = qx_array;
}
%typemap(memberin, noblock=1) TYPE [ANY] {
  if (arg1) memcpy($1, $input, sizeof(TYPE) * (size_t)$1_dim0);
}
%enddef

/* -------------------------------------------------------------------------
 * FixedArrayFromList for a pointer argument (`T *const name` standing for an
 * array of N elements): the Python argument is a sequence of exactly N ints,
 * converted as above into the binding's own array; after a successful call
 * the array's N elements are appended to the result as a list of ints.
 * ------------------------------------------------------------------------- */
%define QX_ARRAY_ARG_FROM_LIST(TYPE, PARAM, N)
%typemap(in, noblock=1, fragment="qx_sequences") PARAM (TYPE qx_array[N]) {
  if (!qx_list_to_array($input, qx_array, N, sizeof(TYPE),
                        "fail in '" "$symname" "' : Expecting a sequence",
                        "fail in '" "$symname" "' : Expecting a sequence with " #N " elements",
                        "fail in '" "$symname" "' : Expecting a sequence of " #TYPE)) SWIG_fail;
  $1 = qx_array;
}
%typemap(argout, noblock=1) PARAM {
  {
    Py_ssize_t qx_i;
    PyObject *qx_list = PyList_New(N);
    if (!qx_list) SWIG_fail;
    for (qx_i = 0; qx_i < N; qx_i++) {
      PyList_SET_ITEM(qx_list, qx_i, PyLong_FromUnsignedLongLong((unsigned long long)$1[qx_i]));
    }
    $result = SWIG_Python_AppendOutput($result, qx_list);
  }
}
%enddef

/* -------------------------------------------------------------------------
 * ByteListToStackBuffer (a `u8_t const *` buffer parameter of 64 bytes)
 *
 * A sequence of at most 64 ints, each a signed 32-bit value of which the low
 * 8 bits are stored, fills the binding's zeroed 64-byte buffer; the native
 * function gets the buffer's address (the number of items is not passed).
 *   TypeError  "fail in '<binding>' : Expecting a sequence"
 *   ValueError "fail in '<binding>' : Expecting a sequence with at most 64 elements"
 *   TypeError  "fail in '<binding>' : list must contain u8_t"
 * Nothing is sent on a failure.
 * ------------------------------------------------------------------------- */
%define QX_BYTE_LIST_TO_STACK_BUFFER(PARAM)
%typemap(in, noblock=1, fragment="qx_sequences") PARAM (u8_t qx_bytes[64]) {
  memset(qx_bytes, 0, sizeof(qx_bytes));
  if (!qx_bytes_to_buffer($input, qx_bytes, 64,
                          "fail in '" "$symname" "' : Expecting a sequence",
                          "fail in '" "$symname" "' : Expecting a sequence with at most 64 elements",
                          "fail in '" "$symname" "' : list must contain u8_t")) SWIG_fail;
  $1 = qx_bytes;
}
%enddef

/* -------------------------------------------------------------------------
 * StructListToArray (a native (count, record array) pair, one Python
 * argument): any sequence of records of the element type, copied into one
 * array made for the call and released after it, whatever the outcome.
 *   TypeError "fail in '<binding>' : Expecting a sequence"
 *   TypeError "fail in '<binding>' list must contain '<R>'"  (None, or an
 *             object of another type; nothing is sent)
 * ------------------------------------------------------------------------- */
%define QX_STRUCT_LIST_TO_ARRAY(RECORD, COUNT, ARRAY)
%typemap(in, noblock=1, fragment="qx_sequences") (COUNT, ARRAY) (void *qx_records = NULL, Py_ssize_t qx_n = 0) {
  if (!qx_records_to_array($input, $descriptor(RECORD *), sizeof(RECORD), &qx_records, &qx_n,
                           "fail in '" "$symname" "' : Expecting a sequence",
                           "fail in '" "$symname" "' list must contain '" #RECORD "'")) SWIG_fail;
  $1 = ($1_ltype)qx_n;
  $2 = ($2_ltype)qx_records;
}
%typemap(freearg, noblock=1) (COUNT, ARRAY) {
  free(qx_records$argnum);
}
%enddef

/* -------------------------------------------------------------------------
 * CapacityToPointerList, record elements, for a native (count cell, record
 * block) pair: the Python argument is the capacity (an int from 0 to
 * 2**31 - 1, refused before anything is allocated:
 *   TypeError     "fail in '<binding>' : Expecting a integer"
 *   ValueError / OverflowError "fail in '<binding>' : capacity out of range").
 * The native function gets a zeroed block of capacity records and a count
 * cell holding the capacity; after a successful call the result is a list
 * of the records it reports (at most the capacity), each an independent,
 * owned copy (an instance of the registered class where one is registered).
 * The block is released on every path.
 * ------------------------------------------------------------------------- */
%define QX_CAPACITY_TO_RECORD_ARRAY(RECORD, COUNT, BLOCK)
%typemap(in, noblock=1, fragment="qx_sequences") (COUNT, BLOCK) (void *qx_block = NULL, unsigned long qx_cap = 0, u32_t qx_count = 0) {
  if (!qx_capacity_records($input, sizeof(RECORD), &qx_block, &qx_cap,
                           "fail in '" "$symname" "' : Expecting a integer",
                           "fail in '" "$symname" "' : capacity out of range")) SWIG_fail;
  qx_count = (u32_t)qx_cap;
  $1 = &qx_count;
  $2 = ($2_ltype)qx_block;
}
%typemap(argout, noblock=1) (COUNT, BLOCK) {
  {
    unsigned long qx_i, qx_n = qx_count$argnum < qx_cap$argnum ? qx_count$argnum : qx_cap$argnum;
    PyObject *qx_list = PyList_New((Py_ssize_t)qx_n);
    if (!qx_list) SWIG_fail;
    for (qx_i = 0; qx_i < qx_n; qx_i++) {
      RECORD *qx_copy = (RECORD *)malloc(sizeof(RECORD));
      PyObject *qx_item;
      if (!qx_copy) {
        Py_DECREF(qx_list);
        PyErr_NoMemory();
        SWIG_fail;
      }
      memcpy(qx_copy, (RECORD *)qx_block$argnum + qx_i, sizeof(RECORD));
      qx_item = SWIG_NewPointerObj(qx_copy, $descriptor(RECORD *), SWIG_POINTER_OWN);
      if (!qx_item) {
        free(qx_copy);
        Py_DECREF(qx_list);
        SWIG_fail;
      }
      PyList_SET_ITEM(qx_list, (Py_ssize_t)qx_i, qx_item);
    }
    $result = SWIG_Python_AppendOutput($result, qx_list);
  }
}
%typemap(freearg, noblock=1) (COUNT, BLOCK) {
  free(qx_block$argnum);
}
%enddef

/* -------------------------------------------------------------------------
 * 64-bit unsigned values, all 64 bits kept
 *
 * An int from 0 to 2**64 - 1 (bool included) is stored whole; anything else
 * raises TypeError (not an int) or OverflowError (out of range) with the
 * argument's message ("in method '<binding>', argument 2 of type 'u64_t'").
 * Getters and results return the whole value as a non-negative int; the
 * list getter of a T [N] member is QX_ARRAY_TO_LIST(T), whole values too.
 * ------------------------------------------------------------------------- */
%fragment("qx_as_u64", "header") %{
SWIGINTERN int qx_as_u64(PyObject *obj, unsigned long long *val) {
  unsigned long long v;
  if (!PyLong_Check(obj)) return SWIG_TypeError;
  v = PyLong_AsUnsignedLongLong(obj);
  if (v == (unsigned long long)-1 && PyErr_Occurred()) {
    PyErr_Clear();
    return SWIG_OverflowError;
  }
  *val = v;
  return SWIG_OK;
}
%}

%define QX_U64_SCALAR(TYPE)
%typemap(in, noblock=1, fragment="qx_as_u64") TYPE (unsigned long long val, int ecode = 0) {
  ecode = qx_as_u64($input, &val);
  if (!SWIG_IsOK(ecode)) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  $1 = ($1_ltype)val;
}
%typemap(out, noblock=1) TYPE {
  $result = PyLong_FromUnsignedLongLong((unsigned long long)$1);
}
%typemap(typecheck, precedence=SWIG_TYPECHECK_UINT64) TYPE {
  $1 = PyLong_Check($input) ? 1 : 0;
}
%enddef

/* -------------------------------------------------------------------------
 * DoubleIn
 *
 * A float (or an instance of a float subclass) gives its value; else an int
 * (bool included) converted to double; an int too large for a double, or
 * anything else, raises TypeError with the argument's message.
 * ------------------------------------------------------------------------- */
%fragment("qx_as_double", "header") %{
SWIGINTERN int qx_as_double(PyObject *obj, double *val) {
  double v;
  if (PyFloat_Check(obj)) {
    *val = PyFloat_AsDouble(obj);
    return SWIG_OK;
  }
  if (!PyLong_Check(obj)) return SWIG_TypeError;
  v = PyLong_AsDouble(obj);
  if (v == -1.0 && PyErr_Occurred()) {
    PyErr_Clear();
    return SWIG_TypeError;
  }
  *val = v;
  return SWIG_OK;
}
%}

%define QX_DOUBLE_IN(TYPE)
%typemap(in, noblock=1, fragment="qx_as_double") TYPE (double val, int ecode = 0) {
  ecode = qx_as_double($input, &val);
  if (!SWIG_IsOK(ecode)) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  $1 = ($1_ltype)val;
}
%typemap(typecheck, precedence=SWIG_TYPECHECK_DOUBLE) TYPE {
  $1 = (PyFloat_Check($input) || PyLong_Check($input)) ? 1 : 0;
}
%enddef
