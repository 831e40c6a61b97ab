/* Simulated Trovix Ethernet interface: it must be initialised on the port
 * first; VLANs, MAC addresses and IP addresses go to a controller that has
 * been configured. */
#include <string.h>

#include "trovix_sim.h"

#define ETHIF_CONTROLLERS 256u

typedef struct {
  u32_t handle; /* 0: slot free */
  int initialised;
  u8_t configured[ETHIF_CONTROLLERS]; /* by ControllerId */
} ethif_port;

static ethif_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t ethif_port_of(u32_t handle, int need_init, ethif_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_port_state(&table, handle, port));
  if (need_init && !(*port)->initialised)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the Ethernet interface is not initialised");
  return 0;
}

static uint32_t ethif_controller(u32_t handle, const void *command, u8_t controller) {
  ethif_port *port;
  QXSIM_TRY(ethif_port_of(handle, 1, &port));
  QXSIM_TRY(qxsim_need(command, "command"));
  if (!port->configured[controller])
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown Ethernet controller %u", (unsigned)controller);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_EthIf_IpAddr_Add(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_EthIf_IpAddr_Add_Cmd_t const *const ipAddrAddCmd) {
  return ethif_controller(portHandle, ipAddrAddCmd, ipAddrAddCmd ? ipAddrAddCmd->ControllerId : 0);
}

Qx_Error_t sim_Qx_Trovix_EthIf_Vlan_Config(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_EthIf_Vlan_Config_Cmd_t const *const vlanConfigCmd) {
  return ethif_controller(portHandle, vlanConfigCmd, vlanConfigCmd ? vlanConfigCmd->ControllerId : 0);
}

Qx_Error_t sim_Qx_Trovix_EthIf_MacAddr_Set(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_EthIf_MacAddr_Set_Cmd_t const *const macAddrSetCmd) {
  return ethif_controller(portHandle, macAddrSetCmd, macAddrSetCmd ? macAddrSetCmd->ControllerId : 0);
}

Qx_Error_t sim_Qx_Trovix_EthIf_Controller_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_EthIf_Controller_Config_Cmd_t const *const controllerConfigCmd) {
  ethif_port *port;
  QXSIM_TRY(ethif_port_of(portHandle, 1, &port));
  QXSIM_TRY(qxsim_need(controllerConfigCmd, "command"));
  port->configured[controllerConfigCmd->ControllerId] = 1;
  return 0;
}

/* Init starts the Ethernet interface afresh; DeInit drops its controllers. */
static uint32_t ethif_start(u32_t handle, int need_init, int initialised) {
  ethif_port *port;
  QXSIM_TRY(ethif_port_of(handle, need_init, &port));
  memset(port->configured, 0, sizeof port->configured);
  port->initialised = initialised;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_EthIf_Init(Qx_PortHandle_t portHandle) { return ethif_start(portHandle, 0, 1); }

Qx_Error_t sim_Qx_Trovix_EthIf_DeInit(Qx_PortHandle_t portHandle) { return ethif_start(portHandle, 1, 0); }
