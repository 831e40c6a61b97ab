"""Node baud rates and bit timing: register values, classic and FD baud rates
and their records, through the simulated CAN library."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import layouts  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

CALC = "Qx_Can_Node_CalculateBaudrateRegisterValue"



def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


def fields(name, obj, names):
    return [getattr(can, f"{name}_{field}_get")(obj) for field in names]


# ---- register value -----------------------------------------------------------

@pytest.mark.parametrize("clock, rate", [(80e6, 500e3), (80000000, 500000), (80000000, 500000.0)])
def test_register_value_takes_doubles_and_bytes_and_returns_the_cell(sim, port, clock, rate):
    sim.output(CALC, 2, struct.pack("<I", 0xFFFFFFFE))
    assert can.Qx_Can_Node_CalculateBaudrateRegisterValue(port, clock, rate, 80, 16, 2, 257) == 0xFFFFFFFE
    call = sim.last(CALC)
    assert [a.kind for a in call.args] == ["u", "p", "f", "f", "u", "u", "u", "u"]
    assert [call.arg(n).value for n in (1, 3, 4, 5, 6, 7, 8)] == [port, 80e6, 500e3, 80, 16, 2, 1]
    assert not call.arg(2).is_null


@pytest.mark.parametrize("args, cls, message", [
    ((0, "80", 5e5, 80, 16, 1, 1), TypeError, "argument 3 of type 'double'"),
    ((0, 8e7, 10**400, 80, 16, 1, 1), TypeError, "argument 4 of type 'double'"),
    ((0, 8e7, None, 80, 16, 1, 1), TypeError, "argument 4 of type 'double'"),
    ((0, 8e7, 5e5, -1, 16, 1, 1), OverflowError, "argument 5 of type 'u8_t'"),
    ((0, 8e7, 5e5, 80, 16, 1, 2**32), OverflowError, "argument 8 of type 'u8_t'"),
    ((-1, 8e7, 5e5, 80, 16, 1, 1), OverflowError, "argument 1 of type 'Qx_PortHandle_t'"),
])
def test_register_value_argument_errors_call_nothing(sim, args, cls, message):
    with raises(cls, f"in method '{CALC}', {message}"):
        can.Qx_Can_Node_CalculateBaudrateRegisterValue(*args)
    assert sim.calls(CALC) == 0


def test_register_value_counts_its_seven_arguments():
    with raises(TypeError, f"{CALC} expected 7 arguments, got 6"):
        can.Qx_Can_Node_CalculateBaudrateRegisterValue(1, 8e7, 5e5, 80, 16, 1)


def test_a_computed_register_sets_the_node_baud_rate(sim, port):
    value = can.Qx_Can_Node_CalculateBaudrateRegisterValue(port, 80e6, 250e3, 75, 20, 1, 1)
    assert can.Qx_Can_Node_SetBaudrateRegisterAndTransceiverType(port, value, 256 + 3) is None
    call = sim.last("Qx_Can_Node_SetBaudrateRegisterAndTransceiverType")
    assert [call.arg(n).value for n in (1, 2, 3)] == [port, value, 3]
    actual = qxtest.owned(can.Qx_Can_Node_Baudrate_Get(port))
    assert fields("Qx_Can_Node_Baudrate_ActualValues_t", actual, ["Baudrate", "NumberOfTimeQuanta"]) == [250000, 20]


# ---- classic and FD baud rates ---------------------------------------------------

EXTENDED = dict(SamplePoint_Min=70, SamplePoint_Max=90, NumberOfTimeQuanta_Min=8, NumberOfTimeQuanta_Max=20,
                TSeg1_Min=1, TSeg1_Max=30, TSeg2_Min=1, TSeg2_Max=10, Sjw_Min=1, Sjw_Max=4,
                reserved1=0xAA, reserved2=0x1BB)


def test_baudrate_set_passes_the_bounds_record_and_returns_the_actual_values(sim, port):
    bounds = record("Qx_Can_Node_Baudrate_Set_ExtendedParam_t", **EXTENDED)
    actual = qxtest.owned(can.Qx_Can_Node_Baudrate_Set(port, 500000, bounds))
    call = sim.last("Qx_Can_Node_Baudrate_Set")
    assert call.arg(2).value == 500000
    assert call.arg(3).bytes == bytes([70, 90, 8, 20, 1, 30, 1, 10, 1, 4, 0xAA, 0xBB])
    assert call.arg(3).value == int(bounds) and not call.arg(4).is_null
    assert actual.own()
    rate, clock, sample_point, quanta = fields("Qx_Can_Node_Baudrate_ActualValues_t", actual,
                                               ["Baudrate", "CanControllerClock", "SamplePoint", "NumberOfTimeQuanta"])
    assert rate == 500000 and clock > 0 and 70 <= sample_point <= 90 and 8 <= quanta <= 20


def test_baudrate_set_without_bounds_passes_null(sim, port):
    actual = qxtest.owned(can.Qx_Can_Node_Baudrate_Set(port, 1000000, None))
    assert sim.last("Qx_Can_Node_Baudrate_Set").arg(3).is_null
    assert can.Qx_Can_Node_Baudrate_ActualValues_t_Baudrate_get(actual) == 1000000


@pytest.mark.parametrize("call, message", [
    (lambda p: can.Qx_Can_Node_Baudrate_Set(p, 500000, qxtest.new_record(can, "Qx_Can_Node_Baudrate_ActualValues_t")),
     "in method 'Qx_Can_Node_Baudrate_Set', argument 3 of type "
     "'Qx_Can_Node_Baudrate_Set_ExtendedParam_t const *const'"),
    (lambda p: can.Qx_Can_Node_BaudrateFd_Set(p, qxtest.new_record(can, "Qx_Can_Node_BaudrateFd_Set_Rsp_t")),
     "in method 'Qx_Can_Node_BaudrateFd_Set', argument 2 of type 'Qx_Can_Node_BaudrateFd_Set_Cmd_t const *const'"),
    (lambda p: can.Qx_Can_Node_BaudrateFd_Get(p, 1.0),
     "in method 'Qx_Can_Node_BaudrateFd_Get', argument 2 of type 'Qx_Can_Node_BaudrateFd_Get_CmdFlags_t'"),
    (lambda p: can.Qx_Can_Node_SetBaudrateRegisterAndTransceiverType(p, 1, "3"),
     "in method 'Qx_Can_Node_SetBaudrateRegisterAndTransceiverType', argument 3 of type "
     "'Qx_Can_Node_TransceiverType_t'"),
])
def test_arguments_of_the_wrong_type(sim, port, call, message):
    with raises(TypeError, message):
        call(port)
    assert [entry.function for entry in sim.journal()] == ["Qx_OpenInterface"]


@pytest.mark.parametrize("call, text", [
    (lambda p: can.Qx_Can_Node_Baudrate_Set(p, 0, None),
     "Qx_Can_Node_Baudrate_Set: no bit timing for 0 bit/s within the bounds"),
    (lambda p: can.Qx_Can_Node_BaudrateFd_Set(p, None), "Qx_Can_Node_BaudrateFd_Set: no command given"),
    (lambda p: can.Qx_Can_Node_CalculateBaudrateRegisterValue(p, 80e6, 0, 80, 16, 1, 1),
     f"{CALC}: clock and baud rate must be positive"),
    (lambda p: can.Qx_Can_Node_Baudrate_Get(p + 7), "Qx_Can_Node_Baudrate_Get: invalid port handle 0x00010008"),
])
def test_refusals_of_the_library_raise_its_text(port, call, text):
    with raises(Exception, text):
        call(port)


def test_a_failing_status_returns_no_record(sim, port):
    sim.fail("Qx_Can_Node_Baudrate_Get", 0x55, b"node not initialised")
    with raises(Exception, "node not initialised"):
        can.Qx_Can_Node_Baudrate_Get(port)


def test_each_baudrate_get_returns_an_independent_record(port):
    first, second = qxtest.owned((can.Qx_Can_Node_Baudrate_Get(port), can.Qx_Can_Node_Baudrate_Get(port)))
    assert int(first) != int(second)
    can.Qx_Can_Node_Baudrate_ActualValues_t_Baudrate_set(first, 1)
    assert can.Qx_Can_Node_Baudrate_ActualValues_t_Baudrate_get(second) == 500000
    assert can.Qx_Can_Node_Baudrate_ActualValues_t_Baudrate_get(qxtest.owned(can.Qx_Can_Node_Baudrate_Get(port))) == 500000
    can.delete_Qx_Can_Node_Baudrate_ActualValues_t(first)
    assert not first.own()


def test_fd_command_layout_and_response(sim, port):
    values = dict(Flags=0xF0000001, BaudRate=2000000, SamplePoint_Min=60, SamplePoint_Max=90,
                  NumberOfTimeQuanta_Min=10, NumberOfTimeQuanta_Max=40, TSeg1_Min=1, TSeg1_Max=60, TSeg2_Min=1,
                  TSeg2_Max=30, Sjw_Min=1, Sjw_Max=8, reserved1=1, reserved2=2, TdcOffset=31)
    response = qxtest.owned(can.Qx_Can_Node_BaudrateFd_Set(port, record("Qx_Can_Node_BaudrateFd_Set_Cmd_t", **values)))
    sent = sim.last("Qx_Can_Node_BaudrateFd_Set").arg(2).bytes
    assert sent == pack("Qx_Can_Node_BaudrateFd_Set_Cmd_t", **values)
    name = "Qx_Can_Node_BaudrateFd_Set_Rsp_t"
    assert fields(name, response, ["BaudRate", "TdcOffset"]) == [2000000, 31]
    got = qxtest.owned(can.Qx_Can_Node_BaudrateFd_Get(port, 0xFFFFFFFF))
    assert sim.last("Qx_Can_Node_BaudrateFd_Get").arg(2).value == 0xFFFFFFFF
    assert can.Qx_Can_Node_BaudrateFd_Get_Rsp_t_Baudrate_get(got) == 2000000


@pytest.mark.parametrize("function, args, argno, name", [
    ("Qx_Can_Node_Baudrate_Get", (), 2, "Qx_Can_Node_Baudrate_ActualValues_t"),
    ("Qx_Can_Node_BaudrateFd_Get", (0,), 3, "Qx_Can_Node_BaudrateFd_Get_Rsp_t"),
    ("Qx_Can_Node_BaudrateFd_Set", ("command",), 3, "Qx_Can_Node_BaudrateFd_Set_Rsp_t"),
])
def test_response_records_read_what_the_library_wrote(sim, port, function, args, argno, name):
    """Every field of the response, each with a distinct value near its top."""
    high = {"u8": 0xF0, "u32": 0xFFFFFFF0}
    values = {f.path: high[f.type] + i for i, f in enumerate(layouts.record(name).fields.values())}
    sim.output(function, argno, pack(name, values))
    if args == ("command",):
        args = (record("Qx_Can_Node_BaudrateFd_Set_Cmd_t", BaudRate=1000000),)
    result = qxtest.owned(getattr(can, function)(port, *args))
    assert result.own()
    assert fields(name, result, list(values)) == list(values.values())


def test_rate_accessors_keep_the_native_spelling():
    assert hasattr(can, "Qx_Can_Node_BaudrateFd_Set_Cmd_t_BaudRate_set")
    assert hasattr(can, "Qx_Can_Node_BaudrateFd_Get_Rsp_t_Baudrate_get")
    assert not hasattr(can, "Qx_Can_Node_BaudrateFd_Get_Rsp_t_BaudRate_get")
    assert not hasattr(can, "Qx_Can_Node_Baudrate_ActualValues_t_BaudRate_set")


@pytest.mark.parametrize("name, field, value, stored", [
    ("Qx_Can_Node_Baudrate_Set_ExtendedParam_t", "Sjw_Max", 0x1FF, 0xFF),
    ("Qx_Can_Node_Baudrate_ActualValues_t", "Baudrate", 2**32 - 1, 2**32 - 1),
    ("Qx_Can_Node_BaudrateFd_Set_Cmd_t", "TdcOffset", True, 1),
    ("Qx_Can_Node_BaudrateFd_Get_Rsp_t", "TSeg1", 300, 44),
])
def test_record_fields_store_truncated_to_their_width(name, field, value, stored):
    obj = record(name, **{field: value})
    assert getattr(can, f"{name}_{field}_get")(obj) == stored
    assert getattr(can, f"{name}_{field}_set")(None, 1) is None


@pytest.mark.parametrize("name, field, value, cls, type_text", [
    ("Qx_Can_Node_Baudrate_Set_ExtendedParam_t", "TSeg1_Min", -1, OverflowError, "u8_t"),
    ("Qx_Can_Node_BaudrateFd_Set_Cmd_t", "Flags", 2**32, OverflowError, "Qx_Can_Node_BaudrateFd_Set_CmdFlags_t"),
    ("Qx_Can_Node_BaudrateFd_Set_Rsp_t", "Flags", "1", TypeError, "Qx_Can_Node_BaudrateFd_Set_RspFlags_t"),
])
def test_record_field_errors_name_the_field_type(name, field, value, cls, type_text):
    obj = qxtest.new_record(can, name)
    with raises(cls, f"in method '{name}_{field}_set', argument 2 of type '{type_text}'"):
        getattr(can, f"{name}_{field}_set")(obj, value)
    assert getattr(can, f"{name}_{field}_get")(obj) == 0
