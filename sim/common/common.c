/*
 * The simulated common library: opening interfaces by name, device,
 * interface and transceiver information, signal checks, host events and the
 * device's Ethernet settings. The information queries answer with fixed
 * data of one USB device; the settings live until the device is reset.
 */
#include <stdio.h>
#include <string.h>

#include "qx_api_common_behaviour.h"
#include "qxsim_device.h"

#define SIM_FIRMWARE_VERSION "QX-FW 4.2.17 (simulated)"

/* ---- device state -------------------------------------------------------- */

#define SIM_MAX_EVENTS 32

typedef struct {
  u8_t ip[4];
  u8_t mask[4];
  u8_t gateway[4];
  Qx_Common_Ethernet_DHCP_Mode_t dhcp;
  u16_t tcp_port;
  u8_t ftp_autostart;
  Qx_Common_EventHandle_t events[SIM_MAX_EVENTS]; /* 0: slot free */
  Qx_Common_EventHandle_t next_event;
  Qx_Common_GetFirmwareVersion_Async_Callback_t firmware_callback;
  Qx_Common_GetControllerInfo_Async_Callback_t controller_callback;
  Qx_Common_GetInterfaceInfo_Async_Callback_t interface_callback;
  Qx_Common_GetTransceiverInfo_Async_Callback_t transceiver_callback;
} sim_common_state;

static sim_common_state state;

static void common_reset(void) {
  static const sim_common_state start = {
      .ip = QXSIM_DEVICE_IP_ADDRESS,
      .mask = QXSIM_DEVICE_SUBNET_MASK,
      .gateway = QXSIM_DEVICE_GATEWAY,
      .dhcp = 0,
      .tcp_port = QXSIM_DEVICE_SETTINGS_TCP_PORT,
      .ftp_autostart = 0,
      .next_event = 1,
  };
  state = start;
}

__attribute__((constructor)) static void common_init(void) {
  common_reset();
  qxsim_on_reset(common_reset);
}

/* ---- fixed device data ---------------------------------------------------- */

/* Transceivers fitted: both CAN channels and the LIN channel. */
static const struct {
  u8_t position;
  u8_t flags;
  u16_t type;
} sim_transceivers[] = {
    {0, 0x01, QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1044GT},
    {1, 0x01, QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1044GT},
    {2, 0x00, QX_COMMON__TRANSCEIVER_TYPE__LIN__TJA1020},
};
#define SIM_TRANSCEIVERS (sizeof sim_transceivers / sizeof sim_transceivers[0])

/* The controller and its interfaces (type and instance each, in device
 * order). */
static void fill_controller_info(Qx_PortHandle_t portHandle, Qx_Common_GetControllerInfo_Rsp_t *rsp) {
  int i;
  (void)portHandle;
  memset(rsp, 0, sizeof *rsp);
  rsp->HostInterfaceType = QXSIM_HOST_INTERFACE_TYPE;
  rsp->ControllerFamily = 2;
  rsp->ControllerType = 7;
  rsp->Flags = 0;
  rsp->ResetStatusRegister = 0x00000001u;
  rsp->HardwareVersion = 0x00020001u;
  rsp->SoftwareVersion = 0x0004020Fu;
  rsp->NumberOfInterfaces = QXSIM_INTERFACES;
  for (i = 0; i < QXSIM_INTERFACES; i++) {
    rsp->Interfaces[i].InterfaceType = qxsim_interface_at(i)->type;
    rsp->Interfaces[i].InterfaceNumber = (u8_t)qxsim_interface_instance(i);
  }
}

static void fill_interface_info(Qx_PortHandle_t portHandle, Qx_Common_GetInterfaceInfo_Rsp_t *rsp) {
  memset(rsp, 0, sizeof *rsp);
  rsp->InterfaceType = qxsim_interface_at(qxsim_port_interface(portHandle))->type;
  rsp->Flags = 0x01;
  rsp->InstanceId = 0;
  rsp->InterfaceVersion = 0x00030001u;
  rsp->NumberOfFeatures = 3;
  rsp->Features[0] = 0x00000001u;
  rsp->Features[1] = 0x80000000u;
  rsp->Features[2] = 0xFFFFFFFFu;
}

static void fill_transceiver_info(Qx_PortHandle_t portHandle, Qx_Common_GetTransceiverInfo_Rsp_t *rsp) {
  size_t i;
  (void)portHandle;
  memset(rsp, 0, sizeof *rsp);
  rsp->NumberOfTransceiverInfos = SIM_TRANSCEIVERS;
  for (i = 0; i < SIM_TRANSCEIVERS; i++) {
    rsp->TransceiverInfos[i].HardwarePosition = sim_transceivers[i].position;
    rsp->TransceiverInfos[i].TransceiverFlags = sim_transceivers[i].flags;
    rsp->TransceiverInfos[i].TransceiverType = sim_transceivers[i].type;
  }
}

/* ---- opening by name, firmware, hardware and controller ------------------ */

Qx_Error_t sim_Qx_Common_OpenInterface(char const *const interfaceName, Qx_PortHandle_t *const newPortHandle) {
  return qxsim_open_by_name(interfaceName, newPortHandle);
}

Qx_Error_t sim_Qx_Common_OpenInterface2(Qx_Common_OpenInterface2_CmdFlags_t flags, char const *const interfaceName,
                                        Qx_PortHandle_t *const newPortHandle) {
  (void)flags;
  return qxsim_open_by_name(interfaceName, newPortHandle);
}

Qx_Error_t sim_Qx_Common_CloseInterface(Qx_PortHandle_t portHandle) { return qxsim_close_port(portHandle); }

Qx_Error_t sim_Qx_Common_InitInterface(Qx_PortHandle_t portHandle) { return qxsim_check_port(portHandle); }

Qx_Error_t sim_Qx_Common_GetFirmwareVersion(Qx_PortHandle_t portHandle, char *const text, u32_t *const textSize) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(text && textSize, "text buffer"));
  if (*textSize < sizeof SIM_FIRMWARE_VERSION)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "text buffer of %u bytes too small", (unsigned)*textSize);
  memcpy(text, SIM_FIRMWARE_VERSION, sizeof SIM_FIRMWARE_VERSION);
  *textSize = (u32_t)sizeof SIM_FIRMWARE_VERSION;
  return 0;
}

Qx_Error_t sim_Qx_Common_GetFirmwareVersion_Async_AddCallback(
    Qx_PortHandle_t portHandle, Qx_Common_GetFirmwareVersion_Async_Callback_t const callback) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  state.firmware_callback = callback;
  return 0;
}

Qx_Error_t sim_Qx_Common_GetFirmwareVersion_Async_RemoveCallback(Qx_PortHandle_t portHandle) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  state.firmware_callback = NULL;
  return 0;
}

/* The device answers at once: the callback runs before the call returns. */
Qx_Error_t sim_Qx_Common_GetFirmwareVersion_Async(Qx_PortHandle_t portHandle) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  if (state.firmware_callback) state.firmware_callback(portHandle, SIM_FIRMWARE_VERSION, 0);
  return 0;
}

Qx_Error_t sim_Qx_Common_GetFirmwareErrorDescription(Qx_PortHandle_t portHandle, Qx_Error_t const errorCode,
                                                     char *const text, u32_t *const textSize) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(text && textSize && *textSize, "text buffer"));
  snprintf(text, *textSize, "firmware error 0x%08X", (unsigned)errorCode);
  return 0;
}

Qx_Error_t sim_Qx_Common_GetHardwareVersion(Qx_PortHandle_t portHandle,
                                            Qx_Common_GetHardwareVersion_Cmd_t const *const cmd,
                                            Qx_Common_GetHardwareVersion_Rsp_t *const rsp) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(cmd && rsp, "command or response record"));
  if (cmd->HardwareBoardNumber > 1)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no hardware board %u", (unsigned)cmd->HardwareBoardNumber);
  rsp->Major = 2;
  rsp->Minor = 1;
  rsp->Byte3 = cmd->HardwareBoardNumber;
  rsp->Byte4 = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_SoftwareReset(Qx_PortHandle_t portHandle) { return qxsim_check_port(portHandle); }

/* An information query, synchronous and asynchronous: the asynchronous form
 * hands the same record to the native callback registered for the query.
 * The record lives in static storage (the transceiver list is 1028 bytes). */
#define SIM_INFO_QUERY(NAME, FILL, CALLBACK)                                                                \
  Qx_Error_t sim_Qx_Common_##NAME(Qx_PortHandle_t portHandle, Qx_Common_##NAME##_Rsp_t *const response) {   \
    QXSIM_TRY(qxsim_check_port(portHandle));                                                                \
    QXSIM_TRY(qxsim_need(response, "response record"));                                                     \
    FILL(portHandle, response);                                                                             \
    return 0;                                                                                               \
  }                                                                                                         \
  Qx_Error_t sim_Qx_Common_##NAME##_Async_AddCallback(Qx_PortHandle_t portHandle,                           \
                                                      Qx_Common_##NAME##_Async_Callback_t const callback) { \
    QXSIM_TRY(qxsim_check_port(portHandle));                                                                \
    state.CALLBACK = callback;                                                                              \
    return 0;                                                                                               \
  }                                                                                                         \
  Qx_Error_t sim_Qx_Common_##NAME##_Async_RemoveCallback(Qx_PortHandle_t portHandle) {                      \
    QXSIM_TRY(qxsim_check_port(portHandle));                                                                \
    state.CALLBACK = NULL;                                                                                  \
    return 0;                                                                                               \
  }                                                                                                         \
  Qx_Error_t sim_Qx_Common_##NAME##_Async(Qx_PortHandle_t portHandle) {                                     \
    static Qx_Common_##NAME##_Rsp_t rsp;                                                                    \
    QXSIM_TRY(qxsim_check_port(portHandle));                                                                \
    if (state.CALLBACK) {                                                                                   \
      FILL(portHandle, &rsp);                                                                               \
      state.CALLBACK(portHandle, &rsp);                                                                     \
    }                                                                                                       \
    return 0;                                                                                               \
  }

SIM_INFO_QUERY(GetControllerInfo, fill_controller_info, controller_callback)

/* ---- interface and transceiver information ------------------------------- */

SIM_INFO_QUERY(GetInterfaceInfo, fill_interface_info, interface_callback)
SIM_INFO_QUERY(GetTransceiverInfo, fill_transceiver_info, transceiver_callback)

Qx_Error_t sim_Qx_Common_GetTransceiverInfoForCurrentInterface(
    Qx_PortHandle_t portHandle, Qx_Common_GetTransceiverInfoForCurrentInterface_CmdFlags_t flags,
    Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t *const rsp) {
  int type;
  (void)flags;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  type = qxsim_interface_at(qxsim_port_interface(portHandle))->type;
  memset(rsp, 0, sizeof *rsp);
  if (type == QX_INTERFACE_TYPE__CAN) {
    rsp->HardwarePosition = 0;
    rsp->Type = QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1044GT;
    rsp->Flags = 0x01;
  } else if (type == QX_INTERFACE_TYPE__LIN) {
    rsp->HardwarePosition = 2;
    rsp->Type = QX_COMMON__TRANSCEIVER_TYPE__LIN__TJA1020;
  } else {
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "interface type %d has no transceiver", type);
  }
  return 0;
}

char const *sim_Qx_Common_GetTransceiverTypeDescription(Qx_Common_TransceiverType_t transceiverType) {
  static const struct {
    int type;
    const char *text;
  } names[] = {
      {QX_COMMON__TRANSCEIVER_TYPE__UNKNOWN, "unknown"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1041, "CAN TJA1041"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1041A, "CAN TJA1041A"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__82C252, "CAN 82C252"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__AU5790, "CAN AU5790"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1054, "CAN TJA1054"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1054A, "CAN TJA1054A"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1050, "CAN TJA1050"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__82C250, "CAN 82C250"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__82C251, "CAN 82C251"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TLE6250, "CAN TLE6250"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__B10011S, "CAN B10011S"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1044GT, "CAN TJA1044GT"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1145, "CAN TJA1145"},
      {QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1463AT, "CAN TJA1463AT"},
      {QX_COMMON__TRANSCEIVER_TYPE__LIN__TJA1020, "LIN TJA1020"},
      {QX_COMMON__TRANSCEIVER_TYPE__LIN__TLE6258, "LIN TLE6258"},
      {QX_COMMON__TRANSCEIVER_TYPE__LIN__TLE6259, "LIN TLE6259"},
      {QX_COMMON__TRANSCEIVER_TYPE__LIN__TJA1020_LOAD, "LIN TJA1020 with load"},
      {QX_COMMON__TRANSCEIVER_TYPE__KLINE__L9637D, "K-Line L9637D"},
      {QX_COMMON__TRANSCEIVER_TYPE__KLINE__RX_TX, "K-Line RX/TX"},
      {QX_COMMON__TRANSCEIVER_TYPE__FLEXRAY__TJA1080, "FlexRay TJA1080"},
      {QX_COMMON__TRANSCEIVER_TYPE__FLEXRAY__AS8221, "FlexRay AS8221"},
      {QX_COMMON__TRANSCEIVER_TYPE__FLEXRAY__TJA1081BTS, "FlexRay TJA1081BTS"},
      {QX_COMMON__TRANSCEIVER_TYPE__ADIO__TYPE_1, "analog/digital I/O type 1"},
      {QX_COMMON__TRANSCEIVER_TYPE__ADIO__TYPE_2, "analog/digital I/O type 2"},
      {QX_COMMON__TRANSCEIVER_TYPE__ADIO__TYPE_3, "analog/digital I/O type 3"},
      {QX_COMMON__TRANSCEIVER_TYPE__ADIO_DIGITAL_OUT__5V, "digital output 5 V"},
      {QX_COMMON__TRANSCEIVER_TYPE__ADIO_DIGITAL_OUT__HIGH_VOLTAGE, "digital output high voltage"},
      {QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__1000BASE_T, "Ethernet 1000BASE-T"},
      {QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__BRR_TJA1100, "Ethernet BroadR-Reach TJA1100"},
      {QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q2112, "Automotive Ethernet 88Q2112"},
      {QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q2112_A2, "Automotive Ethernet 88Q2112 A2"},
      {QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q222x, "Automotive Ethernet 88Q222x"},
  };
  size_t i;
  for (i = 0; i < sizeof names / sizeof names[0]; i++)
    if (names[i].type == (int)transceiverType) return names[i].text;
  return NULL;
}

Qx_Error_t sim_Qx_Common_GetInterfaceNumber(Qx_PortHandle_t portHandle,
                                            Qx_Common_GetInterfaceNumber_Parameters_t const *const parameters,
                                            Qx_Common_GetInterfaceNumber_Rsp_t *const rsp) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(parameters && rsp, "parameter or response record"));
  if (qxsim_interface_nth(parameters->InterfaceType, parameters->InstanceId) >= 0) {
    memset(rsp, 0, sizeof *rsp);
    rsp->InterfaceNumber = parameters->InstanceId;
    return 0;
  }
  return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no interface of type %u, instance %u", (unsigned)parameters->InterfaceType,
                    (unsigned)parameters->InstanceId);
}

/* ---- signal checks -------------------------------------------------------- */

/* A signal of 1 to 64 bits, Intel (0) or Motorola (1) byte order, inside the
 * 64 data bytes of a message. */
static uint32_t check_signal(Qx_Common_Signal_t const *signal) {
  QXSIM_TRY(qxsim_need(signal, "signal"));
  if (signal->Size < 1 || signal->Size > 64 || signal->ByteOrder > 1 || signal->Offset + signal->Size > 64 * 8)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "signal of %u bits at bit %u (byte order %u) does not fit",
                      (unsigned)signal->Size, (unsigned)signal->Offset, (unsigned)signal->ByteOrder);
  return 0;
}

Qx_Error_t sim_Qx_Common_Signal_Check(Qx_PortHandle_t portHandle, Qx_Common_Signal_t const *const signal) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  return check_signal(signal);
}

/* Translates the bit offset into the signal's first and last byte and bit. */
Qx_Error_t sim_Qx_Common_Signal_CheckAndTranslate(Qx_PortHandle_t portHandle, Qx_Common_Signal_t const *const signal,
                                                  u8_t *const firstByte, u8_t *const firstBit, u8_t *const lastByte,
                                                  u8_t *const lastBit) {
  unsigned last;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(check_signal(signal));
  last = (unsigned)signal->Offset + signal->Size - 1u;
  if (firstByte) *firstByte = (u8_t)(signal->Offset / 8u);
  if (firstBit) *firstBit = (u8_t)(signal->Offset % 8u);
  if (lastByte) *lastByte = (u8_t)(last / 8u);
  if (lastBit) *lastBit = (u8_t)(last % 8u);
  return 0;
}

/* ---- host events ------------------------------------------------------------ */

static Qx_Common_EventHandle_t *find_event(Qx_Common_EventHandle_t handle) {
  int i;
  if (!handle) return NULL;
  for (i = 0; i < SIM_MAX_EVENTS; i++)
    if (state.events[i] == handle) return &state.events[i];
  return NULL;
}

Qx_Error_t sim_Qx_Common_Events_AllocateEvent(Qx_PortHandle_t portHandle, Qx_Common_EventHandle_t *const eventHandle) {
  Qx_Common_EventHandle_t *slot;
  int i;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(eventHandle, "event handle"));
  for (i = 0, slot = NULL; i < SIM_MAX_EVENTS && !slot; i++)
    if (!state.events[i]) slot = &state.events[i];
  if (!slot) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "too many events");
  *slot = state.next_event++;
  *eventHandle = *slot;
  return 0;
}

Qx_Error_t sim_Qx_Common_Events_DeallocateEvent(Qx_PortHandle_t portHandle,
                                                Qx_Common_EventHandle_t *const eventHandle) {
  Qx_Common_EventHandle_t *slot;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(eventHandle, "event handle"));
  slot = find_event(*eventHandle);
  if (!slot) return qxsim_fail(QXSIM_ERROR_INVALID_HANDLE, "invalid event handle %zu", (size_t)*eventHandle);
  *slot = 0;
  return 0;
}

/* Events of the simulated device are always signalled: the wait returns at
 * once for an allocated handle. */
Qx_Error_t sim_Qx_Common_Events_WaitForSingleEvent(Qx_PortHandle_t portHandle,
                                                   Qx_Common_EventHandle_t const *const eventHandle, u32_t timeout) {
  (void)timeout;
  QXSIM_TRY(qxsim_check_port(portHandle));
  if (!eventHandle || !find_event(*eventHandle)) return qxsim_fail(QXSIM_ERROR_INVALID_HANDLE, "invalid event handle");
  return 0;
}

/* ---- Ethernet settings ------------------------------------------------------ */

static Qx_Error_t set_bytes(Qx_PortHandle_t portHandle, u8_t *target, u8_t const *source) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(source, "address"));
  memcpy(target, source, 4);
  return 0;
}

static Qx_Error_t get_bytes(Qx_PortHandle_t portHandle, u8_t const *source, u8_t *target) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(target, "address buffer"));
  memcpy(target, source, 4);
  return 0;
}

Qx_Error_t sim_Qx_Common_Ethernet_IpAddress_Set(Qx_PortHandle_t portHandle, u8_t const *const ipAddress) {
  return set_bytes(portHandle, state.ip, ipAddress);
}

Qx_Error_t sim_Qx_Common_Ethernet_IpAddress_Get(Qx_PortHandle_t portHandle, u8_t *const ipAddress) {
  return get_bytes(portHandle, state.ip, ipAddress);
}

Qx_Error_t sim_Qx_Common_Ethernet_DHCP_Mode_Set(Qx_PortHandle_t portHandle, Qx_Common_Ethernet_DHCP_Mode_t dhcpMode) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  state.dhcp = dhcpMode;
  return 0;
}

Qx_Error_t sim_Qx_Common_Ethernet_DHCP_Mode_Get(Qx_PortHandle_t portHandle,
                                                Qx_Common_Ethernet_DHCP_Mode_t *const dhcpMode) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(dhcpMode, "mode cell"));
  *dhcpMode = state.dhcp;
  return 0;
}

/* The host's adapters: *adapterCount says how many records adapterInfo
 * holds; at most that many are written, and *adapterCount is set to the
 * number of adapters the host has. */
Qx_Error_t sim_Qx_Common_Ethernet_GetNetworkAdapterInfo(u32_t *const adapterCount,
                                                        Qx_Ethernet_AdapterInfo_t *const adapterInfo) {
  static const u8_t adapters[][2][4] = QXSIM_HOST_ADAPTERS;
  u32_t i, n = (u32_t)(sizeof adapters / sizeof adapters[0]);
  QXSIM_TRY(qxsim_need(adapterCount, "adapter count"));
  QXSIM_TRY(qxsim_need(adapterInfo || !*adapterCount, "adapter records"));
  for (i = 0; i < n && i < *adapterCount; i++) {
    memcpy(&adapterInfo[i].IpAddress, adapters[i][0], 4);
    memcpy(&adapterInfo[i].Mask, adapters[i][1], 4);
  }
  *adapterCount = n;
  return 0;
}

Qx_Error_t sim_Qx_Common_Ethernet_SubNetMask_Set(Qx_PortHandle_t portHandle, u8_t const *const subNetMask) {
  return set_bytes(portHandle, state.mask, subNetMask);
}

Qx_Error_t sim_Qx_Common_Ethernet_SubNetMask_Get(Qx_PortHandle_t portHandle, u8_t *const subNetMask) {
  return get_bytes(portHandle, state.mask, subNetMask);
}

Qx_Error_t sim_Qx_Common_Ethernet_TcpPort_Get(Qx_PortHandle_t portHandle, u16_t *const tcpPort) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(tcpPort, "port cell"));
  *tcpPort = state.tcp_port;
  return 0;
}

Qx_Error_t sim_Qx_Common_Ethernet_DefaultGateway_Set(Qx_PortHandle_t portHandle, u8_t const *const defaultGateway) {
  return set_bytes(portHandle, state.gateway, defaultGateway);
}

Qx_Error_t sim_Qx_Common_Ethernet_DefaultGateway_Get(Qx_PortHandle_t portHandle, u8_t *const defaultGateway) {
  return get_bytes(portHandle, state.gateway, defaultGateway);
}

Qx_Error_t sim_Qx_Common_Ethernet_FtpServer_AutoStart_Enable(Qx_PortHandle_t portHandle) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  state.ftp_autostart = 1;
  return 0;
}

Qx_Error_t sim_Qx_Common_Ethernet_FtpServer_AutoStart_Disable(Qx_PortHandle_t portHandle) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  state.ftp_autostart = 0;
  return 0;
}

Qx_Error_t sim_Qx_Common_Ethernet_FtpServer_AutoStart_GetState(Qx_PortHandle_t portHandle, u8_t *const state_) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(state_, "state cell"));
  *state_ = state.ftp_autostart;
  return 0;
}
