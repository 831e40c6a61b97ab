/* Simulated transmit FIFO: queued messages are counted and sent on the bus
 * at once, where the port's monitor sees them. */
#include <string.h>

#include "can_sim.h"

static Qx_Error_t queue_room(can_sim_port *port, u32_t count) {
  if (count > CAN_SIM_TXFIFO_SIZE - port->queued)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "transmit FIFO full (%u of %u messages queued, %u more given)",
                      (unsigned)port->queued, CAN_SIM_TXFIFO_SIZE, (unsigned)count);
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_GetState(Qx_PortHandle_t portHandle, u32_t *const queuedMsgs, u32_t *const freeMsgs) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  if (queuedMsgs) *queuedMsgs = port->queued;
  if (freeMsgs) *freeMsgs = CAN_SIM_TXFIFO_SIZE - port->queued;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_GetState_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                        Qx_Can_TxFifo_GetState_Async_Callback_t const callback) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(callback, "callback"));
  port->fifo_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_GetState_Async_RemoveCallback(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  port->fifo_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_GetState_Async(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  if (!port->fifo_callback) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no callback registered");
  port->fifo_callback(portHandle, port->queued, CAN_SIM_TXFIFO_SIZE - port->queued);
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_Reset(Qx_PortHandle_t portHandle) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  port->queued = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_QueueMsg(Qx_PortHandle_t portHandle, u32_t id, u8_t const *const msgData, u8_t dlc) {
  can_sim_port *port;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  QXSIM_TRY(queue_room(port, 1));
  port->queued++;
  can_sim_monitor_frame(port, id, 0, dlc, can_sim_dlc_length(dlc), msgData);
  return 0;
}

Qx_Error_t sim_Qx_Can_TxFifo_QueueMsgs(Qx_PortHandle_t portHandle, u32_t timeout, u32_t const msgCount,
                                       Qx_Can_TxFifo_MsgItem_t const *const msgs) {
  can_sim_port *port;
  u32_t i;
  (void)timeout;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(msgs || !msgCount, "messages"));
  QXSIM_TRY(queue_room(port, msgCount));
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
  can_sim_port *port;
  u32_t i;
  (void)flags;
  (void)timeout;
  QXSIM_TRY(can_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(msgs || !msgCount, "messages"));
  QXSIM_TRY(queue_room(port, msgCount));
  port->queued += msgCount;
  for (i = 0; i < msgCount; i++)
    can_sim_monitor_frame(port, msgs[i].Id, (u8_t)(msgs[i].Flags & ~CAN_SIM_ITEM_USER_EVENT), msgs[i].Dlc,
                          can_sim_dlc_length(msgs[i].Dlc), msgs[i].Data);
  return 0;
}
