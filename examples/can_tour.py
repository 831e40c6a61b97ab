#!/usr/bin/env python3
"""A tour of the CAN module _qx_api_can.

Opens a CAN interface by name and initialises it, reads and sets the node's
baud rate (and tries one the controller clock cannot make), starts the bus
monitor, sends frames through the transmit FIFO, runs a cyclic message and
changes its cycle time, reads the frames the monitor saw, and closes the
port.

Written against the simulated device. The modules are those of the build of
the interpreter running it (scripts/interpreter.py's use_build), else those
installed for it.
"""
import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
import interpreter  # noqa: E402

interpreter.use_build()

import _qx_api_can as can  # noqa: E402
import _qx_api_common as common  # noqa: E402


def hex_bytes(data):
    return " ".join(f"{b:02X}" for b in data)


def show_timing(actual):
    """Prints a Qx_Can_Node_Baudrate_ActualValues_t and frees it."""
    try:
        print("  {} bit/s (controller clock {} MHz): {} time quanta (TSeg1 {}, TSeg2 {}, SJW {}), "
              "sample point {} %".format(
            can.Qx_Can_Node_Baudrate_ActualValues_t_Baudrate_get(actual),
            can.Qx_Can_Node_Baudrate_ActualValues_t_CanControllerClock_get(actual) // 1000000,
            can.Qx_Can_Node_Baudrate_ActualValues_t_NumberOfTimeQuanta_get(actual),
            can.Qx_Can_Node_Baudrate_ActualValues_t_TSeg1_get(actual),
            can.Qx_Can_Node_Baudrate_ActualValues_t_TSeg2_get(actual),
            can.Qx_Can_Node_Baudrate_ActualValues_t_Sjw_get(actual),
            can.Qx_Can_Node_Baudrate_ActualValues_t_SamplePoint_get(actual)))
    finally:
        can.delete_Qx_Can_Node_Baudrate_ActualValues_t(actual)


def set_baud_rate(port, rate, sample_point_min, sample_point_max):
    bounds = can.new_Qx_Can_Node_Baudrate_Set_ExtendedParam_t()  # fields left 0 keep the node's defaults
    try:
        can.Qx_Can_Node_Baudrate_Set_ExtendedParam_t_SamplePoint_Min_set(bounds, sample_point_min)
        can.Qx_Can_Node_Baudrate_Set_ExtendedParam_t_SamplePoint_Max_set(bounds, sample_point_max)
        return can.Qx_Can_Node_Baudrate_Set(port, rate, bounds)
    finally:
        can.delete_Qx_Can_Node_Baudrate_Set_ExtendedParam_t(bounds)


def queue_frames(port, frames):
    """Queues (id, data) pairs in one call, as a list of message items."""
    items = []
    try:
        for frame_id, data in frames:
            item = can.new_Qx_Can_TxFifo_MsgItem_t()
            items.append(item)
            can.Qx_Can_TxFifo_MsgItem_t_Id_set(item, frame_id)
            can.Qx_Can_TxFifo_MsgItem_t_Dlc_set(item, len(data))
            can.Qx_Can_TxFifo_MsgItem_t_Data_set(item, data + [0] * (8 - len(data)))
        can.Qx_Can_TxFifo_QueueMsgs(port, 100, items)  # the module sends copies of the items
    finally:
        for item in items:
            can.delete_Qx_Can_TxFifo_MsgItem_t(item)


def show_cyclic(port, frame_id):
    state = can.Qx_Can_CyclicMsgs_GetMsgState(port, frame_id)
    try:
        dlc = can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Dlc_get(state)
        data = can.Qx_Can_Data_t_U8_get(can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Data_get(state))[:dlc]
        print("  message 0x{:03X}: {}, every {} ms, group {}, data {}".format(
            can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Id_get(state),
            "running" if can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Mode_get(state) else "stopped",
            can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_CycleTime_get(state),
            can.Qx_Can_CyclicMsgs_GetMsgState_Rsp_t_Group_get(state),
            hex_bytes(data)))
    finally:
        can.delete_Qx_Can_CyclicMsgs_GetMsgState_Rsp_t(state)


def show_monitor(port):
    items = can.Qx_Can_Monitor_BufferMode_GetItems(port, 100, 64)  # at most 64 frames, waiting up to 100 ms
    print(f"  the monitor saw {len(items)} frames:")
    for item in items:
        length = can.Qx_Can_Monitor_BufferItem_t_DataLength_get(item)
        print("    at {} us: id 0x{:03X}, DLC {}, data {}".format(
            can.Qx_Can_Monitor_BufferItem_t_Timestamp_get(item),
            can.Qx_Can_Monitor_BufferItem_t_Id_get(item),
            can.Qx_Can_Monitor_BufferItem_t_Dlc_get(item),
            hex_bytes(can.Qx_Can_Monitor_BufferItem_t_Data_get(item)[:length])))
        can.delete_Qx_Can_Monitor_BufferItem_t(item)  # each item is a record of its own


def main():
    print("Opening the interface named CAN1")
    port = common.Qx_Common_OpenInterface("CAN1")
    can.Qx_Can_InitInterface(port, 0, 0)  # identifier mode 0, no flags
    print(f"  port handle 0x{port:08X}, initialised")
    print()

    print("Node baud rate")
    show_timing(can.Qx_Can_Node_Baudrate_Get(port))
    print("Setting 250 kbit/s with the sample point between 85 and 90 %")
    show_timing(set_baud_rate(port, 250000, 85, 90))
    print("Setting 333333 bit/s")
    try:
        set_baud_rate(port, 333333, 0, 0)
    except Exception as error:
        print("  refused:", error)
    print()

    print("Transmit FIFO, with the bus monitor recording in buffer mode")
    can.Qx_Can_Monitor_BufferMode_Start(port, 0, 1024)
    can.Qx_Can_TxFifo_QueueMsg(port, 0x123, [0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88], 8)
    print("  queued 0x123 with 8 bytes")
    queue_frames(port, [(0x124, [0xA0, 0xA1]), (0x7DF, [0x02, 0x01, 0x0D])])
    print("  queued 0x124 and 0x7DF in one call")
    queued, free = can.Qx_Can_TxFifo_GetState(port)
    print(f"  FIFO state: {queued} messages queued, room for {free} more")
    print()

    print("Cyclic message 0x200")
    can.Qx_Can_CyclicMsgs_DefineMsg(port, 0x200, 100, 0, 1, 0, [0xC0, 0xFF, 0xEE], 3)  # 100 ms, stopped, group 1
    show_cyclic(port, 0x200)
    can.Qx_Can_CyclicMsgs_StartMsg(port, 0x200)
    can.Qx_Can_CyclicMsgs_ChangeCycleTime(port, 0x200, 20)
    print("  started, cycle time changed to 20 ms")
    show_cyclic(port, 0x200)
    can.Qx_Can_CyclicMsgs_StopMsg(port, 0x200)
    can.Qx_Can_CyclicMsgs_DeleteMsg(port, 0x200)
    try:
        can.Qx_Can_CyclicMsgs_GetMsgState(port, 0x200)
    except Exception as error:
        print("  stopped and deleted:", error)
    print()

    print("Bus monitor")
    show_monitor(port)
    can.Qx_Can_Monitor_BufferMode_Stop(port)
    print()

    common.Qx_Common_CloseInterface(port)
    print(f"Closed port 0x{port:08X}")


if __name__ == "__main__":
    main()
