/*
 * Declarations of libqx_api_can's CCP master as the bindings see them, in the
 * library's own declaration order: resetting and setting up a master
 * instance, raw command messages, the command state, responses, the event
 * and DAQ message queues and the text of a CCP error; then the standard CCP
 * commands from CONNECT to GET_CCP_VERSION with their response records.
 *
 * Every function takes the port handle first and, second, the number of the
 * CCP master instance on that port. Parameter names matter: byte lists,
 * appended outputs and response records returned as outputs are applied to
 * exact `type name` pairs in api/can/params.txt.
 */
#ifndef QX_API_CAN_CCP_H
#define QX_API_CAN_CCP_H

#include "qx_api_can.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Master session ------------------------------------------------------ */

typedef u32_t Qx_Can_Ccp_Init_CmdFlags_t;
typedef u32_t Qx_Can_Ccp_Command_CmdFlags_t;
typedef u32_t Qx_Can_Ccp_GetCommandState_RspFlags_t;
typedef u32_t Qx_Can_Ccp_GetResponse_RspFlags_t;
typedef u32_t Qx_Can_Ccp_Error_t;
typedef u32_t Qx_Can_Ccp_GetEventMessages_RspFlags_t;
typedef u32_t Qx_Can_Ccp_GetDaqMessages_RspFlags_t;

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

typedef struct {
  Qx_Can_Ccp_Init_CmdFlags_t CmdFlags;
  u32_t CroId;
  u32_t DtoId;
  u32_t TxTimeout;
  u16_t ResponseFifoDepth;
  u16_t DaqMessageFifoDepth;
  u16_t EventMessageFifoDepth;
  u16_t StationAddress;
} Qx_Can_Ccp_Init_Parameters_t;

typedef struct {
  Qx_Can_Ccp_Command_CmdFlags_t CmdFlags;
  u32_t AckTimeout;
  u8_t NumberOfRetries;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Data[8];
} Qx_Can_Ccp_Command_Parameters_t;

typedef struct {
  Qx_Can_Ccp_GetCommandState_RspFlags_t Flags;
  Qx_Can_Ccp_Error_t CcpError;
  u8_t NumberOfRetries;
  u8_t RetryCounter;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_Ccp_GetCommandState_Rsp_t;

typedef struct {
  Qx_Can_Ccp_GetResponse_RspFlags_t Flags;
  Qx_Can_Ccp_Error_t CcpError;
  u8_t Dlc;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Data[8];
} Qx_Can_Ccp_GetResponse_Rsp_t;

typedef struct {
  u8_t Dlc;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Data[8];
} Qx_Can_Ccp_EventMessage_t;

typedef struct {
  u8_t Dlc;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Data[8];
} Qx_Can_Ccp_DaqMessage_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_Ccp_Reset(Qx_PortHandle_t portHandle, u8_t ccpInstance);
Qx_Error_t Qx_Can_Ccp_Init(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                           Qx_Can_Ccp_Init_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Ccp_Command(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                              Qx_Can_Ccp_Command_Parameters_t const *const command);
Qx_Error_t Qx_Can_Ccp_GetCommandState(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                      Qx_Can_Ccp_GetCommandState_Rsp_t *const state);
Qx_Error_t Qx_Can_Ccp_GetResponse(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                  Qx_Can_Ccp_GetResponse_Rsp_t *const ccpResponse);
Qx_Error_t Qx_Can_Ccp_GetEventMessages(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                       Qx_Can_Ccp_GetEventMessages_RspFlags_t *const eventFlags,
                                       u32_t *const numberOfEventMessages,
                                       Qx_Can_Ccp_EventMessage_t *const eventMessages);
Qx_Error_t Qx_Can_Ccp_GetDaqMessages(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                     Qx_Can_Ccp_GetDaqMessages_RspFlags_t *const daqFlags,
                                     u32_t *const numberOfDaqMessages, Qx_Can_Ccp_DaqMessage_t *const daqMessages);
Qx_Error_t Qx_Can_Ccp_CommandWithResponse(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                          Qx_Can_Ccp_Command_Parameters_t const *const command,
                                          Qx_Can_Ccp_GetResponse_Rsp_t *const ccpResponse);
/* No port, no status: the text of the CCP error of a response. */
char const *Qx_Can_Ccp_GetCcpErrorDescription(Qx_Can_Ccp_GetResponse_Rsp_t *const ccpResponse);

/* ---- Standard commands ---------------------------------------------------- */

typedef u8_t Qx_Can_Ccp_ResourceFlags_t;
typedef u8_t Qx_Can_Ccp_SessionStatusFlags_t;
typedef u8_t Qx_Can_Ccp_MtaNumber_t;
typedef u8_t Qx_Can_Ccp_Command_WriteDaq_Size_t;
typedef u8_t Qx_Can_Ccp_Command_StartStop_Mode_t;
typedef u8_t Qx_Can_Ccp_Command_Disconnect_Mode_t;
typedef u8_t Qx_Can_Ccp_Command_StartStopAll_Mode_t;

#pragma pack(push, 4)

typedef struct {
  u8_t Length;
  u8_t DataTypeQualifier;
  Qx_Can_Ccp_ResourceFlags_t ResourceAvailabilityFlags;
  Qx_Can_Ccp_ResourceFlags_t ResourceProtectionFlags;
} Qx_Can_Ccp_Command_ExchangeId_Rsp_t;

/* Bytes only: 5 bytes, the seed at offset 1. */
typedef struct {
  u8_t ProtectionStatus;
  u8_t SeedData[4];
} Qx_Can_Ccp_Command_GetSeed_Rsp_t;

typedef struct {
  u8_t MTA0Extension;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t MTA0Address;
} Qx_Can_Ccp_Command_Download_Rsp_t;

typedef struct {
  u8_t MTA0Extension;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t MTA0Address;
} Qx_Can_Ccp_Command_Download6_Rsp_t;

typedef struct {
  u8_t DaqListSize;
  u8_t FirstPid;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_Ccp_Command_GetDaqSize_Rsp_t;

typedef struct {
  Qx_Can_Ccp_SessionStatusFlags_t StatusFlags;
  u8_t StatusInfoQualifier;
  u8_t reserved1;
  u8_t reserved2;
  u8_t StatusInfo[3];
  u8_t reserved3;
} Qx_Can_Ccp_Command_GetSessionStatus_Rsp_t;

typedef struct {
  u8_t Size;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Data[4];
} Qx_Can_Ccp_Command_BuildChksum_Rsp_t;

typedef struct {
  u8_t MTA0Extension;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t MTA0Address;
} Qx_Can_Ccp_Command_Program_Rsp_t;

typedef struct {
  u8_t MTA0Extension;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t MTA0Address;
} Qx_Can_Ccp_Command_Program6_Rsp_t;

typedef struct {
  u8_t Length;
  u8_t DataType;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_Ccp_Command_DiagService_Rsp_t;

typedef struct {
  u8_t Length;
  u8_t DataType;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_Ccp_Command_ActionService_Rsp_t;

typedef struct {
  u8_t AddressExtension;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t Address;
} Qx_Can_Ccp_Command_GetActiveCalPage_Rsp_t;

typedef struct {
  u8_t MainVersion;
  u8_t ReleaseVersion;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Can_Ccp_Command_GetCcpVersion_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_Ccp_Command_Connect(Qx_PortHandle_t portHandle, u8_t ccpInstance, u16_t stationAddress);
Qx_Error_t Qx_Can_Ccp_Command_ExchangeId(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                         u8_t const *const masterIdData,
                                         Qx_Can_Ccp_Command_ExchangeId_Rsp_t *const exchangeIdResponse);
Qx_Error_t Qx_Can_Ccp_Command_GetSeed(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                      Qx_Can_Ccp_ResourceFlags_t requestedResource,
                                      Qx_Can_Ccp_Command_GetSeed_Rsp_t *const seedResponse);
Qx_Error_t Qx_Can_Ccp_Command_Unlock(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t const *const key,
                                     u8_t *const privilegeStatus);
Qx_Error_t Qx_Can_Ccp_Command_SetMta(Qx_PortHandle_t portHandle, u8_t ccpInstance, Qx_Can_Ccp_MtaNumber_t mtaNumber,
                                     u8_t addressExtension, u32_t address);
Qx_Error_t Qx_Can_Ccp_Command_Download(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t size,
                                       u8_t const *const ccpData, Qx_Can_Ccp_Command_Download_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_Download6(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t const *const ccpData,
                                        Qx_Can_Ccp_Command_Download6_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_Upload(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t size,
                                     u8_t *const uploadData);
Qx_Error_t Qx_Can_Ccp_Command_ShortUp(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t size,
                                      u8_t addressExtension, u32_t address, u8_t *const uploadData);
Qx_Error_t Qx_Can_Ccp_Command_SelectCalPage(Qx_PortHandle_t portHandle, u8_t ccpInstance);
Qx_Error_t Qx_Can_Ccp_Command_GetDaqSize(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t daqListNumber,
                                         u32_t dtoId, Qx_Can_Ccp_Command_GetDaqSize_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_SetDaqPtr(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t daqListNumber,
                                        u8_t odtNumber, u8_t elementNumber);
Qx_Error_t Qx_Can_Ccp_Command_WriteDaq(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                       Qx_Can_Ccp_Command_WriteDaq_Size_t elementSize, u8_t addressExtension,
                                       u32_t address);
Qx_Error_t Qx_Can_Ccp_Command_StartStop(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                        Qx_Can_Ccp_Command_StartStop_Mode_t mode, u8_t daqListNumber,
                                        u8_t lastOdtNumber, u8_t eventChannel, u16_t prescaler);
Qx_Error_t Qx_Can_Ccp_Command_Disconnect(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                         Qx_Can_Ccp_Command_Disconnect_Mode_t mode, u16_t stationAddress);
Qx_Error_t Qx_Can_Ccp_Command_SetSessionStatus(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                               Qx_Can_Ccp_SessionStatusFlags_t sessionStatus);
Qx_Error_t Qx_Can_Ccp_Command_GetSessionStatus(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                               Qx_Can_Ccp_Command_GetSessionStatus_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_BuildChksum(Qx_PortHandle_t portHandle, u8_t ccpInstance, u32_t blockSize,
                                          Qx_Can_Ccp_Command_BuildChksum_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_ClearMemory(Qx_PortHandle_t portHandle, u8_t ccpInstance, u32_t memorySize);
Qx_Error_t Qx_Can_Ccp_Command_Program(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t size,
                                      u8_t const *const ccpData, Qx_Can_Ccp_Command_Program_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_Program6(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t const *const ccpData,
                                       Qx_Can_Ccp_Command_Program6_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_Move(Qx_PortHandle_t portHandle, u8_t ccpInstance, u32_t blockSize);
Qx_Error_t Qx_Can_Ccp_Command_DiagService(Qx_PortHandle_t portHandle, u8_t ccpInstance, u16_t serviceNumber,
                                          u8_t const *const serviceParameters,
                                          Qx_Can_Ccp_Command_DiagService_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_ActionService(Qx_PortHandle_t portHandle, u8_t ccpInstance, u16_t serviceNumber,
                                            u8_t const *const serviceParameters,
                                            Qx_Can_Ccp_Command_ActionService_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_Test(Qx_PortHandle_t portHandle, u8_t ccpInstance, u16_t stationAddress);
Qx_Error_t Qx_Can_Ccp_Command_StartStopAll(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                           Qx_Can_Ccp_Command_StartStopAll_Mode_t mode);
Qx_Error_t Qx_Can_Ccp_Command_GetActiveCalPage(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                               Qx_Can_Ccp_Command_GetActiveCalPage_Rsp_t *const response);
Qx_Error_t Qx_Can_Ccp_Command_GetCcpVersion(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t mainVersion,
                                            u8_t releaseVersion,
                                            Qx_Can_Ccp_Command_GetCcpVersion_Rsp_t *const response);

#ifdef __cplusplus
}
#endif

#endif
