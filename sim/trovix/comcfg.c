/* Simulated Trovix Com PDU configuration: the transmit PDU, receive PDU and
 * PDU-group tables (sized by the MaxNumber calls, keyed by identifier), the
 * transmission modes and PDU counter of each transmit PDU, and the size of
 * the Com signal table. */
#include <string.h>

#include "comcfg_sim.h"
#include "trovix_tables.h"

#define COMCFG_SIM_PDUS 64u
#define COMCFG_SIM_GROUPS 16u
#define COMCFG_SIM_SIGNALS 256u
#define COMCFG_SIM_GROUP_IDS 1024u

typedef struct {
  u32_t id;
  u32_t length;
  u8_t mode[2]; /* transmission mode in the false and the true state */
  int counter;  /* a PDU counter is configured */
  u32_t counter_signal;
} comcfg_pdu;

typedef struct {
  u32_t capacity, count;
  comcfg_pdu entries[COMCFG_SIM_PDUS];
} comcfg_pdu_table;

typedef struct {
  u32_t handle; /* 0: slot free */
  comcfg_pdu_table tx, rx;
  u32_t group_capacity, group_count;
  u32_t groups[COMCFG_SIM_GROUPS];
  u32_t signal_capacity;
} comcfg_port;

static comcfg_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t comcfg_state(u32_t handle, comcfg_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  return qxsim_port_state(&table, handle, port);
}

static int pdu_index(const comcfg_pdu_table *pdus, u32_t id) {
  u32_t i;
  for (i = 0; i < pdus->count; i++)
    if (pdus->entries[i].id == id) return (int)i;
  return -1;
}

static uint32_t known_tx_pdu(comcfg_port *port, u32_t id, comcfg_pdu **pdu) {
  int index = pdu_index(&port->tx, id);
  if (index < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown transmit PDU %u", (unsigned)id);
  *pdu = &port->tx.entries[index];
  return 0;
}

/* ---- table sizes ------------------------------------------------------------- */

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComTxPdus) {
  comcfg_port *port;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  return trovix_table_size("transmit PDUs", &port->tx.capacity, port->tx.count, maxNumberOfComTxPdus, COMCFG_SIM_PDUS);
}

Qx_Error_t sim_Qx_Trovix_Com_RxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComRxPdus) {
  comcfg_port *port;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  return trovix_table_size("receive PDUs", &port->rx.capacity, port->rx.count, maxNumberOfComRxPdus, COMCFG_SIM_PDUS);
}

Qx_Error_t sim_Qx_Trovix_Com_PduGroup_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComPduGroups) {
  comcfg_port *port;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  return trovix_table_size("PDU groups", &port->group_capacity, port->group_count, maxNumberOfComPduGroups,
                           COMCFG_SIM_GROUPS);
}

Qx_Error_t sim_Qx_Trovix_Com_Signal_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfComSignals) {
  comcfg_port *port;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  return trovix_table_size("Com signals", &port->signal_capacity, 0, maxNumberOfComSignals, COMCFG_SIM_SIGNALS);
}

/* ---- PDUs ----------------------------------------------------------------------- */

static uint32_t configure_pdu(comcfg_port *port, int transmit, u32_t id, u32_t length, u8_t type) {
  comcfg_pdu_table *pdus = transmit ? &port->tx : &port->rx;
  int found = pdu_index(pdus, id);
  u32_t slot = 0;
  if (type >= QX_TROVIX__COM__PDU_TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown PDU type %u", (unsigned)type);
  QXSIM_TRY(trovix_table_slot(transmit ? "transmit PDU" : "receive PDU", pdus->capacity, &pdus->count, found, &slot));
  if (found < 0) memset(&pdus->entries[slot], 0, sizeof pdus->entries[slot]);
  pdus->entries[slot].id = id;
  pdus->entries[slot].length = length;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Config(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_Com_TxPdu_Config_Parameters_t const *const comTxPduParameters) {
  comcfg_port *port;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(comTxPduParameters, "transmit PDU"));
  if (comTxPduParameters->ClearUpdateBit >= QX_TROVIX__COM__TX_PDU__CLEAR_UPDATE_BIT__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown ClearUpdateBit %u",
                      (unsigned)comTxPduParameters->ClearUpdateBit);
  return configure_pdu(port, 1, comTxPduParameters->TxPduId, comTxPduParameters->PduLength,
                       comTxPduParameters->PduType);
}

Qx_Error_t sim_Qx_Trovix_Com_RxPdu_Config(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_Com_RxPdu_Config_Parameters_t const *const comRxPduParameters) {
  comcfg_port *port;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(comRxPduParameters, "receive PDU"));
  return configure_pdu(port, 0, comRxPduParameters->RxPduId, comRxPduParameters->PduLength,
                       comRxPduParameters->PduType);
}

/* ---- PDU groups: the identifiers are the group's subgroups, then its
 * transmit PDUs, then its receive PDUs; each PDU must be configured. ---- */

Qx_Error_t sim_Qx_Trovix_Com_PduGroup_Config(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_Com_PduGroup_Config_Parameters_t const *const pduGroupParameters) {
  comcfg_port *port;
  const Qx_Trovix_Com_PduGroup_Config_Parameters_t *group = pduGroupParameters;
  u32_t i, slot = 0, first_rx;
  int found = -1;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(group, "PDU group"));
  if ((uint64_t)group->NumberOfPduGroups + group->NumberOfTxPdus + group->NumberOfRxPdus > COMCFG_SIM_GROUP_IDS)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u + %u + %u identifiers do not fit the %u of the table",
                      (unsigned)group->NumberOfPduGroups, (unsigned)group->NumberOfTxPdus,
                      (unsigned)group->NumberOfRxPdus, COMCFG_SIM_GROUP_IDS);
  first_rx = group->NumberOfPduGroups + group->NumberOfTxPdus;
  for (i = group->NumberOfPduGroups; i < first_rx + group->NumberOfRxPdus; i++) {
    int transmit = i < first_rx;
    if (pdu_index(transmit ? &port->tx : &port->rx, group->Ids[i]) < 0)
      return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "identifier %u: unknown %s PDU %u", (unsigned)i,
                        transmit ? "transmit" : "receive", (unsigned)group->Ids[i]);
  }
  for (i = 0; i < port->group_count && found < 0; i++)
    if (port->groups[i] == group->PduGroupId) found = (int)i;
  QXSIM_TRY(trovix_table_slot("PDU group", port->group_capacity, &port->group_count, found, &slot));
  port->groups[slot] = group->PduGroupId;
  return 0;
}

/* ---- transmission modes and PDU counters ------------------------------------------ */

static uint32_t tx_mode(u32_t handle, int state, const Qx_Trovix_Com_TxPdu_TxMode_Parameters_t *mode) {
  comcfg_port *port;
  comcfg_pdu *pdu = NULL;
  QXSIM_TRY(comcfg_state(handle, &port));
  QXSIM_TRY(qxsim_need(mode, "transmission mode"));
  QXSIM_TRY(known_tx_pdu(port, mode->TxPduId, &pdu));
  if (mode->TxMode >= QX_TROVIX__COM__TX_MODE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown transmission mode %u", (unsigned)mode->TxMode);
  pdu->mode[state] = mode->TxMode;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_TxMode_True(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_Com_TxPdu_TxMode_Parameters_t const *const txModeTrue) {
  return tx_mode(portHandle, 1, txModeTrue);
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_TxMode_False(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_Com_TxPdu_TxMode_Parameters_t const *const txModeFalse) {
  return tx_mode(portHandle, 0, txModeFalse);
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_PduCounter(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_PduCounter_Parameters_t const *const pduCounterParameters) {
  comcfg_port *port;
  comcfg_pdu *pdu = NULL;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(pduCounterParameters, "PDU counter"));
  QXSIM_TRY(known_tx_pdu(port, pduCounterParameters->TxPduId, &pdu));
  pdu->counter = 1;
  pdu->counter_signal = pduCounterParameters->TxPduSignalId;
  return 0;
}

/* ---- for the other Com families ------------------------------------------------- */

uint32_t comcfg_sim_tx_pdu_length(u32_t handle, u32_t id, u32_t *length) {
  comcfg_port *port;
  comcfg_pdu *pdu = NULL;
  QXSIM_TRY(comcfg_state(handle, &port));
  QXSIM_TRY(known_tx_pdu(port, id, &pdu));
  *length = pdu->length;
  return 0;
}
