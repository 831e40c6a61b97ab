"""Trovix generic network management: a node's state, repeat-message
requests, local and remote user data of 4000 bytes, and disabling and
enabling a node's communication."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

N = "Qx_Trovix_Nm_"
COMMANDS = ["State_Get", "RepeatMsgRequest", "UserData_Local_Set", "UserData_Remote_Get", "Communication_Disable",
            "Communication_Enable"]
LOCAL = f"{N}UserData_Local_Set_Cmd_t"
REMOTE = f"{N}UserData_Remote_Get_Rsp_t"
SIZES = {f"{N}{c}_Cmd_t": 8 for c in COMMANDS} | {LOCAL: 4012, f"{N}State_Get_Rsp_t": 4, REMOTE: 4004}
STATES = ["NOT_INITIALIZED", "BUS_SLEEP", "PREPARE_BUS_SLEEP", "NETWORK__READY_SLEEP", "NETWORK__NORMAL_OPERATION",
          "NETWORK__REPEAT_MESSAGE", "SYNCHRONIZE", "UNKNOWN"]
CAN = 0


def command(name, **fields):
    return qxtest.new_record(tv, f"{N}{name}_Cmd_t", **fields)


def node(**fields):
    """Node fields: ECU 3 on CAN controller 1 unless given."""
    return dict(dict(BusType=CAN, ControllerId=1, EcuId=3), **fields)


def state(port, **fields):
    rsp = qxtest.new_record(tv, "Qx_Trovix_Nm_State_Get_Rsp_t")
    tv.Qx_Trovix_Nm_State_Get(port, command("State_Get", **node(**fields)), rsp)
    return tv.Qx_Trovix_Nm_State_Get_Rsp_t_State_get(rsp)


def remote(port, **fields):
    rsp = qxtest.new_record(tv, "Qx_Trovix_Nm_UserData_Remote_Get_Rsp_t")
    tv.Qx_Trovix_Nm_UserData_Remote_Get(port, command("UserData_Remote_Get", **node(**fields)), rsp)
    return tv.Qx_Trovix_Nm_UserData_Remote_Get_Rsp_t_Length_get(rsp), \
        tv.Qx_Trovix_Nm_UserData_Remote_Get_Rsp_t_Data_get(rsp)


def test_constants_hold_the_states_and_the_data_size():
    assert [getattr(tv, "QX_TROVIX__NM__STATE__" + s) for s in STATES] == list(range(8))
    assert tv.QX_TROVIX__NM__USER_DATA__MAX_SIZE == 4000


@pytest.mark.parametrize("name", SIZES)
def test_fresh_record_has_its_size_and_reads_zero(name):
    assert layouts.size(name) == SIZES[name]
    record = qxtest.new_record(tv, name)
    got = {f: getattr(tv, f"{name}_{f}_get")(record) for f in layouts.record(name).fields}
    assert got == layouts.unpack(name, bytes(SIZES[name]))


# ---- Data lists -----------------------------------------------------------------------------

@pytest.mark.parametrize("name", [LOCAL, REMOTE])
@pytest.mark.parametrize("value, exc, ending", [
    ([0] * 3999, ValueError, "Expecting a sequence with 4000 elements"),
    ([0] * 4001, ValueError, "Expecting a sequence with 4000 elements"),
    ([1] * 3999 + ["1"], ValueError, "Expecting a sequence of u8_t"),
    ([1] * 3999 + [2**31], ValueError, "Expecting a sequence of u8_t"),
    (7, TypeError, "Expecting a sequence"),
    (None, TypeError, "Expecting a sequence"),
])
def test_data_refusals_keep_the_array(name, value, exc, ending):
    record = qxtest.new_record(tv, name)
    kept = [i % 251 for i in range(4000)]
    getattr(tv, f"{name}_Data_set")(record, kept)
    with qxtest.raises_exactly(exc, f"fail in '{name}_Data_set' : {ending}"):
        getattr(tv, f"{name}_Data_set")(record, value)
    assert getattr(tv, f"{name}_Data_get")(record) == kept
    assert getattr(tv, f"{name}_Data_set")(None, [0] * 4000) is None


# ---- bindings ------------------------------------------------------------------------------

def test_local_user_data_reaches_the_library_whole_and_reads_back_remotely(sim, tport):
    data = [(7 * i) & 0xFF for i in range(4000)]
    fields = dict(Flags=0x80000001, BusType=CAN, ControllerId=1, EcuId=3, reserved1=4, Length=5, reserved2=6,
                  reserved3=7, Data=data)
    assert tv.Qx_Trovix_Nm_UserData_Local_Set(tport, qxtest.new_record(tv, LOCAL, **fields)) is None
    call = sim.last(f"{N}UserData_Local_Set")
    assert call.arg(1).value == tport and call.arg(2).size == 4012
    assert layouts.unpack(LOCAL, call.arg(2).bytes) == fields
    assert remote(tport) == (5, data[:5] + [0] * 3995)
    assert remote(tport, EcuId=4) == (0, [0] * 4000)


@pytest.mark.parametrize("binding", COMMANDS)
def test_commands_reach_the_library_whole(sim, tport, binding):
    fields = dict(Flags=2**32 - 1, BusType=tv.QX_TROVIX__BUS_TYPE__ETHERNET, ControllerId=255, EcuId=9, reserved=1)
    if binding == "UserData_Local_Set":
        fields = dict(fields, reserved1=fields.pop("reserved"))
    args = [qxtest.new_record(tv, f"{N}{binding}_Cmd_t", **fields)]
    if binding.endswith("_Get"):
        args.append(qxtest.new_record(tv, f"{N}{binding}_Rsp_t"))
    assert getattr(tv, N + binding)(tport, *args) is None
    call = sim.last(N + binding)
    got = layouts.unpack(f"{N}{binding}_Cmd_t", call.arg(2).bytes)
    assert {f: got[f] for f in fields} == fields
    if binding.endswith("_Get"):
        assert call.arg(3).size == SIZES[f"{N}{binding}_Rsp_t"]


def test_state_follows_repeat_requests_and_communication_per_node(tport):
    assert state(tport) == tv.QX_TROVIX__NM__STATE__BUS_SLEEP
    tv.Qx_Trovix_Nm_RepeatMsgRequest(tport, command("RepeatMsgRequest", **node()))
    assert state(tport) == tv.QX_TROVIX__NM__STATE__NETWORK__REPEAT_MESSAGE
    assert state(tport, ControllerId=2) == state(tport, BusType=tv.QX_TROVIX__BUS_TYPE__FLEXRAY) \
        == tv.QX_TROVIX__NM__STATE__BUS_SLEEP
    tv.Qx_Trovix_Nm_Communication_Disable(tport, command("Communication_Disable", **node(EcuId=4)))
    with qxtest.raises_exactly(Exception, f"{N}RepeatMsgRequest: the communication of node 0/1/4 is disabled"):
        tv.Qx_Trovix_Nm_RepeatMsgRequest(tport, command("RepeatMsgRequest", **node(EcuId=4)))
    assert state(tport, EcuId=4) == tv.QX_TROVIX__NM__STATE__BUS_SLEEP
    tv.Qx_Trovix_Nm_Communication_Enable(tport, command("Communication_Enable", **node(EcuId=4)))
    tv.Qx_Trovix_Nm_RepeatMsgRequest(tport, command("RepeatMsgRequest", **node(EcuId=4)))
    assert state(tport, EcuId=4) == tv.QX_TROVIX__NM__STATE__NETWORK__REPEAT_MESSAGE


def test_local_user_data_longer_than_data_is_refused(tport):
    tv.Qx_Trovix_Nm_UserData_Local_Set(tport, qxtest.new_record(tv, LOCAL, **node(Length=4000, Data=[1] * 4000)))
    with qxtest.raises_exactly(Exception, f"{N}UserData_Local_Set: Length 4001 exceeds the 4000 bytes of Data"):
        tv.Qx_Trovix_Nm_UserData_Local_Set(tport, qxtest.new_record(tv, LOCAL, **node(Length=4001)))
    assert remote(tport) == (4000, [1] * 4000)


@pytest.mark.parametrize("binding", ["State_Get", "UserData_Remote_Get"])
def test_null_response_reaches_the_library(sim, tport, binding):
    with qxtest.raises_exactly(Exception, f"{N}{binding}: no response given"):
        getattr(tv, N + binding)(tport, command(binding, **node()), None)
    assert sim.last(N + binding).arg(3).is_null


@pytest.mark.parametrize("binding", COMMANDS)
def test_null_command_and_unknown_bus_fail_in_the_library(tport, binding):
    extra = [qxtest.new_record(tv, f"{N}{binding}_Rsp_t")] if binding.endswith("_Get") else []
    with qxtest.raises_exactly(Exception, f"{N}{binding}: no command given"):
        getattr(tv, N + binding)(tport, None, *extra)
    with qxtest.raises_exactly(Exception, f"{N}{binding}: unknown bus type 4"):
        getattr(tv, N + binding)(tport, command(binding, BusType=tv.QX_TROVIX__BUS_TYPE__UNKNOWN), *extra)


def test_node_table_fills_up(tport):
    for ecu in range(8):
        state(tport, EcuId=ecu)
    state(tport, EcuId=0)
    with qxtest.raises_exactly(Exception, f"{N}State_Get: the network-management node table is full (8 nodes)"):
        state(tport, EcuId=8)


@pytest.mark.parametrize("binding, args, exc, message", [
    ("RepeatMsgRequest", lambda: [command("State_Get")], TypeError,
     f"in method '{N}RepeatMsgRequest', argument 2 of type '{N}RepeatMsgRequest_Cmd_t const *const'"),
    ("Communication_Enable", lambda: [command("Communication_Disable")], TypeError,
     f"in method '{N}Communication_Enable', argument 2 of type '{N}Communication_Enable_Cmd_t const *const'"),
    ("UserData_Remote_Get", lambda: [command("UserData_Remote_Get"), qxtest.new_record(tv, "Qx_Trovix_Nm_State_Get_Rsp_t")],
     TypeError, f"in method '{N}UserData_Remote_Get', argument 3 of type '{REMOTE} *const'"),
    ("State_Get", lambda: [command("State_Get")], TypeError, f"{N}State_Get expected 3 arguments, got 2"),
    ("UserData_Local_Set", lambda: [None, None], TypeError, f"{N}UserData_Local_Set expected 2 arguments, got 3"),
])
def test_argument_errors_are_raised_before_the_call(sim, tport, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, N + binding)(tport, *args())
    assert sim.calls(N + binding) == 0


def test_port_is_converted_and_a_failure_raises_the_library_text(sim, tport):
    with qxtest.raises_exactly(OverflowError, f"in method '{N}Communication_Disable', argument 1 of type "
                                              "'Qx_PortHandle_t'"):
        tv.Qx_Trovix_Nm_Communication_Disable(-1, None)
    sim.fail(f"{N}State_Get", text=b"no network management here")
    with qxtest.raises_exactly(Exception, "no network management here"):
        state(tport)
