"""OSEK and AUTOSAR network management, NM node lists and groups, through
the simulated CAN library."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import _qx_api as base  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

OSEK = "Qx_Can_Nm_Config_Osek_Parameters_t"
AUTOSAR = "Qx_Can_Nm_Config_Autosar_Parameters_t"
GLOBAL = "Qx_Can_Nm_Config_Autosar_Global_Parameters_t"
NODE = "Qx_Can_Nm_Config_Autosar_Node_Parameters_t"
NODES = 4


def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


def member(parent, name, obj, **fields):
    """The view of member `name` of record `obj`, with `fields` set through it."""
    view = getattr(can, f"{parent}_{name}_get")(obj)
    for field, value in fields.items():
        getattr(can, f"{parent}_{name}_{field}_set")(view, value)
    return view


def osek(port, nodes=NODES):
    params = record(OSEK)
    member(OSEK, "Range", params, NumberOfNodes=nodes)
    can.Qx_Can_Nm_Config_Osek(port, params)


@pytest.fixture
def autosar(port):
    """The port with AUTOSAR NM of NODES nodes, its global parameters and
    node 1 configured."""
    params = record(AUTOSAR)
    member(AUTOSAR, "Range", params, NumberOfNodes=NODES)
    can.Qx_Can_Nm_Config_Autosar(port, params)
    can.Qx_Can_Nm_Config_Autosar_Global(port, record(GLOBAL, PduLength=8))
    can.Qx_Can_Nm_Config_Autosar_Node(port, record(NODE, NodeId=1))
    return port


def nodes(*numbers, qxt):
    """A node list: one u8_t pointer object per node number."""
    return [qxt.qxt_u8_array([n]) for n in numbers]


def state(port, node):
    return can.Qx_Can_Nm_Autosar_Node_GetState(port, node)


# ---- OSEK configuration and switch-off -------------------------------------------------

def test_osek_config_sends_the_record_filled_through_its_member_views(sim, port):
    params = record(OSEK, CmdFlags=0xFFFFFFFF, Type=2, Dlc=300, DestinationByteOffset=3, reserved=9)
    member(OSEK, "Range", params, IdBase=0x400, IdMask=0x7C0, NumberOfNodes=NODES, reserved1=1, reserved2=2)
    member(OSEK, "ProtocolBits", params, MessageTypeMask=0x7, AliveCode=1, RingCode=2, LimpHomeCode=4,
           SleepIndMask=0x10, SleepIndCodeTrue=0x10, SleepIndCodeFalse=0, SleepAckMask=0x20, SleepAckCodeTrue=0x20,
           SleepAckCodeFalse=0xFFFFFFFF)
    member(OSEK, "RingStableBit", params, RingStableMask=0x40, RingStableCodeTrue=0x40, RingStableCodeFalse=1)
    times = member(OSEK, "Times", params, Typ=65536 + 100, Max=260, Error=1000, WaitBusSleep=0xFFFF)
    assert can.Qx_Can_Nm_Config_Osek_Parameters_t_Times_Typ_get(times) == 100
    assert can.Qx_Can_Nm_Config_Osek_Parameters_t_Dlc_get(params) == 44
    assert can.Qx_Can_Nm_Config_Osek(port, params) is None
    call = sim.last("Qx_Can_Nm_Config_Osek")
    assert call.arg(1).value == port
    assert call.arg(2).value == int(params)
    assert call.arg(2).bytes == pack(OSEK, {
        "CmdFlags": 0xFFFFFFFF, "Type": 2, "Dlc": 44, "DestinationByteOffset": 3, "reserved": 9,
        "Range": dict(IdBase=0x400, IdMask=0x7C0, NumberOfNodes=NODES, reserved1=1, reserved2=2),
        "ProtocolBits": dict(MessageTypeMask=0x7, AliveCode=1, RingCode=2, LimpHomeCode=4, SleepIndMask=0x10,
                             SleepIndCodeTrue=0x10, SleepIndCodeFalse=0, SleepAckMask=0x20, SleepAckCodeTrue=0x20,
                             SleepAckCodeFalse=0xFFFFFFFF),
        "RingStableBit": dict(RingStableMask=0x40, RingStableCodeTrue=0x40, RingStableCodeFalse=1),
        "Times": dict(Typ=100, Max=260, Error=1000, WaitBusSleep=0xFFFF)})


def test_a_member_record_has_no_setter_in_its_parent():
    for name in ("Range", "ProtocolBits", "RingStableBit", "Times"):
        assert hasattr(can, f"{OSEK}_{name}_get")
        assert not hasattr(can, f"{OSEK}_{name}_set")
        assert hasattr(can, f"new_{OSEK}_{name}")


def test_osek_config_with_none_passes_a_null_pointer(sim, port):
    with raises(Exception, "Qx_Can_Nm_Config_Osek: no parameters given"):
        can.Qx_Can_Nm_Config_Osek(port, None)
    assert sim.last("Qx_Can_Nm_Config_Osek").arg(2).is_null


def test_osek_config_refuses_a_node_count_the_device_cannot_simulate(port):
    with raises(Exception, "Qx_Can_Nm_Config_Osek: 0 NM nodes out of range (1 to 64)"):
        osek(port, nodes=0)


def test_off_switches_the_network_management_off(sim, port, qxt):
    osek(port)
    can.Qx_Can_Nm_Nodes_Start(port, nodes(0, qxt=qxt))
    assert can.Qx_Can_Nm_Config_Off(port) is None
    assert sim.last("Qx_Can_Nm_Config_Off").arg(1).value == port
    with raises(Exception, f"Qx_Can_Nm_Nodes_Start: network management is not configured on port 0x{port:08X}"):
        can.Qx_Can_Nm_Nodes_Start(port, nodes(0, qxt=qxt))


@pytest.mark.parametrize("call, exc, message", [
    (lambda: can.Qx_Can_Nm_Config_Osek("1", None), TypeError,
     "in method 'Qx_Can_Nm_Config_Osek', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda: can.Qx_Can_Nm_Config_Osek(1, qxtest.new_record(can, "Qx_Can_Nm_Config_Osek_Parameters_t_Times")), TypeError,
     "in method 'Qx_Can_Nm_Config_Osek', argument 2 of type 'Qx_Can_Nm_Config_Osek_Parameters_t const *const'"),
    (lambda: can.Qx_Can_Nm_Config_Off(-1), OverflowError,
     "in method 'Qx_Can_Nm_Config_Off', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda: can.Qx_Can_Nm_Config_Off((1,)), TypeError,
     "in method 'Qx_Can_Nm_Config_Off', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda: can.Qx_Can_Nm_Config_Osek_Parameters_t_Type_set(qxtest.new_record(can, "Qx_Can_Nm_Config_Osek_Parameters_t"), 2**32),
     OverflowError, "in method 'Qx_Can_Nm_Config_Osek_Parameters_t_Type_set', argument 2 of type "
                    "'Qx_Can_Nm_Config_Osek_Type_t'"),
    (lambda: can.Qx_Can_Nm_Config_Osek_Parameters_t_Times_Typ_set(qxtest.new_record(can, "Qx_Can_Nm_Config_Osek_Parameters_t_Times"),
                                                                   "1"),
     TypeError, "in method 'Qx_Can_Nm_Config_Osek_Parameters_t_Times_Typ_set', argument 2 of type 'u16_t'"),
    (lambda: can.Qx_Can_Nm_Config_Osek_Parameters_t_Times_Typ_set(qxtest.new_record(can, "Qx_Can_Nm_Config_Osek_Parameters_t"), 1),
     TypeError, "in method 'Qx_Can_Nm_Config_Osek_Parameters_t_Times_Typ_set', argument 1 of type "
                "'Qx_Can_Nm_Config_Osek_Parameters_t_Times *'"),
])
def test_osek_arguments_are_refused_with_their_messages(sim, call, exc, message):
    with raises(exc, message):
        call()
    assert sim.calls("Qx_Can_Nm_Config_Osek") == sim.calls("Qx_Can_Nm_Config_Off") == 0


@pytest.mark.parametrize("args", [(), (1, 2)])
def test_off_takes_exactly_one_argument(sim, args):
    with pytest.raises(TypeError):
        can.Qx_Can_Nm_Config_Off(*args)
    assert sim.calls("Qx_Can_Nm_Config_Off") == 0


def test_a_failing_status_raises_the_last_error_text(sim, port):
    sim.fail("Qx_Can_Nm_Config_Off", text=b"NM busy")
    with raises(Exception, "NM busy"):
        can.Qx_Can_Nm_Config_Off(port)


# ---- AUTOSAR configuration -----------------------------------------------------------------

def test_autosar_config_keeps_u16_times_in_16_bits(sim, port):
    params = record(AUTOSAR, Type=65537, reserved1=1, reserved2=2, CmdFlags=0x80000001)
    times = member(AUTOSAR, "Times", params, NmTimeout=65536, WaitBusSleep=2000, MsgCycle=100, RepeatMsg=1500)
    member(AUTOSAR, "Range", params, IdBase=0x500, NumberOfNodes=NODES, reserved1=3, reserved2=4)
    assert can.Qx_Can_Nm_Config_Autosar_Parameters_t_Times_NmTimeout_get(times) == 0
    assert can.Qx_Can_Nm_Config_Autosar(port, params) is None
    assert sim.last("Qx_Can_Nm_Config_Autosar").arg(2).bytes == pack(AUTOSAR, {
        "Type": 1, "reserved1": 1, "reserved2": 2, "CmdFlags": 0x80000001,
        "Times": dict(NmTimeout=0, WaitBusSleep=2000, MsgCycle=100, RepeatMsg=1500),
        "Range": dict(IdBase=0x500, NumberOfNodes=NODES, reserved1=3, reserved2=4)})


def test_global_config_sends_u32_times_and_the_pdu_bytes(sim, port, autosar):
    params = record(GLOBAL, CmdFlags=5, PduNidPosition=0, PduCbvPosition=1, PduStatePosition=2, PduLength=8,
                    PduData=(0, 1, 2, 255, 300, -1, 256, 7))
    times = member(GLOBAL, "Times", params, NmTimeout=65536, WaitBusSleep=0xFFFFFFFF, MsgCycle=3, RepeatMsg=4)
    assert can.Qx_Can_Nm_Config_Autosar_Global_Parameters_t_Times_NmTimeout_get(times) == 65536
    assert can.Qx_Can_Nm_Config_Autosar_Global_Parameters_t_PduData_get(params) == [0, 1, 2, 255, 44, 255, 0, 7]
    can.Qx_Can_Nm_Config_Autosar_Global(port, params)
    assert sim.last("Qx_Can_Nm_Config_Autosar_Global").arg(2).bytes == pack(GLOBAL, {
        "CmdFlags": 5, "PduCbvPosition": 1, "PduStatePosition": 2, "PduLength": 8,
        "PduData": [0, 1, 2, 255, 44, 255, 0, 7],
        "Times": dict(NmTimeout=65536, WaitBusSleep=0xFFFFFFFF, MsgCycle=3, RepeatMsg=4)})


def test_node_config_sends_the_node_and_its_masked_bytes(sim, autosar):
    params = record(NODE, CmdFlags=1, NodeId=2, PduLength=8, NumberOfImmediateNmTransmissions=3, reserved2=4,
                    MsgCycleOffset=10, MsgReducedTime=20, ImmediateNmCycleTime=30)
    pdu = member(NODE, "PduData", params, Mask=[0xFF] * 2 + [0] * 6, Data=list(range(1, 9)))
    can.Qx_Can_Nm_Config_Autosar_Node(autosar, params)
    assert sim.last("Qx_Can_Nm_Config_Autosar_Node").arg(2).bytes == pack(NODE, {
        "CmdFlags": 1, "NodeId": 2, "PduLength": 8, "NumberOfImmediateNmTransmissions": 3, "reserved2": 4,
        "MsgCycleOffset": 10, "MsgReducedTime": 20, "ImmediateNmCycleTime": 30,
        "PduData": dict(Mask=[0xFF] * 2 + [0] * 6, Data=list(range(1, 9)))})
    assert state(autosar, 2)[0] & 0x8  # configured


@pytest.mark.parametrize("setter, value, exc, text", [
    ("Qx_Can_Nm_Config_Autosar_Global_Parameters_t_PduData_set", [1] * 7, ValueError,
     "Expecting a sequence with 8 elements"),
    ("Qx_Can_Nm_Config_Autosar_Global_Parameters_t_PduData_set", 5, TypeError, "Expecting a sequence"),
    ("Qx_Can_Nm_Config_Autosar_Node_Parameters_t_PduData_Mask_set", [1] * 7 + ["x"], ValueError,
     "Expecting a sequence of u8_t"),
    ("Qx_Can_Nm_Config_Autosar_Node_Parameters_t_PduData_Data_set", [1] * 9, ValueError,
     "Expecting a sequence with 8 elements"),
])
def test_array_setters_refuse_and_keep_the_old_bytes(setter, value, exc, text):
    if "Global" in setter:
        obj = qxtest.new_record(can, "Qx_Can_Nm_Config_Autosar_Global_Parameters_t")
    else:
        obj = can.Qx_Can_Nm_Config_Autosar_Node_Parameters_t_PduData_get(qxtest.new_record(can, "Qx_Can_Nm_Config_Autosar_Node_Parameters_t"))
    getattr(can, setter)(obj, list(range(8)))
    with raises(exc, f"fail in '{setter}' : {text}"):
        getattr(can, setter)(obj, value)
    assert getattr(can, setter[:-4] + "_get")(obj) == list(range(8))


@pytest.mark.parametrize("function, params, text", [
    ("Qx_Can_Nm_Config_Autosar_Global", GLOBAL, "AUTOSAR network management is not configured on port 0x{port:08X}"),
    ("Qx_Can_Nm_Config_Autosar_Node", NODE, "AUTOSAR network management is not configured on port 0x{port:08X}"),
])
def test_autosar_parts_need_the_autosar_configuration_first(port, function, params, text):
    osek(port)
    with raises(Exception, f"{function}: " + text.format(port=port)):
        getattr(can, function)(port, record(params))


def test_node_config_needs_the_global_parameters_and_a_known_node(port):
    params = record(AUTOSAR)
    member(AUTOSAR, "Range", params, NumberOfNodes=NODES)
    can.Qx_Can_Nm_Config_Autosar(port, params)
    with raises(Exception, "Qx_Can_Nm_Config_Autosar_Node: AUTOSAR NM global parameters are not configured"):
        can.Qx_Can_Nm_Config_Autosar_Node(port, record(NODE))
    can.Qx_Can_Nm_Config_Autosar_Global(port, record(GLOBAL))
    with raises(Exception, "Qx_Can_Nm_Config_Autosar_Node: no NM node 4 (4 nodes configured)"):
        can.Qx_Can_Nm_Config_Autosar_Node(port, record(NODE, NodeId=NODES))


def test_autosar_config_refuses_a_record_of_another_kind(sim, port):
    with raises(TypeError, "in method 'Qx_Can_Nm_Config_Autosar_Global', argument 2 of type "
                           "'Qx_Can_Nm_Config_Autosar_Global_Parameters_t const *const'"):
        can.Qx_Can_Nm_Config_Autosar_Global(port, record(AUTOSAR))
    assert sim.calls("Qx_Can_Nm_Config_Autosar_Global") == 0


# ---- AUTOSAR node state and requests ---------------------------------------------------------

def test_node_state_is_a_list_of_three_ints_in_argument_order(sim, autosar):
    sim.output("Qx_Can_Nm_Autosar_Node_GetState", 3, struct.pack("<I", 0x80000001))
    sim.output("Qx_Can_Nm_Autosar_Node_GetState", 4, b"\xfe")
    sim.output("Qx_Can_Nm_Autosar_Node_GetState", 5, b"\x07")
    assert state(autosar, 1) == [0x80000001, 254, 7]
    call = sim.last("Qx_Can_Nm_Autosar_Node_GetState")
    assert call.arg(2).value == 1
    assert [call.arg(n).is_null for n in (3, 4, 5)] == [False] * 3


def test_node_state_follows_start_requests_and_sleep(autosar, qxt):
    assert state(autosar, 1) == [0x8, 0, 0]  # configured, stopped, bus sleep
    can.Qx_Can_Nm_Nodes_Start(autosar, nodes(1, qxt=qxt))
    assert state(autosar, 1) == [0x9, 3, 1]  # started: normal operation, network mode
    can.Qx_Can_Nm_Autosar_RepeatMessageRequest(autosar, 1)
    can.Qx_Can_Nm_Autosar_RequestBusSynchronization(autosar, 1)
    assert state(autosar, 1) == [0xF, 2, 1]  # repeat message
    can.Qx_Can_Nm_Nodes_GoToMode_BusSleep(autosar, nodes(1, qxt=qxt))
    assert state(autosar, 1) == [0x9, 1, 0]
    can.Qx_Can_Nm_Nodes_GoToMode_Awake(autosar, nodes(1, qxt=qxt))
    assert state(autosar, 1) == [0x9, 3, 1]
    can.Qx_Can_Nm_Nodes_Stop(autosar, nodes(1, qxt=qxt))
    assert state(autosar, 1) == [0x8, 0, 0]


def test_node_state_failing_returns_nothing(sim, autosar):
    sim.fail("Qx_Can_Nm_Autosar_Node_GetState", text=b"no answer")
    with raises(Exception, "no answer"):
        state(autosar, 1)


@pytest.mark.parametrize("function", ["Qx_Can_Nm_Autosar_RepeatMessageRequest",
                                      "Qx_Can_Nm_Autosar_RequestBusSynchronization"])
def test_requests_need_a_known_started_node(sim, autosar, function):
    with raises(Exception, f"{function}: NM node 2 is not started"):
        getattr(can, function)(autosar, 2)
    # 300 reaches the library as 44
    with raises(Exception, f"{function}: no NM node 44 (4 nodes configured)"):
        getattr(can, function)(autosar, 300)
    assert sim.last(function).arg(2).value == 44
    with raises(OverflowError, f"in method '{function}', argument 2 of type 'u8_t'"):
        getattr(can, function)(autosar, -1)


def test_node_state_needs_autosar_and_a_known_node(port):
    osek(port)
    with raises(Exception, "Qx_Can_Nm_Autosar_Node_GetState: AUTOSAR network management is not configured on "
                           f"port 0x{port:08X}"):
        state(port, 0)
    with raises(TypeError, "in method 'Qx_Can_Nm_Autosar_Node_GetState', argument 2 of type 'u8_t'"):
        state(port, None)


# ---- Qx_Can_Nm_Config_SetData --------------------------------------------------------------

def test_set_data_passes_two_arrays_of_eight_bytes(sim, port):
    osek(port)
    assert can.Qx_Can_Nm_Config_SetData(port, (0xFF, 0, 0, 0, 0, 0, 0, -1), [256, 1, 2, 3, 4, 5, 6, 300]) is None
    call = sim.last("Qx_Can_Nm_Config_SetData")
    assert call.arg(2).bytes == bytes([0xFF, 0, 0, 0, 0, 0, 0, 0xFF])
    assert call.arg(3).bytes == bytes([0, 1, 2, 3, 4, 5, 6, 44])


@pytest.mark.parametrize("first, second, exc, text", [
    ([0] * 7, 5, ValueError, "Expecting a sequence with 8 elements"),  # the first fails before the second is read
    ([0] * 8, 5, TypeError, "Expecting a sequence"),
    (5, [0] * 8, TypeError, "Expecting a sequence"),
    ([0] * 8, [0] * 7 + [None], ValueError, "Expecting a sequence of u8_t"),
    ([0] * 8, [0] * 9, ValueError, "Expecting a sequence with 8 elements"),
])
def test_set_data_refuses_bad_arrays_and_sends_nothing(sim, port, first, second, exc, text):
    with raises(exc, f"fail in 'Qx_Can_Nm_Config_SetData' : {text}"):
        can.Qx_Can_Nm_Config_SetData(port, first, second)
    assert sim.calls("Qx_Can_Nm_Config_SetData") == 0


def test_set_data_needs_a_configured_network_management(port):
    with raises(Exception, f"Qx_Can_Nm_Config_SetData: network management is not configured on port 0x{port:08X}"):
        can.Qx_Can_Nm_Config_SetData(port, [0] * 8, [0] * 8)


# ---- node lists ------------------------------------------------------------------------------

NODE_LIST_BINDINGS = [
    ("Qx_Can_Nm_Nodes_Start", ()),
    ("Qx_Can_Nm_Nodes_Stop", ()),
    ("Qx_Can_Nm_Nodes_GoToMode_Awake", ()),
    ("Qx_Can_Nm_Nodes_GoToMode_BusSleep", ()),
    ("Qx_Can_Nm_Nodes_ChangeGroup", (5,)),
]


@pytest.fixture
def running(port, qxt):
    """OSEK NM with NODES nodes, all started."""
    osek(port)
    can.Qx_Can_Nm_Nodes_Start(port, nodes(*range(NODES), qxt=qxt))
    return port


@pytest.mark.parametrize("function, extra", NODE_LIST_BINDINGS)
def test_node_lists_send_their_count_and_bytes(sim, running, qxt, function, extra):
    listed = tuple(nodes(3, 0, 2, qxt=qxt))  # a tuple is taken like a list
    assert getattr(can, function)(running, *extra, listed) is None
    call = sim.last(function)
    count = 2 + len(extra)
    assert call.arg(count).value == 3
    assert call.arg(count + 1).bytes == bytes([3, 0, 2])


@pytest.mark.parametrize("function, extra", NODE_LIST_BINDINGS)
def test_node_lists_longer_than_the_u8_count_are_refused(sim, running, qxt, function, extra):
    items = nodes(*(i % NODES for i in range(256)), qxt=qxt)
    with raises(ValueError, f"fail in '{function}' : Expecting a sequence with at most 255 elements"):
        getattr(can, function)(running, *extra, items)
    assert sim.calls(function) == (1 if function == "Qx_Can_Nm_Nodes_Start" else 0)
    # 255 still pass, all of them
    assert getattr(can, function)(running, *extra, items[:255]) is None
    call = sim.last(function)
    assert call.arg(2 + len(extra)).value == 255
    assert call.arg(3 + len(extra)).bytes == bytes(i % NODES for i in range(255))


def test_an_empty_node_list_sends_count_zero(sim, running):
    assert can.Qx_Can_Nm_Nodes_Stop(running, []) is None
    assert sim.last("Qx_Can_Nm_Nodes_Stop").arg(2).value == 0


@pytest.mark.parametrize("bad", [
    lambda qxt: 1,
    lambda qxt: None,
    lambda qxt: qxt.qxt_u16_array([1]),
    lambda qxt: qxtest.new_record(can, "Qx_Can_Data_t"),
    lambda qxt: qxtest.new_record(base, "int_p"),
])
@pytest.mark.parametrize("function, extra", [NODE_LIST_BINDINGS[0], NODE_LIST_BINDINGS[4]])
def test_node_list_items_must_be_u8_pointer_objects(sim, running, qxt, bad, function, extra):
    with raises(TypeError, f"fail in '{function}' list must contain 'u8_t'"):
        getattr(can, function)(running, *extra, [qxt.qxt_u8_array([0]), bad(qxt)])
    assert sim.calls(function) == (1 if function == "Qx_Can_Nm_Nodes_Start" else 0)


@pytest.mark.parametrize("function, extra", NODE_LIST_BINDINGS)
def test_a_node_list_must_be_a_sequence(sim, running, qxt, function, extra):
    with raises(TypeError, f"fail in '{function}' : Expecting a sequence"):
        getattr(can, function)(running, *extra, qxt.qxt_u8_array([0]))


def test_an_unknown_node_changes_nothing(port, qxt):
    params = record(AUTOSAR)
    member(AUTOSAR, "Range", params, NumberOfNodes=NODES)
    can.Qx_Can_Nm_Config_Autosar(port, params)
    with raises(Exception, "Qx_Can_Nm_Nodes_Start: no NM node 9 (4 nodes configured)"):
        can.Qx_Can_Nm_Nodes_Start(port, nodes(0, 9, qxt=qxt))
    assert state(port, 0) == [0, 0, 0]


@pytest.mark.parametrize("function", ["Qx_Can_Nm_Nodes_GoToMode_Awake", "Qx_Can_Nm_Nodes_GoToMode_BusSleep"])
def test_a_stopped_node_cannot_change_its_mode(port, qxt, function):
    osek(port)
    with raises(Exception, f"{function}: NM node 2 is not started"):
        getattr(can, function)(port, nodes(2, qxt=qxt))


def test_a_failing_node_list_call_raises_the_last_error(sim, running, qxt):
    sim.fail("Qx_Can_Nm_Nodes_Stop", text=b"bus off")
    with raises(Exception, "bus off"):
        can.Qx_Can_Nm_Nodes_Stop(running, nodes(1, qxt=qxt))
    assert sim.last("Qx_Can_Nm_Nodes_Stop").arg(3).bytes == b"\x01"


# ---- groups ----------------------------------------------------------------------------------

def test_groups_start_stop_and_sleep_the_nodes_moved_into_them(sim, port, qxt):
    params = record(AUTOSAR)
    member(AUTOSAR, "Range", params, NumberOfNodes=NODES)
    can.Qx_Can_Nm_Config_Autosar(port, params)
    can.Qx_Can_Nm_Nodes_ChangeGroup(port, 300, nodes(1, 3, qxt=qxt))
    assert sim.last("Qx_Can_Nm_Nodes_ChangeGroup").arg(2).value == 44
    assert can.Qx_Can_Nm_Group_Start(port, 44) is None
    assert [state(port, n)[1] for n in range(NODES)] == [0, 3, 0, 3]
    can.Qx_Can_Nm_Group_GoToMode_BusSleep(port, 44)
    assert [state(port, n)[2] for n in (1, 3)] == [0, 0]
    can.Qx_Can_Nm_Group_GoToMode_Awake(port, 44)
    assert [state(port, n)[2] for n in (1, 3)] == [1, 1]
    can.Qx_Can_Nm_Group_Stop(port, 300)
    assert sim.last("Qx_Can_Nm_Group_Stop").arg(2).value == 44
    assert [state(port, n)[1] for n in range(NODES)] == [0, 0, 0, 0]


@pytest.mark.parametrize("function", ["Qx_Can_Nm_Group_Start", "Qx_Can_Nm_Group_Stop",
                                      "Qx_Can_Nm_Group_GoToMode_Awake", "Qx_Can_Nm_Group_GoToMode_BusSleep"])
def test_group_calls_need_a_group_with_nodes(sim, port, function):
    osek(port)
    with raises(Exception, f"{function}: no NM node in group 7"):
        getattr(can, function)(port, 7)
    with raises(TypeError, f"in method '{function}', argument 2 of type 'u8_t'"):
        getattr(can, function)(port, "7")
    assert sim.calls(function) == 1


def test_group_modes_need_started_nodes(port):
    osek(port)
    with raises(Exception, "Qx_Can_Nm_Group_GoToMode_Awake: NM node 0 is not started"):
        can.Qx_Can_Nm_Group_GoToMode_Awake(port, 0)
