/*
 * PointerClass: a boxed cell of one TYPE that a script allocates, passes for
 * a plain TYPE pointer argument, and reads afterwards.
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
 * A None cell is refused by assign, value and cast (ValueError, see the null
 * record rule in qx_rules.i).
 */
%define QX_POINTER_CLASS(TYPE, NAME)
%{
typedef TYPE NAME;
%}
typedef struct {
} NAME;
%extend NAME {
  NAME() {
    return (TYPE *)calloc(1, sizeof(TYPE));
  }
  ~NAME() {
    free(self);
  }
  void assign(TYPE value) {
    *self = value;
  }
  TYPE value() {
    return *self;
  }
  TYPE *cast() {
    return self;
  }
  static NAME *frompointer(TYPE *pointer) {
    return (NAME *)pointer;
  }
}
%types(NAME = TYPE);
%enddef

/* char_p_frompointer takes only char pointer objects (or None): a str would
 * be converted to a temporary copy that is gone when the call returns. */
%typemap(in, noblock=1) char *pointer (void *argp = 0, int res = 0) {
  res = SWIG_ConvertPtr($input, &argp, $descriptor(char *), 0);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = (char *)argp;
}
%typemap(freearg) char *pointer ""

/* char_p_cast reads the text at the cell, but never past the cell itself:
 * a char_p holds one byte, so the text is empty or that one byte. */
%typemap(out, noblock=1) char *cast {
  $result = $1 ? SWIG_FromCharPtrAndSize($1, $1[0] ? 1 : 0) : SWIG_Py_Void();
}
