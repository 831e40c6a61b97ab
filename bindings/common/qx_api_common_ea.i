/*
 * _qx_api_common: rules and declarations of the event/action engine.
 *
 * Included by qx_api_common.i at the engine's place in the library's
 * declaration order, after the module's own table of rules: handles, flag
 * words and u8_t/u32_t fields are ints (UnsignedScalarIn), u8_t and u32_t
 * arrays read as lists (FixedArrayToList) and are written from pointer
 * objects of the element type (FixedArrayFromPointer), type codes and
 * property identifiers are u16_t fields taken from u16_t pointer objects
 * (OpaqueValueByPointer), and every engine function's status is tested.
 *
 * What the engine adds:
 *  - the members of the definition commands' unions are records of their
 *    own; each member setter copies the whole record passed into the union
 *    (None raises ValueError and copies nothing), each getter returns a view
 *    into the union through which it can be filled in place;
 *  - handle cells (Qx_Common_EA_EventHandle_t *const, ..._ActionHandle_t
 *    *const) and response records are caller-supplied pointers (an int_p
 *    serves as a handle cell); no engine function appends an output;
 *  - the notification callback field takes None or a native function of
 *    type Qx_Common_EA_NotifyHost_Callback_t, never a Python callable.
 */

/* Event conditions, members of Qx_Common_EA_InitEvent_Cmd_t_u. */
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Tp_RxIndication_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Com_RxIndication_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Com_TxConfirmation_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Com_Transmit_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Com_RxPduSignal_RxInd_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Com_TxPduSignal_TxCon_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Nm_BusSleepMode_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Nm_NetworkMode_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Transceiver_WakeUp_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Trigger_SoftwareIn_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Software_UserEvent_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_RxInd_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_TxCon_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_FlexRay_Synchronized_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_FlexRay_SyncLoss_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Bus_ReceivedWakeUp_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Bus_NoActivity_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Ethernet_Linked_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Ethernet_LinkLoss_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Ethernet_RxFifo_NewEntry_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Ethernet_TxTrace_LowMark_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_SoAd_SoConState_Chgd_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Can_TxMessage_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessage_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Can_ErrorFrame_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Can_NmSleepAck_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Can_RxMessages_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitEvent_SubCmd_Lin_TxFrame_t)

/* Action records, members of Qx_Common_EA_InitAction_Cmd_t_u. */
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_Sequences_Replay_StartPlaying_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_Trigger_SoftwareOut_Write_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_NotifyHost_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_Can_StartPrepMsg_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeMsg_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_Lin_ChangeSchedTbl_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_Lin_StopSched_t)
QX_NESTED_MEMBER_BY_COPY(Qx_Common_EA_InitAction_SubCmd_Lin_ChSchedTblExt_t)

%include "qx_api_common_ea.h"
