/*
 * The simulated XCP masters of the common library and the small XCP slave
 * behind each of them.
 *
 * A port holds up to XCP_SIM_MASTERS masters, each named by its XCP
 * instance number. A master exists once one of the Qx_Common_Xcp_Init_
 * functions has set up its transport (setting it up again starts it
 * afresh) and until Qx_Common_Xcp_Reset, the port's closing or the device's
 * reset. Every other function of the family fails for an instance that is
 * not set up, and the slave's commands fail until the master is connected;
 * the last-error text says which step is missing.
 *
 * The slave: XCP_SIM_MEMORY_SIZE bytes of memory at XCP_SIM_MEMORY_BASE,
 * which uploads what was downloaded or programmed; programming needs the
 * PGM resource unlocked by seed and key. The transport loops transmitted
 * packets back: frames written to the DTO or CTO transmit FIFO come back in
 * the DTO or CTO receive FIFO. A running DAQ samples the slave's memory at
 * its signals' addresses once per read, every sample a time step later.
 */
#include <string.h>

#include "qx_api_common_behaviour.h"
#include "qxsim_device.h"

#define XCP_SIM_PORTS 8
#define XCP_SIM_MASTERS 4
#define XCP_SIM_MEMORY_BASE 0x00010000u
#define XCP_SIM_MEMORY_SIZE 0x1000u

/* One transport of the master: what CONNECT reports for it. */
typedef struct {
  const char *name;
  u8_t max_cto;
  u16_t max_dto;
} xcp_transport;

enum { XCP_CAN, XCP_FLEXRAY, XCP_UDP4, XCP_UDP6, XCP_TCP4, XCP_TCP6 };

static const xcp_transport transports[] = {
    [XCP_CAN] = {"CAN", 8, 8},
    [XCP_FLEXRAY] = {"FlexRay", 254, 254},
    [XCP_UDP4] = {"Ethernet UDP/IPv4", 255, 1400},
    [XCP_UDP6] = {"Ethernet UDP/IPv6", 255, 1400},
    [XCP_TCP4] = {"Ethernet TCP/IPv4", 255, 1400},
    [XCP_TCP6] = {"Ethernet TCP/IPv6", 255, 1400},
};

/* Properties: least, greatest and start value, by QX_COMMON__XCP__PROPERTY_ID__. */
#define XCP_SIM_FIFO_DEPTH 16
static const struct {
  u32_t min, max, start;
} properties[QX_COMMON__XCP__PROPERTY_ID__UNKNOWN] = {
    [QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO_DEPTH] = {1, XCP_SIM_FIFO_DEPTH, XCP_SIM_FIFO_DEPTH},
    [QX_COMMON__XCP__PROPERTY_ID__CTO_RX_FIFO_DEPTH] = {1, XCP_SIM_FIFO_DEPTH, XCP_SIM_FIFO_DEPTH},
    [QX_COMMON__XCP__PROPERTY_ID__DTO_TX_FIFO_DEPTH] = {1, XCP_SIM_FIFO_DEPTH, XCP_SIM_FIFO_DEPTH},
    [QX_COMMON__XCP__PROPERTY_ID__CTO_TX_FIFO_DEPTH] = {1, XCP_SIM_FIFO_DEPTH, XCP_SIM_FIFO_DEPTH},
    [QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO__USE_TIMESTAMP] = {0, 1, 0},
};

/* XCP packet identifiers and error codes the slave uses. */
#define XCP_PID_POSITIVE 0xFFu
#define XCP_PID_ERROR 0xFEu
#define XCP_CMD_CONNECT 0xFFu
#define XCP_CMD_DISCONNECT 0xFEu
#define XCP_CMD_GET_STATUS 0xFDu
#define XCP_ERR_CMD_UNKNOWN 0x20u
/* Flags of a raw command's response: the slave answered with an error packet. */
#define XCP_SIM_RSP_NEGATIVE 0x1u
/* Flags of Qx_Common_Xcp_GetState: the master is connected. */
#define XCP_SIM_STATE_CONNECTED 0x1u

/* Resources of the slave, by QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__: their
 * names and their bits in the XCP resource byte. DAQ and PGM are protected
 * by seed and key after every CONNECT. */
#define XCP_SIM_RESOURCES 4
static const struct {
  const char *name;
  u8_t bit;
} resources[XCP_SIM_RESOURCES] = {{"CAL/PAG", 0x01}, {"DAQ", 0x04}, {"STIM", 0x08}, {"PGM", 0x10}};
#define XCP_SIM_RESOURCES_AVAILABLE 0x1Du
#define XCP_SIM_RESOURCES_PROTECTED 0x14u
#define XCP_SIM_SEED_LENGTH 4u
/* GET_STATUS session status: a DAQ list is running. */
#define XCP_SIM_SESSION_DAQ_RUNNING 0x40u
#define XCP_SIM_DRIVER_VERSION 0x10u

/* DAQ: signals of a master at most, and the time between two samples (the
 * clock counts microseconds from beyond 32 bits, so that time stamps use
 * all their bytes). */
#define XCP_SIM_SIGNALS 16u
#define XCP_SIM_DAQ_PERIOD 1000u
#define XCP_SIM_CLOCK_EPOCH 0x100000000ull
/* ReadRxSignals flags: more signals than the records given had a value. */
#define XCP_SIM_DAQ_VALUES_LEFT_OUT 0x1u

/* FIFOs: the longest frame the simulated transport carries, and the time
 * one frame takes. */
#define XCP_SIM_FRAME_MAX 256u
#define XCP_SIM_FRAME_TIME 100u
/* Flags of a frame read: more frames wait in the FIFO. */
#define XCP_SIM_FRAME_MORE 0x1u

typedef struct {
  u16_t length;
  u64_t time;
  u8_t data[XCP_SIM_FRAME_MAX];
} xcp_frame;

typedef struct {
  xcp_frame frames[XCP_SIM_FIFO_DEPTH];
  u32_t first;
  u32_t count;
} xcp_fifo;

typedef struct {
  int used;
  u8_t instance;
  u8_t transport;
  int connected;
  u8_t locked;        /* resource bits protected now */
  int seed_resource;  /* the resource whose seed was asked for last, -1: none */
  u8_t generation[XCP_SIM_RESOURCES]; /* counts unlocks: every seed differs from the last */
  int daq_running;
  u32_t mta; /* memory transfer address */
  Qx_Common_Xcp_Daq_Signal_t signals[XCP_SIM_SIGNALS];
  u32_t signal_count;
  xcp_fifo dto; /* received DTOs */
  xcp_fifo cto; /* received CTOs */
  u32_t property[QX_COMMON__XCP__PROPERTY_ID__UNKNOWN];
  u8_t memory[XCP_SIM_MEMORY_SIZE];
} xcp_master;

typedef struct {
  uint32_t handle; /* 0: slot free */
  xcp_master masters[XCP_SIM_MASTERS];
} xcp_port;

static xcp_port ports[XCP_SIM_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* The slaves' clock, shared by all masters. */
static u64_t xcp_clock;

static void xcp_reset(void) { xcp_clock = XCP_SIM_CLOCK_EPOCH; }

__attribute__((constructor)) static void xcp_init(void) {
  xcp_reset();
  qxsim_on_reset(xcp_reset);
}

/* ---- finding a master ------------------------------------------------------ */

static xcp_master *find_master(xcp_port *p, u8_t instance) {
  int i;
  for (i = 0; i < XCP_SIM_MASTERS; i++)
    if (p->masters[i].used && p->masters[i].instance == instance) return &p->masters[i];
  return NULL;
}

/* The master set up as `instance` on the port. */
static uint32_t master_of(Qx_PortHandle_t portHandle, u8_t instance, xcp_master **m) {
  xcp_port *p;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  *m = find_master(p, instance);
  if (!*m)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE,
                      "XCP instance %u is not set up on port 0x%08X (set up its transport first)",
                      (unsigned)instance, (unsigned)portHandle);
  return 0;
}

/* Sets up `instance` afresh on `transport`, in its own slot or a free one. */
static uint32_t set_up(Qx_PortHandle_t portHandle, u8_t instance, int transport) {
  xcp_port *p;
  xcp_master *m;
  int i;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  m = find_master(p, instance);
  for (i = 0; !m && i < XCP_SIM_MASTERS; i++)
    if (!p->masters[i].used) m = &p->masters[i];
  if (!m)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no room for XCP instance %u: %d instances are set up on port 0x%08X",
                      (unsigned)instance, XCP_SIM_MASTERS, (unsigned)portHandle);
  memset(m, 0, sizeof *m);
  m->used = 1;
  m->instance = instance;
  m->transport = (u8_t)transport;
  for (i = 0; i < QX_COMMON__XCP__PROPERTY_ID__UNKNOWN; i++) m->property[i] = properties[i].start;
  return 0;
}

/* The master set up as `instance` and connected to its slave. */
static uint32_t connected_master(Qx_PortHandle_t portHandle, u8_t instance, xcp_master **m) {
  QXSIM_TRY(master_of(portHandle, instance, m));
  if (!(*m)->connected)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "XCP instance %u is not connected (connect first)", (unsigned)instance);
  return 0;
}

/* ---- transport set-up ------------------------------------------------------ */

Qx_Error_t sim_Qx_Common_Xcp_Reset(Qx_PortHandle_t portHandle, u8_t xcpInstance) {
  xcp_port *p;
  xcp_master *m;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  m = find_master(p, xcpInstance);
  if (m) memset(m, 0, sizeof *m);
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Init_Can(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                      Qx_Common_Xcp_Init_Can_Cmd_t const *const cmd) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(cmd, "set-up record"));
  if (cmd->CanIdMaster > 0x1FFFFFFFu || cmd->CanIdSlave > 0x1FFFFFFFu)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "CAN identifier 0x%X beyond 29 bits",
                      (unsigned)(cmd->CanIdMaster > 0x1FFFFFFFu ? cmd->CanIdMaster : cmd->CanIdSlave));
  if (cmd->CanIdMaster == cmd->CanIdSlave)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "master and slave use the same CAN identifier 0x%X",
                      (unsigned)cmd->CanIdMaster);
  return set_up(portHandle, xcpInstance, XCP_CAN);
}

Qx_Error_t sim_Qx_Common_Xcp_Init_FlexRay(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                          Qx_Common_Xcp_Init_FlexRay_Cmd_t const *const cmd) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(cmd, "set-up record"));
  if (cmd->HeaderType >= QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown header type %u", (unsigned)cmd->HeaderType);
  if (cmd->PacketAlignment >= QX_COMMON__XCP__FLEXRAY__PACKET_ALIGNMENT__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown packet alignment %u", (unsigned)cmd->PacketAlignment);
  if (!cmd->NumberOfPdus || cmd->NumberOfPdus > QX_COMMON__XCP__INIT__FLEXRAY__PDU_BUFFER_SIZE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u PDUs given, 1 to %d expected", (unsigned)cmd->NumberOfPdus,
                      QX_COMMON__XCP__INIT__FLEXRAY__PDU_BUFFER_SIZE);
  return set_up(portHandle, xcpInstance, XCP_FLEXRAY);
}

/* The Ethernet records share their field order up to the slave's port. */
static uint32_t check_ethernet(const u8_t *slave_ip, size_t ip_size, u16_t slave_port) {
  static const u8_t none[16];
  if (!memcmp(slave_ip, none, ip_size)) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "no slave IP address given");
  if (!slave_port) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "no slave port given");
  return 0;
}

#define SIM_XCP_INIT_ETHERNET(KIND, TRANSPORT)                                                        \
  Qx_Error_t sim_Qx_Common_Xcp_Init_Ethernet_##KIND(Qx_PortHandle_t portHandle, u8_t xcpInstance,    \
                                                    Qx_Common_Xcp_Init_Ethernet_##KIND##_Cmd_t const \
                                                        *const cmd) {                                \
    QXSIM_TRY(qxsim_check_port(portHandle));                                                          \
    QXSIM_TRY(qxsim_need(cmd, "set-up record"));                                                      \
    QXSIM_TRY(check_ethernet(cmd->SlaveIpAddress.Addr8, sizeof cmd->SlaveIpAddress, cmd->SlavePort)); \
    return set_up(portHandle, xcpInstance, TRANSPORT);                                                \
  }

SIM_XCP_INIT_ETHERNET(Udp4, XCP_UDP4)
SIM_XCP_INIT_ETHERNET(Udp6, XCP_UDP6)
SIM_XCP_INIT_ETHERNET(Tcp4, XCP_TCP4)
SIM_XCP_INIT_ETHERNET(Tcp6, XCP_TCP6)

/* Nonzero while the master's DAQ lists run. */
static int daq_running(const xcp_master *m) { return m->daq_running; }

/* ---- raw commands, command state and properties ------------------------------ */

/* A CONNECT: the session starts with DAQ and PGM locked. */
static void connect_slave(xcp_master *m) {
  m->connected = 1;
  m->daq_running = 0;
  m->locked = XCP_SIM_RESOURCES_PROTECTED;
  m->seed_resource = -1;
}

Qx_Error_t sim_Qx_Common_Xcp_CommandWithResponse(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                                 Qx_Common_Xcp_CommandWithResponse_Cmd_t const *const cmd,
                                                 Qx_Common_Xcp_CommandWithResponse_Rsp_t *const rsp) {
  xcp_master *m;
  const xcp_transport *t;
  u8_t pid;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  if (!cmd->Length || cmd->Length > sizeof cmd->Data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "command of %u bytes, 1 to %u expected", (unsigned)cmd->Length,
                      (unsigned)sizeof cmd->Data);
  pid = cmd->Data[0];
  if (pid != XCP_CMD_CONNECT && !m->connected)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "XCP instance %u is not connected (connect first)",
                      (unsigned)xcpInstance);
  memset(rsp, 0, sizeof *rsp);
  rsp->Data[0] = XCP_PID_POSITIVE;
  rsp->Length = 1;
  t = &transports[m->transport];
  switch (pid) {
    case XCP_CMD_CONNECT:
      connect_slave(m);
      rsp->Data[1] = XCP_SIM_RESOURCES_AVAILABLE;
      rsp->Data[3] = t->max_cto;
      rsp->Data[4] = (u8_t)(t->max_dto & 0xFF);
      rsp->Data[5] = (u8_t)(t->max_dto >> 8);
      rsp->Data[6] = 1;
      rsp->Data[7] = 1;
      rsp->Length = 8;
      break;
    case XCP_CMD_DISCONNECT:
      m->connected = 0;
      break;
    case XCP_CMD_GET_STATUS:
      rsp->Data[2] = m->locked;
      rsp->Length = 6;
      break;
    default:
      rsp->Flags = XCP_SIM_RSP_NEGATIVE;
      rsp->Error = XCP_ERR_CMD_UNKNOWN;
      rsp->Data[0] = XCP_PID_ERROR;
      rsp->Data[1] = XCP_ERR_CMD_UNKNOWN;
      rsp->Length = 2;
  }
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_GetState(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                      Qx_Common_Xcp_GetState_Rsp_t *const rsp) {
  xcp_master *m;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  memset(rsp, 0, sizeof *rsp);
  rsp->Flags = m->connected ? XCP_SIM_STATE_CONNECTED : 0;
  rsp->CommandState = QX_COMMON__XCP__COMMAND__STATE__IDLE;
  return 0;
}

static uint32_t check_property(u16_t id) {
  if (id >= QX_COMMON__XCP__PROPERTY_ID__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown property id %u", (unsigned)id);
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Property_GetById(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                              Qx_Common_Xcp_Property_GetById_Cmd_t const *const cmd,
                                              Qx_Common_Xcp_Property_GetById_Rsp_t *const rsp) {
  xcp_master *m;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  QXSIM_TRY(check_property(cmd->PropertyId));
  memset(rsp, 0, sizeof *rsp);
  rsp->PropertyId = cmd->PropertyId;
  rsp->Value = m->property[cmd->PropertyId];
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Property_SetById(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                              Qx_Common_Xcp_Property_SetById_Cmd_t const *const cmd) {
  xcp_master *m;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(check_property(cmd->PropertyId));
  if (cmd->Value < properties[cmd->PropertyId].min || cmd->Value > properties[cmd->PropertyId].max)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "property %u takes %u to %u, not %u", (unsigned)cmd->PropertyId,
                      (unsigned)properties[cmd->PropertyId].min, (unsigned)properties[cmd->PropertyId].max,
                      (unsigned)cmd->Value);
  m->property[cmd->PropertyId] = cmd->Value;
  return 0;
}

/* ---- session and access commands ------------------------------------------- */

Qx_Error_t sim_Qx_Common_Xcp_Cmd_Connect(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                         Qx_Common_Xcp_Cmd_Connect_Cmd_t const *const cmd,
                                         Qx_Common_Xcp_Cmd_Connect_Rsp_t *const rsp) {
  xcp_master *m;
  const xcp_transport *t;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  if (cmd->Mode > QX_COMMON__XCP__CMD__CONNECT__MODE__USER_DEFINED)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown connect mode %u", (unsigned)cmd->Mode);
  connect_slave(m);
  t = &transports[m->transport];
  memset(rsp, 0, sizeof *rsp);
  rsp->Flags = XCP_SIM_RESOURCES_AVAILABLE;
  rsp->ByteOrder = QX_COMMON__XCP__CMD__CONNECT__BYTE_ORDER__INTEL;
  rsp->AddressGranularity = QX_COMMON__XCP__CMD__CONNECT__ADDRESS_GRANULARITY__BYTE;
  rsp->ProtocolLayerVersion = 1;
  rsp->TransportLayerVersion = 1;
  rsp->MaxDto = t->max_dto;
  rsp->MaxCto = t->max_cto;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_Disconnect(Qx_PortHandle_t portHandle, u8_t xcpInstance) {
  xcp_master *m;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  m->connected = 0;
  m->daq_running = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_GetStatus(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                           Qx_Common_Xcp_Cmd_GetStatus_Rsp_t *const rsp) {
  xcp_master *m;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  memset(rsp, 0, sizeof *rsp);
  /* session status in the low byte, the protected resources in the next */
  rsp->Flags = (u32_t)m->locked << 8;
  rsp->Flags |= daq_running(m) ? XCP_SIM_SESSION_DAQ_RUNNING : 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_GetCommModeInfo(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                                 Qx_Common_Xcp_Cmd_GetCommModeInfo_Rsp_t *const rsp) {
  xcp_master *m;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  memset(rsp, 0, sizeof *rsp);
  rsp->XcpDriverVersionNumber = XCP_SIM_DRIVER_VERSION;
  return 0;
}

/* The seed of a resource: the same until the resource is unlocked. */
static void make_seed(const xcp_master *m, int resource, u8_t seed[XCP_SIM_SEED_LENGTH]) {
  seed[0] = 0x5A;
  seed[1] = (u8_t)(0xC0 | resource);
  seed[2] = m->instance;
  seed[3] = m->generation[resource];
}

/* The key of a seed: every byte inverted. */
static int key_matches(const xcp_master *m, int resource, u8_t length, const u8_t *key) {
  u8_t seed[XCP_SIM_SEED_LENGTH];
  unsigned i;
  if (length != XCP_SIM_SEED_LENGTH || !key) return 0;
  make_seed(m, resource, seed);
  for (i = 0; i < XCP_SIM_SEED_LENGTH; i++)
    if (key[i] + seed[i] != 0xFF) return 0;
  return 1;
}

static void unlock_resource(xcp_master *m, int resource) {
  m->locked = (u8_t)(m->locked & ~resources[resource].bit);
  m->generation[resource]++;
}

/* Fails when `resource` is still protected. */
static uint32_t unlocked(const xcp_master *m, int resource) {
  if (m->locked & resources[resource].bit)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "resource %s is locked (unlock it with seed and key first)",
                      resources[resource].name);
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_GetSeed(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                         Qx_Common_Xcp_Cmd_GetSeed_Resource_t resource, u32_t *const seedLength,
                                         u8_t *const seed) {
  xcp_master *m;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  if ((int)resource < 0 || (int)resource >= XCP_SIM_RESOURCES)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown resource %d", (int)resource);
  QXSIM_TRY(qxsim_need(seedLength, "seed length cell"));
  /* An unprotected resource has no seed: length 0. */
  if (!(m->locked & resources[resource].bit)) {
    *seedLength = 0;
    return 0;
  }
  QXSIM_TRY(qxsim_need(seed, "seed buffer"));
  if (*seedLength < XCP_SIM_SEED_LENGTH)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "seed buffer of %u bytes, %u needed", (unsigned)*seedLength,
                      XCP_SIM_SEED_LENGTH);
  make_seed(m, (int)resource, seed);
  *seedLength = XCP_SIM_SEED_LENGTH;
  m->seed_resource = (int)resource;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_Unlock(Qx_PortHandle_t portHandle, u8_t xcpInstance, u8_t keyLength,
                                        u8_t const *const key) {
  xcp_master *m;
  int resource;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  resource = m->seed_resource;
  if (resource < 0) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no seed asked for (get a seed first)");
  m->seed_resource = -1;
  if (!key_matches(m, resource, keyLength, key))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "key does not match the seed of resource %s",
                      resources[resource].name);
  unlock_resource(m, resource);
  return 0;
}

/* ---- memory and programming commands -----------------------------------------
 *
 * The slave's memory is one flat block; addresses outside it and address
 * extensions other than 0 are refused. Programming works on the same memory
 * in XCP_SIM_SECTORS sectors and needs the PGM resource unlocked. */

#define XCP_SIM_SECTORS 4u
#define XCP_SIM_SECTOR_SIZE (XCP_SIM_MEMORY_SIZE / XCP_SIM_SECTORS)
/* GET_PGM_PROCESSOR_INFO: clearing by absolute address is available. */
#define XCP_SIM_PGM_ABSOLUTE_MODE 0x1u
#define XCP_SIM_ERASED 0xFFu

/* The slave's bytes from `address` to `address + size`, written into *at. */
static uint32_t memory_at(xcp_master *m, u8_t extension, u32_t address, u32_t size, u8_t **at) {
  uint64_t end = (uint64_t)address + size;
  if (extension)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "address extension %u not supported (0 expected)",
                      (unsigned)extension);
  if (address < XCP_SIM_MEMORY_BASE || end > (uint64_t)XCP_SIM_MEMORY_BASE + XCP_SIM_MEMORY_SIZE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT,
                      "%u bytes at 0x%08X lie outside the slave's memory (0x%08X to 0x%08X)", (unsigned)size,
                      (unsigned)address, XCP_SIM_MEMORY_BASE, XCP_SIM_MEMORY_BASE + XCP_SIM_MEMORY_SIZE - 1);
  *at = m->memory + (address - XCP_SIM_MEMORY_BASE);
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_SetMta(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                        Qx_Common_Xcp_Cmd_SetMta_Cmd_t const *const cmd) {
  xcp_master *m;
  u8_t *at;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(memory_at(m, cmd->AddressExtension, cmd->Address, 0, &at));
  m->mta = cmd->Address;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_Download(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                          Qx_Common_Xcp_Cmd_Download_Cmd_t const *const cmd,
                                          u8_t const *const data) {
  xcp_master *m;
  u8_t *at;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(data || !cmd->CodeSize, "data"));
  QXSIM_TRY(memory_at(m, cmd->AddressExtension, cmd->Address, cmd->CodeSize, &at));
  if (cmd->CodeSize) memcpy(at, data, cmd->CodeSize);
  m->mta = cmd->Address + cmd->CodeSize;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_Upload(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                        Qx_Common_Xcp_Cmd_Upload_Cmd_t const *const cmd, u8_t *const data) {
  xcp_master *m;
  u8_t *at;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(data || !cmd->NumberOfBytes, "data buffer"));
  QXSIM_TRY(memory_at(m, cmd->AddressExtension, cmd->Address, cmd->NumberOfBytes, &at));
  if (cmd->NumberOfBytes) memcpy(data, at, cmd->NumberOfBytes);
  m->mta = cmd->Address + cmd->NumberOfBytes;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_GetPgmProcessorInfo(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                                     Qx_Common_Xcp_Cmd_GetPgmProcessorInfo_Rsp_t *const rsp) {
  xcp_master *m;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  memset(rsp, 0, sizeof *rsp);
  rsp->Flags = XCP_SIM_PGM_ABSOLUTE_MODE;
  rsp->MaxSector = XCP_SIM_SECTORS;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_GetSectorInfo(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                               Qx_Common_Xcp_Cmd_GetSectorInfo_Cmd_t const *const cmd,
                                               Qx_Common_Xcp_Cmd_GetSectorInfo_Rsp_t *const rsp) {
  xcp_master *m;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  if (cmd->SectorNumber >= XCP_SIM_SECTORS)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no sector %u (the slave has %u)", (unsigned)cmd->SectorNumber,
                      XCP_SIM_SECTORS);
  memset(rsp, 0, sizeof *rsp);
  rsp->ClearSequenceNumber = 0;
  rsp->ProgramSequenceNumber = 1;
  rsp->SectorStartAddress = XCP_SIM_MEMORY_BASE + cmd->SectorNumber * XCP_SIM_SECTOR_SIZE;
  rsp->SectorLength = XCP_SIM_SECTOR_SIZE;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_ProgramClear(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                              Qx_Common_Xcp_Cmd_ProgramClear_Cmd_t const *const cmd) {
  xcp_master *m;
  u8_t *at;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(unlocked(m, QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__PGM));
  if (cmd->Mode != QX_COMMON__XCP__CMD__PROGRAM_CLEAR__MODE__ABSOLUTE)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "clear mode %u not supported (absolute mode only)",
                      (unsigned)cmd->Mode);
  QXSIM_TRY(memory_at(m, 0, m->mta, cmd->ClearRange, &at));
  memset(at, XCP_SIM_ERASED, cmd->ClearRange);
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_BuildChecksum(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                               Qx_Common_Xcp_Cmd_BuildChecksum_Cmd_t const *const cmd,
                                               Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t *const rsp) {
  xcp_master *m;
  u8_t *at;
  u32_t i, sum = 0;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  QXSIM_TRY(memory_at(m, 0, m->mta, cmd->BlockSize, &at));
  /* ADD_14: the bytes added into a 32-bit sum */
  for (i = 0; i < cmd->BlockSize; i++) sum += at[i];
  memset(rsp, 0, sizeof *rsp);
  rsp->ChecksumType = QX_COMMON__XCP__CHECKSUM_TYPE__XCP_ADD_14;
  rsp->Checksum = sum;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_ProgramReset(Qx_PortHandle_t portHandle, u8_t xcpInstance) {
  xcp_master *m;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(unlocked(m, QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__PGM));
  /* the slave restarts: the session ends */
  m->connected = 0;
  m->daq_running = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Cmd_Program(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                         Qx_Common_Xcp_Cmd_Program_Cmd_t const *const cmd, u8_t const *const data) {
  xcp_master *m;
  u8_t *at;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(unlocked(m, QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__PGM));
  QXSIM_TRY(qxsim_need(data || !cmd->CodeSize, "data"));
  QXSIM_TRY(memory_at(m, cmd->AddressExtension, cmd->Address, cmd->CodeSize, &at));
  if (cmd->CodeSize) memcpy(at, data, cmd->CodeSize);
  m->mta = cmd->Address + cmd->CodeSize;
  return 0;
}

/* ---- DAQ lists ------------------------------------------------------------
 *
 * The signals describe what the slave samples; a running DAQ takes one
 * sample of every signal per read, a time step after the last one. Starting
 * needs the DAQ resource unlocked (Qx_Common_Xcp_Daq_Start2 unlocks it with
 * its key). */

/* Bytes of each QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__. */
static const u8_t data_type_size[] = {1, 1, 2, 2, 4, 4, 4};
#define XCP_SIM_DATA_TYPES (sizeof data_type_size / sizeof data_type_size[0])

Qx_Error_t sim_Qx_Common_Xcp_Daq_GetState(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                          Qx_Common_Xcp_Daq_GetState_Rsp_t *const rsp) {
  xcp_master *m;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  memset(rsp, 0, sizeof *rsp);
  rsp->State = m->daq_running ? QX_COMMON__XCP__DAQ__STATE__RUNNING : QX_COMMON__XCP__DAQ__STATE__STOPPED;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Daq_SetTimeouts(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                             Qx_Common_Xcp_Daq_SetTimeouts_Cmd_t const *const cmd) {
  xcp_master *m;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  return qxsim_need(cmd, "command");
}

static uint32_t daq_stopped(const xcp_master *m) {
  if (m->daq_running) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "DAQ is running (stop it first)");
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Daq_SetSignals(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                            Qx_Common_Xcp_Daq_SetSignals_CmdFlags_t flags, u32_t numberOfSignals,
                                            Qx_Common_Xcp_Daq_Signal_t const *const signals) {
  xcp_master *m;
  u32_t i;
  u8_t *at;
  (void)flags;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(daq_stopped(m));
  QXSIM_TRY(qxsim_need(signals || !numberOfSignals, "signals"));
  if (numberOfSignals > XCP_SIM_SIGNALS)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u signals given, at most %u", (unsigned)numberOfSignals,
                      XCP_SIM_SIGNALS);
  for (i = 0; i < numberOfSignals; i++) {
    if (signals[i].DataType >= XCP_SIM_DATA_TYPES)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "signal %u: unknown data type %u", (unsigned)i,
                        (unsigned)signals[i].DataType);
    QXSIM_TRY(memory_at(m, signals[i].AddressExtension, signals[i].Address, data_type_size[signals[i].DataType], &at));
  }
  if (numberOfSignals) memcpy(m->signals, signals, numberOfSignals * sizeof *signals);
  m->signal_count = numberOfSignals;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Daq_Reset(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                       Qx_Common_Xcp_Daq_Reset_CmdFlags_t flags) {
  xcp_master *m;
  (void)flags;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  m->daq_running = 0;
  m->signal_count = 0;
  return 0;
}

static uint32_t start_daq(xcp_master *m) {
  if (!m->signal_count) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no DAQ signals set");
  m->daq_running = 1;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Daq_Start(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                       Qx_Common_Xcp_Daq_Start_CmdFlags_t flags) {
  xcp_master *m;
  (void)flags;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(unlocked(m, QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__DAQ));
  return start_daq(m);
}

Qx_Error_t sim_Qx_Common_Xcp_Daq_Start2(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                        Qx_Common_Xcp_Daq_Start2_Cmd_t const *const cmd,
                                        Qx_Common_Xcp_Daq_Start2_Rsp_t *const rsp) {
  const int daq = QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__DAQ;
  xcp_master *m;
  QXSIM_TRY(connected_master(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  if (m->locked & resources[daq].bit) {
    if (!key_matches(m, daq, cmd->KeyLength, cmd->Key))
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "key does not match the seed of resource %s",
                        resources[daq].name);
    unlock_resource(m, daq);
  }
  QXSIM_TRY(start_daq(m));
  /* the seed the next start's key answers */
  memset(rsp, 0, sizeof *rsp);
  rsp->SeedLength = XCP_SIM_SEED_LENGTH;
  make_seed(m, daq, rsp->Seed);
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_Daq_Stop(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                      Qx_Common_Xcp_Daq_Stop_CmdFlags_t flags) {
  xcp_master *m;
  (void)flags;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  m->daq_running = 0;
  return 0;
}

/* One sample of the running DAQ: up to `*count` signals, their values and
 * the sample's time written through the callback's record accessors. */
typedef void (*sample_writer)(void *records, u32_t index, const Qx_Common_Xcp_Daq_Signal_t *signal,
                              const u8_t value[4], u64_t time);

static uint32_t read_sample(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t *rspFlags, u32_t *count,
                            void *records, sample_writer write) {
  xcp_master *m;
  u32_t i, n;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(count, "signal count cell"));
  QXSIM_TRY(qxsim_need(records || !*count, "signal records"));
  if (rspFlags) *rspFlags = 0;
  if (!m->daq_running) {
    *count = 0;
    return 0;
  }
  xcp_clock += XCP_SIM_DAQ_PERIOD;
  n = m->signal_count < *count ? m->signal_count : *count;
  for (i = 0; i < n; i++) {
    const Qx_Common_Xcp_Daq_Signal_t *signal = &m->signals[i];
    u8_t value[4] = {0};
    memcpy(value, m->memory + (signal->Address - XCP_SIM_MEMORY_BASE), data_type_size[signal->DataType]);
    write(records, i, signal, value, xcp_clock);
  }
  if (rspFlags && m->signal_count > n) *rspFlags = XCP_SIM_DAQ_VALUES_LEFT_OUT;
  *count = n;
  return 0;
}

static void write_signal(void *records, u32_t index, const Qx_Common_Xcp_Daq_Signal_t *signal, const u8_t value[4],
                         u64_t time) {
  Qx_Common_Xcp_Daq_RxSignal_t *out = (Qx_Common_Xcp_Daq_RxSignal_t *)records + index;
  (void)time;
  memset(out, 0, sizeof *out);
  out->Handle = signal->Handle;
  out->Address = signal->Address;
  out->DataType = signal->DataType;
  memcpy(out->Value, value, sizeof out->Value);
}

static void write_signal_ts(void *records, u32_t index, const Qx_Common_Xcp_Daq_Signal_t *signal,
                            const u8_t value[4], u64_t time) {
  Qx_Common_Xcp_Daq_RxSignalTs_t *out = (Qx_Common_Xcp_Daq_RxSignalTs_t *)records + index;
  memset(out, 0, sizeof *out);
  out->Handle = signal->Handle;
  out->Address = signal->Address;
  out->DataType = signal->DataType;
  memcpy(out->Timestamp, &time, sizeof out->Timestamp); /* little-endian host */
  memcpy(out->Value, value, sizeof out->Value);
}

Qx_Error_t sim_Qx_Common_Xcp_Daq_ReadRxSignals(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                               Qx_Common_Xcp_Daq_ReadRxSignals_CmdFlags_t flags,
                                               Qx_Common_Xcp_Daq_ReadRxSignals_RspFlags_t *const rspFlags,
                                               u32_t *const numberOfSignals,
                                               Qx_Common_Xcp_Daq_RxSignal_t *const signals) {
  (void)flags;
  return read_sample(portHandle, xcpInstance, rspFlags, numberOfSignals, signals, write_signal);
}

Qx_Error_t sim_Qx_Common_Xcp_Daq_ReadRxSignalsTs(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                                 Qx_Common_Xcp_Daq_ReadRxSignalsTs_CmdFlags_t flags,
                                                 Qx_Common_Xcp_Daq_ReadRxSignalsTs_RspFlags_t *const rspFlags,
                                                 u32_t *const numberOfSignals,
                                                 Qx_Common_Xcp_Daq_RxSignalTs_t *const signals) {
  (void)flags;
  return read_sample(portHandle, xcpInstance, rspFlags, numberOfSignals, signals, write_signal_ts);
}

/* ---- DTO and CTO FIFOs ------------------------------------------------------
 *
 * The transport loops back: what is written to a transmit FIFO arrives in
 * the receive FIFO of its kind, each frame a frame time after the last. A
 * write takes all its frames or none. */

static xcp_frame *fifo_at(xcp_fifo *f, u32_t i) { return &f->frames[(f->first + i) % XCP_SIM_FIFO_DEPTH]; }

static const xcp_frame *fifo_pop(xcp_fifo *f) {
  const xcp_frame *frame;
  if (!f->count) return NULL;
  frame = fifo_at(f, 0);
  f->first = (f->first + 1) % XCP_SIM_FIFO_DEPTH;
  f->count--;
  return frame;
}

/* Writes `count` frames of `stride` bytes each (a u16_t length, two bytes,
 * then the data) into the receive FIFO of that kind. */
static uint32_t write_frames(Qx_PortHandle_t portHandle, u8_t xcpInstance, int dto, u32_t count, const void *frames,
                             size_t stride) {
  const char *kind = dto ? "DTO" : "CTO";
  xcp_master *m;
  xcp_fifo *f;
  u32_t i, tx_depth, rx_depth;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  QXSIM_TRY(qxsim_need(frames || !count, "frames"));
  f = dto ? &m->dto : &m->cto;
  tx_depth = m->property[dto ? QX_COMMON__XCP__PROPERTY_ID__DTO_TX_FIFO_DEPTH : QX_COMMON__XCP__PROPERTY_ID__CTO_TX_FIFO_DEPTH];
  rx_depth = m->property[dto ? QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO_DEPTH : QX_COMMON__XCP__PROPERTY_ID__CTO_RX_FIFO_DEPTH];
  if (count > tx_depth)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "%u frames given, the %s transmit FIFO holds %u", (unsigned)count,
                      kind, (unsigned)tx_depth);
  if (f->count + count > rx_depth)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "%s receive FIFO full (%u of %u frames waiting, %u more given)",
                      kind, (unsigned)f->count, (unsigned)rx_depth, (unsigned)count);
  for (i = 0; i < count; i++) {
    u16_t length;
    memcpy(&length, (const u8_t *)frames + i * stride, sizeof length);
    if (!length || length > XCP_SIM_FRAME_MAX)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "frame %u of %u bytes, 1 to %u expected", (unsigned)i,
                        (unsigned)length, XCP_SIM_FRAME_MAX);
  }
  for (i = 0; i < count; i++) {
    const u8_t *frame = (const u8_t *)frames + i * stride;
    xcp_frame *to = fifo_at(f, f->count++);
    memcpy(&to->length, frame, sizeof to->length);
    memcpy(to->data, frame + 4, to->length);
    xcp_clock += XCP_SIM_FRAME_TIME;
    to->time = xcp_clock;
  }
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_WriteDtoTxFifo(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t numberOfFrames,
                                            Qx_Common_Xcp_WriteDtoTxFifo_Frame_t const *const frames) {
  return write_frames(portHandle, xcpInstance, 1, numberOfFrames, frames, sizeof *frames);
}

Qx_Error_t sim_Qx_Common_Xcp_WriteCtoTxFifo(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t numberOfFrames,
                                            Qx_Common_Xcp_WriteCtoTxFifo_Frame_t const *const frames) {
  return write_frames(portHandle, xcpInstance, 0, numberOfFrames, frames, sizeof *frames);
}

static uint32_t time_stamps_on(const xcp_master *m) {
  if (!m->property[QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO__USE_TIMESTAMP])
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the DTO receive FIFO keeps no time stamps (property %d is 0)",
                      QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO__USE_TIMESTAMP);
  return 0;
}

/* The next frame of a receive FIFO, NULL when it is empty; *framesRead
 * says which. */
static uint32_t next_frame(Qx_PortHandle_t portHandle, u8_t xcpInstance, int dto, int time_stamps, u32_t *framesRead,
                           const void *frame, const xcp_frame **next, u8_t *more) {
  xcp_master *m;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  if (time_stamps) QXSIM_TRY(time_stamps_on(m));
  QXSIM_TRY(qxsim_need(framesRead, "frame count cell"));
  QXSIM_TRY(qxsim_need(frame, "frame record"));
  *next = fifo_pop(dto ? &m->dto : &m->cto);
  *framesRead = *next ? 1 : 0;
  *more = (dto ? m->dto.count : m->cto.count) ? XCP_SIM_FRAME_MORE : 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_ReadDtoRxFifo(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t *const framesRead,
                                           Qx_Common_Xcp_ReadDtoRxFifo_Frame_t *const frame) {
  const xcp_frame *next;
  u8_t more;
  QXSIM_TRY(next_frame(portHandle, xcpInstance, 1, 0, framesRead, frame, &next, &more));
  if (!next) return 0;
  frame->Flags = more;
  frame->reserved = 0;
  frame->Length = next->length;
  memcpy(frame->Data, next->data, next->length);
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_ReadDtoRxFifoTs(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t *const framesRead,
                                             Qx_Common_Xcp_ReadDtoRxFifoTs_Frame_t *const frame) {
  const xcp_frame *next;
  u8_t more;
  QXSIM_TRY(next_frame(portHandle, xcpInstance, 1, 1, framesRead, frame, &next, &more));
  if (!next) return 0;
  frame->Flags = more;
  frame->reserved = 0;
  frame->Length = next->length;
  memcpy(frame->Timestamp, &next->time, sizeof frame->Timestamp); /* little-endian host */
  memcpy(frame->Data, next->data, next->length);
  return 0;
}

Qx_Error_t sim_Qx_Common_Xcp_ReadCtoRxFifo(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t *const framesRead,
                                           Qx_Common_Xcp_ReadCtoRxFifo_Frame_t *const frame) {
  const xcp_frame *next;
  u8_t more;
  QXSIM_TRY(next_frame(portHandle, xcpInstance, 0, 0, framesRead, frame, &next, &more));
  if (!next) return 0;
  frame->Flags = more;
  frame->reserved = 0;
  frame->Length = next->length;
  memcpy(frame->Data, next->data, next->length);
  return 0;
}

/* Buffered DTO reads: frames while descriptors and buffer bytes last. */
typedef void (*descriptor_writer)(void *frames, u32_t index, const xcp_frame *frame, u32_t offset, u16_t flags);

static uint32_t read_buffered(Qx_PortHandle_t portHandle, u8_t xcpInstance, int time_stamps, u32_t bufferSize,
                              u8_t *buffer, u32_t *numberOfFrames, void *frames, descriptor_writer write) {
  xcp_master *m;
  u32_t n = 0, offset = 0;
  QXSIM_TRY(master_of(portHandle, xcpInstance, &m));
  if (time_stamps) QXSIM_TRY(time_stamps_on(m));
  QXSIM_TRY(qxsim_need(numberOfFrames, "frame count cell"));
  QXSIM_TRY(qxsim_need(frames || !*numberOfFrames, "frame descriptors"));
  QXSIM_TRY(qxsim_need(buffer || !bufferSize, "buffer"));
  while (n < *numberOfFrames && m->dto.count && fifo_at(&m->dto, 0)->length <= bufferSize - offset) {
    const xcp_frame *frame = fifo_pop(&m->dto);
    memcpy(buffer + offset, frame->data, frame->length);
    write(frames, n, frame, offset, m->dto.count ? XCP_SIM_FRAME_MORE : 0);
    offset += frame->length;
    n++;
  }
  *numberOfFrames = n;
  return 0;
}

static void write_descriptor(void *frames, u32_t index, const xcp_frame *frame, u32_t offset, u16_t flags) {
  Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t *d = (Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t *)frames + index;
  d->Flags = flags;
  d->Length = frame->length;
  d->Offset = offset;
}

static void write_descriptor_ts(void *frames, u32_t index, const xcp_frame *frame, u32_t offset, u16_t flags) {
  Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t *d = (Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t *)frames + index;
  d->Flags = flags;
  d->Length = frame->length;
  d->Offset = offset;
  memcpy(d->Timestamp, &frame->time, sizeof d->Timestamp); /* little-endian host */
}

Qx_Error_t sim_Qx_Common_Xcp_ReadDtoRxFifo2(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                            Qx_Common_Xcp_ReadDtoRxFifo2_CmdFlags_t flags, u32_t bufferSize,
                                            u8_t *const buffer, u32_t *const numberOfFrames,
                                            Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t *const frames) {
  (void)flags;
  return read_buffered(portHandle, xcpInstance, 0, bufferSize, buffer, numberOfFrames, frames, write_descriptor);
}

Qx_Error_t sim_Qx_Common_Xcp_ReadDtoRxFifo2Ts(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                              Qx_Common_Xcp_ReadDtoRxFifo2Ts_CmdFlags_t flags, u32_t bufferSize,
                                              u8_t *const buffer, u32_t *const numberOfFrames,
                                              Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t *const frames) {
  (void)flags;
  return read_buffered(portHandle, xcpInstance, 1, bufferSize, buffer, numberOfFrames, frames, write_descriptor_ts);
}
