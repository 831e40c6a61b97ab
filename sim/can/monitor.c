/* Simulated bus monitor: an acceptance filter, a buffer mode that collects
 * the frames seen on the bus for batch reads (or hands each to a native
 * callback), a list mode read one frame at a time, user events and the
 * monitor clock. */
#include <string.h>

#include "can_sim.h"

#define PORT_STATE(function)                                     \
  can_sim_port *port = can_sim_port_state(function, portHandle); \
  if (!port) return qxsim_last_error_code()

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
  PORT_STATE("Qx_Can_Monitor_DefineFilter");
  port->filter_mode = mode;
  port->filter_code = acceptanceCode;
  port->filter_mask = acceptanceMask;
  return 0;
}

static Qx_Error_t buffer_start(const char *function, can_sim_port *port, u32_t bufferSize) {
  if (port->buffer_mode) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: buffer mode already running", function);
  if (!bufferSize) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: buffer size 0", function);
  port->buffer_mode = 1;
  memset(&port->buffer, 0, sizeof port->buffer);
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Start(Qx_PortHandle_t portHandle, Qx_Can_Monitor_BufferMode_Mode_t mode,
                                               u32_t bufferSize) {
  PORT_STATE("Qx_Can_Monitor_BufferMode_Start");
  (void)mode;
  return buffer_start("Qx_Can_Monitor_BufferMode_Start", port, bufferSize);
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Start2(Qx_PortHandle_t portHandle,
                                                Qx_Can_Monitor_BufferMode_Start2_CmdFlags_t flags, u32_t bufferSize) {
  PORT_STATE("Qx_Can_Monitor_BufferMode_Start2");
  (void)flags;
  return buffer_start("Qx_Can_Monitor_BufferMode_Start2", port, bufferSize);
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Stop(Qx_PortHandle_t portHandle) {
  PORT_STATE("Qx_Can_Monitor_BufferMode_Stop");
  port->buffer_mode = 0;
  port->buffer_callback = NULL;
  return 0;
}

static Qx_Error_t buffer_ready(const char *function, can_sim_port *port, const u32_t *itemCount, const void *items) {
  if (!port->buffer_mode) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: buffer mode not running", function);
  if (!itemCount || (*itemCount && !items))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no item buffer given", function);
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_GetItems(Qx_PortHandle_t portHandle, u32_t timeout, u32_t *const itemCount,
                                                  Qx_Can_Monitor_BufferItem_t *const items) {
  Qx_Error_t status;
  u32_t n = 0;
  PORT_STATE("Qx_Can_Monitor_BufferMode_GetItems");
  (void)timeout;
  if ((status = buffer_ready("Qx_Can_Monitor_BufferMode_GetItems", port, itemCount, items)) != 0) return status;
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
  Qx_Error_t status;
  u32_t n = 0;
  PORT_STATE("Qx_Can_Monitor_BufferMode_GetItems_Large");
  if ((status = buffer_ready("Qx_Can_Monitor_BufferMode_GetItems_Large", port, itemCount, largeItems)) != 0)
    return status;
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
  Qx_Error_t status;
  PORT_STATE("Qx_Can_Monitor_BufferMode_Async_Start");
  (void)mode;
  if (!callback)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Can_Monitor_BufferMode_Async_Start: no callback given");
  if ((status = buffer_start("Qx_Can_Monitor_BufferMode_Async_Start", port, 1)) != 0) return status;
  port->buffer_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_Async_Stop(Qx_PortHandle_t portHandle) {
  PORT_STATE("Qx_Can_Monitor_BufferMode_Async_Stop");
  if (!port->buffer_callback)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE,
                      "Qx_Can_Monitor_BufferMode_Async_Stop: asynchronous buffer mode not running");
  port->buffer_mode = 0;
  port->buffer_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_EnableEvent(Qx_PortHandle_t portHandle,
                                                     Qx_Common_EventHandle_t const *const eventHandle) {
  PORT_STATE("Qx_Can_Monitor_BufferMode_EnableEvent");
  if (!eventHandle)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Can_Monitor_BufferMode_EnableEvent: no event handle given");
  port->event_enabled = 1;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_BufferMode_DisableEvent(Qx_PortHandle_t portHandle) {
  PORT_STATE("Qx_Can_Monitor_BufferMode_DisableEvent");
  port->event_enabled = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_Start(Qx_PortHandle_t portHandle) {
  PORT_STATE("Qx_Can_Monitor_ListMode_Start");
  port->list_mode = 1;
  memset(&port->list, 0, sizeof port->list);
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_Stop(Qx_PortHandle_t portHandle) {
  PORT_STATE("Qx_Can_Monitor_ListMode_Stop");
  port->list_mode = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_GetItem(Qx_PortHandle_t portHandle, u32_t timeout, u64_t *const timestamp,
                                               u32_t *const id, Qx_Can_Monitor_ListMode_GetItem_RspFlags_t *const flags,
                                               u8_t *const dlc, u8_t *const itemData) {
  const can_sim_frame *frame;
  PORT_STATE("Qx_Can_Monitor_ListMode_GetItem");
  if (!port->list_mode)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Qx_Can_Monitor_ListMode_GetItem: list mode not running");
  frame = queue_front(&port->list);
  if (!frame)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "Qx_Can_Monitor_ListMode_GetItem: no item within %u ms",
                      (unsigned)timeout);
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
  PORT_STATE("Qx_Can_Monitor_ListMode_GetItem_Async_AddCallback");
  if (!callback)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT,
                      "Qx_Can_Monitor_ListMode_GetItem_Async_AddCallback: no callback given");
  port->list_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_GetItem_Async_RemoveCallback(Qx_PortHandle_t portHandle) {
  PORT_STATE("Qx_Can_Monitor_ListMode_GetItem_Async_RemoveCallback");
  port->list_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_ListMode_GetItem_Async(Qx_PortHandle_t portHandle, u32_t timeout) {
  const can_sim_frame *frame;
  PORT_STATE("Qx_Can_Monitor_ListMode_GetItem_Async");
  (void)timeout;
  if (!port->list_callback)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Qx_Can_Monitor_ListMode_GetItem_Async: no callback registered");
  if (!port->list_mode)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Qx_Can_Monitor_ListMode_GetItem_Async: list mode not running");
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
  PORT_STATE("Qx_Can_Monitor_WriteUserEvent");
  if (eventDataLength > 64)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Can_Monitor_WriteUserEvent: %u data bytes, at most 64",
                      (unsigned)eventDataLength);
  can_sim_monitor_frame(port, eventId, CAN_SIM_ITEM_USER_EVENT, eventDataLength, eventDataLength, eventData);
  return 0;
}

Qx_Error_t sim_Qx_Can_Monitor_MonitorTime_Get(Qx_PortHandle_t portHandle,
                                              Qx_Can_Monitor_MonitorTime_Get_RspFlags_t *const flags,
                                              u64_t *const monitorTime, u64_t *const hostTime) {
  u64_t now = can_sim_monitor_time();
  PORT_STATE("Qx_Can_Monitor_MonitorTime_Get");
  if (flags) *flags = 0;
  if (monitorTime) *monitorTime = now;
  /* The host clock runs in 100 ns steps from its own epoch. */
  if (hostTime) *hostTime = now * 10u;
  return 0;
}
