/* Simulated Trovix FlexRay interface: the clusters and their controllers
 * (keyed by ClusterId and ControllerId), the PDUs, LPDUs, placements of PDUs
 * in LPDUs and frame triggers (keyed by identifier) and the transmit and
 * receive PDU tables (sized by the MaxNumber calls, keyed by FrPduId). */
#include <string.h>

#include "trovix_tables.h"

#define FR_SIM_CLUSTERS 2u
#define FR_SIM_CONTROLLERS 4u
#define FR_SIM_ENTRIES 32u
/* Every entry record carries its key right behind its 32-bit Flags. */
#define FR_SIM_KEY_OFFSET 4u

/* An entry, kept as the record that configured it. */
typedef union {
  Qx_Trovix_FlexRayIf_Pdu_Config_Parameters_t pdu;
  Qx_Trovix_FlexRayIf_LPdu_Config_Parameters_t lpdu;
  Qx_Trovix_FlexRayIf_PduInLPdu_Config_Parameters_t placement;
  Qx_Trovix_FlexRayIf_FrameTrigger_Config_Parameters_t trigger;
  Qx_Trovix_FlexRayIf_TxPdu_Config_Parameters_t tx;
  Qx_Trovix_FlexRayIf_RxPdu_Config_Parameters_t rx;
} fr_entry;

typedef struct {
  u32_t capacity, count;
  fr_entry entries[FR_SIM_ENTRIES];
} fr_table;

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t cluster_count, controller_count;
  Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t clusters[FR_SIM_CLUSTERS];
  Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t controllers[FR_SIM_CONTROLLERS];
  fr_table pdus, lpdus, placements, triggers, tx, rx;
} fr_port;

static fr_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t fr_state(u32_t handle, fr_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  return qxsim_port_state(&table, handle, port);
}

static int cluster_index(const fr_port *port, u8_t id) {
  u32_t i;
  for (i = 0; i < port->cluster_count; i++)
    if (port->clusters[i].ClusterId == id) return (int)i;
  return -1;
}

static int controller_index(const fr_port *port, u8_t id) {
  u32_t i;
  for (i = 0; i < port->controller_count; i++)
    if (port->controllers[i].ControllerId == id) return (int)i;
  return -1;
}

/* A channel byte: a QX_TROVIX__FLEXRAY_IF__CHANNEL__ value. */
static uint32_t check_channel(const char *member, u8_t channel) {
  if (channel > QX_TROVIX__FLEXRAY_IF__CHANNEL__CHAB)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown %s %u", member, (unsigned)channel);
  return 0;
}

/* ---- cluster and controller ------------------------------------------------ */

Qx_Error_t sim_Qx_Trovix_FlexRayIf_Cluster_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t const *const clusterParameters) {
  fr_port *port;
  u32_t slot = 0;
  QXSIM_TRY(fr_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(clusterParameters, "cluster parameters"));
  QXSIM_TRY(check_channel("gChannel", clusterParameters->gChannel));
  QXSIM_TRY(trovix_table_slot("cluster", FR_SIM_CLUSTERS, &port->cluster_count,
                              cluster_index(port, clusterParameters->ClusterId), &slot));
  port->clusters[slot] = *clusterParameters;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_FlexRayIf_Controller_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t const *const controllerParameters) {
  fr_port *port;
  int cluster;
  u32_t slot = 0;
  QXSIM_TRY(fr_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(controllerParameters, "controller parameters"));
  cluster = cluster_index(port, controllerParameters->ClusterId);
  if (cluster < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "cluster %u is not configured", (unsigned)controllerParameters->ClusterId);
  QXSIM_TRY(check_channel("pChannels", controllerParameters->pChannels));
  QXSIM_TRY(check_channel("pWakeupChannel", controllerParameters->pWakeupChannel));
  QXSIM_TRY(trovix_table_slot("controller", FR_SIM_CONTROLLERS, &port->controller_count,
                              controller_index(port, controllerParameters->ControllerId), &slot));
  port->controllers[slot] = *controllerParameters;
  return 0;
}

/* ---- PDUs, LPDUs, placements, frame triggers, transmit and receive PDUs ------ */

/* Index of the entry whose key (`key_size` bytes behind Flags) is that of
 * `record`, or -1. */
static int find_entry(const fr_table *entries, const void *record, size_t key_size) {
  u32_t i;
  for (i = 0; i < entries->count; i++)
    if (!memcmp((const unsigned char *)&entries->entries[i] + FR_SIM_KEY_OFFSET,
                (const unsigned char *)record + FR_SIM_KEY_OFFSET, key_size))
      return (int)i;
  return -1;
}

/* Enters (or replaces) `record` of `size` bytes in a table that holds at most
 * `capacity` entries. */
static uint32_t store_entry(const char *what, fr_table *entries, u32_t capacity, const void *record, size_t size,
                            size_t key_size) {
  u32_t slot = 0;
  QXSIM_TRY(trovix_table_slot(what, capacity, &entries->count, find_entry(entries, record, key_size), &slot));
  memset(&entries->entries[slot], 0, sizeof entries->entries[slot]);
  memcpy(&entries->entries[slot], record, size);
  return 0;
}

/* The entry of identifier `id` in a table keyed by a 32-bit identifier, or
 * NULL. */
static const fr_entry *entry_of(const fr_table *entries, u32_t id) {
  unsigned char key[FR_SIM_KEY_OFFSET + sizeof id];
  int index;
  memcpy(key + FR_SIM_KEY_OFFSET, &id, sizeof id);
  index = find_entry(entries, key, sizeof id);
  return index < 0 ? NULL : &entries->entries[index];
}

static uint32_t known_controller(const fr_port *port, u8_t id) {
  if (controller_index(port, id) < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "controller %u is not configured", (unsigned)id);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_FlexRayIf_Pdu_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_FlexRayIf_Pdu_Config_Parameters_t const *const pduParameters) {
  fr_port *port;
  QXSIM_TRY(fr_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(pduParameters, "PDU parameters"));
  QXSIM_TRY(known_controller(port, pduParameters->ControllerId));
  return store_entry("PDU", &port->pdus, FR_SIM_ENTRIES, pduParameters, sizeof *pduParameters,
                     sizeof pduParameters->PduId);
}

Qx_Error_t sim_Qx_Trovix_FlexRayIf_LPdu_Config(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_FlexRayIf_LPdu_Config_Parameters_t const *const lPduParameters) {
  fr_port *port;
  QXSIM_TRY(fr_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(lPduParameters, "LPDU parameters"));
  QXSIM_TRY(known_controller(port, lPduParameters->ControllerId));
  if (lPduParameters->UnusedBitValue > 1)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "UnusedBitValue %u is not a bit value",
                      (unsigned)lPduParameters->UnusedBitValue);
  return store_entry("LPDU", &port->lpdus, FR_SIM_ENTRIES, lPduParameters, sizeof *lPduParameters,
                     sizeof lPduParameters->LPduId);
}

/* A placement is keyed by its PDU and LPDU; the PDU must fit the LPDU. */
Qx_Error_t sim_Qx_Trovix_FlexRayIf_PduInLPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayIf_PduInLPdu_Config_Parameters_t const *const pduInLPduParameters) {
  fr_port *port;
  const fr_entry *pdu_entry, *lpdu_entry;
  const Qx_Trovix_FlexRayIf_Pdu_Config_Parameters_t *pdu;
  const Qx_Trovix_FlexRayIf_LPdu_Config_Parameters_t *lpdu;
  QXSIM_TRY(fr_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(pduInLPduParameters, "PDU placement"));
  pdu_entry = entry_of(&port->pdus, pduInLPduParameters->PduId);
  if (!pdu_entry) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown PDU %u", (unsigned)pduInLPduParameters->PduId);
  lpdu_entry = entry_of(&port->lpdus, pduInLPduParameters->LPduId);
  if (!lpdu_entry)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown LPDU %u", (unsigned)pduInLPduParameters->LPduId);
  pdu = &pdu_entry->pdu;
  lpdu = &lpdu_entry->lpdu;
  if ((u32_t)pduInLPduParameters->BytePosition + pdu->ByteLengthMax > lpdu->ByteLengthMax)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "PDU %u of %u bytes at byte %u does not fit LPDU %u of %u bytes",
                      (unsigned)pdu->PduId, (unsigned)pdu->ByteLengthMax, (unsigned)pduInLPduParameters->BytePosition,
                      (unsigned)lpdu->LPduId, (unsigned)lpdu->ByteLengthMax);
  return store_entry("PDU placement", &port->placements, FR_SIM_ENTRIES, pduInLPduParameters,
                     sizeof *pduInLPduParameters, sizeof pduInLPduParameters->PduId + sizeof pduInLPduParameters->LPduId);
}

/* A trigger sends a configured LPDU, or a PDU immediately. */
Qx_Error_t sim_Qx_Trovix_FlexRayIf_FrameTrigger_Config(
    Qx_PortHandle_t portHandle,
    Qx_Trovix_FlexRayIf_FrameTrigger_Config_Parameters_t const *const frameTriggerParameters) {
  fr_port *port;
  u32_t id;
  QXSIM_TRY(fr_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(frameTriggerParameters, "frame trigger"));
  id = frameTriggerParameters->LPduId_ImmediatePduId;
  if (!entry_of(&port->lpdus, id) && !entry_of(&port->pdus, id))
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown LPDU or PDU %u", (unsigned)id);
  QXSIM_TRY(check_channel("Channel", frameTriggerParameters->Channel));
  if (frameTriggerParameters->BaseCycle >= frameTriggerParameters->CycleRepetition)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "BaseCycle %u is not below CycleRepetition %u",
                      (unsigned)frameTriggerParameters->BaseCycle, (unsigned)frameTriggerParameters->CycleRepetition);
  return store_entry("frame trigger", &port->triggers, FR_SIM_ENTRIES, frameTriggerParameters,
                     sizeof *frameTriggerParameters, sizeof id);
}

static uint32_t size_pdus(u32_t handle, int transmit, u32_t wanted) {
  fr_port *port;
  fr_table *pdus;
  QXSIM_TRY(fr_state(handle, &port));
  pdus = transmit ? &port->tx : &port->rx;
  return trovix_table_size(transmit ? "transmit PDUs" : "receive PDUs", &pdus->capacity, pdus->count, wanted,
                           FR_SIM_ENTRIES);
}

Qx_Error_t sim_Qx_Trovix_FlexRayIf_TxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfFrIfTxPdus) {
  return size_pdus(portHandle, 1, maxNumberOfFrIfTxPdus);
}

Qx_Error_t sim_Qx_Trovix_FlexRayIf_RxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfFrIfRxPdus) {
  return size_pdus(portHandle, 0, maxNumberOfFrIfRxPdus);
}

/* A transmit or receive PDU (`record`, of `size` bytes): keyed by FrPduId, a
 * configured PDU. */
static uint32_t configure_pdu(u32_t handle, int transmit, const void *record, size_t size, u32_t fr_pdu_id) {
  fr_port *port;
  fr_table *pdus;
  QXSIM_TRY(fr_state(handle, &port));
  QXSIM_TRY(qxsim_need(record, transmit ? "transmit PDU" : "receive PDU"));
  if (!entry_of(&port->pdus, fr_pdu_id))
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown PDU %u", (unsigned)fr_pdu_id);
  pdus = transmit ? &port->tx : &port->rx;
  return store_entry(transmit ? "transmit PDU" : "receive PDU", pdus, pdus->capacity, record, size, sizeof fr_pdu_id);
}

Qx_Error_t sim_Qx_Trovix_FlexRayIf_TxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayIf_TxPdu_Config_Parameters_t const *const frIfTxPduParameters) {
  return configure_pdu(portHandle, 1, frIfTxPduParameters, sizeof *frIfTxPduParameters,
                       frIfTxPduParameters ? frIfTxPduParameters->FrPduId : 0);
}

Qx_Error_t sim_Qx_Trovix_FlexRayIf_RxPdu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayIf_RxPdu_Config_Parameters_t const *const frIfRxPduParameters) {
  return configure_pdu(portHandle, 0, frIfRxPduParameters, sizeof *frIfRxPduParameters,
                       frIfRxPduParameters ? frIfRxPduParameters->FrPduId : 0);
}
