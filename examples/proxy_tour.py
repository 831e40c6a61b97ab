#!/usr/bin/env python3
"""A tour of SWIG's proxy classes over the modules, driving a CAN interface.

Opens the first CAN interface by its selector, sets the node's baud rate
within bounds (and tries one the controller clock cannot make), starts the
bus monitor, sends frames, runs a cyclic message with a ramp defined on its
first byte, reads the frames the monitor saw, and closes the port.

The proxy modules (qx_api, qx_api_common, qx_api_can) lie beside the
modules they wrap, in one folder: every record is a class whose members are
attributes, and a record goes when its last reference does, freed by its
class. The records the bindings return (the baud rate's timing, the cyclic
message's state, the monitor's frames) are instances of these classes too.

Written against the simulated device. The modules are those of the build of
the interpreter running it (scripts/interpreter.py's use_build), else those
installed for it.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import interpreter  # noqa: E402

interpreter.use_build()

import qx_api  # noqa: E402
import qx_api_can  # noqa: E402
import qx_api_common  # noqa: E402


def open_can(controller, number):
    info = qx_api.Qx_InterfaceInfo_t()
    info.Type = qx_api.QX_INTERFACE_TYPE__CAN
    info.Parameters.ControllerNumber = controller  # a view: writes into info
    info.Parameters.InterfaceNumber = number
    return qx_api.Qx_OpenInterface(info)


def set_baud_rate(port, rate, sample_point_min=0, sample_point_max=0):
    bounds = qx_api_can.Qx_Can_Node_Baudrate_Set_ExtendedParam_t()  # members left 0 keep the node's defaults
    bounds.SamplePoint_Min = sample_point_min
    bounds.SamplePoint_Max = sample_point_max
    actual = qx_api_can.Qx_Can_Node_Baudrate_Set(port, rate, bounds)
    print(f"  {actual.Baudrate} bit/s (controller clock {actual.CanControllerClock // 1000000} MHz): "
          f"{actual.NumberOfTimeQuanta} time quanta (TSeg1 {actual.TSeg1}, TSeg2 {actual.TSeg2}, SJW {actual.Sjw}), "
          f"sample point {actual.SamplePoint} %")


def show_cyclic(port, frame_id):
    state = qx_api_can.Qx_Can_CyclicMsgs_GetMsgState(port, frame_id)
    print("  message 0x{:03X}: {}, every {} ms, data {}".format(
        state.Id, "running" if state.Mode else "stopped", state.CycleTime, hex_bytes(state.Data.U8[:state.Dlc])))


def ramp_first_byte(port, frame_id):
    """Lets the message's first byte ramp between 0 and 200."""
    # A record of the common module (its Offset, a u16_t that this module
    # takes only as a pointer object, stays 0 as made) ...
    signal = qx_api_common.Qx_Common_Signal_t()
    signal.Size = 8
    ramp = qx_api_can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t()
    ramp.Id = frame_id
    ramp.Signal = signal  # ... taken by the CAN module, which keeps a copy
    ramp.MinValue, ramp.MaxValue = 0, 200
    qx_api_can.Qx_Can_CyclicMsgs_Ramp_Define(port, ramp)
    print(f"  the signal of {ramp.Signal.Size} bits at offset 0 ramps between {ramp.MinValue} and {ramp.MaxValue}")
    return signal


def hex_bytes(data):
    return " ".join(f"{b:02X}" for b in data)


def show_monitor(port):
    items = qx_api_can.Qx_Can_Monitor_BufferMode_GetItems(port, 100, 64)  # at most 64 frames, waiting up to 100 ms
    print(f"  the monitor saw {len(items)} frames:")
    for item in items:
        print(f"    at {item.Timestamp} us: id 0x{item.Id:03X}, DLC {item.Dlc}, "
              f"data {hex_bytes(item.Data[:item.DataLength])}")


def main():
    print("Opening the first CAN interface (controller 0, interface 0)")
    port = open_can(0, 0)
    qx_api_can.Qx_Can_InitInterface(port, 0, 0)  # identifier mode 0, no flags
    print(f"  port handle 0x{port:08X}, initialised")
    print()

    print("Setting 250 kbit/s with the sample point between 85 and 90 %")
    set_baud_rate(port, 250000, 85, 90)
    print("Setting 333333 bit/s")
    try:
        set_baud_rate(port, 333333)
    except Exception as error:
        print("  refused:", error)
    print()

    print("Transmit FIFO, with the bus monitor recording in buffer mode")
    qx_api_can.Qx_Can_Monitor_BufferMode_Start(port, 0, 1024)
    for frame_id, data in [(0x123, [0x11, 0x22, 0x33, 0x44]), (0x7DF, [0x02, 0x01, 0x0D])]:
        qx_api_can.Qx_Can_TxFifo_QueueMsg(port, frame_id, data, len(data))
        print(f"  queued 0x{frame_id:03X} with {len(data)} bytes")
    print()

    print("Cyclic message 0x200 with a ramp")
    qx_api_can.Qx_Can_CyclicMsgs_DefineMsg(port, 0x200, 50, 0, 1, 0, [0x00, 0xAB], 2)  # 50 ms, stopped, group 1
    signal = ramp_first_byte(port, 0x200)
    qx_api_can.Qx_Can_CyclicMsgs_StartMsg(port, 0x200)
    show_cyclic(port, 0x200)
    qx_api_can.Qx_Can_CyclicMsgs_Ramp_Delete(port, 0x200, signal)
    qx_api_can.Qx_Can_CyclicMsgs_StopMsg(port, 0x200)
    qx_api_can.Qx_Can_CyclicMsgs_DeleteMsg(port, 0x200)
    print()

    print("Bus monitor")
    show_monitor(port)
    qx_api_can.Qx_Can_Monitor_BufferMode_Stop(port)
    print()

    qx_api.Qx_CloseInterface(port)
    print(f"Closed port 0x{port:08X}")


if __name__ == "__main__":
    main()
