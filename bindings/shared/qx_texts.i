/*
 * Texts out. (Texts in, StringIn, and text results, StringResult, are
 * SWIG's own char * rules; see qx_rules.i.)
 */

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
