/*
 * Declarations of libqx_api_trovix's socket adaptor as the
 * bindings see them, in the library's own declaration order.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_SOAD_H
#define QX_API_TROVIX_SOAD_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

/* ---- identifiers, connections and routing control ------------------------------------ */
/*
 * The library hands out the identifiers of its five kinds of object (socket
 * connection groups, socket connections, socket routes by their receive PDU,
 * PDU routes by their transmit PDU, routing groups) into the caller's u32_t
 * cell; the configuration records carry them.
 */

typedef u32_t Qx_Trovix_SoAd_SoConGroup_GetFreeSoConGroupId_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoCon_GetFreeSoConId_Cmd_Flags_t;
typedef u32_t Qx_Trovix_SoAd_SoRoute_GetFreeRxPduId_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_PduRoute_GetFreeTxPduId_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_RoutingGrp_GetFreeRoutingGrpId_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoConGroup_Delete_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoRoute_Delete_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_PduRoute_Delete_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_RoutingGroup_Delete_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoCon_Delete_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoCon_Open_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoCon_Close_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoCon_GetState_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_Routing_Enable_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_Routing_Disable_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoCon_RemoteAddr_Set_CmdFlags_t;

Qx_Error_t Qx_Trovix_SoAd_SoConGroup_GetFreeSoConGroupId(
    Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoConGroup_GetFreeSoConGroupId_CmdFlags_t flags,
    u32_t *const soConGroupIdCell);
Qx_Error_t Qx_Trovix_SoAd_SoCon_GetFreeSoConId(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_SoAd_SoCon_GetFreeSoConId_Cmd_Flags_t flags,
                                               u32_t *const soConIdCell);
Qx_Error_t Qx_Trovix_SoAd_SoRoute_GetFreeRxPduId(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_SoAd_SoRoute_GetFreeRxPduId_CmdFlags_t flags,
                                                 u32_t *const rxPduIdCell);
Qx_Error_t Qx_Trovix_SoAd_PduRoute_GetFreeTxPduId(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_SoAd_PduRoute_GetFreeTxPduId_CmdFlags_t flags,
                                                  u32_t *const txPduIdCell);
Qx_Error_t Qx_Trovix_SoAd_RoutingGroup_GetFreeRoutingGroupId(
    Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_RoutingGrp_GetFreeRoutingGrpId_CmdFlags_t flags,
    u32_t *const routingGroupIdCell);

Qx_Error_t Qx_Trovix_SoAd_SoConGroup_Delete(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_SoAd_SoConGroup_Delete_CmdFlags_t flags, u32_t soConGroupId);
Qx_Error_t Qx_Trovix_SoAd_SoRoute_Delete(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoRoute_Delete_CmdFlags_t flags,
                                         u32_t rxPduId);
Qx_Error_t Qx_Trovix_SoAd_PduRoute_Delete(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_SoAd_PduRoute_Delete_CmdFlags_t flags, u32_t txPduId);
Qx_Error_t Qx_Trovix_SoAd_RoutingGroup_Delete(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SoAd_RoutingGroup_Delete_CmdFlags_t flags,
                                              u32_t routingGroupId);
Qx_Error_t Qx_Trovix_SoAd_SoCon_Delete(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoCon_Delete_CmdFlags_t flags,
                                       u32_t soConId);

Qx_Error_t Qx_Trovix_SoAd_SoCon_Open(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoCon_Open_CmdFlags_t flags,
                                     u32_t soConId);
Qx_Error_t Qx_Trovix_SoAd_SoCon_Close(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoCon_Close_CmdFlags_t flags,
                                      u32_t soConId);

typedef struct {
  Qx_Trovix_SoAd_Routing_Enable_CmdFlags_t Flags;
  u32_t RoutingGroupId;
  u32_t SpecificSoConId;
} Qx_Trovix_SoAd_Routing_Enable_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_Routing_Enable(Qx_PortHandle_t portHandle,
                                         Qx_Trovix_SoAd_Routing_Enable_Cmd_t const *const routingEnableCmd);

typedef struct {
  Qx_Trovix_SoAd_Routing_Disable_CmdFlags_t Flags;
  u32_t RoutingGroupId;
  u32_t SpecificSoConId;
} Qx_Trovix_SoAd_Routing_Disable_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_Routing_Disable(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_SoAd_Routing_Disable_Cmd_t const *const routingDisableCmd);

typedef struct {
  Qx_Trovix_SoAd_SoCon_RemoteAddr_Set_CmdFlags_t Flags;
  u32_t SoConId;
  u8_t RemoteAddress[16];
  u16_t RemotePort;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_SoAd_SoCon_RemoteAddr_Set_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_SoCon_RemoteAddr_Set(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_SoAd_SoCon_RemoteAddr_Set_Cmd_t const *const remoteAddrCmd);

/* The state is written into a cell the caller supplies (none of the
 * module's bindings makes one). */
Qx_Error_t Qx_Trovix_SoAd_SoCon_GetState(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoCon_GetState_CmdFlags_t flags,
                                         u32_t soConId, Qx_Trovix_SoAd_SoCon_State_t *const soConState);

Qx_Error_t Qx_Trovix_SoAd_Init(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Trovix_SoAd_DeInit(Qx_PortHandle_t portHandle);

/* ---- socket connection groups and socket connections ----------------------------------- */

typedef u32_t Qx_Trovix_SoAd_SoConGroup_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoConGroup_UdpFlags_t;
typedef u32_t Qx_Trovix_SoAd_SoConGroup_TcpFlags_t;

typedef struct {
  Qx_Trovix_SoAd_SoConGroup_Config_CmdFlags_t Flags;
  Qx_Trovix_SoAd_SoConGroup_UdpFlags_t UdpFlags;
  Qx_Trovix_SoAd_SoConGroup_TcpFlags_t TcpFlags;
  u32_t SoConGroupId;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t Protocol; /* a QX_TROVIX__SO_AD__SOCKET_PROTOCOL__ value */
  u32_t VlanId;
  u32_t FlowLabel;
  u8_t DifferentiatedServicesField;
  u8_t FramePriority;
  u16_t LocalPort;
  u8_t LocalAddress[16];
  u16_t TcpKeepAliveProbesMax;
  u8_t reserved2;
  u8_t reserved3;
  u32_t TcpKeepAliveInterval;
  u32_t TcpKeepAliveTime;
  u32_t UdpTriggerTimeout;
  u32_t UdpAliveSupervisionTimeout;
  u32_t ConnectionRetryWaitTime;
  u32_t ConnectionRetries;
  u32_t TcpMss;
  u32_t SoRcvBufSize;
  u32_t SoSndBufSize;
} Qx_Trovix_SoAd_SoConGroup_Config_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_SoConGroup_Config(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_SoAd_SoConGroup_Config_Cmd_t const *const soConGroupCmd);

typedef u32_t Qx_Trovix_SoAd_SoCon_Config_CmdFlags_t;

/* The remote port comes before the address here, after it in
 * Qx_Trovix_SoAd_SoCon_RemoteAddr_Set_Cmd_t. */
typedef struct {
  Qx_Trovix_SoAd_SoCon_Config_CmdFlags_t Flags;
  u32_t SoConId;
  u32_t SoConGroupId;
  u16_t RemotePort;
  u8_t reserved1;
  u8_t reserved2;
  u8_t RemoteAddress[16];
  u32_t RxBufferSize;
  u32_t TxBufferSize;
  u32_t NumberOfTxBuffers;
} Qx_Trovix_SoAd_SoCon_Config_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_SoCon_Config(Qx_PortHandle_t portHandle,
                                       Qx_Trovix_SoAd_SoCon_Config_Cmd_t const *const soConCmd);

/* ---- PDU routes, PDU route destinations, PDUs, socket routes, routing groups ---------- */
/*
 * The counts (NumberOf...) say how many entries of the 128-element arrays
 * beside them are in use; the arrays are always passed whole. Their length
 * is written as the number itself (it is QX_TROVIX__SO_AD__MAX_PDU_ROUTING_DESTS,
 * ..._MAX_SO_CON_REF_IDS, ..._MAX_ROUTING_GROUP_IDS or ..._MAX_RX_TX_PDU_IDS),
 * as the bindings' messages spell it.
 */

typedef u32_t Qx_Trovix_SoAd_PduRoute_Config_CmdFlags_t;

typedef struct {
  Qx_Trovix_SoAd_PduRoute_Config_CmdFlags_t Flags;
  u32_t TxPduId;
  u8_t CollectionSemantics; /* a QX_TROVIX__SO_AD__TX_COLLECTION_SEMANTICS__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t NumberOfPduRouteDests;
  u32_t PduRouteDestId[128];
} Qx_Trovix_SoAd_PduRoute_Config_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_PduRoute_Config(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_SoAd_PduRoute_Config_Cmd_t const *const pduRouteCmd);

typedef u8_t Qx_Trovix_SoAd_PduRouteDest_SoConRef_Flags_t;

/* Named without the library's prefix; its flags take one byte, where those
 * of its twin Qx_Trovix_SoAd_SoRoute_SoConRef_t take four. */
typedef struct {
  Qx_Trovix_SoAd_PduRouteDest_SoConRef_Flags_t flags;
  u32_t SoConId;
  u32_t SoConGroupId;
} SoAd_PduRouteDest_SoConRef_t;

typedef u32_t Qx_Trovix_SoAd_PduRouteDest_Config_CmdFlags_t;

typedef struct {
  Qx_Trovix_SoAd_PduRouteDest_Config_CmdFlags_t Flags;
  u32_t PduRouteDestId;
  u8_t TxUdpTiggerMode; /* a QX_TROVIX__SO_AD__TX_UDP_TRIGGER_MODE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t TxPduHeaderId;
  u32_t TxUdpTriggerTimeout;
  u32_t NumberOfSoConRefIds;
  u32_t NumberOfRoutingGroupIds;
  SoAd_PduRouteDest_SoConRef_t So_ConRefIdS[128];
  u32_t RoutingGroupIds[128];
} Qx_Trovix_SoAd_PduRouteDest_Config_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_PduRouteDest_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SoAd_PduRouteDest_Config_Cmd_t const *const pduRouteDestCmd);

typedef u32_t Qx_Trovix_SoAd_Pdu_Config_CmdFlags_t;

typedef struct {
  Qx_Trovix_SoAd_Pdu_Config_CmdFlags_t Flags;
  u32_t PduId;
  u16_t NumberOfSoAdRxPduIds;
  u16_t NumberOfSoAdTxPduIds;
  u32_t SoAdRxPduIds[128];
  u32_t SoAdTxPduIds[128];
} Qx_Trovix_SoAd_Pdu_Config_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_Pdu_Config(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_Pdu_Config_Cmd_t const *const pduCmd);

typedef u32_t Qx_Trovix_SoAd_SoRoute_SoConRef_Flags_t;

typedef struct {
  Qx_Trovix_SoAd_SoRoute_SoConRef_Flags_t flags;
  u32_t SoConId;
  u32_t SoConGroupId;
} Qx_Trovix_SoAd_SoRoute_SoConRef_t;

typedef u32_t Qx_Trovix_SoAd_SoRoute_Config_CmdFlags_t;

typedef struct {
  Qx_Trovix_SoAd_SoRoute_Config_CmdFlags_t Flags;
  u32_t RxPduId;
  u32_t PduHeaderId;
  u32_t NumberOfSoConRefIds;
  u32_t NumberOfRoutingGroupIds;
  Qx_Trovix_SoAd_SoRoute_SoConRef_t So_ConRefIdS[128];
  u32_t RoutingGroupIds[128];
} Qx_Trovix_SoAd_SoRoute_Config_Cmd_t;

Qx_Error_t Qx_Trovix_SoAd_SoRoute_Config(Qx_PortHandle_t portHandle,
                                         Qx_Trovix_SoAd_SoRoute_Config_Cmd_t const *const soRouteCmd);

typedef u32_t Qx_Trovix_SoAd_RoutingGroup_Config_CmdFlags_t;

Qx_Error_t Qx_Trovix_SoAd_RoutingGroup_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SoAd_RoutingGroup_Config_CmdFlags_t flags,
                                              u32_t routingGroupId);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
