"""The interface selector Qx_InterfaceInfo_t, its nested records and union."""
import pytest

import _qx_api as q
import qxtest
from base_device import raises_exactly
from layouts import pack, unpack

P = "Qx_InterfaceInfo_t_Parameters"
U = P + "_u"
ETH = U + "_Ethernet"
UOE = U + "_UsbOverEthernet"
SER = U + "_Serial"


def fn(name):
    return getattr(q, name)


def views(info):
    params = q.Qx_InterfaceInfo_t_Parameters_get(info)
    union = fn(P + "_u_get")(params)
    return params, union, fn(U + "_Ethernet_get")(union), fn(U + "_UsbOverEthernet_get")(union), fn(U + "_Serial_get")(union)


def test_new_selector_is_zeroed(qxt):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    params, union, eth, uoe, ser = views(info)
    ints = [q.Qx_InterfaceInfo_t_Type_get(info), fn(P + "_ControllerNumber_get")(params), fn(P + "_InterfaceNumber_get")(params),
            fn(U + "_CardNumber_get")(union), fn(SER + "_PortNumber_get")(ser), fn(ETH + "_reserved1_get")(eth),
            fn(ETH + "_reserved2_get")(eth), fn(UOE + "_CardNumber_get")(uoe), fn(UOE + "_reserved1_get")(uoe),
            fn(UOE + "_reserved2_get")(uoe), fn(UOE + "_IpAddress_get")(uoe)]
    assert ints == [0] * 11
    assert fn(ETH + "_IpAddress_get")(eth) == [0] * 16
    for copy in qxtest.owned((fn(P + "_Flags_get")(params), fn(ETH + "_PortNumber_get")(eth),
                              fn(UOE + "_PortNumber_get")(uoe))):
        assert qxt.qxt_read_u16(copy, 1) == [0]


def test_selector_fields_reach_the_native_open_as_laid_out(sim, qxt):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    params, union, eth, uoe, ser = views(info)
    q.Qx_InterfaceInfo_t_Type_set(info, q.QX_INTERFACE_TYPE__CAN)
    fn(P + "_ControllerNumber_set")(params, 0x100)  # stored truncated: 0
    fn(P + "_InterfaceNumber_set")(params, 1)
    fn(P + "_Flags_set")(params, qxt.qxt_u16_array([0xBEEF]))
    fn(ETH + "_PortNumber_set")(eth, qxt.qxt_u16_array([0x1234]))
    fn(ETH + "_reserved1_set")(eth, 5)
    fn(ETH + "_reserved2_set")(eth, 0x1FF)
    fn(ETH + "_IpAddress_set")(eth, qxt.qxt_u8_array(range(1, 17)))
    q.Qx_OpenInterface(info)
    expected = pack("Qx_InterfaceInfo_t", {
        "Type": 4, "Parameters.ControllerNumber": 0, "Parameters.InterfaceNumber": 1, "Parameters.Flags": 0xBEEF,
        "Parameters.u.Ethernet.PortNumber": 0x1234, "Parameters.u.Ethernet.reserved1": 5,
        "Parameters.u.Ethernet.reserved2": 0xFF, "Parameters.u.Ethernet.IpAddress": range(1, 17)})
    assert sim.last("Qx_OpenInterface").arg(1).bytes == expected
    assert fn(ETH + "_IpAddress_get")(eth) == list(range(1, 17))
    # the USB-over-Ethernet view of the same union (its reserved bytes overlay address bytes 3 and 4)
    fn(UOE + "_CardNumber_set")(uoe, 7)
    fn(UOE + "_PortNumber_set")(uoe, qxt.qxt_u16_array([0x2222]))
    fn(UOE + "_IpAddress_set")(uoe, 0xC0A80164)
    q.Qx_OpenInterface2(0, info)
    sent = unpack("Qx_InterfaceInfo_t", sim.last("Qx_OpenInterface2").arg(2).bytes)
    assert sent["Parameters"]["u"]["UsbOverEthernet"] == dict(CardNumber=7, PortNumber=0x2222, reserved1=3,
                                                               reserved2=4, IpAddress=0xC0A80164)


def test_union_members_share_their_bytes(qxt):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    _, union, eth, uoe, ser = views(info)
    fn(U + "_CardNumber_set")(union, 258)
    assert fn(SER + "_PortNumber_get")(ser) == 2
    assert qxt.qxt_read_u16(qxtest.owned(fn(ETH + "_PortNumber_get")(eth)), 1) == [258]
    assert fn(UOE + "_CardNumber_get")(uoe) == 258


@pytest.mark.parametrize("setter, record_of, type_", [
    ("Qx_InterfaceInfo_t_Type_set", lambda info: info, "u32_t"),
    (P + "_ControllerNumber_set", lambda info: views(info)[0], "u8_t"),
    (U + "_CardNumber_set", lambda info: views(info)[1], "u32_t"),
])
@pytest.mark.parametrize("value, exc", [(2**32, OverflowError), (-1, OverflowError), ("1", TypeError)])
def test_int_fields_refuse_bad_values(setter, record_of, type_, value, exc):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    record = record_of(info)
    with raises_exactly(exc, f"in method '{setter}', argument 2 of type '{type_}'"):
        fn(setter)(record, value)
    assert fn(setter[:-3] + "get")(record) == 0


@pytest.mark.parametrize("setter, view, type_", [
    (P + "_Flags_set", 0, "Qx_InterfaceInfo_Flags_t"),
    (UOE + "_PortNumber_set", 3, "u16_t"),
    (ETH + "_PortNumber_set", 2, "u16_t"),
])
def test_u16_fields_take_u16_objects_only(qxt, setter, view, type_):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    record = views(info)[view]
    message = f"in method '{setter}', argument 2 of type '{type_}'"
    with raises_exactly(ValueError, "invalid null reference " + message):
        fn(setter)(record, None)
    with raises_exactly(TypeError, message):
        fn(setter)(record, 5)
    with raises_exactly(TypeError, message):
        fn(setter)(record, qxtest.new_record(q, "int_p"))
    assert q.Qx_InterfaceInfo_t_Parameters_u_CardNumber_get(views(info)[1]) == 0
    # the getter returns a copy that later changes of the record leave alone
    fn(setter)(record, qxt.qxt_u16_array([0xABCD]))
    copy = qxtest.owned(fn(setter[:-3] + "get")(record))
    fn(setter)(record, qxt.qxt_u16_array([1]))
    assert qxt.qxt_read_u16(copy, 1) == [0xABCD]


def test_ethernet_address_refuses_none_and_keeps_its_bytes(qxt):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    eth = views(info)[2]
    fn(ETH + "_IpAddress_set")(eth, qxt.qxt_u8_array([9] * 16))
    with raises_exactly(ValueError, "invalid null reference in variable 'IpAddress' of type 'u8_t [16]'"):
        fn(ETH + "_IpAddress_set")(eth, None)
    with raises_exactly(TypeError, f"in method '{ETH}_IpAddress_set', argument 2 of type 'u8_t [16]'"):
        fn(ETH + "_IpAddress_set")(eth, qxt.qxt_u16_array([1] * 8))
    assert fn(ETH + "_IpAddress_get")(eth) == [9] * 16


@pytest.mark.parametrize("getter, record_type", [
    ("Qx_InterfaceInfo_t_Parameters_get", "Qx_InterfaceInfo_t *"),
    (P + "_u_get", P + " *"),
    (U + "_Ethernet_get", U + " *"),
])
def test_nested_getters_refuse_other_records(getter, record_type):
    with raises_exactly(TypeError, f"in method '{getter}', argument 1 of type '{record_type}'"):
        fn(getter)(qxtest.new_record(q, "Qx_Data_t"))
