/* Simulated Trovix broadcast transport protocol: the transmit and receive
 * adaptors of each port, keyed by adaptor identifier (an adaptor of a known
 * identifier is configured again in place). An adaptor ties two different
 * PDUs and carries messages of at least one byte on each side. */
#include "trovix_tables.h"

#define BCTP_SIM_ADAPTORS 8u

typedef struct {
  u32_t id, in_pdu, out_pdu;
  u16_t length_in, length_out;
  u32_t part_delay;
} bctp_adaptor;

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t count[2];
  bctp_adaptor adaptors[2][BCTP_SIM_ADAPTORS]; /* receive, transmit */
} bctp_port;

static bctp_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t configure(u32_t handle, const void *command, int tx, bctp_adaptor adaptor) {
  static const char *const what[] = {"receive adaptor", "transmit adaptor"};
  trovix_sim_port *stack;
  bctp_port *port;
  u32_t i, slot = 0;
  int found = -1;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_port_state(&table, handle, &port));
  if (!adaptor.length_in || !adaptor.length_out)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s %u: message length %u in, %u out", what[tx],
                      (unsigned)adaptor.id, (unsigned)adaptor.length_in, (unsigned)adaptor.length_out);
  if (adaptor.in_pdu == adaptor.out_pdu)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s %u: PDU %u is both its input and its output", what[tx],
                      (unsigned)adaptor.id, (unsigned)adaptor.in_pdu);
  for (i = 0; i < port->count[tx] && found < 0; i++)
    if (port->adaptors[tx][i].id == adaptor.id) found = (int)i;
  QXSIM_TRY(trovix_table_slot(what[tx], BCTP_SIM_ADAPTORS, &port->count[tx], found, &slot));
  port->adaptors[tx][slot] = adaptor;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_BroadcastTpC1_TxAdaptor(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_BroadcastTpC1_TxAdaptor_Cmd_t const *const txAdaptorCmd) {
  const Qx_Trovix_BroadcastTpC1_TxAdaptor_Cmd_t *cmd = txAdaptorCmd;
  if (!cmd) return configure(portHandle, NULL, 1, (bctp_adaptor){0});
  return configure(portHandle, cmd, 1,
                   (bctp_adaptor){cmd->TxAdaptorId, cmd->TxInPduId, cmd->TxOutPduId, cmd->MessageLengthIn,
                                  cmd->MessageLengthOut, cmd->MessagePartSendDelay});
}

Qx_Error_t sim_Qx_Trovix_BroadcastTpC1_RxAdaptor(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_BroadcastTpC1_RxAdaptor_Cmd_t const *const rxAdaptorCmd) {
  const Qx_Trovix_BroadcastTpC1_RxAdaptor_Cmd_t *cmd = rxAdaptorCmd;
  if (!cmd) return configure(portHandle, NULL, 0, (bctp_adaptor){0});
  return configure(portHandle, cmd, 0,
                   (bctp_adaptor){cmd->RxAdaptorId, cmd->RxInPduId, cmd->RxOutPduId, cmd->MessageLengthIn,
                                  cmd->MessageLengthOut, 0});
}
