"""Trovix transmit-PDU signal filter: Qx_Trovix_Com_TxPdu_Signal_Filter_Config
and its record Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Cmd_t (an algorithm
code, four 8-byte arrays, an offset and a period)."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

CMD = "Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Cmd_t"
CONFIG = tv.Qx_Trovix_Com_TxPdu_Signal_Filter_Config
ARRAYS = ["Mask", "X", "Max", "Min"]


@pytest.fixture
def signal(tport):
    """Signal 3 (bits 0 to 15) of transmit PDU 10 configured."""
    tv.Qx_Trovix_Com_TxPdu_MaxNumber(tport, 1)
    tv.Qx_Trovix_Com_TxPdu_Config(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t", TxPduId=10,
                                                           PduLength=8, NumberOfSignals=1))
    tv.Qx_Trovix_Com_TxPdu_Signal(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Signal_Parameters_t", TxPduId=10,
                                                           TxPduSignalId=3, BitSize=16))
    return tport


def test_filter_reaches_the_library_whole(sim, signal):
    fields = dict(Flags=0x80000001, TxPduId=10, TxPduSignalId=3, Algorithm=tv.QX_TROVIX__COM__FLT__ALG__ONE_EVERY_N,
                  reserved1=1, reserved2=2, reserved3=0xFF, Mask=list(range(8)), X=list(range(8, 16)),
                  Max=[255] * 8, Min=list(range(16, 24)), Offset=4, Period=0xFFFFFFFF)
    cmd = qxtest.new_record(tv, CMD, **fields)
    assert CONFIG(signal, cmd) is None
    call = sim.last("Qx_Trovix_Com_TxPdu_Signal_Filter_Config")
    assert call.arg(1).value == signal and call.arg(2).size == 56
    assert layouts.unpack(CMD, call.arg(2).bytes) == fields
    assert {f: getattr(tv, f"{CMD}_{f}_get")(cmd) for f in fields} == fields


def test_an_array_leaves_its_neighbours_alone():
    cmd = qxtest.new_record(tv, CMD, Mask=[1] * 8, X=[2] * 8, Max=[3] * 8)
    tv.Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Cmd_t_X_set(cmd, [0xEE] * 8)
    assert [getattr(tv, f"{CMD}_{f}_get")(cmd) for f in ("Mask", "X", "Max")] == [[1] * 8, [0xEE] * 8, [3] * 8]


@pytest.mark.parametrize("field", ARRAYS)
@pytest.mark.parametrize("value, exc, ending", [
    (list(range(7)), ValueError, "Expecting a sequence with 8 elements"),
    ([0] * 7 + ["1"], ValueError, "Expecting a sequence of u8_t"),
    (8, TypeError, "Expecting a sequence"),
])
def test_arrays_are_all_or_nothing(field, value, exc, ending):
    cmd = qxtest.new_record(tv, CMD, **{field: [5] * 8})
    setter = f"{CMD}_{field}_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending}"):
        getattr(tv, setter)(cmd, value)
    assert getattr(tv, f"{CMD}_{field}_get")(cmd) == [5] * 8


@pytest.mark.parametrize("field, declared", [
    ("Flags", "Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Flags_t"), ("Algorithm", "u8_t"), ("Offset", "u32_t"),
])
def test_scalar_fields_refuse_and_keep_their_value(field, declared):
    cmd = qxtest.new_record(tv, CMD, **{field: 6})
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), ("6", TypeError)):
        with qxtest.raises_exactly(exc, f"in method '{CMD}_{field}_set', argument 2 of type '{declared}'"):
            getattr(tv, f"{CMD}_{field}_set")(cmd, bad)
    assert getattr(tv, f"{CMD}_{field}_get")(cmd) == 6


@pytest.mark.parametrize("args, exc, message", [
    ((qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Signal_Parameters_t"),), TypeError,
     f"in method 'Qx_Trovix_Com_TxPdu_Signal_Filter_Config', argument 2 of type '{CMD} const *const'"),
    ((), TypeError, "Qx_Trovix_Com_TxPdu_Signal_Filter_Config expected 2 arguments, got 1"),
])
def test_arguments_refused_before_the_call(sim, tport, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        CONFIG(tport, *args)
    with qxtest.raises_exactly(OverflowError, "in method 'Qx_Trovix_Com_TxPdu_Signal_Filter_Config', argument 1 of "
                                              "type 'Qx_PortHandle_t'"):
        CONFIG(-1, None)
    assert sim.calls("Qx_Trovix_Com_TxPdu_Signal_Filter_Config") == 0


@pytest.mark.parametrize("fields, text", [
    (dict(TxPduId=10, TxPduSignalId=4), "unknown signal 4 of transmit PDU 10"),
    (dict(TxPduId=10, TxPduSignalId=3, Algorithm=9), "unknown filter algorithm 9"),
    (dict(TxPduId=10, TxPduSignalId=3, Algorithm=7, Offset=5, Period=5), "offset 5 is not below the period 5"),
])
def test_stack_refuses_filters_it_cannot_run(sim, signal, fields, text):
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_Com_TxPdu_Signal_Filter_Config: {text}"):
        CONFIG(signal, qxtest.new_record(tv, CMD, **fields))
    assert layouts.unpack(CMD, sim.last("Qx_Trovix_Com_TxPdu_Signal_Filter_Config").arg(2).bytes)["Algorithm"] == \
        fields.get("Algorithm", 0)


def test_none_passes_a_null_record_and_a_failure_raises(sim, signal):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Signal_Filter_Config: no filter given"):
        CONFIG(signal, None)
    assert sim.last("Qx_Trovix_Com_TxPdu_Signal_Filter_Config").arg(2).is_null
    sim.fail("Qx_Trovix_Com_TxPdu_Signal_Filter_Config", text=b"filter refused")
    with qxtest.raises_exactly(Exception, "filter refused"):
        CONFIG(signal, qxtest.new_record(tv, CMD, TxPduId=10, TxPduSignalId=3))
