/* Simulated Trovix time-base manager: one time base per (manager instance,
 * time-base identifier) pair, made by its configuration. A time base answers
 * with what was set: its global time, which advances by STBM_READ_STEP_NS at
 * every reading of the current time, its offset, rate correction, user data
 * and status; setting the global time records the leap from the time it
 * had. Setting or updating the global time and triggering a transmission
 * count in the time base's one-byte update counter. */
#include <stdint.h>
#include <string.h>

#include "stbm_sim.h"

/* Time bases of one port. */
#define STBM_TIME_BASES 8u
/* Nanoseconds the time base's time advances between two readings. */
#define STBM_READ_STEP_NS 250000u
#define STBM_NS_PER_S 1000000000u
/* Status bit: the global time (the offset, for the offset status) was set
 * or updated. */
#define STBM_STATUS_GLOBAL_TIME_BASE 0x08u
/* Response flag of Qx_Trovix_TimeSyncMgr_GetInitValue: initial values were
 * set. */
#define STBM_INIT_VALUE_SET 0x1u

typedef struct {
  int used;
  u8_t manager;
  u16_t id;
  Qx_Trovix_TimeSyncMgr_TimeBase_Config_Cmd_t config;
  Qx_Trovix_TimeSyncMgr_TimeCorrection_Config_Cmd_t correction;
  Qx_Trovix_TimeSyncMgr_Timestamp_t time, offset;
  u8_t status, offset_status;
  u8_t counter;
  int init_set;
  Qx_Trovix_TimeSyncMgr_SetInitValue_Cmd_t init;
  u8_t user_data_length, user_data[3];
  u8_t offset_data_length, offset_data[3];
  s32_t rate_correction;
  s64_t time_leap;
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

/* Time base `id` of manager `manager`, configured on the port. */
static uint32_t known_base(stbm_port *port, u8_t manager, u16_t id, stbm_time_base **base) {
  *base = find_base(port, manager, id);
  if (!*base)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown time base %u of time-base manager %u", (unsigned)id,
                      (unsigned)manager);
  return 0;
}

uint32_t stbm_sim_time_base_known(u32_t handle, u8_t manager, u16_t id) {
  stbm_port *port;
  stbm_time_base *base;
  QXSIM_TRY(stbm_port_of(handle, &port));
  return known_base(port, manager, id, &base);
}

/* The configured time base that the header of the command `cmd` (a record
 * pointer, possibly null) names. */
#define BASE_OF(handle, cmd, base) base_of((handle), (cmd), (cmd) ? &(cmd)->TimeSyncMgrId : NULL, \
                                           (cmd) ? &(cmd)->TimeBaseId : NULL, (base))

static uint32_t base_of(u32_t handle, const void *command, const u8_t *manager, const u16_t *id,
                        stbm_time_base **base) {
  stbm_port *port;
  *base = NULL;
  QXSIM_TRY(stbm_port_of(handle, &port));
  QXSIM_TRY(qxsim_need(command, "command"));
  return known_base(port, *manager, *id, base);
}

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

/* The signed nanoseconds from `from` to `to`, saturated to the s64_t range. */
static s64_t leap_between(const Qx_Trovix_TimeSyncMgr_Timestamp_t *from, const Qx_Trovix_TimeSyncMgr_Timestamp_t *to) {
  const u64_t limit = INT64_MAX / STBM_NS_PER_S - 5; /* room for any nanoseconds */
  int later = to->Seconds >= from->Seconds;
  u64_t seconds = later ? to->Seconds - from->Seconds : from->Seconds - to->Seconds;
  s64_t ns;
  if (seconds > limit) return later ? INT64_MAX : INT64_MIN;
  ns = (s64_t)seconds * STBM_NS_PER_S;
  if (!later) ns = -ns;
  return ns + ((s64_t)to->Nanoseconds - (s64_t)from->Nanoseconds);
}

static void advance(Qx_Trovix_TimeSyncMgr_Timestamp_t *time, u32_t ns) {
  u64_t total = (u64_t)time->Nanoseconds + ns;
  time->Seconds += total / STBM_NS_PER_S;
  time->Nanoseconds = (u32_t)(total % STBM_NS_PER_S);
}

/* Sets the global time (SetGlobalTime and UpdateGlobalTime). */
static void set_global_time(stbm_time_base *base, const Qx_Trovix_TimeSyncMgr_Timestamp_t *time, u8_t length,
                            const u8_t *data) {
  base->time_leap = leap_between(&base->time, time);
  base->time = *time;
  base->status |= STBM_STATUS_GLOBAL_TIME_BASE;
  base->counter++;
  base->user_data_length = length;
  memcpy(base->user_data, data, sizeof base->user_data);
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_GetCurrentTime(Qx_PortHandle_t portHandle,
                                                    Qx_Trovix_TimeSyncMgr_GetCurrentTime_Cmd_t const *const currentTimeCmd,
                                                    Qx_Trovix_TimeSyncMgr_GetCurrentTime_Rsp_t *const currentTimeRsp) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, currentTimeCmd, &base));
  QXSIM_TRY(qxsim_need(currentTimeRsp, "response"));
  memset(currentTimeRsp, 0, sizeof *currentTimeRsp);
  currentTimeRsp->Time = base->time;
  currentTimeRsp->Status = base->status;
  currentTimeRsp->UserDataLength = base->user_data_length;
  memcpy(currentTimeRsp->UserData, base->user_data, sizeof base->user_data);
  advance(&base->time, STBM_READ_STEP_NS);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_SetGlobalTime(Qx_PortHandle_t portHandle,
                                                   Qx_Trovix_TimeSyncMgr_SetGlobalTime_Cmd_t const *const setTimeCmd) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, setTimeCmd, &base));
  set_global_time(base, &setTimeCmd->NewGlobalTime, setTimeCmd->UserDataLength, setTimeCmd->UserData);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_UpdateGlobalTime(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_UpdateGlobalTime_Cmd_t const *const updateTimeCmd) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, updateTimeCmd, &base));
  set_global_time(base, &updateTimeCmd->NewGlobalTime, updateTimeCmd->UserDataLength, updateTimeCmd->UserData);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_SetOffset(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_TimeSyncMgr_SetOffset_Cmd_t const *const setOffsetCmd) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, setOffsetCmd, &base));
  base->offset = setOffsetCmd->NewOffset;
  base->offset_status |= STBM_STATUS_GLOBAL_TIME_BASE;
  base->offset_data_length = setOffsetCmd->UserDataLength;
  memcpy(base->offset_data, setOffsetCmd->UserData, sizeof base->offset_data);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_GetOffset(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_TimeSyncMgr_GetOffset_Cmd_t const *const getOffsetCmd,
                                               Qx_Trovix_TimeSyncMgr_GetOffset_Rsp_t *const getOffsetRsp) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, getOffsetCmd, &base));
  QXSIM_TRY(qxsim_need(getOffsetRsp, "response"));
  memset(getOffsetRsp, 0, sizeof *getOffsetRsp);
  getOffsetRsp->Offset = base->offset;
  getOffsetRsp->Status = base->offset_status;
  getOffsetRsp->UserDataLength = base->offset_data_length;
  memcpy(getOffsetRsp->UserData, base->offset_data, sizeof base->offset_data);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_GetRateDeviation(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_GetRateDeviation_Cmd_t const *const rateDeviationCmd,
    Qx_Trovix_TimeSyncMgr_GetRateDeviation_Rsp_t *const rateDeviationRsp) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, rateDeviationCmd, &base));
  QXSIM_TRY(qxsim_need(rateDeviationRsp, "response"));
  rateDeviationRsp->RateDeviation = base->rate_correction;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_SetRateCorrection(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_SetRateCorrection_Cmd_t const *const rateCorrectionCmd) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, rateCorrectionCmd, &base));
  base->rate_correction = rateCorrectionCmd->RateCorrection;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_GetTimeLeap(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_TimeSyncMgr_GetTimeLeap_Cmd_t const *const timeLeapCmd,
                                                 Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t *const timeLeapRsp) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, timeLeapCmd, &base));
  QXSIM_TRY(qxsim_need(timeLeapRsp, "response"));
  timeLeapRsp->TimeLeap = base->time_leap;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_GetStatus(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_TimeSyncMgr_GetStatus_Cmd_t const *const statusCmd,
                                               Qx_Trovix_TimeSyncMgr_GetStatus_Rsp_t *const statusRsp) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, statusCmd, &base));
  QXSIM_TRY(qxsim_need(statusRsp, "response"));
  memset(statusRsp, 0, sizeof *statusRsp);
  statusRsp->SyncTimeBaseStatus = base->status;
  statusRsp->OffsetTimeBaseStatus = base->offset_status;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_TrigTimeTransmission(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_TrigTimeTransmission_Cmd_t const *const transmissionCmd) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, transmissionCmd, &base));
  base->counter++;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_GetUpdateCounter(
    Qx_PortHandle_t portHandle, Qx_Trovix_TimeSyncMgr_GetUpdateCounter_Cmd_t const *const updateCounterCmd,
    Qx_Trovix_TimeSyncMgr_GetUpdateCounter_Rsp_t *const updateCounterRsp) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, updateCounterCmd, &base));
  QXSIM_TRY(qxsim_need(updateCounterRsp, "response"));
  memset(updateCounterRsp, 0, sizeof *updateCounterRsp);
  updateCounterRsp->CounterValue = base->counter;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_SetUserData(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_TimeSyncMgr_SetUserData_Cmd_t const *const userDataCmd) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, userDataCmd, &base));
  base->user_data_length = userDataCmd->UserDataLength;
  memcpy(base->user_data, userDataCmd->UserData, sizeof base->user_data);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_SetInitValue(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_TimeSyncMgr_SetInitValue_Cmd_t const *const setInitValueCmd) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, setInitValueCmd, &base));
  base->init = *setInitValueCmd;
  base->init_set = 1;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_TimeSyncMgr_GetInitValue(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_TimeSyncMgr_GetInitValue_Cmd_t const *const getInitValueCmd,
                                                  Qx_Trovix_TimeSyncMgr_GetInitValue_Rsp_t *const getInitValueRsp) {
  stbm_time_base *base;
  QXSIM_TRY(BASE_OF(portHandle, getInitValueCmd, &base));
  QXSIM_TRY(qxsim_need(getInitValueRsp, "response"));
  memset(getInitValueRsp, 0, sizeof *getInitValueRsp);
  getInitValueRsp->Flags = base->init_set ? STBM_INIT_VALUE_SET : 0;
  getInitValueRsp->GlobalTime = base->init.GlobalTime;
  getInitValueRsp->RateCorrection = base->init.RateCorrection;
  getInitValueRsp->UserDataLength = base->init.UserDataLength;
  memcpy(getInitValueRsp->UserData, base->init.UserData, sizeof getInitValueRsp->UserData);
  return 0;
}
