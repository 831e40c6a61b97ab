/*
 * Declarations of the XCP master of libqx_api_common, its function-block
 * error queries and the temperature and PXI slot queries, in the library's
 * declaration order (after the event/action engine of qx_api_common_ea.h):
 * first all constants, then the records and functions.
 */
#ifndef QX_API_COMMON_XCP_H
#define QX_API_COMMON_XCP_H

#include "qx_api_common.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef enum {
  QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO_DEPTH = 0,
  QX_COMMON__XCP__PROPERTY_ID__CTO_RX_FIFO_DEPTH = 1,
  QX_COMMON__XCP__PROPERTY_ID__DTO_TX_FIFO_DEPTH = 2,
  QX_COMMON__XCP__PROPERTY_ID__CTO_TX_FIFO_DEPTH = 3,
  QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO__USE_TIMESTAMP = 4,
  QX_COMMON__XCP__PROPERTY_ID__UNKNOWN = 5
} Qx_Common_Xcp_PropertyId_t;

typedef enum {
  QX_COMMON__XCP__CHECKSUM_TYPE__UNKNOWN = 0,
  QX_COMMON__XCP__CHECKSUM_TYPE__XCP_ADD_11 = 1,
  QX_COMMON__XCP__CHECKSUM_TYPE__XCP_ADD_12 = 2,
  QX_COMMON__XCP__CHECKSUM_TYPE__XCP_ADD_14 = 3,
  QX_COMMON__XCP__CHECKSUM_TYPE__XCP_ADD_22 = 4,
  QX_COMMON__XCP__CHECKSUM_TYPE__XCP_ADD_24 = 5,
  QX_COMMON__XCP__CHECKSUM_TYPE__XCP_ADD_44 = 6,
  QX_COMMON__XCP__CHECKSUM_TYPE__XCP_CRC_16 = 7,
  QX_COMMON__XCP__CHECKSUM_TYPE__CRC_16_CITT = 8,
  QX_COMMON__XCP__CHECKSUM_TYPE__CRC_32 = 9,
  QX_COMMON__XCP__CHECKSUM_TYPE__USER_DEFINED = 255
} Qx_Common_Xcp_ChecksumType_t;

#define QX_COMMON__XCP__COMMAND__DATA_BUFFER_SIZE 4096

typedef enum {
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX = 0,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_FILL = 1,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_CTR = 2,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_FILL3 = 3,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_CTR_FILL2 = 4,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_LEN = 5,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_CTR_LEN = 6,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_FILL2_LEN = 7,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__NAX_CTR_FILL_LEN = 8,
  QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__UNKNOWN = 9
} Qx_Common_Xcp_FlexRay_HeaderType_t;

typedef enum {
  QX_COMMON__XCP__FLEXRAY__PACKET_ALIGNMENT__8_BIT = 0,
  QX_COMMON__XCP__FLEXRAY__PACKET_ALIGNMENT__16_BIT = 1,
  QX_COMMON__XCP__FLEXRAY__PACKET_ALIGNMENT__32_BIT = 2,
  QX_COMMON__XCP__FLEXRAY__PACKET_ALIGNMENT__UNKNOWN = 3
} Qx_Common_Xcp_FlexRay_PacketAlignment_t;

#define QX_COMMON__XCP__INIT__FLEXRAY__PDU_BUFFER_SIZE 250
#define QX_COMMON__XCP__COMMAND_WITH_RESPONSE__RSP_BUFFER_SIZE 4096

typedef enum {
  QX_COMMON__XCP__COMMAND__STATE__IDLE = 0,
  QX_COMMON__XCP__COMMAND__STATE__SEND_COMMAND = 1,
  QX_COMMON__XCP__COMMAND__STATE__WAIT_RESPONSE = 2
} Qx_Common_Xcp_Command_State_t;

#define QX_COMMON__XCP__READ_DTO_RX_FIFO__FRAME__MAX_LENGTH 65536
#define QX_COMMON__XCP__READ_DTO_RX_FIFO_TS__FRAME__MAX_LENGTH 65536
#define QX_COMMON__XCP__READ_CTO_RX_FIFO__FRAME__MAX_LENGTH 256
#define QX_COMMON__XCP__WRITE_DTO_TX_FIFO__DATA_BUFFER_SIZE 65536
#define QX_COMMON__XCP__WRITE_CTO_TX_FIFO__DATA_BUFFER_SIZE 256

typedef enum {
  QX_COMMON__XCP__DAQ__STATE__STOPPED = 0,
  QX_COMMON__XCP__DAQ__STATE__RUNNING = 1
} Qx_Common_Xcp_Daq_State_t;

typedef enum {
  QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__UBYTE = 0,
  QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__SBYTE = 1,
  QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__UWORD = 2,
  QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__SWORD = 3,
  QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__ULONG = 4,
  QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__SLONG = 5,
  QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__FLOAT32 = 6
} Qx_Common_Xcp_Daq_Signal_DataType_t;

#define QX_COMMON__XCP__DAQ__MAX_KEY_LENGTH 256
#define QX_COMMON__XCP__DAQ__MAX_SEED_LENGTH 256

typedef enum {
  QX_COMMON__XCP__CMD__CONNECT__MODE__NORMAL = 0,
  QX_COMMON__XCP__CMD__CONNECT__MODE__USER_DEFINED = 1
} Qx_Common_Xcp_Cmd_Connect_Mode_t;

typedef enum {
  QX_COMMON__XCP__CMD__CONNECT__BYTE_ORDER__INTEL = 0,
  QX_COMMON__XCP__CMD__CONNECT__BYTE_ORDER__MOTOROLA = 1
} Qx_Common_Xcp_Cmd_Connect_ByteOrder_t;

typedef enum {
  QX_COMMON__XCP__CMD__CONNECT__ADDRESS_GRANULARITY__BYTE = 0,
  QX_COMMON__XCP__CMD__CONNECT__ADDRESS_GRANULARITY__WORD = 1,
  QX_COMMON__XCP__CMD__CONNECT__ADDRESS_GRANULARITY__DWORD = 2,
  QX_COMMON__XCP__CMD__CONNECT__ADDRESS_GRANULARITY__UNKNOWN = 3
} Qx_Common_Xcp_Cmd_Connect_AddressGranularity_t;

typedef enum {
  QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__CAL_PAG = 0,
  QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__DAQ = 1,
  QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__STIM = 2,
  QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__PGM = 3
} Qx_Common_Xcp_Cmd_GetSeed_Resource_t;

typedef enum {
  QX_COMMON__XCP__CMD__PROGRAM_CLEAR__MODE__ABSOLUTE = 0,
  QX_COMMON__XCP__CMD__PROGRAM_CLEAR__MODE__FUNCTIONAL = 1
} Qx_Common_Xcp_Cmd_ProgramClear_Mode_t;

/* Size of the text buffer of a function block's last error. */
#define QX_COMMON__FBP__FB__GET_LAST_ERROR__BUFFER_SIZE 4096

/* ---- XCP master: records and functions --------------------------------------
 *
 * Every Qx_Common_Xcp_ function names one XCP master by the port handle and
 * the XCP instance number. Array lengths are spelled as the library spells
 * them (the bindings' messages quote them). */

/* Records: natural alignment, capped at 4 bytes. */
#pragma pack(push, 4)

/* -- transport set-up -- */

typedef u32_t Qx_Common_Xcp_Init_Can_Cmd_Flags_t;
typedef u32_t Qx_Common_Xcp_Init_FlexRay_Cmd_Flags_t;
typedef u32_t Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_Flags_t;
typedef u32_t Qx_Common_Xcp_Init_Ethernet_Udp6_Cmd_Flags_t;
typedef u32_t Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_Flags_t;
typedef u32_t Qx_Common_Xcp_Init_Ethernet_Tcp6_Cmd_Flags_t;
typedef u8_t Qx_Common_Xcp_FlexRay_PacketType_t;
typedef u8_t Qx_Common_Xcp_FlexRay_PduFlags_t;

typedef struct {
  Qx_Common_Xcp_Init_Can_Cmd_Flags_t Flags;
  u32_t CanIdMaster;
  u32_t CanIdSlave;
  u32_t TxTimeout;
} Qx_Common_Xcp_Init_Can_Cmd_t;

typedef struct {
  Qx_Common_Xcp_Init_FlexRay_Cmd_Flags_t Flags;
  u32_t TxTimeout;
  u8_t Nax;
  u8_t HeaderType;      /* a QX_COMMON__XCP__FLEXRAY__HEADER_TYPE__ value */
  u8_t PacketAlignment; /* a QX_COMMON__XCP__FLEXRAY__PACKET_ALIGNMENT__ value */
  u8_t NumberOfPdus;    /* used entries of Pdus */
  u32_t reserved1;
  u32_t reserved2;
  struct {
    u32_t PduId;
    Qx_Common_Xcp_FlexRay_PacketType_t PacketType;
    Qx_Common_Xcp_FlexRay_PduFlags_t PduFlags;
    u8_t reserved1;
    u8_t reserved2;
    u32_t reserved3;
    u32_t reserved4;
  } Pdus[250];
} Qx_Common_Xcp_Init_FlexRay_Cmd_t;

typedef struct {
  Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_Flags_t Flags;
  u32_t VlanId;
  Qx_Common_Ip4Address_t MasterIpAddress;
  Qx_Common_Ip4Address_t SlaveIpAddress;
  u16_t MasterPort;
  u16_t SlavePort;
  u32_t TxTimeout;
} Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_t;

typedef struct {
  Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_Flags_t Flags;
  u32_t VlanId;
  Qx_Common_Ip4Address_t MasterIpAddress;
  Qx_Common_Ip4Address_t SlaveIpAddress;
  u16_t MasterPort;
  u16_t SlavePort;
  u32_t TxTimeout;
  u32_t TcpConnectTimeout;
} Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_t;

typedef struct {
  Qx_Common_Xcp_Init_Ethernet_Udp6_Cmd_Flags_t Flags;
  u32_t VlanId;
  Qx_Common_Ip6Address_t MasterIpAddress;
  Qx_Common_Ip6Address_t SlaveIpAddress;
  u16_t MasterPort;
  u16_t SlavePort;
  u32_t TxTimeout;
} Qx_Common_Xcp_Init_Ethernet_Udp6_Cmd_t;

typedef struct {
  Qx_Common_Xcp_Init_Ethernet_Tcp6_Cmd_Flags_t Flags;
  u32_t VlanId;
  Qx_Common_Ip6Address_t MasterIpAddress;
  Qx_Common_Ip6Address_t SlaveIpAddress;
  u16_t MasterPort;
  u16_t SlavePort;
  u32_t TxTimeout;
  u32_t TcpConnectTimeout;
} Qx_Common_Xcp_Init_Ethernet_Tcp6_Cmd_t;

#pragma pack(pop)

Qx_Error_t Qx_Common_Xcp_Reset(Qx_PortHandle_t portHandle, u8_t xcpInstance);
Qx_Error_t Qx_Common_Xcp_Init_Can(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                  Qx_Common_Xcp_Init_Can_Cmd_t const *const cmd);
Qx_Error_t Qx_Common_Xcp_Init_FlexRay(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                      Qx_Common_Xcp_Init_FlexRay_Cmd_t const *const cmd);
Qx_Error_t Qx_Common_Xcp_Init_Ethernet_Udp4(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                            Qx_Common_Xcp_Init_Ethernet_Udp4_Cmd_t const *const cmd);
Qx_Error_t Qx_Common_Xcp_Init_Ethernet_Udp6(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                            Qx_Common_Xcp_Init_Ethernet_Udp6_Cmd_t const *const cmd);
Qx_Error_t Qx_Common_Xcp_Init_Ethernet_Tcp4(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                            Qx_Common_Xcp_Init_Ethernet_Tcp4_Cmd_t const *const cmd);
Qx_Error_t Qx_Common_Xcp_Init_Ethernet_Tcp6(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                            Qx_Common_Xcp_Init_Ethernet_Tcp6_Cmd_t const *const cmd);


/* -- raw commands, command state and properties -- */

typedef u8_t Qx_Common_Xcp_CommandWithResponse_Cmd_Flags_t;
typedef u32_t Qx_Common_Xcp_CommandWithResponse_RspFlags_t;
typedef u32_t Qx_Common_Xcp_GetState_RspFlags_t;

#pragma pack(push, 4)

typedef struct {
  u32_t RxTimeout;
  Qx_Common_Xcp_CommandWithResponse_Cmd_Flags_t Flags;
  u8_t NumberOfRetries;
  u16_t Length; /* command bytes at the start of Data */
  u8_t Data[4096];
} Qx_Common_Xcp_CommandWithResponse_Cmd_t;

typedef struct {
  Qx_Common_Xcp_CommandWithResponse_RspFlags_t Flags;
  u32_t Error;
  u32_t Length; /* response bytes at the start of Data */
  u8_t Data[4096];
} Qx_Common_Xcp_CommandWithResponse_Rsp_t;

typedef struct {
  Qx_Common_Xcp_GetState_RspFlags_t Flags;
  u8_t CommandState; /* a QX_COMMON__XCP__COMMAND__STATE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_Xcp_GetState_Rsp_t;

typedef struct {
  u16_t PropertyId; /* a QX_COMMON__XCP__PROPERTY_ID__ value */
  u8_t reserved1;
  u8_t reserved2;
} Qx_Common_Xcp_Property_GetById_Cmd_t;

typedef struct {
  u16_t PropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Value;
} Qx_Common_Xcp_Property_GetById_Rsp_t;

typedef struct {
  u16_t PropertyId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Value;
} Qx_Common_Xcp_Property_SetById_Cmd_t;

#pragma pack(pop)

Qx_Error_t Qx_Common_Xcp_CommandWithResponse(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                             Qx_Common_Xcp_CommandWithResponse_Cmd_t const *const cmd,
                                             Qx_Common_Xcp_CommandWithResponse_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_GetState(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                  Qx_Common_Xcp_GetState_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Property_GetById(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                          Qx_Common_Xcp_Property_GetById_Cmd_t const *const cmd,
                                          Qx_Common_Xcp_Property_GetById_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Property_SetById(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                          Qx_Common_Xcp_Property_SetById_Cmd_t const *const cmd);


/* -- DTO and CTO FIFOs -- */

typedef u8_t Qx_Common_Xcp_ReadDtoRxFifo_Frame_Flags_t;
typedef u8_t Qx_Common_Xcp_ReadDtoRxFifoTs_Frame_Flags_t;
typedef u8_t Qx_Common_Xcp_ReadCtoRxFifo_Frame_Flags_t;
typedef u16_t Qx_Common_Xcp_ReadDtoRxFifo2_Frame_Flags_t;
typedef u16_t Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_Flags_t;
typedef u32_t Qx_Common_Xcp_ReadDtoRxFifo2_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_ReadDtoRxFifo2Ts_CmdFlags_t;

#pragma pack(push, 4)

typedef struct {
  Qx_Common_Xcp_ReadDtoRxFifo_Frame_Flags_t Flags;
  u8_t reserved;
  u16_t Length;
  u8_t Data[0x10000];
} Qx_Common_Xcp_ReadDtoRxFifo_Frame_t;

typedef struct {
  Qx_Common_Xcp_ReadDtoRxFifoTs_Frame_Flags_t Flags;
  u8_t reserved;
  u16_t Length;
  u8_t Timestamp[8];
  u8_t Data[0x10000];
} Qx_Common_Xcp_ReadDtoRxFifoTs_Frame_t;

/* Where one frame lies in the byte buffer of Qx_Common_Xcp_ReadDtoRxFifo2. */
typedef struct {
  Qx_Common_Xcp_ReadDtoRxFifo2_Frame_Flags_t Flags;
  u16_t Length;
  u32_t Offset;
} Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t;

typedef struct {
  Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_Flags_t Flags;
  u16_t Length;
  u32_t Offset;
  u8_t Timestamp[8];
} Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t;

typedef struct {
  Qx_Common_Xcp_ReadCtoRxFifo_Frame_Flags_t Flags;
  u8_t reserved;
  u16_t Length;
  u8_t Data[0x100];
} Qx_Common_Xcp_ReadCtoRxFifo_Frame_t;

typedef struct {
  u16_t Length;
  u8_t reserved1;
  u8_t reserved2;
  u8_t Data[0x10000];
} Qx_Common_Xcp_WriteDtoTxFifo_Frame_t;

typedef struct {
  u16_t Length;
  u8_t reserved1;
  u8_t reserved2;
  u8_t Data[256];
} Qx_Common_Xcp_WriteCtoTxFifo_Frame_t;

#pragma pack(pop)

/* The single-frame reads: framesRead is 1 when a frame was read into
 * `frame`, 0 when the FIFO was empty. */
Qx_Error_t Qx_Common_Xcp_ReadDtoRxFifo(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t *const framesRead,
                                       Qx_Common_Xcp_ReadDtoRxFifo_Frame_t *const frame);
Qx_Error_t Qx_Common_Xcp_ReadDtoRxFifoTs(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t *const framesRead,
                                         Qx_Common_Xcp_ReadDtoRxFifoTs_Frame_t *const frame);
/* The buffered reads: frames are copied one after another into `buffer`
 * (bufferSize bytes); numberOfFrames holds on entry the descriptors that
 * `frames` has room for and on return the frames read. */
Qx_Error_t Qx_Common_Xcp_ReadDtoRxFifo2(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                        Qx_Common_Xcp_ReadDtoRxFifo2_CmdFlags_t flags, u32_t bufferSize,
                                        u8_t *const buffer, u32_t *const numberOfFrames,
                                        Qx_Common_Xcp_ReadDtoRxFifo2_Frame_t *const frames);
Qx_Error_t Qx_Common_Xcp_ReadDtoRxFifo2Ts(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                          Qx_Common_Xcp_ReadDtoRxFifo2Ts_CmdFlags_t flags, u32_t bufferSize,
                                          u8_t *const buffer, u32_t *const numberOfFrames,
                                          Qx_Common_Xcp_ReadDtoRxFifo2Ts_Frame_t *const frames);
Qx_Error_t Qx_Common_Xcp_ReadCtoRxFifo(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t *const framesRead,
                                       Qx_Common_Xcp_ReadCtoRxFifo_Frame_t *const frame);
/* The writes: numberOfFrames records from `frames`. */
Qx_Error_t Qx_Common_Xcp_WriteDtoTxFifo(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t numberOfFrames,
                                        Qx_Common_Xcp_WriteDtoTxFifo_Frame_t const *const frames);
Qx_Error_t Qx_Common_Xcp_WriteCtoTxFifo(Qx_PortHandle_t portHandle, u8_t xcpInstance, u32_t numberOfFrames,
                                        Qx_Common_Xcp_WriteCtoTxFifo_Frame_t const *const frames);

/* -- session and access commands -- */

typedef u32_t Qx_Common_Xcp_Cmd_Connect_RspFlags_t;
typedef u32_t Qx_Common_Xcp_Cmd_GetStatus_RspFlags_t;
typedef u32_t Qx_Common_Xcp_Cmd_GetCommModeInfo_RspFlags_t;

#pragma pack(push, 4)

typedef struct {
  u8_t Mode; /* a QX_COMMON__XCP__CMD__CONNECT__MODE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_Xcp_Cmd_Connect_Cmd_t;

typedef struct {
  Qx_Common_Xcp_Cmd_Connect_RspFlags_t Flags;
  u8_t ByteOrder;          /* a QX_COMMON__XCP__CMD__CONNECT__BYTE_ORDER__ value */
  u8_t AddressGranularity; /* a QX_COMMON__XCP__CMD__CONNECT__ADDRESS_GRANULARITY__ value */
  u8_t ProtocolLayerVersion;
  u8_t TransportLayerVersion;
  u16_t MaxDto;
  u8_t MaxCto;
  u8_t reserved;
} Qx_Common_Xcp_Cmd_Connect_Rsp_t;

/* The library spells the second field so. */
typedef struct {
  Qx_Common_Xcp_Cmd_GetStatus_RspFlags_t Flags;
  u16_t SessionConfigutationId;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Common_Xcp_Cmd_GetStatus_Rsp_t;

typedef struct {
  Qx_Common_Xcp_Cmd_GetCommModeInfo_RspFlags_t Flags;
  u8_t MaxBs;
  u8_t MinSt;
  u8_t QueueSize;
  u8_t XcpDriverVersionNumber;
} Qx_Common_Xcp_Cmd_GetCommModeInfo_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Common_Xcp_Cmd_Connect(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                     Qx_Common_Xcp_Cmd_Connect_Cmd_t const *const cmd,
                                     Qx_Common_Xcp_Cmd_Connect_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Cmd_Disconnect(Qx_PortHandle_t portHandle, u8_t xcpInstance);
Qx_Error_t Qx_Common_Xcp_Cmd_GetStatus(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                       Qx_Common_Xcp_Cmd_GetStatus_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Cmd_GetCommModeInfo(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                             Qx_Common_Xcp_Cmd_GetCommModeInfo_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Cmd_GetSeed(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                     Qx_Common_Xcp_Cmd_GetSeed_Resource_t resource, u32_t *const seedLength,
                                     u8_t *const seed);
Qx_Error_t Qx_Common_Xcp_Cmd_Unlock(Qx_PortHandle_t portHandle, u8_t xcpInstance, u8_t keyLength,
                                    u8_t const *const key);


/* -- memory and programming commands -- */

typedef u8_t Qx_Common_Xcp_Cmd_Download_CmdFlags_t;
typedef u8_t Qx_Common_Xcp_Cmd_ProgramClear_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Cmd_GetPgmProcessorInfo_RspFlags_t;
typedef u32_t Qx_Common_Xcp_Cmd_Program_CmdFlags_t;

#pragma pack(push, 4)

typedef struct {
  u32_t Address;
  u8_t AddressExtension;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_Xcp_Cmd_SetMta_Cmd_t;

typedef struct {
  u32_t Address;
  u8_t AddressExtension;
  Qx_Common_Xcp_Cmd_Download_CmdFlags_t Flags;
  u8_t reserved1;
  u8_t reserved2;
  u32_t CodeSize;
} Qx_Common_Xcp_Cmd_Download_Cmd_t;

typedef struct {
  u32_t Address;
  u8_t AddressExtension;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t NumberOfBytes;
} Qx_Common_Xcp_Cmd_Upload_Cmd_t;

typedef struct {
  Qx_Common_Xcp_Cmd_GetPgmProcessorInfo_RspFlags_t Flags;
  u8_t MaxSector;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_Xcp_Cmd_GetPgmProcessorInfo_Rsp_t;

typedef struct {
  u8_t SectorNumber;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_Xcp_Cmd_GetSectorInfo_Cmd_t;

typedef struct {
  u8_t ClearSequenceNumber;
  u8_t ProgramSequenceNumber;
  u8_t ProgrammingMethod;
  u8_t SectorNameLength;
  u32_t SectorStartAddress;
  u32_t SectorLength;
} Qx_Common_Xcp_Cmd_GetSectorInfo_Rsp_t;

/* Bytes 5 to 7 belong to no field: ClearRange lies at its alignment. */
typedef struct {
  u8_t Mode; /* a QX_COMMON__XCP__CMD__PROGRAM_CLEAR__MODE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  Qx_Common_Xcp_Cmd_ProgramClear_CmdFlags_t Flags;
  u32_t ClearRange;
  u32_t ProjectSpecific;
} Qx_Common_Xcp_Cmd_ProgramClear_Cmd_t;

typedef struct {
  u32_t BlockSize;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
} Qx_Common_Xcp_Cmd_BuildChecksum_Cmd_t;

typedef struct {
  u8_t ChecksumType; /* a QX_COMMON__XCP__CHECKSUM_TYPE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t Checksum;
} Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t;

typedef struct {
  Qx_Common_Xcp_Cmd_Program_CmdFlags_t Flags;
  u32_t Address;
  u8_t AddressExtension;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t CodeSize;
} Qx_Common_Xcp_Cmd_Program_Cmd_t;

#pragma pack(pop)

Qx_Error_t Qx_Common_Xcp_Cmd_SetMta(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                    Qx_Common_Xcp_Cmd_SetMta_Cmd_t const *const cmd);
Qx_Error_t Qx_Common_Xcp_Cmd_Download(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                      Qx_Common_Xcp_Cmd_Download_Cmd_t const *const cmd, u8_t const *const data);
Qx_Error_t Qx_Common_Xcp_Cmd_Upload(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                    Qx_Common_Xcp_Cmd_Upload_Cmd_t const *const cmd, u8_t *const data);
Qx_Error_t Qx_Common_Xcp_Cmd_GetPgmProcessorInfo(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                                 Qx_Common_Xcp_Cmd_GetPgmProcessorInfo_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Cmd_GetSectorInfo(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                           Qx_Common_Xcp_Cmd_GetSectorInfo_Cmd_t const *const cmd,
                                           Qx_Common_Xcp_Cmd_GetSectorInfo_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Cmd_ProgramClear(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                          Qx_Common_Xcp_Cmd_ProgramClear_Cmd_t const *const cmd);
Qx_Error_t Qx_Common_Xcp_Cmd_BuildChecksum(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                           Qx_Common_Xcp_Cmd_BuildChecksum_Cmd_t const *const cmd,
                                           Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Cmd_ProgramReset(Qx_PortHandle_t portHandle, u8_t xcpInstance);
Qx_Error_t Qx_Common_Xcp_Cmd_Program(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                     Qx_Common_Xcp_Cmd_Program_Cmd_t const *const cmd, u8_t const *const data);


/* -- DAQ lists -- */

typedef u32_t Qx_Common_Xcp_Daq_GetState_RspFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_SetTimeouts_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_SetSignals_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_Signal_Flags_t;
typedef u32_t Qx_Common_Xcp_Daq_Reset_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_Start_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_Start2_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_Start2_RspFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_Stop_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_ReadRxSignals_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_ReadRxSignals_RspFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_ReadRxSignalsTs_CmdFlags_t;
typedef u32_t Qx_Common_Xcp_Daq_ReadRxSignalsTs_RspFlags_t;

#pragma pack(push, 4)

typedef struct {
  Qx_Common_Xcp_Daq_GetState_RspFlags_t Flags;
  u8_t State; /* a QX_COMMON__XCP__DAQ__STATE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Common_Xcp_Daq_GetState_Rsp_t;

typedef struct {
  Qx_Common_Xcp_Daq_SetTimeouts_CmdFlags_t Flags;
  u32_t T1;
  u32_t T2;
  u32_t T3;
  u32_t T4;
  u32_t T5;
  u32_t T6;
  u32_t T7;
} Qx_Common_Xcp_Daq_SetTimeouts_Cmd_t;

/* Handle: the caller's own value, as wide as the host's size_t. */
typedef struct {
  Qx_Common_Xcp_Daq_Signal_Flags_t Flags;
  u8_t BitOffset;
  u8_t DataType; /* a QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__ value */
  u8_t AddressExtension;
  u8_t reserved1;
  u16_t EventChannel;
  u8_t reserved2;
  u8_t reserved3;
  u32_t Address;
  size_t Handle;
} Qx_Common_Xcp_Daq_Signal_t;

typedef struct {
  Qx_Common_Xcp_Daq_Start2_CmdFlags_t Flags;
  u8_t KeyLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Key[256];
} Qx_Common_Xcp_Daq_Start2_Cmd_t;

typedef struct {
  Qx_Common_Xcp_Daq_Start2_RspFlags_t Flags;
  u8_t SeedLength;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Seed[256];
} Qx_Common_Xcp_Daq_Start2_Rsp_t;

typedef struct {
  size_t Handle;
  u32_t Address;
  u8_t DataType;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Value[4];
} Qx_Common_Xcp_Daq_RxSignal_t;

typedef struct {
  size_t Handle;
  u32_t Address;
  u8_t DataType;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Timestamp[8];
  u8_t Value[4];
} Qx_Common_Xcp_Daq_RxSignalTs_t;

#pragma pack(pop)

Qx_Error_t Qx_Common_Xcp_Daq_GetState(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                      Qx_Common_Xcp_Daq_GetState_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Daq_SetTimeouts(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                         Qx_Common_Xcp_Daq_SetTimeouts_Cmd_t const *const cmd);
Qx_Error_t Qx_Common_Xcp_Daq_SetSignals(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                        Qx_Common_Xcp_Daq_SetSignals_CmdFlags_t flags, u32_t numberOfSignals,
                                        Qx_Common_Xcp_Daq_Signal_t const *const signals);
Qx_Error_t Qx_Common_Xcp_Daq_Reset(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                   Qx_Common_Xcp_Daq_Reset_CmdFlags_t flags);
Qx_Error_t Qx_Common_Xcp_Daq_Start(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                   Qx_Common_Xcp_Daq_Start_CmdFlags_t flags);
Qx_Error_t Qx_Common_Xcp_Daq_Start2(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                    Qx_Common_Xcp_Daq_Start2_Cmd_t const *const cmd,
                                    Qx_Common_Xcp_Daq_Start2_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Xcp_Daq_Stop(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                  Qx_Common_Xcp_Daq_Stop_CmdFlags_t flags);
/* numberOfSignals: on entry the records `signals` has room for, on return
 * the records written. */
Qx_Error_t Qx_Common_Xcp_Daq_ReadRxSignals(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                           Qx_Common_Xcp_Daq_ReadRxSignals_CmdFlags_t flags,
                                           Qx_Common_Xcp_Daq_ReadRxSignals_RspFlags_t *const rspFlags,
                                           u32_t *const numberOfSignals, Qx_Common_Xcp_Daq_RxSignal_t *const signals);
Qx_Error_t Qx_Common_Xcp_Daq_ReadRxSignalsTs(Qx_PortHandle_t portHandle, u8_t xcpInstance,
                                             Qx_Common_Xcp_Daq_ReadRxSignalsTs_CmdFlags_t flags,
                                             Qx_Common_Xcp_Daq_ReadRxSignalsTs_RspFlags_t *const rspFlags,
                                             u32_t *const numberOfSignals,
                                             Qx_Common_Xcp_Daq_RxSignalTs_t *const signals);


/* ---- function blocks, temperature and PXI slot -------------------------------- */

typedef u32_t Qx_Common_Fbp_Fb_GetLastError_CmdFlags_t;

#pragma pack(push, 4)

typedef struct {
  Qx_Common_Fbp_Fb_GetLastError_CmdFlags_t Flags;
  u32_t FbId;
} Qx_Common_Fbp_Fb_GetLastError_Cmd_t;

/* Stream: the function block's name (ErrorFbNameLength bytes), then the
 * error's description (ErrorDescriptionLength bytes). */
typedef struct {
  u32_t ErrorCode;
  u32_t ErrorInfo;
  u32_t ErrorFbId;
  u16_t ErrorFbNameLength;
  u16_t ErrorDescriptionLength;
  u8_t Stream[4096];
} Qx_Common_Fbp_Fb_GetLastError_Rsp_t;

#pragma pack(pop)

Qx_Error_t Qx_Common_Fbp_Fb_GetLastError(Qx_PortHandle_t portHandle, Qx_Common_Fbp_Fb_GetLastError_Cmd_t const *const cmd,
                                         Qx_Common_Fbp_Fb_GetLastError_Rsp_t *const rsp);
Qx_Error_t Qx_Common_Fbp_Fb_GetFbIdByFbName(Qx_PortHandle_t portHandle, u32_t flags, char const *const fbName,
                                            u32_t *const fbId);
/* Degrees Celsius: the board, the FPGA, the processor and the air inside
 * the housing. */
Qx_Error_t Qx_Common_GetTemperature(Qx_PortHandle_t portHandle, float *boardTemperature, float *fpgaTemperature,
                                    float *cpuTemperature, float *ambientTemperature);
Qx_Error_t Qx_Common_GetPxiGeographicalAddress(Qx_PortHandle_t portHandle, u32_t *const geographicalAddress);

#ifdef __cplusplus
}
#endif

#endif
