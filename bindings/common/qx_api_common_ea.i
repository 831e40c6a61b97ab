/*
 * _qx_api_common: rules and declarations of the event/action engine.
 *
 * Included by qx_api_common.i at the engine's place in the library's
 * declaration order, after the module's own table of rules: handles, flag
 * words and u8_t/u32_t fields are ints (QX_UNSIGNED_SCALAR), u8_t and u32_t
 * arrays read as lists (QX_ARRAY_TO_LIST) and are written from pointer
 * objects of the element type (FixedArrayFromPointer), type codes and
 * property identifiers are u16_t fields taken from u16_t pointer objects
 * (QX_OPAQUE_VALUE), and every engine function's status is tested.
 *
 * What the engine adds:
 *  - the members of the definition commands' unions are records of their
 *    own; each member setter copies the whole record passed into the union
 *    (None raises ValueError and copies nothing), each getter returns a view
 *    into the union through which it can be filled in place (the rules are
 *    generated from the header with the module's other record members,
 *    qx_api_common_rules.i);
 *  - handle cells (Qx_Common_EA_EventHandle_t *const, ..._ActionHandle_t
 *    *const) and response records are caller-supplied pointers (an int_p
 *    serves as a handle cell); no engine function appends an output;
 *  - the notification callback field takes None or a native function of
 *    type Qx_Common_EA_NotifyHost_Callback_t, never a Python callable.
 */

%include "qx_api_common_ea.h"
