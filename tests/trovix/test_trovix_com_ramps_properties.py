"""Trovix transmit-PDU ramps and properties: ramps of transmit-PDU signal
values configured, started and stopped, and the numbered properties of a
transmit PDU set and read; the records Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t
(float64_t bounds and steps in pointer objects) and
Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t."""
import pytest

import _qx_api as base
import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

RAMP = "Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t"
CTRL = "Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t"
F64 = ["Min", "Max", "Increment", "SumOfIncrements"]
CONTROL, SET, GET = (tv.Qx_Trovix_Com_TxPdu_Ramp_Control, tv.Qx_Trovix_Com_TxPdu_Property_SetById,
                     tv.Qx_Trovix_Com_TxPdu_Property_GetById)
TRUE_PERIOD = tv.QX_TROVIX__COM__TX_PDU__PROPERTY_ID__TX_MODE__TRUE__TIME_PERIOD
FALSE_PERIOD = tv.QX_TROVIX__COM__TX_PDU__PROPERTY_ID__TX_MODE__FALSE__TIME_PERIOD
LENGTH = tv.QX_TROVIX__COM__TX_PDU__PROPERTY_ID__PDU_LENGTH__CURRENT
START, STOP = tv.QX_TROVIX__COM__TX_PDU__RAMP__CONTROL__MODE__START, tv.QX_TROVIX__COM__TX_PDU__RAMP__CONTROL__MODE__STOP


@pytest.fixture
def com(tport):
    """Transmit PDU 10 (8 bytes, time periods 100 when true and 200 when
    false) with signals 1 and 2; Com not started."""
    tv.Qx_Trovix_Com_TxPdu_MaxNumber(tport, 1)
    tv.Qx_Trovix_Com_TxPdu_Config(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t", TxPduId=10,
                                                           PduLength=8, NumberOfSignals=2))
    for signal in (1, 2):
        tv.Qx_Trovix_Com_TxPdu_Signal(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Signal_Parameters_t", TxPduId=10,
                                                               TxPduSignalId=signal, BitPosition=16 * signal, BitSize=16))
    mode = qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_TxMode_Parameters_t", TxPduId=10, TxMode=2, TimePeriod=100)
    tv.Qx_Trovix_Com_TxPdu_TxMode_True(tport, mode)
    tv.Qx_Trovix_Com_TxPdu_TxMode_Parameters_t_TimePeriod_set(mode, 200)
    tv.Qx_Trovix_Com_TxPdu_TxMode_False(tport, mode)
    return tport


@pytest.fixture
def ramped(com):
    """The same port with a ramp on signal 1 and Com started."""
    tv.Qx_Trovix_Com_TxPdu_Ramp_Config(com, qxtest.new_record(tv, RAMP, TxPduId=10, TxPduSignalId=1))
    tv.Qx_Trovix_Com_Init(com)
    return com


@pytest.fixture
def cell():
    made = qxtest.new_record(base, "int_p")
    yield made
    base.delete_int_p(made)


def f64(qxt, value):
    return qxt.qxt_f64_array([value])


# ---- records ---------------------------------------------------------------------

@pytest.mark.parametrize("name", [RAMP, CTRL])
def test_fresh_record_reads_zero_in_every_field(qxt, name):
    record = qxtest.new_record(tv, name)
    got = {}
    for field in layouts.record(name).fields:
        value = qxtest.owned(getattr(tv, f"{name}_{field}_get")(record))
        got[field] = qxt.qxt_read_f64(value, 1)[0] if field in F64 else value
    assert got == layouts.unpack(name, bytes(layouts.size(name)))


@pytest.mark.parametrize("name, field, declared", [
    (RAMP, "Flags", "Qx_Trovix_Com_TxPdu_Ramp_Config_CmdFlags_t"), (RAMP, "UpdateRate", "u16_t"),
    (CTRL, "TxPduSignalId", "u32_t"),
])
def test_fields_refuse_what_no_u32_is_and_stay_unchanged(name, field, declared):
    record = qxtest.new_record(tv, name, **{field: 9})
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), (9.0, TypeError)):
        with qxtest.raises_exactly(exc, f"in method '{name}_{field}_set', argument 2 of type '{declared}'"):
            getattr(tv, f"{name}_{field}_set")(record, bad)
    assert getattr(tv, f"{name}_{field}_get")(record) == 9


@pytest.mark.parametrize("field", F64)
def test_float64_fields_take_pointer_objects_only(qxt, field):
    record = qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t")
    setter, getter = getattr(tv, f"{RAMP}_{field}_set"), getattr(tv, f"{RAMP}_{field}_get")
    setter(record, f64(qxt, 2.5))
    message = f"in method '{RAMP}_{field}_set', argument 2 of type 'float64_t'"
    with qxtest.raises_exactly(ValueError, "invalid null reference " + message):
        setter(record, None)
    for bad in (1.5, 1, qxtest.new_record(base, "char_p")):
        with qxtest.raises_exactly(TypeError, message):
            setter(record, bad)
    assert qxt.qxt_read_f64(qxtest.owned(getter(record)), 1) == [2.5]


def test_a_float64_copy_moves_between_records_and_outlives_changes(qxt):
    first, second = qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t"), qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t")
    tv.Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t_Min_set(first, f64(qxt, -7.25))
    copy = qxtest.owned(tv.Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t_Min_get(first))
    tv.Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t_Max_set(second, copy)
    tv.Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t_Min_set(first, f64(qxt, 1.0))
    assert qxt.qxt_read_f64(copy, 1) == [-7.25]
    assert qxt.qxt_read_f64(qxtest.owned(tv.Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t_Max_get(second)), 1) == [-7.25]


# ---- ramps ----------------------------------------------------------------------------

def test_ramp_reaches_the_library_whole(sim, qxt, com):
    fields = dict(Flags=0x80000001, TxPduId=10, TxPduSignalId=2, RampType=tv.QX_TROVIX__RAMP_TYPE__SAWTOOTH,
                  RampDirection=tv.QX_TROVIX__RAMP_DIRECTION__DOWN, UpdateRate=0xFFFF, EdgeCount=3,
                  HoldStates_OnMin=4, HoldStates_OnMax=0xFFFFFFFF, reserved1=1, reserved2=2, reserved3=3, reserved4=4)
    floats = dict(Min=-10.5, Max=10.5, Increment=0.25, SumOfIncrements=1e300)
    record = qxtest.new_record(tv, RAMP, **fields, **{k: f64(qxt, v) for k, v in floats.items()})
    assert tv.Qx_Trovix_Com_TxPdu_Ramp_Config(com, record) is None
    call = sim.last("Qx_Trovix_Com_TxPdu_Ramp_Config")
    assert call.arg(1).value == com and call.arg(2).size == 64
    assert layouts.unpack(RAMP, call.arg(2).bytes) == dict(fields, **floats)


def test_control_passes_its_ramps_beside_their_number(sim, qxt, ramped):
    ramp = qxtest.new_record(tv, CTRL, TxPduId=10, TxPduSignalId=1, Mode=START, reserved3=7)
    assert CONTROL(ramped, 0xF0000001, 1, ramp) is None
    call = sim.last("Qx_Trovix_Com_TxPdu_Ramp_Control")
    assert [call.arg(n).value for n in (1, 2, 3)] == [ramped, 0xF0000001, 1]
    assert layouts.unpack(CTRL, call.arg(4).bytes) == dict(TxPduId=10, TxPduSignalId=1, Mode=START, reserved1=0,
                                                           reserved2=0, reserved3=7)
    tv.Qx_Trovix_Com_TxPdu_Ramp_Config(ramped, qxtest.new_record(tv, RAMP, TxPduId=10, TxPduSignalId=2))
    two = [dict(TxPduId=10, TxPduSignalId=1, Mode=STOP), dict(TxPduId=10, TxPduSignalId=2, Mode=START)]
    packed = b"".join(layouts.pack(CTRL, **r) for r in two)
    assert CONTROL(ramped, 0, 2, qxt.qxt_view_of(CTRL + " *", list(packed))) is None   # storage for two
    assert sim.last("Qx_Trovix_Com_TxPdu_Ramp_Control").arg(4).bytes == packed


def test_control_with_no_ramps_passes_a_null_pointer(sim, ramped):
    assert CONTROL(ramped, 0, 256, None) is None                          # the count truncated to 0
    call = sim.last("Qx_Trovix_Com_TxPdu_Ramp_Control")
    assert call.arg(3).value == 0 and call.arg(4).is_null
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Ramp_Control: no ramps given"):
        CONTROL(ramped, 0, 1, None)


@pytest.mark.parametrize("args, exc, message", [
    ((0, 2, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t")), ValueError,
     f"single record given for several in method 'Qx_Trovix_Com_TxPdu_Ramp_Control', argument 4 of type "
     f"'{CTRL} const *const'"),
    ((0, "1", None), TypeError, "in method 'Qx_Trovix_Com_TxPdu_Ramp_Control', argument 3 of type 'u8_t'"),
    ((0, 1, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t")), TypeError,
     f"in method 'Qx_Trovix_Com_TxPdu_Ramp_Control', argument 4 of type '{CTRL} const *const'"),
    ((0, 1), TypeError, "Qx_Trovix_Com_TxPdu_Ramp_Control expected 4 arguments, got 3"),
])
def test_control_arguments_refused_before_the_call(sim, ramped, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        CONTROL(ramped, *args)
    assert sim.calls("Qx_Trovix_Com_TxPdu_Ramp_Control") == 0


@pytest.mark.parametrize("fields, text", [
    (dict(TxPduSignalId=3), "unknown signal 3 of transmit PDU 10"),
    (dict(TxPduSignalId=1, RampType=2), "unknown ramp type 2"),
    (dict(TxPduSignalId=1, RampDirection=2), "unknown ramp direction 2"),
    (dict(TxPduSignalId=1, Min=5.0, Max=-5.0), "Min 5 is not at most Max -5"),
])
def test_stack_refuses_ramps_it_cannot_run(qxt, com, fields, text):
    record = qxtest.new_record(tv, RAMP, TxPduId=10, **{k: f64(qxt, v) if k in F64 else v for k, v in fields.items()})
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_Com_TxPdu_Ramp_Config: {text}"):
        tv.Qx_Trovix_Com_TxPdu_Ramp_Config(com, record)


@pytest.mark.parametrize("ramp, text", [
    (dict(TxPduId=10, TxPduSignalId=2), "ramp 0: no ramp configured for signal 2 of transmit PDU 10"),
    (dict(TxPduId=10, TxPduSignalId=1, Mode=2), "ramp 0: unknown mode 2"),
])
def test_control_needs_configured_ramps_and_known_modes(ramped, ramp, text):
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_Com_TxPdu_Ramp_Control: {text}"):
        CONTROL(ramped, 0, 1, qxtest.new_record(tv, CTRL, **ramp))


def test_ramps_are_configured_at_any_time_and_controlled_while_com_runs(com):
    ramp = qxtest.new_record(tv, CTRL, TxPduId=10, TxPduSignalId=1)
    tv.Qx_Trovix_Com_TxPdu_Ramp_Config(com, qxtest.new_record(tv, RAMP, TxPduId=10, TxPduSignalId=1))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Ramp_Control: Com is not started"):
        CONTROL(com, 0, 1, ramp)
    tv.Qx_Trovix_Com_Init(com)
    assert CONTROL(com, 0, 1, ramp) is None


# ---- properties ------------------------------------------------------------------------

def test_properties_answer_the_configuration_then_what_was_set(sim, ramped, cell):
    got = []
    for prop in (TRUE_PERIOD, FALSE_PERIOD, LENGTH):
        assert GET(ramped, 10, prop, cell) is None
        got.append(base.int_p_value(cell))
    assert got == [100, 200, 8]
    for prop, value in ((TRUE_PERIOD, 2**32 - 1), (FALSE_PERIOD, 0), (LENGTH, 5)):
        assert SET(ramped, 10, prop, value) is None
        call = sim.last("Qx_Trovix_Com_TxPdu_Property_SetById")
        assert [call.arg(n).value for n in (1, 2, 3, 4)] == [ramped, 10, prop, value]
        GET(ramped, 10, prop, cell)
        assert base.int_p_value(cell) == value
    assert [sim.last("Qx_Trovix_Com_TxPdu_Property_GetById").arg(n).value for n in (2, 3)] == [10, LENGTH]


def test_the_current_length_bounds_writes_and_reads(qxt, ramped, cell):
    SET(ramped, 10, LENGTH, 2)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Write: 3 bytes do not fit the 2 of transmit PDU 10"):
        tv.Qx_Trovix_Com_TxPdu_Write(ramped, 0, 10, [1, 2, 3])
    tv.Qx_Trovix_Com_TxPdu_Write(ramped, 0, 10, [1, 2])
    data = qxt.qxt_u8_array([9] * 8)
    base.int_p_assign(cell, 8)
    tv.Qx_Trovix_Com_TxPdu_Read(ramped, 0, 10, cell, data)
    assert base.int_p_value(cell) == 2 and qxt.qxt_read_u8(data, 8) == [1, 2] + [9] * 6
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Property_SetById: 9 bytes asked for, "
                                          "transmit PDU 10 has 8"):
        SET(ramped, 10, LENGTH, 9)


@pytest.mark.parametrize("call, args, text", [
    (SET, (10, 3, 1), "unknown property 3"),
    (GET, (10, 3, None), "unknown property 3"),
    (SET, (11, LENGTH, 1), "unknown transmit PDU 11"),
])
def test_properties_of_what_the_stack_does_not_know_are_refused(ramped, call, args, text):
    with qxtest.raises_exactly(Exception, f"{call.__name__}: {text}"):
        call(ramped, *args)


def test_property_read_with_no_cell_passes_a_null_pointer(sim, ramped):
    assert GET(ramped, 10, LENGTH, None) is None
    assert sim.last("Qx_Trovix_Com_TxPdu_Property_GetById").arg(4).is_null


@pytest.mark.parametrize("call, args, exc, message", [
    (GET, (10, 0, qxtest.new_record(base, "char_p")), TypeError,
     "in method 'Qx_Trovix_Com_TxPdu_Property_GetById', argument 4 of type 'u32_t *const'"),
    (GET, (10, 0), TypeError, "Qx_Trovix_Com_TxPdu_Property_GetById expected 4 arguments, got 3"),
    (SET, (10, 0, -1), OverflowError, "in method 'Qx_Trovix_Com_TxPdu_Property_SetById', argument 4 of type 'u32_t'"),
    (SET, (10, "0", 1), TypeError, "in method 'Qx_Trovix_Com_TxPdu_Property_SetById', argument 3 of type 'u32_t'"),
])
def test_property_arguments_refused_before_the_call(sim, ramped, call, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        call(ramped, *args)
    assert sim.calls(call.__name__) == 0


@pytest.mark.parametrize("call, args", [(SET, (10, LENGTH, 1)), (GET, (10, LENGTH, None))])
def test_properties_need_com_started(com, call, args):
    with qxtest.raises_exactly(Exception, f"{call.__name__}: Com is not started"):
        call(com, *args)


def test_failure_carries_the_library_text(sim, ramped, cell):
    base.int_p_assign(cell, 77)
    sim.fail("Qx_Trovix_Com_TxPdu_Property_GetById", text=b"property refused")
    with qxtest.raises_exactly(Exception, "property refused"):
        GET(ramped, 10, LENGTH, cell)
    assert base.int_p_value(cell) == 77
