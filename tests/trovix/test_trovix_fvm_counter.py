"""Freshness value manager: the counter schemes Custom1, Custom3 (master and
slave) and Custom4 (master and slave), each configuring the freshness value
its command names."""
import pytest

import _qx_api as base
import layouts
import qxtest
from fvm_records import check_members, distinct_values
tv = qxtest.module("_qx_api_trovix")

F = "Qx_Trovix_Fvm_"
SCHEMES = ["Custom1", "Custom3_Master", "Custom3_Slave", "Custom4_Master", "Custom4_Slave"]


def binding(scheme):
    return f"{F}FreshnessValue_{scheme}"


def record(scheme):
    return f"{F}FreshnessValue_{scheme}_Cmd_t"


def start(port, fresh_id):
    tv.Qx_Trovix_Fvm_StartCommunication(port, qxtest.new_record(
        tv, f"{F}StartCommunication_Cmd_t", FreshnessValueId=fresh_id))


@pytest.mark.parametrize("scheme", SCHEMES)
def test_command_reaches_the_library_whole_and_configures_its_value(sim, tport, scheme):
    fields = distinct_values(record(scheme), fresh_id=2**32 - 1)
    assert getattr(tv, binding(scheme))(tport, qxtest.new_record(tv, record(scheme), **fields)) is None
    call = sim.last(binding(scheme))
    assert call.arg(1).value == tport and call.arg(2).size == layouts.size(record(scheme))
    assert layouts.unpack(record(scheme), call.arg(2).bytes) == fields
    start(tport, 2**32 - 1)


@pytest.mark.parametrize("scheme", SCHEMES)
def test_every_member_stores_truncated_and_refuses_beyond_32_bits(scheme):
    check_members(tv, record(scheme))


def test_custom4_slave_lengths_leave_their_neighbours_alone(sim, tport):
    rec = qxtest.new_record(tv, record("Custom4_Slave"), FreshnessValueId=1, ResetCounterLength=0xAAAA,
                            MessageCounterLength=3, ResetFlagLength=4)
    tv.Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave_Cmd_t_TripCounterLength_set(rec, 0x12345)
    tv.Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave(tport, rec)
    sent = layouts.unpack(record("Custom4_Slave"), sim.last(binding("Custom4_Slave")).arg(2).bytes)
    assert (sent["TripCounterLength"], sent["ResetCounterLength"], sent["MessageCounterLength"],
            sent["ResetFlagLength"], sent["reserved"]) == (0x2345, 0xAAAA, 3, 4, 0)


def test_a_later_command_reconfigures_a_value_and_keeps_it(tport):
    tv.Qx_Trovix_Fvm_FreshnessValue_Custom1(tport, qxtest.new_record(tv, record("Custom1"), FreshnessValueId=9))
    tv.Qx_Trovix_Fvm_SetFreshness(tport, qxtest.new_record(tv, f"{F}SetFreshness_Cmd_t", FreshnessValueId=9,
                                                           Value=77))
    tv.Qx_Trovix_Fvm_FreshnessValue_Custom4_Master(tport, qxtest.new_record(tv, record("Custom4_Master"),
                                                                            FreshnessValueId=9))
    data = qxtest.new_record(base, "Qx_Data_t")
    cell = qxtest.owned(base.Qx_Data_t_U64_get(data))
    tv.Qx_Trovix_Fvm_GetFreshness(tport, qxtest.new_record(tv, f"{F}GetFreshness_Cmd_t", FreshnessValueId=9), cell)
    base.Qx_Data_t_U64_set(data, cell)
    assert base.Qx_Data_t_U32_get(data) == [77, 0]


def test_table_of_freshness_values_is_bounded(tport):
    for fresh_id in range(16):
        tv.Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave(tport, qxtest.new_record(
            tv, record("Custom3_Slave"), FreshnessValueId=fresh_id))
    with qxtest.raises_exactly(Exception, f"{binding('Custom3_Master')}: the freshness value table is full (16 values)"):
        tv.Qx_Trovix_Fvm_FreshnessValue_Custom3_Master(tport, qxtest.new_record(
            tv, record("Custom3_Master"), FreshnessValueId=16))
    tv.Qx_Trovix_Fvm_FreshnessValue_Custom3_Master(tport, qxtest.new_record(
        tv, record("Custom3_Master"), FreshnessValueId=15))   # reconfiguring needs no new entry


# Each binding given a record of the same size but another scheme.
WRONG = {"Custom1": "Custom3_Master", "Custom3_Master": "Custom4_Master", "Custom3_Slave": "Custom4_Slave",
         "Custom4_Master": "Custom3_Master", "Custom4_Slave": "Custom4_Master"}


@pytest.mark.parametrize("scheme", SCHEMES)
def test_argument_errors_are_raised_before_the_call(sim, tport, scheme):
    fn = getattr(tv, binding(scheme))
    wrong = qxtest.new_record(tv, record(WRONG[scheme]))
    with qxtest.raises_exactly(TypeError, f"in method '{binding(scheme)}', argument 2 of type '{record(scheme)} const *const'"):
        fn(tport, wrong)
    with qxtest.raises_exactly(OverflowError, f"in method '{binding(scheme)}', argument 1 of type 'Qx_PortHandle_t'"):
        fn(-1, wrong)
    with qxtest.raises_exactly(TypeError, f"{binding(scheme)} expected 2 arguments, got 1"):
        fn(tport)
    with qxtest.raises_exactly(TypeError, f"in method '{record(scheme)}_Flags_get', argument 1 of type '{record(scheme)} *'"):
        getattr(tv, f"{record(scheme)}_Flags_get")(wrong)
    assert sim.calls(binding(scheme)) == 0


@pytest.mark.parametrize("scheme", SCHEMES)
def test_null_command_reaches_the_library_and_a_failure_raises(sim, tport, scheme):
    with qxtest.raises_exactly(Exception, f"{binding(scheme)}: no command given"):
        getattr(tv, binding(scheme))(tport, None)
    assert sim.last(binding(scheme)).arg(2).is_null
    sim.fail(binding(scheme), text=b"scheme refused")
    with qxtest.raises_exactly(Exception, "scheme refused"):
        getattr(tv, binding(scheme))(tport, qxtest.new_record(tv, record(scheme)))
