/*
 * Declarations of libqx_api_trovix's com run-time control, transmit-PDU ramps and properties as the
 * bindings see them, in the library's own declaration order.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_COMRT_H
#define QX_API_TROVIX_COMRT_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef u32_t Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Flags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_Write_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_Read_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_PduCounter_Increment_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_Checksum_Error_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_Transmit_Error_CmdFlags_t;

/* A Com signal mapped onto a signal of a receive PDU. */
typedef struct {
  Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Flags_t Flags;
  u32_t SignalId;
  u32_t SignalMappingId;
  u32_t RxPduId;
  u32_t RxPduSignalId;
} Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Parameters_t;

/* Advances the PDU counter of a transmit PDU. */
typedef struct {
  Qx_Trovix_Com_TxPdu_PduCounter_Increment_CmdFlags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u32_t Increment;
  u32_t NumberOfCycles;
  u32_t Increment2;
} Qx_Trovix_Com_TxPdu_PduCounter_Increment_Parameters_t;

/* Checksum errors injected into a transmit PDU. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Checksum_Error_CmdFlags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u8_t ErrorMode; /* a QX_TROVIX__CHECKSUM__ERROR_MODE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t NumberOfCycles;
} Qx_Trovix_Com_TxPdu_Checksum_Error_Parameters_t;

/* Transmit errors injected into a transmit PDU. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Transmit_Error_CmdFlags_t Flags;
  u32_t TxPduId;
  u8_t ErrorMode; /* a QX_TROVIX__TRANSMIT__ERROR_MODE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t NumberOfErrors;
  u32_t Time;
} Qx_Trovix_Com_TxPdu_Transmit_Error_Parameters_t;

Qx_Error_t Qx_Trovix_Com_Init(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Trovix_Com_DeInit(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Trovix_Com_Signal_RxPduSignal_Mapping(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Parameters_t const *const rxMappingParameters);
/* Writes the first txPduDataLength bytes of a transmit PDU. */
Qx_Error_t Qx_Trovix_Com_TxPdu_Write(Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Write_CmdFlags_t writeFlags,
                                     u32_t txPduId, u32_t txPduDataLength, u8_t const *const txPduData);
/* Reads a transmit PDU: *txPduReadLength carries the room of txPduReadData
 * in and the PDU's length out. */
Qx_Error_t Qx_Trovix_Com_TxPdu_Read(Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Read_CmdFlags_t readFlags,
                                    u32_t txPduId, u32_t *const txPduReadLength, u8_t *const txPduReadData);
Qx_Error_t Qx_Trovix_Com_TxPdu_Send(Qx_PortHandle_t portHandle, u32_t txPduId);
Qx_Error_t Qx_Trovix_Com_TxPdu_PduCounter_Increment(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_PduCounter_Increment_Parameters_t const *const incrementParameters);
Qx_Error_t Qx_Trovix_Com_TxPdu_Checksum_Error(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Checksum_Error_Parameters_t const *const checksumErrorParameters);
Qx_Error_t Qx_Trovix_Com_TxPdu_Transmit_Error(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Transmit_Error_Parameters_t const *const transmitErrorParameters);

typedef u32_t Qx_Trovix_Com_TxPdu_Ramp_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_Ramp_Control_CmdFlags_t;

/* A ramp of the values of one transmit-PDU signal. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Ramp_Config_CmdFlags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u8_t RampType;      /* a QX_TROVIX__RAMP_TYPE__ value */
  u8_t RampDirection; /* a QX_TROVIX__RAMP_DIRECTION__ value */
  u16_t UpdateRate;
  float64_t Min;
  float64_t Max;
  float64_t Increment;
  float64_t SumOfIncrements;
  u32_t EdgeCount;
  u32_t HoldStates_OnMin;
  u32_t HoldStates_OnMax;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
} Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t;

/* A configured ramp to start or stop. */
typedef struct {
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u8_t Mode; /* a QX_TROVIX__COM__TX_PDU__RAMP__CONTROL__MODE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t;

Qx_Error_t Qx_Trovix_Com_TxPdu_Ramp_Config(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t const *const rampConfigCmd);
/* Starts or stops numberOfRamps ramps. */
Qx_Error_t Qx_Trovix_Com_TxPdu_Ramp_Control(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_Com_TxPdu_Ramp_Control_CmdFlags_t rampControlFlags,
                                            u8_t numberOfRamps, Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t const *const ramps);
/* A property (a QX_TROVIX__COM__TX_PDU__PROPERTY_ID__ value) of a transmit PDU. */
Qx_Error_t Qx_Trovix_Com_TxPdu_Property_SetById(Qx_PortHandle_t portHandle, u32_t txPduId, u32_t txPduPropertyId,
                                                u32_t txPduPropertyValue);
Qx_Error_t Qx_Trovix_Com_TxPdu_Property_GetById(Qx_PortHandle_t portHandle, u32_t txPduId, u32_t txPduPropertyId,
                                                u32_t *const txPduPropertyValue);

#ifdef __cplusplus
}
#endif

#endif
