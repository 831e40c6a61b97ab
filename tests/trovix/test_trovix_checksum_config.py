"""Checksum of a signal of a Com transmit PDU: its mode and parameters
(Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t and its union `u`), its
included bytes (Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_Cmd_t) and its
wrapper (Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t with the custom-mode-1
record Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_t)."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

CONFIG = "Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t"
UNION = f"{CONFIG}_u"
INCLUDED = "Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_Cmd_t"
WRAPPER = "Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t"
PARAMETERS = f"{WRAPPER}_Parameters"
CUSTOM1 = "Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_t"
CRC = "Qx_Trovix_Checksum_CrcWithUserBytes_t"
C14 = "Qx_Trovix_Checksum_Custom14_t"
MEMBERS = {  # union member: its record, the mode it goes with
    "XorWithUserBytes": ("Qx_Trovix_Checksum_XorWithUserBytes_t", "XOR_WITH_USER_BYTES"),
    "CrcWithUserBytes": (CRC, "CRC_WITH_USER_BYTES"),
    "Custom12": ("Qx_Trovix_Checksum_Custom12_t", "CUSTOM_12"),
    "AddNibbles": ("Qx_Trovix_Checksum_AddNibbles_t", "ADD_NIBBLES"),
    "Custom14": (C14, "CUSTOM_14"),
    "AddBytes_XorNibbles": ("Qx_Trovix_Checksum_AddBytes_XorNibbles_t", "ADD_BYTES__XOR_NIBBLES"),
}
MODE = "QX_TROVIX__CHECKSUM_MODE__"
WRAP_MODE = "QX_TROVIX__COM__TX_PDU__CHECKSUM__WRAPPER__MODE__"
API = {"Config": CONFIG, "IncludedBytes": INCLUDED, "Wrapper": WRAPPER}
FN = "Qx_Trovix_Com_TxPdu_Checksum_"


def distinct(name, seed=1):
    """Every field of record `name` (arrays whole) with a value of its own."""
    values = {}
    for i, (field, info) in enumerate(layouts.record(name).fields.items()):
        top = 0xFF if info.type == "u8" else 0xFFFFFFFF
        if info.count:
            values[field] = [(seed * 31 + i * 7 + k) % (top + 1) for k in range(info.count)]
        else:
            values[field] = (seed * 0x01020305 + i * 0x1111) % (top + 1) or 1
    return values


def put_member(config, member, record):
    getattr(tv, f"{UNION}_{member}_set")(getattr(tv, f"{CONFIG}_u_get")(config), record)


@pytest.fixture
def com(tport):
    """Transmit PDU 10 (8 bytes) configured; signal 3 of it has a CRC8
    checksum."""
    tv.Qx_Trovix_Com_TxPdu_MaxNumber(tport, 2)
    tv.Qx_Trovix_Com_TxPdu_Config(tport, qxtest.new_record(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t",
                                                           TxPduId=10, PduLength=8))
    tv.Qx_Trovix_Com_TxPdu_Checksum_Config(tport, qxtest.new_record(
        tv, CONFIG, TxPduId=10, TxPduSignalId=3, ChecksumMode=getattr(tv, MODE + "CRC8_J1850")))
    return tport


# ---- configuration ------------------------------------------------------------------

def test_wrapper_modes():
    assert [getattr(tv, WRAP_MODE + m) for m in ("OFF", "DEFAULT", "CUSTOM_1", "UNKNOWN")] == [0, 1, 2, 3]


@pytest.mark.parametrize("member", MEMBERS)
def test_configuration_reaches_the_library_whole(sim, com, member):
    record, mode = MEMBERS[member]
    params = distinct(record)
    head = dict(Flags=0x80000001, TxPduId=10, TxPduSignalId=7, ChecksumMode=getattr(tv, MODE + mode), Priority=200,
                reserved2=5, reserved3=6)
    config = qxtest.new_record(tv, CONFIG, **head)
    put_member(config, member, qxtest.new_record(tv, record, **params))
    assert tv.Qx_Trovix_Com_TxPdu_Checksum_Config(com, config) is None
    call = sim.last(FN + "Config")
    assert call.arg(1).value == com and call.arg(2).size == 56
    got = layouts.unpack(CONFIG, call.arg(2).bytes)
    assert got.pop("u")[member] == params
    assert got == head


def test_members_overlay_the_same_bytes(sim, com):
    crc = distinct(CRC)
    c14 = dict(MessageId=0xA1B2C3D4, MessageCounter_BitPosition=1, MessageCounter_BitSize=2, reserved1=3, reserved2=4)
    config = qxtest.new_record(tv, CONFIG, TxPduId=10, ChecksumMode=getattr(tv, MODE + "CRC_WITH_USER_BYTES"))
    put_member(config, "CrcWithUserBytes", qxtest.new_record(tv, CRC, **crc))
    put_member(config, "Custom14", qxtest.new_record(tv, C14, **c14))
    tv.Qx_Trovix_Com_TxPdu_Checksum_Config(com, config)
    sent = sim.last(FN + "Config").arg(2).bytes
    expected = layouts.pack(C14, **c14) + layouts.pack(CRC, **crc)[8:]
    assert sent[16:] == expected
    # the views read the same bytes
    view = tv.Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t_u_CrcWithUserBytes_get(
        tv.Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t_u_get(config))
    assert tv.Qx_Trovix_Checksum_CrcWithUserBytes_t_InitialValue_get(view) == crc["InitialValue"]
    assert tv.Qx_Trovix_Checksum_CrcWithUserBytes_t_Polynomial_get(view) == layouts.unpack(CRC, expected)["Polynomial"]


def test_union_holds_a_copy_and_views_write_through(sim, com):
    config = qxtest.new_record(tv, CONFIG, TxPduId=10, ChecksumMode=getattr(tv, MODE + "CUSTOM_14"))
    record = qxtest.new_record(tv, C14, MessageId=5)
    put_member(config, "Custom14", record)
    tv.Qx_Trovix_Checksum_Custom14_t_MessageId_set(record, 6)      # the script's own record only
    view = tv.Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t_u_Custom14_get(
        tv.Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t_u_get(config))
    tv.Qx_Trovix_Checksum_Custom14_t_MessageCounter_BitSize_set(view, 4)
    tv.Qx_Trovix_Com_TxPdu_Checksum_Config(com, config)
    sent = layouts.unpack(CONFIG, sim.last(FN + "Config").arg(2).bytes)["u"]["Custom14"]
    assert (sent["MessageId"], sent["MessageCounter_BitSize"]) == (5, 4)
    assert tv.Qx_Trovix_Checksum_Custom14_t_MessageId_get(record) == 6
    tv.delete_Qx_Trovix_Checksum_Custom14_t(view)                  # a view frees nothing
    tv.Qx_Trovix_Com_TxPdu_Checksum_Config(com, config)
    assert sim.last(FN + "Config").arg(2).bytes == sim.entries(FN + "Config")[-2].arg(2).bytes


@pytest.mark.parametrize("value, stored", [(279, 23), (3, 3), (2**32 - 1, 255)])
def test_checksum_mode_is_a_plain_byte(value, stored):
    config = qxtest.new_record(tv, CONFIG, ChecksumMode=value)
    assert tv.Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t_ChecksumMode_get(config) == stored


def test_checksum_mode_travels_truncated(sim, com):
    tv.Qx_Trovix_Com_TxPdu_Checksum_Config(com, qxtest.new_record(tv, CONFIG, TxPduId=10, ChecksumMode=279))
    assert layouts.unpack(CONFIG, sim.last(FN + "Config").arg(2).bytes)["ChecksumMode"] == \
        tv.QX_TROVIX__CHECKSUM_MODE__ADD_BYTES__XOR_NIBBLES


# ---- included bytes and wrapper ------------------------------------------------------

def test_included_bytes_reach_the_library_whole(sim, com):
    fields = dict(Flags=0xFFFFFFFF, TxPduId=10, TxPduSignalId=3, NumberOfIncludedBytes=8, reserved1=1, reserved2=2,
                  reserved3=3, IncludedBytes=[7, 6, 5, 4, 3, 2, 1, 0] + [255] * 247)
    assert tv.Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes(com, qxtest.new_record(tv, INCLUDED, **fields)) is None
    call = sim.last(FN + "IncludedBytes")
    assert call.arg(2).size == 272 and call.arg(2).bytes[271] == 0
    assert layouts.unpack(INCLUDED, call.arg(2).bytes) == fields


def test_wrapper_reaches_the_library_whole(sim, com):
    custom = distinct(CUSTOM1, seed=3)
    given = dict(custom, TxPduSignalIds=[-1] + custom["TxPduSignalIds"][1:])     # list items are signed 32 bits
    custom["TxPduSignalIds"][0] = 2**32 - 1
    head = dict(Flags=9, TxPduId=10, TxPduSignalId=3, Mode=getattr(tv, WRAP_MODE + "CUSTOM_1"), reserved1=1,
                reserved2=2, reserved3=3)
    cmd = qxtest.new_record(tv, WRAPPER, **head)
    parameters = tv.Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t_Parameters_get(cmd)
    tv.Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t_Parameters_Custom1_set(parameters,
                                                                       qxtest.new_record(tv, CUSTOM1, **given))
    assert tv.Qx_Trovix_Com_TxPdu_Checksum_Wrapper(com, cmd) is None
    call = sim.last(FN + "Wrapper")
    assert call.arg(2).size == 1044
    got = layouts.unpack(WRAPPER, call.arg(2).bytes)
    assert got.pop("Parameters") == {"Custom1": custom}
    assert got == head


def test_wrapper_custom1_view_writes_into_the_command(sim, com):
    cmd = qxtest.new_record(tv, WRAPPER, TxPduId=10, TxPduSignalId=3, Mode=getattr(tv, WRAP_MODE + "CUSTOM_1"))
    view = tv.Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t_Parameters_Custom1_get(
        tv.Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t_Parameters_get(cmd))
    assert {f: getattr(tv, f"{CUSTOM1}_{f}_get")(view) for f in layouts.record(CUSTOM1).fields} == \
        layouts.unpack(CUSTOM1, bytes(1028))
    tv.Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_t_UnusedBitPattern_set(view, 0xAA)
    tv.Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_t_TxPduSignalIds_set(view, [2**31 - 1] * 255)
    tv.Qx_Trovix_Com_TxPdu_Checksum_Wrapper(com, cmd)
    sent = layouts.unpack(WRAPPER, sim.last(FN + "Wrapper").arg(2).bytes)["Parameters"]["Custom1"]
    assert sent["UnusedBitPattern"] == 0xAA and sent["TxPduSignalIds"] == [2**31 - 1] * 255


@pytest.mark.parametrize("record, field, n, item", [
    (INCLUDED, "IncludedBytes", 255, "u8_t"), (CUSTOM1, "TxPduSignalIds", 255, "u32_t")])
@pytest.mark.parametrize("value, exc, ending", [
    ("long", ValueError, "Expecting a sequence with 0xFF elements"),
    ("short", ValueError, "Expecting a sequence with 0xFF elements"),
    ("big", ValueError, "Expecting a sequence of {item}"),
    ("text", ValueError, "Expecting a sequence of {item}"),
    (None, TypeError, "Expecting a sequence"),
])
def test_255_element_arrays_are_all_or_nothing(record, field, n, item, value, exc, ending):
    value = {"long": [1] * 256, "short": [1] * 254, "big": [1] * 254 + [2**31], "text": ["1"] * 255}.get(value, value)
    rec = qxtest.new_record(tv, record, **{field: [7] * n})
    setter = f"{record}_{field}_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending.format(item=item)}"):
        getattr(tv, setter)(rec, value)
    assert getattr(tv, f"{record}_{field}_get")(rec) == [7] * n


# ---- what the stand-in refuses --------------------------------------------------------

@pytest.mark.parametrize("function, fields, text", [
    ("Config", dict(TxPduId=11, ChecksumMode=1), "unknown transmit PDU 11"),
    ("Config", dict(TxPduId=10, ChecksumMode=3), "unknown checksum mode 3"),
    ("IncludedBytes", dict(TxPduId=10, TxPduSignalId=3, NumberOfIncludedBytes=3, IncludedBytes=[0, 7, 8] + [0] * 252),
     "included byte 2 is byte 8, beyond the 8 bytes of transmit PDU 10"),
    ("IncludedBytes", dict(TxPduId=10, TxPduSignalId=4), "signal 4 of transmit PDU 10 has no checksum"),
    ("IncludedBytes", dict(TxPduId=12, TxPduSignalId=3), "unknown transmit PDU 12"),
    ("Wrapper", dict(TxPduId=10, TxPduSignalId=3, Mode=3), "unknown checksum-wrapper mode 3"),
    ("Wrapper", dict(TxPduId=10, TxPduSignalId=2, Mode=1), "signal 2 of transmit PDU 10 has no checksum"),
])
def test_stand_in_refuses_with_a_clear_text(sim, com, function, fields, text):
    with qxtest.raises_exactly(Exception, f"{FN}{function}: {text}"):
        getattr(tv, FN + function)(com, qxtest.new_record(tv, API[function], **fields))


def test_checksum_switched_off_takes_no_included_bytes(sim, com):
    cmd = qxtest.new_record(tv, INCLUDED, TxPduId=10, TxPduSignalId=3, NumberOfIncludedBytes=255,
                            IncludedBytes=[7] * 255)
    tv.Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes(com, cmd)        # every byte inside the PDU
    tv.Qx_Trovix_Com_TxPdu_Checksum_Config(com, qxtest.new_record(tv, CONFIG, TxPduId=10, TxPduSignalId=3))
    with qxtest.raises_exactly(Exception, f"{FN}IncludedBytes: signal 3 of transmit PDU 10 has no checksum"):
        tv.Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes(com, cmd)


def test_stand_in_holds_32_checksums_and_replaces_in_place(sim, com):
    def configure(signal):
        tv.Qx_Trovix_Com_TxPdu_Checksum_Config(com, qxtest.new_record(tv, CONFIG, TxPduId=10, TxPduSignalId=signal,
                                                                      ChecksumMode=1))
    for signal in range(100, 131):                 # 31 beside signal 3 of the fixture
        configure(signal)
    configure(3)
    with qxtest.raises_exactly(Exception, f"{FN}Config: the checksum table is full (32 entries)"):
        configure(131)


# ---- arguments ------------------------------------------------------------------------

@pytest.mark.parametrize("function", API)
def test_null_record_reaches_the_library_and_failures_carry_its_text(sim, com, function):
    what = {"Config": "checksum configuration", "IncludedBytes": "included bytes", "Wrapper": "checksum wrapper"}
    with qxtest.raises_exactly(Exception, f"{FN}{function}: no {what[function]} given"):
        getattr(tv, FN + function)(com, None)
    assert sim.last(FN + function).arg(2).is_null
    sim.fail(FN + function, text=b"device refused")
    with qxtest.raises_exactly(Exception, "device refused"):
        getattr(tv, FN + function)(com, qxtest.new_record(tv, API[function], TxPduId=10, TxPduSignalId=3))


@pytest.mark.parametrize("function", API)
@pytest.mark.parametrize("args, exc, message", [
    ((2**32, None), OverflowError, "in method '{fn}', argument 1 of type 'Qx_PortHandle_t'"),
    (("1", None), TypeError, "in method '{fn}', argument 1 of type 'Qx_PortHandle_t'"),
    ((1, "union"), TypeError, "in method '{fn}', argument 2 of type '{record} const *const'"),
    ((1, "member"), TypeError, "in method '{fn}', argument 2 of type '{record} const *const'"),
    ((1,), TypeError, "{fn} expected 2 arguments, got 1"),
])
def test_arguments_are_refused_before_the_call(sim, function, args, exc, message):
    others = {"Config": (UNION, C14), "IncludedBytes": (UNION, CRC), "Wrapper": (PARAMETERS, CUSTOM1)}[function]
    others = {"union": qxtest.new_record(tv, others[0]), "member": qxtest.new_record(tv, others[1])}
    args = tuple(others.get(a, a) if isinstance(a, str) else a for a in args)
    with qxtest.raises_exactly(exc, message.format(fn=FN + function, record=API[function])):
        getattr(tv, FN + function)(*args)
    assert sim.calls(FN + function) == 0


@pytest.mark.parametrize("parent, member, declared", [
    (UNION, "XorWithUserBytes", "Qx_Trovix_Checksum_XorWithUserBytes_t *"),
    (UNION, "AddBytes_XorNibbles", "Qx_Trovix_Checksum_AddBytes_XorNibbles_t *"),
    (PARAMETERS, "Custom1", f"{CUSTOM1} *"),
])
def test_member_setters_refuse_other_records_and_none(parent, member, declared):
    setter = f"{parent}_{member}_set"
    parent = qxtest.new_record(tv, parent)
    with qxtest.raises_exactly(TypeError, f"in method '{setter}', argument 2 of type '{declared}'"):
        getattr(tv, setter)(parent, qxtest.new_record(tv, "Qx_Trovix_Checksum_Custom12_t"))
    with qxtest.raises_exactly(ValueError, f"invalid null reference in method '{setter}', argument 2 of type '{declared}'"):
        getattr(tv, setter)(parent, None)


@pytest.mark.parametrize("record, field, declared", [
    (CONFIG, "Flags", "Qx_Trovix_Com_TxPdu_Checksum_Config_Flags_t"),
    (INCLUDED, "Flags", "Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_CmFlags_t"),
    (CUSTOM1, "Flags", "Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_Flags_t"),
    (WRAPPER, "Flags", "Qx_Trovix_Com_TxPdu_Checksum_Wrapper_CmFlags_t"),
    (CONFIG, "Priority", "u8_t"),
    (WRAPPER, "TxPduSignalId", "u32_t"),
])
def test_scalar_setters_name_their_declared_type(record, field, declared):
    rec = qxtest.new_record(tv, record, **{field: 9})
    for bad, exc in ((2**32, OverflowError), (-1, OverflowError), (9.0, TypeError)):
        with qxtest.raises_exactly(exc, f"in method '{record}_{field}_set', argument 2 of type '{declared}'"):
            getattr(tv, f"{record}_{field}_set")(rec, bad)
    assert getattr(tv, f"{record}_{field}_get")(rec) == 9


def test_nested_records_have_getters_only():
    assert not hasattr(tv, f"{CONFIG}_u_set") and not hasattr(tv, f"{WRAPPER}_Parameters_set")
