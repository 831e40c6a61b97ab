"""The shared list and record rules as the CAN module applies them: how
sequences are read, items made on access, storage beside a count, arrays
from pointer objects and pointer members given a None parent."""
import struct

import pytest

import layouts
import qxtest
can = qxtest.module("_qx_api_can")

import _qx_api as base  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402
from rules.sequences import Sequence  # noqa: E402

MODE = "Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t"
INC = "Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t"
ID = 0x123


class MsgItem:
    """A proxy that owns its record and frees it when it is collected, as a
    Python layer's class does."""

    def __init__(self, id_):
        self.this = qxtest.new_record(can, "Qx_Can_TxFifo_MsgItem_t")
        can.Qx_Can_TxFifo_MsgItem_t_Id_set(self.this, id_)
        can.Qx_Can_TxFifo_MsgItem_t_Data_set(self.this, [id_ & 0xFF] * 8)

    def __del__(self):
        can.delete_Qx_Can_TxFifo_MsgItem_t(self.this)


class MadeOnAccess:
    """A sequence whose items exist only while the reader holds them."""

    def __init__(self, ids):
        self.ids = ids

    def __len__(self):
        return len(self.ids)

    def __getitem__(self, index):
        return MsgItem(self.ids[index])


# ---- lists of records ---------------------------------------------------------

def test_items_made_on_access_are_copied_while_they_exist(sim, port):
    ids = [0x11, 0x222, 0x7FFFFFFF]
    can.Qx_Can_TxFifo_QueueMsgs(port, 0, MadeOnAccess(ids))
    sent = sim.last("Qx_Can_TxFifo_QueueMsgs").arg(4).bytes
    assert [struct.unpack_from("<I", sent, 16 * i)[0] for i in range(3)] == ids
    assert sent[16 * 2 + 8:16 * 3] == b"\xff" * 8


def test_trialprint_reads_items_made_on_access(capfd):
    capfd.readouterr()
    can.trialprint(MadeOnAccess([5, 0xFFFFFFFF]))
    assert capfd.readouterr().out.splitlines() == ["Msg# 0 :5", "Msg# 1 :-1"]


# ---- exceptions of the sequence itself -----------------------------------------

def fifo_item():
    return MsgItem(1)


@pytest.mark.parametrize("call, items", [
    (lambda port, seq: can.Qx_Can_TxFifo_QueueMsg(port, 1, seq, 8), [1, 2, 3]),
    (lambda port, seq: can.Qx_Can_Data_t_U8_set(qxtest.new_record(can, "Qx_Can_Data_t"), seq), [0] * 64),
    (lambda port, seq: can.Qx_Can_TxFifo_QueueMsgs(port, 0, seq), None),
])
@pytest.mark.parametrize("where", ["len", "item"])
@pytest.mark.parametrize("exc", [KeyboardInterrupt, MemoryError])
def test_an_exception_of_the_sequence_itself_propagates_unchanged(sim, port, call, items, where, exc):
    items = items if items is not None else [fifo_item(), fifo_item()]
    seq = Sequence(items, len_error=exc() if where == "len" else None,
                   item_error=exc() if where == "item" else None, bad_index=1)
    before = len(sim.journal())
    with pytest.raises(exc) as e:
        call(port, seq)
    assert type(e.value) is exc
    assert len(sim.journal()) == before  # nothing sent


# ---- record storage beside a count ------------------------------------------------

@pytest.fixture
def ramp(port):
    """An owned change-mode record naming a defined cyclic message."""
    can.Qx_Can_CyclicMsgs_DefineMsg(port, ID, 100, 0, 1, 0, [0] * 8, 8)
    record = qxtest.new_record(can, MODE)
    can.Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t_Id_set(record, ID)
    yield record
    getattr(can, "delete_" + MODE)(record)


def change_mode(port, count, ramps):
    """Calls the binding; the simulated library may refuse the ramp itself
    (no ramp on that signal, or none given), which is not the binding's."""
    try:
        can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, count, ramps)
    except Exception as error:
        assert type(error) is Exception


@pytest.mark.parametrize("count", [2, 0xFFFFFFFF])
def test_count_above_one_with_an_owned_record_is_refused(sim, port, ramp, count):
    with raises(ValueError, "single record given for several in method 'Qx_Can_CyclicMsgs_Ramp_ChangeMode', "
                            f"argument 3 of type '{MODE} const *const'"):
        can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, count, ramp)
    assert sim.calls("Qx_Can_CyclicMsgs_Ramp_ChangeMode") == 0
    assert ramp.own()


def test_a_view_none_or_a_count_of_at_most_one_reaches_the_library(sim, port, ramp, qxt):
    change_mode(port, 0, ramp)
    change_mode(port, 1, ramp)
    change_mode(port, 5, None)
    # A view of storage for two records that someone else provides.
    view = qxt.qxt_view(MODE + " *", 2 * layouts.size(MODE))
    can.Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t_Id_set(view, ID + 1)
    change_mode(port, 2, view)
    calls = sim.entries("Qx_Can_CyclicMsgs_Ramp_ChangeMode")
    assert [(c.arg(2).value, c.arg(3).is_null) for c in calls] == [(0, False), (1, False), (5, True), (2, False)]
    assert calls[1].arg(3).bytes[:4] == struct.pack("<I", ID)
    assert calls[3].arg(3).bytes == layouts.pack(MODE, Id=ID + 1) + bytes(layouts.size(MODE))


def test_the_count_is_checked_after_the_record_argument_converts(sim, port):
    with raises(TypeError, f"in method 'Qx_Can_CyclicMsgs_Ramp_ChangeMode', argument 3 of type '{MODE} const *const'"):
        can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, 2, qxtest.new_record(can, "Qx_Can_Data_t"))
    with raises(OverflowError, "in method 'Qx_Can_CyclicMsgs_Ramp_ChangeMode', argument 2 of type 'u32_t'"):
        can.Qx_Can_CyclicMsgs_Ramp_ChangeMode(port, -1, None)


# ---- arrays from pointer objects ------------------------------------------------------

@pytest.mark.parametrize("member, make, type_", [
    ("U64", lambda: base.Qx_Data_t_U64_get(qxtest.new_record(base, "Qx_Data_t")), "u64_t [8]"),  # an owned copy of one u64_t
    ("U16", lambda: base.Qx_InterfaceInfo_t_Parameters_Flags_get(
        base.Qx_InterfaceInfo_t_Parameters_get(qxtest.new_record(base, "Qx_InterfaceInfo_t"))), "u16_t [32]"),
])
def test_array_member_refuses_an_object_owning_one_element(member, make, type_):
    data = qxtest.new_record(can, "Qx_Can_Data_t")
    can.Qx_Can_Data_t_U8_set(data, [7] * 64)
    with raises(ValueError, f"single element given for an array in method 'Qx_Can_Data_t_{member}_set', "
                            f"argument 2 of type '{type_}'"):
        getattr(can, f"Qx_Can_Data_t_{member}_set")(data, qxtest.owned(make()))
    assert can.Qx_Can_Data_t_U8_get(data) == [7] * 64
    can.delete_Qx_Can_Data_t(data)


# ---- pointer members ---------------------------------------------------------------------

def test_pointer_member_setter_with_a_none_parent_leaves_the_ownership():
    sync = qxtest.new_record(can, "Qx_Can_CyclicMsgs_Ramp_SyncRamp_t")
    assert can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t_SyncRamp_set(None, sync) is None
    assert sync.own()  # nothing stored it: the object still frees its record
    params = qxtest.new_record(can, INC)
    can.Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t_SyncRamp_set(params, sync)
    assert not sync.own()
    getattr(can, "delete_" + INC)(params)

