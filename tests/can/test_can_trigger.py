"""Trigger input and output modes, states and properties, through the
simulated CAN library."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import _qx_api as base  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

OUTPUT = "Qx_Can_Trigger_OutputMode_Set_Parameters_t"
ARRAYS = ["RxData", "RxDataMask", "TxData", "TxDataMask"]


def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


def input_state(port):
    response = record("Qx_Can_Trigger_InputState_Get_Response_t")
    can.Qx_Can_Trigger_InputState_Get(port, record("Qx_Can_Trigger_InputState_Get_Parameters_t"), response)
    return response


# ---- input modes ------------------------------------------------------------------------------

def test_input_modes_pass_their_scalars_truncated(sim, port):
    assert can.Qx_Can_Trigger_InputMode_Set_SendMsgGroup(port, 0xFFFFFFFF, 300, 257) is None
    call = sim.last("Qx_Can_Trigger_InputMode_Set_SendMsgGroup")
    assert [call.arg(n).value for n in range(1, 5)] == [port, 0xFFFFFFFF, 44, 1]
    assert can.Qx_Can_Trigger_InputMode_Set_WriteEvent(port, 2, 258) is None
    call = sim.last("Qx_Can_Trigger_InputMode_Set_WriteEvent")
    assert [call.arg(n).value for n in range(1, 4)] == [port, 2, 2]


def test_input_state_answers_the_mode_set(sim, port):
    assert can.Qx_Can_Trigger_InputState_Get_Response_t_Mode_get(input_state(port)) == 0
    can.Qx_Can_Trigger_InputMode_Set_SendMsgGroup(port, 0, 1, 1)
    assert can.Qx_Can_Trigger_InputState_Get_Response_t_Mode_get(input_state(port)) == 1
    can.Qx_Can_Trigger_InputMode_Set_WriteEvent(port, 0, 1)
    response = input_state(port)
    assert [can.Qx_Can_Trigger_InputState_Get_Response_t_Mode_get(response),
            can.Qx_Can_Trigger_InputState_Get_Response_t_Level_get(response),
            can.Qx_Can_Trigger_InputState_Get_Response_t_EventCounter_get(response)] == [2, 0, 0]
    assert can.Qx_Can_Trigger_InputMode_Reset(port) is None
    assert can.Qx_Can_Trigger_InputState_Get_Response_t_Mode_get(input_state(port)) == 0


@pytest.mark.parametrize("call, exc, message", [
    (lambda p: can.Qx_Can_Trigger_InputMode_Set_SendMsgGroup(p, 0, -1, 0), OverflowError,
     "in method 'Qx_Can_Trigger_InputMode_Set_SendMsgGroup', argument 3 of type 'u8_t'"),
    (lambda p: can.Qx_Can_Trigger_InputMode_Set_SendMsgGroup(p, 0, 0, "0"), TypeError,
     "in method 'Qx_Can_Trigger_InputMode_Set_SendMsgGroup', argument 4 of type "
     "'Qx_Can_Trigger_InputLevelSelection_t'"),
    (lambda p: can.Qx_Can_Trigger_InputMode_Set_WriteEvent(p, -1, 0), OverflowError,
     "in method 'Qx_Can_Trigger_InputMode_Set_WriteEvent', argument 2 of type "
     "'Qx_Can_Trigger_InputMode_Set_WriteEvent_CmdFlags_t'"),
    (lambda p: can.Qx_Can_Trigger_InputMode_Reset((p,)), TypeError,
     "in method 'Qx_Can_Trigger_InputMode_Reset', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: can.Qx_Can_Trigger_OutputMode_Set(p, record("Qx_Can_Trigger_OutputMode_Set_Parameters_t_Id")),
     TypeError, "in method 'Qx_Can_Trigger_OutputMode_Set', argument 2 of type "
                "'Qx_Can_Trigger_OutputMode_Set_Parameters_t const *const'"),
    (lambda p: can.Qx_Can_Trigger_InputState_Get(p, None, record("Qx_Can_Trigger_OutputState_Get_Response_t")),
     TypeError, "in method 'Qx_Can_Trigger_InputState_Get', argument 3 of type "
                "'Qx_Can_Trigger_InputState_Get_Response_t *const'"),
    (lambda p: can.Qx_Can_Trigger_Input_Property_GetById(p, 0, record("Qx_Can_Trigger_InputState_Get_Parameters_t")),
     TypeError, "in method 'Qx_Can_Trigger_Input_Property_GetById', argument 3 of type 'u32_t *const'"),
    (lambda p: can.Qx_Can_Trigger_Output_Property_SetById(p, -1, 0), OverflowError,
     "in method 'Qx_Can_Trigger_Output_Property_SetById', argument 2 of type 'Qx_Can_Trigger_Output_PropertyId_t'"),
])
def test_arguments_are_refused_before_anything_is_sent(sim, port, call, exc, message):
    with raises(exc, message):
        call(port)
    assert sim.journal()[-1].function == "Qx_OpenInterface"


# ---- output mode ------------------------------------------------------------------------------

def test_output_mode_sends_the_record_filled_through_its_views(sim, port):
    params = record(OUTPUT, CmdFlags=0x80000001, Mode=2, TriggerAction=257, Type=3, reserved=4)
    ids = can.Qx_Can_Trigger_OutputMode_Set_Parameters_t_Id_get(params)
    for field, value in dict(RxId=0x100, RxIdMask=0x7FF, TxId=0x1FFFFFFF, TxIdMask=0xFFFFFFFF).items():
        getattr(can, f"{OUTPUT}_Id_{field}_set")(ids, value)
    data = can.Qx_Can_Trigger_OutputMode_Set_Parameters_t_Data_get(params)
    for i, field in enumerate(ARRAYS):
        getattr(can, f"{OUTPUT}_Data_{field}_set")(data, tuple(range(i * 8, i * 8 + 8)))
    assert can.Qx_Can_Trigger_OutputMode_Set(port, params) is None
    assert sim.last("Qx_Can_Trigger_OutputMode_Set").arg(2).bytes == pack(OUTPUT, {
        "CmdFlags": 0x80000001, "Mode": 2, "TriggerAction": 1, "Type": 3, "reserved": 4,
        "Id": dict(RxId=0x100, RxIdMask=0x7FF, TxId=0x1FFFFFFF, TxIdMask=0xFFFFFFFF),
        "Data": {field: list(range(i * 8, i * 8 + 8)) for i, field in enumerate(ARRAYS)}})


def test_a_new_output_record_sends_all_zero(sim, port):
    can.Qx_Can_Trigger_OutputMode_Set(port, record(OUTPUT))
    assert sim.last("Qx_Can_Trigger_OutputMode_Set").arg(2).bytes == bytes(56)


def test_output_members_have_only_getters_in_their_parent():
    for name in ("Id", "Data"):
        assert hasattr(can, f"{OUTPUT}_{name}_get") and not hasattr(can, f"{OUTPUT}_{name}_set")


@pytest.mark.parametrize("field", ARRAYS)
def test_output_arrays_are_set_all_or_nothing(field):
    data = can.Qx_Can_Trigger_OutputMode_Set_Parameters_t_Data_get(record(OUTPUT))
    setter, getter = (getattr(can, f"{OUTPUT}_Data_{field}_{op}") for op in ("set", "get"))
    setter(data, [256, -1, 2, 3, 4, 5, 6, 7])
    assert getter(data) == [0, 255, 2, 3, 4, 5, 6, 7]
    name = f"{OUTPUT}_Data_{field}_set"
    for value, exc, text in [(7, TypeError, "Expecting a sequence"),
                             ([0] * 7, ValueError, "Expecting a sequence with 8 elements"),
                             ([0, 0, 0, 0, "x", 0, 0, 0], ValueError, "Expecting a sequence of u8_t")]:
        with raises(exc, f"fail in '{name}' : {text}"):
            setter(data, value)
    assert getter(data) == [0, 255, 2, 3, 4, 5, 6, 7]


def test_output_state_answers_the_mode_set(sim, port):
    can.Qx_Can_Trigger_OutputMode_Set(port, record(OUTPUT, Mode=5))
    params = record("Qx_Can_Trigger_OutputState_Get_Parameters_t", Mode=1)
    response = record("Qx_Can_Trigger_OutputState_Get_Response_t")
    assert can.Qx_Can_Trigger_OutputState_Get(port, params, response) is None
    call = sim.last("Qx_Can_Trigger_OutputState_Get")
    assert call.arg(2).bytes == pack("Qx_Can_Trigger_OutputState_Get_Parameters_t", Mode=1)
    assert call.arg(3).value == int(response)
    assert [getattr(can, f"Qx_Can_Trigger_OutputState_Get_Response_t_{f}_get")(response)
            for f in ("Mode", "Level", "RxEventCounter", "TxEventCounter")] == [5, 0, 0, 0]


def test_a_failing_state_read_leaves_the_response_alone(sim, port):
    response = record("Qx_Can_Trigger_OutputState_Get_Response_t", Mode=9, RxEventCounter=7)
    sim.fail("Qx_Can_Trigger_OutputState_Get", text=b"trigger busy")
    with raises(Exception, "trigger busy"):
        can.Qx_Can_Trigger_OutputState_Get(port, record("Qx_Can_Trigger_OutputState_Get_Parameters_t"), response)
    assert can.Qx_Can_Trigger_OutputState_Get_Response_t_Mode_get(response) == 9
    assert can.Qx_Can_Trigger_OutputState_Get_Response_t_RxEventCounter_get(response) == 7


def test_state_reads_need_both_records(sim, port):
    with raises(Exception, "Qx_Can_Trigger_InputState_Get: no parameters given"):
        can.Qx_Can_Trigger_InputState_Get(port, None, record("Qx_Can_Trigger_InputState_Get_Response_t"))
    assert sim.last("Qx_Can_Trigger_InputState_Get").arg(2).is_null


# ---- properties -------------------------------------------------------------------------------

@pytest.mark.parametrize("which", ["Input", "Output"])
def test_properties_keep_what_was_written(sim, port, which):
    set_, get = (getattr(can, f"Qx_Can_Trigger_{which}_Property_{op}ById") for op in ("Set", "Get"))
    assert set_(port, 65537, 0xFFFFFFFF) is None  # id 65537 reaches the library as 1
    assert sim.last(f"Qx_Can_Trigger_{which}_Property_SetById").arg(2).value == 1
    cell = qxtest.new_record(base, "int_p")
    assert get(port, 1, cell) is None
    assert base.int_p_value(cell) == 0xFFFFFFFF
    assert sim.last(f"Qx_Can_Trigger_{which}_Property_GetById").arg(3).value == int(cell)
    with raises(Exception, f"Qx_Can_Trigger_{which}_Property_GetById: unknown trigger {which.lower()} property 8"):
        get(port, 8, cell)
    assert base.int_p_value(cell) == 0xFFFFFFFF


def test_a_scripted_property_value_reaches_the_cell(sim, port):
    sim.output("Qx_Can_Trigger_Output_Property_GetById", 3, struct.pack("<I", 0x12345678))
    cell = qxtest.new_record(base, "int_p")
    can.Qx_Can_Trigger_Output_Property_GetById(port, 0, cell)
    assert base.int_p_value(cell) == 0x12345678
