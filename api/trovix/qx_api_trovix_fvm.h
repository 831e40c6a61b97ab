/*
 * Declarations of libqx_api_trovix's freshness value manager as the
 * bindings see them, in the library's own declaration order.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_FVM_H
#define QX_API_TROVIX_FVM_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

/* ---- Communication control and freshness access -------------------------------------
 * Every command of the freshness value manager begins with its flags and the
 * identifier of the freshness value it configures or addresses. */

typedef u32_t Qx_Trovix_Fvm_StartCommunication_CmdFlags_t;

typedef struct {
  Qx_Trovix_Fvm_StartCommunication_CmdFlags_t Flags;
  u32_t FreshnessValueId;
} Qx_Trovix_Fvm_StartCommunication_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_StartCommunication(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_Fvm_StartCommunication_Cmd_t const *const startCommunicationCmd);

typedef u32_t Qx_Trovix_Fvm_StopCommunication_CmdFlags_t;

typedef struct {
  Qx_Trovix_Fvm_StopCommunication_CmdFlags_t Flags;
  u32_t FreshnessValueId;
} Qx_Trovix_Fvm_StopCommunication_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_StopCommunication(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_Fvm_StopCommunication_Cmd_t const *const stopCommunicationCmd);

typedef u32_t Qx_Trovix_Fvm_GetFreshness_CmdFlags_t;

typedef struct {
  Qx_Trovix_Fvm_GetFreshness_CmdFlags_t Flags;
  u32_t FreshnessValueId;
} Qx_Trovix_Fvm_GetFreshness_Cmd_t;

/* The library writes all 8 bytes of the caller's cell. */
Qx_Error_t Qx_Trovix_Fvm_GetFreshness(Qx_PortHandle_t portHandle,
                                      Qx_Trovix_Fvm_GetFreshness_Cmd_t const *const getFreshnessCmd,
                                      u64_t *const freshnessValue);

typedef u32_t Qx_Trovix_Fvm_SetFreshness_CmdFlags_t;

typedef struct {
  Qx_Trovix_Fvm_SetFreshness_CmdFlags_t Flags;
  u32_t FreshnessValueId;
  u64_t Value; /* at 8 */
} Qx_Trovix_Fvm_SetFreshness_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_SetFreshness(Qx_PortHandle_t portHandle,
                                      Qx_Trovix_Fvm_SetFreshness_Cmd_t const *const setFreshnessCmd);

/* ---- Counter schemes Custom1, Custom3 and Custom4 -------------------------------------- */

typedef u32_t Qx_Trovix_Fvm_FreshnessValue_Custom1_CmdFlags_t;

typedef struct {
  Qx_Trovix_Fvm_FreshnessValue_Custom1_CmdFlags_t Flags;
  u32_t FreshnessValueId;
  u32_t CsmJobId; /* crypto job that authenticates the master tick */
  u32_t TimeIncrementPeriod;
  u32_t MasterTickBroadcastPeriod;
  u32_t MasterTickBroadcastPeriodOnStartup;
  u16_t MasterTickBroadcastCountOnStartup;
  u16_t DataId;
  u8_t StatusByte;
  u8_t MasterTickLength;
  u8_t AuthenticatorLength;
  u8_t reserved1;
  u32_t TxPduId_MasterTick;
  u32_t BroadcastTpMessagePartDelay;
} Qx_Trovix_Fvm_FreshnessValue_Custom1_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_FreshnessValue_Custom1(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_Fvm_FreshnessValue_Custom1_Cmd_t const *const custom1Cmd);

typedef u32_t Qx_Trovix_Fvm_FreshnessValue_Custom3_Master_CmdFlags_t;

typedef struct {
  Qx_Trovix_Fvm_FreshnessValue_Custom3_Master_CmdFlags_t Flags;
  u32_t FreshnessValueId;
  u32_t TimeIncrementPeriod;
  u32_t MasterTickBroadcastPeriod;
  u32_t MasterTickBroadcastPeriodOnStartup;
  u16_t MasterTickBroadcastCountOnStartup;
  u8_t StatusByte;
  u8_t MasterTickLength;
  u32_t TxPduId_MasterTick;
} Qx_Trovix_Fvm_FreshnessValue_Custom3_Master_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_FreshnessValue_Custom3_Master(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom3_Master_Cmd_t const *const custom3MasterCmd);

typedef u32_t Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave_CmdFlags_t;

typedef struct {
  Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave_CmdFlags_t Flags;
  u32_t FreshnessValueId;
  u32_t TimeIncrementPeriod;
  u8_t MasterTickLength;
  u8_t DecreaseAcceptanceTolerance;
  u8_t reserved1;
  u8_t reserved2;
  u32_t RxPduId_MasterTick;
} Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave_Cmd_t const *const custom3SlaveCmd);

typedef u32_t Qx_Trovix_Fvm_FreshnessValue_Custom4_Master_CmdFlags_t;

typedef struct {
  Qx_Trovix_Fvm_FreshnessValue_Custom4_Master_CmdFlags_t Flags;
  u32_t FreshnessValueId;
  u32_t ResetCycleIncrementPeriod;
  u32_t ResetCycleSendPeriod;
  u16_t TripCounterLength;
  u16_t ResetCounterLength;
  u16_t MessageCounterLength;
  u8_t ResetFlagLength;
  u8_t reserved;
  u32_t TxPduId_TripResetSyncMsg;
} Qx_Trovix_Fvm_FreshnessValue_Custom4_Master_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_FreshnessValue_Custom4_Master(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom4_Master_Cmd_t const *const custom4MasterCmd);

typedef u32_t Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave_CmdFlags_t;

/* Unlike the master, no periods: the lengths follow the head directly. */
typedef struct {
  Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave_CmdFlags_t Flags;
  u32_t FreshnessValueId;
  u16_t TripCounterLength;
  u16_t ResetCounterLength;
  u16_t MessageCounterLength;
  u8_t ResetFlagLength;
  u8_t reserved;
  u32_t RxPduId_TripResetSyncMsg;
  u32_t ClearAcceptanceWindow;
  u32_t Internal_FvmMasterId;
} Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave_Cmd_t const *const custom4SlaveCmd);

/* ---- Time-server scheme Custom2 ------------------------------------------------------
 * Five roles; the commands that name an ECU freshness value refer to one
 * configured before. */

typedef u32_t Qx_Trovix_Fvm_Custom2_TimeServerEcu_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom2_TimeServerEcu_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t CsmJobId;
  u32_t TimeIncrementPeriod;
  u8_t TimeSendPeriod;
  u8_t reserved0;
  u8_t reserved1;
  u8_t reserved2;
  u32_t TxPduId_UnauthenticatedTime;
} Qx_Trovix_Fvm_Custom2_TimeServerEcu_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom2_TimeServerEcu(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom2_TimeServerEcu_Cmd_t const *const custom2TimeServerEcuCmd);

typedef u32_t Qx_Trovix_Fvm_Custom2_PartEcu_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom2_PartEcu_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t TimeIncrementPeriod;
  u32_t TimeJitterMax;
  u32_t TimeRequestTimeout;
  u32_t RxPduId_AuthenticatedTime;
  u32_t RxPduId_UnauthenticatedTime;
} Qx_Trovix_Fvm_Custom2_PartEcu_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom2_PartEcu(Qx_PortHandle_t portHandle,
                                         Qx_Trovix_Fvm_Custom2_PartEcu_Cmd_t const *const custom2PartEcuCmd);

typedef u32_t Qx_Trovix_Fvm_Custom2_AuthBroadcast_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom2_AuthBroadcast_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t StartUpTime;
  u32_t ECU_FreshnessValueId;
} Qx_Trovix_Fvm_Custom2_AuthBroadcast_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom2_AuthBroadcast(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom2_AuthBroadcast_Cmd_t const *const custom2AuthBroadcastCmd);

typedef u32_t Qx_Trovix_Fvm_Custom2_PartEcuChallenge_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom2_PartEcuChallenge_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t ECU_FreshnessValueId;
  u32_t CsmJobId;
  u32_t TxPduId_Challenge;
} Qx_Trovix_Fvm_Custom2_PartEcuChallenge_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom2_PartEcuChallenge(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom2_PartEcuChallenge_Cmd_t const *const custom2PartEcuChallengeCmd);

typedef u32_t Qx_Trovix_Fvm_Custom2_TimeServerEcuResponse_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom2_TimeServerEcuResponse_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t ECU_FreshnessValueId;
  u32_t RxPduId_Challenge;
  u32_t TxPduId_Response;
} Qx_Trovix_Fvm_Custom2_TimeServerEcuResponse_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom2_TimeServerEcuResponse(
    Qx_PortHandle_t portHandle,
    Qx_Trovix_Fvm_Custom2_TimeServerEcuResponse_Cmd_t const *const custom2TimeServerEcuResponseCmd);

/* ---- Time-server scheme Custom5 ------------------------------------------------------
 * The roles of Custom2, naming a Com PDU and its signal for each item sent
 * or received; three roles carry a session-based counter length. */

typedef u32_t Qx_Trovix_Fvm_Custom5_TimeServerEcu_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom5_TimeServerEcu_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t CsmJobId;
  u32_t TimeIncrementPeriod;
  u8_t TimeSendPeriod;
  u8_t reserved0;
  u8_t reserved1;
  u8_t reserved2;
  u32_t ComTxPduId_UnauthenticatedTime;
  u32_t ComTxPduSignalId_UnauthenticatedTime;
} Qx_Trovix_Fvm_Custom5_TimeServerEcu_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom5_TimeServerEcu(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom5_TimeServerEcu_Cmd_t const *const custom5TimeServerEcuCmd);

typedef u32_t Qx_Trovix_Fvm_Custom5_PartEcu_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom5_PartEcu_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t TimeIncrementPeriod;
  u32_t TimeJitterMax;
  u32_t TimeRequestTimeout;
  u32_t ComRxPduId_AuthenticatedTime;
  u32_t ComRxPduSignalId_AuthenticatedTime;
  u32_t ComRxPduId_UnauthenticatedTime;
  u32_t ComRxPduSignalId_UnauthenticatedTime;
} Qx_Trovix_Fvm_Custom5_PartEcu_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom5_PartEcu(Qx_PortHandle_t portHandle,
                                         Qx_Trovix_Fvm_Custom5_PartEcu_Cmd_t const *const custom5PartEcuCmd);

typedef u32_t Qx_Trovix_Fvm_Custom5_AuthBroadcast_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom5_AuthBroadcast_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t StartUpTime;
  u32_t ECU_FreshnessValueId;
  u8_t SessionBasedCounterLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_Fvm_Custom5_AuthBroadcast_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom5_AuthBroadcast(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom5_AuthBroadcast_Cmd_t const *const custom5AuthBroadcastCmd);

typedef u32_t Qx_Trovix_Fvm_Custom5_PartEcuChallenge_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom5_PartEcuChallenge_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t ECU_FreshnessValueId;
  u32_t ComTxPduId_Challenge;
  u32_t ComTxPduSignalId_Challenge;
  u8_t SessionBasedCounterLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_Fvm_Custom5_PartEcuChallenge_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom5_PartEcuChallenge(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom5_PartEcuChallenge_Cmd_t const *const custom5PartEcuChallengeCmd);

typedef u32_t Qx_Trovix_Fvm_Custom5_TimeServerEcuResponse_Flags_t;

typedef struct {
  Qx_Trovix_Fvm_Custom5_TimeServerEcuResponse_Flags_t Flags;
  u32_t FreshnessValueId;
  u32_t ECU_FreshnessValueId;
  u32_t ComRxPduId_Challenge;
  u32_t ComRxPduSignalId_Challenge;
  u32_t ComTxPduId_Response;
  u32_t ComTxPduSignalId_Response;
  u8_t SessionBasedCounterLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_Fvm_Custom5_TimeServerEcuResponse_Cmd_t;

Qx_Error_t Qx_Trovix_Fvm_Custom5_TimeServerEcuResponse(
    Qx_PortHandle_t portHandle,
    Qx_Trovix_Fvm_Custom5_TimeServerEcuResponse_Cmd_t const *const custom5TimeServerEcuResponseCmd);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
