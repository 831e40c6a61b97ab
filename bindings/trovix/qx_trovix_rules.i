/*
 * Conversion rules of _qx_api_trovix alone (beside the shared ones of
 * bindings/shared). Those that lines of api/trovix/params.txt apply are
 * declared to the rule generator in kinds.txt beside this file.
 */

/* -------------------------------------------------------------------------
 * QX_CHAR_ARRAY_MEMBER (a `char [N]` member holding a zero-terminated text)
 *
 * Setter, value:
 *   - a str (only a str; bytes are refused like any other value): its UTF-8
 *     bytes (strict) and a terminating zero must fit in N bytes, so at most
 *     N - 1 bytes are accepted;
 *   - a char pointer object (a char_p, ...): the text it points to, its zero
 *     byte included, must fit in N bytes;
 *   - None: the member is cleared (all N bytes zero).
 * The text is copied into the binding's own N-byte field, the rest of which
 * is zero, and then all N bytes into the member. Anything else, a longer
 * text or a str that cannot be encoded raises TypeError with the argument's
 * message ("in method '<setter>', argument 2 of type 'char [N]'") and the
 * member keeps its old content; an exception that the object's "this"
 * raises propagates as it stands. A None record stores nothing.
 * Getter: a str decoded as UTF-8 with "surrogateescape" from the bytes up to
 * the first zero byte, or from all N bytes when the member holds none.
 * ------------------------------------------------------------------------- */
%fragment("qx_char_array", "header") %{
/* Fills `field` (size bytes, zeroed first) from a str, a char pointer object
 * or None: 1, or 0 when the value is refused (no exception set), or -1 when
 * the object's "this" raised (its exception set). */
SWIGINTERN int qx_char_array_from(PyObject *obj, char *field, size_t size, swig_type_info *char_type) {
  memset(field, 0, size);
  if (obj == Py_None) return 1;
  if (PyUnicode_Check(obj)) {
    Py_ssize_t n = 0;
    const char *text = PyUnicode_AsUTF8AndSize(obj, &n);
    if (!text) {
      PyErr_Clear();
      return 0;
    }
    if ((size_t)n >= size) return 0;
    memcpy(field, text, (size_t)n);
    return 1;
  } else {
    void *p = NULL;
    size_t n;
    qx_origin held = QX_NO_ORIGIN;
    int res = qx_convert(obj, &p, char_type, 0, 0, &held);
    n = SWIG_IsOK(res) && p ? strnlen((const char *)p, size) : size;
    if (n < size) memcpy(field, p, n);
    qx_release(&held);
    return res == QX_ERROR_RAISED ? -1 : n < size;
  }
}
%}

%define QX_CHAR_ARRAY_MEMBER(SIZE)
%typemap(in, noblock=1, fragment="qx_char_array") char [SIZE] (char qx_field[SIZE], int qx_taken = 0) {
  qx_taken = qx_char_array_from($input, qx_field, SIZE, $descriptor(char *));
  if (qx_taken < 0) SWIG_fail;
  if (!qx_taken) {
    %argument_fail(SWIG_TypeError, "$type", $symname, $argnum);
  }
  $1 = qx_field;
}
%typemap(memberin, noblock=1) char [SIZE] {
  if (arg1) memcpy($1, $input, SIZE);
}
%typemap(out, noblock=1) char [SIZE] {
  $result = qx_text_from_buffer($1, SIZE);
  if (!$result) SWIG_fail;
}
%enddef

/* -------------------------------------------------------------------------
 * QX_IN_OUT_SCALAR (a `T *` argument that the native function reads and writes)
 *
 *   QX_IN_OUT_SCALAR(u16_t, u16_t *const dataSize)
 *
 * The Python argument stands in the native argument's place:
 *   - a pointer object of type `T *` (or one the type table accepts for it,
 *     such as a typedef of T): its address is passed, and the native side
 *     reads and writes the caller's cell; None passes a null pointer;
 *   - else an int by QX_UNSIGNED_SCALAR (TypeError, OverflowError, with the
 *     argument's native position and the type T in the message); its value,
 *     truncated to T, is put in a cell of the binding whose address is
 *     passed. An object whose "this" raises keeps its own exception.
 * After a successful call the argument is appended to the result: for an
 * int, the cell's value as a non-negative int; for a pointer object, a new
 * pointer object of type `T *` to the caller's cell, owning nothing (a view
 * that reaches what the caller's object reaches and keeps the object
 * that made that storage alive); for None, None.
 * ------------------------------------------------------------------------- */
%define QX_IN_OUT_SCALAR(TYPE, PARAM)
%typemap(in, noblock=1) PARAM (TYPE qx_cell = 0, void *qx_argp = 0, int qx_given = 0, unsigned long long qx_val = 0, int qx_res = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN) {
  qx_res = qx_convert($input, &qx_argp, $descriptor(TYPE *), 0, 0, &qx_from);
  if (qx_res == QX_ERROR_RAISED) SWIG_fail;
  if (SWIG_IsOK(qx_res)) {
    qx_given = 1;
    if (!qx_argp && $input != Py_None) {
      SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" #TYPE " *'");
    }
    $1 = ($1_ltype)qx_argp;
  } else {
    qx_res = qx_as_u32($input, &qx_val);
    if (!SWIG_IsOK(qx_res)) {
      %argument_fail(qx_res, #TYPE, $symname, $argnum);
    }
    qx_cell = (TYPE)qx_val;
    $1 = &qx_cell;
  }
}
%typemap(argout, noblock=1) PARAM {
  if (!qx_given$argnum) {
    $result = qx_append_output($result, PyLong_FromUnsignedLongLong((unsigned long long)qx_cell$argnum));
  } else if ($1) {
    qx_source qx_src = {qx_from$argnum.keeper, (const char *)$1, sizeof(TYPE), qx_from$argnum.extent};
    $result = qx_append_output($result, qx_new_view((void *)$1, $descriptor(TYPE *), QX_EXTENT_OF_SOURCE, &qx_src));
  } else {
    $result = qx_append_output($result, SWIG_Py_Void());
  }
  if (!$result) SWIG_fail;
}
%enddef

/* -------------------------------------------------------------------------
 * count_out_beside_records: QX_COUNT_OUT_BESIDE_RECORDS(R, CELL, RECORDS)
 *
 *   QX_COUNT_OUT_BESIDE_RECORDS(R, u32_t *const count, R *const records)
 *
 * A native (count cell, record storage) pair where the Python call gives the
 * storage alone (a record object of type R, or None) and the count is
 * appended to the result (a non-negative int, as QX_SCALAR_OUT). The
 * native side writes the records it reports into the caller's storage, so
 * the binding's cell carries the storage's room in: 0 for None, else the
 * number of whole records the object reaches (1 for one made by new_ or
 * returned as an owned copy, the array's count for a view of an array
 * member); for an object of unknown extent (made outside the modules) 1
 * when it owns its storage, else 0xFFFFFFFF, the caller vouching for it.
 * The native side writes no more records than that and returns the number
 * it reports in the cell. The storage's messages keep its native position.
 * ------------------------------------------------------------------------- */
%define QX_COUNT_OUT_BESIDE_RECORDS(RECORD, CELL, RECORDS)
%typemap(arginit, noblock=1) CELL {
  u32_t qx_count_cell = 0;
}
%typemap(in, numinputs=0, noblock=1) CELL {
  $1 = &qx_count_cell;
}
%typemap(argout, noblock=1) CELL {
  $result = qx_append_output($result, PyLong_FromUnsignedLongLong((unsigned long long)qx_count_cell));
  if (!$result) SWIG_fail;
}
%typemap(in, noblock=1, fragment="qx_extent") RECORDS (void *argp = 0, int res = 0, int qx_own = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN) {
  res = qx_convert($input, &argp, $descriptor(RECORD *), 0, &qx_own, &qx_from);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!argp && $input != Py_None) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = ($ltype)argp;
  qx_count_cell = !argp ? 0u : qx_room(qx_from.extent, qx_own, sizeof(RECORD));
}
%enddef
