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

#define SIM_MONITOR_SIZE 1024u
#define SIM_CALLBACKS 8
#define SIM_FILTER_SIZE 8

typedef struct {
  int used;
  u8_t command;
  u8_t subCommand;
  u8_t filter[SIM_FILTER_SIZE];
  u8_t filterLength;
  Qx_AsyncCommunication_CallbackFunction_t callback;
  Qx_AsyncCommunication_CleanUpFunction_t cleanUp;
  u32_t userData;
} sim_callback;

/* What a port's commands go through. */
typedef struct {
  uint32_t handle; /* 0: slot free */
  int monitorEnabled;
  u32_t monitorLength;
  u8_t monitor[SIM_MONITOR_SIZE];
  int asyncEnabled;
  Qx_AsyncCommunication_ErrorCallback_t errorCallback;
  int syncWithoutResponse;
  sim_callback callbacks[SIM_CALLBACKS];
} command_port;

static command_port ports[QXSIM_MAX_PORTS];

static void port_start(void *record) {
  command_port *p = record;
  p->monitorEnabled = 1;
  p->syncWithoutResponse = 1;
}

static void drop_callback(command_port *p, sim_callback *c) {
  if (c->cleanUp) c->cleanUp(p->handle, (void *)(uintptr_t)c->userData);
  memset(c, 0, sizeof *c);
}

/* A closing port's callbacks are dropped: their clean-up functions run. */
static void port_close(void *record) {
  command_port *p = record;
  int i;
  for (i = 0; i < SIM_CALLBACKS; i++)
    if (p->callbacks[i].used) drop_callback(p, &p->callbacks[i]);
}

static qxsim_port_table table = QXSIM_PORT_TABLE(ports, port_start, port_close);

static uint32_t port_of(Qx_PortHandle_t handle, command_port **p) { return qxsim_port_state(&table, handle, p); }

/* As port_of, for a port whose interface no other port has locked. */
static uint32_t usable_port_of(Qx_PortHandle_t handle, command_port **p) {
  *p = NULL;
  QXSIM_TRY(qxsim_check_port_unlocked(handle));
  return port_of(handle, p);
}

/* ---- monitor ------------------------------------------------------------ */

/* Appends a command (command byte, data length, data) to the port's monitor
 * while it is enabled; what does not fit is dropped. */
static void monitor_record(command_port *port, u8_t command, const u8_t *data, u32_t length) {
  u32_t n = length > 0xFF ? 0xFF : length;
  if (!port->monitorEnabled || port->monitorLength + 2 + n > SIM_MONITOR_SIZE) return;
  port->monitor[port->monitorLength++] = command;
  port->monitor[port->monitorLength++] = (u8_t)n;
  if (n) memcpy(port->monitor + port->monitorLength, data, n);
  port->monitorLength += n;
}

u8_t sim_Qx_IsMonitorEnabled(Qx_PortHandle_t portHandle) {
  command_port *p;
  return port_of(portHandle, &p) ? 0 : (u8_t)p->monitorEnabled;
}

/* Hands out the recorded bytes, oldest first: at most the capacity in the
 * count cell, which then holds the number written; `moreItems` tells
 * whether bytes remain. */
Qx_Error_t sim_Qx_GetMonitorItems(Qx_PortHandle_t portHandle, u8_t *const itemBuffer, u32_t *const itemCount,
                                  u8_t *const moreItems) {
  command_port *p;
  u32_t n;
  QXSIM_TRY(port_of(portHandle, &p));
  if (!p->monitorEnabled)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the monitor of port 0x%08X is closed", portHandle);
  QXSIM_TRY(qxsim_need(itemCount, "count cell"));
  QXSIM_TRY(qxsim_need(itemBuffer || !*itemCount, "item buffer"));
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
  command_port *p;
  QXSIM_TRY(port_of(portHandle, &p));
  if (!p->monitorEnabled)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the monitor of port 0x%08X is already closed", portHandle);
  p->monitorEnabled = 0;
  p->monitorLength = 0;
  return 0;
}

/* ---- commands ----------------------------------------------------------- */

Qx_Error_t sim_Qx_Command(Qx_PortHandle_t portHandle, u8_t command, const u8_t *const data, const u32_t dataLength) {
  command_port *p;
  QXSIM_TRY(usable_port_of(portHandle, &p));
  if (dataLength && !data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u data bytes announced but no data given", (unsigned)dataLength);
  monitor_record(p, command, data, dataLength);
  return 0;
}

Qx_Error_t sim_Qx_CommandWithResponse(Qx_PortHandle_t portHandle, u8_t command, const u8_t *const data,
                                      const u32_t dataLength, u8_t *const responseBuffer, u32_t *const responseCount) {
  command_port *p;
  QXSIM_TRY(usable_port_of(portHandle, &p));
  QXSIM_TRY(sim_echo_response(command, NULL, 0, data, dataLength, responseBuffer, responseCount));
  monitor_record(p, command, data, dataLength);
  return 0;
}

Qx_Error_t sim_Qx_CommandWithResponseEx(Qx_PortHandle_t portHandle, u8_t command, u8_t subCommand, u8_t mode,
                                        const u8_t *const data, const u32_t dataLength, u8_t *const responseBuffer,
                                        u32_t *const responseCount) {
  command_port *p;
  QXSIM_TRY(usable_port_of(portHandle, &p));
  if (mode > QX_COMMAND_WITH_RESPONSE_MODE__ASYNC)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown mode %u", mode);
  QXSIM_TRY(sim_echo_response(command, &subCommand, 1, data, dataLength, responseBuffer, responseCount));
  monitor_record(p, command, data, dataLength);
  return 0;
}

/* ---- asynchronous communication ----------------------------------------- */

Qx_Error_t sim_Qx_AsyncCommunication_Enable(Qx_PortHandle_t portHandle,
                                            const Qx_AsyncCommunication_ErrorCallback_t errorCallback) {
  command_port *p;
  QXSIM_TRY(port_of(portHandle, &p));
  p->asyncEnabled = 1;
  p->errorCallback = errorCallback;
  return 0;
}

Qx_Error_t sim_Qx_AsyncCommunication_Disable(Qx_PortHandle_t portHandle) {
  command_port *p;
  QXSIM_TRY(port_of(portHandle, &p));
  p->asyncEnabled = 0;
  p->errorCallback = NULL;
  return 0;
}

Qx_Error_t sim_Qx_AsyncCommunication_FunctionsWithoutResponse_Sync(Qx_PortHandle_t portHandle) {
  command_port *p;
  QXSIM_TRY(port_of(portHandle, &p));
  p->syncWithoutResponse = 1;
  return 0;
}

Qx_Error_t sim_Qx_AsyncCommunication_FunctionsWithoutResponse_Async(Qx_PortHandle_t portHandle) {
  command_port *p;
  QXSIM_TRY(port_of(portHandle, &p));
  if (!p->asyncEnabled)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "asynchronous communication of port 0x%08X is not enabled",
                      portHandle);
  p->syncWithoutResponse = 0;
  return 0;
}

u8_t sim_Qx_AsyncCommunication_FunctionsWithoutResponse_IsSync(Qx_PortHandle_t portHandle) {
  command_port *p;
  return port_of(portHandle, &p) ? 0 : (u8_t)p->syncWithoutResponse;
}

static sim_callback *find_callback(command_port *p, u8_t command, u8_t subCommand, const u8_t *filter,
                                   u8_t filterLength) {
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
  command_port *p;
  int i;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(callback, "callback function"));
  if (!filter) filterLength = 0; /* no filter: every response to the command matches */
  if (filterLength > SIM_FILTER_SIZE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "filter of %u bytes, at most %d allowed", filterLength,
                      SIM_FILTER_SIZE);
  if (find_callback(p, command, subCommand, filter, filterLength))
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE,
                      "a callback for command 0x%02X, sub-command 0x%02X is already registered", command, subCommand);
  for (i = 0; i < SIM_CALLBACKS && p->callbacks[i].used; i++) {
  }
  if (i == SIM_CALLBACKS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "no more than %d callbacks per port", SIM_CALLBACKS);
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

Qx_Error_t sim_Qx_AsyncCommunication_RemoveCallback(Qx_PortHandle_t portHandle, u8_t command, u8_t subCommand,
                                                    const u8_t *filter, u8_t filterLength) {
  command_port *p;
  sim_callback *c;
  QXSIM_TRY(port_of(portHandle, &p));
  if (!filter) filterLength = 0;
  c = filterLength <= SIM_FILTER_SIZE ? find_callback(p, command, subCommand, filter, filterLength) : NULL;
  if (!c)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no callback for command 0x%02X, sub-command 0x%02X is registered",
                      command, subCommand);
  drop_callback(p, c);
  return 0;
}
