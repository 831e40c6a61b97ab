/* Simulated transmit FIFO: queued messages are counted and sent on the bus
 * at once, where the port's monitor sees them. */
#include <string.h>

#include "can_sim.h"

static Qx_Error_t queue_room(const char *function, can_sim_port *port, u32_t count) {
  if (count > CAN_SIM_TXFIFO_SIZE - port->queued)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "%s: transmit FIFO full (%u of %u messages queued, %u more given)",
                      function, (unsigned)port->queued, CAN_SIM_TXFIFO_SIZE, (unsigned)count);
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_GetState(Qx_PortHandle_t portHandle, u32_t *const queuedMsgs, u32_t *const freeMsgs) {
  can_sim_port *port = can_sim_port_state("Qx_Can_TxFifo_GetState", portHandle);
  if (!port) return qxsim_last_error_code();
  if (queuedMsgs) *queuedMsgs = port->queued;
  if (freeMsgs) *freeMsgs = CAN_SIM_TXFIFO_SIZE - port->queued;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_GetState_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                        Qx_Can_TxFifo_GetState_Async_Callback_t const callback) {
  can_sim_port *port = can_sim_port_state("Qx_Can_TxFifo_GetState_Async_AddCallback", portHandle);
  if (!port) return qxsim_last_error_code();
  if (!callback)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Can_TxFifo_GetState_Async_AddCallback: no callback given");
  port->fifo_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_GetState_Async_RemoveCallback(Qx_PortHandle_t portHandle) {
  can_sim_port *port = can_sim_port_state("Qx_Can_TxFifo_GetState_Async_RemoveCallback", portHandle);
  if (!port) return qxsim_last_error_code();
  port->fifo_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_GetState_Async(Qx_PortHandle_t portHandle) {
  can_sim_port *port = can_sim_port_state("Qx_Can_TxFifo_GetState_Async", portHandle);
  if (!port) return qxsim_last_error_code();
  if (!port->fifo_callback)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Qx_Can_TxFifo_GetState_Async: no callback registered");
  port->fifo_callback(portHandle, port->queued, CAN_SIM_TXFIFO_SIZE - port->queued);
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_Reset(Qx_PortHandle_t portHandle) {
  can_sim_port *port = can_sim_port_state("Qx_Can_TxFifo_Reset", portHandle);
  if (!port) return qxsim_last_error_code();
  port->queued = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_QueueMsg(Qx_PortHandle_t portHandle, u32_t id, u8_t const *const msgData, u8_t dlc) {
  can_sim_port *port = can_sim_port_state("Qx_Can_TxFifo_QueueMsg", portHandle);
  Qx_Error_t status;
  if (!port) return qxsim_last_error_code();
  if ((status = queue_room("Qx_Can_TxFifo_QueueMsg", port, 1)) != 0) return status;
  port->queued++;
  can_sim_monitor_frame(port, id, 0, dlc, can_sim_dlc_length(dlc), msgData);
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_QueueMsgs(Qx_PortHandle_t portHandle, u32_t timeout, u32_t const msgCount,
                                       Qx_Can_TxFifo_MsgItem_t const *const msgs) {
  can_sim_port *port = can_sim_port_state("Qx_Can_TxFifo_QueueMsgs", portHandle);
  Qx_Error_t status;
  u32_t i;
  (void)timeout;
  if (!port) return qxsim_last_error_code();
  if (msgCount && !msgs) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Can_TxFifo_QueueMsgs: no messages given");
  if ((status = queue_room("Qx_Can_TxFifo_QueueMsgs", port, msgCount)) != 0) return status;
  port->queued += msgCount;
  for (i = 0; i < msgCount; i++) {
    u8_t length = can_sim_dlc_length(msgs[i].Dlc);
    can_sim_monitor_frame(port, msgs[i].Id, 0, msgs[i].Dlc, length > 8 ? 8 : length, msgs[i].Data);
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_QueueMsgs2(Qx_PortHandle_t portHandle, Qx_Can_TxFifo_QueueMsgs2_CmdFlags_t flags,
                                        u32_t timeout, u32_t const msgCount,
                                        Qx_Can_TxFifo_MsgItem2_t const *const msgs) {
  can_sim_port *port = can_sim_port_state("Qx_Can_TxFifo_QueueMsgs2", portHandle);
  Qx_Error_t status;
  u32_t i;
  (void)flags;
  (void)timeout;
  if (!port) return qxsim_last_error_code();
  if (msgCount && !msgs) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Can_TxFifo_QueueMsgs2: no messages given");
  if ((status = queue_room("Qx_Can_TxFifo_QueueMsgs2", port, msgCount)) != 0) return status;
  port->queued += msgCount;
  for (i = 0; i < msgCount; i++)
    can_sim_monitor_frame(port, msgs[i].Id, (u8_t)(msgs[i].Flags & ~CAN_SIM_ITEM_USER_EVENT), msgs[i].Dlc,
                          can_sim_dlc_length(msgs[i].Dlc), msgs[i].Data);
  return 0;
}
