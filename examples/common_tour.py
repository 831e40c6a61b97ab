#!/usr/bin/env python3
"""A tour of the common module _qx_api_common.

Opens an interface by its configured name (and tries a name the device does
not know), reads the device's firmware, hardware and controller
information, describes the opened interface, lists the transceivers fitted
to the device and the one of the opened interface, and closes the port.

Written against the simulated device. The modules are those of the build of
the interpreter running it (scripts/interpreter.py's use_build), else those
installed for it.
"""
import ctypes
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import interpreter  # noqa: E402

interpreter.use_build()

import _qx_api as qx  # noqa: E402
import _qx_api_common as common  # noqa: E402


def u16_value(cell):
    """The value of a u16_t pointer object. The common module has no integer
    conversion for u16_t: its getters return a copy of the value in a pointer
    object (which frees itself), read here through its address."""
    return ctypes.c_uint16.from_address(int(cell)).value


def transceiver_name(cell):
    return common.Qx_Common_GetTransceiverTypeDescription(u16_value(cell)) or "unknown type"


def show_device(port):
    print("  firmware", common.Qx_Common_GetFirmwareVersion(port))

    cmd = common.new_Qx_Common_GetHardwareVersion_Cmd_t()
    rsp = common.new_Qx_Common_GetHardwareVersion_Rsp_t()
    try:
        common.Qx_Common_GetHardwareVersion_Cmd_t_HardwareBoardNumber_set(cmd, 0)
        common.Qx_Common_GetHardwareVersion(port, cmd, rsp)
        print("  hardware board 0, version {}.{}".format(common.Qx_Common_GetHardwareVersion_Rsp_t_Major_get(rsp),
                                                        common.Qx_Common_GetHardwareVersion_Rsp_t_Minor_get(rsp)))
    finally:
        common.delete_Qx_Common_GetHardwareVersion_Rsp_t(rsp)
        common.delete_Qx_Common_GetHardwareVersion_Cmd_t(cmd)

    controller = common.new_Qx_Common_GetControllerInfo_Rsp_t()
    try:
        common.Qx_Common_GetControllerInfo(port, controller)
        print("  controller family {}, type {}, on a {}".format(
            common.Qx_Common_GetControllerInfo_Rsp_t_ControllerFamily_get(controller),
            common.Qx_Common_GetControllerInfo_Rsp_t_ControllerType_get(controller),
            qx.Qx_GetHostInterfaceTypeDescription(
                common.Qx_Common_GetControllerInfo_Rsp_t_HostInterfaceType_get(controller))))
        print("  controller hardware 0x{:08X}, software 0x{:08X}".format(
            common.Qx_Common_GetControllerInfo_Rsp_t_HardwareVersion_get(controller),
            common.Qx_Common_GetControllerInfo_Rsp_t_SoftwareVersion_get(controller)))
        # The getter reaches the first entry of the controller's interface list.
        first = common.Qx_Common_GetControllerInfo_Rsp_t_Interfaces_get(controller)
        first_type = common.Qx_Common_GetControllerInfo_Rsp_t_Interfaces_InterfaceType_get(first)
        print("  the controller carries {} interfaces, the first a {} interface (number {})".format(
            common.Qx_Common_GetControllerInfo_Rsp_t_NumberOfInterfaces_get(controller),
            qx.Qx_GetInterfaceTypeDescription(first_type),
            common.Qx_Common_GetControllerInfo_Rsp_t_Interfaces_InterfaceNumber_get(first)))
    finally:
        common.delete_Qx_Common_GetControllerInfo_Rsp_t(controller)


def show_interface(port):
    info = common.Qx_Common_GetInterfaceInfo(port)  # a record of its own, freed below
    try:
        count = common.Qx_Common_GetInterfaceInfo_Rsp_t_NumberOfFeatures_get(info)
        features = common.Qx_Common_GetInterfaceInfo_Rsp_t_Features_get(info)[:count]
        print("  a {} interface, version 0x{:08X}, instance {}".format(
            qx.Qx_GetInterfaceTypeDescription(common.Qx_Common_GetInterfaceInfo_Rsp_t_InterfaceType_get(info)),
            common.Qx_Common_GetInterfaceInfo_Rsp_t_InterfaceVersion_get(info),
            common.Qx_Common_GetInterfaceInfo_Rsp_t_InstanceId_get(info)))
        print(f"  {count} feature words:", " ".join(f"0x{word:08X}" for word in features))
    finally:
        common.delete_Qx_Common_GetInterfaceInfo_Rsp_t(info)


def show_transceivers(port):
    table = common.Qx_Common_GetTransceiverInfo(port)
    try:
        count = common.Qx_Common_GetTransceiverInfo_Rsp_t_NumberOfTransceiverInfos_get(table)
        print(f"  {count} transceivers fitted to the device:")
        # 256 views into the table, of which the first `count` are filled
        for entry in common.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_get(table)[:count]:
            print("    position {}: {} (flags 0x{:02X})".format(
                common.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_HardwarePosition_get(entry),
                transceiver_name(common.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_TransceiverType_get(entry)),
                common.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_TransceiverFlags_get(entry)))
    finally:
        common.delete_Qx_Common_GetTransceiverInfo_Rsp_t(table)

    current = common.new_Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t()
    try:
        common.Qx_Common_GetTransceiverInfoForCurrentInterface(port, 0, current)
        print("  the opened interface uses the {} at position {}".format(
            transceiver_name(common.Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t_Type_get(current)),
            common.Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t_HardwarePosition_get(current)))
    finally:
        common.delete_Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t(current)


def main():
    print("Opening an interface named CAN9")
    try:
        common.Qx_Common_OpenInterface("CAN9")
    except Exception as error:
        print("  refused:", error)
    print()

    print("Opening the interface named CAN1")
    port = common.Qx_Common_OpenInterface("CAN1")
    print(f"  port handle 0x{port:08X}")
    common.Qx_Common_InitInterface(port)
    print()

    print("The device")
    show_device(port)
    print()

    print("The opened interface")
    show_interface(port)
    print()

    print("Transceivers")
    show_transceivers(port)
    print()

    common.Qx_Common_CloseInterface(port)
    print(f"Closed port 0x{port:08X}")


if __name__ == "__main__":
    main()
