"""Record layouts of the event/action engine as the native library shares them
(little-endian, natural alignment), and helpers that fill a record through its
setters and build the bytes the native side must receive."""
import struct

U8, U32 = "B", "I"

# Codes that the simulated library accepts for the CAN and LIN kinds, which
# have no constants in the module.
EVENT_CAN_TX_MESSAGE, EVENT_CAN_RX_MESSAGE = 0xB00, 0xB01
EVENT_CAN_ERROR_FRAME, EVENT_CAN_NM_SLEEP_ACK, EVENT_CAN_RX_MESSAGES = 0xB02, 0xB03, 0xB04
EVENT_LIN_TX_FRAME = 0xC00
ACTION_CAN_SEND_MSG, ACTION_CAN_START_PREP_MSG = 0x400, 0x401
ACTION_LIN_CHANGE_MSG, ACTION_LIN_CHANGE_SCHED_TBL = 0x500, 0x501
ACTION_LIN_STOP_SCHED, ACTION_LIN_CH_SCHED_TBL_EXT = 0x502, 0x503

FLAGS = ("Flags", 0, U32)
FLAGS_ONLY = [FLAGS]
RESERVED_123 = [("reserved1", 5, U8), ("reserved2", 6, U8), ("reserved3", 7, U8)]
CHANNEL = [FLAGS, ("Channel", 4, U8)] + RESERVED_123
NM = [FLAGS, ("BusType", 4, U8), ("ControllerId", 5, U8), ("EcuId", 6, U8), ("reserved", 7, U8)]


def com_pdu(pdu):
    return [FLAGS, (pdu, 4, U32), ("CompareOffset", 8, U32), ("CompareLength", 12, U8), ("reserved1", 13, U8),
            ("reserved2", 14, U8), ("reserved3", 15, U8), ("CompareMaskAndData", 16, (U8, 512))]


def com_signal(side):
    return [FLAGS, (side + "PduId", 4, U32), (side + "PduSignalId", 8, U32), ("ConditionType", 12, U8),
            ("reserved1", 13, U8), ("reserved2", 14, U8), ("reserved3", 15, U8), ("ConditionMask", 16, U32),
            ("ConditionX", 20, U32)]


FLEXRAY_PDU = [FLAGS, ("NumberOfPduIds", 4, U8), ("reserved1", 5, U8), ("CompareLength", 6, U8),
               ("CompareOffset", 7, U8), ("PduLengthMin", 8, U8), ("PduLengthMax", 9, U8), ("reserved2", 10, U8),
               ("reserved3", 11, U8), ("PduIds", 12, (U32, 255)), ("CompareMask", 1032, (U8, 255)),
               ("CompareData", 1287, (U8, 255))]
CAN_MESSAGE = [FLAGS, ("IdMask", 4, U32), ("Id", 8, U32), ("DataMask", 12, (U8, 8)), ("Data", 20, (U8, 8)),
               ("DlcMin", 28, U8), ("DlcMax", 29, U8), ("ExtendedLength", 30, U8), ("reserved", 31, U8),
               ("Stream", 32, (U8, 512))]

# Union member, record size, event-type code, fields (name, offset, kind).
EVENT_KINDS = [
    ("Tp_RxIndication", 4, 0x100,
     [("Channel", 0, U8), ("reserved1", 1, U8), ("reserved2", 2, U8), ("reserved3", 3, U8)]),
    ("Com_RxIndication", 528, 0x200, com_pdu("RxPduId")),
    ("Com_TxConfirmation", 528, 0x201, com_pdu("TxPduId")),
    ("Com_Transmit", 528, 0x202, com_pdu("TxPduId")),
    ("Com_RxPduSignal_RxInd", 24, 0x203, com_signal("Rx")),
    ("Com_TxPduSignal_TxCon", 24, 0x204, com_signal("Tx")),
    ("Nm_BusSleepMode", 8, 0x300, NM),
    ("Nm_NetworkMode", 8, 0x301, NM),
    ("Transceiver_WakeUp", 8, 0x400, CHANNEL),
    ("Trigger_SoftwareIn", 8, 0x500, CHANNEL),
    ("Software_UserEvent", 4, 0x600, FLAGS_ONLY),
    ("FlexRay_CycleStart", 8, 0x700,
     [FLAGS, ("BaseCycle", 4, U8), ("CycleRepetition", 5, U8), ("reserved1", 6, U8), ("reserved2", 7, U8)]),
    ("FlexRay_Pdu_RxInd", 1544, 0x702, FLEXRAY_PDU),
    ("FlexRay_Pdu_TxCon", 1544, 0x703, FLEXRAY_PDU),
    ("FlexRay_Synchronized", 4, 0x704, FLAGS_ONLY),
    ("FlexRay_SyncLoss", 4, 0x705, FLAGS_ONLY),
    ("Bus_ReceivedWakeUp", 8, 0x800, CHANNEL),
    ("Bus_Activity", 8, 0x801, CHANNEL),
    ("Bus_NoActivity", 8, 0x802, CHANNEL),
    ("Ethernet_Linked", 4, 0x900, FLAGS_ONLY),
    ("Ethernet_LinkLoss", 4, 0x901, FLAGS_ONLY),
    ("Ethernet_RxFifo_NewEntry", 8, 0x902, [FLAGS, ("RxFifoId", 4, U32)]),
    ("Ethernet_TxTrace_LowMark", 8, 0x903, [FLAGS, ("TraceId", 4, U32)]),
    ("SoAd_SoConState_Chgd", 16, 0xA00,
     [FLAGS, ("SoConId", 4, U32), ("SoConGroupId", 8, U32), ("Condition", 12, U8), ("reserved1", 13, U8),
      ("reserved2", 14, U8), ("reserved3", 15, U8)]),
    ("Can_TxMessage", 544, EVENT_CAN_TX_MESSAGE, CAN_MESSAGE),
    ("Can_RxMessage", 544, EVENT_CAN_RX_MESSAGE, CAN_MESSAGE),
    ("Can_ErrorFrame", 4, EVENT_CAN_ERROR_FRAME, FLAGS_ONLY),
    ("Can_NmSleepAck", 4, EVENT_CAN_NM_SLEEP_ACK, FLAGS_ONLY),
    ("Can_RxMessages", 1548, EVENT_CAN_RX_MESSAGES,
     [FLAGS, ("NumberOfIds", 4, U8), ("reserved1", 5, U8), ("CompareLength", 6, U8), ("CompareOffset", 7, U8),
      ("DataLengthMin", 8, U8), ("DataLengthMax", 9, U8), ("reserved2", 10, U8), ("reserved3", 11, U8),
      ("Stream", 12, (U8, 1536))]),
    ("Lin_TxFrame", 24, EVENT_LIN_TX_FRAME,
     [FLAGS, ("IdMask", 4, U8), ("Id", 5, U8), ("DlcMin", 6, U8), ("DlcMax", 7, U8), ("DataMask", 8, (U8, 8)),
      ("Data", 16, (U8, 8))]),
]

ACTION_KINDS = [
    ("Sequences_Replay_StartPlaying", 4, 0x100, [("SequenceHandle", 0, U32)]),
    ("Trigger_SoftwareOut_Write", 8, 0x200,
     [("Channel", 0, U8), ("Mode", 1, U8), ("reserved1", 2, U8), ("reserved2", 3, U8), ("PulseDuration", 4, U32)]),
    ("NotifyHost", 4, 0x300, [("NotificationId", 0, U32)]),
    ("Can_SendMsg", 80, ACTION_CAN_SEND_MSG,
     [FLAGS, ("Delay", 4, U32), ("Id", 8, U32), ("Data", 12, (U8, 8)), ("Dlc", 20, U8), ("reserved1", 21, U8),
      ("reserved2", 22, U8), ("reserved3", 23, U8), ("ExtendedData", 24, (U8, 56))]),
    ("Can_StartPrepMsg", 8, ACTION_CAN_START_PREP_MSG, [FLAGS, ("Delay", 4, U32)]),
    ("Lin_ChangeMsg", 24, ACTION_LIN_CHANGE_MSG,
     [FLAGS, ("Id", 4, U8), ("Mode", 5, U8), ("MessageCount", 6, U8), ("Dlc", 7, U8), ("DataMask", 8, (U8, 8)),
      ("Data", 16, (U8, 8))]),
    ("Lin_ChangeSchedTbl", 8, ACTION_LIN_CHANGE_SCHED_TBL,
     [FLAGS, ("ScheduleTableNumber", 4, U8)] + RESERVED_123),
    ("Lin_StopSched", 4, ACTION_LIN_STOP_SCHED, FLAGS_ONLY),
    ("Lin_ChSchedTblExt", 12, ACTION_LIN_CH_SCHED_TBL_EXT,
     [FLAGS, ("ScheduleTableNumber", 4, U8)] + RESERVED_123 + [("NumberOfCycles", 8, U32)]),
]


def sample(kind, k):
    """A distinct, non-zero value for field number k (u32 values have bit 31 set)."""
    if kind == U8:
        return (0x81 + 13 * k) & 0xFF or 1
    if kind == U32:
        return 0x80000000 | ((0x01020304 * (k + 1)) & 0x7FFFFFFF)
    element, count = kind
    if element == U8:
        return [(k * 31 + i * 7 + 1) & 0xFF for i in range(count)]
    return [0x80000000 + k * 0x10000 + i for i in range(count)]


def fill(module, qxt, record_type, record, fields):
    """Sets every field through its setter; returns {field: value}."""
    values = {}
    for k, (name, _, kind) in enumerate(fields):
        value = sample(kind, k)
        if isinstance(kind, tuple):
            source = (qxt.qxt_u8_array if kind[0] == U8 else qxt.qxt_u32_array)(value)
            getattr(module, f"{record_type}_{name}_set")(record, source)
        else:
            getattr(module, f"{record_type}_{name}_set")(record, value)
        values[name] = value
    return values


def layout(size, fields, values, fill_byte=0):
    """The bytes of a record of `size` bytes holding `values` at the offsets of `fields`."""
    data = bytearray([fill_byte] * size)
    for name, offset, kind in fields:
        if isinstance(kind, tuple):
            struct.pack_into(f"<{kind[1]}{kind[0]}", data, offset, *values[name])
        else:
            struct.pack_into("<" + kind, data, offset, values[name])
    return bytes(data)
