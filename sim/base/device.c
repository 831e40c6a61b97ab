/*
 * The simulated device: one USB device with a fixed set of interfaces, the
 * ports opened on them, their locks and response timeouts, the interface
 * lists, names and configuration, and the update of all interfaces.
 */
#include <stdio.h>
#include <string.h>

#include "sim_device.h"

/* The device's own network settings, reported in every description. */
#define SIM_IP(a, b, c, d) ((u32_t)(a) | (u32_t)(b) << 8 | (u32_t)(c) << 16 | (u32_t)(d) << 24)
#define SIM_DEVICE_IP SIM_IP(192, 168, 1, 100)
#define SIM_DEVICE_MASK SIM_IP(255, 255, 255, 0)
#define SIM_DEVICE_GATEWAY SIM_IP(192, 168, 1, 1)
#define SIM_DEVICE_TCP_PORT 50000
#define SIM_HOST_SERIAL 310042u
#define SIM_PARAM_SIZE 1024u

static const sim_interface default_interfaces[SIM_INTERFACES] = {
    {QX_INTERFACE_TYPE__CAN, 0, 0, "CAN1", 0},       {QX_INTERFACE_TYPE__CAN, 0, 1, "CAN2", 0},
    {QX_INTERFACE_TYPE__LIN, 1, 0, "LIN1", 0},       {QX_INTERFACE_TYPE__TROVIX, 2, 0, "TROVIX1", 0},
    {QX_INTERFACE_TYPE__COMMON, 3, 0, "COMMON1", 0},
};

sim_interface sim_interfaces[SIM_INTERFACES];

#define SIM_MAX_PORTS 64
#define SIM_FIRST_HANDLE 0x10001u

static sim_port ports[SIM_MAX_PORTS];
static uint32_t next_handle;

static void device_reset(void) {
  memcpy(sim_interfaces, default_interfaces, sizeof sim_interfaces);
  memset(ports, 0, sizeof ports);
  next_handle = SIM_FIRST_HANDLE;
  sim_fpga_reset();
}

__attribute__((constructor)) static void device_init(void) {
  device_reset();
  qxsim_on_reset(device_reset);
}

/* ---- interfaces --------------------------------------------------------- */

void sim_interface_data(int index, Qx_InterfaceData_t *data) {
  const sim_interface *i = &sim_interfaces[index];
  memset(data, 0, sizeof *data);
  data->InterfaceType = i->type;
  data->ControllerNumber = i->controller;
  data->InterfaceNumber = i->number;
  data->HostCommunicationType = QX_HOST_COMMUNICATION_TYPE__USB;
  data->HostInterfaceType = QX_HOST_INTERFACE_TYPE__USB_01;
  data->Serial = QXSIM_DEVICE_SERIAL;
  data->DeviceIndex = 0;
  data->IpAddress.All = SIM_DEVICE_IP;
  data->TcpPort = SIM_DEVICE_TCP_PORT;
  data->PortNumber = 1;
  data->GeographicAddress = 0;
  data->SubNetMask.All = SIM_DEVICE_MASK;
  data->HostSerial = SIM_HOST_SERIAL;
  data->DefaultGateway.All = SIM_DEVICE_GATEWAY;
  data->UsbVersion.Major = 3;
  data->UsbVersion.Minor = 1;
}

int sim_interface_find(u8_t type, u8_t controller, u8_t number) {
  int i;
  for (i = 0; i < SIM_INTERFACES; i++) {
    const sim_interface *s = &sim_interfaces[i];
    if (s->type == type && s->controller == controller && s->number == number) return i;
  }
  return -1;
}

static int find_by_name(const char *name) {
  int i;
  for (i = 0; i < SIM_INTERFACES; i++)
    if (strcmp(sim_interfaces[i].name, name) == 0) return i;
  return -1;
}

/* The `instance`-th interface (from 0) of `type`, or -1. */
static int find_instance(u8_t type, u8_t instance) {
  int i;
  for (i = 0; i < SIM_INTERFACES; i++)
    if (sim_interfaces[i].type == type && instance-- == 0) return i;
  return -1;
}

/* ---- ports -------------------------------------------------------------- */

sim_port *sim_port_find(uint32_t handle) {
  int i;
  if (!handle) return NULL;
  for (i = 0; i < SIM_MAX_PORTS; i++)
    if (ports[i].handle == handle) return &ports[i];
  return NULL;
}

sim_port *sim_port_get(const char *function, uint32_t handle) {
  sim_port *p = sim_port_find(handle);
  if (!p) qxsim_check_port(function, handle);
  return p;
}

sim_port *sim_port_usable(const char *function, uint32_t handle, uint32_t *status) {
  sim_port *p = sim_port_find(handle);
  *status = qxsim_check_port_unlocked(function, handle);
  return *status ? NULL : p;
}

int qxsim_port_is_open(uint32_t handle) { return sim_port_find(handle) != NULL; }

int qxsim_port_interface_type(uint32_t handle) {
  sim_port *p = sim_port_find(handle);
  return p ? sim_interfaces[p->interface].type : -1;
}

const char *qxsim_port_interface_name(uint32_t handle) {
  sim_port *p = sim_port_find(handle);
  return p ? sim_interfaces[p->interface].name : NULL;
}

uint32_t qxsim_check_port(const char *function, uint32_t handle) {
  if (sim_port_find(handle)) return 0;
  return qxsim_fail(QXSIM_ERROR_INVALID_HANDLE, "%s: invalid port handle 0x%08X", function, handle);
}

uint32_t qxsim_check_port_unlocked(const char *function, uint32_t handle) {
  sim_port *p = sim_port_find(handle);
  const sim_interface *i;
  if (!p) return qxsim_check_port(function, handle);
  i = &sim_interfaces[p->interface];
  if (i->lock_owner && i->lock_owner != handle)
    return qxsim_fail(QXSIM_ERROR_LOCKED, "%s: interface %s is locked by port 0x%08X", function, i->name,
                      i->lock_owner);
  return 0;
}

uint32_t sim_port_open(const char *function, int index, uint32_t *handle) {
  int i;
  if (!handle) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no handle cell given", function);
  for (i = 0; i < SIM_MAX_PORTS; i++) {
    if (!ports[i].handle) {
      sim_port *p = &ports[i];
      memset(p, 0, sizeof *p);
      p->handle = next_handle++;
      p->interface = index;
      p->timeout = SIM_DEFAULT_TIMEOUT;
      p->monitorEnabled = 1;
      p->syncWithoutResponse = 1;
      *handle = p->handle;
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: too many open ports", function);
}

uint32_t qxsim_open_by_name(const char *function, const char *name, uint32_t *handle) {
  int i;
  if (!name) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no interface name given", function);
  i = find_by_name(name);
  if (i < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no interface named \"%s\"", function, name);
  return sim_port_open(function, i, handle);
}

static uint32_t open_by_selector(const char *function, const Qx_InterfaceInfo_t *info, uint32_t *handle) {
  int i;
  if (!info) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no interface selector given", function);
  i = info->Type <= 0xFF
          ? sim_interface_find((u8_t)info->Type, info->Parameters.ControllerNumber, info->Parameters.InterfaceNumber)
          : -1;
  if (i < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no interface of type %u on controller %u, interface %u", function,
                      (unsigned)info->Type, (unsigned)info->Parameters.ControllerNumber,
                      (unsigned)info->Parameters.InterfaceNumber);
  return sim_port_open(function, i, handle);
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
  sim_port *p = sim_port_get("Qx_CloseInterface", portHandle);
  sim_interface *i;
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  i = &sim_interfaces[p->interface];
  if (i->lock_owner == portHandle) i->lock_owner = 0;
  sim_commands_close_port(p);
  memset(p, 0, sizeof *p);
  return 0;
}

Qx_Error_t sim_Qx_CheckPortHandle(Qx_PortHandle_t portHandle) {
  return qxsim_check_port("Qx_CheckPortHandle", portHandle);
}

Qx_Error_t sim_Qx_RefreshDriverInfo(void) { return 0; }

/* ---- locks, timeouts, parameters ---------------------------------------- */

/* Lock status: 0 free, 1 held by the port asking, 2 held by another port. */
Qx_LockStatus_t sim_Qx_GetLockStatus(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_GetLockStatus", portHandle);
  uint32_t owner;
  if (!p) return 0;
  owner = sim_interfaces[p->interface].lock_owner;
  return owner == 0 ? 0 : owner == portHandle ? 1 : 2;
}

Qx_Error_t sim_Qx_GetLock(Qx_PortHandle_t portHandle) {
  uint32_t status;
  sim_port *p = sim_port_usable("Qx_GetLock", portHandle, &status);
  if (!p) return status;
  sim_interfaces[p->interface].lock_owner = portHandle;
  return 0;
}

Qx_Error_t sim_Qx_ReleaseLock(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_ReleaseLock", portHandle);
  sim_interface *i;
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  i = &sim_interfaces[p->interface];
  if (i->lock_owner != portHandle)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "Qx_ReleaseLock: port 0x%08X does not hold the lock of interface %s",
                      portHandle, i->name);
  i->lock_owner = 0;
  return 0;
}

Qx_Error_t sim_Qx_ReleaseAllLocks(Qx_ReleaseAllLocks_CmdFlags_t flags) {
  int i;
  (void)flags;
  for (i = 0; i < SIM_INTERFACES; i++) sim_interfaces[i].lock_owner = 0;
  return 0;
}

Qx_Error_t sim_Qx_SetResponseTimeout(Qx_PortHandle_t portHandle, u32_t timeout) {
  sim_port *p = sim_port_get("Qx_SetResponseTimeout", portHandle);
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  if (!timeout)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_SetResponseTimeout: a timeout of 0 ms is not allowed");
  p->timeout = timeout;
  return 0;
}

u32_t sim_Qx_GetResponseTimeout(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_GetResponseTimeout", portHandle);
  return p ? p->timeout : 0;
}

Qx_Error_t sim_Qx_GetParamSize(Qx_PortHandle_t portHandle, u32_t *const paramSize) {
  if (!sim_port_get("Qx_GetParamSize", portHandle)) return QXSIM_ERROR_INVALID_HANDLE;
  if (paramSize) *paramSize = SIM_PARAM_SIZE;
  return 0;
}

Qx_Error_t sim_Qx_Monitor_InstanceId_Set(Qx_PortHandle_t portHandle, u8_t instanceId) {
  sim_port *p = sim_port_get("Qx_Monitor_InstanceId_Set", portHandle);
  if (!p) return QXSIM_ERROR_INVALID_HANDLE;
  p->instanceId = instanceId;
  return 0;
}

u8_t sim_Qx_Monitor_InstanceId_Get(Qx_PortHandle_t portHandle) {
  sim_port *p = sim_port_get("Qx_Monitor_InstanceId_Get", portHandle);
  return p ? p->instanceId : 0;
}

Qx_Error_t sim_Qx_UpdateToDedicatedFirmware(Qx_PortHandle_t portHandle) {
  return qxsim_check_port_unlocked("Qx_UpdateToDedicatedFirmware", portHandle);
}

/* The simulated device is polled at full speed anyway. */
Qx_Error_t sim_Qx_SetFullSpeedPollingCycle(u32_t cycle) {
  (void)cycle;
  return 0;
}

/* ---- interface lists ---------------------------------------------------- */

/* Writes the descriptions of the interfaces reachable over a host
 * connection (`available` of them: all or none, the device being a USB
 * device): at most the capacity in the count cell, which then holds the
 * number written. */
static uint32_t list_interfaces(const char *function, int available, u32_t *listCount, Qx_InterfaceData_t *list,
                                u32_t elementSize) {
  u32_t i, n;
  if (!listCount) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no count cell given", function);
  if (elementSize != sizeof(Qx_InterfaceData_t))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: element size %u, expected %u", function, (unsigned)elementSize,
                      (unsigned)sizeof(Qx_InterfaceData_t));
  if (*listCount && !list) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no list given", function);
  n = *listCount < (u32_t)available ? *listCount : (u32_t)available;
  for (i = 0; i < n; i++) sim_interface_data((int)i, &list[i]);
  *listCount = n;
  return 0;
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList(Qx_Interface_GetInterfaceList_CmdFlags_t flags, u32_t *const listCount,
                                             Qx_InterfaceData_t *const list, const u32_t elementSize) {
  (void)flags;
  return list_interfaces("Qx_Interface_GetInterfaceList", SIM_INTERFACES, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_PciPxi(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                    const u32_t elementSize) {
  return list_interfaces("Qx_Interface_GetInterfaceList_PciPxi", 0, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_Usb(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                 const u32_t elementSize) {
  return list_interfaces("Qx_Interface_GetInterfaceList_Usb", SIM_INTERFACES, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_UsbVela(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                     const u32_t elementSize) {
  return list_interfaces("Qx_Interface_GetInterfaceList_UsbVela", 0, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_Ethernet(Qx_Interface_GetInterfaceList_Ethernet_CmdFlags_t flags,
                                                      u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                      const u32_t elementSize,
                                                      const Qx_Ethernet_AdapterInfo_t *const adapterInfo) {
  (void)flags;
  (void)adapterInfo;
  return list_interfaces("Qx_Interface_GetInterfaceList_Ethernet", 0, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_Serial(u8_t comPort, const u8_t *const comSettings, u32_t *const listCount,
                                                    Qx_InterfaceData_t *const list, const u32_t elementSize) {
  (void)comPort;
  (void)comSettings;
  return list_interfaces("Qx_Interface_GetInterfaceList_Serial", 0, listCount, list, elementSize);
}

/* The host's one network adapter. Like every output cell of the simulated
 * library, a NULL cell is skipped. */
Qx_Error_t sim_Qx_Ethernet_GetNetworkAdapterInfo(u32_t *const adapterCount,
                                                 Qx_Ethernet_AdapterInfo_t *const adapterInfo) {
  if (adapterCount) *adapterCount = 1;
  if (adapterInfo) {
    adapterInfo->IpAddress.All = SIM_IP(192, 168, 1, 10);
    adapterInfo->Mask.All = SIM_DEVICE_MASK;
  }
  return 0;
}

Qx_Error_t sim_Qx_Interface_GetSerialNumber(Qx_PortHandle_t portHandle, u32_t *const serialNumber) {
  if (!sim_port_get("Qx_Interface_GetSerialNumber", portHandle)) return QXSIM_ERROR_INVALID_HANDLE;
  if (serialNumber) *serialNumber = QXSIM_DEVICE_SERIAL;
  return 0;
}

/* ---- interface names and configuration ---------------------------------- */

static int find_described(const char *function, const Qx_InterfaceData_t *data, uint32_t *status) {
  int i;
  *status = 0;
  if (!data) {
    *status = qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no interface description given", function);
    return -1;
  }
  i = data->Serial == QXSIM_DEVICE_SERIAL
          ? sim_interface_find(data->InterfaceType, data->ControllerNumber, data->InterfaceNumber)
          : -1;
  if (i < 0)
    *status = qxsim_fail(QXSIM_ERROR_NOT_FOUND,
                         "%s: no interface of type %u on controller %u, interface %u of device %u", function,
                         data->InterfaceType, data->ControllerNumber, data->InterfaceNumber, (unsigned)data->Serial);
  return i;
}

/* Copies `text` into a caller's buffer of *size bytes; the size cell gets
 * the text's size with its zero byte (also when it does not fit). */
static uint32_t copy_text(const char *function, const char *text, char *buffer, u32_t *size) {
  u32_t needed = (u32_t)strlen(text) + 1;
  if (!buffer || !size) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no text buffer given", function);
  if (*size < needed) {
    u32_t given = *size;
    *size = needed;
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "%s: text of %u bytes does not fit a buffer of %u bytes", function,
                      (unsigned)needed, (unsigned)given);
  }
  memcpy(buffer, text, needed);
  *size = needed;
  return 0;
}

Qx_Error_t sim_Qx_Interface_Name_Get(const Qx_InterfaceData_t *const interfaceData, u32_t *const textSize,
                                     char *const text) {
  uint32_t status;
  int i = find_described("Qx_Interface_Name_Get", interfaceData, &status);
  if (i < 0) return status;
  return copy_text("Qx_Interface_Name_Get", sim_interfaces[i].name, text, textSize);
}

Qx_Error_t sim_Qx_Interface_Name_Set(const Qx_InterfaceData_t *const interfaceData, const char *const name) {
  uint32_t status;
  int other, i = find_described("Qx_Interface_Name_Set", interfaceData, &status);
  if (i < 0) return status;
  if (!name || !name[0]) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Interface_Name_Set: no name given");
  if (strlen(name) >= SIM_NAME_SIZE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Interface_Name_Set: name longer than %d bytes",
                      SIM_NAME_SIZE - 1);
  other = find_by_name(name);
  if (other >= 0 && other != i)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_Interface_Name_Set: name \"%s\" is already used", name);
  snprintf(sim_interfaces[i].name, SIM_NAME_SIZE, "%s", name);
  return 0;
}

/* The configuration names the interfaces, in device order. */
Qx_Error_t sim_Qx_InterfaceConfig_ConfigurationName_Get(u32_t index, char *const text) {
  if (index >= SIM_INTERFACES)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND,
                      "Qx_InterfaceConfig_ConfigurationName_Get: no configuration %u (%d configured)", (unsigned)index,
                      SIM_INTERFACES);
  if (!text)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_InterfaceConfig_ConfigurationName_Get: no text buffer given");
  snprintf(text, SIM_NAME_SIZE, "%s", sim_interfaces[index].name);
  return 0;
}

Qx_Error_t sim_Qx_InterfaceConfig_GetInterfaceInfoByName(const char *const name,
                                                         Qx_InterfaceInfo_t *const interfaceInfo) {
  int i;
  if (!name)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_InterfaceConfig_GetInterfaceInfoByName: no name given");
  if (!interfaceInfo)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "Qx_InterfaceConfig_GetInterfaceInfoByName: no selector given");
  i = find_by_name(name);
  if (i < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "Qx_InterfaceConfig_GetInterfaceInfoByName: no interface named \"%s\"",
                      name);
  memset(interfaceInfo, 0, sizeof *interfaceInfo);
  interfaceInfo->Type = sim_interfaces[i].type;
  interfaceInfo->Parameters.ControllerNumber = sim_interfaces[i].controller;
  interfaceInfo->Parameters.InterfaceNumber = sim_interfaces[i].number;
  interfaceInfo->Parameters.u.CardNumber = 0; /* device index of the one device */
  return 0;
}

/* ---- sibling ports ------------------------------------------------------ */

/* The handle of a port on interface `index`: an open one, else a new one. */
static uint32_t sibling_port(const char *function, int index, Qx_PortHandle_t *sibling) {
  int i;
  for (i = 0; i < SIM_MAX_PORTS; i++) {
    if (ports[i].handle && ports[i].interface == index) {
      *sibling = ports[i].handle;
      return 0;
    }
  }
  return sim_port_open(function, index, sibling);
}

static uint32_t get_sibling(const char *function, Qx_PortHandle_t portHandle, u8_t interfaceType, u8_t instance,
                            Qx_PortHandle_t *sibling) {
  int i;
  if (!sim_port_get(function, portHandle)) return QXSIM_ERROR_INVALID_HANDLE;
  if (!sibling) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no handle cell given", function);
  i = find_instance(interfaceType, instance);
  if (i < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no interface of type %u, instance %u on the device of port 0x%08X",
                      function, interfaceType, instance, portHandle);
  return sibling_port(function, i, sibling);
}

Qx_Error_t sim_Qx_Interface_GetPortHandleByInterfaceType(Qx_PortHandle_t portHandle, u8_t interfaceType,
                                                         Qx_PortHandle_t *siblingPortHandle) {
  return get_sibling("Qx_Interface_GetPortHandleByInterfaceType", portHandle, interfaceType, 0, siblingPortHandle);
}

Qx_Error_t sim_Qx_Interface_GetPortHandleByInterfaceTypeAndInstance(Qx_PortHandle_t portHandle, u8_t interfaceType,
                                                                    u8_t instance, Qx_PortHandle_t *siblingPortHandle) {
  return get_sibling("Qx_Interface_GetPortHandleByInterfaceTypeAndInstance", portHandle, interfaceType, instance,
                     siblingPortHandle);
}

/* ---- updating all interfaces -------------------------------------------- */

/* Checks the update file name and the interface the command names; the
 * simulated firmware update itself has nothing to do. Only the first record
 * that InterfaceData points to is read: the bindings can hand over no more
 * than one, and reading further could run past the caller's storage. */
Qx_Error_t sim_Qx_Interface_UpdateAllInterfaces(const char *const fileName,
                                                const Qx_Interface_UpdateAllInterfaces_Cmd_t *const command) {
  static const char *const function = "Qx_Interface_UpdateAllInterfaces";
  const Qx_InterfaceData_t *d;
  if (!fileName) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no update file given", function);
  if (!command) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: no command given", function);
  if (!command->NumberOfInterfaces) return 0;
  d = command->InterfaceData;
  if (!d)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s: %u interfaces announced but no interface data given", function,
                      (unsigned)command->NumberOfInterfaces);
  if (sim_interface_find(d->InterfaceType, d->ControllerNumber, d->InterfaceNumber) < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "%s: no interface of type %u on controller %u, interface %u", function,
                      d->InterfaceType, d->ControllerNumber, d->InterfaceNumber);
  return 0;
}

void *qxsim_port_slot(const char *function, uint32_t handle, void *slots, size_t count, size_t size) {
  unsigned char *base = slots, *free_slot = NULL;
  size_t i;
  if (qxsim_check_port(function, handle)) return NULL;
  for (i = 0; i < count; i++) {
    unsigned char *slot = base + i * size;
    uint32_t owner;
    memcpy(&owner, slot, sizeof owner);
    if (owner == handle) return slot;
    if (!free_slot && (!owner || !qxsim_port_is_open(owner))) free_slot = slot;
  }
  if (!free_slot) {
    qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%s: too many ports in use", function);
    return NULL;
  }
  memset(free_slot, 0, size);
  memcpy(free_slot, &handle, sizeof handle);
  return free_slot;
}
