"""A handle that is not open: what every port function of the device does with it."""
import pytest

import _qx_api as q
import qxtest
from base_device import ERROR_INVALID_HANDLE, raises_exactly

H = 0x00ABCDEF  # never handed out by the device

# status functions: Python arguments for the handle H
STATUS_CALLS = [
    ("Qx_CloseInterface", lambda qxt: (H,)),
    ("Qx_CheckPortHandle", lambda qxt: (H,)),
    ("Qx_Command", lambda qxt: (H, 1, [1])),
    ("Qx_CommandWithResponse", lambda qxt: (H, 1, [1], 8)),
    ("Qx_CommandWithResponseEx", lambda qxt: (H, 1, 2, 0, [1], 8)),
    ("Qx_GetErrorDescription2", lambda qxt: (H, 0)),
    ("Qx_GetLastErrorByPortHandle", lambda qxt: (H, None)),
    ("Qx_AsyncCommunication_Enable", lambda qxt: (H, None)),
    ("Qx_AsyncCommunication_Disable", lambda qxt: (H,)),
    ("Qx_AsyncCommunication_FunctionsWithoutResponse_Sync", lambda qxt: (H,)),
    ("Qx_AsyncCommunication_FunctionsWithoutResponse_Async", lambda qxt: (H,)),
    ("Qx_GetParamSize", lambda qxt: (H, qxtest.new_record(q, "int_p"))),
    ("Qx_GetLock", lambda qxt: (H,)),
    ("Qx_ReleaseLock", lambda qxt: (H,)),
    ("Qx_SetResponseTimeout", lambda qxt: (H, 10)),
    ("Qx_GetMonitorItems", lambda qxt: (H, 8, None)),
    ("Qx_CloseMonitor", lambda qxt: (H,)),
    ("Qx_AsyncCommunication_AddCallback", lambda qxt: (H, 1, 2, None, 0, qxt.qxt_data_callback(), None, 0, None)),
    ("Qx_AsyncCommunication_RemoveCallback", lambda qxt: (H, 1, 2, None, 0)),
    ("Qx_Fpga_ReadVhdlDesignVersion", lambda qxt: (H, qxtest.new_record(q, "int_p"))),
    ("Qx_Fpga_ReadRegister", lambda qxt: (H, 1, qxtest.new_record(q, "int_p"))),
    ("Qx_Fpga_WriteRegister", lambda qxt: (H, 1, 2)),
    ("Qx_Fpga_Reconfiguration", lambda qxt: (H, qxt.qxt_u8_array(b"x\0"))),
    ("Qx_Fpga_ReadFifo", lambda qxt: (H, None, qxtest.new_record(q, "int_p"))),
    ("Qx_Fpga_WriteFifo", lambda qxt: (H, None, 0)),
    ("Qx_Fpga_Relays_Set", lambda qxt: (H, 0, qxt.qxt_u16_array([0]), None)),
    ("Qx_Fpga_Relays_Reset", lambda qxt: (H, 0, qxt.qxt_u16_array([0]), None)),
    ("Qx_Fpga_Relays_SetDirect", lambda qxt: (H, qxt.qxt_u16_array([0]), None)),
    ("Qx_Fpga_Relays_GetState", lambda qxt: (H, qxt.qxt_u16_array([0]), None, None)),
    ("Qx_Apix_Command", lambda qxt: (H, 0, 1, 0, None)),
    ("Qx_Apix_CommandWithResponse", lambda qxt: (H, 0, 1, 0, None, qxtest.new_record(q, "int_p"), None)),
    ("Qx_Apix_Write", lambda qxt: (H, 0, None)),
    ("Qx_Apix_Read", lambda qxt: (H, 0, qxtest.new_record(q, "int_p"), None)),
    ("Qx_Fw_Buffer_Enable", lambda qxt: (H, 64)),
    ("Qx_Fw_Buffer_Disable", lambda qxt: (H,)),
    ("Qx_Fw_Write", lambda qxt: (H, 0, 0, 0, None)),
    ("Qx_Fw_Read", lambda qxt: (H, None, None, None, None, None)),
    ("Qx_Interface_GetSerialNumber", lambda qxt: (H, qxtest.new_record(q, "int_p"))),
    ("Qx_Interface_GetPortHandleByInterfaceType", lambda qxt: (H, 4, qxtest.new_record(q, "int_p"))),
    ("Qx_Interface_GetPortHandleByInterfaceTypeAndInstance", lambda qxt: (H, 4, 0, qxtest.new_record(q, "int_p"))),
    ("Qx_UpdateToDedicatedFirmware", lambda qxt: (H,)),
    ("Qx_Monitor_InstanceId_Set", lambda qxt: (H, 1)),
]


@pytest.mark.parametrize("name, args", STATUS_CALLS)
def test_status_functions_fail_on_a_handle_that_is_not_open(sim, qxt, name, args):
    with raises_exactly(Exception, f"{name}: invalid port handle 0x{H:08X}"):
        getattr(q, name)(*args(qxt))
    assert sim.last(name).arg(1).value == H


# value functions: what they return for a handle that is not open
VALUE_CALLS = [
    ("Qx_AsyncCommunication_FunctionsWithoutResponse_IsSync", 0),
    ("Qx_GetLockStatus", 0),
    ("Qx_GetResponseTimeout", 0),
    ("Qx_IsMonitorEnabled", 0),
    ("Qx_Monitor_InstanceId_Get", 0),
    ("Qx_GetHostInterfaceType", q.QX_HOST_INTERFACE_TYPE__UNKNOWN),
    ("Qx_GetHostCommunicationType", q.QX_HOST_COMMUNICATION_TYPE__UNKNOWN),
    ("Qx_GetInterfaceType", q.QX_INTERFACE_TYPE__UNKNOWN),
    ("Qx_PcieDma_IsAvailable", 0),
    ("Qx_Lvds_IsGrabber", 0),
    ("Qx_Lvds_IsGenerator", 0),
]


@pytest.mark.parametrize("name, fallback", VALUE_CALLS)
def test_value_functions_answer_a_fallback_and_leave_the_error(sim, port, name, fallback):
    assert getattr(q, name)(H) == fallback
    text = f"{name}: invalid port handle 0x{H:08X}"
    code = qxtest.new_record(q, "int_p")
    assert q.Qx_GetLastErrorByPortHandle(port, code) == text
    assert q.int_p_value(code) == ERROR_INVALID_HANDLE
