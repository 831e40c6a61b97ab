/*
 * Declarations of libqx_api_trovix's time synchronisation over CAN and over
 * Ethernet as the bindings see them, in the library's own declaration order.
 *
 * Masters and slaves serve one time base of the time-base manager
 * (qx_api_trovix_stbm.h), named by TimeSyncMgrId and TimeBaseId. The library
 * lays these records out with members aligned to at most 4 bytes (the
 * Ethernet master's 8-byte PDelay lies at 36). Parameter names matter: the
 * rules of api/trovix/params.txt are applied to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_TIMESYNC_H
#define QX_API_TROVIX_TIMESYNC_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

/* ---- CAN time synchronisation ------------------------------------------------------ */

typedef u32_t Qx_Trovix_CanTimeSync_Config_Master_CmdFlags_t;
typedef u32_t Qx_Trovix_CanTimeSync_Config_Slave_CmdFlags_t;

typedef struct {
  Qx_Trovix_CanTimeSync_Config_Master_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t CanId; /* of the time-synchronisation messages */
  u8_t TimeSyncMgrId;
  u8_t reserved3;
  u16_t TimeBaseId;
  u32_t CyclicMessageTime;
  u32_t CyclicMessageResumeTime;
  u32_t DebounceTime;
  u32_t TxConfirmationTimeout;
  u8_t DataIdListSync[16];
  u8_t DataIdListFup[16];
} Qx_Trovix_CanTimeSync_Config_Master_Cmd_t;

typedef struct {
  Qx_Trovix_CanTimeSync_Config_Slave_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t CanId;
  u8_t TimeSyncMgrId;
  u8_t reserved3;
  u16_t TimeBaseId;
  u32_t FollowUpTimeout;
  u8_t SequenceCounterJumpWidth;
  u8_t CrcValidatedType; /* a QX_TROVIX__CAN_TIME_SYNC__CRC_VALIDATION__ value */
  u8_t reserved4;
  u8_t reserved5;
  u8_t DataIdListSync[16];
  u8_t DataIdListFup[16];
} Qx_Trovix_CanTimeSync_Config_Slave_Cmd_t;

Qx_Error_t Qx_Trovix_CanTimeSync_Config_Master(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_CanTimeSync_Config_Master_Cmd_t const *const masterCmd);
Qx_Error_t Qx_Trovix_CanTimeSync_Config_Slave(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_CanTimeSync_Config_Slave_Cmd_t const *const slaveCmd);

/* ---- Ethernet time synchronisation ------------------------------------------------- */

typedef u32_t Qx_Trovix_EthTimeSync_Config_Socket_CmdFlags_t;
typedef u32_t Qx_Trovix_EthTimeSync_Config_Master_CmdFlags_t;
typedef u32_t Qx_Trovix_EthTimeSync_Config_Slave_CmdFlags_t;

typedef struct {
  Qx_Trovix_EthTimeSync_Config_Socket_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t SocketId;
  u32_t VlanId;
  u8_t DestMacAddress[6];
  u8_t FramePrio;
  u8_t reserved3;
} Qx_Trovix_EthTimeSync_Config_Socket_Cmd_t;

typedef struct {
  Qx_Trovix_EthTimeSync_Config_Master_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t SocketId;
  u8_t TimeSyncMgrId;
  u8_t reserved3;
  u16_t TimeBaseId;
  u32_t DebounceTime;
  u32_t CyclicMessageResumeTime;
  u32_t CyclicMessageTime;
  u32_t PDelayTxRequestPeriod;
  u32_t PDelayRespAndRespFupTimeout;
  u64_t PDelay;
  u64_t PDelayThreshold;
} Qx_Trovix_EthTimeSync_Config_Master_Cmd_t;

typedef struct {
  Qx_Trovix_EthTimeSync_Config_Slave_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t SocketId;
  u8_t TimeSyncMgrId;
  u8_t reserved3;
  u16_t TimeBaseId;
  u32_t DebounceTime;
  u32_t PDelayTxRequestPeriod;
  u32_t PDelayRespAndRespFupTimeout;
  u64_t PDelay;
  u64_t PDelayThreshold;
  u32_t FollowUpTimeout;
  u16_t SequenceCounterJumpWidth;
  u8_t reserved4;
  u8_t reserved5;
} Qx_Trovix_EthTimeSync_Config_Slave_Cmd_t;

Qx_Error_t Qx_Trovix_EthTimeSync_Config_Socket(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_EthTimeSync_Config_Socket_Cmd_t const *const socketCmd);
Qx_Error_t Qx_Trovix_EthTimeSync_Config_Master(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_EthTimeSync_Config_Master_Cmd_t const *const ethMasterCmd);
Qx_Error_t Qx_Trovix_EthTimeSync_Config_Slave(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_EthTimeSync_Config_Slave_Cmd_t const *const ethSlaveCmd);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
