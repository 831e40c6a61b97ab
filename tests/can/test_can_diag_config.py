"""Diagnostic session configuration: the parameter records of GMLAN, J1939,
KWP2000 (over ISO-TP and TP 1.6) and UDS (over ISO-TP, and UDS) with their
tester-present parts, and the configuration of a channel with each, KWP2000
over TP 2.0 included."""
import pytest

import qxtest
can = qxtest.module("_qx_api_can")

from layouts import offset, pack, size  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402
from tp_control import (DIAG_STATE_READY, DIAG_TYPE, channel, filled, get_path, records,  # noqa: E402,F401
                        scalar_fields, take, tp)

P = "Qx_Can_Diag_Config_{}_Parameters_t".format
# binding suffix, record size, the transport the session runs over
SESSIONS = [
    ("GmLan", 24, "GmLan"),
    ("J1939", 32, "J1939"),
    ("Kw2000_IsoTp", 24, "IsoTp"),
    ("Kw2000_Tp_1_6", 12, "Tp_1_6"),
    ("Uds_IsoTp", 24, "Iso15765"),
    ("Uds", 24, "IsoTp"),
]
TESTER = [(kind, 11 if kind == "J1939" else 8) for kind, _, _ in SESSIONS if kind != "Kw2000_Tp_1_6"]
TRANSPORT_RECORD = {"GmLan": "Qx_Can_Tp_Config_GmLan_Parameters_t", "J1939": "Qx_Can_Tp_Config_J1939_Parameters_t",
                    "IsoTp": "Qx_Can_Tp_Config_IsoTp_Parameters_t", "Iso15765": "Qx_Can_Tp_Config_Iso15765_Cmd_t",
                    "Tp_1_6": "Qx_Can_Tp_Config_Tp_1_6_Parameters_t", "Tp_2_0": "Qx_Can_Tp_Config_Tp_2_0_Parameters_t"}


@pytest.fixture
def transport(port, records):
    """Configures a channel of the test's port for a transport protocol."""
    def configure(channel, kind):
        getattr(can, "Qx_Can_Tp_Config_" + kind)(port, channel, records(TRANSPORT_RECORD[kind]))
    return configure


# ---- the records --------------------------------------------------------------------

@pytest.mark.parametrize("kind, bytes_, over", SESSIONS)
def test_a_record_round_trips_every_field_to_the_library(sim, port, channel, records, transport, kind, bytes_, over):
    name = P(kind)
    record = records(name)
    assert size(name) == bytes_
    assert all(get_path(can, name, record, path) in (0, [0] * 8, [0] * 11) for path, _, _ in scalar_fields(name))
    values = filled(can, name, record)
    if "TesterPresent.DataLength" in values:  # a length the session accepts
        values["TesterPresent.DataLength"] = 3
        can_set = getattr(can, f"{name}_TesterPresent_DataLength_set")
        can_set(getattr(can, f"{name}_TesterPresent_get")(record), 3)
    assert {path: get_path(can, name, record, path) for path in values} == values
    transport(channel, over)
    function = "Qx_Can_Diag_Config_" + kind
    assert getattr(can, function)(port, 256 + channel, 0x1FE, 2**32 - 1, 0x80000001, record) is None
    call = sim.last(function)
    assert [call.arg(n).value for n in range(1, 6)] == [port, channel, 0xFE, 2**32 - 1, 0x80000001]
    assert call.arg(6).value == int(record)
    assert call.arg(6).bytes == pack(name, values)
    assert can.Qx_Can_Diag_GetState(port, channel, 0) == [0, DIAG_STATE_READY, DIAG_TYPE[kind], 0]


def test_kw2000_over_tp_2_0_takes_two_16_bit_values_instead_of_a_record(sim, port, channel, transport):
    transport(channel, "Tp_2_0")
    function = "Qx_Can_Diag_Config_Kw2000_Tp_2_0"
    assert can.Qx_Can_Diag_Config_Kw2000_Tp_2_0(port, channel, 3, 7, 1, 0x10000 + 5, 0xFFFF) is None
    assert [a.value for a in sim.last(function).args] == [port, channel, 3, 7, 1, 5, 0xFFFF]
    assert can.Qx_Can_Diag_GetState(port, channel, 0) == [0, DIAG_STATE_READY, DIAG_TYPE["Kw2000_Tp_2_0"], 0]
    with raises(TypeError, f"{function} expected 7 arguments, got 6"):
        can.Qx_Can_Diag_Config_Kw2000_Tp_2_0(port, channel, 3, 7, 1, 5)
    with raises(TypeError, f"in method '{function}', argument 7 of type 'u16_t'"):
        can.Qx_Can_Diag_Config_Kw2000_Tp_2_0(port, channel, 3, 7, 1, 5, "5")
    with raises(OverflowError, f"in method '{function}', argument 6 of type 'u16_t'"):
        can.Qx_Can_Diag_Config_Kw2000_Tp_2_0(port, channel, 3, 7, 1, -5, 5)
    assert sim.calls(function) == 1


def test_the_j1939_tester_present_lies_at_byte_12_with_a_32_bit_cycle(sim, port, channel, records, transport):
    j1939, uds = records(P("J1939")), records(P("Uds"))
    assert offset(P("J1939"), "TesterPresent") == 12 and size(P("J1939"), "TesterPresent") == 20
    view = can.Qx_Can_Diag_Config_J1939_Parameters_t_TesterPresent_get(j1939)
    can.Qx_Can_Diag_Config_J1939_Parameters_t_TesterPresent_CycleTime_set(view, 2**16)
    assert can.Qx_Can_Diag_Config_J1939_Parameters_t_TesterPresent_CycleTime_get(view) == 2**16
    uds_view = can.Qx_Can_Diag_Config_Uds_Parameters_t_TesterPresent_get(uds)
    can.Qx_Can_Diag_Config_Uds_Parameters_t_TesterPresent_CycleTime_set(uds_view, 2**16)
    assert can.Qx_Can_Diag_Config_Uds_Parameters_t_TesterPresent_CycleTime_get(uds_view) == 0
    transport(channel, "J1939")
    can.Qx_Can_Diag_Config_J1939(port, channel, 0, 0, 0, j1939)
    assert sim.last("Qx_Can_Diag_Config_J1939").arg(6).bytes[16:20] == (2**16).to_bytes(4, "little")


@pytest.mark.parametrize("name, path, given, stored", [
    (P("Uds"), "Repetitions", 65536, 0),
    (P("Uds"), "ResponseTimeout_78", 65535, 65535),
    (P("Uds"), "TesterPresent.Mode", 256, 0),
    (P("GmLan"), "TesterPresent.ResponseMode", 0x1FF, 0xFF),
    (P("GmLan"), "TesterPresent.DataLength", 200, 200),  # not held against the 8 data bytes
    (P("J1939"), "T2Timeout", 2**32 - 1, 2**32 - 1),
    (P("Kw2000_Tp_1_6"), "TesterPresentCycle", 0x12345, 0x2345),
    (P("Kw2000_Tp_1_6"), "reserved3", 300, 44),
])
def test_fields_store_the_value_truncated_to_their_width(records, name, path, given, stored):
    from tp_control import set_path
    record = records(name)
    set_path(can, name, record, path, given)
    assert get_path(can, name, record, path) == stored


@pytest.mark.parametrize("name, field, type_", [
    (P("Uds"), "ResponseTimeout_78", "u16_t"),
    (P("J1939"), "T1Timeout", "u32_t"),
    (P("Kw2000_Tp_1_6"), "AddressWord", "u8_t"),
    (P("GmLan") + "_TesterPresent", "Mode", "Qx_Can_Diag_TesterPresent_Mode_t"),
    (P("J1939") + "_TesterPresent", "ResponseMode", "Qx_Can_Diag_TesterPresent_RspMode_t"),
    (P("Uds") + "_TesterPresent", "DataLength", "u8_t"),
])
def test_setters_refuse_values_that_are_no_unsigned_32_bit_int(records, name, field, type_):
    record = records(name)
    setter = getattr(can, f"{name}_{field}_set")
    for value, cls in ((-1, OverflowError), (2**32, OverflowError), (1.5, TypeError), (None, TypeError)):
        with raises(cls, f"in method '{name}_{field}_set', argument 2 of type '{type_}'"):
            setter(record, value)


# ---- tester-present data bytes ----------------------------------------------------------

@pytest.mark.parametrize("kind, n", TESTER)
def test_data_bytes_take_exactly_n_ints_and_keep_the_old_bytes_on_failure(records, kind, n):
    name = P(kind) + "_TesterPresent"
    view = getattr(can, P(kind) + "_TesterPresent_get")(records(P(kind)))
    set_data, get_data = getattr(can, name + "_Data_set"), getattr(can, name + "_Data_get")
    set_data(view, tuple(range(1, n + 1)))  # a tuple as a list
    assert get_data(view) == list(range(1, n + 1))
    prefix = f"fail in '{name}_Data_set' : "
    for value, cls, message in (
            ([0] * (n - 1), ValueError, f"Expecting a sequence with {n} elements"),
            ([0] * (n + 1), ValueError, f"Expecting a sequence with {n} elements"),
            ([0] * (n - 1) + ["x"], ValueError, "Expecting a sequence of u8_t"),
            ([0] * (n - 1) + [2**31], OverflowError, "Expecting a sequence of u8_t"),  # the rule's class for range
            (5, TypeError, "Expecting a sequence"),
            (None, TypeError, "Expecting a sequence")):
        with raises(cls, prefix + message):
            set_data(view, value)
        assert get_data(view) == list(range(1, n + 1))
    set_data(view, [256, -1] + [0] * (n - 2))
    assert get_data(view) == [0, 255] + [0] * (n - 2)
    assert getattr(can, name + "_DataLength_get")(view) == 0  # set apart from the bytes


@pytest.mark.parametrize("kind, n", TESTER)
def test_tester_present_is_a_view_with_no_setter_in_the_parent(sim, records, kind, n):
    parent = records(P(kind))
    view = getattr(can, P(kind) + "_TesterPresent_get")(parent)
    assert f"'{P(kind)}_TesterPresent *'" in repr(view)
    getattr(can, P(kind) + "_TesterPresent_Data_set")(view, [9] * n)
    again = getattr(can, P(kind) + "_TesterPresent_get")(parent)
    assert getattr(can, P(kind) + "_TesterPresent_Data_get")(again) == [9] * n
    assert not hasattr(can, P(kind) + "_TesterPresent_set")
    alone = records(P(kind) + "_TesterPresent")
    assert getattr(can, P(kind) + "_TesterPresent_Data_get")(alone) == [0] * n
    getattr(can, "delete_" + P(kind) + "_TesterPresent")(view)  # a view: frees nothing
    assert getattr(can, P(kind) + "_TesterPresent_Data_get")(again) == [9] * n


def test_records_of_identical_layout_are_still_apart(sim, port, channel, records):
    gmlan_view = can.Qx_Can_Diag_Config_GmLan_Parameters_t_TesterPresent_get(records(P("GmLan")))
    name = P("Uds") + "_TesterPresent"
    with raises(TypeError, f"in method '{name}_CycleTime_set', argument 1 of type '{name} *'"):
        can.Qx_Can_Diag_Config_Uds_Parameters_t_TesterPresent_CycleTime_set(gmlan_view, 1)
    with raises(TypeError, f"in method '{name}_Data_set', argument 1 of type '{name} *'"):
        can.Qx_Can_Diag_Config_Uds_Parameters_t_TesterPresent_Data_set(gmlan_view, [0] * 8)
    with raises(TypeError, f"in method '{P('Uds')}_TesterPresent_get', argument 1 of type '{P('Uds')} *'"):
        can.Qx_Can_Diag_Config_Uds_Parameters_t_TesterPresent_get(records(P("Uds_IsoTp")))
    with raises(ValueError, f"invalid null reference in method '{P('Uds')}_TesterPresent_get', argument 1 of type "
                            f"'{P('Uds')} *'"):
        can.Qx_Can_Diag_Config_Uds_Parameters_t_TesterPresent_get(None)


# ---- configuring a channel ----------------------------------------------------------------

@pytest.mark.parametrize("kind, _, over", SESSIONS)
def test_configuration_refuses_other_records_and_passes_none_as_null(sim, port, channel, records, kind, _, over):
    function, name = "Qx_Can_Diag_Config_" + kind, P(kind)
    other = records(P("Uds") if kind != "Uds" else P("Uds_IsoTp"))
    for wrong in (other, can.Qx_Can_Diag_Config_Uds_Parameters_t_TesterPresent_get(records(P("Uds"))), 1):
        with raises(TypeError, f"in method '{function}', argument 6 of type '{name} const *const'"):
            getattr(can, function)(port, channel, 0, 0, 0, wrong)
    assert sim.calls(function) == 0
    with raises(Exception, f"{function}: no parameters given"):
        getattr(can, function)(port, channel, 0, 0, 0, None)
    assert sim.last(function).arg(6).is_null


@pytest.mark.parametrize("kind", [kind for kind, _, _ in SESSIONS] + ["Kw2000_Tp_2_0"])
def test_configuration_argument_errors(sim, port, records, kind):
    function = "Qx_Can_Diag_Config_" + kind
    last = (5, 5) if kind == "Kw2000_Tp_2_0" else (records(P(kind)),)
    for position, type_, bad in ((1, "Qx_PortHandle_t", "1"), (2, "u8_t", 1.0), (3, "Qx_Can_Diag_Config_Mode_t", None),
                                 (4, "u32_t", 2**32), (5, "Qx_Can_Diag_Config_CmdFlags_t", -1)):
        args = [port, 1, 0, 0, 0, *last]
        args[position - 1] = bad
        with pytest.raises((TypeError, OverflowError)) as info:
            getattr(can, function)(*args)
        assert str(info.value) == f"in method '{function}', argument {position} of type '{type_}'"
        assert type(info.value) is (OverflowError if isinstance(bad, int) else TypeError)
    with raises(TypeError, f"{function} expected {5 + len(last)} arguments, got 5"):
        getattr(can, function)(port, 1, 0, 0, 0)
    assert sim.calls(function) == 0


def _config(kind, port, channel, record):
    if kind == "Kw2000_Tp_2_0":
        return can.Qx_Can_Diag_Config_Kw2000_Tp_2_0(port, channel, 0, 0, 0, 100, 2000)
    return getattr(can, "Qx_Can_Diag_Config_" + kind)(port, channel, 0, 0, 0, record)


@pytest.mark.parametrize("kind, over, refused", [
    ("GmLan", "GmLan", "J1939"),
    ("J1939", "J1939", "GmLan"),
    ("Kw2000_IsoTp", "Iso15765", "Tp_1_6"),
    ("Kw2000_Tp_1_6", "Tp_1_6", "Tp_2_0"),
    ("Kw2000_Tp_2_0", "Tp_2_0", "IsoTp"),
    ("Uds_IsoTp", "IsoTp", "GmLan"),
    ("Uds", "Iso15765", "J1939"),
])
def test_a_session_needs_the_transport_it_runs_over(sim, port, channel, records, transport, kind, over, refused):
    function = "Qx_Can_Diag_Config_" + kind
    record = None if kind == "Kw2000_Tp_2_0" else records(P(kind))
    with raises(Exception, f"{function}: no transport protocol configured on channel {channel}"):
        _config(kind, port, channel, record)
    transport(channel, refused)
    names = {"GmLan": "GMLAN", "J1939": "J1939", "Tp_1_6": "TP 1.6", "Tp_2_0": "TP 2.0", "IsoTp": "ISO-TP"}
    with raises(Exception, f"{function}: the session does not run over {names[refused]} (channel {channel})"):
        _config(kind, port, channel, record)
    transport(channel, over)
    assert _config(kind, port, channel, record) is None
    assert can.Qx_Can_Diag_GetState(port, channel, 0)[1:3] == [DIAG_STATE_READY, DIAG_TYPE[kind]]
    # the session ends with the transport it runs over
    can.Qx_Can_Tp_Config_Off(port, channel)
    assert can.Qx_Can_Diag_GetState(port, channel, 0) == [0, 0, 0, 0]


@pytest.mark.parametrize("kind, n", TESTER)
def test_a_session_sends_no_more_tester_present_bytes_than_it_holds(sim, port, channel, records, transport, kind, n):
    record = records(P(kind))
    view = getattr(can, P(kind) + "_TesterPresent_get")(record)
    getattr(can, P(kind) + "_TesterPresent_DataLength_set")(view, n + 1)
    transport(channel, {"GmLan": "GmLan", "J1939": "J1939"}.get(kind, "IsoTp"))
    function = "Qx_Can_Diag_Config_" + kind
    with raises(Exception, f"{function}: tester-present data length {n + 1}, at most {n}"):
        getattr(can, function)(port, channel, 0, 0, 0, record)
    getattr(can, P(kind) + "_TesterPresent_DataLength_set")(view, n)
    assert getattr(can, function)(port, channel, 0, 0, 0, record) is None


def test_a_failed_configuration_raises_the_error_text(sim, port, channel, records):
    sim.fail("Qx_Can_Diag_Config_Uds", 0x31, b"session refused")
    with raises(Exception, "session refused"):
        can.Qx_Can_Diag_Config_Uds(port, channel, 0, 0, 0, records(P("Uds")))


@pytest.mark.parametrize("name", [P(kind) for kind, _, _ in SESSIONS] + [P(kind) + "_TesterPresent" for kind, _ in TESTER])
def test_record_lifecycle_entries(records, name):
    record = qxtest.new_record(can, name)
    assert f"'{name} *'" in repr(record)
    assert getattr(can, "delete_" + name)(record) is None
    assert getattr(can, "delete_" + name)(record) is None  # a second delete frees nothing

    class Holder:
        pass
    holder, made = Holder(), records(name)
    assert getattr(can, name + "_swiginit")(holder, made) is None and holder.this is made

