/*
 * Rules of _qx_storage alone: SWIG's arrays (carrays.i, %array_functions),
 * cells (cpointer.i, %pointer_functions) and raw bytes (cdata.i, cdata and
 * memmove), with the pointer objects of the modules' runtime.
 *
 *   QX_STORAGE_ARRAY(TYPE, NAME)   new_NAME(count), delete_NAME(a),
 *                                  NAME_getitem(a, i), NAME_setitem(a, i, v)
 *   QX_STORAGE_CELL(TYPE, NAME)    new_NAME(), copy_NAME(v), delete_NAME(p),
 *                                  NAME_assign(p, v), NAME_value(p)
 *   QX_STORAGE_RECORD_ARRAY(R, MODULE)
 *                                  new_R_array(count), delete_R_array(a),
 *                                  R_array_getitem(a, i) (a view of record
 *                                  i), R_array_setitem(a, i, record) (a copy)
 *   QX_STORAGE_ADDRESS_CELL(TYPE, NAME)
 *                                  new_NAME(), delete_NAME(p), NAME_value(p)
 *                                  (a cell into which a native function
 *                                  stores the address of an object it owns)
 *
 * Each array kind has a class of the proxy module qx_storage in the shape of
 * SWIG's %array_class (qx_storage.NAME(count), qx_storage.R_array(count)):
 * a Python sequence of its elements (below).
 *
 * The value v follows the rule of TYPE that the module names (qx_scalars.i);
 * a record is copied from a record object of its type (the by-value rule of
 * qx_records.i). The array or cell argument follows the record argument rule
 * of qx_records.i (`self`): None and deleted objects are refused but by the
 * destructors. What differs from SWIG's library:
 *  - every array and cell is an object that owns its storage and knows its
 *    extent (qx_runtime.i): count * sizeof(TYPE) bytes, or sizeof(TYPE) for
 *    a cell. The four modules' checks read it: a buffer that reaches fewer
 *    bytes than a call reads or writes is refused before the native call
 *    ("too few bytes given for the call in method ...", "single element
 *    given for an array in method ..."), and so is an array of records that
 *    holds fewer records than the count beside it ("too few records given
 *    for the count in method ...");
 *  - collecting an object frees its storage silently, as the value copies
 *    that getters return do; delete_NAME frees it at once and leaves the
 *    object holding a null address (a second delete_NAME, and delete_NAME of
 *    None or of a view that owns nothing, frees nothing). Any other use of
 *    a deleted object raises ValueError "invalid null reference in method
 *    '<binding>', argument 1 of type 'TYPE *'", as None does, in this module
 *    and in the four;
 *  - an array is a plain pointer object of type `TYPE *` (`R *`), never an
 *    instance of a class registered for R; the views that R_array_getitem
 *    returns are (an instance of R's registered class where one is
 *    registered): each owns nothing and keeps the array alive (also one
 *    made while a record's pointer member holds the array), so a field
 *    set through it writes into the array;
 *  - a count of 0 raises ValueError "a count of 0 given for an array in
 *    method 'new_NAME', argument 1 of type 'size_t'"; a negative count, or
 *    one beyond size_t, OverflowError; so does a count of more bytes than
 *    QX_STORAGE_MAX_BYTES, the most a native call reads or writes (its
 *    lengths are u32_t): "a count beyond 4294967295 bytes given for an
 *    array in method 'new_NAME', argument 1 of type 'size_t'"; a failed
 *    allocation raises MemoryError;
 *  - an index outside 0 ... count - 1 raises IndexError "index out of range
 *    in method 'NAME_getitem', argument 2 of type 'size_t'";
 *  - NAME_value and NAME_assign refuse an object that reaches fewer bytes
 *    than one TYPE (ValueError, "too few bytes given for the call in method
 *    ..."); they also read the owned copies that the modules' getters return
 *    (a float64_t member of a CAN record, a u16_t member of a common one);
 *  - elements are copied with memcpy, never read or written through a
 *    TYPE pointer ("Loads and stores at any address", qx_convert.h): an
 *    array may be a view of a member at an address below TYPE's alignment;
 *  - a failed allocation in copy_NAME raises MemoryError instead of writing
 *    through a null pointer.
 * Objects made outside the modules (unknown extent) are indexed and read
 * as far as asked, as SWIG's library does, unless they own their storage
 * (then they hold one element).
 */

%include <carrays.i>
%include <cpointer.i>

%fragment("qx_storage", "header", fragment="qx_self", fragment="qx_extent") %{
/* The most bytes an array holds: the most that a native call reads or
 * writes through a buffer, whose lengths are u32_t. */
#define QX_STORAGE_MAX_BYTES 0xFFFFFFFFu

/* A zeroed block of `count` elements of `size` bytes for new_NAME; NULL with
 * the exception set (`name` is new_NAME's). */
SWIGINTERN void *qx_storage_block(size_t count, size_t size, const char *name) {
  void *block;
  if (count == 0) {
    PyErr_Format(PyExc_ValueError, "a count of 0 given for an array in method '%s', argument 1 of type 'size_t'",
                 name);
    return NULL;
  }
  if (count > QX_STORAGE_MAX_BYTES / size) {
    PyErr_Format(PyExc_OverflowError,
                 "a count beyond %lu bytes given for an array in method '%s', argument 1 of type 'size_t'",
                 (unsigned long)QX_STORAGE_MAX_BYTES, name);
    return NULL;
  }
  block = calloc(count, size);
  if (!block) return PyErr_NoMemory();
  return block;
}

/* The plain pointer object (never an instance of a registered class) that
 * owns a block of `size` bytes and frees it when collected; NULL with the
 * exception set (the block is freed then, by qx_new_object: SWIG_POINTER_NEW
 * is SWIG_POINTER_OWN | SWIG_POINTER_NOSHADOW). */
SWIGINTERN PyObject *qx_new_storage(void *block, size_t size, swig_type_info *type) {
  if (!block) return PyErr_Occurred() ? NULL : PyErr_NoMemory();
  return qx_new_object(block, type, SWIG_POINTER_NEW, size, NULL, 1);
}

/* Whether element `index` of `size` bytes lies outside what an object
 * reaching `extent` bytes (QX_EXTENT_UNKNOWN: nobody knows) holds. An
 * object of unknown extent that owns its storage holds one element. */
SWIGINTERN int qx_index_outside(long long index, size_t extent, int own, size_t size) {
  if (index < 0) return 1;
  if (extent == QX_EXTENT_UNKNOWN) return (own & SWIG_POINTER_OWN) && index > 0;
  return (unsigned long long)index >= extent / size;
}
%}

/* The array (`ary`) and cell (`obj`) arguments: the record argument rule;
 * a cell must reach one element. */
%qx_self(SWIGTYPE *ary, 0)
%qx_self(SWIGTYPE *obj, sizeof($*1_ltype))

/* The index of an element of the array argument (argument 1). */
%typemap(in, noblock=1, fragment="qx_storage") size_t index (long long val, int ecode = 0) {
  ecode = qx_as_s64($input, &val);
  if (ecode == SWIG_TypeError) {
    %argument_fail(ecode, "$type", $symname, $argnum);
  }
  if (!SWIG_IsOK(ecode) || qx_index_outside(val, qx_from1.extent, qx_own1, sizeof(*arg1))) {
    SWIG_exception_fail(SWIG_IndexError, "index out of range in method '" "$symname" "', argument " "$argnum" " of type '" "$type" "'");
  }
  $1 = (size_t)val;
}

/* new_NAME(count) of an array of TYPE: zeroed, owned, reaching count
 * elements. */
%define %qx_storage_new_array(TYPE, NAME)
%delobject delete_##NAME;
%feature("action") new_##NAME {
  result = (TYPE *)qx_storage_block(arg1, sizeof(TYPE), "new_" #NAME);
}
%typemap(out, noblock=1) TYPE *new_##NAME {
  $result = qx_new_storage($1, arg1 * sizeof(TYPE), $1_descriptor);
  if (!$result) SWIG_fail;
}
%enddef

/* The proxy class NAME of an array kind (qx_storage.NAME(count)). */
%define %qx_storage_array_class(NAME, BASE, EXTRA)
%pythoncode %{
class NAME(BASE):
    __slots__ = ()
    _new = _qx_storage.new_##NAME
    _getitem = _qx_storage.NAME##_getitem
    _setitem = _qx_storage.NAME##_setitem
    EXTRA
%}
%enddef

%define QX_STORAGE_ARRAY(TYPE, NAME)
%qx_storage_new_array(TYPE, NAME)
%feature("action") NAME##_getitem {
  memcpy(&result, (const unsigned char *)arg1 + arg2 * sizeof(TYPE), sizeof(TYPE));
}
%feature("action") NAME##_setitem {
  memcpy((unsigned char *)arg1 + arg2 * sizeof(TYPE), &arg3, sizeof(TYPE));
}
%array_functions(TYPE, NAME)
%qx_storage_array_class(NAME, _StorageArray, )
%enddef

%define QX_STORAGE_CELL(TYPE, NAME)
%delobject delete_##NAME;
%typemap(out, noblock=1) TYPE *new_##NAME {
  $result = qx_new_storage($1, sizeof(TYPE), $1_descriptor);
  if (!$result) SWIG_fail;
}
/* The copy is made from the converted value itself (qx_new_copy). */
%feature("action") copy_##NAME {
  result = &arg1;
}
%typemap(out, noblock=1) TYPE *copy_##NAME {
  $result = qx_new_copy($1, sizeof(TYPE), $1_descriptor, 1);
  if (!$result) SWIG_fail;
}
%feature("action") NAME##_assign {
  memcpy(arg1, &arg2, sizeof(TYPE));
}
%feature("action") NAME##_value {
  memcpy(&result, arg1, sizeof(TYPE));
}
%pointer_functions(TYPE, NAME)
%enddef

/* Arrays of records, for the record types that the four modules' bindings
 * take several of beside a count (generated from api/<key>/params.txt).
 * MODULE is the proxy module whose classes stand for RECORD: the proxy
 * class RECORD_array imports it, so that its items are instances of them. */
%define QX_STORAGE_RECORD_ARRAY(RECORD, MODULE)
%qx_storage_new_array(RECORD, RECORD##_array)
%feature("action") delete_##RECORD##_array {
  free((char *)arg1);
}
%feature("action") RECORD##_array_getitem {
  result = (RECORD *)((unsigned char *)arg1 + arg2 * sizeof(RECORD));
}
%typemap(out, noblock=1) RECORD *RECORD##_array_getitem {
  $result = qx_new_object($1, $1_descriptor, 0, sizeof(RECORD), qx_from1.keeper, 0);
  if (!$result) SWIG_fail;
}
%feature("action") RECORD##_array_setitem {
  memcpy((unsigned char *)arg1 + arg2 * sizeof(RECORD), &arg3, sizeof(RECORD));
}
/* Declared to SWIG only: every body is an action above. */
RECORD *new_##RECORD##_array(size_t nelements);
void delete_##RECORD##_array(RECORD *ary);
RECORD *RECORD##_array_getitem(RECORD *ary, size_t index);
void RECORD##_array_setitem(RECORD *ary, size_t index, RECORD value);
%qx_storage_array_class(RECORD##_array, _RecordArray, _module = #MODULE)
%enddef

/* A cell into which a native function stores the address of an object of
 * its own (a Trovix signal block): new_NAME() is a zeroed cell, NAME_value
 * the object at the address the cell holds (None for a null address),
 * which owns nothing and reaches no byte (the library owns it and nobody
 * knows its size: cdata and memmove refuse it). */
%define QX_STORAGE_ADDRESS_CELL(TYPE, NAME)
%delobject delete_##NAME;
%feature("action") new_##NAME {
  result = (TYPE **)calloc(1, sizeof(TYPE *));
}
%typemap(out, noblock=1) TYPE **new_##NAME {
  $result = qx_new_storage($1, sizeof(TYPE *), $1_descriptor);
  if (!$result) SWIG_fail;
}
%feature("action") delete_##NAME {
  free((char *)arg1);
}
%feature("action") NAME##_value {
  memcpy(&result, arg1, sizeof(TYPE *));
}
%typemap(out, noblock=1) TYPE *NAME##_value {
  $result = qx_new_object($1, $1_descriptor, 0, 0, NULL, 0);
  if (!$result) SWIG_fail;
}
TYPE **new_##NAME(void);
void delete_##NAME(TYPE **obj);
TYPE *NAME##_value(TYPE **obj);
%enddef

/* -------------------------------------------------------------------------
 * The proxy classes of the array kinds, in the shape of SWIG's
 * %array_class: qx_storage.u8_array(count) makes an array of count zeroed
 * elements (the count rules of new_NAME) and frees it when collected. An
 * instance is a Python sequence of fixed length, as a memoryview is:
 *   a[i], a[i] = v   element i, negative indexes counting from the end
 *                    (IndexError beyond, from NAME_getitem/NAME_setitem);
 *   a[s]             a slice (any start, stop and step, slice.indices): a
 *                    list of the elements it selects;
 *   a[s] = values    an iterable of exactly the slice's length (ValueError
 *                    else, TypeError for one that is not iterable); every
 *                    value is converted into an array of the same kind
 *                    before any is written, so a value NAME_setitem refuses
 *                    (its TypeError or OverflowError, as it raised it)
 *                    leaves the array unchanged;
 *   len(a)           the count; iteration yields the elements in order;
 *   a.cast()         the array's pointer object (of type `TYPE *`, owning
 *                    the storage);
 * and is passed as it is wherever the four modules take a `TYPE *` (its
 * "this" is the array). Once the array is deleted (delete_NAME(a.cast())
 * leaves its pointer object holding a null address) len, indexes, slices,
 * assignments and iteration raise the ValueError that NAME_getitem raises
 * for a deleted array ("invalid null reference in method 'NAME_getitem',
 * argument 1 of type 'TYPE *'"), iter(a) at once. The items of a record
 * array are views (an instance of the record's class of its proxy module,
 * imported on first use), in a slice too: a field set through an item
 * writes into the array, and the item keeps the array alive. The flat
 * functions stay as they are.
 *
 * a[i] and a[i] = v with an int i are the hot path (a field of each record
 * of an array set in a loop): they test for an int first and call the flat
 * function at once; anything else goes through the slower paths.
 * ------------------------------------------------------------------------- */
%pythoncode %{
import importlib as _importlib
from itertools import repeat as _repeat


class _StorageArray(object):
    """An array of zeroed elements made by _qx_storage, freed when collected."""

    __slots__ = ("this", "_count")

    def __init__(self, count):
        self.this = self._new(count)
        self._count = count

    def _reach(self):
        """The array's pointer object; a deleted array (null address) raises
        the flat getitem's ValueError, which every use of one raises."""
        this = self.this
        if not int(this):
            self._getitem(this, 0)  # raises "invalid null reference in method 'NAME_getitem', ..."
        return this

    def __len__(self):
        self._reach()
        return self._count

    def __getitem__(self, index):
        if isinstance(index, int):
            return self._getitem(self.this, index + self._count if index < 0 else index)
        return self._items(index)

    def _items(self, index):
        """a[index] for an index that is not an int: a slice, else what the
        flat getitem makes of it (its TypeError for a str, a float, ...)."""
        if not isinstance(index, slice):
            return self._getitem(self.this, index)
        this = self._reach()
        return list(map(self._getitem, _repeat(this), range(*index.indices(self._count))))

    def __setitem__(self, index, value):
        if isinstance(index, int):
            if index < 0:
                index += self._count
        elif isinstance(index, slice):
            return self._assign(index, value)
        this = self.this
        try:
            return self._setitem(this, index, value)
        except ValueError:
            if int(this):
                raise
        self._reach()  # deleted: the error of every other use, not the flat setitem's

    def _assign(self, index, values):
        """a[index] = values for a slice: all or nothing."""
        this = self._reach()
        positions = range(*index.indices(self._count))
        try:
            values = iter(values)
        except TypeError:
            raise TypeError(f"{type(self).__name__} slice assignment takes an iterable, not "
                            f"'{type(values).__name__}'") from None
        values = list(values)
        if len(values) != len(positions):
            raise ValueError(f"{type(self).__name__} slice assignment: a sequence of size {len(values)} given "
                             f"for a slice of size {len(positions)} (the array's length is fixed)")
        if not values:
            return
        # Converted first, into storage of the same kind: a value refused
        # raises the flat setitem's own exception with nothing written. The
        # staged elements (views, for records) are all made before the first
        # is written, so that a failed allocation writes nothing either.
        staged = self._new(len(values))
        for at, value in enumerate(values):
            self._setitem(staged, at, value)
        staged = list(map(self._getitem, _repeat(staged), range(len(values))))
        for position, value in zip(positions, staged):
            self._setitem(this, position, value)

    def __iter__(self):
        return map(self._getitem, _repeat(self._reach()), range(self._count))

    def cast(self):
        return self.this

    __repr__ = _swig_repr


def _proxy_module(name):
    """A proxy module beside this one (in the same package, if any)."""
    package = __package__ or ("." in __name__ and __name__.rpartition(".")[0])
    return _importlib.import_module("." + name, package) if package else _importlib.import_module(name)


_imported = set()  # the proxy modules the record arrays imported


class _RecordArray(_StorageArray):
    """An array of zeroed records; its items are views into it."""

    __slots__ = ()

    def _import(self):
        # Its classes registered, the module's items are instances of them.
        _proxy_module(self._module)
        _imported.add(self._module)

    def __getitem__(self, index):
        if self._module not in _imported:
            self._import()
        if isinstance(index, int):
            return self._getitem(self.this, index + self._count if index < 0 else index)
        return self._items(index)

    def __iter__(self):
        if self._module not in _imported:
            self._import()
        return _StorageArray.__iter__(self)
%}

/* -------------------------------------------------------------------------
 * QX_STORAGE_BYTES: cdata(ptr, nbytes) and memmove(data, indata), the
 * functions of cdata.i, declared here with its names and shapes, with these
 * differences:
 *  - both take a pointer object of any type (an array, a cell, a record)
 *    and refuse None and deleted objects (ValueError "invalid null
 *    reference in method 'cdata', argument 1 of type 'void *'");
 *  - the count (cdata.i's nelements) has no default: cdata(ptr) raises
 *    TypeError like every call with too few arguments;
 *  - cdata returns bytes, not a str;
 *  - memmove takes a bytes-like object (bytes, bytearray, a contiguous
 *    memoryview), not a str (TypeError "in method 'memmove', argument 2 of
 *    type 'void const *'"); an exception that the source itself raises
 *    while it gives its buffer propagates as it stands;
 *  - reading or writing beyond the object's extent raises ValueError "too
 *    few bytes given for the call in method 'cdata', argument 1 of type
 *    'void *'" (for memmove, 'memmove') and writes nothing.
 * ------------------------------------------------------------------------- */
%qx_any_pointer_in(void *ptr, 0)
%qx_any_pointer_in(void *data, 0)

%typemap(check, noblock=1, fragment="qx_storage") size_t nbytes {
  if ($1 > (size_t)PY_SSIZE_T_MAX || qx_short_of(qx_from1.extent, qx_own1, $1, 1)) {
    %qx_too_few_bytes("1", "void *");
  }
}

%typemap(out, noblock=1) SWIGCDATA {
  $result = PyBytes_FromStringAndSize($1.data, (Py_ssize_t)$1.len);
}

%typemap(in, noblock=1) (const void *indata, size_t inlen) (Py_buffer qx_view, int qx_viewed = 0) {
  if (!PyObject_CheckBuffer($input)) {
    %argument_fail(SWIG_TypeError, "$1_type", $symname, $argnum);
  }
  if (PyObject_GetBuffer($input, &qx_view, PyBUF_SIMPLE) < 0) SWIG_fail;
  qx_viewed = 1;
  $1 = qx_view.buf;
  $2 = (size_t)qx_view.len;
}
%typemap(freearg, noblock=1) (const void *indata, size_t inlen) {
  if (qx_viewed$argnum) PyBuffer_Release(&qx_view$argnum);
}
%typemap(check, noblock=1, fragment="qx_storage") (const void *indata, size_t inlen) {
  if (qx_short_of(qx_from1.extent, qx_own1, $2, 1)) {
    %qx_too_few_bytes("1", "void *");
  }
}

%define QX_STORAGE_BYTES
%{
typedef struct SWIGCDATA {
  char *data;
  size_t len;
} SWIGCDATA;

static SWIGCDATA cdata(void *ptr, size_t nbytes) {
  SWIGCDATA d;
  d.data = (char *)ptr;
  d.len = nbytes;
  return d;
}
%}
SWIGCDATA cdata(void *ptr, size_t nbytes);
/* The C library's memmove (its result is not returned). */
void memmove(void *data, const void *indata, size_t inlen);
%enddef
