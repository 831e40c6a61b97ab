"""Configuration, versions, host and interface type queries, capabilities."""
import pytest

import _qx_api as q
import qxtest
from base_device import INTERFACES, cell, open_port, raises_exactly, u32


@pytest.mark.parametrize("name, text", [
    ("Qx_InterfaceConfig_GetInstallDir", "/opt/qx"),
    ("Qx_InterfaceConfig_GetConfigFilePath", "/opt/qx/config/interfaces.ini"),
])
def test_installation_texts(sim, name, text):
    assert getattr(q, name)() == text
    call = sim.last(name)
    assert [call.arg(1).is_null, cell(call.arg(2))] == [False, 256]
    sim.fail(name, 7, b"no installation")
    with raises_exactly(Exception, "no installation"):
        getattr(q, name)()


@pytest.mark.parametrize("index", range(len(INTERFACES)))
def test_configuration_names(sim, index):
    assert q.Qx_InterfaceConfig_ConfigurationName_Get(index) == INTERFACES[index][0]
    call = sim.last("Qx_InterfaceConfig_ConfigurationName_Get")
    assert [call.arg(1).value, call.arg(2).is_null] == [index, False]


def test_configuration_name_errors(sim):
    with raises_exactly(Exception, "Qx_InterfaceConfig_ConfigurationName_Get: no configuration 5 (5 configured)"):
        q.Qx_InterfaceConfig_ConfigurationName_Get(5)
    with raises_exactly(OverflowError, "in method 'Qx_InterfaceConfig_ConfigurationName_Get', argument 1 of type 'u32_t'"):
        q.Qx_InterfaceConfig_ConfigurationName_Get(2**32)
    assert sim.calls("Qx_InterfaceConfig_ConfigurationName_Get") == 1


@pytest.mark.parametrize("name, type_, controller, number", INTERFACES)
def test_interface_info_by_name_fills_the_selector(sim, name, type_, controller, number):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    q.Qx_InterfaceInfo_t_Type_set(info, 99)
    assert q.Qx_InterfaceConfig_GetInterfaceInfoByName(name, info) is None
    call = sim.last("Qx_InterfaceConfig_GetInterfaceInfoByName")
    assert [call.arg(1).text, call.arg(2).value] == [name.encode(), int(info)]
    params = q.Qx_InterfaceInfo_t_Parameters_get(info)
    assert [q.Qx_InterfaceInfo_t_Type_get(info), q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_get(params),
            q.Qx_InterfaceInfo_t_Parameters_InterfaceNumber_get(params)] == [type_, controller, number]
    # the filled selector opens that interface
    assert q.Qx_GetInterfaceType(q.Qx_OpenInterface(info)) == type_


def test_interface_info_by_name_errors(sim):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    with raises_exactly(Exception, 'Qx_InterfaceConfig_GetInterfaceInfoByName: no interface named "CAN9"'):
        q.Qx_InterfaceConfig_GetInterfaceInfoByName("CAN9", info)
    with raises_exactly(Exception, "Qx_InterfaceConfig_GetInterfaceInfoByName: no selector given"):
        q.Qx_InterfaceConfig_GetInterfaceInfoByName("CAN1", None)
    assert sim.last("Qx_InterfaceConfig_GetInterfaceInfoByName").arg(2).is_null
    message = "in method 'Qx_InterfaceConfig_GetInterfaceInfoByName', argument {} of type '{}'"
    with raises_exactly(TypeError, message.format(1, "char const *const")):
        q.Qx_InterfaceConfig_GetInterfaceInfoByName(1, info)
    with raises_exactly(TypeError, message.format(2, "Qx_InterfaceInfo_t *const")):
        q.Qx_InterfaceConfig_GetInterfaceInfoByName("CAN1", qxtest.new_record(q, "Qx_InterfaceData_t"))
    assert sim.calls("Qx_InterfaceConfig_GetInterfaceInfoByName") == 2


@pytest.mark.parametrize("name, version", [
    ("Qx_GetApiVersion", [5, 3, 120]),
    ("Qx_GetFirmwarePackageVersion_Installed", [5, 3, 8]),
    ("Qx_GetFirmwarePackageVersion_Tested", [5, 3, 7]),
])
def test_versions_are_three_ints_in_argument_order(sim, name, version):
    fn = getattr(q, name)
    assert fn() == version
    assert [a.is_null for a in sim.last(name).args] == [False] * 3
    sim.output(name, 1, u32(0xFFFFFFFF))
    sim.output(name, 3, u32(0x80000000))
    assert fn() == [4294967295, version[1], 0x80000000]
    with pytest.raises(TypeError):
        fn(1)
    assert sim.calls(name) == 2


def test_controls(sim, port):
    assert q.Qx_UpdateToDedicatedFirmware(port) is None
    assert sim.last("Qx_UpdateToDedicatedFirmware").arg(1).value == port
    assert q.Qx_SetFullSpeedPollingCycle(4294967295) is None
    assert sim.last("Qx_SetFullSpeedPollingCycle").arg(1).value == 4294967295
    assert q.Qx_Monitor_InstanceId_Get(port) == 0
    assert q.Qx_Monitor_InstanceId_Set(port, 0x1AB) is None
    call = sim.last("Qx_Monitor_InstanceId_Set")
    assert [call.arg(1).value, call.arg(2).value] == [port, 0xAB]
    assert q.Qx_Monitor_InstanceId_Get(port) == 0xAB
    assert q.Qx_Monitor_InstanceId_Get(open_port("CAN2")) == 0


@pytest.mark.parametrize("name", ["CAN1", "LIN1", "TROVIX1", "COMMON1"])
def test_type_queries_of_an_open_port(sim, name):
    handle = open_port(name)
    type_ = next(i[1] for i in INTERFACES if i[0] == name)
    assert [q.Qx_GetHostInterfaceType(handle), q.Qx_GetHostCommunicationType(handle), q.Qx_GetInterfaceType(handle)] == \
        [q.QX_HOST_INTERFACE_TYPE__USB_01, q.QX_HOST_COMMUNICATION_TYPE__USB, type_]
    assert [q.Qx_PcieDma_IsAvailable(handle), q.Qx_Lvds_IsGrabber(handle), q.Qx_Lvds_IsGenerator(handle)] == [0, 0, 0]
    assert sim.last("Qx_GetInterfaceType").arg(1).value == handle


@pytest.mark.parametrize("name, value, text", [
    ("Qx_GetHostInterfaceTypeDescription", q.QX_HOST_INTERFACE_TYPE__USB_01, "USB device, model 1"),
    ("Qx_GetHostInterfaceTypeDescription", q.QX_HOST_INTERFACE_TYPE__PXIE_15, "PXI Express module, model 15"),
    ("Qx_GetHostInterfaceTypeDescription", q.QX_HOST_INTERFACE_TYPE__UNKNOWN, "unknown host interface"),
    ("Qx_GetHostInterfaceTypeDescription", 92, None),
    ("Qx_GetHostCommTypeDescription", q.QX_HOST_COMMUNICATION_TYPE__USB_OVER_ETHERNET, "USB over Ethernet"),
    ("Qx_GetHostCommTypeDescription", 9, None),
    ("Qx_GetInterfaceTypeDescription", q.QX_INTERFACE_TYPE__TROVIX, "Trovix"),
    ("Qx_GetInterfaceTypeDescription", q.QX_INTERFACE_TYPE__CAN_STM, "CAN STM"),
    ("Qx_GetInterfaceTypeDescription", -1, None),
    ("Qx_GetInterfaceTypeDescription", -2147483648, None),
])
def test_descriptions(sim, name, value, text):
    assert getattr(q, name)(value) == text
    arg = sim.last(name).arg(1)
    assert [arg.kind, arg.value] == ["s", value]


DESCRIPTIONS = [
    ("Qx_GetHostInterfaceTypeDescription", "Qx_HostInterfaceType_t"),
    ("Qx_GetHostCommTypeDescription", "Qx_HostCommunicationType_t"),
    ("Qx_GetInterfaceTypeDescription", "Qx_InterfaceType_t"),
]


@pytest.mark.parametrize("name, type_", DESCRIPTIONS)
@pytest.mark.parametrize("value, exc", [(2**31, OverflowError), (-2**31 - 1, OverflowError), (1.0, TypeError)])
def test_enumeration_arguments_are_signed_32_bit(sim, name, type_, value, exc):
    with raises_exactly(exc, f"in method '{name}', argument 1 of type '{type_}'"):
        getattr(q, name)(value)
    assert sim.calls(name) == 0


@pytest.mark.parametrize("name, type_", DESCRIPTIONS)
@pytest.mark.parametrize("native, text", [(None, None), (b"Bus \xff", "Bus \udcff")])
def test_description_texts_from_the_library(sim, name, type_, native, text):
    sim.text_result(name, native)
    assert getattr(q, name)(1) == text


PORT_QUERIES = ["Qx_GetHostInterfaceType", "Qx_GetHostCommunicationType", "Qx_GetInterfaceType", "Qx_PcieDma_IsAvailable",
                "Qx_Lvds_IsGrabber", "Qx_Lvds_IsGenerator", "Qx_Monitor_InstanceId_Get"]


@pytest.mark.parametrize("name", PORT_QUERIES)
def test_port_queries_refuse_negative_handles(sim, name):
    with raises_exactly(OverflowError, f"in method '{name}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(q, name)(-1)
    assert sim.calls(name) == 0


@pytest.mark.parametrize("name, native, result", [
    ("Qx_GetHostCommunicationType", -1, -1),
    ("Qx_GetHostCommunicationType", 0x7FFFFFFF, 0x7FFFFFFF),
    ("Qx_GetHostInterfaceType", 0xFFFFFFFF, 4294967295),
    ("Qx_GetInterfaceType", 0x1FF, 0xFF),
    ("Qx_PcieDma_IsAvailable", 255, 255),
    ("Qx_Lvds_IsGrabber", 1, 1),
    ("Qx_Lvds_IsGenerator", 128, 128),
    ("Qx_Monitor_InstanceId_Get", 0x80, 0x80),
])
def test_value_results(sim, port, name, native, result):
    sim.result(name, native)
    assert getattr(q, name)(port) == result
