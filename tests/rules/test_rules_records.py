"""Record bindings: life cycle, registration, accessors, nested, array and
pointer members (on the base module's data and address records)."""
import gc

import pytest

import _qx_api as q
import qxtest


def test_new_record_is_zeroed():
    d = q.new_Qx_Data_t()
    assert q.Qx_Data_t_U8_get(d) == [0] * 8
    assert q.Qx_Data_t_U32_get(d) == [0, 0]
    q.delete_Qx_Data_t(d)


def test_destructor_frees_only_what_the_object_owns(capfd):
    gc.collect()
    qxtest.c_stdout(capfd)
    adapter = q.new_Qx_Ethernet_AdapterInfo_t()
    view = q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(adapter)
    q.Qx_IpAddress_t_All_set(view, 0x01020304)
    q.delete_Qx_IpAddress_t(view)       # a view into the adapter: frees nothing
    q.delete_Qx_IpAddress_t(None)       # nothing to free
    assert q.Qx_IpAddress_t_All_get(q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(adapter)) == 0x01020304
    q.delete_Qx_Ethernet_AdapterInfo_t(adapter)
    q.delete_Qx_Ethernet_AdapterInfo_t(adapter)  # second delete is harmless
    del adapter, view
    gc.collect()
    assert "memory leak" not in qxtest.c_stdout(capfd)


def test_destructor_refuses_another_record_type():
    with pytest.raises(TypeError) as e:
        q.delete_Qx_Data_t(qxtest.new_record(q, "Qx_IpAddress_t"))
    assert str(e.value) == "in method 'delete_Qx_Data_t', argument 1 of type 'Qx_Data_t *'"


def test_collected_record_without_registered_class_prints_leak_warning(capfd):
    gc.collect()
    qxtest.c_stdout(capfd)
    record = q.new_Qx_Data_t()
    del record
    gc.collect()
    assert qxtest.c_stdout(capfd) == "swig/python detected a memory leak of type 'Qx_Data_t *', no destructor found.\n"


class Proxy:
    """What a Python layer does with the registration entries."""

    def __init__(self, this):
        self.this = this


def test_registered_class_wraps_returned_objects_and_frees_on_collection(capfd):
    gc.collect()
    qxtest.c_stdout(capfd)
    class Byte(Proxy):
        __swig_destroy__ = q.delete_Qx_IpAddress_t_Byte

    assert q.Qx_IpAddress_t_Byte_swigregister(Byte) is None
    ip = qxtest.new_record(q, "Qx_IpAddress_t")
    view = q.Qx_IpAddress_t_Byte_get(ip)
    assert type(view) is Byte
    q.Qx_IpAddress_t_Byte_B1_set(view, 0xC0)
    assert q.Qx_IpAddress_t_All_get(ip) == 0xC0
    # An owned object made by the constructor is plain, the class attaches it.
    raw = q.new_Qx_IpAddress_t_Byte()
    assert type(raw) is not Byte
    proxy = Byte.__new__(Byte)
    assert q.Qx_IpAddress_t_Byte_swiginit(proxy, raw) is None
    assert proxy.this is raw
    del proxy, raw, view
    gc.collect()  # the owned record is freed through __swig_destroy__
    assert "memory leak" not in qxtest.c_stdout(capfd)
    q.delete_Qx_IpAddress_t(ip)


def test_registration_takes_exactly_one_class():
    with pytest.raises(TypeError) as e:
        q.Qx_Data_t_swigregister((Proxy, Proxy))
    assert str(e.value) == "swigregister expected 1 arguments, got 2"


def test_swiginit_appends_to_an_existing_pointer_and_refuses_other_objects():
    proxy = Proxy(qxtest.new_record(q, "Qx_Data_t"))
    second = qxtest.new_record(q, "Qx_Data_t")
    assert q.Qx_Data_t_swiginit(proxy, second) is None
    assert proxy.this.next() is second
    with pytest.raises(TypeError) as e:
        q.Qx_Data_t_swiginit(proxy, 5)
    assert str(e.value) == "Attempt to append a non SwigPyObject"
    with pytest.raises(TypeError) as e:
        q.Qx_Data_t_swiginit(proxy)
    assert str(e.value) == "swiginit expected 2 arguments, got 1"


def test_scalar_setter_on_none_record_does_nothing():
    assert q.Qx_IpAddress_t_All_set(None, 5) is None


@pytest.mark.parametrize("call, binding, rtype", [
    (lambda: q.Qx_IpAddress_t_All_get(None), "Qx_IpAddress_t_All_get", "Qx_IpAddress_t *"),
    (lambda: q.Qx_Data_t_U8_get(None), "Qx_Data_t_U8_get", "Qx_Data_t *"),
    (lambda: q.Qx_Data_t_U16_get(None), "Qx_Data_t_U16_get", "Qx_Data_t *"),
    (lambda: q.Qx_Data_t_U64_get(None), "Qx_Data_t_U64_get", "Qx_Data_t *"),
    (lambda: q.Qx_IpAddress_t_Byte_get(None), "Qx_IpAddress_t_Byte_get", "Qx_IpAddress_t *"),
    (lambda: q.Qx_Data_t_U8_set(None, None), "Qx_Data_t_U8_set", "Qx_Data_t *"),
    (lambda: q.Qx_Ethernet_AdapterInfo_t_Mask_set(None, qxtest.new_record(q, "Qx_IpAddress_t")),
     "Qx_Ethernet_AdapterInfo_t_Mask_set", "Qx_Ethernet_AdapterInfo_t *"),
])
def test_getters_and_copying_setters_refuse_a_none_record(call, binding, rtype):
    with pytest.raises(ValueError) as e:
        call()
    assert str(e.value) == f"invalid null reference in method '{binding}', argument 1 of type '{rtype}'"


@pytest.mark.parametrize("setter, value, exc, message", [
    (q.Qx_IpAddress_t_All_set, -1, OverflowError, "in method 'Qx_IpAddress_t_All_set', argument 2 of type 'u32_t'"),
    (q.Qx_IpAddress_t_All_set, "1", TypeError, "in method 'Qx_IpAddress_t_All_set', argument 2 of type 'u32_t'"),
    (q.Qx_IpAddress_t_Byte_B2_set, 2**32, OverflowError, "in method 'Qx_IpAddress_t_Byte_B2_set', argument 2 of type 'u8_t'"),
])
def test_setter_value_refused(setter, value, exc, message):
    record = qxtest.new_record(q, "Qx_IpAddress_t_Byte") if "Byte" in setter.__name__ else qxtest.new_record(q, "Qx_IpAddress_t")
    with pytest.raises(exc) as e:
        setter(record, value)
    assert str(e.value) == message


def test_setter_record_of_wrong_type():
    with pytest.raises(TypeError) as e:
        q.Qx_IpAddress_t_All_set(qxtest.new_record(q, "Qx_Data_t"), 1)
    assert str(e.value) == "in method 'Qx_IpAddress_t_All_set', argument 1 of type 'Qx_IpAddress_t *'"


def test_address_bytes_and_word_share_storage():
    ip = qxtest.new_record(q, "Qx_IpAddress_t")
    byte = q.Qx_IpAddress_t_Byte_get(ip)
    for setter, value in zip((q.Qx_IpAddress_t_Byte_B1_set, q.Qx_IpAddress_t_Byte_B2_set,
                              q.Qx_IpAddress_t_Byte_B3_set, q.Qx_IpAddress_t_Byte_B4_set), (192, 168, 0, 1)):
        setter(byte, value)
    assert q.Qx_IpAddress_t_All_get(ip) == 16820416
    q.Qx_IpAddress_t_Byte_B1_set(byte, 0x1FF)
    assert q.Qx_IpAddress_t_Byte_B1_get(byte) == 0xFF
    q.Qx_IpAddress_t_All_set(ip, 0xFFFFFFFF)
    assert q.Qx_IpAddress_t_All_get(ip) == 4294967295


def test_data_arrays_from_pointer_objects(qxt):
    d = qxtest.new_record(q, "Qx_Data_t")
    q.Qx_Data_t_U8_set(d, qxt.qxt_u8_array([1, 0, 0, 0, 2, 0, 0, 0]))
    assert q.Qx_Data_t_U32_get(d) == [1, 2]
    q.Qx_Data_t_U32_set(d, qxt.qxt_u32_array([0x80000000, 0xFFFFFFFF]))
    assert q.Qx_Data_t_U32_get(d) == [2147483648, 4294967295]
    q.Qx_Data_t_U16_set(d, qxt.qxt_u16_array([1, 2, 3, 0xFFFF]))
    assert q.Qx_Data_t_U8_get(d) == [1, 0, 2, 0, 3, 0, 0xFF, 0xFF]
    q.Qx_Data_t_U64_set(d, qxt.qxt_u64_array([0x0102030405060708]))
    assert q.Qx_Data_t_U8_get(d) == [8, 7, 6, 5, 4, 3, 2, 1]


def test_data_u16_is_a_view_u64_a_copy(qxt):
    d = qxtest.new_record(q, "Qx_Data_t")
    view = q.Qx_Data_t_U16_get(d)
    copy = qxtest.owned(q.Qx_Data_t_U64_get(d))
    q.Qx_Data_t_U8_set(d, qxt.qxt_u8_array(range(1, 9)))
    assert qxt.qxt_read_u16(view, 4) == [0x0201, 0x0403, 0x0605, 0x0807]
    assert qxt.qxt_read_u64(copy, 1) == [0]
    assert qxt.qxt_read_u64(qxtest.owned(q.Qx_Data_t_U64_get(d)), 1) == [0x0807060504030201]


@pytest.mark.parametrize("setter, name, message", [
    (q.Qx_Data_t_U8_set, "U8", "invalid null reference in variable 'U8' of type 'u8_t [8]'"),
    (q.Qx_Data_t_U16_set, "U16", "invalid null reference in variable 'U16' of type 'u16_t [4]'"),
    (q.Qx_Data_t_U32_set, "U32", "invalid null reference in variable 'U32' of type 'u32_t [2]'"),
    (q.Qx_Data_t_U64_set, "U64", "invalid null reference in method 'Qx_Data_t_U64_set', argument 2 of type 'u64_t'"),
])
def test_data_setters_refuse_none(qxt, setter, name, message):
    d = qxtest.new_record(q, "Qx_Data_t")
    q.Qx_Data_t_U8_set(d, qxt.qxt_u8_array([9] * 8))
    with pytest.raises(ValueError) as e:
        setter(d, None)
    assert str(e.value) == message
    assert q.Qx_Data_t_U8_get(d) == [9] * 8


@pytest.mark.parametrize("setter, message", [
    (q.Qx_Data_t_U8_set, "in method 'Qx_Data_t_U8_set', argument 2 of type 'u8_t [8]'"),
    (q.Qx_Data_t_U32_set, "in method 'Qx_Data_t_U32_set', argument 2 of type 'u32_t [2]'"),
])
def test_data_setters_refuse_other_pointer_types(qxt, setter, message):
    with pytest.raises(TypeError) as e:
        setter(qxtest.new_record(q, "Qx_Data_t"), qxt.qxt_u16_array([1] * 8))
    assert str(e.value) == message


def test_nested_member_by_copy(qxt):
    adapter = qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t")
    ip = qxtest.new_record(q, "Qx_IpAddress_t")
    q.Qx_IpAddress_t_All_set(ip, 0x0A000001)
    q.Qx_Ethernet_AdapterInfo_t_Mask_set(adapter, ip)
    q.Qx_IpAddress_t_All_set(ip, 5)  # the parent holds a copy
    assert q.Qx_IpAddress_t_All_get(q.Qx_Ethernet_AdapterInfo_t_Mask_get(adapter)) == 0x0A000001
    assert q.Qx_IpAddress_t_All_get(q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(adapter)) == 0
    with pytest.raises(ValueError) as e:
        q.Qx_Ethernet_AdapterInfo_t_Mask_set(adapter, None)
    assert str(e.value) == ("invalid null reference in method 'Qx_Ethernet_AdapterInfo_t_Mask_set', "
                            "argument 2 of type 'Qx_IpAddress_t *'")
    with pytest.raises(TypeError) as e:
        q.Qx_Ethernet_AdapterInfo_t_Mask_set(adapter, qxtest.new_record(q, "Qx_Data_t"))
    assert str(e.value) == "in method 'Qx_Ethernet_AdapterInfo_t_Mask_set', argument 2 of type 'Qx_IpAddress_t *'"
    assert q.Qx_IpAddress_t_All_get(q.Qx_Ethernet_AdapterInfo_t_Mask_get(adapter)) == 0x0A000001


def test_pointer_member_takes_ownership(capfd):
    gc.collect()
    qxtest.c_stdout(capfd)
    cmd = qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t")
    assert q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_get(cmd) is None
    data = q.new_Qx_InterfaceData_t()
    q.Qx_InterfaceData_t_Serial_set(data, 4711)
    q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(cmd, data)
    q.delete_Qx_InterfaceData_t(data)  # no longer owned by `data`: frees nothing
    del data
    gc.collect()
    stored = q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_get(cmd)
    assert q.Qx_InterfaceData_t_Serial_get(stored) == 4711
    q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(cmd, None)
    assert q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_get(cmd) is None
    q.delete_Qx_InterfaceData_t(stored)  # a non-owning view: frees nothing either
    with pytest.raises(TypeError) as e:
        q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(cmd, qxtest.new_record(q, "Qx_Data_t"))
    assert str(e.value) == ("in method 'Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set', "
                            "argument 2 of type 'Qx_InterfaceData_t *'")
    assert "memory leak of type 'Qx_InterfaceData_t *'" not in qxtest.c_stdout(capfd)
