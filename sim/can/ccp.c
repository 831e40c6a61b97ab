/*
 * The simulated CCP master: each of the CCP_INSTANCES master instances of a
 * CAN port talks to a small CCP slave of its own.
 *
 * Every command, raw or standard, is one 8-byte command message (CRO: the
 * command code, the counter, six parameter bytes) that the slave answers with
 * one 8-byte reply (CRM: 0xFF, the CCP return code, the counter, five data
 * bytes); the standard command functions build the CRO and decode the CRM
 * into their response records. Multi-byte parameters travel high byte first,
 * station addresses low byte first.
 *
 * The slave:
 *  - answers only at the station address its master was set up with, and
 *    only CONNECT and TEST until it is connected;
 *  - has CCP_MEMORY_SIZE bytes of memory at CCP_MEMORY_BASE (address
 *    extension 0) that DNLOAD/PROGRAM write and UPLOAD/SHORT_UP read;
 *  - offers calibration, DAQ and programming; programming (CLEAR_MEMORY,
 *    PROGRAM) is locked until UNLOCK gets the key of the last GET_SEED: each
 *    seed byte inverted;
 *  - has CCP_DAQ_LISTS DAQ lists of CCP_DAQ_ODTS ODTs; starting a list
 *    samples it once into the DAQ message queue (one message per ODT: its
 *    PID, then the bytes its elements point at);
 *  - reports a finished ACTION_SERVICE with an event message.
 * The most recent reply of any slave is what Qx_Can_Ccp_GetCcpErrorDescription
 * describes (NULL text before the first reply).
 */
#include <stdio.h>
#include <string.h>

#include "can_sim.h"

#define CCP_INSTANCES 4
#define CCP_MEMORY_BASE 0x1000u
#define CCP_MEMORY_SIZE 256u
#define CCP_QUEUE_MAX 32u
#define CCP_QUEUE_DEFAULT 8u
#define CCP_DAQ_LISTS 2u
#define CCP_DAQ_ODTS 4u
#define CCP_DAQ_ELEMENTS 7u

/* Resources (GET_SEED, EXCHANGE_ID, UNLOCK). */
#define CCP_RESOURCE_CAL 0x01u
#define CCP_RESOURCE_DAQ 0x02u
#define CCP_RESOURCE_PGM 0x40u
#define CCP_RESOURCES (CCP_RESOURCE_CAL | CCP_RESOURCE_DAQ | CCP_RESOURCE_PGM)
#define CCP_PROTECTED CCP_RESOURCE_PGM

/* Flags of the records and queue readers. */
#define CCP_RESPONSE_RECEIVED 0x1u /* GetResponse, GetCommandState: a reply came */
#define CCP_STATE_NO_ANSWER 0x2u   /* GetCommandState: the slave stayed silent */
#define CCP_QUEUE_OVERRUN 0x1u     /* queue readers: messages were lost since the last read */

/* Status of a standard command that the slave answered with an error code. */
#define CCP_SIM_ERROR_SLAVE 0x00020001u

/* Packet identifiers of the replies. */
#define CCP_PID_CRM 0xFFu
#define CCP_PID_EVENT 0xFEu

/* CCP return codes the slave gives. */
#define CCP_ACK 0x00u
#define CCP_UNKNOWN_COMMAND 0x30u
#define CCP_SYNTAX 0x31u
#define CCP_OUT_OF_RANGE 0x32u
#define CCP_ACCESS_DENIED 0x33u
#define CCP_ACCESS_LOCKED 0x35u

/* Command codes. */
enum {
  CCP_CONNECT = 0x01,
  CCP_SET_MTA = 0x02,
  CCP_DNLOAD = 0x03,
  CCP_UPLOAD = 0x04,
  CCP_TEST = 0x05,
  CCP_START_STOP = 0x06,
  CCP_DISCONNECT = 0x07,
  CCP_START_STOP_ALL = 0x08,
  CCP_GET_ACTIVE_CAL_PAGE = 0x09,
  CCP_SET_S_STATUS = 0x0C,
  CCP_GET_S_STATUS = 0x0D,
  CCP_BUILD_CHKSUM = 0x0E,
  CCP_SHORT_UP = 0x0F,
  CCP_CLEAR_MEMORY = 0x10,
  CCP_SELECT_CAL_PAGE = 0x11,
  CCP_GET_SEED = 0x12,
  CCP_UNLOCK = 0x13,
  CCP_GET_DAQ_SIZE = 0x14,
  CCP_SET_DAQ_PTR = 0x15,
  CCP_WRITE_DAQ = 0x16,
  CCP_EXCHANGE_ID = 0x17,
  CCP_PROGRAM = 0x18,
  CCP_MOVE = 0x19,
  CCP_GET_CCP_VERSION = 0x1B,
  CCP_DIAG_SERVICE = 0x20,
  CCP_ACTION_SERVICE = 0x21,
  CCP_PROGRAM_6 = 0x22,
  CCP_DNLOAD_6 = 0x23
};

typedef struct {
  u8_t bytes[CCP_QUEUE_MAX][8];
  u32_t first, count, depth;
  int overrun;
} ccp_queue;

typedef struct {
  u8_t size; /* 0: no element */
  u32_t address;
} ccp_element;

typedef struct {
  int prepared, running;
  ccp_element elements[CCP_DAQ_ODTS][CCP_DAQ_ELEMENTS];
} ccp_daq_list;

typedef struct {
  int initialised, connected;
  Qx_Can_Ccp_Init_Parameters_t setup;
  Qx_Can_Ccp_GetCommandState_Rsp_t state;
  u8_t counter;
  u32_t mta[2];
  u8_t memory[CCP_MEMORY_SIZE];
  u8_t unlocked;
  u8_t seed_resource; /* resource of the last GET_SEED, 0: none */
  u8_t session_status;
  u32_t cal_page;
  int daq_pointer_set;
  u8_t daq_list, daq_odt, daq_element;
  ccp_daq_list daq[CCP_DAQ_LISTS];
  ccp_queue responses, daq_messages, events;
} ccp_master;

typedef struct {
  uint32_t handle; /* 0: slot free */
  ccp_master masters[CCP_INSTANCES];
} ccp_port;

static ccp_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* The most recent reply of any slave. */
static u8_t last_reply[8];
static int have_last_reply;

static void ccp_reset(void) { have_last_reply = 0; }

__attribute__((constructor)) static void ccp_init(void) { qxsim_on_reset(ccp_reset); }

static u32_t get_be32(const u8_t *p) { return (u32_t)p[0] << 24 | (u32_t)p[1] << 16 | (u32_t)p[2] << 8 | p[3]; }
static u16_t get_le16(const u8_t *p) { return (u16_t)(p[0] | p[1] << 8); }
static void put_be32(u8_t *p, u32_t v) {
  p[0] = (u8_t)(v >> 24);
  p[1] = (u8_t)(v >> 16);
  p[2] = (u8_t)(v >> 8);
  p[3] = (u8_t)v;
}
static void put_le16(u8_t *p, u16_t v) {
  p[0] = (u8_t)v;
  p[1] = (u8_t)(v >> 8);
}

/* ---- queues ------------------------------------------------------------------ */

static void queue_setup(ccp_queue *q, u16_t depth) {
  memset(q, 0, sizeof *q);
  q->depth = depth ? depth : CCP_QUEUE_DEFAULT;
}

static void queue_push(ccp_queue *q, const u8_t bytes[8]) {
  if (q->count == q->depth) {
    q->overrun = 1;
    return;
  }
  memcpy(q->bytes[(q->first + q->count) % CCP_QUEUE_MAX], bytes, 8);
  q->count++;
}

static const u8_t *queue_pop(ccp_queue *q) {
  const u8_t *bytes;
  if (!q->count) return NULL;
  bytes = q->bytes[q->first];
  q->first = (q->first + 1) % CCP_QUEUE_MAX;
  q->count--;
  return bytes;
}

/* ---- the slave --------------------------------------------------------------- */

/* Offset in the slave's memory of `size` bytes at `address` (extension
 * `extension`), or -1 outside it. */
static long memory_span(u8_t extension, u32_t address, u32_t size) {
  if (extension || address < CCP_MEMORY_BASE || address - CCP_MEMORY_BASE > CCP_MEMORY_SIZE ||
      size > CCP_MEMORY_SIZE - (address - CCP_MEMORY_BASE))
    return -1;
  return (long)(address - CCP_MEMORY_BASE);
}

static u8_t write_mta0(ccp_master *m, const u8_t *data, u32_t size, u8_t limit, u8_t *reply) {
  long at;
  if (size < 1 || size > limit) return CCP_OUT_OF_RANGE;
  at = memory_span(0, m->mta[0], size);
  if (at < 0) return CCP_OUT_OF_RANGE;
  memcpy(m->memory + at, data, size);
  m->mta[0] += size;
  reply[3] = 0;
  put_be32(reply + 4, m->mta[0]);
  return CCP_ACK;
}

static u8_t read_memory(ccp_master *m, u8_t extension, u32_t address, u8_t size, u8_t *reply) {
  long at;
  if (size < 1 || size > 5) return CCP_OUT_OF_RANGE;
  at = memory_span(extension, address, size);
  if (at < 0) return CCP_OUT_OF_RANGE;
  memcpy(reply + 3, m->memory + at, size);
  return CCP_ACK;
}

static u8_t privileges(const ccp_master *m) { return (u8_t)(CCP_RESOURCES & ~(CCP_PROTECTED & ~m->unlocked)); }

/* One sample of DAQ list `list`, ODTs 0 to `last`, into the DAQ queue. */
static void daq_sample(ccp_master *m, unsigned list, unsigned last) {
  unsigned odt, e;
  for (odt = 0; odt <= last; odt++) {
    u8_t message[8] = {0};
    unsigned at = 1;
    message[0] = (u8_t)(list * CCP_DAQ_ODTS + odt);
    for (e = 0; e < CCP_DAQ_ELEMENTS; e++) {
      const ccp_element *element = &m->daq[list].elements[odt][e];
      long from = element->size ? memory_span(0, element->address, element->size) : -1;
      if (from < 0 || at + element->size > 8) continue;
      memcpy(message + at, m->memory + from, element->size);
      at += element->size;
    }
    queue_push(&m->daq_messages, message);
  }
}

/* Carries out the command in `cro` and fills the data bytes of `reply`
 * (3 to 7); returns the CCP return code. */
static u8_t slave_command(ccp_master *m, const u8_t cro[8], u8_t reply[8]) {
  const u8_t *p = cro + 2; /* parameter bytes */
  long from, to;
  u32_t size;
  unsigned i;
  switch (cro[0]) {
    case CCP_CONNECT:
      m->connected = 1;
      return CCP_ACK;
    case CCP_TEST:
      return CCP_ACK;
    case CCP_DISCONNECT:
      if (p[0] > 1) return CCP_OUT_OF_RANGE;
      m->connected = 0;
      if (p[0] == 1) { /* end of session */
        m->unlocked = 0;
        for (i = 0; i < CCP_DAQ_LISTS; i++) m->daq[i].running = m->daq[i].prepared = 0;
      }
      return CCP_ACK;
    case CCP_GET_CCP_VERSION:
      reply[3] = 2;
      reply[4] = 1;
      return CCP_ACK;
    case CCP_EXCHANGE_ID:
      reply[3] = 0; /* no slave identification to upload */
      reply[4] = 0;
      reply[5] = CCP_RESOURCES;
      reply[6] = (u8_t)(CCP_PROTECTED & ~m->unlocked);
      return CCP_ACK;
    case CCP_GET_SEED:
      if (p[0] != CCP_RESOURCE_CAL && p[0] != CCP_RESOURCE_DAQ && p[0] != CCP_RESOURCE_PGM) return CCP_OUT_OF_RANGE;
      m->seed_resource = p[0];
      reply[3] = (p[0] & CCP_PROTECTED & ~m->unlocked) ? 1 : 0;
      reply[4] = 0x5E;
      reply[5] = 0xED;
      reply[6] = p[0];
      reply[7] = 0x42;
      return CCP_ACK;
    case CCP_UNLOCK: {
      const u8_t seed[4] = {0x5E, 0xED, m->seed_resource, 0x42};
      u8_t resource = m->seed_resource;
      if (!resource) return CCP_SYNTAX;
      m->seed_resource = 0;
      for (i = 0; i < 4; i++)
        if ((p[i] ^ seed[i]) != 0xFF) return CCP_ACCESS_DENIED;
      m->unlocked |= resource;
      reply[3] = privileges(m);
      return CCP_ACK;
    }
    case CCP_SET_MTA:
      if (p[0] > 1 || memory_span(p[1], get_be32(p + 2), 0) < 0) return CCP_OUT_OF_RANGE;
      m->mta[p[0]] = get_be32(p + 2);
      return CCP_ACK;
    case CCP_DNLOAD:
      return write_mta0(m, p + 1, p[0], 5, reply);
    case CCP_DNLOAD_6:
      return write_mta0(m, p, 6, 6, reply);
    case CCP_UPLOAD: {
      u8_t code = read_memory(m, 0, m->mta[0], p[0], reply);
      if (code == CCP_ACK) m->mta[0] += p[0];
      return code;
    }
    case CCP_SHORT_UP:
      return read_memory(m, p[1], get_be32(p + 2), p[0], reply);
    case CCP_SELECT_CAL_PAGE:
      m->cal_page = m->mta[0];
      return CCP_ACK;
    case CCP_GET_ACTIVE_CAL_PAGE:
      reply[3] = 0;
      put_be32(reply + 4, m->cal_page);
      return CCP_ACK;
    case CCP_GET_DAQ_SIZE:
      if (p[0] >= CCP_DAQ_LISTS) return CCP_OUT_OF_RANGE;
      memset(&m->daq[p[0]], 0, sizeof m->daq[p[0]]);
      reply[3] = CCP_DAQ_ODTS;
      reply[4] = (u8_t)(p[0] * CCP_DAQ_ODTS);
      return CCP_ACK;
    case CCP_SET_DAQ_PTR:
      if (p[0] >= CCP_DAQ_LISTS || p[1] >= CCP_DAQ_ODTS || p[2] >= CCP_DAQ_ELEMENTS) return CCP_OUT_OF_RANGE;
      m->daq_pointer_set = 1;
      m->daq_list = p[0];
      m->daq_odt = p[1];
      m->daq_element = p[2];
      return CCP_ACK;
    case CCP_WRITE_DAQ: {
      ccp_element *element;
      if (!m->daq_pointer_set) return CCP_SYNTAX;
      if ((p[0] != 1 && p[0] != 2 && p[0] != 4) || memory_span(p[1], get_be32(p + 2), p[0]) < 0)
        return CCP_OUT_OF_RANGE;
      element = &m->daq[m->daq_list].elements[m->daq_odt][m->daq_element];
      element->size = p[0];
      element->address = get_be32(p + 2);
      return CCP_ACK;
    }
    case CCP_START_STOP:
      if (p[0] > 2 || p[1] >= CCP_DAQ_LISTS || p[2] >= CCP_DAQ_ODTS) return CCP_OUT_OF_RANGE;
      m->daq[p[1]].running = p[0] == 1;
      m->daq[p[1]].prepared = p[0] == 2;
      if (p[0] == 1) daq_sample(m, p[1], p[2]);
      return CCP_ACK;
    case CCP_START_STOP_ALL:
      if (p[0] > 1) return CCP_OUT_OF_RANGE;
      for (i = 0; i < CCP_DAQ_LISTS; i++) {
        if (p[0] == 1 && m->daq[i].prepared) {
          m->daq[i].running = 1;
          daq_sample(m, i, CCP_DAQ_ODTS - 1);
        } else if (p[0] == 0) {
          m->daq[i].running = 0;
        }
        m->daq[i].prepared = 0;
      }
      return CCP_ACK;
    case CCP_SET_S_STATUS:
      m->session_status = p[0];
      return CCP_ACK;
    case CCP_GET_S_STATUS:
      reply[3] = m->session_status;
      return CCP_ACK;
    case CCP_BUILD_CHKSUM: {
      u16_t sum = 0;
      size = get_be32(p);
      from = memory_span(0, m->mta[0], size);
      if (from < 0) return CCP_OUT_OF_RANGE;
      for (i = 0; i < size; i++) sum = (u16_t)(sum + m->memory[from + i]);
      reply[3] = 2;
      reply[4] = (u8_t)(sum >> 8);
      reply[5] = (u8_t)sum;
      return CCP_ACK;
    }
    case CCP_CLEAR_MEMORY:
      if (!(m->unlocked & CCP_RESOURCE_PGM)) return CCP_ACCESS_LOCKED;
      size = get_be32(p);
      from = memory_span(0, m->mta[0], size);
      if (from < 0) return CCP_OUT_OF_RANGE;
      memset(m->memory + from, 0xFF, size);
      return CCP_ACK;
    case CCP_PROGRAM:
    case CCP_PROGRAM_6:
      if (!(m->unlocked & CCP_RESOURCE_PGM)) return CCP_ACCESS_LOCKED;
      return cro[0] == CCP_PROGRAM ? write_mta0(m, p + 1, p[0], 5, reply) : write_mta0(m, p, 6, 6, reply);
    case CCP_MOVE:
      size = get_be32(p);
      from = memory_span(0, m->mta[0], size);
      to = memory_span(0, m->mta[1], size);
      if (from < 0 || to < 0) return CCP_OUT_OF_RANGE;
      memmove(m->memory + to, m->memory + from, size);
      return CCP_ACK;
    case CCP_DIAG_SERVICE:
      return CCP_ACK; /* no return information: length 0 */
    case CCP_ACTION_SERVICE: {
      u8_t event[8] = {CCP_PID_EVENT, CCP_ACK, 0, p[0], p[1], 0, 0, 0};
      queue_push(&m->events, event);
      return CCP_ACK;
    }
    default:
      return CCP_UNKNOWN_COMMAND;
  }
}

/* The master of `instance` on an open port; it must have been set up
 * unless `any`. */
static Qx_Error_t master_of(Qx_PortHandle_t portHandle, u8_t instance, int any, ccp_master **m) {
  ccp_port *port = NULL;
  *m = NULL;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &port));
  if (instance >= CCP_INSTANCES)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "no CCP master %u on a port (0 to %u)", instance,
                      CCP_INSTANCES - 1);
  *m = &port->masters[instance];
  if (!any && !(*m)->initialised)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "CCP master %u is not set up", instance);
  return 0;
}

/* Sends `cro` to the slave and writes its reply into `reply`; fails where
 * the slave stays silent or the command comes before CONNECT. */
static Qx_Error_t transact(ccp_master *m, u8_t instance, const u8_t cro[8], u8_t retries, u8_t reply[8]) {
  memset(&m->state, 0, sizeof m->state);
  m->state.NumberOfRetries = retries;
  if ((cro[0] == CCP_CONNECT || cro[0] == CCP_TEST || cro[0] == CCP_DISCONNECT) &&
      get_le16(cro + (cro[0] == CCP_DISCONNECT ? 4 : 2)) != m->setup.StationAddress) {
    m->state.Flags = CCP_STATE_NO_ANSWER;
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no CCP slave answers at station address 0x%04X",
                      get_le16(cro + (cro[0] == CCP_DISCONNECT ? 4 : 2)));
  }
  if (!m->connected && cro[0] != CCP_CONNECT && cro[0] != CCP_TEST) {
    m->state.Flags = CCP_STATE_NO_ANSWER;
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "CCP master %u is not connected: CONNECT comes first", instance);
  }
  memset(reply, 0, 8);
  reply[0] = CCP_PID_CRM;
  reply[2] = cro[1];
  reply[1] = slave_command(m, cro, reply);
  m->state.Flags = CCP_RESPONSE_RECEIVED;
  m->state.CcpError = reply[1];
  memcpy(last_reply, reply, 8);
  have_last_reply = 1;
  return 0;
}

static const char *error_text(u32_t code) {
  static const struct {
    u8_t code;
    const char *text;
  } texts[] = {
      {0x00, "acknowledge (no error)"},
      {0x01, "DAQ processor overload"},
      {0x10, "command processor busy"},
      {0x11, "DAQ processor busy"},
      {0x12, "internal timeout"},
      {0x18, "key request"},
      {0x19, "session status request"},
      {0x20, "cold start request"},
      {0x21, "calibration data initialisation request"},
      {0x22, "DAQ list initialisation request"},
      {0x23, "code update request"},
      {0x30, "unknown command"},
      {0x31, "command syntax"},
      {0x32, "parameter(s) out of range"},
      {0x33, "access denied"},
      {0x34, "overload"},
      {0x35, "access locked"},
      {0x36, "resource/function not available"},
  };
  static char unknown[32];
  size_t i;
  for (i = 0; i < sizeof texts / sizeof texts[0]; i++)
    if (texts[i].code == code) return texts[i].text;
  snprintf(unknown, sizeof unknown, "unknown CCP error 0x%02X", (unsigned)code);
  return unknown;
}

/* A standard command: the master numbers the CRO; an error code of the
 * slave fails the call. */
static Qx_Error_t command(Qx_PortHandle_t portHandle, u8_t instance, u8_t code, const u8_t *parameters,
                          u8_t reply[8]) {
  u8_t cro[8] = {0};
  ccp_master *m;
  QXSIM_TRY(master_of(portHandle, instance, 0, &m));
  cro[0] = code;
  cro[1] = ++m->counter;
  if (parameters) memcpy(cro + 2, parameters, 6);
  QXSIM_TRY(transact(m, instance, cro, 0, reply));
  if (reply[1] != CCP_ACK)
    return qxsim_fail(CCP_SIM_ERROR_SLAVE, "the slave answered CCP error 0x%02X (%s)", reply[1], error_text(reply[1]));
  return 0;
}

static void response_record(Qx_Can_Ccp_GetResponse_Rsp_t *response, const u8_t reply[8]) {
  memset(response, 0, sizeof *response);
  response->Flags = CCP_RESPONSE_RECEIVED;
  response->CcpError = reply[1];
  response->Dlc = 8;
  memcpy(response->Data, reply, 8);
}

/* ---- master session ----------------------------------------------------------- */

Qx_Error_t sim_Qx_Can_Ccp_Reset(Qx_PortHandle_t portHandle, u8_t ccpInstance) {
  ccp_master *m;
  QXSIM_TRY(master_of(portHandle, ccpInstance, 1, &m));
  memset(m, 0, sizeof *m);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Init(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                               Qx_Can_Ccp_Init_Parameters_t const *const parameters) {
  u16_t depths[3];
  ccp_master *m;
  unsigned i;
  QXSIM_TRY(master_of(portHandle, ccpInstance, 1, &m));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  depths[0] = parameters->ResponseFifoDepth;
  depths[1] = parameters->DaqMessageFifoDepth;
  depths[2] = parameters->EventMessageFifoDepth;
  for (i = 0; i < 3; i++)
    if (depths[i] > CCP_QUEUE_MAX)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "queue depth %u above %u", depths[i], CCP_QUEUE_MAX);
  memset(m, 0, sizeof *m);
  m->initialised = 1;
  m->setup = *parameters;
  m->mta[0] = m->mta[1] = m->cal_page = CCP_MEMORY_BASE;
  queue_setup(&m->responses, parameters->ResponseFifoDepth);
  queue_setup(&m->daq_messages, parameters->DaqMessageFifoDepth);
  queue_setup(&m->events, parameters->EventMessageFifoDepth);
  return 0;
}

/* A raw command: the caller numbers the CRO; the reply, whatever its code,
 * goes to `reply`. */
static Qx_Error_t raw_command(ccp_master *m, u8_t instance, Qx_Can_Ccp_Command_Parameters_t const *const parameters,
                              u8_t reply[8]) {
  QXSIM_TRY(qxsim_need(parameters, "command"));
  return transact(m, instance, parameters->Data, parameters->NumberOfRetries, reply);
}

Qx_Error_t sim_Qx_Can_Ccp_Command(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                  Qx_Can_Ccp_Command_Parameters_t const *const command) {
  u8_t reply[8];
  ccp_master *m;
  QXSIM_TRY(master_of(portHandle, ccpInstance, 0, &m));
  if (m->responses.count == m->responses.depth)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "response queue full (%u responses waiting)",
                      (unsigned)m->responses.count);
  QXSIM_TRY(raw_command(m, ccpInstance, command, reply));
  queue_push(&m->responses, reply);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_CommandWithResponse(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                              Qx_Can_Ccp_Command_Parameters_t const *const command,
                                              Qx_Can_Ccp_GetResponse_Rsp_t *const ccpResponse) {
  u8_t reply[8];
  ccp_master *m;
  QXSIM_TRY(master_of(portHandle, ccpInstance, 0, &m));
  QXSIM_TRY(qxsim_need(ccpResponse, "response record"));
  QXSIM_TRY(raw_command(m, ccpInstance, command, reply));
  response_record(ccpResponse, reply);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_GetCommandState(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                          Qx_Can_Ccp_GetCommandState_Rsp_t *const state) {
  ccp_master *m;
  QXSIM_TRY(master_of(portHandle, ccpInstance, 0, &m));
  QXSIM_TRY(qxsim_need(state, "state record"));
  *state = m->state;
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_GetResponse(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                      Qx_Can_Ccp_GetResponse_Rsp_t *const ccpResponse) {
  const u8_t *reply;
  ccp_master *m;
  QXSIM_TRY(master_of(portHandle, ccpInstance, 0, &m));
  QXSIM_TRY(qxsim_need(ccpResponse, "response record"));
  reply = queue_pop(&m->responses);
  if (!reply) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no CCP response waiting");
  response_record(ccpResponse, reply);
  return 0;
}

/* Drains up to *count messages of `queue` into `messages` (the event and DAQ
 * message records share one layout). */
static Qx_Error_t read_queue(ccp_queue *queue, u32_t *const flags, u32_t *const count,
                             Qx_Can_Ccp_EventMessage_t *const messages) {
  u32_t n = 0;
  const u8_t *bytes;
  QXSIM_TRY(qxsim_need(flags && count, "output cells"));
  QXSIM_TRY(qxsim_need(messages || !*count, "message array"));
  while (n < *count && (bytes = queue_pop(queue)) != NULL) {
    memset(&messages[n], 0, sizeof messages[n]);
    messages[n].Dlc = 8;
    memcpy(messages[n].Data, bytes, 8);
    n++;
  }
  *count = n;
  *flags = queue->overrun ? CCP_QUEUE_OVERRUN : 0;
  queue->overrun = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_GetEventMessages(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                           Qx_Can_Ccp_GetEventMessages_RspFlags_t *const eventFlags,
                                           u32_t *const numberOfEventMessages,
                                           Qx_Can_Ccp_EventMessage_t *const eventMessages) {
  ccp_master *m;
  QXSIM_TRY(master_of(portHandle, ccpInstance, 0, &m));
  return read_queue(&m->events, eventFlags, numberOfEventMessages, eventMessages);
}

Qx_Error_t sim_Qx_Can_Ccp_GetDaqMessages(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                         Qx_Can_Ccp_GetDaqMessages_RspFlags_t *const daqFlags,
                                         u32_t *const numberOfDaqMessages,
                                         Qx_Can_Ccp_DaqMessage_t *const daqMessages) {
  ccp_master *m;
  QXSIM_TRY(master_of(portHandle, ccpInstance, 0, &m));
  return read_queue(&m->daq_messages, daqFlags, numberOfDaqMessages, (Qx_Can_Ccp_EventMessage_t *)daqMessages);
}

const char *sim_Qx_Can_Ccp_GetCcpErrorDescription(Qx_Can_Ccp_GetResponse_Rsp_t *const ccpResponse) {
  if (!have_last_reply) return NULL;
  if (ccpResponse) response_record(ccpResponse, last_reply);
  return error_text(last_reply[1]);
}

/* ---- standard commands -------------------------------------------------------- */

/* Parameter bytes of a CRO, built field by field. */
typedef struct {
  u8_t bytes[6];
} ccp_params;

static ccp_params params_of(u8_t b0, u8_t b1, u8_t b2, u8_t b3, u8_t b4, u8_t b5) {
  ccp_params p = {{b0, b1, b2, b3, b4, b5}};
  return p;
}

/* Parameters: one byte, one byte, then a 32-bit value. */
static ccp_params params_bb32(u8_t b0, u8_t b1, u32_t value) {
  ccp_params p = params_of(b0, b1, 0, 0, 0, 0);
  put_be32(p.bytes + 2, value);
  return p;
}

static ccp_params params_32(u32_t value) {
  ccp_params p = params_of(0, 0, 0, 0, 0, 0);
  put_be32(p.bytes, value);
  return p;
}

static ccp_params params_station(u16_t station) {
  ccp_params p = params_of(0, 0, 0, 0, 0, 0);
  put_le16(p.bytes, station);
  return p;
}

static Qx_Error_t simple(Qx_PortHandle_t portHandle, u8_t instance, u8_t code, ccp_params p) {
  u8_t reply[8];
  return command(portHandle, instance, code, p.bytes, reply);
}

/* MTA0 after a download or program command: extension and address. */
static void mta0_record(u8_t *extension, u32_t *address, const u8_t reply[8]) {
  *extension = reply[3];
  *address = get_be32(reply + 4);
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Connect(Qx_PortHandle_t portHandle, u8_t ccpInstance, u16_t stationAddress) {
  return simple(portHandle, ccpInstance, CCP_CONNECT, params_station(stationAddress));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_ExchangeId(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                             u8_t const *const masterIdData,
                                             Qx_Can_Ccp_Command_ExchangeId_Rsp_t *const exchangeIdResponse) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(masterIdData, "master identification data"));
  QXSIM_TRY(qxsim_need(exchangeIdResponse, "response record"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_EXCHANGE_ID, masterIdData, reply));
  exchangeIdResponse->Length = reply[3];
  exchangeIdResponse->DataTypeQualifier = reply[4];
  exchangeIdResponse->ResourceAvailabilityFlags = reply[5];
  exchangeIdResponse->ResourceProtectionFlags = reply[6];
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_GetSeed(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                          Qx_Can_Ccp_ResourceFlags_t requestedResource,
                                          Qx_Can_Ccp_Command_GetSeed_Rsp_t *const seedResponse) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(seedResponse, "response record"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_GET_SEED, params_of(requestedResource, 0, 0, 0, 0, 0).bytes, reply));
  seedResponse->ProtectionStatus = reply[3];
  memcpy(seedResponse->SeedData, reply + 4, 4);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Unlock(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t const *const key,
                                         u8_t *const privilegeStatus) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(key, "key"));
  QXSIM_TRY(qxsim_need(privilegeStatus, "output cell"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_UNLOCK, key, reply));
  *privilegeStatus = reply[3];
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_SetMta(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                         Qx_Can_Ccp_MtaNumber_t mtaNumber, u8_t addressExtension, u32_t address) {
  return simple(portHandle, ccpInstance, CCP_SET_MTA, params_bb32(mtaNumber, addressExtension, address));
}

/* DNLOAD and PROGRAM: `size` bytes of `data`, which holds at most
 * QX_BUFFER_BYTES. */
static Qx_Error_t write_command(Qx_PortHandle_t portHandle, u8_t instance, u8_t code, u8_t size,
                                u8_t const *const data, u8_t *extension, u32_t *address) {
  ccp_params p = params_of(size, 0, 0, 0, 0, 0);
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(data, "data"));
  if (size > 5) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u bytes: a command carries 1 to 5", size);
  memcpy(p.bytes + 1, data, size);
  QXSIM_TRY(command(portHandle, instance, code, p.bytes, reply));
  if (extension && address) mta0_record(extension, address, reply);
  return 0;
}

/* DNLOAD_6 and PROGRAM_6: 6 bytes of `data`. */
static Qx_Error_t write6_command(Qx_PortHandle_t portHandle, u8_t instance, u8_t code, u8_t const *const data,
                                 u8_t *extension, u32_t *address) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(data, "data"));
  QXSIM_TRY(command(portHandle, instance, code, data, reply));
  if (extension && address) mta0_record(extension, address, reply);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Download(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t size,
                                           u8_t const *const ccpData,
                                           Qx_Can_Ccp_Command_Download_Rsp_t *const response) {
  return write_command(portHandle, ccpInstance, CCP_DNLOAD, size, ccpData, response ? &response->MTA0Extension : NULL,
                       response ? &response->MTA0Address : NULL);
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Download6(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t const *const ccpData,
                                            Qx_Can_Ccp_Command_Download6_Rsp_t *const response) {
  return write6_command(portHandle, ccpInstance, CCP_DNLOAD_6, ccpData, response ? &response->MTA0Extension : NULL,
                        response ? &response->MTA0Address : NULL);
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Program(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t size,
                                          u8_t const *const ccpData,
                                          Qx_Can_Ccp_Command_Program_Rsp_t *const response) {
  return write_command(portHandle, ccpInstance, CCP_PROGRAM, size, ccpData, response ? &response->MTA0Extension : NULL,
                       response ? &response->MTA0Address : NULL);
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Program6(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t const *const ccpData,
                                           Qx_Can_Ccp_Command_Program6_Rsp_t *const response) {
  return write6_command(portHandle, ccpInstance, CCP_PROGRAM_6, ccpData, response ? &response->MTA0Extension : NULL,
                        response ? &response->MTA0Address : NULL);
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Upload(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t size,
                                         u8_t *const uploadData) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(uploadData, "destination"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_UPLOAD, params_of(size, 0, 0, 0, 0, 0).bytes, reply));
  memcpy(uploadData, reply + 3, size);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_ShortUp(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t size,
                                          u8_t addressExtension, u32_t address, u8_t *const uploadData) {
  ccp_params p = params_bb32(size, addressExtension, address);
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(uploadData, "destination"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_SHORT_UP, p.bytes, reply));
  memcpy(uploadData, reply + 3, size);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_SelectCalPage(Qx_PortHandle_t portHandle, u8_t ccpInstance) {
  return simple(portHandle, ccpInstance, CCP_SELECT_CAL_PAGE, params_of(0, 0, 0, 0, 0, 0));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_GetDaqSize(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t daqListNumber,
                                             u32_t dtoId, Qx_Can_Ccp_Command_GetDaqSize_Rsp_t *const response) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(response, "response record"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_GET_DAQ_SIZE, params_bb32(daqListNumber, 0, dtoId).bytes, reply));
  response->DaqListSize = reply[3];
  response->FirstPid = reply[4];
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_SetDaqPtr(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t daqListNumber,
                                            u8_t odtNumber, u8_t elementNumber) {
  return simple(portHandle, ccpInstance, CCP_SET_DAQ_PTR, params_of(daqListNumber, odtNumber, elementNumber, 0, 0, 0));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_WriteDaq(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                           Qx_Can_Ccp_Command_WriteDaq_Size_t elementSize, u8_t addressExtension,
                                           u32_t address) {
  return simple(portHandle, ccpInstance, CCP_WRITE_DAQ, params_bb32(elementSize, addressExtension, address));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_StartStop(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                            Qx_Can_Ccp_Command_StartStop_Mode_t mode, u8_t daqListNumber,
                                            u8_t lastOdtNumber, u8_t eventChannel, u16_t prescaler) {
  return simple(portHandle, ccpInstance, CCP_START_STOP,
                params_of(mode, daqListNumber, lastOdtNumber, eventChannel, (u8_t)(prescaler >> 8), (u8_t)prescaler));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Disconnect(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                             Qx_Can_Ccp_Command_Disconnect_Mode_t mode, u16_t stationAddress) {
  return simple(portHandle, ccpInstance, CCP_DISCONNECT,
                params_of(mode, 0, (u8_t)stationAddress, (u8_t)(stationAddress >> 8), 0, 0));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_SetSessionStatus(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                                   Qx_Can_Ccp_SessionStatusFlags_t sessionStatus) {
  return simple(portHandle, ccpInstance, CCP_SET_S_STATUS, params_of(sessionStatus, 0, 0, 0, 0, 0));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_GetSessionStatus(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                                   Qx_Can_Ccp_Command_GetSessionStatus_Rsp_t *const response) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(response, "response record"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_GET_S_STATUS, NULL, reply));
  response->StatusFlags = reply[3];
  response->StatusInfoQualifier = reply[4];
  memcpy(response->StatusInfo, reply + 5, 3);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_BuildChksum(Qx_PortHandle_t portHandle, u8_t ccpInstance, u32_t blockSize,
                                              Qx_Can_Ccp_Command_BuildChksum_Rsp_t *const response) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(response, "response record"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_BUILD_CHKSUM, params_32(blockSize).bytes, reply));
  response->Size = reply[3];
  memcpy(response->Data, reply + 4, 4);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_ClearMemory(Qx_PortHandle_t portHandle, u8_t ccpInstance, u32_t memorySize) {
  return simple(portHandle, ccpInstance, CCP_CLEAR_MEMORY, params_32(memorySize));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Move(Qx_PortHandle_t portHandle, u8_t ccpInstance, u32_t blockSize) {
  return simple(portHandle, ccpInstance, CCP_MOVE, params_32(blockSize));
}

/* DIAG_SERVICE and ACTION_SERVICE: service number, 4 parameter bytes. */
static Qx_Error_t service_command(Qx_PortHandle_t portHandle, u8_t instance, u8_t code, u16_t service,
                                  u8_t const *const parameters, u8_t *length, u8_t *type) {
  ccp_params p = params_of((u8_t)(service >> 8), (u8_t)service, 0, 0, 0, 0);
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(parameters, "service parameters"));
  memcpy(p.bytes + 2, parameters, 4);
  QXSIM_TRY(command(portHandle, instance, code, p.bytes, reply));
  if (length && type) {
    *length = reply[3];
    *type = reply[4];
  }
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_DiagService(Qx_PortHandle_t portHandle, u8_t ccpInstance, u16_t serviceNumber,
                                              u8_t const *const serviceParameters,
                                              Qx_Can_Ccp_Command_DiagService_Rsp_t *const response) {
  return service_command(portHandle, ccpInstance, CCP_DIAG_SERVICE, serviceNumber, serviceParameters,
                         response ? &response->Length : NULL, response ? &response->DataType : NULL);
}

Qx_Error_t sim_Qx_Can_Ccp_Command_ActionService(Qx_PortHandle_t portHandle, u8_t ccpInstance, u16_t serviceNumber,
                                                u8_t const *const serviceParameters,
                                                Qx_Can_Ccp_Command_ActionService_Rsp_t *const response) {
  return service_command(portHandle, ccpInstance, CCP_ACTION_SERVICE, serviceNumber, serviceParameters,
                         response ? &response->Length : NULL, response ? &response->DataType : NULL);
}

Qx_Error_t sim_Qx_Can_Ccp_Command_Test(Qx_PortHandle_t portHandle, u8_t ccpInstance, u16_t stationAddress) {
  return simple(portHandle, ccpInstance, CCP_TEST, params_station(stationAddress));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_StartStopAll(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                               Qx_Can_Ccp_Command_StartStopAll_Mode_t mode) {
  return simple(portHandle, ccpInstance, CCP_START_STOP_ALL, params_of(mode, 0, 0, 0, 0, 0));
}

Qx_Error_t sim_Qx_Can_Ccp_Command_GetActiveCalPage(Qx_PortHandle_t portHandle, u8_t ccpInstance,
                                                   Qx_Can_Ccp_Command_GetActiveCalPage_Rsp_t *const response) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(response, "response record"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_GET_ACTIVE_CAL_PAGE, NULL, reply));
  response->AddressExtension = reply[3];
  response->Address = get_be32(reply + 4);
  return 0;
}

Qx_Error_t sim_Qx_Can_Ccp_Command_GetCcpVersion(Qx_PortHandle_t portHandle, u8_t ccpInstance, u8_t mainVersion,
                                                u8_t releaseVersion,
                                                Qx_Can_Ccp_Command_GetCcpVersion_Rsp_t *const response) {
  u8_t reply[8];
  QXSIM_TRY(qxsim_need(response, "response record"));
  QXSIM_TRY(command(portHandle, ccpInstance, CCP_GET_CCP_VERSION, params_of(mainVersion, releaseVersion, 0, 0, 0, 0).bytes,
                    reply));
  response->MainVersion = reply[3];
  response->ReleaseVersion = reply[4];
  return 0;
}
