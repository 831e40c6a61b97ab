"""Trovix Com run time: start and stop of Com, the mapping of a Com signal
onto a receive-PDU signal, writing, reading and sending a transmit PDU, PDU
counter increments and injected checksum and transmit errors; the records
Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Parameters_t,
Qx_Trovix_Com_TxPdu_PduCounter_Increment_Parameters_t,
Qx_Trovix_Com_TxPdu_Checksum_Error_Parameters_t and
Qx_Trovix_Com_TxPdu_Transmit_Error_Parameters_t."""
import pytest

import _qx_api as base
import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

RXMAP = "Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Parameters_t"
INC = "Qx_Trovix_Com_TxPdu_PduCounter_Increment_Parameters_t"
CHK = "Qx_Trovix_Com_TxPdu_Checksum_Error_Parameters_t"
TXE = "Qx_Trovix_Com_TxPdu_Transmit_Error_Parameters_t"
WRITE, READ = tv.Qx_Trovix_Com_TxPdu_Write, tv.Qx_Trovix_Com_TxPdu_Read


@pytest.fixture
def com(tport):
    """Transmit PDU 10 (8 bytes, unused areas 0xFF) with signal 1 holding its
    PDU counter, receive PDU 20 with signal 1, Com signal 5 with room for 2
    mappings; Com not started."""
    for kind in ("Tx", "Rx", "Signal"):
        getattr(tv, f"Qx_Trovix_Com_{kind}{'Pdu' if kind != 'Signal' else ''}_MaxNumber")(tport, 1)
    tv.Qx_Trovix_Com_TxPdu_Config(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t", TxPduId=10,
                                                           PduLength=8, UnusedAreasDefault=0xFF, NumberOfSignals=1))
    tv.Qx_Trovix_Com_RxPdu_Config(tport, qxtest.new_record(tv, "Qx_Trovix_Com_RxPdu_Config_Parameters_t", RxPduId=20,
                                                           PduLength=8, NumberOfSignals=1))
    tv.Qx_Trovix_Com_TxPdu_Signal(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Signal_Parameters_t", TxPduId=10,
                                                           TxPduSignalId=1, BitSize=16))
    tv.Qx_Trovix_Com_RxPdu_Signal(tport, qxtest.new_record(tv, "Qx_Trovix_Com_RxPdu_Signal_Parameters_t", RxPduId=20,
                                                           RxPduSignalId=1, BitSize=16))
    tv.Qx_Trovix_Com_TxPdu_PduCounter(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_PduCounter_Parameters_t",
                                                               TxPduId=10, TxPduSignalId=1))
    tv.Qx_Trovix_Com_Signal_Config(tport, qxtest.new_record(tv, "Qx_Trovix_Com_Signal_Config_Parameters_t", SignalId=5,
                                                            NumberOfMappings=2))
    return tport


@pytest.fixture
def running(com):
    """The same port with Com started."""
    tv.Qx_Trovix_Com_Init(com)
    return com


@pytest.fixture
def cell():
    made = qxtest.new_record(base, "int_p")
    yield made
    base.delete_int_p(made)


def read_pdu(qxt, port, pdu, room, cell):
    data = qxt.qxt_u8_array([0] * room)
    base.int_p_assign(cell, room)
    assert READ(port, 0, pdu, cell, data) is None
    return qxt.qxt_read_u8(data, base.int_p_value(cell))


# ---- records ---------------------------------------------------------------------

@pytest.mark.parametrize("name, field, declared", [
    (CHK, "ErrorMode", "u8_t"), (TXE, "ErrorMode", "u8_t"), (INC, "Increment2", "u32_t"),
    (RXMAP, "Flags", "Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Flags_t"),
    (INC, "Flags", "Qx_Trovix_Com_TxPdu_PduCounter_Increment_CmdFlags_t"),
    (CHK, "Flags", "Qx_Trovix_Com_TxPdu_Checksum_Error_CmdFlags_t"),
    (TXE, "Flags", "Qx_Trovix_Com_TxPdu_Transmit_Error_CmdFlags_t"),
])
def test_fields_store_their_width_and_refuse_what_no_u32_is(name, field, declared):
    record = qxtest.new_record(tv, name, **{field: 257})
    assert getattr(tv, f"{name}_{field}_get")(record) == (1 if declared == "u8_t" else 257)
    for bad, exc in ((2**32, OverflowError), (-1, OverflowError), (None, TypeError)):
        with qxtest.raises_exactly(exc, f"in method '{name}_{field}_set', argument 2 of type '{declared}'"):
            getattr(tv, f"{name}_{field}_set")(record, bad)
    assert getattr(tv, f"{name}_{field}_get")(record) == (1 if declared == "u8_t" else 257)
    with qxtest.raises_exactly(TypeError, f"in method '{name}_{field}_set', argument 1 of type '{name} *'"):
        getattr(tv, f"{name}_{field}_set")(qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t"), 1)


# ---- records through the library ---------------------------------------------------------

@pytest.mark.parametrize("binding, name, fields", [
    ("Qx_Trovix_Com_Signal_RxPduSignal_Mapping", RXMAP, dict(Flags=0x80000000, SignalId=5, SignalMappingId=0xFFFFFFFF,
                                                             RxPduId=20, RxPduSignalId=1)),
    ("Qx_Trovix_Com_TxPdu_PduCounter_Increment", INC, dict(Flags=1, TxPduId=10, TxPduSignalId=1, Increment=2,
                                                           NumberOfCycles=0xFFFFFFFF, Increment2=0x12345678)),
    ("Qx_Trovix_Com_TxPdu_Checksum_Error", CHK, dict(Flags=2, TxPduId=10, TxPduSignalId=1, ErrorMode=1, reserved1=1,
                                                     reserved2=2, reserved3=3, NumberOfCycles=40)),
    ("Qx_Trovix_Com_TxPdu_Transmit_Error", TXE, dict(Flags=3, TxPduId=10, ErrorMode=1, reserved1=0xAA, reserved2=0xBB,
                                                     reserved3=0xCC, NumberOfErrors=7, Time=0xA0000000)),
])
def test_records_reach_the_library_whole(sim, running, binding, name, fields):
    assert getattr(tv, binding)(running, qxtest.new_record(tv, name, **fields)) is None
    call = sim.last(binding)
    assert call.arg(1).value == running and call.arg(2).size == layouts.size(name)
    assert layouts.unpack(name, call.arg(2).bytes) == fields


@pytest.mark.parametrize("binding, what", [
    ("Qx_Trovix_Com_Signal_RxPduSignal_Mapping", "mapping"), ("Qx_Trovix_Com_TxPdu_PduCounter_Increment", "increment"),
    ("Qx_Trovix_Com_TxPdu_Checksum_Error", "checksum error"), ("Qx_Trovix_Com_TxPdu_Transmit_Error", "transmit error"),
])
def test_none_passes_a_null_record_and_the_status_decides(sim, running, binding, what):
    with qxtest.raises_exactly(Exception, f"{binding}: no {what} given"):
        getattr(tv, binding)(running, None)
    assert sim.last(binding).arg(2).is_null


# ---- transmit PDU data ---------------------------------------------------------------------

def test_a_read_answers_what_was_written(sim, qxt, running, cell):
    assert read_pdu(qxt, running, 10, 8, cell) == [0xFF] * 8           # unused areas until written
    assert WRITE(running, 0x80000001, 10, [1, 2, 300, -1]) is None
    call = sim.last("Qx_Trovix_Com_TxPdu_Write")
    assert [call.arg(n).value for n in (1, 2, 3, 4)] == [running, 0x80000001, 10, 4]
    assert call.arg(5).bytes == bytes([1, 2, 44, 255])
    assert read_pdu(qxt, running, 10, 16, cell) == [1, 2, 44, 255] + [0xFF] * 4
    read = sim.last("Qx_Trovix_Com_TxPdu_Read")
    assert [read.arg(2).value, read.arg(3).value] == [0, 10]
    WRITE(running, 0, 10, ())                                          # nothing written
    assert sim.last("Qx_Trovix_Com_TxPdu_Write").arg(4).value == 0
    assert read_pdu(qxt, running, 10, 8, cell) == [1, 2, 44, 255] + [0xFF] * 4


def test_restarting_com_restores_the_unused_areas(qxt, running, cell):
    WRITE(running, 0, 10, [0] * 8)
    tv.Qx_Trovix_Com_DeInit(running)
    tv.Qx_Trovix_Com_Init(running)
    assert read_pdu(qxt, running, 10, 8, cell) == [0xFF] * 8


def test_read_with_no_storage_passes_null_pointers(sim, qxt, running, cell):
    assert READ(running, 0, 10, None, None) is None
    call = sim.last("Qx_Trovix_Com_TxPdu_Read")
    assert call.arg(4).is_null and call.arg(5).is_null
    assert READ(running, 0, 10, cell, None) is None and base.int_p_value(cell) == 8   # the length alone
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Read: no length cell given"):
        READ(running, 0, 10, None, qxt.qxt_u8_array([0] * 8))


def test_read_stays_inside_the_callers_room(qxt, running, cell):
    data = qxt.qxt_u8_array([7] * 8)
    base.int_p_assign(cell, 7)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Read: room for 7 bytes, transmit PDU 10 has 8"):
        READ(running, 0, 10, cell, data)
    assert qxt.qxt_read_u8(data, 8) == [7] * 8 and base.int_p_value(cell) == 7


@pytest.mark.parametrize("value, exc, ending", [
    (5, TypeError, "Expecting a sequence"),
    (None, TypeError, "Expecting a sequence"),
    ([1, "2"], TypeError, "list must contain u8_t"),
    ([1, 2.0], TypeError, "list must contain u8_t"),
    ([2**31], OverflowError, "list must contain u8_t"),
])
def test_write_refuses_a_bad_list_before_the_call(sim, running, value, exc, ending):
    with qxtest.raises_exactly(exc, f"fail in 'Qx_Trovix_Com_TxPdu_Write' : {ending}"):
        WRITE(running, 0, 10, value)
    assert sim.calls("Qx_Trovix_Com_TxPdu_Write") == 0


def test_write_converts_its_integers_before_the_list(sim, running):
    with qxtest.raises_exactly(OverflowError, "in method 'Qx_Trovix_Com_TxPdu_Write', argument 3 of type 'u32_t'"):
        WRITE(running, 0, -1, 5)
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Com_TxPdu_Write', argument 2 of type "
                                          "'Qx_Trovix_Com_TxPdu_Write_CmdFlags_t'"):
        WRITE(running, "0", 10, [])
    assert sim.calls("Qx_Trovix_Com_TxPdu_Write") == 0


@pytest.mark.parametrize("binding, args, exc, message", [
    ("Qx_Trovix_Com_TxPdu_Read", (0, 10, qxtest.new_record(base, "char_p"), None), TypeError,
     "in method 'Qx_Trovix_Com_TxPdu_Read', argument 4 of type 'u32_t *const'"),
    ("Qx_Trovix_Com_TxPdu_Read", (0, 10, None, qxtest.new_record(base, "char_p")), TypeError,
     "in method 'Qx_Trovix_Com_TxPdu_Read', argument 5 of type 'u8_t *const'"),
    ("Qx_Trovix_Com_TxPdu_Read", (0, 10, None), TypeError, "Qx_Trovix_Com_TxPdu_Read expected 5 arguments, got 4"),
    ("Qx_Trovix_Com_TxPdu_Write", (0, 10), TypeError, "Qx_Trovix_Com_TxPdu_Write expected 4 arguments, got 3"),
    ("Qx_Trovix_Com_TxPdu_Send", (2**32,), OverflowError, "in method 'Qx_Trovix_Com_TxPdu_Send', argument 2 of type 'u32_t'"),
    ("Qx_Trovix_Com_TxPdu_Checksum_Error", (qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Transmit_Error_Parameters_t"),), TypeError,
     f"in method 'Qx_Trovix_Com_TxPdu_Checksum_Error', argument 2 of type '{CHK} const *const'"),
])
def test_arguments_refused_before_the_call(sim, running, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, binding)(running, *args)
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("binding", ["Qx_Trovix_Com_Init", "Qx_Trovix_Com_DeInit"])
def test_start_and_stop_take_the_port_alone(sim, binding):
    with qxtest.raises_exactly(TypeError, f"in method '{binding}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(tv, binding)("1")
    with pytest.raises(TypeError):
        getattr(tv, binding)(1, 2)
    assert sim.calls(binding) == 0


# ---- Com started and stopped ---------------------------------------------------------------

RUN_TIME = [
    ("Qx_Trovix_Com_TxPdu_Write", (0, 10, [1])),
    ("Qx_Trovix_Com_TxPdu_Read", (0, 10, None, None)),
    ("Qx_Trovix_Com_TxPdu_Send", (10,)),
    ("Qx_Trovix_Com_TxPdu_PduCounter_Increment", (qxtest.new_record(tv, INC, TxPduId=10, TxPduSignalId=1),)),
    ("Qx_Trovix_Com_TxPdu_Checksum_Error", (qxtest.new_record(tv, CHK, TxPduId=10, TxPduSignalId=1),)),
    ("Qx_Trovix_Com_TxPdu_Transmit_Error", (qxtest.new_record(tv, TXE, TxPduId=10),)),
]


@pytest.mark.parametrize("binding, args", RUN_TIME)
def test_run_time_calls_need_com_started(sim, com, binding, args):
    call = getattr(tv, binding)
    with qxtest.raises_exactly(Exception, f"{binding}: Com is not started"):
        call(com, *args)
    tv.Qx_Trovix_Com_Init(com)
    assert call(com, *args) is None
    tv.Qx_Trovix_Com_DeInit(com)
    with qxtest.raises_exactly(Exception, f"{binding}: Com is not started"):
        call(com, *args)


def test_com_starts_and_stops_once(sim, com):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_DeInit: Com is not started"):
        tv.Qx_Trovix_Com_DeInit(com)
    assert tv.Qx_Trovix_Com_Init(com) is None and sim.last("Qx_Trovix_Com_Init").arg(1).value == com
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_Init: Com is started already"):
        tv.Qx_Trovix_Com_Init(com)
    sim.fail("Qx_Trovix_Com_DeInit", text=b"Com busy")
    with qxtest.raises_exactly(Exception, "Com busy"):
        tv.Qx_Trovix_Com_DeInit(com)


@pytest.mark.parametrize("binding, args, text", [
    ("Qx_Trovix_Com_TxPdu_Write", (0, 10, [0] * 9), "9 bytes do not fit the 8 of transmit PDU 10"),
    ("Qx_Trovix_Com_TxPdu_Send", (11,), "unknown transmit PDU 11"),
    ("Qx_Trovix_Com_TxPdu_PduCounter_Increment", (qxtest.new_record(tv, INC, TxPduId=10, TxPduSignalId=2),),
     "transmit PDU 10 has no PDU counter in signal 2"),
    ("Qx_Trovix_Com_TxPdu_Checksum_Error", (qxtest.new_record(tv, CHK, TxPduId=10, TxPduSignalId=1, ErrorMode=2),),
     "unknown checksum error mode 2"),
    ("Qx_Trovix_Com_TxPdu_Checksum_Error", (qxtest.new_record(tv, CHK, TxPduId=10, TxPduSignalId=3),),
     "unknown signal 3 of transmit PDU 10"),
    ("Qx_Trovix_Com_TxPdu_Transmit_Error", (qxtest.new_record(tv, TXE, TxPduId=10, ErrorMode=2),),
     "unknown transmit error mode 2"),
])
def test_stack_refuses_what_it_cannot_do(running, binding, args, text):
    with qxtest.raises_exactly(Exception, f"{binding}: {text}"):
        getattr(tv, binding)(running, *args)


def test_receive_mappings_count_with_the_transmit_ones(com):
    """Mappings need no running Com; a Com signal's NumberOfMappings covers
    its mappings onto transmit and receive PDU signals alike."""
    tv.Qx_Trovix_Com_Signal_TxPduSignal_Mapping(com, qxtest.new_record(
        tv, "Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Parameters_t", SignalId=5, SignalMappingId=1, TxPduId=10,
        TxPduSignalId=1))
    mapping = qxtest.new_record(tv, RXMAP, SignalId=5, SignalMappingId=2, RxPduId=20, RxPduSignalId=1)
    tv.Qx_Trovix_Com_Signal_RxPduSignal_Mapping(com, mapping)
    tv.Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Parameters_t_SignalMappingId_set(mapping, 3)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_Signal_RxPduSignal_Mapping: Com signal 5 has all its 2 mappings"):
        tv.Qx_Trovix_Com_Signal_RxPduSignal_Mapping(com, mapping)
    tv.Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Parameters_t_RxPduSignalId_set(mapping, 2)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_Signal_RxPduSignal_Mapping: unknown signal 2 of receive PDU 20"):
        tv.Qx_Trovix_Com_Signal_RxPduSignal_Mapping(com, mapping)
