"""XCP transport set-up: the CAN, FlexRay and Ethernet set-up records and
the reset of an XCP master."""
import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import layouts  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402
from xcp_support import record, u16, u16_value  # noqa: E402


def test_can_set_up_reaches_the_library_in_its_layout(sim, port):
    cmd = record("Init_Can_Cmd_t", Flags=0x80000001, CanIdMaster=0x18DA00F1, CanIdSlave=0x18DAF100,
                 TxTimeout=2**32 - 1)
    assert c.Qx_Common_Xcp_Init_Can(port, 3, cmd) is None
    call = sim.last("Qx_Common_Xcp_Init_Can")
    assert [call.arg(1).value, call.arg(2).value] == [port, 3]
    assert call.arg(3).bytes == pack("Qx_Common_Xcp_Init_Can_Cmd_t", Flags=0x80000001, CanIdMaster=0x18DA00F1,
                                     CanIdSlave=0x18DAF100, TxTimeout=2**32 - 1)


def test_instance_number_reaches_the_library_in_8_bits(sim, port):
    assert c.Qx_Common_Xcp_Reset(port, 256) is None
    assert sim.last("Qx_Common_Xcp_Reset").arg(2).value == 0
    with raises_exactly(OverflowError, "in method 'Qx_Common_Xcp_Reset', argument 2 of type 'u8_t'"):
        c.Qx_Common_Xcp_Reset(port, -1)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Init_FlexRay', argument 2 of type 'u8_t'"):
        c.Qx_Common_Xcp_Init_FlexRay(port, "0", None)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Reset', argument 1 of type 'Qx_PortHandle_t'"):
        c.Qx_Common_Xcp_Reset(None, 0)
    assert sim.calls("Qx_Common_Xcp_Reset") == 1
    assert sim.calls("Qx_Common_Xcp_Init_FlexRay") == 0


def test_flexray_pdu_table_is_reached_through_a_view_of_its_first_entry(sim, port):
    cmd = qxtest.new_record(c, "Qx_Common_Xcp_Init_FlexRay_Cmd_t")
    first, again = c.Qx_Common_Xcp_Init_FlexRay_Cmd_t_Pdus_get(cmd), c.Qx_Common_Xcp_Init_FlexRay_Cmd_t_Pdus_get(cmd)
    assert not first.own() and int(first) == int(again)
    c.Qx_Common_Xcp_Init_FlexRay_Cmd_t_Pdus_PduId_set(first, 0x11223344)
    c.Qx_Common_Xcp_Init_FlexRay_Cmd_t_Pdus_PacketType_set(again, 2)
    assert c.Qx_Common_Xcp_Init_FlexRay_Cmd_t_Pdus_PduId_get(again) == 0x11223344
    c.Qx_Common_Xcp_Init_FlexRay_Cmd_t_NumberOfPdus_set(cmd, 300)  # stored in 8 bits: 44
    c.Qx_Common_Xcp_Init_FlexRay_Cmd_t_HeaderType_set(cmd, c.QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_CTR_LEN)
    assert c.Qx_Common_Xcp_Init_FlexRay(port, 0, cmd) is None
    sent = sim.last("Qx_Common_Xcp_Init_FlexRay").arg(3)
    assert sent.size == layouts.size("Qx_Common_Xcp_Init_FlexRay_Cmd_t") == 4020
    assert sent.bytes == pack("Qx_Common_Xcp_Init_FlexRay_Cmd_t", NumberOfPdus=44, HeaderType=6,
                              Pdus=[{"PduId": 0x11223344, "PacketType": 2}])
    assert sent.bytes[20:24] == bytes.fromhex("44332211") and not any(sent.bytes[24 + 1:])
    with raises_exactly(OverflowError,
                        "in method 'Qx_Common_Xcp_Init_FlexRay_Cmd_t_NumberOfPdus_set', argument 2 of type 'u8_t'"):
        c.Qx_Common_Xcp_Init_FlexRay_Cmd_t_NumberOfPdus_set(cmd, 2**32)
    assert not hasattr(c, "Qx_Common_Xcp_Init_FlexRay_Cmd_t_Pdus_set")


def test_a_fresh_flexray_record_is_zero_and_refused_by_the_slave(sim, port):
    with raises_exactly(Exception, "Qx_Common_Xcp_Init_FlexRay: 0 PDUs given, 1 to 250 expected"):
        c.Qx_Common_Xcp_Init_FlexRay(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Init_FlexRay_Cmd_t"))
    assert sim.last("Qx_Common_Xcp_Init_FlexRay").arg(3).bytes == bytes(4020)


ETHERNET = [("Udp4", 4, False), ("Tcp4", 4, True), ("Udp6", 16, False), ("Tcp6", 16, True)]


@pytest.mark.parametrize("kind, size, tcp", ETHERNET)
def test_ethernet_set_up_copies_addresses_and_ports(sim, qxt, port, kind, size, tcp):
    name = f"Qx_Common_Xcp_Init_Ethernet_{kind}_Cmd_t"
    ip = "Qx_Common_Ip4Address_t" if size == 4 else "Qx_Common_Ip6Address_t"
    cmd = qxtest.new_record(c, name)
    master, slave = qxtest.new_record(c, ip), qxtest.new_record(c, ip)
    getattr(c, ip + "_Addr8_set")(master, qxt.qxt_u8_array(range(1, size + 1)))
    getattr(c, ip + "_Addr8_set")(slave, qxt.qxt_u8_array(range(101, size + 101)))
    getattr(c, name + "_MasterIpAddress_set")(cmd, master)
    getattr(c, name + "_SlaveIpAddress_set")(cmd, slave)
    # the setter copied: later changes of the address object stay out of the record
    getattr(c, ip + "_Addr8_set")(master, qxt.qxt_u8_array([0xEE] * size))
    getattr(c, name + "_MasterPort_set")(cmd, u16(qxt, 5555))
    getattr(c, name + "_SlavePort_set")(cmd, u16(qxt, 0xFFFF))
    getattr(c, name + "_VlanId_set")(cmd, 4095)
    getattr(c, name + "_TxTimeout_set")(cmd, 20)
    fields = dict(VlanId=4095, MasterIpAddress={"Addr8": list(range(1, size + 1))},
                  SlaveIpAddress={"Addr8": list(range(101, size + 101))}, MasterPort=5555, SlavePort=0xFFFF,
                  TxTimeout=20)
    if tcp:
        getattr(c, name + "_TcpConnectTimeout_set")(cmd, 1000)
        fields["TcpConnectTimeout"] = 1000
    assert getattr(c, "Qx_Common_Xcp_Init_Ethernet_" + kind)(port, 1, cmd) is None
    assert sim.last("Qx_Common_Xcp_Init_Ethernet_" + kind).arg(3).bytes == pack(name, **fields)
    # the port getter gives a copy, accepted by another record's setter
    other = qxtest.new_record(c, name)
    got = getattr(c, name + "_SlavePort_get")(cmd)
    getattr(c, name + "_MasterPort_set")(other, got)
    assert u16_value(qxt, getattr(c, name + "_MasterPort_get")(other)) == 0xFFFF
    getattr(c, name + "_SlavePort_set")(cmd, u16(qxt, 1))
    assert u16_value(qxt, got) == 0xFFFF


@pytest.mark.parametrize("kind, size, tcp", ETHERNET)
def test_ethernet_address_getter_is_a_view_into_the_record(qxt, kind, size, tcp):
    name = f"Qx_Common_Xcp_Init_Ethernet_{kind}_Cmd_t"
    cmd = qxtest.new_record(c, name)
    view = getattr(c, name + "_SlaveIpAddress_get")(cmd)
    assert not view.own()
    if size == 4:
        c.Qx_Common_Ip4Address_t_Addr32_set(view, 0x0A000001)
    else:
        c.Qx_Common_Ip6Address_t_Addr32_set(view, qxt.qxt_u32_array([0x0A000001, 0, 0, 7]))
    data = bytes(qxt.qxt_read_u8(cmd, layouts.size(name)))
    at = layouts.offset(name, "SlaveIpAddress")
    assert data[at:at + 4] == bytes.fromhex("0100000a")
    assert data == pack(name, SlaveIpAddress={"Addr32": 0x0A000001 if size == 4 else [0x0A000001, 0, 0, 7]})


@pytest.mark.parametrize("setter, value, exc, message", [
    ("Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_t_MasterPort_set", 5555, TypeError,
     "in method 'Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_t_MasterPort_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_t_MasterPort_set", None, ValueError,
     "invalid null reference in method 'Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_t_MasterPort_set', "
     "argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_Init_Ethernet_Udp6_Cmd_t_MasterIpAddress_set", qxtest.new_record(c, "Qx_Common_Ip4Address_t"), TypeError,
     "in method 'Qx_Common_Xcp_Init_Ethernet_Udp6_Cmd_t_MasterIpAddress_set', argument 2 of type "
     "'Qx_Common_Ip6Address_t *'"),
    ("Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_t_SlaveIpAddress_set", None, ValueError,
     "invalid null reference in method 'Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_t_SlaveIpAddress_set', "
     "argument 2 of type 'Qx_Common_Ip4Address_t *'"),
    ("Qx_Common_Xcp_Init_Can_Cmd_t_Flags_set", 1.0, TypeError,
     "in method 'Qx_Common_Xcp_Init_Can_Cmd_t_Flags_set', argument 2 of type 'Qx_Common_Xcp_Init_Can_Cmd_Flags_t'"),
])
def test_setter_errors_leave_the_record_unchanged(qxt, setter, value, exc, message):
    name = setter[:setter.index("_t_") + 2]
    obj = qxtest.new_record(c, name)
    with raises_exactly(exc, message):
        getattr(c, setter)(obj, value)
    assert bytes(qxt.qxt_read_u8(obj, layouts.size(name))) == bytes(layouts.size(name))


def test_setter_refuses_another_record_as_the_record():
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Init_Can_Cmd_t_TxTimeout_set', "
                                   "argument 1 of type 'Qx_Common_Xcp_Init_Can_Cmd_t *'"):
        c.Qx_Common_Xcp_Init_Can_Cmd_t_TxTimeout_set(qxtest.new_record(c, "Qx_Common_Xcp_Init_FlexRay_Cmd_t"), 1)


def test_set_up_record_of_another_transport_is_refused(sim, port):
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Init_FlexRay', argument 3 of type "
                                   "'Qx_Common_Xcp_Init_FlexRay_Cmd_t const *const'"):
        c.Qx_Common_Xcp_Init_FlexRay(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Init_Can_Cmd_t"))
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Init_Ethernet_Udp4', argument 3 of type "
                                   "'Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_t const *const'"):
        c.Qx_Common_Xcp_Init_Ethernet_Udp4(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_t"))
    assert sim.calls("Qx_Common_Xcp_Init_FlexRay") == sim.calls("Qx_Common_Xcp_Init_Ethernet_Udp4") == 0


@pytest.mark.parametrize("call, text", [
    (lambda port: c.Qx_Common_Xcp_Init_Can(port, 0, record("Init_Can_Cmd_t", CanIdMaster=0x700, CanIdSlave=0x700)),
     "Qx_Common_Xcp_Init_Can: master and slave use the same CAN identifier 0x700"),
    (lambda port: c.Qx_Common_Xcp_Init_Can(port, 0, record("Init_Can_Cmd_t", CanIdSlave=0x20000000)),
     "Qx_Common_Xcp_Init_Can: CAN identifier 0x20000000 beyond 29 bits"),
    (lambda port: c.Qx_Common_Xcp_Init_Can(port, 0, None), "Qx_Common_Xcp_Init_Can: no set-up record given"),
    (lambda port: c.Qx_Common_Xcp_Init_Ethernet_Tcp6(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Init_Ethernet_Tcp6_Cmd_t")),
     "Qx_Common_Xcp_Init_Ethernet_Tcp6: no slave IP address given"),
    (lambda port: c.Qx_Common_Xcp_Init_Can(port + 1, 0, record("Init_Can_Cmd_t", CanIdSlave=1)),
     None),
])
def test_set_up_refused_by_the_library(sim, port, call, text):
    with raises_exactly(Exception, text or "Qx_Common_Xcp_Init_Can: invalid port handle 0x%08X" % (port + 1)):
        call(port)


def test_failing_status_raises_the_last_error_text(sim, port):
    sim.fail("Qx_Common_Xcp_Reset", 0x55, b"XCP master busy")
    with raises_exactly(Exception, "XCP master busy"):
        c.Qx_Common_Xcp_Reset(port, 0)


def test_at_most_four_instances_per_port_and_reset_frees_one(sim, port):
    for instance in (0, 1, 2, 255):
        c.Qx_Common_Xcp_Init_Can(port, instance, record("Init_Can_Cmd_t", CanIdSlave=1))
    with raises_exactly(Exception, f"Qx_Common_Xcp_Init_Can: no room for XCP instance 7: 4 instances are set up "
                                   f"on port 0x{port:08X}"):
        c.Qx_Common_Xcp_Init_Can(port, 7, record("Init_Can_Cmd_t", CanIdSlave=1))
    c.Qx_Common_Xcp_Init_Can(port, 255, record("Init_Can_Cmd_t", CanIdSlave=2))  # set up again: its own slot
    c.Qx_Common_Xcp_Reset(port, 1)
    assert c.Qx_Common_Xcp_Init_Can(port, 7, record("Init_Can_Cmd_t", CanIdSlave=1)) is None
