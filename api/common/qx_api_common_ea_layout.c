/* Compile-time check of the event/action engine's record layouts. */
#include "qx_api_common_ea.h"
#include "qx_layout.h"

/* Event conditions: transport protocol and Com. */
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Tp_RxIndication_t, 4);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Tp_RxIndication_t, reserved3, 3);

#define QX_COM_PDU(type, pdu)         \
  QX_SIZE(type, 528);                 \
  QX_OFFSET(type, pdu, 4);            \
  QX_OFFSET(type, CompareOffset, 8);  \
  QX_OFFSET(type, CompareLength, 12); \
  QX_OFFSET(type, reserved3, 15);     \
  QX_OFFSET(type, CompareMaskAndData, 16)
QX_COM_PDU(Qx_Common_EA_InitEvent_SubCmd_Com_RxIndication_t, RxPduId);
QX_COM_PDU(Qx_Common_EA_InitEvent_SubCmd_Com_TxConfirmation_t, TxPduId);
QX_COM_PDU(Qx_Common_EA_InitEvent_SubCmd_Com_Transmit_t, TxPduId);

#define QX_COM_SIGNAL(type, pdu, signal) \
  QX_SIZE(type, 24);                     \
  QX_OFFSET(type, pdu, 4);               \
  QX_OFFSET(type, signal, 8);            \
  QX_OFFSET(type, ConditionType, 12);    \
  QX_OFFSET(type, reserved3, 15);        \
  QX_OFFSET(type, ConditionMask, 16);    \
  QX_OFFSET(type, ConditionX, 20)
QX_COM_SIGNAL(Qx_Common_EA_InitEvent_SubCmd_Com_RxPduSignal_RxInd_t, RxPduId, RxPduSignalId);
QX_COM_SIGNAL(Qx_Common_EA_InitEvent_SubCmd_Com_TxPduSignal_TxCon_t, TxPduId, TxPduSignalId);

/* Event conditions: network management, transceiver, trigger, software and
 * FlexRay. */
#define QX_NM(type)                 \
  QX_SIZE(type, 8);                 \
  QX_OFFSET(type, BusType, 4);      \
  QX_OFFSET(type, ControllerId, 5); \
  QX_OFFSET(type, EcuId, 6);        \
  QX_OFFSET(type, reserved, 7)
QX_NM(Qx_Common_EA_InitEvent_SubCmd_Nm_BusSleepMode_t);
QX_NM(Qx_Common_EA_InitEvent_SubCmd_Nm_NetworkMode_t);

#define QX_CHANNEL(type)       \
  QX_SIZE(type, 8);            \
  QX_OFFSET(type, Channel, 4); \
  QX_OFFSET(type, reserved3, 7)
QX_CHANNEL(Qx_Common_EA_InitEvent_SubCmd_Transceiver_WakeUp_t);
QX_CHANNEL(Qx_Common_EA_InitEvent_SubCmd_Trigger_SoftwareIn_t);
QX_CHANNEL(Qx_Common_EA_InitEvent_SubCmd_Bus_ReceivedWakeUp_t);
QX_CHANNEL(Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_t);
QX_CHANNEL(Qx_Common_EA_InitEvent_SubCmd_Bus_NoActivity_t);

QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Software_UserEvent_t, 4);
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_FlexRay_Synchronized_t, 4);
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_FlexRay_SyncLoss_t, 4);

QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t, 8);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t, BaseCycle, 4);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t, CycleRepetition, 5);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t, reserved2, 7);

#define QX_FLEXRAY_PDU(type)          \
  QX_SIZE(type, 1544);                \
  QX_OFFSET(type, NumberOfPduIds, 4); \
  QX_OFFSET(type, CompareLength, 6);  \
  QX_OFFSET(type, CompareOffset, 7);  \
  QX_OFFSET(type, PduLengthMin, 8);   \
  QX_OFFSET(type, PduLengthMax, 9);   \
  QX_OFFSET(type, reserved3, 11);     \
  QX_OFFSET(type, PduIds, 12);        \
  QX_OFFSET(type, CompareMask, 1032); \
  QX_OFFSET(type, CompareData, 1287)
QX_FLEXRAY_PDU(Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_RxInd_t);
QX_FLEXRAY_PDU(Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_TxCon_t);

/* Event conditions: bus, Ethernet, socket adaptor, CAN and LIN. */
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Ethernet_Linked_t, 4);
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Ethernet_LinkLoss_t, 4);
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Ethernet_RxFifo_NewEntry_t, 8);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Ethernet_RxFifo_NewEntry_t, RxFifoId, 4);
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Ethernet_TxTrace_LowMark_t, 8);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Ethernet_TxTrace_LowMark_t, TraceId, 4);

QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_t, 16);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_t, SoConId, 4);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_t, SoConGroupId, 8);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_t, Condition, 12);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_t, reserved3, 15);

#define QX_CAN_MESSAGE(type)           \
  QX_SIZE(type, 544);                  \
  QX_OFFSET(type, IdMask, 4);          \
  QX_OFFSET(type, Id, 8);              \
  QX_OFFSET(type, DataMask, 12);       \
  QX_OFFSET(type, Data, 20);           \
  QX_OFFSET(type, DlcMin, 28);         \
  QX_OFFSET(type, DlcMax, 29);         \
  QX_OFFSET(type, ExtendedLength, 30); \
  QX_OFFSET(type, reserved, 31);       \
  QX_OFFSET(type, Stream, 32)
QX_CAN_MESSAGE(Qx_Common_EA_InitEvent_SubCmd_Can_TxMessage_t);
QX_CAN_MESSAGE(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessage_t);

QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t, 1548);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t, NumberOfIds, 4);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t, CompareLength, 6);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t, CompareOffset, 7);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t, DataLengthMin, 8);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t, DataLengthMax, 9);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t, Stream, 12);
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Can_ErrorFrame_t, 4);
QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Can_NmSleepAck_t, 4);

QX_SIZE(Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t, 24);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t, IdMask, 4);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t, Id, 5);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t, DlcMin, 6);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t, DlcMax, 7);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t, DataMask, 8);
QX_OFFSET(Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t, Data, 16);

/* Event definition command: the union is as large as Can_RxMessages. */
QX_SIZE(Qx_Common_EA_InitEvent_Cmd_t, 1556);
QX_OFFSET(Qx_Common_EA_InitEvent_Cmd_t, EventType, 4);
QX_OFFSET(Qx_Common_EA_InitEvent_Cmd_t, reserved1, 6);
QX_OFFSET(Qx_Common_EA_InitEvent_Cmd_t, reserved2, 7);
QX_OFFSET(Qx_Common_EA_InitEvent_Cmd_t, u, 8);
QX_SIZE(((Qx_Common_EA_InitEvent_Cmd_t *)0)->u, 1548);

/* Action definitions. */
QX_SIZE(Qx_Common_EA_InitAction_SubCmd_Sequences_Replay_StartPlaying_t, 4);
QX_SIZE(Qx_Common_EA_InitAction_SubCmd_Trigger_SoftwareOut_Write_t, 8);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Trigger_SoftwareOut_Write_t, Mode, 1);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Trigger_SoftwareOut_Write_t, reserved2, 3);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Trigger_SoftwareOut_Write_t, PulseDuration, 4);
QX_SIZE(Qx_Common_EA_InitAction_SubCmd_NotifyHost_t, 4);

QX_SIZE(Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t, 80);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t, Delay, 4);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t, Id, 8);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t, Data, 12);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t, Dlc, 20);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t, reserved3, 23);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t, ExtendedData, 24);

QX_SIZE(Qx_Common_EA_InitAction_SubCmd_Can_StartPrepMsg_t, 8);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Can_StartPrepMsg_t, Delay, 4);

QX_SIZE(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t, 24);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t, Id, 4);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t, Mode, 5);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t, MessageCount, 6);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t, Dlc, 7);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t, DataMask, 8);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t, Data, 16);

QX_SIZE(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeSchedTbl_t, 8);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeSchedTbl_t, ScheduleTableNumber, 4);
QX_SIZE(Qx_Common_EA_InitAction_SubCmd_Lin_StopSched_t, 4);
QX_SIZE(Qx_Common_EA_InitAction_SubCmd_Lin_ChSchedTblExt_t, 12);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChSchedTblExt_t, ScheduleTableNumber, 4);
QX_OFFSET(Qx_Common_EA_InitAction_SubCmd_Lin_ChSchedTblExt_t, NumberOfCycles, 8);

/* Action definition command: the union is as large as Can_SendMsg. */
QX_SIZE(Qx_Common_EA_InitAction_Cmd_t, 88);
QX_OFFSET(Qx_Common_EA_InitAction_Cmd_t, ActionType, 4);
QX_OFFSET(Qx_Common_EA_InitAction_Cmd_t, reserved2, 7);
QX_OFFSET(Qx_Common_EA_InitAction_Cmd_t, u, 8);

/* Properties, simulation, detaching and host notification. */
#define QX_PROPERTY(type, handle, id, size) \
  QX_SIZE(type, size);                      \
  QX_OFFSET(type, handle, 0);               \
  QX_OFFSET(type, id, 4);                   \
  QX_OFFSET(type, reserved1, 6);            \
  QX_OFFSET(type, reserved2, 7)
QX_PROPERTY(Qx_Common_EA_SetEventProperty_Cmd_t, EventHandle, EventPropertyId, 12);
QX_OFFSET(Qx_Common_EA_SetEventProperty_Cmd_t, Value, 8);
QX_PROPERTY(Qx_Common_EA_GetEventProperty_Cmd_t, EventHandle, EventPropertyId, 8);
QX_PROPERTY(Qx_Common_EA_GetEventProperty_Rsp_t, EventHandle, EventPropertyId, 12);
QX_OFFSET(Qx_Common_EA_GetEventProperty_Rsp_t, Value, 8);
QX_PROPERTY(Qx_Common_EA_SetActionProperty_Cmd_t, ActionHandle, ActionPropertyId, 12);
QX_OFFSET(Qx_Common_EA_SetActionProperty_Cmd_t, Value, 8);
QX_PROPERTY(Qx_Common_EA_GetActionProperty_Cmd_t, ActionHandle, ActionPropertyId, 8);
QX_PROPERTY(Qx_Common_EA_GetActionProperty_Rsp_t, ActionHandle, ActionPropertyId, 12);
QX_OFFSET(Qx_Common_EA_GetActionProperty_Rsp_t, Value, 8);

QX_SIZE(Qx_Common_EA_SimulateEvent_Cmd_t, 8);
QX_OFFSET(Qx_Common_EA_SimulateEvent_Cmd_t, EventHandle, 4);
QX_SIZE(Qx_Common_EA_DetachActionFromEvent_Cmd_t, 12);
QX_OFFSET(Qx_Common_EA_DetachActionFromEvent_Cmd_t, EventHandle, 4);
QX_OFFSET(Qx_Common_EA_DetachActionFromEvent_Cmd_t, ActionHandle, 8);
QX_SIZE(Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t, 12);
QX_OFFSET(Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t, ActionHandle, 4);
QX_OFFSET(Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t, NotificationId, 8);

/* Ends in a function pointer: 16 bytes where pointers are 4 bytes, 20 on
 * 64-bit hosts. */
QX_OFFSET(Qx_Common_EA_NotifyHost_AddCallback_Cmd_t, ActionHandle, 4);
QX_OFFSET(Qx_Common_EA_NotifyHost_AddCallback_Cmd_t, NotificationId, 8);
QX_OFFSET(Qx_Common_EA_NotifyHost_AddCallback_Cmd_t, Callback, 12);
QX_SIZE(Qx_Common_EA_NotifyHost_AddCallback_Cmd_t, 12 + sizeof(Qx_Common_EA_NotifyHost_Callback_t));
