/*
 * Outputs that a binding supplies itself and appends to its result: the
 * first output replaces None, a second turns the result into a list of
 * both, later ones are appended (qx_append_output). Each output that fails
 * to convert, or a failing append, drops the whole result and raises
 * (MemoryError): a binding never returns a partial result.
 * Outputs are chosen by parameter name, never by type alone.
 */

/* -------------------------------------------------------------------------
 * scalar_out(T): QX_SCALAR_OUT(T, PARAM)
 *
 * The output is no Python argument: the binding passes its own zeroed cell
 * of type T and, after a successful call, appends the cell's value to the
 * result as a non-negative int (one output: the value itself; several: a
 * list in argument order). Applied by name:
 *   QX_SCALAR_OUT(u32_t, Qx_PortHandle_t *const newPortHandle)
 * ------------------------------------------------------------------------- */
%define QX_SCALAR_OUT(TYPE, PARAM)
%typemap(in, numinputs=0, noblock=1) PARAM (TYPE temp = 0) {
  $1 = &temp;
}
%typemap(argout, noblock=1) PARAM {
  $result = qx_append_output($result, PyLong_FromUnsignedLongLong((unsigned long long)*$1));
  if (!$result) SWIG_fail;
}
%enddef

/* -------------------------------------------------------------------------
 * record_out: QX_RECORD_OUT(R, PARAM): a response record that the native
 * function fills is returned as a new owned record object instead of being a
 * Python argument.
 *
 *   QX_RECORD_OUT(Qx_Common_GetInterfaceInfo_Rsp_t, Qx_Common_GetInterfaceInfo_Rsp_t *const response)
 *
 * The binding allocates one zeroed record of the native size with the
 * runtime's allocator (calloc, as the record's new_ constructor does, so
 * that delete_ frees it) once the arguments before it are converted, and
 * passes its address. After a successful call the record is wrapped in a
 * pointer object that owns it (an instance of the registered class where
 * one is registered) and appended to the result: with no other output the
 * result is the record object itself. On every other path (an argument
 * error, a failing status, a failure to make the object) the record is
 * freed before the binding returns. The record starts zeroed so that a
 * native function that leaves fields unwritten never hands Python
 * uninitialised memory.
 * ------------------------------------------------------------------------- */
%define QX_RECORD_OUT(RECORD, PARAM)
/* (The typemaps keep their state in the argument itself.) */
%typemap(in, numinputs=0, noblock=1) PARAM {
  $1 = ($1_ltype)calloc(1, sizeof(RECORD));
  if (!$1) {
    PyErr_NoMemory();
    SWIG_fail;
  }
}
%typemap(argout, noblock=1, fragment="qx_owned_record") PARAM {
  {
    PyObject *qx_object = qx_new_owned_record($1, sizeof(RECORD), $descriptor(RECORD *));
    /* The object owns the record now, or it has been freed: never twice. */
    $1 = NULL;
    $result = qx_append_output($result, qx_object);
    if (!$result) SWIG_fail;
  }
}
%typemap(freearg, noblock=1) PARAM {
  free($1);
}
%enddef
