"""Socket adaptor configuration of socket connection groups and socket
connections: whole records through to the library, 16-byte addresses, the
group a connection needs."""
import pytest

import _qx_api
import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

S = "Qx_Trovix_SoAd_"
GROUP = f"{S}SoConGroup_Config_Cmd_t"
CON = f"{S}SoCon_Config_Cmd_t"


def take(port, get_free):
    cell = qxtest.new_record(_qx_api, "int_p")
    getattr(tv, S + get_free)(port, 0, cell)
    return _qx_api.int_p_value(cell)


@pytest.fixture
def ids(tport):
    """The port with its socket adaptor initialised and a group and a
    connection identifier handed out: (port, group, connection)."""
    tv.Qx_Trovix_SoAd_Init(tport)
    return tport, take(tport, "SoConGroup_GetFreeSoConGroupId"), take(tport, "SoCon_GetFreeSoConId")


def group_fields(group):
    return dict(Flags=0x80000000, UdpFlags=3, TcpFlags=2**32 - 1, SoConGroupId=group, ControllerId=1, EcuId=2,
                reserved1=3, Protocol=tv.QX_TROVIX__SO_AD__SOCKET_PROTOCOL__TCP6, VlanId=4095, FlowLabel=0xFFFFF,
                DifferentiatedServicesField=46, FramePriority=7, LocalPort=65535, LocalAddress=list(range(0xF0, 0x100)),
                TcpKeepAliveProbesMax=9, reserved2=4, reserved3=5, TcpKeepAliveInterval=10, TcpKeepAliveTime=11,
                UdpTriggerTimeout=12, UdpAliveSupervisionTimeout=13, ConnectionRetryWaitTime=14, ConnectionRetries=15,
                TcpMss=1460, SoRcvBufSize=65536, SoSndBufSize=32768)


def test_group_and_connection_reach_the_library_whole(sim, ids):
    port, group, con = ids
    fields = group_fields(group)
    assert tv.Qx_Trovix_SoAd_SoConGroup_Config(port, qxtest.new_record(tv, GROUP, **fields)) is None
    call = sim.last(f"{S}SoConGroup_Config")
    assert call.arg(1).value == port and call.arg(2).size == 88
    assert layouts.unpack(GROUP, call.arg(2).bytes) == fields
    fields = dict(Flags=1, SoConId=con, SoConGroupId=group, RemotePort=30501, reserved1=6, reserved2=7,
                  RemoteAddress=[192, 168, 0, 1] + [0] * 11 + [255], RxBufferSize=1500, TxBufferSize=2**32 - 1,
                  NumberOfTxBuffers=4)
    assert tv.Qx_Trovix_SoAd_SoCon_Config(port, qxtest.new_record(tv, CON, **fields)) is None
    call = sim.last(f"{S}SoCon_Config")
    assert call.arg(2).size == 44 and layouts.unpack(CON, call.arg(2).bytes) == fields


@pytest.mark.parametrize("change, message", [
    (dict(SoConGroupId=999), "unknown socket connection group 999"),
    (dict(Protocol=4), "unknown socket protocol 4"),
    (dict(Protocol=200), "unknown socket protocol 200"),
])
def test_group_configuration_refused_by_the_stand_in(ids, change, message):
    port, group, _ = ids
    cmd = qxtest.new_record(tv, GROUP, **{**dict(SoConGroupId=group), **change})
    with qxtest.raises_exactly(Exception, f"{S}SoConGroup_Config: {message}"):
        tv.Qx_Trovix_SoAd_SoConGroup_Config(port, cmd)


def test_connection_needs_a_configured_group(ids):
    port, group, con = ids
    cmd = qxtest.new_record(tv, CON, SoConId=con, SoConGroupId=group)
    with qxtest.raises_exactly(Exception, f"{S}SoCon_Config: socket connection group {group} is not configured"):
        tv.Qx_Trovix_SoAd_SoCon_Config(port, cmd)
    tv.Qx_Trovix_SoAd_SoConGroup_Config(port, qxtest.new_record(tv, GROUP, SoConGroupId=group))
    assert tv.Qx_Trovix_SoAd_SoCon_Config(port, cmd) is None
    tv.Qx_Trovix_SoAd_SoCon_Config_Cmd_t_SoConId_set(cmd, con + 1)
    with qxtest.raises_exactly(Exception, f"{S}SoCon_Config: unknown socket connection {con + 1}"):
        tv.Qx_Trovix_SoAd_SoCon_Config(port, cmd)
    tv.Qx_Trovix_SoAd_SoConGroup_Delete(port, 0, group)
    tv.Qx_Trovix_SoAd_SoCon_Config_Cmd_t_SoConId_set(cmd, con)
    with qxtest.raises_exactly(Exception, f"{S}SoCon_Config: unknown socket connection group {group}"):
        tv.Qx_Trovix_SoAd_SoCon_Config(port, cmd)


@pytest.mark.parametrize("record, field, neighbour", [(GROUP, "LocalAddress", "TcpKeepAliveProbesMax"),
                                                      (CON, "RemoteAddress", "RxBufferSize")])
@pytest.mark.parametrize("value, exc, ending", [
    (list(range(15)), ValueError, "Expecting a sequence with 16 elements"),
    (list(range(17)), ValueError, "Expecting a sequence with 16 elements"),
    ([0] * 15 + [1.0], ValueError, "Expecting a sequence of u8_t"),
    (7, TypeError, "Expecting a sequence"),
])
def test_addresses_are_all_or_nothing(record, field, neighbour, value, exc, ending):
    rec = qxtest.new_record(tv, record, **{field: [9] * 16, neighbour: 77})
    setter = f"{record}_{field}_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending}"):
        getattr(tv, setter)(rec, value)
    assert getattr(tv, f"{record}_{field}_get")(rec) == [9] * 16
    assert getattr(tv, f"{record}_{neighbour}_get")(rec) == 77


@pytest.mark.parametrize("call, exc, message", [
    (lambda p: tv.Qx_Trovix_SoAd_SoCon_Config(p, qxtest.new_record(tv, "Qx_Trovix_SoAd_SoConGroup_Config_Cmd_t")), TypeError,
     f"in method '{S}SoCon_Config', argument 2 of type '{CON} const *const'"),
    (lambda p: tv.Qx_Trovix_SoAd_SoConGroup_Config(2**32, None), OverflowError,
     f"in method '{S}SoConGroup_Config', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_SoConGroup_Config(p), TypeError,
     f"{S}SoConGroup_Config expected 2 arguments, got 1"),
    (lambda p: tv.Qx_Trovix_SoAd_SoConGroup_Config_Cmd_t_UdpFlags_set(qxtest.new_record(tv, "Qx_Trovix_SoAd_SoConGroup_Config_Cmd_t"),
                                                                      "1"), TypeError,
     f"in method '{GROUP}_UdpFlags_set', argument 2 of type 'Qx_Trovix_SoAd_SoConGroup_UdpFlags_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_SoCon_Config_Cmd_t_SoConId_get(qxtest.new_record(tv, "Qx_Trovix_SoAd_SoConGroup_Config_Cmd_t")),
     TypeError, f"in method '{CON}_SoConId_get', argument 1 of type '{CON} *'"),
])
def test_argument_errors_are_raised_before_the_call(sim, ids, call, exc, message):
    with qxtest.raises_exactly(exc, message):
        call(ids[0])
    assert sim.calls(f"{S}SoCon_Config") + sim.calls(f"{S}SoConGroup_Config") == 0


@pytest.mark.parametrize("function", ["SoConGroup_Config", "SoCon_Config"])
def test_null_command_reaches_the_library_and_a_failure_raises(sim, ids, function):
    with qxtest.raises_exactly(Exception, f"{S}{function}: no command given"):
        getattr(tv, S + function)(ids[0], None)
    assert sim.last(S + function).arg(2).is_null
    sim.fail(S + function, text=b"no room")
    with qxtest.raises_exactly(Exception, "no room"):
        getattr(tv, S + function)(ids[0], None)
