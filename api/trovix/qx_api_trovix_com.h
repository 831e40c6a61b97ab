/*
 * Declarations of libqx_api_trovix's communication manager and Com signal
 * monitor as the bindings see them, in the library's own declaration order.
 * Parameter names matter: the rules of api/trovix/params.txt are applied to
 * exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_COM_H
#define QX_API_TROVIX_COM_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- Communication manager ------------------------------------------------------ */

typedef u32_t Qx_Trovix_ComManager_User_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_ComManager_ComMode_Request_CmdFlags_t;

/* One bus mapping of a user. */
typedef struct {
  u8_t BusType; /* a QX_TROVIX__BUS_TYPE__ value */
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved;
} Qx_Trovix_ComManager_User_Config_Mappings_t;

/* One user of the list. */
typedef struct {
  char Name[256];
  u32_t UserId;
  u32_t reserved;
} Qx_Trovix_ComManager_User_t;

Qx_Error_t Qx_Trovix_ComManager_User_Config(Qx_PortHandle_t portHandle, Qx_Trovix_ComManager_User_Config_CmdFlags_t flags,
                                            char const *const userName, u32_t numberOfMappings,
                                            Qx_Trovix_ComManager_User_Config_Mappings_t const *const mappings,
                                            u32_t *const userId);
Qx_Error_t Qx_Trovix_ComManager_NumberOfUsers_Get(Qx_PortHandle_t portHandle, u32_t *const userCount);
/* *numberOfUsers: the room at users on entry, the records written on return. */
Qx_Error_t Qx_Trovix_ComManager_UserList_Get(Qx_PortHandle_t portHandle, u32_t *const numberOfUsers,
                                             Qx_Trovix_ComManager_User_t *const users);
Qx_Error_t Qx_Trovix_ComManager_UserId_Get(Qx_PortHandle_t portHandle, char const *const userName,
                                           u32_t *const userId);
Qx_Error_t Qx_Trovix_ComManager_ResetUserBuffer(Qx_PortHandle_t portHandle);
/* A mode is a QX_TROVIX__COM_MANAGER__COM_MODE__ value in a u8_t. */
Qx_Error_t Qx_Trovix_ComManager_ComMode_Request(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_ComManager_ComMode_Request_CmdFlags_t flags, u32_t userId,
                                                u8_t comMode);
Qx_Error_t Qx_Trovix_ComManager_ComMode_GetCurrent(Qx_PortHandle_t portHandle, u32_t userId, u8_t *const comMode);
Qx_Error_t Qx_Trovix_ComManager_ComMode_GetRequested(Qx_PortHandle_t portHandle, u32_t userId, u8_t *const comMode);

/* ---- Com signal monitor ----------------------------------------------------------- */

typedef u32_t Qx_Trovix_Com_SignalMonitorId_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_Delete_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_Start_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_Stop_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_GetSignalInfo_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_GetSignalData_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal_CmdFlags_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_Config_Signal_Flags_t;
typedef u32_t Qx_Trovix_Com_SignalMonitor_Signal_Flags_t;

/* One monitored signal. */
typedef struct {
  Qx_Trovix_SignalHandle_t SignalHandle;
  u8_t reserved1;
  u8_t reserved2;
  Qx_Trovix_Com_SignalMonitor_Config_Signal_Flags_t Flags;
} Qx_Trovix_Com_SignalMonitor_Config_Signal_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitor_Config_CmdFlags_t Flags;
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
  u32_t MaxEntryDataSize;
  u32_t NumberOfEntries;
  u16_t NumberOfSignals; /* records at the signals argument */
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_Com_SignalMonitor_Config_Cmd_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
} Qx_Trovix_Com_SignalMonitor_Config_Rsp_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitor_Delete_CmdFlags_t Flags;
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
} Qx_Trovix_Com_SignalMonitor_Delete_Cmd_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitor_Start_CmdFlags_t Flags;
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
} Qx_Trovix_Com_SignalMonitor_Start_Cmd_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u64_t Timestamp;
} Qx_Trovix_Com_SignalMonitor_Start_Rsp_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitor_Stop_CmdFlags_t Flags;
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
} Qx_Trovix_Com_SignalMonitor_Stop_Cmd_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u64_t Timestamp;
} Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitor_GetSignalInfo_CmdFlags_t Flags;
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
} Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Cmd_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
  Qx_Trovix_SignalHandle_t SignalHandle;
  u8_t reserved1;
  u8_t reserved2;
  u32_t DataLength;
} Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Rsp_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitor_GetSignalData_CmdFlags_t Flags;
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
} Qx_Trovix_Com_SignalMonitor_GetSignalData_Cmd_t;

/* 24 bytes: 4 bytes of padding follow SignalFlags. */
typedef struct {
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
  Qx_Trovix_SignalHandle_t SignalHandle;
  u8_t reserved1;
  u8_t reserved2;
  u64_t Timestamp;
  Qx_Trovix_Com_SignalMonitor_Signal_Flags_t SignalFlags;
} Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t;

typedef struct {
  Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal_CmdFlags_t Flags;
  Qx_Trovix_Com_SignalMonitorId_t SignalMonitorId;
} Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal_Cmd_t;

Qx_Error_t Qx_Trovix_Com_SignalMonitor_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_Com_SignalMonitor_Config_Cmd_t const *const configCmd,
                                              Qx_Trovix_Com_SignalMonitor_Config_Signal_t const *const monitorSignals,
                                              Qx_Trovix_Com_SignalMonitor_Config_Rsp_t *const configRsp);
Qx_Error_t Qx_Trovix_Com_SignalMonitor_Delete(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_Com_SignalMonitor_Delete_Cmd_t const *const deleteCmd);
Qx_Error_t Qx_Trovix_Com_SignalMonitor_Start(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_Com_SignalMonitor_Start_Cmd_t const *const startCmd,
                                             Qx_Trovix_Com_SignalMonitor_Start_Rsp_t *const startRsp);
Qx_Error_t Qx_Trovix_Com_SignalMonitor_Stop(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_Com_SignalMonitor_Stop_Cmd_t const *const stopCmd,
                                            Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t *const stopRsp);
Qx_Error_t Qx_Trovix_Com_SignalMonitor_GetSignalInfo(Qx_PortHandle_t portHandle,
                                                     Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Cmd_t const *const infoCmd,
                                                     Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Rsp_t *const infoRsp);
/* *dataLength: the room at signalData on entry, the data's length on return. */
Qx_Error_t Qx_Trovix_Com_SignalMonitor_GetSignalData(Qx_PortHandle_t portHandle,
                                                     Qx_Trovix_Com_SignalMonitor_GetSignalData_Cmd_t const *const dataCmd,
                                                     Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t *const dataRsp,
                                                     u32_t *const dataLength, u8_t *const signalData);
Qx_Error_t Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal_Cmd_t const *const switchCmd);

#ifdef __cplusplus
}
#endif

#endif
