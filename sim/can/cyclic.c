/*
 * The simulated cyclic message engine: the messages defined on each CAN
 * port, and the parity bits, checksums, ramps and break counts attached to
 * their signals.
 *
 * Every operation on a message checks that the message is defined on that
 * port, and every operation on a signal's parity, checksum or ramp checks
 * that one is defined there, failing with a last-error text that names the
 * message (and signal) otherwise. Messages start stopped unless defined
 * with a nonzero send state; the state query reports mode 1 for a running
 * message and 0 for a stopped one.
 */
#include <string.h>

#include "qx_api_can_behaviour.h"
#include "qxsim_device.h"

#define CYC_MAX_MSGS 32
#define CYC_MAX_SIGNALS 32
#define CYC_DATA QX_BUFFER_BYTES
#define CYC_MAX_DLC 15

#define CYC_STOPPED 0
#define CYC_RUNNING 1

typedef struct {
  int used;
  u32_t id;
  u16_t cycle_time;
  u16_t break_count;
  u16_t break_time;
  u8_t group;
  u8_t msg_count;
  u8_t dlc;
  u8_t mode;
  u8_t data[CYC_DATA];
  u32_t property[QX_CAN__CYCLIC_MSGS__PROPERTY_ID__UNKNOWN];
  int multiplexed;
} cyc_msg;

typedef enum { KIND_PARITY, KIND_CHECKSUM, KIND_RAMP, KIND_BREAK_COUNT } cyc_kind;

static const char *const kind_names[] = {"parity", "checksum", "ramp", "calculation break count"};

/* Something attached to one signal of one message. */
typedef struct {
  int used;
  cyc_kind kind;
  u32_t id;
  Qx_Common_Signal_t signal;
  u8_t mode;
  u16_t min_value;
  u16_t max_value;
  u32_t ramp_sum;
} cyc_signal;

typedef struct {
  uint32_t handle; /* 0: slot free */
  cyc_msg msgs[CYC_MAX_MSGS];
  cyc_signal signals[CYC_MAX_SIGNALS];
} cyc_port;

static cyc_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* The engine of an open port, made on first use. */
static uint32_t port_of(Qx_PortHandle_t handle, cyc_port **p) { return qxsim_port_state(&table, handle, p); }

static cyc_msg *find_msg(cyc_port *p, u32_t id) {
  int i;
  for (i = 0; i < CYC_MAX_MSGS; i++)
    if (p->msgs[i].used && p->msgs[i].id == id) return &p->msgs[i];
  return NULL;
}

/* The defined message `id` of the port, written into *m (when m is given). */
static uint32_t msg_of(Qx_PortHandle_t handle, u32_t id, cyc_msg **m) {
  cyc_port *p;
  cyc_msg *found;
  QXSIM_TRY(port_of(handle, &p));
  found = find_msg(p, id);
  if (!found)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no cyclic message 0x%X defined on port 0x%08X", (unsigned)id,
                      (unsigned)handle);
  if (m) *m = found;
  return 0;
}

static int same_signal(const Qx_Common_Signal_t *a, const Qx_Common_Signal_t *b) {
  return a->Size == b->Size && a->ByteOrder == b->ByteOrder && a->Offset == b->Offset;
}

static cyc_signal *find_signal(cyc_port *p, cyc_kind kind, u32_t id, const Qx_Common_Signal_t *signal) {
  int i;
  for (i = 0; i < CYC_MAX_SIGNALS; i++) {
    cyc_signal *s = &p->signals[i];
    if (s->used && s->kind == kind && s->id == id && same_signal(&s->signal, signal)) return s;
  }
  return NULL;
}

/* The entry of `kind` on the signal of a defined message, written into *s. */
static uint32_t signal_of(Qx_PortHandle_t handle, cyc_kind kind, u32_t id, const Qx_Common_Signal_t *signal,
                          cyc_signal **s) {
  cyc_port *p;
  QXSIM_TRY(msg_of(handle, id, NULL));
  QXSIM_TRY(port_of(handle, &p));
  *s = find_signal(p, kind, id, signal);
  if (!*s)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND,
                      "no %s defined on the signal at offset %u (%u bits) of cyclic message 0x%X", kind_names[kind],
                      (unsigned)signal->Offset, (unsigned)signal->Size, (unsigned)id);
  return 0;
}

/* Attaches (or redefines) an entry of `kind` on a signal of a defined
 * message, written into *s. */
static uint32_t attach(Qx_PortHandle_t handle, cyc_kind kind, u32_t id, const Qx_Common_Signal_t *signal,
                       cyc_signal **s) {
  cyc_port *p;
  int i;
  QXSIM_TRY(msg_of(handle, id, NULL));
  QXSIM_TRY(port_of(handle, &p));
  *s = find_signal(p, kind, id, signal);
  for (i = 0; !*s && i < CYC_MAX_SIGNALS; i++)
    if (!p->signals[i].used) *s = &p->signals[i];
  if (!*s) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "too many signal definitions on port 0x%08X", (unsigned)handle);
  memset(*s, 0, sizeof **s);
  (*s)->used = 1;
  (*s)->kind = kind;
  (*s)->id = id;
  (*s)->signal = *signal;
  return 0;
}

static uint32_t detach(Qx_PortHandle_t handle, cyc_kind kind, u32_t id, const Qx_Common_Signal_t *signal) {
  cyc_signal *s;
  QXSIM_TRY(signal_of(handle, kind, id, signal, &s));
  s->used = 0;
  return 0;
}

/* New data bytes: those whose mask bits are set come from `data`. */
static void merge(u8_t *bytes, const u8_t *mask, const u8_t *data, size_t n) {
  size_t i;
  for (i = 0; i < n; i++) bytes[i] = (u8_t)((bytes[i] & ~mask[i]) | (data[i] & mask[i]));
}

static Qx_Error_t check_dlc(u8_t dlc) {
  if (dlc > CYC_MAX_DLC) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "DLC %u out of range", dlc);
  return 0;
}

/* ---- Parity, checksums and properties ------------------------------------- */

Qx_Error_t sim_Qx_Can_CyclicMsgs_Parity_Define(Qx_PortHandle_t portHandle, u32_t id,
                                               Qx_Can_CyclicMsgs_Parity_Mode_t mode, Qx_Common_Signal_t const signal,
                                               Qx_Can_Data_t const data) {
  cyc_signal *s;
  QXSIM_TRY(attach(portHandle, KIND_PARITY, id, &signal, &s));
  (void)data;
  s->mode = mode;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Parity_Delete(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal) {
  return detach(portHandle, KIND_PARITY, id, &signal);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define(Qx_PortHandle_t portHandle, Qx_Can_CyclicMsgs_Checksum_Mode_t mode,
                                                 u32_t id, Qx_Common_Signal_t const signal,
                                                 Qx_Can_Data_t const *const data) {
  cyc_signal *s;
  QXSIM_TRY(attach(portHandle, KIND_CHECKSUM, id, &signal, &s));
  (void)data;
  s->mode = mode;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes(Qx_PortHandle_t portHandle, u32_t id,
                                                                  Qx_Common_Signal_t const signal,
                                                                  Qx_Can_Data_t const *const data,
                                                                  u8_t numberOfUserBytes, u8_t const *const userBytes) {
  cyc_signal *s;
  (void)data;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(userBytes || !numberOfUserBytes, "user bytes"));
  return attach(portHandle, KIND_CHECKSUM, id, &signal, &s);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t const *const parameters) {
  cyc_signal *s;
  (void)data;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  QXSIM_TRY(qxsim_need((parameters->UserBytesBefore || !parameters->NumberOfUserBytesBefore) &&
                           (parameters->UserBytesAfter || !parameters->NumberOfUserBytesAfter),
                       "user bytes"));
  QXSIM_TRY(attach(portHandle, KIND_CHECKSUM, id, &signal, &s));
  s->mode = parameters->Order;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define_Custom12(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t const *const parameters) {
  cyc_signal *s;
  (void)data;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  QXSIM_TRY(qxsim_need(parameters->DataArray || !parameters->DataArray_Size, "data array"));
  QXSIM_TRY(attach(portHandle, KIND_CHECKSUM, id, &signal, &s));
  s->mode = parameters->Order;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define_AddBytes(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t const *const parameters) {
  cyc_signal *s;
  (void)data;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  QXSIM_TRY(attach(portHandle, KIND_CHECKSUM, id, &signal, &s));
  (void)s;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Delete(Qx_PortHandle_t portHandle, u32_t id,
                                                 Qx_Common_Signal_t const signal) {
  return detach(portHandle, KIND_CHECKSUM, id, &signal);
}

/* The defined message `id` with a known property `property`. */
static uint32_t check_property(Qx_PortHandle_t portHandle, u32_t id, u16_t property, cyc_msg **m) {
  QXSIM_TRY(msg_of(portHandle, id, m));
  if (property >= QX_CAN__CYCLIC_MSGS__PROPERTY_ID__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "unknown cyclic message property %u", property);
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Property_SetById(Qx_PortHandle_t portHandle,
                                                  Qx_Can_CyclicMsgs_Property_SetById_Cmd_t const *const command) {
  cyc_msg *m;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(check_property(portHandle, command->CanId, command->PropertyId, &m));
  m->property[command->PropertyId] = command->PropertyValue;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Property_GetById(Qx_PortHandle_t portHandle,
                                                  Qx_Can_CyclicMsgs_Property_GetById_Cmd_t const *const command,
                                                  Qx_Can_CyclicMsgs_Property_GetById_Rsp_t *const response) {
  cyc_msg *m;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_need(response, "response record"));
  QXSIM_TRY(check_property(portHandle, command->CanId, command->PropertyId, &m));
  memset(response, 0, sizeof *response);
  response->CanId = command->CanId;
  response->PropertyId = command->PropertyId;
  response->PropertyValue = m->property[command->PropertyId];
  return 0;
}

/* ---- Messages -------------------------------------------------------------- */

Qx_Error_t sim_Qx_Can_CyclicMsgs_DefineMsg(Qx_PortHandle_t portHandle, u32_t id, u16_t cycleTime,
                                           Qx_Can_CyclicMsgs_SendState_t sendState, u8_t group, u8_t msgCount,
                                           u8_t const *const msgData, u8_t dlc) {
  cyc_port *p;
  cyc_msg *m;
  int i;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(msgData, "message data"));
  QXSIM_TRY(check_dlc(dlc));
  m = find_msg(p, id);
  for (i = 0; !m && i < CYC_MAX_MSGS; i++)
    if (!p->msgs[i].used) m = &p->msgs[i];
  if (!m) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "too many cyclic messages on port 0x%08X", (unsigned)portHandle);
  memset(m, 0, sizeof *m);
  m->used = 1;
  m->id = id;
  m->cycle_time = cycleTime;
  m->group = group;
  m->msg_count = msgCount;
  m->dlc = dlc;
  m->mode = sendState ? CYC_RUNNING : CYC_STOPPED;
  memcpy(m->data, msgData, CYC_DATA);
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_DeleteMsg(Qx_PortHandle_t portHandle, u32_t id) {
  cyc_port *p;
  int i;
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  QXSIM_TRY(port_of(portHandle, &p));
  for (i = 0; i < CYC_MAX_SIGNALS; i++)
    if (p->signals[i].id == id) p->signals[i].used = 0;
  m->used = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_SetMsgBreakCount(Qx_PortHandle_t portHandle, u32_t id, u16_t breakCount) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  m->break_count = breakCount;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_SetMsgBreakTime(Qx_PortHandle_t portHandle, u32_t id, u16_t breakTime) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  m->break_time = breakTime;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_SetCalculationBreakCount(Qx_PortHandle_t portHandle, u32_t id,
                                                          Qx_Common_Signal_t const signal,
                                                          Qx_Can_CyclicMsgs_SetCalculationBreakCount_Mode_t mode,
                                                          u16_t breakCount) {
  cyc_signal *s;
  QXSIM_TRY(attach(portHandle, KIND_BREAK_COUNT, id, &signal, &s));
  s->mode = mode;
  s->ramp_sum = breakCount;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_DefineDisturbance(Qx_PortHandle_t portHandle, u32_t id, u8_t mode, u16_t numberOfMsgs,
                                                   Qx_Can_Data_t const mask, Qx_Can_Data_t const data) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  (void)m;
  (void)mode;
  (void)numberOfMsgs;
  (void)mask;
  (void)data;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_ChangeMsg(Qx_PortHandle_t portHandle,
                                           Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t const *const parameters) {
  cyc_msg *m;
  const Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t *c = parameters;
  size_t extended;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(c, "parameters"));
  QXSIM_TRY(check_dlc(c->Dlc));
  QXSIM_TRY(msg_of(portHandle, c->Id, &m));
  extended = c->ExtendedMaskAndData.Length < sizeof c->ExtendedMaskAndData.Data ? c->ExtendedMaskAndData.Length
                                                                                : sizeof c->ExtendedMaskAndData.Data;
  m->mode = c->SendState ? CYC_RUNNING : CYC_STOPPED;
  m->group = c->Group;
  m->msg_count = c->MsgCount;
  m->dlc = c->Dlc;
  merge(m->data, c->Data.Mask, c->Data.Data, sizeof c->Data.Data);
  merge(m->data + sizeof c->Data.Data, c->ExtendedMaskAndData.Mask, c->ExtendedMaskAndData.Data, extended);
  if (c->CycleTime.CycleTime) m->cycle_time = c->CycleTime.CycleTime;
  return 0;
}

static Qx_Error_t change_data(Qx_PortHandle_t portHandle, u32_t id, const u8_t *msgMask, u8_t dlc, const u8_t *msgData,
                              int msg_count) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  QXSIM_TRY(qxsim_need(msgMask && msgData, "mask or data"));
  QXSIM_TRY(check_dlc(dlc));
  merge(m->data, msgMask, msgData, CYC_DATA);
  m->dlc = dlc;
  if (msg_count >= 0) m->msg_count = (u8_t)msg_count;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_ChangeMsgData(Qx_PortHandle_t portHandle, u32_t id, u8_t const *const msgMask,
                                               u8_t dlc, u8_t const *const msgData,
                                               Qx_Can_CyclicMsgs_ChangeMsgData_ChangeMode_t changeMode,
                                               u16_t numberOfMsgsBeforeRestore) {
  (void)changeMode;
  (void)numberOfMsgsBeforeRestore;
  return change_data(portHandle, id, msgMask, dlc, msgData, -1);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_ChangeCycleTime(Qx_PortHandle_t portHandle, u32_t id, u16_t cycleTime) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  m->cycle_time = cycleTime;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_ChangeMsgDataAndMsgCount(Qx_PortHandle_t portHandle, u32_t id, u8_t msgCount,
                                                          u8_t const *const msgMask, u8_t dlc,
                                                          u8_t const *const msgData,
                                                          Qx_Can_CyclicMsgs_ChangeMsgData_ChangeMode_t changeMode,
                                                          u16_t numberOfMsgsBeforeRestore) {
  (void)changeMode;
  (void)numberOfMsgsBeforeRestore;
  return change_data(portHandle, id, msgMask, dlc, msgData, msgCount);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_ChangeGroupNumber(Qx_PortHandle_t portHandle, u32_t id, u8_t group) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  m->group = group;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_StartMsg(Qx_PortHandle_t portHandle, u32_t id) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  m->mode = CYC_RUNNING;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_StopMsg(Qx_PortHandle_t portHandle, u32_t id) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  m->mode = CYC_STOPPED;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_GetMsgState(Qx_PortHandle_t portHandle, u32_t id,
                                             Qx_Can_CyclicMsgs_GetMsgState_Rsp_t *const response) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  QXSIM_TRY(qxsim_need(response, "response record"));
  memset(response, 0, sizeof *response);
  response->Id = m->id;
  response->CycleTime = m->cycle_time;
  response->Group = m->group;
  response->Mode = m->mode;
  response->MsgCount = m->msg_count;
  response->Dlc = m->dlc;
  memcpy(response->Data.U8, m->data, CYC_DATA);
  return 0;
}

static Qx_Error_t set_group_mode(Qx_PortHandle_t portHandle, u8_t group, u8_t mode) {
  cyc_port *p;
  int i, found = 0;
  QXSIM_TRY(port_of(portHandle, &p));
  for (i = 0; i < CYC_MAX_MSGS; i++) {
    if (p->msgs[i].used && p->msgs[i].group == group) {
      p->msgs[i].mode = mode;
      found = 1;
    }
  }
  if (!found)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no cyclic message in group %u on port 0x%08X", group,
                      (unsigned)portHandle);
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_StartGroup(Qx_PortHandle_t portHandle, u8_t group) {
  return set_group_mode(portHandle, group, CYC_RUNNING);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_StopGroup(Qx_PortHandle_t portHandle, u8_t group) {
  return set_group_mode(portHandle, group, CYC_STOPPED);
}

/* ---- Ramps and multiplexed bytes ------------------------------------------- */

Qx_Error_t sim_Qx_Can_CyclicMsgs_MultiplexBytes_Define(Qx_PortHandle_t portHandle, u32_t id, u8_t byteIndex,
                                                       u8_t numberOfValues, Qx_Can_Data_t const *const values,
                                                       Qx_Can_Data_t const *const mask) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  QXSIM_TRY(qxsim_need(values && mask, "values or mask"));
  if (byteIndex >= CYC_DATA || !numberOfValues || numberOfValues > CYC_DATA)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u values at byte %u do not fit a message", numberOfValues,
                      byteIndex);
  m->multiplexed = 1;
  return 0;
}

/* Given data and mask restore the masked bytes; NULL restores nothing. */
Qx_Error_t sim_Qx_Can_CyclicMsgs_MultiplexBytes_Stop(Qx_PortHandle_t portHandle, u32_t id,
                                                     Qx_Can_Data_t const *const restoreData,
                                                     Qx_Can_Data_t const *const restoreMask) {
  cyc_msg *m;
  QXSIM_TRY(msg_of(portHandle, id, &m));
  if (!m->multiplexed)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "cyclic message 0x%X has no multiplexed bytes", (unsigned)id);
  if (restoreData && restoreMask) merge(m->data, restoreMask->U8, restoreData->U8, CYC_DATA);
  m->multiplexed = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_Define(Qx_PortHandle_t portHandle,
                                             Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t const *const parameters) {
  cyc_signal *s;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  if (parameters->MinValue > parameters->MaxValue)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "minimum %u above maximum %u", parameters->MinValue,
                      parameters->MaxValue);
  QXSIM_TRY(attach(portHandle, KIND_RAMP, parameters->Id, &parameters->Signal, &s));
  s->mode = parameters->Mode;
  s->min_value = parameters->MinValue;
  s->max_value = parameters->MaxValue;
  s->ramp_sum = parameters->RampSum;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_Delete(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal) {
  return detach(portHandle, KIND_RAMP, id, &signal);
}

/* Reads numberOfRamps records; a record naming no defined ramp fails the
 * call before any ramp changes its mode. */
Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_ChangeMode(Qx_PortHandle_t portHandle, u32_t numberOfRamps,
                                                 Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t const *const ramps) {
  cyc_signal *s;
  u32_t i;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(ramps && numberOfRamps, "ramp"));
  for (i = 0; i < numberOfRamps; i++) QXSIM_TRY(signal_of(portHandle, KIND_RAMP, ramps[i].Id, &ramps[i].Signal, &s));
  for (i = 0; i < numberOfRamps; i++) {
    QXSIM_TRY(signal_of(portHandle, KIND_RAMP, ramps[i].Id, &ramps[i].Signal, &s));
    s->mode = ramps[i].Mode;
  }
  return 0;
}

/* State flags: bit 0 set while the message runs; no error flags; the value
 * reported is the ramp's minimum. */
Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_GetState(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal,
                                               Qx_Can_CyclicMsgs_Ramp_State_Flags_t *const stateFlags,
                                               Qx_Can_CyclicMsgs_Ramp_State_Flags_t *const errorFlags,
                                               u32_t *const rampSum, u16_t *const currentValue) {
  cyc_signal *s;
  cyc_msg *m;
  QXSIM_TRY(signal_of(portHandle, KIND_RAMP, id, &signal, &s));
  QXSIM_TRY(msg_of(portHandle, id, &m));
  QXSIM_TRY(qxsim_need(stateFlags && errorFlags && rampSum && currentValue, "output cell"));
  *stateFlags = m->mode == CYC_RUNNING ? 1u : 0u;
  *errorFlags = 0;
  *rampSum = s->ramp_sum;
  *currentValue = s->min_value;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_DefineIncRamp(
    Qx_PortHandle_t portHandle, Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t const *const parameters) {
  const Qx_Can_CyclicMsgs_Ramp_SyncRamp_t *sync;
  cyc_signal *s;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  sync = parameters->SyncRamp;
  if (sync) QXSIM_TRY(signal_of(portHandle, KIND_RAMP, sync->Id, &sync->Signal, &s));
  QXSIM_TRY(attach(portHandle, KIND_RAMP, parameters->Id, &parameters->Signal, &s));
  s->min_value = parameters->MinValue;
  s->max_value = parameters->MaxValue;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_ResetRampSum(Qx_PortHandle_t portHandle, u32_t id,
                                                   Qx_Common_Signal_t const signal) {
  cyc_signal *s;
  QXSIM_TRY(signal_of(portHandle, KIND_RAMP, id, &signal, &s));
  s->ramp_sum = 0;
  return 0;
}
