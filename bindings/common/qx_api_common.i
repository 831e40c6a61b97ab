/* Module _qx_api_common: the common library (libqx_api_common). */
%module qx_api_common

%{
#include "qx_api_common.h"
#include "qx_api_common_ea.h"
#include "qx_api_common_xcp.h"
%}

/* The list rules' messages: "Expecting a sequence", ... */
#define QX_WORDING_PLAIN
%include "qx_rules.i"
%include "qx_common_rules.i"

/* Which native type follows which rule in this module.
 *
 * The base library's header is not shown to SWIG here: Qx_PortHandle_t and
 * Qx_Error_t are types of their own in this module (pointer types
 * _p_Qx_PortHandle_t and _p_Qx_Error_t, not spellings of u32_t *), and
 * Qx_Ethernet_AdapterInfo_t is known by its name only, the record type that
 * _qx_api defines and registers.
 *
 *   u8_t, u32_t, their typedefs, Qx_PortHandle_t  QX_UNSIGNED_SCALAR
 *   size_t (Qx_Common_EventHandle_t, DAQ handles) QX_SIZE_SCALAR: the host's full size_t
 *   Qx_Error_t result                             QX_STATUS_CHECK
 *   Qx_Error_t by value, u16_t and its typedefs   QX_OPAQUE_VALUE (pointer objects)
 *   Qx_Common_TransceiverType_t by value          EnumScalarIn (SWIG default)
 */
QX_UNSIGNED_SCALAR(u8_t)
QX_UNSIGNED_SCALAR(u32_t)
QX_UNSIGNED_SCALAR(Qx_PortHandle_t)
QX_SIZE_SCALAR(size_t)
QX_STATUS_CHECK(Qx_Error_t)
QX_ARRAY_TO_LIST(u8_t)
QX_ARRAY_TO_LIST(u32_t)
/* u16_t values (and its typedefs') travel in u16_t pointer objects; a
 * getter's copy frees itself when collected. */
QX_OPAQUE_VALUE(u16_t)

/* Parameter shapes (api/common/params.txt: appended outputs, response
 * records, 512-byte texts, the device's IP address as four ints) and the
 * record members copied in whole (the IP addresses, the event/action
 * engine's definition records), generated. */
%include "qx_api_common_rules.i"

/* The transceiver table: a list of views of all its elements. */
QX_RECORD_ARRAY_TO_VIEW_LIST(Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos)

/* Arrays of records declared inside their parent: getter only. */
%immutable Qx_Common_GetControllerInfo_Rsp_t::Interfaces;
%immutable Qx_Common_GetTransceiverInfo_Rsp_t::TransceiverInfos;

%include "qx_api_common.h"

/* The event/action engine. */
%include "qx_api_common_ea.i"

/* XCP, function blocks, temperature and PXI slot: constants, then records
 * and functions. */
%include "qx_api_common_xcp.i"
