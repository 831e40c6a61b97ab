"""Broadcast transport protocol: the transmit and receive adaptors that tie
an input PDU to an output PDU, each side with its message length."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

B = "Qx_Trovix_BroadcastTpC1_"
TX = f"{B}TxAdaptor_Cmd_t"
RX = f"{B}RxAdaptor_Cmd_t"
SIDES = [("TxAdaptor", TX, "Tx", "transmit"), ("RxAdaptor", RX, "Rx", "receive")]


def adaptor(record, side, adaptor_id=1, **fields):
    values = {f"{side}AdaptorId": adaptor_id, f"{side}InPduId": 10, f"{side}OutPduId": 11,
              "MessageLengthIn": 64, "MessageLengthOut": 8}
    values.update(fields)
    return qxtest.new_record(tv, record, **values)


@pytest.mark.parametrize("record, count", [(TX, 7), (RX, 6)])
def test_new_record_reads_zero_in_every_field(record, count):
    rec = qxtest.new_record(tv, f"{record}")
    got = {f: getattr(tv, f"{record}_{f}_get")(rec) for f in layouts.record(record).fields}
    assert len(got) == count and got == layouts.unpack(record, bytes(layouts.size(record)))


@pytest.mark.parametrize("function, record, size, fields", [
    ("TxAdaptor", TX, 24, dict(Flags=0x80000001, TxAdaptorId=2**32 - 1, TxInPduId=0x01020304, TxOutPduId=9,
                               MessageLengthIn=65535, MessageLengthOut=0x1234, MessagePartSendDelay=2**32 - 2)),
    ("RxAdaptor", RX, 20, dict(Flags=2**32 - 1, RxAdaptorId=5, RxInPduId=6, RxOutPduId=0xFFFF0000,
                               MessageLengthIn=1, MessageLengthOut=0xFEDC)),
])
def test_adaptors_reach_the_library_whole(sim, tport, function, record, size, fields):
    assert getattr(tv, B + function)(tport, qxtest.new_record(tv, record, **fields)) is None
    call = sim.last(B + function)
    assert call.arg(1).value == tport and call.arg(2).size == size
    assert layouts.unpack(record, call.arg(2).bytes) == fields


@pytest.mark.parametrize("record, field, value, exc, declared", [
    (TX, "MessageLengthIn", -1, OverflowError, "u16_t"),
    (TX, "MessagePartSendDelay", 2**32, OverflowError, "u32_t"),
    (RX, "Flags", -1, OverflowError, f"{B}RxAdaptor_CmdFlags_t"),
    (TX, "Flags", 1.0, TypeError, f"{B}TxAdaptor_CmdFlags_t"),
    (RX, "RxInPduId", "6", TypeError, "u32_t"),
])
def test_refused_values_keep_the_field(record, field, value, exc, declared):
    rec = qxtest.new_record(tv, record, **{field: 6})
    with qxtest.raises_exactly(exc, f"in method '{record}_{field}_set', argument 2 of type '{declared}'"):
        getattr(tv, f"{record}_{field}_set")(rec, value)
    assert getattr(tv, f"{record}_{field}_get")(rec) == 6


def test_accessors_take_only_their_record():
    assert tv.Qx_Trovix_BroadcastTpC1_TxAdaptor_Cmd_t_MessageLengthIn_set(None, 5) is None
    with qxtest.raises_exactly(TypeError, f"in method '{TX}_MessageLengthIn_set', argument 1 of type '{TX} *'"):
        tv.Qx_Trovix_BroadcastTpC1_TxAdaptor_Cmd_t_MessageLengthIn_set(qxtest.new_record(tv, "Qx_Trovix_BroadcastTpC1_RxAdaptor_Cmd_t"), 5)


@pytest.mark.parametrize("function, args, exc, message", [
    ("RxAdaptor", (0, qxtest.new_record(tv, "Qx_Trovix_BroadcastTpC1_TxAdaptor_Cmd_t")), TypeError,
     f"in method '{B}RxAdaptor', argument 2 of type '{RX} const *const'"),
    ("TxAdaptor", (0, qxtest.new_record(tv, "Qx_Trovix_BroadcastTpC1_RxAdaptor_Cmd_t")), TypeError,
     f"in method '{B}TxAdaptor', argument 2 of type '{TX} const *const'"),
    ("TxAdaptor", (2**32, None), OverflowError, f"in method '{B}TxAdaptor', argument 1 of type 'Qx_PortHandle_t'"),
    ("RxAdaptor", (None, None), TypeError, f"in method '{B}RxAdaptor', argument 1 of type 'Qx_PortHandle_t'"),
    ("RxAdaptor", (0, None, 1), TypeError, f"{B}RxAdaptor expected 2 arguments, got 3"),
])
def test_arguments_refused_before_the_call(sim, tport, function, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, B + function)(*args)
    assert sim.calls(B + function) == 0


@pytest.mark.parametrize("function", ["TxAdaptor", "RxAdaptor"])
def test_none_passes_a_null_command_and_the_failure_raises(sim, tport, function):
    with qxtest.raises_exactly(Exception, f"{B}{function}: no command given"):
        getattr(tv, B + function)(tport, None)
    assert sim.last(B + function).arg(2).is_null


def test_scripted_failure_carries_the_library_text(sim, tport):
    sim.fail(f"{B}TxAdaptor", text=b"adaptor refused")
    with qxtest.raises_exactly(Exception, "adaptor refused"):
        tv.Qx_Trovix_BroadcastTpC1_TxAdaptor(tport, adaptor(TX, "Tx"))


@pytest.mark.parametrize("function, record, side, words", SIDES)
@pytest.mark.parametrize("fields, text", [
    (dict(MessageLengthIn=0), "message length 0 in, 8 out"),
    (dict(MessageLengthOut=65536), "message length 64 in, 0 out"),
    (dict(InPduId=11), "PDU 11 is both its input and its output"),
])
def test_stack_refuses_empty_messages_and_looped_pdus(tport, function, record, side, words, fields, text):
    fields = {(side + f if f.endswith("PduId") else f): v for f, v in fields.items()}
    with qxtest.raises_exactly(Exception, f"{B}{function}: {words} adaptor 4: {text}"):
        getattr(tv, B + function)(tport, adaptor(record, side, 4, **fields))


@pytest.mark.parametrize("function, record, side, words", SIDES)
def test_adaptor_table_fills_and_known_adaptors_are_configured_again(tport, function, record, side, words):
    configure = getattr(tv, B + function)
    for adaptor_id in range(8):
        configure(tport, adaptor(record, side, adaptor_id))
    configure(tport, adaptor(record, side, 7, MessageLengthOut=16))
    with qxtest.raises_exactly(Exception, f"{B}{function}: the {words} adaptor table is full (8 entries)"):
        configure(tport, adaptor(record, side, 8))


def test_method_table_holds_each_record_before_its_function():
    def entries(record):
        fields = [f"{record}_{f}_{op}" for f in layouts.record(record).fields for op in ("set", "get")]
        return fields + [f"new_{record}", f"delete_{record}", f"{record}_swigregister", f"{record}_swiginit"]
    expected = entries(TX) + [f"{B}TxAdaptor"] + entries(RX) + [f"{B}RxAdaptor"]
    assert [name for name in vars(tv) if name.startswith(B) or B in name and name.startswith(("new_", "delete_"))] \
        == expected
