/* Simulated Trovix generic network management: the nodes of one port, each
 * named by bus type, controller and ECU, made on first use in the bus-sleep
 * state. A node keeps its state, whether its communication is disabled and
 * the user data last set for it, which is what its remote user data reads
 * back; a repeat-message request puts it in the repeat-message state unless
 * its communication is disabled. */
#include <string.h>

#include "trovix_sim.h"

#define NM_SIM_NODES 8u

typedef struct {
  int used;
  u8_t bus, controller, ecu;
  u8_t state; /* a QX_TROVIX__NM__STATE__ value */
  int disabled;
  u16_t length;
  u8_t data[QX_TROVIX__NM__USER_DATA__MAX_SIZE];
} nm_node;

typedef struct {
  u32_t handle; /* 0: slot free */
  nm_node nodes[NM_SIM_NODES];
} nm_port;

static nm_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* The node a command names (`given`: the command is not null). */
static uint32_t nm_node_of(u32_t handle, int given, u8_t bus, u8_t controller, u8_t ecu, nm_node **node) {
  trovix_sim_port *stack;
  nm_port *port;
  nm_node *free_node = NULL;
  unsigned i;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_need(given, "command"));
  if (bus >= QX_TROVIX__BUS_TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown bus type %u", (unsigned)bus);
  QXSIM_TRY(qxsim_port_state(&table, handle, &port));
  for (i = 0; i < NM_SIM_NODES; i++) {
    nm_node *n = &port->nodes[i];
    if (n->used && n->bus == bus && n->controller == controller && n->ecu == ecu) {
      *node = n;
      return 0;
    }
    if (!n->used && !free_node) free_node = n;
  }
  if (!free_node)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the network-management node table is full (%u nodes)",
                      NM_SIM_NODES);
  memset(free_node, 0, sizeof *free_node);
  free_node->used = 1;
  free_node->bus = bus;
  free_node->controller = controller;
  free_node->ecu = ecu;
  free_node->state = QX_TROVIX__NM__STATE__BUS_SLEEP;
  *node = free_node;
  return 0;
}

#define NM_NODE_OF(handle, cmd, node) \
  nm_node_of((handle), (cmd) != NULL, (cmd) ? (cmd)->BusType : 0, (cmd) ? (cmd)->ControllerId : 0, \
             (cmd) ? (cmd)->EcuId : 0, (node))

Qx_Error_t sim_Qx_Trovix_Nm_State_Get(Qx_PortHandle_t portHandle, Qx_Trovix_Nm_State_Get_Cmd_t const *const stateGetCmd,
                                      Qx_Trovix_Nm_State_Get_Rsp_t *const stateGetRsp) {
  nm_node *node;
  QXSIM_TRY(NM_NODE_OF(portHandle, stateGetCmd, &node));
  QXSIM_TRY(qxsim_need(stateGetRsp != NULL, "response"));
  memset(stateGetRsp, 0, sizeof *stateGetRsp);
  stateGetRsp->State = node->state;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Nm_RepeatMsgRequest(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_Nm_RepeatMsgRequest_Cmd_t const *const repeatMsgRequestCmd) {
  nm_node *node;
  QXSIM_TRY(NM_NODE_OF(portHandle, repeatMsgRequestCmd, &node));
  if (node->disabled)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the communication of node %u/%u/%u is disabled",
                      (unsigned)node->bus, (unsigned)node->controller, (unsigned)node->ecu);
  node->state = QX_TROVIX__NM__STATE__NETWORK__REPEAT_MESSAGE;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Nm_UserData_Local_Set(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_Nm_UserData_Local_Set_Cmd_t const *const userDataLocalSetCmd) {
  const Qx_Trovix_Nm_UserData_Local_Set_Cmd_t *cmd = userDataLocalSetCmd;
  nm_node *node;
  QXSIM_TRY(NM_NODE_OF(portHandle, cmd, &node));
  if (cmd->Length > sizeof cmd->Data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Length %u exceeds the %u bytes of Data", (unsigned)cmd->Length,
                      (unsigned)sizeof cmd->Data);
  memset(node->data, 0, sizeof node->data);
  memcpy(node->data, cmd->Data, cmd->Length);
  node->length = cmd->Length;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Nm_UserData_Remote_Get(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_Nm_UserData_Remote_Get_Cmd_t const *const userDataRemoteGetCmd,
                                                Qx_Trovix_Nm_UserData_Remote_Get_Rsp_t *const userDataRemoteGetRsp) {
  nm_node *node;
  QXSIM_TRY(NM_NODE_OF(portHandle, userDataRemoteGetCmd, &node));
  QXSIM_TRY(qxsim_need(userDataRemoteGetRsp != NULL, "response"));
  memset(userDataRemoteGetRsp, 0, sizeof *userDataRemoteGetRsp);
  userDataRemoteGetRsp->Length = node->length;
  memcpy(userDataRemoteGetRsp->Data, node->data, sizeof userDataRemoteGetRsp->Data);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Nm_Communication_Disable(
    Qx_PortHandle_t portHandle, Qx_Trovix_Nm_Communication_Disable_Cmd_t const *const communicationDisableCmd) {
  nm_node *node;
  QXSIM_TRY(NM_NODE_OF(portHandle, communicationDisableCmd, &node));
  node->disabled = 1;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Nm_Communication_Enable(
    Qx_PortHandle_t portHandle, Qx_Trovix_Nm_Communication_Enable_Cmd_t const *const communicationEnableCmd) {
  nm_node *node;
  QXSIM_TRY(NM_NODE_OF(portHandle, communicationEnableCmd, &node));
  node->disabled = 0;
  return 0;
}
