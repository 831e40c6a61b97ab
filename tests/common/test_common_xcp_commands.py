"""XCP raw commands, the master's command state and its properties."""
import pytest

import qxtest
c = qxtest.module("_qx_api_common")
from layouts import pack, unpack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402
from xcp_support import record, set_up_can, u16, u16_value  # noqa: E402

CMD = "Qx_Common_Xcp_CommandWithResponse_Cmd_t"
RSP = "Qx_Common_Xcp_CommandWithResponse_Rsp_t"


def raw(qxt, *packet, timeout=100, retries=2):
    cmd = qxtest.new_record(c, "Qx_Common_Xcp_CommandWithResponse_Cmd_t")
    c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_RxTimeout_set(cmd, timeout)
    c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_NumberOfRetries_set(cmd, retries)
    c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_set(cmd, u16(qxt, len(packet)))
    c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Data_set(cmd, qxt.qxt_u8_array(list(packet) + [0] * (4096 - len(packet))))
    return cmd


def response(rsp):
    return (c.Qx_Common_Xcp_CommandWithResponse_Rsp_t_Flags_get(rsp), c.Qx_Common_Xcp_CommandWithResponse_Rsp_t_Error_get(rsp),
            c.Qx_Common_Xcp_CommandWithResponse_Rsp_t_Data_get(rsp)[:c.Qx_Common_Xcp_CommandWithResponse_Rsp_t_Length_get(rsp)])


def state_flags(port, instance=0):
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_GetState_Rsp_t")
    c.Qx_Common_Xcp_GetState(port, instance, rsp)
    assert c.Qx_Common_Xcp_GetState_Rsp_t_CommandState_get(rsp) == c.QX_COMMON__XCP__COMMAND__STATE__IDLE
    return c.Qx_Common_Xcp_GetState_Rsp_t_Flags_get(rsp)


def test_raw_connect_and_disconnect(sim, qxt, port):
    set_up_can(port, 2)
    assert state_flags(port, 2) == 0
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_CommandWithResponse_Rsp_t")
    assert c.Qx_Common_Xcp_CommandWithResponse(port, 258, raw(qxt, 0xFF, 0x00), rsp) is None
    call = sim.last("Qx_Common_Xcp_CommandWithResponse")
    assert call.arg(2).value == 2
    assert call.arg(3).size == 4104
    assert call.arg(3).bytes == pack(CMD, RxTimeout=100, NumberOfRetries=2, Length=2, Data=[0xFF])[:4096]
    # positive response: resources (CAL/PAG, DAQ, STIM, PGM), mode, MAX_CTO 8, MAX_DTO 8, versions 1 and 1 (XCP on CAN)
    assert response(rsp) == (0, 0, [0xFF, 0x1D, 0, 8, 8, 0, 1, 1])
    assert state_flags(port, 2) == 1
    c.Qx_Common_Xcp_CommandWithResponse(port, 2, raw(qxt, 0xFE), rsp)
    assert response(rsp) == (0, 0, [0xFF])
    assert state_flags(port, 2) == 0


def test_unknown_command_is_answered_with_an_error_packet(sim, qxt, port):
    set_up_can(port)
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_CommandWithResponse_Rsp_t")
    c.Qx_Common_Xcp_CommandWithResponse(port, 0, raw(qxt, 0xFF), rsp)
    assert c.Qx_Common_Xcp_CommandWithResponse(port, 0, raw(qxt, 0x42, 1, 2), rsp) is None
    assert response(rsp) == (1, 0x20, [0xFE, 0x20])


@pytest.mark.parametrize("instance, packet, text", [
    (0, (0xFD,), "XCP instance 0 is not connected (connect first)"),
    (5, (0xFF,), "XCP instance 5 is not set up on port 0x{port:08X} (set up its transport first)"),
    (0, (), "command of 0 bytes, 1 to 4096 expected"),
])
def test_raw_command_out_of_order_or_empty(sim, qxt, port, instance, packet, text):
    set_up_can(port)
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_CommandWithResponse_Rsp_t")
    with raises_exactly(Exception, "Qx_Common_Xcp_CommandWithResponse: " + text.format(port=port)):
        c.Qx_Common_Xcp_CommandWithResponse(port, instance, raw(qxt, *packet), rsp)
    assert c.Qx_Common_Xcp_CommandWithResponse_Rsp_t_Data_get(rsp) == [0] * 4096


def test_command_record_fields(qxt):
    cmd = qxtest.new_record(c, "Qx_Common_Xcp_CommandWithResponse_Cmd_t")
    assert c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Data_get(cmd) == [0] * 4096
    c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_NumberOfRetries_set(cmd, 256)
    c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Flags_set(cmd, 511)
    assert c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_NumberOfRetries_get(cmd) == 0
    assert c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Flags_get(cmd) == 255
    c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_set(cmd, u16(qxt, 4097))
    length = c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_get(cmd)
    assert u16_value(qxt, length) == 4097 and length.own()
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_CommandWithResponse_Rsp_t")
    c.Qx_Common_Xcp_CommandWithResponse_Rsp_t_Data_set(rsp, qxt.qxt_u8_array(range(4096)))
    c.Qx_Common_Xcp_CommandWithResponse_Rsp_t_Length_set(rsp, 5000)  # a 4-byte length, unchecked
    assert unpack(RSP, bytes(qxt.qxt_read_u8(rsp, 4108))) == dict(Flags=0, Error=0, Length=5000,
                                                                  Data=[i % 256 for i in range(4096)])


@pytest.mark.parametrize("setter, value, exc, message", [
    ("Qx_Common_Xcp_CommandWithResponse_Cmd_t_Data_set", None, ValueError,
     "invalid null reference in variable 'Data' of type 'u8_t [4096]'"),
    ("Qx_Common_Xcp_CommandWithResponse_Cmd_t_Data_set", [1, 2, 3], TypeError,
     "in method 'Qx_Common_Xcp_CommandWithResponse_Cmd_t_Data_set', argument 2 of type 'u8_t [4096]'"),
    ("Qx_Common_Xcp_CommandWithResponse_Rsp_t_Data_set", b"\x01" * 4096, TypeError,
     "in method 'Qx_Common_Xcp_CommandWithResponse_Rsp_t_Data_set', argument 2 of type 'u8_t [4096]'"),
    ("Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_set", 3, TypeError,
     "in method 'Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_set", None, ValueError,
     "invalid null reference in method 'Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_Property_GetById_Cmd_t_PropertyId_set", 3, TypeError,
     "in method 'Qx_Common_Xcp_Property_GetById_Cmd_t_PropertyId_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_Property_GetById_Rsp_t_PropertyId_set", None, ValueError,
     "invalid null reference in method 'Qx_Common_Xcp_Property_GetById_Rsp_t_PropertyId_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_Property_SetById_Cmd_t_PropertyId_set", None, ValueError,
     "invalid null reference in method 'Qx_Common_Xcp_Property_SetById_Cmd_t_PropertyId_set', argument 2 of type 'u16_t'"),
])
def test_setter_errors_copy_nothing(qxt, setter, value, exc, message):
    name = setter[:setter.index("_t_") + 2]
    obj = qxtest.new_record(c, name)
    size = len(pack(name))
    with raises_exactly(exc, message):
        getattr(c, setter)(obj, value)
    assert bytes(qxt.qxt_read_u8(obj, size)) == bytes(size)


def get_property(port, qxt, pid, instance=0):
    cmd = qxtest.new_record(c, "Qx_Common_Xcp_Property_GetById_Cmd_t")
    if pid is not None:
        c.Qx_Common_Xcp_Property_GetById_Cmd_t_PropertyId_set(cmd, u16(qxt, pid))
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Property_GetById_Rsp_t")
    c.Qx_Common_Xcp_Property_GetById(port, instance, cmd, rsp)
    assert u16_value(qxt, c.Qx_Common_Xcp_Property_GetById_Rsp_t_PropertyId_get(rsp)) == (pid or 0)
    return c.Qx_Common_Xcp_Property_GetById_Rsp_t_Value_get(rsp)


def set_property(port, qxt, pid, value, instance=0):
    c.Qx_Common_Xcp_Property_SetById(port, instance, record("Property_SetById_Cmd_t", PropertyId=u16(qxt, pid),
                                                             Value=value))


def test_properties_read_back_what_was_set(sim, qxt, port):
    set_up_can(port)
    # a fresh command asks for property 0, the DTO receive FIFO's depth
    assert get_property(port, qxt, None) == 16
    assert sim.last("Qx_Common_Xcp_Property_GetById").arg(3).bytes == pack("Qx_Common_Xcp_Property_GetById_Cmd_t")
    set_property(port, qxt, c.QX_COMMON__XCP__PROPERTY_ID__CTO_TX_FIFO_DEPTH, 4)
    assert sim.last("Qx_Common_Xcp_Property_SetById").arg(3).bytes == pack(
        "Qx_Common_Xcp_Property_SetById_Cmd_t", PropertyId=3, Value=4)
    set_property(port, qxt, c.QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO__USE_TIMESTAMP, 1)
    assert [get_property(port, qxt, pid) for pid in range(5)] == [16, 16, 16, 4, 1]
    # set up afresh: the properties start again
    set_up_can(port)
    assert get_property(port, qxt, 3) == 16


def test_property_id_getter_gives_a_copy_another_record_takes(qxt):
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Property_GetById_Rsp_t")
    c.Qx_Common_Xcp_Property_GetById_Rsp_t_PropertyId_set(rsp, u16(qxt, 4))
    first, second = qxtest.owned([c.Qx_Common_Xcp_Property_GetById_Rsp_t_PropertyId_get(rsp) for _ in range(2)])
    assert int(first) != int(second)
    cmd = qxtest.new_record(c, "Qx_Common_Xcp_Property_SetById_Cmd_t")
    c.Qx_Common_Xcp_Property_SetById_Cmd_t_PropertyId_set(cmd, first)
    assert u16_value(qxt, c.Qx_Common_Xcp_Property_SetById_Cmd_t_PropertyId_get(cmd)) == 4


@pytest.mark.parametrize("pid, value, text", [
    (5, 1, "unknown property id 5"),
    (0, 17, "property 0 takes 1 to 16, not 17"),
    (4, 2, "property 4 takes 0 to 1, not 2"),
])
def test_property_refused_by_the_library(sim, qxt, port, pid, value, text):
    set_up_can(port)
    with raises_exactly(Exception, "Qx_Common_Xcp_Property_SetById: " + text):
        set_property(port, qxt, pid, value)


def test_records_are_not_interchangeable(sim, port):
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Property_SetById', argument 3 of type "
                                   "'Qx_Common_Xcp_Property_SetById_Cmd_t const *const'"):
        c.Qx_Common_Xcp_Property_SetById(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Property_GetById_Rsp_t"))
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_CommandWithResponse', argument 4 of type "
                                   "'Qx_Common_Xcp_CommandWithResponse_Rsp_t *const'"):
        c.Qx_Common_Xcp_CommandWithResponse(port, 0, None, qxtest.new_record(c, "Qx_Common_Xcp_CommandWithResponse_Cmd_t"))
    with raises_exactly(OverflowError, "in method 'Qx_Common_Xcp_CommandWithResponse', argument 2 of type 'u8_t'"):
        c.Qx_Common_Xcp_CommandWithResponse(port, 2**32, None, None)
    assert sim.calls("Qx_Common_Xcp_Property_SetById") == sim.calls("Qx_Common_Xcp_CommandWithResponse") == 0


def test_null_response_reaches_the_library(sim, port):
    set_up_can(port)
    with raises_exactly(Exception, "Qx_Common_Xcp_GetState: no response record given"):
        c.Qx_Common_Xcp_GetState(port, 0, None)
    assert sim.last("Qx_Common_Xcp_GetState").arg(3).is_null
    with raises_exactly(TypeError, "Qx_Common_Xcp_GetState expected 3 arguments, got 2"):
        c.Qx_Common_Xcp_GetState(port, 0)
