"""Com signal monitor: configuration over a set of signal handles, start and
stop, the signal presented and its data with rising timestamps, switching
and deletion; the command and response records, u64_t timestamps whole."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

import _qx_api as base  # noqa: E402

P = "Qx_Trovix_Com_SignalMonitor_"
EPOCH = 0x100000005  # the stand-in's clock starts beyond 32 bits


def cmd(operation, monitor_id, **fields):
    return qxtest.new_record(tv, f"{P}{operation}_Cmd_t", SignalMonitorId=monitor_id, **fields)


@pytest.fixture
def monitor(signals):
    """The id of a monitor over signal 0 (Speed), configured on the port."""
    config = qxtest.new_record(tv, f"{P}Config_Cmd_t", Flags=1, MaxEntryDataSize=8, NumberOfEntries=4,
                               NumberOfSignals=1)
    signal = qxtest.new_record(tv, f"{P}Config_Signal_t", SignalHandle=0, Flags=0xA0000001)
    response = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Config_Rsp_t")
    tv.Qx_Trovix_Com_SignalMonitor_Config(signals, config, signal, response)
    return tv.Qx_Trovix_Com_SignalMonitor_Config_Rsp_t_SignalMonitorId_get(response)


def test_config_passes_command_and_signals_and_fills_the_response(sim, signals, monitor):
    call = sim.last(f"{P}Config")
    assert layouts.unpack(f"{P}Config_Cmd_t", call.arg(2).bytes) == {
        "Flags": 1, "SignalMonitorId": 0, "MaxEntryDataSize": 8, "NumberOfEntries": 4, "NumberOfSignals": 1,
        "reserved1": 0, "reserved2": 0}
    assert layouts.unpack(f"{P}Config_Signal_t", call.arg(3).bytes)["Flags"] == 0xA0000001
    assert monitor == 1


def test_config_refuses_one_owned_signal_record_for_several(sim, signals, qxt):
    config = qxtest.new_record(tv, f"{P}Config_Cmd_t", NumberOfSignals=2)
    with qxtest.raises_exactly(ValueError, f"single record given for several in method '{P}Config', argument 3 of type "
                                           f"'{P}Config_Signal_t const *const'"):
        tv.Qx_Trovix_Com_SignalMonitor_Config(signals, config, qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Config_Signal_t"), None)
    assert sim.calls(f"{P}Config") == 0
    # two signal records in storage for two: handles 0 and 0
    storage = qxt.qxt_view(f"{P}Config_Signal_t *", 16)
    response = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Config_Rsp_t")
    tv.Qx_Trovix_Com_SignalMonitor_Config(signals, config, storage, response)
    assert sim.last(f"{P}Config").arg(3).size == 16


def test_data_of_a_started_monitor_has_rising_timestamps_kept_whole(sim, signals, monitor, qxt):
    start = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Start_Rsp_t")
    assert tv.Qx_Trovix_Com_SignalMonitor_Start(signals, cmd("Start", monitor), start) is None
    assert tv.Qx_Trovix_Com_SignalMonitor_Start_Rsp_t_Timestamp_get(start) == EPOCH
    length = qxtest.new_record(base, "int_p")
    base.int_p_assign(length, 8)
    data = qxt.qxt_u8_array([0] * 8)
    stamps = []
    for _ in range(2):
        response = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t")
        assert tv.Qx_Trovix_Com_SignalMonitor_GetSignalData(signals, cmd("GetSignalData", monitor), response, length,
                                                             data) is None
        stamps.append(tv.Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t_Timestamp_get(response))
    assert stamps[0] > EPOCH > 2**32 and stamps[1] > stamps[0]
    assert tv.Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t_SignalFlags_get(response) == 0xA0000001
    assert base.int_p_value(length) == 2 and qxt.qxt_read_u8(data, 2) == [1, 2]   # Speed's default, 513
    call = sim.last(f"{P}GetSignalData")
    assert (call.arg(4).value, call.arg(5).value) == (int(length), int(data))
    stop = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t")
    tv.Qx_Trovix_Com_SignalMonitor_Stop(signals, cmd("Stop", monitor), stop)
    assert tv.Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t_Timestamp_get(stop) > stamps[1]
    base.delete_int_p(length)


def test_signal_info_switch_and_delete(sim, signals, qxt):
    storage = qxt.qxt_view(f"{P}Config_Signal_t *", 16)
    config = qxtest.new_record(tv, f"{P}Config_Cmd_t", NumberOfSignals=1)
    response = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Config_Rsp_t")
    tv.Qx_Trovix_Com_SignalMonitor_Config(signals, config, storage, response)
    monitor = tv.Qx_Trovix_Com_SignalMonitor_Config_Rsp_t_SignalMonitorId_get(response)
    info = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Rsp_t")
    tv.Qx_Trovix_Com_SignalMonitor_GetSignalInfo(signals, cmd("GetSignalInfo", monitor), info)
    assert [getattr(tv, f"{P}GetSignalInfo_Rsp_t_{f}_get")(info) for f in ("SignalMonitorId", "SignalHandle", "DataLength")] == [
        monitor, 0, 2]
    assert tv.Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal(signals, cmd("SwitchToNextSignal", monitor)) is None
    assert tv.Qx_Trovix_Com_SignalMonitor_Delete(signals, cmd("Delete", monitor)) is None
    with qxtest.raises_exactly(Exception, f"{P}GetSignalInfo: unknown signal monitor {monitor}"):
        tv.Qx_Trovix_Com_SignalMonitor_GetSignalInfo(signals, cmd("GetSignalInfo", monitor), info)


def test_data_of_a_monitor_not_started_is_refused_by_the_library(sim, signals, monitor):
    length = qxtest.new_record(base, "int_p")
    with qxtest.raises_exactly(Exception, f"{P}GetSignalData: signal monitor {monitor} is not started"):
        tv.Qx_Trovix_Com_SignalMonitor_GetSignalData(signals, cmd("GetSignalData", monitor),
                                                     qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t"), length, None)
    base.delete_int_p(length)


@pytest.mark.parametrize("record, size", [("GetSignalData_Rsp_t", 24), ("GetSignalInfo_Rsp_t", 12),
                                          ("Start_Rsp_t", 16), ("Stop_Rsp_t", 16), ("Config_Cmd_t", 20)])
def test_new_records_are_zeroed_at_their_full_size(sim, record, size):
    made = qxtest.new_record(tv, f"{P}{record}")
    assert layouts.size(P + record) == size
    # the record reaches the library whole, as the journal copies sizeof bytes
    fields = [n[len(P + record) + 1:-4] for n in vars(tv) if n.startswith(f"{P}{record}_") and n.endswith("_get")]
    assert all(getattr(tv, f"{P}{record}_{f}_get")(made) == 0 for f in fields)


def test_the_library_may_write_all_24_bytes_of_a_data_response(sim, signals, monitor, qxt):
    tv.Qx_Trovix_Com_SignalMonitor_Start(signals, cmd("Start", monitor), qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Start_Rsp_t"))
    sim.output(f"{P}GetSignalData", 3, layouts.pack(f"{P}GetSignalData_Rsp_t", fill=0xEE, Timestamp=2**64 - 2))
    response = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t")
    length = qxtest.new_record(base, "int_p")
    base.int_p_assign(length, 8)
    tv.Qx_Trovix_Com_SignalMonitor_GetSignalData(signals, cmd("GetSignalData", monitor), response, length,
                                                 qxt.qxt_u8_array([0] * 8))
    assert tv.Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t_Timestamp_get(response) == 2**64 - 2
    assert sim.last(f"{P}GetSignalData").arg(3).size == 24
    base.delete_int_p(length)


@pytest.mark.parametrize("record", ["Start_Rsp_t", "Stop_Rsp_t", "GetSignalData_Rsp_t"])
def test_timestamps_keep_all_64_bits(sim, record):
    made = qxtest.new_record(tv, f"{P}{record}")
    setter, getter = getattr(tv, f"{P}{record}_Timestamp_set"), getattr(tv, f"{P}{record}_Timestamp_get")
    for value in (2**32 + 5, 2**64 - 1, 0):
        setter(made, value)
        assert getter(made) == value
    with qxtest.raises_exactly(OverflowError, f"in method '{P}{record}_Timestamp_set', argument 2 of type 'u64_t'"):
        setter(made, 2**64)
    with qxtest.raises_exactly(TypeError, f"in method '{P}{record}_Timestamp_set', argument 2 of type 'u64_t'"):
        setter(made, "5")
    with qxtest.raises_exactly(OverflowError, f"in method '{P}{record}_Timestamp_set', argument 2 of type 'u64_t'"):
        setter(made, -1)


def test_a_timestamp_written_by_the_library_reads_back_whole(sim, signals, monitor):
    sim.output(f"{P}Start", 3, layouts.pack(f"{P}Start_Rsp_t", SignalMonitorId=monitor, Timestamp=2**32 + 5))
    start = qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Start_Rsp_t")
    tv.Qx_Trovix_Com_SignalMonitor_Start(signals, cmd("Start", monitor), start)
    assert tv.Qx_Trovix_Com_SignalMonitor_Start_Rsp_t_Timestamp_get(start) == 2**32 + 5


def test_the_six_command_records_are_distinct_types(sim, signals, monitor):
    with qxtest.raises_exactly(TypeError, f"in method '{P}Start', argument 2 of type '{P}Start_Cmd_t const *const'"):
        tv.Qx_Trovix_Com_SignalMonitor_Start(signals, cmd("Stop", monitor), None)
    with qxtest.raises_exactly(TypeError, f"in method '{P}Start', argument 3 of type '{P}Start_Rsp_t *const'"):
        tv.Qx_Trovix_Com_SignalMonitor_Start(signals, cmd("Start", monitor), qxtest.new_record(tv, "Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t"))
    assert sim.calls(f"{P}Start") == 0


@pytest.mark.parametrize("binding, args, message", [
    ("Config", ("cmd", None, None), f"in method '{P}Config', argument 2 of type '{P}Config_Cmd_t const *const'"),
    ("Delete", (5,), f"in method '{P}Delete', argument 2 of type '{P}Delete_Cmd_t const *const'"),
    ("GetSignalData", (None, None, "len", None), f"in method '{P}GetSignalData', argument 4 of type 'u32_t *const'"),
    ("GetSignalData", (None, None, None, 5), f"in method '{P}GetSignalData', argument 5 of type 'u8_t *const'"),
    ("SwitchToNextSignal", (1,), f"in method '{P}SwitchToNextSignal', argument 2 of type "
                                 f"'{P}SwitchToNextSignal_Cmd_t const *const'"),
])
def test_argument_messages(sim, signals, binding, args, message):
    with qxtest.raises_exactly(TypeError, message):
        getattr(tv, P + binding)(signals, *args)
    assert sim.calls(P + binding) == 0
