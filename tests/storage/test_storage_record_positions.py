"""Several records in one call, at every position of the four modules that
takes records beside a count, in arrays of the storage module: Python values
in, every record and the count as the simulated device received them, and
what the device did with them or wrote back, beyond the first record too;
then a count beyond the array, refused before the native call.

The cases written with SWIG's proxy classes (qx_storage's array classes,
whose items are instances of the records' classes) run in a forked child
(qxtest.isolated): importing a proxy module registers its classes for the
rest of the process. The others use the flat functions, each array filled
alternately by copying a record in (R_array_setitem) and by setting the
fields of an item's view (R_array_getitem)."""
import functools
import importlib
import struct

import pytest

import _qx_api as q
import _qx_testhelpers as qxt
import layouts
import qxtest
from layouts import pack, size, unpack
from qxtest import raises_exactly

st = qxtest.module("_qx_storage")


def module(key):
    """The module of library `key`; a case of a library left out is skipped."""
    return qxtest.module(qxtest.registry()[key])


def proxy(name):
    """A proxy module by name (qx_api_can, qx_storage): its classes are
    registered from now on."""
    return importlib.import_module(name)


def record(mod, name, **fields):
    return qxtest.new_record(mod, name, **fields)


def records_array(mod, name, rows, **convert):
    """An array of len(rows) records `name`, record i holding the fields of
    rows[i] (dotted for a member of a nested record: "Internal.BitSize"),
    each value passed through convert[field] where the setter takes an
    object. Even records are copied in from a record of their own, odd ones
    set through a view of the item."""
    array = getattr(st, f"new_{name}_array")(len(rows))
    for i, fields in enumerate(rows):
        target = getattr(st, f"{name}_array_getitem")(array, i) if i % 2 else record(mod, name)
        for field, value in fields.items():
            head, _, member = field.partition(".")
            obj = getattr(mod, f"{name}_{head}_get")(target) if member else target
            setter = getattr(mod, f"{name}_{field.replace('.', '_')}_set")
            setter(obj, convert[field](value) if field in convert else value)
        if not i % 2:
            getattr(st, f"{name}_array_setitem")(array, i, target)
    return array


def packed(name, rows):
    """The bytes of the records `rows` (fields -> values, as layouts.pack
    takes them), one after another."""
    return b"".join(pack(name, fields) for fields in rows)


def u8_buffer(data, room=None):
    buffer = st.new_u8_array(room or len(data))
    st.memmove(buffer, data)
    return buffer


def u32(value):
    """The four bytes of a u32_t cell holding `value`, as the journal keeps them."""
    return struct.pack("<I", value)


# ---- base ----------------------------------------------------------------------------------------

def base_update_all_interfaces(sim, port):
    """Qx_Interface_UpdateAllInterfaces: a command naming three interfaces,
    the array of their records set as its InterfaceData member; the device
    checks every one."""
    name = "Qx_InterfaceData_t"
    found = qxtest.owned(q.Qx_Interface_GetInterfaceList(0, 3))
    assert len(found) == 3
    interfaces = st.new_Qx_InterfaceData_t_array(3)
    for i, item in enumerate(found):
        st.Qx_InterfaceData_t_array_setitem(interfaces, i, item)
    command = record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t", NumberOfInterfaces=3)
    q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(command, interfaces)
    try:
        assert q.Qx_Interface_UpdateAllInterfaces("update.bin", command) is None
        sent = unpack("Qx_Interface_UpdateAllInterfaces_Cmd_t", sim.last("Qx_Interface_UpdateAllInterfaces").arg(2).bytes)
        assert (sent["NumberOfInterfaces"], sent["InterfaceData"]) == (3, int(interfaces))
        assert st.cdata(interfaces, 3 * size(name)) == b"".join(st.cdata(item, size(name)) for item in found)
        # a third interface that the device does not have fails the call
        third = st.Qx_InterfaceData_t_array_getitem(interfaces, 2)
        q.Qx_InterfaceData_t_InterfaceNumber_set(third, 99)
        with raises_exactly(Exception, "Qx_Interface_UpdateAllInterfaces: interface 2: no interface of type "
                                       f"{q.Qx_InterfaceData_t_InterfaceType_get(third)} on controller "
                                       f"{q.Qx_InterfaceData_t_ControllerNumber_get(third)}, interface 99"):
            q.Qx_Interface_UpdateAllInterfaces("update.bin", command)
        # a count beyond the array is refused before the call
        calls = sim.calls("Qx_Interface_UpdateAllInterfaces")
        q.Qx_Interface_UpdateAllInterfaces_Cmd_t_NumberOfInterfaces_set(command, 4)
        with raises_exactly(ValueError, "too few bytes given for the call in method 'Qx_Interface_UpdateAllInterfaces', "
                                        "argument 2 of type 'Qx_Interface_UpdateAllInterfaces_Cmd_t const *const'"):
            q.Qx_Interface_UpdateAllInterfaces("update.bin", command)
        assert sim.calls("Qx_Interface_UpdateAllInterfaces") == calls
    finally:
        interfaces.acquire()  # the command took it over; freed with the test


# ---- CAN -----------------------------------------------------------------------------------------

CYCLIC_ID = 0x123


def can_ramps_change_mode(sim, port):
    """Qx_Can_CyclicMsgs_Ramp_ChangeMode: three ramps of one cyclic message."""
    can, c = module("can"), module("common")
    name = "Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t"
    can.Qx_Can_CyclicMsgs_DefineMsg(port, CYCLIC_ID, 100, 0, 1, 0, [0] * 8, 8)

    def signal(fields):
        return record(c, "Qx_Common_Signal_t", Size=fields["Size"], Offset=st.copy_u16_p(fields["Offset"]))

    rows = [dict(Id=CYCLIC_ID, Signal=dict(Size=8, Offset=offset), Mode=mode)
            for offset, mode in ((0, 2), (16, 0), (40, 1))]
    for row in rows:
        can.Qx_Can_CyclicMsgs_Ramp_Define(port, record(can, "Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t",
                                                       Id=CYCLIC_ID, Signal=signal(row["Signal"]), MaxValue=9))
    ramps = records_array(can, name, rows, Signal=signal)
    assert can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, 3, ramps) is None
    call = sim.last("Qx_Can_CyclicMsgs_Ramp_ChangeMode")
    assert (call.arg(2).value, call.arg(3).bytes) == (3, packed(name, rows))
    # the device reads every record: a third one naming no ramp fails the call
    st.Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t_array_setitem(
        ramps, 2, record(can, name, Id=CYCLIC_ID, Signal=signal(dict(Size=8, Offset=48))))
    with raises_exactly(Exception, "Qx_Can_CyclicMsgs_Ramp_ChangeMode: no ramp defined on the signal at offset 48 "
                                   f"(8 bits) of cyclic message 0x{CYCLIC_ID:X}"):
        can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, 3, ramps)


TAR_TABLE = 2


def tar_state(can, port):
    """Kind, flags, items and current item of the transmit table."""
    cells = [st.new_u8_p(), st.new_u32_p(), st.new_u32_p(), st.new_u32_p()]
    can.Qx_Can_Tar_GetState(port, TAR_TABLE, *cells)
    return [st.u8_p_value(cells[0])] + [st.u32_p_value(cell) for cell in cells[1:]]


def can_transmit_table_items(kind, sim, port):
    """Qx_Can_Tar_AddTxItems_<kind>: three items added to a transmit table,
    which then holds three."""
    can = module("can")
    name = f"Qx_Can_Tar_TxItem_{kind}_t"
    if kind.startswith("Simple"):
        can.Qx_Can_Tar_Config_Simple(port, TAR_TABLE, 0x321, 1)
    else:
        can.Qx_Can_Tar_Config_Standard(port, TAR_TABLE, 1, 0, 0, 0, None, None)
    rows, convert = [], {}
    for i in range(3):
        row = dict(Delay=10 * (i + 1), Flags=i, Dlc=6 + i, Data=[0x10 * (i + 1) + j for j in range(8)])
        if kind.startswith("Standard"):
            row["Id"] = 0x700 + i
        if kind.endswith("2"):  # the data is a Qx_Can_Data_t member
            row["Data"] = {"U8": row["Data"] * 8}
        rows.append(row)
    if kind.endswith("2"):
        convert["Data"] = lambda data: record(can, "Qx_Can_Data_t", U8=data["U8"])
    items = records_array(can, name, rows, **convert)
    assert getattr(can, f"Qx_Can_Tar_AddTxItems_{kind}")(port, TAR_TABLE, 3, items) is None
    call = sim.last(f"Qx_Can_Tar_AddTxItems_{kind}")
    assert (call.arg(3).value, call.arg(4).bytes) == (3, packed(name, rows))
    assert tar_state(can, port) == [1 if kind.startswith("Simple") else 2, 0, 3, 0]


def can_transmit_trace_messages(sim, port):
    """Qx_Can_TxTrace_Download: three messages into a trace, which then
    holds three."""
    can = module("can")
    name = "Qx_Can_TxTrace_Msg_t"
    handle = st.new_u32_p()
    can.Qx_Can_TxTrace_Allocate(port, handle)
    rows = [dict(Delay=1000 * (i + 1), Id=0x18DA0000 + i, Dlc=8 + i, MsgFlags=i, Data=list(range(i, i + 64)))
            for i in range(3)]
    assert can.Qx_Can_TxTrace_Download(port, st.u32_p_value(handle), 3, 0, records_array(can, name, rows)) is None
    call = sim.last("Qx_Can_TxTrace_Download")
    assert (call.arg(3).value, call.arg(5).bytes) == (3, packed(name, rows))
    state = record(can, "Qx_Can_TxTrace_GetState_Rsp_t")
    can.Qx_Can_TxTrace_GetState(port, st.u32_p_value(handle), state)
    assert can.Qx_Can_TxTrace_GetState_Rsp_t_NumberOfMessages_get(state) == 3


def can_transmit_table_of_three(sim, port):
    """Qx_Can_Tar_AddTxItems_Standard through the proxy classes: a table of
    three items, its state reporting three."""
    can, storage = proxy("qx_api_can"), proxy("qx_storage")
    can.Qx_Can_Tar_Config_Standard(port, TAR_TABLE, 1, 0, 0, 0, None, None)
    items = storage.Qx_Can_Tar_TxItem_Standard_t_array(3)
    for i, item in enumerate(items):
        item.Id, item.Delay, item.Dlc, item.Data = 0x200 + i, 5 * (i + 1), 8, [i + 1] * 8
    can.Qx_Can_Tar_AddTxItems_Standard(port, TAR_TABLE, len(items), items)
    call = sim.last("Qx_Can_Tar_AddTxItems_Standard")
    assert (call.arg(3).value, call.arg(4).bytes) == (3, packed("Qx_Can_Tar_TxItem_Standard_t", [
        dict(Id=0x200 + i, Delay=5 * (i + 1), Dlc=8, Data=[i + 1] * 8) for i in range(3)]))
    kind, flags, count, current = storage.new_u8_p(), storage.new_u32_p(), storage.new_u32_p(), storage.new_u32_p()
    can.Qx_Can_Tar_GetState(port, TAR_TABLE, kind, flags, count, current)
    assert (storage.u8_p_value(kind), storage.u32_p_value(count)) == (2, 3)  # a standard table of three


# ---- XCP -----------------------------------------------------------------------------------------

XCP_MEMORY = 0x00010000  # where the simulated slave's memory starts
DTO_TX, CTO_TX = "Qx_Common_Xcp_WriteDtoTxFifo_Frame_t", "Qx_Common_Xcp_WriteCtoTxFifo_Frame_t"
SIGNAL = "Qx_Common_Xcp_Daq_Signal_t"
DAQ_TYPES = ("UBYTE", "UWORD", "ULONG", "SBYTE")
DAQ_SIZES = {"UBYTE": 1, "SBYTE": 1, "UWORD": 2, "ULONG": 4}


def xcp_set_up(c, port, connect=True):
    c.Qx_Common_Xcp_Init_Can(port, 0, record(c, "Qx_Common_Xcp_Init_Can_Cmd_t", CanIdMaster=0x7F0, CanIdSlave=0x7F1))
    if connect:
        c.Qx_Common_Xcp_Cmd_Connect(port, 0, record(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"),
                                    record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t"))


def xcp_start_daq(c, port):
    """Unlocks DAQ with seed and key (the key is the seed inverted) and starts it."""
    length, seed = st.copy_u32_p(4), st.new_u8_array(4)
    c.Qx_Common_Xcp_Cmd_GetSeed(port, 0, c.QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__DAQ, length, seed)
    c.Qx_Common_Xcp_Cmd_Unlock(port, 0, 4, u8_buffer(bytes(b ^ 0xFF for b in st.cdata(seed, 4))))
    c.Qx_Common_Xcp_Daq_Start(port, 0, 0)


def xcp_daq_signals(i):
    """Signal i of a DAQ list over the slave's memory: its record's fields."""
    return dict(Handle=0x1000 + i, Address=XCP_MEMORY + 4 * i, BitOffset=i,
                DataType=getattr(module("common"), "QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__" + DAQ_TYPES[i]))


def xcp_daq_value(memory, i):
    """The four value bytes of signal i sampled from `memory` (at XCP_MEMORY)."""
    taken = DAQ_SIZES[DAQ_TYPES[i]]
    return list(memory[4 * i:4 * i + taken]) + [0] * (4 - taken)


def xcp_daq_time_stamped(sim, port):
    """Qx_Common_Xcp_Daq_SetSignals and Qx_Common_Xcp_Daq_ReadRxSignalsTs:
    three signals set, one sample of all three read back."""
    c = module("common")
    xcp_set_up(c, port)
    memory = bytes(range(0x40, 0x50))
    c.Qx_Common_Xcp_Cmd_Download(port, 0, record(c, "Qx_Common_Xcp_Cmd_Download_Cmd_t", Address=XCP_MEMORY,
                                                 CodeSize=len(memory)), u8_buffer(memory))
    rows = [xcp_daq_signals(i) for i in range(3)]
    assert c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 3, records_array(c, SIGNAL, rows)) is None
    call = sim.last("Qx_Common_Xcp_Daq_SetSignals")
    assert (call.arg(4).value, call.arg(5).bytes) == (3, packed(SIGNAL, rows))
    xcp_start_daq(c, port)
    name = "Qx_Common_Xcp_Daq_RxSignalTs_t"
    flags, count, samples = st.new_u32_p(), st.copy_u32_p(3), st.new_Qx_Common_Xcp_Daq_RxSignalTs_t_array(3)
    assert c.Qx_Common_Xcp_Daq_ReadRxSignalsTs(port, 0, 0, flags, count, samples) is None
    call = sim.last("Qx_Common_Xcp_Daq_ReadRxSignalsTs")
    assert (call.arg(5).bytes, call.arg(6).size) == (u32(3), 3 * size(name))
    assert (st.u32_p_value(count), st.u32_p_value(flags)) == (3, 0)
    got = [unpack(name, st.cdata(st.Qx_Common_Xcp_Daq_RxSignalTs_t_array_getitem(samples, i), size(name)))
           for i in range(3)]
    assert [(s["Handle"], s["Address"], s["DataType"], s["Value"]) for s in got] == [
        (row["Handle"], row["Address"], row["DataType"], xcp_daq_value(memory, i)) for i, row in enumerate(rows)]
    assert got[0]["Timestamp"] == got[1]["Timestamp"] == got[2]["Timestamp"] != [0] * 8  # one sample


def xcp_daq_list_of_four(sim, port):
    """Qx_Common_Xcp_Daq_SetSignals and Qx_Common_Xcp_Daq_ReadRxSignals
    through the proxy classes: a DAQ list of four signals set in one call,
    the four values read back in one call."""
    c, storage = proxy("qx_api_common"), proxy("qx_storage")
    init = c.Qx_Common_Xcp_Init_Can_Cmd_t()
    init.CanIdMaster, init.CanIdSlave = 0x7F0, 0x7F1
    c.Qx_Common_Xcp_Init_Can(port, 0, init)
    c.Qx_Common_Xcp_Cmd_Connect(port, 0, c.Qx_Common_Xcp_Cmd_Connect_Cmd_t(), c.Qx_Common_Xcp_Cmd_Connect_Rsp_t())
    memory = bytes(range(0x10, 0x20))
    download = c.Qx_Common_Xcp_Cmd_Download_Cmd_t()
    download.Address, download.CodeSize = XCP_MEMORY, len(memory)
    data = storage.u8_array(len(memory))
    storage.memmove(data, memory)
    c.Qx_Common_Xcp_Cmd_Download(port, 0, download, data)
    signals = storage.Qx_Common_Xcp_Daq_Signal_t_array(4)
    for i, signal in enumerate(signals):
        for field, value in xcp_daq_signals(i).items():
            setattr(signal, field, value)
    c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, len(signals), signals)
    call = sim.last("Qx_Common_Xcp_Daq_SetSignals")
    assert (call.arg(4).value, call.arg(5).bytes) == (4, packed(SIGNAL, [xcp_daq_signals(i) for i in range(4)]))
    xcp_start_daq(module("common"), port)
    flags, count = storage.new_u32_p(), storage.copy_u32_p(4)
    values = storage.Qx_Common_Xcp_Daq_RxSignal_t_array(4)
    c.Qx_Common_Xcp_Daq_ReadRxSignals(port, 0, 0, flags, count, values)
    assert sim.last("Qx_Common_Xcp_Daq_ReadRxSignals").arg(5).bytes == u32(4)  # the room, on entry
    assert (storage.u32_p_value(count), storage.u32_p_value(flags)) == (4, 0)
    assert [(v.Handle, v.Address, v.DataType, v.Value) for v in values] == [
        (s["Handle"], s["Address"], s["DataType"], xcp_daq_value(memory, i))
        for i, s in enumerate(xcp_daq_signals(i) for i in range(4))]


def xcp_cto_frames(sim, port):
    """Qx_Common_Xcp_WriteCtoTxFifo: three frames written in one call come
    back through the looped-back transport, in order."""
    c = module("common")
    xcp_set_up(c, port, connect=False)
    payloads = [bytes(range(1, 3)), bytes(range(0x20, 0x28)), bytes(range(256))]
    rows = [dict(Length=len(p), Data=list(p)) for p in payloads]
    frames = records_array(c, CTO_TX, rows, Length=st.copy_u16_p, Data=lambda data: u8_buffer(bytes(data), 256))
    assert c.Qx_Common_Xcp_WriteCtoTxFifo(port, 0, 3, frames) is None
    call = sim.last("Qx_Common_Xcp_WriteCtoTxFifo")
    assert (call.arg(3).value, call.arg(4).bytes) == (3, packed(CTO_TX, rows))
    read = []
    for _ in range(4):
        count, frame = st.new_u32_p(), record(c, "Qx_Common_Xcp_ReadCtoRxFifo_Frame_t")
        c.Qx_Common_Xcp_ReadCtoRxFifo(port, 0, count, frame)
        length = st.u16_p_value(c.Qx_Common_Xcp_ReadCtoRxFifo_Frame_t_Length_get(frame))
        read.append((st.u32_p_value(count), c.Qx_Common_Xcp_ReadCtoRxFifo_Frame_t_Flags_get(frame),
                     bytes(c.Qx_Common_Xcp_ReadCtoRxFifo_Frame_t_Data_get(frame)[:length])))
    # the flag says more frames wait; a fourth read finds none
    assert read == [(1, 1, payloads[0]), (1, 1, payloads[1]), (1, 0, payloads[2]), (0, 0, b"")]


def xcp_ten_dto_frames(sim, port):
    """Qx_Common_Xcp_WriteDtoTxFifo and Qx_Common_Xcp_ReadDtoRxFifo2
    through the proxy classes: ten frames written in one call and read back
    in one call, each frame's offset and length in its descriptor."""
    c, storage = proxy("qx_api_common"), proxy("qx_storage")
    init = c.Qx_Common_Xcp_Init_Can_Cmd_t()
    init.CanIdMaster, init.CanIdSlave = 0x7F0, 0x7F1
    c.Qx_Common_Xcp_Init_Can(port, 0, init)
    payloads = [bytes(0x10 * i + j + 1 for j in range(i + 1)) for i in range(10)]
    frames = storage.Qx_Common_Xcp_WriteDtoTxFifo_Frame_t_array(len(payloads))
    data = storage.u8_array(0x10000)
    for frame, payload in zip(frames, payloads):
        storage.memmove(data, payload)
        frame.Length = storage.copy_u16_p(len(payload))
        frame.Data = data
    c.Qx_Common_Xcp_WriteDtoTxFifo(port, 0, len(frames), frames)
    call = sim.last("Qx_Common_Xcp_WriteDtoTxFifo")
    # 65540 bytes a frame: the journal keeps the first 4096 bytes of all
    assert (call.arg(3).value, call.arg(4).size) == (10, 10 * size(DTO_TX))
    assert call.arg(4).bytes == pack(DTO_TX, Length=1, Data=list(payloads[0]))[:len(call.arg(4).bytes)]
    buffer, count = storage.u8_array(64), storage.copy_u32_p(10)
    descriptors = storage.Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t_array(10)
    c.Qx_Common_Xcp_ReadDtoRxFifo2(port, 0, 0, len(buffer), buffer, count, descriptors)
    call = sim.last("Qx_Common_Xcp_ReadDtoRxFifo2")
    assert (call.arg(6).bytes, call.arg(7).size) == (u32(10), 10 * size("Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t"))
    assert storage.u32_p_value(count) == 10
    offsets = [sum(map(len, payloads[:i])) for i in range(10)]
    assert [(storage.u16_p_value(d.Length), d.Offset, storage.u16_p_value(d.Flags)) for d in descriptors] == [
        (len(p), offset, 1 if i < 9 else 0) for i, (p, offset) in enumerate(zip(payloads, offsets))]
    assert storage.cdata(buffer, offsets[-1] + 10) == b"".join(payloads)


def xcp_dto_frames_time_stamped(sim, port):
    """Qx_Common_Xcp_WriteDtoTxFifo and Qx_Common_Xcp_ReadDtoRxFifo2Ts:
    three frames, their descriptors with rising time stamps."""
    c = module("common")
    xcp_set_up(c, port, connect=False)
    c.Qx_Common_Xcp_Property_SetById(port, 0, record(
        c, "Qx_Common_Xcp_Property_SetById_Cmd_t", Value=1,
        PropertyId=st.copy_u16_p(c.QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO__USE_TIMESTAMP)))
    payloads = [b"\xa1\xa2\xa3", b"\xb1", b"\xc1\xc2"]
    rows = [dict(Length=len(p), Data=list(p)) for p in payloads]
    frames = records_array(c, DTO_TX, rows, Length=st.copy_u16_p, Data=lambda data: u8_buffer(bytes(data), 0x10000))
    assert c.Qx_Common_Xcp_WriteDtoTxFifo(port, 0, 3, frames) is None
    call = sim.last("Qx_Common_Xcp_WriteDtoTxFifo")
    assert (call.arg(3).value, call.arg(4).size) == (3, 3 * size(DTO_TX))
    assert call.arg(4).bytes == packed(DTO_TX, rows)[:len(call.arg(4).bytes)]
    name = "Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t"
    buffer, count, descriptors = st.new_u8_array(8), st.copy_u32_p(3), st.new_Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t_array(3)
    assert c.Qx_Common_Xcp_ReadDtoRxFifo2Ts(port, 0, 0, 8, buffer, count, descriptors) is None
    call = sim.last("Qx_Common_Xcp_ReadDtoRxFifo2Ts")
    assert (call.arg(6).bytes, call.arg(7).size) == (u32(3), 3 * size(name))
    assert st.u32_p_value(count) == 3
    got = [unpack(name, st.cdata(st.Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t_array_getitem(descriptors, i), size(name)))
           for i in range(3)]
    assert [(d["Length"], d["Offset"], d["Flags"]) for d in got] == [(3, 0, 1), (1, 3, 1), (2, 4, 0)]
    stamps = [int.from_bytes(bytes(d["Timestamp"]), "little") for d in got]
    assert 0 < stamps[0] < stamps[1] < stamps[2]
    assert st.cdata(buffer, 6) == b"".join(payloads)


# ---- Trovix -----------------------------------------------------------------------------------------

trovix_port = qxtest.trovix_port


# Speed (handle 0, 16 bits), Gear (1, 8 bits) and Odo (2, 32 bits), all three
# in PDU Engine of ECU1 on controller 2.
ENGINE = ("signal=Speed,bits=16,pdu=Engine,ecu=ECU1,controller=2,bit=0;"
          "signal=Gear,bits=8,pdu=Engine,ecu=ECU1,controller=2,bit=16;"
          "signal=Odo,bits=32,pdu=Engine,ecu=ECU1,controller=2,bit=24")
ENGINE_SIGNALS = [("Speed", 0, 0), ("Gear", 1, 16), ("Odo", 2, 24)]  # name, handle, bit position


def trovix_signals_from_records(sim, port):
    """Qx_Trovix_Signal_Config2: three signals configured in one call, listed
    back in order."""
    tv = module("trovix")
    tport = trovix_port(tv)
    name = "Qx_Trovix_Signal_Config2_Signal_t"
    rows = [{"Name": signal, "ComId": 0x40 + i, "TransmissionMode": i, "Internal.BitSize": bits,
             "Internal.DefaultValue": default, "Factor": factor}
            for i, (signal, bits, default, factor) in enumerate([("Speed", 16, 513, 0.5), ("Gear", 4, 3, 1.0),
                                                                 ("Odo", 32, 2**32 - 1, 0.125)])]
    assert tv.Qx_Trovix_Signal_Config2(tport, 0, 3, records_array(tv, name, rows, Factor=st.copy_float64_p)) is None
    call = sim.last("Qx_Trovix_Signal_Config2")
    assert (call.arg(3).value, call.arg(4).bytes) == (3, packed(name, rows))
    infos = qxtest.owned(tv.Qx_Trovix_Signal_GetSignalList(tport, 5))
    assert [(tv.Qx_Trovix_SignalInfo_t_Name_get(info),
             tv.Qx_Trovix_SignalInfo_t_Internal_DefaultValue_get(tv.Qx_Trovix_SignalInfo_t_Internal_get(info)),
             st.float64_p_value(tv.Qx_Trovix_SignalInfo_t_Factor_get(info))) for info in infos] == [
        (row["Name"], row["Internal.DefaultValue"], row["Factor"]) for row in rows]


def trovix_signal_block_members(sim, port):
    """Qx_Trovix_SignalBlock_Config: a block of three signals made in one
    call; its data gives each its slot, in the order of the records. (The
    block's cell is the test helpers' while the storage module's is refused:
    test_the_storage_modules_block_cell_holds_a_block_of_several below.)"""
    tv = module("trovix")
    tport = trovix_port(tv, ENGINE)
    name = "Qx_Trovix_SignalBlock_Signals_t"
    rows = [dict(SignalHandle=handle, SignalFlags=0xF0000000 + handle) for handle in (2, 0, 1)]
    cell = qxt.qxt_block_cell()
    assert tv.Qx_Trovix_SignalBlock_Config(tport, 0, cell, 3, records_array(tv, name, rows)) is None
    call = sim.last("Qx_Trovix_SignalBlock_Config")
    assert (call.arg(4).value, call.arg(5).bytes) == (3, packed(name, rows))
    values = {0: b"\x34\x12", 1: b"\x56", 2: b"\xf0\xde\xbc\x9a"}
    for handle, value in values.items():
        tv.Qx_Trovix_Signal_Write(tport, 0, 0, handle, len(value), u8_buffer(value))
    data = st.new_u8_array(24)
    tv.Qx_Trovix_SignalBlock_Read(tport, qxt.qxt_block_in(cell), data)
    assert st.cdata(data, 24) == b"".join(values[row["SignalHandle"]].ljust(8, b"\0") for row in rows)


def trovix_user_mappings(sim, port):
    """Qx_Trovix_ComManager_User_Config: a user with three bus mappings."""
    tv = module("trovix")
    tport = trovix_port(tv)
    name = "Qx_Trovix_ComManager_User_Config_Mappings_t"
    rows = [dict(BusType=bus, ControllerId=i + 1, EcuId=0x10 + i)
            for i, bus in enumerate([tv.QX_TROVIX__BUS_TYPE__CAN, tv.QX_TROVIX__BUS_TYPE__FLEXRAY,
                                     tv.QX_TROVIX__BUS_TYPE__ETHERNET])]
    mappings, user = records_array(tv, name, rows), st.new_u32_p()
    assert tv.Qx_Trovix_ComManager_User_Config(tport, 0, "Diag", 3, mappings, user) is None
    call = sim.last("Qx_Trovix_ComManager_User_Config")
    assert (call.arg(4).value, call.arg(5).bytes) == (3, packed(name, rows))
    assert st.u32_p_value(user) == 100
    # the device reads every record: a third mapping of no bus type fails the call
    tv.Qx_Trovix_ComManager_User_Config_Mappings_t_BusType_set(
        st.Qx_Trovix_ComManager_User_Config_Mappings_t_array_getitem(mappings, 2), tv.QX_TROVIX__BUS_TYPE__UNKNOWN)
    with raises_exactly(Exception, "Qx_Trovix_ComManager_User_Config: mapping 2: bus type "
                                   f"{tv.QX_TROVIX__BUS_TYPE__UNKNOWN}"):
        tv.Qx_Trovix_ComManager_User_Config(tport, 0, "Logger", 3, mappings, user)


def trovix_transmit_pdu_ramps(sim, port):
    """Qx_Trovix_Com_TxPdu_Ramp_Control: three ramps of one transmit PDU
    started and stopped in one call."""
    tv = module("trovix")
    tport = trovix_port(tv)
    tv.Qx_Trovix_Com_TxPdu_MaxNumber(tport, 1)
    tv.Qx_Trovix_Com_TxPdu_Config(tport, record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t", TxPduId=10,
                                                PduLength=8, NumberOfSignals=3))
    for signal in (1, 2, 3):
        tv.Qx_Trovix_Com_TxPdu_Signal(tport, record(tv, "Qx_Trovix_Com_TxPdu_Signal_Parameters_t", TxPduId=10,
                                                    TxPduSignalId=signal, BitPosition=16 * (signal - 1), BitSize=16))
        tv.Qx_Trovix_Com_TxPdu_Ramp_Config(tport, record(tv, "Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t", TxPduId=10,
                                                         TxPduSignalId=signal))
    tv.Qx_Trovix_Com_Init(tport)
    name = "Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t"
    start, stop = (tv.QX_TROVIX__COM__TX_PDU__RAMP__CONTROL__MODE__START,
                   tv.QX_TROVIX__COM__TX_PDU__RAMP__CONTROL__MODE__STOP)
    rows = [dict(TxPduId=10, TxPduSignalId=signal, Mode=mode) for signal, mode in ((3, start), (1, stop), (2, start))]
    ramps = records_array(tv, name, rows)
    assert tv.Qx_Trovix_Com_TxPdu_Ramp_Control(tport, 0x80000001, 3, ramps) is None
    call = sim.last("Qx_Trovix_Com_TxPdu_Ramp_Control")
    assert (call.arg(2).value, call.arg(3).value, call.arg(4).bytes) == (0x80000001, 3, packed(name, rows))
    # the device reads every record: a third one naming no ramp fails the call
    st.Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t_array_setitem(ramps, 2, record(tv, name, TxPduId=10, TxPduSignalId=4))
    with raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Ramp_Control: ramp 2: no ramp configured for signal 4 of "
                                   "transmit PDU 10"):
        tv.Qx_Trovix_Com_TxPdu_Ramp_Control(tport, 0, 3, ramps)


def trovix_included_signals_by_description(sim, port):
    """Qx_Trovix_Pdu_IncludedSignals_Get2: the binding's count cell carries
    the room of the caller's records in; the device fills that many and
    counts all the PDU's signals."""
    tv = module("trovix")
    tport = trovix_port(tv, ENGINE)
    name = "Qx_Trovix_Pdu_IncludedSignal_t"
    info = record(tv, "Qx_Trovix_PduInfo_t", PduName="Engine", EcuName="ECU1", ControllerId=2)
    for room in (2, 3):
        included = getattr(st, f"new_{name}_array")(room)
        assert tv.Qx_Trovix_Pdu_IncludedSignals_Get2(tport, info, included) == 3
        assert sim.last("Qx_Trovix_Pdu_IncludedSignals_Get2").arg(3).bytes == u32(room)
        got = [unpack(name, st.cdata(st.Qx_Trovix_Pdu_IncludedSignal_t_array_getitem(included, i), size(name)))
               for i in range(room)]
        assert [(s["Name"].rstrip(b"\0").decode(), s["PduSignalId"], s["BitPosition"]) for s in got] == \
            ENGINE_SIGNALS[:room]


def trovix_port_through_proxies(signals):
    """The Trovix interface opened and initialised through the proxy classes."""
    base, tv = proxy("qx_api"), proxy("qx_api_trovix")
    info = base.Qx_InterfaceInfo_t()
    info.Type = base.QX_INTERFACE_TYPE__TROVIX
    info.Parameters.ControllerNumber = 2
    port = base.Qx_OpenInterface(info)
    tv.Qx_Trovix_InitInterface(port, 0)
    tv.Qx_Trovix_Signal_Config(port, signals)
    return tv, proxy("qx_storage"), port


def trovix_pdu_list_of_eight(sim, port):
    """Qx_Trovix_Pdu_PduList_Get through the proxy classes: eight PDUs
    listed in one call."""
    tv, storage, port = trovix_port_through_proxies(";".join(
        f"signal=S{i},pdu=P{i},ecu=ECU{i % 2},controller=2,comid={0x40 + i},bus={i % 4}" for i in range(8)))
    pdus = storage.Qx_Trovix_PduInfo_t_array(8)
    count = storage.copy_u32_p(len(pdus))
    tv.Qx_Trovix_Pdu_PduList_Get(port, count, pdus)
    assert sim.last("Qx_Trovix_Pdu_PduList_Get").arg(2).bytes == u32(8)  # the room, on entry
    assert storage.u32_p_value(count) == 8
    assert [(p.PduName, p.EcuName, p.ControllerId, p.ComId, p.BusType) for p in pdus] == [
        (f"P{i}", f"ECU{i % 2}", 2, 0x40 + i, i % 4) for i in range(8)]


def trovix_user_list_of_three(sim, port):
    """Qx_Trovix_ComManager_User_Config and Qx_Trovix_ComManager_UserList_Get
    through the proxy classes: three users, each with its mappings, listed in
    one call."""
    tv, storage, port = trovix_port_through_proxies(ENGINE)
    user = storage.new_u32_p()
    names = ["Diag", "Logger", "Gateway"]
    for n, name in enumerate(names, 1):
        mappings = storage.Qx_Trovix_ComManager_User_Config_Mappings_t_array(n)
        for i, mapping in enumerate(mappings):
            mapping.BusType, mapping.ControllerId, mapping.EcuId = tv.QX_TROVIX__BUS_TYPE__CAN, i, n
        tv.Qx_Trovix_ComManager_User_Config(port, 0, name, len(mappings), mappings, user)
        call = sim.last("Qx_Trovix_ComManager_User_Config")
        assert (call.arg(4).value, call.arg(5).bytes) == (n, packed("Qx_Trovix_ComManager_User_Config_Mappings_t", [
            dict(ControllerId=i, EcuId=n) for i in range(n)]))
    users = storage.Qx_Trovix_ComManager_User_t_array(3)
    count = storage.copy_u32_p(len(users))
    tv.Qx_Trovix_ComManager_UserList_Get(port, count, users)
    assert sim.last("Qx_Trovix_ComManager_UserList_Get").arg(2).bytes == u32(3)
    assert storage.u32_p_value(count) == 3
    assert [(u.Name, u.UserId) for u in users] == [(name, 100 + i) for i, name in enumerate(names)]


def trovix_included_signals_of_a_pdu(sim, port):
    """Qx_Trovix_Pdu_IncludedSignals_Get through the proxy classes: the
    three signals of a PDU in one call."""
    tv, storage, port = trovix_port_through_proxies(ENGINE)
    included = storage.Qx_Trovix_Pdu_IncludedSignal_t_array(3)
    assert tv.Qx_Trovix_Pdu_IncludedSignals_Get(port, "Engine", "ECU1", 2, included) == 3
    assert sim.last("Qx_Trovix_Pdu_IncludedSignals_Get").arg(5).bytes == u32(3)  # the room the binding passed
    assert [(s.Name, s.PduSignalId, s.BitPosition) for s in included] == ENGINE_SIGNALS


def trovix_signal_monitor_of_three(sim, port):
    """Qx_Trovix_Com_SignalMonitor_Config through the proxy classes: a
    monitor over three signals (their number in the command record), which
    presents each in turn with its data and flags."""
    tv, storage, port = trovix_port_through_proxies(ENGINE)
    values = {0: b"\x34\x12", 1: b"\x56", 2: b"\xf0\xde\xbc\x9a"}
    for handle, value in values.items():
        data = storage.u8_array(len(value))
        storage.memmove(data, value)
        tv.Qx_Trovix_Signal_Write(port, 0, 0, handle, len(value), data)
    chosen = storage.Qx_Trovix_Com_SignalMonitor_Config_Signal_t_array(3)
    for signal, handle in zip(chosen, (2, 0, 1)):
        signal.SignalHandle, signal.Flags = handle, 0xA0 + handle
    config = tv.Qx_Trovix_Com_SignalMonitor_Config_Cmd_t()
    config.MaxEntryDataSize, config.NumberOfEntries, config.NumberOfSignals = 8, 4, len(chosen)
    response = tv.Qx_Trovix_Com_SignalMonitor_Config_Rsp_t()
    tv.Qx_Trovix_Com_SignalMonitor_Config(port, config, chosen, response)
    call = sim.last("Qx_Trovix_Com_SignalMonitor_Config")
    assert unpack("Qx_Trovix_Com_SignalMonitor_Config_Cmd_t", call.arg(2).bytes)["NumberOfSignals"] == 3
    assert call.arg(3).bytes == packed("Qx_Trovix_Com_SignalMonitor_Config_Signal_t", [
        dict(SignalHandle=handle, Flags=0xA0 + handle) for handle in (2, 0, 1)])
    monitor = response.SignalMonitorId
    start = tv.Qx_Trovix_Com_SignalMonitor_Start_Cmd_t()
    start.SignalMonitorId = monitor
    tv.Qx_Trovix_Com_SignalMonitor_Start(port, start, tv.Qx_Trovix_Com_SignalMonitor_Start_Rsp_t())
    presented = []
    for _ in range(4):  # the fourth wraps round to the first
        info_cmd, info = tv.Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Cmd_t(), \
            tv.Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Rsp_t()
        info_cmd.SignalMonitorId = monitor
        tv.Qx_Trovix_Com_SignalMonitor_GetSignalInfo(port, info_cmd, info)
        data_cmd, got = tv.Qx_Trovix_Com_SignalMonitor_GetSignalData_Cmd_t(), \
            tv.Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t()
        data_cmd.SignalMonitorId = monitor
        length, data = storage.copy_u32_p(8), storage.u8_array(8)
        tv.Qx_Trovix_Com_SignalMonitor_GetSignalData(port, data_cmd, got, length, data)
        presented.append((info.SignalHandle, info.DataLength, got.SignalHandle, got.SignalFlags,
                          storage.cdata(data, storage.u32_p_value(length))))
        next_cmd = tv.Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal_Cmd_t()
        next_cmd.SignalMonitorId = monitor
        tv.Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal(port, next_cmd)
    assert presented == [(handle, len(values[handle]), handle, 0xA0 + handle, values[handle])
                         for handle in (2, 0, 1, 2)]


# ---- the round trips -----------------------------------------------------------------------------

def position(case, *keys, proxies=False, name=None):
    """A case, the libraries it needs, and whether it is written with the
    proxy classes (run in a forked child)."""
    return pytest.param(case, keys, proxies, id=name or case.__name__)


POSITIONS = [
    position(base_update_all_interfaces, "base"),
    position(can_ramps_change_mode, "can", "common"),
    *(position(functools.partial(can_transmit_table_items, kind), "can", name=f"can_transmit_table_items_{kind}")
      for kind in ("Simple", "Simple2", "Standard2")),
    position(can_transmit_table_of_three, "can", proxies=True),
    position(can_transmit_trace_messages, "can"),
    position(xcp_daq_list_of_four, "common", proxies=True),
    position(xcp_daq_time_stamped, "common"),
    position(xcp_ten_dto_frames, "common", proxies=True),
    position(xcp_dto_frames_time_stamped, "common"),
    position(xcp_cto_frames, "common"),
    position(trovix_signals_from_records, "trovix"),
    position(trovix_signal_block_members, "trovix"),
    position(trovix_user_mappings, "trovix"),
    position(trovix_user_list_of_three, "trovix", proxies=True),
    position(trovix_transmit_pdu_ramps, "trovix"),
    position(trovix_signal_monitor_of_three, "trovix", proxies=True),
    position(trovix_pdu_list_of_eight, "trovix", proxies=True),
    position(trovix_included_signals_of_a_pdu, "trovix", proxies=True),
    position(trovix_included_signals_by_description, "trovix"),
]


@pytest.mark.parametrize("case, keys, proxies", POSITIONS)
def test_several_records_reach_the_device_and_come_back(sim, port, case, keys, proxies):
    for key in keys:
        module(key)  # skips the case where the build left the library out
    (qxtest.isolated(case) if proxies else case)(sim, port)


def test_the_storage_modules_block_cell_holds_a_block_of_several(sim):
    tv = module("trovix")
    tport = trovix_port(tv, ENGINE)
    rows = [dict(SignalHandle=handle) for handle in (1, 2)]
    cell = st.new_Qx_Trovix_SignalBlock_pp()
    tv.Qx_Trovix_SignalBlock_Config(tport, 0, cell, 2, records_array(tv, "Qx_Trovix_SignalBlock_Signals_t", rows))
    assert sim.last("Qx_Trovix_SignalBlock_Config").arg(3).value == int(cell)
    tv.Qx_Trovix_Signal_Write(tport, 0, 0, 2, 4, u8_buffer(b"\x01\x02\x03\x04"))
    data = st.new_u8_array(16)
    tv.Qx_Trovix_SignalBlock_Read(tport, st.Qx_Trovix_SignalBlock_pp_value(cell), data)
    assert st.cdata(data, 16) == bytes(8) + b"\x01\x02\x03\x04" + bytes(4)


# ---- a count beyond the array ----------------------------------------------------------------------
# library, binding, argument number and declared type of its records, the
# call with the records and their count (in the argument, the caller's cell
# or the command record)

def monitor_command(m, count):
    return record(m, "Qx_Trovix_Com_SignalMonitor_Config_Cmd_t", NumberOfSignals=count)


REFUSALS = [
    ("can", "Qx_Can_CyclicMsgs_Ramp_ChangeMode", 3, "Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t const *const",
     lambda m, port, records, n: m.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, n, records)),
    *(("can", f"Qx_Can_Tar_AddTxItems_{kind}", 4, f"Qx_Can_Tar_TxItem_{kind}_t const *const",
       lambda m, port, records, n, kind=kind: getattr(m, f"Qx_Can_Tar_AddTxItems_{kind}")(port, 0, n, records))
      for kind in ("Simple", "Simple2", "Standard", "Standard2")),
    ("can", "Qx_Can_TxTrace_Download", 5, "Qx_Can_TxTrace_Msg_t *",
     lambda m, port, records, n: m.Qx_Can_TxTrace_Download(port, 1, n, 0, records)),
    ("common", "Qx_Common_Xcp_Daq_SetSignals", 5, "Qx_Common_Xcp_Daq_Signal_t const *const",
     lambda m, port, records, n: m.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, n, records)),
    ("common", "Qx_Common_Xcp_WriteDtoTxFifo", 4, "Qx_Common_Xcp_WriteDtoTxFifo_Frame_t const *const",
     lambda m, port, records, n: m.Qx_Common_Xcp_WriteDtoTxFifo(port, 0, n, records)),
    ("common", "Qx_Common_Xcp_WriteCtoTxFifo", 4, "Qx_Common_Xcp_WriteCtoTxFifo_Frame_t const *const",
     lambda m, port, records, n: m.Qx_Common_Xcp_WriteCtoTxFifo(port, 0, n, records)),
    ("common", "Qx_Common_Xcp_Daq_ReadRxSignals", 6, "Qx_Common_Xcp_Daq_RxSignal_t *const",
     lambda m, port, records, n: m.Qx_Common_Xcp_Daq_ReadRxSignals(port, 0, 0, None, st.copy_u32_p(n), records)),
    ("common", "Qx_Common_Xcp_Daq_ReadRxSignalsTs", 6, "Qx_Common_Xcp_Daq_RxSignalTs_t *const",
     lambda m, port, records, n: m.Qx_Common_Xcp_Daq_ReadRxSignalsTs(port, 0, 0, None, st.copy_u32_p(n), records)),
    ("common", "Qx_Common_Xcp_ReadDtoRxFifo2", 7, "Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t *const",
     lambda m, port, records, n: m.Qx_Common_Xcp_ReadDtoRxFifo2(port, 0, 0, 0, None, st.copy_u32_p(n), records)),
    ("common", "Qx_Common_Xcp_ReadDtoRxFifo2Ts", 7, "Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t *const",
     lambda m, port, records, n: m.Qx_Common_Xcp_ReadDtoRxFifo2Ts(port, 0, 0, 0, None, st.copy_u32_p(n), records)),
    ("trovix", "Qx_Trovix_Signal_Config2", 4, "Qx_Trovix_Signal_Config2_Signal_t const *const",
     lambda m, port, records, n: m.Qx_Trovix_Signal_Config2(port, 0, n, records)),
    ("trovix", "Qx_Trovix_SignalBlock_Config", 5, "Qx_Trovix_SignalBlock_Signals_t const *const",
     lambda m, port, records, n: m.Qx_Trovix_SignalBlock_Config(port, 0, qxt.qxt_block_cell(), n, records)),
    ("trovix", "Qx_Trovix_ComManager_User_Config", 5, "Qx_Trovix_ComManager_User_Config_Mappings_t const *const",
     lambda m, port, records, n: m.Qx_Trovix_ComManager_User_Config(port, 0, "Diag", n, records, st.new_u32_p())),
    ("trovix", "Qx_Trovix_Com_TxPdu_Ramp_Control", 4, "Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t const *const",
     lambda m, port, records, n: m.Qx_Trovix_Com_TxPdu_Ramp_Control(port, 0, n, records)),
    ("trovix", "Qx_Trovix_Com_SignalMonitor_Config", 3, "Qx_Trovix_Com_SignalMonitor_Config_Signal_t const *const",
     lambda m, port, records, n: m.Qx_Trovix_Com_SignalMonitor_Config(port, monitor_command(m, n), records, None)),
    ("trovix", "Qx_Trovix_Pdu_PduList_Get", 3, "Qx_Trovix_PduInfo_t *const",
     lambda m, port, records, n: m.Qx_Trovix_Pdu_PduList_Get(port, st.copy_u32_p(n), records)),
    ("trovix", "Qx_Trovix_ComManager_UserList_Get", 3, "Qx_Trovix_ComManager_User_t *const",
     lambda m, port, records, n: m.Qx_Trovix_ComManager_UserList_Get(port, st.copy_u32_p(n), records)),
]
# The records whose count the binding supplies itself (the room of the
# caller's records): no count can exceed the array. Their round trips are
# above.
ROOM_ONLY = {"trovix": ["Qx_Trovix_Pdu_IncludedSignal_t"]}
# The records a record argument's pointer member points to, their count in
# that record: refused as too few bytes, above.
MEMBER_COUNTED = {"base": ["Qx_InterfaceData_t"]}


@pytest.mark.parametrize("made", ["flat", "proxy class"])
@pytest.mark.parametrize("key, binding, argument, declared, call", REFUSALS, ids=[r[1] for r in REFUSALS])
def test_a_count_beyond_the_array_is_refused_before_the_call(sim, port, key, binding, argument, declared, call, made):
    m = module(key)
    name = declared.split()[0]
    # two records for a count of three; the proxy class's instance is passed as it is
    records = getattr(st, f"new_{name}_array")(2) if made == "flat" else getattr(proxy("qx_storage"), f"{name}_array")(2)
    with raises_exactly(ValueError, f"too few records given for the count in method '{binding}', "
                                    f"argument {argument} of type '{declared}'"):
        call(m, port, records, 3)
    assert sim.calls(binding) == 0


def test_every_record_array_has_its_positions_here():
    """A record array the storage module makes for the libraries tried here
    is taken beside a count by some binding: each kind is tried at its
    positions above. (A library added later brings its arrays and its own
    tests.)"""
    built = [key for key, name in qxtest.registry().items() if name in qxtest.built_modules()]
    known = {key for key, *_ in REFUSALS} | set(ROOM_ONLY) | set(MEMBER_COUNTED)
    records = {name for key in built if key in known for name in layouts.library_records(key)}
    made = {name[len("new_"):-len("_array")] for name in vars(st)
            if name.startswith("new_") and name.endswith("_t_array")} & records
    tried = {declared.split()[0] for key, _, _, declared, _ in REFUSALS if key in built}
    tried.update(name for key in built for name in ROOM_ONLY.get(key, []) + MEMBER_COUNTED.get(key, []))
    assert made == tried
