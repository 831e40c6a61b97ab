/*
 * Helpers shared by the behaviour files of the simulated base library
 * (sim/base/replies.c). Each behaviour file keeps its own state; the device
 * model they all use is the core's (sim/core/qxsim_device.h).
 */
#ifndef SIM_DEVICE_H
#define SIM_DEVICE_H

#include "qx_api_behaviour.h"
#include "qxsim_device.h"

#define SIM_INTERNAL __attribute__((visibility("hidden")))

/* Response of the device to a command: the command plus 0x40, the prefix
 * bytes, then the data echoed, cut to the capacity in `*capacity`, which
 * then holds the number of bytes written. */
SIM_INTERNAL uint32_t sim_echo_response(u8_t command, const u8_t *prefix, u32_t prefixLength, const u8_t *data,
                                        u32_t dataLength, u8_t *response, u32_t *capacity);

/* Copies `value` into a caller's buffer of *size bytes; the size cell gets
 * the text's size with its zero byte (also when it does not fit). */
SIM_INTERNAL uint32_t sim_copy_text(const char *value, char *text, u32_t *size);

#endif
