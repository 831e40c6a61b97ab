"""Ethernet interface: controller configuration, VLANs, MAC and IP addresses
of a configured controller, initialisation."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

E = "Qx_Trovix_EthIf_"
IP = f"{E}IpAddr_Add_Cmd_t"
VLAN = f"{E}Vlan_Config_Cmd_t"
MAC = f"{E}MacAddr_Set_Cmd_t"
CTRL = f"{E}Controller_Config_Cmd_t"
# (function, record, address member and its length, or None)
COMMANDS = [("IpAddr_Add", IP, "IpDestination", 16), ("Vlan_Config", VLAN, None, 0),
            ("MacAddr_Set", MAC, "MacAddress", 6), ("Controller_Config", CTRL, None, 0)]


@pytest.fixture
def eth(tport):
    """The initialised Ethernet interface with controller 3 configured."""
    tv.Qx_Trovix_EthIf_Init(tport)
    tv.Qx_Trovix_EthIf_Controller_Config(tport, qxtest.new_record(tv, CTRL, ControllerId=3))
    return tport


@pytest.mark.parametrize("function, record, fields, size", [
    ("Controller_Config", CTRL, dict(Flags=0x80000000, ControllerId=9, reserved1=1, reserved2=2, reserved3=3,
                                     OperationMode=1, DataRate=1000, MtuSize=1500, TxAmplitude=2**32 - 1), 24),
    ("IpAddr_Add", IP, dict(Flags=1, ControllerId=3, EcuId=4, IpAddressType=6, Prefix=64,
                            IpDestination=[0xFE, 0x80] + list(range(14)), VlanId=4095), 28),
    ("Vlan_Config", VLAN, dict(Flags=2, ControllerId=3, EcuId=255, reserved1=5, reserved2=6, VlanId=100), 12),
    ("MacAddr_Set", MAC, dict(Flags=3, ControllerId=3, EcuId=1, reserved1=7, reserved2=8,
                              MacAddress=[2, 0, 0, 0xAB, 0xCD, 0xEF], reserved3=9, reserved4=10), 16),
])
def test_commands_reach_the_library_whole(sim, eth, function, record, fields, size):
    assert getattr(tv, E + function)(eth, qxtest.new_record(tv, record, **fields)) is None
    call = sim.last(E + function)
    assert call.arg(1).value == eth and call.arg(2).size == size
    assert layouts.unpack(record, call.arg(2).bytes) == fields


@pytest.mark.parametrize("function, record", [(c[0], c[1]) for c in COMMANDS[:3]])
def test_addresses_and_vlans_need_a_configured_controller(eth, function, record):
    with qxtest.raises_exactly(Exception, f"{E}{function}: unknown Ethernet controller 4"):
        getattr(tv, E + function)(eth, qxtest.new_record(tv, record, ControllerId=4))
    tv.Qx_Trovix_EthIf_Init(eth)                          # starts afresh: controller 3 is gone
    with qxtest.raises_exactly(Exception, f"{E}{function}: unknown Ethernet controller 3"):
        getattr(tv, E + function)(eth, qxtest.new_record(tv, record, ControllerId=3))


@pytest.mark.parametrize("function, record", [(c[0], c[1]) for c in COMMANDS] + [("DeInit", None)])
def test_calls_before_init_and_after_deinit_are_refused(sim, tport, function, record):
    call = (lambda: getattr(tv, E + function)(tport, qxtest.new_record(tv, record))) if record else \
        (lambda: getattr(tv, E + function)(tport))
    with qxtest.raises_exactly(Exception, f"{E}{function}: the Ethernet interface is not initialised"):
        call()
    tv.Qx_Trovix_EthIf_Init(tport)
    tv.Qx_Trovix_EthIf_DeInit(tport)
    assert sim.last(f"{E}DeInit").arg(1).value == tport
    with qxtest.raises_exactly(Exception, f"{E}{function}: the Ethernet interface is not initialised"):
        call()


@pytest.mark.parametrize("function", [c[0] for c in COMMANDS])
def test_null_command_reaches_the_library_and_a_failure_raises(sim, eth, function):
    with qxtest.raises_exactly(Exception, f"{E}{function}: no command given"):
        getattr(tv, E + function)(eth, None)
    assert sim.last(E + function).arg(2).is_null
    sim.fail(E + function, text=b"controller busy")
    with qxtest.raises_exactly(Exception, "controller busy"):
        getattr(tv, E + function)(eth, None)


def test_mac_address_leaves_its_neighbours_alone():
    rec = qxtest.new_record(tv, MAC, MacAddress=[0xFF] * 6)
    assert [tv.Qx_Trovix_EthIf_MacAddr_Set_Cmd_t_reserved2_get(rec), tv.Qx_Trovix_EthIf_MacAddr_Set_Cmd_t_reserved3_get(rec),
            tv.Qx_Trovix_EthIf_MacAddr_Set_Cmd_t_reserved4_get(rec)] == [0, 0, 0]


@pytest.mark.parametrize("record, field, length", [(IP, "IpDestination", 16), (MAC, "MacAddress", 6)])
@pytest.mark.parametrize("value, exc, ending", [
    (lambda n: [1] * (n - 1), ValueError, "Expecting a sequence with {n} elements"),
    (lambda n: [1] * (n + 1), ValueError, "Expecting a sequence with {n} elements"),
    (lambda n: [192, 168, 0, 1], ValueError, "Expecting a sequence with {n} elements"),
    (lambda n: [0] * (n - 1) + ["x"], ValueError, "Expecting a sequence of u8_t"),
    (lambda n: [0] * (n - 1) + [2**31], ValueError, "Expecting a sequence of u8_t"),
    (lambda n: 5, TypeError, "Expecting a sequence"),
])
def test_addresses_are_all_or_nothing(record, field, length, value, exc, ending):
    rec = qxtest.new_record(tv, record, **{field: [9] * length})
    setter = f"{record}_{field}_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending.format(n=length)}"):
        getattr(tv, setter)(rec, value(length))
    assert getattr(tv, f"{record}_{field}_get")(rec) == [9] * length


@pytest.mark.parametrize("call, exc, message", [
    (lambda p: tv.Qx_Trovix_EthIf_IpAddr_Add(p, qxtest.new_record(tv, "Qx_Trovix_EthIf_Vlan_Config_Cmd_t")), TypeError,
     f"in method '{E}IpAddr_Add', argument 2 of type '{IP} const *const'"),
    (lambda p: tv.Qx_Trovix_EthIf_MacAddr_Set(-1, None), OverflowError,
     f"in method '{E}MacAddr_Set', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: tv.Qx_Trovix_EthIf_Init(-1), OverflowError, f"in method '{E}Init', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: tv.Qx_Trovix_EthIf_Init("1"), TypeError, f"in method '{E}Init', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: tv.Qx_Trovix_EthIf_Controller_Config_Cmd_t_MtuSize_set(qxtest.new_record(tv, "Qx_Trovix_EthIf_Controller_Config_Cmd_t"),
                                                                      2**32), OverflowError,
     f"in method '{CTRL}_MtuSize_set', argument 2 of type 'u32_t'"),
    (lambda p: tv.Qx_Trovix_EthIf_Controller_Config_Cmd_t_Flags_set(qxtest.new_record(tv, "Qx_Trovix_EthIf_Controller_Config_Cmd_t"),
                                                                    1.0), TypeError,
     f"in method '{CTRL}_Flags_set', argument 2 of type 'Qx_Trovix_EthIf_Controller_Config_Flags_t'"),
    (lambda p: tv.Qx_Trovix_EthIf_MacAddr_Set_Cmd_t_MacAddress_get(qxtest.new_record(tv, "Qx_Trovix_EthIf_IpAddr_Add_Cmd_t")),
     TypeError, f"in method '{MAC}_MacAddress_get', argument 1 of type '{MAC} *'"),
    (lambda p: tv.Qx_Trovix_EthIf_Vlan_Config(p), TypeError, f"{E}Vlan_Config expected 2 arguments, got 1"),
])
def test_argument_errors_are_raised_before_the_call(sim, eth, call, exc, message):
    before = len(sim.journal())
    with qxtest.raises_exactly(exc, message):
        call(eth)
    assert len(sim.journal()) == before


@pytest.mark.parametrize("function", [tv.Qx_Trovix_EthIf_Init, tv.Qx_Trovix_EthIf_DeInit])
def test_init_and_deinit_take_exactly_the_port(function, tport):
    with pytest.raises(TypeError):
        function()
    with pytest.raises(TypeError):
        function(tport, 0)


def test_entries_stand_in_declaration_order():
    expected = []
    for item in [IP, "IpAddr_Add", VLAN, "Vlan_Config", MAC, "MacAddr_Set", "Init", "DeInit", CTRL,
                 "Controller_Config"]:
        if item.endswith("_t"):
            for field in layouts.record(item).fields:
                expected += [f"{item}_{field}_set", f"{item}_{field}_get"]
            expected += [f"new_{item}", f"delete_{item}", f"{item}_swigregister", f"{item}_swiginit"]
        else:
            expected.append(E + item)
    assert [name for name, obj in vars(tv).items() if callable(obj) and E in name] == expected
