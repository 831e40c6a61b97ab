/*
 * The simulated device's event/action engine: events and actions allocated
 * per port, their definitions, the links from events to actions, their
 * properties and the host notification callbacks.
 *
 * An event or action is known from its allocation until it is deleted or
 * the port's engine is reset; every function naming a handle that is not
 * known on the port fails with a last error that names the function, the
 * handle and the port. Simulating an event counts it (while it is enabled)
 * and runs the actions assigned to it: a notify-host action calls the
 * native callbacks registered for it with the port handle, the action's
 * handle and its notification id.
 */
#include <string.h>

#include "qx_api_common_behaviour.h"
#include "qxsim_device.h"

#define EA_MAX_EVENTS 256
#define EA_MAX_ACTIONS 256
#define EA_MAX_LINKS 512
#define EA_MAX_CALLBACKS 64

typedef struct {
  int used;
  u32_t port;
  u32_t handle;
  u16_t type; /* 0 until the event is defined */
  u32_t enabled;
  u32_t counter;
  u32_t auto_disable;
  u32_t auto_disable_absolute;
  u32_t auto_disable_relative;
} ea_event;

typedef struct {
  int used;
  u32_t port;
  u32_t handle;
  u16_t type; /* 0 until the action is defined */
  u32_t notification_id;
} ea_action;

typedef struct {
  int used;
  u32_t port;
  u32_t event;
  u32_t action;
} ea_link;

typedef struct {
  int used;
  u32_t port;
  u32_t action;
  u32_t notification_id;
  Qx_Common_EA_NotifyHost_Callback_t callback;
} ea_callback;

static ea_event events[EA_MAX_EVENTS];
static ea_action actions[EA_MAX_ACTIONS];
static ea_link links[EA_MAX_LINKS];
static ea_callback callbacks[EA_MAX_CALLBACKS];

static void ea_reset(void) {
  memset(events, 0, sizeof events);
  memset(actions, 0, sizeof actions);
  memset(links, 0, sizeof links);
  memset(callbacks, 0, sizeof callbacks);
}

__attribute__((constructor)) static void ea_init(void) {
  ea_reset();
  qxsim_on_reset(ea_reset);
}

/* ---- lookup ----------------------------------------------------------- */

static ea_event *find_event(u32_t port, u32_t handle) {
  int i;
  for (i = 0; i < EA_MAX_EVENTS; i++)
    if (events[i].used && events[i].port == port && events[i].handle == handle) return &events[i];
  return NULL;
}

static ea_action *find_action(u32_t port, u32_t handle) {
  int i;
  for (i = 0; i < EA_MAX_ACTIONS; i++)
    if (actions[i].used && actions[i].port == port && actions[i].handle == handle) return &actions[i];
  return NULL;
}

static ea_link *find_link(u32_t port, u32_t event, u32_t action) {
  int i;
  for (i = 0; i < EA_MAX_LINKS; i++)
    if (links[i].used && links[i].port == port && links[i].event == event && links[i].action == action)
      return &links[i];
  return NULL;
}

static ea_callback *find_callback(u32_t port, u32_t action, u32_t notification_id) {
  int i;
  for (i = 0; i < EA_MAX_CALLBACKS; i++)
    if (callbacks[i].used && callbacks[i].port == port && callbacks[i].action == action &&
        callbacks[i].notification_id == notification_id)
      return &callbacks[i];
  return NULL;
}

/* Port check, then the event or action named by `handle`; on failure sets
 * the last error and returns NULL with *status set. */
static ea_event *known_event(const char *function, u32_t port, u32_t handle, uint32_t *status) {
  ea_event *e;
  *status = qxsim_check_port(function, port);
  if (*status) return NULL;
  e = find_event(port, handle);
  if (!e)
    *status = qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no event with handle %u on port 0x%08X", function,
                         (unsigned)handle, (unsigned)port);
  return e;
}

static ea_action *known_action(const char *function, u32_t port, u32_t handle, uint32_t *status) {
  ea_action *a;
  *status = qxsim_check_port(function, port);
  if (*status) return NULL;
  a = find_action(port, handle);
  if (!a)
    *status = qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no action with handle %u on port 0x%08X", function,
                         (unsigned)handle, (unsigned)port);
  return a;
}

static uint32_t no_record(const char *function, const char *what) {
  return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no %s given", function, what);
}

static int known_event_type(u16_t type) {
  switch (type) {
    case QX_COMMON__EA__EVENT_TYPE__TP__RX_INDICATION:
    case QX_COMMON__EA__EVENT_TYPE__COM__RX_INDICATION:
    case QX_COMMON__EA__EVENT_TYPE__COM__TX_CONFIRMATION:
    case QX_COMMON__EA__EVENT_TYPE__COM__TRANSMIT:
    case QX_COMMON__EA__EVENT_TYPE__COM__RX_PDU_SIGNAL__RX_IND:
    case QX_COMMON__EA__EVENT_TYPE__COM__TX_PDU_SIGNAL__TX_CON:
    case QX_COMMON__EA__EVENT_TYPE__NM__BUS_SLEEP_MODE:
    case QX_COMMON__EA__EVENT_TYPE__NM__NETWORK_MODE:
    case QX_COMMON__EA__EVENT_TYPE__TRANSCEIVER__WAKE_UP:
    case QX_COMMON__EA__EVENT_TYPE__TRIGGER__SOFTWARE_IN:
    case QX_COMMON__EA__EVENT_TYPE__SOFTWARE__USER_EVENT:
    case QX_COMMON__EA__EVENT_TYPE__FLEXRAY__CYCLE_START:
    case QX_COMMON__EA__EVENT_TYPE__FLEXRAY__PDU__RX_IND:
    case QX_COMMON__EA__EVENT_TYPE__FLEXRAY__PDU__TX_CON:
    case QX_COMMON__EA__EVENT_TYPE__FLEXRAY__SYNCHRONIZED:
    case QX_COMMON__EA__EVENT_TYPE__FLEXRAY__SYNC_LOSS:
    case QX_COMMON__EA__EVENT_TYPE__BUS__RECEIVED_WAKE_UP:
    case QX_COMMON__EA__EVENT_TYPE__BUS__ACTIVITY:
    case QX_COMMON__EA__EVENT_TYPE__BUS__NO_ACTIVITY:
    case QX_COMMON__EA__EVENT_TYPE__ETHERNET__LINKED:
    case QX_COMMON__EA__EVENT_TYPE__ETHERNET__LINK_LOSS:
    case QX_COMMON__EA__EVENT_TYPE__ETHERNET__RX_FIFO__NEW_ENTRY:
    case QX_COMMON__EA__EVENT_TYPE__ETHERNET__TX_TRACE__LOW_MARK:
    case QX_COMMON__EA__EVENT_TYPE__SO_AD__SO_CON_STATE__CHGD:
    case QX_COMMON__EA__EVENT_TYPE__CAN__TX_MESSAGE:
    case QX_COMMON__EA__EVENT_TYPE__CAN__RX_MESSAGE:
    case QX_COMMON__EA__EVENT_TYPE__CAN__ERROR_FRAME:
    case QX_COMMON__EA__EVENT_TYPE__CAN__NM_SLEEP_ACK:
    case QX_COMMON__EA__EVENT_TYPE__CAN__RX_MESSAGES:
    case QX_COMMON__EA__EVENT_TYPE__LIN__TX_FRAME:
      return 1;
    default:
      return 0;
  }
}

static int known_action_type(u16_t type) {
  switch (type) {
    case QX_COMMON__EA__ACTION_TYPE__SEQUENCES__REPLAY__START_PLAYING:
    case QX_COMMON__EA__ACTION_TYPE__TRIGGER__SOFTWARE_OUT__WRITE:
    case QX_COMMON__EA__ACTION_TYPE__NOTIFY_HOST:
    case QX_COMMON__EA__ACTION_TYPE__CAN__SEND_MSG:
    case QX_COMMON__EA__ACTION_TYPE__CAN__START_PREP_MSG:
    case QX_COMMON__EA__ACTION_TYPE__LIN__CHANGE_MSG:
    case QX_COMMON__EA__ACTION_TYPE__LIN__CHANGE_SCHED_TBL:
    case QX_COMMON__EA__ACTION_TYPE__LIN__STOP_SCHED:
    case QX_COMMON__EA__ACTION_TYPE__LIN__CH_SCHED_TBL_EXT:
      return 1;
    default:
      return 0;
  }
}

/* ---- allocation ------------------------------------------------------- */

static uint32_t add_event(const char *function, u32_t port, u32_t handle) {
  int i;
  if (find_event(port, handle))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: event handle %u is already allocated on port 0x%08X", function,
                      (unsigned)handle, (unsigned)port);
  for (i = 0; i < EA_MAX_EVENTS; i++) {
    if (!events[i].used) {
      memset(&events[i], 0, sizeof events[i]);
      events[i].used = 1;
      events[i].port = port;
      events[i].handle = handle;
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: no free event", function);
}

static uint32_t add_action(const char *function, u32_t port, u32_t handle) {
  int i;
  if (find_action(port, handle))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: action handle %u is already allocated on port 0x%08X", function,
                      (unsigned)handle, (unsigned)port);
  for (i = 0; i < EA_MAX_ACTIONS; i++) {
    if (!actions[i].used) {
      memset(&actions[i], 0, sizeof actions[i]);
      actions[i].used = 1;
      actions[i].port = port;
      actions[i].handle = handle;
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: no free action", function);
}

Qx_Error_t sim_Qx_Common_EA_AllocateEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_EventHandle_t *const eventHandle) {
  static const char fn[] = "Qx_Common_EA_AllocateEvent";
  u32_t handle = 1;
  uint32_t status = qxsim_check_port(fn, portHandle);
  if (status) return status;
  if (!eventHandle) return no_record(fn, "handle cell");
  while (find_event(portHandle, handle)) handle++; /* the lowest free handle, from 1 */
  status = add_event(fn, portHandle, handle);
  if (!status) *eventHandle = handle;
  return status;
}

Qx_Error_t sim_Qx_Common_EA_AllocateAction(Qx_PortHandle_t portHandle,
                                           Qx_Common_EA_ActionHandle_t *const actionHandle) {
  static const char fn[] = "Qx_Common_EA_AllocateAction";
  u32_t handle = 1;
  uint32_t status = qxsim_check_port(fn, portHandle);
  if (status) return status;
  if (!actionHandle) return no_record(fn, "handle cell");
  while (find_action(portHandle, handle)) handle++;
  status = add_action(fn, portHandle, handle);
  if (!status) *actionHandle = handle;
  return status;
}

Qx_Error_t sim_Qx_Common_EA_AllocateEventByHandle(Qx_PortHandle_t portHandle, Qx_Common_EA_EventHandle_t eventHandle) {
  static const char fn[] = "Qx_Common_EA_AllocateEventByHandle";
  uint32_t status = qxsim_check_port(fn, portHandle);
  return status ? status : add_event(fn, portHandle, eventHandle);
}

Qx_Error_t sim_Qx_Common_EA_AllocateActionByHandle(Qx_PortHandle_t portHandle,
                                                   Qx_Common_EA_ActionHandle_t actionHandle) {
  static const char fn[] = "Qx_Common_EA_AllocateActionByHandle";
  uint32_t status = qxsim_check_port(fn, portHandle);
  return status ? status : add_action(fn, portHandle, actionHandle);
}

/* ---- definition ------------------------------------------------------- */

Qx_Error_t sim_Qx_Common_EA_InitEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_InitEvent_Cmd_t const *const command) {
  static const char fn[] = "Qx_Common_EA_InitEvent";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_event *e;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  e = known_event(fn, portHandle, command->EventHandle, &status);
  if (!e) return status;
  if (!known_event_type(command->EventType))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: unknown event type 0x%X", fn, (unsigned)command->EventType);
  e->type = command->EventType;
  e->enabled = 1;
  e->counter = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_InitAction(Qx_PortHandle_t portHandle, Qx_Common_EA_InitAction_Cmd_t const *const command) {
  static const char fn[] = "Qx_Common_EA_InitAction";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_action *a;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  a = known_action(fn, portHandle, command->ActionHandle, &status);
  if (!a) return status;
  if (!known_action_type(command->ActionType))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: unknown action type 0x%X", fn, (unsigned)command->ActionType);
  a->type = command->ActionType;
  a->notification_id = a->type == QX_COMMON__EA__ACTION_TYPE__NOTIFY_HOST ? command->u.NotifyHost.NotificationId : 0;
  return 0;
}

/* ---- linking ---------------------------------------------------------- */

Qx_Error_t sim_Qx_Common_EA_AssignActionToEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle,
                                                Qx_Common_EA_EventHandle_t eventHandle) {
  static const char fn[] = "Qx_Common_EA_AssignActionToEvent";
  uint32_t status;
  int i;
  if (!known_action(fn, portHandle, actionHandle, &status)) return status;
  if (!known_event(fn, portHandle, eventHandle, &status)) return status;
  if (find_link(portHandle, eventHandle, actionHandle))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: action %u is already assigned to event %u", fn,
                      (unsigned)actionHandle, (unsigned)eventHandle);
  for (i = 0; i < EA_MAX_LINKS; i++) {
    if (!links[i].used) {
      links[i].used = 1;
      links[i].port = portHandle;
      links[i].event = eventHandle;
      links[i].action = actionHandle;
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: no free link", fn);
}

Qx_Error_t sim_Qx_Common_EA_DetachActionFromEvent(Qx_PortHandle_t portHandle,
                                                  Qx_Common_EA_DetachActionFromEvent_Cmd_t const *const command) {
  static const char fn[] = "Qx_Common_EA_DetachActionFromEvent";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_link *link;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  if (!known_event(fn, portHandle, command->EventHandle, &status)) return status;
  if (!known_action(fn, portHandle, command->ActionHandle, &status)) return status;
  link = find_link(portHandle, command->EventHandle, command->ActionHandle);
  if (!link)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: action %u is not assigned to event %u", fn,
                      (unsigned)command->ActionHandle, (unsigned)command->EventHandle);
  link->used = 0;
  return 0;
}

/* ---- removal ---------------------------------------------------------- */

static void drop_links(u32_t port, int of_event, u32_t handle) {
  int i;
  for (i = 0; i < EA_MAX_LINKS; i++)
    if (links[i].used && links[i].port == port && (of_event ? links[i].event : links[i].action) == handle)
      links[i].used = 0;
}

static void drop_callbacks(u32_t port, int all, u32_t action) {
  int i;
  for (i = 0; i < EA_MAX_CALLBACKS; i++)
    if (callbacks[i].used && callbacks[i].port == port && (all || callbacks[i].action == action)) callbacks[i].used = 0;
}

Qx_Error_t sim_Qx_Common_EA_DeleteEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_DeleteEvent_CmdFlags_t flags,
                                        Qx_Common_EA_EventHandle_t eventHandle) {
  uint32_t status;
  ea_event *e = known_event("Qx_Common_EA_DeleteEvent", portHandle, eventHandle, &status);
  (void)flags;
  if (!e) return status;
  drop_links(portHandle, 1, eventHandle);
  e->used = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_DeleteAction(Qx_PortHandle_t portHandle, Qx_Common_EA_DeleteAction_CmdFlags_t flags,
                                         Qx_Common_EA_ActionHandle_t actionHandle) {
  uint32_t status;
  ea_action *a = known_action("Qx_Common_EA_DeleteAction", portHandle, actionHandle, &status);
  (void)flags;
  if (!a) return status;
  drop_links(portHandle, 0, actionHandle);
  drop_callbacks(portHandle, 0, actionHandle);
  a->used = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_ResetAll(Qx_PortHandle_t portHandle) {
  int i;
  uint32_t status = qxsim_check_port("Qx_Common_EA_ResetAll", portHandle);
  if (status) return status;
  for (i = 0; i < EA_MAX_EVENTS; i++)
    if (events[i].port == portHandle) events[i].used = 0;
  for (i = 0; i < EA_MAX_ACTIONS; i++)
    if (actions[i].port == portHandle) actions[i].used = 0;
  for (i = 0; i < EA_MAX_LINKS; i++)
    if (links[i].port == portHandle) links[i].used = 0;
  drop_callbacks(portHandle, 1, 0);
  return 0;
}

/* ---- running ---------------------------------------------------------- */

static void run_action(u32_t port, const ea_action *a) {
  int i;
  if (a->type != QX_COMMON__EA__ACTION_TYPE__NOTIFY_HOST) return;
  for (i = 0; i < EA_MAX_CALLBACKS; i++)
    if (callbacks[i].used && callbacks[i].port == port && callbacks[i].action == a->handle &&
        callbacks[i].notification_id == a->notification_id)
      callbacks[i].callback(port, a->handle, a->notification_id);
}

static uint32_t defined_action(const char *function, u32_t port, u32_t handle, ea_action **out) {
  uint32_t status;
  ea_action *a = known_action(function, port, handle, &status);
  *out = a;
  if (!a) return status;
  if (!a->type)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: action %u is not initialised", function, (unsigned)handle);
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_ExecuteAction(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle) {
  ea_action *a;
  uint32_t status = defined_action("Qx_Common_EA_ExecuteAction", portHandle, actionHandle, &a);
  if (status) return status;
  run_action(portHandle, a);
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_CancelAction(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle) {
  ea_action *a;
  return defined_action("Qx_Common_EA_CancelAction", portHandle, actionHandle, &a);
}

Qx_Error_t sim_Qx_Common_EA_SimulateEvent(Qx_PortHandle_t portHandle,
                                          Qx_Common_EA_SimulateEvent_Cmd_t const *const command) {
  static const char fn[] = "Qx_Common_EA_SimulateEvent";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_event *e;
  int i;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  e = known_event(fn, portHandle, command->EventHandle, &status);
  if (!e) return status;
  if (!e->type)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: event %u is not initialised", fn, (unsigned)e->handle);
  if (!e->enabled) return 0;
  e->counter++;
  for (i = 0; i < EA_MAX_LINKS; i++) {
    if (links[i].used && links[i].port == portHandle && links[i].event == e->handle) {
      ea_action *a = find_action(portHandle, links[i].action);
      if (a && a->type) run_action(portHandle, a);
    }
  }
  return 0;
}

/* ---- properties ------------------------------------------------------- */

static u32_t *event_property(ea_event *e, u16_t id) {
  switch (id) {
    case QX_COMMON__EA__EVENT_PROPERTY_ID__IS_ENABLED:
      return &e->enabled;
    case QX_COMMON__EA__EVENT_PROPERTY_ID__EVENT_COUNTER:
      return &e->counter;
    case QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__IS_ENABLED:
      return &e->auto_disable;
    case QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__ABSOLUTE:
      return &e->auto_disable_absolute;
    case QX_COMMON__EA__EVENT_PROPERTY_ID__AUTO_DISABLE__RELATIVE:
      return &e->auto_disable_relative;
    default:
      return NULL;
  }
}

Qx_Error_t sim_Qx_Common_EA_SetEventProperty(Qx_PortHandle_t portHandle,
                                             Qx_Common_EA_SetEventProperty_Cmd_t const *const command) {
  static const char fn[] = "Qx_Common_EA_SetEventProperty";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_event *e;
  u32_t *value;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  e = known_event(fn, portHandle, command->EventHandle, &status);
  if (!e) return status;
  if (command->EventPropertyId == QX_COMMON__EA__EVENT_PROPERTY_ID__IS_INITIALIZED)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: event property %u is read-only", fn,
                      (unsigned)command->EventPropertyId);
  value = event_property(e, command->EventPropertyId);
  if (!value)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: unknown event property %u", fn,
                      (unsigned)command->EventPropertyId);
  *value = command->Value;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_GetEventProperty(Qx_PortHandle_t portHandle,
                                             Qx_Common_EA_GetEventProperty_Cmd_t const *const command,
                                             Qx_Common_EA_GetEventProperty_Rsp_t *const response) {
  static const char fn[] = "Qx_Common_EA_GetEventProperty";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_event *e;
  u32_t initialised, *value;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  if (!response) return no_record(fn, "response record");
  e = known_event(fn, portHandle, command->EventHandle, &status);
  if (!e) return status;
  initialised = e->type != 0;
  value = command->EventPropertyId == QX_COMMON__EA__EVENT_PROPERTY_ID__IS_INITIALIZED
              ? &initialised
              : event_property(e, command->EventPropertyId);
  if (!value)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: unknown event property %u", fn,
                      (unsigned)command->EventPropertyId);
  memset(response, 0, sizeof *response);
  response->EventHandle = command->EventHandle;
  response->EventPropertyId = command->EventPropertyId;
  response->Value = *value;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_SetActionProperty(Qx_PortHandle_t portHandle,
                                              Qx_Common_EA_SetActionProperty_Cmd_t const *const command) {
  static const char fn[] = "Qx_Common_EA_SetActionProperty";
  uint32_t status = qxsim_check_port(fn, portHandle);
  if (status) return status;
  if (!command) return no_record(fn, "command");
  if (!known_action(fn, portHandle, command->ActionHandle, &status)) return status;
  if (command->ActionPropertyId == QX_COMMON__EA__ACTION_PROPERTY_ID__IS_INITIALIZED)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: action property %u is read-only", fn,
                      (unsigned)command->ActionPropertyId);
  return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: unknown action property %u", fn,
                    (unsigned)command->ActionPropertyId);
}

Qx_Error_t sim_Qx_Common_EA_GetActionProperty(Qx_PortHandle_t portHandle,
                                              Qx_Common_EA_GetActionProperty_Cmd_t const *const command,
                                              Qx_Common_EA_GetActionProperty_Rsp_t *const response) {
  static const char fn[] = "Qx_Common_EA_GetActionProperty";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_action *a;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  if (!response) return no_record(fn, "response record");
  a = known_action(fn, portHandle, command->ActionHandle, &status);
  if (!a) return status;
  if (command->ActionPropertyId != QX_COMMON__EA__ACTION_PROPERTY_ID__IS_INITIALIZED)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: unknown action property %u", fn,
                      (unsigned)command->ActionPropertyId);
  memset(response, 0, sizeof *response);
  response->ActionHandle = command->ActionHandle;
  response->ActionPropertyId = command->ActionPropertyId;
  response->Value = a->type != 0;
  return 0;
}

/* ---- host notification ------------------------------------------------ */

Qx_Error_t sim_Qx_Common_EA_NotifyHost_AddCallback(Qx_PortHandle_t portHandle,
                                                   Qx_Common_EA_NotifyHost_AddCallback_Cmd_t const *const command) {
  static const char fn[] = "Qx_Common_EA_NotifyHost_AddCallback";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_callback *c;
  int i;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  if (!command->Callback) return no_record(fn, "callback");
  if (!known_action(fn, portHandle, command->ActionHandle, &status)) return status;
  c = find_callback(portHandle, command->ActionHandle, command->NotificationId);
  for (i = 0; !c && i < EA_MAX_CALLBACKS; i++)
    if (!callbacks[i].used) c = &callbacks[i];
  if (!c) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: no free callback slot", fn);
  c->used = 1;
  c->port = portHandle;
  c->action = command->ActionHandle;
  c->notification_id = command->NotificationId;
  c->callback = command->Callback; /* a later registration for the same pair replaces it */
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_NotifyHost_RemoveCallback(
    Qx_PortHandle_t portHandle, Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t const *const command) {
  static const char fn[] = "Qx_Common_EA_NotifyHost_RemoveCallback";
  uint32_t status = qxsim_check_port(fn, portHandle);
  ea_callback *c;
  if (status) return status;
  if (!command) return no_record(fn, "command");
  c = find_callback(portHandle, command->ActionHandle, command->NotificationId);
  if (!c)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no callback for action %u and notification %u", fn,
                      (unsigned)command->ActionHandle, (unsigned)command->NotificationId);
  c->used = 0;
  return 0;
}
