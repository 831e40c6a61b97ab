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

#define CYC_MAX_PORTS 64
#define CYC_MAX_MSGS 32
#define CYC_MAX_SIGNALS 32
#define CYC_DATA 64
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

static cyc_port ports[CYC_MAX_PORTS];

static void cyclic_reset(void) { memset(ports, 0, sizeof ports); }

__attribute__((constructor)) static void cyclic_init(void) { qxsim_on_reset(cyclic_reset); }

/* The engine of an open port (made on first use), or NULL with the last
 * error set. */
static cyc_port *port_of(const char *function, Qx_PortHandle_t handle) {
  return qxsim_port_slot(function, handle, ports, CYC_MAX_PORTS, sizeof ports[0]);
}

static cyc_msg *find_msg(cyc_port *p, u32_t id) {
  int i;
  for (i = 0; i < CYC_MAX_MSGS; i++)
    if (p->msgs[i].used && p->msgs[i].id == id) return &p->msgs[i];
  return NULL;
}

/* The defined message `id` of the port, or NULL with the last error set. */
static cyc_msg *msg_of(const char *function, Qx_PortHandle_t handle, u32_t id) {
  cyc_port *p = port_of(function, handle);
  cyc_msg *m;
  if (!p) return NULL;
  m = find_msg(p, id);
  if (!m)
    qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no cyclic message 0x%X defined on port 0x%08X", function, (unsigned)id,
               (unsigned)handle);
  return m;
}

#define MSG_OF(function, handle, id)         \
  cyc_msg *m = msg_of(function, handle, id); \
  if (!m) return qxsim_last_error_code()

static Qx_Error_t missing(const char *function, const char *what) {
  return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no %s given", function, what);
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

/* The entry of `kind` on the signal, or NULL with the last error set. */
static cyc_signal *signal_of(const char *function, Qx_PortHandle_t handle, cyc_kind kind, u32_t id,
                             const Qx_Common_Signal_t *signal) {
  cyc_port *p = port_of(function, handle);
  cyc_signal *s;
  if (!p || !msg_of(function, handle, id)) return NULL;
  s = find_signal(p, kind, id, signal);
  if (!s)
    qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no %s defined on the signal at offset %u (%u bits) of cyclic message 0x%X",
               function, kind_names[kind], (unsigned)signal->Offset, (unsigned)signal->Size, (unsigned)id);
  return s;
}

/* Attaches (or redefines) an entry of `kind` on a signal of a defined
 * message; NULL with the last error set. */
static cyc_signal *attach(const char *function, Qx_PortHandle_t handle, cyc_kind kind, u32_t id,
                          const Qx_Common_Signal_t *signal) {
  cyc_port *p;
  cyc_signal *s;
  int i;
  if (!msg_of(function, handle, id)) return NULL;
  p = port_of(function, handle);
  s = find_signal(p, kind, id, signal);
  for (i = 0; !s && i < CYC_MAX_SIGNALS; i++)
    if (!p->signals[i].used) s = &p->signals[i];
  if (!s) {
    qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: too many signal definitions on port 0x%08X", function, (unsigned)handle);
    return NULL;
  }
  memset(s, 0, sizeof *s);
  s->used = 1;
  s->kind = kind;
  s->id = id;
  s->signal = *signal;
  return s;
}

#define ATTACH(function, handle, kind, id, signal)            \
  cyc_signal *s = attach(function, handle, kind, id, signal); \
  if (!s) return qxsim_last_error_code()

static Qx_Error_t detach(const char *function, Qx_PortHandle_t handle, cyc_kind kind, u32_t id,
                         const Qx_Common_Signal_t *signal) {
  cyc_signal *s = signal_of(function, handle, kind, id, signal);
  if (!s) return qxsim_last_error_code();
  s->used = 0;
  return 0;
}

/* New data bytes: those whose mask bits are set come from `data`. */
static void merge(u8_t *bytes, const u8_t *mask, const u8_t *data, size_t n) {
  size_t i;
  for (i = 0; i < n; i++) bytes[i] = (u8_t)((bytes[i] & ~mask[i]) | (data[i] & mask[i]));
}

static Qx_Error_t check_dlc(const char *function, u8_t dlc) {
  if (dlc > CYC_MAX_DLC) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: DLC %u out of range", function, dlc);
  return 0;
}

/* ---- Parity, checksums and properties ------------------------------------- */

Qx_Error_t sim_Qx_Can_CyclicMsgs_Parity_Define(Qx_PortHandle_t portHandle, u32_t id,
                                               Qx_Can_CyclicMsgs_Parity_Mode_t mode, Qx_Common_Signal_t const signal,
                                               Qx_Can_Data_t const data) {
  ATTACH("Qx_Can_CyclicMsgs_Parity_Define", portHandle, KIND_PARITY, id, &signal);
  (void)data;
  s->mode = mode;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Parity_Delete(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal) {
  return detach("Qx_Can_CyclicMsgs_Parity_Delete", portHandle, KIND_PARITY, id, &signal);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define(Qx_PortHandle_t portHandle, Qx_Can_CyclicMsgs_Checksum_Mode_t mode,
                                                 u32_t id, Qx_Common_Signal_t const signal,
                                                 Qx_Can_Data_t const *const data) {
  ATTACH("Qx_Can_CyclicMsgs_Checksum_Define", portHandle, KIND_CHECKSUM, id, &signal);
  (void)data;
  s->mode = mode;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes(Qx_PortHandle_t portHandle, u32_t id,
                                                                  Qx_Common_Signal_t const signal,
                                                                  Qx_Can_Data_t const *const data,
                                                                  u8_t numberOfUserBytes, u8_t const *const userBytes) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes";
  (void)data;
  if (numberOfUserBytes && !userBytes) {
    if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
    return missing(fn, "user bytes");
  }
  {
    ATTACH(fn, portHandle, KIND_CHECKSUM, id, &signal);
    (void)s;
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t const *const parameters) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes";
  (void)data;
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!parameters) return missing(fn, "parameters");
  if ((parameters->NumberOfUserBytesBefore && !parameters->UserBytesBefore) ||
      (parameters->NumberOfUserBytesAfter && !parameters->UserBytesAfter))
    return missing(fn, "user bytes");
  {
    ATTACH(fn, portHandle, KIND_CHECKSUM, id, &signal);
    s->mode = parameters->Order;
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define_Custom12(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t const *const parameters) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Checksum_Define_Custom12";
  (void)data;
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!parameters) return missing(fn, "parameters");
  if (parameters->DataArray_Size && !parameters->DataArray) return missing(fn, "data array");
  {
    ATTACH(fn, portHandle, KIND_CHECKSUM, id, &signal);
    s->mode = parameters->Order;
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Define_AddBytes(
    Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal, Qx_Can_Data_t const *const data,
    Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t const *const parameters) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Checksum_Define_AddBytes";
  (void)data;
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!parameters) return missing(fn, "parameters");
  {
    ATTACH(fn, portHandle, KIND_CHECKSUM, id, &signal);
    (void)s;
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Checksum_Delete(Qx_PortHandle_t portHandle, u32_t id,
                                                 Qx_Common_Signal_t const signal) {
  return detach("Qx_Can_CyclicMsgs_Checksum_Delete", portHandle, KIND_CHECKSUM, id, &signal);
}

static Qx_Error_t check_property(const char *function, Qx_PortHandle_t portHandle, u32_t id, u16_t property) {
  if (!msg_of(function, portHandle, id)) return qxsim_last_error_code();
  if (property >= QX_CAN__CYCLIC_MSGS__PROPERTY_ID__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "%s: unknown cyclic message property %u", function, property);
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Property_SetById(Qx_PortHandle_t portHandle,
                                                  Qx_Can_CyclicMsgs_Property_SetById_Cmd_t const *const command) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Property_SetById";
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!command) return missing(fn, "command");
  if (check_property(fn, portHandle, command->CanId, command->PropertyId)) return qxsim_last_error_code();
  find_msg(port_of(fn, portHandle), command->CanId)->property[command->PropertyId] = command->PropertyValue;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Property_GetById(Qx_PortHandle_t portHandle,
                                                  Qx_Can_CyclicMsgs_Property_GetById_Cmd_t const *const command,
                                                  Qx_Can_CyclicMsgs_Property_GetById_Rsp_t *const response) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Property_GetById";
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!command) return missing(fn, "command");
  if (!response) return missing(fn, "response record");
  if (check_property(fn, portHandle, command->CanId, command->PropertyId)) return qxsim_last_error_code();
  memset(response, 0, sizeof *response);
  response->CanId = command->CanId;
  response->PropertyId = command->PropertyId;
  response->PropertyValue = find_msg(port_of(fn, portHandle), command->CanId)->property[command->PropertyId];
  return 0;
}

/* ---- Messages -------------------------------------------------------------- */

Qx_Error_t sim_Qx_Can_CyclicMsgs_DefineMsg(Qx_PortHandle_t portHandle, u32_t id, u16_t cycleTime,
                                           Qx_Can_CyclicMsgs_SendState_t sendState, u8_t group, u8_t msgCount,
                                           u8_t const *const msgData, u8_t dlc) {
  static const char fn[] = "Qx_Can_CyclicMsgs_DefineMsg";
  cyc_port *p = port_of(fn, portHandle);
  cyc_msg *m;
  int i;
  if (!p) return qxsim_last_error_code();
  if (!msgData) return missing(fn, "message data");
  if (check_dlc(fn, dlc)) return qxsim_last_error_code();
  m = find_msg(p, id);
  for (i = 0; !m && i < CYC_MAX_MSGS; i++)
    if (!p->msgs[i].used) m = &p->msgs[i];
  if (!m)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: too many cyclic messages on port 0x%08X", fn,
                      (unsigned)portHandle);
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
  static const char fn[] = "Qx_Can_CyclicMsgs_DeleteMsg";
  cyc_port *p;
  int i;
  MSG_OF(fn, portHandle, id);
  p = port_of(fn, portHandle);
  for (i = 0; i < CYC_MAX_SIGNALS; i++)
    if (p->signals[i].id == id) p->signals[i].used = 0;
  m->used = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_SetMsgBreakCount(Qx_PortHandle_t portHandle, u32_t id, u16_t breakCount) {
  MSG_OF("Qx_Can_CyclicMsgs_SetMsgBreakCount", portHandle, id);
  m->break_count = breakCount;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_SetMsgBreakTime(Qx_PortHandle_t portHandle, u32_t id, u16_t breakTime) {
  MSG_OF("Qx_Can_CyclicMsgs_SetMsgBreakTime", portHandle, id);
  m->break_time = breakTime;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_SetCalculationBreakCount(Qx_PortHandle_t portHandle, u32_t id,
                                                          Qx_Common_Signal_t const signal,
                                                          Qx_Can_CyclicMsgs_SetCalculationBreakCount_Mode_t mode,
                                                          u16_t breakCount) {
  ATTACH("Qx_Can_CyclicMsgs_SetCalculationBreakCount", portHandle, KIND_BREAK_COUNT, id, &signal);
  s->mode = mode;
  s->ramp_sum = breakCount;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_DefineDisturbance(Qx_PortHandle_t portHandle, u32_t id, u8_t mode, u16_t numberOfMsgs,
                                                   Qx_Can_Data_t const mask, Qx_Can_Data_t const data) {
  MSG_OF("Qx_Can_CyclicMsgs_DefineDisturbance", portHandle, id);
  (void)m;
  (void)mode;
  (void)numberOfMsgs;
  (void)mask;
  (void)data;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_ChangeMsg(Qx_PortHandle_t portHandle,
                                           Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t const *const parameters) {
  static const char fn[] = "Qx_Can_CyclicMsgs_ChangeMsg";
  const Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t *c = parameters;
  size_t extended;
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!c) return missing(fn, "parameters");
  if (check_dlc(fn, c->Dlc)) return qxsim_last_error_code();
  {
    MSG_OF(fn, portHandle, c->Id);
    extended = c->ExtendedMaskAndData.Length < sizeof c->ExtendedMaskAndData.Data ? c->ExtendedMaskAndData.Length
                                                                                  : sizeof c->ExtendedMaskAndData.Data;
    m->mode = c->SendState ? CYC_RUNNING : CYC_STOPPED;
    m->group = c->Group;
    m->msg_count = c->MsgCount;
    m->dlc = c->Dlc;
    merge(m->data, c->Data.Mask, c->Data.Data, sizeof c->Data.Data);
    merge(m->data + sizeof c->Data.Data, c->ExtendedMaskAndData.Mask, c->ExtendedMaskAndData.Data, extended);
    if (c->CycleTime.CycleTime) m->cycle_time = c->CycleTime.CycleTime;
  }
  return 0;
}

static Qx_Error_t change_data(const char *function, Qx_PortHandle_t portHandle, u32_t id, const u8_t *msgMask, u8_t dlc,
                              const u8_t *msgData, int msg_count) {
  MSG_OF(function, portHandle, id);
  if (!msgMask || !msgData) return missing(function, "mask or data");
  if (check_dlc(function, dlc)) return qxsim_last_error_code();
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
  return change_data("Qx_Can_CyclicMsgs_ChangeMsgData", portHandle, id, msgMask, dlc, msgData, -1);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_ChangeCycleTime(Qx_PortHandle_t portHandle, u32_t id, u16_t cycleTime) {
  MSG_OF("Qx_Can_CyclicMsgs_ChangeCycleTime", portHandle, id);
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
  return change_data("Qx_Can_CyclicMsgs_ChangeMsgDataAndMsgCount", portHandle, id, msgMask, dlc, msgData, msgCount);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_ChangeGroupNumber(Qx_PortHandle_t portHandle, u32_t id, u8_t group) {
  MSG_OF("Qx_Can_CyclicMsgs_ChangeGroupNumber", portHandle, id);
  m->group = group;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_StartMsg(Qx_PortHandle_t portHandle, u32_t id) {
  MSG_OF("Qx_Can_CyclicMsgs_StartMsg", portHandle, id);
  m->mode = CYC_RUNNING;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_StopMsg(Qx_PortHandle_t portHandle, u32_t id) {
  MSG_OF("Qx_Can_CyclicMsgs_StopMsg", portHandle, id);
  m->mode = CYC_STOPPED;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_GetMsgState(Qx_PortHandle_t portHandle, u32_t id,
                                             Qx_Can_CyclicMsgs_GetMsgState_Rsp_t *const response) {
  MSG_OF("Qx_Can_CyclicMsgs_GetMsgState", portHandle, id);
  if (!response) return missing("Qx_Can_CyclicMsgs_GetMsgState", "response record");
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

static Qx_Error_t set_group_mode(const char *function, Qx_PortHandle_t portHandle, u8_t group, u8_t mode) {
  cyc_port *p = port_of(function, portHandle);
  int i, found = 0;
  if (!p) return qxsim_last_error_code();
  for (i = 0; i < CYC_MAX_MSGS; i++) {
    if (p->msgs[i].used && p->msgs[i].group == group) {
      p->msgs[i].mode = mode;
      found = 1;
    }
  }
  if (!found)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no cyclic message in group %u on port 0x%08X", function, group,
                      (unsigned)portHandle);
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_StartGroup(Qx_PortHandle_t portHandle, u8_t group) {
  return set_group_mode("Qx_Can_CyclicMsgs_StartGroup", portHandle, group, CYC_RUNNING);
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_StopGroup(Qx_PortHandle_t portHandle, u8_t group) {
  return set_group_mode("Qx_Can_CyclicMsgs_StopGroup", portHandle, group, CYC_STOPPED);
}

/* ---- Ramps and multiplexed bytes ------------------------------------------- */

Qx_Error_t sim_Qx_Can_CyclicMsgs_MultiplexBytes_Define(Qx_PortHandle_t portHandle, u32_t id, u8_t byteIndex,
                                                       u8_t numberOfValues, Qx_Can_Data_t const *const values,
                                                       Qx_Can_Data_t const *const mask) {
  static const char fn[] = "Qx_Can_CyclicMsgs_MultiplexBytes_Define";
  MSG_OF(fn, portHandle, id);
  if (!values || !mask) return missing(fn, "values or mask");
  if (byteIndex >= CYC_DATA || !numberOfValues || numberOfValues > CYC_DATA)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: %u values at byte %u do not fit a message", fn, numberOfValues,
                      byteIndex);
  m->multiplexed = 1;
  return 0;
}

/* Given data and mask restore the masked bytes; NULL restores nothing. */
Qx_Error_t sim_Qx_Can_CyclicMsgs_MultiplexBytes_Stop(Qx_PortHandle_t portHandle, u32_t id,
                                                     Qx_Can_Data_t const *const restoreData,
                                                     Qx_Can_Data_t const *const restoreMask) {
  static const char fn[] = "Qx_Can_CyclicMsgs_MultiplexBytes_Stop";
  MSG_OF(fn, portHandle, id);
  if (!m->multiplexed)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: cyclic message 0x%X has no multiplexed bytes", fn, (unsigned)id);
  if (restoreData && restoreMask) merge(m->data, restoreMask->U8, restoreData->U8, CYC_DATA);
  m->multiplexed = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_Define(Qx_PortHandle_t portHandle,
                                             Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t const *const parameters) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Ramp_Define";
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!parameters) return missing(fn, "parameters");
  if (parameters->MinValue > parameters->MaxValue)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: minimum %u above maximum %u", fn, parameters->MinValue,
                      parameters->MaxValue);
  {
    ATTACH(fn, portHandle, KIND_RAMP, parameters->Id, &parameters->Signal);
    s->mode = parameters->Mode;
    s->min_value = parameters->MinValue;
    s->max_value = parameters->MaxValue;
    s->ramp_sum = parameters->RampSum;
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_Delete(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal) {
  return detach("Qx_Can_CyclicMsgs_Ramp_Delete", portHandle, KIND_RAMP, id, &signal);
}

/* The library reads as many records as numberOfRamps says; this one reads
 * only the first, which is all a single record object provides. */
Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_ChangeMode(Qx_PortHandle_t portHandle, u32_t numberOfRamps,
                                                 Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t const *const ramps) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Ramp_ChangeMode";
  cyc_signal *s;
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!ramps || !numberOfRamps) return missing(fn, "ramp");
  s = signal_of(fn, portHandle, KIND_RAMP, ramps->Id, &ramps->Signal);
  if (!s) return qxsim_last_error_code();
  s->mode = ramps->Mode;
  return 0;
}

/* State flags: bit 0 set while the message runs; no error flags; the value
 * reported is the ramp's minimum. */
Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_GetState(Qx_PortHandle_t portHandle, u32_t id, Qx_Common_Signal_t const signal,
                                               Qx_Can_CyclicMsgs_Ramp_State_Flags_t *const stateFlags,
                                               Qx_Can_CyclicMsgs_Ramp_State_Flags_t *const errorFlags,
                                               u32_t *const rampSum, u16_t *const currentValue) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Ramp_GetState";
  cyc_signal *s = signal_of(fn, portHandle, KIND_RAMP, id, &signal);
  if (!s) return qxsim_last_error_code();
  if (!stateFlags || !errorFlags || !rampSum || !currentValue) return missing(fn, "output cell");
  *stateFlags = find_msg(port_of(fn, portHandle), id)->mode == CYC_RUNNING ? 1u : 0u;
  *errorFlags = 0;
  *rampSum = s->ramp_sum;
  *currentValue = s->min_value;
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_DefineIncRamp(
    Qx_PortHandle_t portHandle, Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t const *const parameters) {
  static const char fn[] = "Qx_Can_CyclicMsgs_Ramp_DefineIncRamp";
  const Qx_Can_CyclicMsgs_Ramp_SyncRamp_t *sync;
  if (qxsim_check_port(fn, portHandle)) return qxsim_last_error_code();
  if (!parameters) return missing(fn, "parameters");
  sync = parameters->SyncRamp;
  if (sync && !signal_of(fn, portHandle, KIND_RAMP, sync->Id, &sync->Signal)) return qxsim_last_error_code();
  {
    ATTACH(fn, portHandle, KIND_RAMP, parameters->Id, &parameters->Signal);
    s->min_value = parameters->MinValue;
    s->max_value = parameters->MaxValue;
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_CyclicMsgs_Ramp_ResetRampSum(Qx_PortHandle_t portHandle, u32_t id,
                                                   Qx_Common_Signal_t const signal) {
  cyc_signal *s = signal_of("Qx_Can_CyclicMsgs_Ramp_ResetRampSum", portHandle, KIND_RAMP, id, &signal);
  if (!s) return qxsim_last_error_code();
  s->ramp_sum = 0;
  return 0;
}
