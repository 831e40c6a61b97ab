"""The storage module's objects given to the four modules: Python values in,
what the simulated device received (journal), results out. One table per
kind: XCP, the byte buffers of the other modules, values; then the modules'
refusal of buffers too short for a call, and every import order."""
import itertools
import os
import struct
import subprocess
import sys

import pytest

import _qx_api as q
import _qx_testhelpers as qxt
import layouts
import qxtest
from qxtest import raises_exactly

st = qxtest.module("_qx_storage")


def module(key):
    """A module of the registry; a case of a module left out is skipped."""
    return qxtest.module(qxtest.registry()[key])


def u8_buffer(data, room=None):
    """A u8_t array holding `data`, `room` bytes long (default: as long as
    `data`)."""
    buffer = st.new_u8_array(room or len(data))
    st.memmove(buffer, data)
    return buffer


def record(mod, name, **fields):
    return qxtest.new_record(mod, name, **fields)


# ---- XCP ---------------------------------------------------------------------------------------

XCP_MEMORY = 0x00010000  # where the simulated slave's memory starts


def xcp_connect(c, port):
    c.Qx_Common_Xcp_Init_Can(port, 0, record(c, "Qx_Common_Xcp_Init_Can_Cmd_t", CanIdMaster=0x7F0, CanIdSlave=0x7F1,
                                              TxTimeout=50))
    c.Qx_Common_Xcp_Cmd_Connect(port, 0, record(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"),
                                record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t"))


def xcp_upload(c, port, address, count):
    buffer = st.new_u8_array(count)
    c.Qx_Common_Xcp_Cmd_Upload(port, 0, record(c, "Qx_Common_Xcp_Cmd_Upload_Cmd_t", Address=address,
                                               NumberOfBytes=count), buffer)
    return st.cdata(buffer, count)


def xcp_download_then_upload(sim, c, port):
    cmd = record(c, "Qx_Common_Xcp_Cmd_Download_Cmd_t", Address=XCP_MEMORY + 0x10, CodeSize=5)
    c.Qx_Common_Xcp_Cmd_Download(port, 0, cmd, u8_buffer(b"\x01\x02\x03\xfe\xff"))
    assert sim.last("Qx_Common_Xcp_Cmd_Download").arg(4).bytes == b"\x01\x02\x03\xfe\xff"
    assert xcp_upload(c, port, XCP_MEMORY + 0x0F, 7) == b"\x00\x01\x02\x03\xfe\xff\x00"


def xcp_upload_of_scripted_bytes(sim, c, port):
    sim.output("Qx_Common_Xcp_Cmd_Upload", 4, b"\xde\xad\xbe\xef")
    assert xcp_upload(c, port, XCP_MEMORY, 4) == b"\xde\xad\xbe\xef"
    assert sim.last("Qx_Common_Xcp_Cmd_Upload").arg(4).size == 4


def xcp_seed_key_and_program(sim, c, port):
    length, seed = st.copy_u32_p(8), st.new_u8_array(8)
    c.Qx_Common_Xcp_Cmd_GetSeed(port, 0, c.QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__PGM, length, seed)
    assert sim.last("Qx_Common_Xcp_Cmd_GetSeed").arg(4).bytes == struct.pack("<I", 8)
    got = st.cdata(seed, st.u32_p_value(length))
    assert got == bytes([0x5A, 0xC3, 0, 0])  # the simulated slave's seed for instance 0
    c.Qx_Common_Xcp_Cmd_Unlock(port, 0, 4, u8_buffer(bytes(b ^ 0xFF for b in got)))
    assert sim.last("Qx_Common_Xcp_Cmd_Unlock").arg(4).bytes == bytes([0xA5, 0x3C, 0xFF, 0xFF])
    c.Qx_Common_Xcp_Cmd_SetMta(port, 0, record(c, "Qx_Common_Xcp_Cmd_SetMta_Cmd_t", Address=XCP_MEMORY + 0x400))
    c.Qx_Common_Xcp_Cmd_ProgramClear(port, 0, record(c, "Qx_Common_Xcp_Cmd_ProgramClear_Cmd_t", ClearRange=8,
                                                     Mode=c.QX_COMMON__XCP__CMD__PROGRAM_CLEAR__MODE__ABSOLUTE))
    program = record(c, "Qx_Common_Xcp_Cmd_Program_Cmd_t", Address=XCP_MEMORY + 0x402, CodeSize=3)
    c.Qx_Common_Xcp_Cmd_Program(port, 0, program, u8_buffer(b"\xa0\xa1\xa2"))
    assert sim.last("Qx_Common_Xcp_Cmd_Program").arg(4).bytes == b"\xa0\xa1\xa2"
    assert xcp_upload(c, port, XCP_MEMORY + 0x400, 6) == b"\xff\xff\xa0\xa1\xa2\xff"


@pytest.mark.parametrize("case", [xcp_download_then_upload, xcp_upload_of_scripted_bytes, xcp_seed_key_and_program],
                         ids=lambda case: case.__name__)
def test_xcp_takes_byte_buffers(sim, port, case):
    c = module("common")
    xcp_connect(c, port)
    case(sim, c, port)


# ---- byte buffers of the other modules ---------------------------------------------------------

def fpga_fifo(sim, port):
    q.Qx_Fpga_WriteFifo(port, u8_buffer(b"\x01\x02\x03"), 3)
    assert sim.last("Qx_Fpga_WriteFifo").arg(2).bytes == b"\x01\x02\x03"
    data, length = st.new_u8_array(8), st.copy_u32_p(8)
    q.Qx_Fpga_ReadFifo(port, data, length)
    assert st.cdata(data, st.u32_p_value(length)) == b"\x01\x02\x03"


def firmware_write_and_read(sim, port):
    q.Qx_Fw_Buffer_Enable(port, 64)
    q.Qx_Fw_Write(port, q.QX_FW__HEADER_TYPE__COMMAND, q.QX_FW__WRITE__MODE__NEVER_SEND_ACK, 3,
                  u8_buffer(b"\x31\x01\x02"))
    assert sim.last("Qx_Fw_Write").arg(5).bytes == b"\x31\x01\x02"
    header, kind, command = st.new_u8_p(), st.new_u8_p(), st.new_u8_p()
    length, data = st.copy_u32_p(16), st.new_u8_array(16)
    q.Qx_Fw_Read(port, header, kind, command, length, data)
    assert [st.u8_p_value(cell) for cell in (header, kind, command)] == [
        q.QX_FW__HEADER_TYPE__RESPONSE, q.QX_FW__READ__RESPONSE_TYPE__RESPONSE, 0x31]
    assert st.cdata(data, st.u32_p_value(length)) == b"\x01\x02"
    q.Qx_Fw_Buffer_Disable(port)


def subnet_mask(sim, port):
    c = module("common")
    c.Qx_Common_Ethernet_SubNetMask_Set(port, u8_buffer(bytes([255, 255, 240, 0])))
    assert sim.last("Qx_Common_Ethernet_SubNetMask_Set").arg(2).bytes == bytes([255, 255, 240, 0])
    mask = st.new_u8_array(4)
    c.Qx_Common_Ethernet_SubNetMask_Get(port, mask)
    assert st.cdata(mask, 4) == bytes([255, 255, 240, 0])


def ccp_upload(sim, port):
    can = module("can")
    can.Qx_Can_Ccp_Init(port, 0, record(can, "Qx_Can_Ccp_Init_Parameters_t", StationAddress=0x0139, CroId=0x7E0,
                                        DtoId=0x7E1, TxTimeout=100))
    can.Qx_Can_Ccp_Command_Connect(port, 0, 0x0139)
    can.Qx_Can_Ccp_Command_SetMta(port, 0, 0, 0, 0x1010)
    can.Qx_Can_Ccp_Command_Download(port, 0, 3, [0x11, 0x22, 0x33], None)
    can.Qx_Can_Ccp_Command_SetMta(port, 0, 0, 0, 0x1010)
    data = u8_buffer(b"\xaa" * 5)
    can.Qx_Can_Ccp_Command_Upload(port, 0, 4, data)
    assert sim.last("Qx_Can_Ccp_Command_Upload").arg(4).value == int(data)
    assert st.cdata(data, 5) == b"\x11\x22\x33\x00\xaa"


def cyclic_checksum_user_bytes(sim, port):
    can, c = module("can"), module("common")
    can.Qx_Can_CyclicMsgs_DefineMsg(port, 0x321, 100, 0, 1, 0, [0] * 8, 8)
    signal = record(c, "Qx_Common_Signal_t", Size=8, Offset=st.copy_u16_p(16))
    can.Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes(port, 0x321, signal, record(can, "Qx_Can_Data_t"), 3,
                                                           u8_buffer(b"\xa5\x5a\xff"))
    call = sim.last("Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes")
    assert call.arg(3).bytes == layouts.pack("Qx_Common_Signal_t", Size=8, Offset=16)
    assert call.arg(6).bytes == b"\xa5\x5a\xff"


def trovix_port(tv, signals="signal=Speed,bits=16,pdu=Engine,ecu=ECU1;signal=Gear,bits=8,pdu=Engine,ecu=ECU1"):
    """The Trovix interface, the signals configured: Speed (handle 0), Gear (1)."""
    return qxtest.trovix_port(tv, signals)


def trovix_signal_write_and_read(sim, port):
    tv = module("trovix")
    tport = trovix_port(tv)
    tv.Qx_Trovix_Signal_Write(tport, 0, 0, 0, 2, u8_buffer(b"\x34\x12"))
    assert sim.last("Qx_Trovix_Signal_Write").arg(6).bytes == b"\x34\x12"
    data = u8_buffer(b"\xee" * 4)
    flags, size = tv.Qx_Trovix_Signal_Read(tport, 0, 0, 0, 4, data)
    assert st.cdata(data, size) == b"\x34\x12" and st.cdata(data, 4)[2:] == b"\xee\xee"


def trovix_signal_block_write_and_read(sim, port):
    tv = module("trovix")
    tport = trovix_port(tv)
    cell = qxt.qxt_block_cell()  # the block cell is the library's: no storage of this module
    tv.Qx_Trovix_SignalBlock_Config(tport, 0, cell, 1, record(tv, "Qx_Trovix_SignalBlock_Signals_t", SignalHandle=1))
    block = qxt.qxt_block_in(cell)
    tv.Qx_Trovix_SignalBlock_Write(tport, block, u8_buffer(b"\x42" + bytes(7)))
    assert sim.last("Qx_Trovix_SignalBlock_Write").arg(3).bytes[:1] == b"\x42"
    data = u8_buffer(b"\xee" * 8)
    tv.Qx_Trovix_SignalBlock_Read(tport, block, data)
    assert st.cdata(data, 8) == b"\x42" + bytes(7)


def trovix_tx_pdu_read(sim, port):
    tv = module("trovix")
    tport = trovix_port(tv, signals=None)
    tv.Qx_Trovix_Com_TxPdu_MaxNumber(tport, 1)
    tv.Qx_Trovix_Com_TxPdu_Config(tport, record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t", TxPduId=10,
                                                PduLength=8, UnusedAreasDefault=0xFF))
    tv.Qx_Trovix_Com_Init(tport)
    tv.Qx_Trovix_Com_TxPdu_Write(tport, 0, 10, [1, 2, 3])
    length, data = st.copy_u32_p(8), st.new_u8_array(8)
    tv.Qx_Trovix_Com_TxPdu_Read(tport, 0, 10, length, data)
    assert sim.last("Qx_Trovix_Com_TxPdu_Read").arg(5).value == int(data)
    assert st.cdata(data, st.u32_p_value(length)) == b"\x01\x02\x03" + b"\xff" * 5


@pytest.mark.parametrize("case", [fpga_fifo, firmware_write_and_read, subnet_mask, ccp_upload,
                                  cyclic_checksum_user_bytes, trovix_signal_write_and_read,
                                  trovix_signal_block_write_and_read, trovix_tx_pdu_read],
                         ids=lambda case: case.__name__)
def test_byte_buffers_reach_the_device_and_come_back(sim, port, case):
    case(sim, port)


# ---- values ----------------------------------------------------------------------------------

def can_ramp_increment(sim, port):
    can, c = module("can"), module("common")
    can.Qx_Can_CyclicMsgs_DefineMsg(port, 0x123, 100, 0, 1, 0, [0] * 8, 8)
    name = "Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t"
    params = record(can, name, Id=0x123, Signal=record(c, "Qx_Common_Signal_t", Size=8, Offset=st.copy_u16_p(2)),
                    MinValue=10, MaxValue=200, Increment=st.copy_float64_p(0.5))
    can.Qx_Can_CyclicMsgs_Ramp_Define(port, params)
    assert layouts.unpack(name, sim.last("Qx_Can_CyclicMsgs_Ramp_Define").arg(2).bytes)["Increment"] == 0.5
    assert st.float64_p_value(can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_get(params)) == 0.5


def trovix_factor(sim, port):
    tv = module("trovix")
    tport = trovix_port(tv, signals=None)
    name = "Qx_Trovix_Signal_Config2_Signal_t"
    signal = record(tv, name, Name="Torque", Factor=st.copy_float64_p(0.25), Offset=st.copy_float64_p(-40))
    tv.Qx_Trovix_Signal_Config2(tport, 0, 1, signal)
    sent = layouts.unpack(name, sim.last("Qx_Trovix_Signal_Config2").arg(4).bytes)
    assert (sent["Factor"], sent["Offset"]) == (0.25, -40.0)
    assert st.float64_p_value(tv.Qx_Trovix_Signal_Config2_Signal_t_Factor_get(signal)) == 0.25


def trovix_time_sync_responses(sim, port):
    tv = module("trovix")
    tport = trovix_port(tv, signals=None)
    p = "Qx_Trovix_TimeSyncMgr_"
    ids = dict(TimeSyncMgrId=1, TimeBaseId=7)
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(tport, record(tv, f"{p}TimeBase_Config_Cmd_t", **ids))
    sim.output(f"{p}GetRateDeviation", 3, layouts.pack(f"{p}GetRateDeviation_Rsp_t", RateDeviation=-300))
    sim.output(f"{p}GetTimeLeap", 3, layouts.pack(f"{p}GetTimeLeap_Rsp_t", TimeLeap=-2**40 - 1))
    deviation, leap = record(tv, f"{p}GetRateDeviation_Rsp_t"), record(tv, f"{p}GetTimeLeap_Rsp_t")
    tv.Qx_Trovix_TimeSyncMgr_GetRateDeviation(tport, record(tv, f"{p}GetRateDeviation_Cmd_t", **ids), deviation)
    tv.Qx_Trovix_TimeSyncMgr_GetTimeLeap(tport, record(tv, f"{p}GetTimeLeap_Cmd_t", **ids), leap)
    assert st.s32_p_value(tv.Qx_Trovix_TimeSyncMgr_GetRateDeviation_Rsp_t_RateDeviation_get(deviation)) == -300
    assert st.s64_p_value(tv.Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t_TimeLeap_get(leap)) == -2**40 - 1
    correction = record(tv, f"{p}SetRateCorrection_Cmd_t", RateCorrection=st.copy_s32_p(-2**31), **ids)
    tv.Qx_Trovix_TimeSyncMgr_SetRateCorrection(tport, correction)
    assert layouts.unpack(f"{p}SetRateCorrection_Cmd_t", sim.last(f"{p}SetRateCorrection").arg(2).bytes)[
        "RateCorrection"] == -2**31


def common_u16_field(sim, port):
    c = module("common")
    signal = record(c, "Qx_Common_Signal_t", Size=1, Offset=st.copy_u16_p(0xBEEF))
    with pytest.raises(Exception):  # the device finds no such bit: it received the offset
        c.Qx_Common_Signal_Check(port, signal)
    assert sim.last("Qx_Common_Signal_Check").arg(2).bytes == layouts.pack("Qx_Common_Signal_t", Size=1, Offset=0xBEEF)
    assert st.u16_p_value(c.Qx_Common_Signal_t_Offset_get(signal)) == 0xBEEF


def common_error_cell(sim, port):
    c = module("common")
    assert c.Qx_Common_GetFirmwareErrorDescription(port, st.copy_Qx_Error_p(0xDEADBEEF)) == "firmware error 0xDEADBEEF"
    assert sim.last("Qx_Common_GetFirmwareErrorDescription").arg(2).value == 0xDEADBEEF
    with raises_exactly(TypeError, "in method 'Qx_Common_GetFirmwareErrorDescription', argument 2 of type "
                                   "'Qx_Error_t const'"):
        c.Qx_Common_GetFirmwareErrorDescription(port, st.copy_u32_p(1))  # a u32_t is no Qx_Error_t there
    # in _qx_api a Qx_Error_t is a u32_t
    sim.output("Qx_GetLastErrorByPortHandle", 2, struct.pack("<I", 0x1234))
    error = st.new_u32_p()
    q.Qx_GetLastErrorByPortHandle(port, error)
    assert st.u32_p_value(error) == 0x1234


def event_handle_from_common_to_the_can_monitor(sim, port):
    c, can = module("common"), module("can")
    handles = [st.new_size_p() for _ in range(2)]  # _qx_api_common's Qx_Common_EventHandle_t
    for handle in handles:
        c.Qx_Common_Events_AllocateEvent(port, handle)
    allocated = [st.size_p_value(handle) for handle in handles]
    assert allocated[1] == allocated[0] + 1
    monitor = st.copy_Qx_Common_EventHandle_p(allocated[1])  # the same handle, as _qx_api_can knows it
    can.Qx_Can_Monitor_BufferMode_EnableEvent(port, monitor)
    assert sim.last("Qx_Can_Monitor_BufferMode_EnableEvent").arg(2).bytes == struct.pack("N", allocated[1])
    with raises_exactly(TypeError, "in method 'Qx_Can_Monitor_BufferMode_EnableEvent', argument 2 of type "
                                   "'Qx_Common_EventHandle_t const *const'"):
        can.Qx_Can_Monitor_BufferMode_EnableEvent(port, handles[1])
    with raises_exactly(TypeError, "in method 'Qx_Common_Events_WaitForSingleEvent', argument 2 of type "
                                   "'Qx_Common_EventHandle_t const *const'"):
        c.Qx_Common_Events_WaitForSingleEvent(port, monitor, 0)
    c.Qx_Common_Events_DeallocateEvent(port, handles[0])
    assert sim.last("Qx_Common_Events_DeallocateEvent").arg(2).bytes == struct.pack("N", allocated[0])


def trovix_socket_connection_state(sim, port):
    tv = module("trovix")
    tport = trovix_port(tv, signals=None)
    tv.Qx_Trovix_SoAd_Init(tport)
    connection = st.new_u32_p()
    tv.Qx_Trovix_SoAd_SoCon_GetFreeSoConId(tport, 0, connection)
    state = st.copy_Qx_Trovix_SoAd_SoCon_State_p(-1)
    tv.Qx_Trovix_SoAd_SoCon_GetState(tport, 0, st.u32_p_value(connection), state)
    assert st.Qx_Trovix_SoAd_SoCon_State_p_value(state) == tv.QX_TROVIX__SO_AD__SO_CON__STATE__OFFLINE
    tv.Qx_Trovix_SoAd_SoCon_Open(tport, 0, st.u32_p_value(connection))
    tv.Qx_Trovix_SoAd_SoCon_GetState(tport, 0, st.u32_p_value(connection), state)
    assert sim.last("Qx_Trovix_SoAd_SoCon_GetState").arg(4).value == int(state)
    assert st.Qx_Trovix_SoAd_SoCon_State_p_value(state) == tv.QX_TROVIX__SO_AD__SO_CON__STATE__ONLINE


def common_temperatures(sim, port):
    c = module("common")
    cells = [st.new_float_p() for _ in range(4)]
    c.Qx_Common_GetTemperature(port, *cells)
    assert [st.float_p_value(cell) for cell in cells] == [41.5, 53.25, 47.0, 24.75]


def base_u64_and_u16_values(sim, port):
    data = record(q, "Qx_Data_t", U64=st.copy_u64_p(2**64 - 2))
    assert q.Qx_Data_t_U32_get(data) == [2**32 - 2, 2**32 - 1]
    assert st.u64_p_value(q.Qx_Data_t_U64_get(data)) == 2**64 - 2
    q.Qx_Fpga_Relays_SetDirect(port, st.copy_u16_p(2), u8_buffer(b"\x01\x00"))
    assert sim.last("Qx_Fpga_Relays_SetDirect").arg(2).value == 2


@pytest.mark.parametrize("case", [can_ramp_increment, trovix_factor, trovix_time_sync_responses, common_u16_field,
                                  common_error_cell, event_handle_from_common_to_the_can_monitor,
                                  trovix_socket_connection_state, common_temperatures, base_u64_and_u16_values],
                         ids=lambda case: case.__name__)
def test_values_reach_the_device_and_getters_copies_are_read(sim, port, case):
    case(sim, port)


# ---- buffers too short for the call ------------------------------------------------------------

def short_xcp_upload(port):
    c = module("common")
    xcp_connect(c, port)
    c.Qx_Common_Xcp_Cmd_Upload(port, 0, record(c, "Qx_Common_Xcp_Cmd_Upload_Cmd_t", Address=XCP_MEMORY,
                                               NumberOfBytes=9), u8_buffer(b"\xee" * 8))


@pytest.mark.parametrize("call, function, argument", [
    (short_xcp_upload, "Qx_Common_Xcp_Cmd_Upload", "argument 4 of type 'u8_t *const'"),
    (lambda port: module("common").Qx_Common_Ethernet_SubNetMask_Set(port, u8_buffer(b"\xff\xff\xff")),
     "Qx_Common_Ethernet_SubNetMask_Set", "argument 2 of type 'u8_t const *const'"),
    (lambda port: module("common").Qx_Common_Ethernet_SubNetMask_Get(port, st.new_u8_array(3)),
     "Qx_Common_Ethernet_SubNetMask_Get", "argument 2 of type 'u8_t *const'"),
    (lambda port: q.Qx_Fpga_WriteFifo(port, u8_buffer(b"\x01\x02"), 3),
     "Qx_Fpga_WriteFifo", "argument 2 of type 'u8_t const *const'"),
    (lambda port: q.Qx_Fpga_ReadFifo(port, st.new_u8_array(4), st.copy_u32_p(5)),
     "Qx_Fpga_ReadFifo", "argument 2 of type 'u8_t *const'"),
    (lambda port: module("can").Qx_Can_Ccp_Command_Upload(port, 0, 5, st.new_u8_array(4)),
     "Qx_Can_Ccp_Command_Upload", "argument 4 of type 'u8_t *const'"),
])
def test_a_buffer_too_short_for_the_call_is_refused_before_it(sim, port, call, function, argument):
    with raises_exactly(ValueError, f"too few bytes given for the call in method '{function}', {argument}"):
        call(port)
    assert sim.calls(function) == 0


def test_an_array_member_takes_an_array_of_its_length():
    c = module("common")
    address = record(c, "Qx_Common_Ip6Address_t")
    words = st.new_u32_array(4)
    for i, word in enumerate([1, 2, 3, 2**32 - 1]):
        st.u32_array_setitem(words, i, word)
    c.Qx_Common_Ip6Address_t_Addr32_set(address, words)
    assert c.Qx_Common_Ip6Address_t_Addr32_get(address) == [1, 2, 3, 2**32 - 1]
    with raises_exactly(ValueError, "too few elements given for an array in method 'Qx_Common_Ip6Address_t_Addr32_set', "
                                    "argument 2 of type 'u32_t [4]'"):
        c.Qx_Common_Ip6Address_t_Addr32_set(address, st.new_u32_array(3))
    with raises_exactly(ValueError, "single element given for an array in method 'Qx_Common_Ip6Address_t_Addr32_set', "
                                    "argument 2 of type 'u32_t [4]'"):
        c.Qx_Common_Ip6Address_t_Addr32_set(address, st.copy_u32_p(9))


# ---- import order --------------------------------------------------------------------------------
# Each order imports the modules in a forked child of one fresh interpreter
# (the children run side by side), then gives each module an object of the storage module and one of another
# type: the first is taken (its value reaches the record, or the native call
# fails for want of a port), the second refused with TypeError.

ORDER_CHECKS = """
import importlib, os, sys, itertools
names = sys.argv[1:]
CHECKS = {
    "_qx_api": "q.Qx_Data_t_U8_set(q.new_Qx_Data_t(), st.new_u8_array(8)); "
               "q.Qx_InterfaceInfo_t_Parameters_Flags_set(q.Qx_InterfaceInfo_t_Parameters_get(q.new_Qx_InterfaceInfo_t()), st.copy_u16_p(1))",
    "_qx_api_common": "r = m.new_Qx_Common_Signal_t(); m.Qx_Common_Signal_t_Offset_set(r, st.copy_u16_p(0xBEEF)); "
                      "assert st.u16_p_value(m.Qx_Common_Signal_t_Offset_get(r)) == 0xBEEF; "
                      "native(lambda: m.Qx_Common_GetFirmwareErrorDescription(0, st.new_Qx_Error_p())); "
                      "native(lambda: m.Qx_Common_Events_WaitForSingleEvent(0, st.new_size_p(), 0)); "
                      "refused(lambda: m.Qx_Common_Events_WaitForSingleEvent(0, st.new_Qx_Common_EventHandle_p(), 0))",
    "_qx_api_can": "r = m.new_Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t(); "
                   "m.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_set(r, st.copy_float64_p(0.5)); "
                   "assert st.float64_p_value(m.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_get(r)) == 0.5; "
                   "native(lambda: m.Qx_Can_Monitor_BufferMode_EnableEvent(0, st.new_Qx_Common_EventHandle_p())); "
                   "refused(lambda: m.Qx_Can_Monitor_BufferMode_EnableEvent(0, st.new_size_p()))",
    "_qx_api_trovix": "r = m.new_Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t(); "
                      "m.Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t_TimeLeap_set(r, st.copy_s64_p(-7)); "
                      "assert st.s64_p_value(m.Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t_TimeLeap_get(r)) == -7; "
                      "refused(lambda: m.Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t_TimeLeap_set(r, st.copy_s32_p(1)))",
}

def native(call):
    try:
        call()
    except TypeError:
        raise
    except Exception:
        pass

def refused(call):
    try:
        call()
    except TypeError:
        return
    raise AssertionError("not refused")

def check(order):
    try:
        loaded = {name: importlib.import_module(name) for name in order}
        st, q = loaded["_qx_storage"], loaded["_qx_api"]
        for name, check in CHECKS.items():
            if name in loaded:
                exec(check, {"st": st, "q": q, "m": loaded[name], "native": native, "refused": refused})
    except BaseException as error:
        print("order", order, "failed:", type(error).__name__, error, flush=True)
        os._exit(1)
    os._exit(0)

failed, running = 0, set()
orders = list(itertools.permutations(names))
for order in orders:
    if len(running) == os.cpu_count():
        pid, status = os.wait()
        running.discard(pid)
        failed += status != 0
    pid = os.fork()
    if pid == 0:
        check(order)
    running.add(pid)
for pid in running:
    failed += os.waitpid(pid, 0)[1] != 0
print("orders", len(orders), "failed", failed)
"""


def test_every_import_order_shares_one_type_table():
    names = [name for name in qxtest.registry().values() if name in qxtest.built_modules()] + ["_qx_storage"]
    env = qxtest.child_env(os.path.dirname(q.__file__))
    out = subprocess.run([sys.executable, "-c", ORDER_CHECKS, *names], env=env, capture_output=True, text=True,
                         timeout=600)
    assert out.returncode == 0, out.stderr
    assert out.stdout.splitlines()[-1] == f"orders {len(list(itertools.permutations(names)))} failed 0", out.stdout
