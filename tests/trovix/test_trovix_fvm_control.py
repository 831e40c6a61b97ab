"""Freshness value manager: starting and stopping the communication of a
freshness value, setting it and reading it into a caller's 8-byte cell."""
import pytest

import _qx_api as base
import layouts
import qxtest
from fvm_records import members
tv = qxtest.module("_qx_api_trovix")

F = "Qx_Trovix_Fvm_"
CONTROLS = ["StartCommunication", "StopCommunication", "GetFreshness", "SetFreshness"]
SET = f"{F}SetFreshness_Cmd_t"
GET = f"{F}GetFreshness_Cmd_t"


def cmd(function, fresh_id=5, **fields):
    return qxtest.new_record(tv, f"{F}{function}_Cmd_t", FreshnessValueId=fresh_id, **fields)


def new_cell():
    """A zeroed u64_t cell of the base module (freed with the test)."""
    return qxtest.owned(base.Qx_Data_t_U64_get(qxtest.new_record(base, "Qx_Data_t")))


def words(cell):
    """The cell's (low, high) 32-bit words, read through the base module."""
    data = qxtest.new_record(base, "Qx_Data_t")
    base.Qx_Data_t_U64_set(data, cell)
    return base.Qx_Data_t_U32_get(data)


@pytest.fixture
def fresh(tport):
    """The port with freshness value 5 configured, its communication stopped."""
    tv.Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave(tport, qxtest.new_record(
        tv, "Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave_Cmd_t", FreshnessValueId=5))
    return tport


@pytest.mark.parametrize("value", [0, 2**32 - 1, 0x1_0000_0002, 2**64 - 1])
def test_value_set_is_the_value_read_whole(sim, fresh, value):
    fields = dict(Flags=0x80000001, FreshnessValueId=5, Value=value)
    assert tv.Qx_Trovix_Fvm_SetFreshness(fresh, qxtest.new_record(tv, SET, **fields)) is None
    assert layouts.unpack(SET, sim.last(f"{F}SetFreshness").arg(2).bytes) == fields
    cell = new_cell()
    assert tv.Qx_Trovix_Fvm_GetFreshness(fresh, cmd("GetFreshness", Flags=3), cell) is None
    call = sim.last(f"{F}GetFreshness")
    assert layouts.unpack(GET, call.arg(2).bytes) == dict(Flags=3, FreshnessValueId=5)
    assert call.arg(3).size == 8 and not call.arg(3).is_null
    assert words(cell) == [value & 0xFFFFFFFF, value >> 32]


def test_get_writes_all_eight_bytes_of_the_cell(qxt, fresh):
    cell = qxt.qxt_u64_array([2**64 - 1])
    tv.Qx_Trovix_Fvm_GetFreshness(fresh, cmd("GetFreshness"), cell)
    assert words(cell) == [0, 0]


def test_values_are_kept_per_identifier(fresh):
    tv.Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave(fresh, qxtest.new_record(
        tv, "Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave_Cmd_t", FreshnessValueId=6))
    tv.Qx_Trovix_Fvm_SetFreshness(fresh, cmd("SetFreshness", 6, Value=2**40))
    read = {}
    for fresh_id in (5, 6):
        cell = new_cell()
        tv.Qx_Trovix_Fvm_GetFreshness(fresh, cmd("GetFreshness", fresh_id), cell)
        read[fresh_id] = words(cell)
    assert read == {5: [0, 0], 6: [0, 2**8]}


def test_communication_starts_and_stops_once(sim, fresh):
    assert tv.Qx_Trovix_Fvm_StartCommunication(fresh, cmd("StartCommunication", Flags=2**32 - 1)) is None
    assert layouts.unpack(f"{F}StartCommunication_Cmd_t", sim.last(f"{F}StartCommunication").arg(2).bytes) == \
        dict(Flags=2**32 - 1, FreshnessValueId=5)
    with qxtest.raises_exactly(Exception, f"{F}StartCommunication: communication of freshness value 5 is already started"):
        tv.Qx_Trovix_Fvm_StartCommunication(fresh, cmd("StartCommunication"))
    assert tv.Qx_Trovix_Fvm_StopCommunication(fresh, cmd("StopCommunication")) is None
    with qxtest.raises_exactly(Exception, f"{F}StopCommunication: communication of freshness value 5 is not started"):
        tv.Qx_Trovix_Fvm_StopCommunication(fresh, cmd("StopCommunication"))


@pytest.mark.parametrize("function", CONTROLS)
def test_unknown_freshness_value_fails_with_a_clear_text(fresh, function):
    args = (new_cell(),) if function == "GetFreshness" else ()
    with qxtest.raises_exactly(Exception, f"{F}{function}: unknown freshness value 6"):
        getattr(tv, F + function)(fresh, cmd(function, 6), *args)


@pytest.mark.parametrize("function", CONTROLS)
def test_null_command_reaches_the_library(sim, fresh, function):
    args = (new_cell(),) if function == "GetFreshness" else ()
    with qxtest.raises_exactly(Exception, f"{F}{function}: no command given"):
        getattr(tv, F + function)(fresh, None, *args)
    assert sim.last(F + function).arg(2).is_null


def test_null_cell_reaches_the_library(sim, fresh):
    with qxtest.raises_exactly(Exception, f"{F}GetFreshness: no freshness value cell given"):
        tv.Qx_Trovix_Fvm_GetFreshness(fresh, cmd("GetFreshness"), None)
    assert sim.last(f"{F}GetFreshness").arg(3).is_null


def test_library_failure_raises_its_text(sim, fresh):
    sim.fail(f"{F}SetFreshness", text=b"freshness refused")
    with qxtest.raises_exactly(Exception, "freshness refused"):
        tv.Qx_Trovix_Fvm_SetFreshness(fresh, cmd("SetFreshness", Value=1))


@pytest.mark.parametrize("call, exc, message", [
    (lambda p: tv.Qx_Trovix_Fvm_GetFreshness(p, cmd("GetFreshness"), qxtest.new_record(base, "int_p")),
     TypeError, f"in method '{F}GetFreshness', argument 3 of type 'u64_t *const'"),
    (lambda p: tv.Qx_Trovix_Fvm_GetFreshness(p, cmd("GetFreshness"), 0),
     TypeError, f"in method '{F}GetFreshness', argument 3 of type 'u64_t *const'"),
    (lambda p: tv.Qx_Trovix_Fvm_GetFreshness(p, cmd("SetFreshness"), qxtest.new_record(base, "int_p")),
     TypeError, f"in method '{F}GetFreshness', argument 2 of type '{GET} const *const'"),
    (lambda p: tv.Qx_Trovix_Fvm_StopCommunication(p, cmd("StartCommunication")),
     TypeError, f"in method '{F}StopCommunication', argument 2 of type '{F}StopCommunication_Cmd_t const *const'"),
    (lambda p: tv.Qx_Trovix_Fvm_SetFreshness(p, cmd("GetFreshness")),
     TypeError, f"in method '{F}SetFreshness', argument 2 of type '{SET} const *const'"),
    (lambda p: tv.Qx_Trovix_Fvm_StartCommunication(-1, "not a record"),
     OverflowError, f"in method '{F}StartCommunication', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: tv.Qx_Trovix_Fvm_SetFreshness("port", None),
     TypeError, f"in method '{F}SetFreshness', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: tv.Qx_Trovix_Fvm_GetFreshness(p, cmd("GetFreshness")),
     TypeError, f"{F}GetFreshness expected 3 arguments, got 2"),
    (lambda p: tv.Qx_Trovix_Fvm_StopCommunication(p, cmd("StopCommunication"), None),
     TypeError, f"{F}StopCommunication expected 2 arguments, got 3"),
])
def test_argument_errors_are_raised_before_the_call(sim, fresh, call, exc, message):
    with qxtest.raises_exactly(exc, message):
        call(fresh)
    assert sum(sim.calls(F + function) for function in CONTROLS) == 0


@pytest.mark.parametrize("value, exc", [(2**64, OverflowError), (-1, OverflowError), (1.5, TypeError), ("1", TypeError)])
def test_value_member_refuses_what_64_bits_cannot_hold(value, exc):
    rec = cmd("SetFreshness", Value=2**64 - 1)
    with qxtest.raises_exactly(exc, f"in method '{SET}_Value_set', argument 2 of type 'u64_t'"):
        tv.Qx_Trovix_Fvm_SetFreshness_Cmd_t_Value_set(rec, value)
    assert tv.Qx_Trovix_Fvm_SetFreshness_Cmd_t_Value_get(rec) == 2**64 - 1


@pytest.mark.parametrize("function", CONTROLS)
def test_new_record_reads_zero_and_members_take_32_bits(function):
    record = f"{F}{function}_Cmd_t"
    rec = qxtest.new_record(tv, record)
    assert {m: getattr(tv, f"{record}_{m}_get")(rec) for m, _ in members(record)} == \
        {m: 0 for m, _ in members(record)}
    for member, declared in members(record):
        if declared == "u64_t":
            continue
        getattr(tv, f"{record}_{member}_set")(rec, 2**32 - 1)
        for bad, exc in ((2**32, OverflowError), (-1, OverflowError), (None, TypeError)):
            with qxtest.raises_exactly(exc, f"in method '{record}_{member}_set', argument 2 of type '{declared}'"):
                getattr(tv, f"{record}_{member}_set")(rec, bad)
        assert getattr(tv, f"{record}_{member}_get")(rec) == 2**32 - 1


def test_accessors_refuse_another_record():
    with qxtest.raises_exactly(TypeError, f"in method '{SET}_Value_set', argument 1 of type '{SET} *'"):
        tv.Qx_Trovix_Fvm_SetFreshness_Cmd_t_Value_set(cmd("GetFreshness"), 1)
    with qxtest.raises_exactly(TypeError, f"in method 'delete_{GET}', argument 1 of type '{GET} *'"):
        tv.delete_Qx_Trovix_Fvm_GetFreshness_Cmd_t(cmd("SetFreshness"))
