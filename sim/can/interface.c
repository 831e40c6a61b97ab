/* Simulated CAN interfaces: per-port state and interface initialisation. */
#include <string.h>

#include "can_sim.h"

static can_sim_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);
static u64_t monitor_clock;

static void can_sim_reset(void) { monitor_clock = CAN_SIM_MONITOR_EPOCH; }

__attribute__((constructor)) static void can_sim_init(void) {
  can_sim_reset();
  qxsim_on_reset(can_sim_reset);
}

uint32_t can_sim_port_state(u32_t handle, can_sim_port **port) { return qxsim_port_state(&table, handle, port); }

u8_t can_sim_dlc_length(u8_t dlc) {
  static const u8_t fd_lengths[] = {12, 16, 20, 24, 32, 48, 64};
  if (dlc <= 8) return dlc;
  if (dlc <= 15) return fd_lengths[dlc - 9];
  return 64;
}

u64_t can_sim_monitor_time(void) { return monitor_clock; }

static void queue_push(can_sim_queue *queue, const can_sim_frame *frame) {
  if (queue->count == CAN_SIM_MONITOR_DEPTH) return; /* overrun: the frame is lost */
  queue->frames[(queue->first + queue->count) % CAN_SIM_MONITOR_DEPTH] = *frame;
  queue->count++;
}

void can_sim_monitor_frame(can_sim_port *port, u32_t id, u8_t flags, u8_t dlc, u8_t length, const u8_t *data) {
  can_sim_frame frame;
  memset(&frame, 0, sizeof frame);
  frame.timestamp = monitor_clock;
  monitor_clock += CAN_SIM_FRAME_TIME;
  if (port->filter_mode && !(flags & CAN_SIM_ITEM_USER_EVENT) &&
      (id & port->filter_mask) != (port->filter_code & port->filter_mask))
    return;
  frame.id = id;
  frame.flags = flags;
  frame.dlc = dlc;
  frame.length = length > sizeof frame.data ? (u8_t)sizeof frame.data : length;
  if (data) memcpy(frame.data, data, frame.length);
  if (port->buffer_mode) {
    if (port->buffer_callback) {
      Qx_Can_Monitor_BufferItem_t item;
      memset(&item, 0, sizeof item);
      item.Timestamp = frame.timestamp;
      item.Id = frame.id;
      item.Flags = frame.flags;
      item.Dlc = frame.dlc;
      item.DataLength = frame.length > 8 ? 8 : frame.length;
      memcpy(item.Data, frame.data, item.DataLength);
      port->buffer_callback(port->handle, 1, &item);
    } else {
      queue_push(&port->buffer, &frame);
    }
  }
  if (port->list_mode) queue_push(&port->list, &frame);
}

Qx_Error_t sim_Qx_Can_InitInterface(Qx_PortHandle_t portHandle, Qx_Can_IdMode_t idMode,
                                    Qx_Can_InitInterface_CmdFlags_t flags) {
  can_sim_port *port;
  (void)flags;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  if (qxsim_interface_at(qxsim_port_interface(portHandle))->type != QX_INTERFACE_TYPE__CAN)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "port 0x%08X is not a CAN interface", (unsigned)portHandle);
  port->initialised = 1;
  port->id_mode = idMode;
  return 0;
}
