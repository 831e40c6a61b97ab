/*
 * Declarations of the native base interface library (libqx_api) as the
 * Python bindings see them: types, records, constants and functions, in the
 * library's own declaration order (the bindings' method table and constant
 * install order follow it). Parameter names matter: the bindings' rules are applied
 * to exact `type name` pairs in api/base/params.txt.
 */
#ifndef QX_API_H
#define QX_API_H

#include "qx_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

typedef u32_t Qx_PortHandle_t;
typedef u32_t Qx_Error_t;
typedef u8_t Qx_LockStatus_t;
typedef u16_t Qx_InterfaceInfo_Flags_t;
typedef u32_t Qx_OpenInterface2_CmdFlags_t;
typedef u32_t Qx_ReleaseAllLocks_CmdFlags_t;
typedef u32_t Qx_Fpga_Relays_Set_CmdFlags_t;
typedef u32_t Qx_Fpga_Relays_Reset_CmdFlags_t;
typedef u32_t Qx_Apix_Command_CmdFlags_t;
typedef u32_t Qx_Apix_CommandWithResponse_CmdFlags_t;
typedef u32_t Qx_Apix_Read_CmdFlags_t;
typedef u32_t Qx_Interface_GetInterfaceList_CmdFlags_t;
typedef u32_t Qx_Interface_GetInterfaceList_Ethernet_CmdFlags_t;
typedef u32_t Qx_Interface_UpdateAllInterfaces_CmdFlags_t;

#define MAX_NUMBER_OF_CONTROL_DATA_BYTES 16

typedef enum {
  QX_FW__HEADER_TYPE__COMMAND = 0,
  QX_FW__HEADER_TYPE__RESPONSE = 1,
  QX_FW__HEADER_TYPE__ACKNOWLEDGE = 2
} Qx_Fw_HeaderType_t;

typedef enum {
  QX_INTERFACE_TYPE__UNKNOWN = 0,
  QX_INTERFACE_TYPE__BOOT_LOADER = 1,
  QX_INTERFACE_TYPE__SEQUENCE = 2,
  QX_INTERFACE_TYPE__IO = 3,
  QX_INTERFACE_TYPE__CAN = 4,
  QX_INTERFACE_TYPE__LIN = 5,
  QX_INTERFACE_TYPE__KLINE = 6,
  QX_INTERFACE_TYPE__MOST = 7,
  QX_INTERFACE_TYPE__LVDS = 8,
  QX_INTERFACE_TYPE__FLEXRAY = 9,
  QX_INTERFACE_TYPE__TROVIX = 10,
  QX_INTERFACE_TYPE__USER_CODE = 11,
  QX_INTERFACE_TYPE__FS = 12,
  QX_INTERFACE_TYPE__RESISTORS = 13,
  QX_INTERFACE_TYPE__ETHERNET = 14,
  QX_INTERFACE_TYPE__COMMON = 15,
  QX_INTERFACE_TYPE__CAN_STM = 16
} Qx_InterfaceType_t;

typedef enum {
  QX_FW__WRITE__MODE__NEVER_SEND_ACK = 0,
  QX_FW__WRITE__MODE__ALWAYS_SEND_ACK = 1,
  QX_FW__WRITE__MODE__ACK_ONLY_ON_ERRORS = 2
} Qx_Fw_Write_Mode_t;

typedef enum {
  QX_FW__READ__RESPONSE_TYPE__UNKNOWN = 0,
  QX_FW__READ__RESPONSE_TYPE__RESPONSE = 1,
  QX_FW__READ__RESPONSE_TYPE__ACK = 2
} Qx_Fw_Read_ResponseType_t;

/* Host interface models, in value order; UNKNOWN closes the list. */
typedef enum {
  QX_HOST_INTERFACE_TYPE__PCI_01 = 0,
  QX_HOST_INTERFACE_TYPE__PCI_02 = 1,
  QX_HOST_INTERFACE_TYPE__PCI_03 = 2,
  QX_HOST_INTERFACE_TYPE__PCI_04 = 3,
  QX_HOST_INTERFACE_TYPE__PCI_05 = 4,
  QX_HOST_INTERFACE_TYPE__PCI_06 = 5,
  QX_HOST_INTERFACE_TYPE__PCI_07 = 6,
  QX_HOST_INTERFACE_TYPE__PCI_08 = 7,
  QX_HOST_INTERFACE_TYPE__PCI_09 = 8,
  QX_HOST_INTERFACE_TYPE__PCI_10 = 9,
  QX_HOST_INTERFACE_TYPE__PCI_11 = 10,
  QX_HOST_INTERFACE_TYPE__PCI_12 = 11,
  QX_HOST_INTERFACE_TYPE__PCI_13 = 12,
  QX_HOST_INTERFACE_TYPE__PCI_14 = 13,
  QX_HOST_INTERFACE_TYPE__PCI_15 = 14,
  QX_HOST_INTERFACE_TYPE__PXI_01 = 15,
  QX_HOST_INTERFACE_TYPE__PXI_02 = 16,
  QX_HOST_INTERFACE_TYPE__PXI_03 = 17,
  QX_HOST_INTERFACE_TYPE__PXI_04 = 18,
  QX_HOST_INTERFACE_TYPE__PXI_05 = 19,
  QX_HOST_INTERFACE_TYPE__PXI_06 = 20,
  QX_HOST_INTERFACE_TYPE__PXI_07 = 21,
  QX_HOST_INTERFACE_TYPE__PXI_08 = 22,
  QX_HOST_INTERFACE_TYPE__PXI_09 = 23,
  QX_HOST_INTERFACE_TYPE__PXI_10 = 24,
  QX_HOST_INTERFACE_TYPE__PXI_11 = 25,
  QX_HOST_INTERFACE_TYPE__PXI_12 = 26,
  QX_HOST_INTERFACE_TYPE__PXI_13 = 27,
  QX_HOST_INTERFACE_TYPE__PXI_14 = 28,
  QX_HOST_INTERFACE_TYPE__PXI_15 = 29,
  QX_HOST_INTERFACE_TYPE__PCIE_01 = 30,
  QX_HOST_INTERFACE_TYPE__PCIE_02 = 31,
  QX_HOST_INTERFACE_TYPE__PCIE_03 = 32,
  QX_HOST_INTERFACE_TYPE__PCIE_04 = 33,
  QX_HOST_INTERFACE_TYPE__PCIE_05 = 34,
  QX_HOST_INTERFACE_TYPE__PCIE_06 = 35,
  QX_HOST_INTERFACE_TYPE__PCIE_07 = 36,
  QX_HOST_INTERFACE_TYPE__PCIE_08 = 37,
  QX_HOST_INTERFACE_TYPE__PCIE_09 = 38,
  QX_HOST_INTERFACE_TYPE__PCIE_10 = 39,
  QX_HOST_INTERFACE_TYPE__PCIE_11 = 40,
  QX_HOST_INTERFACE_TYPE__PCIE_12 = 41,
  QX_HOST_INTERFACE_TYPE__PCIE_13 = 42,
  QX_HOST_INTERFACE_TYPE__PCIE_14 = 43,
  QX_HOST_INTERFACE_TYPE__PCIE_15 = 44,
  QX_HOST_INTERFACE_TYPE__PXIE_01 = 45,
  QX_HOST_INTERFACE_TYPE__PXIE_02 = 46,
  QX_HOST_INTERFACE_TYPE__PXIE_03 = 47,
  QX_HOST_INTERFACE_TYPE__PXIE_04 = 48,
  QX_HOST_INTERFACE_TYPE__PXIE_05 = 49,
  QX_HOST_INTERFACE_TYPE__PXIE_06 = 50,
  QX_HOST_INTERFACE_TYPE__PXIE_07 = 51,
  QX_HOST_INTERFACE_TYPE__PXIE_08 = 52,
  QX_HOST_INTERFACE_TYPE__PXIE_09 = 53,
  QX_HOST_INTERFACE_TYPE__PXIE_10 = 54,
  QX_HOST_INTERFACE_TYPE__PXIE_11 = 55,
  QX_HOST_INTERFACE_TYPE__PXIE_12 = 56,
  QX_HOST_INTERFACE_TYPE__PXIE_13 = 57,
  QX_HOST_INTERFACE_TYPE__PXIE_14 = 58,
  QX_HOST_INTERFACE_TYPE__PXIE_15 = 59,
  QX_HOST_INTERFACE_TYPE__USB_01 = 60,
  QX_HOST_INTERFACE_TYPE__USB_02 = 61,
  QX_HOST_INTERFACE_TYPE__USB_03 = 62,
  QX_HOST_INTERFACE_TYPE__USB_04 = 63,
  QX_HOST_INTERFACE_TYPE__USB_05 = 64,
  QX_HOST_INTERFACE_TYPE__USB_06 = 65,
  QX_HOST_INTERFACE_TYPE__USB_07 = 66,
  QX_HOST_INTERFACE_TYPE__USB_08 = 67,
  QX_HOST_INTERFACE_TYPE__USB_09 = 68,
  QX_HOST_INTERFACE_TYPE__USB_10 = 69,
  QX_HOST_INTERFACE_TYPE__USB_11 = 70,
  QX_HOST_INTERFACE_TYPE__USB_12 = 71,
  QX_HOST_INTERFACE_TYPE__USB_13 = 72,
  QX_HOST_INTERFACE_TYPE__USB_14 = 73,
  QX_HOST_INTERFACE_TYPE__USB_15 = 74,
  QX_HOST_INTERFACE_TYPE__ETHERNET_01 = 75,
  QX_HOST_INTERFACE_TYPE__ETHERNET_02 = 76,
  QX_HOST_INTERFACE_TYPE__ETHERNET_03 = 77,
  QX_HOST_INTERFACE_TYPE__ETHERNET_04 = 78,
  QX_HOST_INTERFACE_TYPE__ETHERNET_05 = 79,
  QX_HOST_INTERFACE_TYPE__ETHERNET_06 = 80,
  QX_HOST_INTERFACE_TYPE__ETHERNET_07 = 81,
  QX_HOST_INTERFACE_TYPE__ETHERNET_08 = 82,
  QX_HOST_INTERFACE_TYPE__ETHERNET_09 = 83,
  QX_HOST_INTERFACE_TYPE__ETHERNET_10 = 84,
  QX_HOST_INTERFACE_TYPE__SERIAL_01 = 85,
  QX_HOST_INTERFACE_TYPE__SERIAL_02 = 86,
  QX_HOST_INTERFACE_TYPE__SERIAL_03 = 87,
  QX_HOST_INTERFACE_TYPE__SERIAL_04 = 88,
  QX_HOST_INTERFACE_TYPE__SERIAL_05 = 89,
  QX_HOST_INTERFACE_TYPE__SERIAL_06 = 90,
  QX_HOST_INTERFACE_TYPE__UNKNOWN = 91
} Qx_HostInterfaceType_t;

typedef enum {
  QX_COMMAND_WITH_RESPONSE_MODE__SYNC = 0,
  QX_COMMAND_WITH_RESPONSE_MODE__ASYNC = 1
} Qx_CommandWithResponseMode_t;

typedef enum {
  QX_HOST_COMMUNICATION_TYPE__UNKNOWN = 0,
  QX_HOST_COMMUNICATION_TYPE__PXI = 1,
  QX_HOST_COMMUNICATION_TYPE__PCI = 2,
  QX_HOST_COMMUNICATION_TYPE__USB = 3,
  QX_HOST_COMMUNICATION_TYPE__ETHERNET = 4,
  QX_HOST_COMMUNICATION_TYPE__USB_OVER_ETHERNET = 5,
  QX_HOST_COMMUNICATION_TYPE__SERIAL = 6,
  QX_HOST_COMMUNICATION_TYPE__PCIE = 7,
  QX_HOST_COMMUNICATION_TYPE__PXIE = 8
} Qx_HostCommunicationType_t;

/* 8-byte value seen as bytes, half-words, words or one 64-bit word. */
typedef union {
  u8_t U8[8];
  u16_t U16[4];
  u32_t U32[2];
  u64_t U64;
} Qx_Data_t;

/* IPv4 address; on little-endian hosts B1 is the low byte of All. */
typedef union {
  struct {
    u8_t B1;
    u8_t B2;
    u8_t B3;
    u8_t B4;
  } Byte;
  u32_t All;
} Qx_IpAddress_t;

/* Selector of one interface, argument of the open functions. */
typedef struct {
  u32_t Type;
  struct {
    u8_t ControllerNumber;
    u8_t InterfaceNumber;
    Qx_InterfaceInfo_Flags_t Flags;
    union {
      u32_t CardNumber;
      struct {
        u16_t PortNumber;
        u8_t reserved1;
        u8_t reserved2;
        u8_t IpAddress[16];
      } Ethernet;
      struct {
        u32_t CardNumber;
        u16_t PortNumber;
        u8_t reserved1;
        u8_t reserved2;
        u32_t IpAddress;
      } UsbOverEthernet;
      struct {
        u8_t PortNumber;
      } Serial;
    } u;
  } Parameters;
} Qx_InterfaceInfo_t;

/* Description of one interface: the element of the interface lists. */
typedef struct {
  u8_t InterfaceType;
  u8_t ControllerNumber;
  u8_t InterfaceNumber;
  u8_t HostCommunicationType;
  u32_t HostInterfaceType;
  u32_t Serial;
  u32_t DeviceIndex;
  Qx_IpAddress_t IpAddress;
  u16_t TcpPort;
  u8_t PortNumber;
  u8_t GeographicAddress;
  Qx_IpAddress_t SubNetMask;
  u32_t HostSerial;
  Qx_IpAddress_t DefaultGateway;
  struct {
    u8_t Major;
    u8_t Minor;
  } UsbVersion;
  u16_t reserved;
} Qx_InterfaceData_t;

/* Address and mask of a host network adapter. */
typedef struct {
  Qx_IpAddress_t IpAddress;
  Qx_IpAddress_t Mask;
} Qx_Ethernet_AdapterInfo_t;

/* Command record of Qx_Interface_UpdateAllInterfaces. */
typedef struct {
  Qx_Interface_UpdateAllInterfaces_CmdFlags_t Flags;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u32_t NumberOfInterfaces;
  Qx_InterfaceData_t *InterfaceData;
} Qx_Interface_UpdateAllInterfaces_Cmd_t;

#pragma pack(pop)

/* Native callbacks of the asynchronous communication; never Python code. */
typedef void (*Qx_AsyncCommunication_CallbackFunction_t)(u32_t const, void *const, u8_t const *const, u32_t const);
typedef void (*Qx_AsyncCommunication_CleanUpFunction_t)(u32_t const, void *const);
typedef void (*Qx_AsyncCommunication_ErrorCallback_t)(u32_t const, u32_t const, u8_t const *const, u32_t const);

/* Opening interfaces, commands and error texts. */
Qx_Error_t Qx_OpenInterface(Qx_InterfaceInfo_t const *const interfaceInfo, Qx_PortHandle_t *const newPortHandle);
Qx_Error_t Qx_OpenInterface2(Qx_OpenInterface2_CmdFlags_t flags, Qx_InterfaceInfo_t const *const interfaceInfo,
                             Qx_PortHandle_t *const newPortHandle);
Qx_Error_t Qx_CloseInterface(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_RefreshDriverInfo(void);
Qx_Error_t Qx_Command(Qx_PortHandle_t portHandle, u8_t command, u8_t const *const data, u32_t const dataLength);
Qx_Error_t Qx_CommandWithResponse(Qx_PortHandle_t portHandle, u8_t command, u8_t const *const data,
                                  u32_t const dataLength, u8_t *const responseBuffer, u32_t *const responseCount);
Qx_Error_t Qx_CommandWithResponseEx(Qx_PortHandle_t portHandle, u8_t command, u8_t subCommand, u8_t mode,
                                    u8_t const *const data, u32_t const dataLength, u8_t *const responseBuffer,
                                    u32_t *const responseCount);
Qx_Error_t Qx_CheckPortHandle(Qx_PortHandle_t portHandle);
char const *Qx_GetErrorDescription(Qx_Error_t errorCode);
Qx_Error_t Qx_GetErrorDescription2(Qx_PortHandle_t portHandle, Qx_Error_t errorCode, u32_t *const textSize,
                                   char *const text);
Qx_Error_t Qx_GetLastErrorCode(void);
char const *Qx_GetLastErrorDescription(void);
Qx_Error_t Qx_GetLastErrorByPortHandle(Qx_PortHandle_t portHandle, Qx_Error_t *const errorCode, u32_t *const textSize,
                                       char *const text);
Qx_Error_t Qx_AsyncCommunication_Enable(Qx_PortHandle_t portHandle,
                                        Qx_AsyncCommunication_ErrorCallback_t const errorCallback);
Qx_Error_t Qx_AsyncCommunication_Disable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_AsyncCommunication_FunctionsWithoutResponse_Sync(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_AsyncCommunication_FunctionsWithoutResponse_Async(Qx_PortHandle_t portHandle);
u8_t Qx_AsyncCommunication_FunctionsWithoutResponse_IsSync(Qx_PortHandle_t portHandle);

/* Locks, timeouts, monitor and asynchronous callbacks. */
Qx_Error_t Qx_GetParamSize(Qx_PortHandle_t portHandle, u32_t *const paramSize);
Qx_LockStatus_t Qx_GetLockStatus(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_GetLock(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_ReleaseLock(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_ReleaseAllLocks(Qx_ReleaseAllLocks_CmdFlags_t flags);
Qx_Error_t Qx_SetResponseTimeout(Qx_PortHandle_t portHandle, u32_t timeout);
u32_t Qx_GetResponseTimeout(Qx_PortHandle_t portHandle);
u8_t Qx_IsMonitorEnabled(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_GetMonitorItems(Qx_PortHandle_t portHandle, u8_t *const itemBuffer, u32_t *const itemCount,
                              u8_t *const moreItems);
Qx_Error_t Qx_CloseMonitor(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_AsyncCommunication_AddCallback(Qx_PortHandle_t portHandle, u8_t command, u8_t subCommand,
                                             u8_t const *const filter, u8_t filterLength,
                                             Qx_AsyncCommunication_CallbackFunction_t const callback,
                                             Qx_AsyncCommunication_CleanUpFunction_t const cleanUp, u32_t userData,
                                             void **callbackHandle);
Qx_Error_t Qx_AsyncCommunication_RemoveCallback(Qx_PortHandle_t portHandle, u8_t command, u8_t subCommand,
                                                u8_t const *filter, u8_t filterLength);

/* FPGA, APIX and firmware buffers. */
Qx_Error_t Qx_Fpga_ReadVhdlDesignVersion(Qx_PortHandle_t portHandle, u32_t *const version);
Qx_Error_t Qx_Fpga_ReadRegister(Qx_PortHandle_t portHandle, u8_t registerNumber, u32_t *const value);
Qx_Error_t Qx_Fpga_WriteRegister(Qx_PortHandle_t portHandle, u8_t registerNumber, u32_t value);
Qx_Error_t Qx_Fpga_Reconfiguration(Qx_PortHandle_t portHandle, u8_t const *fileName);
Qx_Error_t Qx_Fpga_ReadFifo(Qx_PortHandle_t portHandle, u8_t *const data, u32_t *const dataLength);
Qx_Error_t Qx_Fpga_WriteFifo(Qx_PortHandle_t portHandle, u8_t const *const data, u32_t dataLength);
Qx_Error_t Qx_Fpga_Relays_Set(Qx_PortHandle_t portHandle, Qx_Fpga_Relays_Set_CmdFlags_t flags, u16_t const relays,
                              u8_t const *const relayStates);
Qx_Error_t Qx_Fpga_Relays_Reset(Qx_PortHandle_t portHandle, Qx_Fpga_Relays_Reset_CmdFlags_t flags, u16_t const relays,
                                u8_t const *const relayStates);
Qx_Error_t Qx_Fpga_Relays_SetDirect(Qx_PortHandle_t portHandle, u16_t const relays, u8_t const *const relayStates);
Qx_Error_t Qx_Fpga_Relays_GetState(Qx_PortHandle_t portHandle, u16_t const relays, u8_t const *const relaySelection,
                                   u8_t *const relayStates);
Qx_Error_t Qx_Apix_Command(Qx_PortHandle_t portHandle, Qx_Apix_Command_CmdFlags_t flags, u8_t command, u32_t dataLength,
                           u8_t const *const data);
Qx_Error_t Qx_Apix_CommandWithResponse(Qx_PortHandle_t portHandle, Qx_Apix_CommandWithResponse_CmdFlags_t flags,
                                       u8_t command, u32_t dataLength, u8_t const *const data,
                                       u32_t *const responseLength, u8_t *const response);
Qx_Error_t Qx_Apix_Write(Qx_PortHandle_t portHandle, u32_t dataLength, u8_t const *const data);
Qx_Error_t Qx_Apix_Read(Qx_PortHandle_t portHandle, Qx_Apix_Read_CmdFlags_t flags, u32_t *const dataLength,
                        u8_t *const data);
Qx_Error_t Qx_Fw_Buffer_Enable(Qx_PortHandle_t portHandle, u32_t bufferSize);
Qx_Error_t Qx_Fw_Buffer_Disable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Fw_Write(Qx_PortHandle_t portHandle, u8_t headerType, u8_t writeMode, u32_t dataLength,
                       u8_t const *const data);
Qx_Error_t Qx_Fw_Read(Qx_PortHandle_t portHandle, u8_t *const headerType, u8_t *const responseType, u8_t *const command,
                      u32_t *const dataLength, u8_t *const data);

/* Interface data and interface lists. */
Qx_Error_t Qx_Ethernet_GetNetworkAdapterInfo(u32_t *const adapterCount, Qx_Ethernet_AdapterInfo_t *const adapterInfo);
Qx_Error_t Qx_Interface_GetSerialNumber(Qx_PortHandle_t portHandle, u32_t *const serialNumber);
Qx_Error_t Qx_Interface_GetInterfaceList(Qx_Interface_GetInterfaceList_CmdFlags_t flags, u32_t *const listCount,
                                         Qx_InterfaceData_t *const list, u32_t const elementSize);
Qx_Error_t Qx_Interface_GetInterfaceList_PciPxi(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                u32_t const elementSize);
Qx_Error_t Qx_Interface_GetInterfaceList_Usb(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                             u32_t const elementSize);
Qx_Error_t Qx_Interface_GetInterfaceList_UsbVela(u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                 u32_t const elementSize);
Qx_Error_t Qx_Interface_GetInterfaceList_Ethernet(Qx_Interface_GetInterfaceList_Ethernet_CmdFlags_t flags,
                                                  u32_t *const listCount, Qx_InterfaceData_t *const list,
                                                  u32_t const elementSize,
                                                  Qx_Ethernet_AdapterInfo_t const *const adapterInfo);
Qx_Error_t Qx_Interface_GetInterfaceList_Serial(u8_t comPort, u8_t const *const comSettings, u32_t *const listCount,
                                                Qx_InterfaceData_t *const list, u32_t const elementSize);
Qx_Error_t Qx_Interface_Name_Get(Qx_InterfaceData_t const *const interfaceData, u32_t *const textSize,
                                 char *const text);
Qx_Error_t Qx_Interface_Name_Set(Qx_InterfaceData_t const *const interfaceData, char const *const name);
Qx_Error_t Qx_Interface_GetPortHandleByInterfaceType(Qx_PortHandle_t portHandle, u8_t interfaceType,
                                                     Qx_PortHandle_t *siblingPortHandle);
Qx_Error_t Qx_Interface_GetPortHandleByInterfaceTypeAndInstance(Qx_PortHandle_t portHandle, u8_t interfaceType,
                                                                u8_t instance, Qx_PortHandle_t *siblingPortHandle);

/* Updating all interfaces. */
Qx_Error_t Qx_Interface_UpdateAllInterfaces(char const *const fileName,
                                            Qx_Interface_UpdateAllInterfaces_Cmd_t const *const command);

/* Configuration, versions and host and interface type queries. */
Qx_Error_t Qx_InterfaceConfig_GetInstallDir(char *const text, u32_t *const textSize);
Qx_Error_t Qx_InterfaceConfig_GetConfigFilePath(char *const text, u32_t *const textSize);
Qx_Error_t Qx_InterfaceConfig_ConfigurationName_Get(u32_t index, char *const text);
Qx_Error_t Qx_InterfaceConfig_GetInterfaceInfoByName(char const *const name, Qx_InterfaceInfo_t *const interfaceInfo);
Qx_Error_t Qx_GetApiVersion(u32_t *const versionMajor, u32_t *const versionMinor, u32_t *const versionBuild);
Qx_Error_t Qx_GetFirmwarePackageVersion_Installed(u32_t *const versionMajor, u32_t *const versionMinor,
                                                  u32_t *const versionBuild);
Qx_Error_t Qx_GetFirmwarePackageVersion_Tested(u32_t *const versionMajor, u32_t *const versionMinor,
                                               u32_t *const versionBuild);
Qx_Error_t Qx_UpdateToDedicatedFirmware(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_SetFullSpeedPollingCycle(u32_t cycle);
Qx_Error_t Qx_Monitor_InstanceId_Set(Qx_PortHandle_t portHandle, u8_t instanceId);
u8_t Qx_Monitor_InstanceId_Get(Qx_PortHandle_t portHandle);
u32_t Qx_GetHostInterfaceType(Qx_PortHandle_t portHandle);
char const *Qx_GetHostInterfaceTypeDescription(Qx_HostInterfaceType_t hostInterfaceType);
Qx_HostCommunicationType_t Qx_GetHostCommunicationType(Qx_PortHandle_t portHandle);
char const *Qx_GetHostCommTypeDescription(Qx_HostCommunicationType_t hostCommunicationType);
u8_t Qx_GetInterfaceType(Qx_PortHandle_t portHandle);
char const *Qx_GetInterfaceTypeDescription(Qx_InterfaceType_t interfaceType);
u8_t Qx_PcieDma_IsAvailable(Qx_PortHandle_t portHandle);
u8_t Qx_Lvds_IsGrabber(Qx_PortHandle_t portHandle);
u8_t Qx_Lvds_IsGenerator(Qx_PortHandle_t portHandle);

#ifdef __cplusplus
}
#endif

#endif
