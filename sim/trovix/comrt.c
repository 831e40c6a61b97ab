/* Simulated Trovix Com run time: Com is started by Qx_Trovix_Com_Init and
 * stopped by Qx_Trovix_Com_DeInit, and the run-time calls are accepted only
 * in between. Each transmit PDU configured in comcfg.c has its data (filled
 * with its UnusedAreasDefault when Com starts), which a read answers with
 * what was written, and its properties: the time periods of its two
 * transmission modes and its current length (at most its PduLength), which
 * a property read answers with what was set. Ramps are configured for
 * configured transmit-PDU signals, Com running or not, and started and
 * stopped while it runs. */
#include <string.h>

#include "com_sim.h"

#define COMRT_SIM_PDUS 64u
#define COMRT_SIM_PDU_BYTES 256u
#define COMRT_SIM_RAMPS 16u

typedef struct {
  u32_t id;
  u32_t capacity;  /* PduLength */
  u32_t length;    /* current length */
  u32_t period[2]; /* time period in the false and the true state */
  u8_t data[COMRT_SIM_PDU_BYTES];
} comrt_pdu;

typedef struct {
  u32_t pdu, signal;
} comrt_ramp;

typedef struct {
  u32_t handle; /* 0: slot free */
  int started;
  u32_t pdu_count;
  comrt_pdu pdus[COMRT_SIM_PDUS];
  u32_t ramp_count;
  comrt_ramp ramps[COMRT_SIM_RAMPS];
} comrt_port;

static comrt_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t comrt_state(u32_t handle, comrt_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  return qxsim_port_state(&table, handle, port);
}

/* The port, with Com started. */
static uint32_t started(u32_t handle, comrt_port **port) {
  QXSIM_TRY(comrt_state(handle, port));
  return (*port)->started ? 0 : qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Com is not started");
}

/* The run-time state of the configured transmit PDU `id` (made on its first
 * use after Com started). */
static uint32_t tx_pdu(u32_t handle, comrt_port *port, u32_t id, comrt_pdu **pdu) {
  com_sim_tx_pdu info;
  u32_t i;
  QXSIM_TRY(com_sim_tx_pdu_of(handle, id, &info));
  for (i = 0; i < port->pdu_count; i++)
    if (port->pdus[i].id == id) {
      *pdu = &port->pdus[i];
      return 0;
    }
  if (info.length > COMRT_SIM_PDU_BYTES)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "transmit PDU %u has %u bytes, the stack holds at most %u",
                      (unsigned)id, (unsigned)info.length, COMRT_SIM_PDU_BYTES);
  if (port->pdu_count >= COMRT_SIM_PDUS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the stack runs at most %u transmit PDUs", COMRT_SIM_PDUS);
  *pdu = &port->pdus[port->pdu_count++];
  (*pdu)->id = id;
  (*pdu)->capacity = (*pdu)->length = info.length;
  memcpy((*pdu)->period, info.period, sizeof info.period);
  memset((*pdu)->data, info.unused_default, sizeof (*pdu)->data);
  return 0;
}

/* ---- start and stop -------------------------------------------------------------- */

Qx_Error_t sim_Qx_Trovix_Com_Init(Qx_PortHandle_t portHandle) {
  comrt_port *port;
  QXSIM_TRY(comrt_state(portHandle, &port));
  if (port->started) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Com is started already");
  port->started = 1;
  port->pdu_count = 0;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_DeInit(Qx_PortHandle_t portHandle) {
  comrt_port *port;
  QXSIM_TRY(started(portHandle, &port));
  port->started = 0;
  return 0;
}

/* A configuration call: Com need not run. */
Qx_Error_t sim_Qx_Trovix_Com_Signal_RxPduSignal_Mapping(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Parameters_t const *const rxMappingParameters) {
  const Qx_Trovix_Com_Signal_RxPduSignal_Mapping_Parameters_t *m = rxMappingParameters;
  comrt_port *port;
  QXSIM_TRY(comrt_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(m, "mapping"));
  QXSIM_TRY(com_sim_pdu_signal(portHandle, 0, m->RxPduId, m->RxPduSignalId, NULL));
  return com_sim_map_signal(portHandle, m->SignalId, m->SignalMappingId);
}

/* ---- transmit PDU data ------------------------------------------------------------- */

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Write(Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Write_CmdFlags_t writeFlags,
                                         u32_t txPduId, u32_t txPduDataLength, u8_t const *const txPduData) {
  comrt_port *port;
  comrt_pdu *pdu = NULL;
  (void)writeFlags;
  QXSIM_TRY(started(portHandle, &port));
  QXSIM_TRY(tx_pdu(portHandle, port, txPduId, &pdu));
  if (txPduDataLength > pdu->length)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u bytes do not fit the %u of transmit PDU %u",
                      (unsigned)txPduDataLength, (unsigned)pdu->length, (unsigned)txPduId);
  if (txPduDataLength) {
    QXSIM_TRY(qxsim_need(txPduData, "data"));
    memcpy(pdu->data, txPduData, txPduDataLength);
  }
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Read(Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Read_CmdFlags_t readFlags,
                                        u32_t txPduId, u32_t *const txPduReadLength, u8_t *const txPduReadData) {
  comrt_port *port;
  comrt_pdu *pdu = NULL;
  (void)readFlags;
  QXSIM_TRY(started(portHandle, &port));
  QXSIM_TRY(tx_pdu(portHandle, port, txPduId, &pdu));
  if (!txPduReadLength) return txPduReadData ? qxsim_need(0, "length cell") : 0;
  if (txPduReadData) {
    if (*txPduReadLength < pdu->length)
      return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "room for %u bytes, transmit PDU %u has %u",
                        (unsigned)*txPduReadLength, (unsigned)txPduId, (unsigned)pdu->length);
    memcpy(txPduReadData, pdu->data, pdu->length);
  }
  *txPduReadLength = pdu->length;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Send(Qx_PortHandle_t portHandle, u32_t txPduId) {
  comrt_port *port;
  comrt_pdu *pdu = NULL;
  QXSIM_TRY(started(portHandle, &port));
  return tx_pdu(portHandle, port, txPduId, &pdu);
}

/* ---- PDU counters and injected errors ----------------------------------------------- */

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_PduCounter_Increment(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_PduCounter_Increment_Parameters_t const *const incrementParameters) {
  const Qx_Trovix_Com_TxPdu_PduCounter_Increment_Parameters_t *c = incrementParameters;
  comrt_port *port;
  com_sim_tx_pdu info;
  QXSIM_TRY(started(portHandle, &port));
  QXSIM_TRY(qxsim_need(c, "increment"));
  QXSIM_TRY(com_sim_tx_pdu_of(portHandle, c->TxPduId, &info));
  if (!info.counter || info.counter_signal != c->TxPduSignalId)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "transmit PDU %u has no PDU counter in signal %u", (unsigned)c->TxPduId,
                      (unsigned)c->TxPduSignalId);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Checksum_Error(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Checksum_Error_Parameters_t const *const checksumErrorParameters) {
  const Qx_Trovix_Com_TxPdu_Checksum_Error_Parameters_t *e = checksumErrorParameters;
  comrt_port *port;
  QXSIM_TRY(started(portHandle, &port));
  QXSIM_TRY(qxsim_need(e, "checksum error"));
  QXSIM_TRY(com_sim_pdu_signal(portHandle, 1, e->TxPduId, e->TxPduSignalId, NULL));
  if (e->ErrorMode > QX_TROVIX__CHECKSUM__ERROR_MODE__ADD_ONE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown checksum error mode %u", (unsigned)e->ErrorMode);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Transmit_Error(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Transmit_Error_Parameters_t const *const transmitErrorParameters) {
  const Qx_Trovix_Com_TxPdu_Transmit_Error_Parameters_t *e = transmitErrorParameters;
  comrt_port *port;
  com_sim_tx_pdu info;
  QXSIM_TRY(started(portHandle, &port));
  QXSIM_TRY(qxsim_need(e, "transmit error"));
  QXSIM_TRY(com_sim_tx_pdu_of(portHandle, e->TxPduId, &info));
  if (e->ErrorMode > QX_TROVIX__TRANSMIT__ERROR_MODE__DISABLE_TRANSMIT)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown transmit error mode %u", (unsigned)e->ErrorMode);
  return 0;
}

/* ---- ramps ----------------------------------------------------------------------------- */

static int ramp_index(const comrt_port *port, u32_t pdu, u32_t signal) {
  u32_t i;
  for (i = 0; i < port->ramp_count; i++)
    if (port->ramps[i].pdu == pdu && port->ramps[i].signal == signal) return (int)i;
  return -1;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Ramp_Config(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t const *const rampConfigCmd) {
  const Qx_Trovix_Com_TxPdu_Ramp_Config_Cmd_t *r = rampConfigCmd;
  comrt_port *port;
  QXSIM_TRY(comrt_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(r, "ramp"));
  QXSIM_TRY(com_sim_pdu_signal(portHandle, 1, r->TxPduId, r->TxPduSignalId, NULL));
  if (r->RampType >= QX_TROVIX__RAMP_TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown ramp type %u", (unsigned)r->RampType);
  if (r->RampDirection >= QX_TROVIX__RAMP_DIRECTION__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown ramp direction %u", (unsigned)r->RampDirection);
  if (!(r->Min <= r->Max))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Min %g is not at most Max %g", r->Min, r->Max);
  if (ramp_index(port, r->TxPduId, r->TxPduSignalId) >= 0) return 0;
  if (port->ramp_count >= COMRT_SIM_RAMPS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the stack holds at most %u ramps", COMRT_SIM_RAMPS);
  port->ramps[port->ramp_count].pdu = r->TxPduId;
  port->ramps[port->ramp_count++].signal = r->TxPduSignalId;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Ramp_Control(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_Com_TxPdu_Ramp_Control_CmdFlags_t rampControlFlags,
                                                u8_t numberOfRamps,
                                                Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t const *const ramps) {
  comrt_port *port;
  u32_t i;
  (void)rampControlFlags;
  QXSIM_TRY(started(portHandle, &port));
  if (numberOfRamps) QXSIM_TRY(qxsim_need(ramps, "ramps"));
  for (i = 0; i < numberOfRamps; i++) {
    if (ramp_index(port, ramps[i].TxPduId, ramps[i].TxPduSignalId) < 0)
      return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "ramp %u: no ramp configured for signal %u of transmit PDU %u",
                        (unsigned)i, (unsigned)ramps[i].TxPduSignalId, (unsigned)ramps[i].TxPduId);
    if (ramps[i].Mode >= QX_TROVIX__COM__TX_PDU__RAMP__CONTROL__MODE__UNKNOWN)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "ramp %u: unknown mode %u", (unsigned)i,
                        (unsigned)ramps[i].Mode);
  }
  return 0;
}

/* ---- properties ------------------------------------------------------------------------- */

/* The cell of property `id` of the PDU. */
static uint32_t property(comrt_pdu *pdu, u32_t id, u32_t **cell) {
  switch (id) {
    case QX_TROVIX__COM__TX_PDU__PROPERTY_ID__TX_MODE__TRUE__TIME_PERIOD: *cell = &pdu->period[1]; return 0;
    case QX_TROVIX__COM__TX_PDU__PROPERTY_ID__TX_MODE__FALSE__TIME_PERIOD: *cell = &pdu->period[0]; return 0;
    case QX_TROVIX__COM__TX_PDU__PROPERTY_ID__PDU_LENGTH__CURRENT: *cell = &pdu->length; return 0;
    default: return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown property %u", (unsigned)id);
  }
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Property_SetById(Qx_PortHandle_t portHandle, u32_t txPduId, u32_t txPduPropertyId,
                                                    u32_t txPduPropertyValue) {
  comrt_port *port;
  comrt_pdu *pdu = NULL;
  u32_t *cell = NULL;
  QXSIM_TRY(started(portHandle, &port));
  QXSIM_TRY(tx_pdu(portHandle, port, txPduId, &pdu));
  QXSIM_TRY(property(pdu, txPduPropertyId, &cell));
  if (cell == &pdu->length && txPduPropertyValue > pdu->capacity)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u bytes asked for, transmit PDU %u has %u",
                      (unsigned)txPduPropertyValue, (unsigned)txPduId, (unsigned)pdu->capacity);
  *cell = txPduPropertyValue;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Property_GetById(Qx_PortHandle_t portHandle, u32_t txPduId, u32_t txPduPropertyId,
                                                    u32_t *const txPduPropertyValue) {
  comrt_port *port;
  comrt_pdu *pdu = NULL;
  u32_t *cell = NULL;
  QXSIM_TRY(started(portHandle, &port));
  QXSIM_TRY(tx_pdu(portHandle, port, txPduId, &pdu));
  QXSIM_TRY(property(pdu, txPduPropertyId, &cell));
  if (txPduPropertyValue) *txPduPropertyValue = *cell;
  return 0;
}
