/*
 * Declarations of libqx_api_can's trigger input and output, command and
 * UART gateways and transmit trace as the bindings see them, in the
 * library's own declaration order.
 *
 * The enumerations of these families (UART instance types and parities, the
 * transmit-trace property ids) are declared in qx_api_can.h, where the
 * module installs every constant in order; no binding takes them by value:
 * they travel in u8_t fields and a u16_t argument. Parameter names matter:
 * the rules of api/can/params.txt are applied to exact `type name` pairs.
 */
#ifndef QX_API_CAN_IO_H
#define QX_API_CAN_IO_H

#include "qx_api_can.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Triggers -------------------------------------------------------------- */

typedef u32_t Qx_Can_Trigger_InputMode_Set_SendMsgGroup_CmdFlags_t;
typedef u32_t Qx_Can_Trigger_InputMode_Set_WriteEvent_CmdFlags_t;
typedef u32_t Qx_Can_Trigger_OutputMode_Set_CmdFlags_t;
typedef u16_t Qx_Can_Trigger_Input_PropertyId_t;
typedef u16_t Qx_Can_Trigger_Output_PropertyId_t;
typedef u8_t Qx_Can_Trigger_InputLevelSelection_t;
typedef u8_t Qx_Can_Trigger_InputEdgeSelection_t;
typedef u8_t Qx_Can_Trigger_OutputMode_t;
typedef u8_t Qx_Can_Trigger_OutputAction_t;
typedef u8_t Qx_Can_Trigger_OutputType_t;
typedef u8_t Qx_Can_Trigger_InputState_Get_Mode_t;
typedef u8_t Qx_Can_Trigger_InputState_Get_Level_t;
typedef u8_t Qx_Can_Trigger_OutputState_Get_Mode_t;
typedef u8_t Qx_Can_Trigger_OutputState_Get_Level_t;

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

/* The trigger output fires on received (Rx) or transmitted (Tx) messages
 * whose identifier and data match the patterns under their masks. */
typedef struct {
  Qx_Can_Trigger_OutputMode_Set_CmdFlags_t CmdFlags;
  Qx_Can_Trigger_OutputMode_t Mode;
  Qx_Can_Trigger_OutputAction_t TriggerAction;
  Qx_Can_Trigger_OutputType_t Type;
  u8_t reserved;
  struct {
    u32_t RxId;
    u32_t RxIdMask;
    u32_t TxId;
    u32_t TxIdMask;
  } Id;
  struct {
    u8_t RxData[8];
    u8_t RxDataMask[8];
    u8_t TxData[8];
    u8_t TxDataMask[8];
  } Data;
} Qx_Can_Trigger_OutputMode_Set_Parameters_t;

typedef struct {
  Qx_Can_Trigger_InputState_Get_Mode_t Mode;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Can_Trigger_InputState_Get_Parameters_t;

typedef struct {
  Qx_Can_Trigger_InputState_Get_Mode_t Mode;
  Qx_Can_Trigger_InputState_Get_Level_t Level;
  u8_t reserved1;
  u8_t reserved2;
  u32_t EventCounter;
} Qx_Can_Trigger_InputState_Get_Response_t;

typedef struct {
  Qx_Can_Trigger_OutputState_Get_Mode_t Mode;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Can_Trigger_OutputState_Get_Parameters_t;

typedef struct {
  Qx_Can_Trigger_OutputState_Get_Mode_t Mode;
  Qx_Can_Trigger_OutputState_Get_Level_t Level;
  u8_t reserved1;
  u8_t reserved2;
  u32_t RxEventCounter;
  u32_t TxEventCounter;
} Qx_Can_Trigger_OutputState_Get_Response_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_Trigger_InputMode_Set_SendMsgGroup(Qx_PortHandle_t portHandle,
                                                     Qx_Can_Trigger_InputMode_Set_SendMsgGroup_CmdFlags_t cmdFlags,
                                                     u8_t msgGroup, Qx_Can_Trigger_InputLevelSelection_t inputLevel);
Qx_Error_t Qx_Can_Trigger_InputMode_Set_WriteEvent(Qx_PortHandle_t portHandle,
                                                   Qx_Can_Trigger_InputMode_Set_WriteEvent_CmdFlags_t cmdFlags,
                                                   Qx_Can_Trigger_InputEdgeSelection_t inputEdge);
Qx_Error_t Qx_Can_Trigger_InputMode_Reset(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Trigger_OutputMode_Set(Qx_PortHandle_t portHandle,
                                         Qx_Can_Trigger_OutputMode_Set_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Trigger_InputState_Get(Qx_PortHandle_t portHandle,
                                         Qx_Can_Trigger_InputState_Get_Parameters_t const *const parameters,
                                         Qx_Can_Trigger_InputState_Get_Response_t *const response);
Qx_Error_t Qx_Can_Trigger_OutputState_Get(Qx_PortHandle_t portHandle,
                                          Qx_Can_Trigger_OutputState_Get_Parameters_t const *const parameters,
                                          Qx_Can_Trigger_OutputState_Get_Response_t *const response);
Qx_Error_t Qx_Can_Trigger_Input_Property_SetById(Qx_PortHandle_t portHandle,
                                                 Qx_Can_Trigger_Input_PropertyId_t propertyId, u32_t propertyValue);
Qx_Error_t Qx_Can_Trigger_Input_Property_GetById(Qx_PortHandle_t portHandle,
                                                 Qx_Can_Trigger_Input_PropertyId_t propertyId,
                                                 u32_t *const triggerPropertyValue);
Qx_Error_t Qx_Can_Trigger_Output_Property_SetById(Qx_PortHandle_t portHandle,
                                                  Qx_Can_Trigger_Output_PropertyId_t propertyId, u32_t propertyValue);
Qx_Error_t Qx_Can_Trigger_Output_Property_GetById(Qx_PortHandle_t portHandle,
                                                  Qx_Can_Trigger_Output_PropertyId_t propertyId,
                                                  u32_t *const triggerPropertyValue);

/* ---- Command gateway ------------------------------------------------------- */

typedef u32_t Qx_Can_CmdGateway_Slave_Enable_CmdFlags_t;
typedef u32_t Qx_Can_CmdGateway_Master_Enable_CmdFlags_t;

#pragma pack(push, 4)

typedef struct {
  Qx_Can_CmdGateway_Slave_Enable_CmdFlags_t Flags;
  u32_t BaseAddress;
  u8_t IdOffset;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Can_CmdGateway_Slave_Enable_Parameters_t;

typedef struct {
  Qx_Can_CmdGateway_Master_Enable_CmdFlags_t Flags;
  u32_t BaudRate;
  u32_t BaseAddress;
  u8_t SlaveIdOffset;
  u8_t TargetControllerNumber;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_CmdGateway_Master_Enable_Parameters_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_CmdGateway_Slave_Enable(Qx_PortHandle_t portHandle,
                                          Qx_Can_CmdGateway_Slave_Enable_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_CmdGateway_Slave_Disable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_CmdGateway_Master_Enable(Qx_PortHandle_t portHandle,
                                           Qx_Can_CmdGateway_Master_Enable_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_CmdGateway_Master_Disable(Qx_PortHandle_t portHandle);

/* ---- UART gateway ---------------------------------------------------------- */

typedef u32_t Qx_Can_UartGateway_Init_CmdFlags_t;

#pragma pack(push, 4)

/* UartInstanceType and UartParity hold Qx_Can_UartGateway_UartInstanceType_t
 * and Qx_Can_UartGateway_UartParity_t values. */
typedef struct {
  Qx_Can_UartGateway_Init_CmdFlags_t Flags;
  u32_t MaxRetries;
  u32_t AckTimeout;
  u8_t UartInstanceType;
  u8_t UartInstanceId;
  u8_t UartParity;
  u8_t reserved;
  u32_t UartBaudRate;
} Qx_Can_UartGateway_Init_Cmd_t;

typedef struct {
  u32_t UartBaudRate_Desired;
  u32_t UartBaudRate_Actual;
} Qx_Can_UartGateway_Init_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_UartGateway_Reset(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_UartGateway_Init(Qx_PortHandle_t portHandle, Qx_Can_UartGateway_Init_Cmd_t const *const command,
                                   Qx_Can_UartGateway_Init_Rsp_t *const uartResponse);

/* ---- Transmit trace -------------------------------------------------------- */

typedef u32_t Qx_Can_TxTrace_TraceHandle_t;
typedef u32_t Qx_Can_TxTrace_Download_Flags_t;
typedef u32_t Qx_Can_TxTrace_Play_Flags_t;
typedef u32_t Qx_Can_TxTrace_GetState_Rsp_Flags_t;

#pragma pack(push, 4)

/* One message of a trace, sent Delay after the one before it. */
typedef struct {
  u32_t Delay;
  u32_t Id;
  u8_t Dlc;
  u8_t MsgFlags;
  u8_t reserved1;
  u8_t reserved2;
  u8_t Data[64];
} Qx_Can_TxTrace_Msg_t;

typedef struct {
  Qx_Can_TxTrace_GetState_Rsp_Flags_t Flags;
  u32_t NumberOfMessages;
  u32_t CurrentMessage;
} Qx_Can_TxTrace_GetState_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_TxTrace_Allocate(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t *traceHandle);
Qx_Error_t Qx_Can_TxTrace_Free(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle);
/* Reads numberOfMessages records from traceMsgs. */
Qx_Error_t Qx_Can_TxTrace_Download(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                   u32_t numberOfMessages, Qx_Can_TxTrace_Download_Flags_t flags,
                                   Qx_Can_TxTrace_Msg_t *traceMsgs);
Qx_Error_t Qx_Can_TxTrace_Play(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                               Qx_Can_TxTrace_Play_Flags_t flags);
Qx_Error_t Qx_Can_TxTrace_GetState(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                   Qx_Can_TxTrace_GetState_Rsp_t *traceState);
/* propertyId holds a Qx_Can_TxTrace_PropertyId_t value. */
Qx_Error_t Qx_Can_TxTrace_Property_SetById(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                           u16_t propertyId, u32_t propertyValue);
Qx_Error_t Qx_Can_TxTrace_Property_GetById(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                           u16_t propertyId, u32_t *const tracePropertyValue);

#ifdef __cplusplus
}
#endif

#endif
