"""PDU information: PDU-group control, the PDUs the stack knows, one PDU's
description and the signals a PDU includes; the records
Qx_Trovix_Pdu_PduGroupControl_Group_t, Qx_Trovix_PduInfo_t and
Qx_Trovix_Pdu_IncludedSignal_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

import _qx_api as base  # noqa: E402

GROUP = "Qx_Trovix_Pdu_PduGroupControl_Group_t"
INFO = "Qx_Trovix_PduInfo_t"
INCLUDED = "Qx_Trovix_Pdu_IncludedSignal_t"


@pytest.fixture
def cell():
    made = qxtest.new_record(base, "int_p")
    yield made
    base.delete_int_p(made)


def engine_info():
    return qxtest.new_record(tv, INFO, PduName="Engine", EcuName="ECU1", ControllerId=2)


# ---- PDU-group control -----------------------------------------------------------

def test_group_control_copies_each_record_of_any_sequence(sim, tport):
    groups = [qxtest.new_record(tv, GROUP, PduGroupId=i, Flags=0xF0000000 + i) for i in (1, 2)]
    assert tv.Qx_Trovix_Pdu_PduGroupControl(tport, tuple(groups)) is None
    call = sim.last("Qx_Trovix_Pdu_PduGroupControl")
    assert call.arg(2).value == 2
    assert call.arg(3).bytes == layouts.pack(GROUP, PduGroupId=1, Flags=0xF0000001) + layouts.pack(
        GROUP, PduGroupId=2, Flags=0xF0000002)
    assert tv.Qx_Trovix_Pdu_PduGroupControl_Group_t_PduGroupId_get(groups[1]) == 2   # the caller's records stay


def test_group_control_with_an_empty_sequence_passes_a_count_of_0(sim, tport):
    tv.Qx_Trovix_Pdu_PduGroupControl(tport, [])
    assert sim.last("Qx_Trovix_Pdu_PduGroupControl").arg(2).value == 0


@pytest.mark.parametrize("value, exc, message", [
    (5, TypeError, "fail in 'Qx_Trovix_Pdu_PduGroupControl' : Expecting a sequence"),
    ("groups", TypeError, "fail in 'Qx_Trovix_Pdu_PduGroupControl' list must contain 'Qx_Trovix_Pdu_PduGroupControl_Group_t'"),
    ([None], TypeError, "fail in 'Qx_Trovix_Pdu_PduGroupControl' list must contain 'Qx_Trovix_Pdu_PduGroupControl_Group_t'"),
])
def test_group_control_refuses_what_is_no_list_of_group_records(sim, tport, value, exc, message):
    with qxtest.raises_exactly(exc, message):
        tv.Qx_Trovix_Pdu_PduGroupControl(tport, value)
    assert sim.calls("Qx_Trovix_Pdu_PduGroupControl") == 0


@pytest.mark.parametrize("second", [None, "other record"])
def test_group_control_refuses_a_second_element_of_another_kind(sim, tport, second):
    first = qxtest.new_record(tv, "Qx_Trovix_Pdu_PduGroupControl_Group_t")
    other = qxtest.new_record(tv, "Qx_Trovix_PduInfo_t") if second else None
    with qxtest.raises_exactly(TypeError, "fail in 'Qx_Trovix_Pdu_PduGroupControl' list must contain "
                                          "'Qx_Trovix_Pdu_PduGroupControl_Group_t'"):
        tv.Qx_Trovix_Pdu_PduGroupControl(tport, [first, other])
    assert sim.calls("Qx_Trovix_Pdu_PduGroupControl") == 0


def test_group_control_failure_carries_the_library_text(sim, tport):
    sim.fail("Qx_Trovix_Pdu_PduGroupControl", text=b"group unknown")
    with qxtest.raises_exactly(Exception, "group unknown"):
        tv.Qx_Trovix_Pdu_PduGroupControl(tport, [qxtest.new_record(tv, "Qx_Trovix_Pdu_PduGroupControl_Group_t")])


# ---- PDUs ------------------------------------------------------------------------

def test_number_of_pdus_lands_in_the_callers_int_p(sim, signals, cell):
    assert tv.Qx_Trovix_Pdu_NumberOfPdus_Get(signals, cell) is None
    assert sim.last("Qx_Trovix_Pdu_NumberOfPdus_Get").arg(2).value == int(cell)
    assert base.int_p_value(cell) == 1


def test_pdu_list_fills_the_callers_record_as_its_cell_says(sim, signals, cell):
    info = qxtest.new_record(tv, "Qx_Trovix_PduInfo_t")
    base.int_p_assign(cell, 1)
    assert tv.Qx_Trovix_Pdu_PduList_Get(signals, cell, info) is None
    assert base.int_p_value(cell) == 1
    assert (tv.Qx_Trovix_PduInfo_t_PduName_get(info), tv.Qx_Trovix_PduInfo_t_EcuName_get(info),
            tv.Qx_Trovix_PduInfo_t_ControllerId_get(info), tv.Qx_Trovix_PduInfo_t_ComId_get(info),
            tv.Qx_Trovix_PduInfo_t_BusType_get(info)) == ("Engine", "ECU1", 2, 40, tv.QX_TROVIX__BUS_TYPE__CAN)


def test_pdu_list_refuses_one_owned_record_where_the_cell_counts_more(sim, signals, cell, qxt):
    base.int_p_assign(cell, 2)
    with qxtest.raises_exactly(ValueError, "single record given for several in method 'Qx_Trovix_Pdu_PduList_Get', "
                                           "argument 3 of type 'Qx_Trovix_PduInfo_t *const'"):
        tv.Qx_Trovix_Pdu_PduList_Get(signals, cell, qxtest.new_record(tv, "Qx_Trovix_PduInfo_t"))
    assert sim.calls("Qx_Trovix_Pdu_PduList_Get") == 0
    storage = qxt.qxt_view("Qx_Trovix_PduInfo_t *", 2 * layouts.size(INFO))
    tv.Qx_Trovix_Pdu_PduList_Get(signals, cell, storage)
    assert base.int_p_value(cell) == 1


def test_pdu_info_by_names_fills_the_callers_record(sim, signals):
    info = qxtest.new_record(tv, "Qx_Trovix_PduInfo_t")
    assert tv.Qx_Trovix_Pdu_PduInfo_Get(signals, "Engine", "ECU1", 2, info) is None
    call = sim.last("Qx_Trovix_Pdu_PduInfo_Get")
    assert (call.arg(2).text, call.arg(3).text, call.arg(4).value, call.arg(5).value) == (b"Engine", b"ECU1", 2, int(info))
    assert tv.Qx_Trovix_PduInfo_t_ComId_get(info) == 40


def test_a_long_pdu_name_is_passed_whole(sim, signals):
    name = "P" * 300
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_Pdu_PduInfo_Get: no PDU '{name}' of ECU 'ECU1' on controller 2"):
        tv.Qx_Trovix_Pdu_PduInfo_Get(signals, name, "ECU1", 2, qxtest.new_record(tv, "Qx_Trovix_PduInfo_t"))
    assert sim.last("Qx_Trovix_Pdu_PduInfo_Get").arg(2).text == name.encode()


def test_included_signal_counts_are_plain_ints(sim, signals):
    assert tv.Qx_Trovix_Pdu_NumberOfIncludedSignals_Get(signals, "Engine", "ECU1", 2) == 2
    assert tv.Qx_Trovix_Pdu_NumberOfIncludedSignals_Get2(signals, engine_info()) == 2
    assert layouts.unpack(INFO, sim.last("Qx_Trovix_Pdu_NumberOfIncludedSignals_Get2").arg(2).bytes)["ControllerId"] == 2


def test_included_signals_fill_the_room_of_the_callers_storage(sim, signals, qxt):
    one = qxtest.new_record(tv, "Qx_Trovix_Pdu_IncludedSignal_t")
    assert tv.Qx_Trovix_Pdu_IncludedSignals_Get(signals, "Engine", "ECU1", 2, one) == 2
    assert sim.last("Qx_Trovix_Pdu_IncludedSignals_Get").arg(5).bytes == (1).to_bytes(4, "little")
    assert (tv.Qx_Trovix_Pdu_IncludedSignal_t_Name_get(one), tv.Qx_Trovix_Pdu_IncludedSignal_t_BitPosition_get(one)) == (
        "Speed", 8)
    storage = qxt.qxt_view_reaching("Qx_Trovix_Pdu_IncludedSignal_t *", 2 * layouts.size(INCLUDED))
    assert tv.Qx_Trovix_Pdu_IncludedSignals_Get2(signals, engine_info(), storage) == 2
    assert sim.last("Qx_Trovix_Pdu_IncludedSignals_Get2").arg(3).bytes == (2).to_bytes(4, "little")
    assert layouts.unpack(INCLUDED, qxt_bytes(qxt, storage, 1))["Name"].rstrip(b"\0") == b"Gear"
    assert tv.Qx_Trovix_Pdu_IncludedSignals_Get2(signals, engine_info(), None) == 2
    assert sim.last("Qx_Trovix_Pdu_IncludedSignals_Get2").arg(3).bytes == bytes(4)


def qxt_bytes(qxt, storage, index):
    """The bytes of record `index` of an included-signal storage view."""
    size = layouts.size(INCLUDED)
    return bytes(qxt.qxt_read_u8(storage, size * (index + 1))[size * index:])


def test_counting_bindings_report_failure_and_append_nothing(sim, signals):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Pdu_NumberOfIncludedSignals_Get: no PDU 'Brake' of ECU 'ECU1' on controller 2"):
        tv.Qx_Trovix_Pdu_NumberOfIncludedSignals_Get(signals, "Brake", "ECU1", 2)


@pytest.mark.parametrize("binding, args, message", [
    ("Qx_Trovix_Pdu_IncludedSignals_Get", ("Engine", "ECU1", 2, "x"),
     "in method 'Qx_Trovix_Pdu_IncludedSignals_Get', argument 6 of type 'Qx_Trovix_Pdu_IncludedSignal_t *const'"),
    ("Qx_Trovix_Pdu_IncludedSignals_Get2", (None, qxtest.new_record(tv, "Qx_Trovix_PduInfo_t")),
     "in method 'Qx_Trovix_Pdu_IncludedSignals_Get2', argument 4 of type 'Qx_Trovix_Pdu_IncludedSignal_t *const'"),
    ("Qx_Trovix_Pdu_IncludedSignals_Get2", (5, None),
     "in method 'Qx_Trovix_Pdu_IncludedSignals_Get2', argument 2 of type 'Qx_Trovix_PduInfo_t *const'"),
    ("Qx_Trovix_Pdu_PduInfo_Get", (b"Engine", "ECU1", 2, None),
     "in method 'Qx_Trovix_Pdu_PduInfo_Get', argument 2 of type 'char const *const'"),
    ("Qx_Trovix_Pdu_PduInfo_Get", ("Engine", 1, 2, None),
     "in method 'Qx_Trovix_Pdu_PduInfo_Get', argument 3 of type 'char const *const'"),
    ("Qx_Trovix_Pdu_NumberOfIncludedSignals_Get", ("Engine", "ECU1", "2"),
     "in method 'Qx_Trovix_Pdu_NumberOfIncludedSignals_Get', argument 4 of type 'u32_t'"),
    ("Qx_Trovix_Pdu_NumberOfPdus_Get", (qxtest.new_record(tv, "Qx_Trovix_PduInfo_t"),),
     "in method 'Qx_Trovix_Pdu_NumberOfPdus_Get', argument 2 of type 'u32_t *const'"),
    ("Qx_Trovix_Pdu_PduList_Get", (None, 5), "in method 'Qx_Trovix_Pdu_PduList_Get', argument 3 of type 'Qx_Trovix_PduInfo_t *const'"),
])
def test_argument_messages_keep_native_positions(sim, signals, binding, args, message):
    with qxtest.raises_exactly(TypeError, message):
        getattr(tv, binding)(signals, *args)
    assert sim.calls(binding) == 0


def test_pdu_info_name_members(sim):
    info = qxtest.new_record(tv, "Qx_Trovix_PduInfo_t")
    tv.Qx_Trovix_PduInfo_t_PduName_set(info, "n" * 255)
    assert tv.Qx_Trovix_PduInfo_t_PduName_get(info) == "n" * 255
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_PduInfo_t_PduName_set', argument 2 of type 'char [256]'"):
        tv.Qx_Trovix_PduInfo_t_PduName_set(info, "n" * 256)
    assert tv.Qx_Trovix_PduInfo_t_PduName_get(info) == "n" * 255
    tv.Qx_Trovix_PduInfo_t_BusType_set(info, 257)
    assert tv.Qx_Trovix_PduInfo_t_BusType_get(info) == 1
    with qxtest.raises_exactly(OverflowError, "in method 'Qx_Trovix_PduInfo_t_BusType_set', argument 2 of type 'u8_t'"):
        tv.Qx_Trovix_PduInfo_t_BusType_set(info, 2**32)
    assert [n for n in vars(tv) if n.startswith("Qx_Trovix_PduInfo_t_reserved") and n.endswith("_get")] == [
        "Qx_Trovix_PduInfo_t_reserved6_get", "Qx_Trovix_PduInfo_t_reserved7_get", "Qx_Trovix_PduInfo_t_reserved8_get",
        "Qx_Trovix_PduInfo_t_reserved2_get", "Qx_Trovix_PduInfo_t_reserved3_get", "Qx_Trovix_PduInfo_t_reserved4_get",
        "Qx_Trovix_PduInfo_t_reserved5_get"]
