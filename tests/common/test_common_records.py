"""The common records: signal locator and the address unions."""
import pytest

import qxtest
c = qxtest.module("_qx_api_common")
from layouts import pack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402




def test_signal_fields_reach_the_native_library_in_its_layout(sim, qxt, port):
    s = qxtest.new_record(c, "Qx_Common_Signal_t")
    c.Qx_Common_Signal_t_Size_set(s, 0x1FF)          # stored in 8 bits
    c.Qx_Common_Signal_t_ByteOrder_set(s, True)
    c.Qx_Common_Signal_t_Offset_set(s, qxt.qxt_u16_array([0x1234]))
    assert c.Qx_Common_Signal_t_Size_get(s) == 255
    assert c.Qx_Common_Signal_t_ByteOrder_get(s) == 1
    offset = qxtest.owned(c.Qx_Common_Signal_t_Offset_get(s))
    assert qxt.qxt_read_u16(offset, 1) == [0x1234]
    c.Qx_Common_Signal_t_Size_set(s, 8)
    c.Qx_Common_Signal_t_Offset_set(s, qxt.qxt_u16_array([16]))
    assert c.Qx_Common_Signal_Check(port, s) is None
    assert sim.last("Qx_Common_Signal_Check").arg(2).bytes == pack("Qx_Common_Signal_t", Size=8, ByteOrder=1, Offset=16)
    # the getter's object is a copy: setting the field again leaves it alone
    assert qxt.qxt_read_u16(offset, 1) == [0x1234]


@pytest.mark.parametrize("setter, value, exc, message", [
    ("Qx_Common_Signal_t_Offset_set", 5, TypeError,
     "in method 'Qx_Common_Signal_t_Offset_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Signal_t_Offset_set", None, ValueError,
     "invalid null reference in method 'Qx_Common_Signal_t_Offset_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Signal_t_Size_set", -1, OverflowError,
     "in method 'Qx_Common_Signal_t_Size_set', argument 2 of type 'u8_t'"),
    ("Qx_Common_Signal_t_ByteOrder_set", 2**32, OverflowError,
     "in method 'Qx_Common_Signal_t_ByteOrder_set', argument 2 of type 'Qx_Common_Signal_ByteOrder_t'"),
    ("Qx_Common_Signal_t_Size_set", "8", TypeError,
     "in method 'Qx_Common_Signal_t_Size_set', argument 2 of type 'u8_t'"),
])
def test_signal_setter_errors_leave_the_record_unchanged(setter, value, exc, message):
    s = qxtest.new_record(c, "Qx_Common_Signal_t")
    with raises_exactly(exc, message):
        getattr(c, setter)(s, value)
    assert (c.Qx_Common_Signal_t_Size_get(s), c.Qx_Common_Signal_t_ByteOrder_get(s)) == (0, 0)


def test_signal_setter_refuses_another_record_type():
    with raises_exactly(TypeError, "in method 'Qx_Common_Signal_t_Size_set', argument 1 of type 'Qx_Common_Signal_t *'"):
        c.Qx_Common_Signal_t_Size_set(qxtest.new_record(c, "Qx_Common_Ip4Address_t"), 1)


def test_ip4_address_views():
    a = qxtest.new_record(c, "Qx_Common_Ip4Address_t")
    assert c.Qx_Common_Ip4Address_t_Addr8_get(a) == [0, 0, 0, 0]
    c.Qx_Common_Ip4Address_t_Addr32_set(a, 1)
    assert c.Qx_Common_Ip4Address_t_Addr8_get(a) == [1, 0, 0, 0]
    c.Qx_Common_Ip4Address_t_Addr32_set(a, 0xFFFFFFFF)
    assert c.Qx_Common_Ip4Address_t_Addr32_get(a) == 0xFFFFFFFF


def test_array_members_are_set_from_pointer_objects(qxt):
    a = qxtest.new_record(c, "Qx_Common_Ip4Address_t")
    c.Qx_Common_Ip4Address_t_Addr8_set(a, qxt.qxt_u8_array([192, 168, 0, 10]))
    assert c.Qx_Common_Ip4Address_t_Addr32_get(a) == 0x0A00A8C0
    b = qxtest.new_record(c, "Qx_Common_Ip6Address_t")
    c.Qx_Common_Ip6Address_t_Addr32_set(b, qxt.qxt_u32_array([1, 2, 3, 0x80000000]))
    assert c.Qx_Common_Ip6Address_t_Addr32_get(b) == [1, 2, 3, 0x80000000]
    assert c.Qx_Common_Ip6Address_t_Addr8_get(b) == [1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0, 0, 0, 0, 0x80]
    c.Qx_Common_Ip6Address_t_Addr8_set(b, qxt.qxt_u8_array(range(16)))
    assert c.Qx_Common_Ip6Address_t_Addr32_get(b)[0] == 0x03020100


@pytest.mark.parametrize("make, setter, message", [
    (c.new_Qx_Common_Ip4Address_t, c.Qx_Common_Ip4Address_t_Addr8_set,
     "invalid null reference in variable 'Addr8' of type 'u8_t [4]'"),
    (c.new_Qx_Common_Ip6Address_t, c.Qx_Common_Ip6Address_t_Addr32_set,
     "invalid null reference in variable 'Addr32' of type 'u32_t [4]'"),
    (c.new_Qx_Common_Ip6Address_t, c.Qx_Common_Ip6Address_t_Addr8_set,
     "invalid null reference in variable 'Addr8' of type 'u8_t [16]'"),
])
def test_array_member_from_none(make, setter, message):
    with raises_exactly(ValueError, message):
        setter(qxtest.owned(make()), None)


def test_ip_address_union_members_are_views_of_the_same_bytes(qxt):
    u = qxtest.new_record(c, "Qx_Common_IpAddress_t")
    ip4 = c.Qx_Common_IpAddress_t_Ip4_get(u)
    ip6 = c.Qx_Common_IpAddress_t_Ip6_get(u)
    c.Qx_Common_Ip6Address_t_Addr8_set(ip6, qxt.qxt_u8_array([10, 0, 0, 1] + [7] * 12))
    assert c.Qx_Common_Ip4Address_t_Addr8_get(ip4) == [10, 0, 0, 1]
    # the setter copies the record given; the value object stays independent
    v4 = qxtest.new_record(c, "Qx_Common_Ip4Address_t")
    c.Qx_Common_Ip4Address_t_Addr32_set(v4, 0x04030201)
    c.Qx_Common_IpAddress_t_Ip4_set(u, v4)
    assert c.Qx_Common_Ip6Address_t_Addr8_get(ip6)[:5] == [1, 2, 3, 4, 7]
    c.Qx_Common_Ip4Address_t_Addr32_set(v4, 0)
    assert c.Qx_Common_Ip4Address_t_Addr32_get(ip4) == 0x04030201


@pytest.mark.parametrize("value, exc, message", [
    (None, ValueError,
     "invalid null reference in method 'Qx_Common_IpAddress_t_Ip4_set', argument 2 of type 'Qx_Common_Ip4Address_t *'"),
    (qxtest.new_record(c, "Qx_Common_Ip6Address_t"), TypeError,
     "in method 'Qx_Common_IpAddress_t_Ip4_set', argument 2 of type 'Qx_Common_Ip4Address_t *'"),
])
def test_nested_member_setter_errors_leave_the_parent_unchanged(value, exc, message):
    u = qxtest.new_record(c, "Qx_Common_IpAddress_t")
    c.Qx_Common_Ip4Address_t_Addr32_set(c.Qx_Common_IpAddress_t_Ip4_get(u), 77)
    with raises_exactly(exc, message):
        c.Qx_Common_IpAddress_t_Ip4_set(u, value)
    assert c.Qx_Common_Ip4Address_t_Addr32_get(c.Qx_Common_IpAddress_t_Ip4_get(u)) == 77


def test_destructor_frees_once():
    s = qxtest.new_record(c, "Qx_Common_Signal_t")
    assert s.own()
    assert c.delete_Qx_Common_Signal_t(s) is None
    assert not s.own()
    c.delete_Qx_Common_Signal_t(s)  # owns nothing any more: frees nothing
    assert not s.own()
