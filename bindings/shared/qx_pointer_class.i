/*
 * QX_POINTER_CLASS: a boxed cell of one TYPE that a script allocates, passes for
 * a plain TYPE pointer argument, and reads afterwards. SWIG's own
 * %pointer_class (cpointer.i):
 *
 *   new_NAME()              owned cell, zeroed
 *   delete_NAME(p)          frees the cell if p owns it (None: nothing)
 *   NAME_assign(p, value)   stores the value (the TYPE's own input rule)
 *   NAME_value(p)           the cell's value (the TYPE's own result rule)
 *   NAME_cast(p)            non-owning TYPE pointer object at the same address
 *   NAME_frompointer(ptr)   non-owning NAME object at the address of a TYPE
 *                           pointer object (None gives None)
 *
 * `TYPE *` accepts NAME objects by identity through the shared type table.
 *
 * What differs from cpointer.i:
 *  - a None cell is refused by assign and value (ValueError, the null record
 *    rule of qx_records.i); NAME_cast(None) gives None, as it only hands the
 *    address on, except char_p_cast, which reads the text and refuses None;
 *  - NAME_frompointer takes pointer objects only (or None): for char_p a
 *    str would be converted to a temporary copy that is gone when the call
 *    returns;
 *  - a char_p cell has room for a terminating zero byte behind its char,
 *    which nothing writes, so a char_p passed for a `char const *` text is
 *    always a terminated text (empty or one character);
 *  - char_p_cast reads the text at the cell, but never past the cell's one
 *    byte (a view made by char_p_frompointer may point at a single char);
 *  - char_p_assign takes a str whose UTF-8 encoding is at most one byte (the
 *    empty str stores 0), else an int from -128 to 127 (OverflowError
 *    outside); anything else, None and char pointer objects included, raises
 *    TypeError ("in method 'char_p_assign', argument 2 of type 'char'").
 */
%include <cpointer.i>

/* cast and frompointer make views: an object at the same address that
 * owns nothing, reaches what the object given reaches, and keeps the
 * object that made that storage alive. */
%define QX_POINTER_CLASS(TYPE, NAME)
%typemap(in, noblock=1) TYPE *t (void *argp = 0, int res = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN, qx_source qx_src) {
  res = qx_convert($input, &argp, $descriptor, 0, 0, &qx_from);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!argp && $input != Py_None) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  qx_src.keeper = qx_from.keeper;
  qx_src.start = (const char *)argp;
  qx_src.size = sizeof(TYPE);
  qx_src.extent = qx_from.extent;
  $1 = ($ltype)argp;
}
%typemap(out, noblock=1) NAME *frompointer {
  $result = qx_new_view(SWIG_as_voidptr($1), $1_descriptor, QX_EXTENT_OF_SOURCE, &qx_src1);
}
%pointer_class(TYPE, NAME)
%typemap(in) TYPE *t;
%typemap(out) NAME *frompointer;
%enddef

%typemap(out, noblock=1) SWIGTYPE *cast {
  $result = qx_new_view(SWIG_as_voidptr($1), $1_descriptor, QX_EXTENT_OF_SOURCE, &qx_src1);
}

%typemap(in, noblock=1) char value (char val, int ecode = 0) {
  ecode = qx_as_char($input, &val);
  if (!SWIG_IsOK(ecode)) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  $1 = val;
}

%feature("action") char_p::char_p {
  result = (char_p *)calloc(2, sizeof(char));
}

%typemap(out, noblock=1) char *cast {
  if (!$1) {
    SWIG_exception_fail(SWIG_ValueError, qx_null_self1);
  }
  $result = SWIG_FromCharPtrAndSize($1, $1[0] ? 1 : 0);
}
