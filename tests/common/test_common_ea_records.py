"""Event conditions and action records of the event/action engine: each record
filled through its setters (or in place through the union's view) reaches the
native library inside its definition command with the layout the library
shares; setter conversions and their errors."""
import pytest

import qxtest
c = qxtest.module("_qx_api_common")

from common_ea_support import ACTION_KINDS, EVENT_KINDS, array_source, fill  # noqa: E402
from layouts import pack  # noqa: E402

EVT = "Qx_Common_EA_InitEvent_SubCmd_"
ACT = "Qx_Common_EA_InitAction_SubCmd_"
U = "Qx_Common_EA_InitEvent_Cmd_t_u_"
EVENT_HANDLE = 0x80000001
ACTION_HANDLE = 0xFFFFFFFF
KINDS = {member: fields for member, _, _, _, fields in EVENT_KINDS + ACTION_KINDS}


@pytest.fixture
def port():
    return c.Qx_Common_OpenInterface("COMMON1")


def u16(qxt, value):
    return qxt.qxt_u16_array([value])


def all_ones(qxt, record_type, fields):
    """A record of `record_type` with every byte 0xFF."""
    record = qxtest.new_record(c, record_type)
    for field in fields:
        value = array_source(qxt, field, [0xFFFFFFFF] * field.count) if field.count else 0xFFFFFFFF
        getattr(c, f"{record_type}_{field.name}_set")(record, value)
    return record


def define(qxt, union_type, union, member, fields, how):
    """Fills `member` of `union` by copying a filled record in, or in place
    through the member's view; returns the values set."""
    record_type = union_type.replace("Cmd_t_u", "SubCmd_") + member + "_t"
    if how == "view":
        return fill(c, qxt, record_type, getattr(c, f"{union_type}_{member}_get")(union), fields)
    record = qxtest.new_record(c, record_type)
    values = fill(c, qxt, record_type, record, fields)
    for name, value in values.items():
        assert getattr(c, f"{record_type}_{name}_get")(record) == value
    getattr(c, f"{union_type}_{member}_set")(union, record)
    # The union holds a copy: changing the record afterwards leaves it alone.
    first = fields[0].name
    getattr(c, f"{record_type}_{first}_set")(record, 0)
    view = getattr(c, f"{union_type}_{member}_get")(union)
    assert getattr(c, f"{record_type}_{first}_get")(view) == values[first]
    return values


@pytest.mark.parametrize("how", ["copy", "view"])
@pytest.mark.parametrize("member, record_type, size, code, fields", EVENT_KINDS, ids=[k[0] for k in EVENT_KINDS])
def test_event_condition_reaches_library(sim, qxt, port, member, record_type, size, code, fields, how):
    command = qxtest.new_record(c, "Qx_Common_EA_InitEvent_Cmd_t")
    union = c.Qx_Common_EA_InitEvent_Cmd_t_u_get(command)
    # Every union byte set first, so that the extent of the member's copy shows.
    c.Qx_Common_EA_InitEvent_Cmd_t_u_Can_RxMessages_set(
        union, all_ones(qxt, EVT + "Can_RxMessages_t", KINDS["Can_RxMessages"]))
    values = define(qxt, "Qx_Common_EA_InitEvent_Cmd_t_u", union, member, fields, how)
    c.Qx_Common_EA_InitEvent_Cmd_t_EventHandle_set(command, EVENT_HANDLE)
    c.Qx_Common_EA_InitEvent_Cmd_t_EventType_set(command, u16(qxt, code))
    c.Qx_Common_EA_AllocateEventByHandle(port, EVENT_HANDLE)

    assert c.Qx_Common_EA_InitEvent(port, command) is None

    call = sim.last("Qx_Common_EA_InitEvent")
    assert call.arg(1).value == port
    sent = call.arg(2).bytes
    assert len(sent) == 1556
    assert sent[:8] == pack("Qx_Common_EA_InitEvent_Cmd_t", EventHandle=EVENT_HANDLE, EventType=code)[:8]
    # Written in place, the member's padding keeps what the union held.
    padding = 0xFF if how == "view" else 0
    assert sent[8:] == pack(record_type, values, fill=padding) + b"\xff" * (1548 - size)


@pytest.mark.parametrize("how", ["copy", "view"])
@pytest.mark.parametrize("member, record_type, size, code, fields", ACTION_KINDS, ids=[k[0] for k in ACTION_KINDS])
def test_action_reaches_library(sim, qxt, port, member, record_type, size, code, fields, how):
    command = qxtest.new_record(c, "Qx_Common_EA_InitAction_Cmd_t")
    union = c.Qx_Common_EA_InitAction_Cmd_t_u_get(command)
    c.Qx_Common_EA_InitAction_Cmd_t_u_Can_SendMsg_set(union, all_ones(qxt, ACT + "Can_SendMsg_t", KINDS["Can_SendMsg"]))
    values = define(qxt, "Qx_Common_EA_InitAction_Cmd_t_u", union, member, fields, how)
    c.Qx_Common_EA_InitAction_Cmd_t_ActionHandle_set(command, ACTION_HANDLE)
    c.Qx_Common_EA_InitAction_Cmd_t_ActionType_set(command, u16(qxt, code))
    c.Qx_Common_EA_AllocateActionByHandle(port, ACTION_HANDLE)

    assert c.Qx_Common_EA_InitAction(port, command) is None

    sent = sim.last("Qx_Common_EA_InitAction").arg(2).bytes
    assert len(sent) == 88
    assert sent[:8] == pack("Qx_Common_EA_InitAction_Cmd_t", ActionHandle=ACTION_HANDLE, ActionType=code)[:8]
    assert sent[8:] == pack(record_type, values, fill=0xFF if how == "view" else 0) + b"\xff" * (80 - size)


@pytest.mark.parametrize("command, handle, type_field, size", [
    ("Qx_Common_EA_InitEvent_Cmd_t", "EventHandle", "EventType", 1556),
    ("Qx_Common_EA_InitAction_Cmd_t", "ActionHandle", "ActionType", 88),
])
def test_new_command_is_zeroed_and_the_library_judges_its_type(sim, qxt, port, command, handle, type_field, size):
    record = qxtest.new_record(c, command)
    assert getattr(c, f"{command}_{handle}_get")(record) == 0
    assert qxt.qxt_read_u16(qxtest.owned(getattr(c, f"{command}_{type_field}_get")(record)), 1) == [0]
    allocate, init = ("Event", "InitEvent") if handle == "EventHandle" else ("Action", "InitAction")
    getattr(c, f"Qx_Common_EA_Allocate{allocate}ByHandle")(port, 0)

    # The bindings never compare the type code with the union's contents.
    with pytest.raises(Exception) as raised:
        getattr(c, "Qx_Common_EA_" + init)(port, record)
    assert type(raised.value) is Exception
    assert str(raised.value) == f"Qx_Common_EA_{init}: unknown {allocate.lower()} type 0x0"
    assert sim.last("Qx_Common_EA_" + init).arg(2).bytes == bytes(size)


def test_union_views_share_the_command_bytes(sim, qxt, port):
    command = qxtest.new_record(c, "Qx_Common_EA_InitEvent_Cmd_t")
    first = c.Qx_Common_EA_InitEvent_Cmd_t_u_get(command)
    second = c.Qx_Common_EA_InitEvent_Cmd_t_u_get(command)
    c.Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_t_Channel_set(
        c.Qx_Common_EA_InitEvent_Cmd_t_u_Bus_Activity_get(first), 9)
    assert c.Qx_Common_EA_InitEvent_SubCmd_Bus_NoActivity_t_Channel_get(
        c.Qx_Common_EA_InitEvent_Cmd_t_u_Bus_NoActivity_get(second)) == 9
    c.Qx_Common_EA_AllocateEventByHandle(port, 3)
    c.Qx_Common_EA_InitEvent_Cmd_t_EventHandle_set(command, 3)
    c.Qx_Common_EA_InitEvent_Cmd_t_EventType_set(command, u16(qxt, c.QX_COMMON__EA__EVENT_TYPE__BUS__ACTIVITY))
    c.Qx_Common_EA_InitEvent(port, command)
    sent = sim.last("Qx_Common_EA_InitEvent").arg(2).bytes
    assert sent[8:16] == pack("Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_t", Channel=9)


def m(function, position, type_):
    return f"in method '{function}', argument {position} of type '{type_}'"




# (record, field, bad value (a callable of qxt and the module), exception, message)
SETTER_ERRORS = [
    ("Qx_Common_EA_InitEvent_Cmd_t", "EventType", lambda q: 0x801, TypeError,
     m("Qx_Common_EA_InitEvent_Cmd_t_EventType_set", 2, "u16_t")),
    ("Qx_Common_EA_InitEvent_Cmd_t", "EventType", lambda q: None, ValueError,
     "invalid null reference " + m("Qx_Common_EA_InitEvent_Cmd_t_EventType_set", 2, "u16_t")),
    ("Qx_Common_EA_InitAction_Cmd_t", "ActionType", lambda q: 0x300, TypeError,
     m("Qx_Common_EA_InitAction_Cmd_t_ActionType_set", 2, "u16_t")),
    ("Qx_Common_EA_InitAction_Cmd_t", "ActionType", lambda q: None, ValueError,
     "invalid null reference " + m("Qx_Common_EA_InitAction_Cmd_t_ActionType_set", 2, "u16_t")),
    ("Qx_Common_EA_InitEvent_Cmd_t", "EventHandle", lambda q: 2**32, OverflowError,
     m("Qx_Common_EA_InitEvent_Cmd_t_EventHandle_set", 2, "Qx_Common_EA_EventHandle_t")),
    (EVT + "Com_RxIndication_t", "Flags", lambda q: "1", TypeError,
     m(EVT + "Com_RxIndication_t_Flags_set", 2, EVT + "Com_RxIndication_CmdFlags_t")),
    (EVT + "SoAd_SoConState_Chgd_t", "Flags", lambda q: -1, OverflowError,
     m(EVT + "SoAd_SoConState_Chgd_t_Flags_set", 2, EVT + "SoAd_SoConState_Chgd_Flags_t")),
    (EVT + "Nm_BusSleepMode_t", "BusType", lambda q: 1.0, TypeError, m(EVT + "Nm_BusSleepMode_t_BusType_set", 2, "u8_t")),
    (EVT + "Com_TxPduSignal_TxCon_t", "ConditionX", lambda q: 2**32, OverflowError,
     m(EVT + "Com_TxPduSignal_TxCon_t_ConditionX_set", 2, "u32_t")),
    (EVT + "Com_Transmit_t", "CompareMaskAndData", lambda q: None, ValueError,
     "invalid null reference in variable 'CompareMaskAndData' of type 'u8_t [512]'"),
    (EVT + "Com_Transmit_t", "CompareMaskAndData", lambda q: [0] * 512, TypeError,
     m(EVT + "Com_Transmit_t_CompareMaskAndData_set", 2, "u8_t [512]")),
    (EVT + "FlexRay_Pdu_RxInd_t", "PduIds", lambda q: None, ValueError,
     "invalid null reference in variable 'PduIds' of type 'u32_t [0xFF]'"),
    (EVT + "FlexRay_Pdu_RxInd_t", "PduIds", lambda q: q.qxt_u8_array([0] * 1020), TypeError,
     m(EVT + "FlexRay_Pdu_RxInd_t_PduIds_set", 2, "u32_t [0xFF]")),
    (EVT + "FlexRay_Pdu_TxCon_t", "CompareMask", lambda q: None, ValueError,
     "invalid null reference in variable 'CompareMask' of type 'u8_t [0xFF]'"),
    (EVT + "FlexRay_Pdu_RxInd_t", "CompareMask", lambda q: q.qxt_u32_array([0] * 255), TypeError,
     m(EVT + "FlexRay_Pdu_RxInd_t_CompareMask_set", 2, "u8_t [0xFF]")),
    (EVT + "FlexRay_Pdu_TxCon_t", "CompareData", lambda q: None, ValueError,
     "invalid null reference in variable 'CompareData' of type 'u8_t [0xFF]'"),
    (EVT + "Can_TxMessage_t", "DataMask", lambda q: None, ValueError,
     "invalid null reference in variable 'DataMask' of type 'u8_t [8]'"),
    (EVT + "Lin_TxFrame_t", "Data", lambda q: None, ValueError,
     "invalid null reference in variable 'Data' of type 'u8_t [8]'"),
    (EVT + "Can_RxMessage_t", "Stream", lambda q: None, ValueError,
     "invalid null reference in variable 'Stream' of type 'u8_t [512]'"),
    (EVT + "Can_TxMessage_t", "Stream", lambda q: q.qxt_u16_array([0] * 256), TypeError,
     m(EVT + "Can_TxMessage_t_Stream_set", 2, "u8_t [512]")),
    (EVT + "Can_RxMessages_t", "Stream", lambda q: None, ValueError,
     "invalid null reference in variable 'Stream' of type 'u8_t [1536]'"),
    (ACT + "Can_SendMsg_t", "ExtendedData", lambda q: None, ValueError,
     "invalid null reference in variable 'ExtendedData' of type 'u8_t [56]'"),
    (ACT + "Can_SendMsg_t", "ExtendedData", lambda q: [0] * 56, TypeError,
     m(ACT + "Can_SendMsg_t_ExtendedData_set", 2, "u8_t [56]")),
    (ACT + "Lin_ChangeMsg_t", "DataMask", lambda q: None, ValueError,
     "invalid null reference in variable 'DataMask' of type 'u8_t [8]'"),
    (ACT + "Can_SendMsg_t", "Data", lambda q: None, ValueError,
     "invalid null reference in variable 'Data' of type 'u8_t [8]'"),
]


@pytest.mark.parametrize("record, field, bad, exception, message", SETTER_ERRORS,
                         ids=[f"{r[0].split('_')[-2]}.{r[1]}-{r[3].__name__}" for r in SETTER_ERRORS])
def test_setter_refuses_and_keeps_the_field(qxt, record, field, bad, exception, message):
    r = qxtest.new_record(c, record)
    member = record.split("SubCmd_", 1)[1][:-2] if "SubCmd_" in record else None
    if member:
        fill(c, qxt, record, r, KINDS[member])
    else:
        getattr(c, f"{record}_{field}_set")(r, qxt.qxt_u16_array([5]) if field in ("EventType", "ActionType") else 5)

    def current():
        value = qxtest.owned(getattr(c, f"{record}_{field}_get")(r))
        return qxt.qxt_read_u16(value, 1) if field in ("EventType", "ActionType") else value

    before = current()
    with pytest.raises(exception) as raised:
        getattr(c, f"{record}_{field}_set")(r, bad(qxt))
    assert str(raised.value) == message
    assert current() == before


@pytest.mark.parametrize("call, exception, message", [
    # A record of the same layout is still another type.
    (lambda: c.Qx_Common_EA_InitEvent_SubCmd_Nm_BusSleepMode_t_BusType_set(
        qxtest.new_record(c, "Qx_Common_EA_InitEvent_SubCmd_Nm_NetworkMode_t"), 1), TypeError,
     m(EVT + "Nm_BusSleepMode_t_BusType_set", 1, EVT + "Nm_BusSleepMode_t *")),
    (lambda: c.Qx_Common_EA_InitEvent_SubCmd_Bus_NoActivity_t_Channel_set(
        qxtest.new_record(c, "Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_t"), 1), TypeError,
     m(EVT + "Bus_NoActivity_t_Channel_set", 1, EVT + "Bus_NoActivity_t *")),
    (lambda: c.Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_TxCon_t_NumberOfPduIds_get(
        qxtest.new_record(c, "Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_RxInd_t")), TypeError,
     m(EVT + "FlexRay_Pdu_TxCon_t_NumberOfPduIds_get", 1, EVT + "FlexRay_Pdu_TxCon_t *")),
    (lambda: c.Qx_Common_EA_InitEvent_SubCmd_Can_TxMessage_t_Id_set(
        qxtest.new_record(c, "Qx_Common_EA_InitEvent_SubCmd_Can_RxMessage_t"), 1), TypeError,
     m(EVT + "Can_TxMessage_t_Id_set", 1, EVT + "Can_TxMessage_t *")),
    # Union members: the union, then a record of the member's kind.
    (lambda: c.Qx_Common_EA_InitEvent_Cmd_t_u_Bus_Activity_set(
        qxtest.new_record(c, "Qx_Common_EA_InitEvent_Cmd_t"), qxtest.new_record(c, "Qx_Common_EA_InitEvent_SubCmd_Bus_Activity_t")), TypeError,
     m(U + "Bus_Activity_set", 1, "Qx_Common_EA_InitEvent_Cmd_t_u *")),
    (lambda: c.Qx_Common_EA_InitEvent_Cmd_t_u_Tp_RxIndication_set(
        qxtest.new_record(c, "Qx_Common_EA_InitEvent_Cmd_t_u"), qxtest.new_record(c, "Qx_Common_EA_InitEvent_SubCmd_Software_UserEvent_t")), TypeError,
     m(U + "Tp_RxIndication_set", 2, EVT + "Tp_RxIndication_t *")),
    (lambda: c.Qx_Common_EA_InitEvent_Cmd_t_u_Tp_RxIndication_set(qxtest.new_record(c, "Qx_Common_EA_InitEvent_Cmd_t_u"), None),
     ValueError, "invalid null reference " + m(U + "Tp_RxIndication_set", 2, EVT + "Tp_RxIndication_t *")),
    (lambda: c.Qx_Common_EA_InitAction_Cmd_t_u_NotifyHost_set(qxtest.new_record(c, "Qx_Common_EA_InitAction_Cmd_t_u"), None),
     ValueError, "invalid null reference " + m("Qx_Common_EA_InitAction_Cmd_t_u_NotifyHost_set", 2,
                                               ACT + "NotifyHost_t *")),
    (lambda: c.Qx_Common_EA_InitAction_Cmd_t_u_NotifyHost_set(
        qxtest.new_record(c, "Qx_Common_EA_InitAction_Cmd_t_u"), qxtest.new_record(c, "Qx_Common_EA_InitAction_SubCmd_Lin_StopSched_t")), TypeError,
     m("Qx_Common_EA_InitAction_Cmd_t_u_NotifyHost_set", 2, ACT + "NotifyHost_t *")),
    # Argument counts of a setter.
    (lambda: c.Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t_BaseCycle_set(
        qxtest.new_record(c, "Qx_Common_EA_InitEvent_SubCmd_FlexRay_CycleStart_t")), TypeError,
     EVT + "FlexRay_CycleStart_t_BaseCycle_set expected 2 arguments, got 1"),
])
def test_record_arguments_of_the_wrong_kind(call, exception, message):
    with pytest.raises(exception) as raised:
        call()
    assert str(raised.value) == message


def test_member_copy_changes_only_its_own_bytes(qxt):
    """A 4-byte NotifyHost record over a Can_SendMsg: the CAN view shows the new
    Flags and the old Delay, Id and data."""
    union = qxtest.new_record(c, "Qx_Common_EA_InitAction_Cmd_t_u")
    send = c.Qx_Common_EA_InitAction_Cmd_t_u_Can_SendMsg_get(union)
    values = fill(c, qxt, ACT + "Can_SendMsg_t", send, KINDS["Can_SendMsg"])
    notify = qxtest.new_record(c, "Qx_Common_EA_InitAction_SubCmd_NotifyHost_t")
    c.Qx_Common_EA_InitAction_SubCmd_NotifyHost_t_NotificationId_set(notify, 77)
    c.Qx_Common_EA_InitAction_Cmd_t_u_NotifyHost_set(union, notify)
    assert c.Qx_Common_EA_InitAction_SubCmd_Can_SendMsg_t_Flags_get(send) == 77
    for name in ("Delay", "Id", "Data", "ExtendedData"):
        assert getattr(c, f"{ACT}Can_SendMsg_t_{name}_get")(send) == values[name]
