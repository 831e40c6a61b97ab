"""Function-block errors, the device's temperatures and its PXI slot."""
import struct

import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402

CMD, RSP = "Qx_Common_Fbp_Fb_GetLastError_Cmd_t", "Qx_Common_Fbp_Fb_GetLastError_Rsp_t"


def last_error(port, fb_id, flags=0):
    cmd = qxtest.new_record(c, CMD, Flags=flags, FbId=fb_id)
    rsp = qxtest.new_record(c, "Qx_Common_Fbp_Fb_GetLastError_Rsp_t")
    assert c.Qx_Common_Fbp_Fb_GetLastError(port, cmd, rsp) is None
    return rsp


def test_last_error_of_a_function_block(sim, qxt, port):
    rsp = last_error(port, 2, flags=0x80000000)
    assert sim.last("Qx_Common_Fbp_Fb_GetLastError").arg(2).bytes == pack(CMD, Flags=0x80000000, FbId=2)
    assert [getattr(c, f"{RSP}_{f}_get")(rsp) for f in ("ErrorCode", "ErrorInfo", "ErrorFbId")] == [0x10, 0x2A, 2]
    name = qxt.qxt_read_u16(qxtest.owned(c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorFbNameLength_get(rsp)), 1)[0]
    text = qxt.qxt_read_u16(qxtest.owned(c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorDescriptionLength_get(rsp)), 1)[0]
    stream = bytes(c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_Stream_get(rsp))
    assert len(stream) == 4096
    assert (stream[:name], stream[name:name + text]) == (b"XcpMaster", b"slave did not answer within T1")
    assert not any(stream[name + text:])


def test_unknown_function_block_leaves_the_response(sim, qxt, port):
    rsp = qxtest.new_record(c, "Qx_Common_Fbp_Fb_GetLastError_Rsp_t")
    c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorCode_set(rsp, 77)
    with raises_exactly(Exception, "Qx_Common_Fbp_Fb_GetLastError: no function block with id 3"):
        c.Qx_Common_Fbp_Fb_GetLastError(port, qxtest.new_record(c, CMD, FbId=3), rsp)
    assert c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorCode_get(rsp) == 77


def test_fresh_response_and_its_special_fields(qxt):
    rsp = qxtest.new_record(c, "Qx_Common_Fbp_Fb_GetLastError_Rsp_t")
    assert c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_Stream_get(rsp) == [0] * 4096
    length = qxtest.owned(c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorFbNameLength_get(rsp))
    assert qxt.qxt_read_u16(length, 1) == [0] and length.own()
    c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorDescriptionLength_set(rsp, qxt.qxt_u16_array([0xABCD]))
    c.Qx_Common_Fbp_Fb_GetLastError_Rsp_t_Stream_set(rsp, qxt.qxt_u8_array(range(4096)))
    assert bytes(qxt.qxt_read_u8(rsp, 4112)) == pack(RSP, ErrorDescriptionLength=0xABCD,
                                                     Stream=[i % 256 for i in range(4096)])


@pytest.mark.parametrize("setter, value, exc, message", [
    ("ErrorFbNameLength", None, ValueError, "invalid null reference in method "
     "'Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorFbNameLength_set', argument 2 of type 'u16_t'"),
    ("ErrorDescriptionLength", None, ValueError, "invalid null reference in method "
     "'Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorDescriptionLength_set', argument 2 of type 'u16_t'"),
    ("ErrorFbNameLength", 3, TypeError,
     "in method 'Qx_Common_Fbp_Fb_GetLastError_Rsp_t_ErrorFbNameLength_set', argument 2 of type 'u16_t'"),
    ("Stream", None, ValueError, "invalid null reference in variable 'Stream' of type 'u8_t [4096]'"),
    ("Stream", "text", TypeError,
     "in method 'Qx_Common_Fbp_Fb_GetLastError_Rsp_t_Stream_set', argument 2 of type 'u8_t [4096]'"),
])
def test_response_setter_refusals(qxt, setter, value, exc, message):
    rsp = qxtest.new_record(c, "Qx_Common_Fbp_Fb_GetLastError_Rsp_t")
    with raises_exactly(exc, message):
        getattr(c, f"{RSP}_{setter}_set")(rsp, value)
    assert bytes(qxt.qxt_read_u8(rsp, 4112)) == bytes(4112)


def test_records_are_not_interchangeable(sim, port):
    with raises_exactly(TypeError, "in method 'Qx_Common_Fbp_Fb_GetLastError', argument 2 of type "
                                   "'Qx_Common_Fbp_Fb_GetLastError_Cmd_t const *const'"):
        c.Qx_Common_Fbp_Fb_GetLastError(port, qxtest.new_record(c, "Qx_Common_Fbp_Fb_GetLastError_Rsp_t"), None)
    assert sim.calls("Qx_Common_Fbp_Fb_GetLastError") == 0


def test_identifier_by_name(sim, port):
    fb_id = qxtest.new_record(q, "int_p")
    assert c.Qx_Common_Fbp_Fb_GetFbIdByFbName(port, 0xFFFFFFFF, "SignalGenerator", fb_id) is None
    assert q.int_p_value(fb_id) == 7
    call = sim.last("Qx_Common_Fbp_Fb_GetFbIdByFbName")
    assert (call.arg(2).value, call.arg(3).kind, call.arg(3).text) == (0xFFFFFFFF, "t", b"SignalGenerator")


@pytest.mark.parametrize("name, text, journaled", [
    ("", "no function block named ''", b""),
    ("Xcp\u00e4", "no function block named 'Xcp\u00e4'", "Xcp\u00e4".encode()),
    (None, "no function block name given", None),
])
def test_names_the_library_does_not_know(sim, port, name, text, journaled):
    with raises_exactly(Exception, "Qx_Common_Fbp_Fb_GetFbIdByFbName: " + text):
        c.Qx_Common_Fbp_Fb_GetFbIdByFbName(port, 0, name, qxtest.new_record(q, "int_p"))
    assert sim.last("Qx_Common_Fbp_Fb_GetFbIdByFbName").arg(3).text == journaled


@pytest.mark.parametrize("name", [b"XcpMaster", "\udcff", 5])
def test_names_refused_before_the_call(sim, port, name):
    with raises_exactly(TypeError, "in method 'Qx_Common_Fbp_Fb_GetFbIdByFbName', argument 3 of type "
                                   "'char const *const'"):
        c.Qx_Common_Fbp_Fb_GetFbIdByFbName(port, 0, name, qxtest.new_record(q, "int_p"))
    assert sim.calls("Qx_Common_Fbp_Fb_GetFbIdByFbName") == 0


def test_identifier_cell_refused_after_the_name(sim, port):
    with raises_exactly(TypeError, "in method 'Qx_Common_Fbp_Fb_GetFbIdByFbName', argument 4 of type 'u32_t *const'"):
        c.Qx_Common_Fbp_Fb_GetFbIdByFbName(port, 0, "XcpMaster", qxtest.new_record(q, "char_p"))
    assert sim.calls("Qx_Common_Fbp_Fb_GetFbIdByFbName") == 0


def test_temperatures(sim, qxt, port):
    cells = [qxt.qxt_float_cell(-1) for _ in range(4)]
    assert c.Qx_Common_GetTemperature(port, cells[0], None, cells[2], cells[3]) is None
    assert [qxt.qxt_read_float(cell) for cell in cells] == [41.5, -1, 47.0, 24.75]
    call = sim.last("Qx_Common_GetTemperature")
    assert call.arg(2).bytes == struct.pack("<f", -1) and call.arg(3).is_null
    assert c.Qx_Common_GetTemperature(port, None, None, None, None) is None
    assert all(sim.last("Qx_Common_GetTemperature").arg(n).is_null for n in range(2, 6))


@pytest.mark.parametrize("position", [2, 3, 4, 5])
def test_temperature_targets_are_float_pointer_objects(sim, port, position):
    args = [port, None, None, None, None]
    args[position - 1] = 21.5
    with raises_exactly(TypeError, f"in method 'Qx_Common_GetTemperature', argument {position} of type 'float *'"):
        c.Qx_Common_GetTemperature(*args)
    assert sim.calls("Qx_Common_GetTemperature") == 0


def test_pxi_slot(sim, port):
    slot = qxtest.new_record(q, "int_p")
    assert c.Qx_Common_GetPxiGeographicalAddress(port, slot) is None
    assert q.int_p_value(slot) == 5
    with raises_exactly(Exception, "Qx_Common_GetPxiGeographicalAddress: no address cell given"):
        c.Qx_Common_GetPxiGeographicalAddress(port, None)
    assert sim.last("Qx_Common_GetPxiGeographicalAddress").arg(2).is_null
    with raises_exactly(TypeError, "in method 'Qx_Common_GetPxiGeographicalAddress', argument 2 of type "
                                   "'u32_t *const'"):
        c.Qx_Common_GetPxiGeographicalAddress(port, qxtest.new_record(c, "Qx_Common_Fbp_Fb_GetLastError_Cmd_t"))
    with raises_exactly(Exception, f"Qx_Common_GetPxiGeographicalAddress: invalid port handle 0x{port + 1:08X}"):
        c.Qx_Common_GetPxiGeographicalAddress(port + 1, slot)
