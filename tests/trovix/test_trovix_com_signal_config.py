"""Trovix Com signal configuration and gateways: the signals of transmit and
receive PDUs, Com signals and their mappings onto transmit-PDU signals,
values written to a transmit-PDU signal or a Com signal, and the PDU and
signal gateways; the records Qx_Trovix_Com_TxPdu_Signal_Parameters_t,
Qx_Trovix_Com_RxPdu_Signal_Parameters_t,
Qx_Trovix_Com_Signal_Config_Parameters_t,
Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Parameters_t,
Qx_Trovix_Com_PduGateway_Mapping_Config_Parameters_t and
Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

TXS = "Qx_Trovix_Com_TxPdu_Signal_Parameters_t"
RXS = "Qx_Trovix_Com_RxPdu_Signal_Parameters_t"
SIG = "Qx_Trovix_Com_Signal_Config_Parameters_t"
MAP = "Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Parameters_t"
PGW = "Qx_Trovix_Com_PduGateway_Mapping_Config_Parameters_t"
SGW = "Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t"
RECORDS = [TXS, RXS, SIG, MAP, PGW, SGW]
F64 = {(SGW, "Offset"), (SGW, "Factor")}



@pytest.fixture
def com(tport):
    """Transmit PDU 10 and receive PDU 20 (8 bytes, room for 2 signals each),
    signal 1 of each (bits 8 to 23), room for 2 Com signals; Com signal 5
    with room for 1 mapping."""
    tv.Qx_Trovix_Com_TxPdu_MaxNumber(tport, 2)
    tv.Qx_Trovix_Com_RxPdu_MaxNumber(tport, 2)
    tv.Qx_Trovix_Com_Signal_MaxNumber(tport, 2)
    tv.Qx_Trovix_Com_TxPdu_Config(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t", TxPduId=10,
                                                           PduLength=8, NumberOfSignals=2))
    tv.Qx_Trovix_Com_RxPdu_Config(tport, qxtest.new_record(tv, "Qx_Trovix_Com_RxPdu_Config_Parameters_t", RxPduId=20,
                                                           PduLength=8, NumberOfSignals=2))
    tv.Qx_Trovix_Com_TxPdu_Signal(tport, qxtest.new_record(tv, TXS, TxPduId=10, TxPduSignalId=1, BitPosition=8,
                                                           BitSize=16))
    tv.Qx_Trovix_Com_RxPdu_Signal(tport, qxtest.new_record(tv, RXS, RxPduId=20, RxPduSignalId=1, BitPosition=8,
                                                           BitSize=16))
    tv.Qx_Trovix_Com_Signal_Config(tport, qxtest.new_record(tv, SIG, SignalId=5, NumberOfMappings=1))
    return tport


# ---- records ---------------------------------------------------------------------

@pytest.mark.parametrize("name", RECORDS)
def test_fresh_record_reads_zero_in_every_field(qxt, name):
    record = qxtest.new_record(tv, name)
    got = {}
    for field in layouts.record(name).fields:
        value = qxtest.owned(getattr(tv, f"{name}_{field}_get")(record))
        got[field] = qxt.qxt_read_f64(value, 1)[0] if (name, field) in F64 else value
    assert got == layouts.unpack(name, bytes(layouts.size(name)))


@pytest.mark.parametrize("name", [TXS, RXS])
@pytest.mark.parametrize("field", ["DataInvalidValue", "InitValue"])
@pytest.mark.parametrize("value, exc, ending", [
    (list(range(7)), ValueError, "Expecting a sequence with 8 elements"),
    (list(range(9)), ValueError, "Expecting a sequence with 8 elements"),
    ([0] * 7 + [1.5], ValueError, "Expecting a sequence of u8_t"),
    (5, TypeError, "Expecting a sequence"),
    (None, TypeError, "Expecting a sequence"),
])
def test_byte_arrays_are_all_or_nothing(name, field, value, exc, ending):
    record = qxtest.new_record(tv, name, **{field: [9] * 8})
    setter = f"{name}_{field}_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending}"):
        getattr(tv, setter)(record, value)
    assert getattr(tv, f"{name}_{field}_get")(record) == [9] * 8
    assert getattr(tv, setter)(None, [1] * 8) is None


@pytest.mark.parametrize("name, field, declared", [
    (TXS, "Flags", "Qx_Trovix_Com_TxPdu_Signal_Flags_t"), (RXS, "Flags", "Qx_Trovix_Com_RxPdu_Signal_Flags_t"),
    (SIG, "Flags", "Qx_Trovix_Com_Signal_Config_Flags_t"),
    (MAP, "Flags", "Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Flags_t"),
    (PGW, "Flags", "Qx_Trovix_Com_PduGateway_Mapping_Config_Flags_t"),
    (SGW, "Flags", "Qx_Trovix_Com_SignalGateway_Mapping_Config_Flags_t"),
    (TXS, "UpdateBitPosition", "u16_t"), (RXS, "Endianness", "u8_t"), (MAP, "TxPduSignalId", "u32_t"),
])
def test_fields_refuse_what_no_u32_is_and_stay_unchanged(name, field, declared):
    record = qxtest.new_record(tv, name, **{field: 7})
    message = f"in method '{name}_{field}_set', argument 2 of type '{declared}'"
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), (7.0, TypeError)):
        with qxtest.raises_exactly(exc, message):
            getattr(tv, f"{name}_{field}_set")(record, bad)
        assert getattr(tv, f"{name}_{field}_get")(record) == 7


@pytest.mark.parametrize("field", ["Offset", "Factor"])
def test_gateway_factors_travel_in_float64_objects(qxt, field):
    first, second = qxtest.new_record(tv, "Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t"), \
        qxtest.new_record(tv, "Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t")
    setter, getter = getattr(tv, f"{SGW}_{field}_set"), getattr(tv, f"{SGW}_{field}_get")
    setter(first, qxt.qxt_f64_array([-0.5]))
    copy = qxtest.owned(getter(first))
    setter(second, copy)                                   # copied from one record into another
    setter(first, qxt.qxt_f64_array([3.0]))
    assert qxt.qxt_read_f64(copy, 1) == [-0.5] and qxt.qxt_read_f64(qxtest.owned(getter(second)), 1) == [-0.5]
    message = f"in method '{SGW}_{field}_set', argument 2 of type 'float64_t'"
    with qxtest.raises_exactly(ValueError, "invalid null reference " + message):
        setter(first, None)
    for bad in (1, 1.5):
        with qxtest.raises_exactly(TypeError, message):
            setter(first, bad)
    assert qxt.qxt_read_f64(qxtest.owned(getter(first)), 1) == [3.0]


# ---- bindings -------------------------------------------------------------------------

CASES = [
    ("Qx_Trovix_Com_TxPdu_Signal", TXS, dict(
        Flags=0x80000001, TxPduId=10, TxPduSignalId=2, BitPosition=40, BitSize=24, DataInvalidValue=list(range(8)),
        InitValue=list(range(255, 247, -1)), Endianness=1, SignalType=12, TransferProperty=4, reserved1=1,
        UpdateBitPosition=0xBEEF, reserved2=2, reserved3=3, Timeout=0xFFFFFFFF, TxPduSignalGroupId=0x12345678)),
    ("Qx_Trovix_Com_RxPdu_Signal", RXS, dict(
        Flags=2, RxPduId=20, RxPduSignalId=2, BitPosition=0, BitSize=64, DataInvalidValue=[1] * 8,
        InitValue=[0x80] * 8, Endianness=2, SignalType=9, UpdateBitPosition=0xCAFE, Timeout=100,
        FirstTimeout=0xA0000000, RxPduSignalGroupId=7)),
    ("Qx_Trovix_Com_Signal_Config", SIG, dict(Flags=3, SignalId=6, SignalType=11, SignalLengthType=2, reserved2=0xAA,
                                              reserved3=0x55, NumberOfMappings=8)),
    ("Qx_Trovix_Com_Signal_TxPduSignal_Mapping", MAP, dict(Flags=4, SignalId=5, SignalMappingId=0xFFFFFFFF,
                                                           TxPduId=10, TxPduSignalId=1)),
    ("Qx_Trovix_Com_PduGateway_Mapping_Config", PGW, dict(Flags=5, RxPduId=20, TxPduId=10, TransferProperty=3,
                                                          reserved1=1, reserved2=2, reserved3=3)),
]


@pytest.mark.parametrize("binding, name, fields", CASES)
def test_records_reach_the_library_whole(sim, com, binding, name, fields):
    record = qxtest.new_record(tv, name, **fields)
    assert getattr(tv, binding)(com, record) is None
    call = sim.last(binding)
    assert call.arg(1).value == com and call.arg(2).size == layouts.size(name)
    assert layouts.unpack(name, call.arg(2).bytes) == fields


def test_signal_gateway_reaches_the_library_with_its_padding_clear(sim, qxt, com):
    fields = dict(Flags=0xFFFFFFFF, RxPduId=20, RxPduSignalId=1, TxPduId=10, TxPduSignalId=1)
    record = qxtest.new_record(tv, SGW, **fields)
    tv.Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t_Offset_set(record, qxt.qxt_f64_array([-273.15]))
    tv.Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t_Factor_set(record, qxt.qxt_f64_array([0.125]))
    assert tv.Qx_Trovix_Com_SignalGateway_Mapping_Config(com, record) is None
    data = sim.last("Qx_Trovix_Com_SignalGateway_Mapping_Config").arg(2).bytes
    assert len(data) == 40 and data[20:24] == bytes(4)
    assert layouts.unpack(SGW, data) == dict(fields, Offset=-273.15, Factor=0.125)


@pytest.mark.parametrize("binding, args, journaled", [
    ("Qx_Trovix_Com_TxPdu_Signal_Write", (10, 1, 2), [10, 1, 2]),
    ("Qx_Trovix_Com_Signal_WriteSignal", (65536 + 5, 65536 + 3), [5, 3]),
])
def test_values_are_written_from_the_callers_buffer(sim, qxt, com, binding, args, journaled):
    data = qxt.qxt_u8_array([0xAB, 0xCD, 0xEF])
    assert getattr(tv, binding)(com, *args, data) is None
    call = sim.last(binding)
    assert [call.arg(n).value for n in range(2, len(args) + 2)] == journaled
    assert call.arg(len(args) + 2).bytes == bytes([0xAB, 0xCD, 0xEF])[:journaled[-1]]


def test_write_signal_passes_a_null_buffer_and_the_status_decides(sim, com):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_Signal_WriteSignal: no data given"):
        tv.Qx_Trovix_Com_Signal_WriteSignal(com, 5, 70000, None)
    call = sim.last("Qx_Trovix_Com_Signal_WriteSignal")
    assert call.arg(3).value == 4464 and call.arg(4).is_null


@pytest.mark.parametrize("binding, args, exc, message", [
    ("Qx_Trovix_Com_TxPdu_Signal_Write", (1, 2, 3, 4), TypeError,
     "in method 'Qx_Trovix_Com_TxPdu_Signal_Write', argument 5 of type 'u8_t const *const'"),
    ("Qx_Trovix_Com_TxPdu_Signal_Write", (1, 2, 3), TypeError,
     "Qx_Trovix_Com_TxPdu_Signal_Write expected 5 arguments, got 4"),
    ("Qx_Trovix_Com_Signal_WriteSignal", (-1, 1, None), OverflowError,
     "in method 'Qx_Trovix_Com_Signal_WriteSignal', argument 2 of type 'u16_t'"),
    ("Qx_Trovix_Com_TxPdu_Signal", (qxtest.new_record(tv, "Qx_Trovix_Com_RxPdu_Signal_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_Com_TxPdu_Signal', argument 2 of type 'Qx_Trovix_Com_TxPdu_Signal_Parameters_t const *const'"),
    ("Qx_Trovix_Com_SignalGateway_Mapping_Config", (qxtest.new_record(tv, "Qx_Trovix_Com_PduGateway_Mapping_Config_Parameters_t"),),
     TypeError, "in method 'Qx_Trovix_Com_SignalGateway_Mapping_Config', argument 2 of type "
                "'Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t const *const'"),
    ("Qx_Trovix_Com_Signal_Config", (), TypeError, "Qx_Trovix_Com_Signal_Config expected 2 arguments, got 1"),
])
def test_arguments_refused_before_the_call(sim, tport, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, binding)(tport, *args)
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("binding, what", [
    ("Qx_Trovix_Com_TxPdu_Signal", "transmit PDU signal"), ("Qx_Trovix_Com_RxPdu_Signal", "receive PDU signal"),
    ("Qx_Trovix_Com_Signal_Config", "Com signal"), ("Qx_Trovix_Com_Signal_TxPduSignal_Mapping", "mapping"),
    ("Qx_Trovix_Com_PduGateway_Mapping_Config", "PDU gateway"),
    ("Qx_Trovix_Com_SignalGateway_Mapping_Config", "signal gateway"),
])
def test_none_passes_a_null_record_and_the_status_decides(sim, tport, binding, what):
    with qxtest.raises_exactly(Exception, f"{binding}: no {what} given"):
        getattr(tv, binding)(tport, None)
    assert sim.last(binding).arg(2).is_null


def test_failure_carries_the_library_text(sim, com):
    sim.fail("Qx_Trovix_Com_RxPdu_Signal", text=b"signal refused")
    with qxtest.raises_exactly(Exception, "signal refused"):
        tv.Qx_Trovix_Com_RxPdu_Signal(com, qxtest.new_record(tv, RXS, RxPduId=20, RxPduSignalId=1, BitSize=1))


# ---- the simulated stack's checks -------------------------------------------------------

@pytest.mark.parametrize("binding, name, fields, text", [
    ("Qx_Trovix_Com_TxPdu_Signal", TXS, dict(TxPduId=11, BitSize=1), "unknown transmit PDU 11"),
    ("Qx_Trovix_Com_RxPdu_Signal", RXS, dict(RxPduId=10, BitSize=1), "unknown receive PDU 10"),
    ("Qx_Trovix_Com_TxPdu_Signal", TXS, dict(TxPduId=10, BitPosition=60, BitSize=5),
     "5 bits at bit 60 do not fit the 8 bytes of transmit PDU 10"),
    ("Qx_Trovix_Com_RxPdu_Signal", RXS, dict(RxPduId=20, BitSize=0), "0 bits at bit 0 do not fit the 8 bytes of receive PDU 20"),
    ("Qx_Trovix_Com_TxPdu_Signal", TXS, dict(TxPduId=10, BitSize=1, Endianness=3), "unknown endianness 3"),
    ("Qx_Trovix_Com_RxPdu_Signal", RXS, dict(RxPduId=20, BitSize=1, SignalType=13), "unknown signal type 13"),
    ("Qx_Trovix_Com_TxPdu_Signal", TXS, dict(TxPduId=10, BitSize=1, TransferProperty=5), "unknown transfer property 5"),
    ("Qx_Trovix_Com_Signal_Config", SIG, dict(SignalId=6, SignalLengthType=3), "unknown signal length type 3"),
    ("Qx_Trovix_Com_Signal_Config", SIG, dict(SignalId=6, NumberOfMappings=9),
     "9 mappings asked for, the stack holds at most 8"),
    ("Qx_Trovix_Com_Signal_TxPduSignal_Mapping", MAP, dict(SignalId=6, TxPduId=10, TxPduSignalId=1),
     "unknown Com signal 6"),
    ("Qx_Trovix_Com_Signal_TxPduSignal_Mapping", MAP, dict(SignalId=5, TxPduId=10, TxPduSignalId=2),
     "unknown signal 2 of transmit PDU 10"),
    ("Qx_Trovix_Com_PduGateway_Mapping_Config", PGW, dict(RxPduId=20, TxPduId=12), "unknown transmit PDU 12"),
    ("Qx_Trovix_Com_PduGateway_Mapping_Config", PGW, dict(RxPduId=20, TxPduId=10, TransferProperty=5),
     "unknown transfer property 5"),
    ("Qx_Trovix_Com_SignalGateway_Mapping_Config", SGW, dict(RxPduId=20, RxPduSignalId=3, TxPduId=10, TxPduSignalId=1),
     "unknown signal 3 of receive PDU 20"),
])
def test_stack_refuses_what_it_has_not_configured(com, binding, name, fields, text):
    with qxtest.raises_exactly(Exception, f"{binding}: {text}"):
        getattr(tv, binding)(com, qxtest.new_record(tv, name, **fields))


def test_pdu_signals_fill_their_pdu_and_are_keyed_by_identifier(com):
    record = qxtest.new_record(tv, TXS, TxPduId=10, TxPduSignalId=2, BitSize=8)
    for signal in (2, 2, 1):                        # a known signal is replaced in place
        tv.Qx_Trovix_Com_TxPdu_Signal_Parameters_t_TxPduSignalId_set(record, signal)
        tv.Qx_Trovix_Com_TxPdu_Signal(com, record)
    tv.Qx_Trovix_Com_TxPdu_Signal_Parameters_t_TxPduSignalId_set(record, 3)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Signal: transmit PDU 10 has all its 2 signals"):
        tv.Qx_Trovix_Com_TxPdu_Signal(com, record)


def test_com_signals_fill_their_table_and_their_mappings(com):
    mapping = qxtest.new_record(tv, MAP, SignalId=5, SignalMappingId=1, TxPduId=10, TxPduSignalId=1)
    tv.Qx_Trovix_Com_Signal_TxPduSignal_Mapping(com, mapping)
    tv.Qx_Trovix_Com_Signal_TxPduSignal_Mapping(com, mapping)          # the same mapping again
    tv.Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Parameters_t_SignalMappingId_set(mapping, 2)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_Signal_TxPduSignal_Mapping: Com signal 5 has all its 1 mappings"):
        tv.Qx_Trovix_Com_Signal_TxPduSignal_Mapping(com, mapping)
    tv.Qx_Trovix_Com_Signal_Config(com, qxtest.new_record(tv, SIG, SignalId=6))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_Signal_Config: the Com signal table is full (2 entries)"):
        tv.Qx_Trovix_Com_Signal_Config(com, qxtest.new_record(tv, SIG, SignalId=7))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_Signal_MaxNumber: 1 Com signals asked for, "
                                          "2 are configured already"):
        tv.Qx_Trovix_Com_Signal_MaxNumber(com, 1)


@pytest.mark.parametrize("binding, args, text", [
    ("Qx_Trovix_Com_TxPdu_Signal_Write", (10, 1, 1, [0]), "1 bytes do not hold the signal's 16 bits"),
    ("Qx_Trovix_Com_TxPdu_Signal_Write", (10, 2, 8, [0] * 8), "unknown signal 2 of transmit PDU 10"),
    ("Qx_Trovix_Com_Signal_WriteSignal", (6, 1, [0]), "unknown Com signal 6"),
    ("Qx_Trovix_Com_Signal_WriteSignal", (5, 0, [0]), "no bytes to write"),
])
def test_written_values_need_a_configured_signal_they_cover(qxt, com, binding, args, text):
    with qxtest.raises_exactly(Exception, f"{binding}: {text}"):
        getattr(tv, binding)(com, *args[:-1], qxt.qxt_u8_array(args[-1]))
