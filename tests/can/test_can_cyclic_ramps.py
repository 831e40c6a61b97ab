"""Ramps and multiplexed bytes of cyclic messages, and the four ramp records,
through the simulated CAN library."""
import ctypes
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")
common = qxtest.module("_qx_api_common")

import _qx_api as base  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

ID = 0x123
DEFINE = "Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t"
INC = "Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t"
SYNC = "Qx_Can_CyclicMsgs_Ramp_SyncRamp_t"
MODE = "Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t"
# The signal that make_signal() makes by default.
SIGNAL = dict(Size=8, ByteOrder=0, Offset=2)




@pytest.fixture
def port(port):
    """The shared CAN port, with the cyclic message the tests use."""
    can.Qx_Can_CyclicMsgs_DefineMsg(port, ID, 100, 0, 1, 0, [0] * 8, 8)
    return port


def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


def define_ramp(port, signal, **fields):
    params = record(DEFINE, Id=ID, Signal=signal, MinValue=10, MaxValue=200, **fields)
    can.Qx_Can_CyclicMsgs_Ramp_Define(port, params)
    return params


def get_state(port, signal, qxt):
    cells = [qxtest.new_record(base, "int_p") for _ in range(3)] + [qxt.qxt_u16_array([0])]
    can.Qx_Can_CyclicMsgs_Ramp_GetState(port, ID, signal, *cells)
    return [base.int_p_value(c) for c in cells[:3]] + qxt.qxt_read_u16(cells[3], 1)


# ---- ramp definition and state ----------------------------------------------------

def test_ramp_define_sends_the_whole_record(sim, port, make_signal, qxt):
    params = record(DEFINE, Id=ID, Signal=make_signal(8, 1, 0x304), Mode=0x102, Direction=1, MinValue=0x10005,
                    MaxValue=0xFFFF, UpdateRate=20, Increment=qxt.qxt_f64_array([2.5]), RampSum=0xFFFFFFFF, NumberOfFlanks=6,
                    reserved1=7, reserved2=8)
    assert can.Qx_Can_CyclicMsgs_Ramp_Define(port, params) is None
    call = sim.last("Qx_Can_CyclicMsgs_Ramp_Define")
    assert call.arg(2).value == int(params)
    # Mode and MinValue keep their low bits only.
    assert call.arg(2).bytes == pack(DEFINE, Id=ID, Signal=dict(Size=8, ByteOrder=1, Offset=0x304), Mode=2,
                                     Direction=1, MinValue=5, MaxValue=0xFFFF, UpdateRate=20, Increment=2.5,
                                     RampSum=0xFFFFFFFF, NumberOfFlanks=6, reserved1=7, reserved2=8)


def test_ramp_get_state_takes_three_int_p_and_a_u16_cell(sim, port, make_signal, qxt):
    signal = make_signal()
    define_ramp(port, signal)
    for argno, value in [(4, 0xFFFFFFF1), (5, 0x80000002), (6, 3)]:
        sim.output("Qx_Can_CyclicMsgs_Ramp_GetState", argno, struct.pack("<I", value))
    sim.output("Qx_Can_CyclicMsgs_Ramp_GetState", 7, struct.pack("<H", 0xFFFE))
    assert get_state(port, signal, qxt) == [0xFFFFFFF1, 0x80000002, 3, 0xFFFE]
    call = sim.last("Qx_Can_CyclicMsgs_Ramp_GetState")
    assert call.arg(3).bytes == pack("Qx_Common_Signal_t", **SIGNAL)


def test_ramp_get_state_refuses_an_int_p_for_the_16_bit_cell(sim, port, make_signal):
    cells = [qxtest.new_record(base, "int_p") for _ in range(4)]
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_Ramp_GetState', argument 7 of type 'u16_t *const'"):
        can.Qx_Can_CyclicMsgs_Ramp_GetState(port, ID, make_signal(), *cells)
    assert sim.calls("Qx_Can_CyclicMsgs_Ramp_GetState") == 0


def test_ramp_get_state_passes_null_cells(sim, port, make_signal):
    signal = make_signal()
    define_ramp(port, signal)
    with raises(Exception, "Qx_Can_CyclicMsgs_Ramp_GetState: no output cell given"):
        can.Qx_Can_CyclicMsgs_Ramp_GetState(port, ID, signal, None, None, None, None)
    assert all(sim.last("Qx_Can_CyclicMsgs_Ramp_GetState").arg(n).is_null for n in (4, 5, 6, 7))


def test_ramp_sum_reads_back_and_resets(port, make_signal, qxt):
    signal = make_signal()
    define_ramp(port, signal, RampSum=77)
    assert get_state(port, signal, qxt) == [0, 0, 77, 10]
    can.Qx_Can_CyclicMsgs_Ramp_ResetRampSum(port, ID, signal)
    can.Qx_Can_CyclicMsgs_StartMsg(port, ID)
    assert get_state(port, signal, qxt) == [1, 0, 0, 10]


@pytest.mark.parametrize("function, extra", [
    ("Qx_Can_CyclicMsgs_Ramp_Delete", ()),
    ("Qx_Can_CyclicMsgs_Ramp_ResetRampSum", ()),
    ("Qx_Can_CyclicMsgs_Ramp_GetState", (None, None, None, None)),
])
def test_signal_functions_refuse_none_and_unknown_ramps(sim, port, make_signal, function, extra):
    with raises(ValueError, f"invalid null reference in method '{function}', argument 3 of type "
                            "'Qx_Common_Signal_t const'"):
        getattr(can, function)(port, ID, None, *extra)
    assert sim.calls(function) == 0
    with raises(Exception, f"{function}: no ramp defined on the signal at offset 2 (8 bits) of cyclic message 0x123"):
        getattr(can, function)(port, ID, make_signal(), *extra)


def test_ramp_delete_removes_the_ramp(sim, port, make_signal):
    signal = make_signal()
    define_ramp(port, signal)
    can.Qx_Can_CyclicMsgs_Ramp_Delete(port, ID, signal)
    assert sim.last("Qx_Can_CyclicMsgs_Ramp_Delete").arg(3).bytes == pack("Qx_Common_Signal_t", **SIGNAL)
    with raises(Exception, "Qx_Can_CyclicMsgs_Ramp_Delete: no ramp defined on the signal at offset 2 (8 bits) "
                           "of cyclic message 0x123"):
        can.Qx_Can_CyclicMsgs_Ramp_Delete(port, ID, signal)


def test_ramp_change_mode_passes_the_count_and_one_record(sim, port, make_signal):
    signal = make_signal()
    define_ramp(port, signal)
    ramps = record(MODE, Id=ID, Signal=signal, Mode=257)
    can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, 1, ramps)
    call = sim.last("Qx_Can_CyclicMsgs_Ramp_ChangeMode")
    assert call.arg(2).value == 1
    assert call.arg(3).bytes == pack(MODE, Id=ID, Signal=SIGNAL, Mode=1)
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_Ramp_ChangeMode', argument 3 of type "
                           "'Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t const *const'"):
        can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, 1, qxtest.new_record(can, "Qx_Can_CyclicMsgs_Ramp_SyncRamp_t"))


def test_a_new_change_mode_record_is_twelve_zero_bytes(sim, port):
    with raises(Exception, f"Qx_Can_CyclicMsgs_Ramp_ChangeMode: no cyclic message 0x0 defined on port 0x{port:08X}"):
        can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, 1, qxtest.new_record(can, "Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t"))
    assert sim.last("Qx_Can_CyclicMsgs_Ramp_ChangeMode").arg(3).bytes == bytes(12)


# ---- incremental ramps and the synchronising record ------------------------------------

def test_inc_ramp_sends_its_record_with_the_sync_ramp_address(sim, port, make_signal):
    signal = make_signal()
    define_ramp(port, signal)
    sync = record(SYNC, Id=ID, Signal=signal, Mode=1, reserved1=1, reserved2=2, reserved3=3, MinValue=4,
                  MaxValue=0x10005)
    params = record(INC, Id=ID, Signal=make_signal(16, 1, 24), MinValue=1, MaxValue=2, CycleTime=3,
                    NumberOfFlanks=4, Direction=5, reserved1=6, reserved2=7, reserved3=8, SyncRamp=sync)
    can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp(port, params)
    sent = sim.last("Qx_Can_CyclicMsgs_Ramp_DefineIncRamp").arg(2).bytes
    assert sent == pack(INC, Id=ID, Signal=dict(Size=16, ByteOrder=1, Offset=24), MinValue=1, MaxValue=2,
                        CycleTime=3, NumberOfFlanks=4, Direction=5, reserved1=6, reserved2=7, reserved3=8,
                        SyncRamp=int(sync))
    assert ctypes.string_at(int(sync), 16) == pack(SYNC, Id=ID, Signal=SIGNAL, Mode=1, reserved1=1, reserved2=2,
                                                   reserved3=3, MinValue=4, MaxValue=5)


def test_inc_ramp_with_an_unknown_sync_ramp_is_refused(port, make_signal):
    params = record(INC, Id=ID, Signal=make_signal(), SyncRamp=record(SYNC, Id=ID, Signal=make_signal(4)))
    with raises(Exception, "Qx_Can_CyclicMsgs_Ramp_DefineIncRamp: no ramp defined on the signal at offset 2 (4 bits) "
                           "of cyclic message 0x123"):
        can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp(port, params)


def test_sync_ramp_member_takes_ownership_and_reads_the_same_record():
    params, sync = qxtest.new_record(can, INC), qxtest.new_record(can, SYNC)
    assert sync.own()
    can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t_SyncRamp_set(params, sync)
    assert not sync.own()
    stored = can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t_SyncRamp_get(params)
    assert int(stored) == int(sync) and not stored.own()
    can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t_SyncRamp_set(params, None)
    assert can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t_SyncRamp_get(params) is None
    with raises(TypeError, f"in method '{INC}_SyncRamp_set', argument 2 of type '{SYNC} *'"):
        can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t_SyncRamp_set(params, qxtest.new_record(can, "Qx_Can_Data_t"))


# ---- members of the ramp records -------------------------------------------------------

@pytest.mark.parametrize("name", [DEFINE, MODE, SYNC, INC])
def test_signal_members_are_copied_in_and_out(name, make_signal):
    obj = qxtest.new_record(can, name)
    getattr(can, f"{name}_Signal_set")(obj, make_signal(12))
    first, second = qxtest.owned([getattr(can, f"{name}_Signal_get")(obj) for _ in range(2)])
    assert first.own() and int(first) != int(second)
    common.Qx_Common_Signal_t_Size_set(first, 99)
    assert common.Qx_Common_Signal_t_Size_get(qxtest.owned(getattr(can, f"{name}_Signal_get")(obj))) == 12
    getattr(can, f"{name}_Signal_set")(obj, first)
    assert common.Qx_Common_Signal_t_Size_get(qxtest.owned(getattr(can, f"{name}_Signal_get")(obj))) == 99
    with raises(ValueError, f"invalid null reference in method '{name}_Signal_set', argument 2 of type "
                            "'Qx_Common_Signal_t'"):
        getattr(can, f"{name}_Signal_set")(obj, None)
    assert common.Qx_Common_Signal_t_Size_get(qxtest.owned(getattr(can, f"{name}_Signal_get")(obj))) == 99


def test_increment_is_copied_between_records(qxt):
    source, target = qxtest.new_record(can, DEFINE), qxtest.new_record(can, DEFINE)
    assert qxt.qxt_read_f64(qxtest.owned(can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_get(source)), 1) == [0.0]
    value = qxt.qxt_f64_array([-0.75])
    can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_set(source, value)
    copy = qxtest.owned(can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_get(source))
    assert copy.own() and int(copy) != int(value)
    can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_set(target, copy)
    ctypes.c_double.from_address(int(copy)).value = 9.0
    result = qxtest.owned(can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_get(target))
    assert int(result) not in (int(copy), int(value))
    assert qxt.qxt_read_f64(result, 1) == [-0.75]


@pytest.mark.parametrize("value, cls, message", [
    (None, ValueError, f"invalid null reference in method '{DEFINE}_Increment_set', argument 2 of type 'float64_t'"),
    (1.5, TypeError, f"in method '{DEFINE}_Increment_set', argument 2 of type 'float64_t'"),
])
def test_increment_takes_only_float64_objects(value, cls, message):
    with raises(cls, message):
        can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t_Increment_set(qxtest.new_record(can, DEFINE), value)


# ---- multiplexed bytes ---------------------------------------------------------------

def test_multiplex_bytes_pass_data_records_by_address(sim, port):
    values, mask = qxtest.new_record(can, "Qx_Can_Data_t"), qxtest.new_record(can, "Qx_Can_Data_t")
    can.Qx_Can_Data_t_U8_set(values, list(range(64)))
    can.Qx_Can_CyclicMsgs_MultiplexBytes_Define(port, ID, 0x103, 4, values, mask)
    call = sim.last("Qx_Can_CyclicMsgs_MultiplexBytes_Define")
    assert [call.arg(n).value for n in (2, 3, 4, 5, 6)] == [ID, 3, 4, int(values), int(mask)]
    assert call.arg(5).bytes == bytes(range(64))
    can.Qx_Can_CyclicMsgs_MultiplexBytes_Stop(port, ID, None, None)
    call = sim.last("Qx_Can_CyclicMsgs_MultiplexBytes_Stop")
    assert call.arg(3).is_null and call.arg(4).is_null
    with raises(Exception, "Qx_Can_CyclicMsgs_MultiplexBytes_Stop: cyclic message 0x123 has no multiplexed bytes"):
        can.Qx_Can_CyclicMsgs_MultiplexBytes_Stop(port, ID, None, None)


def test_multiplex_bytes_pass_null_records(sim, port):
    with raises(Exception, "Qx_Can_CyclicMsgs_MultiplexBytes_Define: no values or mask given"):
        can.Qx_Can_CyclicMsgs_MultiplexBytes_Define(port, ID, 0, 1, None, None)
    call = sim.last("Qx_Can_CyclicMsgs_MultiplexBytes_Define")
    assert call.arg(5).is_null and call.arg(6).is_null


def test_multiplex_bytes_refuse_other_records(sim, port):
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_MultiplexBytes_Stop', argument 4 of type "
                           "'Qx_Can_Data_t const *const'"):
        can.Qx_Can_CyclicMsgs_MultiplexBytes_Stop(port, ID, None, qxtest.new_record(can, "Qx_Can_CyclicMsgs_Ramp_SyncRamp_t"))
    assert sim.calls("Qx_Can_CyclicMsgs_MultiplexBytes_Stop") == 0


def test_ramp_functions_count_their_arguments(port):
    with raises(TypeError, "Qx_Can_CyclicMsgs_Ramp_GetState expected 7 arguments, got 3"):
        can.Qx_Can_CyclicMsgs_Ramp_GetState(port, ID, None)
