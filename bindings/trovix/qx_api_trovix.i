/* Module _qx_api_trovix: the Trovix communication-stack library
 * (libqx_api_trovix). */
%module qx_api_trovix

%{
#include "qx_api_trovix.h"
#include "qx_api_trovix_signal.h"
#include "qx_api_trovix_pdu.h"
#include "qx_api_trovix_com.h"
/* CAN interface, CAN network management, PDU router, Com PDU configuration. */
#include "qx_api_trovix_can.h"
#include "qx_api_trovix_pdur.h"
#include "qx_api_trovix_comcfg.h"
/* Com checksum parameter records and transmit-PDU checksum configuration. */
#include "qx_api_trovix_checksum.h"
/* Com transmit-PDU signal filter. */
#include "qx_api_trovix_filter.h"
/* Com run-time control, transmit-PDU ramps and properties. */
#include "qx_api_trovix_comrt.h"
/* FlexRay cluster, controller, PDUs, LPDUs and frame triggers. */
#include "qx_api_trovix_fr.h"
/* PDU multiplexer and container PDUs. */
#include "qx_api_trovix_ipdum.h"
/* Generic network management. */
#include "qx_api_trovix_nm.h"
/* FlexRay network management. */
#include "qx_api_trovix_frnm.h"
/* Signal groups. */
#include "qx_api_trovix_siggroup.h"
/* Secure onboard communication. */
#include "qx_api_trovix_secoc.h"
/* Crypto service jobs and keys. */
#include "qx_api_trovix_crypto.h"
/* Freshness value manager. */
#include "qx_api_trovix_fvm.h"
/* Broadcast transport protocol. */
#include "qx_api_trovix_bctp.h"
/* Socket adaptor. */
#include "qx_api_trovix_soad.h"
/* Ethernet interface. */
#include "qx_api_trovix_ethif.h"
/* UDP network management. */
#include "qx_api_trovix_udpnm.h"
/* Time-base manager. */
#include "qx_api_trovix_stbm.h"
/* CAN and Ethernet time synchronisation. */
#include "qx_api_trovix_timesync.h"
%}

/* The list rules' messages name the binding: "fail in '<binding>' : ..." */
#define QX_WORDING_FAIL_IN
%include "qx_rules.i"
%include "qx_trovix_rules.i"

/* The base library's types (Qx_PortHandle_t, Qx_Error_t, ...) without its
 * bindings. */
%import "qx_api.h"

/* Which native type follows which rule in this module.
 *
 *   u8_t, u16_t, u32_t and their typedefs        QX_UNSIGNED_SCALAR (an int
 *     (flags, identifiers, handles, Qx_PortHandle_t) of 0 to 2**32 - 1,
 *                                                 stored truncated)
 *   u64_t members                                all 64 bits kept
 *   float64_t, s32_t, s64_t                      QX_OPAQUE_VALUE (pointer objects;
 *                                                 a getter's copy frees itself)
 *   char [256] members                           QX_CHAR_ARRAY_MEMBER
 *   char const * arguments                       StringIn (SWIG's own)
 *   void *, void const * arguments               QX_ANY_POINTER_IN
 *   u8_t [N], u32_t [N] members                  lists (every bad item a
 *                                                 ValueError)
 *   Qx_Error_t result                            QX_STATUS_CHECK
 */
QX_UNSIGNED_SCALAR(u8_t)
QX_UNSIGNED_SCALAR(u16_t)
QX_UNSIGNED_SCALAR(u32_t)
QX_U64_SCALAR(u64_t)
QX_STATUS_CHECK(Qx_Error_t)
QX_OPAQUE_VALUE(float64_t)
QX_OPAQUE_VALUE(s32_t)
QX_OPAQUE_VALUE(s64_t)
QX_CHAR_ARRAY_MEMBER(256)
QX_ANY_POINTER_IN(void *)
QX_ANY_POINTER_IN(void *const)
QX_ANY_POINTER_IN(void const *)
QX_ANY_POINTER_IN(void const *const)

/* Array members: set from lists of exactly N ints (every bad item a
 * ValueError), read as lists. */
QX_ARRAY_FROM_LIST(u8_t, PyExc_ValueError)
QX_ARRAY_FROM_LIST(u32_t, PyExc_ValueError)
QX_ARRAY_TO_LIST(u8_t)
QX_ARRAY_TO_LIST(u32_t)

/* Parameter shapes (api/trovix/params.txt) and the record members copied in
 * whole, generated. */
%include "qx_api_trovix_rules.i"

/* The data size of a signal read: the room on entry, the size on return. */
QX_IN_OUT_SCALAR(u16_t, u16_t *const dataSize)

/* Declarations in native order: the interface and every integer constant of
 * the module. */
%include "qx_api_trovix.h"

/* Signals, signal information and signal blocks. */
%include "qx_api_trovix_signal.h"

/* PDU information. */
%include "qx_api_trovix_pdu.h"

/* Communication manager and Com signal monitor. */
%include "qx_api_trovix_com.h"

/* CAN interface and CAN network management. */
%include "qx_api_trovix_can.h"

/* PDU router. */
%include "qx_api_trovix_pdur.h"

/* Com PDU configuration. */
%include "qx_api_trovix_comcfg.h"

/* Com checksum parameter records and transmit-PDU checksum configuration. */
%include "qx_api_trovix_checksum.h"

/* Com transmit-PDU signal filter. */
%include "qx_api_trovix_filter.h"

/* Com run-time control, transmit-PDU ramps and properties. */
%include "qx_api_trovix_comrt.h"

/* FlexRay cluster, controller, PDUs, LPDUs and frame triggers. */
%include "qx_api_trovix_fr.h"

/* PDU multiplexer and container PDUs; the segments of a demultiplexed
 * transmit PDU, an array of records declared inside their parent, have a
 * getter only. */
%immutable Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t::Segments;
%include "qx_api_trovix_ipdum.h"

/* Generic network management. */
%include "qx_api_trovix_nm.h"

/* FlexRay network management. */
%include "qx_api_trovix_frnm.h"

/* Signal groups. */
%include "qx_api_trovix_siggroup.h"

/* Secure onboard communication. */
%include "qx_api_trovix_secoc.h"

/* Crypto service jobs and keys. */
%include "qx_api_trovix_crypto.h"

/* Freshness value manager. */
%include "qx_api_trovix_fvm.h"

/* Broadcast transport protocol. */
%include "qx_api_trovix_bctp.h"

/* Socket adaptor. */
%include "qx_api_trovix_soad.h"

/* Ethernet interface. */
%include "qx_api_trovix_ethif.h"

/* UDP network management. */
%include "qx_api_trovix_udpnm.h"

/* Time-base manager. */
%include "qx_api_trovix_stbm.h"

/* CAN and Ethernet time synchronisation. */
%include "qx_api_trovix_timesync.h"
