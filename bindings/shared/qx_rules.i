/*
 * Conversion rules shared by every module (_qx_api, _qx_api_common,
 * _qx_api_can, _qx_api_trovix).
 *
 * Each rule states its Python-visible contract. A module %includes this file
 * and then says, in one visible table, which native type follows which rule
 * (QX_UNSIGNED_SCALAR(u32_t), QX_NESTED_MEMBER_BY_COPY(Qx_IpAddress_t), ...)
 * and which parameters are outputs (%apply on exact `type name` pairs).
 *
 * The base typedefs (u8_t, u16_t, u32_t, u64_t, ...) are never shown to SWIG
 * (api/qx_types.h is C-only). SWIG therefore treats a type that a module
 * gives no rule as an opaque value type: it is taken from a pointer object of
 * that type and returned as an owned copy (OpaqueValueByPointer), and its
 * pointer keeps its own mangled name (_p_u16_t, _p_u32_t) in the type table
 * that all modules share, so an int_p made by _qx_api is accepted wherever
 * any module declares a u32_t pointer.
 *
 * Rules that SWIG's defaults already give, unchanged:
 *   ArgTupleUnpack       argument count checks ("%s expected %s%d arguments, got %d")
 *   EnumScalarIn         enumerations as signed 32-bit ints (OverflowError outside)
 *   OpaqueValueByPointer types without a rule (see above); None raises
 *                        ValueError "invalid null reference in method ..."
 *   PointerArg           pointer arguments: None is NULL, else the declared
 *                        pointer type or one the type table accepts
 *   ValueResult (enums)  an enumeration result as a signed int
 *   StringIn             char const *: str (UTF-8, strict), a char pointer
 *                        object, or None; a copy that lives for the call
 *   StringResult         char const * results: None for NULL, else UTF-8 with
 *                        "surrogateescape"
 *   FunctionPointerIn    None, a pointer object of the exact callback type, or
 *                        a built-in carrying "swig_ptr: " in its doc
 *   RecordLifecycle      new_ (zeroed, owned), registration, SharedSwigInit
 *   FixedArrayFromPointer, ArrayMemberAsPointer
 */

%include "qx_start.i"

/* -------------------------------------------------------------------------
 * UnsignedScalarIn / ValueResult (unsigned)
 *
 * Accepts an int (bool included) from 0 to 2**32 - 1; anything else raises
 * TypeError (not an int) or OverflowError (out of range) with the argument's
 * message. The value is stored truncated to the declared width: 256 given for
 * a u8_t is 0. The range is checked explicitly, not through the host's
 * `long`, because the native platform's long is 32 bits wide.
 * Results and getters of such a type are non-negative ints of its width.
 * ------------------------------------------------------------------------- */
%fragment("qx_as_u32", "header") %{
SWIGINTERN int qx_as_u32(PyObject *obj, unsigned long long *val) {
  unsigned long long v;
  if (!PyLong_Check(obj)) return SWIG_TypeError;
  v = PyLong_AsUnsignedLongLong(obj);
  if (v == (unsigned long long)-1 && PyErr_Occurred()) {
    PyErr_Clear();
    return SWIG_OverflowError;
  }
  if (v > 0xFFFFFFFFull) return SWIG_OverflowError;
  *val = v;
  return SWIG_OK;
}
%}

%define QX_UNSIGNED_SCALAR(TYPE)
%typemap(in, noblock=1, fragment="qx_as_u32") TYPE (unsigned long long val, int ecode = 0) {
  ecode = qx_as_u32($input, &val);
  if (!SWIG_IsOK(ecode)) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  $1 = ($1_ltype)val;
}
%typemap(out, noblock=1) TYPE {
  $result = PyLong_FromUnsignedLongLong((unsigned long long)$1);
}
%typemap(typecheck, precedence=SWIG_TYPECHECK_UINT32) TYPE {
  $1 = PyLong_Check($input) ? 1 : 0;
}
%enddef

/* -------------------------------------------------------------------------
 * StatusCheck
 *
 * A native function returning Qx_Error_t: 0 gives None (outputs may be
 * appended to it); any other status raises plain Exception whose str is the
 * text of Qx_GetLastErrorDescription() of the base library, decoded as UTF-8
 * with "surrogateescape". Buffers made for the call are released and
 * appended outputs dropped. Should the library give no text at all, the
 * exception carries QX_NO_ERROR_TEXT.
 * ------------------------------------------------------------------------- */
%fragment("qx_status", "header") %{
#define QX_NO_ERROR_TEXT "native call failed without an error description"
SWIGINTERN void qx_raise_last_error(void) {
  const char *text = Qx_GetLastErrorDescription();
  PyObject *msg;
  if (!text) text = QX_NO_ERROR_TEXT;
  msg = PyUnicode_DecodeUTF8(text, (Py_ssize_t)strlen(text), "surrogateescape");
  if (msg) {
    PyErr_SetObject(PyExc_Exception, msg);
    Py_DECREF(msg);
  }
}
%}

%define QX_STATUS_CHECK(TYPE)
%typemap(out, noblock=1, fragment="qx_status") TYPE {
  if ($1 != 0) {
    qx_raise_last_error();
    SWIG_fail;
  }
  $result = SWIG_Py_Void();
}
%enddef

/* -------------------------------------------------------------------------
 * ScalarOutputAppended
 *
 * The output is no Python argument: the binding passes its own zeroed cell
 * and, after a successful call, appends the cell's value to the result as a
 * non-negative int (one output: the value itself; several: a list in
 * argument order). Applied by name:
 *   %apply u32_t *QX_OUTPUT { Qx_PortHandle_t *const newPortHandle };
 * ------------------------------------------------------------------------- */
%define QX_SCALAR_OUTPUT(TYPE)
%typemap(in, numinputs=0, noblock=1) TYPE *QX_OUTPUT (TYPE temp = 0) {
  $1 = &temp;
}
%typemap(argout, noblock=1) TYPE *QX_OUTPUT {
  $result = SWIG_Python_AppendOutput($result, PyLong_FromUnsignedLongLong((unsigned long long)*$1));
}
%enddef

/* -------------------------------------------------------------------------
 * Null records
 *
 * The record (or cell) argument of every accessor and pointer-class method
 * is the parameter `self`. None converts to a null pointer, which:
 *   - a destructor or a scalar/pointer-member setter accepts and ignores;
 *   - a getter or pointer-class method refuses with ValueError
 *     "invalid null reference in method '<binding>', argument 1 of type '<T *>'";
 *   - an array or nested-record setter refuses with the same message (its
 *     memberin rule below reads qx_null_self).
 * A destructor frees only storage that the converted link of the object's
 * chain owns (a view into a parent record frees nothing and stays as it
 * is); a freed link is left owning nothing and holding a null address: a
 * second delete_ of the same object is harmless, and any other use of the
 * deleted record object (not None) raises the ValueError above, setters
 * included.
 * ------------------------------------------------------------------------- */
%fragment("qx_self", "header") %{
SWIGINTERN int qx_null_self_allowed(const char *symname) {
  size_t n = strlen(symname);
  return strncmp(symname, "delete_", 7) == 0 || (n > 4 && strcmp(symname + n - 4, "_set") == 0);
}

/* The storage a destructor frees: the converted address when the link that
 * converted owned it (its ownership is already taken away by the conversion,
 * QX_POINTER_DELETE), else NULL. */
SWIGINTERN void *qx_disown(void *ptr, int own) {
  return (own & SWIG_POINTER_OWN) ? ptr : NULL;
}
%}

%typemap(in, noblock=1, fragment="qx_self") SWIGTYPE *self (void *argp = 0, int res = 0, int own = 0, const char *qx_null_self = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, $disown ? QX_POINTER_DELETE : 0, &own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  qx_null_self = "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'";
  (void)qx_null_self;
  if (!argp && !$disown && ($input != Py_None || !qx_null_self_allowed("$symname"))) {
    SWIG_exception_fail(SWIG_ValueError, qx_null_self);
  }
  $1 = ($ltype)($disown ? qx_disown(argp, own) : argp);
}

/* FixedArrayFromPointer: copies N elements from a pointer object of the
 * element type; None raises ValueError "invalid null reference in variable
 * '<field>' of type '<T [N]>'". */
%typemap(memberin, noblock=1) SWIGTYPE [ANY] {
  if (!arg1) {
    SWIG_exception_fail(SWIG_ValueError, qx_null_self1);
  }
  if ($input) {
    memcpy($1, $input, sizeof($1[0]) * (size_t)$1_dim0);
  } else {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference " "in variable '" "$name" "' of type '" "$type" "'");
  }
}

/* -------------------------------------------------------------------------
 * NestedMemberByCopy (a member whose type is a named record)
 *
 * The getter returns a view into the parent (SWIG's default). The setter
 * copies the record given into the parent; None raises ValueError
 * "invalid null reference in method '<binding>', argument 2 of type '<R *>'"
 * and leaves the parent unchanged. The value object keeps its ownership.
 * ------------------------------------------------------------------------- */
%define QX_NESTED_MEMBER_BY_COPY(RECORD)
%typemap(memberin, noblock=1) RECORD {
  if (!arg1) {
    SWIG_exception_fail(SWIG_ValueError, qx_null_self1);
  }
  if (!$input) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument 2 of type '" "RECORD *" "'");
  }
  memcpy(&$1, $input, sizeof(RECORD));
}
%enddef

/* -------------------------------------------------------------------------
 * PointerMember (a field declared as a pointer to a record)
 *
 * The setter stores the record's address (None stores NULL) and takes
 * ownership away from the object given, but only when the address is
 * actually stored: given a None parent, the object keeps owning (and later
 * freeing) its record. The getter returns a non-owning view, None for NULL.
 * ------------------------------------------------------------------------- */
%define QX_POINTER_MEMBER(RECORD, NAME)
%typemap(in, noblock=1) RECORD *NAME (void *argp = 0, int res = 0) {
  res = SWIG_ConvertPtr($input, &argp, $descriptor, arg1 ? SWIG_POINTER_DISOWN : 0);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  $1 = ($ltype)argp;
}
%enddef

/* -------------------------------------------------------------------------
 * FixedArrayToList
 *
 * The getter of an array field of N elements returns a new list of N
 * non-negative ints (0-255 for u8_t, 0-4294967295 for u32_t).
 * ------------------------------------------------------------------------- */
%define QX_ARRAY_TO_LIST(TYPE)
%typemap(out, noblock=1) TYPE [ANY] {
  {
    Py_ssize_t qx_i;
    $result = PyList_New($1_dim0);
    if (!$result) SWIG_fail;
    for (qx_i = 0; qx_i < $1_dim0; qx_i++) {
      PyObject *qx_item = PyLong_FromUnsignedLongLong((unsigned long long)$1[qx_i]);
      if (!qx_item) {
        Py_DECREF($result);
        $result = NULL;
        SWIG_fail;
      }
      PyList_SET_ITEM($result, qx_i, qx_item);
    }
  }
}
%enddef

%include "qx_buffers.i"
%include "qx_pointer_class.i"
