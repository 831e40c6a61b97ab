/*
 * Scalars: integers, doubles and the status test.
 */

/* The three unsigned rules below differ only in their largest value: an
 * int (bool included) from 0 to MAX, stored in the declared type; anything
 * else raises TypeError (not an int) or OverflowError (out of range) with the
 * argument's message. Results and getters are non-negative ints. */
%define %qx_unsigned_up_to(TYPE, MAX, PRECEDENCE)
%typemap(in, noblock=1) TYPE (unsigned long long val, int ecode = 0) {
  ecode = qx_as_u64($input, &val);
  if (SWIG_IsOK(ecode) && val > (unsigned long long)(MAX)) ecode = SWIG_OverflowError;
  if (!SWIG_IsOK(ecode)) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  $1 = ($1_ltype)val;
}
%typemap(out, noblock=1) TYPE {
  $result = PyLong_FromUnsignedLongLong((unsigned long long)$1);
}
%typemap(typecheck, precedence=PRECEDENCE) TYPE {
  $1 = PyLong_Check($input) ? 1 : 0;
}
%enddef

/* -------------------------------------------------------------------------
 * QX_UNSIGNED_SCALAR (unsigned values in and out)
 *
 * Accepts an int (bool included) from 0 to 2**32 - 1; anything else raises
 * TypeError (not an int) or OverflowError (out of range) with the argument's
 * message. The value is stored truncated to the declared width: 256 given for
 * a u8_t is 0. The range is checked explicitly, not through the host's
 * `long`, because the native platform's long is 32 bits wide.
 * Results and getters of such a type are non-negative ints of its width.
 * ------------------------------------------------------------------------- */
%define QX_UNSIGNED_SCALAR(TYPE)
%qx_unsigned_up_to(TYPE, 0xFFFFFFFFull, SWIG_TYPECHECK_UINT32)
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
%define QX_U64_SCALAR(TYPE)
%qx_unsigned_up_to(TYPE, 0xFFFFFFFFFFFFFFFFull, SWIG_TYPECHECK_UINT64)
%enddef

/* -------------------------------------------------------------------------
 * QX_SIZE_SCALAR (size_t values, the host's full width)
 *
 * An int (bool included) from 0 to the host's SIZE_MAX (2**64 - 1 on 64-bit
 * hosts, 2**32 - 1 on 32-bit ones) is stored whole; anything else raises
 * TypeError (not an int) or OverflowError (negative or too large) with the
 * argument's message ("... argument 2 of type 'size_t'"). Getters and
 * results return the whole value as a non-negative int.
 * ------------------------------------------------------------------------- */
%define QX_SIZE_SCALAR(TYPE)
%qx_unsigned_up_to(TYPE, SIZE_MAX, SWIG_TYPECHECK_SIZE)
%enddef

/* -------------------------------------------------------------------------
 * QX_DOUBLE_IN
 *
 * A float (or an instance of a float subclass) gives its value; else an int
 * (bool included) converted to double; an int too large for a double, or
 * anything else, raises TypeError with the argument's message.
 * ------------------------------------------------------------------------- */
%define QX_DOUBLE_IN(TYPE)
%typemap(in, noblock=1) TYPE (double val, int ecode = 0) {
  ecode = qx_as_double($input, &val);
  if (!SWIG_IsOK(ecode)) {
    %argument_fail(SWIG_TypeError, "$type", $symname, $argnum);
  }
  $1 = ($1_ltype)val;
}
%typemap(typecheck, precedence=SWIG_TYPECHECK_DOUBLE) TYPE {
  $1 = (PyFloat_Check($input) || PyLong_Check($input)) ? 1 : 0;
}
%enddef

/* -------------------------------------------------------------------------
 * Values checked against their own type: QX_CHECKED_UNSIGNED(TYPE),
 * QX_CHECKED_SIGNED(TYPE, MIN, MAX), QX_CHECKED_ENUM(TYPE),
 * QX_CHECKED_FLOAT(TYPE, MAX)
 *
 * A value is taken only where its type holds it, never truncated:
 *  - QX_CHECKED_UNSIGNED: an int (bool included) from 0 to the largest
 *    value of the unsigned TYPE (255 for a u8_t, 2**64 - 1 for a u64_t);
 *  - QX_CHECKED_SIGNED: an int from MIN to MAX (INT32_MIN and INT32_MAX
 *    for an s32_t); QX_CHECKED_ENUM: an enumeration, from INT32_MIN to
 *    INT32_MAX;
 *  - QX_CHECKED_FLOAT: a float, or an int converted to one, at most MAX in
 *    magnitude (FLT_MAX for a float, DBL_MAX for a float64_t; infinities
 *    and NaN pass as they are); a finite value beyond it, an int too large
 *    for a double included, is out of range.
 * An int (or a float) out of range raises OverflowError, anything else
 * TypeError, with the argument's message ("in method 'u8_array_setitem',
 * argument 3 of type 'u8_t'"). Results and getters are ints (floats for
 * QX_CHECKED_FLOAT) holding the whole value.
 * ------------------------------------------------------------------------- */
%define QX_CHECKED_UNSIGNED(TYPE)
%qx_unsigned_up_to(TYPE, (TYPE)~0ull, SWIG_TYPECHECK_UINT64)
%enddef

%define QX_CHECKED_SIGNED(TYPE, MIN, MAX)
%typemap(in, noblock=1) TYPE (long long val, int ecode = 0) {
  ecode = qx_as_s64($input, &val);
  if (SWIG_IsOK(ecode) && (val < (long long)(MIN) || val > (long long)(MAX))) ecode = SWIG_OverflowError;
  if (!SWIG_IsOK(ecode)) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  $1 = ($1_ltype)val;
}
%typemap(out, noblock=1) TYPE {
  $result = PyLong_FromLongLong((long long)$1);
}
%enddef

/* An enumeration value, as the modules take enumerations: an int from
 * -2**31 to 2**31 - 1, read back as that signed int (the compiler may give
 * an enumeration without negative values an unsigned type). */
%define QX_CHECKED_ENUM(TYPE)
QX_CHECKED_SIGNED(TYPE, INT32_MIN, INT32_MAX)
%typemap(out, noblock=1) TYPE {
  $result = PyLong_FromLong((long)(int32_t)$1);
}
%enddef

%define QX_CHECKED_FLOAT(TYPE, MAX)
%typemap(in, noblock=1) TYPE (double val, int ecode = 0) {
  ecode = qx_as_double($input, &val);
  if (SWIG_IsOK(ecode) && isfinite(val) && (val < -(double)(MAX) || val > (double)(MAX))) ecode = SWIG_OverflowError;
  if (!SWIG_IsOK(ecode)) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  $1 = ($1_ltype)val;
}
%typemap(out, noblock=1) TYPE {
  $result = PyFloat_FromDouble((double)$1);
}
%enddef

/* -------------------------------------------------------------------------
 * QX_STATUS_CHECK
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
