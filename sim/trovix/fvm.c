/* Simulated Trovix freshness value manager: the freshness values of a port,
 * by identifier. A scheme command configures one (made on first use, its
 * configuration replaced by a later command of any scheme); a value starts
 * at 0 with its communication stopped. Setting a value stores all 64 bits,
 * and reading it gives them back. Starting communication that runs, or
 * stopping communication that does not, is refused. A time-server role
 * that names an ECU freshness value needs that one configured first. */
#include <stdint.h>
#include <string.h>

#include "trovix_sim.h"

/* Freshness values of one port. */
#define FVM_SIM_VALUES 16u

typedef struct {
  int used;
  u32_t id;
  int started;
  u64_t value;
} fvm_value;

typedef struct {
  uint32_t handle; /* 0: slot free */
  fvm_value values[FVM_SIM_VALUES];
} fvm_port;

static fvm_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* The manager of an initialised Trovix port, given a command: every command
 * begins with its flags and the identifier of the freshness value (read from
 * the bytes, the records being distinct types). */
static uint32_t fvm_command(u32_t handle, const void *command, fvm_port **port, u32_t *id) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_need(command, "command"));
  memcpy(id, (const unsigned char *)command + sizeof(u32_t), sizeof *id);
  return qxsim_port_state(&table, handle, port);
}

static fvm_value *find_value(fvm_port *port, u32_t id) {
  u32_t i;
  for (i = 0; i < FVM_SIM_VALUES; i++)
    if (port->values[i].used && port->values[i].id == id) return &port->values[i];
  return NULL;
}

static uint32_t known_value(fvm_port *port, u32_t id, fvm_value **value) {
  *value = find_value(port, id);
  if (!*value) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown freshness value %u", (unsigned)id);
  return 0;
}

/* Configures the freshness value that `command` names. */
static uint32_t configure(u32_t handle, const void *command) {
  fvm_port *port;
  fvm_value *value;
  u32_t id = 0, i;
  QXSIM_TRY(fvm_command(handle, command, &port, &id));
  value = find_value(port, id);
  for (i = 0; i < FVM_SIM_VALUES && !value; i++)
    if (!port->values[i].used) {
      value = &port->values[i];
      memset(value, 0, sizeof *value);
      value->used = 1;
      value->id = id;
    }
  if (!value)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the freshness value table is full (%u values)", FVM_SIM_VALUES);
  return 0;
}

/* ---- communication control and freshness access ----------------------------- */

static uint32_t communicate(u32_t handle, const void *command, int start) {
  fvm_port *port;
  fvm_value *value;
  u32_t id = 0;
  QXSIM_TRY(fvm_command(handle, command, &port, &id));
  QXSIM_TRY(known_value(port, id, &value));
  if (value->started == start)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "communication of freshness value %u is %s", (unsigned)id,
                      start ? "already started" : "not started");
  value->started = start;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Fvm_StartCommunication(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_StartCommunication_Cmd_t const *const startCommunicationCmd) {
  return communicate(portHandle, startCommunicationCmd, 1);
}

Qx_Error_t sim_Qx_Trovix_Fvm_StopCommunication(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_StopCommunication_Cmd_t const *const stopCommunicationCmd) {
  return communicate(portHandle, stopCommunicationCmd, 0);
}

Qx_Error_t sim_Qx_Trovix_Fvm_GetFreshness(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_Fvm_GetFreshness_Cmd_t const *const getFreshnessCmd,
                                          u64_t *const freshnessValue) {
  fvm_port *port;
  fvm_value *value;
  u32_t id = 0;
  QXSIM_TRY(fvm_command(portHandle, getFreshnessCmd, &port, &id));
  QXSIM_TRY(known_value(port, id, &value));
  QXSIM_TRY(qxsim_need(freshnessValue, "freshness value cell"));
  *freshnessValue = value->value;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Fvm_SetFreshness(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_Fvm_SetFreshness_Cmd_t const *const setFreshnessCmd) {
  fvm_port *port;
  fvm_value *value;
  u32_t id = 0;
  QXSIM_TRY(fvm_command(portHandle, setFreshnessCmd, &port, &id));
  QXSIM_TRY(known_value(port, id, &value));
  value->value = setFreshnessCmd->Value;
  return 0;
}

/* ---- schemes: each configures the freshness value its command names ---------------- */

Qx_Error_t sim_Qx_Trovix_Fvm_FreshnessValue_Custom1(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom1_Cmd_t const *const custom1Cmd) {
  return configure(portHandle, custom1Cmd);
}

Qx_Error_t sim_Qx_Trovix_Fvm_FreshnessValue_Custom3_Master(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom3_Master_Cmd_t const *const custom3MasterCmd) {
  return configure(portHandle, custom3MasterCmd);
}

Qx_Error_t sim_Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom3_Slave_Cmd_t const *const custom3SlaveCmd) {
  return configure(portHandle, custom3SlaveCmd);
}

Qx_Error_t sim_Qx_Trovix_Fvm_FreshnessValue_Custom4_Master(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom4_Master_Cmd_t const *const custom4MasterCmd) {
  return configure(portHandle, custom4MasterCmd);
}

Qx_Error_t sim_Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_FreshnessValue_Custom4_Slave_Cmd_t const *const custom4SlaveCmd) {
  return configure(portHandle, custom4SlaveCmd);
}

/* A time-server role that names an ECU freshness value: that one must be
 * configured already. */
static uint32_t configure_referring(u32_t handle, const void *command, u32_t ecu) {
  fvm_port *port;
  u32_t id = 0;
  QXSIM_TRY(fvm_command(handle, command, &port, &id));
  if (!find_value(port, ecu)) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown ECU freshness value %u", (unsigned)ecu);
  return configure(handle, command);
}

/* ---- time-server scheme Custom2 ----------------------------------------------------- */

Qx_Error_t sim_Qx_Trovix_Fvm_Custom2_TimeServerEcu(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom2_TimeServerEcu_Cmd_t const *const custom2TimeServerEcuCmd) {
  return configure(portHandle, custom2TimeServerEcuCmd);
}

Qx_Error_t sim_Qx_Trovix_Fvm_Custom2_PartEcu(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_Fvm_Custom2_PartEcu_Cmd_t const *const custom2PartEcuCmd) {
  return configure(portHandle, custom2PartEcuCmd);
}

Qx_Error_t sim_Qx_Trovix_Fvm_Custom2_AuthBroadcast(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom2_AuthBroadcast_Cmd_t const *const custom2AuthBroadcastCmd) {
  return configure_referring(portHandle, custom2AuthBroadcastCmd,
                             custom2AuthBroadcastCmd ? custom2AuthBroadcastCmd->ECU_FreshnessValueId : 0);
}

Qx_Error_t sim_Qx_Trovix_Fvm_Custom2_PartEcuChallenge(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom2_PartEcuChallenge_Cmd_t const *const custom2PartEcuChallengeCmd) {
  return configure_referring(portHandle, custom2PartEcuChallengeCmd,
                             custom2PartEcuChallengeCmd ? custom2PartEcuChallengeCmd->ECU_FreshnessValueId : 0);
}

Qx_Error_t sim_Qx_Trovix_Fvm_Custom2_TimeServerEcuResponse(
    Qx_PortHandle_t portHandle,
    Qx_Trovix_Fvm_Custom2_TimeServerEcuResponse_Cmd_t const *const custom2TimeServerEcuResponseCmd) {
  return configure_referring(
      portHandle, custom2TimeServerEcuResponseCmd,
      custom2TimeServerEcuResponseCmd ? custom2TimeServerEcuResponseCmd->ECU_FreshnessValueId : 0);
}

/* ---- time-server scheme Custom5 ----------------------------------------------------- */

Qx_Error_t sim_Qx_Trovix_Fvm_Custom5_TimeServerEcu(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom5_TimeServerEcu_Cmd_t const *const custom5TimeServerEcuCmd) {
  return configure(portHandle, custom5TimeServerEcuCmd);
}

Qx_Error_t sim_Qx_Trovix_Fvm_Custom5_PartEcu(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_Fvm_Custom5_PartEcu_Cmd_t const *const custom5PartEcuCmd) {
  return configure(portHandle, custom5PartEcuCmd);
}

Qx_Error_t sim_Qx_Trovix_Fvm_Custom5_AuthBroadcast(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom5_AuthBroadcast_Cmd_t const *const custom5AuthBroadcastCmd) {
  return configure_referring(portHandle, custom5AuthBroadcastCmd,
                             custom5AuthBroadcastCmd ? custom5AuthBroadcastCmd->ECU_FreshnessValueId : 0);
}

Qx_Error_t sim_Qx_Trovix_Fvm_Custom5_PartEcuChallenge(
    Qx_PortHandle_t portHandle, Qx_Trovix_Fvm_Custom5_PartEcuChallenge_Cmd_t const *const custom5PartEcuChallengeCmd) {
  return configure_referring(portHandle, custom5PartEcuChallengeCmd,
                             custom5PartEcuChallengeCmd ? custom5PartEcuChallengeCmd->ECU_FreshnessValueId : 0);
}

Qx_Error_t sim_Qx_Trovix_Fvm_Custom5_TimeServerEcuResponse(
    Qx_PortHandle_t portHandle,
    Qx_Trovix_Fvm_Custom5_TimeServerEcuResponse_Cmd_t const *const custom5TimeServerEcuResponseCmd) {
  return configure_referring(
      portHandle, custom5TimeServerEcuResponseCmd,
      custom5TimeServerEcuResponseCmd ? custom5TimeServerEcuResponseCmd->ECU_FreshnessValueId : 0);
}
