/*
 * Declarations of libqx_api_can's node configuration and cyclic message
 * engine as the bindings see them, in the library's own declaration order:
 * cyclic message parity, checksums and properties; node baud rates and bit
 * timing; node state, transceiver and properties; cyclic messages; ramps and
 * multiplexed bytes. Parameter names matter: output rules are applied to
 * exact `type name` pairs in api/can/params.txt.
 */
#ifndef QX_API_CAN_NODE_H
#define QX_API_CAN_NODE_H

#include "qx_api_can.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Cyclic message parity, checksums and properties --------------------- */

typedef u8_t Qx_Can_CyclicMsgs_Parity_Mode_t;
typedef u8_t Qx_Can_CyclicMsgs_Checksum_Mode_t;

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

/* General CRC; the user bytes are fed into the CRC before and after the
 * message bytes. */
typedef struct {
  u8_t Order;
  u8_t NumberOfUserBytesBefore;
  u8_t NumberOfUserBytesAfter;
  u8_t reserved;
  u32_t Polynomial;
  u32_t InitialValue;
  u32_t FinalXorValue;
  u8_t *UserBytesBefore;
  u8_t *UserBytesAfter;
} Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t;

typedef struct {
  u8_t Order;
  u8_t DataArray_Size;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Polynomial;
  u32_t InitialValue;
  u32_t FinalXorValue;
  Qx_Common_Signal_t DataArray_IndexSignal;
  u8_t *DataArray;
} Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t;

typedef struct {
  Qx_Common_Signal_t InputSignal;
  u8_t InitialValue;
  u8_t FinalXorValue;
  u8_t InputSignalShiftLeft;
  u8_t reserved;
} Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t;

typedef struct {
  u32_t CanId;
  u16_t PropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t PropertyValue;
} Qx_Can_CyclicMsgs_Property_SetById_Cmd_t;

typedef struct {
  u32_t CanId;
  u16_t PropertyId;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_CyclicMsgs_Property_GetById_Cmd_t;

typedef struct {
  u32_t CanId;
  u16_t PropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t PropertyValue;
} Qx_Can_CyclicMsgs_Property_GetById_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_CyclicMsgs_Parity_Define(Qx_PortHandle_t portHandle, u32_t id, Qx_Can_CyclicMsgs_Parity_Mode_t mode,
                                           Qx_Common_Signal_t const signal, Qx_Can_Data_t const data);
Qx_Error_t Qx_Can_CyclicMsgs_Parity_Delete(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal);
Qx_Error_t Qx_Can_CyclicMsgs_Checksum_Define(Qx_PortHandle_t portHandle, Qx_Can_CyclicMsgs_Checksum_Mode_t mode,
                                             u32_t id, Qx_Common_Signal_t const signal,
                                             Qx_Can_Data_t const *const data);
Qx_Error_t Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes(Qx_PortHandle_t portHandle, u32_t id,
                                                              Qx_Common_Signal_t const signal,
                                                              Qx_Can_Data_t const *const data, u8_t numberOfUserBytes,
                                                              u8_t const *const userBytes);
Qx_Error_t Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_CyclicMsgs_Checksum_Define_Custom12(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_CyclicMsgs_Checksum_Define_AddBytes(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_CyclicMsgs_Checksum_Delete(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal);
Qx_Error_t Qx_Can_CyclicMsgs_Property_SetById(Qx_PortHandle_t portHandle,
                                              Qx_Can_CyclicMsgs_Property_SetById_Cmd_t const *const command);
Qx_Error_t Qx_Can_CyclicMsgs_Property_GetById(Qx_PortHandle_t portHandle,
                                              Qx_Can_CyclicMsgs_Property_GetById_Cmd_t const *const command,
                                              Qx_Can_CyclicMsgs_Property_GetById_Rsp_t *const response);

/* ---- Node baud rates and bit timing -------------------------------------- */

typedef u8_t Qx_Can_Node_TransceiverType_t;
typedef u32_t Qx_Can_Node_BaudrateFd_Set_CmdFlags_t;
typedef u32_t Qx_Can_Node_BaudrateFd_Set_RspFlags_t;
typedef u32_t Qx_Can_Node_BaudrateFd_Get_CmdFlags_t;
typedef u32_t Qx_Can_Node_BaudrateFd_Get_RspFlags_t;

#pragma pack(push, 4)

/* Optional bounds of the bit timing that Qx_Can_Node_Baudrate_Set chooses. */
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
} Qx_Can_Node_Baudrate_Set_ExtendedParam_t;

/* Bit timing in force. */
typedef struct {
  u32_t Baudrate;
  u32_t CanControllerClock;
  u8_t SamplePoint;
  u8_t NumberOfTimeQuanta;
  u8_t TSeg1;
  u8_t TSeg2;
  u8_t Sjw;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Can_Node_Baudrate_ActualValues_t;

typedef struct {
  Qx_Can_Node_BaudrateFd_Set_CmdFlags_t Flags;
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
  u8_t reserved1;
  u8_t reserved2;
  u32_t TdcOffset;
} Qx_Can_Node_BaudrateFd_Set_Cmd_t;

typedef struct {
  Qx_Can_Node_BaudrateFd_Set_RspFlags_t Flags;
  u32_t BaudRate;
  u32_t CanControllerClock;
  u8_t SamplePoint;
  u8_t NumberOfTimeQuanta;
  u8_t TSeg1;
  u8_t TSeg2;
  u8_t Sjw;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t TdcOffset;
} Qx_Can_Node_BaudrateFd_Set_Rsp_t;

typedef struct {
  Qx_Can_Node_BaudrateFd_Get_RspFlags_t Flags;
  u32_t Baudrate;
  u32_t CanControllerClock;
  u8_t SamplePoint;
  u8_t NumberOfTimeQuanta;
  u8_t TSeg1;
  u8_t TSeg2;
  u8_t Sjw;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t TdcOffset;
} Qx_Can_Node_BaudrateFd_Get_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_Node_CalculateBaudrateRegisterValue(Qx_PortHandle_t portHandle, u32_t *registerValue,
                                                      double canControllerClock, double baudrate, u8_t samplePoint,
                                                      u8_t numberOfTimeQuanta, u8_t sjw, u8_t numberOfSamples);
Qx_Error_t Qx_Can_Node_SetBaudrateRegisterAndTransceiverType(Qx_PortHandle_t portHandle, u32_t registerValue,
                                                             Qx_Can_Node_TransceiverType_t transceiverType);
Qx_Error_t Qx_Can_Node_Baudrate_Set(Qx_PortHandle_t portHandle, u32_t baudrate,
                                    Qx_Can_Node_Baudrate_Set_ExtendedParam_t const *const extendedParam,
                                    Qx_Can_Node_Baudrate_ActualValues_t *actualValues);
Qx_Error_t Qx_Can_Node_Baudrate_Get(Qx_PortHandle_t portHandle, Qx_Can_Node_Baudrate_ActualValues_t *actualValues);
Qx_Error_t Qx_Can_Node_BaudrateFd_Set(Qx_PortHandle_t portHandle, Qx_Can_Node_BaudrateFd_Set_Cmd_t const *const command,
                                      Qx_Can_Node_BaudrateFd_Set_Rsp_t *response);
Qx_Error_t Qx_Can_Node_BaudrateFd_Get(Qx_PortHandle_t portHandle, Qx_Can_Node_BaudrateFd_Get_CmdFlags_t flags,
                                      Qx_Can_Node_BaudrateFd_Get_Rsp_t *response);

/* ---- Node state, transceiver and properties ------------------------------ */

typedef u8_t Qx_Can_Node_InitState_t;
typedef u8_t Qx_Can_Node_PinState_t;
typedef u32_t Qx_Can_Node_GetState_RspFlags_t;
typedef u8_t Qx_Can_Node_GetState_Mode_t;
typedef u8_t Qx_Can_Node_Transceiver_Mode_t;
typedef u8_t Qx_Can_Node_TxPath_Mode_t;
typedef u32_t Qx_Can_Node_FdState_Get_CmdFlags_t;
typedef u32_t Qx_Can_Node_FdState_Get_RspFlags_t;
typedef u32_t Qx_Can_Node_FdState_Set_CmdFlags_t;

#pragma pack(push, 4)

typedef struct {
  u8_t RxErrorCounter;
  u8_t TxErrorCounter;
  u8_t ErrorWarningLevel;
  Qx_Can_Node_InitState_t InitState;
  Qx_Can_Node_GetState_RspFlags_t Flags;
  Qx_Can_Node_PinState_t TransceiverPin_Enable;
  Qx_Can_Node_PinState_t TransceiverPin_NotStandby;
  Qx_Can_Node_PinState_t TransceiverPin_NotWake;
  Qx_Can_Node_PinState_t TransceiverPin_NotError;
} Qx_Can_Node_GetState_Rsp_t;

/* FD fields hold values of the QX_CAN__FD_MODE__, QX_CAN__TX_BRS__,
 * QX_CAN__TX_ESI__ and QX_CAN__FD_FRAME_FORMAT_SPEC__ families. */
typedef struct {
  Qx_Can_Node_FdState_Get_RspFlags_t Flags;
  u8_t FdMode;
  u8_t TxBrs_Global;
  u8_t TxBrs_InitValue;
  u8_t TxEsi_Global;
  u8_t TxEsi_InitValue;
  u8_t FdFrameFormatSpec;
  u8_t reserved1;
  u8_t reserved2;
  u32_t BaudRateFd;
} Qx_Can_Node_FdState_Get_Rsp_t;

typedef struct {
  Qx_Can_Node_FdState_Set_CmdFlags_t Flags;
  u8_t TxBrs_Global;
  u8_t TxBrs_InitValue;
  u8_t TxEsi_Global;
  u8_t TxEsi_InitValue;
  u8_t FdFrameFormatSpec;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t BaudRateFd;
} Qx_Can_Node_FdState_Set_Cmd_t;

/* PropertyId holds a QX_CAN__NODE__PROPERTY_ID__ value. */
typedef struct {
  u16_t PropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Value;
} Qx_Can_Node_Property_SetById_Cmd_t;

typedef struct {
  u16_t PropertyId;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_Node_Property_GetById_Cmd_t;

typedef struct {
  u16_t PropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Value;
} Qx_Can_Node_Property_GetById_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_Node_ErrorFrameCounter_Get(Qx_PortHandle_t portHandle, u32_t *errorFrameCounter);
Qx_Error_t Qx_Can_Node_ErrorFrameCounter_Reset(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Node_GetState(Qx_PortHandle_t portHandle, Qx_Can_Node_GetState_Mode_t mode,
                                Qx_Can_Node_GetState_Rsp_t *response);
Qx_Error_t Qx_Can_Node_Transceiver_SetMode(Qx_PortHandle_t portHandle, Qx_Can_Node_Transceiver_Mode_t mode);
Qx_Error_t Qx_Can_Node_TxPath_Control(Qx_PortHandle_t portHandle, Qx_Can_Node_TxPath_Mode_t mode);
Qx_Error_t Qx_Can_Node_BusTermination_Enable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Node_BusTermination_Disable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Node_InternalVBat_Enable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Node_InternalVBat_Disable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Node_BusIdleTime_Get(Qx_PortHandle_t portHandle, u32_t *busIdleTime);
Qx_Error_t Qx_Can_Node_FdState_Get(Qx_PortHandle_t portHandle, Qx_Can_Node_FdState_Get_CmdFlags_t flags,
                                   Qx_Can_Node_FdState_Get_Rsp_t *response);
Qx_Error_t Qx_Can_Node_FdState_Set(Qx_PortHandle_t portHandle, Qx_Can_Node_FdState_Set_Cmd_t const *const command);
Qx_Error_t Qx_Can_Node_Property_SetById(Qx_PortHandle_t portHandle,
                                        Qx_Can_Node_Property_SetById_Cmd_t const *const command);
Qx_Error_t Qx_Can_Node_Property_GetById(Qx_PortHandle_t portHandle,
                                        Qx_Can_Node_Property_GetById_Cmd_t const *const command,
                                        Qx_Can_Node_Property_GetById_Rsp_t *response);

/* ---- Cyclic messages: definition and control ----------------------------- */

typedef u8_t Qx_Can_CyclicMsgs_SendState_t;
typedef u8_t Qx_Can_CyclicMsgs_SetCalculationBreakCount_Mode_t;
typedef u8_t Qx_Can_CyclicMsgs_ChangeMsgData_ChangeMode_t;
typedef u8_t Qx_Can_CyclicMsgs_MsgMode_t;
typedef u32_t Qx_Can_CyclicMsgs_ChangeMsg_CmdFlags_t;
typedef u32_t Qx_Can_CyclicMsgs_ChangeMsg_Data_CmdFlags_t;
typedef u32_t Qx_Can_CyclicMsgs_ChangeMsg_CycleTime_CmdFlags_t;

#pragma pack(push, 4)

/* Changes of one defined cyclic message: the first 8 data bytes under Data
 * (bytes whose mask bits are set), the cycle time under CycleTime, and the
 * further data bytes of long frames under ExtendedMaskAndData. */
typedef struct {
  u32_t Id;
  Qx_Can_CyclicMsgs_ChangeMsg_CmdFlags_t Flags;
  Qx_Can_CyclicMsgs_SendState_t SendState;
  u8_t Group;
  u8_t MsgCount;
  u8_t Dlc;
  struct {
    Qx_Can_CyclicMsgs_ChangeMsg_Data_CmdFlags_t Flags;
    u8_t Mask[8];
    u8_t Data[8];
    u16_t MinimumDelay;
    u16_t NumberOfMsgsBeforeRestore;
  } Data;
  struct {
    Qx_Can_CyclicMsgs_ChangeMsg_CycleTime_CmdFlags_t Flags;
    u16_t CycleTime;
    u16_t MinimumDelay;
    u16_t NumberOfMsgsBeforeRestore;
    u8_t reserved1;
    u8_t reserved2;
  } CycleTime;
  struct {
    u8_t Length;
    u8_t reserved1;
    u8_t reserved2;
    u8_t reserved3;
    u8_t Mask[56];
    u8_t Data[56];
  } ExtendedMaskAndData;
} Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t;

typedef struct {
  u32_t Id;
  u16_t CycleTime;
  u8_t Group;
  Qx_Can_CyclicMsgs_MsgMode_t Mode;
  u8_t MsgCount;
  u8_t Dlc;
  u8_t reserved1;
  u8_t reserved2;
  Qx_Can_Data_t Data;
} Qx_Can_CyclicMsgs_GetMsgState_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_CyclicMsgs_DefineMsg(Qx_PortHandle_t portHandle, u32_t id, u16_t cycleTime,
                                       Qx_Can_CyclicMsgs_SendState_t sendState, u8_t group, u8_t msgCount,
                                       u8_t const *const msgData, u8_t dlc);
Qx_Error_t Qx_Can_CyclicMsgs_DeleteMsg(Qx_PortHandle_t portHandle, u32_t id);
Qx_Error_t Qx_Can_CyclicMsgs_SetMsgBreakCount(Qx_PortHandle_t portHandle, u32_t id, u16_t breakCount);
Qx_Error_t Qx_Can_CyclicMsgs_SetMsgBreakTime(Qx_PortHandle_t portHandle, u32_t id, u16_t breakTime);
Qx_Error_t Qx_Can_CyclicMsgs_SetCalculationBreakCount(Qx_PortHandle_t portHandle, u32_t id,
                                                      Qx_Common_Signal_t const signal,
                                                      Qx_Can_CyclicMsgs_SetCalculationBreakCount_Mode_t mode,
                                                      u16_t breakCount);
Qx_Error_t Qx_Can_CyclicMsgs_DefineDisturbance(Qx_PortHandle_t portHandle, u32_t id, u8_t mode, u16_t numberOfMsgs,
                                               Qx_Can_Data_t const mask, Qx_Can_Data_t const data);
Qx_Error_t Qx_Can_CyclicMsgs_ChangeMsg(Qx_PortHandle_t portHandle,
                                       Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_CyclicMsgs_ChangeMsgData(Qx_PortHandle_t portHandle, u32_t id, u8_t const *const msgMask, u8_t dlc,
                                           u8_t const *const msgData,
                                           Qx_Can_CyclicMsgs_ChangeMsgData_ChangeMode_t changeMode,
                                           u16_t numberOfMsgsBeforeRestore);
Qx_Error_t Qx_Can_CyclicMsgs_ChangeCycleTime(Qx_PortHandle_t portHandle, u32_t id, u16_t cycleTime);
Qx_Error_t Qx_Can_CyclicMsgs_ChangeMsgDataAndMsgCount(Qx_PortHandle_t portHandle, u32_t id, u8_t msgCount,
                                                      u8_t const *const msgMask, u8_t dlc, u8_t const *const msgData,
                                                      Qx_Can_CyclicMsgs_ChangeMsgData_ChangeMode_t changeMode,
                                                      u16_t numberOfMsgsBeforeRestore);
Qx_Error_t Qx_Can_CyclicMsgs_ChangeGroupNumber(Qx_PortHandle_t portHandle, u32_t id, u8_t group);
Qx_Error_t Qx_Can_CyclicMsgs_StartMsg(Qx_PortHandle_t portHandle, u32_t id);
Qx_Error_t Qx_Can_CyclicMsgs_StopMsg(Qx_PortHandle_t portHandle, u32_t id);
Qx_Error_t Qx_Can_CyclicMsgs_GetMsgState(Qx_PortHandle_t portHandle, u32_t id,
                                         Qx_Can_CyclicMsgs_GetMsgState_Rsp_t *const response);
Qx_Error_t Qx_Can_CyclicMsgs_StartGroup(Qx_PortHandle_t portHandle, u8_t group);
Qx_Error_t Qx_Can_CyclicMsgs_StopGroup(Qx_PortHandle_t portHandle, u8_t group);

/* ---- Cyclic message ramps and multiplexed bytes -------------------------- */

typedef u8_t Qx_Can_CyclicMsgs_Ramp_Mode_t;
typedef u8_t Qx_Can_CyclicMsgs_Ramp_Direction_t;
typedef u32_t Qx_Can_CyclicMsgs_Ramp_State_Flags_t;

#pragma pack(push, 4)

typedef struct {
  u32_t Id;
  Qx_Common_Signal_t Signal;
  Qx_Can_CyclicMsgs_Ramp_Mode_t Mode;
  Qx_Can_CyclicMsgs_Ramp_Direction_t Direction;
  u16_t MinValue;
  u16_t MaxValue;
  u16_t UpdateRate;
  float64_t Increment;
  u32_t RampSum;
  u16_t NumberOfFlanks;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t;

typedef struct {
  u32_t Id;
  Qx_Common_Signal_t Signal;
  Qx_Can_CyclicMsgs_Ramp_Mode_t Mode;
} Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t;

typedef struct {
  u32_t Id;
  Qx_Common_Signal_t Signal;
  Qx_Can_CyclicMsgs_Ramp_Mode_t Mode;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u16_t MinValue;
  u16_t MaxValue;
} Qx_Can_CyclicMsgs_Ramp_SyncRamp_t;

/* SyncRamp: the ramp this one runs in step with, or NULL. */
typedef struct {
  u32_t Id;
  Qx_Common_Signal_t Signal;
  u16_t MinValue;
  u16_t MaxValue;
  u16_t CycleTime;
  u16_t NumberOfFlanks;
  Qx_Can_CyclicMsgs_Ramp_Direction_t Direction;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  Qx_Can_CyclicMsgs_Ramp_SyncRamp_t *SyncRamp;
} Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_CyclicMsgs_MultiplexBytes_Define(Qx_PortHandle_t portHandle, u32_t id, u8_t byteIndex,
                                                   u8_t numberOfValues, Qx_Can_Data_t const *const values,
                                                   Qx_Can_Data_t const *const mask);
Qx_Error_t Qx_Can_CyclicMsgs_MultiplexBytes_Stop(Qx_PortHandle_t portHandle, u32_t id,
                                                 Qx_Can_Data_t const *const restoreData,
                                                 Qx_Can_Data_t const *const restoreMask);
Qx_Error_t Qx_Can_CyclicMsgs_Ramp_Define(Qx_PortHandle_t portHandle,
                                         Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_CyclicMsgs_Ramp_Delete(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal);
Qx_Error_t Qx_Can_CyclicMsgs_Ramp_ChangeMode(Qx_PortHandle_t portHandle, u32_t numberOfRamps,
                                             Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t const *const ramps);
Qx_Error_t Qx_Can_CyclicMsgs_Ramp_GetState(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal,
                                           Qx_Can_CyclicMsgs_Ramp_State_Flags_t *const stateFlags,
                                           Qx_Can_CyclicMsgs_Ramp_State_Flags_t *const errorFlags, u32_t *const rampSum,
                                           u16_t *const currentValue);
Qx_Error_t Qx_Can_CyclicMsgs_Ramp_DefineIncRamp(
    Qx_PortHandle_t portHandle, Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_CyclicMsgs_Ramp_ResetRampSum(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal);

#ifdef __cplusplus
}
#endif

#endif
