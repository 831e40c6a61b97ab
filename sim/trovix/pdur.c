/* Simulated Trovix PDU router: per module, a source and a target PDU table
 * (sized by the MaxNumber calls; a PDU of a module takes one entry however
 * many paths it is on), the routing paths between them, and the last
 * routing-error command of each path. */
#include <stdio.h>
#include <string.h>

#include "trovix_tables.h"

#define PDUR_SIM_MODULE_PDUS 32u
#define PDUR_SIM_PATHS 32u

#define PDUR_SOURCES QX_TROVIX__PDU_ROUTER__ROUTING_PATH__SOURCE__UNKNOWN
#define PDUR_TARGETS QX_TROVIX__PDU_ROUTER__ROUTING_PATH__TARGET__UNKNOWN

typedef struct {
  u8_t source, target;
  u32_t source_pdu, target_pdu;
  u32_t length_max, fifo_depth;
  u8_t error_mode;
  u32_t errors, error_time;
} pdur_path;

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t source_capacity[PDUR_SOURCES];
  u32_t target_capacity[PDUR_TARGETS];
  u32_t path_count;
  pdur_path paths[PDUR_SIM_PATHS];
} pdur_port;

static pdur_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t pdur_state(u32_t handle, pdur_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  return qxsim_port_state(&table, handle, port);
}

static uint32_t known_module(int target, u32_t code) {
  if (code >= (target ? PDUR_TARGETS : PDUR_SOURCES))
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown %s module %u", target ? "target" : "source", (unsigned)code);
  return 0;
}

/* PDUs of module `code` on the source (target) side that the paths hold,
 * each counted once; *known tells whether `pdu` is among them. */
static u32_t module_pdus(const pdur_port *port, int target, u32_t code, u32_t pdu, int *known) {
  u32_t i, j, n = 0;
  if (known) *known = 0;
  for (i = 0; i < port->path_count; i++) {
    const pdur_path *p = &port->paths[i];
    u32_t id = target ? p->target_pdu : p->source_pdu;
    if ((target ? p->target : p->source) != code) continue;
    for (j = 0; j < i; j++) {
      const pdur_path *q = &port->paths[j];
      if ((target ? q->target : q->source) == code && (target ? q->target_pdu : q->source_pdu) == id) break;
    }
    if (j < i) continue;
    n++;
    if (known && id == pdu) *known = 1;
  }
  return n;
}

static uint32_t size_module(u32_t handle, int target, u8_t code, u32_t wanted) {
  pdur_port *port;
  char what[48];
  QXSIM_TRY(pdur_state(handle, &port));
  QXSIM_TRY(known_module(target, code));
  snprintf(what, sizeof what, "%s PDUs of module %u", target ? "target" : "source", (unsigned)code);
  return trovix_table_size(what, target ? &port->target_capacity[code] : &port->source_capacity[code],
                           module_pdus(port, target, code, 0, NULL), wanted, PDUR_SIM_MODULE_PDUS);
}

Qx_Error_t sim_Qx_Trovix_PduRouter_SourcePdu_MaxNumber(Qx_PortHandle_t portHandle, u8_t sourceModule,
                                                       u32_t maxNumberOfSourcePdus) {
  return size_module(portHandle, 0, sourceModule, maxNumberOfSourcePdus);
}

Qx_Error_t sim_Qx_Trovix_PduRouter_TargetPdu_MaxNumber(Qx_PortHandle_t portHandle, u8_t targetModule,
                                                       u32_t maxNumberOfTargetPdus) {
  return size_module(portHandle, 1, targetModule, maxNumberOfTargetPdus);
}

/* Room for PDU `pdu` of module `code`: it is in the module's table already,
 * or the table has a free entry. */
static uint32_t module_room(const pdur_port *port, int target, u32_t code, u32_t pdu) {
  int known;
  u32_t used = module_pdus(port, target, code, pdu, &known);
  u32_t capacity = target ? port->target_capacity[code] : port->source_capacity[code];
  if (!known && used >= capacity)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the %s PDU table of module %u is full (%u entries)",
                      target ? "target" : "source", (unsigned)code, (unsigned)capacity);
  return 0;
}

static int path_index(const pdur_port *port, u32_t source, u32_t source_pdu, u32_t target, u32_t target_pdu) {
  u32_t i;
  for (i = 0; i < port->path_count; i++) {
    const pdur_path *p = &port->paths[i];
    if (p->source == source && p->source_pdu == source_pdu && p->target == target && p->target_pdu == target_pdu)
      return (int)i;
  }
  return -1;
}

Qx_Error_t sim_Qx_Trovix_PduRouter_RoutingPath_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduRouter_RoutingPath_Config_Parameters_t const *const routingPath) {
  pdur_port *port;
  pdur_path *path;
  u32_t slot = 0;
  int found;
  QXSIM_TRY(pdur_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(routingPath, "routing path"));
  QXSIM_TRY(known_module(0, routingPath->Source));
  QXSIM_TRY(known_module(1, routingPath->Target));
  found = path_index(port, routingPath->Source, routingPath->SourcePduId, routingPath->Target,
                     routingPath->TargetPduId);
  if (found < 0) {
    QXSIM_TRY(module_room(port, 0, routingPath->Source, routingPath->SourcePduId));
    QXSIM_TRY(module_room(port, 1, routingPath->Target, routingPath->TargetPduId));
  }
  QXSIM_TRY(trovix_table_slot("routing path", PDUR_SIM_PATHS, &port->path_count, found, &slot));
  path = &port->paths[slot];
  memset(path, 0, sizeof *path);
  path->source = routingPath->Source;
  path->target = routingPath->Target;
  path->source_pdu = routingPath->SourcePduId;
  path->target_pdu = routingPath->TargetPduId;
  path->length_max = routingPath->PduLengthMax;
  path->fifo_depth = routingPath->FifoDepth;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_PduRouter_RoutingError(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_PduRouter_RoutingError_Cmd_t const *const routingErrorCmd) {
  pdur_port *port;
  pdur_path *path;
  int found;
  QXSIM_TRY(pdur_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(routingErrorCmd, "routing-error command"));
  if (routingErrorCmd->Mode >= QX_TROVIX__PDU_ROUTER__ROUTING_ERROR__MODE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown routing-error mode %u", (unsigned)routingErrorCmd->Mode);
  found = path_index(port, routingErrorCmd->Source, routingErrorCmd->SourcePduId, routingErrorCmd->Target,
                     routingErrorCmd->TargetPduId);
  if (found < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no routing path from source module %u PDU %u to target module %u PDU %u",
                      (unsigned)routingErrorCmd->Source, (unsigned)routingErrorCmd->SourcePduId,
                      (unsigned)routingErrorCmd->Target, (unsigned)routingErrorCmd->TargetPduId);
  path = &port->paths[found];
  path->error_mode = routingErrorCmd->Mode;
  path->errors = routingErrorCmd->NumberOfErrors;
  path->error_time = routingErrorCmd->Time;
  return 0;
}
