/* Simulated Trovix socket adaptor: it must be initialised on the port before
 * anything else; it hands out the identifiers of its five kinds of object
 * (each kind from a range of its own, so that an identifier of one kind is
 * never taken for another), knows which are in use and which configured,
 * and tracks whether each socket connection is open and each routing group
 * enabled. */
#include <string.h>

#include "trovix_sim.h"

/* Objects of each kind a port holds; identifiers of kind k are
 * SOAD_FIRST_ID(k) to SOAD_FIRST_ID(k) + SOAD_IDS - 1. */
#define SOAD_IDS 16u
#define SOAD_FIRST_ID(kind) (100u * ((u32_t)(kind) + 1u))

enum { SOAD_FREE, SOAD_HANDED_OUT, SOAD_CONFIGURED };

enum { SOAD_GROUP, SOAD_CON, SOAD_SO_ROUTE, SOAD_PDU_ROUTE, SOAD_ROUTING_GROUP, SOAD_KINDS };

static const char *const soad_kind_names[SOAD_KINDS] = {
    "socket connection group", "socket connection", "socket route", "PDU route", "routing group",
};

typedef struct {
  u32_t handle; /* 0: slot free */
  int initialised;
  u8_t used[SOAD_KINDS][SOAD_IDS]; /* SOAD_FREE, SOAD_HANDED_OUT or SOAD_CONFIGURED */
  u8_t open[SOAD_IDS];             /* socket connection opened */
  u8_t enabled[SOAD_IDS];          /* routing group enabled */
  u32_t dest_count;                /* PDU route destinations configured */
  u32_t dests[SOAD_IDS];
} soad_port;

static soad_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t soad_port_of(u32_t handle, int need_init, soad_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_port_state(&table, handle, port));
  if (need_init && !(*port)->initialised)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the socket adaptor is not initialised");
  return 0;
}

/* The slot of identifier `id` of `kind`, which must be in use. */
static uint32_t soad_slot(const soad_port *port, int kind, u32_t id, u32_t *slot) {
  u32_t index = id - SOAD_FIRST_ID(kind);
  if (id < SOAD_FIRST_ID(kind) || index >= SOAD_IDS || !port->used[kind][index])
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown %s %u", soad_kind_names[kind], (unsigned)id);
  *slot = index;
  return 0;
}

static uint32_t soad_get_free(u32_t handle, int kind, u32_t *cell) {
  soad_port *port;
  u32_t i;
  QXSIM_TRY(soad_port_of(handle, 1, &port));
  QXSIM_TRY(qxsim_need(cell, "identifier cell"));
  for (i = 0; i < SOAD_IDS; i++)
    if (!port->used[kind][i]) {
      port->used[kind][i] = SOAD_HANDED_OUT;
      *cell = SOAD_FIRST_ID(kind) + i;
      return 0;
    }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no free %s left (%u in use)", soad_kind_names[kind], SOAD_IDS);
}

static uint32_t soad_delete(u32_t handle, int kind, u32_t id) {
  soad_port *port;
  u32_t slot = 0;
  QXSIM_TRY(soad_port_of(handle, 1, &port));
  QXSIM_TRY(soad_slot(port, kind, id, &slot));
  port->used[kind][slot] = SOAD_FREE;
  if (kind == SOAD_CON) port->open[slot] = 0;
  if (kind == SOAD_ROUTING_GROUP) port->enabled[slot] = 0;
  return 0;
}

/* ---- identifiers ------------------------------------------------------------------ */

Qx_Error_t sim_Qx_Trovix_SoAd_SoConGroup_GetFreeSoConGroupId(
    Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoConGroup_GetFreeSoConGroupId_CmdFlags_t flags,
    u32_t *const soConGroupIdCell) {
  (void)flags;
  return soad_get_free(portHandle, SOAD_GROUP, soConGroupIdCell);
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoCon_GetFreeSoConId(Qx_PortHandle_t portHandle,
                                                   Qx_Trovix_SoAd_SoCon_GetFreeSoConId_Cmd_Flags_t flags,
                                                   u32_t *const soConIdCell) {
  (void)flags;
  return soad_get_free(portHandle, SOAD_CON, soConIdCell);
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoRoute_GetFreeRxPduId(Qx_PortHandle_t portHandle,
                                                     Qx_Trovix_SoAd_SoRoute_GetFreeRxPduId_CmdFlags_t flags,
                                                     u32_t *const rxPduIdCell) {
  (void)flags;
  return soad_get_free(portHandle, SOAD_SO_ROUTE, rxPduIdCell);
}

Qx_Error_t sim_Qx_Trovix_SoAd_PduRoute_GetFreeTxPduId(Qx_PortHandle_t portHandle,
                                                      Qx_Trovix_SoAd_PduRoute_GetFreeTxPduId_CmdFlags_t flags,
                                                      u32_t *const txPduIdCell) {
  (void)flags;
  return soad_get_free(portHandle, SOAD_PDU_ROUTE, txPduIdCell);
}

Qx_Error_t sim_Qx_Trovix_SoAd_RoutingGroup_GetFreeRoutingGroupId(
    Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_RoutingGrp_GetFreeRoutingGrpId_CmdFlags_t flags,
    u32_t *const routingGroupIdCell) {
  (void)flags;
  return soad_get_free(portHandle, SOAD_ROUTING_GROUP, routingGroupIdCell);
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoConGroup_Delete(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_SoAd_SoConGroup_Delete_CmdFlags_t flags,
                                                u32_t soConGroupId) {
  (void)flags;
  return soad_delete(portHandle, SOAD_GROUP, soConGroupId);
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoRoute_Delete(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_SoAd_SoRoute_Delete_CmdFlags_t flags, u32_t rxPduId) {
  (void)flags;
  return soad_delete(portHandle, SOAD_SO_ROUTE, rxPduId);
}

Qx_Error_t sim_Qx_Trovix_SoAd_PduRoute_Delete(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SoAd_PduRoute_Delete_CmdFlags_t flags, u32_t txPduId) {
  (void)flags;
  return soad_delete(portHandle, SOAD_PDU_ROUTE, txPduId);
}

Qx_Error_t sim_Qx_Trovix_SoAd_RoutingGroup_Delete(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_SoAd_RoutingGroup_Delete_CmdFlags_t flags,
                                                  u32_t routingGroupId) {
  (void)flags;
  return soad_delete(portHandle, SOAD_ROUTING_GROUP, routingGroupId);
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoCon_Delete(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoCon_Delete_CmdFlags_t flags,
                                           u32_t soConId) {
  (void)flags;
  return soad_delete(portHandle, SOAD_CON, soConId);
}

/* ---- socket connections ------------------------------------------------------------- */

static uint32_t soad_open_close(u32_t handle, u32_t id, int open) {
  soad_port *port;
  u32_t slot = 0;
  QXSIM_TRY(soad_port_of(handle, 1, &port));
  QXSIM_TRY(soad_slot(port, SOAD_CON, id, &slot));
  if (port->open[slot] == open)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, open ? "socket connection %u is open already"
                                                      : "socket connection %u is not open",
                      (unsigned)id);
  port->open[slot] = (u8_t)open;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoCon_Open(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoCon_Open_CmdFlags_t flags,
                                         u32_t soConId) {
  (void)flags;
  return soad_open_close(portHandle, soConId, 1);
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoCon_Close(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_SoCon_Close_CmdFlags_t flags,
                                          u32_t soConId) {
  (void)flags;
  return soad_open_close(portHandle, soConId, 0);
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoCon_GetState(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_SoAd_SoCon_GetState_CmdFlags_t flags, u32_t soConId,
                                             Qx_Trovix_SoAd_SoCon_State_t *const soConState) {
  soad_port *port;
  u32_t slot = 0;
  (void)flags;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(soad_slot(port, SOAD_CON, soConId, &slot));
  if (soConState)
    *soConState = port->open[slot] ? QX_TROVIX__SO_AD__SO_CON__STATE__ONLINE : QX_TROVIX__SO_AD__SO_CON__STATE__OFFLINE;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoCon_RemoteAddr_Set(Qx_PortHandle_t portHandle,
                                                   Qx_Trovix_SoAd_SoCon_RemoteAddr_Set_Cmd_t const *const remoteAddrCmd) {
  soad_port *port;
  u32_t slot = 0;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(qxsim_need(remoteAddrCmd, "command"));
  return soad_slot(port, SOAD_CON, remoteAddrCmd->SoConId, &slot);
}

/* ---- socket connection groups and socket connections: a group's protocol must
 * be one the stack knows, and a connection belongs to a configured group. ---- */

Qx_Error_t sim_Qx_Trovix_SoAd_SoConGroup_Config(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_SoAd_SoConGroup_Config_Cmd_t const *const soConGroupCmd) {
  soad_port *port;
  u32_t slot = 0;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(qxsim_need(soConGroupCmd, "command"));
  QXSIM_TRY(soad_slot(port, SOAD_GROUP, soConGroupCmd->SoConGroupId, &slot));
  if (soConGroupCmd->Protocol >= QX_TROVIX__SO_AD__SOCKET_PROTOCOL__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown socket protocol %u", (unsigned)soConGroupCmd->Protocol);
  port->used[SOAD_GROUP][slot] = SOAD_CONFIGURED;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoCon_Config(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_SoAd_SoCon_Config_Cmd_t const *const soConCmd) {
  soad_port *port;
  u32_t slot = 0, group = 0;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(qxsim_need(soConCmd, "command"));
  QXSIM_TRY(soad_slot(port, SOAD_CON, soConCmd->SoConId, &slot));
  QXSIM_TRY(soad_slot(port, SOAD_GROUP, soConCmd->SoConGroupId, &group));
  if (port->used[SOAD_GROUP][group] != SOAD_CONFIGURED)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "socket connection group %u is not configured",
                      (unsigned)soConCmd->SoConGroupId);
  port->used[SOAD_CON][slot] = SOAD_CONFIGURED;
  return 0;
}

/* ---- routes, destinations and PDUs: every identifier a record names in its
 * used entries must be known, and no count may pass its array. ---- */

static uint32_t soad_count(const char *name, u32_t count, u32_t entries) {
  if (count > entries)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s %u is beyond the %u entries of the record", name,
                      (unsigned)count, (unsigned)entries);
  return 0;
}

/* Entry `index` of the array `name` holds identifier `id` of `kind`. */
static uint32_t soad_known_at(const soad_port *port, int kind, const char *name, u32_t index, u32_t id) {
  u32_t slot = id - SOAD_FIRST_ID(kind);
  if (id < SOAD_FIRST_ID(kind) || slot >= SOAD_IDS || !port->used[kind][slot])
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s[%u]: unknown %s %u", name, (unsigned)index, soad_kind_names[kind],
                      (unsigned)id);
  return 0;
}

static uint32_t soad_known_list(const soad_port *port, int kind, const char *name, const u32_t *ids, u32_t count,
                                u32_t entries) {
  u32_t i;
  QXSIM_TRY(soad_count(name, count, entries));
  for (i = 0; i < count; i++) QXSIM_TRY(soad_known_at(port, kind, name, i, ids[i]));
  return 0;
}

/* The socket-connection references of both reference types (SoConId at 4,
 * SoConGroupId at 8 of each `size`-byte element). */
static uint32_t soad_refs(const soad_port *port, const void *refs, size_t size, u32_t count) {
  u32_t i;
  QXSIM_TRY(soad_count("NumberOfSoConRefIds", count, QX_TROVIX__SO_AD__MAX_SO_CON_REF_IDS));
  for (i = 0; i < count; i++) {
    u32_t pair[2];
    memcpy(pair, (const char *)refs + i * size + 4, sizeof pair);
    QXSIM_TRY(soad_known_at(port, SOAD_CON, "So_ConRefIdS", i, pair[0]));
    QXSIM_TRY(soad_known_at(port, SOAD_GROUP, "So_ConRefIdS", i, pair[1]));
  }
  return 0;
}

static int soad_dest_index(const soad_port *port, u32_t id) {
  u32_t i;
  for (i = 0; i < port->dest_count; i++)
    if (port->dests[i] == id) return (int)i;
  return -1;
}

Qx_Error_t sim_Qx_Trovix_SoAd_PduRoute_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SoAd_PduRoute_Config_Cmd_t const *const pduRouteCmd) {
  soad_port *port;
  u32_t slot = 0, i;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(qxsim_need(pduRouteCmd, "command"));
  QXSIM_TRY(soad_slot(port, SOAD_PDU_ROUTE, pduRouteCmd->TxPduId, &slot));
  QXSIM_TRY(soad_count("NumberOfPduRouteDests", pduRouteCmd->NumberOfPduRouteDests,
                       QX_TROVIX__SO_AD__MAX_PDU_ROUTING_DESTS));
  for (i = 0; i < pduRouteCmd->NumberOfPduRouteDests; i++)
    if (soad_dest_index(port, pduRouteCmd->PduRouteDestId[i]) < 0)
      return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "PduRouteDestId[%u]: unknown PDU route destination %u", (unsigned)i,
                        (unsigned)pduRouteCmd->PduRouteDestId[i]);
  port->used[SOAD_PDU_ROUTE][slot] = SOAD_CONFIGURED;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SoAd_PduRouteDest_Config(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_SoAd_PduRouteDest_Config_Cmd_t const *const pduRouteDestCmd) {
  soad_port *port;
  const Qx_Trovix_SoAd_PduRouteDest_Config_Cmd_t *dest = pduRouteDestCmd;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(qxsim_need(dest, "command"));
  QXSIM_TRY(soad_refs(port, dest->So_ConRefIdS, sizeof dest->So_ConRefIdS[0], dest->NumberOfSoConRefIds));
  QXSIM_TRY(soad_known_list(port, SOAD_ROUTING_GROUP, "RoutingGroupIds", dest->RoutingGroupIds,
                            dest->NumberOfRoutingGroupIds, QX_TROVIX__SO_AD__MAX_ROUTING_GROUP_IDS));
  if (soad_dest_index(port, dest->PduRouteDestId) >= 0) return 0;
  if (port->dest_count == SOAD_IDS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the PDU route destination table is full (%u entries)", SOAD_IDS);
  port->dests[port->dest_count++] = dest->PduRouteDestId;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SoAd_Pdu_Config(Qx_PortHandle_t portHandle, Qx_Trovix_SoAd_Pdu_Config_Cmd_t const *const pduCmd) {
  soad_port *port;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(qxsim_need(pduCmd, "command"));
  QXSIM_TRY(soad_known_list(port, SOAD_SO_ROUTE, "SoAdRxPduIds", pduCmd->SoAdRxPduIds, pduCmd->NumberOfSoAdRxPduIds,
                            QX_TROVIX__SO_AD__MAX_RX_TX_PDU_IDS));
  return soad_known_list(port, SOAD_PDU_ROUTE, "SoAdTxPduIds", pduCmd->SoAdTxPduIds, pduCmd->NumberOfSoAdTxPduIds,
                         QX_TROVIX__SO_AD__MAX_RX_TX_PDU_IDS);
}

Qx_Error_t sim_Qx_Trovix_SoAd_SoRoute_Config(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_SoAd_SoRoute_Config_Cmd_t const *const soRouteCmd) {
  soad_port *port;
  u32_t slot = 0;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(qxsim_need(soRouteCmd, "command"));
  QXSIM_TRY(soad_slot(port, SOAD_SO_ROUTE, soRouteCmd->RxPduId, &slot));
  QXSIM_TRY(soad_refs(port, soRouteCmd->So_ConRefIdS, sizeof soRouteCmd->So_ConRefIdS[0],
                      soRouteCmd->NumberOfSoConRefIds));
  QXSIM_TRY(soad_known_list(port, SOAD_ROUTING_GROUP, "RoutingGroupIds", soRouteCmd->RoutingGroupIds,
                            soRouteCmd->NumberOfRoutingGroupIds, QX_TROVIX__SO_AD__MAX_ROUTING_GROUP_IDS));
  port->used[SOAD_SO_ROUTE][slot] = SOAD_CONFIGURED;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SoAd_RoutingGroup_Config(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_SoAd_RoutingGroup_Config_CmdFlags_t flags,
                                                  u32_t routingGroupId) {
  soad_port *port;
  u32_t slot = 0;
  (void)flags;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  QXSIM_TRY(soad_slot(port, SOAD_ROUTING_GROUP, routingGroupId, &slot));
  port->used[SOAD_ROUTING_GROUP][slot] = SOAD_CONFIGURED;
  return 0;
}

/* ---- routing groups ------------------------------------------------------------------- */

static uint32_t soad_routing(u32_t handle, const void *command, u32_t group, int enable) {
  soad_port *port;
  u32_t slot = 0;
  QXSIM_TRY(soad_port_of(handle, 1, &port));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(soad_slot(port, SOAD_ROUTING_GROUP, group, &slot));
  port->enabled[slot] = (u8_t)enable;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SoAd_Routing_Enable(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_SoAd_Routing_Enable_Cmd_t const *const routingEnableCmd) {
  return soad_routing(portHandle, routingEnableCmd, routingEnableCmd ? routingEnableCmd->RoutingGroupId : 0, 1);
}

Qx_Error_t sim_Qx_Trovix_SoAd_Routing_Disable(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SoAd_Routing_Disable_Cmd_t const *const routingDisableCmd) {
  return soad_routing(portHandle, routingDisableCmd, routingDisableCmd ? routingDisableCmd->RoutingGroupId : 0, 0);
}

/* ---- initialisation: Init starts the socket adaptor afresh, DeInit drops all. ---- */

static void soad_clear(soad_port *port, int initialised) {
  u32_t handle = port->handle;
  memset(port, 0, sizeof *port);
  port->handle = handle;
  port->initialised = initialised;
}

Qx_Error_t sim_Qx_Trovix_SoAd_Init(Qx_PortHandle_t portHandle) {
  soad_port *port;
  QXSIM_TRY(soad_port_of(portHandle, 0, &port));
  soad_clear(port, 1);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SoAd_DeInit(Qx_PortHandle_t portHandle) {
  soad_port *port;
  QXSIM_TRY(soad_port_of(portHandle, 1, &port));
  soad_clear(port, 0);
  return 0;
}
