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
 * A destructor given an object whose storage a call in progress holds
 * (qx_runtime.i, "Holds") frees nothing and raises BufferError "storage in
 * use by a call in progress in method '<binding>', argument 1 of type
 * '<T *>'".
 * A destructor frees only storage that the converted link of the object's
 * chain owns (a view into a parent record frees nothing and stays as it
 * is); a freed link is left owning nothing and holding a null address: a
 * second delete_ of the same object is harmless, and any other use of the
 * deleted record object (not None) raises the ValueError above, setters
 * included. The same holds for every view into the deleted record (its
 * members, arrays, views of views): they hold a null address from then on.
 *
 * Views
 *
 * A getter of a nested record or of an array member returns a view: an
 * object that owns nothing, reaches the member it designates, and keeps
 * the object that made the record alive (qx_runtime.i), also while that
 * object has given its ownership away, so that the record lives as long as
 * any view of it. The accessor's record argument records
 * what the views are made from (its local qx_src1, which the result rules
 * below read; wrappers without one read the runtime's empty qx_src1).
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

/* The refusal of an object known to reach fewer bytes than the call reads
 * or writes through it: ValueError "too few bytes given for the call in
 * method '<binding>', argument <n> of type '<T>'". */
%define %qx_too_few_bytes(ARGNUM, TYPE)
SWIG_exception_fail(SWIG_ValueError, "too few bytes given for the call in method '" "$symname" "', argument " ARGNUM " of type '" TYPE "'")
%enddef

/* %qx_self(PARAM, NEED): the rule above for the parameter PARAM; an object
 * known to reach fewer than NEED bytes (0: no need) is refused as well,
 * but by the destructors ("too few bytes given for the call in method
 * ...", %qx_too_few_bytes above). */
%define %qx_self(PARAM, NEED)
%typemap(in, noblock=1, fragment="qx_self,qx_extent") PARAM (void *argp = 0, int res = 0, int qx_own = 0, const char *qx_null_self = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN, qx_source qx_src) {
  /* (A destructor makes no views: it asks for no origin.) */
  res = qx_convert($input, &argp, $descriptor, $disown ? QX_POINTER_DELETE : 0, &qx_own, $disown ? NULL : &qx_from);
  if (res == QX_ERROR_IN_USE) {
    PyErr_SetString(PyExc_BufferError, "storage in use by a call in progress in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
    SWIG_fail;
  }
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!$disown) {
    qx_src.keeper = qx_from.keeper;
    qx_src.start = (const char *)argp;
    qx_src.size = sizeof($*1_ltype);
    qx_src.extent = qx_from.extent;
  }
  (void)qx_src;
  qx_null_self = "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'";
  (void)qx_null_self;
  if (!argp && !$disown && ($input != Py_None || !qx_null_self_allowed("$symname"))) {
    SWIG_exception_fail(SWIG_ValueError, qx_null_self);
  }
  if (!$disown && (NEED) && qx_short_of(qx_from.extent, qx_own, (NEED), (NEED))) {
    %qx_too_few_bytes("$argnum", "$type");
  }
  $1 = ($ltype)($disown ? qx_disown(argp, qx_own) : argp);
}
%enddef

%qx_self(SWIGTYPE *self, 0)

/* Results: a `T *` result is an owned object reaching its record (a
 * constructor's) or a view of the member it points at (qx_new_result); an
 * array member's getter without a list rule returns a view of the whole
 * array at element 0 (ArrayMemberAsPointer). */
%typemap(out, noblock=1) SWIGTYPE * {
  $result = qx_new_result(SWIG_as_voidptr($1), $1_descriptor, $owner | %newpointer_flags, sizeof(*$1), &qx_src1);
}
%typemap(out, noblock=1) SWIGTYPE [ANY] {
  $result = qx_new_view(SWIG_as_voidptr($1), $1_descriptor, sizeof($1[0]) * (size_t)$1_dim0, &qx_src1);
}

/* -------------------------------------------------------------------------
 * QX_OPAQUE_VALUE (getters of values the module has no conversion for)
 *
 * A getter of a member whose type the module has no conversion for returns
 * a new object owning a copy of the member. A record known only by name (a
 * type of another library) follows the record rule: collected without a
 * registered class, it reports the leak. A value type (QX_OPAQUE_VALUE:
 * u16_t, float64_t, ...; no class can be registered for one) frees its copy
 * silently when collected, so reading such a member in a loop holds no
 * memory and prints nothing.
 * ------------------------------------------------------------------------- */
%typemap(out, noblock=1) SWIGTYPE {
  $result = qx_new_copy(&$1, sizeof($1), $&1_descriptor, 0);
  if (!$result) SWIG_fail;
}

%define QX_OPAQUE_VALUE(TYPE)
%typemap(out, noblock=1) TYPE {
  $result = qx_new_copy(&$1, sizeof($1), $&1_descriptor, 1);
  if (!$result) SWIG_fail;
}
%enddef

/* -------------------------------------------------------------------------
 * StructByValueIn and opaque values in (a by-value argument or member value
 * of a record type, or of a type the module has no conversion for)
 *
 * Takes a pointer object of the type (or one the type table accepts for it)
 * and copies the value it points to; anything else raises TypeError with the
 * argument's message, None (or a deleted record) ValueError "invalid null
 * reference in method '<binding>', argument <n> of type '<T>'". As SWIG's
 * own rule, except that the value is copied byte by byte (qx_convert.h,
 * "Loads and stores at any address"): the object may be a view of a member
 * that the native layouts leave at an address below the alignment of its
 * type (a float64_t or u64_t at a multiple of 4).
 * ------------------------------------------------------------------------- */
%typemap(in) SWIGTYPE (void *argp, int res = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN) {
  res = qx_convert($input, &argp, $&descriptor, %convertptr_flags, 0, &qx_from);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!argp) {
    %argument_nullref("$type", $symname, $argnum);
  } else {
    memcpy(&$1, argp, sizeof($1));
  }
}

/* -------------------------------------------------------------------------
 * Extents
 *
 * qx_short_of(extent, own, need, unit): whether an object that reaches
 * `extent` bytes (QX_EXTENT_UNKNOWN: nobody knows) and owns its storage or
 * not holds `need` bytes, the native side reading or writing that many
 * through it in elements of `unit` bytes:
 *   0  it does, or its extent is unknown (an object the modules did not
 *      make passes as it is);
 *   1  it reaches at most one element (or owns a single one whose extent
 *      is unknown);
 *   2  it reaches more than one element, but fewer than needed.
 * ------------------------------------------------------------------------- */
%fragment("qx_extent", "header") %{
/* The bytes a function reads or writes through one of its pointer
 * arguments (QX_REACH below). */
#define QX_REACH_BYTES(function, parameter) QX_REACH_BYTES_##function##_##parameter

SWIGINTERN int qx_short_of(size_t extent, int own, unsigned long long need, size_t unit) {
  if (extent == QX_EXTENT_UNKNOWN) return ((own & SWIG_POINTER_OWN) && need > unit) ? 1 : 0;
  if ((unsigned long long)extent >= need) return 0;
  return extent < 2 * unit ? 1 : 2;
}

/* The number of whole `unit`-byte records an object reaches, at most
 * 0xFFFFFFFF; one of unknown extent reaches 1 if it owns its storage, else
 * as many as a count can say. */
SWIGINTERN u32_t qx_room(size_t extent, int own, size_t unit) {
  if (extent == QX_EXTENT_UNKNOWN) return (own & SWIG_POINTER_OWN) ? 1u : 0xFFFFFFFFu;
  return extent / unit > 0xFFFFFFFFu ? 0xFFFFFFFFu : (u32_t)(extent / unit);
}
%}

/* -------------------------------------------------------------------------
 * Owned record objects
 *
 * qx_new_owned_record(record, size, type) wraps a `size`-byte record made
 * with the runtime's allocator (calloc) in a new object that owns it and
 * reaches those bytes (an instance of the
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
SWIGINTERN PyObject *qx_new_owned_record(void *record, size_t size, swig_type_info *type) {
  PyObject *obj = qx_new_object(record, type, SWIG_POINTER_OWN, size, NULL, 0);
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
    item = qx_new_owned_record(copy, size, type);
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
 * type table accepts for it). The object must reach the N elements: a view
 * of an array (a getter's result) reaches that array, an object that owns
 * its storage (made by new_, an int_p, an owned copy a getter returned)
 * its allocation, whether it still owns it or was disowned. One that
 * reaches fewer is refused before anything is read:
 *   ValueError "single element given for an array in method '<binding>',
 *              argument 2 of type '<T [N]>'"   (one element or less)
 *   ValueError "too few elements given for an array in method '<binding>',
 *              argument 2 of type '<T [N]>'"   (more, but fewer than N)
 * An object of unknown extent (made outside the modules) passes, unless it
 * owns its storage (a single element). None raises ValueError "invalid null
 * reference in variable '<field>' of type '<T [N]>'". A refused value
 * leaves the member unchanged.
 * ------------------------------------------------------------------------- */
%typemap(in, noblock=1, fragment="qx_extent") SWIGTYPE [ANY] (void *argp = 0, int res = 0, int qx_own = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN) {
  res = qx_convert($input, &argp, $descriptor, 0, &qx_own, &qx_from);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (argp) {
    switch (qx_short_of(qx_from.extent, qx_own, sizeof($1[0]) * (unsigned long long)$1_dim0, sizeof($1[0]))) {
      case 1: SWIG_exception_fail(SWIG_ValueError, "single element given for an array in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
      case 2: SWIG_exception_fail(SWIG_ValueError, "too few elements given for an array in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
    }
  }
  $1 = ($ltype)argp;
}

%typemap(memberin, noblock=1) SWIGTYPE [ANY] {
  if (!arg1) {
    SWIG_exception_fail(SWIG_ValueError, qx_null_self1);
  }
  if ($input) {
    /* The source may be a view at a multiple of 4 (a u64_t [8] member held
     * in another record): copied as bytes, assuming no element alignment. */
    memcpy($1, (const void *)$input, sizeof($1[0]) * (size_t)$1_dim0);
  } else {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference " "in variable '" "$name" "' of type '" "$type" "'");
  }
}

/* -------------------------------------------------------------------------
 * QX_NESTED_MEMBER_BY_COPY (a member whose type is a named record)
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
  memcpy(&$1, (const void *)$input, sizeof(RECORD));
}
%enddef

/* -------------------------------------------------------------------------
 * PointerArg and QX_POINTER_MEMBER
 *
 * A pointer argument takes None (NULL) or a pointer object of the declared
 * type or one the type table accepts; else TypeError with the argument's
 * message. A record object whose record was deleted (it holds a null
 * address) is no None: ValueError "invalid null reference " and the
 * argument's message, and the native function is not called. A pointer
 * member's setter (SWIG marks its value $disown) stores the record's
 * address and takes ownership away from the object given, but only when
 * the address is actually stored: given a None parent, the object keeps
 * owning (and later freeing) its record. This holds for every pointer
 * member of every module. The getter returns a non-owning view, None for
 * NULL.
 *
 * Every pointer member's setter notes, for that member, what the object
 * given reaches and which object made that storage (qx_note_member,
 * qx_runtime.i), so that its getter's object reaches exactly that storage
 * and keeps its maker alive, or, once the storage was freed (taken back
 * with acquire() and collected, or deleted), holds a null address that
 * every later use refuses ("invalid null reference ..."), whatever other
 * records note at that address since. Storage the modules did not make (an
 * address the native side wrote, an object made outside the modules, bytes
 * written over the member) is read as far as asked. QX_POINTER_MEMBER(T,
 * NAME) gives the getter of a data pointer member NAME of type `T *` its
 * result rule (every such member of a library's records is listed in its
 * generated rules).
 * ------------------------------------------------------------------------- */
%typemap(in, noblock=1) SWIGTYPE * (void *argp = 0, int res = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN) {
  res = qx_convert($input, &argp, $descriptor, ($disown && arg1) ? SWIG_POINTER_DISOWN : 0, 0, &qx_from);
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

/* The record's own maker (qx_from1) is noted too: a note of a record freed
 * since speaks for nothing. */
%typemap(memberin, noblock=1) SWIGTYPE * {
  if (arg1) {
    if (qx_note_member((const void *)&$1, (const void *)$input, qx_from2.extent, qx_from2.pinned, qx_from1.pinned) < 0) SWIG_fail;
    $1 = ($1_ltype)$input;
  }
}
/* A function pointer member points at code, not at storage: stored as it is. */
%typemap(memberin, noblock=1) SWIGTYPE ((*)(ANY)) {
  if (arg1) $1 = ($1_ltype)$input;
}

/* A function pointer result (a callback member's getter) is an object at the
 * code's address that reaches no byte of storage: cdata and memmove refuse
 * it. */
%typemap(out, noblock=1) SWIGTYPE ((*)(ANY)) {
  $result = qx_new_object((void *)$1, $descriptor, 0, 0, NULL, 0);
}

%define QX_POINTER_MEMBER(TYPE, NAME)
%typemap(in) TYPE *NAME = SWIGTYPE *;
%typemap(out, noblock=1) TYPE *NAME {
  $result = qx_new_member_view(SWIG_as_voidptr($1), $1_descriptor, (const void *)&arg1->$name);
}
%enddef

/* -------------------------------------------------------------------------
 * records_beside_count: QX_RECORDS_BESIDE_COUNT(R, COUNT, RECORDS),
 * records_beside_count_cell: QX_RECORDS_BESIDE_COUNT_CELL(R, CELL, RECORDS),
 * records_beside_count_member(MEMBER):
 *   QX_RECORDS_BESIDE_COUNT_MEMBER(R, HOLDER, MEMBER, RECORDS)
 *
 *   QX_RECORDS_BESIDE_COUNT(R, u32_t numberOfRamps, R const *const ramps)
 *
 * A record pointer parameter RECORDS through which the native side reads or
 * writes COUNT records, COUNT being an earlier int parameter of the same
 * function (converted by its own rule). The object must reach COUNT records:
 * one made by new_ or returned as an owned copy reaches one record (owned
 * or disowned), a view the member it designates (a whole array of records
 * for a view of an array member). One that reaches fewer is refused before
 * the native call:
 *   ValueError "single record given for several in method '<binding>',
 *              argument <n> of type '<declared type>'"  (one record or less)
 *   ValueError "too few records given for the count in method '<binding>',
 *              argument <n> of type '<declared type>'"  (more, but too few)
 * None, or an object of unknown extent (made outside the modules, unless it
 * owns its storage), passes the address as PointerArg does (a deleted
 * record object is refused as a null reference, as there).
 * One such pair per function.
 * ------------------------------------------------------------------------- */
%define %qx_records_beside(RECORD, RECORDS)
%typemap(in, noblock=1) RECORDS (void *argp = 0, int res = 0, int qx_own = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN) {
  res = qx_convert($input, &argp, $descriptor(RECORD *), 0, &qx_own, &qx_from);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res, "$type", $symname, $argnum);
  }
  if (!argp && $input != Py_None) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = ($ltype)argp;
}
%typemap(check, noblock=1, fragment="qx_extent") RECORDS {
  if ($1) {
    switch (qx_short_of(qx_from$argnum.extent, qx_own$argnum, qx_records_count * sizeof(RECORD), sizeof(RECORD))) {
      case 1: SWIG_exception_fail(SWIG_ValueError, "single record given for several in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
      case 2: SWIG_exception_fail(SWIG_ValueError, "too few records given for the count in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
    }
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
 * reach(EXPR): QX_REACH(PARAM) (a pointer argument through which the native
 * side reads or writes a known number of bytes: a fixed-size buffer, a
 * buffer whose length stands beside it, the room that a count cell gives)
 *
 *   QX_REACH(u8_t const *const subNetMask)
 *   #define QX_REACH_BYTES_Qx_Common_Ethernet_SubNetMask_Set_subNetMask ((unsigned long long)(4))
 *
 * Both are generated from api/<key>/params.txt (`reach` lines): the rule
 * for the parameter, and for every function that has it the bytes as an
 * expression of the wrapper's converted arguments. After all arguments are
 * converted, an object known to reach fewer bytes is refused before the
 * native call:
 *   ValueError "too few bytes given for the call in method '<binding>',
 *              argument <n> of type '<declared type>'"
 * None and objects of unknown extent (made outside the modules) pass. The
 * parameter's own rule (PointerArg, QX_ANY_POINTER_IN) converts it and records
 * its extent.
 * ------------------------------------------------------------------------- */
%define QX_REACH(PARAM)
%typemap(check, noblock=1, fragment="qx_extent") PARAM {
  if ($1 && qx_short_of(qx_from$argnum.extent, 0, QX_REACH_BYTES($symname, $1_name), 1)) {
    %qx_too_few_bytes("$argnum", "$type");
  }
}
%enddef

/* -------------------------------------------------------------------------
 * reach_member(MEMBER: COUNT): QX_REACH_MEMBERS(PARAM, R) (a record argument
 * holding pointer members beside the counts of what they point to)
 *
 *   QX_REACH_MEMBERS(R const *const parameters, R)
 *
 * Both generated from api/<key>/params.txt, with qx_members_short_R(record):
 * whether a pointer member of the record is known to reach fewer bytes than
 * its count says (qx_member_short: the storage its setter noted for the
 * member, qx_runtime.i). After all arguments are converted, such a record is
 * refused before the native call:
 *   ValueError "too few bytes given for the call in method '<binding>',
 *              argument <n> of type '<declared type>'"
 * A member whose storage was freed since counts as reaching nothing; a null
 * member, a count of 0 and storage the modules did not make pass.
 * ------------------------------------------------------------------------- */
%define QX_REACH_MEMBERS(PARAM, RECORD)
%typemap(check, noblock=1) PARAM {
  if ($1 && qx_members_short_##RECORD($1)) {
    %qx_too_few_bytes("$argnum", "$type");
  }
}
%enddef

/* -------------------------------------------------------------------------
 * QX_ANY_POINTER_IN (a `void *` or `void const *` argument)
 *
 *   QX_ANY_POINTER_IN(void const *const)
 *
 * Takes a pointer object of any type (a record, an int_p, a float64_t
 * object, ...) and passes its address, or None for a null pointer; anything
 * else raises TypeError with the argument's message ("... argument 6 of type
 * 'void const *const'"). A record object whose record was deleted is refused
 * as PointerArg refuses it. The binding neither sizes nor reads the memory.
 * %qx_any_pointer_in(PARAM, 0) is the same rule refusing None as well
 * (ValueError "invalid null reference ..."): the storage module's bytes in
 * and out.
 * ------------------------------------------------------------------------- */
%define %qx_any_pointer_in(PARAM, NONE_PASSES)
%typemap(in, noblock=1) PARAM (void *argp = 0, int res = 0, int qx_own = 0, QX_HELD_ORIGIN qx_from = QX_NO_ORIGIN) {
  res = qx_convert($input, &argp, 0, 0, &qx_own, &qx_from);
  if (!SWIG_IsOK(res)) {
    %argument_fail(res == QX_ERROR_RAISED ? res : SWIG_TypeError, "$type", $symname, $argnum);
  }
  if (!argp && (!(NONE_PASSES) || $input != Py_None)) {
    SWIG_exception_fail(SWIG_ValueError, "invalid null reference in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = ($1_ltype)argp;
}
%enddef

%define QX_ANY_POINTER_IN(TYPE)
%qx_any_pointer_in(TYPE, 1)
%enddef
