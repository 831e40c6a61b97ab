/*
 * Low-level access of the simulated device: the FPGA (design version, 256
 * registers, a loop-back FIFO, 16 relays), the APIX link (commands answered
 * as raw commands are, raw data looped back) and the firmware buffer channel
 * of a port (a command written is answered by one message to read).
 */
#include <stddef.h>
#include <string.h>

#include "sim_device.h"

#define SIM_VHDL_DESIGN_VERSION 0x05030007u
#define SIM_FIFO_SIZE 4096u
#define SIM_RELAYS 16u
#define SIM_FW_DATA_SIZE 1024u

static u32_t registers[256];
static u8_t fifo[SIM_FIFO_SIZE];
static u32_t fifo_length;
static u8_t apix[SIM_FIFO_SIZE];
static u32_t apix_length;
static u8_t relays[SIM_RELAYS];

static void fpga_reset(void) {
  memset(registers, 0, sizeof registers);
  fifo_length = 0;
  apix_length = 0;
  memset(relays, 0, sizeof relays);
}

__attribute__((constructor)) static void fpga_init(void) {
  fpga_reset();
  qxsim_on_reset(fpga_reset);
}

/* The firmware buffer channel of a port. */
typedef struct {
  uint32_t handle; /* 0: slot free */
  int enabled;
  u32_t size;
  int pending; /* a message waits for Qx_Fw_Read */
  u8_t header;
  u8_t responseType;
  u8_t command;
  u32_t length;
  u8_t data[SIM_FW_DATA_SIZE];
} fw_channel;

static fw_channel channels[QXSIM_MAX_PORTS];
static qxsim_port_table channel_table = QXSIM_PORT_TABLE(channels, NULL, NULL);

/* Appends to a loop-back queue; refused whole when it does not fit. */
static uint32_t queue_write(u8_t *queue, u32_t *length, const u8_t *data, u32_t n) {
  if (n && !data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u data bytes announced but no data given", (unsigned)n);
  if (n > SIM_FIFO_SIZE - *length)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "%u bytes do not fit, %u bytes free", (unsigned)n,
                      (unsigned)(SIM_FIFO_SIZE - *length));
  if (n) memcpy(queue + *length, data, n);
  *length += n;
  return 0;
}

/* Takes at most the capacity in `count` from a loop-back queue; `count`
 * then holds the number of bytes taken. */
static uint32_t queue_read(u8_t *queue, u32_t *length, u8_t *data, u32_t *count) {
  u32_t n;
  QXSIM_TRY(qxsim_need(count, "length cell"));
  QXSIM_TRY(qxsim_need(data || !*count, "data buffer"));
  n = *count < *length ? *count : *length;
  if (n) {
    memcpy(data, queue, n);
    memmove(queue, queue + n, *length - n);
    *length -= n;
  }
  *count = n;
  return 0;
}

/* ---- FPGA --------------------------------------------------------------- */

Qx_Error_t sim_Qx_Fpga_ReadVhdlDesignVersion(Qx_PortHandle_t portHandle, u32_t *const version) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  if (version) *version = SIM_VHDL_DESIGN_VERSION;
  return 0;
}

Qx_Error_t sim_Qx_Fpga_ReadRegister(Qx_PortHandle_t portHandle, u8_t registerNumber, u32_t *const value) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  if (value) *value = registers[registerNumber];
  return 0;
}

Qx_Error_t sim_Qx_Fpga_WriteRegister(Qx_PortHandle_t portHandle, u8_t registerNumber, u32_t value) {
  QXSIM_TRY(qxsim_check_port_unlocked(portHandle));
  registers[registerNumber] = value;
  return 0;
}

/* Loading a design clears the registers. */
Qx_Error_t sim_Qx_Fpga_Reconfiguration(Qx_PortHandle_t portHandle, const u8_t *fileName) {
  QXSIM_TRY(qxsim_check_port_unlocked(portHandle));
  QXSIM_TRY(qxsim_need(fileName && fileName[0], "design file"));
  memset(registers, 0, sizeof registers);
  return 0;
}

Qx_Error_t sim_Qx_Fpga_ReadFifo(Qx_PortHandle_t portHandle, u8_t *const data, u32_t *const dataLength) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  return queue_read(fifo, &fifo_length, data, dataLength);
}

Qx_Error_t sim_Qx_Fpga_WriteFifo(Qx_PortHandle_t portHandle, const u8_t *const data, u32_t dataLength) {
  QXSIM_TRY(qxsim_check_port_unlocked(portHandle));
  return queue_write(fifo, &fifo_length, data, dataLength);
}

/* Relay functions: `count` relay numbers (or states) in the byte array, none
 * when the array is NULL; every relay number is checked before any relay
 * changes. */
static uint32_t check_relays(u16_t count, const u8_t *numbers) {
  u16_t k;
  if (!numbers) return 0;
  for (k = 0; k < count; k++)
    if (numbers[k] >= SIM_RELAYS)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "relay %u does not exist (%u relays)", numbers[k], SIM_RELAYS);
  return 0;
}

static uint32_t switch_relays(Qx_PortHandle_t portHandle, u16_t count, const u8_t *numbers, u8_t state) {
  uint32_t status = qxsim_check_port_unlocked(portHandle);
  u16_t k;
  if (!status) status = check_relays(count, numbers);
  if (status || !numbers) return status;
  for (k = 0; k < count; k++) relays[numbers[k]] = state;
  return 0;
}

Qx_Error_t sim_Qx_Fpga_Relays_Set(Qx_PortHandle_t portHandle, Qx_Fpga_Relays_Set_CmdFlags_t flags,
                                  const u16_t relayCount, const u8_t *const relayStates) {
  (void)flags;
  return switch_relays(portHandle, relayCount, relayStates, 1);
}

Qx_Error_t sim_Qx_Fpga_Relays_Reset(Qx_PortHandle_t portHandle, Qx_Fpga_Relays_Reset_CmdFlags_t flags,
                                    const u16_t relayCount, const u8_t *const relayStates) {
  (void)flags;
  return switch_relays(portHandle, relayCount, relayStates, 0);
}

/* Sets relays 0 to count - 1 to the states given (nonzero: closed); no
 * relay changes when the states are NULL. */
Qx_Error_t sim_Qx_Fpga_Relays_SetDirect(Qx_PortHandle_t portHandle, const u16_t relayCount,
                                        const u8_t *const relayStates) {
  uint32_t status = qxsim_check_port_unlocked(portHandle);
  u16_t k;
  if (status || !relayStates) return status;
  if (relayCount > SIM_RELAYS)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u relays given, the device has %u", relayCount, SIM_RELAYS);
  for (k = 0; k < relayCount; k++) relays[k] = relayStates[k] != 0;
  return 0;
}

Qx_Error_t sim_Qx_Fpga_Relays_GetState(Qx_PortHandle_t portHandle, const u16_t relayCount,
                                       const u8_t *const relaySelection, u8_t *const relayStates) {
  uint32_t status;
  u16_t k;
  QXSIM_TRY(qxsim_check_port(portHandle));
  status = check_relays(relayCount, relaySelection);
  if (status || !relaySelection || !relayStates) return status;
  for (k = 0; k < relayCount; k++) relayStates[k] = relays[relaySelection[k]];
  return 0;
}

/* ---- APIX --------------------------------------------------------------- */

Qx_Error_t sim_Qx_Apix_Command(Qx_PortHandle_t portHandle, Qx_Apix_Command_CmdFlags_t flags, u8_t command,
                               u32_t dataLength, const u8_t *const data) {
  uint32_t status = qxsim_check_port_unlocked(portHandle);
  (void)flags;
  (void)command;
  if (status) return status;
  if (dataLength && !data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u data bytes announced but no data given", (unsigned)dataLength);
  return 0;
}

Qx_Error_t sim_Qx_Apix_CommandWithResponse(Qx_PortHandle_t portHandle, Qx_Apix_CommandWithResponse_CmdFlags_t flags,
                                           u8_t command, u32_t dataLength, const u8_t *const data,
                                           u32_t *const responseLength, u8_t *const response) {
  (void)flags;
  QXSIM_TRY(qxsim_check_port_unlocked(portHandle));
  return sim_echo_response(command, NULL, 0, data, dataLength, response, responseLength);
}

Qx_Error_t sim_Qx_Apix_Write(Qx_PortHandle_t portHandle, u32_t dataLength, const u8_t *const data) {
  QXSIM_TRY(qxsim_check_port_unlocked(portHandle));
  return queue_write(apix, &apix_length, data, dataLength);
}

Qx_Error_t sim_Qx_Apix_Read(Qx_PortHandle_t portHandle, Qx_Apix_Read_CmdFlags_t flags, u32_t *const dataLength,
                            u8_t *const data) {
  (void)flags;
  QXSIM_TRY(qxsim_check_port(portHandle));
  return queue_read(apix, &apix_length, data, dataLength);
}

/* ---- firmware buffer channel -------------------------------------------- */

static uint32_t channel_of(Qx_PortHandle_t portHandle, fw_channel **fw) {
  return qxsim_port_state(&channel_table, portHandle, fw);
}

/* The channel of a port whose firmware buffer is enabled. */
static uint32_t enabled_channel_of(Qx_PortHandle_t portHandle, fw_channel **fw) {
  QXSIM_TRY(channel_of(portHandle, fw));
  if (!(*fw)->enabled)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the firmware buffer of port 0x%08X is not enabled", portHandle);
  return 0;
}

/* Enabling starts an empty channel of the size given. */
Qx_Error_t sim_Qx_Fw_Buffer_Enable(Qx_PortHandle_t portHandle, u32_t bufferSize) {
  fw_channel *fw;
  QXSIM_TRY(qxsim_check_port_unlocked(portHandle));
  QXSIM_TRY(channel_of(portHandle, &fw));
  if (!bufferSize) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "a buffer of 0 bytes is not allowed");
  memset(&fw->enabled, 0, sizeof *fw - offsetof(fw_channel, enabled));
  fw->enabled = 1;
  fw->size = bufferSize;
  return 0;
}

Qx_Error_t sim_Qx_Fw_Buffer_Disable(Qx_PortHandle_t portHandle) {
  fw_channel *fw;
  QXSIM_TRY(enabled_channel_of(portHandle, &fw));
  memset(&fw->enabled, 0, sizeof *fw - offsetof(fw_channel, enabled));
  return 0;
}
/* A command (header type COMMAND, its first data byte the command) is
 * answered by a response echoing the remaining data, or by a bare
 * acknowledge when the write mode asks for one always. */
Qx_Error_t sim_Qx_Fw_Write(Qx_PortHandle_t portHandle, u8_t headerType, u8_t writeMode, u32_t dataLength,
                           const u8_t *const data) {
  fw_channel *fw;
  QXSIM_TRY(enabled_channel_of(portHandle, &fw));
  if (headerType > QX_FW__HEADER_TYPE__ACKNOWLEDGE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown header type %u", headerType);
  if (writeMode > QX_FW__WRITE__MODE__ACK_ONLY_ON_ERRORS)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown write mode %u", writeMode);
  if (dataLength && !data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u data bytes announced but no data given", (unsigned)dataLength);
  if (dataLength > fw->size || dataLength > SIM_FW_DATA_SIZE)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "a message of %u bytes exceeds the firmware buffer of %u bytes",
                      (unsigned)dataLength, (unsigned)(fw->size < SIM_FW_DATA_SIZE ? fw->size : SIM_FW_DATA_SIZE));
  if (headerType != QX_FW__HEADER_TYPE__COMMAND) return 0;
  if (!dataLength) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "a command needs at least its command byte");
  fw->pending = 1;
  fw->command = data[0];
  if (writeMode == QX_FW__WRITE__MODE__ALWAYS_SEND_ACK) {
    fw->header = QX_FW__HEADER_TYPE__ACKNOWLEDGE;
    fw->responseType = QX_FW__READ__RESPONSE_TYPE__ACK;
    fw->length = 0;
  } else {
    fw->header = QX_FW__HEADER_TYPE__RESPONSE;
    fw->responseType = QX_FW__READ__RESPONSE_TYPE__RESPONSE;
    fw->length = dataLength - 1;
    memcpy(fw->data, data + 1, fw->length);
  }
  return 0;
}

/* Reads the message waiting: at most the capacity in `dataLength`, which
 * then holds the message's length (a message that does not fit stays). */
Qx_Error_t sim_Qx_Fw_Read(Qx_PortHandle_t portHandle, u8_t *const headerType, u8_t *const responseType,
                          u8_t *const command, u32_t *const dataLength, u8_t *const data) {
  fw_channel *fw;
  QXSIM_TRY(enabled_channel_of(portHandle, &fw));
  QXSIM_TRY(qxsim_need(headerType && responseType && command && dataLength, "output cell"));
  if (!fw->pending) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no firmware message waits on port 0x%08X", portHandle);
  if (*dataLength < fw->length) {
    u32_t given = *dataLength;
    *dataLength = fw->length;
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "message of %u bytes does not fit a buffer of %u bytes",
                      (unsigned)fw->length, (unsigned)given);
  }
  QXSIM_TRY(qxsim_need(data || !fw->length, "data buffer"));
  *headerType = fw->header;
  *responseType = fw->responseType;
  *command = fw->command;
  if (fw->length) memcpy(data, fw->data, fw->length);
  *dataLength = fw->length;
  fw->pending = 0;
  return 0;
}
