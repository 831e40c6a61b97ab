"""The transmit trace: allocation, download, play, state, properties and
free, through the simulated CAN library."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import _qx_api as base  # noqa: E402
from layouts import pack, size  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

MSG = "Qx_Can_TxTrace_Msg_t"
NUMBER = can.QX_CAN__TX_TRACE__PROPERTY_ID__REPETITIONS__NUMBER
COUNTER = can.QX_CAN__TX_TRACE__PROPERTY_ID__REPETITIONS__COUNTER


def allocate(port):
    cell = qxtest.new_record(base, "int_p")
    assert can.Qx_Can_TxTrace_Allocate(port, cell) is None
    return base.int_p_value(cell)


def message(**fields):
    return qxtest.new_record(can, MSG, **fields)


def get_state(port, handle):
    state = qxtest.new_record(can, "Qx_Can_TxTrace_GetState_Rsp_t")
    can.Qx_Can_TxTrace_GetState(port, handle, state)
    return [getattr(can, f"Qx_Can_TxTrace_GetState_Rsp_t_{f}_get")(state)
            for f in ("Flags", "NumberOfMessages", "CurrentMessage")]


def get_property(port, handle, prop):
    cell = qxtest.new_record(base, "int_p")
    assert can.Qx_Can_TxTrace_Property_GetById(port, handle, prop, cell) is None
    return base.int_p_value(cell)


@pytest.fixture
def trace(port):
    return allocate(port)


def test_the_property_ids_are_the_last_constants():
    assert (NUMBER, COUNTER, can.QX_CAN__TX_TRACE__PROPERTY_ID__UNKNOWN) == (0, 1, 2)


def test_allocate_writes_the_handle_into_the_callers_cell(sim, port):
    first = allocate(port)
    cell = qxtest.new_record(base, "int_p")
    base.int_p_assign(cell, 0xFFFFFFFF)
    assert can.Qx_Can_TxTrace_Allocate(port, cell) is None
    assert sim.last("Qx_Can_TxTrace_Allocate").arg(2).value == int(cell)
    assert first and base.int_p_value(cell) not in (first, 0xFFFFFFFF)
    sim.output("Qx_Can_TxTrace_Allocate", 2, struct.pack("<I", 0x12345678))
    assert allocate(port) == 0x12345678
    with raises(TypeError, "in method 'Qx_Can_TxTrace_Allocate', argument 2 of type "
                           "'Qx_Can_TxTrace_TraceHandle_t *'"):
        can.Qx_Can_TxTrace_Allocate(port, qxtest.new_record(can, "Qx_Can_TxTrace_GetState_Rsp_t"))


def test_a_trace_runs_allocate_download_play_free(sim, port, trace):
    msg = message(Delay=0xFFFFFFFF, Id=0x18DAF110, Dlc=15, MsgFlags=3, reserved1=1, reserved2=2, Data=list(range(64)))
    assert can.Qx_Can_TxTrace_Download(port, trace, 1, 0x80000000, msg) is None
    call = sim.last("Qx_Can_TxTrace_Download")
    assert [call.arg(n).value for n in range(1, 6)] == [port, trace, 1, 0x80000000, int(msg)]
    assert call.arg(5).bytes == pack(MSG, Delay=0xFFFFFFFF, Id=0x18DAF110, Dlc=15, MsgFlags=3, reserved1=1,
                                     reserved2=2, Data=list(range(64)))
    can.Qx_Can_TxTrace_Download(port, trace, 1, 0, message())  # downloads append
    assert get_state(port, trace) == [0, 2, 0]
    assert can.Qx_Can_TxTrace_Play(port, trace, 7) is None
    assert sim.last("Qx_Can_TxTrace_Play").arg(3).value == 7
    assert get_state(port, trace) == [1, 2, 0]
    with raises(Exception, f"Qx_Can_TxTrace_Download: transmit trace {trace} is playing"):
        can.Qx_Can_TxTrace_Download(port, trace, 1, 0, message())
    assert can.Qx_Can_TxTrace_Free(port, trace) is None
    with raises(Exception, f"Qx_Can_TxTrace_GetState: no transmit trace {trace} allocated on port 0x{port:08X}"):
        get_state(port, trace)


def test_a_block_of_messages_comes_from_a_view_of_several(sim, port, trace, qxt):
    block = qxt.qxt_view(f"{MSG} *", 3 * size(MSG))
    can.Qx_Can_TxTrace_Download(port, trace, 3, 0, block)
    assert sim.last("Qx_Can_TxTrace_Download").arg(5).size == 3 * size(MSG)
    assert get_state(port, trace)[1] == 3


def test_one_owned_message_is_refused_beside_a_count_above_one(sim, port, trace):
    with raises(ValueError, "single record given for several in method 'Qx_Can_TxTrace_Download', argument 5 of "
                            "type 'Qx_Can_TxTrace_Msg_t *'"):
        can.Qx_Can_TxTrace_Download(port, trace, 2, 0, message())
    assert sim.calls("Qx_Can_TxTrace_Download") == 0


def test_a_count_of_zero_passes_through(sim, port, trace):
    msg = message()
    assert can.Qx_Can_TxTrace_Download(port, trace, 0, 0, msg) is None
    call = sim.last("Qx_Can_TxTrace_Download")
    assert call.arg(3).value == 0 and call.arg(5).value == int(msg)
    with raises(Exception, f"Qx_Can_TxTrace_Play: transmit trace {trace} holds no messages"):
        can.Qx_Can_TxTrace_Play(port, trace, 0)


@pytest.mark.parametrize("call, exc, message_text", [
    (lambda p, t: can.Qx_Can_TxTrace_Download(p, t, "1", 0, None), TypeError,
     "in method 'Qx_Can_TxTrace_Download', argument 3 of type 'u32_t'"),
    (lambda p, t: can.Qx_Can_TxTrace_Download(p, t, 1, 0, qxtest.new_record(can, "Qx_Can_TxTrace_GetState_Rsp_t")), TypeError,
     "in method 'Qx_Can_TxTrace_Download', argument 5 of type 'Qx_Can_TxTrace_Msg_t *'"),
    (lambda p, t: can.Qx_Can_TxTrace_Free(p, -1), OverflowError,
     "in method 'Qx_Can_TxTrace_Free', argument 2 of type 'Qx_Can_TxTrace_TraceHandle_t'"),
    (lambda p, t: can.Qx_Can_TxTrace_Property_SetById(p, t, -1, 0), OverflowError,
     "in method 'Qx_Can_TxTrace_Property_SetById', argument 3 of type 'u16_t'"),
    (lambda p, t: can.Qx_Can_TxTrace_Property_GetById(p, t, 0, qxtest.new_record(can, "Qx_Can_TxTrace_Msg_t")), TypeError,
     "in method 'Qx_Can_TxTrace_Property_GetById', argument 4 of type 'u32_t *const'"),
    (lambda p, t: can.Qx_Can_TxTrace_GetState(p, t, qxtest.new_record(base, "int_p")), TypeError,
     "in method 'Qx_Can_TxTrace_GetState', argument 3 of type 'Qx_Can_TxTrace_GetState_Rsp_t *'"),
])
def test_arguments_are_refused_before_anything_is_sent(sim, port, trace, call, exc, message_text):
    with raises(exc, message_text):
        call(port, trace)
    assert sim.journal()[-1].function == "Qx_Can_TxTrace_Allocate"


def test_repetitions_property_reads_back_and_ids_keep_16_bits(sim, port, trace):
    assert can.Qx_Can_TxTrace_Property_SetById(port, trace, 65536, 5) is None  # 65536 is NUMBER
    assert sim.last("Qx_Can_TxTrace_Property_SetById").arg(3).value == NUMBER
    assert get_property(port, trace, NUMBER) == 5
    assert get_property(port, trace, 65537) == 0  # COUNTER
    assert sim.last("Qx_Can_TxTrace_Property_GetById").arg(3).value == COUNTER
    with raises(Exception, "Qx_Can_TxTrace_Property_SetById: transmit trace property 1 is read only"):
        can.Qx_Can_TxTrace_Property_SetById(port, trace, COUNTER, 1)
    with raises(Exception, "Qx_Can_TxTrace_Property_GetById: unknown transmit trace property 2"):
        get_property(port, trace, can.QX_CAN__TX_TRACE__PROPERTY_ID__UNKNOWN)


def test_a_failing_state_read_leaves_the_record_alone(sim, port, trace):
    state = qxtest.new_record(can, "Qx_Can_TxTrace_GetState_Rsp_t", Flags=9, NumberOfMessages=8, CurrentMessage=7)
    sim.fail("Qx_Can_TxTrace_GetState", text=b"trace lost")
    with raises(Exception, "trace lost"):
        can.Qx_Can_TxTrace_GetState(port, trace, state)
    assert can.Qx_Can_TxTrace_GetState_Rsp_t_NumberOfMessages_get(state) == 8


def test_an_unknown_handle_fails(port):
    for call in (lambda: can.Qx_Can_TxTrace_Free(port, 0), lambda: can.Qx_Can_TxTrace_Play(port, 99, 0)):
        with pytest.raises(Exception) as info:
            call()
        assert f"allocated on port 0x{port:08X}" in str(info.value)


def test_a_port_holds_four_traces(port):
    handles = [allocate(port) for _ in range(4)]
    with raises(Exception, f"Qx_Can_TxTrace_Allocate: all 4 transmit traces of port 0x{port:08X} are allocated"):
        allocate(port)
    can.Qx_Can_TxTrace_Free(port, handles[1])
    assert allocate(port) not in handles  # handles are not reused


# ---- the message record --------------------------------------------------------------------------

@pytest.mark.parametrize("value, exc, text", [
    ([1] * 8, ValueError, "Expecting a sequence with 64 elements"),
    (3, TypeError, "Expecting a sequence"),
    ([0] * 63 + ["x"], ValueError, "Expecting a sequence of u8_t"),
])
def test_message_data_needs_all_64_bytes(value, exc, text):
    msg = message(Data=tuple(range(64)))
    with raises(exc, f"fail in 'Qx_Can_TxTrace_Msg_t_Data_set' : {text}"):
        can.Qx_Can_TxTrace_Msg_t_Data_set(msg, value)
    assert can.Qx_Can_TxTrace_Msg_t_Data_get(msg) == list(range(64))
