/* Simulated Trovix FlexRay interface: the clusters and their controllers
 * (keyed by ClusterId and ControllerId), the PDUs, LPDUs, placements of PDUs
 * in LPDUs and frame triggers (keyed by identifier) and the transmit and
 * receive PDU tables (sized by the MaxNumber calls, keyed by FrPduId). */
#include <string.h>

#include "trovix_tables.h"

#define FR_SIM_CLUSTERS 2u
#define FR_SIM_CONTROLLERS 4u

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t cluster_count, controller_count;
  Qx_Trovix_FlexRayIf_Cluster_Config_Parameters_t clusters[FR_SIM_CLUSTERS];
  Qx_Trovix_FlexRayIf_Controller_Config_Parameters_t controllers[FR_SIM_CONTROLLERS];
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
