/* Simulated Trovix AUTOSAR UDP network management: the nodes of each port,
 * keyed by controller and ECU (the NID, CBV and NMS positions must be bytes
 * of their families); the socket-adaptor receive and transmit PDUs are
 * accepted for a configured node named with its own NM identifier. */
#include <stddef.h>

#include "trovix_tables.h"

#define UDPNM_SIM_NODES 8u

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t count;
  Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t nodes[UDPNM_SIM_NODES];
} udpnm_port;

static udpnm_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t udpnm_state(u32_t handle, const void *command, udpnm_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_need(command, "command"));
  return qxsim_port_state(&table, handle, port);
}

static int node_index(const udpnm_port *port, u8_t controller, u8_t ecu) {
  u32_t i;
  for (i = 0; i < port->count; i++)
    if (port->nodes[i].ControllerId == controller && port->nodes[i].EcuId == ecu) return (int)i;
  return -1;
}

Qx_Error_t sim_Qx_Trovix_UdpNm_Autosar_Ecu_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t const *const udpNmEcuConfigCmd) {
  static const trovix_nm_position positions[] = {
      {"PduNidPosition", offsetof(Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t, PduNidPosition),
       QX_TROVAX__UDP_NM__AUTOSAR__PDU_NID_POSITION__BYTE_1},
      {"PduCbvPosition", offsetof(Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t, PduCbvPosition),
       QX_TROVAX__UDP_NM__AUTOSAR__PDU_CBV_POSITION__BYTE_1},
      {"PduNmsPosition", offsetof(Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t, PduNmsPosition),
       QX_TROVAX__UDP_NM__AUTOSAR__PDU_NMS_POSITION__BYTE_2},
  };
  const Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t *cmd = udpNmEcuConfigCmd;
  udpnm_port *port;
  u32_t slot = 0;
  int found;
  QXSIM_TRY(udpnm_state(portHandle, cmd, &port));
  QXSIM_TRY(trovix_check_nm_positions(cmd, positions, sizeof positions / sizeof positions[0], -1, -1, 0));
  found = node_index(port, cmd->ControllerId, cmd->EcuId);
  QXSIM_TRY(trovix_table_slot("UDP NM node", UDPNM_SIM_NODES, &port->count, found, &slot));
  port->nodes[slot] = *cmd;
  return 0;
}

/* A receive or transmit PDU names a configured node by its own NM identifier. */
static uint32_t node_pdu(u32_t handle, const void *command, u8_t controller, u8_t ecu, u8_t nm_node) {
  udpnm_port *port;
  const Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t *node;
  int index;
  QXSIM_TRY(udpnm_state(handle, command, &port));
  index = node_index(port, controller, ecu);
  if (index < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "ECU %u of controller %u is not configured", (unsigned)ecu,
                      (unsigned)controller);
  node = &port->nodes[index];
  if (node->NmNodeId != nm_node)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "NM node %u is not the node %u of ECU %u of controller %u",
                      (unsigned)nm_node, (unsigned)node->NmNodeId, (unsigned)ecu, (unsigned)controller);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_UdpNm_Autosar_RxPdu(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_UdpNm_Autosar_RxPdu_Cmd_t const *const udpNmRxPduCmd) {
  const Qx_Trovix_UdpNm_Autosar_RxPdu_Cmd_t *cmd = udpNmRxPduCmd;
  if (!cmd) return udpnm_state(portHandle, NULL, NULL);
  return node_pdu(portHandle, cmd, cmd->ControllerId, cmd->EcuId, cmd->NmNodeId);
}

Qx_Error_t sim_Qx_Trovix_UdpNm_Autosar_TxPdu(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_UdpNm_Autosar_TxPdu_Cmd_t const *const udpNmTxPduCmd) {
  const Qx_Trovix_UdpNm_Autosar_TxPdu_Cmd_t *cmd = udpNmTxPduCmd;
  if (!cmd) return udpnm_state(portHandle, NULL, NULL);
  return node_pdu(portHandle, cmd, cmd->ControllerId, cmd->EcuId, cmd->NmNodeId);
}
