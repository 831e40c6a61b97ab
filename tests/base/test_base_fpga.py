"""FPGA registers, FIFO and relays, the APIX link and the firmware buffer channel."""
import pytest

import _qx_api as q
import qxtest
from base_device import raises_exactly


def int_p(value=0):
    p = qxtest.new_record(q, "int_p")
    q.int_p_assign(p, value)
    return p


def test_design_version_is_left_in_the_int_p(sim, port):
    version = int_p()
    assert q.Qx_Fpga_ReadVhdlDesignVersion(port, version) is None
    assert q.int_p_value(version) == 0x05030007
    assert sim.last("Qx_Fpga_ReadVhdlDesignVersion").arg(2).value == int(version)


def test_registers_take_the_low_byte_of_their_number(sim, port):
    assert q.Qx_Fpga_WriteRegister(port, 3, 0xCAFEBABE) is None
    call = sim.last("Qx_Fpga_WriteRegister")
    assert [call.arg(1).value, call.arg(2).value, call.arg(3).value] == [port, 3, 0xCAFEBABE]
    value = int_p()
    q.Qx_Fpga_ReadRegister(port, 0x103, value)
    assert sim.last("Qx_Fpga_ReadRegister").arg(2).value == 3
    assert q.int_p_value(value) == 0xCAFEBABE
    q.Qx_Fpga_ReadRegister(port, 256, value)
    assert sim.last("Qx_Fpga_ReadRegister").arg(2).value == 0


def test_reconfiguration_clears_the_registers(sim, port, qxt):
    q.Qx_Fpga_WriteRegister(port, 1, 5)
    name = qxt.qxt_u8_array(list(b"design.bit\0"))
    assert q.Qx_Fpga_Reconfiguration(port, name) is None
    assert sim.last("Qx_Fpga_Reconfiguration").arg(2).bytes == b"design.bit\0"
    value = int_p(9)
    q.Qx_Fpga_ReadRegister(port, 1, value)
    assert q.int_p_value(value) == 0
    with raises_exactly(Exception, "Qx_Fpga_Reconfiguration: no design file given"):
        q.Qx_Fpga_Reconfiguration(port, None)


def test_fifo_loops_data_back(sim, port, qxt):
    assert q.Qx_Fpga_WriteFifo(port, qxt.qxt_u8_array([1, 2, 3]), 3) is None
    call = sim.last("Qx_Fpga_WriteFifo")
    assert [call.arg(2).bytes, call.arg(3).value] == [b"\x01\x02\x03", 3]
    data, length = qxt.qxt_u8_array([0] * 8), int_p(8)
    assert q.Qx_Fpga_ReadFifo(port, data, length) is None
    assert [q.int_p_value(length), qxt.qxt_read_u8(data, 3)] == [3, [1, 2, 3]]
    assert sim.last("Qx_Fpga_ReadFifo").arg(3).value == int(length)


def test_relays_switch_and_report(sim, port, qxt):
    two, relays = qxt.qxt_u16_array([2]), qxt.qxt_u8_array([3, 15])
    states = qxt.qxt_u8_array([9, 9])
    assert q.Qx_Fpga_Relays_Set(port, 0x80000000, two, relays) is None
    call = sim.last("Qx_Fpga_Relays_Set")
    assert [call.arg(2).value, call.arg(3).value, call.arg(4).bytes] == [0x80000000, 2, b"\x03\x0f"]
    assert q.Qx_Fpga_Relays_GetState(port, two, relays, states) is None
    assert qxt.qxt_read_u8(states, 2) == [1, 1]
    assert sim.last("Qx_Fpga_Relays_GetState").arg(4).value == int(states)
    q.Qx_Fpga_Relays_Reset(port, 1, two, relays)
    q.Qx_Fpga_Relays_GetState(port, two, relays, states)
    assert qxt.qxt_read_u8(states, 2) == [0, 0]
    # the count may come from any u16_t object, such as a Qx_Data_t view;
    # only its first two bytes are read and the object stays as it was
    d = qxtest.new_record(q, "Qx_Data_t")
    q.Qx_Data_t_U8_set(d, qxt.qxt_u8_array([4, 0, 7, 7, 7, 7, 7, 7]))
    assert q.Qx_Fpga_Relays_SetDirect(port, q.Qx_Data_t_U16_get(d), qxt.qxt_u8_array([1, 0, 1, 1])) is None
    assert sim.last("Qx_Fpga_Relays_SetDirect").arg(2).value == 4
    assert q.Qx_Data_t_U8_get(d) == [4, 0, 7, 7, 7, 7, 7, 7]
    four = qxt.qxt_u8_array([0, 1, 2, 3])
    q.Qx_Fpga_Relays_GetState(port, q.Qx_Data_t_U16_get(d), four, four)
    assert qxt.qxt_read_u8(four, 4) == [1, 0, 1, 1]
    with raises_exactly(Exception, "Qx_Fpga_Relays_Set: relay 16 does not exist (16 relays)"):
        q.Qx_Fpga_Relays_Set(port, 0, qxt.qxt_u16_array([1]), qxt.qxt_u8_array([16]))


@pytest.mark.parametrize("name, position, args", [
    ("Qx_Fpga_Relays_Set", 3, lambda port, v: (port, 0, v, None)),
    ("Qx_Fpga_Relays_Reset", 3, lambda port, v: (port, 0, v, None)),
    ("Qx_Fpga_Relays_SetDirect", 2, lambda port, v: (port, v, None)),
    ("Qx_Fpga_Relays_GetState", 2, lambda port, v: (port, v, None, None)),
])
def test_relay_counts_are_u16_objects(sim, port, name, position, args):
    message = f"in method '{name}', argument {position} of type 'u16_t const'"
    with raises_exactly(ValueError, "invalid null reference " + message):
        getattr(q, name)(*args(port, None))
    for wrong in (2, qxtest.new_record(q, "int_p")):
        with raises_exactly(TypeError, message):
            getattr(q, name)(*args(port, wrong))
    assert sim.calls(name) == 0


def test_apix_commands_and_raw_data(sim, port, qxt):
    data = qxt.qxt_u8_array([0xAA, 0xBB])
    assert q.Qx_Apix_Command(port, 1, 0x10, 2, data) is None
    call = sim.last("Qx_Apix_Command")
    assert [a.value for a in call.args[:4]] + [call.arg(5).bytes] == [port, 1, 0x10, 2, b"\xaa\xbb"]
    length, response = int_p(8), qxt.qxt_u8_array([0] * 8)
    assert q.Qx_Apix_CommandWithResponse(port, 0, 0x10, 2, data, length, response) is None
    assert [q.int_p_value(length), qxt.qxt_read_u8(response, 3)] == [3, [0x50, 0xAA, 0xBB]]
    call = sim.last("Qx_Apix_CommandWithResponse")
    assert [call.arg(6).value, call.arg(7).value] == [int(length), int(response)]
    q.Qx_Apix_Write(port, 2, data)
    assert sim.last("Qx_Apix_Write").arg(3).bytes == b"\xaa\xbb"
    q.int_p_assign(length, 8)
    assert q.Qx_Apix_Read(port, 0, length, response) is None
    assert [q.int_p_value(length), qxt.qxt_read_u8(response, 2)] == [2, [0xAA, 0xBB]]


def test_firmware_channel_answers_a_command(sim, port, qxt):
    header, kind, command = (qxt.qxt_u8_array([9]) for _ in range(3))
    length, data = int_p(16), qxt.qxt_u8_array([0] * 16)
    read = lambda: q.Qx_Fw_Read(port, header, kind, command, length, data)  # noqa: E731
    with raises_exactly(Exception, f"Qx_Fw_Write: the firmware buffer of port 0x{port:08X} is not enabled"):
        q.Qx_Fw_Write(port, q.QX_FW__HEADER_TYPE__COMMAND, 0, 1, qxt.qxt_u8_array([0x31]))
    assert q.Qx_Fw_Buffer_Enable(port, 64) is None
    assert q.Qx_Fw_Write(port, q.QX_FW__HEADER_TYPE__COMMAND, q.QX_FW__WRITE__MODE__NEVER_SEND_ACK, 3,
                         qxt.qxt_u8_array([0x31, 1, 2])) is None
    call = sim.last("Qx_Fw_Write")
    assert [a.value for a in call.args[1:4]] + [call.arg(5).bytes] == [0, 0, 3, b"\x31\x01\x02"]
    assert read() is None
    assert [qxt.qxt_read_u8(p, 1)[0] for p in (header, kind, command)] == \
        [q.QX_FW__HEADER_TYPE__RESPONSE, q.QX_FW__READ__RESPONSE_TYPE__RESPONSE, 0x31]
    assert [q.int_p_value(length), qxt.qxt_read_u8(data, 2)] == [2, [1, 2]]
    call = sim.last("Qx_Fw_Read")
    assert [a.value for a in call.args[1:]] == [int(header), int(kind), int(command), int(length), int(data)]
    with raises_exactly(Exception, f"Qx_Fw_Read: no firmware message waits on port 0x{port:08X}"):
        read()
    q.Qx_Fw_Write(port, 0, q.QX_FW__WRITE__MODE__ALWAYS_SEND_ACK, 1, qxt.qxt_u8_array([0x32]))
    read()
    assert qxt.qxt_read_u8(kind, 1) == [q.QX_FW__READ__RESPONSE_TYPE__ACK]
    assert q.Qx_Fw_Buffer_Disable(port) is None
    with raises_exactly(TypeError, "in method 'Qx_Fw_Read', argument 5 of type 'u32_t *const'"):
        q.Qx_Fw_Read(port, header, kind, command, data, data)
