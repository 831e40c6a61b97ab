"""Time-base manager: status and update counter of a time base, time
transmission trigger, user data and initial values (the global time at
offset 4 of the response, a timestamp at a multiple of 4 only)."""
import struct

import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

P = "Qx_Trovix_TimeSyncMgr_"
TS = f"{P}Timestamp_t"
INIT = f"{P}SetInitValue_Cmd_t"
INIT_RSP = f"{P}GetInitValue_Rsp_t"


def cmd(operation, manager=1, base=7, **fields):
    return qxtest.new_record(tv, f"{P}{operation}_Cmd_t", TimeSyncMgrId=manager, TimeBaseId=base, **fields)


def call(port, operation, **fields):
    """Calls a reading operation on time base 7 of manager 1; its response."""
    rsp = qxtest.new_record(tv, f"{P}{operation}_Rsp_t")
    assert getattr(tv, P + operation)(port, cmd(operation, **fields), rsp) is None
    return rsp


def get(record, name, field, rec):
    return getattr(tv, f"{P}{record}_{field}_get")(rec)


@pytest.fixture
def base(tport):
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(tport, cmd("TimeBase_Config"))
    return tport


def s32(qxt, value):
    return qxt.qxt_view_of("s32_t *", list(struct.pack("<i", value)))


def s32_value(qxt, obj):
    """The value of an s32_t pointer object; a getter's copy frees itself."""
    return struct.unpack("<i", struct.pack("<I", qxt.qxt_read_u32(obj, 1)[0]))[0]


def test_status_follows_global_time_and_offset(sim, base):
    rsp = call(base, "GetStatus")
    assert (tv.Qx_Trovix_TimeSyncMgr_GetStatus_Rsp_t_SyncTimeBaseStatus_get(rsp),
            tv.Qx_Trovix_TimeSyncMgr_GetStatus_Rsp_t_OffsetTimeBaseStatus_get(rsp)) == (0, 0)
    tv.Qx_Trovix_TimeSyncMgr_SetGlobalTime(base, cmd("SetGlobalTime"))
    rsp = call(base, "GetStatus", Flags=0xFFFFFFFF)
    assert tv.Qx_Trovix_TimeSyncMgr_GetStatus_Rsp_t_SyncTimeBaseStatus_get(rsp) == 0x08
    assert tv.Qx_Trovix_TimeSyncMgr_GetStatus_Rsp_t_OffsetTimeBaseStatus_get(rsp) == 0
    tv.Qx_Trovix_TimeSyncMgr_SetOffset(base, cmd("SetOffset"))
    assert tv.Qx_Trovix_TimeSyncMgr_GetStatus_Rsp_t_OffsetTimeBaseStatus_get(call(base, "GetStatus")) == 0x08
    entry = sim.last(f"{P}GetStatus")
    assert layouts.unpack(f"{P}GetStatus_Cmd_t", sim.entries(f"{P}GetStatus")[1].arg(2).bytes) == {
        "Flags": 0xFFFFFFFF, "TimeSyncMgrId": 1, "reserved1": 0, "TimeBaseId": 7}
    assert entry.arg(3).size == 4


def test_update_counter_counts_time_updates_and_transmissions_in_one_byte(sim, base):
    for _ in range(200):
        tv.Qx_Trovix_TimeSyncMgr_SetGlobalTime(base, cmd("SetGlobalTime"))
    tv.Qx_Trovix_TimeSyncMgr_UpdateGlobalTime(base, cmd("UpdateGlobalTime"))
    for _ in range(56):
        assert tv.Qx_Trovix_TimeSyncMgr_TrigTimeTransmission(base, cmd("TrigTimeTransmission", Flags=3)) is None
    assert sim.last(f"{P}TrigTimeTransmission").arg(2).bytes == layouts.pack(
        f"{P}TrigTimeTransmission_Cmd_t", Flags=3, TimeSyncMgrId=1, TimeBaseId=7)
    assert tv.Qx_Trovix_TimeSyncMgr_GetUpdateCounter_Rsp_t_CounterValue_get(call(base, "GetUpdateCounter")) == 1


def test_user_data_set_is_what_the_current_time_carries(sim, base):
    user = cmd("SetUserData", UserDataLength=7, UserData=(1, 2, 3))   # the length is not tied to the bytes
    assert tv.Qx_Trovix_TimeSyncMgr_SetUserData(base, user) is None
    assert layouts.unpack(f"{P}SetUserData_Cmd_t", sim.last(f"{P}SetUserData").arg(2).bytes) == {
        "Flags": 0, "TimeSyncMgrId": 1, "reserved1": 0, "TimeBaseId": 7, "UserDataLength": 7, "reserved2": 0,
        "reserved3": 0, "reserved4": 0, "UserData": [1, 2, 3], "reserved5": 0}
    rsp = call(base, "GetCurrentTime")
    assert tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_UserDataLength_get(rsp) == 7
    assert tv.Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t_UserData_get(rsp) == [1, 2, 3]


def test_initial_values_round_trip_with_the_time_at_offset_4(sim, base, qxt):
    assert tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_Flags_get(call(base, "GetInitValue")) == 0
    init = cmd("SetInitValue", GlobalTime=qxtest.new_record(tv, TS, Seconds=2**64 - 2, Nanoseconds=123),
               RateCorrection=s32(qxt, -300), UserDataLength=3, UserData=[7, 8, 9], reserved5=1)
    assert tv.Qx_Trovix_TimeSyncMgr_SetInitValue(base, init) is None
    assert layouts.unpack(INIT, sim.last(f"{P}SetInitValue").arg(2).bytes) == {
        "Flags": 0, "TimeSyncMgrId": 1, "reserved1": 0, "TimeBaseId": 7,
        "GlobalTime": {"Seconds": 2**64 - 2, "Nanoseconds": 123}, "RateCorrection": -300, "UserDataLength": 3,
        "reserved2": 0, "reserved3": 0, "reserved4": 0, "UserData": [7, 8, 9], "reserved5": 1}
    rsp = call(base, "GetInitValue")
    assert sim.last(f"{P}GetInitValue").arg(3).size == 28
    time = tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_GlobalTime_get(rsp)
    assert (tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Seconds_get(time),
            tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Nanoseconds_get(time)) == (2**64 - 2, 123)
    assert tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_Flags_get(rsp) == 1
    assert s32_value(qxt, tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_RateCorrection_get(rsp)) == -300
    assert tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_UserData_get(rsp) == [7, 8, 9]
    # the response's correction copied into a new command unchanged
    again = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_SetInitValue_Cmd_t")
    tv.Qx_Trovix_TimeSyncMgr_SetInitValue_Cmd_t_RateCorrection_set(
        again, qxtest.owned(tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_RateCorrection_get(rsp)))
    assert s32_value(qxt, tv.Qx_Trovix_TimeSyncMgr_SetInitValue_Cmd_t_RateCorrection_get(again)) == -300


def test_global_time_view_writes_its_parent_at_the_right_offset(sim, base):
    rsp = qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t")
    tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_Flags_set(rsp, 0xAABBCCDD)
    view = tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_GlobalTime_get(rsp)
    tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Seconds_set(view, 2**63 + 1)
    tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Nanoseconds_set(view, 5)
    source = qxtest.new_record(tv, TS, Seconds=4, Nanoseconds=6)
    init = cmd("SetInitValue", GlobalTime=source)
    tv.Qx_Trovix_TimeSyncMgr_Timestamp_t_Seconds_set(source, 99)     # the command keeps its own copy
    tv.Qx_Trovix_TimeSyncMgr_SetInitValue_Cmd_t_GlobalTime_set(init, tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_GlobalTime_get(rsp))
    tv.Qx_Trovix_TimeSyncMgr_SetInitValue(base, init)
    assert layouts.unpack(INIT, sim.last(f"{P}SetInitValue").arg(2).bytes)["GlobalTime"] == {
        "Seconds": 2**63 + 1, "Nanoseconds": 5}
    assert tv.Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t_Flags_get(rsp) == 0xAABBCCDD


@pytest.mark.parametrize("setter, value, exc, message", [
    (f"{INIT}_GlobalTime", None, ValueError, f"invalid null reference in method '{INIT}_GlobalTime_set', argument 2 of type '{TS} *'"),
    (f"{INIT}_GlobalTime", 5, TypeError, f"in method '{INIT}_GlobalTime_set', argument 2 of type '{TS} *'"),
    (f"{INIT}_RateCorrection", -5, TypeError, f"in method '{INIT}_RateCorrection_set', argument 2 of type 's32_t'"),
    (f"{INIT_RSP}_RateCorrection", None, ValueError,
     f"invalid null reference in method '{INIT_RSP}_RateCorrection_set', argument 2 of type 's32_t'"),
    (f"{INIT_RSP}_UserData", [1, 2], ValueError, f"fail in '{INIT_RSP}_UserData_set' : Expecting a sequence with 3 elements"),
    (f"{P}SetUserData_Cmd_t_UserData", [1, "x", 3], ValueError,
     f"fail in '{P}SetUserData_Cmd_t_UserData_set' : Expecting a sequence of u8_t"),
    (f"{P}SetUserData_Cmd_t_UserData", 5, TypeError, f"fail in '{P}SetUserData_Cmd_t_UserData_set' : Expecting a sequence"),
    (f"{P}SetUserData_Cmd_t_Flags", 2**32, OverflowError,
     f"in method '{P}SetUserData_Cmd_t_Flags_set', argument 2 of type '{P}SetUserData_CmdFlags_t'"),
    (f"{P}SetUserData_Cmd_t_TimeSyncMgrId", "1", TypeError, f"in method '{P}SetUserData_Cmd_t_TimeSyncMgrId_set', argument 2 of type 'u8_t'"),
])
def test_bad_member_values_raise_and_leave_the_record(setter, value, exc, message):
    record = qxtest.new_record(tv, setter[: setter.rindex("_t_") + 2])
    before = qxtest.owned(getattr(tv, setter + "_get")(record))
    with qxtest.raises_exactly(exc, message):
        getattr(tv, setter + "_set")(record, value)
    after = qxtest.owned(getattr(tv, setter + "_get")(record))
    if isinstance(before, (int, list)):
        assert after == before


@pytest.mark.parametrize("operation, has_rsp", [
    ("GetStatus", True), ("TrigTimeTransmission", False), ("GetUpdateCounter", True), ("SetUserData", False),
    ("SetInitValue", False), ("GetInitValue", True)])
def test_unknown_time_base_fails_with_a_clear_text(sim, base, operation, has_rsp):
    args = [base, cmd(operation, manager=2, base=7)]
    if has_rsp:
        args.append(qxtest.new_record(tv, f"{P}{operation}_Rsp_t"))
    with qxtest.raises_exactly(Exception, f"{P}{operation}: unknown time base 7 of time-base manager 2"):
        getattr(tv, P + operation)(*args)


def test_argument_errors_are_raised_before_the_call(sim, base):
    with qxtest.raises_exactly(TypeError, f"{P}GetStatus expected 3 arguments, got 2"):
        tv.Qx_Trovix_TimeSyncMgr_GetStatus(base, cmd("GetStatus"))
    with qxtest.raises_exactly(TypeError, f"in method '{P}GetStatus', argument 3 of type '{P}GetStatus_Rsp_t *const'"):
        tv.Qx_Trovix_TimeSyncMgr_GetStatus(base, cmd("GetStatus"), qxtest.new_record(tv, "Qx_Trovix_TimeSyncMgr_GetUpdateCounter_Rsp_t"))
    with qxtest.raises_exactly(OverflowError, f"in method '{P}TrigTimeTransmission', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_TimeSyncMgr_TrigTimeTransmission(-1, cmd("TrigTimeTransmission"))
    assert sim.calls(f"{P}GetStatus") + sim.calls(f"{P}TrigTimeTransmission") == 0


def test_null_records_reach_the_library(sim, base):
    with qxtest.raises_exactly(Exception, f"{P}GetUpdateCounter: no response given"):
        tv.Qx_Trovix_TimeSyncMgr_GetUpdateCounter(base, cmd("GetUpdateCounter"), None)
    with qxtest.raises_exactly(Exception, f"{P}SetUserData: no command given"):
        tv.Qx_Trovix_TimeSyncMgr_SetUserData(base, None)
    assert sim.last(f"{P}SetUserData").arg(2).is_null and sim.last(f"{P}GetUpdateCounter").arg(3).is_null
