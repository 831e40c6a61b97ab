/*
 * Declarations of libqx_api_can's network management and transmit table as
 * the bindings see them, in the library's own declaration order: OSEK NM
 * configuration and switch-off; AUTOSAR NM configuration, node state and
 * requests; starting, stopping, waking and sending to sleep the NM nodes of
 * a list or a group, and moving nodes between groups; the transmit table in
 * its simple and standard forms.
 *
 * No enumeration is declared here (none of these families has named
 * values). Parameter names matter: the list, array, output and journal rules
 * are applied to exact `type name` pairs in api/can/params.txt.
 */
#ifndef QX_API_CAN_NM_H
#define QX_API_CAN_NM_H

#include "qx_api_can.h"

#ifdef __cplusplus
extern "C" {
#endif

/* ---- OSEK network management ---------------------------------------------- */

typedef u32_t Qx_Can_Nm_Config_Osek_CmdFlags_t;
typedef u8_t Qx_Can_Nm_Config_Osek_Type_t;

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

/* OSEK NM with its logical ring: the identifiers of the NM messages (Range),
 * how the message type and the sleep bits are coded in them (ProtocolBits,
 * RingStableBit) and the ring's times. */
typedef struct {
  Qx_Can_Nm_Config_Osek_CmdFlags_t CmdFlags;
  Qx_Can_Nm_Config_Osek_Type_t Type;
  u8_t Dlc;
  u8_t DestinationByteOffset;
  u8_t reserved;
  struct {
    u32_t IdBase;
    u32_t IdMask;
    u16_t NumberOfNodes;
    u8_t reserved1;
    u8_t reserved2;
  } Range;
  struct {
    u32_t MessageTypeMask;
    u32_t AliveCode;
    u32_t RingCode;
    u32_t LimpHomeCode;
    u32_t SleepIndMask;
    u32_t SleepIndCodeTrue;
    u32_t SleepIndCodeFalse;
    u32_t SleepAckMask;
    u32_t SleepAckCodeTrue;
    u32_t SleepAckCodeFalse;
  } ProtocolBits;
  struct {
    u32_t RingStableMask;
    u32_t RingStableCodeTrue;
    u32_t RingStableCodeFalse;
  } RingStableBit;
  struct {
    u16_t Typ;
    u16_t Max;
    u16_t Error;
    u16_t WaitBusSleep;
  } Times;
} Qx_Can_Nm_Config_Osek_Parameters_t;

#pragma pack(pop)

/* Switches the port's network management off, OSEK and AUTOSAR alike. */
Qx_Error_t Qx_Can_Nm_Config_Off(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Nm_Config_Osek(Qx_PortHandle_t portHandle,
                                 Qx_Can_Nm_Config_Osek_Parameters_t const *const parameters);

/* ---- AUTOSAR network management ------------------------------------------- */

typedef u16_t Qx_Can_Nm_Config_Autosar_Type_t;
typedef u32_t Qx_Can_Nm_Config_Autosar_CmdFlags_t;
typedef u32_t Qx_Can_Nm_Config_Autosar_Global_CmdFlags_t;
typedef u32_t Qx_Can_Nm_Config_Autosar_Node_CmdFlags_t;
typedef u32_t Qx_Can_Nm_Autosar_Node_GetState_RspFlags_t;
typedef u8_t Qx_Can_Nm_Autosar_PduNidPosition_t;
typedef u8_t Qx_Can_Nm_Autosar_PduCbvPosition_t;
typedef u8_t Qx_Can_Nm_Autosar_PduStatePosition_t;
typedef u8_t Qx_Can_Nm_Autosar_NodeState_t;
typedef u8_t Qx_Can_Nm_Autosar_NetworkMode_t;

#pragma pack(push, 4)

/* The whole AUTOSAR NM: its kind, times (u16_t) and the identifiers of its
 * nodes. */
typedef struct {
  Qx_Can_Nm_Config_Autosar_Type_t Type;
  u8_t reserved1;
  u8_t reserved2;
  Qx_Can_Nm_Config_Autosar_CmdFlags_t CmdFlags;
  struct {
    u16_t NmTimeout;
    u16_t WaitBusSleep;
    u16_t MsgCycle;
    u16_t RepeatMsg;
  } Times;
  struct {
    u32_t IdBase;
    u16_t NumberOfNodes;
    u8_t reserved1;
    u8_t reserved2;
  } Range;
} Qx_Can_Nm_Config_Autosar_Parameters_t;

/* What all simulated nodes share: times (u32_t) and the layout of the NM
 * message. */
typedef struct {
  Qx_Can_Nm_Config_Autosar_Global_CmdFlags_t CmdFlags;
  struct {
    u32_t NmTimeout;
    u32_t WaitBusSleep;
    u32_t MsgCycle;
    u32_t RepeatMsg;
  } Times;
  Qx_Can_Nm_Autosar_PduNidPosition_t PduNidPosition;
  Qx_Can_Nm_Autosar_PduCbvPosition_t PduCbvPosition;
  Qx_Can_Nm_Autosar_PduStatePosition_t PduStatePosition;
  u8_t PduLength;
  u8_t PduData[8];
} Qx_Can_Nm_Config_Autosar_Global_Parameters_t;

/* One simulated node; its message bytes apply where their Mask bits are
 * set. */
typedef struct {
  Qx_Can_Nm_Config_Autosar_Node_CmdFlags_t CmdFlags;
  u8_t NodeId;
  u8_t PduLength;
  u8_t NumberOfImmediateNmTransmissions;
  u8_t reserved2;
  u32_t MsgCycleOffset;
  u32_t MsgReducedTime;
  struct {
    u8_t Mask[8];
    u8_t Data[8];
  } PduData;
  u32_t ImmediateNmCycleTime;
} Qx_Can_Nm_Config_Autosar_Node_Parameters_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_Nm_Config_Autosar(Qx_PortHandle_t portHandle,
                                    Qx_Can_Nm_Config_Autosar_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Nm_Config_Autosar_Global(Qx_PortHandle_t portHandle,
                                           Qx_Can_Nm_Config_Autosar_Global_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Nm_Config_Autosar_Node(Qx_PortHandle_t portHandle,
                                         Qx_Can_Nm_Config_Autosar_Node_Parameters_t const *const parameters);
Qx_Error_t Qx_Can_Nm_Autosar_Node_GetState(Qx_PortHandle_t portHandle, u8_t nodeNumber,
                                           Qx_Can_Nm_Autosar_Node_GetState_RspFlags_t *const nmRspFlags,
                                           Qx_Can_Nm_Autosar_NodeState_t *const nmNodeState,
                                           Qx_Can_Nm_Autosar_NetworkMode_t *const nmNetworkMode);
Qx_Error_t Qx_Can_Nm_Autosar_RepeatMessageRequest(Qx_PortHandle_t portHandle, u8_t nodeNumber);
Qx_Error_t Qx_Can_Nm_Autosar_RequestBusSynchronization(Qx_PortHandle_t portHandle, u8_t nodeNumber);
/* Two arrays of 8 bytes: the NM message bytes to set and the mask that
 * selects them. */
Qx_Error_t Qx_Can_Nm_Config_SetData(Qx_PortHandle_t portHandle, u8_t const *const nmDataMask,
                                    u8_t const *const nmData);

/* ---- NM nodes and groups -------------------------------------------------- */

/* A node list is a count and that many node numbers. */
Qx_Error_t Qx_Can_Nm_Nodes_Start(Qx_PortHandle_t portHandle, u8_t numberOfNodes, u8_t const *const nodes);
Qx_Error_t Qx_Can_Nm_Nodes_Stop(Qx_PortHandle_t portHandle, u8_t numberOfNodes, u8_t const *const nodes);
Qx_Error_t Qx_Can_Nm_Nodes_GoToMode_Awake(Qx_PortHandle_t portHandle, u8_t numberOfNodes, u8_t const *const nodes);
Qx_Error_t Qx_Can_Nm_Nodes_GoToMode_BusSleep(Qx_PortHandle_t portHandle, u8_t numberOfNodes, u8_t const *const nodes);
Qx_Error_t Qx_Can_Nm_Nodes_ChangeGroup(Qx_PortHandle_t portHandle, u8_t groupNumber, u8_t numberOfNodes,
                                       u8_t const *const nodes);
Qx_Error_t Qx_Can_Nm_Group_Start(Qx_PortHandle_t portHandle, u8_t groupNumber);
Qx_Error_t Qx_Can_Nm_Group_Stop(Qx_PortHandle_t portHandle, u8_t groupNumber);
Qx_Error_t Qx_Can_Nm_Group_GoToMode_Awake(Qx_PortHandle_t portHandle, u8_t groupNumber);
Qx_Error_t Qx_Can_Nm_Group_GoToMode_BusSleep(Qx_PortHandle_t portHandle, u8_t groupNumber);

/* ---- Transmit table ------------------------------------------------------- */

typedef u8_t Qx_Can_Tar_TxItem_Flags_t;
typedef u8_t Qx_Can_Tar_GetState_Type_t;
typedef u8_t Qx_Can_Tar_Start_Mode_t;
typedef u32_t Qx_Can_Tar_GetState_RspFlags_t;

#pragma pack(push, 4)

/* Items of a simple table: sent with the table's identifier. */
typedef struct {
  u16_t Delay;
  Qx_Can_Tar_TxItem_Flags_t Flags;
  u8_t Dlc;
  u8_t Data[8];
} Qx_Can_Tar_TxItem_Simple_t;

typedef struct {
  u16_t Delay;
  Qx_Can_Tar_TxItem_Flags_t Flags;
  u8_t Dlc;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  Qx_Can_Data_t Data;
} Qx_Can_Tar_TxItem_Simple2_t;

/* Items of a standard table: each with its own identifier. */
typedef struct {
  u32_t Id;
  u16_t Delay;
  Qx_Can_Tar_TxItem_Flags_t Flags;
  u8_t Dlc;
  u8_t Data[8];
} Qx_Can_Tar_TxItem_Standard_t;

typedef struct {
  u32_t Id;
  u16_t Delay;
  Qx_Can_Tar_TxItem_Flags_t Flags;
  u8_t Dlc;
  Qx_Can_Data_t Data;
} Qx_Can_Tar_TxItem_Standard2_t;

#pragma pack(pop)

Qx_Error_t Qx_Can_Tar_Config_Simple(Qx_PortHandle_t portHandle, u8_t tableNumber, u32_t id,
                                    u32_t numberOfRepetitions);
/* The two byte inputs are a start-trigger and a stop-trigger byte. */
Qx_Error_t Qx_Can_Tar_Config_Standard(Qx_PortHandle_t portHandle, u8_t tableNumber, u32_t numberOfRepetitions,
                                      u32_t cmdFlags, u8_t startTriggerSource, u8_t stopTriggerSource,
                                      u8_t const *const startTrigger, u8_t const *const stopTrigger);
Qx_Error_t Qx_Can_Tar_Config_Off(Qx_PortHandle_t portHandle, u8_t tableNumber);
Qx_Error_t Qx_Can_Tar_AddTxItems_Simple(Qx_PortHandle_t portHandle, u8_t tableNumber, u16_t numberOfTxItems,
                                        Qx_Can_Tar_TxItem_Simple_t const *const simpleItems);
Qx_Error_t Qx_Can_Tar_AddTxItems_Simple2(Qx_PortHandle_t portHandle, u8_t tableNumber, u16_t numberOfTxItems,
                                         Qx_Can_Tar_TxItem_Simple2_t const *const simple2Items);
Qx_Error_t Qx_Can_Tar_AddTxItems_Standard(Qx_PortHandle_t portHandle, u8_t tableNumber, u16_t numberOfTxItems,
                                          Qx_Can_Tar_TxItem_Standard_t const *const standardItems);
Qx_Error_t Qx_Can_Tar_AddTxItems_Standard2(Qx_PortHandle_t portHandle, u8_t tableNumber, u16_t numberOfTxItems,
                                           Qx_Can_Tar_TxItem_Standard2_t const *const standard2Items);
Qx_Error_t Qx_Can_Tar_GetState(Qx_PortHandle_t portHandle, u8_t tableNumber, Qx_Can_Tar_GetState_Type_t *const tarType,
                               Qx_Can_Tar_GetState_RspFlags_t *const tarRspFlags, u32_t *const tarNumberOfItems,
                               u32_t *const tarCurrentItem);
Qx_Error_t Qx_Can_Tar_Start(Qx_PortHandle_t portHandle, u8_t tableNumber, Qx_Can_Tar_Start_Mode_t mode);
Qx_Error_t Qx_Can_Tar_Stop(Qx_PortHandle_t portHandle, u8_t tableNumber);

#ifdef __cplusplus
}
#endif

#endif
