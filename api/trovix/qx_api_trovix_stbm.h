/*
 * Declarations of libqx_api_trovix's time-base manager as the bindings see
 * them, in the library's own declaration order.
 *
 * Every command record begins with the manager's command header: Flags (the
 * operation's own flag type), TimeSyncMgrId, reserved1 and TimeBaseId, which
 * name the manager instance and the time base the command addresses.
 * Response records have no header.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8
 * (the timestamp of Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t lies at 4).
 * Parameter names matter: the rules of api/trovix/params.txt are applied to
 * exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_STBM_H
#define QX_API_TROVIX_STBM_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

/* ---- Timestamps and configuration ------------------------------------------------ */

typedef u32_t Qx_Trovix_TimeSyncMgr_TimeBase_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_TimeCorrection_Config_CmdFlags_t;

/* A point in time or an offset: whole seconds and the nanoseconds beyond. */
typedef struct {
  u64_t Seconds;
  u32_t Nanoseconds;
} Qx_Trovix_TimeSyncMgr_Timestamp_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_TimeBase_Config_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
  u32_t SyncLossTimeout;
  u32_t OptionalTimeTupleUpdateInterval;
  u64_t TimeLeapLimitFuture;
  u64_t TimeLeapLimitPast;
  u32_t ClearTimeLeapCount;
  u16_t UnderlyingSyncTimeBase; /* a time-base identifier */
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_TimeCorrection_Config_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
  u32_t MeasurementDuration;
  u16_t RateCorrectionsPerMeasurementDuration;
  u8_t reserved2;
  u8_t reserved3;
  u64_t OffsetCorrectionJumpThreshold;
  u64_t OffsetCorrectionAdaptionInterval;
} Qx_Trovix_TimeSyncMgr_TimeCorrection_Config_Cmd_t;

Qx_Error_t Qx_Trovix_TimeSyncMgr_TimeBase_Config(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t const *const configCmd);
Qx_Error_t Qx_Trovix_TimeSyncMgr_TimeCorrection_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_TimeCorrection_Config_Cmd_t const *const correctionCmd);

/* ---- Global time, offsets and rate ------------------------------------------------- */

typedef u32_t Qx_Trovix_TimeSyncMgr_GetCurrentTime_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_SetGlobalTime_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_UpdateGlobalTime_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_SetOffset_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_GetOffset_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_GetRateDeviation_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_SetRateCorrection_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_GetTimeLeap_CmdFlags_t;
/* Status bits of a time base, as the library reports them. */
typedef u8_t Qx_Trovix_TimeSyncMgr_Status_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_GetCurrentTime_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
} Qx_Trovix_TimeSyncMgr_GetCurrentTime_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_Timestamp_t Time;
  u8_t UserDataLength;
  u8_t Status;
  u8_t reserved1;
  u8_t reserved2;
  u8_t UserData[3];
  u8_t reserved3;
} Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_SetGlobalTime_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
  Qx_Trovix_TimeSyncMgr_Timestamp_t NewGlobalTime;
  u8_t UserDataLength;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u8_t UserData[3];
  u8_t reserved5;
} Qx_Trovix_TimeSyncMgr_SetGlobalTime_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_UpdateGlobalTime_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
  Qx_Trovix_TimeSyncMgr_Timestamp_t NewGlobalTime;
  u8_t UserDataLength;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u8_t UserData[3];
  u8_t reserved5;
} Qx_Trovix_TimeSyncMgr_UpdateGlobalTime_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_SetOffset_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
  Qx_Trovix_TimeSyncMgr_Timestamp_t NewOffset;
  u8_t UserDataLength;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u8_t UserData[3];
  u8_t reserved5;
} Qx_Trovix_TimeSyncMgr_SetOffset_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_GetOffset_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
} Qx_Trovix_TimeSyncMgr_GetOffset_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_Timestamp_t Offset;
  u8_t UserDataLength;
  u8_t Status;
  u8_t reserved1;
  u8_t reserved2;
  u8_t UserData[3];
  u8_t reserved3;
} Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_GetRateDeviation_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
} Qx_Trovix_TimeSyncMgr_GetRateDeviation_Cmd_t;

typedef struct {
  s32_t RateDeviation;
} Qx_Trovix_TimeSyncMgr_GetRateDeviation_Rsp_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_SetRateCorrection_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
  s32_t RateCorrection;
} Qx_Trovix_TimeSyncMgr_SetRateCorrection_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_GetTimeLeap_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
} Qx_Trovix_TimeSyncMgr_GetTimeLeap_Cmd_t;

typedef struct {
  s64_t TimeLeap;
} Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t;

Qx_Error_t Qx_Trovix_TimeSyncMgr_GetCurrentTime(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_TimeSyncMgr_GetCurrentTime_Cmd_t const *const currentTimeCmd,
                                                Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t *const currentTimeRsp);
Qx_Error_t Qx_Trovix_TimeSyncMgr_SetGlobalTime(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_TimeSyncMgr_SetGlobalTime_Cmd_t const *const setTimeCmd);
Qx_Error_t Qx_Trovix_TimeSyncMgr_UpdateGlobalTime(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_UpdateGlobalTime_Cmd_t const *const updateTimeCmd);
Qx_Error_t Qx_Trovix_TimeSyncMgr_SetOffset(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_TimeSyncMgr_SetOffset_Cmd_t const *const setOffsetCmd);
Qx_Error_t Qx_Trovix_TimeSyncMgr_GetOffset(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_TimeSyncMgr_GetOffset_Cmd_t const *const getOffsetCmd,
                                           Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t *const getOffsetRsp);
Qx_Error_t Qx_Trovix_TimeSyncMgr_GetRateDeviation(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_GetRateDeviation_Cmd_t const *const rateDeviationCmd,
    Qx_Trovix_TimeSyncMgr_GetRateDeviation_Rsp_t *const rateDeviationRsp);
Qx_Error_t Qx_Trovix_TimeSyncMgr_SetRateCorrection(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_SetRateCorrection_Cmd_t const *const rateCorrectionCmd);
Qx_Error_t Qx_Trovix_TimeSyncMgr_GetTimeLeap(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_TimeSyncMgr_GetTimeLeap_Cmd_t const *const timeLeapCmd,
                                             Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t *const timeLeapRsp);

/* ---- Status, update counter, user data and initial values ---------------------------- */

typedef u32_t Qx_Trovix_TimeSyncMgr_GetStatus_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_TrigTimeTransmission_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_GetUpdateCounter_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_SetUserData_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_SetInitValue_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_GetInitValue_CmdFlags_t;
typedef u32_t Qx_Trovix_TimeSyncMgr_GetInitValue_RspFlags_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_GetStatus_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
} Qx_Trovix_TimeSyncMgr_GetStatus_Cmd_t;

typedef struct {
  u8_t SyncTimeBaseStatus;
  u8_t OffsetTimeBaseStatus;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_TimeSyncMgr_GetStatus_Rsp_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_TrigTimeTransmission_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
} Qx_Trovix_TimeSyncMgr_TrigTimeTransmission_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_GetUpdateCounter_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
} Qx_Trovix_TimeSyncMgr_GetUpdateCounter_Cmd_t;

typedef struct {
  u8_t CounterValue;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_TimeSyncMgr_GetUpdateCounter_Rsp_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_SetUserData_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
  u8_t UserDataLength; /* valid bytes of UserData */
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u8_t UserData[3];
  u8_t reserved5;
} Qx_Trovix_TimeSyncMgr_SetUserData_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_SetInitValue_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
  Qx_Trovix_TimeSyncMgr_Timestamp_t GlobalTime;
  s32_t RateCorrection;
  u8_t UserDataLength;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u8_t UserData[3];
  u8_t reserved5;
} Qx_Trovix_TimeSyncMgr_SetInitValue_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_GetInitValue_CmdFlags_t Flags;
  u8_t TimeSyncMgrId;
  u8_t reserved1;
  u16_t TimeBaseId;
} Qx_Trovix_TimeSyncMgr_GetInitValue_Cmd_t;

typedef struct {
  Qx_Trovix_TimeSyncMgr_GetInitValue_RspFlags_t Flags;
  Qx_Trovix_TimeSyncMgr_Timestamp_t GlobalTime;
  s32_t RateCorrection;
  u8_t UserDataLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t UserData[3];
  u8_t reserved4;
} Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t;

Qx_Error_t Qx_Trovix_TimeSyncMgr_GetStatus(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_TimeSyncMgr_GetStatus_Cmd_t const *const statusCmd,
                                           Qx_Trovix_TimeSyncMgr_GetStatus_Rsp_t *const statusRsp);
Qx_Error_t Qx_Trovix_TimeSyncMgr_TrigTimeTransmission(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_TrigTimeTransmission_Cmd_t const *const transmissionCmd);
Qx_Error_t Qx_Trovix_TimeSyncMgr_GetUpdateCounter(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_GetUpdateCounter_Cmd_t const *const updateCounterCmd,
    Qx_Trovix_TimeSyncMgr_GetUpdateCounter_Rsp_t *const updateCounterRsp);
Qx_Error_t Qx_Trovix_TimeSyncMgr_SetUserData(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_TimeSyncMgr_SetUserData_Cmd_t const *const userDataCmd);
Qx_Error_t Qx_Trovix_TimeSyncMgr_SetInitValue(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_TimeSyncMgr_SetInitValue_Cmd_t const *const setInitValueCmd);
Qx_Error_t Qx_Trovix_TimeSyncMgr_GetInitValue(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_TimeSyncMgr_GetInitValue_Cmd_t const *const getInitValueCmd,
                                              Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t *const getInitValueRsp);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
