/*
 * Declarations of libqx_api_trovix's FlexRay interface (cluster, controller, PDUs,
 * LPDUs and frame triggers) as the bindings see them, in the library's own declaration order.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_FR_H
#define QX_API_TROVIX_FR_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- FlexRay cluster and controller ------------------------------------------ */

/* No flag values are named. */
typedef u8_t Qx_Trovix_FlexRayIf_Controller_Config_Flags_t;

/* The cluster parameters; gChannel is a plain byte, not a
 * Qx_Trovix_FlexRayIf_Channel_t. */
typedef struct {
  u8_t gColdStartAttempts;
  u8_t gListenNoise;
  u16_t gMacroPerCycle;
  u16_t gNumberOfMinislots;
  u16_t gNumberOfStaticSlots;
  u16_t gOffsetCorrectionStart;
  u8_t gMaxWithoutClockCorrectionFatal;
  u8_t gMaxWithoutClockCorrectionPassive;
  u8_t gNetworkManagementVectorLength;
  u8_t gPayloadLengthStatic;
  u8_t gSyncNodeMax;
  u8_t gdActionPointOffset;
  u16_t gdBit;
  u8_t gdCasRxLowMax;
  u8_t gdDynamicSlotIdlePhase;
  u8_t gdMinislotActionPointOffset;
  u8_t gdMinislot;
  u16_t gdStaticSlot;
  u8_t gdSymbolWindow;
  u8_t gdTSSTransmitter;
  u8_t gdWakeupSymbolRxIdle;
  u8_t gdWakeupSymbolRxLow;
  u8_t gdWakeupSymbolTxIdle;
  u8_t gdWakeupSymbolTxLow;
  u16_t gdWakeupSymbolRxWindow;
  u8_t gClusterDriftDamping;
  u8_t gChannel;
  u8_t ClusterId;
  u8_t reserved;
} Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t;

/* The node parameters of one controller of a cluster; pChannels and
 * pWakeupChannel are plain bytes. */
typedef struct {
  u8_t pAllowHaltDueToClock;
  u8_t pAllowPassiveToActive;
  u8_t pDecodingCorrection;
  u8_t pSingleSlotEnabled;
  u8_t pDelayCompensationA;
  u8_t pDelayCompensationB;
  u8_t pExternOffsetCorrection;
  u8_t pExternRateCorrection;
  u16_t pLatestTx;
  u16_t pKeySlotId;
  u8_t pKeySlotUsedForStartup;
  u8_t pKeySlotUsedForSync;
  u8_t pMicroPerMacroNom;
  u8_t pPayloadLengthDynMax;
  u32_t pMicroPerCycle;
  u8_t pMacroInitialOffsetA;
  u8_t pMacroInitialOffsetB;
  u8_t pMicroInitialOffsetA;
  u8_t pMicroInitialOffsetB;
  u16_t pOffsetCorrectionOut;
  u16_t pRateCorrectionOut;
  u16_t pdAcceptedStartupRange;
  u16_t pdMaxDrift;
  u32_t pdListenTimeout;
  u8_t pWakeupChannel;
  u8_t pWakeupPattern;
  u8_t IsLeadingColdstarter;
  u8_t ControllerId;
  u8_t ClusterId;
  Qx_Trovix_FlexRayIf_Controller_Config_Flags_t Flags;
  u8_t pChannels;
  u8_t pClusterDriftDamping;
} Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t;

Qx_Error_t Qx_Trovix_FlexRayIf_Cluster_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t const *const clusterParameters);
Qx_Error_t Qx_Trovix_FlexRayIf_Controller_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t const *const controllerParameters);

/* ---- FlexRay PDUs, LPDUs and frame triggers ------------------------------------ */

/* No flag values are named. */
typedef u32_t Qx_Trovix_FlexRayIf_Pdu_Config_Flags_t;
typedef u32_t Qx_Trovix_FlexRayIf_LPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_FlexRayIf_PduInLPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_FlexRayIf_FrameTrigger_Config_Flags_t;
typedef u32_t Qx_Trovix_FlexRayIf_TxPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_FlexRayIf_RxPdu_Config_Flags_t;

/* One PDU of a controller. */
typedef struct {
  Qx_Trovix_FlexRayIf_Pdu_Config_Flags_t Flags;
  u32_t PduId;
  u8_t ControllerId;
  u8_t ByteLengthMax;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_FlexRayIf_Pdu_Config_Parameters_t;

/* One LPDU (the frame's payload) of a controller. */
typedef struct {
  Qx_Trovix_FlexRayIf_LPdu_Config_Flags_t Flags;
  u32_t LPduId;
  u8_t ControllerId;
  u8_t ByteLengthMax;
  u8_t UnusedBitValue;
  u8_t UnusedByteValue;
} Qx_Trovix_FlexRayIf_LPdu_Config_Parameters_t;

/* Where a PDU lies in an LPDU. */
typedef struct {
  Qx_Trovix_FlexRayIf_PduInLPdu_Config_Flags_t Flags;
  u32_t PduId;
  u32_t LPduId;
  u16_t UpdateBitPosition;
  u8_t ControllerId;
  u8_t BytePosition;
} Qx_Trovix_FlexRayIf_PduInLPdu_Config_Parameters_t;

/* The slot and cycles in which an LPDU (or an immediate PDU) is sent;
 * Channel is a plain byte, not a Qx_Trovix_FlexRayIf_Channel_t. */
typedef struct {
  Qx_Trovix_FlexRayIf_FrameTrigger_Config_Flags_t Flags;
  u32_t LPduId_ImmediatePduId;
  u16_t SlotId;
  u8_t BaseCycle;
  u8_t CycleRepetition;
  u8_t Channel;
  u8_t ControllerId;
  u8_t FillByteValue;
  u8_t reserved2;
} Qx_Trovix_FlexRayIf_FrameTrigger_Config_Parameters_t;

/* A PDU of the interface given to the stack for transmission. */
typedef struct {
  Qx_Trovix_FlexRayIf_TxPdu_Config_Flags_t Flags;
  u32_t FrPduId;
  u32_t TxPduId;
  u8_t EcuId;
  u8_t ControllerId;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_FlexRayIf_TxPdu_Config_Parameters_t;

/* A PDU of the interface handed up to the stack on reception. */
typedef struct {
  Qx_Trovix_FlexRayIf_RxPdu_Config_Flags_t Flags;
  u32_t FrPduId;
  u32_t RxPduId;
  u8_t EcuId;
  u8_t ControllerId;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_FlexRayIf_RxPdu_Config_Parameters_t;

Qx_Error_t Qx_Trovix_FlexRayIf_Pdu_Config(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_FlexRayIf_Pdu_Config_Parameters_t const *const pduParameters);
Qx_Error_t Qx_Trovix_FlexRayIf_LPdu_Config(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_FlexRayIf_LPdu_Config_Parameters_t const *const lPduParameters);
Qx_Error_t Qx_Trovix_FlexRayIf_PduInLPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayIf_PduInLPdu_Config_Parameters_t const *const pduInLPduParameters);
Qx_Error_t Qx_Trovix_FlexRayIf_FrameTrigger_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayIf_FrameTrigger_Config_Parameters_t const *const frameTriggerParameters);
Qx_Error_t Qx_Trovix_FlexRayIf_TxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfFrIfTxPdus);
Qx_Error_t Qx_Trovix_FlexRayIf_RxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfFrIfRxPdus);
Qx_Error_t Qx_Trovix_FlexRayIf_TxPdu_Config(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_FlexRayIf_TxPdu_Config_Parameters_t const *const frIfTxPduParameters);
Qx_Error_t Qx_Trovix_FlexRayIf_RxPdu_Config(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_FlexRayIf_RxPdu_Config_Parameters_t const *const frIfRxPduParameters);

#ifdef __cplusplus
}
#endif

#endif
