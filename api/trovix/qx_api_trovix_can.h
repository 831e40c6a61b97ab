/*
 * Declarations of libqx_api_trovix's CAN interface layer and AUTOSAR CAN
 * network management as the bindings see them, in the library's own
 * declaration order. Parameter names matter: the rules of
 * api/trovix/params.txt are applied to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_CAN_H
#define QX_API_TROVIX_CAN_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- CAN interface ---------------------------------------------------------- */

typedef u32_t Qx_Trovix_CanIf_Controller_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_CanIf_BaudRateFd_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_CanIf_RxPdu_Config_Flags_t;
typedef u32_t Qx_Trovix_CanIf_TxPdu_Config_Flags_t;
typedef u8_t Qx_Trovix_CanIf_MsgFlags_t;

/* Bit-timing limits of the classic (arbitration-phase) baud rate. */
typedef struct {
  u8_t SamplePoint_Min;
  u8_t SamplePoint_Max;
  u8_t NumberOfTimeQuanta_Min;
  u8_t NumberOfTimeQuanta_Max;
  u8_t TSeg1_Min;
  u8_t TSeg1_Max;
  u8_t TSeg2_Min;
  u8_t TSeg2_Max;
  u8_t Sjw_Min;
  u8_t Sjw_Max;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t;

/* One controller's FD mode. */
typedef struct {
  Qx_Trovix_CanIf_Controller_Config_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t FdMode; /* a QX_TROVIX__CAN_IF__FD_MODE__ value */
  u8_t CanFdPaddingValue;
  u8_t reserved;
} Qx_Trovix_CanIf_Controller_Config_t;

/* The CAN FD (data-phase) baud rate of a controller with its limits. */
typedef struct {
  Qx_Trovix_CanIf_BaudRateFd_Config_CmdFlags_t Flags;
  u32_t BaudRate;
  u8_t SamplePoint_Min;
  u8_t SamplePoint_Max;
  u8_t NumberOfTimeQuanta_Min;
  u8_t NumberOfTimeQuanta_Max;
  u8_t TSeg1_Min;
  u8_t TSeg1_Max;
  u8_t TSeg2_Min;
  u8_t TSeg2_Max;
  u8_t Sjw_Min;
  u8_t Sjw_Max;
  u8_t ControllerId;
  u8_t reserved;
  u32_t TdcOffset;
} Qx_Trovix_CanIf_BaudRateFd_Config_Cmd_t;

/* One receive PDU. */
typedef struct {
  Qx_Trovix_CanIf_RxPdu_Config_Flags_t Flags;
  u32_t PduId;
  u32_t CanId;
  u8_t DlcMax;
  u8_t BusId;
  u8_t EcuId;
  u8_t DlcMin;
} Qx_Trovix_CanIf_RxPdu_Config_Parameters_t;

/* One transmit PDU. */
typedef struct {
  Qx_Trovix_CanIf_TxPdu_Config_Flags_t Flags;
  u32_t PduId;
  u32_t CanId;
  u8_t DlcMax;
  u8_t BusId;
  u8_t EcuId;
  u8_t MsgFlags;
  u8_t CanFdPaddingValue;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_CanIf_TxPdu_Config_Parameters_t;

Qx_Error_t Qx_Trovix_CanIf_BaudRate_Config(Qx_PortHandle_t portHandle, u8_t canIfControllerId, u32_t canIfBaudRate,
                                           Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t const *const extendedParam);
Qx_Error_t Qx_Trovix_CanIf_Controller_Config(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_CanIf_Controller_Config_t const *const controllerConfig);
Qx_Error_t Qx_Trovix_CanIf_BaudRateFd_Config(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_CanIf_BaudRateFd_Config_Cmd_t const *const baudRateFdCmd);
Qx_Error_t Qx_Trovix_CanIf_RxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfRxPdus);
Qx_Error_t Qx_Trovix_CanIf_TxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfTxPdus);
Qx_Error_t Qx_Trovix_CanIf_RxPdu_Config(Qx_PortHandle_t portHandle,
                                        Qx_Trovix_CanIf_RxPdu_Config_Parameters_t const *const rxPduParameters);
Qx_Error_t Qx_Trovix_CanIf_TxPdu_Config(Qx_PortHandle_t portHandle,
                                        Qx_Trovix_CanIf_TxPdu_Config_Parameters_t const *const txPduParameters);

/* ---- CAN network management (AUTOSAR) ---------------------------------------- */

typedef u32_t Qx_Trovix_CanNm_Autosar_Config_Flags_t;

typedef struct {
  Qx_Trovix_CanNm_Autosar_Config_Flags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t NmNodeId;
  u8_t reserved1;
  u32_t CanIdBase;
  u16_t NumberOfNodes;
  u8_t reserved2;
  u8_t reserved3;
  u32_t NmTimeoutTime;
  u32_t WaitBusSleepTime;
  u32_t RepeatMsgTime;
  u32_t MsgCycleTime;
  u32_t MsgCycleOffset;
  u32_t MsgReducedTime;
  u8_t PduNidPosition;   /* a QX_TROVIX__CAN_NM__AUTOSAR__PDU_NID_POSITION__ value */
  u8_t PduCbvPosition;   /* a QX_TROVIX__CAN_NM__AUTOSAR__PDU_CBV_POSITION__ value */
  u8_t PduStatePosition; /* a QX_TROVIX__CAN_NM__AUTOSAR__PDU_STATE_POSITION__ value */
  u8_t PduLength;
  u8_t PduData[8];
} Qx_Trovix_CanNm_Autosar_Config_Parameters_t;

Qx_Error_t Qx_Trovix_CanNm_Autosar_Config(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_CanNm_Autosar_Config_Parameters_t const *const canNmParameters);

#ifdef __cplusplus
}
#endif

#endif
