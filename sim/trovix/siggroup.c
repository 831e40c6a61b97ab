/* Simulated Trovix signal groups: receive and transmit groups of each port,
 * keyed by PDU and group within it, with the signal mappings mapped into
 * them. A mapping needs its group declared; a group is written or read only
 * once a signal is mapped into it. Reading a receive group takes what the
 * simulated bus delivered (the bytes scripted for the read, qxsim_received)
 * into its signals, in mapping order, each its own size. */
#include <string.h>

#include "trovix_tables.h"

#define SIGGROUP_SIM_GROUPS 16u
#define SIGGROUP_SIM_MAPPINGS 16u

enum { SIGGROUP_RX, SIGGROUP_TX };
static const char *const direction[] = {"receive", "transmit"};

typedef struct {
  u32_t pdu, group;
  u16_t update_bit;
  u8_t transfer_property;
  u32_t mapping_count;
  u32_t signals[SIGGROUP_SIM_MAPPINGS], mappings[SIGGROUP_SIM_MAPPINGS];
} siggroup_group;

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t count[2];
  siggroup_group groups[2][SIGGROUP_SIM_GROUPS];
} siggroup_port;

static siggroup_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t siggroup_state(u32_t handle, const void *command, siggroup_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_need(command, "command"));
  return qxsim_port_state(&table, handle, port);
}

static int group_index(const siggroup_port *port, int tx, u32_t pdu, u32_t group) {
  u32_t i;
  for (i = 0; i < port->count[tx]; i++)
    if (port->groups[tx][i].pdu == pdu && port->groups[tx][i].group == group) return (int)i;
  return -1;
}

static uint32_t known_group(u32_t handle, const void *command, int tx, u32_t pdu, u32_t group, siggroup_group **found) {
  siggroup_port *port;
  int index;
  QXSIM_TRY(siggroup_state(handle, command, &port));
  index = group_index(port, tx, pdu, group);
  if (index < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s signal group %u of PDU %u is not declared", direction[tx],
                      (unsigned)group, (unsigned)pdu);
  *found = &port->groups[tx][index];
  return 0;
}

/* Declares a group again in place: its mappings are kept. */
static uint32_t declare(u32_t handle, const void *command, int tx, u32_t pdu, u32_t group, u16_t update_bit,
                        u8_t transfer_property) {
  siggroup_port *port;
  siggroup_group *entry;
  u32_t slot = 0;
  int found;
  QXSIM_TRY(siggroup_state(handle, command, &port));
  found = group_index(port, tx, pdu, group);
  QXSIM_TRY(trovix_table_slot(tx ? "transmit signal group" : "receive signal group", SIGGROUP_SIM_GROUPS,
                              &port->count[tx], found, &slot));
  entry = &port->groups[tx][slot];
  if (found < 0) *entry = (siggroup_group){.pdu = pdu, .group = group};
  entry->update_bit = update_bit;
  entry->transfer_property = transfer_property;
  return 0;
}

static uint32_t map(u32_t handle, const void *command, int tx, u32_t pdu, u32_t group, u32_t signal, u32_t mapping) {
  siggroup_group *entry = NULL;
  u32_t i;
  QXSIM_TRY(known_group(handle, command, tx, pdu, group, &entry));
  for (i = 0; i < entry->mapping_count; i++)
    if (entry->signals[i] == signal && entry->mappings[i] == mapping) return 0;
  if (entry->mapping_count == SIGGROUP_SIM_MAPPINGS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s signal group %u of PDU %u holds %u signals already", direction[tx],
                      (unsigned)group, (unsigned)pdu, SIGGROUP_SIM_MAPPINGS);
  entry->signals[entry->mapping_count] = signal;
  entry->mappings[entry->mapping_count++] = mapping;
  return 0;
}

static uint32_t use_group(u32_t handle, const void *command, int tx, u32_t pdu, u32_t group,
                          siggroup_group **found) {
  siggroup_group *entry = NULL;
  QXSIM_TRY(known_group(handle, command, tx, pdu, group, &entry));
  *found = entry;
  if (!entry->mapping_count)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s signal group %u of PDU %u has no signals mapped", direction[tx],
                      (unsigned)group, (unsigned)pdu);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SignalGroup_TxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_SignalGroup_TxPdu_Config_Cmd_t const *const txGroupConfigCmd) {
  const Qx_Trovix_SignalGroup_TxPdu_Config_Cmd_t *cmd = txGroupConfigCmd;
  if (!cmd) return siggroup_state(portHandle, NULL, NULL);
  if (cmd->TransferProperty >= QX_TROVIX__COM__TRANSFER_PROPERTY__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown transfer property %u", (unsigned)cmd->TransferProperty);
  return declare(portHandle, cmd, SIGGROUP_TX, cmd->TxPduId, cmd->TxPduSignalGroupId, cmd->UpdateBitPosition,
                 cmd->TransferProperty);
}

Qx_Error_t sim_Qx_Trovix_SignalGroup_RxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_SignalGroup_RxPdu_Config_Cmd_t const *const rxGroupConfigCmd) {
  const Qx_Trovix_SignalGroup_RxPdu_Config_Cmd_t *cmd = rxGroupConfigCmd;
  if (!cmd) return siggroup_state(portHandle, NULL, NULL);
  return declare(portHandle, cmd, SIGGROUP_RX, cmd->RxPduId, cmd->RxPduSignalGroupId, cmd->UpdateBitPosition, 0);
}

Qx_Error_t sim_Qx_Trovix_SignalGroup_TxPdu_Mapping(
    Qx_PortHandle_t portHandle, Qx_Trovix_SignalGroup_TxPdu_Mapping_Cmd_t const *const txGroupMappingCmd) {
  const Qx_Trovix_SignalGroup_TxPdu_Mapping_Cmd_t *cmd = txGroupMappingCmd;
  if (!cmd) return siggroup_state(portHandle, NULL, NULL);
  return map(portHandle, cmd, SIGGROUP_TX, cmd->TxPduId, cmd->TxPduSignalGroupId, cmd->SignalId, cmd->SignalMappingId);
}

Qx_Error_t sim_Qx_Trovix_SignalGroup_RxPdu_Mapping(
    Qx_PortHandle_t portHandle, Qx_Trovix_SignalGroup_RxPdu_Mapping_Cmd_t const *const rxGroupMappingCmd) {
  const Qx_Trovix_SignalGroup_RxPdu_Mapping_Cmd_t *cmd = rxGroupMappingCmd;
  if (!cmd) return siggroup_state(portHandle, NULL, NULL);
  return map(portHandle, cmd, SIGGROUP_RX, cmd->RxPduId, cmd->RxPduSignalGroupId, cmd->SignalId, cmd->SignalMappingId);
}

Qx_Error_t sim_Qx_Trovix_SignalGroup_TxPdu_Write(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_SignalGroup_TxPdu_Write_Cmd_t const *const txGroupWriteCmd) {
  siggroup_group *entry;
  if (!txGroupWriteCmd) return siggroup_state(portHandle, NULL, NULL);
  return use_group(portHandle, txGroupWriteCmd, SIGGROUP_TX, txGroupWriteCmd->TxPduId,
                   txGroupWriteCmd->TxPduSignalGroupId, &entry);
}

Qx_Error_t sim_Qx_Trovix_SignalGroup_RxPdu_Read(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_SignalGroup_RxPdu_Read_Cmd_t const *const rxGroupReadCmd) {
  siggroup_group *entry = NULL;
  trovix_sim_port *stack;
  trovix_sim_signal *signal;
  u8_t received[SIGGROUP_SIM_MAPPINGS * TROVIX_SIM_VALUE_BYTES];
  size_t length, used = 0;
  u32_t i;
  if (!rxGroupReadCmd) return siggroup_state(portHandle, NULL, NULL);
  QXSIM_TRY(use_group(portHandle, rxGroupReadCmd, SIGGROUP_RX, rxGroupReadCmd->RxPduId,
                      rxGroupReadCmd->RxPduSignalGroupId, &entry));
  length = qxsim_received(received, sizeof received);
  if (!length) return 0;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &stack));
  /* Every mapped signal must be known before any takes a value. */
  for (i = 0; i < entry->mapping_count; i++) QXSIM_TRY(trovix_sim_signal_of(stack, entry->signals[i], &signal));
  for (i = 0; i < entry->mapping_count; i++) {
    u16_t size;
    trovix_sim_signal_of(stack, entry->signals[i], &signal);
    size = trovix_sim_signal_size(signal);
    if (length - used < size) break; /* the delivery ends inside this signal */
    memset(signal->value, 0, sizeof signal->value);
    memcpy(signal->value, received + used, size);
    signal->value_size = size;
    signal->written = 1;
    used += size;
  }
  return 0;
}
