"""Node state, transceiver, line-side controls, FD state and node properties
through the simulated CAN library."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import layouts  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402



def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


def property_value(port, property_id):
    rsp = qxtest.owned(can.Qx_Can_Node_Property_GetById(port, record("Qx_Can_Node_Property_GetById_Cmd_t",
                                                                     PropertyId=property_id)))
    return can.Qx_Can_Node_Property_GetById_Rsp_t_Value_get(rsp)


# Every function of the node state with valid arguments after the port.
FUNCTIONS = [
    ("Qx_Can_Node_ErrorFrameCounter_Get", ()),
    ("Qx_Can_Node_ErrorFrameCounter_Reset", ()),
    ("Qx_Can_Node_GetState", (0,)),
    ("Qx_Can_Node_Transceiver_SetMode", (0,)),
    ("Qx_Can_Node_TxPath_Control", (0,)),
    ("Qx_Can_Node_BusTermination_Enable", ()),
    ("Qx_Can_Node_BusTermination_Disable", ()),
    ("Qx_Can_Node_InternalVBat_Enable", ()),
    ("Qx_Can_Node_InternalVBat_Disable", ()),
    ("Qx_Can_Node_BusIdleTime_Get", ()),
    ("Qx_Can_Node_FdState_Get", (0,)),
    ("Qx_Can_Node_FdState_Set", ("fd",)),
    ("Qx_Can_Node_Property_SetById", ("set",)),
    ("Qx_Can_Node_Property_GetById", ("get",)),
]


def arguments(extra):
    made = {"fd": lambda: qxtest.new_record(can, "Qx_Can_Node_FdState_Set_Cmd_t"),
            "set": lambda: record("Qx_Can_Node_Property_SetById_Cmd_t", PropertyId=1, Value=5),
            "get": lambda: qxtest.new_record(can, "Qx_Can_Node_Property_GetById_Cmd_t")}
    return tuple(made[a]() if a in made else a for a in extra)


@pytest.mark.parametrize("function, extra", FUNCTIONS)
def test_port_is_passed_first_and_checked(sim, port, function, extra):
    qxtest.owned(getattr(can, function)(port, *arguments(extra)))
    assert sim.last(function).arg(1).value == port
    with raises(OverflowError, f"in method '{function}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(can, function)(-1, *arguments(extra))
    with raises(Exception, f"{function}: invalid port handle 0x00012345"):
        getattr(can, function)(0x12345, *arguments(extra))


@pytest.mark.parametrize("function", ["Qx_Can_Node_ErrorFrameCounter_Get", "Qx_Can_Node_BusIdleTime_Get"])
def test_scalar_outputs_return_the_cell_itself(sim, port, function):
    sim.output(function, 2, struct.pack("<I", 0xFFFFFFFF))
    assert getattr(can, function)(port) == 4294967295
    assert not sim.last(function).arg(2).is_null
    sim.fail(function, 3, b"counter unavailable")
    with raises(Exception, "counter unavailable"):
        getattr(can, function)(port)


@pytest.mark.parametrize("function, value, sent", [
    ("Qx_Can_Node_Transceiver_SetMode", 256, 0),
    ("Qx_Can_Node_TxPath_Control", True, 1),
    ("Qx_Can_Node_GetState", 0x1FF, 0xFF),
    ("Qx_Can_Node_FdState_Get", 0xFFFFFFFF, 0xFFFFFFFF),
])
def test_mode_and_flag_arguments_are_truncated_to_their_width(sim, port, function, value, sent):
    qxtest.owned(getattr(can, function)(port, value))
    assert sim.last(function).arg(2).value == sent


@pytest.mark.parametrize("function, value, cls, type_text", [
    ("Qx_Can_Node_Transceiver_SetMode", "x", TypeError, "Qx_Can_Node_Transceiver_Mode_t"),
    ("Qx_Can_Node_Transceiver_SetMode", -1, OverflowError, "Qx_Can_Node_Transceiver_Mode_t"),
    ("Qx_Can_Node_TxPath_Control", 2**32, OverflowError, "Qx_Can_Node_TxPath_Mode_t"),
    ("Qx_Can_Node_GetState", None, TypeError, "Qx_Can_Node_GetState_Mode_t"),
    ("Qx_Can_Node_FdState_Get", 1.5, TypeError, "Qx_Can_Node_FdState_Get_CmdFlags_t"),
    ("Qx_Can_Node_FdState_Set", qxtest.new_record(can, "Qx_Can_Node_FdState_Get_Rsp_t"), TypeError,
     "Qx_Can_Node_FdState_Set_Cmd_t const *const"),
    ("Qx_Can_Node_Property_SetById", qxtest.new_record(can, "Qx_Can_Node_Property_GetById_Cmd_t"), TypeError,
     "Qx_Can_Node_Property_SetById_Cmd_t const *const"),
    ("Qx_Can_Node_Property_GetById", qxtest.new_record(can, "Qx_Can_Node_Property_SetById_Cmd_t"), TypeError,
     "Qx_Can_Node_Property_GetById_Cmd_t const *const"),
])
def test_second_argument_errors_call_nothing(sim, port, function, value, cls, type_text):
    with raises(cls, f"in method '{function}', argument 2 of type '{type_text}'"):
        getattr(can, function)(port, value)
    assert sim.calls(function) == 0


def test_two_argument_functions_count_their_arguments(port):
    with raises(TypeError, "Qx_Can_Node_GetState expected 2 arguments, got 3"):
        can.Qx_Can_Node_GetState(port, 0, 0)


@pytest.mark.parametrize("function, args, argno, name", [
    ("Qx_Can_Node_GetState", (1,), 3, "Qx_Can_Node_GetState_Rsp_t"),
    ("Qx_Can_Node_FdState_Get", (0,), 3, "Qx_Can_Node_FdState_Get_Rsp_t"),
    ("Qx_Can_Node_Property_GetById", ("get",), 3, "Qx_Can_Node_Property_GetById_Rsp_t"),
])
def test_response_records_read_what_the_library_wrote(sim, port, function, args, argno, name):
    """Every field of the response, each with a distinct value near its top."""
    high = {"u8": 0xF0, "u16": 0xFFF0, "u32": 0xFFFFFFF0}
    fields = layouts.record(name).fields.values()
    values = {f.path: high[f.type] + i for i, f in enumerate(fields)}
    sim.output(function, argno, pack(name, values))
    result = qxtest.owned(getattr(can, function)(port, *arguments(args)))
    assert result.own()
    assert {field: getattr(can, f"{name}_{field}_get")(result) for field in values} == values


def test_each_get_state_returns_an_independent_record(port):
    first, second = qxtest.owned((can.Qx_Can_Node_GetState(port, 0), can.Qx_Can_Node_GetState(port, 0)))
    assert int(first) != int(second)
    can.Qx_Can_Node_GetState_Rsp_t_RxErrorCounter_set(first, 7)
    assert can.Qx_Can_Node_GetState_Rsp_t_RxErrorCounter_get(second) == 0


def test_a_failing_state_query_raises_the_library_text(sim, port):
    sim.fail("Qx_Can_Node_FdState_Get", 9, b"FD not available")
    with raises(Exception, "FD not available"):
        can.Qx_Can_Node_FdState_Get(port, 0)


def test_fd_state_set_sends_its_command_and_the_state_reads_back(sim, port):
    command = record("Qx_Can_Node_FdState_Set_Cmd_t", Flags=0x80000000,
                     TxBrs_Global=can.QX_CAN__TX_BRS__GLOBAL__ALL,
                     TxBrs_InitValue=can.QX_CAN__TX_BRS__INIT_VALUE__ENABLED,
                     TxEsi_Global=can.QX_CAN__TX_ESI__GLOBAL__IS_SET,
                     TxEsi_InitValue=can.QX_CAN__TX_ESI__INIT_VALUE__ERROR_PASSIVE,
                     FdFrameFormatSpec=can.QX_CAN__FD_FRAME_FORMAT_SPEC__BOSCH_CAN_FD_SPEC_1_0,
                     reserved1=0, reserved2=0, reserved3=0, BaudRateFd=4000000)
    can.Qx_Can_Node_FdState_Set(port, command)
    assert sim.last("Qx_Can_Node_FdState_Set").arg(2).bytes == pack(
        "Qx_Can_Node_FdState_Set_Cmd_t", Flags=0x80000000, TxBrs_Global=1, TxBrs_InitValue=1, TxEsi_Global=1,
        TxEsi_InitValue=1, FdFrameFormatSpec=1, BaudRateFd=4000000)
    state = qxtest.owned(can.Qx_Can_Node_FdState_Get(port, 0))
    read = [getattr(can, "Qx_Can_Node_FdState_Get_Rsp_t_" + f + "_get")(state)
            for f in ("TxBrs_Global", "TxEsi_InitValue", "FdFrameFormatSpec", "BaudRateFd")]
    assert read == [1, 1, 1, 4000000]


def test_fd_state_set_has_no_fd_mode_field():
    assert not hasattr(can, "Qx_Can_Node_FdState_Set_Cmd_t_FdMode_set")
    assert not hasattr(can, "Qx_Can_Node_FdState_Set_Cmd_t_FdMode_get")
    assert hasattr(can, "Qx_Can_Node_FdState_Get_Rsp_t_FdMode_get")


def test_property_commands_carry_their_layout(sim, port):
    can.Qx_Can_Node_Property_SetById(port, record("Qx_Can_Node_Property_SetById_Cmd_t", PropertyId=2**16 + 1,
                                                  reserved1=2, reserved2=3, Value=25))
    assert sim.last("Qx_Can_Node_Property_SetById").arg(2).bytes == pack(
        "Qx_Can_Node_Property_SetById_Cmd_t", PropertyId=1, reserved1=2, reserved2=3, Value=25)
    assert can.Qx_Can_Node_BusIdleTime_Get(port) == 25
    rsp = qxtest.owned(can.Qx_Can_Node_Property_GetById(port, record("Qx_Can_Node_Property_GetById_Cmd_t",
                                                                     PropertyId=1)))
    assert sim.last("Qx_Can_Node_Property_GetById").arg(2).bytes == pack("Qx_Can_Node_Property_GetById_Cmd_t",
                                                                         PropertyId=1)
    assert can.Qx_Can_Node_Property_GetById_Rsp_t_Value_get(rsp) == 25


@pytest.mark.parametrize("function, args, property_id, value", [
    ("Qx_Can_Node_BusTermination_Enable", (), "ENABLE_BUS_TERMINATION", 1),
    ("Qx_Can_Node_BusTermination_Disable", (), "ENABLE_BUS_TERMINATION", 0),
    ("Qx_Can_Node_InternalVBat_Enable", (), "ENABLE_INTERNAL_VBAT", 1),
    ("Qx_Can_Node_TxPath_Control", (1,), "DISABLE_SOFTWARE_TX_PATH", 1),
    ("Qx_Can_Node_Transceiver_SetMode", (5,), "TRANSCEIVER_MODE", 5),
    ("Qx_Can_Node_Baudrate_Set", (250000, None), "BAUD_RATE", 250000),
])
def test_node_controls_show_in_the_node_properties(port, function, args, property_id, value):
    qxtest.owned(getattr(can, function)(port, *args))
    assert property_value(port, getattr(can, "QX_CAN__NODE__PROPERTY_ID__" + property_id)) == value


def test_sleep_mode_shows_in_the_transceiver_pins(port):
    can.Qx_Can_Node_Transceiver_SetMode(port, can.QX_CAN__TRANSCEIVER_MODE__SLEEP)
    state = qxtest.owned(can.Qx_Can_Node_GetState(port, 0))
    assert can.Qx_Can_Node_GetState_Rsp_t_TransceiverPin_Enable_get(state) == 0
    assert can.Qx_Can_Node_GetState_Rsp_t_TransceiverPin_NotStandby_get(state) == 0


@pytest.mark.parametrize("call, text", [
    (lambda p: can.Qx_Can_Node_Transceiver_SetMode(p, 6),
     "Qx_Can_Node_Transceiver_SetMode: unknown transceiver mode 6"),
    (lambda p: property_value(p, can.QX_CAN__NODE__PROPERTY_ID__UNKNOWN),
     "Qx_Can_Node_Property_GetById: unknown node property 31"),
    (lambda p: can.Qx_Can_Node_Property_SetById(
        p, record("Qx_Can_Node_Property_SetById_Cmd_t", PropertyId=can.QX_CAN__NODE__PROPERTY_ID__FD__SUPPORTED)),
     "Qx_Can_Node_Property_SetById: node property 20 is read-only"),
    (lambda p: can.Qx_Can_Node_FdState_Set(p, record("Qx_Can_Node_FdState_Set_Cmd_t", TxBrs_Global=3)),
     "Qx_Can_Node_FdState_Set: value 3 out of range for property 15"),
])
def test_values_outside_the_families_reach_the_library_which_refuses_them(sim, port, call, text):
    with raises(Exception, text):
        call(port)


def test_null_commands_reach_the_library(sim, port):
    with raises(Exception, "Qx_Can_Node_FdState_Set: no command given"):
        can.Qx_Can_Node_FdState_Set(port, None)
    assert sim.last("Qx_Can_Node_FdState_Set").arg(2).is_null
