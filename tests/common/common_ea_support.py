"""The event and action kinds of the event/action engine, with their records'
layouts from the layout tables, and helpers that fill a record through its
setters."""
import layouts

EVENT_RECORD = "Qx_Common_EA_InitEvent_SubCmd_{}_t"
ACTION_RECORD = "Qx_Common_EA_InitAction_SubCmd_{}_t"

# Codes that the simulated library accepts for the CAN and LIN kinds, which
# have no constants in the module.
EVENT_CAN_TX_MESSAGE, EVENT_CAN_RX_MESSAGE = 0xB00, 0xB01
EVENT_CAN_ERROR_FRAME, EVENT_CAN_NM_SLEEP_ACK, EVENT_CAN_RX_MESSAGES = 0xB02, 0xB03, 0xB04
EVENT_LIN_TX_FRAME = 0xC00
ACTION_CAN_SEND_MSG, ACTION_CAN_START_PREP_MSG = 0x400, 0x401
ACTION_LIN_CHANGE_MSG, ACTION_LIN_CHANGE_SCHED_TBL = 0x500, 0x501
ACTION_LIN_STOP_SCHED, ACTION_LIN_CH_SCHED_TBL_EXT = 0x502, 0x503

# Union member and event-type code of every event kind.
EVENT_CODES = [
    ("Tp_RxIndication", 0x100),
    ("Com_RxIndication", 0x200),
    ("Com_TxConfirmation", 0x201),
    ("Com_Transmit", 0x202),
    ("Com_RxPduSignal_RxInd", 0x203),
    ("Com_TxPduSignal_TxCon", 0x204),
    ("Nm_BusSleepMode", 0x300),
    ("Nm_NetworkMode", 0x301),
    ("Transceiver_WakeUp", 0x400),
    ("Trigger_SoftwareIn", 0x500),
    ("Software_UserEvent", 0x600),
    ("FlexRay_CycleStart", 0x700),
    ("FlexRay_Pdu_RxInd", 0x702),
    ("FlexRay_Pdu_TxCon", 0x703),
    ("FlexRay_Synchronized", 0x704),
    ("FlexRay_SyncLoss", 0x705),
    ("Bus_ReceivedWakeUp", 0x800),
    ("Bus_Activity", 0x801),
    ("Bus_NoActivity", 0x802),
    ("Ethernet_Linked", 0x900),
    ("Ethernet_LinkLoss", 0x901),
    ("Ethernet_RxFifo_NewEntry", 0x902),
    ("Ethernet_TxTrace_LowMark", 0x903),
    ("SoAd_SoConState_Chgd", 0xA00),
    ("Can_TxMessage", EVENT_CAN_TX_MESSAGE),
    ("Can_RxMessage", EVENT_CAN_RX_MESSAGE),
    ("Can_ErrorFrame", EVENT_CAN_ERROR_FRAME),
    ("Can_NmSleepAck", EVENT_CAN_NM_SLEEP_ACK),
    ("Can_RxMessages", EVENT_CAN_RX_MESSAGES),
    ("Lin_TxFrame", EVENT_LIN_TX_FRAME),
]

ACTION_CODES = [
    ("Sequences_Replay_StartPlaying", 0x100),
    ("Trigger_SoftwareOut_Write", 0x200),
    ("NotifyHost", 0x300),
    ("Can_SendMsg", ACTION_CAN_SEND_MSG),
    ("Can_StartPrepMsg", ACTION_CAN_START_PREP_MSG),
    ("Lin_ChangeMsg", ACTION_LIN_CHANGE_MSG),
    ("Lin_ChangeSchedTbl", ACTION_LIN_CHANGE_SCHED_TBL),
    ("Lin_StopSched", ACTION_LIN_STOP_SCHED),
    ("Lin_ChSchedTblExt", ACTION_LIN_CH_SCHED_TBL_EXT),
]


def _kinds(record, codes):
    """(union member, record type, record size, code, fields) of each kind;
    the fields are the layout table's (name, offset, type, count)."""
    return [(member, record.format(member), layouts.size(record.format(member)), code,
             list(layouts.record(record.format(member)).fields.values())) for member, code in codes]


EVENT_KINDS = _kinds(EVENT_RECORD, EVENT_CODES)
ACTION_KINDS = _kinds(ACTION_RECORD, ACTION_CODES)


def sample(field, k):
    """A distinct, non-zero value for field number k (u32 values have bit 31 set)."""
    assert field.type in ("u8", "u32"), field.type
    if field.count is None:
        if field.type == "u8":
            return (0x81 + 13 * k) & 0xFF or 1
        return 0x80000000 | ((0x01020304 * (k + 1)) & 0x7FFFFFFF)
    if field.type == "u8":
        return [(k * 31 + i * 7 + 1) & 0xFF for i in range(field.count)]
    return [0x80000000 + k * 0x10000 + i for i in range(field.count)]


def array_source(qxt, field, values):
    """A pointer object holding `values` for the setter of array `field`."""
    return (qxt.qxt_u8_array if field.type == "u8" else qxt.qxt_u32_array)(values)


def fill(module, qxt, record_type, record, fields):
    """Sets every field through its setter; returns {field: value}."""
    values = {}
    for k, field in enumerate(fields):
        value = sample(field, k)
        source = array_source(qxt, field, value) if field.count else value
        getattr(module, f"{record_type}_{field.name}_set")(record, source)
        values[field.name] = value
    return values
