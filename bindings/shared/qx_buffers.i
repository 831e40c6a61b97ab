/*
 * Buffers, lists and texts: rules for native arguments that are not single
 * scalars or records. Each macro is applied to exact `type name` pairs by the
 * module that uses it. Every buffer a binding makes starts zeroed and is
 * released before the binding returns, on success and on failure.
 */

%fragment("qx_lists", "header") %{
/* Signed 32-bit item or capacity: the native platform's long. */
SWIGINTERN int qx_as_s32(PyObject *obj, long long *val) {
  long long v;
  if (!PyLong_Check(obj)) return SWIG_TypeError;
  v = PyLong_AsLongLong(obj);
  if (v == -1 && PyErr_Occurred()) {
    PyErr_Clear();
    return SWIG_OverflowError;
  }
  if (v < -2147483648LL || v > 2147483647LL) return SWIG_OverflowError;
  *val = v;
  return SWIG_OK;
}

/* Reads a sequence of ints into a fresh zeroed buffer of `width`-byte
 * elements, each taken as a signed 32-bit value and stored truncated to its
 * width. On failure raises TypeError (OverflowError for an item beyond 32
 * bits) with `seq_msg` or `item_msg`, or MemoryError, and returns 0. */
SWIGINTERN int qx_sequence_to_buffer(PyObject *seq, size_t width, void **out, Py_ssize_t *count,
                                     const char *seq_msg, const char *item_msg) {
  Py_ssize_t n, i;
  unsigned char *buf;
  *out = NULL;
  *count = 0;
  n = PySequence_Check(seq) ? PySequence_Size(seq) : -1;
  if (n < 0) {
    PyErr_Clear();
    PyErr_SetString(PyExc_TypeError, seq_msg);
    return 0;
  }
  buf = (unsigned char *)calloc(n ? (size_t)n : 1, width);
  if (!buf) {
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
      free(buf);
      PyErr_Clear();
      PyErr_SetString(res == SWIG_OverflowError ? PyExc_OverflowError : PyExc_TypeError, item_msg);
      return 0;
    }
    switch (width) {
      case 1: buf[i] = (unsigned char)v; break;
      case 2: ((uint16_t *)buf)[i] = (uint16_t)v; break;
      default: ((uint32_t *)buf)[i] = (uint32_t)v; break;
    }
  }
  *out = buf;
  *count = n;
  return 1;
}

/* Capacity of an output list: an int from 0 to 2**31 - 1, refused before
 * anything is allocated; capacity x element size is checked for overflow. */
SWIGINTERN int qx_capacity_block(PyObject *obj, size_t width, void **block, unsigned long *capacity) {
  long long v;
  int res = qx_as_s32(obj, &v);
  *block = NULL;
  if (!SWIG_IsOK(res)) {
    PyErr_SetString(res == SWIG_TypeError ? PyExc_TypeError : PyExc_OverflowError,
                    res == SWIG_TypeError ? "Expecting a integer" : "capacity out of range");
    return 0;
  }
  if (v < 0) {
    PyErr_SetString(PyExc_ValueError, "capacity must not be negative");
    return 0;
  }
  if (width && (unsigned long long)v > (unsigned long long)PY_SSIZE_T_MAX / width) {
    PyErr_NoMemory();
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
%}

/* -------------------------------------------------------------------------
 * ByteListToHeapBuffer (messages of _qx_api)
 *
 * One Python argument for a native (byte pointer, length) pair: any sequence
 * of ints (list, tuple), each taken as a signed 32-bit value and stored in
 * one byte (256 -> 0, -1 -> 255). Not a sequence: TypeError "Expecting a
 * sequence"; an item that is no int (or beyond 32 bits): TypeError
 * (OverflowError) "list must contain u8_t"; the native function is then not
 * called. An empty sequence passes a zero-length buffer and length 0.
 * ------------------------------------------------------------------------- */
%define QX_BYTE_LIST_TO_HEAP_BUFFER(DATA, LENGTH)
%typemap(in, noblock=1, fragment="qx_lists") (DATA, LENGTH) (void *qx_buf = NULL, Py_ssize_t qx_n = 0) {
  if (!qx_sequence_to_buffer($input, 1, &qx_buf, &qx_n, "Expecting a sequence", "list must contain u8_t")) SWIG_fail;
  $1 = ($1_ltype)qx_buf;
  $2 = ($2_ltype)qx_n;
}
%typemap(freearg, noblock=1) (DATA, LENGTH) {
  free(qx_buf$argnum);
}
%enddef

/* -------------------------------------------------------------------------
 * CapacityToPointerList, byte elements
 *
 * The Python argument is the capacity (int, else TypeError "Expecting a
 * integer"; negative: ValueError; beyond 2**31 - 1: OverflowError). The
 * binding passes a zeroed buffer of that many bytes and a count cell holding
 * the capacity; after a successful call it returns a list of the bytes the
 * native side reports, the count clamped to the capacity.
 * ------------------------------------------------------------------------- */
%define QX_CAPACITY_TO_BYTE_LIST(BUFFER, COUNT)
%typemap(in, noblock=1, fragment="qx_lists") (BUFFER, COUNT) (void *qx_block = NULL, unsigned long qx_cap = 0, u32_t qx_count = 0) {
  if (!qx_capacity_block($input, 1, &qx_block, &qx_cap)) SWIG_fail;
  qx_count = (u32_t)qx_cap;
  $1 = ($1_ltype)qx_block;
  $2 = &qx_count;
}
%typemap(argout, noblock=1) (BUFFER, COUNT) {
  {
    unsigned long qx_i, qx_n = qx_count$argnum < qx_cap$argnum ? qx_count$argnum : qx_cap$argnum;
    PyObject *qx_list = PyList_New((Py_ssize_t)qx_n);
    if (!qx_list) {
      Py_XDECREF($result);
      $result = NULL;
      SWIG_fail;
    }
    for (qx_i = 0; qx_i < qx_n; qx_i++) {
      PyList_SET_ITEM(qx_list, (Py_ssize_t)qx_i, PyLong_FromUnsignedLong(((unsigned char *)qx_block$argnum)[qx_i]));
    }
    $result = SWIG_Python_AppendOutput($result, qx_list);
  }
}
%typemap(freearg, noblock=1) (BUFFER, COUNT) {
  free(qx_block$argnum);
}
%enddef

/* -------------------------------------------------------------------------
 * CapacityToPointerList, record elements
 *
 * As the byte variant, for a native (count cell, element block, element
 * size) triple: the binding passes the element size itself, and returns a
 * list of independent, owned copies of the records written (instances of the
 * registered class where one is registered).
 * ------------------------------------------------------------------------- */
%define QX_CAPACITY_TO_RECORD_LIST(RECORD, COUNT, BLOCK, SIZE)
%typemap(in, noblock=1, fragment="qx_lists") (COUNT, BLOCK, SIZE) (void *qx_block = NULL, unsigned long qx_cap = 0, u32_t qx_count = 0) {
  if (!qx_capacity_block($input, sizeof(RECORD), &qx_block, &qx_cap)) SWIG_fail;
  qx_count = (u32_t)qx_cap;
  $1 = &qx_count;
  $2 = ($2_ltype)qx_block;
  $3 = ($3_ltype)sizeof(RECORD);
}
%typemap(argout, noblock=1) (COUNT, BLOCK, SIZE) {
  {
    unsigned long qx_i, qx_n = qx_count$argnum < qx_cap$argnum ? qx_count$argnum : qx_cap$argnum;
    PyObject *qx_list = PyList_New((Py_ssize_t)qx_n);
    if (!qx_list) {
      Py_XDECREF($result);
      $result = NULL;
      SWIG_fail;
    }
    for (qx_i = 0; qx_i < qx_n; qx_i++) {
      RECORD *qx_copy = (RECORD *)calloc(1, sizeof(RECORD));
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
%typemap(freearg, noblock=1) (COUNT, BLOCK, SIZE) {
  free(qx_block$argnum);
}
%enddef

/* -------------------------------------------------------------------------
 * StringOutFixedBuffer
 *
 * A text output is no Python argument: the binding passes a zeroed buffer of
 * SIZE bytes (256 in _qx_api, 512 in _qx_api_common) and, where declared, a
 * size cell holding SIZE. After a successful call the text up to the first
 * zero byte, or the whole buffer if it holds none, is appended to the result
 * as a str (UTF-8, "surrogateescape").
 * ------------------------------------------------------------------------- */
%fragment("qx_text_out", "header") %{
SWIGINTERN PyObject *qx_text_from_buffer(const char *buf, size_t size) {
  size_t n = 0;
  while (n < size && buf[n]) n++;
  return PyUnicode_DecodeUTF8(buf, (Py_ssize_t)n, "surrogateescape");
}
%}

%define QX_TEXT_OUT_ARGOUT(TEXT, SIZEVALUE)
%typemap(argout, noblock=1, fragment="qx_text_out") TEXT {
  $result = SWIG_Python_AppendOutput($result, qx_text_from_buffer($1, SIZEVALUE));
}
%enddef

/* Buffer alone: (char *const text). */
%define QX_STRING_OUT(TEXT, SIZEVALUE)
%typemap(in, numinputs=0, noblock=1) TEXT (char qx_text[SIZEVALUE]) {
  memset(qx_text, 0, sizeof(qx_text));
  $1 = qx_text;
}
QX_TEXT_OUT_ARGOUT(TEXT, SIZEVALUE)
%enddef

/* Size cell, then buffer: (u32_t *const textSize, char *const text). */
%define QX_STRING_OUT_SIZE_FIRST(SIZEARG, TEXT, SIZEVALUE)
%typemap(in, numinputs=0, noblock=1) (SIZEARG, TEXT) (u32_t qx_size = SIZEVALUE, char qx_text[SIZEVALUE]) {
  memset(qx_text, 0, sizeof(qx_text));
  $1 = &qx_size;
  $2 = qx_text;
}
%typemap(argout, noblock=1, fragment="qx_text_out") (SIZEARG, TEXT) {
  $result = SWIG_Python_AppendOutput($result, qx_text_from_buffer($2, SIZEVALUE));
}
%enddef

/* Buffer, then size cell: (char *const text, u32_t *const textSize). */
%define QX_STRING_OUT_SIZE_LAST(TEXT, SIZEARG, SIZEVALUE)
%typemap(in, numinputs=0, noblock=1) (TEXT, SIZEARG) (u32_t qx_size = SIZEVALUE, char qx_text[SIZEVALUE]) {
  memset(qx_text, 0, sizeof(qx_text));
  $1 = qx_text;
  $2 = &qx_size;
}
%typemap(argout, noblock=1, fragment="qx_text_out") (TEXT, SIZEARG) {
  $result = SWIG_Python_AppendOutput($result, qx_text_from_buffer($1, SIZEVALUE));
}
%enddef
