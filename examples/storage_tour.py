#!/usr/bin/env python3
"""A tour of the storage module _qx_storage.

Makes the storage that the other modules take only through pointer objects:
sets an XCP master up on a CAN interface and connects it, downloads bytes
to the slave from a buffer filled with memmove, uploads them into another
buffer read with cdata (and has an upload larger than its buffer refused),
then gives a cyclic message's ramp an increment of 0.5 from a float64_t
cell, reads it back from the record and reads the ramp's state, its current
value through a u16_t cell. Last, through SWIG's proxy classes (the record
arrays of qx_storage, whose items are records of qx_api_common), sets up an
XCP DAQ list of four signals in one call and samples it in one call (the
key that unlocks it written into its array as one slice), and writes ten
DTO frames in one call and reads them back in one call.

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
import _qx_storage as st  # noqa: E402

SLAVE_MEMORY = 0x00010000  # where the simulated XCP slave's memory starts
RAMP_MESSAGE = 0x123


def hex_bytes(data):
    return " ".join(f"{b:02X}" for b in data)


def connect_xcp(port):
    """XCP instance 0 of the port on CAN (master 0x7F0, slave 0x7F1), connected."""
    init = common.new_Qx_Common_Xcp_Init_Can_Cmd_t()
    cmd, rsp = common.new_Qx_Common_Xcp_Cmd_Connect_Cmd_t(), common.new_Qx_Common_Xcp_Cmd_Connect_Rsp_t()
    try:
        common.Qx_Common_Xcp_Init_Can_Cmd_t_CanIdMaster_set(init, 0x7F0)
        common.Qx_Common_Xcp_Init_Can_Cmd_t_CanIdSlave_set(init, 0x7F1)
        common.Qx_Common_Xcp_Init_Can(port, 0, init)
        common.Qx_Common_Xcp_Cmd_Connect(port, 0, cmd, rsp)
    finally:
        common.delete_Qx_Common_Xcp_Init_Can_Cmd_t(init)
        common.delete_Qx_Common_Xcp_Cmd_Connect_Cmd_t(cmd)
        common.delete_Qx_Common_Xcp_Cmd_Connect_Rsp_t(rsp)


def download(port, address, data):
    """Downloads bytes from a buffer that memmove fills."""
    buffer = st.new_u8_array(len(data))
    st.memmove(buffer, data)
    cmd = common.new_Qx_Common_Xcp_Cmd_Download_Cmd_t()
    try:
        common.Qx_Common_Xcp_Cmd_Download_Cmd_t_Address_set(cmd, address)
        common.Qx_Common_Xcp_Cmd_Download_Cmd_t_CodeSize_set(cmd, len(data))
        common.Qx_Common_Xcp_Cmd_Download(port, 0, cmd, buffer)
    finally:
        common.delete_Qx_Common_Xcp_Cmd_Download_Cmd_t(cmd)


def upload(port, address, count, room):
    """Uploads `count` bytes into a buffer of `room` bytes; returns them."""
    buffer = st.new_u8_array(room)  # zeroed, freed when collected
    cmd = common.new_Qx_Common_Xcp_Cmd_Upload_Cmd_t()
    try:
        common.Qx_Common_Xcp_Cmd_Upload_Cmd_t_Address_set(cmd, address)
        common.Qx_Common_Xcp_Cmd_Upload_Cmd_t_NumberOfBytes_set(cmd, count)
        common.Qx_Common_Xcp_Cmd_Upload(port, 0, cmd, buffer)
    finally:
        common.delete_Qx_Common_Xcp_Cmd_Upload_Cmd_t(cmd)
    return st.cdata(buffer, count)


def ramp_with_increment(port, increment):
    """A ramp on the second byte of the cyclic message, with the increment
    given; prints what the record holds and the ramp's state."""
    signal = common.new_Qx_Common_Signal_t()
    params = can.new_Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t()
    cells = [st.new_u32_p() for _ in range(3)] + [st.new_u16_p()]
    try:
        common.Qx_Common_Signal_t_Size_set(signal, 8)
        common.Qx_Common_Signal_t_Offset_set(signal, st.copy_u16_p(8))  # u16_t: a value cell
        can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Id_set(params, RAMP_MESSAGE)
        can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Signal_set(params, signal)
        can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_MinValue_set(params, 10)
        can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_MaxValue_set(params, 200)
        can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_set(params, st.copy_float64_p(increment))
        can.Qx_Can_CyclicMsgs_Ramp_Define(port, params)
        # the getter returns a copy of the float64_t, readable only this way
        copy = can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_get(params)
        print("  ramp defined with increment", st.float64_p_value(copy))
        can.Qx_Can_CyclicMsgs_StartMsg(port, RAMP_MESSAGE)
        can.Qx_Can_CyclicMsgs_Ramp_GetState(port, RAMP_MESSAGE, signal, *cells)
        state, errors, ramp_sum = (st.u32_p_value(cell) for cell in cells[:3])
        print("  ramp state: {}, error flags 0x{:X}, ramp sum {}, current value {}".format(
            "running" if state & 1 else "stopped", errors, ramp_sum, st.u16_p_value(cells[3])))
    finally:
        can.delete_Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t(params)
        common.delete_Qx_Common_Signal_t(signal)


def daq_list_and_dto_frames(port):
    """An XCP DAQ list of four signals and ten DTO frames, each set, written
    and read in one call, through the proxy classes."""
    import qx_api_common as c  # noqa: E402 (registers its classes from here on)
    import qx_storage  # noqa: E402

    connect_xcp(port)
    download(port, SLAVE_MEMORY, bytes(range(0x10, 0x20)))
    signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(4)  # zeroed records, freed when collected
    for i, signal in enumerate(signals):  # each item a record of qx_api_common, a view into the array
        signal.Handle, signal.Address = 0x100 + i, SLAVE_MEMORY + 4 * i
        signal.DataType = c.QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__ULONG
    c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, len(signals), signals)
    print(f"  a DAQ list of {len(signals)} signals set in one call")
    length, seed = qx_storage.copy_u32_p(4), qx_storage.u8_array(4)
    c.Qx_Common_Xcp_Cmd_GetSeed(port, 0, c.QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__DAQ, length, seed)
    key = qx_storage.u8_array(len(seed))
    key[:] = [byte ^ 0xFF for byte in seed]  # the simulated slave's key: the seed inverted, as one slice
    c.Qx_Common_Xcp_Cmd_Unlock(port, 0, len(key), key)
    c.Qx_Common_Xcp_Daq_Start(port, 0, 0)
    flags, count = qx_storage.new_u32_p(), qx_storage.copy_u32_p(len(signals))  # room for four on entry
    samples = qx_storage.Qx_Common_Xcp_Daq_RxSignal_t_array(len(signals))
    c.Qx_Common_Xcp_Daq_ReadRxSignals(port, 0, 0, flags, count, samples)
    print(f"  {qx_storage.u32_p_value(count)} signals sampled in one call:")
    for sample in samples:
        print(f"    signal 0x{sample.Handle:03X} at 0x{sample.Address:08X}: {hex_bytes(sample.Value)}")
    c.Qx_Common_Xcp_Daq_Stop(port, 0, 0)
    c.Qx_Common_Xcp_Cmd_Disconnect(port, 0)

    payloads = [bytes(0x10 * i + j for j in range(i + 1)) for i in range(10)]
    frames = qx_storage.Qx_Common_Xcp_WriteDtoTxFifo_Frame_t_array(len(payloads))
    data = qx_storage.u8_array(0x10000)  # a frame's data member holds 65536 bytes
    for frame, payload in zip(frames, payloads):
        qx_storage.memmove(data, payload)
        frame.Length, frame.Data = qx_storage.copy_u16_p(len(payload)), data  # copied into the record
    c.Qx_Common_Xcp_WriteDtoTxFifo(port, 0, len(frames), frames)
    print(f"  {len(frames)} DTO frames written in one call")
    buffer, count = qx_storage.u8_array(64), qx_storage.copy_u32_p(len(frames))
    descriptors = qx_storage.Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t_array(len(frames))
    c.Qx_Common_Xcp_ReadDtoRxFifo2(port, 0, 0, len(buffer), buffer, count, descriptors)
    print(f"  {qx_storage.u32_p_value(count)} DTO frames read back in one call:")
    for descriptor in descriptors:
        length = qx_storage.u16_p_value(descriptor.Length)
        frame_bytes = qx_storage.cdata(buffer, descriptor.Offset + length)[descriptor.Offset:]
        print(f"    at offset {descriptor.Offset:2}, {length:2} bytes: {hex_bytes(frame_bytes)}")


def main():
    print("Opening the interface named CAN1")
    port = common.Qx_Common_OpenInterface("CAN1")
    print(f"  port handle 0x{port:08X}")
    print()

    print("XCP: a download from bytes, an upload into a buffer")
    connect_xcp(port)
    download(port, SLAVE_MEMORY + 0x10, bytes([1, 2, 3, 0xFE, 0xFF]))
    print(f"  downloaded 5 bytes to 0x{SLAVE_MEMORY + 0x10:08X}")
    data = upload(port, SLAVE_MEMORY + 0x0E, 8, 8)
    print(f"  uploaded 8 bytes from 0x{SLAVE_MEMORY + 0x0E:08X}: {hex_bytes(data)}")
    try:
        upload(port, SLAVE_MEMORY, 9, 8)
    except ValueError as error:
        print("  an upload of 9 bytes into 8 is refused before the call:", error)
    common.Qx_Common_Xcp_Cmd_Disconnect(port, 0)
    print()

    print(f"Cyclic message 0x{RAMP_MESSAGE:03X} with a ramp")
    can.Qx_Can_InitInterface(port, 0, 0)  # identifier mode 0, no flags
    can.Qx_Can_CyclicMsgs_DefineMsg(port, RAMP_MESSAGE, 100, 0, 1, 0, [0] * 8, 8)
    ramp_with_increment(port, 0.5)
    can.Qx_Can_CyclicMsgs_StopMsg(port, RAMP_MESSAGE)
    print()

    print("XCP through the proxy classes: several records in one call")
    daq_list_and_dto_frames(port)
    print()

    common.Qx_Common_CloseInterface(port)
    print(f"Closed port 0x{port:08X}")


if __name__ == "__main__":
    main()
