"""Time-base manager: timestamp records, time-base configuration and time
correction; u64_t members keep all 64 bits; the stand-in knows a time base
only once configured."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

P = "Qx_Trovix_TimeSyncMgr_"
BASE = f"{P}TimeBase_Config_Cmd_t"
CORR = f"{P}TimeCorrection_Config_Cmd_t"


def config(port, manager=1, base=7, **fields):
    cmd = qxtest.new_record(tv, BASE, TimeSyncMgrId=manager, TimeBaseId=base, **fields)
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(port, cmd)
    return cmd


@pytest.mark.parametrize("value, exc", [(2**64, OverflowError), (-1, OverflowError), ("1", TypeError),
                                        (1.0, TypeError)])
def test_u64_member_refuses_values_beyond_64_bits_and_keeps_the_old(value, exc):
    rec = qxtest.new_record(tv, BASE, TimeLeapLimitFuture=2**40 + 3)
    with qxtest.raises_exactly(exc, f"in method '{BASE}_TimeLeapLimitFuture_set', argument 2 of type 'u64_t'"):
        tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t_TimeLeapLimitFuture_set(rec, value)
    assert tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t_TimeLeapLimitFuture_get(rec) == 2**40 + 3


def test_time_base_config_reaches_the_library_whole(sim, tport):
    fields = dict(Flags=0x80000001, TimeSyncMgrId=2, reserved1=3, TimeBaseId=0x1234, SyncLossTimeout=5000,
                  OptionalTimeTupleUpdateInterval=100, TimeLeapLimitFuture=2**63 + 9, TimeLeapLimitPast=2**33 + 1,
                  ClearTimeLeapCount=4, UnderlyingSyncTimeBase=0xFFFF, reserved2=6, reserved3=7)
    cmd = qxtest.new_record(tv, BASE, **fields)
    assert tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(tport, cmd) is None
    call = sim.last(f"{P}TimeBase_Config")
    assert call.arg(1).value == tport and call.arg(2).size == 40
    assert layouts.unpack(BASE, call.arg(2).bytes) == fields
    # the past limit lies in bytes 24 to 31 only: setting it leaves the future one
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t_TimeLeapLimitPast_set(cmd, 1)
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(tport, cmd)
    assert sim.last(f"{P}TimeBase_Config").arg(2).bytes == layouts.pack(BASE, fields, TimeLeapLimitPast=1)


def test_time_correction_of_a_configured_time_base(sim, tport):
    config(tport, manager=1, base=7)
    fields = dict(Flags=1, TimeSyncMgrId=1, reserved1=0, TimeBaseId=7, MeasurementDuration=1000,
                  RateCorrectionsPerMeasurementDuration=3, reserved2=0, reserved3=0,
                  OffsetCorrectionJumpThreshold=2**40, OffsetCorrectionAdaptionInterval=2**64 - 1)
    assert tv.Qx_Trovix_TimeSyncMgr_TimeCorrection_Config(tport, qxtest.new_record(tv, CORR, **fields)) is None
    assert layouts.unpack(CORR, sim.last(f"{P}TimeCorrection_Config").arg(2).bytes) == fields


@pytest.mark.parametrize("manager, base", [(1, 8), (2, 7)])
def test_time_correction_of_an_unknown_time_base_fails_with_a_clear_text(sim, tport, manager, base):
    config(tport, manager=1, base=7)
    cmd = qxtest.new_record(tv, CORR, TimeSyncMgrId=manager, TimeBaseId=base)
    with qxtest.raises_exactly(Exception, f"{P}TimeCorrection_Config: unknown time base {base} "
                                          f"of time-base manager {manager}"):
        tv.Qx_Trovix_TimeSyncMgr_TimeCorrection_Config(tport, cmd)


def test_null_command_is_passed_and_the_status_raised(sim, tport):
    with qxtest.raises_exactly(Exception, f"{P}TimeBase_Config: no command given"):
        tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(tport, None)
    assert sim.last(f"{P}TimeBase_Config").arg(2).is_null


def test_config_needs_an_initialised_stack(sim, trovix_port):
    with pytest.raises(Exception, match="is not initialised"):
        tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(trovix_port, qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t"))


@pytest.mark.parametrize("function, record", [("TimeBase_Config", CORR), ("TimeCorrection_Config", BASE)])
def test_command_of_another_type_is_refused_before_the_call(sim, tport, function, record):
    expected = f"{P}{function}_Cmd_t"
    with qxtest.raises_exactly(TypeError, f"in method '{P}{function}', argument 2 of type '{expected} const *const'"):
        getattr(tv, P + function)(tport, qxtest.new_record(tv, f"{record}"))
    assert sim.calls(P + function) == 0


def test_port_conversion_and_argument_count(sim):
    with qxtest.raises_exactly(OverflowError, f"in method '{P}TimeBase_Config', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(-1, None)
    with qxtest.raises_exactly(TypeError, f"{P}TimeCorrection_Config expected 2 arguments, got 1"):
        tv.Qx_Trovix_TimeSyncMgr_TimeCorrection_Config(1)
    assert sim.calls(f"{P}TimeBase_Config") == 0


def test_scripted_failure_raises_the_last_error_text(sim, tport):
    sim.fail(f"{P}TimeBase_Config", text=b"time base refused")
    with qxtest.raises_exactly(Exception, "time base refused"):
        config(tport)
