/*
 * Control entries of the simulated CAN library's transport protocols and
 * diagnostic sessions (sim/can/tp.c), exported by libqx_api_can.so beside
 * the native functions. Tests reach them through ctypes on the library the
 * module loaded (tests/can/tp_control.py), as they reach the device's
 * control interface (sim/core/qxsim.h).
 *
 * What the simulated library does (its part of the native contract):
 *  - Each port has channels 1 to QXSIM_CAN_TP_CHANNELS. Qx_Can_Tp_GetChannel
 *    (or Qx_Can_Tp_GetChannel_Async) hands out the lowest free one;
 *    Qx_Can_Tp_FreeChannel gives it back and drops everything kept for it.
 *    Every function taking a channel fails for a channel that is not taken
 *    ("channel <n> is not taken") or does not exist ("no channel <n>").
 *  - A channel keeps the transport protocol configured on it (the record as
 *    given) until Qx_Can_Tp_Config_Off or another configuration; a
 *    diagnostic session needs a transport it runs over (GMLAN over GMLAN,
 *    J1939 over J1939, KWP2000 over TP 1.6 or TP 2.0 over those, the ISO-TP
 *    sessions over either ISO 15765 form) and keeps its configuration until
 *    Qx_Can_Diag_Config_Off, Qx_Can_Tp_Config_Off or another configuration.
 *  - The diagnostic state is [error code, state, type, response flags]:
 *    type is the session configured (QXSIM_CAN_DIAG_TYPE_), state
 *    QXSIM_CAN_DIAG_STATE_READY once configured, error code and flags 0,
 *    until a test steers them (qxsim_can_diag_state).
 *  - Broadcast bytes that arrive for a channel (qxsim_can_tp_broadcast_arrive)
 *    wait until Qx_Can_Tp_Broadcast_GetData reads them (oldest first, at
 *    most the capacity asked for) or Qx_Can_Tp_Broadcast_GetData_Async hands
 *    all of them to the channel's callback.
 *  - The asynchronous queries answer at once: Qx_Can_Tp_GetChannel_Async,
 *    Qx_Can_Tp_Broadcast_GetData_Async and Qx_Can_Diag_GetState_Async call
 *    the callback registered for the port (and channel) on the caller's
 *    thread before they return, and fail when none is registered. No
 *    callback is ever called from another thread or outside such a call.
 */
#ifndef QXSIM_CAN_TP_H
#define QXSIM_CAN_TP_H

#include <stdint.h>

#include "qx_buffer.h"
#include "qxsim.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Channels of a port (numbered from 1). */
#define QXSIM_CAN_TP_CHANNELS 16
/* Broadcast bytes sent at most (the buffer of the call, api/qx_buffer.h). */
#define QXSIM_CAN_TP_BROADCAST_BYTES QX_BUFFER_BYTES
/* Received broadcast bytes a channel keeps; later ones are lost. */
#define QXSIM_CAN_TP_RECEIVE_BYTES 1024

/* Diagnostic session types (the state's type value). */
#define QXSIM_CAN_DIAG_TYPE_NONE 0
#define QXSIM_CAN_DIAG_TYPE_GMLAN 1
#define QXSIM_CAN_DIAG_TYPE_J1939 2
#define QXSIM_CAN_DIAG_TYPE_KW2000_ISOTP 3
#define QXSIM_CAN_DIAG_TYPE_KW2000_TP_1_6 4
#define QXSIM_CAN_DIAG_TYPE_KW2000_TP_2_0 5
#define QXSIM_CAN_DIAG_TYPE_UDS_ISOTP 6
#define QXSIM_CAN_DIAG_TYPE_UDS 7

/* Diagnostic states before a test steers them. */
#define QXSIM_CAN_DIAG_STATE_OFF 0
#define QXSIM_CAN_DIAG_STATE_READY 1

/* `length` bytes arrive for the broadcast receiver of taken channel
 * `channel` of open port `port`. Returns the number of bytes kept, or -1
 * when the port is not open or the channel not taken (no last error set). */
QXSIM_EXPORT int qxsim_can_tp_broadcast_arrive(uint32_t port, uint8_t channel, const void *bytes, int length);

/* From now on the diagnostic state of taken channel `channel` of open port
 * `port` reports this error code, state and response flags (its type stays
 * the session configured). 0, or -1 as above. */
QXSIM_EXPORT int qxsim_can_diag_state(uint32_t port, uint8_t channel, uint32_t error, uint8_t state, uint32_t flags);

#ifdef __cplusplus
}
#endif

#endif
