/*
 * The simulated device as all simulated libraries see it: its fixed facts,
 * its interfaces and the ports opened on them, per-port state of the
 * libraries, and the checks every behaviour uses. Implemented by the core
 * (sim/core/device.c) in the simulated base library.
 *
 * Checks follow the one failure convention of qxsim.h: 0, or the last error
 * set ("<function in progress>: ...") and its status returned, so that a
 * behaviour writes QXSIM_TRY(check) or returns the status itself.
 */
#ifndef QXSIM_DEVICE_H
#define QXSIM_DEVICE_H

#include <stddef.h>
#include <stdint.h>

#include "qx_api.h"
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

/* ---- facts of the device and its host ------------------------------------ */

/* One USB device. */
#define QXSIM_HOST_INTERFACE_TYPE QX_HOST_INTERFACE_TYPE__USB_01
#define QXSIM_HOST_COMMUNICATION_TYPE QX_HOST_COMMUNICATION_TYPE__USB
/* Serial number of the device (the Serial field of its interface
 * descriptions) and of the host. */
#define QXSIM_DEVICE_SERIAL 204711u
#define QXSIM_HOST_SERIAL 310042u
/* The device's network settings at start (byte initialisers, first octet
 * first): what its interface descriptions report and where the common
 * library's Ethernet settings start. */
#define QXSIM_DEVICE_IP_ADDRESS \
  { 192, 168, 1, 100 }
#define QXSIM_DEVICE_SUBNET_MASK \
  { 255, 255, 255, 0 }
#define QXSIM_DEVICE_GATEWAY \
  { 192, 168, 1, 1 }
/* TCP port the interface descriptions list for host connections, and the
 * TCP port of the device's Ethernet settings. */
#define QXSIM_DEVICE_HOST_TCP_PORT 50000
#define QXSIM_DEVICE_SETTINGS_TCP_PORT 1000
/* The host's network adapters, {address, mask} each, the first the one the
 * device is reached through. */
#define QXSIM_HOST_ADAPTERS                    \
  {                                            \
    {{192, 168, 1, 10}, {255, 255, 255, 0}}, { \
      {10, 0, 0, 5}, { 255, 0, 0, 0 }          \
    }                                          \
  }

/* ---- interfaces ----------------------------------------------------------- */

/* Interfaces of the device, in device order: CAN1, CAN2, LIN1, TROVIX1,
 * COMMON1 (sim/core/device.c). */
#define QXSIM_INTERFACES 5
#define QXSIM_NAME_SIZE 64

typedef struct {
  uint8_t type; /* a QX_INTERFACE_TYPE__ value */
  uint8_t controller;
  uint8_t number;
  char name[QXSIM_NAME_SIZE]; /* configured name, changed by Qx_Interface_Name_Set */
  uint32_t lock_owner;        /* handle of the port holding the lock, 0: none */
} qxsim_interface;

/* Interface `index` (0 to QXSIM_INTERFACES - 1), else NULL. */
QXSIM_EXPORT qxsim_interface *qxsim_interface_at(int index);
/* Index of the interface of that type, controller and number, else -1. */
QXSIM_EXPORT int qxsim_interface_find(unsigned type, unsigned controller, unsigned number);
/* Index of the interface configured under `name`, else -1. */
QXSIM_EXPORT int qxsim_interface_named(const char *name);
/* Index of the `instance`-th interface (from 0) of `type`, else -1. */
QXSIM_EXPORT int qxsim_interface_nth(unsigned type, unsigned instance);
/* Instance number of interface `index` among those of its type, else -1. */
QXSIM_EXPORT int qxsim_interface_instance(int index);

/* ---- ports ----------------------------------------------------------------- */

#define QXSIM_MAX_PORTS 64

/* 0 when `handle` is an open port, else QXSIM_ERROR_INVALID_HANDLE
 * ("<function>: invalid port handle 0x..."). */
QXSIM_EXPORT uint32_t qxsim_check_port(uint32_t handle);
/* As qxsim_check_port; in addition the port's interface must not be locked
 * by another port, else QXSIM_ERROR_LOCKED ("<function>: interface <name>
 * is locked by port 0x..."). */
QXSIM_EXPORT uint32_t qxsim_check_port_unlocked(uint32_t handle);
/* Index of the interface of an open port, else -1 (no last error). */
QXSIM_EXPORT int qxsim_port_interface(uint32_t handle);
/* Opens interface `index` and writes the new handle into `handle`. */
QXSIM_EXPORT uint32_t qxsim_open_port(int index, uint32_t *handle);
/* Opens the interface configured under `name`. */
QXSIM_EXPORT uint32_t qxsim_open_by_name(const char *name, uint32_t *handle);
/* Closes a port: releases its lock and the libraries' state of the port
 * (the close functions of the port tables run first). */
QXSIM_EXPORT uint32_t qxsim_close_port(uint32_t handle);
/* Handle of an open port on interface `index`, else 0. */
QXSIM_EXPORT uint32_t qxsim_port_on(int index);

/* ---- arguments ------------------------------------------------------------- */

/* 0 when `given` (a pointer or a condition), else
 * QXSIM_ERROR_INVALID_ARGUMENT ("<function>: no <what> given"). */
QXSIM_EXPORT uint32_t qxsim_need(bool given, const char *what);

/* ---- per-port state of a library ------------------------------------------- */

/* A library's table of per-port records: `count` records of `size` bytes,
 * the first member of each the port's handle (uint32_t, 0 in a free slot).
 * The core empties the record of a port when the port closes (after the
 * table's `close`, if any, has seen it) and the whole table on reset. */
typedef struct qxsim_port_table {
  void *records;
  size_t count;
  size_t size;
  void (*start)(void *record);   /* start state of a fresh (zeroed) record, or NULL */
  void (*close)(void *record);   /* releases what the record holds, or NULL */
  struct qxsim_port_table *next; /* the core's list of tables in use */
  int listed;
} qxsim_port_table;

#define QXSIM_PORT_TABLE(array, start, close) \
  { (array), sizeof(array) / sizeof((array)[0]), sizeof((array)[0]), (start), (close), NULL, 0 }

/* The record of the open port `handle` in `table`, made on first use,
 * written into *(T **)`record` (NULL on failure): 0, or
 * QXSIM_ERROR_INVALID_HANDLE, or QXSIM_ERROR_INVALID_STATE when the table
 * is full. */
QXSIM_EXPORT uint32_t qxsim_port_state(qxsim_port_table *table, uint32_t handle, void *record);

#ifdef __cplusplus
}
#endif

#endif
