/*
 * Raw commands of the simulated device, the port monitor that records them,
 * and the asynchronous communication settings and callbacks of a port.
 *
 * The device answers a command with a response derived from it: the command
 * byte plus 0x40, then (Ex) the sub-command, then the data echoed; what does
 * not fit the caller's buffer is cut off.
 */
#include <string.h>

#include "sim_device.h"

uint32_t sim_echo_response(const char *function, u8_t command, const u8_t *prefix, u32_t prefixLength, const u8_t *data,
                           u32_t dataLength, u8_t *response, u32_t *capacity) {
  u32_t room, written = 0, n;
  if (dataLength && !data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: %u data bytes announced but no data given", function,
                      (unsigned)dataLength);
  if (!capacity) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no response count cell given", function);
  room = *capacity;
  if (room && !response) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no response buffer given", function);
  if (room) response[written++] = (u8_t)(command + 0x40);
  n = prefixLength < room - written ? prefixLength : room - written;
  if (n) memcpy(response + written, prefix, n);
  written += n;
  n = dataLength < room - written ? dataLength : room - written;
  if (n) memcpy(response + written, data, n);
  written += n;
  *capacity = written;
  return 0;
}

/* ---- monitor ------------------------------------------------------------ */

void sim_monitor_record(sim_port *port, u8_t command, const u8_t *data, u32_t length) {
  u32_t n = length > 0xFF ? 0xFF : length;
  if (!port->monitorEnabled || port->monitorLength + 2 + n > SIM_MONITOR_SIZE) return;
  port->monitor[port->monitorLength++] = command;
  port->monitor[port->monitorLength++] = (u8_t)n;
  if (n) memcpy(port->monitor + port->monitorLength, data, n);
  port->monitorLength += n;
}

u8_t sim_Qx_IsMonitorEnabled(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_IsMonitorEnabled", portHandle);
  return p ? (u8_t)p->monitorEnabled : 0;
}

/* Hands out the recorded bytes, oldest first: at most the capacity in the
 * count cell, which then holds the number written; `moreItems` tells
 * whether bytes remain. */
Qx_Error_t sim_Qx_GetMonitorItems(Qx_PortHandle_t portHandle, u8_t *const itemBuffer, u32_t *const itemCount,
                                  u8_t *const moreItems) {
  sim_port *p = sim_port_get("Qx_GetMonitorItems", portHandle);
  u32_t n;
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  if (!p->monitorEnabled)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Qx_GetMonitorItems: the monitor of port 0x%08X is closed",
                      portHandle);
  if (!itemCount) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_GetMonitorItems: no count cell given");
  if (*itemCount && !itemBuffer)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_GetMonitorItems: no item buffer given");
  n = *itemCount < p->monitorLength ? *itemCount : p->monitorLength;
  if (n) {
    memcpy(itemBuffer, p->monitor, n);
    memmove(p->monitor, p->monitor + n, p->monitorLength - n);
    p->monitorLength -= n;
  }
  *itemCount = n;
  if (moreItems) *moreItems = p->monitorLength > 0;
  return 0;
}

Qx_Error_t sim_Qx_CloseMonitor(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_CloseMonitor", portHandle);
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  if (!p->monitorEnabled)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Qx_CloseMonitor: the monitor of port 0x%08X is already closed",
                      portHandle);
  p->monitorEnabled = 0;
  p->monitorLength = 0;
  return 0;
}

/* ---- commands ----------------------------------------------------------- */

Qx_Error_t sim_Qx_Command(Qx_PortHandle_t portHandle, u8_t command, const u8_t *const data, const u32_t dataLength) {
  uint32_t status;
  sim_port *p = sim_port_usable("Qx_Command", portHandle, &status);
  if (!p) return status;
  if (dataLength && !data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Command: %u data bytes announced but no data given",
                      (unsigned)dataLength);
  sim_monitor_record(p, command, data, dataLength);
  return 0;
}

Qx_Error_t sim_Qx_CommandWithResponse(Qx_PortHandle_t portHandle, u8_t command, const u8_t *const data,
                                      const u32_t dataLength, u8_t *const responseBuffer, u32_t *const responseCount) {
  uint32_t status;
  sim_port *p = sim_port_usable("Qx_CommandWithResponse", portHandle, &status);
  if (!p) return status;
  status =
      sim_echo_response("Qx_CommandWithResponse", command, NULL, 0, data, dataLength, responseBuffer, responseCount);
  if (!status) sim_monitor_record(p, command, data, dataLength);
  return status;
}

Qx_Error_t sim_Qx_CommandWithResponseEx(Qx_PortHandle_t portHandle, u8_t command, u8_t subCommand, u8_t mode,
                                        const u8_t *const data, const u32_t dataLength, u8_t *const responseBuffer,
                                        u32_t *const responseCount) {
  uint32_t status;
  sim_port *p = sim_port_usable("Qx_CommandWithResponseEx", portHandle, &status);
  if (!p) return status;
  if (mode > QX_COMMAND_WITH_RESPONSE_MODE__ASYNC)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_CommandWithResponseEx: unknown mode %u", mode);
  status = sim_echo_response("Qx_CommandWithResponseEx", command, &subCommand, 1, data, dataLength, responseBuffer,
                             responseCount);
  if (!status) sim_monitor_record(p, command, data, dataLength);
  return status;
}

/* ---- asynchronous communication ----------------------------------------- */

Qx_Error_t sim_Qx_AsyncCommunication_Enable(Qx_PortHandle_t portHandle,
                                            const Qx_AsyncCommunication_ErrorCallback_t errorCallback) {
  sim_port *p = sim_port_get("Qx_AsyncCommunication_Enable", portHandle);
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  p->asyncEnabled = 1;
  p->errorCallback = errorCallback;
  return 0;
}

Qx_Error_t sim_Qx_AsyncCommunication_Disable(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_AsyncCommunication_Disable", portHandle);
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  p->asyncEnabled = 0;
  p->errorCallback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_AsyncCommunication_FunctionsWithoutResponse_Sync(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_AsyncCommunication_FunctionsWithoutResponse_Sync", portHandle);
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  p->syncWithoutResponse = 1;
  return 0;
}

Qx_Error_t sim_Qx_AsyncCommunication_FunctionsWithoutResponse_Async(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_AsyncCommunication_FunctionsWithoutResponse_Async", portHandle);
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  if (!p->asyncEnabled)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE,
                      "Qx_AsyncCommunication_FunctionsWithoutResponse_Async: asynchronous communication of port 0x%08X "
                      "is not enabled",
                      portHandle);
  p->syncWithoutResponse = 0;
  return 0;
}

u8_t sim_Qx_AsyncCommunication_FunctionsWithoutResponse_IsSync(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_AsyncCommunication_FunctionsWithoutResponse_IsSync", portHandle);
  return p ? (u8_t)p->syncWithoutResponse : 0;
}

static sim_callback *find_callback(sim_port *p, u8_t command, u8_t subCommand, const u8_t *filter, u8_t filterLength) {
  int i;
  for (i = 0; i < SIM_CALLBACKS; i++) {
    sim_callback *c = &p->callbacks[i];
    if (c->used && c->command == command && c->subCommand == subCommand && c->filterLength == filterLength &&
        (!filterLength || memcmp(c->filter, filter, filterLength) == 0))
      return c;
  }
  return NULL;
}

/* Registers a callback for the responses to (command, sub-command, filter:
 * the leading response bytes to match, none when NULL); the callback handle
 * written is the registration's address. */
Qx_Error_t sim_Qx_AsyncCommunication_AddCallback(Qx_PortHandle_t portHandle, u8_t command, u8_t subCommand,
                                                 const u8_t *const filter, u8_t filterLength,
                                                 const Qx_AsyncCommunication_CallbackFunction_t callback,
                                                 const Qx_AsyncCommunication_CleanUpFunction_t cleanUp, u32_t userData,
                                                 void **callbackHandle) {
  static const char *const function = "Qx_AsyncCommunication_AddCallback";
  sim_port *p = sim_port_get(function, portHandle);
  int i;
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  if (!callback) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no callback function given", function);
  if (!filter) filterLength = 0; /* no filter: every response to the command matches */
  if (filterLength > SIM_FILTER_SIZE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: filter of %u bytes, at most %d allowed", function,
                      filterLength, SIM_FILTER_SIZE);
  if (find_callback(p, command, subCommand, filter, filterLength))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE,
                      "%s: a callback for command 0x%02X, sub-command 0x%02X is already registered", function, command,
                      subCommand);
  for (i = 0; i < SIM_CALLBACKS && p->callbacks[i].used; i++) {
  }
  if (i == SIM_CALLBACKS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: no more than %d callbacks per port", function, SIM_CALLBACKS);
  memset(&p->callbacks[i], 0, sizeof p->callbacks[i]);
  p->callbacks[i].used = 1;
  p->callbacks[i].command = command;
  p->callbacks[i].subCommand = subCommand;
  if (filterLength) memcpy(p->callbacks[i].filter, filter, filterLength);
  p->callbacks[i].filterLength = filterLength;
  p->callbacks[i].callback = callback;
  p->callbacks[i].cleanUp = cleanUp;
  p->callbacks[i].userData = userData;
  if (callbackHandle) *callbackHandle = &p->callbacks[i];
  return 0;
}

static void drop_callback(sim_port *p, sim_callback *c) {
  if (c->cleanUp) c->cleanUp(p->handle, (void *)(uintptr_t)c->userData);
  memset(c, 0, sizeof *c);
}

Qx_Error_t sim_Qx_AsyncCommunication_RemoveCallback(Qx_PortHandle_t portHandle, u8_t command, u8_t subCommand,
                                                    const u8_t *filter, u8_t filterLength) {
  static const char *const function = "Qx_AsyncCommunication_RemoveCallback";
  sim_port *p = sim_port_get(function, portHandle);
  sim_callback *c;
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  if (!filter) filterLength = 0;
  c = filterLength <= SIM_FILTER_SIZE ? find_callback(p, command, subCommand, filter, filterLength) : NULL;
  if (!c)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no callback for command 0x%02X, sub-command 0x%02X is registered",
                      function, command, subCommand);
  drop_callback(p, c);
  return 0;
}

void sim_commands_close_port(sim_port *port) {
  int i;
  for (i = 0; i < SIM_CALLBACKS; i++)
    if (port->callbacks[i].used) drop_callback(port, &port->callbacks[i]);
}
