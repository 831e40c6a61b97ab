"""XCP DTO and CTO FIFOs: transmit frames come back through the looped-back
transport in the receive FIFOs, with and without time stamps."""
import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402
import layouts  # noqa: E402
from layouts import pack, unpack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402
from xcp_support import record, set_up_can, u16, u16_value  # noqa: E402

DTO_TX, CTO_TX = "Qx_Common_Xcp_WriteDtoTxFifo_Frame_t", "Qx_Common_Xcp_WriteCtoTxFifo_Frame_t"
DTO_RX, DTO_RX_TS, CTO_RX = ("Qx_Common_Xcp_ReadDtoRxFifo_Frame_t", "Qx_Common_Xcp_ReadDtoRxFifoTs_Frame_t",
                             "Qx_Common_Xcp_ReadCtoRxFifo_Frame_t")
FIFO2, FIFO2_TS = "Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t", "Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t"


def cell(value=0):
    obj = qxtest.new_record(q, "int_p")
    q.int_p_assign(obj, value)
    return obj


def write(qxt, port, frames, cto=False, instance=0):
    """Writes the frames (lists of bytes) in one call."""
    name = CTO_TX if cto else DTO_TX
    view = qxt.qxt_view_of(name + " *", b"".join(pack(name, Length=len(f), Data=f) for f in frames))
    function = c.Qx_Common_Xcp_WriteCtoTxFifo if cto else c.Qx_Common_Xcp_WriteDtoTxFifo
    return function(port, instance, len(frames), view)


def read_one(qxt, port, name=DTO_RX):
    """(frames read, flags, data, time stamp or None) of one single-frame read."""
    function = {DTO_RX: c.Qx_Common_Xcp_ReadDtoRxFifo, DTO_RX_TS: c.Qx_Common_Xcp_ReadDtoRxFifoTs,
                CTO_RX: c.Qx_Common_Xcp_ReadCtoRxFifo}[name]
    count, frame = cell(7), qxtest.new_record(c, name)
    assert function(port, 0, count, frame) is None
    length = u16_value(qxt, getattr(c, name + "_Length_get")(frame))
    data = getattr(c, name + "_Data_get")(frame)
    stamp = getattr(c, name + "_Timestamp_get")(frame) if name == DTO_RX_TS else None
    return (q.int_p_value(count), getattr(c, name + "_Flags_get")(frame), data[:length],
            None if stamp is None else int.from_bytes(bytes(stamp), "little"))


def set_property(qxt, port, pid, value):
    c.Qx_Common_Xcp_Property_SetById(port, 0, record("Property_SetById_Cmd_t", PropertyId=u16(qxt, pid), Value=value))


def test_dto_frames_come_back_in_order(sim, qxt, port):
    set_up_can(port)
    assert write(qxt, port, [[1, 2, 3], list(range(256))]) is None
    call = sim.last("Qx_Common_Xcp_WriteDtoTxFifo")
    assert call.arg(3).value == 2 and call.arg(4).size == 2 * 65540
    assert call.arg(4).bytes == pack(DTO_TX, Length=3, Data=[1, 2, 3])[:4096]
    assert read_one(qxt, port) == (1, 1, [1, 2, 3], None)  # flag: more frames wait
    assert read_one(qxt, port) == (1, 0, list(range(256)), None)
    # empty: nothing read, the frame untouched
    count, frame = cell(7), qxtest.new_record(c, "Qx_Common_Xcp_ReadDtoRxFifo_Frame_t")
    c.Qx_Common_Xcp_ReadDtoRxFifo_Frame_t_Flags_set(frame, 9)
    c.Qx_Common_Xcp_ReadDtoRxFifo(port, 0, count, frame)
    assert q.int_p_value(count) == 0 and c.Qx_Common_Xcp_ReadDtoRxFifo_Frame_t_Flags_get(frame) == 9


def test_cto_frame_from_a_record_made_by_new(sim, qxt, port):
    set_up_can(port)
    frame = qxtest.new_record(c, "Qx_Common_Xcp_WriteCtoTxFifo_Frame_t")
    c.Qx_Common_Xcp_WriteCtoTxFifo_Frame_t_Length_set(frame, u16(qxt, 4))
    c.Qx_Common_Xcp_WriteCtoTxFifo_Frame_t_Data_set(frame, qxt.qxt_u8_array([0xFD, 1, 2, 3] + [9] * 252))
    assert c.Qx_Common_Xcp_WriteCtoTxFifo(port, 256, 1, frame) is None
    call = sim.last("Qx_Common_Xcp_WriteCtoTxFifo")
    assert call.arg(2).value == 0
    assert call.arg(4).bytes == pack(CTO_TX, Length=4, Data=[0xFD, 1, 2, 3] + [9] * 252)
    assert read_one(qxt, port, CTO_RX) == (1, 0, [0xFD, 1, 2, 3], None)
    assert read_one(qxt, port) == (0, 0, [], None)  # the DTO FIFO got nothing


def test_time_stamps_need_the_property_and_rise(sim, qxt, port):
    set_up_can(port)
    write(qxt, port, [[1], [2], [3]])
    with raises_exactly(Exception, "Qx_Common_Xcp_ReadDtoRxFifoTs: the DTO receive FIFO keeps no time stamps "
                                   "(property 4 is 0)"):
        read_one(qxt, port, DTO_RX_TS)
    set_property(qxt, port, c.QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO__USE_TIMESTAMP, 1)
    first, second = read_one(qxt, port, DTO_RX_TS), read_one(qxt, port, DTO_RX_TS)
    assert (first[2], second[2]) == ([1], [2])
    assert 2**32 < first[3] < second[3]
    count, frames = cell(4), qxt.qxt_view(FIFO2_TS + " *", 4 * 16)
    c.Qx_Common_Xcp_ReadDtoRxFifo2Ts(port, 0, 0, 16, qxt.qxt_u8_array([0] * 16), count, frames)
    descriptor = unpack(FIFO2_TS, bytes(qxt.qxt_read_u8(frames, 16)))
    assert q.int_p_value(count) == 1
    assert int.from_bytes(bytes(descriptor["Timestamp"]), "little") > second[3]


def test_buffered_read_fills_the_buffer_while_it_lasts(sim, qxt, port):
    set_up_can(port)
    write(qxt, port, [[1, 2, 3], [4, 5, 6, 7, 8], list(range(10, 17))])
    buffer, count, frames = qxt.qxt_u8_array([0xEE] * 10), cell(4), qxt.qxt_view(FIFO2 + " *", 4 * 8)
    assert c.Qx_Common_Xcp_ReadDtoRxFifo2(port, 0, 0x80000000, 10, buffer, count, frames) is None
    call = sim.last("Qx_Common_Xcp_ReadDtoRxFifo2")
    assert [call.arg(3).value, call.arg(4).value] == [0x80000000, 10]
    assert q.int_p_value(count) == 2  # the third frame does not fit
    assert qxt.qxt_read_u8(buffer, 10) == [1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE]
    data = bytes(qxt.qxt_read_u8(frames, 16))
    assert [unpack(FIFO2, data[i:i + 8]) for i in (0, 8)] == [dict(Flags=1, Length=3, Offset=0),
                                                              dict(Flags=1, Length=5, Offset=3)]
    assert read_one(qxt, port) == (1, 0, list(range(10, 17)), None)


def test_fifo_depths_bound_the_writes(sim, qxt, port):
    set_up_can(port)
    set_property(qxt, port, c.QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO_DEPTH, 2)
    set_property(qxt, port, c.QX_COMMON__XCP__PROPERTY_ID__CTO_TX_FIFO_DEPTH, 1)
    write(qxt, port, [[1], [2]])
    with raises_exactly(Exception, "Qx_Common_Xcp_WriteDtoTxFifo: DTO receive FIFO full (2 of 2 frames waiting, "
                                   "1 more given)"):
        write(qxt, port, [[3]])
    with raises_exactly(Exception, "Qx_Common_Xcp_WriteCtoTxFifo: 2 frames given, the CTO transmit FIFO holds 1"):
        write(qxt, port, [[1], [2]], cto=True)
    assert read_one(qxt, port, CTO_RX)[0] == 0  # all or nothing


@pytest.mark.parametrize("frames, text", [
    ([[1], []], "frame 1 of 0 bytes, 1 to 256 expected"),
    ([[0] * 257], "frame 0 of 257 bytes, 1 to 256 expected"),
])
def test_frame_lengths_refused(sim, qxt, port, frames, text):
    set_up_can(port)
    with raises_exactly(Exception, "Qx_Common_Xcp_WriteDtoTxFifo: " + text):
        write(qxt, port, frames)
    assert read_one(qxt, port)[0] == 0


def test_one_owned_frame_is_refused_beside_a_count_above_one(sim, port):
    with raises_exactly(ValueError, "single record given for several in method 'Qx_Common_Xcp_WriteDtoTxFifo', "
                                    "argument 4 of type 'Qx_Common_Xcp_WriteDtoTxFifo_Frame_t const *const'"):
        c.Qx_Common_Xcp_WriteDtoTxFifo(port, 0, 2, qxtest.new_record(c, "Qx_Common_Xcp_WriteDtoTxFifo_Frame_t"))
    assert sim.calls("Qx_Common_Xcp_WriteDtoTxFifo") == 0


@pytest.mark.parametrize("name, size", [(DTO_RX, 65536), (DTO_RX_TS, 65536), (CTO_RX, 256)])
def test_fresh_receive_frames_and_flag_width(name, size):
    frame = qxtest.new_record(c, name)
    assert getattr(c, name + "_Flags_get")(frame) == 0 and getattr(c, name + "_reserved_get")(frame) == 0
    assert getattr(c, name + "_Data_get")(frame) == [0] * size
    for value, stored in ((256, 0), (257, 1)):
        getattr(c, name + "_Flags_set")(frame, value)
        assert getattr(c, name + "_Flags_get")(frame) == stored
    message = f"in method '{name}_Flags_set', argument 2 of type '{name[:-8]}_Frame_Flags_t'"
    for value, exc in ((-1, OverflowError), (2**32, OverflowError), (1.0, TypeError)):
        with raises_exactly(exc, message):
            getattr(c, name + "_Flags_set")(frame, value)


@pytest.mark.parametrize("setter, exc, value, message", [
    ("Qx_Common_Xcp_ReadDtoRxFifo_Frame_t_Data_set", ValueError, None,
     "invalid null reference in variable 'Data' of type 'u8_t [0x10000]'"),
    ("Qx_Common_Xcp_ReadDtoRxFifoTs_Frame_t_Timestamp_set", ValueError, None,
     "invalid null reference in variable 'Timestamp' of type 'u8_t [8]'"),
    ("Qx_Common_Xcp_ReadCtoRxFifo_Frame_t_Data_set", ValueError, None,
     "invalid null reference in variable 'Data' of type 'u8_t [0x100]'"),
    ("Qx_Common_Xcp_WriteCtoTxFifo_Frame_t_Data_set", ValueError, None,
     "invalid null reference in variable 'Data' of type 'u8_t [256]'"),
    ("Qx_Common_Xcp_WriteDtoTxFifo_Frame_t_Data_set", TypeError, [1],
     "in method 'Qx_Common_Xcp_WriteDtoTxFifo_Frame_t_Data_set', argument 2 of type 'u8_t [0x10000]'"),
    ("Qx_Common_Xcp_ReadDtoRxFifo_Frame_t_Length_set", ValueError, None,
     "invalid null reference in method 'Qx_Common_Xcp_ReadDtoRxFifo_Frame_t_Length_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_ReadDtoRxFifo_Frame_t_Length_set", TypeError, 3,
     "in method 'Qx_Common_Xcp_ReadDtoRxFifo_Frame_t_Length_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t_Flags_set", ValueError, None,
     "invalid null reference in method 'Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t_Flags_set', argument 2 of type "
     "'Qx_Common_Xcp_ReadDtoRxFifo2_Frame_Flags_t'"),
    ("Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t_Flags_set", TypeError, 1,
     "in method 'Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t_Flags_set', argument 2 of type "
     "'Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_Flags_t'"),
])
def test_field_refusals_change_nothing(qxt, setter, exc, value, message):
    name = setter[:setter.index("_t_") + 2]
    obj = qxtest.new_record(c, name)
    with raises_exactly(exc, message):
        getattr(c, setter)(obj, value)
    size = layouts.size(name)
    assert bytes(qxt.qxt_read_u8(obj, size)) == bytes(size)


def test_sixteen_bit_fields_of_the_buffered_descriptors(qxt):
    d = qxtest.new_record(c, "Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t")
    c.Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t_Flags_set(d, u16(qxt, 0x8001))
    c.Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t_Length_set(d, u16(qxt, 0xFFFF))
    c.Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t_Offset_set(d, 2**32 - 1)
    assert u16_value(qxt, c.Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t_Flags_get(d)) == 0x8001
    assert bytes(qxt.qxt_read_u8(d, 16)) == pack(FIFO2_TS, Flags=0x8001, Length=0xFFFF, Offset=2**32 - 1)


def test_null_pointers_reach_the_library(sim, port):
    set_up_can(port)
    with raises_exactly(Exception, "Qx_Common_Xcp_ReadDtoRxFifo: no frame count cell given"):
        c.Qx_Common_Xcp_ReadDtoRxFifo(port, 0, None, None)
    call = sim.last("Qx_Common_Xcp_ReadDtoRxFifo")
    assert call.arg(3).is_null and call.arg(4).is_null


def test_argument_refusals(sim, port):
    for args in ((port, 0, 0, 0, None, None), (port, 0, 0, 0, None, None, None, None)):
        with raises_exactly(TypeError, f"Qx_Common_Xcp_ReadDtoRxFifo2 expected 7 arguments, got {len(args)}"):
            c.Qx_Common_Xcp_ReadDtoRxFifo2(*args)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_ReadDtoRxFifo2', argument 5 of type 'u8_t *const'"):
        c.Qx_Common_Xcp_ReadDtoRxFifo2(port, 0, 0, 0, qxtest.new_record(q, "int_p"), None, None)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_ReadDtoRxFifo', argument 1 of type 'Qx_PortHandle_t'"):
        c.Qx_Common_Xcp_ReadDtoRxFifo("1", 0, None, None)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_ReadCtoRxFifo', argument 4 of type "
                                   "'Qx_Common_Xcp_ReadCtoRxFifo_Frame_t *const'"):
        c.Qx_Common_Xcp_ReadCtoRxFifo(port, 0, None, qxtest.new_record(c, "Qx_Common_Xcp_ReadDtoRxFifo_Frame_t"))
    assert sim.calls("Qx_Common_Xcp_ReadDtoRxFifo2") == sim.calls("Qx_Common_Xcp_ReadCtoRxFifo") == 0
