/*
 * Behaviours of the simulated base library around the device's interfaces:
 * opening and closing ports, locks, response timeouts, the interface lists,
 * names and configuration, sibling ports and the update of all interfaces.
 * The interfaces and ports themselves are the core's (qxsim_device.h).
 */
#include <stdio.h>
#include <string.h>

#include "sim_device.h"

#define SIM_DEFAULT_TIMEOUT 1000u
#define SIM_PARAM_SIZE 1024u

/* Settings of a port. */
typedef struct {
  uint32_t handle; /* 0: slot free */
  u32_t timeout;
  u8_t instanceId;
} port_settings;

static port_settings settings[QXSIM_MAX_PORTS];

static void settings_start(void *record) { ((port_settings *)record)->timeout = SIM_DEFAULT_TIMEOUT; }

static qxsim_port_table settings_table = QXSIM_PORT_TABLE(settings, settings_start, NULL);

static uint32_t settings_of(Qx_PortHandle_t handle, port_settings **s) {
  return qxsim_port_state(&settings_table, handle, s);
}

/* An IPv4 address from its bytes, first octet first. */
static u32_t ip_address(const u8_t bytes[4]) {
  u32_t value;
  memcpy(&value, bytes, sizeof value);
  return value;
}

/* The description of interface `index` as the interface lists give it. */
static void describe_interface(int index, Qx_InterfaceData_t *data) {
  static const u8_t ip[4] = QXSIM_DEVICE_IP_ADDRESS, mask[4] = QXSIM_DEVICE_SUBNET_MASK,
                    gateway[4] = QXSIM_DEVICE_GATEWAY;
  const qxsim_interface *i = qxsim_interface_at(index);
  memset(data, 0, sizeof *data);
  data->InterfaceType = i->type;
  data->ControllerNumber = i->controller;
  data->InterfaceNumber = i->number;
  data->HostCommunicationType = QXSIM_HOST_COMMUNICATION_TYPE;
  data->HostInterfaceType = QXSIM_HOST_INTERFACE_TYPE;
  data->Serial = QXSIM_DEVICE_SERIAL;
  data->DeviceIndex = 0;
  data->IpAddress.All = ip_address(ip);
  data->TcpPort = QXSIM_DEVICE_HOST_TCP_PORT;
  data->PortNumber = 1;
  data->GeographicAddress = 0;
  data->SubNetMask.All = ip_address(mask);
  data->HostSerial = QXSIM_HOST_SERIAL;
  data->DefaultGateway.All = ip_address(gateway);
  data->UsbVersion.Major = 3;
  data->UsbVersion.Minor = 1;
}

/* ---- opening and closing ------------------------------------------------ */

static uint32_t open_by_selector(const Qx_InterfaceInfo_t *info, uint32_t *handle) {
  int i;
  QXSIM_TRY(qxsim_need(info, "interface selector"));
  i = info->Type <= 0xFF
          ? qxsim_interface_find(info->Type, info->Parameters.ControllerNumber, info->Parameters.InterfaceNumber)
          : -1;
  if (i < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no interface of type %u on controller %u, interface %u",
                      (unsigned)info->Type, (unsigned)info->Parameters.ControllerNumber,
                      (unsigned)info->Parameters.InterfaceNumber);
  return qxsim_open_port(i, handle);
}

Qx_Error_t sim_Qx_OpenInterface(const Qx_InterfaceInfo_t *const interfaceInfo, Qx_PortHandle_t *const newPortHandle) {
  return open_by_selector(interfaceInfo, newPortHandle);
}

Qx_Error_t sim_Qx_OpenInterface2(Qx_OpenInterface2_CmdFlags_t flags, const Qx_InterfaceInfo_t *const interfaceInfo,
                                 Qx_PortHandle_t *const newPortHandle) {
  (void)flags;
  return open_by_selector(interfaceInfo, newPortHandle);
}

Qx_Error_t sim_Qx_CloseInterface(Qx_PortHandle_t portHandle) { return qxsim_close_port(portHandle); }

Qx_Error_t sim_Qx_CheckPortHandle(Qx_PortHandle_t portHandle) { return qxsim_check_port(portHandle); }

Qx_Error_t sim_Qx_RefreshDriverInfo(void) { return 0; }

/* ---- locks, timeouts, parameters ---------------------------------------- */

/* The interface of an open port. */
static qxsim_interface *interface_of(Qx_PortHandle_t portHandle) {
  return qxsim_interface_at(qxsim_port_interface(portHandle));
}

/* Lock status: 0 free, 1 held by the port asking, 2 held by another port. */
Qx_LockStatus_t sim_Qx_GetLockStatus(Qx_PortHandle_t portHandle) {
  uint32_t owner;
  if (qxsim_check_port(portHandle)) return 0;
  owner = interface_of(portHandle)->lock_owner;
  return owner == 0 ? 0 : owner == portHandle ? 1 : 2;
}

Qx_Error_t sim_Qx_GetLock(Qx_PortHandle_t portHandle) {
  QXSIM_TRY(qxsim_check_port_unlocked(portHandle));
  interface_of(portHandle)->lock_owner = portHandle;
  return 0;
}

Qx_Error_t sim_Qx_ReleaseLock(Qx_PortHandle_t portHandle) {
  qxsim_interface *i;
  QXSIM_TRY(qxsim_check_port(portHandle));
  i = interface_of(portHandle);
  if (i->lock_owner != portHandle)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "port 0x%08X does not hold the lock of interface %s", portHandle,
                      i->name);
  i->lock_owner = 0;
  return 0;
}

Qx_Error_t sim_Qx_ReleaseAllLocks(Qx_ReleaseAllLocks_CmdFlags_t flags) {
  int i;
  (void)flags;
  for (i = 0; i < QXSIM_INTERFACES; i++) qxsim_interface_at(i)->lock_owner = 0;
  return 0;
}

Qx_Error_t sim_Qx_SetResponseTimeout(Qx_PortHandle_t portHandle, u32_t timeout) {
  port_settings *s;
  QXSIM_TRY(settings_of(portHandle, &s));
  if (!timeout) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "a timeout of 0 ms is not allowed");
  s->timeout = timeout;
  return 0;
}

u32_t sim_Qx_GetResponseTimeout(Qx_PortHandle_t portHandle) {
  port_settings *s;
  return settings_of(portHandle, &s) ? 0 : s->timeout;
}

Qx_Error_t sim_Qx_GetParamSize(Qx_PortHandle_t portHandle, u32_t *const paramSize) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  if (paramSize) *paramSize = SIM_PARAM_SIZE;
  return 0;
}

Qx_Error_t sim_Qx_Monitor_InstanceId_Set(Qx_PortHandle_t portHandle, u8_t instanceId) {
  port_settings *s;
  QXSIM_TRY(settings_of(portHandle, &s));
  s->instanceId = instanceId;
  return 0;
}

u8_t sim_Qx_Monitor_InstanceId_Get(Qx_PortHandle_t portHandle) {
  port_settings *s;
  return settings_of(portHandle, &s) ? 0 : s->instanceId;
}

Qx_Error_t sim_Qx_UpdateToDedicatedFirmware(Qx_PortHandle_t portHandle) {
  return qxsim_check_port_unlocked(portHandle);
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
static uint32_t list_interfaces(int available, u32_t *listCount, Qx_InterfaceData_t *list, u32_t elementSize) {
  u32_t i, n;
  QXSIM_TRY(qxsim_need(listCount, "count cell"));
  if (elementSize != sizeof(Qx_InterfaceData_t))
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "element size %u, expected %u", (unsigned)elementSize,
                      (unsigned)sizeof(Qx_InterfaceData_t));
  QXSIM_TRY(qxsim_need(list || !*listCount, "list"));
  n = *listCount < (u32_t)available ? *listCount : (u32_t)available;
  for (i = 0; i < n; i++) describe_interface((int)i, &list[i]);
  *listCount = n;
  return 0;
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList(Qx_Interface_GetInterfaceList_CmdFlags_t flags, u32_t *const listCount,
                                             Qx_InterfaceData_t *const list, const u32_t elementSize) {
  (void)flags;
  return list_interfaces(QXSIM_INTERFACES, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_PciPxi(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                    const u32_t elementSize) {
  return list_interfaces(0, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_Usb(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                 const u32_t elementSize) {
  return list_interfaces(QXSIM_INTERFACES, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_UsbVela(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                     const u32_t elementSize) {
  return list_interfaces(0, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_Ethernet(Qx_Interface_GetInterfaceList_Ethernet_CmdFlags_t flags,
                                                      u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                      const u32_t elementSize,
                                                      const Qx_Ethernet_AdapterInfo_t *const adapterInfo) {
  (void)flags;
  (void)adapterInfo;
  return list_interfaces(0, listCount, list, elementSize);
}

Qx_Error_t sim_Qx_Interface_GetInterfaceList_Serial(u8_t comPort, const u8_t *const comSettings, u32_t *const listCount,
                                                    Qx_InterfaceData_t *const list, const u32_t elementSize) {
  (void)comPort;
  (void)comSettings;
  return list_interfaces(0, listCount, list, elementSize);
}

/* The host adapter the device is reached through: one record, as the
 * bindings hand over one. Like every output cell of the simulated library,
 * a NULL cell is skipped. */
Qx_Error_t sim_Qx_Ethernet_GetNetworkAdapterInfo(u32_t *const adapterCount,
                                                 Qx_Ethernet_AdapterInfo_t *const adapterInfo) {
  static const u8_t adapters[][2][4] = QXSIM_HOST_ADAPTERS;
  if (adapterCount) *adapterCount = 1;
  if (adapterInfo) {
    adapterInfo->IpAddress.All = ip_address(adapters[0][0]);
    adapterInfo->Mask.All = ip_address(adapters[0][1]);
  }
  return 0;
}

Qx_Error_t sim_Qx_Interface_GetSerialNumber(Qx_PortHandle_t portHandle, u32_t *const serialNumber) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  if (serialNumber) *serialNumber = QXSIM_DEVICE_SERIAL;
  return 0;
}

/* ---- interface names and configuration ---------------------------------- */

/* The interface a description names, written into *index. */
static uint32_t find_described(const Qx_InterfaceData_t *data, int *index) {
  QXSIM_TRY(qxsim_need(data, "interface description"));
  *index = data->Serial == QXSIM_DEVICE_SERIAL
               ? qxsim_interface_find(data->InterfaceType, data->ControllerNumber, data->InterfaceNumber)
               : -1;
  if (*index < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no interface of type %u on controller %u, interface %u of device %u",
                      data->InterfaceType, data->ControllerNumber, data->InterfaceNumber, (unsigned)data->Serial);
  return 0;
}

Qx_Error_t sim_Qx_Interface_Name_Get(const Qx_InterfaceData_t *const interfaceData, u32_t *const textSize,
                                     char *const text) {
  int i;
  QXSIM_TRY(find_described(interfaceData, &i));
  return sim_copy_text(qxsim_interface_at(i)->name, text, textSize);
}

Qx_Error_t sim_Qx_Interface_Name_Set(const Qx_InterfaceData_t *const interfaceData, const char *const name) {
  int other, i;
  QXSIM_TRY(find_described(interfaceData, &i));
  QXSIM_TRY(qxsim_need(name && name[0], "name"));
  if (strlen(name) >= QXSIM_NAME_SIZE)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "name longer than %d bytes", QXSIM_NAME_SIZE - 1);
  other = qxsim_interface_named(name);
  if (other >= 0 && other != i) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "name \"%s\" is already used", name);
  snprintf(qxsim_interface_at(i)->name, QXSIM_NAME_SIZE, "%s", name);
  return 0;
}

/* The configuration names the interfaces, in device order. */
Qx_Error_t sim_Qx_InterfaceConfig_ConfigurationName_Get(u32_t index, char *const text) {
  if (index >= QXSIM_INTERFACES)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no configuration %u (%d configured)", (unsigned)index, QXSIM_INTERFACES);
  QXSIM_TRY(qxsim_need(text, "text buffer"));
  snprintf(text, QXSIM_NAME_SIZE, "%s", qxsim_interface_at((int)index)->name);
  return 0;
}

Qx_Error_t sim_Qx_InterfaceConfig_GetInterfaceInfoByName(const char *const name,
                                                         Qx_InterfaceInfo_t *const interfaceInfo) {
  const qxsim_interface *i;
  QXSIM_TRY(qxsim_need(name, "name"));
  QXSIM_TRY(qxsim_need(interfaceInfo, "selector"));
  i = qxsim_interface_at(qxsim_interface_named(name));
  if (!i) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no interface named \"%s\"", name);
  memset(interfaceInfo, 0, sizeof *interfaceInfo);
  interfaceInfo->Type = i->type;
  interfaceInfo->Parameters.ControllerNumber = i->controller;
  interfaceInfo->Parameters.InterfaceNumber = i->number;
  interfaceInfo->Parameters.u.CardNumber = 0; /* device index of the one device */
  return 0;
}

/* ---- sibling ports ------------------------------------------------------ */

/* The handle of a port on the `instance`-th interface of a type on the
 * device of `portHandle`: an open one, else a new one. */
static uint32_t get_sibling(Qx_PortHandle_t portHandle, u8_t interfaceType, u8_t instance, Qx_PortHandle_t *sibling) {
  int i;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(sibling, "handle cell"));
  i = qxsim_interface_nth(interfaceType, instance);
  if (i < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no interface of type %u, instance %u on the device of port 0x%08X",
                      interfaceType, instance, portHandle);
  *sibling = qxsim_port_on(i);
  return *sibling ? 0 : qxsim_open_port(i, sibling);
}

Qx_Error_t sim_Qx_Interface_GetPortHandleByInterfaceType(Qx_PortHandle_t portHandle, u8_t interfaceType,
                                                         Qx_PortHandle_t *siblingPortHandle) {
  return get_sibling(portHandle, interfaceType, 0, siblingPortHandle);
}

Qx_Error_t sim_Qx_Interface_GetPortHandleByInterfaceTypeAndInstance(Qx_PortHandle_t portHandle, u8_t interfaceType,
                                                                    u8_t instance, Qx_PortHandle_t *siblingPortHandle) {
  return get_sibling(portHandle, interfaceType, instance, siblingPortHandle);
}

/* ---- updating all interfaces -------------------------------------------- */

/* Checks the update file name and every interface the command names (its
 * NumberOfInterfaces records at InterfaceData); the simulated firmware
 * update itself has nothing to do. */
Qx_Error_t sim_Qx_Interface_UpdateAllInterfaces(const char *const fileName,
                                                const Qx_Interface_UpdateAllInterfaces_Cmd_t *const command) {
  u32_t i;
  QXSIM_TRY(qxsim_need(fileName, "update file"));
  QXSIM_TRY(qxsim_need(command, "command"));
  if (command->NumberOfInterfaces && !command->InterfaceData)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u interfaces announced but no interface data given",
                      (unsigned)command->NumberOfInterfaces);
  for (i = 0; i < command->NumberOfInterfaces; i++) {
    const Qx_InterfaceData_t *d = &command->InterfaceData[i];
    if (qxsim_interface_find(d->InterfaceType, d->ControllerNumber, d->InterfaceNumber) < 0)
      return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "interface %u: no interface of type %u on controller %u, interface %u",
                        (unsigned)i, d->InterfaceType, d->ControllerNumber, d->InterfaceNumber);
  }
  return 0;
}
