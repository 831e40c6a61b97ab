#!/usr/bin/env python3
"""A tour of the base module _qx_api.

Lists the interfaces of the attached devices, opens one by its selector,
sends a raw command and reads the response, reads versions and error texts
(a failing call included), and closes the port again.

Written against the simulated device. The modules are those of the build of
the interpreter running it (scripts/interpreter.py's use_build), else those
installed for it.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import interpreter  # noqa: E402

interpreter.use_build()

import _qx_api as qx  # noqa: E402

def dotted(address):
    """A Qx_IpAddress_t view as dotted text."""
    byte = qx.Qx_IpAddress_t_Byte_get(address)
    return ".".join(str(getattr(qx, f"Qx_IpAddress_t_Byte_B{i}_get")(byte)) for i in (1, 2, 3, 4))


def list_interfaces():
    interfaces = qx.Qx_Interface_GetInterfaceList(0, 16)
    print(f"Found {len(interfaces)} interfaces:")
    for data in interfaces:
        print("  {:<8} {:<7} controller {}, interface {}, device serial {}, connected by {}, device address {}".format(
            qx.Qx_Interface_Name_Get(data),
            qx.Qx_GetInterfaceTypeDescription(qx.Qx_InterfaceData_t_InterfaceType_get(data)),
            qx.Qx_InterfaceData_t_ControllerNumber_get(data),
            qx.Qx_InterfaceData_t_InterfaceNumber_get(data),
            qx.Qx_InterfaceData_t_Serial_get(data),
            qx.Qx_GetHostCommTypeDescription(qx.Qx_InterfaceData_t_HostCommunicationType_get(data)),
            dotted(qx.Qx_InterfaceData_t_IpAddress_get(data))))
        qx.delete_Qx_InterfaceData_t(data)


def open_by_selector(interface_type, controller, number):
    info = qx.new_Qx_InterfaceInfo_t()
    try:
        qx.Qx_InterfaceInfo_t_Type_set(info, interface_type)
        parameters = qx.Qx_InterfaceInfo_t_Parameters_get(info)
        qx.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(parameters, controller)
        qx.Qx_InterfaceInfo_t_Parameters_InterfaceNumber_set(parameters, number)
        return qx.Qx_OpenInterface(info)
    finally:
        qx.delete_Qx_InterfaceInfo_t(info)


def main():
    print("API version {}.{}.{}".format(*qx.Qx_GetApiVersion()))
    print("Firmware package installed {}.{}.{}, tested {}.{}.{}".format(
        *qx.Qx_GetFirmwarePackageVersion_Installed(), *qx.Qx_GetFirmwarePackageVersion_Tested()))
    print("Installed in", qx.Qx_InterfaceConfig_GetInstallDir())
    print()

    list_interfaces()
    print()

    print("Opening the second CAN interface (controller 0, interface 1)")
    port = open_by_selector(qx.QX_INTERFACE_TYPE__CAN, 0, 1)
    print(f"  port handle 0x{port:08X}: a {qx.Qx_GetInterfaceTypeDescription(qx.Qx_GetInterfaceType(port))} interface "
          f"on a {qx.Qx_GetHostInterfaceTypeDescription(qx.Qx_GetHostInterfaceType(port))}")
    serial = qx.new_int_p()
    qx.Qx_Interface_GetSerialNumber(port, serial)
    print("  device serial number", qx.int_p_value(serial))
    qx.delete_int_p(serial)

    request = [0xF1, 0x90]
    response = qx.Qx_CommandWithResponse(port, 0x22, request, 64)
    print("  sent command 0x22 with data", " ".join(f"{b:02X}" for b in request))
    print("  the device answered       ", " ".join(f"{b:02X}" for b in response))

    qx.Qx_GetLock(port)
    print("  took the lock of the interface, lock status now", qx.Qx_GetLockStatus(port))
    qx.Qx_ReleaseLock(port)
    print()

    print("Trying to close a port that was never opened")
    try:
        qx.Qx_CloseInterface(0xDEAD)
    except Exception as error:
        print("  refused:", error)
        code = qx.new_int_p()
        text = qx.Qx_GetLastErrorByPortHandle(port, code)
        print(f"  last error code 0x{qx.int_p_value(code):08X}: {qx.Qx_GetErrorDescription(qx.int_p_value(code))}"
              f" ({text})")
        qx.delete_int_p(code)
    print()

    qx.Qx_CloseInterface(port)
    print(f"Closed port 0x{port:08X}")
    try:
        qx.Qx_CheckPortHandle(port)
    except Exception as error:
        print("  and it is gone:", error)


if __name__ == "__main__":
    main()
