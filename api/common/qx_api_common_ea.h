/*
 * Declarations of the on-device event/action engine of libqx_api_common, as
 * the bindings see them, in the library's own declaration order: the
 * engine's constant families, handle and flag types, the notification
 * callback, the event condition records with the event definition command,
 * the action records with the action definition command, the property,
 * simulation, detach and notification commands, and the engine's functions.
 *
 * Event and action type codes and property identifiers are stored in u16_t
 * fields; bus types, condition types and write modes in u8_t fields. No
 * field or argument has an enumeration type.
 */
#ifndef QX_API_COMMON_EA_H
#define QX_API_COMMON_EA_H

#include "qx_api_common.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Event types; the high byte groups the codes by area (no 0x701). */
typedef enum {
  QX_COMMON__EA__EVENT_TYPE__TP__RX_INDICATION = 0x100,
  QX_COMMON__EA__EVENT_TYPE__COM__RX_INDICATION = 0x200,
  QX_COMMON__EA__EVENT_TYPE__COM__TX_CONFIRMATION = 0x201,
  QX_COMMON__EA__EVENT_TYPE__COM__TRANSMIT = 0x202,
  QX_COMMON__EA__EVENT_TYPE__COM__RX_PDU_SIGNAL__RX_IND = 0x203,
  QX_COMMON__EA__EVENT_TYPE__COM__TX_PDU_SIGNAL__TX_CON = 0x204,
  QX_COMMON__EA__EVENT_TYPE__NM__BUS_SLEEP_MODE = 0x300,
  QX_COMMON__EA__EVENT_TYPE__NM__NETWORK_MODE = 0x301,
  QX_COMMON__EA__EVENT_TYPE__TRANSCEIVER__WAKE_UP = 0x400,
  QX_COMMON__EA__EVENT_TYPE__TRIGGER__SOFTWARE_IN = 0x500,
  QX_COMMON__EA__EVENT_TYPE__SOFTWARE__USER_EVENT = 0x600,
  QX_COMMON__EA__EVENT_TYPE__FLEXRAY__CYCLE_START = 0x700,
  QX_COMMON__EA__EVENT_TYPE__FLEXRAY__PDU__RX_IND = 0x702,
  QX_COMMON__EA__EVENT_TYPE__FLEXRAY__PDU__TX_CON = 0x703,
  QX_COMMON__EA__EVENT_TYPE__FLEXRAY__SYNCHRONIZED = 0x704,
  QX_COMMON__EA__EVENT_TYPE__FLEXRAY__SYNC_LOSS = 0x705,
  QX_COMMON__EA__EVENT_TYPE__BUS__RECEIVED_WAKE_UP = 0x800,
  QX_COMMON__EA__EVENT_TYPE__BUS__ACTIVITY = 0x801,
  QX_COMMON__EA__EVENT_TYPE__BUS__NO_ACTIVITY = 0x802,
  QX_COMMON__EA__EVENT_TYPE__ETHERNET__LINKED = 0x900,
  QX_COMMON__EA__EVENT_TYPE__ETHERNET__LINK_LOSS = 0x901,
  QX_COMMON__EA__EVENT_TYPE__ETHERNET__RX_FIFO__NEW_ENTRY = 0x902,
  QX_COMMON__EA__EVENT_TYPE__ETHERNET__TX_TRACE__LOW_MARK = 0x903,
  QX_COMMON__EA__EVENT_TYPE__SO_AD__SO_CON_STATE__CHGD = 0xA00,
  QX_COMMON__EA__EVENT_TYPE__UNKNOWN = 0xA01
} Qx_Common_EA_EventType_t;

typedef enum {
  QX_COMMON__EA__ACTION_TYPE__SEQUENCES__REPLAY__START_PLAYING = 0x100,
  QX_COMMON__EA__ACTION_TYPE__TRIGGER__SOFTWARE_OUT__WRITE = 0x200,
  QX_COMMON__EA__ACTION_TYPE__NOTIFY_HOST = 0x300,
  QX_COMMON__EA__ACTION_TYPE__UNKNOWN = 0x301
} Qx_Common_EA_ActionType_t;

typedef enum {
  QX_COMMON__EA__BUS_TYPE__CAN = 0,
  QX_COMMON__EA__BUS_TYPE__FLEXRAY = 1,
  QX_COMMON__EA__BUS_TYPE__UNKNOWN = 2
} Qx_Common_EA_BusType_t;

typedef enum {
  QX_COMMON__EA__EVENT_PROPERTY_ID__IS_ENABLED = 0,
  QX_COMMON__EA__EVENT_PROPERTY_ID__IS_INITIALIZED = 1,
  QX_COMMON__EA__EVENT_PROPERTY_ID__EVENT_COUNTER = 2,
  QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__IS_ENABLED = 3,
  QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__ABSOLUTE = 4,
  QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__RELATIVE = 5,
  QX_COMMON__EA__EVENT_PROPERTY_ID__UNKNOWN = 6
} Qx_Common_EA_EventPropertyId_t;

typedef enum {
  QX_COMMON__EA__ACTION_PROPERTY_ID__IS_INITIALIZED = 0,
  QX_COMMON__EA__ACTION_PROPERTY_ID__UNKNOWN = 1
} Qx_Common_EA_ActionPropertyId_t;

typedef enum {
  QX_COMMON__EA__CONDITION_TYPE__ALWAYS = 0,
  QX_COMMON__EA__CONDITION_TYPE__MASKED_NEW_EQUALS_X = 1,
  QX_COMMON__EA__CONDITION_TYPE__MASKED_NEW_DIFFERS_X = 2,
  QX_COMMON__EA__CONDITION_TYPE__UNKNOWN = 3
} Qx_Common_EA_ConditionType_t;

/* Element count of the compare buffers and of the CAN message streams. */
#define QX_COMMON__EA__COMPARE_BUFFER_SIZE 512

/* Software-out write modes; the library spells them with one underscore
 * after COMMON. */
typedef enum {
  QX_COMMON_EA__TRIGGER__SOFTWARE_OUT__WRITE__MODE__SET = 0,
  QX_COMMON_EA__TRIGGER__SOFTWARE_OUT__WRITE__MODE__RESET = 1,
  QX_COMMON_EA__TRIGGER__SOFTWARE_OUT__WRITE__MODE__TOGGLE = 2
} Qx_Common_EA_Trigger_SoftwareOut_Write_Mode_t;

#ifndef SWIG
/* Type codes of the CAN and LIN event and action kinds. The module has no
 * constants for them (its families end with UNKNOWN); they are the codes
 * this library accepts in EventType and ActionType. */
#define QX_COMMON__EA__EVENT_TYPE__CAN__TX_MESSAGE 0xB00
#define QX_COMMON__EA__EVENT_TYPE__CAN__RX_MESSAGE 0xB01
#define QX_COMMON__EA__EVENT_TYPE__CAN__ERROR_FRAME 0xB02
#define QX_COMMON__EA__EVENT_TYPE__CAN__NM_SLEEP_ACK 0xB03
#define QX_COMMON__EA__EVENT_TYPE__CAN__RX_MESSAGES 0xB04
#define QX_COMMON__EA__EVENT_TYPE__LIN__TX_FRAME 0xC00
#define QX_COMMON__EA__ACTION_TYPE__CAN__SEND_MSG 0x400
#define QX_COMMON__EA__ACTION_TYPE__CAN__START_PREP_MSG 0x401
#define QX_COMMON__EA__ACTION_TYPE__LIN__CHANGE_MSG 0x500
#define QX_COMMON__EA__ACTION_TYPE__LIN__CHANGE_SCHED_TBL 0x501
#define QX_COMMON__EA__ACTION_TYPE__LIN__STOP_SCHED 0x502
#define QX_COMMON__EA__ACTION_TYPE__LIN__CH_SCHED_TBL_EXT 0x503
#endif

/* Handles of events and actions, and flag words without named values. */
typedef u32_t Qx_Common_EA_EventHandle_t;
typedef u32_t Qx_Common_EA_ActionHandle_t;
typedef u32_t Qx_Common_EA_DeleteEvent_CmdFlags_t;
typedef u32_t Qx_Common_EA_DeleteAction_CmdFlags_t;
typedef u32_t Qx_Common_EA_SimulateEvent_CmdFlags_t;
typedef u32_t Qx_Common_EA_DetachActionFromEvent_CmdFlags_t;
typedef u32_t Qx_Common_EA_NotifyHost_AddCallback_CmdFlags_t;
typedef u32_t Qx_Common_EA_NotifyHost_RemoveCallback_CmdFlags_t;

typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Com_RxIndication_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Com_TxConfirmation_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Com_Transmit_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Com_RxPduSignal_RxInd_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Com_TxPduSignal_TxCon_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Nm_BusSleepMode_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Nm_NetworkMode_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Transceiver_WakeUp_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Trigger_SoftwareIn_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Software_UserEvent_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_RxInd_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_TxCon_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_FlexRay_Synchronized_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_FlexRay_SyncLoss_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Bus_ReceivedWakeUp_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Bus_NoActivity_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Ethernet_Linked_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Ethernet_LinkLoss_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Ethernet_RxFifo_NewEntry_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Ethernet_TxTrace_LowMark_Flags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_Flags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Can_TxMessage_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Can_RxMessage_CmdFlags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_Flags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Can_ErrorFrame_Flags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Can_NmSleepAck_Flags_t;
typedef u32_t Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_Flags_t;

typedef u32_t Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_Flags_t;
typedef u32_t Qx_Common_EA_InitAction_SubCmd_Can_StartPrepMsg_Flags_t;
typedef u32_t Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_Flags_t;
typedef u32_t Qx_Common_EA_InitAction_SubCmd_Lin_ChangeSchedTbl_Flags_t;
typedef u32_t Qx_Common_EA_InitAction_SubCmd_Lin_StopSched_Flags_t;
typedef u32_t Qx_Common_EA_InitAction_SubCmd_Lin_ChSchedTblExt_Flags_t;

/* Host notification: a native function that the library calls with the
 * port handle and two values of its own; never Python code. */
typedef void (*Qx_Common_EA_NotifyHost_Callback_t)(Qx_PortHandle_t const, u32_t, u32_t);

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

/* ---- Event conditions: transport protocol and Com ---------------------- */

typedef struct {
  u8_t Channel;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_EA_InitEvent_SubCmd_Tp_RxIndication_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Com_RxIndication_CmdFlags_t Flags;
  u32_t RxPduId;
  u32_t CompareOffset;
  u8_t CompareLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t CompareMaskAndData[512];
} Qx_Common_EA_InitEvent_SubCmd_Com_RxIndication_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Com_TxConfirmation_CmdFlags_t Flags;
  u32_t TxPduId;
  u32_t CompareOffset;
  u8_t CompareLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t CompareMaskAndData[512];
} Qx_Common_EA_InitEvent_SubCmd_Com_TxConfirmation_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Com_Transmit_CmdFlags_t Flags;
  u32_t TxPduId;
  u32_t CompareOffset;
  u8_t CompareLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t CompareMaskAndData[512];
} Qx_Common_EA_InitEvent_SubCmd_Com_Transmit_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Com_RxPduSignal_RxInd_CmdFlags_t Flags;
  u32_t RxPduId;
  u32_t RxPduSignalId;
  u8_t ConditionType;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t ConditionMask;
  u32_t ConditionX;
} Qx_Common_EA_InitEvent_SubCmd_Com_RxPduSignal_RxInd_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Com_TxPduSignal_TxCon_CmdFlags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u8_t ConditionType;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t ConditionMask;
  u32_t ConditionX;
} Qx_Common_EA_InitEvent_SubCmd_Com_TxPduSignal_TxCon_t;

/* ---- Event conditions: network management, transceiver, trigger,
 * software and FlexRay ---------------------------------------------------- */

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Nm_BusSleepMode_CmdFlags_t Flags;
  u8_t BusType;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved;
} Qx_Common_EA_InitEvent_SubCmd_Nm_BusSleepMode_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Nm_NetworkMode_CmdFlags_t Flags;
  u8_t BusType;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved;
} Qx_Common_EA_InitEvent_SubCmd_Nm_NetworkMode_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Transceiver_WakeUp_CmdFlags_t Flags;
  u8_t Channel;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_EA_InitEvent_SubCmd_Transceiver_WakeUp_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Trigger_SoftwareIn_CmdFlags_t Flags;
  u8_t Channel;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_EA_InitEvent_SubCmd_Trigger_SoftwareIn_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Software_UserEvent_CmdFlags_t Flags;
} Qx_Common_EA_InitEvent_SubCmd_Software_UserEvent_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_CmdFlags_t Flags;
  u8_t BaseCycle;
  u8_t CycleRepetition;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t;

/* 255 entries: the most that the one-byte counts can name. */
typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_RxInd_CmdFlags_t Flags;
  u8_t NumberOfPduIds;
  u8_t reserved1;
  u8_t CompareLength;
  u8_t CompareOffset;
  u8_t PduLengthMin;
  u8_t PduLengthMax;
  u8_t reserved2;
  u8_t reserved3;
  u32_t PduIds[0xFF];
  u8_t CompareMask[0xFF];
  u8_t CompareData[0xFF];
} Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_RxInd_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_TxCon_CmdFlags_t Flags;
  u8_t NumberOfPduIds;
  u8_t reserved1;
  u8_t CompareLength;
  u8_t CompareOffset;
  u8_t PduLengthMin;
  u8_t PduLengthMax;
  u8_t reserved2;
  u8_t reserved3;
  u32_t PduIds[0xFF];
  u8_t CompareMask[0xFF];
  u8_t CompareData[0xFF];
} Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_TxCon_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_FlexRay_Synchronized_CmdFlags_t Flags;
} Qx_Common_EA_InitEvent_SubCmd_FlexRay_Synchronized_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_FlexRay_SyncLoss_CmdFlags_t Flags;
} Qx_Common_EA_InitEvent_SubCmd_FlexRay_SyncLoss_t;

/* ---- Event conditions: bus, Ethernet, socket adaptor, CAN and LIN ------- */

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Bus_ReceivedWakeUp_CmdFlags_t Flags;
  u8_t Channel;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_EA_InitEvent_SubCmd_Bus_ReceivedWakeUp_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_CmdFlags_t Flags;
  u8_t Channel;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Bus_NoActivity_CmdFlags_t Flags;
  u8_t Channel;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_EA_InitEvent_SubCmd_Bus_NoActivity_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Ethernet_Linked_CmdFlags_t Flags;
} Qx_Common_EA_InitEvent_SubCmd_Ethernet_Linked_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Ethernet_LinkLoss_CmdFlags_t Flags;
} Qx_Common_EA_InitEvent_SubCmd_Ethernet_LinkLoss_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Ethernet_RxFifo_NewEntry_CmdFlags_t Flags;
  u32_t RxFifoId;
} Qx_Common_EA_InitEvent_SubCmd_Ethernet_RxFifo_NewEntry_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Ethernet_TxTrace_LowMark_Flags_t Flags;
  u32_t TraceId;
} Qx_Common_EA_InitEvent_SubCmd_Ethernet_TxTrace_LowMark_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_Flags_t Flags;
  u32_t SoConId;
  u32_t SoConGroupId;
  u8_t Condition;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Can_TxMessage_CmdFlags_t Flags;
  u32_t IdMask;
  u32_t Id;
  u8_t DataMask[8];
  u8_t Data[8];
  u8_t DlcMin;
  u8_t DlcMax;
  u8_t ExtendedLength;
  u8_t reserved;
  u8_t Stream[512];
} Qx_Common_EA_InitEvent_SubCmd_Can_TxMessage_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Can_RxMessage_CmdFlags_t Flags;
  u32_t IdMask;
  u32_t Id;
  u8_t DataMask[8];
  u8_t Data[8];
  u8_t DlcMin;
  u8_t DlcMax;
  u8_t ExtendedLength;
  u8_t reserved;
  u8_t Stream[512];
} Qx_Common_EA_InitEvent_SubCmd_Can_RxMessage_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_Flags_t Flags;
  u8_t NumberOfIds;
  u8_t reserved1;
  u8_t CompareLength;
  u8_t CompareOffset;
  u8_t DataLengthMin;
  u8_t DataLengthMax;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Stream[1536];
} Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Can_ErrorFrame_Flags_t Flags;
} Qx_Common_EA_InitEvent_SubCmd_Can_ErrorFrame_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Can_NmSleepAck_Flags_t Flags;
} Qx_Common_EA_InitEvent_SubCmd_Can_NmSleepAck_t;

typedef struct {
  Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_Flags_t Flags;
  u8_t IdMask;
  u8_t Id;
  u8_t DlcMin;
  u8_t DlcMax;
  u8_t DataMask[8];
  u8_t Data[8];
} Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t;

/* ---- Event definition command ------------------------------------------ */

/* EventType selects the member of u that the library reads. */
typedef struct {
  Qx_Common_EA_EventHandle_t EventHandle;
  u16_t EventType;
  u8_t reserved1;
  u8_t reserved2;
  union {
    Qx_Common_EA_InitEvent_SubCmd_Tp_RxIndication_t Tp_RxIndication;
    Qx_Common_EA_InitEvent_SubCmd_Com_RxIndication_t Com_RxIndication;
    Qx_Common_EA_InitEvent_SubCmd_Com_TxConfirmation_t Com_TxConfirmation;
    Qx_Common_EA_InitEvent_SubCmd_Com_Transmit_t Com_Transmit;
    Qx_Common_EA_InitEvent_SubCmd_Com_RxPduSignal_RxInd_t Com_RxPduSignal_RxInd;
    Qx_Common_EA_InitEvent_SubCmd_Com_TxPduSignal_TxCon_t Com_TxPduSignal_TxCon;
    Qx_Common_EA_InitEvent_SubCmd_Nm_BusSleepMode_t Nm_BusSleepMode;
    Qx_Common_EA_InitEvent_SubCmd_Nm_NetworkMode_t Nm_NetworkMode;
    Qx_Common_EA_InitEvent_SubCmd_Transceiver_WakeUp_t Transceiver_WakeUp;
    Qx_Common_EA_InitEvent_SubCmd_Trigger_SoftwareIn_t Trigger_SoftwareIn;
    Qx_Common_EA_InitEvent_SubCmd_Software_UserEvent_t Software_UserEvent;
    Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t FlexRay_CycleStart;
    Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_RxInd_t FlexRay_Pdu_RxInd;
    Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_TxCon_t FlexRay_Pdu_TxCon;
    Qx_Common_EA_InitEvent_SubCmd_FlexRay_Synchronized_t FlexRay_Synchronized;
    Qx_Common_EA_InitEvent_SubCmd_FlexRay_SyncLoss_t FlexRay_SyncLoss;
    Qx_Common_EA_InitEvent_SubCmd_Bus_ReceivedWakeUp_t Bus_ReceivedWakeUp;
    Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_t Bus_Activity;
    Qx_Common_EA_InitEvent_SubCmd_Bus_NoActivity_t Bus_NoActivity;
    Qx_Common_EA_InitEvent_SubCmd_Ethernet_Linked_t Ethernet_Linked;
    Qx_Common_EA_InitEvent_SubCmd_Ethernet_LinkLoss_t Ethernet_LinkLoss;
    Qx_Common_EA_InitEvent_SubCmd_Ethernet_RxFifo_NewEntry_t Ethernet_RxFifo_NewEntry;
    Qx_Common_EA_InitEvent_SubCmd_Ethernet_TxTrace_LowMark_t Ethernet_TxTrace_LowMark;
    Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_t SoAd_SoConState_Chgd;
    Qx_Common_EA_InitEvent_SubCmd_Can_TxMessage_t Can_TxMessage;
    Qx_Common_EA_InitEvent_SubCmd_Can_RxMessage_t Can_RxMessage;
    Qx_Common_EA_InitEvent_SubCmd_Can_ErrorFrame_t Can_ErrorFrame;
    Qx_Common_EA_InitEvent_SubCmd_Can_NmSleepAck_t Can_NmSleepAck;
    Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t Can_RxMessages;
    Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t Lin_TxFrame;
  } u;
} Qx_Common_EA_InitEvent_Cmd_t;

/* ---- Action definitions ------------------------------------------------- */

typedef struct {
  u32_t SequenceHandle;
} Qx_Common_EA_InitAction_SubCmd_Sequences_Replay_StartPlaying_t;

typedef struct {
  u8_t Channel;
  u8_t Mode;
  u8_t reserved1;
  u8_t reserved2;
  u32_t PulseDuration;
} Qx_Common_EA_InitAction_SubCmd_Trigger_SoftwareOut_Write_t;

typedef struct {
  u32_t NotificationId;
} Qx_Common_EA_InitAction_SubCmd_NotifyHost_t;

typedef struct {
  Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_Flags_t Flags;
  u32_t Delay;
  u32_t Id;
  u8_t Data[8];
  u8_t Dlc;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t ExtendedData[56];
} Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t;

typedef struct {
  Qx_Common_EA_InitAction_SubCmd_Can_StartPrepMsg_Flags_t Flags;
  u32_t Delay;
} Qx_Common_EA_InitAction_SubCmd_Can_StartPrepMsg_t;

typedef struct {
  Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_Flags_t Flags;
  u8_t Id;
  u8_t Mode;
  u8_t MessageCount;
  u8_t Dlc;
  u8_t DataMask[8];
  u8_t Data[8];
} Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t;

typedef struct {
  Qx_Common_EA_InitAction_SubCmd_Lin_ChangeSchedTbl_Flags_t Flags;
  u8_t ScheduleTableNumber;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_EA_InitAction_SubCmd_Lin_ChangeSchedTbl_t;

typedef struct {
  Qx_Common_EA_InitAction_SubCmd_Lin_StopSched_Flags_t Flags;
} Qx_Common_EA_InitAction_SubCmd_Lin_StopSched_t;

typedef struct {
  Qx_Common_EA_InitAction_SubCmd_Lin_ChSchedTblExt_Flags_t Flags;
  u8_t ScheduleTableNumber;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t NumberOfCycles;
} Qx_Common_EA_InitAction_SubCmd_Lin_ChSchedTblExt_t;

/* ActionType selects the member of u that the library reads. */
typedef struct {
  Qx_Common_EA_ActionHandle_t ActionHandle;
  u16_t ActionType;
  u8_t reserved1;
  u8_t reserved2;
  union {
    Qx_Common_EA_InitAction_SubCmd_Sequences_Replay_StartPlaying_t Sequences_Replay_StartPlaying;
    Qx_Common_EA_InitAction_SubCmd_Trigger_SoftwareOut_Write_t Trigger_SoftwareOut_Write;
    Qx_Common_EA_InitAction_SubCmd_NotifyHost_t NotifyHost;
    Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t Can_SendMsg;
    Qx_Common_EA_InitAction_SubCmd_Can_StartPrepMsg_t Can_StartPrepMsg;
    Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t Lin_ChangeMsg;
    Qx_Common_EA_InitAction_SubCmd_Lin_ChangeSchedTbl_t Lin_ChangeSchedTbl;
    Qx_Common_EA_InitAction_SubCmd_Lin_StopSched_t Lin_StopSched;
    Qx_Common_EA_InitAction_SubCmd_Lin_ChSchedTblExt_t Lin_ChSchedTblExt;
  } u;
} Qx_Common_EA_InitAction_Cmd_t;

/* ---- Properties, simulation, detaching and host notification ----------- */

typedef struct {
  Qx_Common_EA_EventHandle_t EventHandle;
  u16_t EventPropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Value;
} Qx_Common_EA_SetEventProperty_Cmd_t;

typedef struct {
  Qx_Common_EA_EventHandle_t EventHandle;
  u16_t EventPropertyId;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Common_EA_GetEventProperty_Cmd_t;

typedef struct {
  Qx_Common_EA_EventHandle_t EventHandle;
  u16_t EventPropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Value;
} Qx_Common_EA_GetEventProperty_Rsp_t;

typedef struct {
  Qx_Common_EA_ActionHandle_t ActionHandle;
  u16_t ActionPropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Value;
} Qx_Common_EA_SetActionProperty_Cmd_t;

typedef struct {
  Qx_Common_EA_ActionHandle_t ActionHandle;
  u16_t ActionPropertyId;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Common_EA_GetActionProperty_Cmd_t;

typedef struct {
  Qx_Common_EA_ActionHandle_t ActionHandle;
  u16_t ActionPropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Value;
} Qx_Common_EA_GetActionProperty_Rsp_t;

typedef struct {
  Qx_Common_EA_SimulateEvent_CmdFlags_t Flags;
  Qx_Common_EA_EventHandle_t EventHandle;
} Qx_Common_EA_SimulateEvent_Cmd_t;

typedef struct {
  Qx_Common_EA_DetachActionFromEvent_CmdFlags_t Flags;
  Qx_Common_EA_EventHandle_t EventHandle;
  Qx_Common_EA_ActionHandle_t ActionHandle;
} Qx_Common_EA_DetachActionFromEvent_Cmd_t;

/* Ends in a function pointer: 16 bytes where pointers are 4 bytes. */
typedef struct {
  Qx_Common_EA_NotifyHost_AddCallback_CmdFlags_t Flags;
  Qx_Common_EA_ActionHandle_t ActionHandle;
  u32_t NotificationId;
  Qx_Common_EA_NotifyHost_Callback_t Callback;
} Qx_Common_EA_NotifyHost_AddCallback_Cmd_t;

typedef struct {
  Qx_Common_EA_NotifyHost_RemoveCallback_CmdFlags_t Flags;
  Qx_Common_EA_ActionHandle_t ActionHandle;
  u32_t NotificationId;
} Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t;

#pragma pack(pop)

/* ---- Engine functions ---------------------------------------------------- */

Qx_Error_t Qx_Common_EA_ResetAll(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_EA_AllocateEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_EventHandle_t *const eventHandle);
Qx_Error_t Qx_Common_EA_AllocateAction(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t *const actionHandle);
Qx_Error_t Qx_Common_EA_AllocateEventByHandle(Qx_PortHandle_t portHandle, Qx_Common_EA_EventHandle_t eventHandle);
Qx_Error_t Qx_Common_EA_AllocateActionByHandle(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle);
Qx_Error_t Qx_Common_EA_InitEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_InitEvent_Cmd_t const *const command);
Qx_Error_t Qx_Common_EA_InitAction(Qx_PortHandle_t portHandle, Qx_Common_EA_InitAction_Cmd_t const *const command);
Qx_Error_t Qx_Common_EA_AssignActionToEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle,
                                            Qx_Common_EA_EventHandle_t eventHandle);
Qx_Error_t Qx_Common_EA_DetachActionFromEvent(Qx_PortHandle_t portHandle,
                                              Qx_Common_EA_DetachActionFromEvent_Cmd_t const *const command);
Qx_Error_t Qx_Common_EA_DeleteEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_DeleteEvent_CmdFlags_t flags,
                                    Qx_Common_EA_EventHandle_t eventHandle);
Qx_Error_t Qx_Common_EA_DeleteAction(Qx_PortHandle_t portHandle, Qx_Common_EA_DeleteAction_CmdFlags_t flags,
                                     Qx_Common_EA_ActionHandle_t actionHandle);
Qx_Error_t Qx_Common_EA_ExecuteAction(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle);
Qx_Error_t Qx_Common_EA_CancelAction(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle);
Qx_Error_t Qx_Common_EA_SetEventProperty(Qx_PortHandle_t portHandle,
                                         Qx_Common_EA_SetEventProperty_Cmd_t const *const command);
Qx_Error_t Qx_Common_EA_GetEventProperty(Qx_PortHandle_t portHandle,
                                         Qx_Common_EA_GetEventProperty_Cmd_t const *const command,
                                         Qx_Common_EA_GetEventProperty_Rsp_t *const response);
Qx_Error_t Qx_Common_EA_SetActionProperty(Qx_PortHandle_t portHandle,
                                          Qx_Common_EA_SetActionProperty_Cmd_t const *const command);
Qx_Error_t Qx_Common_EA_GetActionProperty(Qx_PortHandle_t portHandle,
                                          Qx_Common_EA_GetActionProperty_Cmd_t const *const command,
                                          Qx_Common_EA_GetActionProperty_Rsp_t *const response);
Qx_Error_t Qx_Common_EA_SimulateEvent(Qx_PortHandle_t portHandle,
                                      Qx_Common_EA_SimulateEvent_Cmd_t const *const command);
Qx_Error_t Qx_Common_EA_NotifyHost_AddCallback(Qx_PortHandle_t portHandle,
                                               Qx_Common_EA_NotifyHost_AddCallback_Cmd_t const *const command);
Qx_Error_t Qx_Common_EA_NotifyHost_RemoveCallback(Qx_PortHandle_t portHandle,
                                                  Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t const *const command);

#ifdef __cplusplus
}
#endif

#endif
