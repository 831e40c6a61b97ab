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

typedef struct {
  u32_t handle; /* 0: slot free */
  int initialised;
  u32_t configurations; /* texts accepted by Qx_Trovix_Config */
} trovix_sim_port;

/* The state of the port `handle` (made on first use); the port must be an
 * initialised Trovix interface. 0, or the failure set as the last error. */
uint32_t trovix_sim_port_state(u32_t handle, trovix_sim_port **port);

#endif
