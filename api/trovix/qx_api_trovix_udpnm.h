/*
 * Declarations of libqx_api_trovix's AUTOSAR UDP network management as the
 * bindings see them, in the library's own declaration order: a node (an ECU
 * of a controller, named by ControllerId and EcuId) and the socket-adaptor
 * PDUs in which it receives and sends its NM messages. The byte positions
 * of the NID, CBV and NMS fields are the QX_TROVAX__UDP_NM__AUTOSAR__
 * values of qx_api_trovix.h.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_UDPNM_H
#define QX_API_TROVIX_UDPNM_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

typedef u32_t Qx_Trovix_UdpNm_Autosar_Ecu_Config_CmdFlags_t;

/* A node: its identifiers, times and PDU layout. */
typedef struct {
  Qx_Trovix_UdpNm_Autosar_Ecu_Config_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t NmNodeId;
  u8_t reserved1;
  u32_t NmTimeoutTime;
  u32_t WaitBusSleepTime;
  u32_t RepeatMessageTime;
  u32_t MsgCycleTime;
  u32_t MsgCycleOffset;
  u32_t RemoteSleepIndTime;
  u8_t PduNidPosition; /* a Qx_Trovix_UdpNm_Autosar_PduNidPosition_t value */
  u8_t PduCbvPosition; /* a Qx_Trovix_UdpNm_Autosar_PduCbvPosition_t value */
  u8_t PduNmsPosition; /* a Qx_Trovix_UdpNm_Autosar_PduNmsPosition_t value */
  u8_t UserDataOffset;
} Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t;

/* The socket-adaptor receive PDU of a node's NM messages. */
typedef struct {
  u8_t ControllerId;
  u8_t EcuId;
  u8_t NmNodeId;
  u8_t reserved1;
  u32_t SoAd_RxPduId;
} Qx_Trovix_UdpNm_Autosar_RxPdu_Cmd_t;

/* The socket-adaptor transmit PDU of a node's NM messages. */
typedef struct {
  u8_t ControllerId;
  u8_t EcuId;
  u8_t NmNodeId;
  u8_t reserved1;
  u32_t SoAd_TxPduId;
} Qx_Trovix_UdpNm_Autosar_TxPdu_Cmd_t;

Qx_Error_t Qx_Trovix_UdpNm_Autosar_Ecu_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t const *const udpNmEcuConfigCmd);
Qx_Error_t Qx_Trovix_UdpNm_Autosar_RxPdu(Qx_PortHandle_t portHandle,
                                         Qx_Trovix_UdpNm_Autosar_RxPdu_Cmd_t const *const udpNmRxPduCmd);
Qx_Error_t Qx_Trovix_UdpNm_Autosar_TxPdu(Qx_PortHandle_t portHandle,
                                         Qx_Trovix_UdpNm_Autosar_TxPdu_Cmd_t const *const udpNmTxPduCmd);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
