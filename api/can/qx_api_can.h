/*
 * Declarations of the native CAN library (libqx_api_can) as the Python
 * bindings see them: types, enumerations, records and functions of the
 * interface initialisation, the 64-byte data record, the transmit FIFO and
 * the bus monitor, in the library's own declaration order. The node
 * configuration and the cyclic message engine follow in qx_api_can_node.h.
 *
 * Every integer constant of the module is declared here, in install order:
 * the node property identifiers and the enumerations of the CAN protocol
 * functions included, so that qx_api_can_node.h declares no enumeration.
 *
 * Parameter names matter: the bindings' list, buffer and output rules are
 * applied to exact `type name` pairs in api/can/params.txt.
 */
#ifndef QX_API_CAN_H
#define QX_API_CAN_H

#include "qx_api.h"

/* Types of the common library that the CAN functions take
 * (Qx_Common_Signal_t, Qx_Common_EventHandle_t). SWIG never sees them (it
 * does not follow #include): the CAN module knows them by name only and
 * copies a Qx_Common_Signal_t whole. */
#include "qx_api_common.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

typedef u8_t Qx_Can_IdMode_t;
typedef u32_t Qx_Can_InitInterface_CmdFlags_t;
typedef u8_t Qx_Can_MsgFlags_t;
typedef u8_t Qx_Can_TxFifo_MsgItem2_Flags_t;
typedef u32_t Qx_Can_TxFifo_QueueMsgs2_CmdFlags_t;
typedef u8_t Qx_Can_Monitor_DefineFilter_Mode_t;
typedef u8_t Qx_Can_Monitor_BufferMode_Mode_t;
typedef u16_t Qx_Can_Monitor_BufferItem_Flags_t;
typedef u8_t Qx_Can_Monitor_BufferItem_Large_Flags_t;
typedef u32_t Qx_Can_Monitor_BufferMode_Start2_CmdFlags_t;
typedef u32_t Qx_Can_Monitor_BufferMode_GetItems_Large_RspFlags_t;
typedef u32_t Qx_Can_Monitor_ListMode_GetItem_RspFlags_t;
typedef u32_t Qx_Can_Monitor_MonitorTime_Get_RspFlags_t;

/* ---- Enumerations, in the install order of the module's constants ----- */

typedef enum {
  QX_CAN__FD_MODE__NO_FD = 0,
  QX_CAN__FD_MODE__FD = 1,
  QX_CAN__FD_MODE__TX_FD = 2,
  QX_CAN__FD_MODE__TX_FD_BRS = 3,
  QX_CAN__FD_MODE__TX_NO_FD = 4,
  QX_CAN__FD_MODE__UNKNOWN = 5
} Qx_Can_FdMode_t;

typedef enum {
  QX_CAN__TX_BRS__GLOBAL__NONE = 0,
  QX_CAN__TX_BRS__GLOBAL__ALL = 1,
  QX_CAN__TX_BRS__GLOBAL__SPECIFIC = 2,
  QX_CAN__TX_BRS__GLOBAL__UNKNOWN = 3
} Qx_Can_TxBrs_Global_t;

typedef enum {
  QX_CAN__TX_BRS__INIT_VALUE__DISABLED = 0,
  QX_CAN__TX_BRS__INIT_VALUE__ENABLED = 1,
  QX_CAN__TX_BRS__INIT_VALUE__UNKNOWN = 2
} Qx_Can_TxBrs_InitValue_t;

typedef enum {
  QX_CAN__TX_ESI__GLOBAL__DEPENDS_ON_ERROR_PASSIVE_FLAG = 0,
  QX_CAN__TX_ESI__GLOBAL__IS_SET = 1,
  QX_CAN__TX_ESI__GLOBAL__DEPENDS_ON_ERROR_PASSIVE_FLAG_AND_ESI_BIT = 2,
  QX_CAN__TX_ESI__GLOBAL__UNKNOWN = 3
} Qx_Can_TxEsi_Global_t;

typedef enum {
  QX_CAN__TX_ESI__INIT_VALUE__ERROR_ACTIVE = 0,
  QX_CAN__TX_ESI__INIT_VALUE__ERROR_PASSIVE = 1,
  QX_CAN__TX_ESI__INIT_VALUE__UNKNOWN = 2
} Qx_Can_TxEsi_InitValue_t;

/* ISO 11898-1 frames, or those of the earlier non-ISO CAN FD format. */
typedef enum {
  QX_CAN__FD_FRAME_FORMAT_SPEC__ISO11898_1 = 0,
  QX_CAN__FD_FRAME_FORMAT_SPEC__BOSCH_CAN_FD_SPEC_1_0 = 1,
  QX_CAN__FD_FRAME_FORMAT_SPEC__UNKNOWN = 2
} Qx_Can_FdFrameFormatSpec_t;

typedef enum {
  QX_CAN__CYCLIC_MSGS__PROPERTY_ID__MSG_FLAG__BRS = 0,
  QX_CAN__CYCLIC_MSGS__PROPERTY_ID__MSG_FLAG__ESI = 1,
  QX_CAN__CYCLIC_MSGS__PROPERTY_ID__UNKNOWN = 2
} Qx_Can_CyclicMsgs_PropertyId_t;

typedef enum {
  QX_CAN__TRANSCEIVER_MODE__NORMAL = 0,
  QX_CAN__TRANSCEIVER_MODE__SLEEP = 1,
  QX_CAN__TRANSCEIVER_MODE__WAKE_UP = 2,
  QX_CAN__TRANSCEIVER_MODE__HIGH_SPEED = 3,
  QX_CAN__TRANSCEIVER_MODE__SINGLE_WIRE_ON_CAN_HIGH = 4,
  QX_CAN__TRANSCEIVER_MODE__SINGLE_WIRE_ON_CAN_LOW = 5
} Qx_Can_TransceiverMode_t;

typedef enum {
  QX_CAN__EVENT_TYPE__TRANSMITTED_MESSAGE = 0,
  QX_CAN__EVENT_TYPE__RECEIVED_MESSAGE = 1,
  QX_CAN__EVENT_TYPE__ERROR_FRAME = 2,
  QX_CAN__EVENT_TYPE__NM_SLEEP_ACKNOWLEDGE = 3,
  QX_CAN__EVENT_TYPE__RECEIVED_MESSAGES = 4,
  QX_CAN__EVENT_TYPE__UNKNOWN = 5
} Qx_Can_EventType_t;

typedef enum {
  QX_CAN__ACTION_TYPE__SEND_MESSAGE = 0,
  QX_CAN__ACTION_TYPE__START_PREPARED_MESSAGES = 1,
  QX_CAN__ACTION_TYPE__UNKNOWN = 2
} Qx_Can_ActionType_t;

/* Identifiers of the node properties (PropertyId of the node property
 * records, qx_api_can_node.h). */
typedef enum {
  QX_CAN__NODE__PROPERTY_ID__BAUD_RATE = 0,
  QX_CAN__NODE__PROPERTY_ID__BUS_IDLE_TIME__MS = 1,
  QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__EN = 2,
  QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__STB_N = 3,
  QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_INPUT__WAKE_N = 4,
  QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_OUTPUT__ERR_N = 5,
  QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_OUTPUT__INH = 6,
  QX_CAN__NODE__PROPERTY_ID__DISABLE_SOFTWARE_TX_PATH = 7,
  QX_CAN__NODE__PROPERTY_ID__DISABLE_NO_ACK_PAUSES = 8,
  QX_CAN__NODE__PROPERTY_ID__DISABLE_BUS_OFF_WAITING = 9,
  QX_CAN__NODE__PROPERTY_ID__ENABLE_BUS_TERMINATION = 10,
  QX_CAN__NODE__PROPERTY_ID__ENABLE_INTERNAL_VBAT = 11,
  QX_CAN__NODE__PROPERTY_ID__ENABLE_TRANSCEIVER_WAKE_UP_AFTER_BUS_OFF = 12,
  QX_CAN__NODE__PROPERTY_ID__BUS_OFF_COUNTER = 13,
  QX_CAN__NODE__PROPERTY_ID__FD_MODE = 14,
  QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__GLOBAL = 15,
  QX_CAN__NODE__PROPERTY_ID__FD__TX_BRS__INIT_VALUE = 16,
  QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__GLOBAL = 17,
  QX_CAN__NODE__PROPERTY_ID__FD__TX_ESI__INIT_VALUE = 18,
  QX_CAN__NODE__PROPERTY_ID__FD__NON_ISO = 19,
  QX_CAN__NODE__PROPERTY_ID__FD__SUPPORTED = 20,
  QX_CAN__NODE__PROPERTY_ID__BAUD_RATE_FD = 21,
  QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__TSEG1__MIN = 22,
  QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__TSEG1__MAX = 23,
  QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__TSEG2__MIN = 24,
  QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__TSEG2__MAX = 25,
  QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__SJW__MIN = 26,
  QX_CAN__NODE__PROPERTY_ID__BIT_TIMING__SJW__MAX = 27,
  QX_CAN__NODE__PROPERTY_ID__TRANSCEIVER_MODE = 28,
  QX_CAN__NODE__PROPERTY_ID__BUS_ACTIVITY__THRESHOLD_IN_US = 29,
  QX_CAN__NODE__PROPERTY_ID__BUS_ACTIVITY__STATE = 30,
  QX_CAN__NODE__PROPERTY_ID__UNKNOWN = 31
} Qx_Can_Node_PropertyId_t;

/* Enumerations of the CAN protocol functions (transport protocols, UART
 * gateway, transmit trace). */
typedef enum {
  QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__NORMAL = 0,
  QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__EXTENDED = 1,
  QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__MIXED = 2,
  QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__UNKNOWN_LAST = 3
} Qx_Can_Tp_Iso15765_AddressingFormat_t;

typedef enum {
  QX_CAN__UART_GATEWAY__UART_INSTANCE_TYPE__LVDS_CONTROL_CHANNEL = 0,
  QX_CAN__UART_GATEWAY__UART_INSTANCE_TYPE__UNKNOWN = 1
} Qx_Can_UartGateway_UartInstanceType_t;

typedef enum {
  QX_CAN__UART_GATEWAY__UART_PARITY__NONE = 0,
  QX_CAN__UART_GATEWAY__UART_PARITY__EVEN = 1,
  QX_CAN__UART_GATEWAY__UART_PARITY__ODD = 2,
  QX_CAN__UART_GATEWAY__UART_PARITY__UNKNOWN = 3
} Qx_Can_UartGateway_UartParity_t;

typedef enum {
  QX_CAN__TX_TRACE__PROPERTY_ID__REPETITIONS__NUMBER = 0,
  QX_CAN__TX_TRACE__PROPERTY_ID__REPETITIONS__COUNTER = 1,
  QX_CAN__TX_TRACE__PROPERTY_ID__UNKNOWN = 2
} Qx_Can_TxTrace_PropertyId_t;

/* ---- Records ------------------------------------------------------------ */

/* 64 data bytes of a CAN (FD) frame, seen as bytes, half-words, words or
 * 64-bit words in the host's byte order. */
typedef union {
  u8_t U8[64];
  u16_t U16[32];
  u32_t U32[16];
  u64_t U64[8];
} Qx_Can_Data_t;

/* One classic frame queued by Qx_Can_TxFifo_QueueMsgs. */
typedef struct {
  u32_t Id;
  u8_t Dlc;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Data[8];
} Qx_Can_TxFifo_MsgItem_t;

/* One classic or FD frame queued by Qx_Can_TxFifo_QueueMsgs2. */
typedef struct {
  u32_t Id;
  u8_t Dlc;
  u8_t Flags;
  u8_t MsgFlags;
  u8_t reserved3;
  u8_t Data[64];
} Qx_Can_TxFifo_MsgItem2_t;

/* One classic frame collected by the monitor's buffer mode. */
typedef struct {
  u64_t Timestamp;
  u32_t Id;
  Qx_Can_Monitor_BufferItem_Flags_t Flags;
  u8_t Dlc;
  u8_t DataLength;
  u8_t Data[8];
} Qx_Can_Monitor_BufferItem_t;

/* One classic or FD frame collected by the monitor's buffer mode. */
typedef struct {
  u64_t Timestamp;
  u32_t Id;
  Qx_Can_Monitor_BufferItem_Large_Flags_t Flags;
  u8_t reserved;
  u8_t Dlc;
  u8_t DataLength;
  u8_t Data[64];
} Qx_Can_Monitor_BufferItem_Large_t;

#pragma pack(pop)

/* ---- Native callbacks (never Python code) ------------------------------- */

typedef void (*Qx_Can_TxFifo_GetState_Async_Callback_t)(Qx_PortHandle_t, u32_t, u32_t);
typedef void (*Qx_Can_Monitor_BufferMode_Async_Callback_t)(Qx_PortHandle_t, u32_t,
                                                           Qx_Can_Monitor_BufferItem_t const *const);
typedef void (*Qx_Can_Monitor_ListMode_GetItem_Async_Callback_t)(Qx_PortHandle_t, u32_t, u64_t, u32_t, u32_t, u8_t,
                                                                 u8_t const *const);

/* ---- Interface initialisation ------------------------------------------- */

Qx_Error_t Qx_Can_InitInterface(Qx_PortHandle_t portHandle, Qx_Can_IdMode_t idMode,
                                Qx_Can_InitInterface_CmdFlags_t flags);

/* ---- Transmit FIFO ------------------------------------------------------ */

Qx_Error_t Qx_Can_TxFifo_GetState(Qx_PortHandle_t portHandle, u32_t *const queuedMsgs, u32_t *const freeMsgs);
Qx_Error_t Qx_Can_TxFifo_GetState_Async_AddCallback(Qx_PortHandle_t portHandle,
                                                    Qx_Can_TxFifo_GetState_Async_Callback_t const callback);
Qx_Error_t Qx_Can_TxFifo_GetState_Async_RemoveCallback(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_TxFifo_GetState_Async(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_TxFifo_Reset(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_TxFifo_QueueMsg(Qx_PortHandle_t portHandle, u32_t id, u8_t const *const msgData, u8_t dlc);
Qx_Error_t Qx_Can_TxFifo_QueueMsgs(Qx_PortHandle_t portHandle, u32_t timeout, u32_t const msgCount,
                                   Qx_Can_TxFifo_MsgItem_t const *const msgs);
Qx_Error_t Qx_Can_TxFifo_QueueMsgs2(Qx_PortHandle_t portHandle, Qx_Can_TxFifo_QueueMsgs2_CmdFlags_t flags,
                                    u32_t timeout, u32_t const msgCount, Qx_Can_TxFifo_MsgItem2_t const *const msgs);

/* ---- Bus monitor -------------------------------------------------------- */

Qx_Error_t Qx_Can_Monitor_DefineFilter(Qx_PortHandle_t portHandle, Qx_Can_Monitor_DefineFilter_Mode_t mode,
                                       u32_t acceptanceCode, u32_t acceptanceMask);
Qx_Error_t Qx_Can_Monitor_BufferMode_Start(Qx_PortHandle_t portHandle, Qx_Can_Monitor_BufferMode_Mode_t mode,
                                           u32_t bufferSize);
Qx_Error_t Qx_Can_Monitor_BufferMode_Start2(Qx_PortHandle_t portHandle,
                                            Qx_Can_Monitor_BufferMode_Start2_CmdFlags_t flags, u32_t bufferSize);
Qx_Error_t Qx_Can_Monitor_BufferMode_Stop(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Monitor_BufferMode_GetItems(Qx_PortHandle_t portHandle, u32_t timeout, u32_t *const itemCount,
                                              Qx_Can_Monitor_BufferItem_t *const items);
Qx_Error_t Qx_Can_Monitor_BufferMode_GetItems_Large(Qx_PortHandle_t portHandle,
                                                    Qx_Can_Monitor_BufferMode_GetItems_Large_RspFlags_t *const flags,
                                                    u32_t *const itemCount,
                                                    Qx_Can_Monitor_BufferItem_Large_t *const largeItems);
Qx_Error_t Qx_Can_Monitor_BufferMode_Async_Start(Qx_PortHandle_t portHandle, Qx_Can_Monitor_BufferMode_Mode_t mode,
                                                 Qx_Can_Monitor_BufferMode_Async_Callback_t const callback);
Qx_Error_t Qx_Can_Monitor_BufferMode_Async_Stop(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Monitor_BufferMode_EnableEvent(Qx_PortHandle_t portHandle,
                                                 Qx_Common_EventHandle_t const *const eventHandle);
Qx_Error_t Qx_Can_Monitor_BufferMode_DisableEvent(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Monitor_ListMode_Start(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Monitor_ListMode_Stop(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Monitor_ListMode_GetItem(Qx_PortHandle_t portHandle, u32_t timeout, u64_t *const timestamp,
                                           u32_t *const id, Qx_Can_Monitor_ListMode_GetItem_RspFlags_t *const flags,
                                           u8_t *const dlc, u8_t *const itemData);
Qx_Error_t Qx_Can_Monitor_ListMode_GetItem_Async_AddCallback(
    Qx_PortHandle_t portHandle, Qx_Can_Monitor_ListMode_GetItem_Async_Callback_t const callback);
Qx_Error_t Qx_Can_Monitor_ListMode_GetItem_Async_RemoveCallback(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Can_Monitor_ListMode_GetItem_Async(Qx_PortHandle_t portHandle, u32_t timeout);
Qx_Error_t Qx_Can_Monitor_WriteUserEvent(Qx_PortHandle_t portHandle, u8_t eventId, u8_t eventDataLength,
                                         u8_t const *const eventData);
Qx_Error_t Qx_Can_Monitor_MonitorTime_Get(Qx_PortHandle_t portHandle,
                                          Qx_Can_Monitor_MonitorTime_Get_RspFlags_t *const flags,
                                          u64_t *const monitorTime, u64_t *const hostTime);

#ifdef __cplusplus
}
#endif

#endif
