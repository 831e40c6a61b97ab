/*
 * Internal state of the simulated base library: the device's interfaces and
 * the ports opened on them, shared by the behaviour files of sim/base/.
 * Other simulated libraries see only sim/core/qxsim_device.h.
 */
#ifndef SIM_DEVICE_H
#define SIM_DEVICE_H

#include "qx_api_behaviour.h"
#include "qxsim_device.h"

/* ---- the device --------------------------------------------------------- */

#define SIM_NAME_SIZE 64

typedef struct {
  u8_t type;
  u8_t controller;
  u8_t number;
  char name[SIM_NAME_SIZE]; /* configured name, changed by Qx_Interface_Name_Set */
  uint32_t lock_owner;      /* handle of the port holding the lock, 0: none */
} sim_interface;

#define SIM_INTERFACES 5
extern sim_interface sim_interfaces[SIM_INTERFACES];

/* Fills the description of interface `index` as the interface lists give it. */
void sim_interface_data(int index, Qx_InterfaceData_t *data);

/* Index of the interface a description or selector names, or -1. */
int sim_interface_find(u8_t type, u8_t controller, u8_t number);

/* ---- ports -------------------------------------------------------------- */

#define SIM_DEFAULT_TIMEOUT 1000u
#define SIM_MONITOR_SIZE 1024u
#define SIM_CALLBACKS 8
#define SIM_FILTER_SIZE 8
#define SIM_FW_DATA_SIZE 1024u

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

typedef struct {
  int enabled;
  u32_t size;
  int pending; /* a message waits for Qx_Fw_Read */
  u8_t header;
  u8_t responseType;
  u8_t command;
  u32_t length;
  u8_t data[SIM_FW_DATA_SIZE];
} sim_fw_channel;

typedef struct {
  uint32_t handle; /* 0: slot free */
  int interface;
  u32_t timeout;
  u8_t instanceId;
  int monitorEnabled;
  u32_t monitorLength;
  u8_t monitor[SIM_MONITOR_SIZE];
  int asyncEnabled;
  Qx_AsyncCommunication_ErrorCallback_t errorCallback;
  int syncWithoutResponse;
  sim_callback callbacks[SIM_CALLBACKS];
  sim_fw_channel fw;
} sim_port;

/* The open port of `handle`, or NULL. */
sim_port *sim_port_find(uint32_t handle);

/* The open port of `handle`; NULL with the last error set (invalid handle). */
sim_port *sim_port_get(const char *function, uint32_t handle);

/* As sim_port_get, and the port's interface must not be locked by another
 * port (QXSIM_ERROR_LOCKED). */
sim_port *sim_port_usable(const char *function, uint32_t handle, uint32_t *status);

/* Opens interface `index`; 0 or a failure status. */
uint32_t sim_port_open(const char *function, int index, uint32_t *handle);

/* Appends a command (command byte, data length, data) to the port's monitor
 * while it is enabled; what does not fit is dropped. */
void sim_monitor_record(sim_port *port, u8_t command, const u8_t *data, u32_t length);

/* Releases what a port holds when it is closed (callbacks: their clean-up
 * functions are called). */
void sim_commands_close_port(sim_port *port);

/* Response of the device to a command: the command plus 0x40, the prefix
 * bytes, then the data echoed, cut to the capacity in `*capacity`, which
 * then holds the number of bytes written. */
uint32_t sim_echo_response(const char *function, u8_t command, const u8_t *prefix, u32_t prefixLength, const u8_t *data,
                           u32_t dataLength, u8_t *response, u32_t *capacity);

/* Puts the FPGA and the APIX link back to their start state. */
void sim_fpga_reset(void);

#endif
