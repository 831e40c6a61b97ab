/*
 * Declarations of libqx_api_trovix's Com PDU configuration as the bindings
 * see them, in the library's own declaration order: the sizes of the Com
 * transmit PDU, receive PDU, PDU-group and signal tables, the PDUs, PDU
 * groups, transmission modes and PDU counters; then the signals of the PDUs,
 * the Com signals and their mappings, and the PDU and signal gateways. Parameter names matter: the
 * rules of api/trovix/params.txt are applied to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_COMCFG_H
#define QX_API_TROVIX_COMCFG_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef u32_t Qx_Trovix_Com_TxPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_Com_RxPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_Com_PduGroup_Config_Flags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_TxMode_Flags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_PduCounter_Flags_t;

/* One Com transmit PDU. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Config_Flags_t Flags;
  u32_t TxPduId;
  u32_t PduLength;
  u8_t PduType; /* a QX_TROVIX__COM__PDU_TYPE__ value */
  u8_t UnusedAreasDefault;
  u8_t ClearUpdateBit; /* a QX_TROVIX__COM__TX_PDU__CLEAR_UPDATE_BIT__ value */
  u8_t reserved2;
  u32_t MinimumDelayTime;
  u32_t NumberOfSignals;
} Qx_Trovix_Com_TxPdu_Config_Parameters_t;

/* One Com receive PDU. */
typedef struct {
  Qx_Trovix_Com_RxPdu_Config_Flags_t Flags;
  u32_t RxPduId;
  u32_t PduLength;
  u8_t PduType; /* a QX_TROVIX__COM__PDU_TYPE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t NumberOfSignals;
} Qx_Trovix_Com_RxPdu_Config_Parameters_t;

/* One PDU group: its counts, then the whole table of identifiers. */
typedef struct {
  Qx_Trovix_Com_PduGroup_Config_Flags_t Flags;
  u32_t PduGroupId;
  u32_t NumberOfPduGroups;
  u32_t NumberOfTxPdus;
  u32_t NumberOfRxPdus;
  u32_t Ids[1024];
} Qx_Trovix_Com_PduGroup_Config_Parameters_t;

/* The transmission mode of a transmit PDU (for its true or false state). */
typedef struct {
  Qx_Trovix_Com_TxPdu_TxMode_Flags_t Flags;
  u32_t TxPduId;
  u8_t TxMode; /* a QX_TROVIX__COM__TX_MODE__ value */
  u8_t N;
  u8_t reserved1;
  u8_t reserved2;
  u32_t TimeOffset;
  u32_t TimePeriod;
  u32_t RepetitionPeriod;
} Qx_Trovix_Com_TxPdu_TxMode_Parameters_t;

/* The PDU counter of a transmit PDU, in one of its signals. */
typedef struct {
  Qx_Trovix_Com_TxPdu_PduCounter_Flags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
} Qx_Trovix_Com_TxPdu_PduCounter_Parameters_t;

Qx_Error_t Qx_Trovix_Com_TxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComTxPdus);
Qx_Error_t Qx_Trovix_Com_RxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComRxPdus);
Qx_Error_t Qx_Trovix_Com_TxPdu_Config(Qx_PortHandle_t portHandle,
                                      Qx_Trovix_Com_TxPdu_Config_Parameters_t const *const comTxPduParameters);
Qx_Error_t Qx_Trovix_Com_RxPdu_Config(Qx_PortHandle_t portHandle,
                                      Qx_Trovix_Com_RxPdu_Config_Parameters_t const *const comRxPduParameters);
Qx_Error_t Qx_Trovix_Com_PduGroup_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComPduGroups);
Qx_Error_t Qx_Trovix_Com_PduGroup_Config(Qx_PortHandle_t portHandle,
                                         Qx_Trovix_Com_PduGroup_Config_Parameters_t const *const pduGroupParameters);
Qx_Error_t Qx_Trovix_Com_TxPdu_TxMode_True(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_Com_TxPdu_TxMode_Parameters_t const *const txModeTrue);
Qx_Error_t Qx_Trovix_Com_TxPdu_TxMode_False(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_Com_TxPdu_TxMode_Parameters_t const *const txModeFalse);
Qx_Error_t Qx_Trovix_Com_TxPdu_PduCounter(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_Com_TxPdu_PduCounter_Parameters_t const *const pduCounterParameters);

typedef u32_t Qx_Trovix_Com_TxPdu_Signal_Flags_t;
typedef u32_t Qx_Trovix_Com_Signal_Config_Flags_t;
typedef u32_t Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Flags_t;
typedef u32_t Qx_Trovix_Com_RxPdu_Signal_Flags_t;
typedef u32_t Qx_Trovix_Com_PduGateway_Mapping_Config_Flags_t;
typedef u32_t Qx_Trovix_Com_SignalGateway_Mapping_Config_Flags_t;

/* One signal of a transmit PDU; the two 8-byte values are byte arrays. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Signal_Flags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u16_t BitPosition;
  u16_t BitSize;
  u8_t DataInvalidValue[8];
  u8_t InitValue[8];
  u8_t Endianness;       /* a QX_TROVIX__ENDIANNESS__ value */
  u8_t SignalType;       /* a QX_TROVIX__SIGNAL__TYPE__ value */
  u8_t TransferProperty; /* a QX_TROVIX__COM__TRANSFER_PROPERTY__ value */
  u8_t reserved1;
  u16_t UpdateBitPosition;
  u8_t reserved2;
  u8_t reserved3;
  u32_t Timeout;
  u32_t TxPduSignalGroupId;
} Qx_Trovix_Com_TxPdu_Signal_Parameters_t;

Qx_Error_t Qx_Trovix_Com_TxPdu_Signal(Qx_PortHandle_t portHandle,
                                      Qx_Trovix_Com_TxPdu_Signal_Parameters_t const *const txPduSignalParameters);
/* Writes the value of a transmit-PDU signal: txPduSignalDataSize bytes. */
Qx_Error_t Qx_Trovix_Com_TxPdu_Signal_Write(Qx_PortHandle_t portHandle, u32_t txPduId, u32_t txPduSignalId,
                                            u16_t txPduSignalDataSize, u8_t const *const txPduSignalData);
Qx_Error_t Qx_Trovix_Com_Signal_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComSignals);

/* One Com signal. */
typedef struct {
  Qx_Trovix_Com_Signal_Config_Flags_t Flags;
  u32_t SignalId;
  u8_t SignalType;       /* a QX_TROVIX__SIGNAL__TYPE__ value */
  u8_t SignalLengthType; /* a QX_TROVIX__SIGNAL__LENGTH_TYPE__ value */
  u8_t reserved2;
  u8_t reserved3;
  u32_t NumberOfMappings;
} Qx_Trovix_Com_Signal_Config_Parameters_t;

Qx_Error_t Qx_Trovix_Com_Signal_Config(Qx_PortHandle_t portHandle,
                                       Qx_Trovix_Com_Signal_Config_Parameters_t const *const comSignalParameters);
/* Writes the value of a Com signal: comSignalDataSize bytes. */
Qx_Error_t Qx_Trovix_Com_Signal_WriteSignal(Qx_PortHandle_t portHandle, u16_t comSignalId, u16_t comSignalDataSize,
                                            u8_t const *const comSignalData);

/* A Com signal mapped onto a signal of a transmit PDU. */
typedef struct {
  Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Flags_t Flags;
  u32_t SignalId;
  u32_t SignalMappingId;
  u32_t TxPduId;
  u32_t TxPduSignalId;
} Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Parameters_t;

Qx_Error_t Qx_Trovix_Com_Signal_TxPduSignal_Mapping(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Parameters_t const *const txMappingParameters);

/* One signal of a receive PDU. */
typedef struct {
  Qx_Trovix_Com_RxPdu_Signal_Flags_t Flags;
  u32_t RxPduId;
  u32_t RxPduSignalId;
  u16_t BitPosition;
  u16_t BitSize;
  u8_t DataInvalidValue[8];
  u8_t InitValue[8];
  u8_t Endianness; /* a QX_TROVIX__ENDIANNESS__ value */
  u8_t SignalType; /* a QX_TROVIX__SIGNAL__TYPE__ value */
  u16_t UpdateBitPosition;
  u32_t Timeout;
  u32_t FirstTimeout;
  u32_t RxPduSignalGroupId;
} Qx_Trovix_Com_RxPdu_Signal_Parameters_t;

Qx_Error_t Qx_Trovix_Com_RxPdu_Signal(Qx_PortHandle_t portHandle,
                                      Qx_Trovix_Com_RxPdu_Signal_Parameters_t const *const rxPduSignalParameters);

/* A receive PDU forwarded whole to a transmit PDU. */
typedef struct {
  Qx_Trovix_Com_PduGateway_Mapping_Config_Flags_t Flags;
  u32_t RxPduId;
  u32_t TxPduId;
  u8_t TransferProperty; /* a QX_TROVIX__COM__TRANSFER_PROPERTY__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_Com_PduGateway_Mapping_Config_Parameters_t;

Qx_Error_t Qx_Trovix_Com_PduGateway_Mapping_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_PduGateway_Mapping_Config_Parameters_t const *const pduGatewayParameters);

/* A receive-PDU signal forwarded to a transmit-PDU signal through an offset
 * and a factor (the float64_t members sit on 8-byte boundaries). */
typedef struct {
  Qx_Trovix_Com_SignalGateway_Mapping_Config_Flags_t Flags;
  u32_t RxPduId;
  u32_t RxPduSignalId;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  float64_t Offset;
  float64_t Factor;
} Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t;

Qx_Error_t Qx_Trovix_Com_SignalGateway_Mapping_Config(
    Qx_PortHandle_t portHandle,
    Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t const *const signalGatewayParameters);

#ifdef __cplusplus
}
#endif

#endif
