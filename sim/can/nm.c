/*
 * The simulated network management of each CAN port: OSEK or AUTOSAR, its
 * nodes (numbered from 0, as many as the configuration's NumberOfNodes) and
 * their groups.
 *
 * Nodes start stopped, in group 0. Starting a node wakes it; a stopped node
 * cannot change its mode; an AUTOSAR node's state and requests need the
 * AUTOSAR configuration. A list or group naming a node the configuration
 * does not have changes nothing and fails with a text naming the node.
 *
 * Qx_Can_Nm_Autosar_Node_GetState reports:
 *   flags    NM_FLAG_* below
 *   state    NM_STATE_* below
 *   mode     NM_MODE_BUS_SLEEP or NM_MODE_NETWORK
 */
#include <string.h>

#include "qx_api_can_behaviour.h"
#include "qxsim_device.h"

#define NM_MAX_NODES 64u

enum { NM_OFF, NM_OSEK, NM_AUTOSAR };
static const char *const kind_names[] = {"", "OSEK", "AUTOSAR"};

#define NM_FLAG_STARTED 0x1u
#define NM_FLAG_REPEAT_MESSAGE_REQUESTED 0x2u
#define NM_FLAG_BUS_SYNCHRONIZATION_REQUESTED 0x4u
#define NM_FLAG_NODE_CONFIGURED 0x8u

enum { NM_STATE_STOPPED, NM_STATE_BUS_SLEEP, NM_STATE_REPEAT_MESSAGE, NM_STATE_NORMAL_OPERATION };
enum { NM_MODE_BUS_SLEEP, NM_MODE_NETWORK };

typedef struct {
  u32_t flags;
  u8_t awake;
  u8_t group;
} nm_node;

typedef struct {
  uint32_t handle; /* 0: slot free */
  int kind;
  int global_configured;
  u16_t number_of_nodes;
  nm_node nodes[NM_MAX_NODES];
  u8_t data_mask[8];
  u8_t data[8];
} nm_port;

static nm_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t port_of(Qx_PortHandle_t handle, nm_port **p) { return qxsim_port_state(&table, handle, p); }

/* The port's NM, which must be configured (of `kind`, unless NM_OFF). */
static uint32_t configured(Qx_PortHandle_t handle, int kind, nm_port **p) {
  QXSIM_TRY(port_of(handle, p));
  if ((*p)->kind == NM_OFF || (kind != NM_OFF && (*p)->kind != kind))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s%snetwork management is not configured on port 0x%08X",
                      kind == NM_OFF ? "" : kind_names[kind], kind == NM_OFF ? "" : " ", (unsigned)handle);
  return 0;
}

static uint32_t known_node(const nm_port *p, unsigned node) {
  if (node >= p->number_of_nodes)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no NM node %u (%u nodes configured)", node,
                      (unsigned)p->number_of_nodes);
  return 0;
}

static uint32_t started(const nm_port *p, unsigned node) {
  if (!(p->nodes[node].flags & NM_FLAG_STARTED))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "NM node %u is not started", node);
  return 0;
}

/* A fresh configuration of `kind` with `nodes` nodes, all stopped. */
static uint32_t configure(Qx_PortHandle_t handle, int kind, unsigned nodes) {
  nm_port *p = NULL;
  QXSIM_TRY(port_of(handle, &p));
  if (nodes < 1 || nodes > NM_MAX_NODES)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u NM nodes out of range (1 to %u)", nodes, NM_MAX_NODES);
  memset(p->nodes, 0, sizeof p->nodes);
  memset(p->data_mask, 0, sizeof p->data_mask);
  memset(p->data, 0, sizeof p->data);
  p->kind = kind;
  p->global_configured = 0;
  p->number_of_nodes = (u16_t)nodes;
  return 0;
}

/* ---- Configuration ------------------------------------------------------- */

Qx_Error_t sim_Qx_Can_Nm_Config_Off(Qx_PortHandle_t portHandle) {
  nm_port *p = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  p->kind = NM_OFF;
  p->number_of_nodes = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Nm_Config_Osek(Qx_PortHandle_t portHandle,
                                     Qx_Can_Nm_Config_Osek_Parameters_t const *const parameters) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  return configure(portHandle, NM_OSEK, parameters->Range.NumberOfNodes);
}

Qx_Error_t sim_Qx_Can_Nm_Config_Autosar(Qx_PortHandle_t portHandle,
                                        Qx_Can_Nm_Config_Autosar_Parameters_t const *const parameters) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  return configure(portHandle, NM_AUTOSAR, parameters->Range.NumberOfNodes);
}

Qx_Error_t sim_Qx_Can_Nm_Config_Autosar_Global(Qx_PortHandle_t portHandle,
                                               Qx_Can_Nm_Config_Autosar_Global_Parameters_t const *const parameters) {
  nm_port *p = NULL;
  QXSIM_TRY(configured(portHandle, NM_AUTOSAR, &p));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  if (parameters->PduLength > 8)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "NM message length %u out of range (0 to 8)",
                      parameters->PduLength);
  p->global_configured = 1;
  return 0;
}

Qx_Error_t sim_Qx_Can_Nm_Config_Autosar_Node(Qx_PortHandle_t portHandle,
                                             Qx_Can_Nm_Config_Autosar_Node_Parameters_t const *const parameters) {
  nm_port *p = NULL;
  QXSIM_TRY(configured(portHandle, NM_AUTOSAR, &p));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  if (!p->global_configured)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "AUTOSAR NM global parameters are not configured");
  QXSIM_TRY(known_node(p, parameters->NodeId));
  p->nodes[parameters->NodeId].flags |= NM_FLAG_NODE_CONFIGURED;
  return 0;
}

Qx_Error_t sim_Qx_Can_Nm_Config_SetData(Qx_PortHandle_t portHandle, u8_t const *const nmDataMask,
                                        u8_t const *const nmData) {
  nm_port *p = NULL;
  QXSIM_TRY(configured(portHandle, NM_OFF, &p));
  QXSIM_TRY(qxsim_need(nmDataMask && nmData, "mask or data"));
  memcpy(p->data_mask, nmDataMask, sizeof p->data_mask);
  memcpy(p->data, nmData, sizeof p->data);
  return 0;
}

/* ---- AUTOSAR node state and requests ------------------------------------- */

Qx_Error_t sim_Qx_Can_Nm_Autosar_Node_GetState(Qx_PortHandle_t portHandle, u8_t nodeNumber,
                                               Qx_Can_Nm_Autosar_Node_GetState_RspFlags_t *const nmRspFlags,
                                               Qx_Can_Nm_Autosar_NodeState_t *const nmNodeState,
                                               Qx_Can_Nm_Autosar_NetworkMode_t *const nmNetworkMode) {
  nm_port *p = NULL;
  const nm_node *n;
  QXSIM_TRY(configured(portHandle, NM_AUTOSAR, &p));
  QXSIM_TRY(known_node(p, nodeNumber));
  QXSIM_TRY(qxsim_need(nmRspFlags && nmNodeState && nmNetworkMode, "output cell"));
  n = &p->nodes[nodeNumber];
  *nmRspFlags = n->flags;
  if (!(n->flags & NM_FLAG_STARTED))
    *nmNodeState = NM_STATE_STOPPED;
  else if (!n->awake)
    *nmNodeState = NM_STATE_BUS_SLEEP;
  else if (n->flags & NM_FLAG_REPEAT_MESSAGE_REQUESTED)
    *nmNodeState = NM_STATE_REPEAT_MESSAGE;
  else
    *nmNodeState = NM_STATE_NORMAL_OPERATION;
  *nmNetworkMode = (n->flags & NM_FLAG_STARTED) && n->awake ? NM_MODE_NETWORK : NM_MODE_BUS_SLEEP;
  return 0;
}

static Qx_Error_t request(Qx_PortHandle_t portHandle, u8_t nodeNumber, u32_t flag) {
  nm_port *p = NULL;
  QXSIM_TRY(configured(portHandle, NM_AUTOSAR, &p));
  QXSIM_TRY(known_node(p, nodeNumber));
  QXSIM_TRY(started(p, nodeNumber));
  p->nodes[nodeNumber].flags |= flag;
  return 0;
}

Qx_Error_t sim_Qx_Can_Nm_Autosar_RepeatMessageRequest(Qx_PortHandle_t portHandle, u8_t nodeNumber) {
  return request(portHandle, nodeNumber, NM_FLAG_REPEAT_MESSAGE_REQUESTED);
}

Qx_Error_t sim_Qx_Can_Nm_Autosar_RequestBusSynchronization(Qx_PortHandle_t portHandle, u8_t nodeNumber) {
  return request(portHandle, nodeNumber, NM_FLAG_BUS_SYNCHRONIZATION_REQUESTED);
}

/* ---- Nodes and groups ---------------------------------------------------- */

typedef enum { OP_START, OP_STOP, OP_AWAKE, OP_BUS_SLEEP, OP_CHANGE_GROUP } nm_op;

static void apply(nm_node *n, nm_op op, u8_t group) {
  switch (op) {
    case OP_START:
      n->flags |= NM_FLAG_STARTED;
      n->awake = 1;
      break;
    case OP_STOP:
      n->flags &= NM_FLAG_NODE_CONFIGURED;
      n->awake = 0;
      break;
    case OP_AWAKE: n->awake = 1; break;
    case OP_BUS_SLEEP:
      n->awake = 0;
      n->flags &= ~(NM_FLAG_REPEAT_MESSAGE_REQUESTED | NM_FLAG_BUS_SYNCHRONIZATION_REQUESTED);
      break;
    case OP_CHANGE_GROUP: n->group = group; break;
  }
}

/* Checks every node of the list first, so that a bad one changes nothing. */
static Qx_Error_t nodes_do(Qx_PortHandle_t portHandle, u8_t count, const u8_t *nodes, nm_op op, u8_t group) {
  nm_port *p = NULL;
  unsigned i;
  QXSIM_TRY(configured(portHandle, NM_OFF, &p));
  QXSIM_TRY(qxsim_need(nodes || !count, "node list"));
  for (i = 0; i < count; i++) {
    QXSIM_TRY(known_node(p, nodes[i]));
    if (op == OP_AWAKE || op == OP_BUS_SLEEP) QXSIM_TRY(started(p, nodes[i]));
  }
  for (i = 0; i < count; i++) apply(&p->nodes[nodes[i]], op, group);
  return 0;
}

static Qx_Error_t group_do(Qx_PortHandle_t portHandle, u8_t group, nm_op op) {
  nm_port *p = NULL;
  unsigned i, members = 0;
  QXSIM_TRY(configured(portHandle, NM_OFF, &p));
  for (i = 0; i < p->number_of_nodes; i++) {
    if (p->nodes[i].group != group) continue;
    members++;
    if (op == OP_AWAKE || op == OP_BUS_SLEEP) QXSIM_TRY(started(p, i));
  }
  if (!members) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no NM node in group %u", group);
  for (i = 0; i < p->number_of_nodes; i++)
    if (p->nodes[i].group == group) apply(&p->nodes[i], op, group);
  return 0;
}

Qx_Error_t sim_Qx_Can_Nm_Nodes_Start(Qx_PortHandle_t portHandle, u8_t numberOfNodes, u8_t const *const nodes) {
  return nodes_do(portHandle, numberOfNodes, nodes, OP_START, 0);
}

Qx_Error_t sim_Qx_Can_Nm_Nodes_Stop(Qx_PortHandle_t portHandle, u8_t numberOfNodes, u8_t const *const nodes) {
  return nodes_do(portHandle, numberOfNodes, nodes, OP_STOP, 0);
}

Qx_Error_t sim_Qx_Can_Nm_Nodes_GoToMode_Awake(Qx_PortHandle_t portHandle, u8_t numberOfNodes,
                                              u8_t const *const nodes) {
  return nodes_do(portHandle, numberOfNodes, nodes, OP_AWAKE, 0);
}

Qx_Error_t sim_Qx_Can_Nm_Nodes_GoToMode_BusSleep(Qx_PortHandle_t portHandle, u8_t numberOfNodes,
                                                 u8_t const *const nodes) {
  return nodes_do(portHandle, numberOfNodes, nodes, OP_BUS_SLEEP, 0);
}

Qx_Error_t sim_Qx_Can_Nm_Nodes_ChangeGroup(Qx_PortHandle_t portHandle, u8_t groupNumber, u8_t numberOfNodes,
                                           u8_t const *const nodes) {
  return nodes_do(portHandle, numberOfNodes, nodes, OP_CHANGE_GROUP, groupNumber);
}

Qx_Error_t sim_Qx_Can_Nm_Group_Start(Qx_PortHandle_t portHandle, u8_t groupNumber) {
  return group_do(portHandle, groupNumber, OP_START);
}

Qx_Error_t sim_Qx_Can_Nm_Group_Stop(Qx_PortHandle_t portHandle, u8_t groupNumber) {
  return group_do(portHandle, groupNumber, OP_STOP);
}

Qx_Error_t sim_Qx_Can_Nm_Group_GoToMode_Awake(Qx_PortHandle_t portHandle, u8_t groupNumber) {
  return group_do(portHandle, groupNumber, OP_AWAKE);
}

Qx_Error_t sim_Qx_Can_Nm_Group_GoToMode_BusSleep(Qx_PortHandle_t portHandle, u8_t groupNumber) {
  return group_do(portHandle, groupNumber, OP_BUS_SLEEP);
}
