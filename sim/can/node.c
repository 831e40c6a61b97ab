/*
 * The simulated CAN node: bit timing, FD settings, transceiver and the node
 * properties of every CAN port.
 *
 * Each port has a table of node properties (indexed by the
 * QX_CAN__NODE__PROPERTY_ID__ values); the dedicated functions read and
 * write the same table, so that a baud rate set with Qx_Can_Node_Baudrate_Set
 * reads back through Qx_Can_Node_Property_GetById and the other way round.
 * The controller runs at 80 MHz; bit timings are chosen so that the baud
 * rate divides the clock exactly.
 */
#include <string.h>

#include "qx_api_can_behaviour.h"
#include "qxsim_device.h"

#define NODE_PROPERTIES QX_CAN__NODE__PROPERTY_ID__UNKNOWN
#define NODE_CLOCK 80000000u

/* Bounds used where a bounds record leaves a field 0. */
#define NODE_TQ_MIN 8
#define NODE_TQ_MAX 25
#define NODE_SAMPLE_POINT 80
#define NODE_SJW_MAX 4

typedef struct {
  uint32_t handle; /* 0: slot free */
  u32_t property[NODE_PROPERTIES];
  Qx_Can_Node_Baudrate_ActualValues_t timing;
  Qx_Can_Node_BaudrateFd_Get_Rsp_t fd_timing;
  u32_t baudrate_register;
  Qx_Can_Node_TransceiverType_t transceiver_type;
  u32_t error_frames;
} node_port;

static node_port ports[QXSIM_MAX_PORTS];

/* Bounds of a bit timing search; a zero field of the caller's bounds keeps
 * the default. */
typedef struct {
  unsigned sp_min, sp_max, tq_min, tq_max, tseg1_min, tseg1_max, tseg2_min, tseg2_max, sjw_min, sjw_max;
} timing_bounds;

typedef struct {
  unsigned prescaler, tq, tseg1, tseg2, sjw, sample_point;
} bit_timing;

static unsigned bound(u8_t given, unsigned fallback) { return given ? given : fallback; }

static timing_bounds make_bounds(u8_t sp_min, u8_t sp_max, u8_t tq_min, u8_t tq_max, u8_t tseg1_min, u8_t tseg1_max,
                                 u8_t tseg2_min, u8_t tseg2_max, u8_t sjw_min, u8_t sjw_max) {
  timing_bounds b;
  b.sp_min = bound(sp_min, 50);
  b.sp_max = bound(sp_max, 90);
  b.tq_min = bound(tq_min, NODE_TQ_MIN);
  b.tq_max = bound(tq_max, NODE_TQ_MAX);
  b.tseg1_min = bound(tseg1_min, 1);
  b.tseg1_max = bound(tseg1_max, 255);
  b.tseg2_min = bound(tseg2_min, 1);
  b.tseg2_max = bound(tseg2_max, 128);
  b.sjw_min = bound(sjw_min, 1);
  b.sjw_max = bound(sjw_max, NODE_SJW_MAX);
  return b;
}

/* Finds a bit timing for `baudrate` at the node clock within `b`, trying the
 * largest number of time quanta first; 0 when there is none. */
static int find_timing(u32_t baudrate, const timing_bounds *b, bit_timing *t) {
  unsigned tq, target = NODE_SAMPLE_POINT;
  if (!baudrate) return 0;
  if (target < b->sp_min) target = b->sp_min;
  if (target > b->sp_max) target = b->sp_max;
  for (tq = b->tq_max; tq >= b->tq_min && tq >= 3; tq--) {
    uint64_t bit_clocks = (uint64_t)baudrate * tq;
    unsigned tseg1, tseg2, sp, sjw;
    if (bit_clocks > NODE_CLOCK || NODE_CLOCK % bit_clocks) continue;
    tseg2 = (tq * (100 - target) + 50) / 100;
    if (tseg2 < 1) tseg2 = 1;
    tseg1 = tq - 1 - tseg2;
    sp = (1 + tseg1) * 100 / tq;
    sjw = tseg2 < b->sjw_max ? tseg2 : b->sjw_max;
    if (tseg1 < b->tseg1_min || tseg1 > b->tseg1_max || tseg2 < b->tseg2_min || tseg2 > b->tseg2_max) continue;
    if (sp < b->sp_min || sp > b->sp_max || sjw < b->sjw_min) continue;
    t->prescaler = (unsigned)(NODE_CLOCK / bit_clocks);
    t->tq = tq;
    t->tseg1 = tseg1;
    t->tseg2 = tseg2;
    t->sjw = sjw;
    t->sample_point = sp;
    return 1;
  }
  return 0;
}

static void store_timing(node_port *p, const bit_timing *t) {
  memset(&p->timing, 0, sizeof p->timing);
  p->timing.Baudrate = NODE_CLOCK / (t->prescaler * t->tq);
  p->timing.CanControllerClock = NODE_CLOCK;
  p->timing.SamplePoint = (u8_t)t->sample_point;
  p->timing.NumberOfTimeQuanta = (u8_t)t->tq;
  p->timing.TSeg1 = (u8_t)t->tseg1;
  p->timing.TSeg2 = (u8_t)t->tseg2;
  p->timing.Sjw = (u8_t)t->sjw;
  p->property[QX_CAN__NODE__PROPERTY_ID__BAUD_RATE] = p->timing.Baudrate;
}

static void store_fd_timing(node_port *p, const bit_timing *t, u32_t tdc_offset) {
  Qx_Can_Node_BaudrateFd_Get_Rsp_t *fd = &p->fd_timing;
  memset(fd, 0, sizeof *fd);
  fd->Baudrate = NODE_CLOCK / (t->prescaler * t->tq);
  fd->CanControllerClock = NODE_CLOCK;
  fd->SamplePoint = (u8_t)t->sample_point;
  fd->NumberOfTimeQuanta = (u8_t)t->tq;
  fd->TSeg1 = (u8_t)t->tseg1;
  fd->TSeg2 = (u8_t)t->tseg2;
  fd->Sjw = (u8_t)t->sjw;
  /* Without a given offset the transmitter delay is compensated at the
   * sample point, counted in controller clocks. */
  fd->TdcOffset = tdc_offset ? tdc_offset : t->prescaler * (1 + t->tseg1);
  p->property[QX_CAN__NODE__PROPERTY_ID__BAUD_RATE_FD] = fd->Baudrate;
}

/* Start state of a port: 500 kbit/s, 2 Mbit/s FD data phase, transceiver
 * in normal mode, no termination. */
static void node_defaults(void *record) {
  node_port *p = record;
  timing_bounds b = make_bounds(0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
  bit_timing t;
  u32_t *prop = p->property;
  prop[QX_CAN__NODE__PROPERTY_ID__BUS_IDLE_TIME__MS] = 3;
  prop[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__EN] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__STB_N] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__WAKE_N] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_OUTPUT__ERR_N] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_OUTPUT__INH] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__FD_MODE] = QX_CAN__FD_MODE__NO_FD;
  prop[QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__GLOBAL] = QX_CAN__TX_BRS__GLOBAL__NONE;
  prop[QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__INIT_VALUE] = QX_CAN__TX_BRS__INIT_VALUE__DISABLED;
  prop[QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__GLOBAL] = QX_CAN__TX_ESI__GLOBAL__DEPENDS_ON_ERROR_PASSIVE_FLAG;
  prop[QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__INIT_VALUE] = QX_CAN__TX_ESI__INIT_VALUE__ERROR_ACTIVE;
  prop[QX_CAN__NODE__PROPERTY_ID__FD__SUPPORTED] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__TSEG1__MIN] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__TSEG1__MAX] = 255;
  prop[QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__TSEG2__MIN] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__TSEG2__MAX] = 128;
  prop[QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__SJW__MIN] = 1;
  prop[QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__SJW__MAX] = 128;
  prop[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_MODE] = QX_CAN__TRANSCEIVER_MODE__NORMAL;
  prop[QX_CAN__NODE__PROPERTY_ID__BUS_ACTIVITY__THRESHOLD_IN_US] = 1000;
  if (find_timing(500000, &b, &t)) store_timing(p, &t);
  if (find_timing(2000000, &b, &t)) store_fd_timing(p, &t, 0);
}

static qxsim_port_table table = QXSIM_PORT_TABLE(ports, node_defaults, NULL);

/* The node of an open port, made on first use. */
static uint32_t node_of(Qx_PortHandle_t handle, node_port **p) { return qxsim_port_state(&table, handle, p); }

/* ---- Baud rates and bit timing -------------------------------------------- */

/* Register layout: bits 0-9 prescaler - 1, 10-17 TSeg1 - 1, 18-24 TSeg2 - 1,
 * 25-30 SJW - 1, bit 31 three samples per bit. */
Qx_Error_t sim_Qx_Can_Node_CalculateBaudrateRegisterValue(Qx_PortHandle_t portHandle, u32_t *registerValue,
                                                          double canControllerClock, double baudrate, u8_t samplePoint,
                                                          u8_t numberOfTimeQuanta, u8_t sjw, u8_t numberOfSamples) {
  double prescaler;
  unsigned tseg1, tseg2, rounded;
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  (void)p;
  QXSIM_TRY(qxsim_need(registerValue, "output cell"));
  if (!(canControllerClock > 0) || !(baudrate > 0))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "clock and baud rate must be positive");
  if (numberOfTimeQuanta < 3 || samplePoint < 1 || samplePoint > 99)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u time quanta with a sample point of %u%% is no bit timing",
                      numberOfTimeQuanta, samplePoint);
  prescaler = canControllerClock / (baudrate * numberOfTimeQuanta);
  if (!(prescaler >= 0.5) || prescaler > 1024.5)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "baud rate out of reach of the clock");
  rounded = (unsigned)(prescaler + 0.5);
  tseg2 = (numberOfTimeQuanta * (100u - samplePoint) + 50) / 100;
  if (tseg2 < 1) tseg2 = 1;
  tseg1 = numberOfTimeQuanta - 1u - tseg2;
  if (sjw < 1 || sjw > tseg2 || sjw > 64)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "SJW %u does not fit a TSeg2 of %u", sjw, tseg2);
  if (numberOfSamples != 1 && numberOfSamples != 3)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u samples per bit (1 or 3)", numberOfSamples);
  *registerValue = (u32_t)(rounded - 1) | (u32_t)(tseg1 - 1) << 10 | (u32_t)(tseg2 - 1) << 18 | (u32_t)(sjw - 1) << 25 |
                   (numberOfSamples == 3 ? 0x80000000u : 0);
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_SetBaudrateRegisterAndTransceiverType(Qx_PortHandle_t portHandle, u32_t registerValue,
                                                                 Qx_Can_Node_TransceiverType_t transceiverType) {
  bit_timing t;
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  t.prescaler = (registerValue & 0x3FFu) + 1;
  t.tseg1 = ((registerValue >> 10) & 0xFFu) + 1;
  t.tseg2 = ((registerValue >> 18) & 0x7Fu) + 1;
  t.sjw = ((registerValue >> 25) & 0x3Fu) + 1;
  t.tq = 1 + t.tseg1 + t.tseg2;
  t.sample_point = (1 + t.tseg1) * 100 / t.tq;
  p->baudrate_register = registerValue;
  p->transceiver_type = transceiverType;
  store_timing(p, &t);
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_Baudrate_Set(Qx_PortHandle_t portHandle, u32_t baudrate,
                                        Qx_Can_Node_Baudrate_Set_ExtendedParam_t const *const extendedParam,
                                        Qx_Can_Node_Baudrate_ActualValues_t *actualValues) {
  const Qx_Can_Node_Baudrate_Set_ExtendedParam_t none = {0};
  const Qx_Can_Node_Baudrate_Set_ExtendedParam_t *e = extendedParam ? extendedParam : &none;
  timing_bounds b =
      make_bounds(e->SamplePoint_Min, e->SamplePoint_Max, e->NumberOfTimeQuanta_Min, e->NumberOfTimeQuanta_Max,
                  e->TSeg1_Min, e->TSeg1_Max, e->TSeg2_Min, e->TSeg2_Max, e->Sjw_Min, e->Sjw_Max);
  bit_timing t;
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(actualValues, "record for the actual values"));
  if (!find_timing(baudrate, &b, &t))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "no bit timing for %u bit/s within the bounds", (unsigned)baudrate);
  store_timing(p, &t);
  *actualValues = p->timing;
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_Baudrate_Get(Qx_PortHandle_t portHandle, Qx_Can_Node_Baudrate_ActualValues_t *actualValues) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(actualValues, "record for the actual values"));
  *actualValues = p->timing;
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_BaudrateFd_Set(Qx_PortHandle_t portHandle,
                                          Qx_Can_Node_BaudrateFd_Set_Cmd_t const *const command,
                                          Qx_Can_Node_BaudrateFd_Set_Rsp_t *response) {
  timing_bounds b;
  bit_timing t;
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_need(response, "response record"));
  b = make_bounds(command->SamplePoint_Min, command->SamplePoint_Max, command->NumberOfTimeQuanta_Min,
                  command->NumberOfTimeQuanta_Max, command->TSeg1_Min, command->TSeg1_Max, command->TSeg2_Min,
                  command->TSeg2_Max, command->Sjw_Min, command->Sjw_Max);
  if (!find_timing(command->BaudRate, &b, &t))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "no bit timing for %u bit/s within the bounds",
                      (unsigned)command->BaudRate);
  store_fd_timing(p, &t, command->TdcOffset);
  memset(response, 0, sizeof *response);
  response->BaudRate = p->fd_timing.Baudrate;
  response->CanControllerClock = p->fd_timing.CanControllerClock;
  response->SamplePoint = p->fd_timing.SamplePoint;
  response->NumberOfTimeQuanta = p->fd_timing.NumberOfTimeQuanta;
  response->TSeg1 = p->fd_timing.TSeg1;
  response->TSeg2 = p->fd_timing.TSeg2;
  response->Sjw = p->fd_timing.Sjw;
  response->TdcOffset = p->fd_timing.TdcOffset;
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_BaudrateFd_Get(Qx_PortHandle_t portHandle, Qx_Can_Node_BaudrateFd_Get_CmdFlags_t flags,
                                          Qx_Can_Node_BaudrateFd_Get_Rsp_t *response) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  (void)flags;
  QXSIM_TRY(qxsim_need(response, "response record"));
  *response = p->fd_timing;
  return 0;
}

/* ---- Node state, transceiver and properties ------------------------------- */

Qx_Error_t sim_Qx_Can_Node_ErrorFrameCounter_Get(Qx_PortHandle_t portHandle, u32_t *errorFrameCounter) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(errorFrameCounter, "output cell"));
  *errorFrameCounter = p->error_frames;
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_ErrorFrameCounter_Reset(Qx_PortHandle_t portHandle) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  p->error_frames = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_GetState(Qx_PortHandle_t portHandle, Qx_Can_Node_GetState_Mode_t mode,
                                    Qx_Can_Node_GetState_Rsp_t *response) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  (void)mode;
  QXSIM_TRY(qxsim_need(response, "response record"));
  memset(response, 0, sizeof *response);
  response->ErrorWarningLevel = 96;
  response->InitState = 1;
  response->TransceiverPin_Enable = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__EN];
  response->TransceiverPin_NotStandby = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__STB_N];
  response->TransceiverPin_NotWake = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__WAKE_N];
  response->TransceiverPin_NotError = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_OUTPUT__ERR_N];
  return 0;
}

/* Transceiver mode and the EN / STB_N pins that select it. */
static Qx_Error_t set_transceiver_mode(node_port *p, u32_t mode) {
  int enable = 1, not_standby = 1;
  if (mode > QX_CAN__TRANSCEIVER_MODE__SINGLE_WIRE_ON_CAN_LOW)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown transceiver mode %u", (unsigned)mode);
  if (mode == QX_CAN__TRANSCEIVER_MODE__SLEEP) {
    enable = 0;
    not_standby = 0;
  } else if (mode == QX_CAN__TRANSCEIVER_MODE__WAKE_UP) {
    enable = 0;
  }
  p->property[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_MODE] = mode;
  p->property[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__EN] = (u32_t)enable;
  p->property[QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__STB_N] = (u32_t)not_standby;
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_Transceiver_SetMode(Qx_PortHandle_t portHandle, Qx_Can_Node_Transceiver_Mode_t mode) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  return set_transceiver_mode(p, mode);
}

/* Mode 0 enables the software transmit path, 1 disables it. */
Qx_Error_t sim_Qx_Can_Node_TxPath_Control(Qx_PortHandle_t portHandle, Qx_Can_Node_TxPath_Mode_t mode) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  if (mode > 1) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown mode %u", mode);
  p->property[QX_CAN__NODE__PROPERTY_ID__DISABLE_SOFTWARE_TX_PATH] = mode;
  return 0;
}

static Qx_Error_t set_flag(Qx_PortHandle_t portHandle, int property, u32_t value) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  p->property[property] = value;
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_BusTermination_Enable(Qx_PortHandle_t portHandle) {
  return set_flag(portHandle, QX_CAN__NODE__PROPERTY_ID__ENABLE_BUS_TERMINATION, 1);
}

Qx_Error_t sim_Qx_Can_Node_BusTermination_Disable(Qx_PortHandle_t portHandle) {
  return set_flag(portHandle, QX_CAN__NODE__PROPERTY_ID__ENABLE_BUS_TERMINATION, 0);
}

Qx_Error_t sim_Qx_Can_Node_InternalVBat_Enable(Qx_PortHandle_t portHandle) {
  return set_flag(portHandle, QX_CAN__NODE__PROPERTY_ID__ENABLE_INTERNAL_VBAT, 1);
}

Qx_Error_t sim_Qx_Can_Node_InternalVBat_Disable(Qx_PortHandle_t portHandle) {
  return set_flag(portHandle, QX_CAN__NODE__PROPERTY_ID__ENABLE_INTERNAL_VBAT, 0);
}

Qx_Error_t sim_Qx_Can_Node_BusIdleTime_Get(Qx_PortHandle_t portHandle, u32_t *busIdleTime) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(busIdleTime, "output cell"));
  *busIdleTime = p->property[QX_CAN__NODE__PROPERTY_ID__BUS_IDLE_TIME__MS];
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_FdState_Get(Qx_PortHandle_t portHandle, Qx_Can_Node_FdState_Get_CmdFlags_t flags,
                                       Qx_Can_Node_FdState_Get_Rsp_t *response) {
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  (void)flags;
  QXSIM_TRY(qxsim_need(response, "response record"));
  memset(response, 0, sizeof *response);
  response->FdMode = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__FD_MODE];
  response->TxBrs_Global = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__GLOBAL];
  response->TxBrs_InitValue = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__INIT_VALUE];
  response->TxEsi_Global = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__GLOBAL];
  response->TxEsi_InitValue = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__INIT_VALUE];
  response->FdFrameFormatSpec = (u8_t)p->property[QX_CAN__NODE__PROPERTY_ID__FD__NON_ISO];
  response->BaudRateFd = p->property[QX_CAN__NODE__PROPERTY_ID__BAUD_RATE_FD];
  return 0;
}

/* Largest valid value of each property that holds a family value. */
static int property_limit(int id) {
  switch (id) {
    case QX_CAN__NODE__PROPERTY_ID__FD_MODE:
      return QX_CAN__FD_MODE__UNKNOWN - 1;
    case QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__GLOBAL:
      return QX_CAN__TX_BRS__GLOBAL__UNKNOWN - 1;
    case QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__INIT_VALUE:
      return QX_CAN__TX_BRS__INIT_VALUE__UNKNOWN - 1;
    case QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__GLOBAL:
      return QX_CAN__TX_ESI__GLOBAL__UNKNOWN - 1;
    case QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__INIT_VALUE:
      return QX_CAN__TX_ESI__INIT_VALUE__UNKNOWN - 1;
    case QX_CAN__NODE__PROPERTY_ID__FD__NON_ISO:
      return QX_CAN__FD_FRAME_FORMAT_SPEC__UNKNOWN - 1;
    default:
      return -1;
  }
}

static Qx_Error_t check_family(int id, u32_t value) {
  int limit = property_limit(id);
  if (limit >= 0 && value > (u32_t)limit)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "value %u out of range for property %d", (unsigned)value, id);
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_FdState_Set(Qx_PortHandle_t portHandle, Qx_Can_Node_FdState_Set_Cmd_t const *const command) {
  const struct {
    int id;
    u32_t value;
  } fields[] = {
      {QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__GLOBAL, command ? command->TxBrs_Global : 0},
      {QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__INIT_VALUE, command ? command->TxBrs_InitValue : 0},
      {QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__GLOBAL, command ? command->TxEsi_Global : 0},
      {QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__INIT_VALUE, command ? command->TxEsi_InitValue : 0},
      {QX_CAN__NODE__PROPERTY_ID__FD__NON_ISO, command ? command->FdFrameFormatSpec : 0},
  };
  size_t i;
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(command, "command"));
  for (i = 0; i < sizeof fields / sizeof fields[0]; i++) QXSIM_TRY(check_family(fields[i].id, fields[i].value));
  for (i = 0; i < sizeof fields / sizeof fields[0]; i++) p->property[fields[i].id] = fields[i].value;
  if (command->BaudRateFd) p->property[QX_CAN__NODE__PROPERTY_ID__BAUD_RATE_FD] = command->BaudRateFd;
  return 0;
}

static int read_only(int id) {
  return id == QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_OUTPUT__ERR_N ||
         id == QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_OUTPUT__INH || id == QX_CAN__NODE__PROPERTY_ID__BUS_OFF_COUNTER ||
         id == QX_CAN__NODE__PROPERTY_ID__FD__SUPPORTED || id == QX_CAN__NODE__PROPERTY_ID__BUS_ACTIVITY__STATE;
}

Qx_Error_t sim_Qx_Can_Node_Property_SetById(Qx_PortHandle_t portHandle,
                                            Qx_Can_Node_Property_SetById_Cmd_t const *const command) {
  int id;
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(command, "command"));
  id = command->PropertyId;
  if (id >= NODE_PROPERTIES) return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "unknown node property %d", id);
  if (read_only(id)) return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "node property %d is read-only", id);
  if (id == QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_MODE) return set_transceiver_mode(p, command->Value);
  QXSIM_TRY(check_family(id, command->Value));
  p->property[id] = command->Value;
  if (id == QX_CAN__NODE__PROPERTY_ID__BAUD_RATE) p->timing.Baudrate = command->Value;
  if (id == QX_CAN__NODE__PROPERTY_ID__BAUD_RATE_FD) p->fd_timing.Baudrate = command->Value;
  return 0;
}

Qx_Error_t sim_Qx_Can_Node_Property_GetById(Qx_PortHandle_t portHandle,
                                            Qx_Can_Node_Property_GetById_Cmd_t const *const command,
                                            Qx_Can_Node_Property_GetById_Rsp_t *response) {
  int id;
  node_port *p;
  QXSIM_TRY(node_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_need(response, "response record"));
  id = command->PropertyId;
  if (id >= NODE_PROPERTIES) return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "unknown node property %d", id);
  memset(response, 0, sizeof *response);
  response->PropertyId = command->PropertyId;
  response->Value = p->property[id];
  return 0;
}
