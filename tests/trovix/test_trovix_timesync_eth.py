"""Ethernet time synchronisation: the socket, and masters and slaves on it
for a time base of the time-base manager; MAC addresses as six-byte lists,
path delays as u64_t kept whole at offsets that are multiples of 4 only."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

E = "Qx_Trovix_EthTimeSync_Config_"
SOCKET = f"{E}Socket_Cmd_t"
MASTER = f"{E}Master_Cmd_t"
SLAVE = f"{E}Slave_Cmd_t"


@pytest.fixture
def served(tport):
    """The port with time base 7 of manager 1 and socket 3 configured."""
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(tport, qxtest.new_record(
        tv, "Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t", TimeSyncMgrId=1, TimeBaseId=7))
    tv.Qx_Trovix_EthTimeSync_Config_Socket(tport, qxtest.new_record(tv, SOCKET, SocketId=3))
    return tport


def test_socket_reaches_the_library_whole(sim, tport):
    fields = dict(Flags=5, ControllerId=1, EcuId=2, reserved1=0, reserved2=0, SocketId=3, VlanId=2**32 - 1,
                  DestMacAddress=[0x01, 0x80, 0xC2, 0x00, 0x00, 0x0E], FramePrio=7, reserved3=9)
    assert tv.Qx_Trovix_EthTimeSync_Config_Socket(tport, qxtest.new_record(tv, SOCKET, **fields)) is None
    call = sim.last(f"{E}Socket")
    assert call.arg(2).size == 24 and layouts.unpack(SOCKET, call.arg(2).bytes) == fields


@pytest.mark.parametrize("record, function, own", [
    (MASTER, "Master", dict(CyclicMessageResumeTime=20, CyclicMessageTime=125)),
    (SLAVE, "Slave", dict(FollowUpTimeout=300, SequenceCounterJumpWidth=0xFFFF, reserved4=1, reserved5=2)),
])
def test_master_and_slave_reach_the_library_with_whole_path_delays(sim, served, record, function, own):
    fields = dict(Flags=1, ControllerId=1, EcuId=2, reserved1=0, reserved2=0, SocketId=3, TimeSyncMgrId=1,
                  reserved3=0, TimeBaseId=7, DebounceTime=10, PDelayTxRequestPeriod=1000,
                  PDelayRespAndRespFupTimeout=50, PDelay=2**64 - 1, PDelayThreshold=2**32 + 7, **own)
    assert getattr(tv, E + function)(served, qxtest.new_record(tv, record, **fields)) is None
    call = sim.last(E + function)
    assert call.arg(2).size == 52 and layouts.unpack(record, call.arg(2).bytes) == fields


@pytest.mark.parametrize("record, function", [(MASTER, "Master"), (SLAVE, "Slave")])
def test_master_and_slave_need_their_socket_and_time_base(sim, served, record, function):
    with qxtest.raises_exactly(Exception, f"{E}{function}: unknown time-synchronisation socket 4"):
        getattr(tv, E + function)(served, qxtest.new_record(tv, record, SocketId=4, TimeSyncMgrId=1, TimeBaseId=7))
    with qxtest.raises_exactly(Exception, f"{E}{function}: unknown time base 6 of time-base manager 1"):
        getattr(tv, E + function)(served, qxtest.new_record(tv, record, SocketId=3, TimeSyncMgrId=1, TimeBaseId=6))


def test_path_delay_lies_where_the_library_reads_it(sim, served):
    # slave: PDelay in bytes 28 to 35, its neighbours untouched
    slave = qxtest.new_record(tv, SLAVE, SocketId=3, TimeSyncMgrId=1, TimeBaseId=7, PDelayRespAndRespFupTimeout=0xAAAAAAAA,
                              PDelayThreshold=0xBB)
    tv.Qx_Trovix_EthTimeSync_Config_Slave_Cmd_t_PDelay_set(slave, 0x0102030405060708)
    tv.Qx_Trovix_EthTimeSync_Config_Slave(served, slave)
    data = sim.last(f"{E}Slave").arg(2).bytes
    assert data[24:44] == bytes([0xAA] * 4) + bytes(range(8, 0, -1)) + bytes([0xBB] + [0] * 7)
    # master: PDelay at 36, not moved to a multiple of 8
    master = qxtest.new_record(tv, MASTER, SocketId=3, TimeSyncMgrId=1, TimeBaseId=7, PDelay=2**32 - 1)
    tv.Qx_Trovix_EthTimeSync_Config_Master(served, master)
    assert sim.last(f"{E}Master").arg(2).bytes[36:44] == bytes([255] * 4 + [0] * 4)


@pytest.mark.parametrize("value, exc, message", [
    ([1] * 5, ValueError, f"fail in '{SOCKET}_DestMacAddress_set' : Expecting a sequence with 6 elements"),
    ([1] * 7, ValueError, f"fail in '{SOCKET}_DestMacAddress_set' : Expecting a sequence with 6 elements"),
    ("abcdef", ValueError, f"fail in '{SOCKET}_DestMacAddress_set' : Expecting a sequence of u8_t"),
    (None, TypeError, f"fail in '{SOCKET}_DestMacAddress_set' : Expecting a sequence"),
])
def test_mac_address_is_six_bytes_all_or_nothing(value, exc, message):
    rec = qxtest.new_record(tv, SOCKET, DestMacAddress=[9] * 6)
    with qxtest.raises_exactly(exc, message):
        tv.Qx_Trovix_EthTimeSync_Config_Socket_Cmd_t_DestMacAddress_set(rec, value)
    assert tv.Qx_Trovix_EthTimeSync_Config_Socket_Cmd_t_DestMacAddress_get(rec) == [9] * 6


@pytest.mark.parametrize("value, exc", [(2**64, OverflowError), (-1, OverflowError), (1.5, TypeError)])
def test_path_delay_refuses_values_beyond_64_bits_and_keeps_the_old(value, exc):
    rec = qxtest.new_record(tv, MASTER, PDelay=7)
    with qxtest.raises_exactly(exc, f"in method '{MASTER}_PDelay_set', argument 2 of type 'u64_t'"):
        tv.Qx_Trovix_EthTimeSync_Config_Master_Cmd_t_PDelay_set(rec, value)
    assert tv.Qx_Trovix_EthTimeSync_Config_Master_Cmd_t_PDelay_get(rec) == 7


def test_argument_errors_are_raised_before_the_call(sim, served):
    with qxtest.raises_exactly(TypeError, f"in method '{E}Master', argument 2 of type '{MASTER} const *const'"):
        tv.Qx_Trovix_EthTimeSync_Config_Master(served, qxtest.new_record(tv, "Qx_Trovix_EthTimeSync_Config_Slave_Cmd_t"))
    with qxtest.raises_exactly(TypeError, f"in method '{E}Socket', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_EthTimeSync_Config_Socket("1", None)
    with qxtest.raises_exactly(TypeError, f"{E}Slave expected 2 arguments, got 3"):
        tv.Qx_Trovix_EthTimeSync_Config_Slave(served, None, None)
    assert sim.calls(f"{E}Master") + sim.calls(f"{E}Socket") + sim.calls(f"{E}Slave") == 1   # the fixture's socket


@pytest.mark.parametrize("function", ["Socket", "Master", "Slave"])
def test_null_command_reaches_the_library_and_a_failure_raises(sim, served, function):
    with qxtest.raises_exactly(Exception, f"{E}{function}: no command given"):
        getattr(tv, E + function)(served, None)
    assert sim.last(E + function).arg(2).is_null
    fields = dict(SocketId=3) if function == "Socket" else dict(SocketId=3, TimeSyncMgrId=1, TimeBaseId=7)
    sim.fail(E + function, text=b"refused")
    with qxtest.raises_exactly(Exception, "refused"):
        getattr(tv, E + function)(served, qxtest.new_record(tv, f"{E}{function}_Cmd_t", **fields))
