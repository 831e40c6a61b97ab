/*
 * Records: the record argument of accessors, array, nested and pointer
 * members, record storage beside a count, and owned record objects.
 */

/* -------------------------------------------------------------------------
 * Null records
 *
 * The record (or cell) argument of every accessor and pointer-class method
 * is the parameter `self`. None converts to a null pointer, which:
 *   - a destructor or a scalar/pointer-member setter accepts and ignores;
 *   - a pointer class's cast passes on (it only hands the address over, so
 *     None gives None; a cast that reads through the cell refuses it in its
 *     result rule, see qx_pointer_class.i);
 *   - a getter or another pointer-class method refuses with ValueError
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
  return strncmp(symname, "delete_", 7) == 0 || (n > 4 && strcmp(symname + n - 4, "_set") == 0) ||
         (n > 5 && strcmp(symname + n - 5, "_cast") == 0);
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

/* -------------------------------------------------------------------------
 * Owned record objects
 *
 * qx_new_owned_record(record, type) wraps a record made with the runtime's
 * allocator (calloc) in a new object that owns it (an instance of the
 * registered class where one is registered). On failure the record is
 * freed here, exactly once, and NULL returned with the exception set: the
 * runtime's pointer-object creation never frees what it is given, and a
 * pointer object that escaped a failed instance (kept by the class's
 * __new__ or __setattr__) is left holding nothing (qx_runtime.i).
 *
 * qx_record_copies(block, size, n, type) is a new list of n such objects,
 * each an independent zeroed copy of one `size`-byte record of the block;
 * NULL with the exception set, never a list holding a NULL item.
 * ------------------------------------------------------------------------- */
%fragment("qx_owned_record", "header") %{
SWIGINTERN PyObject *qx_new_owned_record(void *record, swig_type_info *type) {
  PyObject *obj = SWIG_NewPointerObj(record, type, SWIG_POINTER_OWN);
  if (!obj) {
    free(record);
    if (!PyErr_Occurred()) PyErr_NoMemory();
  }
  return obj;
}

SWIGINTERN PyObject *qx_record_copies(const void *block, size_t size, Py_ssize_t n, swig_type_info *type) {
  Py_ssize_t i;
  PyObject *list = PyList_New(n);
  if (!list) return NULL;
  for (i = 0; i < n; i++) {
    void *copy = calloc(1, size);
    PyObject *item;
    if (!copy) {
      Py_DECREF(list);
      return PyErr_NoMemory();
    }
    memcpy(copy, (const unsigned char *)block + (size_t)i * size, size);
    item = qx_new_owned_record(copy, type);
    if (!item) {
      Py_DECREF(list);
      return NULL;
    }
    PyList_SET_ITEM(list, i, item);
  }
  return list;
}
%}

/* -------------------------------------------------------------------------
 * FixedArrayFromPointer (setter of a T [N] member without a list rule, and
 * array arguments of that shape)
 *
 * Copies N elements from a pointer object of the element type (or one the
 * type table accepts for it). A view onto an array (a getter's result)
 * designates the whole array. An object that owns its storage (made by the
 * element type's new_, an int_p, or an owned copy a getter returned) holds a
 * single element, so for N above 1 it is refused before anything is read:
 *   ValueError "single element given for an array in method '<binding>',
 *              argument 2 of type '<T [N]>'"
 * None raises ValueError "invalid null reference in variable '<field>' of
 * type '<T [N]>'". A refused value leaves the member unchanged.
 * ------------------------------------------------------------------------- */
%typemap(in, noblock=1) SWIGTYPE [ANY] (void *argp = 0, int res = 0, int qx_own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor, 0, &qx_own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (argp && (qx_own & SWIG_POINTER_OWN) && $1_dim0 > 1) {
    SWIG_exception_fail(SWIG_ValueError, "single element given for an array in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = ($ltype)argp;
}

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
 * PointerArg and PointerMember
 *
 * A pointer argument takes None (NULL) or a pointer object of the declared
 * type or one the type table accepts; else TypeError with the argument's
 * message. A record object whose record was deleted (it holds a null
 * address) is no None: ValueError "invalid null reference " and the
 * argument's message, and the native function is not called. A pointer member's setter (SWIG marks its value $disown) stores
 * the record's address and takes ownership away from the object given, but
 * only when the address is actually stored: given a None parent, the object
 * keeps owning (and later freeing) its record. This holds for every pointer
 * member of every module; QX_POINTER_MEMBER(R, NAME) states it for one
 * member by name. The getter returns a non-owning view, None for NULL.
 * ------------------------------------------------------------------------- */
%typemap(in, noblock=1) SWIGTYPE * (void *argp = 0, int res = 0) {
  res = SWIG_ConvertPtr($input, &argp, $descriptor, ($disown && arg1) ? SWIG_POINTER_DISOWN : 0);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!argp && $input != Py_None) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = ($ltype)argp;
}
/* SWIG's library copied its own rule to `T *const` parameters when it was
 * loaded: they follow this one as well. */
%typemap(in) SWIGTYPE *const = SWIGTYPE *;

%define QX_POINTER_MEMBER(RECORD, NAME)
%typemap(in) RECORD *NAME = SWIGTYPE *;
%enddef

/* -------------------------------------------------------------------------
 * RecordsBesideCount
 *
 *   QX_RECORDS_BESIDE_COUNT(R, u32_t numberOfRamps, R const *const ramps)
 *
 * A record pointer parameter RECORDS through which the native side reads or
 * writes COUNT records, COUNT being an earlier int parameter of the same
 * function (converted by its own rule). An object that owns its record (made
 * by new_ or returned as an owned copy) holds one record, so a count above
 * 1 with such an object is refused before the native call:
 *   ValueError "single record given for several in method '<binding>',
 *              argument <n> of type '<declared type>'"
 * A view, None, or a count of 0 or 1 passes the address as PointerArg does
 * (a deleted record object is refused as a null reference, as there).
 * One such pair per function.
 * ------------------------------------------------------------------------- */
%define %qx_records_beside(RECORD, RECORDS)
%typemap(in, noblock=1) RECORDS (void *argp = 0, int res = 0, int qx_own = 0) {
  res = SWIG_ConvertPtrAndOwn($input, &argp, $descriptor(RECORD *), 0, &qx_own);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!argp && $input != Py_None) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = ($ltype)argp;
}
%typemap(check, noblock=1) RECORDS {
  if ($1 && (qx_own$argnum & SWIG_POINTER_OWN) && qx_records_count > 1) {
    SWIG_exception_fail(SWIG_ValueError, "single record given for several in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
}
%enddef

%define QX_RECORDS_BESIDE_COUNT(RECORD, COUNT, RECORDS)
%typemap(arginit, noblock=1) COUNT {
  unsigned long long qx_records_count = 0;
}
%typemap(check, noblock=1) COUNT {
  qx_records_count = (unsigned long long)$1;
}
%qx_records_beside(RECORD, RECORDS)
%enddef

/* The same where the count is held in a cell the caller passes (an int_p:
 * the capacity on entry, the number the native side wrote on return): the
 * cell's value before the call is the count. A None cell counts 0. */
%define QX_RECORDS_BESIDE_COUNT_CELL(RECORD, CELL, RECORDS)
%typemap(arginit, noblock=1) CELL {
  unsigned long long qx_records_count = 0;
}
%typemap(check, noblock=1) CELL {
  qx_records_count = $1 ? (unsigned long long)*$1 : 0;
}
%qx_records_beside(RECORD, RECORDS)
%enddef

/* The same where the count is a member of an earlier record argument (a
 * command record that says how many records follow):
 *   QX_RECORDS_BESIDE_COUNT_MEMBER(R, C const *const cmd, NumberOfSignals, R const *const signals)
 * A None command counts 0. */
%define QX_RECORDS_BESIDE_COUNT_MEMBER(RECORD, HOLDER, MEMBER, RECORDS)
%typemap(arginit, noblock=1) HOLDER {
  unsigned long long qx_records_count = 0;
}
%typemap(check, noblock=1) HOLDER {
  qx_records_count = $1 ? (unsigned long long)$1->MEMBER : 0;
}
%qx_records_beside(RECORD, RECORDS)
%enddef

/* -------------------------------------------------------------------------
 * AnyPointerIn (a `void *` or `void const *` argument)
 *
 *   QX_ANY_POINTER_IN(void const *const)
 *
 * Takes a pointer object of any type (a record, an int_p, a float64_t
 * object, ...) and passes its address, or None for a null pointer; anything
 * else raises TypeError with the argument's message ("... argument 6 of type
 * 'void const *const'"). A record object whose record was deleted is refused
 * as PointerArg refuses it. The binding neither sizes nor reads the memory.
 * ------------------------------------------------------------------------- */
%define QX_ANY_POINTER_IN(TYPE)
%typemap(in, noblock=1) TYPE (void *argp = 0, int res = 0) {
  res = SWIG_ConvertPtr($input, &argp, 0, 0);
  if (!SWIG_IsOK(res)) {
    %argument_fail(SWIG_TypeError, "$type", $symname, $argnum);
  }
  if (!argp && $input != Py_None) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = ($1_ltype)argp;
}
%enddef
