/*
 * Lists: fixed arrays to and from lists of ints, byte lists into buffers,
 * lists of records into arrays, and output lists whose capacity the caller
 * gives. Each macro is applied to exact types or `type name` pairs by the
 * module that uses it; a macro QX_<KIND> that a line of api/<key>/params.txt
 * applies is named after that line's kind (`heap_bytes`: QX_HEAP_BYTES).
 * Every buffer a binding makes is released before the binding returns, on
 * success and on failure.
 *
 * The reading is one C reader (qx_read_ints in qx_convert.h: element width,
 * exact or maximum count, exception class and wording of a bad item) and one
 * capacity helper (qx_capacity_block); what differs between the macros is
 * the shape of the native parameters. An exception that the sequence itself
 * raises while it is read (its __len__ or __getitem__) propagates unchanged;
 * the messages below are for objects that are no sequence and for items
 * that are read and refused.
 *
 * Wording. Every rule of this file words its messages as the module says,
 * once, before it includes qx_rules.i:
 *   #define QX_WORDING_PLAIN     "Expecting a sequence", "list must contain
 *                                u8_t", "capacity must not be negative"
 *                                (_qx_api, _qx_api_common)
 *   #define QX_WORDING_FAIL_IN   "fail in '<binding>' : Expecting a
 *                                sequence", "fail in '<binding>' list must
 *                                contain '<R>'", a negative capacity "out of
 *                                range" (_qx_api_can, _qx_api_trovix)
 * The messages below are given in the fail-in wording; the plain wording
 * drops the "fail in '<binding>' : " (or "fail in '<binding>' ") before them.
 */
#if defined(QX_WORDING_PLAIN) == defined(QX_WORDING_FAIL_IN)
#error "A module defines QX_WORDING_PLAIN or QX_WORDING_FAIL_IN before it includes qx_rules.i"
#endif
#ifdef QX_WORDING_FAIL_IN
/* A message naming the binding, after "fail in '<binding>' : ". */
%define %qx_message(TEXT) "fail in '" "$symname" "' : " TEXT %enddef
/* The same without the colon (a refused list item). */
%define %qx_item_message(TEXT) "fail in '" "$symname" "' " TEXT %enddef
%define %qx_capacity_below_zero "capacity out of range" %enddef
#else
%define %qx_message(TEXT) TEXT %enddef
%define %qx_item_message(TEXT) TEXT %enddef
%define %qx_capacity_below_zero "capacity must not be negative" %enddef
#endif

/* The bytes of the buffer a `stack_bytes` parameter gets (api/qx_buffer.h),
 * and the number as the messages spell it. */
%import "qx_buffer.h"
#define %qx_spelled(NUMBER) %qx_spelled_(NUMBER)
#define %qx_spelled_(NUMBER) #NUMBER

/* -------------------------------------------------------------------------
 * QX_ARRAY_TO_LIST(T)
 *
 * The getter of an array field of N elements returns a new list of N
 * non-negative ints (0-255 for u8_t, 0-4294967295 for u32_t, whole values
 * for u64_t).
 * ------------------------------------------------------------------------- */
%define QX_ARRAY_TO_LIST(TYPE)
%typemap(out, noblock=1) TYPE [ANY] {
  $result = qx_list_of_uints($1, sizeof(TYPE), $1_dim0);
  if (!$result) SWIG_fail;
}
%enddef

/* -------------------------------------------------------------------------
 * QX_ARRAY_FROM_LIST(T, OVERFLOW) (setter of a T [N] member, T u8_t or u32_t)
 *
 * A sequence (list, tuple, ...) of exactly N ints, each a signed 32-bit value
 * stored truncated to the element (-1 is 255 in a u8_t and 4294967295 in a
 * u32_t). All or nothing: the items are read into the binding's own array,
 * and the member keeps its old contents on any failure. Messages, N spelled
 * as the declaration spells it:
 *   TypeError  "fail in '<binding>' : Expecting a sequence"
 *   ValueError "fail in '<binding>' : Expecting a sequence with <N> elements"
 *   ValueError "fail in '<binding>' : Expecting a sequence of <T>"  (an
 *              item that is no int; OVERFLOW, the module's exception class,
 *              with the same text for an int beyond the signed 32-bit range:
 *              PyExc_OverflowError in _qx_api_can, PyExc_ValueError in
 *              _qx_api_trovix)
 * A None record stores nothing once the sequence was accepted.
 * The getter stays QX_ARRAY_TO_LIST.
 * ------------------------------------------------------------------------- */
%define QX_ARRAY_FROM_LIST(TYPE, OVERFLOW)
%typemap(in, noblock=1) TYPE [ANY] (TYPE qx_array[$1_dim0]) {
  if (qx_read_ints($input, qx_array, NULL, sizeof(TYPE), $1_dim0, 1, PyExc_ValueError, OVERFLOW,
                   %qx_message("Expecting a sequence"),
                   %qx_message("Expecting a sequence with " "$1_dim0" " elements"),
                   %qx_message("Expecting a sequence of " #TYPE)) < 0) SWIG_fail;
  $1 = qx_array;
}
%typemap(memberin, noblock=1) TYPE [ANY] {
  if (arg1) memcpy($1, $input, sizeof(TYPE) * (size_t)$1_dim0);
}
%enddef

/* -------------------------------------------------------------------------
 * array_in(N): QX_ARRAY_IN(T, PARAM, N) and array_arg(N): QX_ARRAY_ARG(T,
 * PARAM, N) (a pointer argument `T *const name` standing for an array of N
 * elements)
 *
 * The Python argument is a sequence of exactly N ints, read as
 * QX_ARRAY_FROM_LIST reads them (an int beyond 32 bits: OverflowError) into
 * the binding's own array, which lives for the call. QX_ARRAY_IN is the
 * input alone (`T const *const name`, only read by the native side);
 * QX_ARRAY_ARG in addition appends the array's N elements to the result as
 * a list of ints after a successful call.
 * ------------------------------------------------------------------------- */
%define QX_ARRAY_IN(TYPE, PARAM, N)
%typemap(in, noblock=1) PARAM (TYPE qx_array[N]) {
  if (qx_read_ints($input, qx_array, NULL, sizeof(TYPE), N, 1, PyExc_ValueError, PyExc_OverflowError,
                   %qx_message("Expecting a sequence"),
                   %qx_message("Expecting a sequence with " #N " elements"),
                   %qx_message("Expecting a sequence of " #TYPE)) < 0) SWIG_fail;
  $1 = qx_array;
}
%enddef

%define QX_ARRAY_ARG(TYPE, PARAM, N)
QX_ARRAY_IN(TYPE, PARAM, N)
%typemap(argout, noblock=1) PARAM {
  $result = qx_append_output($result, qx_list_of_uints($1, sizeof(TYPE), N));
  if (!$result) SWIG_fail;
}
%enddef

/* -------------------------------------------------------------------------
 * heap_bytes: QX_HEAP_BYTES(DATA, LENGTH)
 *
 * One Python argument for a native (byte pointer, length) pair: any sequence
 * of ints (list, tuple), each taken as a signed 32-bit value and stored in
 * one byte (256 -> 0, -1 -> 255), copied into a buffer of exactly one byte
 * an item made for the call. An empty sequence passes a zero-length buffer
 * and length 0.
 *   TypeError  "fail in '<binding>' : Expecting a sequence"
 *   TypeError  "fail in '<binding>' : list must contain u8_t" (an item that
 *              is no int; OverflowError for one beyond 32 bits)
 * The native function is then not called.
 * ------------------------------------------------------------------------- */
%define QX_HEAP_BYTES(DATA, LENGTH)
%typemap(in, noblock=1) (DATA, LENGTH) (void *qx_buf = NULL, Py_ssize_t qx_n = 0) {
  qx_n = qx_read_ints($input, NULL, &qx_buf, 1, -1, 0, PyExc_TypeError, PyExc_OverflowError,
                      %qx_message("Expecting a sequence"), NULL, %qx_message("list must contain u8_t"));
  if (qx_n < 0) SWIG_fail;
  $1 = ($1_ltype)qx_buf;
  $2 = ($2_ltype)qx_n;
}
%typemap(freearg, noblock=1) (DATA, LENGTH) {
  free(qx_buf$argnum);
}
/* The buffer is the binding's own, of exactly the list's length: a check
 * of a parameter spelled like DATA elsewhere (QX_REACH) is not its. */
%typemap(check) (DATA, LENGTH) ""
%enddef

/* -------------------------------------------------------------------------
 * heap_bytes_count_first: QX_HEAP_BYTES_COUNT_FIRST(LENGTH, DATA)
 *
 *   QX_HEAP_BYTES_COUNT_FIRST(u32_t dataLength, u8_t const *const data)
 *
 * QX_HEAP_BYTES for a native (length, byte pointer) pair, the length first.
 * ------------------------------------------------------------------------- */
%define QX_HEAP_BYTES_COUNT_FIRST(LENGTH, DATA)
%typemap(in, noblock=1) (LENGTH, DATA) (void *qx_buf = NULL, Py_ssize_t qx_n = 0) {
  qx_n = qx_read_ints($input, NULL, &qx_buf, 1, -1, 0, PyExc_TypeError, PyExc_OverflowError,
                      %qx_message("Expecting a sequence"), NULL, %qx_message("list must contain u8_t"));
  if (qx_n < 0) SWIG_fail;
  $1 = ($1_ltype)qx_n;
  $2 = ($2_ltype)qx_buf;
}
%typemap(freearg, noblock=1) (LENGTH, DATA) {
  free(qx_buf$argnum);
}
%enddef

/* -------------------------------------------------------------------------
 * stack_bytes: QX_STACK_BYTES(PARAM) (a `u8_t const *` buffer parameter of
 * QX_BUFFER_BYTES, 64, bytes: api/qx_buffer.h)
 *
 * A sequence of at most 64 ints, each a signed 32-bit value of which the low
 * 8 bits are stored, fills the binding's zeroed 64-byte buffer; the native
 * function gets the buffer's address (the number of items is not passed).
 *   TypeError  "fail in '<binding>' : Expecting a sequence"
 *   ValueError "fail in '<binding>' : Expecting a sequence with at most 64 elements"
 *   TypeError  "fail in '<binding>' : list must contain u8_t"
 * Nothing is sent on a failure.
 * ------------------------------------------------------------------------- */
%define QX_STACK_BYTES(PARAM)
%typemap(in, noblock=1) PARAM (u8_t qx_bytes[QX_BUFFER_BYTES]) {
  memset(qx_bytes, 0, sizeof(qx_bytes));
  if (qx_read_ints($input, qx_bytes, NULL, 1, QX_BUFFER_BYTES, 0, PyExc_TypeError, PyExc_OverflowError,
                   %qx_message("Expecting a sequence"),
                   %qx_message("Expecting a sequence with at most " %qx_spelled(QX_BUFFER_BYTES) " elements"),
                   %qx_message("list must contain u8_t")) < 0) SWIG_fail;
  $1 = qx_bytes;
}
%enddef

/* -------------------------------------------------------------------------
 * stack_bytes_length: QX_STACK_BYTES_LENGTH(COUNT, PARAM) (the number of
 * bytes a `stack_bytes` buffer holds for the call, before it)
 *
 *   QX_STACK_BYTES_LENGTH(u8_t size, u8_t const *const ccpData)
 *
 * The buffer itself follows QX_STACK_BYTES. The number is the caller's own
 * int argument; a number above the buffer's 64 bytes would let the native
 * side read past it, so it is refused before the call:
 *   ValueError "fail in '<binding>' : <name> above the 64 bytes of the buffer"
 * ------------------------------------------------------------------------- */
%define QX_STACK_BYTES_LENGTH(COUNT, PARAM)
%typemap(check, noblock=1) (COUNT, PARAM) {
  if ((unsigned long long)$1 > QX_BUFFER_BYTES) {
    SWIG_exception_fail(SWIG_ValueError, %qx_message("$1_name" " above the " %qx_spelled(QX_BUFFER_BYTES) " bytes of the buffer"));
  }
}
%enddef

/* -------------------------------------------------------------------------
 * record_list: QX_RECORD_LIST(R, COUNT, ARRAY) (a native (count, record
 * array) pair, one Python argument)
 *
 * Any sequence of records of the element type (record objects, or
 * instances of a registered class), copied into one array made for the call
 * and released after it, whatever the outcome. Each item is held until its
 * record is copied, so items that a sequence makes on access are copied
 * while they still exist.
 *   TypeError "fail in '<binding>' : Expecting a sequence"
 *   TypeError "fail in '<binding>' list must contain '<R>'"  (None, or an
 *             object of another type; nothing is sent)
 * ------------------------------------------------------------------------- */
%fragment("qx_record_list", "header") %{
SWIGINTERN Py_ssize_t qx_records_from_sequence(PyObject *obj, swig_type_info *type, size_t size, void **array,
                                               const char *not_sequence, const char *bad_item) {
  qx_seq s;
  Py_ssize_t i;
  unsigned char *block;
  *array = NULL;
  if (qx_seq_open(&s, obj, not_sequence) < 0) return -1;
  if ((size_t)s.n > (size_t)PY_SSIZE_T_MAX / size) {
    PyErr_NoMemory();
    return -1;
  }
  block = (unsigned char *)calloc(s.n ? (size_t)s.n : 1, size);
  if (!block) {
    PyErr_NoMemory();
    return -1;
  }
  for (i = 0; i < s.n; i++) {
    void *record = NULL;
    int res;
    qx_origin held = QX_NO_ORIGIN;
    PyObject *item = qx_seq_item(&s, i);
    if (!item) {
      free(block);
      return -1;
    }
    /* The item is held until its record is copied. */
    res = qx_convert(item, &record, type, 0, 0, &held);
    if (SWIG_IsOK(res) && record) memcpy(block + (size_t)i * size, record, size);
    qx_release(&held);
    Py_DECREF(item);
    if (!SWIG_IsOK(res) || !record) {
      free(block);
      /* An item whose "this" raised keeps its own exception. */
      if (res != QX_ERROR_RAISED) PyErr_SetString(PyExc_TypeError, bad_item);
      return -1;
    }
  }
  *array = block;
  return s.n;
}
%}

%define QX_RECORD_LIST(RECORD, COUNT, ARRAY)
%typemap(in, noblock=1, fragment="qx_record_list") (COUNT, ARRAY) (void *qx_records = NULL, Py_ssize_t qx_n = 0) {
  qx_n = qx_records_from_sequence($input, $descriptor(RECORD *), sizeof(RECORD), &qx_records,
                                  %qx_message("Expecting a sequence"),
                                  %qx_item_message("list must contain '" #RECORD "'"));
  if (qx_n < 0) SWIG_fail;
  $1 = ($1_ltype)qx_n;
  $2 = ($2_ltype)qx_records;
}
%typemap(freearg, noblock=1) (COUNT, ARRAY) {
  free(qx_records$argnum);
}
%enddef

/* -------------------------------------------------------------------------
 * capacity_bytes: QX_CAPACITY_BYTES(BUFFER, COUNT),
 * capacity_record_list: QX_CAPACITY_RECORD_LIST(R, COUNT, BLOCK, SIZE),
 * capacity_record_array: QX_CAPACITY_RECORD_ARRAY(R, COUNT, BLOCK)
 * (an output list whose capacity the caller gives)
 *
 * The Python argument is the capacity: an int from 0 to 2**31 - 1, refused
 * before anything is allocated. The native function gets a zeroed block of
 * capacity elements and a count cell holding the capacity; after a
 * successful call the result is a list of the elements it reports (the
 * count clamped to the capacity): ints 0-255 for bytes; for records, each an
 * independent, owned copy (an instance of the registered class where one is
 * registered). The block is released on every path.
 *   TypeError     "fail in '<binding>' : Expecting a integer"
 *   ValueError    "fail in '<binding>' : capacity out of range" (below 0;
 *                 "capacity must not be negative" in the plain wording)
 *   OverflowError "fail in '<binding>' : capacity out of range" (beyond)
 * ------------------------------------------------------------------------- */
%define %qx_capacity(SIZE)
  qx_cap = qx_capacity_block($input, SIZE, &qx_block, %qx_message("Expecting a integer"),
                             %qx_message(%qx_capacity_below_zero), %qx_message("capacity out of range"));
  if (qx_cap < 0) SWIG_fail;
  qx_count = (u32_t)qx_cap;
%enddef

/* Byte elements, for a native (byte buffer, count cell) pair. */
%define QX_CAPACITY_BYTES(BUFFER, COUNT)
%typemap(in, noblock=1) (BUFFER, COUNT) (void *qx_block = NULL, Py_ssize_t qx_cap = 0, u32_t qx_count = 0) {
  %qx_capacity(1)
  $1 = ($1_ltype)qx_block;
  $2 = &qx_count;
}
%typemap(argout, noblock=1) (BUFFER, COUNT) {
  $result = qx_append_output($result, qx_list_of_uints(qx_block$argnum, 1, qx_reported(qx_count$argnum, qx_cap$argnum)));
  if (!$result) SWIG_fail;
}
%typemap(freearg, noblock=1) (BUFFER, COUNT) {
  free(qx_block$argnum);
}
%enddef

/* Record elements, for a native (count cell, record block, element size)
 * triple: the binding passes the element size itself. */
%define QX_CAPACITY_RECORD_LIST(RECORD, COUNT, BLOCK, SIZE)
%typemap(in, noblock=1) (COUNT, BLOCK, SIZE) (void *qx_block = NULL, Py_ssize_t qx_cap = 0, u32_t qx_count = 0) {
  %qx_capacity(sizeof(RECORD))
  $1 = &qx_count;
  $2 = ($2_ltype)qx_block;
  $3 = ($3_ltype)sizeof(RECORD);
}
%typemap(argout, noblock=1, fragment="qx_owned_record") (COUNT, BLOCK, SIZE) {
  $result = qx_append_output($result, qx_record_copies(qx_block$argnum, sizeof(RECORD), qx_reported(qx_count$argnum, qx_cap$argnum), $descriptor(RECORD *)));
  if (!$result) SWIG_fail;
}
%typemap(freearg, noblock=1) (COUNT, BLOCK, SIZE) {
  free(qx_block$argnum);
}
%enddef

/* Record elements, for a native (count cell, record block) pair. */
%define QX_CAPACITY_RECORD_ARRAY(RECORD, COUNT, BLOCK)
%typemap(in, noblock=1) (COUNT, BLOCK) (void *qx_block = NULL, Py_ssize_t qx_cap = 0, u32_t qx_count = 0) {
  %qx_capacity(sizeof(RECORD))
  $1 = &qx_count;
  $2 = ($2_ltype)qx_block;
}
%typemap(argout, noblock=1, fragment="qx_owned_record") (COUNT, BLOCK) {
  $result = qx_append_output($result, qx_record_copies(qx_block$argnum, sizeof(RECORD), qx_reported(qx_count$argnum, qx_cap$argnum), $descriptor(RECORD *)));
  if (!$result) SWIG_fail;
}
%typemap(freearg, noblock=1) (COUNT, BLOCK) {
  free(qx_block$argnum);
}
%enddef

/* -------------------------------------------------------------------------
 * pointer_list: QX_POINTER_LIST(T, COUNT, ARRAY) (a native (count, element
 * array) pair, one Python argument)
 *
 *   QX_POINTER_LIST(u8_t, u8_t numberOfNodes, u8_t const *const nodes)
 *
 * Any sequence (list, tuple, ...) of pointer objects of type `T *` (or one
 * the type table accepts for it); the element each points to is copied, in
 * order, into one zeroed array made for the call and released after it,
 * whatever the outcome. The count passed is the sequence's length.
 *   TypeError  "fail in '<binding>' : Expecting a sequence"
 *   TypeError  "fail in '<binding>' list must contain '<T>'"  (None, an int,
 *              a null pointer object or an object of another type)
 *   ValueError "fail in '<binding>' : Expecting a sequence with at most <M>
 *              elements"  (M the largest value of the count's type)
 * The last is the narrow-count rule: a length that the count's type cannot
 * hold (256 items for a u8_t count) would reach the native side truncated
 * (as 0) while the elements were lost, so it is refused before anything is
 * allocated or sent. Nothing is sent on any failure.
 * ------------------------------------------------------------------------- */
%fragment("qx_pointer_list", "header") %{
SWIGINTERN Py_ssize_t qx_pointees_from_sequence(PyObject *obj, swig_type_info *type, size_t size,
                                                unsigned long long max_count, void **array,
                                                const char *not_sequence, const char *too_long,
                                                const char *bad_item) {
  qx_seq s;
  Py_ssize_t i;
  unsigned char *block;
  *array = NULL;
  if (qx_seq_open(&s, obj, not_sequence) < 0) return -1;
  if ((unsigned long long)s.n > max_count) {
    PyErr_Format(PyExc_ValueError, "%s%llu elements", too_long, max_count);
    return -1;
  }
  if ((size_t)s.n > (size_t)PY_SSIZE_T_MAX / size) {
    PyErr_NoMemory();
    return -1;
  }
  block = (unsigned char *)calloc(s.n ? (size_t)s.n : 1, size);
  if (!block) {
    PyErr_NoMemory();
    return -1;
  }
  for (i = 0; i < s.n; i++) {
    void *element = NULL;
    int res;
    qx_origin held = QX_NO_ORIGIN;
    PyObject *item = qx_seq_item(&s, i);
    if (!item) {
      free(block);
      return -1;
    }
    /* The item is held until its element is copied. */
    res = qx_convert(item, &element, type, 0, 0, &held);
    if (SWIG_IsOK(res) && element) memcpy(block + (size_t)i * size, element, size);
    qx_release(&held);
    Py_DECREF(item);
    if (!SWIG_IsOK(res) || !element) {
      free(block);
      /* An item whose "this" raised keeps its own exception. */
      if (res != QX_ERROR_RAISED) PyErr_SetString(PyExc_TypeError, bad_item);
      return -1;
    }
  }
  *array = block;
  return s.n;
}
%}

%define QX_POINTER_LIST(TYPE, COUNT, ARRAY)
%typemap(in, noblock=1, fragment="qx_pointer_list") (COUNT, ARRAY) (void *qx_elements = NULL, Py_ssize_t qx_n = 0) {
  qx_n = qx_pointees_from_sequence($input, $descriptor(TYPE *), sizeof(TYPE), qx_count_max(sizeof($1_basetype)),
                                   &qx_elements, %qx_message("Expecting a sequence"),
                                   %qx_message("Expecting a sequence with at most "),
                                   %qx_item_message("list must contain '" #TYPE "'"));
  if (qx_n < 0) SWIG_fail;
  $1 = ($1_ltype)qx_n;
  $2 = ($2_ltype)qx_elements;
}
%typemap(freearg, noblock=1) (COUNT, ARRAY) {
  free(qx_elements$argnum);
}
%enddef
