/* Simulated checksums of the signals of Com transmit PDUs: the checksum
 * mode configured for each (transmit PDU, signal), which the included bytes
 * and the checksum wrapper of that signal need; included bytes must lie
 * inside their PDU. */
#include "com_sim.h"
#include "trovix_tables.h"

#define CHECKSUM_SIM_ENTRIES 32u

typedef struct {
  u32_t pdu, signal;
  u8_t mode; /* a QX_TROVIX__CHECKSUM_MODE__ value */
} checksum_entry;

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t count;
  checksum_entry entries[CHECKSUM_SIM_ENTRIES];
} checksum_port;

static checksum_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* The codes the stack computes a checksum for. */
static const u8_t known_modes[] = {
    QX_TROVIX__CHECKSUM_MODE__OFF,
    QX_TROVIX__CHECKSUM_MODE__XOR,
    QX_TROVIX__CHECKSUM_MODE__CRC8_J1850,
    QX_TROVIX__CHECKSUM_MODE__ADD_AND_COMPLEMENT_TO_ONE,
    QX_TROVIX__CHECKSUM_MODE__XOR_WITH_USER_BYTES,
    QX_TROVIX__CHECKSUM_MODE__CRC_WITH_USER_BYTES,
    QX_TROVIX__CHECKSUM_MODE__CUSTOM_12,
    QX_TROVIX__CHECKSUM_MODE__ADD_NIBBLES,
    QX_TROVIX__CHECKSUM_MODE__CUSTOM_14,
    QX_TROVIX__CHECKSUM_MODE__ADD_BYTES__XOR_NIBBLES,
};

/* The port's checksums, once the command is given; its transmit PDU must be
 * configured, and *length is that PDU's length. */
static uint32_t checksum_target(u32_t handle, const void *command, const char *what, u32_t pdu, checksum_port **port,
                                u32_t *length) {
  trovix_sim_port *stack;
  com_sim_tx_pdu configured;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_port_state(&table, handle, port));
  QXSIM_TRY(qxsim_need(command, what));
  QXSIM_TRY(com_sim_tx_pdu_of(handle, pdu, &configured));
  *length = configured.length;
  return 0;
}

static int entry_index(const checksum_port *port, u32_t pdu, u32_t signal) {
  u32_t i;
  for (i = 0; i < port->count; i++)
    if (port->entries[i].pdu == pdu && port->entries[i].signal == signal) return (int)i;
  return -1;
}

/* The included bytes and the wrapper belong to a checksum of the signal. */
static uint32_t need_checksum(const checksum_port *port, u32_t pdu, u32_t signal) {
  int found = entry_index(port, pdu, signal);
  if (found < 0 || port->entries[found].mode == QX_TROVIX__CHECKSUM_MODE__OFF)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "signal %u of transmit PDU %u has no checksum", (unsigned)signal,
                      (unsigned)pdu);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Checksum_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t const *const checksumParameters) {
  const Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t *config = checksumParameters;
  checksum_port *port;
  u32_t length = 0, slot = 0, i;
  int found;
  QXSIM_TRY(
      checksum_target(portHandle, config, "checksum configuration", config ? config->TxPduId : 0, &port, &length));
  for (i = 0; i < sizeof known_modes && known_modes[i] != config->ChecksumMode; i++) {
  }
  if (i == sizeof known_modes)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown checksum mode %u", (unsigned)config->ChecksumMode);
  found = entry_index(port, config->TxPduId, config->TxPduSignalId);
  QXSIM_TRY(trovix_table_slot("checksum", CHECKSUM_SIM_ENTRIES, &port->count, found, &slot));
  port->entries[slot].pdu = config->TxPduId;
  port->entries[slot].signal = config->TxPduSignalId;
  port->entries[slot].mode = config->ChecksumMode;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_Cmd_t const *const includedBytesCmd) {
  const Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_Cmd_t *cmd = includedBytesCmd;
  checksum_port *port;
  u32_t length = 0, i;
  QXSIM_TRY(checksum_target(portHandle, cmd, "included bytes", cmd ? cmd->TxPduId : 0, &port, &length));
  QXSIM_TRY(need_checksum(port, cmd->TxPduId, cmd->TxPduSignalId));
  for (i = 0; i < cmd->NumberOfIncludedBytes; i++)
    if (cmd->IncludedBytes[i] >= length)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT,
                        "included byte %u is byte %u, beyond the %u bytes of transmit PDU %u", (unsigned)i,
                        (unsigned)cmd->IncludedBytes[i], (unsigned)length, (unsigned)cmd->TxPduId);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Checksum_Wrapper(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t const *const wrapperCmd) {
  const Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t *cmd = wrapperCmd;
  checksum_port *port;
  u32_t length = 0;
  QXSIM_TRY(checksum_target(portHandle, cmd, "checksum wrapper", cmd ? cmd->TxPduId : 0, &port, &length));
  if (cmd->Mode >= QX_TROVIX__COM__TX_PDU__CHECKSUM__WRAPPER__MODE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown checksum-wrapper mode %u", (unsigned)cmd->Mode);
  return need_checksum(port, cmd->TxPduId, cmd->TxPduSignalId);
}
