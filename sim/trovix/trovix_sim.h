/*
 * State of the simulated Trovix stacks: one per open port, dropped when the
 * port closes or the simulated device is reset.
 *
 * The stack is kept small: the signals and PDUs it knows (configured from a
 * text or from signal records), their last values, the signal blocks, the
 * communication manager's users and the Com signal monitors.
 */
#ifndef TROVIX_SIM_H
#define TROVIX_SIM_H

#include "qx_api_trovix_behaviour.h"
#include "qxsim_device.h"

/* Bounds of the simulated stack. */
#define TROVIX_SIM_SIGNALS 32u
#define TROVIX_SIM_VALUE_BYTES 64u
#define TROVIX_SIM_NAME_BYTES 256u

#define TROVIX_SIM_BLOCKS 8u
#define TROVIX_SIM_PDUS 8u
#define TROVIX_SIM_PDU_GROUPS 16u
#define TROVIX_SIM_USERS 8u
#define TROVIX_SIM_MONITORS 4u
#define TROVIX_SIM_MONITOR_SIGNALS 16u
/* The stack's clock (microseconds) starts beyond 32 bits; each monitor
 * reading advances it by TROVIX_SIM_MONITOR_STEP. */
#define TROVIX_SIM_CLOCK_EPOCH 0x100000005ull
#define TROVIX_SIM_MONITOR_STEP 250u
/* Bytes a signal block gives each of its signals in its data. */
#define TROVIX_SIM_BLOCK_SLOT 8u
/* Flags of Qx_Trovix_Signal_Read: the value was written since configuration. */
#define TROVIX_SIM_READ_WRITTEN 0x1u

typedef struct {
  char name[TROVIX_SIM_NAME_BYTES];
  u16_t com_id;
  u8_t transmission_mode;
  u8_t type; /* a QX_TROVIX__SIGNAL__TYPE__ value */
  u32_t bit_size;
  u32_t min_value, max_value, default_value;
  float64_t offset, factor, physical_min, physical_max;
  u8_t physical_type;
  int written;
  u8_t value[TROVIX_SIM_VALUE_BYTES];
  u16_t value_size;
  Qx_Trovix_Signal_UpdateCallback_t callback;
  u8_t callback_mode;
  u32_t callback_flags;
  u32_t pdu;          /* index of its PDU + 1, 0: none */
  u32_t bit_position; /* in its PDU */
} trovix_sim_signal;

typedef struct {
  int used;
  void *address; /* what the library hands out for the block (block.c) */
  u32_t count;
  u16_t handles[TROVIX_SIM_SIGNALS];
  u32_t buffer_size; /* 0: no buffer configured */
  u32_t polling_cycle;
} trovix_sim_block;

typedef struct {
  char name[TROVIX_SIM_NAME_BYTES];
  char ecu[TROVIX_SIM_NAME_BYTES];
  u32_t controller;
  u32_t com_id;
  u8_t bus_type;
} trovix_sim_pdu;

typedef struct {
  u32_t id;
  u32_t flags;
} trovix_sim_pdu_group;

typedef struct {
  char name[TROVIX_SIM_NAME_BYTES];
  u32_t id;
  u32_t mappings;
  u8_t requested_mode;
  u8_t current_mode;
} trovix_sim_user;

typedef struct {
  u32_t id; /* 0: slot free */
  int started;
  u32_t count;
  u16_t handles[TROVIX_SIM_MONITOR_SIGNALS];
  u32_t flags[TROVIX_SIM_MONITOR_SIGNALS];
  u32_t current; /* index of the signal the monitor presents */
} trovix_sim_monitor;

typedef struct {
  u32_t handle; /* 0: slot free */
  int initialised;
  u32_t configurations; /* texts accepted by Qx_Trovix_Config */
  trovix_sim_signal signals[TROVIX_SIM_SIGNALS];
  u32_t signal_count;
  trovix_sim_block blocks[TROVIX_SIM_BLOCKS];
  trovix_sim_pdu pdus[TROVIX_SIM_PDUS];
  u32_t pdu_count;
  trovix_sim_pdu_group groups[TROVIX_SIM_PDU_GROUPS];
  u32_t group_count;
  trovix_sim_user users[TROVIX_SIM_USERS];
  u32_t user_count;
  trovix_sim_monitor monitors[TROVIX_SIM_MONITORS];
} trovix_sim_port;

/* The state of the port `handle` (made on first use); the port must be an
 * initialised Trovix interface. 0, or the failure set as the last error. */
uint32_t trovix_sim_port_state(u32_t handle, trovix_sim_port **port);
/* The state of the port `handle` if it has one and its stack is initialised,
 * else NULL; sets no last error and makes no state. */
trovix_sim_port *trovix_sim_port_found(u32_t handle);
/* The configured signal `handle` of the port. 0, or the failure set. */
uint32_t trovix_sim_signal_of(trovix_sim_port *port, u32_t handle, trovix_sim_signal **signal);
/* Bytes of a signal's value: its bit size rounded up, 1 to 8. */
u16_t trovix_sim_signal_size(const trovix_sim_signal *signal);
/* Index of the PDU of that name, ECU and controller, or -1. */
int trovix_sim_find_pdu(const trovix_sim_port *port, const char *name, const char *ecu, u32_t controller);

#endif
