/*
 * Conversion rules of _qx_api_common alone (beside the shared ones of
 * bindings/shared). Those that lines of api/common/params.txt apply are
 * declared to the rule generator in kinds.txt beside this file.
 */

/* -------------------------------------------------------------------------
 * ip_address_in: QX_IP_ADDRESS_IN(PARAM) (the device's IP address, write
 * side)
 *
 * The device's IP address is one Python argument: a tuple (or a tuple
 * subclass) of exactly four ints, element 1 first. Anything else raises
 * TypeError "expected a tuple." (not a tuple, a list included) or TypeError
 * "tuple must have 4 elements" (a tuple of another length, or an element
 * that is no int or lies outside 0..255: an address byte is never
 * silently cut down to another value). The four bytes are passed in a
 * buffer of the call, in tuple order.
 * ------------------------------------------------------------------------- */
%fragment("qx_ip_address", "header") %{
SWIGINTERN int qx_ip_address_from_tuple(PyObject *obj, u8_t address[4]) {
  Py_ssize_t i;
  if (!PyTuple_Check(obj)) {
    PyErr_SetString(PyExc_TypeError, "expected a tuple.");
    return 0;
  }
  if (PyTuple_GET_SIZE(obj) != 4) {
    PyErr_SetString(PyExc_TypeError, "tuple must have 4 elements");
    return 0;
  }
  for (i = 0; i < 4; i++) {
    PyObject *item = PyTuple_GET_ITEM(obj, i);
    long value = -1;
    int overflow = 0;
    if (PyLong_Check(item)) {
      value = PyLong_AsLongAndOverflow(item, &overflow);
      if (overflow) value = -1;
    }
    if (value < 0 || value > 255) {
      PyErr_SetString(PyExc_TypeError, "tuple must have 4 elements");
      return 0;
    }
    address[i] = (u8_t)value;
  }
  return 1;
}
%}

%define QX_IP_ADDRESS_IN(PARAM)
%typemap(in, noblock=1, fragment="qx_ip_address") PARAM (u8_t qx_address[4]) {
  if (!qx_ip_address_from_tuple($input, qx_address)) SWIG_fail;
  $1 = qx_address;
}
/* Nothing comes back: the read side's rule must not reach this parameter. */
%typemap(argout) PARAM ""
%enddef

/* -------------------------------------------------------------------------
 * ip_address_out: QX_IP_ADDRESS_OUT(PARAM) (the device's IP address, read
 * side)
 *
 * No Python argument: the binding passes a zeroed 4-byte buffer and, after
 * a successful call, appends a new list of the four bytes (ints 0..255,
 * first byte first). As a tuple, that list is accepted by the write side.
 * ------------------------------------------------------------------------- */
%define QX_IP_ADDRESS_OUT(PARAM)
%typemap(in, numinputs=0, noblock=1) PARAM (u8_t qx_address[4]) {
  memset(qx_address, 0, sizeof(qx_address));
  $1 = qx_address;
}
%typemap(argout, noblock=1) PARAM {
  {
    PyObject *qx_list = Py_BuildValue("[iiii]", (int)$1[0], (int)$1[1], (int)$1[2], (int)$1[3]);
    $result = qx_append_output($result, qx_list);
    if (!$result) SWIG_fail;
  }
}
%enddef

/* -------------------------------------------------------------------------
 * Array of records declared inside a response record, as a list of views
 *
 * The getter returns a new list with one pointer object per element of the
 * array, every element whatever count the record holds beside it. No item
 * owns its element: each is a view that reaches from its element to the
 * end of the array and keeps the parent record alive.
 * ------------------------------------------------------------------------- */
%define QX_RECORD_ARRAY_TO_VIEW_LIST(ELEMENT)
%typemap(out, noblock=1) ELEMENT [ANY] {
  {
    Py_ssize_t qx_i;
    $result = PyList_New($1_dim0);
    if (!$result) SWIG_fail;
    for (qx_i = 0; qx_i < $1_dim0; qx_i++) {
      PyObject *qx_item = qx_new_view(SWIG_as_voidptr(&$1[qx_i]), $descriptor(ELEMENT *),
                                      sizeof($1[0]) * (size_t)($1_dim0 - qx_i), &qx_src1);
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
