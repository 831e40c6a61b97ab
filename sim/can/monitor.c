/* Simulated bus monitor: an acceptance filter, a buffer mode that collects
 * the frames seen on the bus for batch reads (or hands each to a native
 * callback), a list mode read one frame at a time, user events and the
 * monitor clock. */
#include <string.h>

#include "can_sim.h"

static const can_sim_frame *queue_front(const can_sim_queue *queue) {
  return queue->count ? &queue->frames[queue->first] : NULL;
}

static void queue_pop(can_sim_queue *queue) {
  if (!queue->count) return;
  queue->first = (queue->first + 1) % CAN_SIM_MONITOR_DEPTH;
  queue->count--;
}

Qx_Error_t sim_Qx_Can_Monitor_DefineFilter(Qx_PortHandle_t portHandle, Qx_Can_Monitor_DefineFilter_Mode_t mode,
                                           u32_t acceptanceCode, u32_t acceptanceMask) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  port->filter_mode = mode;
  port->filter_code = acceptanceCode;
  port->filter_mask = acceptanceMask;
  return 0;
}

static Qx_Error_t buffer_start(can_sim_port *port, u32_t bufferSize) {
  if (port->buffer_mode) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "buffer mode already running");
  if (!bufferSize) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "buffer size 0");
  port->buffer_mode = 1;
  memset(&port->buffer, 0, sizeof port->buffer);
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Start(Qx_PortHandle_t portHandle, Qx_Can_Monitor_BufferMode_Mode_t mode,
                                               u32_t bufferSize) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  (void)mode;
  return buffer_start(port, bufferSize);
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Start2(Qx_PortHandle_t portHandle,
                                                Qx_Can_Monitor_BufferMode_Start2_CmdFlags_t flags, u32_t bufferSize) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  (void)flags;
  return buffer_start(port, bufferSize);
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Stop(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  port->buffer_mode = 0;
  port->buffer_callback = NULL;
  return 0;
}

static Qx_Error_t buffer_ready(can_sim_port *port, const u32_t *itemCount, const void *items) {
  if (!port->buffer_mode) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "buffer mode not running");
  QXSIM_TRY(qxsim_need(itemCount && (items || !*itemCount), "item buffer"));
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_GetItems(Qx_PortHandle_t portHandle, u32_t timeout, u32_t *const itemCount,
                                                  Qx_Can_Monitor_BufferItem_t *const items) {
  u32_t n = 0;
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  (void)timeout;
  QXSIM_TRY(buffer_ready(port, itemCount, items));
  while (n < *itemCount && port->buffer.count) {
    const can_sim_frame *frame = queue_front(&port->buffer);
    Qx_Can_Monitor_BufferItem_t *item = &items[n++];
    memset(item, 0, sizeof *item);
    item->Timestamp = frame->timestamp;
    item->Id = frame->id;
    item->Flags = frame->flags;
    item->Dlc = frame->dlc;
    item->DataLength = frame->length > 8 ? 8 : frame->length;
    memcpy(item->Data, frame->data, item->DataLength);
    queue_pop(&port->buffer);
  }
  *itemCount = n;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_GetItems_Large(
    Qx_PortHandle_t portHandle, Qx_Can_Monitor_BufferMode_GetItems_Large_RspFlags_t *const flags,
    u32_t *const itemCount, Qx_Can_Monitor_BufferItem_Large_t *const largeItems) {
  u32_t n = 0;
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  QXSIM_TRY(buffer_ready(port, itemCount, largeItems));
  while (n < *itemCount && port->buffer.count) {
    const can_sim_frame *frame = queue_front(&port->buffer);
    Qx_Can_Monitor_BufferItem_Large_t *item = &largeItems[n++];
    memset(item, 0, sizeof *item);
    item->Timestamp = frame->timestamp;
    item->Id = frame->id;
    item->Flags = frame->flags;
    item->Dlc = frame->dlc;
    item->DataLength = frame->length;
    memcpy(item->Data, frame->data, frame->length);
    queue_pop(&port->buffer);
  }
  *itemCount = n;
  if (flags) *flags = port->buffer.count ? CAN_SIM_MORE_ITEMS : 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Async_Start(Qx_PortHandle_t portHandle, Qx_Can_Monitor_BufferMode_Mode_t mode,
                                                     Qx_Can_Monitor_BufferMode_Async_Callback_t const callback) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  (void)mode;
  QXSIM_TRY(qxsim_need(callback, "callback"));
  QXSIM_TRY(buffer_start(port, 1));
  port->buffer_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Async_Stop(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  if (!port->buffer_callback) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "asynchronous buffer mode not running");
  port->buffer_mode = 0;
  port->buffer_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_EnableEvent(Qx_PortHandle_t portHandle,
                                                     Qx_Common_EventHandle_t const *const eventHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(eventHandle, "event handle"));
  port->event_enabled = 1;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_DisableEvent(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  port->event_enabled = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_Start(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  port->list_mode = 1;
  memset(&port->list, 0, sizeof port->list);
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_Stop(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  port->list_mode = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_GetItem(Qx_PortHandle_t portHandle, u32_t timeout, u64_t *const timestamp,
                                               u32_t *const id, Qx_Can_Monitor_ListMode_GetItem_RspFlags_t *const flags,
                                               u8_t *const dlc, u8_t *const itemData) {
  const can_sim_frame *frame;
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  if (!port->list_mode) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "list mode not running");
  frame = queue_front(&port->list);
  if (!frame) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no item within %u ms", (unsigned)timeout);
  if (timestamp) *timestamp = frame->timestamp;
  if (id) *id = frame->id;
  if (flags) *flags = frame->flags;
  if (dlc) *dlc = frame->dlc;
  if (itemData) memcpy(itemData, frame->data, 8);
  queue_pop(&port->list);
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_GetItem_Async_AddCallback(
    Qx_PortHandle_t portHandle, Qx_Can_Monitor_ListMode_GetItem_Async_Callback_t const callback) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(callback, "callback"));
  port->list_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_GetItem_Async_RemoveCallback(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  port->list_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_GetItem_Async(Qx_PortHandle_t portHandle, u32_t timeout) {
  const can_sim_frame *frame;
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  (void)timeout;
  if (!port->list_callback) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no callback registered");
  if (!port->list_mode) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "list mode not running");
  /* The answer comes through the callback: the oldest frame, or an empty
   * report (status 1) when none is waiting. */
  frame = queue_front(&port->list);
  if (frame) {
    port->list_callback(portHandle, 0, frame->timestamp, frame->id, frame->flags, frame->dlc, frame->data);
    queue_pop(&port->list);
  } else {
    static const u8_t none[8];
    port->list_callback(portHandle, 1, 0, 0, 0, 0, none);
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_WriteUserEvent(Qx_PortHandle_t portHandle, u8_t eventId, u8_t eventDataLength,
                                             u8_t const *const eventData) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  if (eventDataLength > QX_BUFFER_BYTES)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u data bytes, at most %u", (unsigned)eventDataLength,
                      (unsigned)QX_BUFFER_BYTES);
  can_sim_monitor_frame(port, eventId, CAN_SIM_ITEM_USER_EVENT, eventDataLength, eventDataLength, eventData);
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_MonitorTime_Get(Qx_PortHandle_t portHandle,
                                              Qx_Can_Monitor_MonitorTime_Get_RspFlags_t *const flags,
                                              u64_t *const monitorTime, u64_t *const hostTime) {
  u64_t now = can_sim_monitor_time();
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  if (flags) *flags = 0;
  if (monitorTime) *monitorTime = now;
  /* The host clock runs in 100 ns steps from its own epoch. */
  if (hostTime) *hostTime = now * 10u;
  return 0;
}
