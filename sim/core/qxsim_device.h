/*
 * The simulated device as all simulated libraries see it: its interfaces and
 * the ports opened on them. Implemented by the simulated base library
 * (sim/base/device.c); the other simulated libraries call it to check the
 * port handles they are given.
 */
#ifndef QXSIM_DEVICE_H
#define QXSIM_DEVICE_H

#include <stddef.h>
#include <stdint.h>

#include "qxsim.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Status values of the simulated libraries. */
#define QXSIM_ERROR_INVALID_HANDLE 0x00010001u
#define QXSIM_ERROR_NOT_FOUND 0x00010002u
#define QXSIM_ERROR_INVALID_ARGUMENT 0x00010003u
#define QXSIM_ERROR_LOCKED 0x00010004u
#define QXSIM_ERROR_NOT_SUPPORTED 0x00010005u
#define QXSIM_ERROR_BUFFER_TOO_SMALL 0x00010006u
#define QXSIM_ERROR_INVALID_STATE 0x00010007u

/* Nonzero when `handle` is an open port. */
QXSIM_EXPORT int qxsim_port_is_open(uint32_t handle);

/* Interface type (a QX_INTERFACE_TYPE__ value) of an open port, else -1. */
QXSIM_EXPORT int qxsim_port_interface_type(uint32_t handle);

/* 0 when `handle` is an open port; otherwise sets the last error
 * ("<function>: invalid port handle 0x...") and returns
 * QXSIM_ERROR_INVALID_HANDLE. */
QXSIM_EXPORT uint32_t qxsim_check_port(const char *function, uint32_t handle);

/* Opens the interface configured under `name` and writes its new handle;
 * 0, or a failure status with the last error set. */
QXSIM_EXPORT uint32_t qxsim_open_by_name(const char *function, const char *name, uint32_t *handle);

/* Serial number of the simulated device: the Serial field of its interface
 * descriptions and what Qx_Interface_GetSerialNumber reports. */
#define QXSIM_DEVICE_SERIAL 204711u

/* Configured name of the interface of an open port, else NULL. */
QXSIM_EXPORT const char *qxsim_port_interface_name(uint32_t handle);

/* As qxsim_check_port; in addition the port's interface must not be locked
 * by another port, else the last error is set ("<function>: interface
 * <name> is locked by port 0x...") and QXSIM_ERROR_LOCKED returned. */
QXSIM_EXPORT uint32_t qxsim_check_port_unlocked(const char *function, uint32_t handle);

/* Per-port state of a simulated library: the slot of the open port `handle`
 * in an array of `count` records of `size` bytes each, whose first member is
 * the port handle (uint32_t, 0 in a free slot). A port without a slot gets a
 * fresh zeroed one (slots of ports closed meanwhile are reused). NULL with
 * the last error set when the port is not open or the table is full. */
QXSIM_EXPORT void *qxsim_port_slot(const char *function, uint32_t handle, void *slots, size_t count, size_t size);

#ifdef __cplusplus
}
#endif

#endif
