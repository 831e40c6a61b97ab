/* Module _qx_api_can: the CAN library (libqx_api_can). */
%module qx_api_can

%{
#include "qx_api_can.h"
#include "qx_api_can_node.h"
%}

/* The list rules' messages name the binding: "fail in '<binding>' : ..." */
#define QX_WORDING_FAIL_IN
%include "qx_rules.i"

/* The base library's types (Qx_PortHandle_t, Qx_Error_t, ...) without its
 * bindings. */
%import "qx_api.h"

/* Which native type follows which rule in this module.
 *
 * u16_t is an int here, stored in 16 bits; u64_t keeps all 64 bits.
 * float64_t has no numeric conversion: its values travel in float64_t
 * pointer objects. Qx_Common_Signal_t and Qx_Common_EventHandle_t are known by
 * name only (qx_api_can.h hides their C declarations from SWIG): a
 * Qx_Common_Signal_t record made by _qx_api_common is accepted and copied
 * whole, and only None passes for a Qx_Common_EventHandle_t pointer, since
 * _qx_api_common merges that type with size_t. */
QX_UNSIGNED_SCALAR(u8_t)
QX_UNSIGNED_SCALAR(u16_t)
QX_UNSIGNED_SCALAR(u32_t)
QX_U64_SCALAR(u64_t)
QX_DOUBLE_IN(double)
/* float64_t values travel in float64_t pointer objects; a getter's copy
 * frees itself when collected (a Qx_Common_Signal_t copy is a record: it
 * follows the record rule). */
QX_OPAQUE_VALUE(float64_t)
QX_STATUS_CHECK(Qx_Error_t)

/* Array members: u8_t and u32_t arrays are set from lists (an item beyond
 * 32 bits raises OverflowError); u16_t and u64_t arrays from pointer objects
 * of the element type; all read as lists. */
QX_ARRAY_FROM_LIST(u8_t, PyExc_OverflowError)
QX_ARRAY_FROM_LIST(u32_t, PyExc_OverflowError)
QX_ARRAY_TO_LIST(u8_t)
QX_ARRAY_TO_LIST(u16_t)
QX_ARRAY_TO_LIST(u32_t)
QX_ARRAY_TO_LIST(u64_t)

/* Parameter shapes (api/can/params.txt: byte data in 64-byte buffers, lists
 * of records, capacity-sized outputs, appended outputs and response records)
 * and the record members copied in whole, generated. */
%include "qx_api_can_rules.i"

/* Diagnostic function trialprint, second in the method table: prints the
 * index and the Id (as a signed 32-bit value) of at most the first 22
 * transmit FIFO items given, to the process's standard output. */
QX_RECORD_LIST(Qx_Can_TxFifo_MsgItem_t, u32_t const trialCount, Qx_Can_TxFifo_MsgItem_t const *const trialItems)
%{
static void trialprint(u32_t const trialCount, Qx_Can_TxFifo_MsgItem_t const *const trialItems) {
  u32_t i;
  for (i = 0; i < trialCount && i <= 21; i++) {
    printf("Msg# %d :%d\n", (int)i, (int)(s32_t)trialItems[i].Id);
  }
  fflush(stdout);
}
%}
void trialprint(u32_t const trialCount, Qx_Can_TxFifo_MsgItem_t const *const trialItems);

/* Declarations in native order: this module's functions and records, then
 * those of the node configuration and the cyclic message engine
 * (qx_api_can_node.i, which %includes qx_api_can_node.h). Every integer
 * constant of the module, the node property identifiers included, is
 * declared in qx_api_can.h so that all 86 are installed in their order. */
%include "qx_api_can.h"
%include "qx_api_can_node.i"

/* Transport protocols and diagnostic sessions (qx_api_can_tp.i, which
 * %includes qx_api_can_tp.h). */
%include "qx_api_can_tp.i"
/* Network management and the transmit table. */
%include "qx_api_can_nm.i"
/* CCP master (qx_api_can_ccp.i). */
%include "qx_api_can_ccp.i"
/* Triggers, command and UART gateways, transmit trace. */
%include "qx_api_can_io.i"
