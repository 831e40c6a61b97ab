/*
 * Texts in and out. (Text results, StringResult, are SWIG's own char *
 * rule; see qx_rules.i.)
 */

/* -------------------------------------------------------------------------
 * StringIn (a `char const *` argument)
 *
 * SWIG's own rule: a str is encoded as UTF-8 (strict) into a copy that lives
 * for the call; a char pointer object (a char_p) passes the text where it
 * lies; None passes a null pointer; anything else raises TypeError with the
 * argument's message. What differs: a char pointer object is held as every
 * pointer argument is (qx_runtime.i, "Holds"), so its text stays alive
 * until the call returns. (The copy of a str is released by SWIG's own
 * rule, which reads the same locals.)
 * ------------------------------------------------------------------------- */
%typemap(in, noblock=1, fragment="SWIG_AsCharPtrAndSize") char const *, char const *const (int res, char *buf = 0, int alloc = 0, void *qx_argp = 0, swig_type_info *qx_char = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN) {
  qx_char = PyUnicode_Check($input) ? NULL : SWIG_pchar_descriptor();
  if (qx_char) {
    res = qx_convert($input, &qx_argp, qx_char, 0, 0, &qx_from);
    buf = (char *)qx_argp;
  } else {
    res = SWIG_AsCharPtrAndSize($input, &buf, NULL, &alloc);
  }
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($1_ltype)buf;
}

/* -------------------------------------------------------------------------
 * text_out(N): QX_TEXT_OUT(TEXT, N),
 * text_out_size_first(N): QX_TEXT_OUT_SIZE_FIRST(SIZE, TEXT, N),
 * text_out_size_last(N): QX_TEXT_OUT_SIZE_LAST(TEXT, SIZE, N)
 *
 * A text output is no Python argument: the binding passes a zeroed buffer of
 * SIZE bytes (256 in _qx_api, 512 in _qx_api_common) and, where declared, a
 * size cell holding SIZE. After a successful call the text up to the first
 * zero byte, or the whole buffer if it holds none, is appended to the result
 * as a str (UTF-8, "surrogateescape").
 * ------------------------------------------------------------------------- */

/* Buffer alone: (char *const text). */
%define QX_TEXT_OUT(TEXT, SIZE)
%typemap(in, numinputs=0, noblock=1) TEXT (char qx_text[SIZE]) {
  memset(qx_text, 0, sizeof(qx_text));
  $1 = qx_text;
}
%typemap(argout, noblock=1) TEXT {
  $result = qx_append_output($result, qx_text_from_buffer($1, SIZE));
  if (!$result) SWIG_fail;
}
%enddef

/* Size cell, then buffer: (u32_t *const textSize, char *const text). */
%define QX_TEXT_OUT_SIZE_FIRST(SIZEARG, TEXT, SIZE)
%typemap(in, numinputs=0, noblock=1) (SIZEARG, TEXT) (u32_t qx_size = SIZE, char qx_text[SIZE]) {
  memset(qx_text, 0, sizeof(qx_text));
  $1 = &qx_size;
  $2 = qx_text;
}
%typemap(argout, noblock=1) (SIZEARG, TEXT) {
  $result = qx_append_output($result, qx_text_from_buffer($2, SIZE));
  if (!$result) SWIG_fail;
}
%enddef

/* Buffer, then size cell: (char *const text, u32_t *const textSize). */
%define QX_TEXT_OUT_SIZE_LAST(TEXT, SIZEARG, SIZE)
%typemap(in, numinputs=0, noblock=1) (TEXT, SIZEARG) (u32_t qx_size = SIZE, char qx_text[SIZE]) {
  memset(qx_text, 0, sizeof(qx_text));
  $1 = qx_text;
  $2 = &qx_size;
}
%typemap(argout, noblock=1) (TEXT, SIZEARG) {
  $result = qx_append_output($result, qx_text_from_buffer($1, SIZE));
  if (!$result) SWIG_fail;
}
%enddef
