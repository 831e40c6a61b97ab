"""Signal groups: transmit and receive groups declared inside a PDU, signals
mapped into them, groups written and read by their own commands."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

G = "Qx_Trovix_SignalGroup_"
FUNCTIONS = ["TxPdu_Config", "TxPdu_Mapping", "RxPdu_Config", "RxPdu_Mapping", "TxPdu_Write", "RxPdu_Read"]


def cmd(function, **fields):
    return qxtest.new_record(tv, f"{G}{function}_Cmd_t", **fields)


def call(function, port, record):
    return getattr(tv, G + function)(port, record)


def key(side, pdu=7, group=3):
    return {f"{side}PduId": pdu, f"{side}PduSignalGroupId": group}


@pytest.fixture
def groups(tport):
    """The port with transmit and receive group 3 of PDU 7 declared, signal 40
    (mapping 1) mapped into each."""
    for side in ("Tx", "Rx"):
        call(f"{side}Pdu_Config", tport, cmd(f"{side}Pdu_Config", **key(side)))
        call(f"{side}Pdu_Mapping", tport, cmd(f"{side}Pdu_Mapping", SignalId=40, SignalMappingId=1, **key(side)))
    return tport


@pytest.mark.parametrize("function, size, fields", [
    ("TxPdu_Config", 16, dict(Flags=0x80000001, TxPduId=7, TxPduSignalGroupId=3, UpdateBitPosition=65535,
                              TransferProperty=tv.QX_TROVIX__COM__TRANSFER_PROPERTY__TRIGGERED_WITHOUT_REP,
                              reserved=0xAB)),
    ("RxPdu_Config", 16, dict(Flags=2**32 - 1, RxPduId=7, RxPduSignalGroupId=3, UpdateBitPosition=0x1234,
                              reserved1=1, reserved2=2)),
    ("TxPdu_Mapping", 20, dict(Flags=5, SignalId=2**32 - 1, SignalMappingId=0x01020304, TxPduId=7,
                               TxPduSignalGroupId=3)),
    ("RxPdu_Mapping", 20, dict(Flags=6, SignalId=41, SignalMappingId=9, RxPduId=7, RxPduSignalGroupId=3)),
    ("TxPdu_Write", 8, key("Tx")),
    ("RxPdu_Read", 8, key("Rx")),
])
def test_commands_reach_the_library_whole(sim, groups, function, size, fields):
    assert call(function, groups, cmd(function, **fields)) is None
    entry = sim.last(G + function)
    assert entry.arg(1).value == groups and entry.arg(2).size == size
    assert layouts.unpack(f"{G}{function}_Cmd_t", entry.arg(2).bytes) == fields


@pytest.mark.parametrize("function, field, value, exc, declared", [
    ("TxPdu_Mapping", "TxPduId", 2**32, OverflowError, "u32_t"),
    ("TxPdu_Mapping", "TxPduId", -1, OverflowError, "u32_t"),
    ("TxPdu_Config", "Flags", 1.5, TypeError, f"{G}TxPdu_Config_CmdFlags_t"),
    ("RxPdu_Mapping", "Flags", -1, OverflowError, f"{G}RxPdu_Mapping_CmdFlags_t"),
    ("RxPdu_Config", "UpdateBitPosition", 2.0, TypeError, "u16_t"),
    ("RxPdu_Read", "RxPduSignalGroupId", None, TypeError, "u32_t"),
])
def test_refused_values_keep_the_field(function, field, value, exc, declared):
    record = f"{G}{function}_Cmd_t"
    rec = cmd(function, **{field: 6})
    with qxtest.raises_exactly(exc, f"in method '{record}_{field}_set', argument 2 of type '{declared}'"):
        getattr(tv, f"{record}_{field}_set")(rec, value)
    assert getattr(tv, f"{record}_{field}_get")(rec) == 6


def test_setters_given_no_record_store_nothing():
    assert tv.Qx_Trovix_SignalGroup_TxPdu_Write_Cmd_t_TxPduId_set(None, 1) is None
    with qxtest.raises_exactly(TypeError, f"in method '{G}TxPdu_Write_Cmd_t_TxPduId_set', argument 1 of type "
                                          f"'{G}TxPdu_Write_Cmd_t *'"):
        tv.Qx_Trovix_SignalGroup_TxPdu_Write_Cmd_t_TxPduId_set(cmd("RxPdu_Read"), 1)


@pytest.mark.parametrize("function, args, exc, message", [
    ("RxPdu_Read", (0, qxtest.new_record(tv, "Qx_Trovix_SignalGroup_TxPdu_Write_Cmd_t")), TypeError,
     f"in method '{G}RxPdu_Read', argument 2 of type '{G}RxPdu_Read_Cmd_t const *const'"),
    ("TxPdu_Mapping", (0, qxtest.new_record(tv, "Qx_Trovix_SignalGroup_RxPdu_Mapping_Cmd_t")), TypeError,
     f"in method '{G}TxPdu_Mapping', argument 2 of type '{G}TxPdu_Mapping_Cmd_t const *const'"),
    ("TxPdu_Write", (-1, 5), OverflowError, f"in method '{G}TxPdu_Write', argument 1 of type 'Qx_PortHandle_t'"),
    ("RxPdu_Config", (0,), TypeError, f"{G}RxPdu_Config expected 2 arguments, got 1"),
])
def test_arguments_refused_before_the_call(sim, tport, function, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, G + function)(*args)
    assert sim.calls(G + function) == 0


@pytest.mark.parametrize("function", FUNCTIONS)
def test_none_passes_a_null_command_and_the_failure_raises(sim, tport, function):
    with qxtest.raises_exactly(Exception, f"{G}{function}: no command given"):
        call(function, tport, None)
    assert sim.last(G + function).arg(2).is_null


def test_scripted_failure_carries_the_library_text(sim, groups):
    sim.fail(f"{G}RxPdu_Read", text=b"group not received")
    with qxtest.raises_exactly(Exception, "group not received"):
        call("RxPdu_Read", groups, cmd("RxPdu_Read", **key("Rx")))


@pytest.mark.parametrize("function, side, words", [
    ("TxPdu_Mapping", "Tx", "transmit"), ("RxPdu_Mapping", "Rx", "receive"),
    ("TxPdu_Write", "Tx", "transmit"), ("RxPdu_Read", "Rx", "receive"),
])
@pytest.mark.parametrize("pdu, group", [(8, 3), (7, 4)])
def test_undeclared_groups_are_refused(groups, function, side, words, pdu, group):
    with qxtest.raises_exactly(Exception, f"{G}{function}: {words} signal group {group} of PDU {pdu} is not declared"):
        call(function, groups, cmd(function, **key(side, pdu, group)))


def test_a_receive_group_is_not_a_transmit_one(tport):
    call("RxPdu_Config", tport, cmd("RxPdu_Config", **key("Rx", 9, 1)))
    with qxtest.raises_exactly(Exception, f"{G}TxPdu_Write: transmit signal group 1 of PDU 9 is not declared"):
        call("TxPdu_Write", tport, cmd("TxPdu_Write", **key("Tx", 9, 1)))


@pytest.mark.parametrize("side, function, words", [("Tx", "TxPdu_Write", "transmit"), ("Rx", "RxPdu_Read", "receive")])
def test_groups_without_signals_are_neither_written_nor_read(tport, side, function, words):
    call(f"{side}Pdu_Config", tport, cmd(f"{side}Pdu_Config", **key(side)))
    with qxtest.raises_exactly(Exception, f"{G}{function}: {words} signal group 3 of PDU 7 has no signals mapped"):
        call(function, tport, cmd(function, **key(side)))
    call(f"{side}Pdu_Mapping", tport, cmd(f"{side}Pdu_Mapping", SignalId=1, **key(side)))
    assert call(function, tport, cmd(function, **key(side))) is None


def test_declaring_again_keeps_the_mappings(groups):
    call("TxPdu_Config", groups, cmd("TxPdu_Config", UpdateBitPosition=12, **key("Tx")))
    assert call("TxPdu_Write", groups, cmd("TxPdu_Write", **key("Tx"))) is None


def test_unknown_transfer_property_is_refused(tport):
    with qxtest.raises_exactly(Exception, f"{G}TxPdu_Config: unknown transfer property 5"):
        call("TxPdu_Config", tport, cmd("TxPdu_Config", TransferProperty=tv.QX_TROVIX__COM__TRANSFER_PROPERTY__UNKNOWN))


def test_group_table_and_mappings_fill(tport):
    for group in range(16):
        call("RxPdu_Config", tport, cmd("RxPdu_Config", **key("Rx", 1, group)))
    with qxtest.raises_exactly(Exception, f"{G}RxPdu_Config: the receive signal group table is full (16 entries)"):
        call("RxPdu_Config", tport, cmd("RxPdu_Config", **key("Rx", 1, 16)))
    for signal in range(16):
        call("RxPdu_Mapping", tport, cmd("RxPdu_Mapping", SignalId=signal, **key("Rx", 1, 0)))
    call("RxPdu_Mapping", tport, cmd("RxPdu_Mapping", SignalId=15, **key("Rx", 1, 0)))   # mapped already
    with qxtest.raises_exactly(Exception, f"{G}RxPdu_Mapping: receive signal group 0 of PDU 1 holds 16 signals already"):
        call("RxPdu_Mapping", tport, cmd("RxPdu_Mapping", SignalId=16, **key("Rx", 1, 0)))


@pytest.fixture
def rx_group(signals):
    """Receive group 3 of PDU 7 holding Gear (handle 1, one byte) then Speed
    (handle 0, two bytes)."""
    call("RxPdu_Config", signals, cmd("RxPdu_Config", **key("Rx")))
    for mapping, signal in enumerate((1, 0)):
        call("RxPdu_Mapping", signals, cmd("RxPdu_Mapping", SignalId=signal, SignalMappingId=mapping, **key("Rx")))
    return signals


def read_signal(port, qxt, handle):
    data = qxt.qxt_u8_array([0] * 8)
    flags, size = tv.Qx_Trovix_Signal_Read(port, 0, 0, handle, 8, data)
    return flags, qxt.qxt_read_u8(data, size)


@pytest.mark.parametrize("delivered, gear, speed", [
    (b"\x07\x34\x12", [7], [0x34, 0x12]),
    (b"\x07\x34", [7], [1, 2]),   # the delivery ends inside Speed: Speed keeps its default 513
    (b"", [0], [1, 2]),           # nothing delivered: both keep what they held
])
def test_reading_a_receive_group_takes_the_delivery_into_its_signals(sim, qxt, rx_group, delivered, gear, speed):
    sim.output(G + "RxPdu_Read", 0, delivered)
    assert call("RxPdu_Read", rx_group, cmd("RxPdu_Read", **key("Rx"))) is None
    assert read_signal(rx_group, qxt, 1)[1] == gear
    assert read_signal(rx_group, qxt, 0)[1] == speed
    assert read_signal(rx_group, qxt, 1)[0] == (1 if delivered else 0)


def test_a_group_mapping_an_unknown_signal_is_not_read(sim, qxt, rx_group):
    call("RxPdu_Mapping", rx_group, cmd("RxPdu_Mapping", SignalId=9, SignalMappingId=2, **key("Rx")))
    sim.output(G + "RxPdu_Read", 0, b"\x07\x34\x12")
    with qxtest.raises_exactly(Exception, f"{G}RxPdu_Read: unknown signal handle 9"):
        call("RxPdu_Read", rx_group, cmd("RxPdu_Read", **key("Rx")))
    assert read_signal(rx_group, qxt, 1)[1] == [0]
