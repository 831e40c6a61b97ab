/* Simulated Trovix secure onboard communication: on each side (receive,
 * transmit) the authentic PDUs, secured PDUs and secured-PDU collections by
 * identifier, and the processings that join them. A processing needs its
 * authentic PDU, its secured PDU (or a collection whose authentic part it
 * names) and its crypto job configured first; freshness values belong to
 * the freshness value manager and are not looked up here. A transmit
 * processing keeps the error mode set on it, a receive processing its
 * verification statistics, which a reading answers with. */
#include <string.h>

#include "crypto_sim.h"
#include "trovix_tables.h"

#define SECOC_SIM_PDUS 16u
#define SECOC_SIM_PROCESSINGS 16u

/* Identifiers configured for one kind of entry. */
typedef struct {
  u32_t count;
  u32_t ids[SECOC_SIM_PDUS];
} secoc_ids;

typedef struct {
  u32_t id;
  Qx_Trovix_SecOc_GetVerificationStat_Rsp_t stat; /* receive side */
  u8_t error_mode;                                /* transmit side */
  u32_t error_cycles;
} secoc_processing;

typedef struct {
  const char *name; /* "receive" or "transmit" */
  secoc_ids authentic, secured;
  secoc_ids collections;                     /* by their authentic part */
  u32_t cryptographic_parts[SECOC_SIM_PDUS]; /* beside `collections` */
  u32_t processing_count;
  secoc_processing processings[SECOC_SIM_PROCESSINGS];
} secoc_side;

typedef struct {
  u32_t handle; /* 0: slot free */
  secoc_side rx, tx;
} secoc_port;

static void secoc_start(void *record) {
  secoc_port *port = record;
  port->rx.name = "receive";
  port->tx.name = "transmit";
}

static secoc_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, secoc_start, NULL);

/* The side `tx` of an initialised Trovix port, for a command given. */
static uint32_t secoc_side_of(u32_t handle, const void *command, int tx, secoc_side **side) {
  trovix_sim_port *stack;
  secoc_port *port;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_port_state(&table, handle, &port));
  *side = tx ? &port->tx : &port->rx;
  return 0;
}

static int id_index(const secoc_ids *ids, u32_t id) {
  u32_t i;
  for (i = 0; i < ids->count; i++)
    if (ids->ids[i] == id) return (int)i;
  return -1;
}

/* Adds `id` (kept where it is when known); its slot in *slot. */
static uint32_t id_add(const char *what, secoc_ids *ids, u32_t id, u32_t *slot) {
  QXSIM_TRY(trovix_table_slot(what, SECOC_SIM_PDUS, &ids->count, id_index(ids, id), slot));
  ids->ids[*slot] = id;
  return 0;
}

static int processing_index(const secoc_side *side, u32_t id) {
  u32_t i;
  for (i = 0; i < side->processing_count; i++)
    if (side->processings[i].id == id) return (int)i;
  return -1;
}

static uint32_t known_processing(secoc_side *side, u32_t id, secoc_processing **processing) {
  int index = processing_index(side, id);
  if (index < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown %s PDU processing %u", side->name, (unsigned)id);
  *processing = &side->processings[index];
  return 0;
}

/* ---- PDUs and collections ----------------------------------------------------- */

static uint32_t add_pdu(u32_t handle, const void *command, int tx, int secured, u32_t id) {
  secoc_side *side = NULL;
  u32_t slot = 0;
  QXSIM_TRY(secoc_side_of(handle, command, tx, &side));
  return id_add(secured ? "secured PDU" : "authentic PDU", secured ? &side->secured : &side->authentic, id, &slot);
}

static uint32_t add_collection(u32_t handle, const void *command, int tx, u32_t authentic, u32_t cryptographic) {
  secoc_side *side = NULL;
  u32_t slot = 0;
  QXSIM_TRY(secoc_side_of(handle, command, tx, &side));
  if (authentic == cryptographic)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "the authentic and the cryptographic part are both PDU %u",
                      (unsigned)authentic);
  QXSIM_TRY(id_add("secured-PDU collection", &side->collections, authentic, &slot));
  side->cryptographic_parts[slot] = cryptographic;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SecOc_RxSecuredPdu(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_SecOc_RxSecuredPdu_Cmd_t const *const rxSecuredPduCmd) {
  return add_pdu(portHandle, rxSecuredPduCmd, 0, 1, rxSecuredPduCmd ? rxSecuredPduCmd->RxSecuredPduId : 0);
}

Qx_Error_t sim_Qx_Trovix_SecOc_RxSecuredPduCollection(
    Qx_PortHandle_t portHandle, Qx_Trovix_SecOc_RxSecuredPduCollection_Cmd_t const *const rxCollectionCmd) {
  if (!rxCollectionCmd) return add_collection(portHandle, NULL, 0, 0, 0);
  return add_collection(portHandle, rxCollectionCmd, 0, rxCollectionCmd->RxSecuredPduId_AuthenticPart,
                        rxCollectionCmd->RxSecuredPduId_CryptographicPart);
}

Qx_Error_t sim_Qx_Trovix_SecOc_RxAuthenticPdu(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SecOc_RxAuthenticPdu_Cmd_t const *const rxAuthenticPduCmd) {
  return add_pdu(portHandle, rxAuthenticPduCmd, 0, 0, rxAuthenticPduCmd ? rxAuthenticPduCmd->RxAuthenticPduId : 0);
}

Qx_Error_t sim_Qx_Trovix_SecOc_TxAuthenticPdu(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SecOc_TxAuthenticPdu_Cmd_t const *const txAuthenticPduCmd) {
  return add_pdu(portHandle, txAuthenticPduCmd, 1, 0, txAuthenticPduCmd ? txAuthenticPduCmd->TxAuthenticPduId : 0);
}

Qx_Error_t sim_Qx_Trovix_SecOc_TxSecuredPdu(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_SecOc_TxSecuredPdu_Cmd_t const *const txSecuredPduCmd) {
  return add_pdu(portHandle, txSecuredPduCmd, 1, 1, txSecuredPduCmd ? txSecuredPduCmd->TxSecuredPduId : 0);
}

Qx_Error_t sim_Qx_Trovix_SecOc_TxSecuredPduCollection(
    Qx_PortHandle_t portHandle, Qx_Trovix_SecOc_TxSecuredPduCollection_Cmd_t const *const txCollectionCmd) {
  if (!txCollectionCmd) return add_collection(portHandle, NULL, 1, 0, 0);
  return add_collection(portHandle, txCollectionCmd, 1, txCollectionCmd->TxSecuredPduId_AuthenticPart,
                        txCollectionCmd->TxSecuredPduId_CryptographicPart);
}

/* ---- processings -------------------------------------------------------------- */

/* What a processing of either side names. */
typedef struct {
  u32_t id, authentic, secured, job;
  u8_t freshness_length, freshness_tx_length;
} secoc_links;

/* Configures (or replaces, with fresh statistics and no error mode) the
 * processing that `links` describe. */
static uint32_t configure_processing(u32_t handle, const void *command, int tx, const secoc_links *links) {
  secoc_side *side = NULL;
  u32_t slot = 0;
  QXSIM_TRY(secoc_side_of(handle, command, tx, &side));
  if (id_index(&side->authentic, links->authentic) < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown %s authentic PDU %u", side->name, (unsigned)links->authentic);
  if (id_index(&side->secured, links->secured) < 0 && id_index(&side->collections, links->secured) < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown %s secured PDU %u", side->name, (unsigned)links->secured);
  if (links->freshness_tx_length > links->freshness_length)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "FreshnessValueTxLength %u is above FreshnessValueLength %u",
                      (unsigned)links->freshness_tx_length, (unsigned)links->freshness_length);
  QXSIM_TRY(crypto_sim_job_known(handle, links->job));
  QXSIM_TRY(trovix_table_slot(tx ? "transmit PDU processing" : "receive PDU processing", SECOC_SIM_PROCESSINGS,
                              &side->processing_count, processing_index(side, links->id), &slot));
  memset(&side->processings[slot], 0, sizeof side->processings[slot]);
  side->processings[slot].id = links->id;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SecOc_RxPduProcessing(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_SecOc_RxPduProcessing_Cmd_t const *const rxProcessingCmd) {
  secoc_links links = {0, 0, 0, 0, 0, 0};
  if (rxProcessingCmd) {
    links.id = rxProcessingCmd->RxPduProcessingId;
    links.authentic = rxProcessingCmd->RxAuthenticPduId;
    links.secured = rxProcessingCmd->RxSecuredPduId;
    links.job = rxProcessingCmd->AuthServiceConfig_CsmJobId;
    links.freshness_length = rxProcessingCmd->FreshnessValueLength;
    links.freshness_tx_length = rxProcessingCmd->FreshnessValueTxLength;
  }
  return configure_processing(portHandle, rxProcessingCmd, 0, &links);
}

Qx_Error_t sim_Qx_Trovix_SecOc_TxPduProcessing(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_SecOc_TxPduProcessing_Cmd_t const *const txProcessingCmd) {
  secoc_links links = {0, 0, 0, 0, 0, 0};
  if (txProcessingCmd) {
    links.id = txProcessingCmd->TxPduProcessingId;
    links.authentic = txProcessingCmd->TxAuthenticPduId;
    links.secured = txProcessingCmd->TxSecuredPduId;
    links.job = txProcessingCmd->AuthServiceConfig_CsmJobId;
    links.freshness_length = txProcessingCmd->FreshnessValueLength;
    links.freshness_tx_length = txProcessingCmd->FreshnessValueTxLength;
  }
  return configure_processing(portHandle, txProcessingCmd, 1, &links);
}

Qx_Error_t sim_Qx_Trovix_SecOc_TxPduProcessing_Error(
    Qx_PortHandle_t portHandle, Qx_Trovix_SecOc_TxPduProcessing_Error_Cmd_t const *const txErrorCmd) {
  secoc_side *side = NULL;
  secoc_processing *processing = NULL;
  QXSIM_TRY(secoc_side_of(portHandle, txErrorCmd, 1, &side));
  QXSIM_TRY(known_processing(side, txErrorCmd->TxPduProcessingId, &processing));
  if (txErrorCmd->ErrorMode > QX_TROVIX__SEC_OC__ERROR_MODE__ADD_ONE_TO_FIRST_BYTE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown error mode %u", (unsigned)txErrorCmd->ErrorMode);
  processing->error_mode = txErrorCmd->ErrorMode;
  processing->error_cycles = txErrorCmd->NumberOfCycles;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SecOc_GetVerificationStat(
    Qx_PortHandle_t portHandle, Qx_Trovix_SecOc_GetVerificationStat_Cmd_t const *const verificationStatCmd,
    Qx_Trovix_SecOc_GetVerificationStat_Rsp_t *const verificationStatRsp) {
  secoc_side *side = NULL;
  secoc_processing *processing = NULL;
  QXSIM_TRY(secoc_side_of(portHandle, verificationStatCmd, 0, &side));
  QXSIM_TRY(qxsim_need(verificationStatRsp, "response"));
  QXSIM_TRY(known_processing(side, verificationStatCmd->RxPduProcessingId, &processing));
  *verificationStatRsp = processing->stat;
  return 0;
}
