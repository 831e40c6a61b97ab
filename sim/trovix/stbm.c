/* Simulated Trovix time-base manager: one time base per (manager instance,
 * time-base identifier) pair, made by its configuration. */
#include <string.h>

#include "trovix_sim.h"

/* Time bases of one port. */
#define STBM_TIME_BASES 8u

typedef struct {
  int used;
  u8_t manager;
  u16_t id;
  Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t config;
  Qx_Trovix_TimeSyncMgr_TimeCorrection_Config_Cmd_t correction;
} stbm_time_base;

typedef struct {
  uint32_t handle; /* 0: slot free */
  stbm_time_base bases[STBM_TIME_BASES];
} stbm_port;

static stbm_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* The manager state of an initialised Trovix port. */
static uint32_t stbm_port_of(u32_t handle, stbm_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  return qxsim_port_state(&table, handle, port);
}

static stbm_time_base *find_base(stbm_port *port, u8_t manager, u16_t id) {
  u32_t i;
  for (i = 0; i < STBM_TIME_BASES; i++)
    if (port->bases[i].used && port->bases[i].manager == manager && port->bases[i].id == id) return &port->bases[i];
  return NULL;
}

/* The configured time base named by a command's header. */
static uint32_t base_of(u32_t handle, const void *command, u8_t manager, u16_t id, stbm_time_base **base) {
  stbm_port *port;
  *base = NULL;
  QXSIM_TRY(stbm_port_of(handle, &port));
  QXSIM_TRY(qxsim_need(command, "command"));
  *base = find_base(port, manager, id);
  if (!*base)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown time base %u of time-base manager %u", (unsigned)id,
                      (unsigned)manager);
  return 0;
}

#define BASE_OF(handle, cmd, base) \
  base_of((handle), (cmd), (cmd) ? (cmd)->TimeSyncMgrId : 0, (cmd) ? (cmd)->TimeBaseId : 0, (base))

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_TimeBase_Config(Qx_PortHandle_t portHandle,
                                                     Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t const *const configCmd) {
  stbm_port *port;
  stbm_time_base *base;
  u32_t i;
  QXSIM_TRY(stbm_port_of(portHandle, &port));
  QXSIM_TRY(qxsim_need(configCmd, "command"));
  base = find_base(port, configCmd->TimeSyncMgrId, configCmd->TimeBaseId);
  for (i = 0; !base && i < STBM_TIME_BASES; i++) {
    if (!port->bases[i].used) {
      base = &port->bases[i];
      memset(base, 0, sizeof *base);
      base->used = 1;
      base->manager = configCmd->TimeSyncMgrId;
      base->id = configCmd->TimeBaseId;
    }
  }
  if (!base) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the time-base table is full (%u time bases)", STBM_TIME_BASES);
  base->config = *configCmd;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_TimeCorrection_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_TimeCorrection_Config_Cmd_t const *const correctionCmd) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, correctionCmd, &base));
  base->correction = *correctionCmd;
  return 0;
}
