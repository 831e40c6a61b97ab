/*
 * _qx_api_common: the XCP master, the function-block error queries and the
 * temperature and PXI slot queries.
 *
 * Included by qx_api_common.i after the event/action engine, so that these
 * bindings follow the core and engine bindings in the method table; the
 * header's constants come first, in the library's order. The module's table
 * of rules applies unchanged: u8_t, u32_t and their typedefs are ints, u16_t
 * and its typedefs (ports, lengths, property ids, the 16-bit FIFO flags)
 * travel in u16_t pointer objects, byte arrays read as lists and are written
 * from u8_t pointer objects, the address members are copied in whole, and
 * size_t members (the DAQ signal handles) take the host's size_t range.
 * No function appends an output: responses, frames, cells and buffers are
 * objects the caller passes and reads afterwards.
 */

/* The FlexRay PDU table, declared inside its record: a getter only, giving
 * a view of its first entry. */
%immutable Qx_Common_Xcp_Init_FlexRay_Cmd_t::Pdus;

%include "qx_api_common_xcp.h"
