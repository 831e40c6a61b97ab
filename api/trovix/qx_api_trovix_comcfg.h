/*
 * Declarations of libqx_api_trovix's Com PDU configuration as the bindings
 * see them, in the library's own declaration order: the sizes of the Com
 * transmit PDU, receive PDU, PDU-group and signal tables, the PDUs, PDU
 * groups, transmission modes and PDU counters. Parameter names matter: the
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
/* Declared after the transmit-PDU signal functions of the library, right
 * before its Com signal configuration. */
Qx_Error_t Qx_Trovix_Com_Signal_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComSignals);

#ifdef __cplusplus
}
#endif

#endif
