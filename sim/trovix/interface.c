/* Simulated Trovix stacks: per-port state, interface initialisation and
 * configuration. */
#include <string.h>

#include "trovix_sim.h"

static trovix_sim_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t trovix_port(u32_t handle, trovix_sim_port **port) {
  QXSIM_TRY(qxsim_port_state(&table, handle, port));
  if (qxsim_interface_at(qxsim_port_interface(handle))->type != QX_INTERFACE_TYPE__TROVIX)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "port 0x%08X is not a Trovix interface", (unsigned)handle);
  return 0;
}

trovix_sim_port *trovix_sim_port_found(u32_t handle) {
  u32_t i;
  for (i = 0; handle && i < QXSIM_MAX_PORTS; i++)
    if (ports[i].handle == handle) return ports[i].initialised ? &ports[i] : NULL;
  return NULL;
}

uint32_t trovix_sim_port_state(u32_t handle, trovix_sim_port **port) {
  QXSIM_TRY(trovix_port(handle, port));
  if (!(*port)->initialised)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the Trovix interface of port 0x%08X is not initialised",
                      (unsigned)handle);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_InitInterface(Qx_PortHandle_t portHandle, Qx_Trovix_InitInterface_CmdFlags_t flags) {
  trovix_sim_port *port;
  (void)flags;
  QXSIM_TRY(trovix_port(portHandle, &port));
  port->initialised = 1;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Config(Qx_PortHandle_t portHandle, Qx_Trovix_Config_CmdFlags_t flags,
                                char const *const configuration) {
  trovix_sim_port *port;
  (void)flags;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(configuration, "configuration"));
  if (!*configuration) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "the configuration text is empty");
  port->configurations++;
  return 0;
}
