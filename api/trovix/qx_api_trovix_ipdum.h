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

#ifdef __cplusplus
}
#endif

#endif
