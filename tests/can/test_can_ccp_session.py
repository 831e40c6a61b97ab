"""CCP master session: reset and set-up of a master instance, raw commands,
command state, responses, the event and DAQ message queues and the text of a
CCP error, through the simulated CAN library and its CCP slave."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import layouts  # noqa: E402
from layouts import pack, unpack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402
from ccp_support import STATION, init_parameters, master  # noqa: E402,F401

RESPONSE = "Qx_Can_Ccp_GetResponse_Rsp_t"


def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


def raw(*cro, retries=0):
    """A raw command message: the command code, the counter, parameters."""
    return record("Qx_Can_Ccp_Command_Parameters_t", AckTimeout=50, NumberOfRetries=retries,
                  Data=list(cro) + [0] * (8 - len(cro)))


def fields_of(name, obj):
    return {f: getattr(can, f"{name}_{f}_get")(obj) for f in layouts.record(name).fields}


def distinct_values(name):
    """A distinct value near the top of its width for every field."""
    high = {"u8": 0xF0, "u16": 0xFFF0, "u32": 0xFFFFFFF0}
    values = {}
    for i, (path, field) in enumerate(layouts.record(name).fields.items()):
        if field.count:
            values[path] = [0xE0 + i + k for k in range(field.count)]
        else:
            values[path] = high[field.type] + i
    return values


# ---- records ----------------------------------------------------------------------

@pytest.mark.parametrize("name, call", [
    ("Qx_Can_Ccp_Init_Parameters_t", lambda port, r: can.Qx_Can_Ccp_Init(port, 1, r)),
    ("Qx_Can_Ccp_Command_Parameters_t", lambda port, r: can.Qx_Can_Ccp_Command(port, 1, r)),
])
def test_argument_records_reach_the_library_in_their_layout(sim, port, name, call):
    values = distinct_values(name)
    obj = record(name, **values)
    try:
        call(port, obj)
    except Exception:
        pass  # the slave may refuse the values; what it received is the point
    function = "Qx_Can_Ccp_Init" if name.startswith("Qx_Can_Ccp_Init") else "Qx_Can_Ccp_Command"
    assert sim.last(function).arg(3).bytes == pack(name, values)
    assert fields_of(name, obj) == values


@pytest.mark.parametrize("function, argno, name, args", [
    ("Qx_Can_Ccp_GetCommandState", 3, "Qx_Can_Ccp_GetCommandState_Rsp_t", "state"),
    ("Qx_Can_Ccp_GetResponse", 3, RESPONSE, ()),
    ("Qx_Can_Ccp_CommandWithResponse", 4, RESPONSE, "command"),
])
def test_response_records_read_every_field_the_library_wrote(sim, master, function, argno, name, args):
    values = distinct_values(name)
    sim.output(function, argno, pack(name, values))
    if args == "state":
        state = qxtest.new_record(can, "Qx_Can_Ccp_GetCommandState_Rsp_t")
        assert can.Qx_Can_Ccp_GetCommandState(master, 0, state) is None
        result = state
    elif args == "command":
        result = qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(master, 0, raw(0x1B, 1, 2, 1)))
    else:
        can.Qx_Can_Ccp_Command(master, 0, raw(0x1B, 1, 2, 1))
        result = qxtest.owned(can.Qx_Can_Ccp_GetResponse(master, 0))
    assert fields_of(name, result) == values
    assert result.own()


@pytest.mark.parametrize("record_name", ["Qx_Can_Ccp_Command_Parameters_t", RESPONSE, "Qx_Can_Ccp_EventMessage_t",
                                         "Qx_Can_Ccp_DaqMessage_t"])
@pytest.mark.parametrize("value, cls, text", [
    (5, TypeError, "Expecting a sequence"),
    ([1] * 7, ValueError, "Expecting a sequence with 8 elements"),
    ([1] * 9, ValueError, "Expecting a sequence with 8 elements"),
    ([1] * 7 + ["x"], ValueError, "Expecting a sequence of u8_t"),
])
def test_data_setters_refuse_anything_but_eight_ints_and_keep_the_record(record_name, value, cls, text):
    obj = record(record_name, Data=list(range(8)))
    with raises(cls, f"fail in '{record_name}_Data_set' : {text}"):
        getattr(can, f"{record_name}_Data_set")(obj, value)
    assert getattr(can, f"{record_name}_Data_get")(obj) == list(range(8))


@pytest.mark.parametrize("value, cls", [(-1, OverflowError), (2**32, OverflowError), ("1", TypeError)])
def test_init_field_setters_refuse_values_outside_32_bits(value, cls):
    obj = qxtest.new_record(can, "Qx_Can_Ccp_Init_Parameters_t")
    with raises(cls, "in method 'Qx_Can_Ccp_Init_Parameters_t_StationAddress_set', argument 2 of type 'u16_t'"):
        can.Qx_Can_Ccp_Init_Parameters_t_StationAddress_set(obj, value)
    with raises(cls, "in method 'Qx_Can_Ccp_Init_Parameters_t_CmdFlags_set', argument 2 of type "
                     "'Qx_Can_Ccp_Init_CmdFlags_t'"):
        can.Qx_Can_Ccp_Init_Parameters_t_CmdFlags_set(obj, value)


# ---- arguments ----------------------------------------------------------------------

SESSION = [
    ("Qx_Can_Ccp_Reset", ()),
    ("Qx_Can_Ccp_Init", ("init",)),
    ("Qx_Can_Ccp_Command", ("command",)),
    ("Qx_Can_Ccp_GetCommandState", ("state",)),
    ("Qx_Can_Ccp_GetResponse", ()),
    ("Qx_Can_Ccp_GetEventMessages", (4,)),
    ("Qx_Can_Ccp_GetDaqMessages", (4,)),
    ("Qx_Can_Ccp_CommandWithResponse", ("command",)),
]


def arguments(extra):
    made = {"init": lambda: init_parameters(can), "command": lambda: raw(0x05, 0, STATION & 0xFF, STATION >> 8),
            "state": lambda: record("Qx_Can_Ccp_GetCommandState_Rsp_t")}
    return tuple(made[a]() if a in made else a for a in extra)


@pytest.mark.parametrize("function, extra", SESSION)
def test_port_and_instance_are_passed_first_and_checked(sim, port, function, extra):
    with raises(OverflowError, f"in method '{function}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(can, function)(-1, 0, *arguments(extra))
    with raises(TypeError, f"in method '{function}', argument 2 of type 'u8_t'"):
        getattr(can, function)(port, None, *arguments(extra))
    with raises(OverflowError, f"in method '{function}', argument 2 of type 'u8_t'"):
        getattr(can, function)(port, 2**32, *arguments(extra))
    assert sim.calls(function) == 0
    with raises(Exception, f"{function}: invalid port handle 0x00012345"):
        getattr(can, function)(0x12345, 3, *arguments(extra))
    call = sim.last(function)
    assert [call.arg(1).value, call.arg(2).value] == [0x12345, 3]
    n = 2 + len(extra)
    with raises(TypeError, f"{function} expected {n} arguments, got {n + 1}"):
        getattr(can, function)(port, 0, *arguments(extra), 0)


def test_an_instance_beyond_eight_bits_is_truncated(sim, port):
    can.Qx_Can_Ccp_Init(port, 256 + 2, init_parameters(can))
    assert sim.last("Qx_Can_Ccp_Init").arg(2).value == 2
    with raises(Exception, "Qx_Can_Ccp_Reset: no CCP master 4 on a port (0 to 3)"):
        can.Qx_Can_Ccp_Reset(port, 4)


@pytest.mark.parametrize("function, argno, type_text", [
    ("Qx_Can_Ccp_Init", 3, "Qx_Can_Ccp_Init_Parameters_t const *const"),
    ("Qx_Can_Ccp_Command", 3, "Qx_Can_Ccp_Command_Parameters_t const *const"),
    ("Qx_Can_Ccp_CommandWithResponse", 3, "Qx_Can_Ccp_Command_Parameters_t const *const"),
    ("Qx_Can_Ccp_GetCommandState", 3, "Qx_Can_Ccp_GetCommandState_Rsp_t *const"),
])
def test_records_of_another_type_are_refused(sim, port, function, argno, type_text):
    with raises(TypeError, f"in method '{function}', argument {argno} of type '{type_text}'"):
        getattr(can, function)(port, 0, qxtest.new_record(can, "Qx_Can_Ccp_GetResponse_Rsp_t"))
    assert sim.calls(function) == 0


@pytest.mark.parametrize("function, text", [
    ("Qx_Can_Ccp_Init", "no parameters given"),
    ("Qx_Can_Ccp_Command", "no command given"),
    ("Qx_Can_Ccp_CommandWithResponse", "no command given"),
    ("Qx_Can_Ccp_GetCommandState", "no state record given"),
])
def test_none_records_pass_a_null_pointer(sim, master, function, text):
    with raises(Exception, f"{function}: {text}"):
        getattr(can, function)(master, 0, None)
    assert sim.last(function).arg(3).is_null


# ---- set-up and order ------------------------------------------------------------------

def test_commands_need_a_set_up_master_and_a_connection(sim, port):
    with raises(Exception, "Qx_Can_Ccp_Command: CCP master 1 is not set up"):
        can.Qx_Can_Ccp_Command(port, 1, raw(0x01, 0, STATION & 0xFF, STATION >> 8))
    can.Qx_Can_Ccp_Init(port, 1, init_parameters(can))
    with raises(Exception, "Qx_Can_Ccp_CommandWithResponse: CCP master 1 is not connected: CONNECT comes first"):
        can.Qx_Can_Ccp_CommandWithResponse(port, 1, raw(0x1B, 0, 2, 1))
    state = qxtest.new_record(can, "Qx_Can_Ccp_GetCommandState_Rsp_t")
    can.Qx_Can_Ccp_GetCommandState(port, 1, state)
    assert fields_of("Qx_Can_Ccp_GetCommandState_Rsp_t", state)["Flags"] == 2  # no answer
    # a raw CONNECT at the slave's station address opens the session
    rsp = qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(port, 1, raw(0x01, 7, STATION & 0xFF, STATION >> 8)))
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_Data_get(rsp) == [0xFF, 0, 7, 0, 0, 0, 0, 0]
    version = qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(port, 1, raw(0x1B, 8, 2, 1)))
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_Data_get(version)[:5] == [0xFF, 0, 8, 2, 1]
    # the other instances are not touched
    with raises(Exception, "Qx_Can_Ccp_GetResponse: CCP master 0 is not set up"):
        can.Qx_Can_Ccp_GetResponse(port, 0)


def test_reset_drops_the_session(master):
    can.Qx_Can_Ccp_Reset(master, 0)
    with raises(Exception, "Qx_Can_Ccp_Command_Test: CCP master 0 is not set up"):
        can.Qx_Can_Ccp_Command_Test(master, 0, STATION)


def test_queue_depths_are_bounded(port):
    with raises(Exception, "Qx_Can_Ccp_Init: queue depth 33 above 32"):
        can.Qx_Can_Ccp_Init(port, 0, init_parameters(can, EventMessageFifoDepth=33))


# ---- raw commands and responses ------------------------------------------------------------

def test_raw_commands_queue_their_responses_in_order(sim, master):
    state = qxtest.new_record(can, "Qx_Can_Ccp_GetCommandState_Rsp_t")
    assert can.Qx_Can_Ccp_Command(master, 0, raw(0x1B, 0x21, 2, 1, retries=3)) is None
    assert can.Qx_Can_Ccp_Command(master, 0, raw(0x55, 0x22)) is None  # no such command
    can.Qx_Can_Ccp_GetCommandState(master, 0, state)
    assert fields_of("Qx_Can_Ccp_GetCommandState_Rsp_t", state) == dict(
        Flags=1, CcpError=0x30, NumberOfRetries=0, RetryCounter=0, reserved1=0, reserved2=0)
    first, second = qxtest.owned((can.Qx_Can_Ccp_GetResponse(master, 0), can.Qx_Can_Ccp_GetResponse(master, 0)))
    assert fields_of(RESPONSE, first) == dict(Flags=1, CcpError=0, Dlc=8, reserved1=0, reserved2=0, reserved3=0,
                                              Data=[0xFF, 0, 0x21, 2, 1, 0, 0, 0])
    assert fields_of(RESPONSE, second)["Data"] == [0xFF, 0x30, 0x22, 0, 0, 0, 0, 0]
    with raises(Exception, "Qx_Can_Ccp_GetResponse: no CCP response waiting"):
        can.Qx_Can_Ccp_GetResponse(master, 0)
    # the response records outlive later calls and are freed by their destructor
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_Data_get(first)[2] == 0x21
    can.delete_Qx_Can_Ccp_GetResponse_Rsp_t(first)
    can.delete_Qx_Can_Ccp_GetResponse_Rsp_t(first)
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_CcpError_get(second) == 0x30


def test_command_state_keeps_the_retries_of_the_raw_command(master):
    qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(master, 0, raw(0x05, 1, STATION & 0xFF, STATION >> 8, retries=3)))
    state = qxtest.new_record(can, "Qx_Can_Ccp_GetCommandState_Rsp_t")
    can.Qx_Can_Ccp_GetCommandState(master, 0, state)
    assert can.Qx_Can_Ccp_GetCommandState_Rsp_t_NumberOfRetries_get(state) == 3


def test_the_response_queue_has_the_depth_set_up(port):
    can.Qx_Can_Ccp_Init(port, 0, init_parameters(can, ResponseFifoDepth=2))
    test = raw(0x05, 0, STATION & 0xFF, STATION >> 8)
    can.Qx_Can_Ccp_Command(port, 0, test)
    can.Qx_Can_Ccp_Command(port, 0, test)
    with raises(Exception, "Qx_Can_Ccp_Command: response queue full (2 responses waiting)"):
        can.Qx_Can_Ccp_Command(port, 0, test)


def test_command_with_response_returns_a_new_owned_record_each_time(sim, master):
    first = qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(master, 0, raw(0x1B, 1, 2, 1)))
    second = qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(master, 0, raw(0x1B, 2, 2, 1)))
    assert first.own() and second.own() and int(first) != int(second)
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_Data_get(first)[2] == 1
    assert len(sim.last("Qx_Can_Ccp_CommandWithResponse").arg(4).bytes) == 20
    assert sim.last("Qx_Can_Ccp_CommandWithResponse").arg(3).bytes == pack(
        "Qx_Can_Ccp_Command_Parameters_t", AckTimeout=50, Data=[0x1B, 2, 2, 1])


@pytest.mark.parametrize("function, args", [("Qx_Can_Ccp_GetResponse", ()),
                                            ("Qx_Can_Ccp_CommandWithResponse", ("command",))])
def test_a_failing_response_query_returns_nothing(sim, master, function, args):
    sim.fail(function, 0x77, b"CCP timeout")
    with raises(Exception, "CCP timeout"):
        getattr(can, function)(master, 0, *arguments(args))


# ---- message queues ---------------------------------------------------------------------------

QUEUES = [("Qx_Can_Ccp_GetEventMessages", "Qx_Can_Ccp_EventMessage_t"),
          ("Qx_Can_Ccp_GetDaqMessages", "Qx_Can_Ccp_DaqMessage_t")]


@pytest.mark.parametrize("function, item", QUEUES)
def test_queue_readers_return_flags_and_owned_message_copies(sim, master, function, item):
    messages = pack(item, Dlc=8, Data=range(1, 9)) + pack(item, Dlc=3, reserved2=9, Data=[0xAA, 0xBB, 0xCC])
    sim.output(function, 3, struct.pack("<I", 0x80000001))
    sim.output(function, 4, struct.pack("<I", 2))
    sim.output(function, 5, messages)
    flags, items = qxtest.owned(getattr(can, function)(master, 0, 3))
    call = sim.last(function)
    assert call.arg(4).bytes == struct.pack("<I", 3)  # the count cell holds the capacity
    assert len(call.arg(5).bytes) == 3 * 12
    assert flags == 0x80000001
    assert [fields_of(item, m) for m in items] == [unpack(item, messages[:12]), unpack(item, messages[12:])]
    # independent records: deleting one leaves the other
    getattr(can, "delete_" + item)(items[0])
    assert fields_of(item, items[1])["Data"][:3] == [0xAA, 0xBB, 0xCC]


@pytest.mark.parametrize("function, item", QUEUES)
def test_queue_readers_never_return_more_than_the_capacity(sim, master, function, item):
    sim.output(function, 4, struct.pack("<I", 9))
    assert len(qxtest.owned(getattr(can, function)(master, 0, 2))[1]) == 2


@pytest.mark.parametrize("function, item", QUEUES)
def test_queue_readers_with_capacity_zero(sim, master, function, item):
    assert getattr(can, function)(master, 0, 0) == [0, []]
    assert sim.last(function).arg(4).bytes == struct.pack("<I", 0)


@pytest.mark.parametrize("function, item", QUEUES)
@pytest.mark.parametrize("capacity, cls, text", [
    (-1, ValueError, "capacity out of range"),
    (2**31, OverflowError, "capacity out of range"),
    ("4", TypeError, "Expecting a integer"),
])
def test_queue_readers_refuse_bad_capacities(sim, master, function, item, capacity, cls, text):
    with raises(cls, f"fail in '{function}' : {text}"):
        getattr(can, function)(master, 0, capacity)
    assert sim.calls(function) == 0


@pytest.mark.parametrize("function, item", QUEUES)
def test_a_failing_queue_reader_returns_nothing(sim, master, function, item):
    sim.fail(function, 5, b"queue unavailable")
    with raises(Exception, "queue unavailable"):
        getattr(can, function)(master, 0, 4)


def test_event_messages_report_finished_actions_and_overruns(qxt, port):
    can.Qx_Can_Ccp_Init(port, 0, init_parameters(can, EventMessageFifoDepth=2))
    can.Qx_Can_Ccp_Command_Connect(port, 0, STATION)
    for service in (0x101, 0x102, 0x103):
        can.Qx_Can_Ccp_Command_ActionService(port, 0, service, qxt.qxt_u8_array([0] * 4), None)
    flags, events = qxtest.owned(can.Qx_Can_Ccp_GetEventMessages(port, 0, 1))
    assert flags == 1  # the third event was lost
    assert [can.Qx_Can_Ccp_EventMessage_t_Data_get(e) for e in events] == [[0xFE, 0, 0, 1, 1, 0, 0, 0]]
    flags, events = qxtest.owned(can.Qx_Can_Ccp_GetEventMessages(port, 0, 8))
    assert (flags, [can.Qx_Can_Ccp_EventMessage_t_Data_get(e)[3:5] for e in events]) == (0, [[1, 2]])
    assert can.Qx_Can_Ccp_GetEventMessages(port, 0, 8) == [0, []]


# ---- the text of a CCP error -----------------------------------------------------------------

def test_error_description_takes_no_argument():
    with pytest.raises(TypeError):
        can.Qx_Can_Ccp_GetCcpErrorDescription(0)


def test_error_description_before_any_reply_is_the_zeroed_record_alone(sim):
    rsp = qxtest.owned(can.Qx_Can_Ccp_GetCcpErrorDescription())
    assert rsp.own()
    assert fields_of(RESPONSE, rsp) == unpack(RESPONSE, bytes(20))
    assert len(sim.last("Qx_Can_Ccp_GetCcpErrorDescription").arg(1).bytes) == 20


@pytest.mark.parametrize("cro, code, text", [
    ((0x1B, 1, 2, 1), 0x00, "acknowledge (no error)"),
    ((0x55, 1), 0x30, "unknown command"),
    ((0x16, 1, 1, 0, 0, 0, 0x10, 0), 0x31, "command syntax"),
    ((0x02, 1, 2), 0x32, "parameter(s) out of range"),
    ((0x13, 1, 0, 0, 0, 0, 0, 0), 0x31, "command syntax"),
    ((0x18, 1, 1, 0), 0x35, "access locked"),
])
def test_error_description_names_the_error_of_the_last_reply(master, cro, code, text):
    qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(master, 0, raw(*cro)))
    described, rsp = qxtest.owned(can.Qx_Can_Ccp_GetCcpErrorDescription())
    assert described == text
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_CcpError_get(rsp) == code
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_Data_get(rsp)[:3] == [0xFF, code, 1]


def test_wrong_key_is_described_as_access_denied(master):
    qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(master, 0, raw(0x12, 1, 0x40)))
    qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(master, 0, raw(0x13, 2, 1, 2, 3, 4)))
    assert qxtest.owned(can.Qx_Can_Ccp_GetCcpErrorDescription())[0] == "access denied"


@pytest.mark.parametrize("text, expected", [(b"scripted text", "scripted text"), (b"bad \xff byte", "bad \udcff byte")])
def test_error_description_decodes_the_native_text(sim, text, expected):
    sim.text_result("Qx_Can_Ccp_GetCcpErrorDescription", text)
    described, rsp = qxtest.owned(can.Qx_Can_Ccp_GetCcpErrorDescription())
    assert described == expected
    assert rsp.own()


def test_a_null_error_description_returns_the_record_alone(sim, master):
    qxtest.owned(can.Qx_Can_Ccp_CommandWithResponse(master, 0, raw(0x55, 1)))
    sim.text_result("Qx_Can_Ccp_GetCcpErrorDescription", None)
    sim.output("Qx_Can_Ccp_GetCcpErrorDescription", 1, pack(RESPONSE, CcpError=0x36, Dlc=8))
    rsp = qxtest.owned(can.Qx_Can_Ccp_GetCcpErrorDescription())
    assert not isinstance(rsp, list)
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_CcpError_get(rsp) == 0x36
