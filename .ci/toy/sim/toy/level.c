/*
 * The simulated toy library: each port keeps its level and hands every new
 * level to its level callback before the call returns.
 */
#include "qx_api_toy_behaviour.h"
#include "qxsim_device.h"

typedef struct {
  uint32_t handle; /* 0: slot free */
  Qx_Toy_LevelCallback_t callback;
  u32_t level;
} toy_port;

static toy_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

Qx_Error_t sim_Qx_Toy_Level_SetCallback(Qx_PortHandle_t portHandle, Qx_Toy_LevelCallback_t const callback) {
  toy_port *p;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  p->callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Toy_Level_Set(Qx_PortHandle_t portHandle, u32_t level) {
  toy_port *p;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  if (level > QX_TOY__LEVEL_MAX)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "level %u above %u", (unsigned)level, QX_TOY__LEVEL_MAX);
  p->level = level;
  if (p->callback) p->callback(portHandle, level);
  return 0;
}
