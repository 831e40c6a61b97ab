/* Simulated Trovix Com configuration: the transmit PDU, receive PDU,
 * PDU-group and Com signal tables (sized by the MaxNumber calls, keyed by
 * identifier), the transmission modes and PDU counter of each transmit PDU,
 * the signals of each PDU (as many as its NumberOfSignals, inside its
 * length), the mappings of each Com signal (as many as its
 * NumberOfMappings) and the PDU and signal gateways between configured
 * PDUs and signals. */
#include <string.h>

#include "com_sim.h"
#include "trovix_tables.h"

#define COMCFG_SIM_PDUS 64u
#define COMCFG_SIM_GROUPS 16u
#define COMCFG_SIM_SIGNALS 256u
#define COMCFG_SIM_GROUP_IDS 1024u
#define COMCFG_SIM_PDU_SIGNALS 128u /* signals of all PDUs of one direction */
#define COMCFG_SIM_MAPPINGS 8u      /* mappings of one Com signal */

typedef struct {
  u32_t id;
  u32_t length;
  u8_t unused_default;
  u8_t mode[2];      /* transmission mode in the false and the true state */
  u32_t period[2];   /* its time period */
  u32_t signals;     /* NumberOfSignals */
  int counter;       /* a PDU counter is configured */
  u32_t counter_signal;
} comcfg_pdu;

typedef struct {
  u32_t pdu, id, bits;
} comcfg_pdu_signal;

typedef struct {
  u32_t id;
  u32_t mappings; /* NumberOfMappings */
  u32_t mapped;
  u32_t mapping_ids[COMCFG_SIM_MAPPINGS];
} comcfg_signal;

typedef struct {
  u32_t capacity, count;
  comcfg_pdu entries[COMCFG_SIM_PDUS];
  u32_t signal_count;
  comcfg_pdu_signal signals[COMCFG_SIM_PDU_SIGNALS];
} comcfg_pdu_table;

typedef struct {
  u32_t handle; /* 0: slot free */
  comcfg_pdu_table tx, rx;
  u32_t group_capacity, group_count;
  u32_t groups[COMCFG_SIM_GROUPS];
  u32_t signal_capacity, signal_count;
  comcfg_signal signals[COMCFG_SIM_SIGNALS];
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
  return trovix_table_size("Com signals", &port->signal_capacity, port->signal_count, maxNumberOfComSignals, COMCFG_SIM_SIGNALS);
}

/* ---- PDUs ----------------------------------------------------------------------- */

static uint32_t configure_pdu(comcfg_port *port, int transmit, u32_t id, u32_t length, u8_t type, u32_t signals,
                              u8_t unused_default) {
  comcfg_pdu_table *pdus = transmit ? &port->tx : &port->rx;
  int found = pdu_index(pdus, id);
  u32_t slot = 0;
  if (type >= QX_TROVIX__COM__PDU_TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown PDU type %u", (unsigned)type);
  QXSIM_TRY(trovix_table_slot(transmit ? "transmit PDU" : "receive PDU", pdus->capacity, &pdus->count, found, &slot));
  if (found < 0) memset(&pdus->entries[slot], 0, sizeof pdus->entries[slot]);
  pdus->entries[slot].id = id;
  pdus->entries[slot].length = length;
  pdus->entries[slot].signals = signals;
  pdus->entries[slot].unused_default = unused_default;
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
                       comTxPduParameters->PduType, comTxPduParameters->NumberOfSignals,
                       comTxPduParameters->UnusedAreasDefault);
}

Qx_Error_t sim_Qx_Trovix_Com_RxPdu_Config(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_Com_RxPdu_Config_Parameters_t const *const comRxPduParameters) {
  comcfg_port *port;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(comRxPduParameters, "receive PDU"));
  return configure_pdu(port, 0, comRxPduParameters->RxPduId, comRxPduParameters->PduLength,
                       comRxPduParameters->PduType, comRxPduParameters->NumberOfSignals, 0);
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
  pdu->period[state] = mode->TimePeriod;
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

/* ---- signals of the PDUs --------------------------------------------------------- */

static const char *direction(int transmit) { return transmit ? "transmit" : "receive"; }

static int pdu_signal_index(const comcfg_pdu_table *pdus, u32_t pdu, u32_t id) {
  u32_t i;
  for (i = 0; i < pdus->signal_count; i++)
    if (pdus->signals[i].pdu == pdu && pdus->signals[i].id == id) return (int)i;
  return -1;
}

static uint32_t configured_pdu(comcfg_port *port, int transmit, u32_t id, comcfg_pdu **pdu) {
  comcfg_pdu_table *pdus = transmit ? &port->tx : &port->rx;
  int index = pdu_index(pdus, id);
  if (index < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown %s PDU %u", direction(transmit), (unsigned)id);
  *pdu = &pdus->entries[index];
  return 0;
}

/* The members that both signal records share. */
typedef struct {
  u32_t pdu, id;
  u16_t bit_position, bit_size;
  u8_t endianness, type;
} signal_fields;

/* Keys a PDU signal by (PDU, signal): the bits must lie inside the PDU and a
 * new signal needs room among the PDU's NumberOfSignals. */
static uint32_t configure_pdu_signal(u32_t handle, int transmit, const signal_fields *f) {
  comcfg_port *port;
  comcfg_pdu *pdu = NULL;
  comcfg_pdu_table *pdus;
  u32_t i, used = 0;
  int found;
  QXSIM_TRY(comcfg_state(handle, &port));
  QXSIM_TRY(configured_pdu(port, transmit, f->pdu, &pdu));
  pdus = transmit ? &port->tx : &port->rx;
  if (f->endianness > QX_TROVIX__ENDIANNESS__OPAQUE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown endianness %u", (unsigned)f->endianness);
  if (f->type >= QX_TROVIX__SIGNAL__TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown signal type %u", (unsigned)f->type);
  if (f->bit_size == 0 || (uint64_t)f->bit_position + f->bit_size > (uint64_t)pdu->length * 8u)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u bits at bit %u do not fit the %u bytes of %s PDU %u",
                      (unsigned)f->bit_size, (unsigned)f->bit_position, (unsigned)pdu->length, direction(transmit),
                      (unsigned)f->pdu);
  found = pdu_signal_index(pdus, f->pdu, f->id);
  if (found < 0) {
    for (i = 0; i < pdus->signal_count; i++) used += pdus->signals[i].pdu == f->pdu;
    if (used >= pdu->signals)
      return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s PDU %u has all its %u signals", direction(transmit),
                        (unsigned)f->pdu, (unsigned)pdu->signals);
    if (pdus->signal_count >= COMCFG_SIM_PDU_SIGNALS)
      return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the stack holds at most %u %s PDU signals",
                        COMCFG_SIM_PDU_SIGNALS, direction(transmit));
    found = (int)pdus->signal_count++;
  }
  pdus->signals[found].pdu = f->pdu;
  pdus->signals[found].id = f->id;
  pdus->signals[found].bits = f->bit_size;
  return 0;
}

uint32_t com_sim_pdu_signal(u32_t handle, int transmit, u32_t pdu, u32_t signal, u32_t *bits) {
  comcfg_port *port;
  comcfg_pdu_table *pdus;
  int found;
  QXSIM_TRY(comcfg_state(handle, &port));
  pdus = transmit ? &port->tx : &port->rx;
  found = pdu_signal_index(pdus, pdu, signal);
  if (found < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown signal %u of %s PDU %u", (unsigned)signal, direction(transmit),
                      (unsigned)pdu);
  if (bits) *bits = pdus->signals[found].bits;
  return 0;
}

uint32_t com_sim_tx_pdu_of(u32_t handle, u32_t id, com_sim_tx_pdu *info) {
  comcfg_port *port;
  comcfg_pdu *pdu = NULL;
  QXSIM_TRY(comcfg_state(handle, &port));
  QXSIM_TRY(known_tx_pdu(port, id, &pdu));
  info->length = pdu->length;
  info->unused_default = pdu->unused_default;
  memcpy(info->period, pdu->period, sizeof info->period);
  info->counter = pdu->counter;
  info->counter_signal = pdu->counter_signal;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Signal(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_Com_TxPdu_Signal_Parameters_t const *const txPduSignalParameters) {
  const Qx_Trovix_Com_TxPdu_Signal_Parameters_t *s = txPduSignalParameters;
  signal_fields f;
  QXSIM_TRY(qxsim_need(s, "transmit PDU signal"));
  if (s->TransferProperty >= QX_TROVIX__COM__TRANSFER_PROPERTY__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown transfer property %u", (unsigned)s->TransferProperty);
  f = (signal_fields){s->TxPduId, s->TxPduSignalId, s->BitPosition, s->BitSize, s->Endianness, s->SignalType};
  return configure_pdu_signal(portHandle, 1, &f);
}

Qx_Error_t sim_Qx_Trovix_Com_RxPdu_Signal(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_Com_RxPdu_Signal_Parameters_t const *const rxPduSignalParameters) {
  const Qx_Trovix_Com_RxPdu_Signal_Parameters_t *s = rxPduSignalParameters;
  signal_fields f;
  QXSIM_TRY(qxsim_need(s, "receive PDU signal"));
  f = (signal_fields){s->RxPduId, s->RxPduSignalId, s->BitPosition, s->BitSize, s->Endianness, s->SignalType};
  return configure_pdu_signal(portHandle, 0, &f);
}

/* A value of `size` bytes must cover the signal's bits. */
static uint32_t value_covers(const u8_t *data, u32_t size, u32_t bits) {
  QXSIM_TRY(qxsim_need(data, "data"));
  if ((uint64_t)size * 8u < bits)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "%u bytes do not hold the signal's %u bits", (unsigned)size,
                      (unsigned)bits);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Signal_Write(Qx_PortHandle_t portHandle, u32_t txPduId, u32_t txPduSignalId,
                                                u16_t txPduSignalDataSize, u8_t const *const txPduSignalData) {
  u32_t bits = 0;
  QXSIM_TRY(com_sim_pdu_signal(portHandle, 1, txPduId, txPduSignalId, &bits));
  return value_covers(txPduSignalData, txPduSignalDataSize, bits);
}

/* ---- Com signals and their mappings -------------------------------------------- */

static comcfg_signal *com_signal(comcfg_port *port, u32_t id) {
  u32_t i;
  for (i = 0; i < port->signal_count; i++)
    if (port->signals[i].id == id) return &port->signals[i];
  return NULL;
}

static uint32_t known_com_signal(comcfg_port *port, u32_t id, comcfg_signal **signal) {
  *signal = com_signal(port, id);
  return *signal ? 0 : qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown Com signal %u", (unsigned)id);
}

Qx_Error_t sim_Qx_Trovix_Com_Signal_Config(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_Com_Signal_Config_Parameters_t const *const comSignalParameters) {
  const Qx_Trovix_Com_Signal_Config_Parameters_t *s = comSignalParameters;
  comcfg_port *port;
  comcfg_signal *signal;
  u32_t slot = 0;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(s, "Com signal"));
  if (s->SignalType >= QX_TROVIX__SIGNAL__TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown signal type %u", (unsigned)s->SignalType);
  if (s->SignalLengthType >= QX_TROVIX__SIGNAL__LENGTH_TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown signal length type %u", (unsigned)s->SignalLengthType);
  if (s->NumberOfMappings > COMCFG_SIM_MAPPINGS)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u mappings asked for, the stack holds at most %u",
                      (unsigned)s->NumberOfMappings, COMCFG_SIM_MAPPINGS);
  signal = com_signal(port, s->SignalId);
  QXSIM_TRY(trovix_table_slot("Com signal", port->signal_capacity, &port->signal_count,
                              signal ? (int)(signal - port->signals) : -1, &slot));
  memset(&port->signals[slot], 0, sizeof port->signals[slot]);
  port->signals[slot].id = s->SignalId;
  port->signals[slot].mappings = s->NumberOfMappings;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_Signal_WriteSignal(Qx_PortHandle_t portHandle, u16_t comSignalId, u16_t comSignalDataSize,
                                                u8_t const *const comSignalData) {
  comcfg_port *port;
  comcfg_signal *signal = NULL;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  QXSIM_TRY(known_com_signal(port, comSignalId, &signal));
  QXSIM_TRY(qxsim_need(comSignalData, "data"));
  if (!comSignalDataSize) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "no bytes to write");
  return 0;
}

uint32_t com_sim_map_signal(u32_t handle, u32_t id, u32_t mapping) {
  comcfg_port *port;
  comcfg_signal *signal = NULL;
  u32_t i;
  QXSIM_TRY(comcfg_state(handle, &port));
  QXSIM_TRY(known_com_signal(port, id, &signal));
  for (i = 0; i < signal->mapped; i++)
    if (signal->mapping_ids[i] == mapping) return 0;
  if (signal->mapped >= signal->mappings)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Com signal %u has all its %u mappings", (unsigned)id,
                      (unsigned)signal->mappings);
  signal->mapping_ids[signal->mapped++] = mapping;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_Signal_TxPduSignal_Mapping(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Parameters_t const *const txMappingParameters) {
  const Qx_Trovix_Com_Signal_TxPduSignal_Mapping_Parameters_t *m = txMappingParameters;
  QXSIM_TRY(qxsim_need(m, "mapping"));
  QXSIM_TRY(com_sim_pdu_signal(portHandle, 1, m->TxPduId, m->TxPduSignalId, NULL));
  return com_sim_map_signal(portHandle, m->SignalId, m->SignalMappingId);
}

/* ---- gateways ----------------------------------------------------------------------- */

Qx_Error_t sim_Qx_Trovix_Com_PduGateway_Mapping_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_PduGateway_Mapping_Config_Parameters_t const *const pduGatewayParameters) {
  const Qx_Trovix_Com_PduGateway_Mapping_Config_Parameters_t *g = pduGatewayParameters;
  comcfg_port *port;
  comcfg_pdu *pdu = NULL;
  QXSIM_TRY(comcfg_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(g, "PDU gateway"));
  QXSIM_TRY(configured_pdu(port, 0, g->RxPduId, &pdu));
  QXSIM_TRY(configured_pdu(port, 1, g->TxPduId, &pdu));
  if (g->TransferProperty >= QX_TROVIX__COM__TRANSFER_PROPERTY__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown transfer property %u", (unsigned)g->TransferProperty);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_SignalGateway_Mapping_Config(
    Qx_PortHandle_t portHandle,
    Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t const *const signalGatewayParameters) {
  const Qx_Trovix_Com_SignalGateway_Mapping_Config_Parameters_t *g = signalGatewayParameters;
  QXSIM_TRY(qxsim_need(g, "signal gateway"));
  QXSIM_TRY(com_sim_pdu_signal(portHandle, 0, g->RxPduId, g->RxPduSignalId, NULL));
  return com_sim_pdu_signal(portHandle, 1, g->TxPduId, g->TxPduSignalId, NULL);
}
