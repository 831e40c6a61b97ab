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

/* Port check, then the event or action named by `handle`, written into
 * `*found` (when `found` is given). */
static uint32_t known_event(u32_t port, u32_t handle, ea_event **found) {
  ea_event *e;
  QXSIM_TRY(qxsim_check_port(port));
  e = find_event(port, handle);
  if (!e)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no event with handle %u on port 0x%08X", (unsigned)handle,
                      (unsigned)port);
  if (found) *found = e;
  return 0;
}

static uint32_t known_action(u32_t port, u32_t handle, ea_action **found) {
  ea_action *a;
  QXSIM_TRY(qxsim_check_port(port));
  a = find_action(port, handle);
  if (!a)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no action with handle %u on port 0x%08X", (unsigned)handle,
                      (unsigned)port);
  if (found) *found = a;
  return 0;
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

static uint32_t add_event(u32_t port, u32_t handle) {
  int i;
  if (find_event(port, handle))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "event handle %u is already allocated on port 0x%08X",
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
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no free event");
}

static uint32_t add_action(u32_t port, u32_t handle) {
  int i;
  if (find_action(port, handle))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "action handle %u is already allocated on port 0x%08X",
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
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no free action");
}

Qx_Error_t sim_Qx_Common_EA_AllocateEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_EventHandle_t *const eventHandle) {
  u32_t handle = 1;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(eventHandle, "handle cell"));
  while (find_event(portHandle, handle)) handle++; /* the lowest free handle, from 1 */
  QXSIM_TRY(add_event(portHandle, handle));
  *eventHandle = handle;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_AllocateAction(Qx_PortHandle_t portHandle,
                                           Qx_Common_EA_ActionHandle_t *const actionHandle) {
  u32_t handle = 1;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(actionHandle, "handle cell"));
  while (find_action(portHandle, handle)) handle++;
  QXSIM_TRY(add_action(portHandle, handle));
  *actionHandle = handle;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_AllocateEventByHandle(Qx_PortHandle_t portHandle, Qx_Common_EA_EventHandle_t eventHandle) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  return add_event(portHandle, eventHandle);
}

Qx_Error_t sim_Qx_Common_EA_AllocateActionByHandle(Qx_PortHandle_t portHandle,
                                                   Qx_Common_EA_ActionHandle_t actionHandle) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  return add_action(portHandle, actionHandle);
}

/* ---- definition ------------------------------------------------------- */

Qx_Error_t sim_Qx_Common_EA_InitEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_InitEvent_Cmd_t const *const command) {
  ea_event *e;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(known_event(portHandle, command->EventHandle, &e));
  if (!known_event_type(command->EventType))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown event type 0x%X", (unsigned)command->EventType);
  e->type = command->EventType;
  e->enabled = 1;
  e->counter = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_InitAction(Qx_PortHandle_t portHandle, Qx_Common_EA_InitAction_Cmd_t const *const command) {
  ea_action *a;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(known_action(portHandle, command->ActionHandle, &a));
  if (!known_action_type(command->ActionType))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown action type 0x%X", (unsigned)command->ActionType);
  a->type = command->ActionType;
  a->notification_id = a->type == QX_COMMON__EA__ACTION_TYPE__NOTIFY_HOST ? command->u.NotifyHost.NotificationId : 0;
  return 0;
}

/* ---- linking ---------------------------------------------------------- */

Qx_Error_t sim_Qx_Common_EA_AssignActionToEvent(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle,
                                                Qx_Common_EA_EventHandle_t eventHandle) {
  int i;
  QXSIM_TRY(known_action(portHandle, actionHandle, NULL));
  QXSIM_TRY(known_event(portHandle, eventHandle, NULL));
  if (find_link(portHandle, eventHandle, actionHandle))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "action %u is already assigned to event %u", (unsigned)actionHandle,
                      (unsigned)eventHandle);
  for (i = 0; i < EA_MAX_LINKS; i++) {
    if (!links[i].used) {
      links[i].used = 1;
      links[i].port = portHandle;
      links[i].event = eventHandle;
      links[i].action = actionHandle;
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no free link");
}

Qx_Error_t sim_Qx_Common_EA_DetachActionFromEvent(Qx_PortHandle_t portHandle,
                                                  Qx_Common_EA_DetachActionFromEvent_Cmd_t const *const command) {
  ea_link *link;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(known_event(portHandle, command->EventHandle, NULL));
  QXSIM_TRY(known_action(portHandle, command->ActionHandle, NULL));
  link = find_link(portHandle, command->EventHandle, command->ActionHandle);
  if (!link)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "action %u is not assigned to event %u", (unsigned)command->ActionHandle,
                      (unsigned)command->EventHandle);
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
  ea_event *e;
  (void)flags;
  QXSIM_TRY(known_event(portHandle, eventHandle, &e));
  drop_links(portHandle, 1, eventHandle);
  e->used = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_DeleteAction(Qx_PortHandle_t portHandle, Qx_Common_EA_DeleteAction_CmdFlags_t flags,
                                         Qx_Common_EA_ActionHandle_t actionHandle) {
  ea_action *a;
  (void)flags;
  QXSIM_TRY(known_action(portHandle, actionHandle, &a));
  drop_links(portHandle, 0, actionHandle);
  drop_callbacks(portHandle, 0, actionHandle);
  a->used = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_ResetAll(Qx_PortHandle_t portHandle) {
  int i;
  QXSIM_TRY(qxsim_check_port(portHandle));
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

static uint32_t defined_action(u32_t port, u32_t handle, ea_action **out) {
  QXSIM_TRY(known_action(port, handle, out));
  if (!(*out)->type) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "action %u is not initialised", (unsigned)handle);
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_ExecuteAction(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle) {
  ea_action *a;
  QXSIM_TRY(defined_action(portHandle, actionHandle, &a));
  run_action(portHandle, a);
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_CancelAction(Qx_PortHandle_t portHandle, Qx_Common_EA_ActionHandle_t actionHandle) {
  ea_action *a;
  return defined_action(portHandle, actionHandle, &a);
}

Qx_Error_t sim_Qx_Common_EA_SimulateEvent(Qx_PortHandle_t portHandle,
                                          Qx_Common_EA_SimulateEvent_Cmd_t const *const command) {
  ea_event *e;
  int i;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(known_event(portHandle, command->EventHandle, &e));
  if (!e->type) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "event %u is not initialised", (unsigned)e->handle);
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
  ea_event *e;
  u32_t *value;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(known_event(portHandle, command->EventHandle, &e));
  if (command->EventPropertyId == QX_COMMON__EA__EVENT_PROPERTY_ID__IS_INITIALIZED)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "event property %u is read-only",
                      (unsigned)command->EventPropertyId);
  value = event_property(e, command->EventPropertyId);
  if (!value)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown event property %u", (unsigned)command->EventPropertyId);
  *value = command->Value;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_GetEventProperty(Qx_PortHandle_t portHandle,
                                             Qx_Common_EA_GetEventProperty_Cmd_t const *const command,
                                             Qx_Common_EA_GetEventProperty_Rsp_t *const response) {
  ea_event *e;
  u32_t initialised, *value;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_need(response, "response record"));
  QXSIM_TRY(known_event(portHandle, command->EventHandle, &e));
  initialised = e->type != 0;
  value = command->EventPropertyId == QX_COMMON__EA__EVENT_PROPERTY_ID__IS_INITIALIZED
              ? &initialised
              : event_property(e, command->EventPropertyId);
  if (!value)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown event property %u", (unsigned)command->EventPropertyId);
  memset(response, 0, sizeof *response);
  response->EventHandle = command->EventHandle;
  response->EventPropertyId = command->EventPropertyId;
  response->Value = *value;
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_SetActionProperty(Qx_PortHandle_t portHandle,
                                              Qx_Common_EA_SetActionProperty_Cmd_t const *const command) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(known_action(portHandle, command->ActionHandle, NULL));
  if (command->ActionPropertyId == QX_COMMON__EA__ACTION_PROPERTY_ID__IS_INITIALIZED)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "action property %u is read-only",
                      (unsigned)command->ActionPropertyId);
  return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown action property %u", (unsigned)command->ActionPropertyId);
}

Qx_Error_t sim_Qx_Common_EA_GetActionProperty(Qx_PortHandle_t portHandle,
                                              Qx_Common_EA_GetActionProperty_Cmd_t const *const command,
                                              Qx_Common_EA_GetActionProperty_Rsp_t *const response) {
  ea_action *a;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_need(response, "response record"));
  QXSIM_TRY(known_action(portHandle, command->ActionHandle, &a));
  if (command->ActionPropertyId != QX_COMMON__EA__ACTION_PROPERTY_ID__IS_INITIALIZED)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown action property %u", (unsigned)command->ActionPropertyId);
  memset(response, 0, sizeof *response);
  response->ActionHandle = command->ActionHandle;
  response->ActionPropertyId = command->ActionPropertyId;
  response->Value = a->type != 0;
  return 0;
}

/* ---- host notification ------------------------------------------------ */

Qx_Error_t sim_Qx_Common_EA_NotifyHost_AddCallback(Qx_PortHandle_t portHandle,
                                                   Qx_Common_EA_NotifyHost_AddCallback_Cmd_t const *const command) {
  ea_callback *c;
  int i;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_need(command->Callback, "callback"));
  QXSIM_TRY(known_action(portHandle, command->ActionHandle, NULL));
  c = find_callback(portHandle, command->ActionHandle, command->NotificationId);
  for (i = 0; !c && i < EA_MAX_CALLBACKS; i++)
    if (!callbacks[i].used) c = &callbacks[i];
  if (!c) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no free callback slot");
  c->used = 1;
  c->port = portHandle;
  c->action = command->ActionHandle;
  c->notification_id = command->NotificationId;
  c->callback = command->Callback; /* a later registration for the same pair replaces it */
  return 0;
}

Qx_Error_t sim_Qx_Common_EA_NotifyHost_RemoveCallback(
    Qx_PortHandle_t portHandle, Qx_Common_EA_NotifyHost_RemoveCallback_Cmd_t const *const command) {
  ea_callback *c;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  c = find_callback(portHandle, command->ActionHandle, command->NotificationId);
  if (!c)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no callback for action %u and notification %u",
                      (unsigned)command->ActionHandle, (unsigned)command->NotificationId);
  c->used = 0;
  return 0;
}
