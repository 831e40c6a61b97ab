/*
 * Fixed facts of the simulated installation and device: install directory,
 * configuration file, versions, the host and interface types of a port and
 * their description texts, capabilities.
 */
#include <stdio.h>
#include <string.h>

#include "sim_device.h"

#define SIM_INSTALL_DIR "/opt/qx"
#define SIM_CONFIG_FILE "/opt/qx/config/interfaces.ini"

Qx_Error_t sim_Qx_InterfaceConfig_GetInstallDir(char *const text, u32_t *const textSize) {
  return sim_copy_text(SIM_INSTALL_DIR, text, textSize);
}

Qx_Error_t sim_Qx_InterfaceConfig_GetConfigFilePath(char *const text, u32_t *const textSize) {
  return sim_copy_text(SIM_CONFIG_FILE, text, textSize);
}

/* ---- versions ----------------------------------------------------------- */

static uint32_t version(u32_t major, u32_t minor, u32_t build, u32_t *const versionMajor, u32_t *const versionMinor,
                        u32_t *const versionBuild) {
  QXSIM_TRY(qxsim_need(versionMajor && versionMinor && versionBuild, "version cell"));
  *versionMajor = major;
  *versionMinor = minor;
  *versionBuild = build;
  return 0;
}

Qx_Error_t sim_Qx_GetApiVersion(u32_t *const versionMajor, u32_t *const versionMinor, u32_t *const versionBuild) {
  return version(5, 3, 120, versionMajor, versionMinor, versionBuild);
}

Qx_Error_t sim_Qx_GetFirmwarePackageVersion_Installed(u32_t *const versionMajor, u32_t *const versionMinor,
                                                      u32_t *const versionBuild) {
  return version(5, 3, 8, versionMajor, versionMinor, versionBuild);
}

Qx_Error_t sim_Qx_GetFirmwarePackageVersion_Tested(u32_t *const versionMajor, u32_t *const versionMinor,
                                                   u32_t *const versionBuild) {
  return version(5, 3, 7, versionMajor, versionMinor, versionBuild);
}

/* ---- host and interface types ------------------------------------------- */

u32_t sim_Qx_GetHostInterfaceType(Qx_PortHandle_t portHandle) {
  return qxsim_check_port(portHandle) ? QX_HOST_INTERFACE_TYPE__UNKNOWN : QXSIM_HOST_INTERFACE_TYPE;
}

Qx_HostCommunicationType_t sim_Qx_GetHostCommunicationType(Qx_PortHandle_t portHandle) {
  return qxsim_check_port(portHandle) ? QX_HOST_COMMUNICATION_TYPE__UNKNOWN : QXSIM_HOST_COMMUNICATION_TYPE;
}

u8_t sim_Qx_GetInterfaceType(Qx_PortHandle_t portHandle) {
  return qxsim_check_port(portHandle) ? QX_INTERFACE_TYPE__UNKNOWN
                                      : qxsim_interface_at(qxsim_port_interface(portHandle))->type;
}

/* The device is a USB device without LVDS interfaces. */
u8_t sim_Qx_PcieDma_IsAvailable(Qx_PortHandle_t portHandle) {
  qxsim_check_port(portHandle);
  return 0;
}

u8_t sim_Qx_Lvds_IsGrabber(Qx_PortHandle_t portHandle) {
  qxsim_check_port(portHandle);
  return 0;
}

u8_t sim_Qx_Lvds_IsGenerator(Qx_PortHandle_t portHandle) {
  qxsim_check_port(portHandle);
  return 0;
}

/* ---- description texts (NULL for a value without one) ------------------- */

static const struct {
  int first, last;
  const char *family;
} host_interface_families[] = {
    {QX_HOST_INTERFACE_TYPE__PCI_01, QX_HOST_INTERFACE_TYPE__PCI_15, "PCI card"},
    {QX_HOST_INTERFACE_TYPE__PXI_01, QX_HOST_INTERFACE_TYPE__PXI_15, "PXI module"},
    {QX_HOST_INTERFACE_TYPE__PCIE_01, QX_HOST_INTERFACE_TYPE__PCIE_15, "PCI Express card"},
    {QX_HOST_INTERFACE_TYPE__PXIE_01, QX_HOST_INTERFACE_TYPE__PXIE_15, "PXI Express module"},
    {QX_HOST_INTERFACE_TYPE__USB_01, QX_HOST_INTERFACE_TYPE__USB_15, "USB device"},
    {QX_HOST_INTERFACE_TYPE__ETHERNET_01, QX_HOST_INTERFACE_TYPE__ETHERNET_10, "Ethernet device"},
    {QX_HOST_INTERFACE_TYPE__SERIAL_01, QX_HOST_INTERFACE_TYPE__SERIAL_06, "serial device"},
};

const char *sim_Qx_GetHostInterfaceTypeDescription(Qx_HostInterfaceType_t hostInterfaceType) {
  static char texts[QX_HOST_INTERFACE_TYPE__UNKNOWN][32];
  size_t f;
  int value = (int)hostInterfaceType;
  if (value == QX_HOST_INTERFACE_TYPE__UNKNOWN) return "unknown host interface";
  for (f = 0; f < sizeof host_interface_families / sizeof host_interface_families[0]; f++) {
    if (value >= host_interface_families[f].first && value <= host_interface_families[f].last) {
      if (!texts[value][0])
        snprintf(texts[value], sizeof texts[value], "%s, model %d", host_interface_families[f].family,
                 value - host_interface_families[f].first + 1);
      return texts[value];
    }
  }
  return NULL;
}

static const char *const host_communication_texts[] = {
    "unknown", "PXI", "PCI", "USB", "Ethernet", "USB over Ethernet", "serial", "PCI Express", "PXI Express",
};

const char *sim_Qx_GetHostCommTypeDescription(Qx_HostCommunicationType_t hostCommunicationType) {
  int value = (int)hostCommunicationType;
  if (value < 0 || value >= (int)(sizeof host_communication_texts / sizeof host_communication_texts[0])) return NULL;
  return host_communication_texts[value];
}

static const char *const interface_texts[] = {
    "unknown", "boot loader", "sequence",  "IO", "CAN",       "LIN",      "K-Line", "MOST",    "LVDS",
    "FlexRay", "Trovix",      "user code", "FS", "resistors", "Ethernet", "common", "CAN STM",
};

const char *sim_Qx_GetInterfaceTypeDescription(Qx_InterfaceType_t interfaceType) {
  int value = (int)interfaceType;
  if (value < 0 || value >= (int)(sizeof interface_texts / sizeof interface_texts[0])) return NULL;
  return interface_texts[value];
}
