"""Signal checks, host events, the device's Ethernet settings and the host's
network adapters."""
import collections
import struct

import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402




def signal(qxt, size, offset, byte_order=0):
    s = qxtest.new_record(c, "Qx_Common_Signal_t")
    c.Qx_Common_Signal_t_Size_set(s, size)
    c.Qx_Common_Signal_t_ByteOrder_set(s, byte_order)
    c.Qx_Common_Signal_t_Offset_set(s, qxt.qxt_u16_array([offset]))
    return s


# ---- signal checks ---------------------------------------------------------------------

def test_signal_check(sim, qxt, port):
    assert c.Qx_Common_Signal_Check(port, signal(qxt, 12, 500)) is None
    assert sim.last("Qx_Common_Signal_Check").arg(2).bytes == pack("Qx_Common_Signal_t", Size=12, Offset=500)
    with raises_exactly(Exception, "Qx_Common_Signal_Check: signal of 13 bits at bit 500 (byte order 0) does not fit"):
        c.Qx_Common_Signal_Check(port, signal(qxt, 13, 500))
    with raises_exactly(Exception, "Qx_Common_Signal_Check: no signal given"):
        c.Qx_Common_Signal_Check(port, None)
    assert sim.last("Qx_Common_Signal_Check").arg(2).is_null


def test_check_and_translate_fills_the_four_byte_cells(sim, qxt, port):
    cells = [qxt.qxt_u8_array([0xEE]) for _ in range(4)]
    assert c.Qx_Common_Signal_CheckAndTranslate(port, signal(qxt, 12, 21), *cells) is None
    # bits 21..32: first byte 2, bit 5; last byte 4, bit 0
    assert [qxt.qxt_read_u8(cell, 1)[0] for cell in cells] == [2, 5, 4, 0]
    call = sim.last("Qx_Common_Signal_CheckAndTranslate")
    assert [call.arg(n).value for n in range(3, 7)] == [int(cell) for cell in cells]


def test_check_and_translate_passes_none_as_null(sim, qxt, port):
    c.Qx_Common_Signal_CheckAndTranslate(port, signal(qxt, 1, 0), None, None, None, None)
    call = sim.last("Qx_Common_Signal_CheckAndTranslate")
    assert [call.arg(n).is_null for n in range(2, 7)] == [False, True, True, True, True]


@pytest.mark.parametrize("position", [3, 4, 5, 6])
def test_check_and_translate_refuses_other_pointer_types(sim, qxt, port, position):
    args = [qxt.qxt_u8_array([0]) for _ in range(4)]
    args[position - 3] = qxt.qxt_u16_array([0])
    with raises_exactly(TypeError, f"in method 'Qx_Common_Signal_CheckAndTranslate', argument {position} of type "
                                   "'u8_t *const'"):
        c.Qx_Common_Signal_CheckAndTranslate(port, signal(qxt, 1, 0), *args)
    assert sim.calls("Qx_Common_Signal_CheckAndTranslate") == 0


# ---- host events ----------------------------------------------------------------------------

def test_event_lifecycle(sim, qxt, port):
    handle = qxt.qxt_event_handle_cell(0)
    assert c.Qx_Common_Events_AllocateEvent(port, handle) is None
    assert sim.last("Qx_Common_Events_AllocateEvent").arg(2).value == int(handle)
    value = qxt.qxt_read_u64(handle, 1)[0]
    assert value != 0
    assert c.Qx_Common_Events_WaitForSingleEvent(port, handle, 0xFFFFFFFF) is None
    call = sim.last("Qx_Common_Events_WaitForSingleEvent")
    assert call.arg(2).bytes == struct.pack("<Q", value)
    assert call.arg(3).value == 0xFFFFFFFF
    assert c.Qx_Common_Events_DeallocateEvent(port, handle) is None
    with raises_exactly(Exception, "Qx_Common_Events_WaitForSingleEvent: invalid event handle"):
        c.Qx_Common_Events_WaitForSingleEvent(port, handle, 10)


def test_allocate_event_passes_none_as_null(sim, port):
    with raises_exactly(Exception, "Qx_Common_Events_AllocateEvent: no event handle given"):
        c.Qx_Common_Events_AllocateEvent(port, None)
    assert sim.last("Qx_Common_Events_AllocateEvent").arg(2).is_null


@pytest.mark.parametrize("name, args, exc, message", [
    ("Qx_Common_Events_AllocateEvent", lambda h: (qxtest.new_record(q, "int_p"),), TypeError,
     "in method 'Qx_Common_Events_AllocateEvent', argument 2 of type 'Qx_Common_EventHandle_t *const'"),
    ("Qx_Common_Events_DeallocateEvent", lambda h: (5,), TypeError,
     "in method 'Qx_Common_Events_DeallocateEvent', argument 2 of type 'Qx_Common_EventHandle_t *const'"),
    ("Qx_Common_Events_WaitForSingleEvent", lambda h: (qxtest.new_record(q, "int_p"), 1), TypeError,
     "in method 'Qx_Common_Events_WaitForSingleEvent', argument 2 of type 'Qx_Common_EventHandle_t const *const'"),
    ("Qx_Common_Events_WaitForSingleEvent", lambda h: (h, -1), OverflowError,
     "in method 'Qx_Common_Events_WaitForSingleEvent', argument 3 of type 'u32_t'"),
    ("Qx_Common_Events_WaitForSingleEvent", lambda h: (h,), TypeError,
     "Qx_Common_Events_WaitForSingleEvent expected 3 arguments, got 2"),
])
def test_event_argument_errors(sim, qxt, port, name, args, exc, message):
    with raises_exactly(exc, message):
        getattr(c, name)(port, *args(qxt.qxt_event_handle_cell(1)))
    assert sim.calls(name) == 0


# ---- the device's IP address (ip_address_in, ip_address_out) ---------------------------------

def test_ip_address_round_trip(sim, port):
    assert c.Qx_Common_Ethernet_IpAddress_Set(port, (192, 168, 0, 10)) is None
    assert sim.last("Qx_Common_Ethernet_IpAddress_Set").arg(2).bytes == bytes([192, 168, 0, 10])
    address = c.Qx_Common_Ethernet_IpAddress_Get(port)
    assert address == [192, 168, 0, 10]
    # the getter's list, as a tuple, stores the same address again
    c.Qx_Common_Ethernet_IpAddress_Set(port, tuple(address))
    assert sim.last("Qx_Common_Ethernet_IpAddress_Set").arg(2).bytes == bytes([192, 168, 0, 10])


def test_ip_address_get_returns_the_bytes_the_native_function_wrote(sim, port):
    sim.output("Qx_Common_Ethernet_IpAddress_Get", 2, bytes([255, 0, 128, 1]))
    assert c.Qx_Common_Ethernet_IpAddress_Get(port) == [255, 0, 128, 1]
    sim.fail("Qx_Common_Ethernet_IpAddress_Get", 4, b"link down")
    with raises_exactly(Exception, "link down"):
        c.Qx_Common_Ethernet_IpAddress_Get(port)


def test_ip_address_accepts_a_tuple_subclass_and_bools(sim, port):
    Address = collections.namedtuple("Address", "a b c d")
    c.Qx_Common_Ethernet_IpAddress_Set(port, Address(10, True, False, 255))
    assert sim.last("Qx_Common_Ethernet_IpAddress_Set").arg(2).bytes == bytes([10, 1, 0, 255])


@pytest.mark.parametrize("address, message", [
    ([192, 168, 0, 10], "expected a tuple."),
    (b"\xc0\xa8\x00\x0a", "expected a tuple."),
    (None, "expected a tuple."),
    ((192, 168, 0), "tuple must have 4 elements"),
    ((192, 168, 0, 10, 1), "tuple must have 4 elements"),
    ((), "tuple must have 4 elements"),
    ((192, 168, 0, "10"), "tuple must have 4 elements"),
    ((192, 168, 0, 10.0), "tuple must have 4 elements"),
    ((192, 168, 0, 256), "tuple must have 4 elements"),
    ((192, 168, -1, 10), "tuple must have 4 elements"),
    ((192, 168, 2**64, 10), "tuple must have 4 elements"),
])
def test_ip_address_refuses_anything_but_four_bytes(sim, port, address, message):
    with raises_exactly(TypeError, message):
        c.Qx_Common_Ethernet_IpAddress_Set(port, address)
    assert sim.calls("Qx_Common_Ethernet_IpAddress_Set") == 0


def test_ip_address_port_is_converted_first():
    with raises_exactly(OverflowError, "in method 'Qx_Common_Ethernet_IpAddress_Set', argument 1 of type "
                                       "'Qx_PortHandle_t'"):
        c.Qx_Common_Ethernet_IpAddress_Set(-1, [1, 2])


# ---- DHCP mode, mask, gateway, TCP port, FTP server --------------------------------------------------

def test_dhcp_mode(sim, port):
    assert c.Qx_Common_Ethernet_DHCP_Mode_Set(port, 0x101) is None
    assert sim.last("Qx_Common_Ethernet_DHCP_Mode_Set").arg(2).value == 1
    assert c.Qx_Common_Ethernet_DHCP_Mode_Get(port) == 1
    sim.output("Qx_Common_Ethernet_DHCP_Mode_Get", 2, bytes([200]))
    assert c.Qx_Common_Ethernet_DHCP_Mode_Get(port) == 200
    with raises_exactly(TypeError, "in method 'Qx_Common_Ethernet_DHCP_Mode_Set', argument 2 of type "
                                   "'Qx_Common_Ethernet_DHCP_Mode_t'"):
        c.Qx_Common_Ethernet_DHCP_Mode_Set(port, None)


@pytest.mark.parametrize("setter, getter, start", [
    ("Qx_Common_Ethernet_SubNetMask_Set", "Qx_Common_Ethernet_SubNetMask_Get", [255, 255, 255, 0]),
    ("Qx_Common_Ethernet_DefaultGateway_Set", "Qx_Common_Ethernet_DefaultGateway_Get", [192, 168, 1, 1]),
])
def test_mask_and_gateway_travel_in_caller_cells(sim, qxt, port, setter, getter, start):
    out = qxt.qxt_u8_array([0] * 4)
    assert getattr(c, getter)(port, out) is None
    assert qxt.qxt_read_u8(out, 4) == start
    assert getattr(c, setter)(port, qxt.qxt_u8_array([10, 20, 30, 40])) is None
    assert sim.last(setter).arg(2).bytes == bytes([10, 20, 30, 40])
    getattr(c, getter)(port, out)
    assert qxt.qxt_read_u8(out, 4) == [10, 20, 30, 40]
    assert sim.last(getter).arg(2).value == int(out)
    with raises_exactly(TypeError, f"in method '{setter}', argument 2 of type 'u8_t const *const'"):
        getattr(c, setter)(port, [10, 20, 30, 40])
    with raises_exactly(Exception, f"{getter}: no address buffer given"):
        getattr(c, getter)(port, None)


def test_tcp_port(sim, qxt, port):
    cell = qxt.qxt_u16_array([0])
    assert c.Qx_Common_Ethernet_TcpPort_Get(port, cell) is None
    assert qxt.qxt_read_u16(cell, 1) == [1000]
    with raises_exactly(TypeError, "in method 'Qx_Common_Ethernet_TcpPort_Get', argument 2 of type 'u16_t *const'"):
        c.Qx_Common_Ethernet_TcpPort_Get(port, qxt.qxt_u8_array([0, 0]))


def test_ftp_server_auto_start(qxt, port):
    state = qxt.qxt_u8_array([0xEE])
    c.Qx_Common_Ethernet_FtpServer_AutoStart_Enable(port)
    c.Qx_Common_Ethernet_FtpServer_AutoStart_GetState(port, state)
    assert qxt.qxt_read_u8(state, 1) == [1]
    c.Qx_Common_Ethernet_FtpServer_AutoStart_Disable(port)
    c.Qx_Common_Ethernet_FtpServer_AutoStart_GetState(port, state)
    assert qxt.qxt_read_u8(state, 1) == [0]


# ---- the host's network adapters -----------------------------------------------------------------

def test_network_adapter_info_fills_a_record_of_the_base_module(sim):
    count = qxtest.new_record(q, "int_p")
    q.int_p_assign(count, 1)
    adapter = qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t")
    assert c.Qx_Common_Ethernet_GetNetworkAdapterInfo(count, adapter) is None
    call = sim.last("Qx_Common_Ethernet_GetNetworkAdapterInfo")
    assert call.arg(1).bytes == struct.pack("<I", 1)
    assert call.arg(2).value == int(adapter)
    assert q.int_p_value(count) == 2
    ip = q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(adapter)
    mask = q.Qx_Ethernet_AdapterInfo_t_Mask_get(adapter)
    assert [getattr(q, f"Qx_IpAddress_t_Byte_B{i}_get")(q.Qx_IpAddress_t_Byte_get(ip)) for i in range(1, 5)] == \
        [192, 168, 1, 10]
    assert q.Qx_IpAddress_t_All_get(mask) == 0x00FFFFFF


@pytest.mark.parametrize("args, message", [
    (lambda: (qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t"), None),
     "in method 'Qx_Common_Ethernet_GetNetworkAdapterInfo', argument 1 of type 'u32_t *const'"),
    (lambda: (qxtest.new_record(q, "int_p"), qxtest.new_record(q, "Qx_Data_t")),
     "in method 'Qx_Common_Ethernet_GetNetworkAdapterInfo', argument 2 of type 'Qx_Ethernet_AdapterInfo_t *const'"),
])
def test_network_adapter_info_argument_errors(sim, args, message):
    with raises_exactly(TypeError, message):
        c.Qx_Common_Ethernet_GetNetworkAdapterInfo(*args())
    assert sim.calls("Qx_Common_Ethernet_GetNetworkAdapterInfo") == 0
