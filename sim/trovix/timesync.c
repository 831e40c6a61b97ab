/* Simulated Trovix time synchronisation over CAN and Ethernet: masters and
 * slaves serve a configured time base of the time-base manager; a CAN
 * slave's CRC validation mode must be one the stack knows, and an Ethernet
 * master or slave needs its socket configured first. */
#include "stbm_sim.h"

Qx_Error_t sim_Qx_Trovix_CanTimeSync_Config_Master(Qx_PortHandle_t portHandle,
                                                   Qx_Trovix_CanTimeSync_Config_Master_Cmd_t const *const masterCmd) {
  trovix_sim_port *port;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(masterCmd, "command"));
  return stbm_sim_time_base_known(portHandle, masterCmd->TimeSyncMgrId, masterCmd->TimeBaseId);
}

Qx_Error_t sim_Qx_Trovix_CanTimeSync_Config_Slave(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_CanTimeSync_Config_Slave_Cmd_t const *const slaveCmd) {
  trovix_sim_port *port;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(slaveCmd, "command"));
  if (slaveCmd->CrcValidatedType >= QX_TROVIX__CAN_TIME_SYNC__CRC_VALIDATION__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown CRC validation mode %u",
                      (unsigned)slaveCmd->CrcValidatedType);
  return stbm_sim_time_base_known(portHandle, slaveCmd->TimeSyncMgrId, slaveCmd->TimeBaseId);
}

/* Ethernet time-synchronisation sockets of one port, by identifier. */
#define ETH_TIME_SYNC_SOCKETS 8u

typedef struct {
  uint32_t handle; /* 0: slot free */
  u32_t count;
  u32_t sockets[ETH_TIME_SYNC_SOCKETS];
} eth_port;

static eth_port eth_ports[QXSIM_MAX_PORTS];
static qxsim_port_table eth_table = QXSIM_PORT_TABLE(eth_ports, NULL, NULL);

static uint32_t eth_port_of(u32_t handle, const void *command, eth_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_need(command, "command"));
  return qxsim_port_state(&eth_table, handle, port);
}

static int eth_socket_known(const eth_port *port, u32_t id) {
  u32_t i;
  for (i = 0; i < port->count; i++)
    if (port->sockets[i] == id) return 1;
  return 0;
}

/* A master or slave: on a configured socket, for a configured time base. */
static uint32_t eth_serve(u32_t handle, const void *command, u32_t socket, u8_t manager, u16_t base) {
  eth_port *port;
  QXSIM_TRY(eth_port_of(handle, command, &port));
  if (!eth_socket_known(port, socket))
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown time-synchronisation socket %u", (unsigned)socket);
  return stbm_sim_time_base_known(handle, manager, base);
}

Qx_Error_t sim_Qx_Trovix_EthTimeSync_Config_Socket(Qx_PortHandle_t portHandle,
                                                   Qx_Trovix_EthTimeSync_Config_Socket_Cmd_t const *const socketCmd) {
  eth_port *port;
  QXSIM_TRY(eth_port_of(portHandle, socketCmd, &port));
  if (eth_socket_known(port, socketCmd->SocketId)) return 0;
  if (port->count == ETH_TIME_SYNC_SOCKETS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the socket table is full (%u sockets)", ETH_TIME_SYNC_SOCKETS);
  port->sockets[port->count++] = socketCmd->SocketId;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_EthTimeSync_Config_Master(Qx_PortHandle_t portHandle,
                                                   Qx_Trovix_EthTimeSync_Config_Master_Cmd_t const *const ethMasterCmd) {
  if (!ethMasterCmd) return eth_serve(portHandle, NULL, 0, 0, 0);
  return eth_serve(portHandle, ethMasterCmd, ethMasterCmd->SocketId, ethMasterCmd->TimeSyncMgrId,
                   ethMasterCmd->TimeBaseId);
}

Qx_Error_t sim_Qx_Trovix_EthTimeSync_Config_Slave(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_EthTimeSync_Config_Slave_Cmd_t const *const ethSlaveCmd) {
  if (!ethSlaveCmd) return eth_serve(portHandle, NULL, 0, 0, 0);
  return eth_serve(portHandle, ethSlaveCmd, ethSlaveCmd->SocketId, ethSlaveCmd->TimeSyncMgrId,
                   ethSlaveCmd->TimeBaseId);
}
