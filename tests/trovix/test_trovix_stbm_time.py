"""Time-base manager: current time, setting and updating the global time,
offsets, rate deviation and correction, time leaps. Times travel in
timestamp records held by value (64-bit seconds kept whole), signed values
in s32_t/s64_t pointer objects; the stand-in's time advances between reads."""
import struct

import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

P = "Qx_Trovix_TimeSyncMgr_"
TS = f"{P}Timestamp_t"
STEP_NS = 250000   # the stand-in's time advances by this between two reads


def cmd(operation, manager=1, base=7, **fields):
    return qxtest.new_record(tv, f"{P}{operation}_Cmd_t", TimeSyncMgrId=manager, TimeBaseId=base, **fields)


def stamp(seconds, ns):
    return qxtest.new_record(tv, TS, Seconds=seconds, Nanoseconds=ns)


def read(ts):
    return (tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Seconds_get(ts), tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Nanoseconds_get(ts))


def s32(qxt, value):
    return qxt.qxt_view_of("s32_t *", list(struct.pack("<i", value)))


def s32_value(qxt, obj):
    """The value of an s32_t pointer object; a getter's copy frees itself."""
    return struct.unpack("<i", struct.pack("<I", qxt.qxt_read_u32(obj, 1)[0]))[0]


@pytest.fixture
def base(tport):
    """The port with time base 7 of manager 1 configured."""
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(tport, qxtest.new_record(tv, f"{P}TimeBase_Config_Cmd_t",
                                                                       TimeSyncMgrId=1, TimeBaseId=7))
    return tport


def current_time(port):
    rsp = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t")
    assert tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime(port, cmd("GetCurrentTime"), rsp) is None
    return rsp


@pytest.mark.parametrize("operation", ["SetGlobalTime", "UpdateGlobalTime"])
def test_global_time_set_whole_and_read_back_advancing(sim, base, operation):
    seconds = 2**40 + 3
    set_cmd = cmd(operation, NewGlobalTime=stamp(seconds, 999_900_000), UserDataLength=200, UserData=(1, 2, 255))
    assert getattr(tv, P + operation)(base, set_cmd) is None
    assert layouts.unpack(f"{P}{operation}_Cmd_t", sim.last(P + operation).arg(2).bytes) == {
        "Flags": 0, "TimeSyncMgrId": 1, "reserved1": 0, "TimeBaseId": 7,
        "NewGlobalTime": {"Seconds": seconds, "Nanoseconds": 999_900_000}, "UserDataLength": 200,
        "reserved2": 0, "reserved3": 0, "reserved4": 0, "UserData": [1, 2, 255], "reserved5": 0}
    first, second = current_time(base), current_time(base)
    time = tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_Time_get
    assert read(time(first)) == (seconds, 999_900_000)
    assert read(time(second)) == (seconds + 1, 999_900_000 + STEP_NS - 10**9)   # carried into the seconds
    assert tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_Status_get(second) == 0x08
    assert tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_UserDataLength_get(second) == 200
    assert tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_UserData_get(second) == [1, 2, 255]


def test_a_fresh_time_base_runs_from_zero_unsynchronised(sim, base):
    rsp = current_time(base)
    assert read(tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_Time_get(rsp)) == (0, 0)
    assert tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_Status_get(rsp) == 0
    assert read(tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_Time_get(current_time(base))) == (0, STEP_NS)
    call = sim.last(f"{P}GetCurrentTime")
    assert call.arg(2).size == 8 and call.arg(3).size == 20


def test_offset_is_kept_per_time_base(sim, base):
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(base, cmd("TimeBase_Config", base=8))
    tv.Qx_Trovix_TimeSyncMgr_SetOffset(base, cmd("SetOffset", NewOffset=stamp(2**33, 5), UserDataLength=2,
                                                 UserData=[9, 8, 7]))
    assert layouts.unpack(f"{P}SetOffset_Cmd_t", sim.last(f"{P}SetOffset").arg(2).bytes)["NewOffset"] == {
        "Seconds": 2**33, "Nanoseconds": 5}
    rsp = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t")
    assert tv.Qx_Trovix_TimeSyncMgr_GetOffset(base, cmd("GetOffset"), rsp) is None
    assert read(tv.Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t_Offset_get(rsp)) == (2**33, 5)
    assert tv.Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t_UserDataLength_get(rsp) == 2
    assert tv.Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t_UserData_get(rsp) == [9, 8, 7]
    other = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t")
    tv.Qx_Trovix_TimeSyncMgr_GetOffset(base, cmd("GetOffset", base=8), other)
    assert read(tv.Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t_Offset_get(other)) == (0, 0)


def test_rate_correction_travels_in_s32_objects_and_comes_back_as_deviation(sim, base, qxt):
    correction = cmd("SetRateCorrection", RateCorrection=s32(qxt, -5))
    assert tv.Qx_Trovix_TimeSyncMgr_SetRateCorrection(base, correction) is None
    assert layouts.unpack(f"{P}SetRateCorrection_Cmd_t", sim.last(f"{P}SetRateCorrection").arg(2).bytes)[
        "RateCorrection"] == -5
    rsp = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetRateDeviation_Rsp_t")
    tv.Qx_Trovix_TimeSyncMgr_GetRateDeviation(base, cmd("GetRateDeviation"), rsp)
    deviation = tv.Qx_Trovix_TimeSyncMgr_GetRateDeviation_Rsp_t_RateDeviation_get(rsp)
    assert s32_value(qxt, deviation) == -5
    # the getter's object is a copy: the response changing later leaves it
    tv.Qx_Trovix_TimeSyncMgr_GetRateDeviation_Rsp_t_RateDeviation_set(rsp, s32(qxt, 7))
    assert s32_value(qxt, deviation) == -5
    fresh = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_SetRateCorrection_Cmd_t")
    tv.Qx_Trovix_TimeSyncMgr_SetRateCorrection_Cmd_t_RateCorrection_set(fresh, deviation)
    assert s32_value(qxt, tv.Qx_Trovix_TimeSyncMgr_SetRateCorrection_Cmd_t_RateCorrection_get(fresh)) == -5


@pytest.mark.parametrize("setter, type_, value, exc, prefix", [
    ("SetRateCorrection_Cmd_t_RateCorrection", "s32_t", -5, TypeError, ""),
    ("SetRateCorrection_Cmd_t_RateCorrection", "s32_t", None, ValueError, "invalid null reference "),
    ("GetRateDeviation_Rsp_t_RateDeviation", "s32_t", None, ValueError, "invalid null reference "),
    ("GetTimeLeap_Rsp_t_TimeLeap", "s64_t", None, ValueError, "invalid null reference "),
    ("GetTimeLeap_Rsp_t_TimeLeap", "s64_t", 1, TypeError, ""),
    ("SetGlobalTime_Cmd_t_NewGlobalTime", f"{TS} *", None, ValueError, "invalid null reference "),
])
def test_signed_and_timestamp_members_refuse_ints_and_none(setter, type_, value, exc, prefix):
    name = setter[: setter.rindex("_t_") + 2]
    record = qxtest.new_record(tv, f"{P}{name}")
    with qxtest.raises_exactly(exc, f"{prefix}in method '{P}{setter}_set', argument 2 of type '{type_}'"):
        getattr(tv, f"{P}{setter}_set")(record, value)


def test_time_leap_keeps_both_halves_of_a_negative_s64(sim, base, qxt):
    tv.Qx_Trovix_TimeSyncMgr_SetGlobalTime(base, cmd("SetGlobalTime", NewGlobalTime=stamp(2**35, 0)))
    tv.Qx_Trovix_TimeSyncMgr_SetGlobalTime(base, cmd("SetGlobalTime", NewGlobalTime=stamp(2**35 - 10, 1)))
    rsp = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t")
    assert tv.Qx_Trovix_TimeSyncMgr_GetTimeLeap(base, cmd("GetTimeLeap"), rsp) is None
    leap = qxtest.owned(tv.Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t_TimeLeap_get(rsp))
    raw = qxt.qxt_read_u64(leap, 1)[0]
    assert raw - 2**64 == -(10 * 10**9 - 1)


def test_timestamp_members_are_views_and_setters_copy(base):
    source = stamp(2**32 + 1, 2)
    set_cmd = cmd("SetGlobalTime", NewGlobalTime=source)
    tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Seconds_set(source, 9)      # the command holds its own copy
    view = tv.Qx_Trovix_TimeSyncMgr_SetGlobalTime_Cmd_t_NewGlobalTime_get(set_cmd)
    assert read(view) == (2**32 + 1, 2)
    tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Nanoseconds_set(view, 77)   # writing through the view changes the command
    tv.Qx_Trovix_TimeSyncMgr_SetGlobalTime(base, set_cmd)
    rsp = current_time(base)
    assert read(tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_Time_get(rsp)) == (2**32 + 1, 77)


@pytest.mark.parametrize("value, exc, ending", [
    ([1, 2], ValueError, "Expecting a sequence with 3 elements"),
    ([1, 2, 3, 4], ValueError, "Expecting a sequence with 3 elements"),
    ([1, "x", 3], ValueError, "Expecting a sequence of u8_t"),
    (5, TypeError, "Expecting a sequence"),
])
def test_user_data_is_three_bytes_all_or_nothing(value, exc, ending):
    rec = cmd("SetOffset", UserData=[4, 5, 6])
    with qxtest.raises_exactly(exc, f"fail in '{P}SetOffset_Cmd_t_UserData_set' : {ending}"):
        tv.Qx_Trovix_TimeSyncMgr_SetOffset_Cmd_t_UserData_set(rec, value)
    assert tv.Qx_Trovix_TimeSyncMgr_SetOffset_Cmd_t_UserData_get(rec) == [4, 5, 6]
    tv.Qx_Trovix_TimeSyncMgr_SetOffset_Cmd_t_UserData_set(rec, [256, -1, 3])
    assert tv.Qx_Trovix_TimeSyncMgr_SetOffset_Cmd_t_UserData_get(rec) == [0, 255, 3]


@pytest.mark.parametrize("operation, has_rsp", [
    ("GetCurrentTime", True), ("SetGlobalTime", False), ("UpdateGlobalTime", False), ("SetOffset", False),
    ("GetOffset", True), ("GetRateDeviation", True), ("SetRateCorrection", False), ("GetTimeLeap", True)])
def test_unknown_time_base_fails_with_a_clear_text(sim, base, operation, has_rsp):
    args = [base, cmd(operation, manager=1, base=9)]
    if has_rsp:
        args.append(qxtest.new_record(tv, f"{P}{operation}_Rsp_t"))
    with qxtest.raises_exactly(Exception, f"{P}{operation}: unknown time base 9 of time-base manager 1"):
        getattr(tv, P + operation)(*args)
    assert sim.calls(P + operation) == 1


def test_null_response_is_passed_and_the_status_raised(sim, base):
    with qxtest.raises_exactly(Exception, f"{P}GetCurrentTime: no response given"):
        tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime(base, cmd("GetCurrentTime"), None)
    assert sim.last(f"{P}GetCurrentTime").arg(3).is_null


def test_records_of_the_same_layout_are_distinct_types(sim, base):
    with qxtest.raises_exactly(TypeError, f"in method '{P}UpdateGlobalTime', argument 2 of type "
                                          f"'{P}UpdateGlobalTime_Cmd_t const *const'"):
        tv.Qx_Trovix_TimeSyncMgr_UpdateGlobalTime(base, cmd("SetGlobalTime"))
    with qxtest.raises_exactly(TypeError, f"in method '{P}GetCurrentTime', argument 3 of type "
                                          f"'{P}GetCurrentTime_Rsp_t *const'"):
        tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime(base, cmd("GetCurrentTime"), qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t"))
    with qxtest.raises_exactly(TypeError, f"{P}GetTimeLeap expected 3 arguments, got 2"):
        tv.Qx_Trovix_TimeSyncMgr_GetTimeLeap(base, cmd("GetTimeLeap"))
    assert sim.calls(f"{P}UpdateGlobalTime") + sim.calls(f"{P}GetCurrentTime") + sim.calls(f"{P}GetTimeLeap") == 0


def test_failure_leaves_what_the_library_wrote_in_the_response(sim, base):
    sim.output(f"{P}GetOffset", 3, layouts.pack(f"{P}GetOffset_Rsp_t", Status=0x41))
    sim.fail(f"{P}GetOffset", text=b"offset unavailable")
    rsp = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t")
    with qxtest.raises_exactly(Exception, "offset unavailable"):
        tv.Qx_Trovix_TimeSyncMgr_GetOffset(base, cmd("GetOffset"), rsp)
    assert tv.Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t_Status_get(rsp) == 0x41
