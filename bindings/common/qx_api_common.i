/* Module _qx_api_common: the common library (libqx_api_common). */
%module qx_api_common

%{
#include "qx_api_common.h"
#include "qx_api_common_ea.h"
#include "qx_api_common_xcp.h"
%}

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
 *   u8_t, u32_t, their typedefs, Qx_PortHandle_t  UnsignedScalarIn
 *   size_t (Qx_Common_EventHandle_t)              UnsignedScalarIn, stored whole
 *   Qx_Error_t result                             StatusCheck
 *   Qx_Error_t by value, u16_t and its typedefs   OpaqueValueByPointer (no rule)
 *   Qx_Common_TransceiverType_t by value          EnumScalarIn (SWIG default)
 */
QX_UNSIGNED_SCALAR(u8_t)
QX_UNSIGNED_SCALAR(u32_t)
QX_UNSIGNED_SCALAR(Qx_PortHandle_t)
QX_UNSIGNED_SCALAR(size_t)
QX_STATUS_CHECK(Qx_Error_t)
QX_ARRAY_TO_LIST(u8_t)
QX_ARRAY_TO_LIST(u32_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_Ip4Address_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_Ip6Address_t)

/* Outputs that the bindings supply and append to the result. */
QX_SCALAR_OUTPUT(Qx_PortHandle_t)
%apply Qx_PortHandle_t *QX_OUTPUT { Qx_PortHandle_t *const newPortHandle };
QX_SCALAR_OUTPUT(u8_t)
%apply u8_t *QX_OUTPUT { Qx_Common_Ethernet_DHCP_Mode_t *const dhcpMode };

/* Response records returned as new owned objects. */
QX_RECORD_OUTPUT(Qx_Common_GetInterfaceInfo_Rsp_t)
%apply Qx_Common_GetInterfaceInfo_Rsp_t *QX_RECORD_OUTPUT { Qx_Common_GetInterfaceInfo_Rsp_t *const response };
QX_RECORD_OUTPUT(Qx_Common_GetTransceiverInfo_Rsp_t)
%apply Qx_Common_GetTransceiverInfo_Rsp_t *QX_RECORD_OUTPUT { Qx_Common_GetTransceiverInfo_Rsp_t *const response };

/* The transceiver table: a list of views of all its elements. */
QX_RECORD_ARRAY_TO_VIEW_LIST(Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos)

/* Text outputs: 512-byte buffers. */
QX_STRING_OUT_SIZE_LAST(char *const text, u32_t *const textSize, 512)

/* The device's IP address: a tuple of four ints in, a list of four out. */
QX_IP_ADDRESS_TUPLE_IN(u8_t const *const ipAddress)
QX_IP_ADDRESS_LIST_OUT(u8_t *const ipAddress)

/* Arrays of records declared inside their parent: getter only. */
%immutable Qx_Common_GetControllerInfo_Rsp_t::Interfaces;
%immutable Qx_Common_GetTransceiverInfo_Rsp_t::TransceiverInfos;

%include "qx_api_common.h"

/* The event/action engine. */
%include "qx_api_common_ea.i"

/* XCP constants and the function-block error buffer size. */
%include "qx_api_common_xcp.h"
