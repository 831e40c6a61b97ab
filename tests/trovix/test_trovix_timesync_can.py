"""CAN time synchronisation: master and slave configuration of a time base
of the time-base manager, 16-byte data-identifier lists, the slave's CRC
validation mode."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

C = "Qx_Trovix_CanTimeSync_Config_"
MASTER = f"{C}Master_Cmd_t"
SLAVE = f"{C}Slave_Cmd_t"


@pytest.fixture
def base(tport):
    """The port with time base 7 of manager 1 configured."""
    tv.Qx_Trovix_TimeSyncMgr_TimeBase_Config(tport, qxtest.new_record(
        tv, "Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t", TimeSyncMgrId=1, TimeBaseId=7))
    return tport


def test_master_reaches_the_library_whole(sim, base):
    fields = dict(Flags=0x80000000, ControllerId=1, EcuId=2, reserved1=3, reserved2=4, CanId=2**32 - 1,
                  TimeSyncMgrId=1, reserved3=5, TimeBaseId=7, CyclicMessageTime=100, CyclicMessageResumeTime=200,
                  DebounceTime=30, TxConfirmationTimeout=40, DataIdListSync=list(range(16)),
                  DataIdListFup=list(range(255, 239, -1)))
    assert tv.Qx_Trovix_CanTimeSync_Config_Master(base, qxtest.new_record(tv, MASTER, **fields)) is None
    call = sim.last(f"{C}Master")
    assert call.arg(1).value == base and call.arg(2).size == 64
    assert layouts.unpack(MASTER, call.arg(2).bytes) == fields


def test_slave_reaches_the_library_whole(sim, base):
    fields = dict(Flags=1, ControllerId=0, EcuId=9, reserved1=0, reserved2=0, CanId=0x1FFFFFFF, TimeSyncMgrId=1,
                  reserved3=0, TimeBaseId=7, FollowUpTimeout=500, SequenceCounterJumpWidth=15,
                  CrcValidatedType=tv.QX_TROVIX__CAN_TIME_SYNC__CRC_VALIDATION__VALIDATED, reserved4=6, reserved5=7,
                  DataIdListSync=[1] * 16, DataIdListFup=list(range(16, 32)))
    assert tv.Qx_Trovix_CanTimeSync_Config_Slave(base, qxtest.new_record(tv, SLAVE, **fields)) is None
    call = sim.last(f"{C}Slave")
    assert call.arg(2).size == 56 and layouts.unpack(SLAVE, call.arg(2).bytes) == fields


@pytest.mark.parametrize("function, record", [("Master", MASTER), ("Slave", SLAVE)])
@pytest.mark.parametrize("manager, base_id", [(1, 8), (0, 7)])
def test_unknown_time_base_fails_with_a_clear_text(sim, base, function, record, manager, base_id):
    cmd = qxtest.new_record(tv, record, TimeSyncMgrId=manager, TimeBaseId=base_id)
    with qxtest.raises_exactly(Exception, f"{C}{function}: unknown time base {base_id} of time-base manager {manager}"):
        getattr(tv, C + function)(base, cmd)


def test_slave_refuses_an_unknown_crc_validation_mode(sim, base):
    cmd = qxtest.new_record(tv, SLAVE, TimeSyncMgrId=1, TimeBaseId=7,
                            CrcValidatedType=tv.QX_TROVIX__CAN_TIME_SYNC__CRC_VALIDATION__UNKNOWN)
    with qxtest.raises_exactly(Exception, f"{C}Slave: unknown CRC validation mode 4"):
        tv.Qx_Trovix_CanTimeSync_Config_Slave(base, cmd)


@pytest.mark.parametrize("record", [MASTER, SLAVE])
@pytest.mark.parametrize("field", ["DataIdListSync", "DataIdListFup"])
@pytest.mark.parametrize("value, exc, ending", [
    (list(range(15)), ValueError, "Expecting a sequence with 16 elements"),
    (list(range(17)), ValueError, "Expecting a sequence with 16 elements"),
    ([0] * 15 + [1.5], ValueError, "Expecting a sequence of u8_t"),
    ([0] * 15 + [2**31], ValueError, "Expecting a sequence of u8_t"),   # beyond 32 signed bits: a bad item
    (None, TypeError, "Expecting a sequence"),
    (5, TypeError, "Expecting a sequence"),
])
def test_data_id_lists_are_all_or_nothing(record, field, value, exc, ending):
    rec = qxtest.new_record(tv, record, **{field: [7] * 16})
    setter = f"{record}_{field}_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending}"):
        getattr(tv, setter)(rec, value)
    assert getattr(tv, f"{record}_{field}_get")(rec) == [7] * 16


def test_argument_errors_are_raised_before_the_call(sim, base):
    with qxtest.raises_exactly(TypeError, f"in method '{C}Master', argument 2 of type '{MASTER} const *const'"):
        tv.Qx_Trovix_CanTimeSync_Config_Master(base, qxtest.new_record(tv, "Qx_Trovix_CanTimeSync_Config_Slave_Cmd_t"))
    with qxtest.raises_exactly(OverflowError, f"in method '{C}Slave', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_CanTimeSync_Config_Slave(2**32, None)
    with qxtest.raises_exactly(OverflowError, f"in method '{MASTER}_CanId_set', argument 2 of type 'u32_t'"):
        tv.Qx_Trovix_CanTimeSync_Config_Master_Cmd_t_CanId_set(qxtest.new_record(tv, "Qx_Trovix_CanTimeSync_Config_Master_Cmd_t"), -1)
    assert sim.calls(f"{C}Master") + sim.calls(f"{C}Slave") == 0


def test_null_command_reaches_the_library_and_a_failure_raises(sim, base):
    with qxtest.raises_exactly(Exception, f"{C}Master: no command given"):
        tv.Qx_Trovix_CanTimeSync_Config_Master(base, None)
    assert sim.last(f"{C}Master").arg(2).is_null
    sim.fail(f"{C}Slave", text=b"slave refused")
    with qxtest.raises_exactly(Exception, "slave refused"):
        tv.Qx_Trovix_CanTimeSync_Config_Slave(base, qxtest.new_record(tv, SLAVE, TimeSyncMgrId=1, TimeBaseId=7))


def test_setter_given_no_record_still_checks_the_list(sim):
    assert tv.Qx_Trovix_CanTimeSync_Config_Slave_Cmd_t_DataIdListSync_set(None, [0] * 16) is None
    with qxtest.raises_exactly(ValueError, f"fail in '{SLAVE}_DataIdListSync_set' : Expecting a sequence with 16 elements"):
        tv.Qx_Trovix_CanTimeSync_Config_Slave_Cmd_t_DataIdListSync_set(None, [0])
