"""Interface descriptions, the six interface lists, names, sibling ports, adapters."""
import gc

import pytest

import _qx_api as q
import qxtest
from base_device import DEVICE_SERIAL, INTERFACES, cell, open_port, raises_exactly, u32
from layouts import pack, unpack

D = "Qx_InterfaceData_t_"

# name, Python arguments before and after the capacity, interfaces available,
# native argument number of the count cell (block and element size follow
# it), native values of the arguments before the count cell
LISTS = [
    ("Qx_Interface_GetInterfaceList", (0x80000000,), (), 5, 2, [0x80000000]),
    ("Qx_Interface_GetInterfaceList_PciPxi", (), (), 0, 1, []),
    ("Qx_Interface_GetInterfaceList_Usb", (), (), 5, 1, []),
    ("Qx_Interface_GetInterfaceList_UsbVela", (), (), 0, 1, []),
    ("Qx_Interface_GetInterfaceList_Ethernet", (1,), (None,), 0, 2, [1]),
    ("Qx_Interface_GetInterfaceList_Serial", (0x1FF, None), (), 0, 3, [0xFF, 0]),
]


def call_list(name, before, after, capacity):
    return qxtest.owned(getattr(q, name)(*before, capacity, *after))


def field(record, name):
    return qxtest.owned(getattr(q, D + name + "_get")(record))


@pytest.mark.parametrize("name, before, after, available, count_arg, leading", LISTS)
@pytest.mark.parametrize("capacity", [0, 2, 10])
def test_lists_hold_what_the_library_wrote(sim, name, before, after, available, count_arg, leading, capacity):
    result = call_list(name, before, after, capacity)
    assert len(result) == min(capacity, available)
    assert [field(r, "InterfaceType") for r in result] == [i[1] for i in INTERFACES][:len(result)]
    call = sim.last(name)
    assert cell(call.arg(count_arg)) == capacity
    assert not call.arg(count_arg + 1).is_null
    assert call.arg(count_arg + 2).value == 40
    assert [a.value for a in call.args[:count_arg - 1]] == leading


@pytest.mark.parametrize("name, before, after, available, count_arg, leading", LISTS)
def test_list_count_above_the_capacity_is_clamped(sim, name, before, after, available, count_arg, leading):
    sim.output(name, count_arg, u32(1000))
    result = call_list(name, before, after, 3)
    assert len(result) == 3
    # records the library did not write come back zeroed
    assert [field(r, "Serial") for r in result] == [DEVICE_SERIAL if available else 0] * 3


@pytest.mark.parametrize("name, before, after, available, count_arg, leading", LISTS)
def test_list_failure_and_bad_capacity(sim, name, before, after, available, count_arg, leading):
    with raises_exactly(TypeError, "Expecting a integer"):
        call_list(name, before, after, "3")
    assert sim.calls(name) == 0
    sim.fail(name, 0x1234, b"bus error")
    with raises_exactly(Exception, "bus error"):
        call_list(name, before, after, 3)


def test_elements_describe_the_device_and_outlive_the_list(sim, qxt):
    result = qxtest.owned(q.Qx_Interface_GetInterfaceList_Usb(8))
    lin = result[2]
    del result
    gc.collect()
    assert [field(lin, n) for n in ("InterfaceType", "ControllerNumber", "InterfaceNumber", "HostCommunicationType",
                                    "HostInterfaceType", "Serial", "DeviceIndex", "PortNumber", "HostSerial")] == \
        [q.QX_INTERFACE_TYPE__LIN, 1, 0, q.QX_HOST_COMMUNICATION_TYPE__USB, q.QX_HOST_INTERFACE_TYPE__USB_01,
         DEVICE_SERIAL, 0, 1, 310042]
    addresses = [q.Qx_IpAddress_t_All_get(field(lin, n)) for n in ("IpAddress", "SubNetMask", "DefaultGateway")]
    assert addresses == [unpack("Qx_IpAddress_t", bytes(a))["All"]
                         for a in ([192, 168, 1, 100], [255, 255, 255, 0], [192, 168, 1, 1])]
    assert qxt.qxt_read_u16(field(lin, "TcpPort"), 1) == [50000]
    usb = field(lin, "UsbVersion")
    assert [q.Qx_InterfaceData_t_UsbVersion_Major_get(usb), q.Qx_InterfaceData_t_UsbVersion_Minor_get(usb)] == [3, 1]
    assert q.Qx_Interface_Name_Get(lin) == "LIN1"


def test_ethernet_list_passes_the_adapter_record(sim):
    adapter = qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t")
    q.Qx_IpAddress_t_All_set(q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(adapter), 0x0A01A8C0)
    q.Qx_IpAddress_t_All_set(q.Qx_Ethernet_AdapterInfo_t_Mask_get(adapter), 0x00FFFFFF)
    assert q.Qx_Interface_GetInterfaceList_Ethernet(0, 4, adapter) == []
    arg = sim.last("Qx_Interface_GetInterfaceList_Ethernet").arg(5)
    assert [arg.value, arg.bytes] == [int(adapter), pack("Qx_Ethernet_AdapterInfo_t", {
        "IpAddress.All": 0x0A01A8C0, "Mask.All": 0x00FFFFFF})]
    with raises_exactly(TypeError, "in method 'Qx_Interface_GetInterfaceList_Ethernet', argument 5 of type "
                                   "'Qx_Ethernet_AdapterInfo_t const *const'"):
        q.Qx_Interface_GetInterfaceList_Ethernet(0, 4, qxtest.new_record(q, "Qx_InterfaceData_t"))


def test_serial_list_passes_its_settings_pointer(sim, qxt):
    settings = qxt.qxt_u8_array([8, 1])
    q.Qx_Interface_GetInterfaceList_Serial(3, settings, 1)
    assert sim.last("Qx_Interface_GetInterfaceList_Serial").arg(2).value == int(settings)
    with raises_exactly(TypeError, "in method 'Qx_Interface_GetInterfaceList_Serial', argument 2 of type 'u8_t const *const'"):
        q.Qx_Interface_GetInterfaceList_Serial(3, qxtest.new_record(q, "int_p"), 1)


def test_names_are_read_and_changed(sim):
    can2 = qxtest.owned(q.Qx_Interface_GetInterfaceList(0, 2))[1]
    assert q.Qx_Interface_Name_Get(can2) == "CAN2"
    call = sim.last("Qx_Interface_Name_Get")
    assert [call.arg(1).value, cell(call.arg(2)), call.arg(3).is_null] == [int(can2), 256, False]
    assert q.Qx_Interface_Name_Set(can2, "Powertrain \u00e9") is None
    call = sim.last("Qx_Interface_Name_Set")
    assert [call.arg(1).value, call.arg(2).text] == [int(can2), "Powertrain \u00e9".encode()]
    assert q.Qx_Interface_Name_Get(can2) == "Powertrain \u00e9"
    assert q.Qx_InterfaceConfig_ConfigurationName_Get(1) == "Powertrain \u00e9"
    with raises_exactly(Exception, 'Qx_Interface_Name_Set: name "CAN1" is already used'):
        q.Qx_Interface_Name_Set(can2, "CAN1")
    with raises_exactly(TypeError, "in method 'Qx_Interface_Name_Set', argument 2 of type 'char const *const'"):
        q.Qx_Interface_Name_Set(can2, b"bytes")
    with raises_exactly(Exception, "Qx_Interface_Name_Get: no interface description given"):
        q.Qx_Interface_Name_Get(None)
    assert sim.last("Qx_Interface_Name_Get").arg(1).is_null


def test_sibling_port_handles_are_written_into_an_int_p(sim, port):
    sibling = qxtest.new_record(q, "int_p")
    assert q.Qx_Interface_GetPortHandleByInterfaceType(port, 0x100 + q.QX_INTERFACE_TYPE__COMMON, sibling) is None
    call = sim.last("Qx_Interface_GetPortHandleByInterfaceType")
    assert [call.arg(1).value, call.arg(2).value, call.arg(3).value] == [port, q.QX_INTERFACE_TYPE__COMMON, int(sibling)]
    assert q.Qx_GetInterfaceType(q.int_p_value(sibling)) == q.QX_INTERFACE_TYPE__COMMON
    can2 = open_port("CAN2")
    assert q.Qx_Interface_GetPortHandleByInterfaceTypeAndInstance(port, q.QX_INTERFACE_TYPE__CAN, 1, sibling) is None
    assert q.int_p_value(sibling) == can2
    assert sim.last("Qx_Interface_GetPortHandleByInterfaceTypeAndInstance").arg(3).value == 1
    with raises_exactly(Exception, f"Qx_Interface_GetPortHandleByInterfaceTypeAndInstance: no interface of type 4, "
                                   f"instance 2 on the device of port 0x{port:08X}"):
        q.Qx_Interface_GetPortHandleByInterfaceTypeAndInstance(port, q.QX_INTERFACE_TYPE__CAN, 2, sibling)
    # a plain pointer argument here, not an appended output as in the open functions
    with raises_exactly(TypeError, "Qx_Interface_GetPortHandleByInterfaceTypeAndInstance expected 4 arguments, got 3"):
        q.Qx_Interface_GetPortHandleByInterfaceTypeAndInstance(port, 4, 1)
    with raises_exactly(TypeError, "in method 'Qx_Interface_GetPortHandleByInterfaceTypeAndInstance', argument 4 of type "
                                   "'Qx_PortHandle_t *'"):
        q.Qx_Interface_GetPortHandleByInterfaceTypeAndInstance(port, 4, 1, qxtest.new_record(q, "Qx_Data_t"))


def test_serial_number_and_adapter_info(sim, port):
    serial, count = qxtest.new_record(q, "int_p"), qxtest.new_record(q, "int_p")
    assert q.Qx_Interface_GetSerialNumber(port, serial) is None
    assert [q.int_p_value(serial), sim.last("Qx_Interface_GetSerialNumber").arg(2).value] == [DEVICE_SERIAL, int(serial)]
    adapter = qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t")
    assert q.Qx_Ethernet_GetNetworkAdapterInfo(count, adapter) is None
    call = sim.last("Qx_Ethernet_GetNetworkAdapterInfo")
    assert [call.arg(1).value, call.arg(2).value] == [int(count), int(adapter)]
    assert q.int_p_value(count) == 1
    ip = q.Qx_IpAddress_t_Byte_get(q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(adapter))
    assert [getattr(q, f"Qx_IpAddress_t_Byte_B{i}_get")(ip) for i in range(1, 5)] == [192, 168, 1, 10]


@pytest.mark.parametrize("setter, type_", [
    (D + "TcpPort_set", "u16_t"),
    (D + "reserved_set", "u16_t"),
    (D + "IpAddress_set", "Qx_IpAddress_t *"),
    (D + "SubNetMask_set", "Qx_IpAddress_t *"),
    (D + "DefaultGateway_set", "Qx_IpAddress_t *"),
])
def test_record_fields_refuse_none_and_other_types(setter, type_):
    record = qxtest.new_record(q, "Qx_InterfaceData_t")
    message = f"in method '{setter}', argument 2 of type '{type_}'"
    with raises_exactly(ValueError, "invalid null reference " + message):
        getattr(q, setter)(record, None)
    with raises_exactly(TypeError, message):
        getattr(q, setter)(record, qxtest.new_record(q, "Qx_Data_t"))


@pytest.mark.parametrize("setter", ["Qx_Ethernet_AdapterInfo_t_IpAddress_set", "Qx_Ethernet_AdapterInfo_t_Mask_set"])
def test_adapter_members_are_copied_in(setter):
    adapter, address = qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t"), qxtest.new_record(q, "Qx_IpAddress_t")
    q.Qx_IpAddress_t_All_set(address, 0xFFFFFF00)
    getattr(q, setter)(adapter, address)
    q.Qx_IpAddress_t_All_set(address, 1)
    assert q.Qx_IpAddress_t_All_get(getattr(q, setter[:-3] + "get")(adapter)) == 0xFFFFFF00
    message = f"in method '{setter}', argument 2 of type 'Qx_IpAddress_t *'"
    with raises_exactly(ValueError, "invalid null reference " + message):
        getattr(q, setter)(adapter, None)
    with raises_exactly(TypeError, message):
        getattr(q, setter)(adapter, qxtest.new_record(q, "int_p"))
