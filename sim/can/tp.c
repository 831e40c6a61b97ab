/*
 * Simulated transport-protocol channels, broadcast transfers and diagnostic
 * sessions of the CAN library (what the library does: qxsim_can_tp.h).
 */
#include <string.h>

#include "qx_api_can_behaviour.h"
#include "qxsim_can_tp.h"
#include "qxsim_device.h"

/* Transport protocols a channel can be configured for. */
enum { TP_NONE, TP_GMLAN, TP_ISOTP, TP_J1939, TP_TP_1_6, TP_TP_2_0, TP_ISO15765, TP_PROTOCOLS };
#define TP_BIT(protocol) (1u << (protocol))
#define TP_ANY_ISO (TP_BIT(TP_ISOTP) | TP_BIT(TP_ISO15765))

static const char *const protocol_names[TP_PROTOCOLS] = {"none", "GMLAN", "ISO-TP", "J1939", "TP 1.6", "TP 2.0",
                                                         "ISO 15765"};

/* Each diagnostic session type: the transports it runs over and the most
 * tester-present data bytes its record holds (0: no tester-present data). */
static const struct {
  unsigned transports;
  u8_t tester_bytes;
} sessions[] = {
    [QXSIM_CAN_DIAG_TYPE_GMLAN] = {TP_BIT(TP_GMLAN), 8},
    [QXSIM_CAN_DIAG_TYPE_J1939] = {TP_BIT(TP_J1939), 11},
    [QXSIM_CAN_DIAG_TYPE_KW2000_ISOTP] = {TP_ANY_ISO, 8},
    [QXSIM_CAN_DIAG_TYPE_KW2000_TP_1_6] = {TP_BIT(TP_TP_1_6), 0},
    [QXSIM_CAN_DIAG_TYPE_KW2000_TP_2_0] = {TP_BIT(TP_TP_2_0), 0},
    [QXSIM_CAN_DIAG_TYPE_UDS_ISOTP] = {TP_ANY_ISO, 8},
    [QXSIM_CAN_DIAG_TYPE_UDS] = {TP_ANY_ISO, 8},
};

typedef struct {
  int taken;
  u8_t monitor_filter;
  /* transport protocol and its record as configured */
  u8_t protocol;
  union {
    Qx_Can_Tp_Config_GmLan_Parameters_t gmlan;
    Qx_Can_Tp_Config_IsoTp_Parameters_t isotp;
    Qx_Can_Tp_Config_J1939_Parameters_t j1939;
    Qx_Can_Tp_Config_Tp_1_6_Parameters_t tp_1_6;
    Qx_Can_Tp_Config_Tp_2_0_Parameters_t tp_2_0;
    Qx_Can_Tp_Config_Iso15765_Cmd_t iso15765;
  } config;
  /* broadcast */
  int transmitting;
  u8_t tx_mode;
  u32_t tx_length;
  u8_t tx_data[QXSIM_CAN_TP_BROADCAST_BYTES];
  u32_t rx_count;
  u8_t rx_data[QXSIM_CAN_TP_RECEIVE_BYTES];
  Qx_Can_Tp_Broadcast_GetData_Async_Callback_t rx_callback;
  /* diagnostic session: configuration and state */
  u8_t diag_type;
  u8_t diag_mode;
  u32_t diag_value;
  u32_t diag_flags;
  union {
    Qx_Can_Diag_Config_GmLan_Parameters_t gmlan;
    Qx_Can_Diag_Config_J1939_Parameters_t j1939;
    Qx_Can_Diag_Config_Kw2000_IsoTp_Parameters_t kw2000_isotp;
    Qx_Can_Diag_Config_Kw2000_Tp_1_6_Parameters_t kw2000_tp_1_6;
    u16_t kw2000_tp_2_0[2];
    Qx_Can_Diag_Config_Uds_IsoTp_Parameters_t uds_isotp;
    Qx_Can_Diag_Config_Uds_Parameters_t uds;
  } diag_config;
  Qx_Error_t state_error;
  u8_t state;
  u32_t state_flags;
  Qx_Can_Diag_GetState_Async_Callback_t state_callback;
} tp_channel;

typedef struct {
  uint32_t handle; /* 0: slot free */
  Qx_Can_Tp_GetChannel_Async_Callback_t channel_callback;
  tp_channel channels[QXSIM_CAN_TP_CHANNELS];
} tp_port;

static tp_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t port_of(Qx_PortHandle_t handle, tp_port **port) { return qxsim_port_state(&table, handle, port); }

/* The taken channel `number` of an open port. */
static uint32_t channel_of(Qx_PortHandle_t handle, u8_t number, tp_channel **channel) {
  tp_port *port;
  *channel = NULL;
  QXSIM_TRY(port_of(handle, &port));
  if (number < 1 || number > QXSIM_CAN_TP_CHANNELS)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "no channel %u (channels are 1 to %u)", (unsigned)number,
                      QXSIM_CAN_TP_CHANNELS);
  if (!port->channels[number - 1].taken)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "channel %u is not taken", (unsigned)number);
  *channel = &port->channels[number - 1];
  return 0;
}

/* The same for the control entries: no last error, -1 on failure. */
static tp_channel *controlled_channel(uint32_t handle, uint8_t number) {
  tp_port *port;
  if (qxsim_port_interface(handle) < 0 || number < 1 || number > QXSIM_CAN_TP_CHANNELS) return NULL;
  if (port_of(handle, &port)) return NULL;
  return port->channels[number - 1].taken ? &port->channels[number - 1] : NULL;
}

static uint32_t take_channel(Qx_PortHandle_t handle, u8_t *number) {
  tp_port *port;
  unsigned i;
  QXSIM_TRY(port_of(handle, &port));
  for (i = 0; i < QXSIM_CAN_TP_CHANNELS; i++) {
    if (!port->channels[i].taken) {
      memset(&port->channels[i], 0, sizeof port->channels[i]);
      port->channels[i].taken = 1;
      *number = (u8_t)(i + 1);
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "all %u channels are taken", QXSIM_CAN_TP_CHANNELS);
}

/* ---- channels ----------------------------------------------------------------- */

Qx_Error_t sim_Qx_Can_Tp_GetChannel(Qx_PortHandle_t portHandle, u8_t *const channel) {
  tp_port *port;
  QXSIM_TRY(port_of(portHandle, &port));
  QXSIM_TRY(qxsim_need(channel, "channel cell"));
  return take_channel(portHandle, channel);
}

Qx_Error_t sim_Qx_Can_Tp_GetChannel_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                      Qx_Can_Tp_GetChannel_Async_Callback_t const callback) {
  tp_port *port;
  QXSIM_TRY(port_of(portHandle, &port));
  QXSIM_TRY(qxsim_need(callback, "callback"));
  port->channel_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_Tp_GetChannel_Async_RemoveCallback(Qx_PortHandle_t portHandle) {
  tp_port *port;
  QXSIM_TRY(port_of(portHandle, &port));
  port->channel_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_Tp_GetChannel_Async(Qx_PortHandle_t portHandle) {
  tp_port *port;
  u8_t number = 0;
  QXSIM_TRY(port_of(portHandle, &port));
  if (!port->channel_callback) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no callback registered");
  QXSIM_TRY(take_channel(portHandle, &number));
  port->channel_callback(portHandle, number);
  return 0;
}

Qx_Error_t sim_Qx_Can_Tp_FreeChannel(Qx_PortHandle_t portHandle, u8_t channel) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  memset(ch, 0, sizeof *ch);
  return 0;
}

static void diag_off(tp_channel *ch) {
  ch->diag_type = QXSIM_CAN_DIAG_TYPE_NONE;
  ch->diag_mode = 0;
  ch->diag_value = 0;
  ch->diag_flags = 0;
  memset(&ch->diag_config, 0, sizeof ch->diag_config);
  ch->state_error = 0;
  ch->state = QXSIM_CAN_DIAG_STATE_OFF;
  ch->state_flags = 0;
}

Qx_Error_t sim_Qx_Can_Tp_Config_Off(Qx_PortHandle_t portHandle, u8_t channel) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  if (ch->protocol == TP_NONE)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no transport protocol configured on channel %u", (unsigned)channel);
  /* The session runs over the transport: it ends with it. */
  diag_off(ch);
  ch->protocol = TP_NONE;
  memset(&ch->config, 0, sizeof ch->config);
  return 0;
}

Qx_Error_t sim_Qx_Can_Tp_SetMonitorFilter(Qx_PortHandle_t portHandle, u8_t channel,
                                          Qx_Can_Tp_SetMonitorFilter_Mode_t mode) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  ch->monitor_filter = mode;
  return 0;
}

/* ---- broadcast ---------------------------------------------------------------- */

Qx_Error_t sim_Qx_Can_Tp_Broadcast_StartTransmission(Qx_PortHandle_t portHandle, u8_t channel,
                                                     Qx_Can_Tp_BroadCast_TransmissionMode_t mode,
                                                     u8_t const *const transmitData, u32_t dataLength) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  QXSIM_TRY(qxsim_need(transmitData, "data"));
  if (dataLength > QXSIM_CAN_TP_BROADCAST_BYTES)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u data bytes, at most %u", (unsigned)dataLength,
                      QXSIM_CAN_TP_BROADCAST_BYTES);
  /* A new transmission replaces the one running. */
  ch->transmitting = 1;
  ch->tx_mode = mode;
  ch->tx_length = dataLength;
  memcpy(ch->tx_data, transmitData, dataLength);
  return 0;
}

Qx_Error_t sim_Qx_Can_Tp_Broadcast_StopTransmission(Qx_PortHandle_t portHandle, u8_t channel) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  if (!ch->transmitting)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no broadcast transmission running on channel %u",
                      (unsigned)channel);
  ch->transmitting = 0;
  return 0;
}

static void received_drop(tp_channel *ch, u32_t count) {
  memmove(ch->rx_data, ch->rx_data + count, ch->rx_count - count);
  ch->rx_count -= count;
}

Qx_Error_t sim_Qx_Can_Tp_Broadcast_GetData(Qx_PortHandle_t portHandle, u8_t channel, u8_t *const receivedData,
                                           u32_t *const receivedLength) {
  tp_channel *ch;
  u32_t count;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  QXSIM_TRY(qxsim_need(receivedLength && (receivedData || !*receivedLength), "data buffer"));
  count = ch->rx_count < *receivedLength ? ch->rx_count : *receivedLength;
  memcpy(receivedData, ch->rx_data, count);
  received_drop(ch, count);
  *receivedLength = count;
  return 0;
}

Qx_Error_t sim_Qx_Can_Tp_Broadcast_GetData_Async_AddCallback(
    Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Tp_Broadcast_GetData_Async_Callback_t const callback) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  QXSIM_TRY(qxsim_need(callback, "callback"));
  ch->rx_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_Tp_Broadcast_GetData_Async_RemoveCallback(Qx_PortHandle_t portHandle, u8_t channel) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  ch->rx_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_Tp_Broadcast_GetData_Async(Qx_PortHandle_t portHandle, u8_t channel) {
  tp_channel *ch;
  u8_t data[QXSIM_CAN_TP_RECEIVE_BYTES];
  u32_t count;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  if (!ch->rx_callback)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no callback registered for channel %u", (unsigned)channel);
  /* Every waiting byte (possibly none), from a copy: the callback may call
   * into the library. */
  count = ch->rx_count;
  memcpy(data, ch->rx_data, count);
  received_drop(ch, count);
  ch->rx_callback(portHandle, channel, data, count);
  return 0;
}

int qxsim_can_tp_broadcast_arrive(uint32_t port, uint8_t channel, const void *bytes, int length) {
  tp_channel *ch = controlled_channel(port, channel);
  u32_t room, count;
  if (!ch || length < 0 || (!bytes && length)) return -1;
  room = QXSIM_CAN_TP_RECEIVE_BYTES - ch->rx_count;
  count = (u32_t)length < room ? (u32_t)length : room;
  if (count) memcpy(ch->rx_data + ch->rx_count, bytes, count);
  ch->rx_count += count;
  return (int)count;
}

/* ---- transport-protocol configuration ---------------------------------------- */

static uint32_t configure(Qx_PortHandle_t portHandle, u8_t channel, u8_t protocol, const void *record, size_t size) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  QXSIM_TRY(qxsim_need(record, "parameters"));
  /* Another protocol ends the session that ran over the previous one. */
  if (ch->protocol != protocol) diag_off(ch);
  ch->protocol = protocol;
  memset(&ch->config, 0, sizeof ch->config);
  memcpy(&ch->config, record, size);
  return 0;
}

#define CONFIGURE(protocol, record) configure(portHandle, channel, (protocol), (record), sizeof *(record))

Qx_Error_t sim_Qx_Can_Tp_Config_GmLan(Qx_PortHandle_t portHandle, u8_t channel,
                                      Qx_Can_Tp_Config_GmLan_Parameters_t const *const parameters) {
  return CONFIGURE(TP_GMLAN, parameters);
}

Qx_Error_t sim_Qx_Can_Tp_Config_IsoTp(Qx_PortHandle_t portHandle, u8_t channel,
                                      Qx_Can_Tp_Config_IsoTp_Parameters_t const *const parameters) {
  return CONFIGURE(TP_ISOTP, parameters);
}

Qx_Error_t sim_Qx_Can_Tp_Config_J1939(Qx_PortHandle_t portHandle, u8_t channel,
                                      Qx_Can_Tp_Config_J1939_Parameters_t const *const parameters) {
  return CONFIGURE(TP_J1939, parameters);
}

Qx_Error_t sim_Qx_Can_Tp_Config_Tp_1_6(Qx_PortHandle_t portHandle, u8_t channel,
                                       Qx_Can_Tp_Config_Tp_1_6_Parameters_t const *const parameters) {
  return CONFIGURE(TP_TP_1_6, parameters);
}

Qx_Error_t sim_Qx_Can_Tp_Config_Tp_2_0(Qx_PortHandle_t portHandle, u8_t channel,
                                       Qx_Can_Tp_Config_Tp_2_0_Parameters_t const *const parameters) {
  return CONFIGURE(TP_TP_2_0, parameters);
}

Qx_Error_t sim_Qx_Can_Tp_Config_Iso15765(Qx_PortHandle_t portHandle, u8_t channel,
                                         Qx_Can_Tp_Config_Iso15765_Cmd_t const *const command) {
  if (command && command->AddressingFormat_Physical >= QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__UNKNOWN_LAST)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "physical addressing format %u unknown",
                      (unsigned)command->AddressingFormat_Physical);
  if (command && command->AddressingFormat_Functional >= QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__UNKNOWN_LAST)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "functional addressing format %u unknown",
                      (unsigned)command->AddressingFormat_Functional);
  return CONFIGURE(TP_ISO15765, command);
}

/* ---- diagnostic sessions ------------------------------------------------------ */

/* Starts session `type` on a taken channel whose transport carries it; the
 * record (NULL for KWP2000 over TP 2.0, which passes its values) is kept. */
static uint32_t start_session(Qx_PortHandle_t portHandle, u8_t channel, u8_t type, u8_t mode, u32_t value,
                              u32_t flags, const void *record, size_t size, u8_t tester_data_length) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  if (ch->protocol == TP_NONE)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no transport protocol configured on channel %u", (unsigned)channel);
  if (!(sessions[type].transports & TP_BIT(ch->protocol)))
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "the session does not run over %s (channel %u)",
                      protocol_names[ch->protocol], (unsigned)channel);
  if (tester_data_length > sessions[type].tester_bytes)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "tester-present data length %u, at most %u",
                      (unsigned)tester_data_length, (unsigned)sessions[type].tester_bytes);
  diag_off(ch);
  ch->diag_type = type;
  ch->diag_mode = mode;
  ch->diag_value = value;
  ch->diag_flags = flags;
  memcpy(&ch->diag_config, record, size);
  ch->state = QXSIM_CAN_DIAG_STATE_READY;
  return 0;
}

#define SESSION(type, record)                                                                                 \
  (parameters ? start_session(portHandle, channel, (type), mode, modeValue, flags, parameters, sizeof *(record), \
                              (record)->TesterPresent.DataLength)                                             \
              : qxsim_need(0, "parameters"))

Qx_Error_t sim_Qx_Can_Diag_Config_GmLan(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                        u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                        Qx_Can_Diag_Config_GmLan_Parameters_t const *const parameters) {
  return SESSION(QXSIM_CAN_DIAG_TYPE_GMLAN, parameters);
}

Qx_Error_t sim_Qx_Can_Diag_Config_J1939(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                        u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                        Qx_Can_Diag_Config_J1939_Parameters_t const *const parameters) {
  return SESSION(QXSIM_CAN_DIAG_TYPE_J1939, parameters);
}

Qx_Error_t sim_Qx_Can_Diag_Config_Kw2000_IsoTp(Qx_PortHandle_t portHandle, u8_t channel,
                                               Qx_Can_Diag_Config_Mode_t mode, u32_t modeValue,
                                               Qx_Can_Diag_Config_CmdFlags_t flags,
                                               Qx_Can_Diag_Config_Kw2000_IsoTp_Parameters_t const *const parameters) {
  return SESSION(QXSIM_CAN_DIAG_TYPE_KW2000_ISOTP, parameters);
}

Qx_Error_t sim_Qx_Can_Diag_Config_Kw2000_Tp_1_6(
    Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode, u32_t modeValue,
    Qx_Can_Diag_Config_CmdFlags_t flags, Qx_Can_Diag_Config_Kw2000_Tp_1_6_Parameters_t const *const parameters) {
  if (!parameters) return qxsim_need(0, "parameters");
  return start_session(portHandle, channel, QXSIM_CAN_DIAG_TYPE_KW2000_TP_1_6, mode, modeValue, flags, parameters,
                       sizeof *parameters, 0);
}

Qx_Error_t sim_Qx_Can_Diag_Config_Kw2000_Tp_2_0(Qx_PortHandle_t portHandle, u8_t channel,
                                                Qx_Can_Diag_Config_Mode_t mode, u32_t modeValue,
                                                Qx_Can_Diag_Config_CmdFlags_t flags, u16_t p2max,
                                                u16_t testerPresentCycle) {
  const u16_t values[2] = {p2max, testerPresentCycle};
  return start_session(portHandle, channel, QXSIM_CAN_DIAG_TYPE_KW2000_TP_2_0, mode, modeValue, flags, values,
                       sizeof values, 0);
}

Qx_Error_t sim_Qx_Can_Diag_Config_Uds_IsoTp(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                            u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                            Qx_Can_Diag_Config_Uds_IsoTp_Parameters_t const *const parameters) {
  return SESSION(QXSIM_CAN_DIAG_TYPE_UDS_ISOTP, parameters);
}

Qx_Error_t sim_Qx_Can_Diag_Config_Uds(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_Config_Mode_t mode,
                                      u32_t modeValue, Qx_Can_Diag_Config_CmdFlags_t flags,
                                      Qx_Can_Diag_Config_Uds_Parameters_t const *const parameters) {
  return SESSION(QXSIM_CAN_DIAG_TYPE_UDS, parameters);
}

Qx_Error_t sim_Qx_Can_Diag_Config_Off(Qx_PortHandle_t portHandle, u8_t channel) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  if (ch->diag_type == QXSIM_CAN_DIAG_TYPE_NONE)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no diagnostic session configured on channel %u", (unsigned)channel);
  diag_off(ch);
  return 0;
}

/* ---- diagnostic state ------------------------------------------------------------ */

Qx_Error_t sim_Qx_Can_Diag_GetState(Qx_PortHandle_t portHandle, u8_t channel, Qx_Can_Diag_GetState_CmdFlags_t flags,
                                    Qx_Error_t *const diagError, Qx_Can_Diag_State_t *const diagState,
                                    Qx_Can_Diag_Type_t *const diagType,
                                    Qx_Can_Diag_GetState_RspFlags_t *const rspFlags) {
  tp_channel *ch;
  (void)flags;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  QXSIM_TRY(qxsim_need(diagError && diagState && diagType && rspFlags, "state cells"));
  *diagError = ch->state_error;
  *diagState = ch->state;
  *diagType = ch->diag_type;
  *rspFlags = ch->state_flags;
  return 0;
}

Qx_Error_t sim_Qx_Can_Diag_GetState_Async_AddCallback(Qx_PortHandle_t portHandle, u8_t channel,
                                                      Qx_Can_Diag_GetState_Async_Callback_t const callback) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  QXSIM_TRY(qxsim_need(callback, "callback"));
  ch->state_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Can_Diag_GetState_Async_RemoveCallback(Qx_PortHandle_t portHandle, u8_t channel) {
  tp_channel *ch;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  ch->state_callback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Can_Diag_GetState_Async(Qx_PortHandle_t portHandle, u8_t channel,
                                          Qx_Can_Diag_GetState_CmdFlags_t flags) {
  tp_channel *ch;
  (void)flags;
  QXSIM_TRY(channel_of(portHandle, channel, &ch));
  if (!ch->state_callback)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no callback registered for channel %u", (unsigned)channel);
  ch->state_callback(portHandle, channel, ch->state_error, ch->state, ch->diag_type, ch->state_flags);
  return 0;
}

int qxsim_can_diag_state(uint32_t port, uint8_t channel, uint32_t error, uint8_t state, uint32_t flags) {
  tp_channel *ch = controlled_channel(port, channel);
  if (!ch) return -1;
  ch->state_error = error;
  ch->state = state;
  ch->state_flags = flags;
  return 0;
}
