"""Cyclic messages: definition, changes, start and stop, groups, disturbances
and the state query, through the simulated CAN library."""
import pytest

import qxtest
can = qxtest.module("_qx_api_can")

from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

ID = 0x123
PARAMS = "Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t"



@pytest.fixture
def message(port):
    """A stopped cyclic message ID in group 2, data bytes 1 to 8."""
    can.Qx_Can_CyclicMsgs_DefineMsg(port, ID, 100, 0, 2, 0, list(range(1, 9)), 8)
    return port


def state(port, msg_id=ID):
    rsp = qxtest.owned(can.Qx_Can_CyclicMsgs_GetMsgState(port, msg_id))
    names = ["Id", "CycleTime", "Group", "Mode", "MsgCount", "Dlc"]
    values = {n: getattr(can, f"Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_{n}_get")(rsp) for n in names}
    values["Data"] = can.Qx_Can_Data_t_U8_get(can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_get(rsp))
    return values


def data_record(values):
    data = qxtest.new_record(can, "Qx_Can_Data_t")
    can.Qx_Can_Data_t_U8_set(data, values + [0] * (64 - len(values)))
    return data


# ---- definition ---------------------------------------------------------------

def test_define_msg_passes_every_argument_and_a_64_byte_buffer(sim, port):
    can.Qx_Can_CyclicMsgs_DefineMsg(port, 0x1FFFFFFF, 0x1000A, 1, 2, 3, list(range(64)), 0x10F)
    call = sim.last("Qx_Can_CyclicMsgs_DefineMsg")
    assert [call.arg(n).value for n in (1, 2, 3, 4, 5, 6, 8)] == [port, 0x1FFFFFFF, 0xA, 1, 2, 3, 0x0F]
    assert call.arg(7).bytes == bytes(range(64))
    assert state(port, 0x1FFFFFFF)["Mode"] == 1


@pytest.mark.parametrize("items, sent", [
    ([], bytes(64)),
    ((255, -1, 256), bytes([255, 255, 0]) + bytes(61)),
    ([True] * 64, bytes([1]) * 64),
])
def test_define_msg_byte_lists(sim, port, items, sent):
    can.Qx_Can_CyclicMsgs_DefineMsg(port, ID, 10, 0, 0, 0, items, 0)
    assert sim.last("Qx_Can_CyclicMsgs_DefineMsg").arg(7).bytes == sent


DEFINE = "Qx_Can_CyclicMsgs_DefineMsg"


@pytest.mark.parametrize("args, cls, message", [
    ((ID, 10, 0, 0, 0, 5, 8), TypeError, f"fail in '{DEFINE}' : Expecting a sequence"),
    ((ID, 10, 0, 0, 0, [1, "2"], -1), TypeError, f"fail in '{DEFINE}' : list must contain u8_t"),
    ((ID, 10, 0, 0, 0, [0] * 65, 8), ValueError, f"fail in '{DEFINE}' : Expecting a sequence with at most 64 elements"),
    ((ID, 10, 0, 0, 0, [0], -1), OverflowError, f"in method '{DEFINE}', argument 8 of type 'u8_t'"),
    ((ID, 10, "0", 0, 0, "not reached", 8), TypeError,
     f"in method '{DEFINE}', argument 4 of type 'Qx_Can_CyclicMsgs_SendState_t'"),
    ((ID, 2**32, 0, 0, 0, [], 8), OverflowError, f"in method '{DEFINE}', argument 3 of type 'u16_t'"),
])
def test_define_msg_argument_errors_in_declaration_order(sim, port, args, cls, message):
    with raises(cls, message):
        can.Qx_Can_CyclicMsgs_DefineMsg(port, *args)
    assert sim.calls(DEFINE) == 0


def test_define_msg_counts_its_arguments():
    with raises(TypeError, f"{DEFINE} expected 8 arguments, got 7"):
        can.Qx_Can_CyclicMsgs_DefineMsg(1, 2, 3, 4, 5, 6, [])


# ---- operations on a defined message ------------------------------------------------

OPERATIONS = [
    ("Qx_Can_CyclicMsgs_DeleteMsg", (), []),
    ("Qx_Can_CyclicMsgs_SetMsgBreakCount", (0x10005,), [5]),
    ("Qx_Can_CyclicMsgs_SetMsgBreakTime", (7,), [7]),
    ("Qx_Can_CyclicMsgs_ChangeCycleTime", (250,), [250]),
    ("Qx_Can_CyclicMsgs_ChangeGroupNumber", (0x104,), [4]),
    ("Qx_Can_CyclicMsgs_StartMsg", (), []),
    ("Qx_Can_CyclicMsgs_StopMsg", (), []),
]


@pytest.mark.parametrize("function, args, sent", OPERATIONS)
def test_operations_pass_port_id_and_values(sim, message, function, args, sent):
    assert getattr(can, function)(message, ID, *args) is None
    call = sim.last(function)
    assert [a.value for a in call.args] == [message, ID] + sent


@pytest.mark.parametrize("function, args, sent", OPERATIONS + [
    ("Qx_Can_CyclicMsgs_GetMsgState", (), []),
    ("Qx_Can_CyclicMsgs_ChangeMsgData", ([0xFF], 8, [1], 0, 0), []),
])
def test_operations_on_an_unknown_message_fail_with_its_name(message, function, args, sent):
    with raises(Exception, f"{function}: no cyclic message 0x124 defined on port 0x{message:08X}"):
        getattr(can, function)(message, ID + 1, *args)


def test_changes_show_in_the_message_state(message):
    can.Qx_Can_CyclicMsgs_ChangeCycleTime(message, ID, 500)
    can.Qx_Can_CyclicMsgs_ChangeGroupNumber(message, ID, 9)
    can.Qx_Can_CyclicMsgs_StartMsg(message, ID)
    got = state(message)
    assert (got["Id"], got["CycleTime"], got["Group"], got["Mode"], got["Dlc"]) == (ID, 500, 9, 1, 8)
    assert got["Data"][:9] == [1, 2, 3, 4, 5, 6, 7, 8, 0]
    can.Qx_Can_CyclicMsgs_DeleteMsg(message, ID)
    with raises(Exception, f"Qx_Can_CyclicMsgs_GetMsgState: no cyclic message 0x123 defined on port 0x{message:08X}"):
        can.Qx_Can_CyclicMsgs_GetMsgState(message, ID)


def test_groups_start_and_stop_their_messages(sim, message):
    can.Qx_Can_CyclicMsgs_StartGroup(message, 0x102)
    assert sim.last("Qx_Can_CyclicMsgs_StartGroup").arg(2).value == 2
    assert state(message)["Mode"] == 1
    can.Qx_Can_CyclicMsgs_StopGroup(message, 2)
    assert state(message)["Mode"] == 0
    with raises(Exception, f"Qx_Can_CyclicMsgs_StopGroup: no cyclic message in group 3 on port 0x{message:08X}"):
        can.Qx_Can_CyclicMsgs_StopGroup(message, 3)


@pytest.mark.parametrize("function, count", [
    ("Qx_Can_CyclicMsgs_ChangeMsgData", ()),
    ("Qx_Can_CyclicMsgs_ChangeMsgDataAndMsgCount", (0x107,)),
])
def test_change_msg_data_fills_two_separate_buffers(sim, message, function, count):
    getattr(can, function)(message, ID, *count, [0xFF, 0, 0xF0], 4, [0xAA, 0xBB, 0xCC], 3, 0x10009)
    call = sim.last(function)
    mask, data = (3, 5) if not count else (4, 6)
    assert call.arg(mask).bytes == bytes([0xFF, 0, 0xF0]) + bytes(61)
    assert call.arg(data).bytes == bytes([0xAA, 0xBB, 0xCC]) + bytes(61)
    assert [call.arg(n).value for n in (mask + 1, data + 1, data + 2)] == [4, 3, 9]
    if count:
        assert call.arg(3).value == 7
    got = state(message)
    assert got["Data"][:4] == [0xAA, 2, 0xC3, 4] and got["Dlc"] == 4


@pytest.mark.parametrize("function, args", [
    ("Qx_Can_CyclicMsgs_ChangeMsgData", ([0], 8, [0, None], 0, 0)),
    ("Qx_Can_CyclicMsgs_ChangeMsgDataAndMsgCount", (1, [0], 8, [0, 1.0], 0, 0)),
])
def test_a_bad_item_in_the_second_list_names_the_function(sim, message, function, args):
    with raises(TypeError, f"fail in '{function}' : list must contain u8_t"):
        getattr(can, function)(message, ID, *args)
    assert sim.calls(function) == 0


# ---- signals and data by value -------------------------------------------------------

def test_calculation_break_count_takes_a_signal_by_value(sim, message, make_signal):
    signal = make_signal(16, 1, 0x0102)
    can.Qx_Can_CyclicMsgs_SetCalculationBreakCount(message, ID, signal, 0x103, 0x10020)
    call = sim.last("Qx_Can_CyclicMsgs_SetCalculationBreakCount")
    assert call.arg(3).kind == "r"
    assert call.arg(3).bytes == pack("Qx_Common_Signal_t", Size=16, ByteOrder=1, Offset=0x0102)
    assert [call.arg(n).value for n in (4, 5)] == [3, 0x20]
    with raises(ValueError, "invalid null reference in method 'Qx_Can_CyclicMsgs_SetCalculationBreakCount', "
                            "argument 3 of type 'Qx_Common_Signal_t const'"):
        can.Qx_Can_CyclicMsgs_SetCalculationBreakCount(message, ID, None, 0, 0)
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_SetCalculationBreakCount', "
                           "argument 3 of type 'Qx_Common_Signal_t const'"):
        can.Qx_Can_CyclicMsgs_SetCalculationBreakCount(message, ID, data_record([]), 0, 0)
    assert sim.calls("Qx_Can_CyclicMsgs_SetCalculationBreakCount") == 1


def test_disturbance_passes_two_data_records_by_value(sim, message):
    mask, data = data_record([0xFF, 0x0F]), data_record([1, 2, 3])
    can.Qx_Can_CyclicMsgs_DefineDisturbance(message, ID, 0x102, 0x10003, mask, data)
    call = sim.last("Qx_Can_CyclicMsgs_DefineDisturbance")
    assert [call.arg(n).value for n in (3, 4)] == [2, 3]
    assert (call.arg(5).kind, call.arg(5).bytes) == ("r", bytes([0xFF, 0x0F]) + bytes(62))
    assert (call.arg(6).kind, call.arg(6).bytes) == ("r", bytes([1, 2, 3]) + bytes(61))


@pytest.mark.parametrize("position", [5, 6])
def test_disturbance_refuses_none_for_either_record(sim, message, position):
    args = [data_record([]), data_record([])]
    args[position - 5] = None
    with raises(ValueError, "invalid null reference in method 'Qx_Can_CyclicMsgs_DefineDisturbance', "
                            f"argument {position} of type 'Qx_Can_Data_t const'"):
        can.Qx_Can_CyclicMsgs_DefineDisturbance(message, ID, 0, 0, *args)
    assert sim.calls("Qx_Can_CyclicMsgs_DefineDisturbance") == 0


# ---- the change parameters record ------------------------------------------------------

def view(parent, member):
    return getattr(can, f"{PARAMS}_{member}_get")(parent)


def test_change_msg_sends_the_parameters_record_with_its_nested_records(sim, message):
    params = qxtest.new_record(can, "Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t")
    for field, value in [("Id", ID), ("Flags", 0x80000001), ("SendState", 1), ("Group", 5), ("MsgCount", 6),
                         ("Dlc", 12)]:
        getattr(can, f"{PARAMS}_{field}_set")(params, value)
    data, cycle, extended = view(params, "Data"), view(params, "CycleTime"), view(params, "ExtendedMaskAndData")
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_Data_Flags_set(data, 0x11)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_Data_Mask_set(data, [0xFF] + [0] * 7)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_Data_Data_set(data, (0x55,) + (9,) * 7)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_Data_MinimumDelay_set(data, 0x10001)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_Data_NumberOfMsgsBeforeRestore_set(data, 0xFFFF)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_CycleTime_Flags_set(cycle, 0x22)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_CycleTime_CycleTime_set(cycle, 40)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_CycleTime_reserved2_set(cycle, 0x1EE)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_ExtendedMaskAndData_Length_set(extended, 4)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_ExtendedMaskAndData_Mask_set(extended, [0xFF] * 56)
    can.Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t_ExtendedMaskAndData_Data_set(extended, list(range(56)))
    can.Qx_Can_CyclicMsgs_ChangeMsg(message, params)
    sent = sim.last("Qx_Can_CyclicMsgs_ChangeMsg").arg(2).bytes
    assert len(sent) == 164
    # MinimumDelay and reserved2 keep their low bits only.
    assert sent == pack(PARAMS, Id=ID, Flags=0x80000001, SendState=1, Group=5, MsgCount=6, Dlc=12,
                        Data=dict(Flags=0x11, Mask=[0xFF], Data=[0x55] + [9] * 7, MinimumDelay=1,
                                  NumberOfMsgsBeforeRestore=0xFFFF),
                        CycleTime=dict(Flags=0x22, CycleTime=40, reserved2=0xEE),
                        ExtendedMaskAndData=dict(Length=4, Mask=[0xFF] * 56, Data=range(56)))
    got = state(message)
    assert (got["Group"], got["MsgCount"], got["Dlc"], got["CycleTime"], got["Mode"]) == (5, 6, 12, 40, 1)
    assert got["Data"][:12] == [0x55, 2, 3, 4, 5, 6, 7, 8, 0, 1, 2, 3]


def test_change_msg_with_none_passes_null(sim, message):
    with raises(Exception, "Qx_Can_CyclicMsgs_ChangeMsg: no parameters given"):
        can.Qx_Can_CyclicMsgs_ChangeMsg(message, None)
    assert sim.last("Qx_Can_CyclicMsgs_ChangeMsg").arg(2).is_null
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_ChangeMsg', argument 2 of type "
                           "'Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t const *const'"):
        can.Qx_Can_CyclicMsgs_ChangeMsg(message, view(qxtest.new_record(can, "Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t"), "Data"))


def test_nested_records_have_getters_only_and_their_own_classes():
    for member in ("Data", "CycleTime", "ExtendedMaskAndData"):
        assert not hasattr(can, f"{PARAMS}_{member}_set")
        assert hasattr(can, f"new_{PARAMS}_{member}")
    params = qxtest.new_record(can, "Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t")
    cycle = view(params, "CycleTime")
    assert not cycle.own()
    assert int(cycle) == int(params) + 36


@pytest.mark.parametrize("setter, value, cls, message", [
    ("ExtendedMaskAndData_Mask", [0] * 55, ValueError, "Expecting a sequence with 56 elements"),
    ("ExtendedMaskAndData_Data", 7, TypeError, "Expecting a sequence"),
    ("Data_Mask", [0] * 9, ValueError, "Expecting a sequence with 8 elements"),
    ("Data_Data", [0] * 7 + ["x"], ValueError, "Expecting a sequence of u8_t"),
])
def test_array_setters_keep_the_old_bytes_on_failure(setter, value, cls, message):
    params = qxtest.new_record(can, "Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t")
    nested = view(params, setter.split("_")[0])
    name = f"{PARAMS}_{setter}"
    size = 56 if setter.startswith("Extended") else 8
    getattr(can, name + "_set")(nested, [7] * size)
    with raises(cls, f"fail in '{name}_set' : {message}"):
        getattr(can, name + "_set")(nested, value)
    assert getattr(can, name + "_get")(nested) == [7] * size


@pytest.mark.parametrize("name, field, value, cls, type_text", [
    (PARAMS, "Flags", 2**32, OverflowError, "Qx_Can_CyclicMsgs_ChangeMsg_CmdFlags_t"),
    ("Qx_Can_CyclicMsgs_GetMsgState_Rsp_t", "Mode", -1, OverflowError, "Qx_Can_CyclicMsgs_MsgMode_t"),
    ("Qx_Can_CyclicMsgs_GetMsgState_Rsp_t", "Data", [0] * 64, TypeError, "Qx_Can_Data_t *"),
])
def test_field_errors_name_the_field_type(name, field, value, cls, type_text):
    with raises(cls, f"in method '{name}_{field}_set', argument 2 of type '{type_text}'"):
        getattr(can, f"{name}_{field}_set")(qxtest.new_record(can, name), value)


# ---- the state query ------------------------------------------------------------

def test_state_query_returns_a_new_owned_record_each_time(sim, message):
    sim.output("Qx_Can_CyclicMsgs_GetMsgState", 3,
               pack("Qx_Can_CyclicMsgs_GetMsgState_Rsp_t", Id=0xFFFFFFFF, CycleTime=0xFFFF, Group=1, Mode=2,
                    MsgCount=3, Dlc=4, reserved1=5, reserved2=6, Data={"U8": range(64)}))
    first, second = qxtest.owned([can.Qx_Can_CyclicMsgs_GetMsgState(message, ID) for _ in range(2)])
    assert first.own() and int(first) != int(second)
    names = ["Id", "CycleTime", "Group", "Mode", "MsgCount", "Dlc", "reserved1", "reserved2"]
    assert [getattr(can, f"Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_{n}_get")(first) for n in names] == \
        [0xFFFFFFFF, 0xFFFF, 1, 2, 3, 4, 5, 6]
    view_ = can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_get(first)
    assert not view_.own() and can.Qx_Can_Data_t_U8_get(view_) == list(range(64))
    can.Qx_Can_Data_t_U8_set(view_, [9] * 64)
    can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_set(second, data_record([1, 2]))
    assert can.Qx_Can_Data_t_U8_get(can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_get(first)) == [9] * 64
    assert can.Qx_Can_Data_t_U8_get(can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_get(second))[:3] == [1, 2, 0]


def test_state_data_set_from_none_leaves_the_record(message):
    rsp = qxtest.owned(can.Qx_Can_CyclicMsgs_GetMsgState(message, ID))
    with raises(ValueError, "invalid null reference in method 'Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_set', "
                            "argument 2 of type 'Qx_Can_Data_t *'"):
        can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_set(rsp, None)
    assert can.Qx_Can_Data_t_U8_get(can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_get(rsp))[:2] == [1, 2]


def test_state_query_failure_returns_nothing(sim, message):
    sim.fail("Qx_Can_CyclicMsgs_GetMsgState", 4, b"engine busy")
    with raises(Exception, "engine busy"):
        can.Qx_Can_CyclicMsgs_GetMsgState(message, ID)
    assert not sim.last("Qx_Can_CyclicMsgs_GetMsgState").arg(3).is_null
