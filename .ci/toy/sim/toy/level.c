/*
 * The simulated toy library: each port keeps its level and hands every new
 * level to its level callback before the call returns. A sequence of steps
 * is refused whole if any step's level is too high, else its levels are set
 * in turn (the durations are not waited for).
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

static void set_level(toy_port *p, Qx_PortHandle_t portHandle, u32_t level) {
  p->level = level;
  if (p->callback) p->callback(portHandle, level);
}

Qx_Error_t sim_Qx_Toy_Level_Set(Qx_PortHandle_t portHandle, u32_t level) {
  toy_port *p;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  if (level > QX_TOY__LEVEL_MAX)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "level %u above %u", (unsigned)level, QX_TOY__LEVEL_MAX);
  set_level(p, portHandle, level);
  return 0;
}

Qx_Error_t sim_Qx_Toy_Level_Steps(Qx_PortHandle_t portHandle, u32_t numberOfSteps, Qx_Toy_Step_t const *const steps) {
  toy_port *p;
  u32_t i;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  QXSIM_TRY(qxsim_need(steps || !numberOfSteps, "steps"));
  for (i = 0; i < numberOfSteps; i++)
    if (steps[i].Level > QX_TOY__LEVEL_MAX)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "step %u: level %u above %u", (unsigned)i,
                        (unsigned)steps[i].Level, QX_TOY__LEVEL_MAX);
  for (i = 0; i < numberOfSteps; i++) set_level(p, portHandle, steps[i].Level);
  return 0;
}
