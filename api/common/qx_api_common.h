/*
 * Declarations of the native common library (libqx_api_common) as the Python
 * bindings see them: types, records, constants and functions, in the
 * library's own declaration order (the bindings' method table and constant
 * install order follow it). Parameter names matter: the bindings' rules are applied
 * to exact `type name` pairs in api/common/params.txt.
 *
 * The declarations of the event/action engine follow in
 * qx_api_common_ea.h, those of XCP in qx_api_common_xcp.h.
 *
 * The base library's types (Qx_PortHandle_t, Qx_Error_t,
 * Qx_Ethernet_AdapterInfo_t) come from qx_api.h, which only C code reads:
 * SWIG does not follow the #include, so in this module Qx_PortHandle_t and
 * Qx_Error_t are names of their own, not spellings of u32_t.
 */
#ifndef QX_API_COMMON_H
#define QX_API_COMMON_H

#include "qx_api.h"
#include "qx_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Data types of function-block parameters. */
typedef enum {
  QX_COMMON__FBP__DATA_TYPE__FLOAT32 = 0,
  QX_COMMON__FBP__DATA_TYPE__FLOAT64 = 1,
  QX_COMMON__FBP__DATA_TYPE__SINT8 = 2,
  QX_COMMON__FBP__DATA_TYPE__SINT16 = 3,
  QX_COMMON__FBP__DATA_TYPE__SINT32 = 4,
  QX_COMMON__FBP__DATA_TYPE__SINT64 = 5,
  QX_COMMON__FBP__DATA_TYPE__UINT8 = 6,
  QX_COMMON__FBP__DATA_TYPE__UINT16 = 7,
  QX_COMMON__FBP__DATA_TYPE__UINT32 = 8,
  QX_COMMON__FBP__DATA_TYPE__UINT64 = 9,
  QX_COMMON__FBP__DATA_TYPE__UINT8_ARRAY_FIX = 10,
  QX_COMMON__FBP__DATA_TYPE__UINT8_ARRAY_DYN = 11,
  QX_COMMON__FBP__DATA_TYPE__UNKNOWN = 12
} Qx_Common_Fbp_DataType_t;

/* Transceiver chips: the high byte is the bus kind (0x1 CAN, 0x2 LIN,
 * 0x3 K-Line, 0x4 FlexRay, 0x5 analog and digital I/O, 0x6 Ethernet), the
 * low byte numbers the chip within it. */
typedef enum {
  QX_COMMON__TRANSCEIVER_TYPE__UNKNOWN = 0x000,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1041 = 0x100,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1041A = 0x101,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__82C252 = 0x102,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__AU5790 = 0x103,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1054 = 0x104,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1054A = 0x105,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1050 = 0x106,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__82C250 = 0x107,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__82C251 = 0x108,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TLE6250 = 0x109,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__B10011S = 0x10A,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1044GT = 0x10B,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1145 = 0x10C,
  QX_COMMON__TRANSCEIVER_TYPE__CAN__TJA1463AT = 0x10D,
  QX_COMMON__TRANSCEIVER_TYPE__LIN__TJA1020 = 0x200,
  QX_COMMON__TRANSCEIVER_TYPE__LIN__TLE6258 = 0x201,
  QX_COMMON__TRANSCEIVER_TYPE__LIN__TLE6259 = 0x202,
  QX_COMMON__TRANSCEIVER_TYPE__LIN__TJA1020_LOAD = 0x203,
  QX_COMMON__TRANSCEIVER_TYPE__KLINE__L9637D = 0x300,
  QX_COMMON__TRANSCEIVER_TYPE__KLINE__RX_TX = 0x301,
  QX_COMMON__TRANSCEIVER_TYPE__FLEXRAY__TJA1080 = 0x400,
  QX_COMMON__TRANSCEIVER_TYPE__FLEXRAY__AS8221 = 0x401,
  QX_COMMON__TRANSCEIVER_TYPE__FLEXRAY__TJA1081BTS = 0x402,
  QX_COMMON__TRANSCEIVER_TYPE__ADIO__TYPE_1 = 0x500,
  QX_COMMON__TRANSCEIVER_TYPE__ADIO__TYPE_2 = 0x501,
  QX_COMMON__TRANSCEIVER_TYPE__ADIO__TYPE_3 = 0x502,
  /* Digital outputs of one analog and digital I/O board: 5 V and high voltage. */
  QX_COMMON__TRANSCEIVER_TYPE__ADIO_DIGITAL_OUT__5V = 0x510,
  QX_COMMON__TRANSCEIVER_TYPE__ADIO_DIGITAL_OUT__HIGH_VOLTAGE = 0x511,
  QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__1000BASE_T = 0x600,
  QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__BRR_TJA1100 = 0x601,
  QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q2112 = 0x602,
  QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q2112_A2 = 0x603,
  QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q222x = 0x604
} Qx_Common_TransceiverType_t;

typedef u32_t Qx_Common_OpenInterface2_CmdFlags_t;
typedef u32_t Qx_Common_GetHardwareVersion_CmdFlags_t;
typedef u8_t Qx_Common_ControllerFamily_t;
typedef u8_t Qx_Common_ControllerType_t;
typedef u32_t Qx_Common_GetControllerInfo_RspFlags_t;
typedef u8_t Qx_Common_GetInterfaceInfo_RspFlags_t;
typedef u32_t Qx_Common_Features_t;
typedef u8_t Qx_Common_TransceiverFlags_t;
typedef u32_t Qx_Common_GetTransceiverInfoForCurrentInterface_CmdFlags_t;
typedef u32_t Qx_Common_GetInterfaceNumber_CmdFlags_t;
typedef u8_t Qx_Common_Signal_ByteOrder_t;
typedef u8_t Qx_Common_Ethernet_DHCP_Mode_t;
/* Handle of a host event. */
typedef size_t Qx_Common_EventHandle_t;

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

/* Where a signal lies in a message's data bytes. */
typedef struct {
  u8_t Size;
  Qx_Common_Signal_ByteOrder_t ByteOrder;
  u16_t Offset;
} Qx_Common_Signal_t;

typedef union {
  u8_t Addr8[4];
  u32_t Addr32;
} Qx_Common_Ip4Address_t;

typedef union {
  u32_t Addr32[4];
  u8_t Addr8[16];
} Qx_Common_Ip6Address_t;

typedef union {
  Qx_Common_Ip4Address_t Ip4;
  Qx_Common_Ip6Address_t Ip6;
} Qx_Common_IpAddress_t;

typedef struct {
  Qx_Common_GetHardwareVersion_CmdFlags_t Flags;
  u8_t HardwareBoardNumber;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_GetHardwareVersion_Cmd_t;

typedef struct {
  u8_t Major;
  u8_t Minor;
  u8_t Byte3;
  u8_t Byte4;
} Qx_Common_GetHardwareVersion_Rsp_t;

typedef struct {
  u32_t HostInterfaceType;
  Qx_Common_ControllerFamily_t ControllerFamily;
  Qx_Common_ControllerType_t ControllerType;
  u8_t reserved1;
  u8_t reserved2;
  Qx_Common_GetControllerInfo_RspFlags_t Flags;
  u32_t ResetStatusRegister;
  u32_t HardwareVersion;
  u32_t SoftwareVersion;
  u32_t NumberOfInterfaces;
  struct {
    u8_t InterfaceType;
    u8_t InterfaceNumber;
  } Interfaces[512];
} Qx_Common_GetControllerInfo_Rsp_t;

#pragma pack(pop)

/* Native callbacks of the asynchronous queries; never Python code. */
typedef void (*Qx_Common_GetFirmwareVersion_Async_Callback_t)(Qx_PortHandle_t const, char const *const, u32_t const);
typedef void (*Qx_Common_GetControllerInfo_Async_Callback_t)(Qx_PortHandle_t const,
                                                             Qx_Common_GetControllerInfo_Rsp_t const *const);

/* Opening by name, firmware, hardware and controller information. */
Qx_Error_t Qx_Common_OpenInterface(char const *const interfaceName, Qx_PortHandle_t *const newPortHandle);
Qx_Error_t Qx_Common_OpenInterface2(Qx_Common_OpenInterface2_CmdFlags_t flags, char const *const interfaceName,
                                    Qx_PortHandle_t *const newPortHandle);
Qx_Error_t Qx_Common_CloseInterface(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_InitInterface(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetFirmwareVersion(Qx_PortHandle_t portHandle, char *const text, u32_t *const textSize);
Qx_Error_t Qx_Common_GetFirmwareVersion_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                          Qx_Common_GetFirmwareVersion_Async_Callback_t const callback);
Qx_Error_t Qx_Common_GetFirmwareVersion_Async_RemoveCallback(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetFirmwareVersion_Async(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetFirmwareErrorDescription(Qx_PortHandle_t portHandle, Qx_Error_t const errorCode,
                                                 char *const text, u32_t *const textSize);
Qx_Error_t Qx_Common_GetHardwareVersion(Qx_PortHandle_t portHandle, Qx_Common_GetHardwareVersion_Cmd_t const *const cmd,
                                        Qx_Common_GetHardwareVersion_Rsp_t *const rsp);
Qx_Error_t Qx_Common_SoftwareReset(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetControllerInfo(Qx_PortHandle_t portHandle, Qx_Common_GetControllerInfo_Rsp_t *const rsp);
Qx_Error_t Qx_Common_GetControllerInfo_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                         Qx_Common_GetControllerInfo_Async_Callback_t const callback);
Qx_Error_t Qx_Common_GetControllerInfo_Async_RemoveCallback(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetControllerInfo_Async(Qx_PortHandle_t portHandle);

/* Interface and transceiver information. */
#pragma pack(push, 4)

typedef struct {
  u8_t InterfaceType;
  Qx_Common_GetInterfaceInfo_RspFlags_t Flags;
  u8_t InstanceId;
  u8_t reserved;
  u32_t InterfaceVersion;
  u32_t NumberOfFeatures;
  Qx_Common_Features_t Features[32];
} Qx_Common_GetInterfaceInfo_Rsp_t;

typedef struct {
  u8_t NumberOfTransceiverInfos;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  struct {
    u8_t HardwarePosition;
    Qx_Common_TransceiverFlags_t TransceiverFlags;
    u16_t TransceiverType;
  } TransceiverInfos[256];
} Qx_Common_GetTransceiverInfo_Rsp_t;

typedef struct {
  u8_t HardwarePosition;
  u8_t HardwareSubPosition;
  u16_t Type;
  Qx_Common_TransceiverFlags_t Flags;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t;

typedef struct {
  Qx_Common_GetInterfaceNumber_CmdFlags_t Flags;
  u8_t InterfaceType;
  u8_t InstanceId;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Common_GetInterfaceNumber_Parameters_t;

typedef struct {
  u8_t InterfaceNumber;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_GetInterfaceNumber_Rsp_t;

#pragma pack(pop)

typedef void (*Qx_Common_GetInterfaceInfo_Async_Callback_t)(Qx_PortHandle_t const,
                                                            Qx_Common_GetInterfaceInfo_Rsp_t const *const);
typedef void (*Qx_Common_GetTransceiverInfo_Async_Callback_t)(Qx_PortHandle_t const,
                                                              Qx_Common_GetTransceiverInfo_Rsp_t const *const);

Qx_Error_t Qx_Common_GetInterfaceInfo(Qx_PortHandle_t portHandle, Qx_Common_GetInterfaceInfo_Rsp_t *const response);
Qx_Error_t Qx_Common_GetInterfaceInfo_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                        Qx_Common_GetInterfaceInfo_Async_Callback_t const callback);
Qx_Error_t Qx_Common_GetInterfaceInfo_Async_RemoveCallback(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetInterfaceInfo_Async(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetTransceiverInfo(Qx_PortHandle_t portHandle, Qx_Common_GetTransceiverInfo_Rsp_t *const response);
Qx_Error_t Qx_Common_GetTransceiverInfo_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                          Qx_Common_GetTransceiverInfo_Async_Callback_t const callback);
Qx_Error_t Qx_Common_GetTransceiverInfo_Async_RemoveCallback(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetTransceiverInfo_Async(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_GetTransceiverInfoForCurrentInterface(
    Qx_PortHandle_t portHandle, Qx_Common_GetTransceiverInfoForCurrentInterface_CmdFlags_t flags,
    Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t *const rsp);
char const *Qx_Common_GetTransceiverTypeDescription(Qx_Common_TransceiverType_t transceiverType);
Qx_Error_t Qx_Common_GetInterfaceNumber(Qx_PortHandle_t portHandle,
                                        Qx_Common_GetInterfaceNumber_Parameters_t const *const parameters,
                                        Qx_Common_GetInterfaceNumber_Rsp_t *const rsp);

/* Signal checks, host events and Ethernet settings. */
Qx_Error_t Qx_Common_Signal_Check(Qx_PortHandle_t portHandle, Qx_Common_Signal_t const *const signal);
Qx_Error_t Qx_Common_Signal_CheckAndTranslate(Qx_PortHandle_t portHandle, Qx_Common_Signal_t const *const signal,
                                              u8_t *const firstByte, u8_t *const firstBit, u8_t *const lastByte,
                                              u8_t *const lastBit);
Qx_Error_t Qx_Common_Events_AllocateEvent(Qx_PortHandle_t portHandle, Qx_Common_EventHandle_t *const eventHandle);
Qx_Error_t Qx_Common_Events_DeallocateEvent(Qx_PortHandle_t portHandle, Qx_Common_EventHandle_t *const eventHandle);
Qx_Error_t Qx_Common_Events_WaitForSingleEvent(Qx_PortHandle_t portHandle,
                                               Qx_Common_EventHandle_t const *const eventHandle, u32_t timeout);
/* The device's IP address: 4 bytes, first byte first. */
Qx_Error_t Qx_Common_Ethernet_IpAddress_Set(Qx_PortHandle_t portHandle, u8_t const *const ipAddress);
Qx_Error_t Qx_Common_Ethernet_IpAddress_Get(Qx_PortHandle_t portHandle, u8_t *const ipAddress);
Qx_Error_t Qx_Common_Ethernet_DHCP_Mode_Set(Qx_PortHandle_t portHandle, Qx_Common_Ethernet_DHCP_Mode_t dhcpMode);
Qx_Error_t Qx_Common_Ethernet_DHCP_Mode_Get(Qx_PortHandle_t portHandle, Qx_Common_Ethernet_DHCP_Mode_t *const dhcpMode);
Qx_Error_t Qx_Common_Ethernet_GetNetworkAdapterInfo(u32_t *const adapterCount,
                                                    Qx_Ethernet_AdapterInfo_t *const adapterInfo);
Qx_Error_t Qx_Common_Ethernet_SubNetMask_Set(Qx_PortHandle_t portHandle, u8_t const *const subNetMask);
Qx_Error_t Qx_Common_Ethernet_SubNetMask_Get(Qx_PortHandle_t portHandle, u8_t *const subNetMask);
Qx_Error_t Qx_Common_Ethernet_TcpPort_Get(Qx_PortHandle_t portHandle, u16_t *const tcpPort);
Qx_Error_t Qx_Common_Ethernet_DefaultGateway_Set(Qx_PortHandle_t portHandle, u8_t const *const defaultGateway);
Qx_Error_t Qx_Common_Ethernet_DefaultGateway_Get(Qx_PortHandle_t portHandle, u8_t *const defaultGateway);
Qx_Error_t Qx_Common_Ethernet_FtpServer_AutoStart_Enable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_Ethernet_FtpServer_AutoStart_Disable(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Common_Ethernet_FtpServer_AutoStart_GetState(Qx_PortHandle_t portHandle, u8_t *const state);

#ifdef __cplusplus
}
#endif

#endif
