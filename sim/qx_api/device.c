/*
 * The simulated device: one USB device with a fixed set of interfaces, and
 * the ports opened on them.
 */
#include <stdio.h>
#include <string.h>

#include "qx_api_behaviour.h"
#include "qxsim_device.h"

typedef struct {
  u8_t type;
  u8_t controller;
  u8_t number;
  char name[64];
} sim_interface;

static const sim_interface default_interfaces[] = {
    {QX_INTERFACE_TYPE__CAN, 0, 0, "CAN1"},
    {QX_INTERFACE_TYPE__CAN, 0, 1, "CAN2"},
    {QX_INTERFACE_TYPE__LIN, 1, 0, "LIN1"},
    {QX_INTERFACE_TYPE__TROVIX, 2, 0, "TROVIX1"},
    {QX_INTERFACE_TYPE__COMMON, 3, 0, "COMMON1"},
};
#define SIM_INTERFACES (sizeof default_interfaces / sizeof default_interfaces[0])

static sim_interface interfaces[SIM_INTERFACES];

#define SIM_MAX_PORTS 64
#define SIM_FIRST_HANDLE 0x10001u

typedef struct {
  uint32_t handle; /* 0: slot free */
  int interface;
} sim_port;

static sim_port ports[SIM_MAX_PORTS];
static uint32_t next_handle;

static void device_reset(void) {
  memcpy(interfaces, default_interfaces, sizeof interfaces);
  memset(ports, 0, sizeof ports);
  next_handle = SIM_FIRST_HANDLE;
}

__attribute__((constructor)) static void device_init(void) {
  device_reset();
  qxsim_on_reset(device_reset);
}

static sim_port *find_port(uint32_t handle) {
  int i;
  if (!handle) return NULL;
  for (i = 0; i < SIM_MAX_PORTS; i++)
    if (ports[i].handle == handle) return &ports[i];
  return NULL;
}

int qxsim_port_is_open(uint32_t handle) { return find_port(handle) != NULL; }

int qxsim_port_interface_type(uint32_t handle) {
  sim_port *p = find_port(handle);
  return p ? interfaces[p->interface].type : -1;
}

uint32_t qxsim_check_port(const char *function, uint32_t handle) {
  if (find_port(handle)) return 0;
  return qxsim_fail(QXSIM_ERROR_INVALID_HANDLE, "%s: invalid port handle 0x%08X", function, handle);
}

static uint32_t open_interface(const char *function, int index, uint32_t *handle) {
  int i;
  for (i = 0; i < SIM_MAX_PORTS; i++) {
    if (!ports[i].handle) {
      ports[i].handle = next_handle++;
      ports[i].interface = index;
      if (handle) *handle = ports[i].handle;
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: too many open ports", function);
}

uint32_t qxsim_open_by_name(const char *function, const char *name, uint32_t *handle) {
  size_t i;
  if (!name) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no interface name given", function);
  for (i = 0; i < SIM_INTERFACES; i++)
    if (strcmp(interfaces[i].name, name) == 0) return open_interface(function, (int)i, handle);
  return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no interface named \"%s\"", function, name);
}

static uint32_t open_by_selector(const char *function, const Qx_InterfaceInfo_t *info, uint32_t *handle) {
  size_t i;
  if (!info) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no interface selector given", function);
  for (i = 0; i < SIM_INTERFACES; i++) {
    if (interfaces[i].type == info->Type && interfaces[i].controller == info->Parameters.ControllerNumber &&
        interfaces[i].number == info->Parameters.InterfaceNumber)
      return open_interface(function, (int)i, handle);
  }
  return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no interface of type %u on controller %u, interface %u", function,
                    (unsigned)info->Type, (unsigned)info->Parameters.ControllerNumber,
                    (unsigned)info->Parameters.InterfaceNumber);
}

Qx_Error_t sim_Qx_OpenInterface(const Qx_InterfaceInfo_t *const interfaceInfo, Qx_PortHandle_t *const newPortHandle) {
  return open_by_selector("Qx_OpenInterface", interfaceInfo, newPortHandle);
}

Qx_Error_t sim_Qx_OpenInterface2(Qx_OpenInterface2_CmdFlags_t flags, const Qx_InterfaceInfo_t *const interfaceInfo,
                                 Qx_PortHandle_t *const newPortHandle) {
  (void)flags;
  return open_by_selector("Qx_OpenInterface2", interfaceInfo, newPortHandle);
}

Qx_Error_t sim_Qx_CloseInterface(Qx_PortHandle_t portHandle) {
  sim_port *p = find_port(portHandle);
  if (!p) return qxsim_check_port("Qx_CloseInterface", portHandle);
  p->handle = 0;
  return 0;
}

Qx_Error_t sim_Qx_CheckPortHandle(Qx_PortHandle_t portHandle) {
  return qxsim_check_port("Qx_CheckPortHandle", portHandle);
}
