"""Trovix Com PDU configuration: the sizes of the Com transmit PDU, receive
PDU, PDU-group and signal tables, the PDUs, PDU groups with their table of
1024 identifiers, the transmission modes of a transmit PDU and its PDU
counter; the records Qx_Trovix_Com_TxPdu_Config_Parameters_t,
Qx_Trovix_Com_RxPdu_Config_Parameters_t,
Qx_Trovix_Com_PduGroup_Config_Parameters_t,
Qx_Trovix_Com_TxPdu_TxMode_Parameters_t and
Qx_Trovix_Com_TxPdu_PduCounter_Parameters_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

TX = "Qx_Trovix_Com_TxPdu_Config_Parameters_t"
RX = "Qx_Trovix_Com_RxPdu_Config_Parameters_t"
GROUP = "Qx_Trovix_Com_PduGroup_Config_Parameters_t"
MODE = "Qx_Trovix_Com_TxPdu_TxMode_Parameters_t"
COUNTER = "Qx_Trovix_Com_TxPdu_PduCounter_Parameters_t"
IDS_SET = tv.Qx_Trovix_Com_PduGroup_Config_Parameters_t_Ids_set
IDS_GET = tv.Qx_Trovix_Com_PduGroup_Config_Parameters_t_Ids_get
SIZES = ["Qx_Trovix_Com_TxPdu_MaxNumber", "Qx_Trovix_Com_RxPdu_MaxNumber", "Qx_Trovix_Com_PduGroup_MaxNumber",
         "Qx_Trovix_Com_Signal_MaxNumber"]


def ids_fail(text):
    return f"fail in '{GROUP}_Ids_set' : {text}"


@pytest.fixture
def com(tport):
    """Room for 2 transmit PDUs, 2 receive PDUs and 2 groups; transmit PDUs 10
    and 11 and receive PDU 20 configured."""
    tv.Qx_Trovix_Com_TxPdu_MaxNumber(tport, 2)
    tv.Qx_Trovix_Com_RxPdu_MaxNumber(tport, 2)
    tv.Qx_Trovix_Com_PduGroup_MaxNumber(tport, 2)
    for pdu in (10, 11):
        tv.Qx_Trovix_Com_TxPdu_Config(tport, qxtest.new_record(tv, TX, TxPduId=pdu, PduLength=8))
    tv.Qx_Trovix_Com_RxPdu_Config(tport, qxtest.new_record(tv, RX, RxPduId=20, PduLength=8))
    return tport


# ---- records ---------------------------------------------------------------------

@pytest.mark.parametrize("name, field, declared", [
    (TX, "ClearUpdateBit", "u8_t"), (RX, "Flags", "Qx_Trovix_Com_RxPdu_Config_Flags_t"),
    (GROUP, "Flags", "Qx_Trovix_Com_PduGroup_Config_Flags_t"), (MODE, "Flags", "Qx_Trovix_Com_TxPdu_TxMode_Flags_t"),
    (COUNTER, "Flags", "Qx_Trovix_Com_TxPdu_PduCounter_Flags_t"), (TX, "Flags", "Qx_Trovix_Com_TxPdu_Config_Flags_t"),
    (GROUP, "NumberOfRxPdus", "u32_t"),
])
def test_fields_refuse_what_no_u32_is_and_stay_unchanged(name, field, declared):
    record = qxtest.new_record(tv, name)
    getattr(tv, f"{name}_{field}_set")(record, 7)
    message = f"in method '{name}_{field}_set', argument 2 of type '{declared}'"
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), (7.0, TypeError)):
        with qxtest.raises_exactly(exc, message):
            getattr(tv, f"{name}_{field}_set")(record, bad)
        assert getattr(tv, f"{name}_{field}_get")(record) == 7


def test_group_ids_round_trip_the_whole_table():
    record = qxtest.new_record(tv, "Qx_Trovix_Com_PduGroup_Config_Parameters_t")
    assert IDS_GET(record) == [0] * 1024
    IDS_SET(record, list(range(1024)))
    assert IDS_GET(record) == list(range(1024))
    IDS_SET(record, tuple([-1, -2**31, 2**31 - 1] + list(range(1021))))   # items are signed 32-bit ints
    assert IDS_GET(record) == [2**32 - 1, 2**31, 2**31 - 1] + list(range(1021))


@pytest.mark.parametrize("values, exc, message", [
    (list(range(1023)), ValueError, ids_fail("Expecting a sequence with 1024 elements")),
    (list(range(1025)), ValueError, ids_fail("Expecting a sequence with 1024 elements")),
    (5, TypeError, ids_fail("Expecting a sequence")),
    (None, TypeError, ids_fail("Expecting a sequence")),
    ([0] * 1023 + ["1"], ValueError, ids_fail("Expecting a sequence of u32_t")),
    ([2**31] + [0] * 1023, ValueError, ids_fail("Expecting a sequence of u32_t")),
])
def test_group_ids_refusals_keep_the_table(values, exc, message):
    record = qxtest.new_record(tv, "Qx_Trovix_Com_PduGroup_Config_Parameters_t")
    IDS_SET(record, list(range(5, 1029)))
    with qxtest.raises_exactly(exc, message):
        IDS_SET(record, values)
    assert IDS_GET(record) == list(range(5, 1029))


def test_group_ids_with_no_record_are_still_tested():
    assert IDS_SET(None, [0] * 1024) is None
    with qxtest.raises_exactly(ValueError, ids_fail("Expecting a sequence with 1024 elements")):
        IDS_SET(None, [0])


# ---- bindings -------------------------------------------------------------------------

@pytest.mark.parametrize("binding", SIZES)
def test_table_sizes_pass_unchanged(sim, tport, binding):
    assert getattr(tv, binding)(tport, 16) is None
    call = sim.last(binding)
    assert [call.arg(1).value, call.arg(2).value] == [tport, 16]


@pytest.mark.parametrize("binding, name, fields", [
    ("Qx_Trovix_Com_TxPdu_Config", TX, dict(Flags=0x80000001, TxPduId=11, PduLength=64, PduType=1,
                                            UnusedAreasDefault=0xFF, ClearUpdateBit=2, reserved2=0xAB,
                                            MinimumDelayTime=0x12345678, NumberOfSignals=9)),
    ("Qx_Trovix_Com_RxPdu_Config", RX, dict(Flags=0x80000002, RxPduId=21, PduLength=16, PduType=1,
                                            reserved1=1, reserved2=2, reserved3=3, NumberOfSignals=0xFFFFFFFF)),
    ("Qx_Trovix_Com_TxPdu_TxMode_True", MODE, dict(Flags=3, TxPduId=10, TxMode=3, N=7, reserved1=1, reserved2=2,
                                                   TimeOffset=100, TimePeriod=0xA0000000, RepetitionPeriod=50)),
    ("Qx_Trovix_Com_TxPdu_PduCounter", COUNTER, dict(Flags=0xF0000000, TxPduId=11, TxPduSignalId=0xCAFE)),
])
def test_records_reach_the_library_as_laid_out(sim, com, binding, name, fields):
    record = qxtest.new_record(tv, name, **fields)
    assert getattr(tv, binding)(com, record) is None
    call = sim.last(binding)
    assert call.arg(1).value == com
    assert call.arg(2).bytes == layouts.pack(name, **fields)
    assert {f: getattr(tv, f"{name}_{f}_get")(record) for f in fields} == fields


def test_a_group_carries_its_whole_table(sim, com):
    ids = [7, 10, 11, 20] + list(range(100, 1120))
    record = qxtest.new_record(tv, GROUP, Flags=1, PduGroupId=3, NumberOfPduGroups=1, NumberOfTxPdus=2,
                               NumberOfRxPdus=1)
    IDS_SET(record, ids)
    assert tv.Qx_Trovix_Com_PduGroup_Config(com, record) is None
    arg = sim.last("Qx_Trovix_Com_PduGroup_Config").arg(2)
    assert arg.size == layouts.size(GROUP) == 4116
    packed = layouts.pack(GROUP, Flags=1, PduGroupId=3, NumberOfPduGroups=1, NumberOfTxPdus=2, NumberOfRxPdus=1,
                          Ids=ids)
    assert arg.bytes == packed[:len(arg.bytes)] and len(arg.bytes) == min(4116, sim.journal_arg_capacity())


def test_one_mode_record_serves_both_states(sim, com):
    mode = qxtest.new_record(tv, MODE, TxPduId=10, TxMode=tv.QX_TROVIX__COM__TX_MODE__PERIODIC, TimePeriod=100)
    tv.Qx_Trovix_Com_TxPdu_TxMode_True(com, mode)
    tv.Qx_Trovix_Com_TxPdu_TxMode_Parameters_t_TxMode_set(mode, tv.QX_TROVIX__COM__TX_MODE__NONE)
    tv.Qx_Trovix_Com_TxPdu_TxMode_False(com, mode)
    assert layouts.unpack(MODE, sim.last("Qx_Trovix_Com_TxPdu_TxMode_True").arg(2).bytes)["TxMode"] == 2
    assert sim.last("Qx_Trovix_Com_TxPdu_TxMode_False").arg(2).bytes == layouts.pack(
        MODE, TxPduId=10, TxMode=0, TimePeriod=100)


@pytest.mark.parametrize("binding, args, exc, message", [
    ("Qx_Trovix_Com_TxPdu_TxMode_False", (qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_Com_TxPdu_TxMode_False', argument 2 of type 'Qx_Trovix_Com_TxPdu_TxMode_Parameters_t const *const'"),
    ("Qx_Trovix_Com_TxPdu_Config", (qxtest.new_record(tv, "Qx_Trovix_Com_RxPdu_Config_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_Com_TxPdu_Config', argument 2 of type 'Qx_Trovix_Com_TxPdu_Config_Parameters_t const *const'"),
    ("Qx_Trovix_Com_PduGroup_Config", ([],), TypeError,
     "in method 'Qx_Trovix_Com_PduGroup_Config', argument 2 of type 'Qx_Trovix_Com_PduGroup_Config_Parameters_t const *const'"),
    ("Qx_Trovix_Com_TxPdu_PduCounter", (qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_TxMode_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_Com_TxPdu_PduCounter', argument 2 of type "
     "'Qx_Trovix_Com_TxPdu_PduCounter_Parameters_t const *const'"),
    ("Qx_Trovix_Com_TxPdu_MaxNumber", (2**32,), OverflowError,
     "in method 'Qx_Trovix_Com_TxPdu_MaxNumber', argument 2 of type 'u32_t'"),
    ("Qx_Trovix_Com_Signal_MaxNumber", ("8",), TypeError,
     "in method 'Qx_Trovix_Com_Signal_MaxNumber', argument 2 of type 'u32_t'"),
    ("Qx_Trovix_Com_RxPdu_Config", (), TypeError, "Qx_Trovix_Com_RxPdu_Config expected 2 arguments, got 1"),
])
def test_arguments_refused_before_the_call(sim, tport, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, binding)(tport, *args)
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("binding, what", [
    ("Qx_Trovix_Com_TxPdu_Config", "transmit PDU"), ("Qx_Trovix_Com_RxPdu_Config", "receive PDU"),
    ("Qx_Trovix_Com_PduGroup_Config", "PDU group"), ("Qx_Trovix_Com_TxPdu_TxMode_True", "transmission mode"),
    ("Qx_Trovix_Com_TxPdu_TxMode_False", "transmission mode"), ("Qx_Trovix_Com_TxPdu_PduCounter", "PDU counter"),
])
def test_none_passes_a_null_record_and_the_status_decides(sim, tport, binding, what):
    with qxtest.raises_exactly(Exception, f"{binding}: no {what} given"):
        getattr(tv, binding)(tport, None)
    assert sim.last(binding).arg(2).is_null


def test_failure_carries_the_library_text_and_keeps_the_record(sim, com):
    record = qxtest.new_record(tv, TX, TxPduId=10, PduLength=8)
    sim.fail("Qx_Trovix_Com_TxPdu_Config", text=b"Com refused")
    with qxtest.raises_exactly(Exception, "Com refused"):
        tv.Qx_Trovix_Com_TxPdu_Config(com, record)
    assert tv.Qx_Trovix_Com_TxPdu_Config_Parameters_t_PduLength_get(record) == 8


# ---- the simulated stack's tables -------------------------------------------------------

@pytest.mark.parametrize("kind, name, key, word", [("Tx", TX, "TxPduId", "transmit"), ("Rx", RX, "RxPduId", "receive")])
def test_pdu_tables_are_sized_first_and_keyed_by_identifier(tport, kind, name, key, word):
    configure = getattr(tv, f"Qx_Trovix_Com_{kind}Pdu_Config")
    record = qxtest.new_record(tv, name, **{key: 1})
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_Com_{kind}Pdu_Config: the {word} PDU table is full (0 entries)"):
        configure(tport, record)
    getattr(tv, f"Qx_Trovix_Com_{kind}Pdu_MaxNumber")(tport, 1)
    configure(tport, record)
    configure(tport, record)                     # the same PDU again replaces it
    getattr(tv, f"{name}_{key}_set")(record, 2)
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_Com_{kind}Pdu_Config: the {word} PDU table is full (1 entries)"):
        configure(tport, record)
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_Com_{kind}Pdu_MaxNumber: 0 {word} PDUs asked for, "
                                          "1 are configured already"):
        getattr(tv, f"Qx_Trovix_Com_{kind}Pdu_MaxNumber")(tport, 0)


@pytest.mark.parametrize("binding, bound, what", [
    ("Qx_Trovix_Com_TxPdu_MaxNumber", 64, "transmit PDUs"), ("Qx_Trovix_Com_PduGroup_MaxNumber", 16, "PDU groups"),
    ("Qx_Trovix_Com_Signal_MaxNumber", 256, "Com signals"),
])
def test_table_sizes_beyond_the_stack_are_refused(tport, binding, bound, what):
    getattr(tv, binding)(tport, bound)
    with qxtest.raises_exactly(Exception, f"{binding}: {bound + 1} {what} asked for, the stack holds at most {bound}"):
        getattr(tv, binding)(tport, bound + 1)


@pytest.mark.parametrize("fields, text", [
    (dict(PduType=2), "unknown PDU type 2"),
    (dict(ClearUpdateBit=3), "unknown ClearUpdateBit 3"),
])
def test_tx_pdu_values_beyond_their_enumerations_are_refused(com, fields, text):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_Config: " + text):
        tv.Qx_Trovix_Com_TxPdu_Config(com, qxtest.new_record(tv, TX, TxPduId=10, **fields))


@pytest.mark.parametrize("counts, ids, text", [
    ((0, 1, 0), [12], "identifier 0: unknown transmit PDU 12"),
    ((1, 1, 1), [99, 10, 21], "identifier 2: unknown receive PDU 21"),
    ((1000, 24, 1), [], "1000 + 24 + 1 identifiers do not fit the 1024 of the table"),
])
def test_groups_name_configured_pdus_within_their_table(com, counts, ids, text):
    record = qxtest.new_record(tv, GROUP, PduGroupId=1, NumberOfPduGroups=counts[0], NumberOfTxPdus=counts[1],
                               NumberOfRxPdus=counts[2])
    IDS_SET(record, ids + [0] * (1024 - len(ids)))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_PduGroup_Config: " + text):
        tv.Qx_Trovix_Com_PduGroup_Config(com, record)


def test_group_table_fills_by_group_id(com):
    record = qxtest.new_record(tv, GROUP, PduGroupId=1, NumberOfTxPdus=2, NumberOfRxPdus=1)
    IDS_SET(record, [10, 11, 20] + [0] * 1021)
    for group in (1, 2, 2):
        tv.Qx_Trovix_Com_PduGroup_Config_Parameters_t_PduGroupId_set(record, group)
        tv.Qx_Trovix_Com_PduGroup_Config(com, record)
    tv.Qx_Trovix_Com_PduGroup_Config_Parameters_t_PduGroupId_set(record, 3)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_PduGroup_Config: the PDU group table is full (2 entries)"):
        tv.Qx_Trovix_Com_PduGroup_Config(com, record)


@pytest.mark.parametrize("binding", ["Qx_Trovix_Com_TxPdu_TxMode_True", "Qx_Trovix_Com_TxPdu_TxMode_False"])
def test_modes_need_a_configured_pdu_and_a_known_mode(com, binding):
    with qxtest.raises_exactly(Exception, f"{binding}: unknown transmit PDU 12"):
        getattr(tv, binding)(com, qxtest.new_record(tv, MODE, TxPduId=12))
    with qxtest.raises_exactly(Exception, f"{binding}: unknown transmission mode 4"):
        getattr(tv, binding)(com, qxtest.new_record(tv, MODE, TxPduId=10, TxMode=tv.QX_TROVIX__COM__TX_MODE__UNKNOWN))


def test_pdu_counter_needs_a_configured_pdu(com):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Com_TxPdu_PduCounter: unknown transmit PDU 20"):
        tv.Qx_Trovix_Com_TxPdu_PduCounter(com, qxtest.new_record(tv, COUNTER, TxPduId=20))
