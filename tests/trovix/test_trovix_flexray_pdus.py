"""Trovix FlexRay interface: PDUs, LPDUs, the placement of PDUs in LPDUs,
frame triggers, and the sized transmit and receive PDU tables; the records
Qx_Trovix_FlexRayIf_{Pdu,LPdu,PduInLPdu,FrameTrigger,TxPdu,RxPdu}_Config_Parameters_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

F = "Qx_Trovix_FlexRayIf_"
KINDS = ["Pdu", "LPdu", "PduInLPdu", "FrameTrigger", "TxPdu", "RxPdu"]
PDU, LPDU, PLACEMENT, TRIGGER, TX, RX = (f"{F}{kind}_Config_Parameters_t" for kind in KINDS)
SIZES = {PDU: 12, LPDU: 12, PLACEMENT: 16, TRIGGER: 16, TX: 16, RX: 16}
WIDTH = {"u8": 0xFF, "u16": 0xFFFF, "u32": 0xFFFFFFFF}
MEMBERS = [(f"{F}{kind}_Config_Parameters_t", field, kind)
           for kind in KINDS for field in layouts.record(f"{F}{kind}_Config_Parameters_t").fields]
CHAB = tv.QX_TROVIX__FLEXRAY_IF__CHANNEL__CHAB


def read_all(name, record):
    return {f: getattr(tv, f"{name}_{f}_get")(record) for f in layouts.record(name).fields}


@pytest.fixture
def controller(tport):
    """Controller 2 of cluster 1 configured, the transmit and receive PDU
    tables sized for 4 entries each."""
    tv.Qx_Trovix_FlexRayIf_Cluster_Config(tport, qxtest.new_record(
        tv, "Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t", ClusterId=1))
    tv.Qx_Trovix_FlexRayIf_Controller_Config(tport, qxtest.new_record(
        tv, "Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t", ClusterId=1, ControllerId=2))
    tv.Qx_Trovix_FlexRayIf_TxPdu_MaxNumber(tport, 4)
    tv.Qx_Trovix_FlexRayIf_RxPdu_MaxNumber(tport, 4)
    return tport


@pytest.fixture
def frames(controller):
    """On top of `controller`: PDU 0xA0000001 of 8 bytes and LPDU 0xB0000001
    of 32 bytes."""
    tv.Qx_Trovix_FlexRayIf_Pdu_Config(controller, qxtest.new_record(
        tv, PDU, PduId=0xA0000001, ControllerId=2, ByteLengthMax=8))
    tv.Qx_Trovix_FlexRayIf_LPdu_Config(controller, qxtest.new_record(
        tv, LPDU, LPduId=0xB0000001, ControllerId=2, ByteLengthMax=32))
    return controller


# ---- records -------------------------------------------------------------------

@pytest.mark.parametrize("name", SIZES)
def test_fresh_record_reads_zero_from_every_member(name):
    assert layouts.size(name) == SIZES[name]
    assert read_all(name, qxtest.new_record(tv, name)) == layouts.unpack(name, bytes(SIZES[name]))


@pytest.mark.parametrize("name, field, kind", MEMBERS)
def test_each_setter_writes_its_member_alone_truncated_to_its_width(name, field, kind):
    fields = layouts.record(name).fields
    values = {f: (0x01010101 * (i + 1)) & WIDTH[fields[f].type] for i, f in enumerate(fields)}
    record = qxtest.new_record(tv, name, **values)
    setter = getattr(tv, f"{name}_{field}_set")
    setter(record, 2**32 - 1)
    values[field] = WIDTH[fields[field].type]
    assert read_all(name, record) == values
    declared = f"{F}{kind}_Config_Flags_t" if field == "Flags" else fields[field].type + "_t"
    message = f"in method '{name}_{field}_set', argument 2 of type '{declared}'"
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), (1.5, TypeError), (None, TypeError)):
        with qxtest.raises_exactly(exc, message):
            setter(record, bad)
    assert read_all(name, record) == values


# ---- bindings: the records and numbers reach the library as given ----------------------

@pytest.mark.parametrize("kind, values", [
    ("Pdu", dict(Flags=0x80000001, PduId=0xA0000002, ControllerId=2, ByteLengthMax=254, reserved1=3, reserved2=4)),
    ("LPdu", dict(Flags=0xFFFFFFFF, LPduId=0xB0000002, ControllerId=2, ByteLengthMax=254, UnusedBitValue=1,
                  UnusedByteValue=0xA5)),
    ("PduInLPdu", dict(Flags=5, PduId=0xA0000001, LPduId=0xB0000001, UpdateBitPosition=0xFFFE, ControllerId=2,
                       BytePosition=24)),
    ("FrameTrigger", dict(Flags=6, LPduId_ImmediatePduId=0xB0000001, SlotId=0xFFFF, BaseCycle=3, CycleRepetition=64,
                          Channel=CHAB, ControllerId=2, FillByteValue=0x55, reserved2=0xAA)),
    ("TxPdu", dict(Flags=7, FrPduId=0xA0000001, TxPduId=0xFFFFFFFF, EcuId=0xEC, ControllerId=2, reserved1=1,
                   reserved2=2)),
    ("RxPdu", dict(Flags=8, FrPduId=0xA0000001, RxPduId=0x80000000, EcuId=0xCE, ControllerId=2, reserved1=3,
                   reserved2=4)),
])
def test_record_reaches_the_library_as_laid_out(sim, frames, kind, values):
    name, binding = f"{F}{kind}_Config_Parameters_t", f"{F}{kind}_Config"
    record = qxtest.new_record(tv, name, **values)
    assert getattr(tv, binding)(frames, record) is None
    call = sim.last(binding)
    assert call.arg(1).value == frames
    assert call.arg(2).bytes == layouts.pack(name, **values)
    assert layouts.unpack(name, call.arg(2).bytes) == values
    assert read_all(name, record) == values


@pytest.mark.parametrize("kind, word", [("Tx", "transmit"), ("Rx", "receive")])
def test_maximum_numbers_pass_unchanged(sim, tport, kind, word):
    binding = f"{F}{kind}Pdu_MaxNumber"
    assert getattr(tv, binding)(tport, 32) is None
    assert sim.last(binding).arg(2).value == 32
    with qxtest.raises_exactly(Exception, f"{binding}: 4294967295 {word} PDUs asked for, the stack holds at most 32"):
        getattr(tv, binding)(tport, 2**32 - 1)
    assert sim.last(binding).arg(2).value == 2**32 - 1


# ---- arguments refused before the call ---------------------------------------------

def record_message(kind):
    return f"in method '{F}{kind}_Config', argument 2 of type '{F}{kind}_Config_Parameters_t const *const'"


@pytest.mark.parametrize("binding, args, exc, message", [
    (f"{F}RxPdu_Config", (qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_TxPdu_Config_Parameters_t"),), TypeError,
     record_message("RxPdu")),
    (f"{F}TxPdu_Config", (qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_RxPdu_Config_Parameters_t"),), TypeError,
     record_message("TxPdu")),
    (f"{F}Pdu_Config", (qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_LPdu_Config_Parameters_t"),), TypeError, record_message("Pdu")),
    (f"{F}LPdu_Config", (qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_Pdu_Config_Parameters_t"),), TypeError, record_message("LPdu")),
    (f"{F}PduInLPdu_Config", (3,), TypeError, record_message("PduInLPdu")),
    (f"{F}FrameTrigger_Config", (qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_PduInLPdu_Config_Parameters_t"),), TypeError,
     record_message("FrameTrigger")),
    (f"{F}TxPdu_MaxNumber", (-1,), OverflowError,
     "in method 'Qx_Trovix_FlexRayIf_TxPdu_MaxNumber', argument 2 of type 'u32_t'"),
    (f"{F}RxPdu_MaxNumber", (2**32,), OverflowError,
     "in method 'Qx_Trovix_FlexRayIf_RxPdu_MaxNumber', argument 2 of type 'u32_t'"),
    (f"{F}RxPdu_MaxNumber", ("4",), TypeError,
     "in method 'Qx_Trovix_FlexRayIf_RxPdu_MaxNumber', argument 2 of type 'u32_t'"),
    (f"{F}TxPdu_MaxNumber", (4, 4), TypeError, "Qx_Trovix_FlexRayIf_TxPdu_MaxNumber expected 2 arguments, got 3"),
    (f"{F}FrameTrigger_Config", (), TypeError, "Qx_Trovix_FlexRayIf_FrameTrigger_Config expected 2 arguments, got 1"),
])
def test_arguments_refused_before_the_call(sim, tport, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, binding)(tport, *args)
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("binding", [f"{F}{kind}_Config" for kind in KINDS] +
                                    [f"{F}TxPdu_MaxNumber", f"{F}RxPdu_MaxNumber"])
def test_port_is_argument_1_and_converted_first(sim, binding):
    with qxtest.raises_exactly(OverflowError, f"in method '{binding}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(tv, binding)(-1, "neither a record nor a number")
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("kind, what", [("Pdu", "PDU parameters"), ("LPdu", "LPDU parameters"),
                                        ("PduInLPdu", "PDU placement"), ("FrameTrigger", "frame trigger"),
                                        ("TxPdu", "transmit PDU"), ("RxPdu", "receive PDU")])
def test_none_passes_a_null_record_and_the_status_decides(sim, tport, kind, what):
    binding = f"{F}{kind}_Config"
    with qxtest.raises_exactly(Exception, f"{binding}: no {what} given"):
        getattr(tv, binding)(tport, None)
    assert sim.last(binding).arg(2).is_null


def test_failure_carries_the_library_text_and_keeps_the_record(sim, frames):
    record = qxtest.new_record(tv, TRIGGER, LPduId_ImmediatePduId=0xB0000001, SlotId=12, CycleRepetition=1)
    sim.fail(f"{F}FrameTrigger_Config", text=b"FrIf refused")
    with qxtest.raises_exactly(Exception, "FrIf refused"):
        tv.Qx_Trovix_FlexRayIf_FrameTrigger_Config(frames, record)
    assert read_all(TRIGGER, record)["SlotId"] == 12


# ---- the simulated stack -------------------------------------------------------------

@pytest.mark.parametrize("kind, name, key", [("Pdu", PDU, "PduId"), ("LPdu", LPDU, "LPduId")])
def test_pdus_and_lpdus_need_their_controller_and_are_keyed_by_identifier(sim, controller, kind, name, key):
    binding = f"{F}{kind}_Config"
    record = qxtest.new_record(tv, name, ControllerId=3, **{key: 1})
    with qxtest.raises_exactly(Exception, f"{binding}: controller 3 is not configured"):
        getattr(tv, binding)(controller, record)
    getattr(tv, f"{name}_ControllerId_set")(record, 2)
    for ident in range(32):
        getattr(tv, f"{name}_{key}_set")(record, ident)
        getattr(tv, binding)(controller, record)
    getattr(tv, binding)(controller, record)        # a known identifier is replaced, even in a full table
    getattr(tv, f"{name}_{key}_set")(record, 32)
    what = kind.replace("Pdu", "PDU")
    with qxtest.raises_exactly(Exception, f"{binding}: the {what} table is full (32 entries)"):
        getattr(tv, binding)(controller, record)


def test_lpdu_unused_bit_value_is_a_bit(controller):
    with qxtest.raises_exactly(Exception, f"{F}LPdu_Config: UnusedBitValue 2 is not a bit value"):
        tv.Qx_Trovix_FlexRayIf_LPdu_Config(controller, qxtest.new_record(tv, LPDU, ControllerId=2, UnusedBitValue=2))


@pytest.mark.parametrize("fields, text", [
    (dict(PduId=0xA0000002, LPduId=0xB0000001), f"unknown PDU {0xA0000002}"),
    (dict(PduId=0xA0000001, LPduId=0xB0000002), f"unknown LPDU {0xB0000002}"),
    (dict(PduId=0xA0000001, LPduId=0xB0000001, BytePosition=25),
     f"PDU {0xA0000001} of 8 bytes at byte 25 does not fit LPDU {0xB0000001} of 32 bytes"),
    (dict(PduId=0xA0000001, LPduId=0xB0000001, BytePosition=24), None),
])
def test_a_placement_names_a_known_pdu_that_fits_its_lpdu(frames, fields, text):
    record = qxtest.new_record(tv, PLACEMENT, ControllerId=2, **fields)
    if text is None:
        assert tv.Qx_Trovix_FlexRayIf_PduInLPdu_Config(frames, record) is None
        return
    with qxtest.raises_exactly(Exception, f"{F}PduInLPdu_Config: {text}"):
        tv.Qx_Trovix_FlexRayIf_PduInLPdu_Config(frames, record)


@pytest.mark.parametrize("fields, text", [
    (dict(LPduId_ImmediatePduId=7, CycleRepetition=1), "unknown LPDU or PDU 7"),
    (dict(LPduId_ImmediatePduId=0xB0000001, Channel=CHAB + 1, CycleRepetition=1), "unknown Channel 3"),
    (dict(LPduId_ImmediatePduId=0xB0000001, BaseCycle=4, CycleRepetition=4),
     "BaseCycle 4 is not below CycleRepetition 4"),
    (dict(LPduId_ImmediatePduId=0xB0000001, CycleRepetition=0), "BaseCycle 0 is not below CycleRepetition 0"),
    (dict(LPduId_ImmediatePduId=0xB0000001, BaseCycle=3, CycleRepetition=4), None),
    (dict(LPduId_ImmediatePduId=0xA0000001, Channel=1, CycleRepetition=1), None),   # an immediate PDU
])
def test_a_frame_trigger_sends_a_known_lpdu_or_pdu_on_a_channel_and_cycle(frames, fields, text):
    record = qxtest.new_record(tv, TRIGGER, ControllerId=2, SlotId=1, **fields)
    if text is None:
        assert tv.Qx_Trovix_FlexRayIf_FrameTrigger_Config(frames, record) is None
        return
    with qxtest.raises_exactly(Exception, f"{F}FrameTrigger_Config: {text}"):
        tv.Qx_Trovix_FlexRayIf_FrameTrigger_Config(frames, record)


@pytest.mark.parametrize("kind, word", [("Tx", "transmit"), ("Rx", "receive")])
def test_transmit_and_receive_tables_are_sized_first_and_name_known_pdus(sim, tport, kind, word):
    configure, size = getattr(tv, f"{F}{kind}Pdu_Config"), getattr(tv, f"{F}{kind}Pdu_MaxNumber")
    name = f"{F}{kind}Pdu_Config_Parameters_t"
    tv.Qx_Trovix_FlexRayIf_Cluster_Config(tport, qxtest.new_record(
        tv, "Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t", ClusterId=0))
    tv.Qx_Trovix_FlexRayIf_Controller_Config(tport, qxtest.new_record(tv, "Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t"))
    for pdu_id in (1, 2, 3):
        tv.Qx_Trovix_FlexRayIf_Pdu_Config(tport, qxtest.new_record(tv, PDU, PduId=pdu_id))
    record = qxtest.new_record(tv, name, FrPduId=9)
    with qxtest.raises_exactly(Exception, f"{F}{kind}Pdu_Config: unknown PDU 9"):
        configure(tport, record)
    getattr(tv, f"{name}_FrPduId_set")(record, 1)
    with qxtest.raises_exactly(Exception, f"{F}{kind}Pdu_Config: the {word} PDU table is full (0 entries)"):
        configure(tport, record)
    size(tport, 2)
    for pdu_id in (1, 2, 2):                        # the same PDU again replaces it
        getattr(tv, f"{name}_FrPduId_set")(record, pdu_id)
        configure(tport, record)
    getattr(tv, f"{name}_FrPduId_set")(record, 3)
    with qxtest.raises_exactly(Exception, f"{F}{kind}Pdu_Config: the {word} PDU table is full (2 entries)"):
        configure(tport, record)
    with qxtest.raises_exactly(Exception, f"{F}{kind}Pdu_MaxNumber: 1 {word} PDUs asked for, "
                                          "2 are configured already"):
        size(tport, 1)
    size(tport, 3)
    configure(tport, record)
