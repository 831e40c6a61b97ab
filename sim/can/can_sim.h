/*
 * State of the simulated CAN controllers shared by the behaviours of the
 * interface, the transmit FIFO and the bus monitor: one state per open
 * port, dropped when the port closes or the simulated device is reset.
 */
#ifndef CAN_SIM_H
#define CAN_SIM_H

#include "qx_api_can_behaviour.h"
#include "qxsim_device.h"

/* Messages the transmit FIFO holds at most. */
#define CAN_SIM_TXFIFO_SIZE 1024u
/* Frames the monitor keeps for each mode before it drops new ones. */
#define CAN_SIM_MONITOR_DEPTH 256u
/* The monitor clock (microseconds) starts beyond 32 bits and advances by
 * CAN_SIM_FRAME_TIME for every frame seen on the bus. */
#define CAN_SIM_MONITOR_EPOCH 0x100000005ull
#define CAN_SIM_FRAME_TIME 100u
/* Flags of monitor items: a user event written by Qx_Can_Monitor_WriteUserEvent. */
#define CAN_SIM_ITEM_USER_EVENT 0x80u
/* Flags of Qx_Can_Monitor_BufferMode_GetItems_Large: more items are waiting. */
#define CAN_SIM_MORE_ITEMS 0x1u

/* One frame as the monitor saw it. */
typedef struct {
  u64_t timestamp;
  u32_t id;
  u8_t flags;
  u8_t dlc;
  u8_t length;
  u8_t data[QX_BUFFER_BYTES]; /* a CAN FD frame's data (api/qx_buffer.h) */
} can_sim_frame;

typedef struct {
  can_sim_frame frames[CAN_SIM_MONITOR_DEPTH];
  u32_t first;
  u32_t count;
} can_sim_queue;

typedef struct {
  u32_t handle; /* 0: slot free */
  int initialised;
  u8_t id_mode;
  /* transmit FIFO */
  u32_t queued;
  Qx_Can_TxFifo_GetState_Async_Callback_t fifo_callback;
  /* monitor */
  u8_t filter_mode;
  u32_t filter_code;
  u32_t filter_mask;
  int buffer_mode;
  can_sim_queue buffer;
  Qx_Can_Monitor_BufferMode_Async_Callback_t buffer_callback;
  int event_enabled;
  int list_mode;
  can_sim_queue list;
  Qx_Can_Monitor_ListMode_GetItem_Async_Callback_t list_callback;
} can_sim_port;

/* Helpers shared by this library's sources only, not exported. */
#define CAN_SIM_INTERNAL __attribute__((visibility("hidden")))

/* The state of an open port, made on first use, written into *port: 0, or
 * the failure status of qxsim_port_state. */
CAN_SIM_INTERNAL uint32_t can_sim_port_state(u32_t handle, can_sim_port **port);

/* Number of data bytes of a CAN (FD) frame of the given DLC. */
CAN_SIM_INTERNAL u8_t can_sim_dlc_length(u8_t dlc);

/* A frame transmitted on the port's bus: the monitor records it in every
 * mode that is running and that its acceptance filter lets through. */
CAN_SIM_INTERNAL void can_sim_monitor_frame(can_sim_port *port, u32_t id, u8_t flags, u8_t dlc, u8_t length,
                                            const u8_t *data);

/* Current monitor time. */
CAN_SIM_INTERNAL u64_t can_sim_monitor_time(void);

#endif
