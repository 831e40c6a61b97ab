/* Simulated Com signal monitors: each presents one of its signals at a time;
 * every reading of its data carries a later timestamp of the stack's clock. */
#include <string.h>

#include "trovix_sim.h"

static u64_t clock_now;

static void monitor_reset(void) { clock_now = TROVIX_SIM_CLOCK_EPOCH; }

__attribute__((constructor)) static void monitor_init(void) {
  monitor_reset();
  qxsim_on_reset(monitor_reset);
}

static u64_t tick(void) {
  u64_t now = clock_now;
  clock_now += TROVIX_SIM_MONITOR_STEP;
  return now;
}

static uint32_t monitor_of(trovix_sim_port *port, const void *cmd, u32_t id, trovix_sim_monitor **monitor) {
  u32_t i;
  *monitor = NULL;
  QXSIM_TRY(qxsim_need(cmd, "command"));
  for (i = 0; i < TROVIX_SIM_MONITORS; i++) {
    if (id && port->monitors[i].id == id) {
      *monitor = &port->monitors[i];
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown signal monitor %u", (unsigned)id);
}

Qx_Error_t sim_Qx_Trovix_Com_SignalMonitor_Config(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_Com_SignalMonitor_Config_Cmd_t const *const configCmd,
                                                  Qx_Trovix_Com_SignalMonitor_Config_Signal_t const *const monitorSignals,
                                                  Qx_Trovix_Com_SignalMonitor_Config_Rsp_t *const configRsp) {
  trovix_sim_port *port;
  trovix_sim_monitor *monitor = NULL;
  u32_t i, n;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(configCmd, "command"));
  QXSIM_TRY(qxsim_need(configRsp, "response"));
  n = configCmd->NumberOfSignals;
  if (n == 0 || n > TROVIX_SIM_MONITOR_SIGNALS)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u signals, a monitor takes 1 to %u", (unsigned)n,
                      TROVIX_SIM_MONITOR_SIGNALS);
  QXSIM_TRY(qxsim_need(monitorSignals, "signals"));
  for (i = 0; i < n; i++) {
    trovix_sim_signal *signal;
    QXSIM_TRY(trovix_sim_signal_of(port, monitorSignals[i].SignalHandle, &signal));
  }
  for (i = 0; i < TROVIX_SIM_MONITORS && !monitor; i++)
    if (!port->monitors[i].id) monitor = &port->monitors[i];
  if (!monitor) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "all %u signal monitors are in use", TROVIX_SIM_MONITORS);
  memset(monitor, 0, sizeof *monitor);
  monitor->id = (u32_t)(monitor - port->monitors) + 1;
  monitor->count = n;
  for (i = 0; i < n; i++) {
    monitor->handles[i] = monitorSignals[i].SignalHandle;
    monitor->flags[i] = monitorSignals[i].Flags;
  }
  configRsp->SignalMonitorId = monitor->id;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_SignalMonitor_Delete(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_Com_SignalMonitor_Delete_Cmd_t const *const deleteCmd) {
  trovix_sim_port *port;
  trovix_sim_monitor *monitor;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(monitor_of(port, deleteCmd, deleteCmd ? deleteCmd->SignalMonitorId : 0, &monitor));
  memset(monitor, 0, sizeof *monitor);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_SignalMonitor_Start(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_Com_SignalMonitor_Start_Cmd_t const *const startCmd,
                                                 Qx_Trovix_Com_SignalMonitor_Start_Rsp_t *const startRsp) {
  trovix_sim_port *port;
  trovix_sim_monitor *monitor;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(monitor_of(port, startCmd, startCmd ? startCmd->SignalMonitorId : 0, &monitor));
  QXSIM_TRY(qxsim_need(startRsp, "response"));
  if (monitor->started)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "signal monitor %u is started already", (unsigned)monitor->id);
  monitor->started = 1;
  startRsp->SignalMonitorId = monitor->id;
  startRsp->Timestamp = tick();
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_SignalMonitor_Stop(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_Com_SignalMonitor_Stop_Cmd_t const *const stopCmd,
                                                Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t *const stopRsp) {
  trovix_sim_port *port;
  trovix_sim_monitor *monitor;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(monitor_of(port, stopCmd, stopCmd ? stopCmd->SignalMonitorId : 0, &monitor));
  QXSIM_TRY(qxsim_need(stopRsp, "response"));
  if (!monitor->started)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "signal monitor %u is not started", (unsigned)monitor->id);
  monitor->started = 0;
  stopRsp->SignalMonitorId = monitor->id;
  stopRsp->Timestamp = tick();
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_SignalMonitor_GetSignalInfo(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Cmd_t const *const infoCmd,
    Qx_Trovix_Com_SignalMonitor_GetSignalInfo_Rsp_t *const infoRsp) {
  trovix_sim_port *port;
  trovix_sim_monitor *monitor;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(monitor_of(port, infoCmd, infoCmd ? infoCmd->SignalMonitorId : 0, &monitor));
  QXSIM_TRY(qxsim_need(infoRsp, "response"));
  infoRsp->SignalMonitorId = monitor->id;
  infoRsp->SignalHandle = monitor->handles[monitor->current];
  infoRsp->DataLength = trovix_sim_signal_size(&port->signals[monitor->handles[monitor->current]]);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_SignalMonitor_GetSignalData(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_SignalMonitor_GetSignalData_Cmd_t const *const dataCmd,
    Qx_Trovix_Com_SignalMonitor_GetSignalData_Rsp_t *const dataRsp, u32_t *const dataLength, u8_t *const signalData) {
  trovix_sim_port *port;
  trovix_sim_monitor *monitor;
  trovix_sim_signal *signal;
  u32_t length;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(monitor_of(port, dataCmd, dataCmd ? dataCmd->SignalMonitorId : 0, &monitor));
  QXSIM_TRY(qxsim_need(dataRsp, "response"));
  QXSIM_TRY(qxsim_need(dataLength, "data length cell"));
  if (!monitor->started)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "signal monitor %u is not started", (unsigned)monitor->id);
  signal = &port->signals[monitor->handles[monitor->current]];
  length = signal->written ? signal->value_size : trovix_sim_signal_size(signal);
  if (*dataLength < length)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "room for %u bytes, the data has %u", (unsigned)*dataLength,
                      (unsigned)length);
  QXSIM_TRY(qxsim_need(signalData, "data"));
  if (signal->written)
    memcpy(signalData, signal->value, length);
  else
    memcpy(signalData, &signal->default_value, length < sizeof(u32_t) ? length : sizeof(u32_t));
  *dataLength = length;
  dataRsp->SignalMonitorId = monitor->id;
  dataRsp->SignalHandle = monitor->handles[monitor->current];
  dataRsp->Timestamp = tick();
  dataRsp->SignalFlags = monitor->flags[monitor->current];
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_SignalMonitor_SwitchToNextSignal_Cmd_t const *const switchCmd) {
  trovix_sim_port *port;
  trovix_sim_monitor *monitor;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(monitor_of(port, switchCmd, switchCmd ? switchCmd->SignalMonitorId : 0, &monitor));
  monitor->current = (monitor->current + 1) % monitor->count;
  return 0;
}
