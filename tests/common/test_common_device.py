"""Opening by name, firmware, hardware, controller, interface and transceiver
information."""
import os
import struct
import subprocess
import sys

import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402


# ---- opening by name ----------------------------------------------------------

@pytest.mark.parametrize("name, args, name_arg", [
    ("Qx_Common_OpenInterface", lambda n: (n,), 1),
    ("Qx_Common_OpenInterface2", lambda n: (0x80000001, n), 2),
])
def test_open_by_name_returns_a_handle_every_module_takes(sim, name, args, name_arg):
    handle = getattr(c, name)(*args("LIN1"))
    call = sim.last(name)
    assert call.arg(name_arg).text == b"LIN1"
    assert not call.arg(name_arg + 1).is_null
    if name_arg == 2:
        assert call.arg(1).value == 0x80000001
    assert type(handle) is int
    assert q.Qx_GetInterfaceType(handle) == q.QX_INTERFACE_TYPE__LIN
    # the result is the native cell's value, also with the top bit set
    sim.output(name, name_arg + 1, struct.pack("<I", 0xFFFFFFFE))
    assert getattr(c, name)(*args("LIN1")) == 0xFFFFFFFE


@pytest.mark.parametrize("value, message", [
    (None, "Qx_Common_OpenInterface: no interface name given"),
    ("NOPE", 'Qx_Common_OpenInterface: no interface named "NOPE"'),
])
def test_open_by_name_failure_raises_the_native_text(sim, value, message):
    with raises_exactly(Exception, message):
        c.Qx_Common_OpenInterface(value)
    assert sim.last("Qx_Common_OpenInterface").arg(1).is_null is (value is None)


@pytest.mark.parametrize("call, exc, message", [
    (lambda: c.Qx_Common_OpenInterface(b"CAN1"), TypeError,
     "in method 'Qx_Common_OpenInterface', argument 1 of type 'char const *const'"),
    (lambda: c.Qx_Common_OpenInterface2(-1, "CAN1"), OverflowError,
     "in method 'Qx_Common_OpenInterface2', argument 1 of type 'Qx_Common_OpenInterface2_CmdFlags_t'"),
    (lambda: c.Qx_Common_OpenInterface2(0, 7), TypeError,
     "in method 'Qx_Common_OpenInterface2', argument 2 of type 'char const *const'"),
    (lambda: c.Qx_Common_OpenInterface2(0), TypeError, "Qx_Common_OpenInterface2 expected 2 arguments, got 1"),
])
def test_open_argument_errors_call_nothing(sim, call, exc, message):
    with raises_exactly(exc, message):
        call()
    assert sim.calls("Qx_Common_OpenInterface") + sim.calls("Qx_Common_OpenInterface2") == 0


# ---- functions that take only the port -------------------------------------------

PORT_ONLY = [
    "Qx_Common_InitInterface",
    "Qx_Common_GetFirmwareVersion_Async_RemoveCallback",
    "Qx_Common_GetFirmwareVersion_Async",
    "Qx_Common_SoftwareReset",
    "Qx_Common_GetControllerInfo_Async_RemoveCallback",
    "Qx_Common_GetControllerInfo_Async",
    "Qx_Common_GetInterfaceInfo_Async_RemoveCallback",
    "Qx_Common_GetInterfaceInfo_Async",
    "Qx_Common_GetTransceiverInfo_Async_RemoveCallback",
    "Qx_Common_GetTransceiverInfo_Async",
    "Qx_Common_Ethernet_FtpServer_AutoStart_Enable",
    "Qx_Common_Ethernet_FtpServer_AutoStart_Disable",
    "Qx_Common_CloseInterface",
]


@pytest.mark.parametrize("name", PORT_ONLY)
def test_port_only_functions(sim, port, name):
    assert getattr(c, name)(port) is None
    assert sim.last(name).arg(1).value == port
    # a status the native library reports is raised with its last-error text
    sim.fail(name, 0x77, b"device busy")
    with raises_exactly(Exception, "device busy"):
        getattr(c, name)(port)


@pytest.mark.parametrize("name", PORT_ONLY)
@pytest.mark.parametrize("value, exc", [(-1, OverflowError), (2**32, OverflowError), (1.0, TypeError)])
def test_port_only_functions_refuse_a_bad_port(sim, name, value, exc):
    with raises_exactly(exc, f"in method '{name}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(c, name)(value)
    assert sim.calls(name) == 0


def test_close_releases_the_handle(port):
    c.Qx_Common_CloseInterface(port)
    with raises_exactly(Exception, f"Qx_Common_InitInterface: invalid port handle 0x{port:08X}"):
        c.Qx_Common_InitInterface(port)


def test_the_base_modules_handle_is_accepted(sim):
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    q.Qx_InterfaceInfo_t_Type_set(info, q.QX_INTERFACE_TYPE__CAN)
    handle = q.Qx_OpenInterface(info)
    assert c.Qx_Common_InitInterface(handle) is None
    assert sim.last("Qx_Common_InitInterface").arg(1).value == handle


# ---- firmware texts ----------------------------------------------------------------

def test_firmware_version_is_read_from_a_512_byte_buffer(sim, port):
    assert c.Qx_Common_GetFirmwareVersion(port) == "QX-FW 4.2.17 (simulated)"
    call = sim.last("Qx_Common_GetFirmwareVersion")
    assert not call.arg(2).is_null
    assert call.arg(3).bytes == struct.pack("<I", 512)


@pytest.mark.parametrize("written, text", [
    (b"\0", ""),
    (b"V1\xff\0junk", "V1\udcff"),
    (b"x" * 512, "x" * 512),
])
def test_firmware_version_text_up_to_the_first_zero(sim, port, written, text):
    sim.output("Qx_Common_GetFirmwareVersion", 2, written)
    assert c.Qx_Common_GetFirmwareVersion(port) == text


def test_firmware_version_failure(sim, port):
    sim.fail("Qx_Common_GetFirmwareVersion", 9, b"no answer")
    with raises_exactly(Exception, "no answer"):
        c.Qx_Common_GetFirmwareVersion(port)


def test_firmware_error_description_takes_an_error_cell(sim, qxt, port):
    assert c.Qx_Common_GetFirmwareErrorDescription(port, qxt.qxt_error_cell(0x80000042)) == \
        "firmware error 0x80000042"
    call = sim.last("Qx_Common_GetFirmwareErrorDescription")
    assert (call.arg(2).kind, call.arg(2).value) == ("u", 0x80000042)
    assert call.arg(4).bytes == struct.pack("<I", 512)


@pytest.mark.parametrize("value, exc, message", [
    (5, TypeError, "in method 'Qx_Common_GetFirmwareErrorDescription', argument 2 of type 'Qx_Error_t const'"),
    (qxtest.new_record(q, "int_p"), TypeError,
     "in method 'Qx_Common_GetFirmwareErrorDescription', argument 2 of type 'Qx_Error_t const'"),
    (None, ValueError,
     "invalid null reference in method 'Qx_Common_GetFirmwareErrorDescription', argument 2 of type 'Qx_Error_t const'"),
])
def test_firmware_error_description_refuses_other_values(sim, port, value, exc, message):
    with raises_exactly(exc, message):
        c.Qx_Common_GetFirmwareErrorDescription(port, value)
    assert sim.calls("Qx_Common_GetFirmwareErrorDescription") == 0


# ---- hardware and controller --------------------------------------------------------

def test_hardware_version_fills_the_callers_record(sim, port):
    cmd = qxtest.new_record(c, "Qx_Common_GetHardwareVersion_Cmd_t")
    c.Qx_Common_GetHardwareVersion_Cmd_t_Flags_set(cmd, 0xA5A5A5A5)
    c.Qx_Common_GetHardwareVersion_Cmd_t_HardwareBoardNumber_set(cmd, 0x101)  # stored as 1
    rsp = qxtest.new_record(c, "Qx_Common_GetHardwareVersion_Rsp_t")
    assert c.Qx_Common_GetHardwareVersion(port, cmd, rsp) is None
    assert sim.last("Qx_Common_GetHardwareVersion").arg(2).bytes == pack("Qx_Common_GetHardwareVersion_Cmd_t",
                                                                                 Flags=0xA5A5A5A5,
                                                                                 HardwareBoardNumber=1)
    fields = ["Major", "Minor", "Byte3", "Byte4"]
    assert [getattr(c, f"Qx_Common_GetHardwareVersion_Rsp_t_{f}_get")(rsp) for f in fields] == [2, 1, 1, 0]


@pytest.mark.parametrize("args, exc, message", [
    (lambda cmd, rsp: (cmd, cmd), TypeError,
     "in method 'Qx_Common_GetHardwareVersion', argument 3 of type 'Qx_Common_GetHardwareVersion_Rsp_t *const'"),
    (lambda cmd, rsp: (rsp, rsp), TypeError,
     "in method 'Qx_Common_GetHardwareVersion', argument 2 of type 'Qx_Common_GetHardwareVersion_Cmd_t const *const'"),
    (lambda cmd, rsp: (cmd, None), Exception,
     "Qx_Common_GetHardwareVersion: no command or response record given"),
])
def test_hardware_version_errors(port, args, exc, message):
    cmd, rsp = qxtest.new_record(c, "Qx_Common_GetHardwareVersion_Cmd_t"), qxtest.new_record(c, "Qx_Common_GetHardwareVersion_Rsp_t")
    with raises_exactly(exc, message):
        c.Qx_Common_GetHardwareVersion(port, *args(cmd, rsp))


def test_controller_info_and_its_interfaces_view(sim, port):
    rsp = qxtest.new_record(c, "Qx_Common_GetControllerInfo_Rsp_t")
    assert c.Qx_Common_GetControllerInfo(port, rsp) is None
    assert len(sim.last("Qx_Common_GetControllerInfo").arg(2).bytes) == 1052
    assert c.Qx_Common_GetControllerInfo_Rsp_t_HostInterfaceType_get(rsp) == q.QX_HOST_INTERFACE_TYPE__USB_01
    assert c.Qx_Common_GetControllerInfo_Rsp_t_NumberOfInterfaces_get(rsp) == 5
    assert c.Qx_Common_GetControllerInfo_Rsp_t_SoftwareVersion_get(rsp) == 0x0004020F
    first = c.Qx_Common_GetControllerInfo_Rsp_t_Interfaces_get(rsp)
    assert not first.own()
    assert c.Qx_Common_GetControllerInfo_Rsp_t_Interfaces_InterfaceType_get(first) == q.QX_INTERFACE_TYPE__CAN
    # a view: writing through it changes the record the native side sees
    c.Qx_Common_GetControllerInfo_Rsp_t_Interfaces_InterfaceNumber_set(first, 9)
    sim.fail("Qx_Common_GetControllerInfo", 3, b"stop")
    with raises_exactly(Exception, "stop"):
        c.Qx_Common_GetControllerInfo(port, rsp)
    assert sim.last("Qx_Common_GetControllerInfo").arg(2).bytes[28:30] == bytes([q.QX_INTERFACE_TYPE__CAN, 9])
    assert not hasattr(c, "Qx_Common_GetControllerInfo_Rsp_t_Interfaces_set")


# ---- asynchronous callbacks ------------------------------------------------------------

ADD_CALLBACK = [
    ("Qx_Common_GetFirmwareVersion_Async_AddCallback", "Qx_Common_GetFirmwareVersion_Async_Callback_t const"),
    ("Qx_Common_GetControllerInfo_Async_AddCallback", "Qx_Common_GetControllerInfo_Async_Callback_t const"),
    ("Qx_Common_GetInterfaceInfo_Async_AddCallback", "Qx_Common_GetInterfaceInfo_Async_Callback_t const"),
    ("Qx_Common_GetTransceiverInfo_Async_AddCallback", "Qx_Common_GetTransceiverInfo_Async_Callback_t const"),
]


@pytest.mark.parametrize("name, type_", ADD_CALLBACK)
def test_add_callback_accepts_none_and_refuses_python_or_foreign_callbacks(sim, qxt, port, name, type_):
    assert getattr(c, name)(port, None) is None
    assert sim.last(name).arg(2).is_null
    for wrong in (lambda *a: None, qxt.qxt_error_callback()):
        with raises_exactly(TypeError, f"in method '{name}', argument 2 of type '{type_}'"):
            getattr(c, name)(port, wrong)
    assert sim.calls(name) == 1


def test_firmware_callback_is_passed_to_the_native_library(sim, qxt, port):
    qxt.qxt_firmware_version_calls()
    c.Qx_Common_GetFirmwareVersion_Async_AddCallback(port, qxt.qxt_firmware_version_callback())
    assert not sim.last("Qx_Common_GetFirmwareVersion_Async_AddCallback").arg(2).is_null
    c.Qx_Common_GetFirmwareVersion_Async(port)
    assert qxt.qxt_firmware_version_calls() == [(port, b"QX-FW 4.2.17 (simulated)", 0)]
    c.Qx_Common_GetFirmwareVersion_Async_RemoveCallback(port)
    c.Qx_Common_GetFirmwareVersion_Async(port)
    assert qxt.qxt_firmware_version_calls() == []


# ---- interface and transceiver information ------------------------------------------------

def test_interface_info_is_returned_as_an_owned_record(sim, port):
    rsp = c.Qx_Common_GetInterfaceInfo(port)
    assert "Qx_Common_GetInterfaceInfo_Rsp_t *" in repr(rsp)
    assert rsp.own()
    call = sim.last("Qx_Common_GetInterfaceInfo")
    assert not call.arg(2).is_null and len(call.arg(2).bytes) == 140
    assert c.Qx_Common_GetInterfaceInfo_Rsp_t_InterfaceType_get(rsp) == q.QX_INTERFACE_TYPE__CAN
    assert c.Qx_Common_GetInterfaceInfo_Rsp_t_NumberOfFeatures_get(rsp) == 3
    assert c.Qx_Common_GetInterfaceInfo_Rsp_t_Features_get(rsp) == [1, 2**31, 2**32 - 1] + [0] * 29
    # a fresh record per call
    assert int(qxtest.owned(c.Qx_Common_GetInterfaceInfo(port))) != int(rsp)
    c.delete_Qx_Common_GetInterfaceInfo_Rsp_t(rsp)
    assert not rsp.own()


# Registration is process-wide, so it runs in an interpreter of its own.
_REGISTERED = r"""
import sys
sys.path.insert(0, sys.argv[1])
import _qx_api, _qx_api_common as c

class Rsp:
    __swig_destroy__ = c.delete_Qx_Common_GetTransceiverInfo_Rsp_t

c.Qx_Common_GetTransceiverInfo_Rsp_t_swigregister(Rsp)
rsp = c.Qx_Common_GetTransceiverInfo(c.Qx_Common_OpenInterface("CAN1"))
print(type(rsp).__name__, rsp.this.own(), c.Qx_Common_GetTransceiverInfo_Rsp_t_NumberOfTransceiverInfos_get(rsp))
"""


def test_response_records_are_instances_of_the_registered_class():
    out = subprocess.run([sys.executable, "-c", _REGISTERED, os.path.dirname(c.__file__)],
                         check=True, capture_output=True, text=True).stdout
    assert out == "Rsp True 3\n"


@pytest.mark.parametrize("name", ["Qx_Common_GetInterfaceInfo", "Qx_Common_GetTransceiverInfo"])
def test_response_record_functions_raise_and_return_nothing(sim, name):
    with raises_exactly(Exception, f"{name}: invalid port handle 0x00000063"):
        getattr(c, name)(0x63)
    with raises_exactly(OverflowError, f"in method '{name}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(c, name)(-1)
    assert sim.calls(name) == 1


def test_features_set_from_a_pointer_object(qxt):
    rsp = qxtest.new_record(c, "Qx_Common_GetInterfaceInfo_Rsp_t")
    c.Qx_Common_GetInterfaceInfo_Rsp_t_Features_set(rsp, qxt.qxt_u32_array(range(100, 132)))
    assert c.Qx_Common_GetInterfaceInfo_Rsp_t_Features_get(rsp) == list(range(100, 132))
    with raises_exactly(ValueError, "invalid null reference in variable 'Features' of type 'Qx_Common_Features_t [32]'"):
        c.Qx_Common_GetInterfaceInfo_Rsp_t_Features_set(rsp, None)


def test_transceiver_infos_are_256_views_into_the_record(qxt, port):
    rsp = qxtest.owned(c.Qx_Common_GetTransceiverInfo(port))
    infos = c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_get(rsp)
    assert len(infos) == 256
    assert not any(item.own() for item in infos)
    # item i lies at byte 4 + 4 * i of the record
    assert [int(item) - int(rsp) for item in infos[:3]] == [4, 8, 12]
    assert int(infos[255]) - int(rsp) == 4 + 4 * 255
    pos = [c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_HardwarePosition_get(i) for i in infos[:3]]
    assert pos == [0, 1, 2]
    kind = qxtest.owned(c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_TransceiverType_get(infos[2]))
    assert qxt.qxt_read_u16(kind, 1) == [c.QX_COMMON__TRANSCEIVER_TYPE__LIN__TJA1020]
    # writing through an item changes the record
    c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_TransceiverType_set(infos[255], qxt.qxt_u16_array([0x604]))
    again = c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_get(rsp)[255]
    assert qxt.qxt_read_u16(qxtest.owned(c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_TransceiverType_get(again)),
                            1) == [0x604]


def test_transceiver_infos_of_an_empty_record():
    rsp = qxtest.new_record(c, "Qx_Common_GetTransceiverInfo_Rsp_t")
    assert c.Qx_Common_GetTransceiverInfo_Rsp_t_NumberOfTransceiverInfos_get(rsp) == 0
    assert len(c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_get(rsp)) == 256
    assert not hasattr(c, "Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_set")
    with raises_exactly(TypeError, "in method 'Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_TransceiverType_set', "
                                   "argument 2 of type 'u16_t'"):
        c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_TransceiverType_set(
            c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_get(rsp)[0], 5)


def test_transceiver_info_for_current_interface(sim, qxt, port):
    rsp = qxtest.new_record(c, "Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t")
    assert c.Qx_Common_GetTransceiverInfoForCurrentInterface(port, 0xFFFFFFFF, rsp) is None
    call = sim.last("Qx_Common_GetTransceiverInfoForCurrentInterface")
    assert call.arg(2).value == 0xFFFFFFFF
    assert len(call.arg(3).bytes) == 8
    kind = qxtest.owned(c.Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t_Type_get(rsp))
    assert kind.own()
    assert qxt.qxt_read_u16(kind, 1) == [c.QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1044GT]
    # the getter's object is a copy: changing the record leaves it alone
    c.Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t_Type_set(rsp, qxt.qxt_u16_array([7]))
    assert qxt.qxt_read_u16(kind, 1) == [c.QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1044GT]
    assert c.Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t_Flags_get(rsp) == 1
    with raises_exactly(OverflowError, "in method 'Qx_Common_GetTransceiverInfoForCurrentInterface', argument 2 of "
                                       "type 'Qx_Common_GetTransceiverInfoForCurrentInterface_CmdFlags_t'"):
        c.Qx_Common_GetTransceiverInfoForCurrentInterface(port, -1, rsp)


@pytest.mark.parametrize("value, text", [
    (c.QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q222x, "Automotive Ethernet 88Q222x"),
    (c.QX_COMMON__TRANSCEIVER_TYPE__UNKNOWN, "unknown"),
    (-1, None),
    (2**31 - 1, None),
])
def test_transceiver_type_description(sim, value, text):
    assert c.Qx_Common_GetTransceiverTypeDescription(value) == text
    arg = sim.last("Qx_Common_GetTransceiverTypeDescription").arg(1)
    assert (arg.kind, arg.value) == ("s", value)


@pytest.mark.parametrize("value, exc", [(2**31, OverflowError), (-2**31 - 1, OverflowError), ("1", TypeError)])
def test_transceiver_type_description_refuses(sim, value, exc):
    with raises_exactly(exc, "in method 'Qx_Common_GetTransceiverTypeDescription', argument 1 of type "
                             "'Qx_Common_TransceiverType_t'"):
        c.Qx_Common_GetTransceiverTypeDescription(value)
    assert sim.calls("Qx_Common_GetTransceiverTypeDescription") == 0


def test_transceiver_type_description_decodes_like_every_text(sim):
    sim.text_result("Qx_Common_GetTransceiverTypeDescription", b"chip \xff")
    assert c.Qx_Common_GetTransceiverTypeDescription(0) == "chip \udcff"


def test_interface_number(sim, port):
    params = qxtest.new_record(c, "Qx_Common_GetInterfaceNumber_Parameters_t")
    c.Qx_Common_GetInterfaceNumber_Parameters_t_Flags_set(params, 0x10)
    c.Qx_Common_GetInterfaceNumber_Parameters_t_InterfaceType_set(params, q.QX_INTERFACE_TYPE__CAN)
    c.Qx_Common_GetInterfaceNumber_Parameters_t_InstanceId_set(params, 1)
    rsp = qxtest.new_record(c, "Qx_Common_GetInterfaceNumber_Rsp_t")
    assert c.Qx_Common_GetInterfaceNumber(port, params, rsp) is None
    assert sim.last("Qx_Common_GetInterfaceNumber").arg(2).bytes == pack("Qx_Common_GetInterfaceNumber_Parameters_t",
                                                                                 Flags=0x10, InterfaceType=4,
                                                                                 InstanceId=1)
    assert c.Qx_Common_GetInterfaceNumber_Rsp_t_InterfaceNumber_get(rsp) == 1
    c.Qx_Common_GetInterfaceNumber_Parameters_t_InstanceId_set(params, 5)
    with raises_exactly(Exception, "Qx_Common_GetInterfaceNumber: no interface of type 4, instance 5"):
        c.Qx_Common_GetInterfaceNumber(port, params, rsp)
    with raises_exactly(TypeError, "in method 'Qx_Common_GetInterfaceNumber', argument 2 of type "
                                   "'Qx_Common_GetInterfaceNumber_Parameters_t const *const'"):
        c.Qx_Common_GetInterfaceNumber(port, rsp, rsp)
