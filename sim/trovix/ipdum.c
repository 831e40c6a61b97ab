/* Simulated Trovix PDU multiplexer and container PDUs: nine tables of
 * identifiers per port. The four multiplexer tables are sized by their
 * MaxNumber calls; the container tables hold IPDUM_SIM_ENTRIES each. An
 * entry of a known identifier is replaced in place; an entry that names
 * another one (a demultiplexed PDU its multiplexed PDU, a contained PDU its
 * container, a container receive PDU its pool) needs that one configured,
 * and the enumeration members must hold a value the stack knows. */
#include "trovix_tables.h"

#define IPDUM_SIM_ENTRIES 32u

enum {
  MUXED_TX,
  DEMUXED_TX,
  MUXED_RX,
  DEMUXED_RX,
  CONTAINER_TX,
  CONTAINED_TX,
  POOL,
  CONTAINER_RX,
  CONTAINED_RX,
  IPDUM_TABLES
};

static const char *const table_names[IPDUM_TABLES] = {
    "multiplexed transmit PDU",  "demultiplexed transmit PDU", "multiplexed receive PDU",
    "demultiplexed receive PDU", "container transmit PDU",     "contained transmit PDU",
    "contained receive PDU pool", "container receive PDU",     "contained receive PDU",
};

/* The same, as the sizing calls name them. */
static const char *const table_plurals[IPDUM_TABLES] = {
    "multiplexed transmit PDUs",  "demultiplexed transmit PDUs", "multiplexed receive PDUs",
    "demultiplexed receive PDUs", "container transmit PDUs",     "contained transmit PDUs",
    "contained receive PDU pools", "container receive PDUs",     "contained receive PDUs",
};

typedef struct {
  u32_t capacity, count;
  u32_t ids[IPDUM_SIM_ENTRIES];
} ipdum_table;

typedef struct {
  u32_t handle; /* 0: slot free */
  ipdum_table tables[IPDUM_TABLES];
} ipdum_port;

/* The container tables have no sizing call: they hold all they can. */
static void ipdum_start(void *record) {
  ipdum_port *port = record;
  unsigned t;
  for (t = CONTAINER_TX; t < IPDUM_TABLES; t++) port->tables[t].capacity = IPDUM_SIM_ENTRIES;
}

static ipdum_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, ipdum_start, NULL);

static uint32_t ipdum_state(u32_t handle, ipdum_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  return qxsim_port_state(&table, handle, port);
}

static int entry_index(const ipdum_table *entries, u32_t id) {
  u32_t i;
  for (i = 0; i < entries->count; i++)
    if (entries->ids[i] == id) return (int)i;
  return -1;
}

static uint32_t known(const ipdum_port *port, unsigned t, u32_t id) {
  if (entry_index(&port->tables[t], id) < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown %s %u", table_names[t], (unsigned)id);
  return 0;
}

/* Every enumeration of the container PDUs has the values 0 and 1 and its
 * UNKNOWN value 2. */
static uint32_t enumerated(u8_t value, const char *member) {
  if (value >= QX_TROVIX__PDU_MUX2__HEADER_TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown %s %u", member, (unsigned)value);
  return 0;
}

static uint32_t size_table(u32_t handle, unsigned t, u32_t wanted) {
  ipdum_port *port;
  QXSIM_TRY(ipdum_state(handle, &port));
  return trovix_table_size(table_plurals[t], &port->tables[t].capacity, port->tables[t].count, wanted,
                           IPDUM_SIM_ENTRIES);
}

/* The port's state for the entry `record` of table t (NULL when the port
 * fails or no record is given). */
static uint32_t entry_port(u32_t handle, const void *record, unsigned t, ipdum_port **port) {
  QXSIM_TRY(ipdum_state(handle, port));
  return qxsim_need(record != NULL, table_names[t]);
}

static uint32_t add_entry(ipdum_port *port, unsigned t, u32_t id) {
  ipdum_table *entries = &port->tables[t];
  u32_t slot = 0;
  QXSIM_TRY(trovix_table_slot(table_names[t], entries->capacity, &entries->count, entry_index(entries, id), &slot));
  entries->ids[slot] = id;
  return 0;
}

/* ---- PDU multiplexer ---------------------------------------------------------- */

Qx_Error_t sim_Qx_Trovix_PduMux_MuxedTxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfMuxedTxPdus) {
  return size_table(portHandle, MUXED_TX, maxNumberOfMuxedTxPdus);
}

Qx_Error_t sim_Qx_Trovix_PduMux_DemuxedTxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfDemuxedTxPdus) {
  return size_table(portHandle, DEMUXED_TX, maxNumberOfDemuxedTxPdus);
}

Qx_Error_t sim_Qx_Trovix_PduMux_MuxedRxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfMuxedRxPdus) {
  return size_table(portHandle, MUXED_RX, maxNumberOfMuxedRxPdus);
}

Qx_Error_t sim_Qx_Trovix_PduMux_DemuxedRxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfDemuxedRxPdus) {
  return size_table(portHandle, DEMUXED_RX, maxNumberOfDemuxedRxPdus);
}

Qx_Error_t sim_Qx_Trovix_PduMux_MuxedTxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux_MuxedTxPdu_Config_Parameters_t const *const muxedTxPduParameters) {
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, muxedTxPduParameters, MUXED_TX, &port));
  return add_entry(port, MUXED_TX, muxedTxPduParameters->MuxedTxPduId);
}

Qx_Error_t sim_Qx_Trovix_PduMux_DemuxedTxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t const *const demuxedTxPduParameters) {
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, demuxedTxPduParameters, DEMUXED_TX, &port));
  QXSIM_TRY(known(port, MUXED_TX, demuxedTxPduParameters->MuxedTxPduId));
  return add_entry(port, DEMUXED_TX, demuxedTxPduParameters->DemuxedTxPduId);
}

Qx_Error_t sim_Qx_Trovix_PduMux_MuxedRxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux_MuxedRxPdu_Config_Parameters_t const *const muxedRxPduParameters) {
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, muxedRxPduParameters, MUXED_RX, &port));
  return add_entry(port, MUXED_RX, muxedRxPduParameters->MuxedRxPduId);
}

Qx_Error_t sim_Qx_Trovix_PduMux_DemuxedRxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux_DemuxedRxPdu_Config_Parameters_t const *const demuxedRxPduParameters) {
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, demuxedRxPduParameters, DEMUXED_RX, &port));
  QXSIM_TRY(known(port, MUXED_RX, demuxedRxPduParameters->MuxedRxPduId));
  return add_entry(port, DEMUXED_RX, demuxedRxPduParameters->DemuxedRxPduId);
}

/* ---- container PDUs ------------------------------------------------------------ */

Qx_Error_t sim_Qx_Trovix_PduMux2_ContainerTxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainerTxPdu_Config_Cmd_t const *const containerTxPduCmd) {
  const Qx_Trovix_PduMux2_ContainerTxPdu_Config_Cmd_t *cmd = containerTxPduCmd;
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, cmd, CONTAINER_TX, &port));
  QXSIM_TRY(enumerated(cmd->HeaderType, "HeaderType"));
  QXSIM_TRY(enumerated(cmd->HeaderByteOrder, "HeaderByteOrder"));
  QXSIM_TRY(enumerated(cmd->ContainerTxTriggerMode, "ContainerTxTriggerMode"));
  return add_entry(port, CONTAINER_TX, cmd->ContainerTxPduId);
}

Qx_Error_t sim_Qx_Trovix_PduMux2_ContainedTxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainedTxPdu_Config_Cmd_t const *const containedTxPduCmd) {
  const Qx_Trovix_PduMux2_ContainedTxPdu_Config_Cmd_t *cmd = containedTxPduCmd;
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, cmd, CONTAINED_TX, &port));
  QXSIM_TRY(enumerated(cmd->CollectionSemantics, "CollectionSemantics"));
  QXSIM_TRY(enumerated(cmd->Trigger, "Trigger"));
  QXSIM_TRY(known(port, CONTAINER_TX, cmd->ContainerTxPduId));
  return add_entry(port, CONTAINED_TX, cmd->ContainedTxPduId);
}

Qx_Error_t sim_Qx_Trovix_PduMux2_ContainedRxPduPool_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainedRxPduPool_Config_Cmd_t const *const containedRxPduPoolCmd) {
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, containedRxPduPoolCmd, POOL, &port));
  return add_entry(port, POOL, containedRxPduPoolCmd->ContainedRxPduPoolId);
}

Qx_Error_t sim_Qx_Trovix_PduMux2_ContainerRxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainerRxPdu_Config_Cmd_t const *const containerRxPduCmd) {
  const Qx_Trovix_PduMux2_ContainerRxPdu_Config_Cmd_t *cmd = containerRxPduCmd;
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, cmd, CONTAINER_RX, &port));
  QXSIM_TRY(enumerated(cmd->HeaderType, "HeaderType"));
  QXSIM_TRY(enumerated(cmd->HeaderByteOrder, "HeaderByteOrder"));
  QXSIM_TRY(enumerated(cmd->ContainerRxAcceptionMode, "ContainerRxAcceptionMode"));
  QXSIM_TRY(known(port, POOL, cmd->ContainedRxPduPoolId));
  return add_entry(port, CONTAINER_RX, cmd->ContainerRxPduId);
}

Qx_Error_t sim_Qx_Trovix_PduMux2_ContainedRxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduMux2_ContainedRxPdu_Config_Cmd_t const *const containedRxPduCmd) {
  const Qx_Trovix_PduMux2_ContainedRxPdu_Config_Cmd_t *cmd = containedRxPduCmd;
  ipdum_port *port;
  QXSIM_TRY(entry_port(portHandle, cmd, CONTAINED_RX, &port));
  QXSIM_TRY(known(port, POOL, cmd->ContainedRxPduPoolId));
  QXSIM_TRY(known(port, CONTAINER_RX, cmd->ContainerRxPduId));
  return add_entry(port, CONTAINED_RX, cmd->ContainedRxPduId);
}
