"""XCP session and access commands: connect, disconnect, status, comm mode
info, seed and key."""
import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402
from xcp_support import connect, record, set_up_can, u16, u16_value  # noqa: E402

DAQ, PGM = c.QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__DAQ, c.QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__PGM


def cell(value):
    obj = qxtest.new_record(q, "int_p")
    q.int_p_assign(obj, value)
    return obj


def get_seed(qxt, port, resource, capacity=8, instance=0):
    length, seed = cell(capacity), qxt.qxt_u8_array([0] * 8)
    c.Qx_Common_Xcp_Cmd_GetSeed(port, instance, resource, length, seed)
    return qxt.qxt_read_u8(seed, q.int_p_value(length))


def unlock(qxt, port, seed, instance=0):
    c.Qx_Common_Xcp_Cmd_Unlock(port, instance, len(seed), qxt.qxt_u8_array([b ^ 0xFF for b in seed]))


def status_flags(port, instance=0):
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_GetStatus_Rsp_t")
    c.Qx_Common_Xcp_Cmd_GetStatus(port, instance, rsp)
    return c.Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_Flags_get(rsp)


@pytest.mark.parametrize("transport, max_cto, max_dto", [("can", 8, 8), ("udp4", 255, 1400)])
def test_connect_fills_the_response(sim, qxt, port, transport, max_cto, max_dto):
    if transport == "can":
        set_up_can(port, 1)
    else:
        cmd = qxtest.new_record(c, "Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_t")
        c.Qx_Common_Ip4Address_t_Addr32_set(c.Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_t_SlaveIpAddress_get(cmd), 0x0201A8C0)
        c.Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_t_SlavePort_set(cmd, u16(qxt, 5555))
        c.Qx_Common_Xcp_Init_Ethernet_Udp4(port, 1, cmd)
    cmd = record("Cmd_Connect_Cmd_t", Mode=257)  # stored in 8 bits: user defined
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t")
    assert c.Qx_Common_Xcp_Cmd_Connect(port, 1, cmd, rsp) is None
    assert sim.last("Qx_Common_Xcp_Cmd_Connect").arg(3).bytes == pack("Qx_Common_Xcp_Cmd_Connect_Cmd_t", Mode=1)
    got = {f: getattr(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t_%s_get" % f)(rsp)
           for f in ("Flags", "ByteOrder", "AddressGranularity", "ProtocolLayerVersion", "TransportLayerVersion",
                     "MaxCto", "reserved")}
    assert got == dict(Flags=0x1D, ByteOrder=c.QX_COMMON__XCP__CMD__CONNECT__BYTE_ORDER__INTEL,
                       AddressGranularity=c.QX_COMMON__XCP__CMD__CONNECT__ADDRESS_GRANULARITY__BYTE,
                       ProtocolLayerVersion=1, TransportLayerVersion=1, MaxCto=max_cto, reserved=0)
    first, second = qxtest.owned([c.Qx_Common_Xcp_Cmd_Connect_Rsp_t_MaxDto_get(rsp) for _ in range(2)])
    assert u16_value(qxt, first) == max_dto and int(first) != int(second)
    c.Qx_Common_Xcp_Cmd_Connect_Rsp_t_MaxDto_set(rsp, u16(qxt, 1))
    assert u16_value(qxt, first) == max_dto


def test_status_and_comm_mode_info(sim, port):
    connect(port)
    assert status_flags(port) == 0x1400  # DAQ and PGM protected, nothing running
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_GetCommModeInfo_Rsp_t")
    assert c.Qx_Common_Xcp_Cmd_GetCommModeInfo(port, 0, rsp) is None
    assert [getattr(c, "Qx_Common_Xcp_Cmd_GetCommModeInfo_Rsp_t_%s_get" % f)(rsp)
            for f in ("Flags", "MaxBs", "MinSt", "QueueSize", "XcpDriverVersionNumber")] == [0, 0, 0, 0, 0x10]
    assert c.Qx_Common_Xcp_Cmd_Disconnect(port, 256) is None
    assert sim.last("Qx_Common_Xcp_Cmd_Disconnect").arg(2).value == 0
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_GetStatus: XCP instance 0 is not connected (connect first)"):
        status_flags(port)


def test_seed_and_key_unlock_a_resource(sim, qxt, port):
    connect(port, 3)
    seed = get_seed(qxt, port, PGM, instance=3)
    assert seed == [0x5A, 0xC3, 3, 0]
    call = sim.last("Qx_Common_Xcp_Cmd_GetSeed")
    assert (call.arg(3).kind, call.arg(3).value, call.arg(4).bytes) == ("s", PGM, (8).to_bytes(4, "little"))
    assert get_seed(qxt, port, PGM, instance=3) == seed  # the same until unlocked
    unlock(qxt, port, seed, instance=3)
    call = sim.last("Qx_Common_Xcp_Cmd_Unlock")
    assert (call.arg(3).value, call.arg(4).bytes) == (4, bytes([0xA5, 0x3C, 0xFC, 0xFF]))
    assert status_flags(port, 3) == 0x0400
    assert get_seed(qxt, port, PGM, instance=3) == []  # unprotected: no seed
    # a new session protects it again, with another seed
    c.Qx_Common_Xcp_Cmd_Connect(port, 3, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"), qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t"))
    assert get_seed(qxt, port, PGM, instance=3) == [0x5A, 0xC3, 3, 1]


def test_wrong_key_keeps_the_resource_locked(sim, qxt, port):
    connect(port)
    seed = get_seed(qxt, port, DAQ)
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_Unlock: key does not match the seed of resource DAQ"):
        c.Qx_Common_Xcp_Cmd_Unlock(port, 0, 300, qxt.qxt_u8_array([b ^ 0xFF for b in seed] + [0] * 40))
    call = sim.last("Qx_Common_Xcp_Cmd_Unlock")
    assert call.arg(3).value == 44 and call.arg(4).size == 44  # 300 in 8 bits; the journal reads keyLength bytes
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_Unlock: no seed asked for (get a seed first)"):
        unlock(qxt, port, seed)
    assert status_flags(port) == 0x1400


@pytest.mark.parametrize("resource, exc, text", [
    (-1, Exception, "Qx_Common_Xcp_Cmd_GetSeed: unknown resource -1"),
    (7, Exception, "Qx_Common_Xcp_Cmd_GetSeed: unknown resource 7"),
    (2**31, OverflowError, "in method 'Qx_Common_Xcp_Cmd_GetSeed', argument 3 of type "
                           "'Qx_Common_Xcp_Cmd_GetSeed_Resource_t'"),
    (1.0, TypeError, "in method 'Qx_Common_Xcp_Cmd_GetSeed', argument 3 of type 'Qx_Common_Xcp_Cmd_GetSeed_Resource_t'"),
])
def test_seed_resource_is_passed_unchanged(sim, qxt, port, resource, exc, text):
    connect(port)
    with raises_exactly(exc, text):
        get_seed(qxt, port, resource)
    if exc is Exception:
        assert sim.last("Qx_Common_Xcp_Cmd_GetSeed").arg(3).value == resource
    else:
        assert sim.calls("Qx_Common_Xcp_Cmd_GetSeed") == 0


def test_seed_buffer_too_small_is_refused(sim, qxt, port):
    connect(port)
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_GetSeed: seed buffer of 2 bytes, 4 needed"):
        get_seed(qxt, port, PGM, capacity=2)


@pytest.mark.parametrize("call", [
    lambda port: c.Qx_Common_Xcp_Cmd_Disconnect(port, 0),
    lambda port: c.Qx_Common_Xcp_Cmd_GetCommModeInfo(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_GetCommModeInfo_Rsp_t")),
    lambda port: c.Qx_Common_Xcp_Cmd_GetSeed(port, 0, PGM, cell(8), None),
    lambda port: c.Qx_Common_Xcp_Cmd_Unlock(port, 0, 0, None),
])
def test_commands_before_connect_are_refused(sim, port, call):
    set_up_can(port)
    with pytest.raises(Exception) as info:
        call(port)
    assert str(info.value).endswith(": XCP instance 0 is not connected (connect first)")


def test_connect_refusals(sim, port):
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t")
    with raises_exactly(Exception, f"Qx_Common_Xcp_Cmd_Connect: XCP instance 0 is not set up on port 0x{port:08X} "
                                   "(set up its transport first)"):
        c.Qx_Common_Xcp_Cmd_Connect(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"), rsp)
    set_up_can(port)
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_Connect: unknown connect mode 2"):
        c.Qx_Common_Xcp_Cmd_Connect(port, 0, record("Cmd_Connect_Cmd_t", Mode=2), rsp)
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_Connect: no command given"):
        c.Qx_Common_Xcp_Cmd_Connect(port, 0, None, rsp)
    assert sim.last("Qx_Common_Xcp_Cmd_Connect").arg(3).is_null


def test_argument_refusals_call_nothing(sim, port):
    with raises_exactly(TypeError, "Qx_Common_Xcp_Cmd_Disconnect expected 2 arguments, got 3"):
        c.Qx_Common_Xcp_Cmd_Disconnect(port, 0, 0)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Cmd_GetCommModeInfo', argument 3 of type "
                                   "'Qx_Common_Xcp_Cmd_GetCommModeInfo_Rsp_t *const'"):
        c.Qx_Common_Xcp_Cmd_GetCommModeInfo(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_GetStatus_Rsp_t"))
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Cmd_Connect', argument 3 of type "
                                   "'Qx_Common_Xcp_Cmd_Connect_Cmd_t const *const'"):
        c.Qx_Common_Xcp_Cmd_Connect(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t"), None)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Cmd_Unlock', argument 3 of type 'u8_t'"):
        c.Qx_Common_Xcp_Cmd_Unlock(port, 0, "4", None)
    with raises_exactly(TypeError, "in method 'Qx_Common_Xcp_Cmd_GetSeed', argument 4 of type 'u32_t *const'"):
        c.Qx_Common_Xcp_Cmd_GetSeed(port, 0, 0, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"), None)
    assert sum(sim.calls(f) for f in ("Qx_Common_Xcp_Cmd_Disconnect", "Qx_Common_Xcp_Cmd_GetCommModeInfo",
                                      "Qx_Common_Xcp_Cmd_Connect", "Qx_Common_Xcp_Cmd_Unlock",
                                      "Qx_Common_Xcp_Cmd_GetSeed")) == 0


@pytest.mark.parametrize("setter, value, exc, message", [
    ("Qx_Common_Xcp_Cmd_Connect_Rsp_t_MaxDto_set", None, ValueError,
     "invalid null reference in method 'Qx_Common_Xcp_Cmd_Connect_Rsp_t_MaxDto_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_Cmd_Connect_Rsp_t_MaxDto_set", 8, TypeError,
     "in method 'Qx_Common_Xcp_Cmd_Connect_Rsp_t_MaxDto_set', argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_SessionConfigutationId_set", None, ValueError,
     "invalid null reference in method 'Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_SessionConfigutationId_set', "
     "argument 2 of type 'u16_t'"),
    ("Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_SessionConfigutationId_set", 1, TypeError,
     "in method 'Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_SessionConfigutationId_set', argument 2 of type 'u16_t'"),
])
def test_u16_field_refusals(setter, value, exc, message):
    name = setter[:setter.index("_t_") + 2]
    with raises_exactly(exc, message):
        getattr(c, setter)(qxtest.new_record(c, name), value)


def test_session_configuration_id_keeps_the_librarys_spelling(qxt):
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_GetStatus_Rsp_t")
    c.Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_SessionConfigutationId_set(rsp, u16(qxt, 0xBEEF))
    assert u16_value(qxt, c.Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_SessionConfigutationId_get(rsp)) == 0xBEEF
    assert qxt.qxt_read_u8(rsp, 8) == list(pack("Qx_Common_Xcp_Cmd_GetStatus_Rsp_t", SessionConfigutationId=0xBEEF))
    assert not hasattr(c, "Qx_Common_Xcp_Cmd_GetStatus_Rsp_t_SessionConfigurationId_get")
