/*
 * _qx_api_can: node configuration and the cyclic message engine
 * (qx_api_can_node.h). %included by qx_api_can.i after the module's own
 * declarations; the module's type table (u8_t, u16_t and u32_t as ints,
 * double from a float or an int, u8_t arrays from lists) and its generated
 * parameter shapes (api/can/params.txt: message data and masks in 64-byte
 * buffers, scalar outputs, response records returned as new owned records
 * that start zeroed; the Qx_Can_Data_t member of the cyclic message state a
 * view to read, a whole record copied in to write) apply here as well.
 *
 * Rules that SWIG's defaults give here:
 *  - Qx_Common_Signal_t, known to this module by name only: an argument
 *    `Qx_Common_Signal_t const` takes a record object made by _qx_api_common
 *    and passes a copy (None: ValueError "invalid null reference ...");
 *    a Signal member is set by copying such a record and read as a new
 *    owned copy, never a view.
 *  - float64_t (Increment) has no numeric conversion: set from a float64_t
 *    pointer object (8 bytes copied), read as a new owned 8-byte copy.
 *  - Pointer members (UserBytesBefore, UserBytesAfter, DataArray, SyncRamp)
 *    store the address of the object given and take its ownership away;
 *    the getter returns a non-owning object, None for NULL.
 *  - Record arguments `R const *const` take a record object or None (NULL),
 *    which stays owned by the caller.
 */

%include "qx_api_can_node.h"
