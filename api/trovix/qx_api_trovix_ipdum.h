/*
 * Declarations of libqx_api_trovix's PDU multiplexer and container PDUs as the
 * bindings see them, in the library's own declaration order: the
 * multiplexed and demultiplexed transmit and receive PDU tables with their
 * sizes, then the container and contained transmit PDUs and the pools,
 * containers and contained PDUs of the receive side.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_IPDUM_H
#define QX_API_TROVIX_IPDUM_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef u32_t Qx_Trovix_PduMux_MuxedTxPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_PduMux_DemuxedTxPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_PduMux_MuxedRxPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_PduMux_DemuxedRxPdu_Config_Flags_t;

/* One multiplexed transmit PDU and its selector field. UnusedAreasDefault
 * lies between the two bytes of the initial selector value. */
typedef struct {
  Qx_Trovix_PduMux_MuxedTxPdu_Config_Flags_t Flags;
  u32_t MuxedTxPduId;
  u32_t PduLength;
  u8_t SelectorBitSize;
  u8_t SelectorEndianness;
  u16_t SelectorBitPosition;
  u8_t InitialSelectorValue;
  u8_t UnusedAreasDefault;
  u8_t InitialSelectorValue_H;
  u8_t reserved1;
  u32_t TxConfirmationTimeout;
} Qx_Trovix_PduMux_MuxedTxPdu_Config_Parameters_t;

/* One demultiplexed transmit PDU: its multiplexed PDU, its selector value
 * and up to 0xFF segments (NumberOfSegments of them in use). */
typedef struct {
  Qx_Trovix_PduMux_DemuxedTxPdu_Config_Flags_t Flags;
  u32_t MuxedTxPduId;
  u32_t DemuxedTxPduId;
  u8_t NumberOfSegments;
  u8_t SelectorValue;
  u8_t SelectorValue_H;
  u8_t reserved1;
  struct {
    u16_t BitPosition;
    u16_t BitSize;
    u8_t Endianness;
    u8_t reserved1;
    u8_t reserved2;
    u8_t reserved3;
  } Segments[0xFF];
} Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t;

/* One multiplexed receive PDU and its selector field. */
typedef struct {
  Qx_Trovix_PduMux_MuxedRxPdu_Config_Flags_t Flags;
  u32_t MuxedRxPduId;
  u8_t SelectorBitSize;
  u8_t SelectorEndianness;
  u16_t SelectorBitPosition;
} Qx_Trovix_PduMux_MuxedRxPdu_Config_Parameters_t;

/* One demultiplexed receive PDU: its multiplexed PDU and selector value. */
typedef struct {
  Qx_Trovix_PduMux_DemuxedRxPdu_Config_Flags_t Flags;
  u32_t MuxedRxPduId;
  u32_t DemuxedRxPduId;
  u8_t SelectorValue;
  u8_t SelectorValue_H;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_PduMux_DemuxedRxPdu_Config_Parameters_t;

Qx_Error_t Qx_Trovix_PduMux_MuxedTxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfMuxedTxPdus);
Qx_Error_t Qx_Trovix_PduMux_MuxedTxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux_MuxedTxPdu_Config_Parameters_t const *const muxedTxPduParameters);
Qx_Error_t Qx_Trovix_PduMux_DemuxedTxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfDemuxedTxPdus);
Qx_Error_t Qx_Trovix_PduMux_DemuxedTxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t const *const demuxedTxPduParameters);
Qx_Error_t Qx_Trovix_PduMux_MuxedRxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfMuxedRxPdus);
Qx_Error_t Qx_Trovix_PduMux_MuxedRxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux_MuxedRxPdu_Config_Parameters_t const *const muxedRxPduParameters);
Qx_Error_t Qx_Trovix_PduMux_DemuxedRxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfDemuxedRxPdus);
Qx_Error_t Qx_Trovix_PduMux_DemuxedRxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux_DemuxedRxPdu_Config_Parameters_t const *const demuxedRxPduParameters);

typedef u32_t Qx_Trovix_PduMux2_ContainerTxPdu_Config_Cmd_Flags_t;
typedef u32_t Qx_Trovix_PduMux2_ContainedTxPdu_Config_Cmd_Flags_t;
typedef u32_t Qx_Trovix_PduMux2_ContainedRxPduPool_Config_Cmd_Flags_t;
typedef u32_t Qx_Trovix_PduMux2_ContainerRxPdu_Config_Cmd_Flags_t;
typedef u32_t Qx_Trovix_PduMux2_ContainedRxPdu_Config_Cmd_Flags_t;

/* One container transmit PDU. */
typedef struct {
  Qx_Trovix_PduMux2_ContainerTxPdu_Config_Cmd_Flags_t Flags;
  u32_t ContainerTxPduId;
  u8_t HeaderType;             /* a Qx_Trovix_PduMux2_HeaderType_t value */
  u8_t HeaderByteOrder;        /* a Qx_Trovix_PduMux2_HeaderByteOrder_t value */
  u8_t QueueSize;
  u8_t ContainerTxTriggerMode; /* a Qx_Trovix_PduMux2_ContainerTxTriggerMode_t value */
  u32_t PduLengthMax;
  u32_t SendTimeout;
  u32_t SizeThreshold;
  u32_t TxConfirmationTimeout;
} Qx_Trovix_PduMux2_ContainerTxPdu_Config_Cmd_t;

/* One contained transmit PDU in the container transmit PDU it names. */
typedef struct {
  Qx_Trovix_PduMux2_ContainedTxPdu_Config_Cmd_Flags_t Flags;
  u32_t ContainerTxPduId;
  u32_t ContainedTxPduId;
  u32_t HeaderId;
  u8_t CollectionSemantics; /* a Qx_Trovix_PduMux2_CollectionSemantics_t value */
  u8_t Trigger;             /* a Qx_Trovix_PduMux2_ContainedTxPduTrigger_t value */
  u8_t reserved1;
  u8_t reserved2;
  u32_t SendTimeout;
} Qx_Trovix_PduMux2_ContainedTxPdu_Config_Cmd_t;

/* One pool of contained receive PDUs. */
typedef struct {
  Qx_Trovix_PduMux2_ContainedRxPduPool_Config_Cmd_Flags_t Flags;
  u32_t ContainedRxPduPoolId;
} Qx_Trovix_PduMux2_ContainedRxPduPool_Config_Cmd_t;

/* One container receive PDU and the pool it names. */
typedef struct {
  Qx_Trovix_PduMux2_ContainerRxPdu_Config_Cmd_Flags_t Flags;
  u32_t ContainerRxPduId;
  u8_t HeaderType;               /* a Qx_Trovix_PduMux2_HeaderType_t value */
  u8_t HeaderByteOrder;          /* a Qx_Trovix_PduMux2_HeaderByteOrder_t value */
  u8_t ContainerRxAcceptionMode; /* a Qx_Trovix_PduMux2_ContainerRxAcceptionMode_t value */
  u8_t reserved;
  u32_t ContainedRxPduPoolId;
} Qx_Trovix_PduMux2_ContainerRxPdu_Config_Cmd_t;

/* One contained receive PDU of a pool and a container, recognised by its
 * header identifier. */
typedef struct {
  Qx_Trovix_PduMux2_ContainedRxPdu_Config_Cmd_Flags_t Flags;
  u32_t ContainedRxPduPoolId;
  u32_t ContainerRxPduId;
  u32_t ContainedRxPduId;
  u32_t HeaderId;
} Qx_Trovix_PduMux2_ContainedRxPdu_Config_Cmd_t;

Qx_Error_t Qx_Trovix_PduMux2_ContainerTxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainerTxPdu_Config_Cmd_t const *const containerTxPduCmd);
Qx_Error_t Qx_Trovix_PduMux2_ContainedTxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainedTxPdu_Config_Cmd_t const *const containedTxPduCmd);
Qx_Error_t Qx_Trovix_PduMux2_ContainedRxPduPool_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainedRxPduPool_Config_Cmd_t const *const containedRxPduPoolCmd);
Qx_Error_t Qx_Trovix_PduMux2_ContainerRxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainerRxPdu_Config_Cmd_t const *const containerRxPduCmd);
Qx_Error_t Qx_Trovix_PduMux2_ContainedRxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainedRxPdu_Config_Cmd_t const *const containedRxPduCmd);

#ifdef __cplusplus
}
#endif

#endif
