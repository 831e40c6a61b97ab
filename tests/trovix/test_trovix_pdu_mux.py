"""Trovix PDU multiplexer: the sizes of the multiplexed and demultiplexed
transmit and receive PDU tables, their entries, and the 0xFF segments of a
demultiplexed transmit PDU reached through a view of the first one."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

P = "Qx_Trovix_PduMux_"
MUXED_TX = f"{P}MuxedTxPdu_Config_Parameters_t"
DEMUXED_TX = f"{P}DemuxedTxPdu_Config_Parameters_t"
MUXED_RX = f"{P}MuxedRxPdu_Config_Parameters_t"
DEMUXED_RX = f"{P}DemuxedRxPdu_Config_Parameters_t"
SEGMENT = f"{DEMUXED_TX}_Segments"
TABLES = ["MuxedTxPdu", "DemuxedTxPdu", "MuxedRxPdu", "DemuxedRxPdu"]


def segments(record):
    return tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_Segments_get(record)


@pytest.fixture
def mux(tport):
    """Room for 2 entries in every table; multiplexed transmit PDU 10 and
    multiplexed receive PDU 20 configured."""
    for table in TABLES:
        getattr(tv, f"{P}{table}_MaxNumber")(tport, 2)
    tv.Qx_Trovix_PduMux_MuxedTxPdu_Config(tport, qxtest.new_record(tv, MUXED_TX, MuxedTxPduId=10))
    tv.Qx_Trovix_PduMux_MuxedRxPdu_Config(tport, qxtest.new_record(tv, MUXED_RX, MuxedRxPduId=20))
    return tport


# ---- records ---------------------------------------------------------------------------

def test_segment_count_constant_matches_the_array():
    assert tv.QX_TROVIX__PDU_MUX__DEMUXED_TX_PDU__CONFIG__MAX_SEGMENTS == 255
    assert layouts.size(DEMUXED_TX) == 16 + 255 * 8


@pytest.mark.parametrize("name, field, declared", [
    (MUXED_TX, "Flags", f"{P}MuxedTxPdu_Config_Flags_t"),
    (DEMUXED_TX, "Flags", f"{P}DemuxedTxPdu_Config_Flags_t"),
    (MUXED_RX, "Flags", f"{P}MuxedRxPdu_Config_Flags_t"),
    (DEMUXED_RX, "Flags", f"{P}DemuxedRxPdu_Config_Flags_t"),
    (MUXED_TX, "SelectorBitPosition", "u16_t"),
    (DEMUXED_TX, "SelectorValue_H", "u8_t"),
    (SEGMENT, "BitPosition", "u16_t"),
])
def test_fields_refuse_what_no_u32_is_and_stay_unchanged(name, field, declared):
    record = qxtest.new_record(tv, name)
    getattr(tv, f"{name}_{field}_set")(record, 7)
    message = f"in method '{name}_{field}_set', argument 2 of type '{declared}'"
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), (1.5, TypeError), ("7", TypeError)):
        with qxtest.raises_exactly(exc, message):
            getattr(tv, f"{name}_{field}_set")(record, bad)
        assert getattr(tv, f"{name}_{field}_get")(record) == 7


def test_segment_view_writes_element_zero_inside_the_parent(sim, mux):
    record = qxtest.new_record(tv, "Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t")
    first, second = segments(record), segments(record)
    tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_Segments_BitPosition_set(first, 0x1234)
    tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_Segments_Endianness_set(second, 1)
    assert tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_Segments_Endianness_get(first) == 1
    tv.delete_Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_Segments(first)   # a view frees nothing
    tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_MuxedTxPduId_set(record, 10)
    tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config(mux, record)
    data = sim.last(f"{P}DemuxedTxPdu_Config").arg(2).bytes
    assert data[16:21] == bytes([0x34, 0x12, 0, 0, 1]) and data[21:] == bytes(2035)


def test_segments_have_a_getter_only_and_no_view_of_none():
    assert not hasattr(tv, f"{DEMUXED_TX}_Segments_set")
    with qxtest.raises_exactly(ValueError, f"invalid null reference in method '{DEMUXED_TX}_Segments_get', "
                                           f"argument 1 of type '{DEMUXED_TX} *'"):
        segments(None)


# ---- bindings ----------------------------------------------------------------------------

@pytest.mark.parametrize("table", TABLES)
@pytest.mark.parametrize("count", [0, 32])
def test_table_sizes_pass_unchanged(sim, tport, table, count):
    assert getattr(tv, f"{P}{table}_MaxNumber")(tport, count) is None
    call = sim.last(f"{P}{table}_MaxNumber")
    assert [call.arg(1).value, call.arg(2).value] == [tport, count]


@pytest.mark.parametrize("table, name, fields", [
    ("MuxedTxPdu", MUXED_TX, dict(Flags=0x80000001, MuxedTxPduId=11, PduLength=64, SelectorBitSize=4,
                                  SelectorEndianness=1, SelectorBitPosition=0x1FF, InitialSelectorValue=3,
                                  UnusedAreasDefault=0xAA, InitialSelectorValue_H=0x55, reserved1=6,
                                  TxConfirmationTimeout=2**32 - 1)),
    ("DemuxedTxPdu", DEMUXED_TX, dict(Flags=2, MuxedTxPduId=10, DemuxedTxPduId=2**32 - 1, NumberOfSegments=1,
                                      SelectorValue=7, SelectorValue_H=8, reserved1=9)),
    ("MuxedRxPdu", MUXED_RX, dict(Flags=3, MuxedRxPduId=21, SelectorBitSize=8, SelectorEndianness=0,
                                  SelectorBitPosition=0xFFFF)),
    ("DemuxedRxPdu", DEMUXED_RX, dict(Flags=4, MuxedRxPduId=20, DemuxedRxPduId=30, SelectorValue=0xFE,
                                      SelectorValue_H=1, reserved1=2, reserved2=3)),
])
def test_entries_reach_the_library_whole(sim, mux, table, name, fields):
    record = qxtest.new_record(tv, name, **fields)
    assert getattr(tv, f"{P}{table}_Config")(mux, record) is None
    call = sim.last(f"{P}{table}_Config")
    assert call.arg(1).value == mux and call.arg(2).size == layouts.size(name)
    got = layouts.unpack(name, call.arg(2).bytes)
    assert {f: got[f] for f in fields} == fields


def test_same_identifier_replaces_and_a_full_table_fails(mux):
    tv.Qx_Trovix_PduMux_MuxedTxPdu_Config(mux, qxtest.new_record(tv, MUXED_TX, MuxedTxPduId=10))
    tv.Qx_Trovix_PduMux_MuxedTxPdu_Config(mux, qxtest.new_record(tv, MUXED_TX, MuxedTxPduId=11))
    with qxtest.raises_exactly(Exception, f"{P}MuxedTxPdu_Config: the multiplexed transmit PDU table is full "
                                          "(2 entries)"):
        tv.Qx_Trovix_PduMux_MuxedTxPdu_Config(mux, qxtest.new_record(tv, MUXED_TX, MuxedTxPduId=12))
    with qxtest.raises_exactly(Exception, f"{P}MuxedTxPdu_MaxNumber: 1 multiplexed transmit PDUs asked for, "
                                          "2 are configured already"):
        tv.Qx_Trovix_PduMux_MuxedTxPdu_MaxNumber(mux, 1)


@pytest.mark.parametrize("table, name, fields, text", [
    ("DemuxedTxPdu", DEMUXED_TX, dict(MuxedTxPduId=20), "unknown multiplexed transmit PDU 20"),
    ("DemuxedRxPdu", DEMUXED_RX, dict(MuxedRxPduId=10), "unknown multiplexed receive PDU 10"),
])
def test_demultiplexed_pdu_needs_its_multiplexed_pdu(mux, table, name, fields, text):
    with qxtest.raises_exactly(Exception, f"{P}{table}_Config: {text}"):
        getattr(tv, f"{P}{table}_Config")(mux, qxtest.new_record(tv, name, **fields))


def test_argument_errors_are_raised_before_the_call(sim, mux):
    before = sim.calls(f"{P}MuxedTxPdu_Config")
    with qxtest.raises_exactly(TypeError, f"in method '{P}MuxedTxPdu_Config', argument 2 of type "
                                          f"'{MUXED_TX} const *const'"):
        tv.Qx_Trovix_PduMux_MuxedTxPdu_Config(mux, qxtest.new_record(tv, "Qx_Trovix_PduMux_MuxedRxPdu_Config_Parameters_t"))
    with qxtest.raises_exactly(TypeError, f"{P}MuxedTxPdu_Config expected 2 arguments, got 3"):
        tv.Qx_Trovix_PduMux_MuxedTxPdu_Config(mux, None, None)
    with qxtest.raises_exactly(OverflowError, f"in method '{P}MuxedTxPdu_Config', argument 1 of type "
                                              "'Qx_PortHandle_t'"):
        tv.Qx_Trovix_PduMux_MuxedTxPdu_Config(-1, None)
    assert sim.calls(f"{P}MuxedTxPdu_Config") == before
    with qxtest.raises_exactly(OverflowError, f"in method '{P}DemuxedRxPdu_MaxNumber', argument 2 of type 'u32_t'"):
        tv.Qx_Trovix_PduMux_DemuxedRxPdu_MaxNumber(mux, 2**32)
    with qxtest.raises_exactly(TypeError, f"in method '{P}DemuxedTxPdu_MaxNumber', argument 2 of type 'u32_t'"):
        tv.Qx_Trovix_PduMux_DemuxedTxPdu_MaxNumber(mux, 2.0)
    assert sim.calls(f"{P}DemuxedRxPdu_MaxNumber") == sim.calls(f"{P}DemuxedTxPdu_MaxNumber") == 1


@pytest.mark.parametrize("table", TABLES)
def test_null_entry_reaches_the_library_and_a_failure_raises(sim, mux, table):
    with pytest.raises(Exception) as info:
        getattr(tv, f"{P}{table}_Config")(mux, None)
    assert str(info.value).startswith(f"{P}{table}_Config: no ") and type(info.value) is Exception
    assert sim.last(f"{P}{table}_Config").arg(2).is_null
    sim.fail(f"{P}{table}_MaxNumber", text=b"table refused")
    with qxtest.raises_exactly(Exception, "table refused"):
        getattr(tv, f"{P}{table}_MaxNumber")(mux, 1)


def test_stack_bound_and_uninitialised_port_fail(sim, trovix_port):
    with qxtest.raises_exactly(Exception, f"{P}MuxedRxPdu_MaxNumber: the Trovix interface of port "
                                          f"0x{trovix_port:08X} is not initialised"):
        tv.Qx_Trovix_PduMux_MuxedRxPdu_MaxNumber(trovix_port, 1)
    tv.Qx_Trovix_InitInterface(trovix_port, 0)
    with qxtest.raises_exactly(Exception, f"{P}MuxedRxPdu_MaxNumber: 33 multiplexed receive PDUs asked for, "
                                          "the stack holds at most 32"):
        tv.Qx_Trovix_PduMux_MuxedRxPdu_MaxNumber(trovix_port, 33)
