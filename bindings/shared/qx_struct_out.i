/*
 * StructOutputAppended: a response record that the native function fills is
 * returned as a new owned record object instead of being a Python argument.
 *
 *   QX_STRUCT_OUTPUT(Qx_Common_GetInterfaceInfo_Rsp_t)
 *   %apply Qx_Common_GetInterfaceInfo_Rsp_t *QX_RECORD_OUTPUT {
 *     Qx_Common_GetInterfaceInfo_Rsp_t *const response
 *   };
 *
 * The binding allocates one zeroed record of the native size with the
 * runtime's allocator (calloc, as the record's new_ constructor does, so
 * that delete_ frees it) once the arguments before it are converted, and
 * passes its address. After a successful call the record is wrapped in a
 * pointer object that owns it (an instance of the registered class where
 * one is registered) and appended to the result: with no other output the
 * result is the record object itself. On every other path (an argument
 * error, a failing status) the record is freed before the binding returns.
 * The record starts zeroed so that a native function that leaves fields
 * unwritten never hands Python uninitialised memory.
 */

%define QX_STRUCT_OUTPUT(RECORD)
%typemap(in, numinputs=0, noblock=1) RECORD *QX_RECORD_OUTPUT (RECORD *qx_record = NULL) {
  qx_record = (RECORD *)calloc(1, sizeof(RECORD));
  if (!qx_record) {
    PyErr_NoMemory();
    SWIG_fail;
  }
  $1 = qx_record;
}
%typemap(argout, noblock=1) RECORD *QX_RECORD_OUTPUT {
  {
    PyObject *qx_object = SWIG_NewPointerObj(qx_record$argnum, $descriptor(RECORD *), SWIG_POINTER_OWN);
    /* Making the object failed: the record is still the binding's (freearg
     * frees it). Made: the object is in charge of it. */
    if (!qx_object) SWIG_fail;
    qx_record$argnum = NULL;
    $result = SWIG_Python_AppendOutput($result, qx_object);
  }
}
%typemap(freearg, noblock=1) RECORD *QX_RECORD_OUTPUT {
  free(qx_record$argnum);
}
%enddef
