"""Event/action engine operations: handles, linking, running, properties and
host notification, from the Python arguments to what the simulated library
received and back to results and exceptions."""
import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402
from layouts import pack  # noqa: E402

EVENT = 0x80000001
ACTION = 0xFFFFFFFF
NOTIFICATION = 0x80000002


@pytest.fixture
def port():
    return c.Qx_Common_OpenInterface("COMMON1")


def m(function, position, type_):
    return f"in method '{function}', argument {position} of type '{type_}'"


def failure_text(call):
    """The text of the Exception that `call` raises."""
    with pytest.raises(Exception) as raised:
        call()
    assert type(raised.value) is Exception
    return str(raised.value)


def record(qxt, type_, **fields):
    """A new record of Qx_Common_EA_<type_> with the fields given; a field
    given as ("u16", v) is set from a u16_t object holding v."""
    name = "Qx_Common_EA_" + type_
    r = qxtest.new_record(c, name)
    for field, value in fields.items():
        if isinstance(value, tuple):
            value = qxt.qxt_u16_array([value[1]])
        getattr(c, f"{name}_{field}_set")(r, value)
    return r


def define_event(qxt, port, handle, type_=c.QX_COMMON__EA__EVENT_TYPE__SOFTWARE__USER_EVENT):
    c.Qx_Common_EA_InitEvent(port, record(qxt, "InitEvent_Cmd_t", EventHandle=handle, EventType=("u16", type_)))


def define_notify_action(qxt, port, handle, notification):
    command = record(qxt, "InitAction_Cmd_t", ActionHandle=handle,
                     ActionType=("u16", c.QX_COMMON__EA__ACTION_TYPE__NOTIFY_HOST))
    c.Qx_Common_EA_InitAction_SubCmd_NotifyHost_t_NotificationId_set(
        c.Qx_Common_EA_InitAction_Cmd_t_u_NotifyHost_get(c.Qx_Common_EA_InitAction_Cmd_t_u_get(command)), notification)
    c.Qx_Common_EA_InitAction(port, command)


@pytest.fixture
def engine(qxt, port):
    """An event and a notify-host action, defined and linked, with a native
    callback registered for the action."""
    c.Qx_Common_EA_AllocateEventByHandle(port, EVENT)
    c.Qx_Common_EA_AllocateActionByHandle(port, ACTION)
    define_event(qxt, port, EVENT)
    define_notify_action(qxt, port, ACTION, NOTIFICATION)
    c.Qx_Common_EA_AssignActionToEvent(port, ACTION, EVENT)
    callback = qxt.qxt_ea_notify_callback()
    c.Qx_Common_EA_NotifyHost_AddCallback(
        port, record(qxt, "NotifyHost_AddCallback_Cmd_t", ActionHandle=ACTION, NotificationId=NOTIFICATION,
                     Callback=callback))
    qxt.qxt_ea_notify_calls()
    return port


def event_property(qxt, port, handle, property_id):
    response = qxtest.new_record(c, "Qx_Common_EA_GetEventProperty_Rsp_t")
    assert c.Qx_Common_EA_GetEventProperty(
        port, record(qxt, "GetEventProperty_Cmd_t", EventHandle=handle, EventPropertyId=("u16", property_id)),
        response) is None
    return c.Qx_Common_EA_GetEventProperty_Rsp_t_Value_get(response)


@pytest.mark.parametrize("kind", ["Event", "Action"])
def test_allocate_writes_each_new_handle_into_the_callers_cell(sim, port, kind):
    allocate = getattr(c, f"Qx_Common_EA_Allocate{kind}")
    cell = qxtest.new_record(q, "int_p")
    handles = []
    for _ in range(2):
        assert allocate(port, cell) is None
        handles.append(q.int_p_value(cell))
        call = sim.last(f"Qx_Common_EA_Allocate{kind}")
        assert (call.arg(1).value, call.arg(2).value) == (port, int(cell))
    assert handles == [1, 2]


@pytest.mark.parametrize("kind", ["Event", "Action"])
def test_allocate_with_none_passes_a_null_cell(sim, port, kind):
    with pytest.raises(Exception) as raised:
        getattr(c, f"Qx_Common_EA_Allocate{kind}")(port, None)
    assert str(raised.value) == f"Qx_Common_EA_Allocate{kind}: no handle cell given"
    assert sim.last(f"Qx_Common_EA_Allocate{kind}").arg(2).is_null


@pytest.mark.parametrize("kind", ["Event", "Action"])
def test_allocate_by_handle_takes_the_whole_32_bit_range(sim, port, kind):
    by_handle = getattr(c, f"Qx_Common_EA_Allocate{kind}ByHandle")
    assert by_handle(port, 2**32 - 1) is None
    assert sim.last(f"Qx_Common_EA_Allocate{kind}ByHandle").arg(2).value == 2**32 - 1
    with pytest.raises(Exception) as raised:
        by_handle(port, 2**32 - 1)
    assert str(raised.value) == (f"Qx_Common_EA_Allocate{kind}ByHandle: {kind.lower()} handle 4294967295 is "
                                 f"already allocated on port 0x{port:08X}")


def test_life_of_an_event_and_its_action(sim, qxt, engine):
    port = engine
    simulate = record(qxt, "SimulateEvent_Cmd_t", EventHandle=EVENT)

    assert c.Qx_Common_EA_SimulateEvent(port, simulate) is None
    assert qxt.qxt_ea_notify_calls() == [(port, ACTION, NOTIFICATION)]
    assert c.Qx_Common_EA_ExecuteAction(port, ACTION) is None
    assert c.Qx_Common_EA_CancelAction(port, ACTION) is None
    assert qxt.qxt_ea_notify_calls() == [(port, ACTION, NOTIFICATION)]
    assert event_property(qxt, port, EVENT, c.QX_COMMON__EA__EVENT_PROPERTY_ID__EVENT_COUNTER) == 1

    assert c.Qx_Common_EA_DetachActionFromEvent(
        port, record(qxt, "DetachActionFromEvent_Cmd_t", EventHandle=EVENT, ActionHandle=ACTION)) is None
    c.Qx_Common_EA_SimulateEvent(port, simulate)
    assert qxt.qxt_ea_notify_calls() == []
    assert event_property(qxt, port, EVENT, c.QX_COMMON__EA__EVENT_PROPERTY_ID__EVENT_COUNTER) == 2

    assert c.Qx_Common_EA_DeleteAction(port, 0, ACTION) is None
    assert c.Qx_Common_EA_DeleteEvent(port, 0, EVENT) is None
    with pytest.raises(Exception) as raised:
        c.Qx_Common_EA_SimulateEvent(port, simulate)
    assert str(raised.value) == f"Qx_Common_EA_SimulateEvent: no event with handle {EVENT} on port 0x{port:08X}"


def test_reset_all_forgets_the_ports_events_and_actions(qxt, engine):
    port = engine
    assert c.Qx_Common_EA_ResetAll(port) is None
    assert failure_text(lambda: c.Qx_Common_EA_ExecuteAction(port, ACTION)) == \
        f"Qx_Common_EA_ExecuteAction: no action with handle {ACTION} on port 0x{port:08X}"
    cell = qxtest.new_record(q, "int_p")
    c.Qx_Common_EA_AllocateEvent(port, cell)
    assert q.int_p_value(cell) == 1


def test_assign_passes_the_handles_in_argument_order(sim, port):
    c.Qx_Common_EA_AllocateEventByHandle(port, 1)
    c.Qx_Common_EA_AllocateActionByHandle(port, 2)
    assert c.Qx_Common_EA_AssignActionToEvent(port, 2, 1) is None
    call = sim.last("Qx_Common_EA_AssignActionToEvent")
    assert [call.arg(n).value for n in (1, 2, 3)] == [port, 2, 1]
    # Swapped: the binding does not notice, the library finds no action 1.
    text = failure_text(lambda: c.Qx_Common_EA_AssignActionToEvent(port, 1, 2))
    assert text == f"Qx_Common_EA_AssignActionToEvent: no action with handle 1 on port 0x{port:08X}"
    assert sim.last("Qx_Common_EA_AssignActionToEvent").arg(2).value == 1


# Operations on handles the port does not know: (function, arguments after the port, what is missing).
UNKNOWN = [
    ("Qx_Common_EA_AssignActionToEvent", lambda q_: (5, EVENT), "action with handle 5"),
    ("Qx_Common_EA_AssignActionToEvent", lambda q_: (ACTION, 6), "event with handle 6"),
    ("Qx_Common_EA_ExecuteAction", lambda q_: (5,), "action with handle 5"),
    ("Qx_Common_EA_CancelAction", lambda q_: (5,), "action with handle 5"),
    ("Qx_Common_EA_DeleteEvent", lambda q_: (0, 6), "event with handle 6"),
    ("Qx_Common_EA_DeleteAction", lambda q_: (0, 5), "action with handle 5"),
    ("Qx_Common_EA_DetachActionFromEvent",
     lambda q_: (record(q_, "DetachActionFromEvent_Cmd_t", EventHandle=6, ActionHandle=ACTION),), "event with handle 6"),
    ("Qx_Common_EA_SimulateEvent", lambda q_: (record(q_, "SimulateEvent_Cmd_t", EventHandle=6),),
     "event with handle 6"),
    ("Qx_Common_EA_InitEvent", lambda q_: (record(q_, "InitEvent_Cmd_t", EventHandle=6),), "event with handle 6"),
    ("Qx_Common_EA_InitAction", lambda q_: (record(q_, "InitAction_Cmd_t", ActionHandle=5),), "action with handle 5"),
    ("Qx_Common_EA_SetEventProperty", lambda q_: (record(q_, "SetEventProperty_Cmd_t", EventHandle=6),),
     "event with handle 6"),
    ("Qx_Common_EA_GetActionProperty",
     lambda q_: (record(q_, "GetActionProperty_Cmd_t", ActionHandle=5), qxtest.new_record(c, "Qx_Common_EA_GetActionProperty_Rsp_t")),
     "action with handle 5"),
    ("Qx_Common_EA_NotifyHost_AddCallback",
     lambda q_: (record(q_, "NotifyHost_AddCallback_Cmd_t", ActionHandle=5, Callback=q_.qxt_ea_notify_callback()),),
     "action with handle 5"),
]


@pytest.mark.parametrize("function, arguments, missing", UNKNOWN, ids=[f"{u[0][13:]}-{u[2][:5]}" for u in UNKNOWN])
def test_unknown_handles_fail_with_the_librarys_text(sim, qxt, engine, function, arguments, missing):
    port = engine
    text = failure_text(lambda: getattr(c, function)(port, *arguments(qxt)))
    assert text == f"{function}: no {missing} on port 0x{port:08X}"
    assert sim.calls(function) >= 1


def test_handles_belong_to_their_port(qxt, engine):
    other = c.Qx_Common_OpenInterface("COMMON1")
    assert failure_text(lambda: c.Qx_Common_EA_ExecuteAction(other, ACTION)) == \
        f"Qx_Common_EA_ExecuteAction: no action with handle {ACTION} on port 0x{other:08X}"
    assert failure_text(lambda: c.Qx_Common_EA_ResetAll(other + 100)) == \
        f"Qx_Common_EA_ResetAll: invalid port handle 0x{other + 100:08X}"


@pytest.mark.parametrize("property_id, value", [
    (c.QX_COMMON__EA__EVENT_PROPERTY_ID__IS_ENABLED, 0),
    (c.QX_COMMON__EA__EVENT_PROPERTY_ID__EVENT_COUNTER, 7),
    (c.QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__IS_ENABLED, 1),
    (c.QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__ABSOLUTE, 0x80000000),
    (c.QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__RELATIVE, 2**32 - 1),
])
def test_event_property_round_trip(sim, qxt, engine, property_id, value):
    port = engine
    command = record(qxt, "SetEventProperty_Cmd_t", EventHandle=EVENT, EventPropertyId=("u16", property_id),
                     reserved1=0xA1, reserved2=0xA2, Value=value)
    assert c.Qx_Common_EA_SetEventProperty(port, command) is None
    assert sim.last("Qx_Common_EA_SetEventProperty").arg(2).bytes == \
        pack("Qx_Common_EA_SetEventProperty_Cmd_t", EventHandle=EVENT, EventPropertyId=property_id, reserved1=0xA1,
             reserved2=0xA2, Value=value)

    response = record(qxt, "GetEventProperty_Rsp_t", Value=12345)
    query = record(qxt, "GetEventProperty_Cmd_t", EventHandle=EVENT, EventPropertyId=("u16", property_id))
    assert c.Qx_Common_EA_GetEventProperty(port, query, response) is None
    call = sim.last("Qx_Common_EA_GetEventProperty")
    assert call.arg(2).bytes == pack("Qx_Common_EA_GetEventProperty_Cmd_t", EventHandle=EVENT,
                                     EventPropertyId=property_id)
    assert call.arg(3).value == int(response)
    assert c.Qx_Common_EA_GetEventProperty_Rsp_t_EventHandle_get(response) == EVENT
    assert qxt.qxt_read_u16(qxtest.owned(c.Qx_Common_EA_GetEventProperty_Rsp_t_EventPropertyId_get(response)),
                            1) == [property_id]
    assert c.Qx_Common_EA_GetEventProperty_Rsp_t_Value_get(response) == value


def test_initialised_properties_follow_the_definition(qxt, port):
    c.Qx_Common_EA_AllocateEventByHandle(port, EVENT)
    c.Qx_Common_EA_AllocateActionByHandle(port, ACTION)
    initialised = c.QX_COMMON__EA__EVENT_PROPERTY_ID__IS_INITIALIZED

    def action_initialised():
        response = qxtest.new_record(c, "Qx_Common_EA_GetActionProperty_Rsp_t")
        c.Qx_Common_EA_GetActionProperty(port, record(
            qxt, "GetActionProperty_Cmd_t", ActionHandle=ACTION,
            ActionPropertyId=("u16", c.QX_COMMON__EA__ACTION_PROPERTY_ID__IS_INITIALIZED)), response)
        assert c.Qx_Common_EA_GetActionProperty_Rsp_t_ActionHandle_get(response) == ACTION
        return c.Qx_Common_EA_GetActionProperty_Rsp_t_Value_get(response)

    assert (event_property(qxt, port, EVENT, initialised), action_initialised()) == (0, 0)
    define_event(qxt, port, EVENT)
    define_notify_action(qxt, port, ACTION, NOTIFICATION)
    assert (event_property(qxt, port, EVENT, initialised), action_initialised()) == (1, 1)


@pytest.mark.parametrize("kind, handle, property_id, text", [
    ("Event", EVENT, 1, "event property 1 is read-only"),
    ("Event", EVENT, 6, "unknown event property 6"),
    ("Action", ACTION, 0, "action property 0 is read-only"),
    ("Action", ACTION, 1, "unknown action property 1"),
])
def test_properties_the_library_refuses(sim, qxt, engine, kind, handle, property_id, text):
    function = f"Qx_Common_EA_Set{kind}Property"
    command = record(qxt, f"Set{kind}Property_Cmd_t", **{f"{kind}Handle": handle,
                                                          f"{kind}PropertyId": ("u16", property_id), "Value": 1})
    assert failure_text(lambda: getattr(c, function)(engine, command)) == f"{function}: {text}"
    assert sim.last(function).arg(2).bytes == pack(f"Qx_Common_EA_Set{kind}Property_Cmd_t", {
        f"{kind}Handle": handle, f"{kind}PropertyId": property_id, "Value": 1})


def test_host_notification_commands_carry_the_native_callback(sim, qxt, engine):
    port = engine
    callback = qxt.qxt_ea_notify_callback()
    add = record(qxt, "NotifyHost_AddCallback_Cmd_t", Flags=0x80000003, ActionHandle=ACTION, NotificationId=9,
                 Callback=callback)
    assert c.Qx_Common_EA_NotifyHost_AddCallback(port, add) is None
    assert sim.last("Qx_Common_EA_NotifyHost_AddCallback").arg(2).bytes == \
        pack("Qx_Common_EA_NotifyHost_AddCallback_Cmd_t", Flags=0x80000003, ActionHandle=ACTION, NotificationId=9,
             Callback=int(callback))

    remove = record(qxt, "NotifyHost_RemoveCallback_Cmd_t", Flags=4, ActionHandle=ACTION, NotificationId=9)
    assert c.Qx_Common_EA_NotifyHost_RemoveCallback(port, remove) is None
    assert sim.last("Qx_Common_EA_NotifyHost_RemoveCallback").arg(2).bytes == pack(
        "Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t", Flags=4, ActionHandle=ACTION, NotificationId=9)
    assert failure_text(lambda: c.Qx_Common_EA_NotifyHost_RemoveCallback(port, remove)) == \
        f"Qx_Common_EA_NotifyHost_RemoveCallback: no callback for action {ACTION} and notification 9"


@pytest.mark.parametrize("function, type_, fields", [
    ("Qx_Common_EA_SimulateEvent", "SimulateEvent_Cmd_t", dict(Flags=0x80000003, EventHandle=EVENT)),
    ("Qx_Common_EA_DetachActionFromEvent", "DetachActionFromEvent_Cmd_t",
     dict(Flags=2**32 - 1, EventHandle=EVENT, ActionHandle=ACTION)),
])
def test_command_records_reach_the_library(sim, qxt, engine, function, type_, fields):
    assert getattr(c, function)(engine, record(qxt, type_, **fields)) is None
    call = sim.last(function)
    assert (call.arg(1).value, call.arg(2).bytes) == (engine, pack("Qx_Common_EA_" + type_, **fields))


def test_callback_field_takes_only_native_functions(qxt):
    command = qxtest.new_record(c, "Qx_Common_EA_NotifyHost_AddCallback_Cmd_t")
    callback = qxt.qxt_ea_notify_callback()
    c.Qx_Common_EA_NotifyHost_AddCallback_Cmd_t_Callback_set(command, callback)
    message = m("Qx_Common_EA_NotifyHost_AddCallback_Cmd_t_Callback_set", 2, "Qx_Common_EA_NotifyHost_Callback_t")
    for wrong in (lambda port, first, second: None, qxt.qxt_error_callback(), 5):
        with pytest.raises(TypeError) as raised:
            c.Qx_Common_EA_NotifyHost_AddCallback_Cmd_t_Callback_set(command, wrong)
        assert str(raised.value) == message
        assert int(c.Qx_Common_EA_NotifyHost_AddCallback_Cmd_t_Callback_get(command)) == int(callback)
    # the object points at code, and reaches no byte of storage
    storage = qxtest.module("_qx_storage")
    got = c.Qx_Common_EA_NotifyHost_AddCallback_Cmd_t_Callback_get(command)
    for call, binding in ((lambda: storage.cdata(got, 1), "cdata"), (lambda: storage.memmove(got, b"\0"), "memmove")):
        with pytest.raises(ValueError) as raised:
            call()
        assert str(raised.value) == f"too few bytes given for the call in method '{binding}', argument 1 of type 'void *'"
    assert c.Qx_Common_EA_NotifyHost_AddCallback_Cmd_t_Callback_set(command, None) is None
    assert c.Qx_Common_EA_NotifyHost_AddCallback_Cmd_t_Callback_get(command) is None


@pytest.mark.parametrize("record_type, field", [
    ("SetEventProperty_Cmd_t", "EventPropertyId"),
    ("GetEventProperty_Cmd_t", "EventPropertyId"),
    ("SetActionProperty_Cmd_t", "ActionPropertyId"),
    ("GetActionProperty_Cmd_t", "ActionPropertyId"),
])
def test_property_ids_travel_in_u16_objects(qxt, record_type, field):
    name = f"Qx_Common_EA_{record_type}_{field}"
    r = qxtest.new_record(c, "Qx_Common_EA_" + record_type)
    for value, exception, message in [(2, TypeError, m(name + "_set", 2, "u16_t")),
                                      (None, ValueError, "invalid null reference " + m(name + "_set", 2, "u16_t"))]:
        with pytest.raises(exception) as raised:
            getattr(c, name + "_set")(r, value)
        assert str(raised.value) == message
    assert getattr(c, name + "_set")(r, qxt.qxt_u16_array([0x1FF02])) is None
    assert qxt.qxt_read_u16(qxtest.owned(getattr(c, name + "_get")(r)), 1) == [0xFF02]


# Argument errors raise before the native call: (call, function, exception, message).
ARGUMENT_ERRORS = [
    (lambda p, x: c.Qx_Common_EA_ResetAll(-1), "Qx_Common_EA_ResetAll", OverflowError,
     m("Qx_Common_EA_ResetAll", 1, "Qx_PortHandle_t")),
    (lambda p, x: c.Qx_Common_EA_AllocateEvent(p, x.qxt_u16_array([0])), "Qx_Common_EA_AllocateEvent", TypeError,
     m("Qx_Common_EA_AllocateEvent", 2, "Qx_Common_EA_EventHandle_t *const")),
    (lambda p, x: c.Qx_Common_EA_AllocateAction(p, 0), "Qx_Common_EA_AllocateAction", TypeError,
     m("Qx_Common_EA_AllocateAction", 2, "Qx_Common_EA_ActionHandle_t *const")),
    (lambda p, x: c.Qx_Common_EA_AllocateEventByHandle(p, 2**32), "Qx_Common_EA_AllocateEventByHandle",
     OverflowError, m("Qx_Common_EA_AllocateEventByHandle", 2, "Qx_Common_EA_EventHandle_t")),
    (lambda p, x: c.Qx_Common_EA_AssignActionToEvent(p, 1, -1), "Qx_Common_EA_AssignActionToEvent", OverflowError,
     m("Qx_Common_EA_AssignActionToEvent", 3, "Qx_Common_EA_EventHandle_t")),
    (lambda p, x: c.Qx_Common_EA_AssignActionToEvent(p, "1", 1), "Qx_Common_EA_AssignActionToEvent", TypeError,
     m("Qx_Common_EA_AssignActionToEvent", 2, "Qx_Common_EA_ActionHandle_t")),
    (lambda p, x: c.Qx_Common_EA_DeleteEvent(p, 1.0, 1), "Qx_Common_EA_DeleteEvent", TypeError,
     m("Qx_Common_EA_DeleteEvent", 2, "Qx_Common_EA_DeleteEvent_CmdFlags_t")),
    (lambda p, x: c.Qx_Common_EA_DeleteAction(p, 0, 2**32), "Qx_Common_EA_DeleteAction", OverflowError,
     m("Qx_Common_EA_DeleteAction", 3, "Qx_Common_EA_ActionHandle_t")),
    (lambda p, x: c.Qx_Common_EA_InitEvent(p, qxtest.new_record(c, "Qx_Common_EA_InitAction_Cmd_t")), "Qx_Common_EA_InitEvent",
     TypeError, m("Qx_Common_EA_InitEvent", 2, "Qx_Common_EA_InitEvent_Cmd_t const *const")),
    (lambda p, x: c.Qx_Common_EA_InitAction(p, qxtest.new_record(c, "Qx_Common_EA_InitEvent_Cmd_t")), "Qx_Common_EA_InitAction",
     TypeError, m("Qx_Common_EA_InitAction", 2, "Qx_Common_EA_InitAction_Cmd_t const *const")),
    (lambda p, x: c.Qx_Common_EA_GetEventProperty(p, qxtest.new_record(c, "Qx_Common_EA_GetEventProperty_Cmd_t"),
                                                  qxtest.new_record(c, "Qx_Common_EA_SetEventProperty_Cmd_t")),
     "Qx_Common_EA_GetEventProperty", TypeError,
     m("Qx_Common_EA_GetEventProperty", 3, "Qx_Common_EA_GetEventProperty_Rsp_t *const")),
    (lambda p, x: c.Qx_Common_EA_SimulateEvent(p, qxtest.new_record(c, "Qx_Common_EA_DetachActionFromEvent_Cmd_t")),
     "Qx_Common_EA_SimulateEvent", TypeError,
     m("Qx_Common_EA_SimulateEvent", 2, "Qx_Common_EA_SimulateEvent_Cmd_t const *const")),
    (lambda p, x: c.Qx_Common_EA_NotifyHost_RemoveCallback(p, qxtest.new_record(c, "Qx_Common_EA_NotifyHost_AddCallback_Cmd_t")),
     "Qx_Common_EA_NotifyHost_RemoveCallback", TypeError,
     m("Qx_Common_EA_NotifyHost_RemoveCallback", 2, "Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t const *const")),
    (lambda p, x: c.Qx_Common_EA_DeleteEvent(p, 0), "Qx_Common_EA_DeleteEvent", TypeError,
     "Qx_Common_EA_DeleteEvent expected 3 arguments, got 2"),
    (lambda p, x: c.Qx_Common_EA_ExecuteAction(p), "Qx_Common_EA_ExecuteAction", TypeError,
     "Qx_Common_EA_ExecuteAction expected 2 arguments, got 1"),
]


@pytest.mark.parametrize("call, function, exception, message", ARGUMENT_ERRORS,
                         ids=[f"{a[1][13:]}-{a[2].__name__}" for a in ARGUMENT_ERRORS])
def test_argument_errors_raise_before_the_call(sim, qxt, port, call, function, exception, message):
    with pytest.raises(exception) as raised:
        call(port, qxt)
    assert str(raised.value) == message
    assert sim.calls(function) == 0


# Every engine function with arguments the library accepts.
CALLS = {
    "Qx_Common_EA_ResetAll": lambda x: (),
    "Qx_Common_EA_AllocateEvent": lambda x: (qxtest.new_record(q, "int_p"),),
    "Qx_Common_EA_AllocateAction": lambda x: (qxtest.new_record(q, "int_p"),),
    "Qx_Common_EA_AllocateEventByHandle": lambda x: (3,),
    "Qx_Common_EA_AllocateActionByHandle": lambda x: (3,),
    "Qx_Common_EA_InitEvent": lambda x: (record(x, "InitEvent_Cmd_t", EventHandle=EVENT, EventType=("u16", 0x100)),),
    "Qx_Common_EA_InitAction": lambda x: (
        record(x, "InitAction_Cmd_t", ActionHandle=ACTION, ActionType=("u16", 0x100)),),
    "Qx_Common_EA_AssignActionToEvent": lambda x: (ACTION, EVENT),
    "Qx_Common_EA_DetachActionFromEvent": lambda x: (
        record(x, "DetachActionFromEvent_Cmd_t", EventHandle=EVENT, ActionHandle=ACTION),),
    "Qx_Common_EA_DeleteEvent": lambda x: (0, EVENT),
    "Qx_Common_EA_DeleteAction": lambda x: (0, ACTION),
    "Qx_Common_EA_ExecuteAction": lambda x: (ACTION,),
    "Qx_Common_EA_CancelAction": lambda x: (ACTION,),
    "Qx_Common_EA_SetEventProperty": lambda x: (record(x, "SetEventProperty_Cmd_t", EventHandle=EVENT),),
    "Qx_Common_EA_GetEventProperty": lambda x: (record(x, "GetEventProperty_Cmd_t", EventHandle=EVENT),
                                                qxtest.new_record(c, "Qx_Common_EA_GetEventProperty_Rsp_t")),
    "Qx_Common_EA_SetActionProperty": lambda x: (record(x, "SetActionProperty_Cmd_t", ActionHandle=ACTION),),
    "Qx_Common_EA_GetActionProperty": lambda x: (record(x, "GetActionProperty_Cmd_t", ActionHandle=ACTION),
                                                 qxtest.new_record(c, "Qx_Common_EA_GetActionProperty_Rsp_t")),
    "Qx_Common_EA_SimulateEvent": lambda x: (record(x, "SimulateEvent_Cmd_t", EventHandle=EVENT),),
    "Qx_Common_EA_NotifyHost_AddCallback": lambda x: (
        record(x, "NotifyHost_AddCallback_Cmd_t", ActionHandle=ACTION, Callback=x.qxt_ea_notify_callback()),),
    "Qx_Common_EA_NotifyHost_RemoveCallback": lambda x: (
        record(x, "NotifyHost_RemoveCallback_Cmd_t", ActionHandle=ACTION, NotificationId=NOTIFICATION),),
}


@pytest.mark.parametrize("function", CALLS)
def test_failed_status_raises_exception_with_the_last_error_text(sim, qxt, engine, function):
    arguments = CALLS[function](qxt)
    sim.fail(function, 0x00010007, b"scripted failure \xff")
    text = failure_text(lambda: getattr(c, function)(engine, *arguments))
    assert text == "scripted failure \udcff"
    assert sim.last(function).arg(1).value == engine
