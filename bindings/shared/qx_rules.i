/*
 * Conversion rules shared by every module (_qx_api, _qx_api_common,
 * _qx_api_can, _qx_api_trovix): the one file a module %includes.
 *
 * Each rule states its Python-visible contract. A module defines the
 * wording of its messages (QX_WORDING_PLAIN or QX_WORDING_FAIL_IN, see
 * qx_lists.i), %includes this file and then says, in one visible table,
 * which native type follows which rule (QX_UNSIGNED_SCALAR(u32_t), ...).
 * Which parameters follow which shape rule is said by exact `type name`
 * pairs in api/<key>/params.txt, whose kinds are the rules' names: a line
 * `heap_bytes <pairs>` becomes QX_HEAP_BYTES(<pairs>) in the module's
 * generated <library>_rules.i (generators/gen_params.py; a module's own
 * kinds are declared in bindings/<key>/kinds.txt).
 * The files, by concept:
 *   qx_scalars.i        integers, doubles, the status test
 *   qx_records.i        record arguments, array/nested/pointer members,
 *                       values taken from pointer objects (StructByValueIn,
 *                       opaque values in), records beside a count, owned
 *                       record objects
 *   qx_lists.i          lists to and from arrays, buffers and record arrays
 *   qx_texts.i          texts in (StringIn) and text outputs
 *   qx_outputs.i        scalar and record outputs appended to the result
 *   qx_pointer_class.i  the boxed cells int_p and char_p
 *   qx_convert.h        their C helpers (plain C on the Python C API)
 *
 * The base typedefs (u8_t, u16_t, u32_t, u64_t, ...) are never shown to SWIG
 * (api/qx_types.h is C-only). SWIG therefore treats a type that a module
 * gives no rule as an opaque value type: it is taken from a pointer object of
 * that type and returned as an owned copy (QX_OPAQUE_VALUE), and its
 * pointer keeps its own mangled name (_p_u16_t, _p_u32_t) in the type table
 * that all modules share, so an int_p made by _qx_api is accepted wherever
 * any module declares a u32_t pointer.
 *
 * Rules that SWIG's defaults already give, unchanged:
 *   ArgTupleUnpack       argument count checks ("%s expected %s%d arguments, got %d")
 *   EnumScalarIn         enumerations as signed 32-bit ints (OverflowError outside)
 *   ValueResult (enums)  an enumeration result as a signed int
 *   StringResult         char const * results: None for NULL, else UTF-8 with
 *                        "surrogateescape"
 *   FunctionPointerIn    None, a pointer object of the exact callback type, or
 *                        a built-in carrying "swig_ptr: " in its doc
 *   RecordLifecycle      new_ (zeroed, owned), registration, SharedSwigInit
 *   ArrayMemberAsPointer getters of arrays without a list rule: a view
 */

%include "qx_start.i"

%header %{
#include "qx_convert.h"
%}

%include "qx_scalars.i"
%include "qx_records.i"
%include "qx_outputs.i"
%include "qx_lists.i"
%include "qx_texts.i"
%include "qx_pointer_class.i"
