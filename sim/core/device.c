/*
 * The simulated device's model shared by all simulated libraries (see
 * qxsim_device.h): its interfaces, the ports opened on them and their locks,
 * the libraries' per-port state, and the checks of port handles and
 * arguments.
 */
#include <stdio.h>
#include <string.h>

#include "qxsim_device.h"

static const qxsim_interface start_interfaces[] = {
    {QX_INTERFACE_TYPE__CAN, 0, 0, "CAN1", 0},       {QX_INTERFACE_TYPE__CAN, 0, 1, "CAN2", 0},
    {QX_INTERFACE_TYPE__LIN, 1, 0, "LIN1", 0},       {QX_INTERFACE_TYPE__TROVIX, 2, 0, "TROVIX1", 0},
    {QX_INTERFACE_TYPE__COMMON, 3, 0, "COMMON1", 0},
};
_Static_assert(sizeof start_interfaces / sizeof start_interfaces[0] == QXSIM_INTERFACES,
               "QXSIM_INTERFACES counts the device's interfaces");

static qxsim_interface interfaces[QXSIM_INTERFACES];

#define FIRST_HANDLE 0x10001u

typedef struct {
  uint32_t handle; /* 0: slot free */
  int interface;
} port;

static port ports[QXSIM_MAX_PORTS];
static uint32_t next_handle;
static qxsim_port_table *tables; /* port tables in use */

static void device_reset(void) {
  qxsim_port_table *t;
  memcpy(interfaces, start_interfaces, sizeof interfaces);
  memset(ports, 0, sizeof ports);
  next_handle = FIRST_HANDLE;
  for (t = tables; t; t = t->next) memset(t->records, 0, t->count * t->size);
}

__attribute__((constructor)) static void device_init(void) {
  device_reset();
  qxsim_on_reset(device_reset);
}

/* ---- interfaces ------------------------------------------------------------ */

qxsim_interface *qxsim_interface_at(int index) {
  return index >= 0 && index < QXSIM_INTERFACES ? &interfaces[index] : NULL;
}

int qxsim_interface_find(unsigned type, unsigned controller, unsigned number) {
  int i;
  for (i = 0; i < QXSIM_INTERFACES; i++)
    if (interfaces[i].type == type && interfaces[i].controller == controller && interfaces[i].number == number)
      return i;
  return -1;
}

int qxsim_interface_named(const char *name) {
  int i;
  for (i = 0; name && i < QXSIM_INTERFACES; i++)
    if (strcmp(interfaces[i].name, name) == 0) return i;
  return -1;
}

int qxsim_interface_nth(unsigned type, unsigned instance) {
  int i;
  for (i = 0; i < QXSIM_INTERFACES; i++)
    if (interfaces[i].type == type && instance-- == 0) return i;
  return -1;
}

int qxsim_interface_instance(int index) {
  int i, instance = 0;
  if (!qxsim_interface_at(index)) return -1;
  for (i = 0; i < index; i++)
    if (interfaces[i].type == interfaces[index].type) instance++;
  return instance;
}

/* ---- ports ----------------------------------------------------------------- */

static port *find_port(uint32_t handle) {
  int i;
  if (!handle) return NULL;
  for (i = 0; i < QXSIM_MAX_PORTS; i++)
    if (ports[i].handle == handle) return &ports[i];
  return NULL;
}

uint32_t qxsim_check_port(uint32_t handle) {
  if (find_port(handle)) return 0;
  return qxsim_fail(QXSIM_ERROR_INVALID_HANDLE, "invalid port handle 0x%08X", handle);
}

uint32_t qxsim_check_port_unlocked(uint32_t handle) {
  const qxsim_interface *i;
  QXSIM_TRY(qxsim_check_port(handle));
  i = &interfaces[find_port(handle)->interface];
  if (i->lock_owner && i->lock_owner != handle)
    return qxsim_fail(QXSIM_ERROR_LOCKED, "interface %s is locked by port 0x%08X", i->name, i->lock_owner);
  return 0;
}

int qxsim_port_interface(uint32_t handle) {
  const port *p = find_port(handle);
  return p ? p->interface : -1;
}

uint32_t qxsim_open_port(int index, uint32_t *handle) {
  port *p = NULL;
  int i;
  QXSIM_TRY(qxsim_need(handle, "handle cell"));
  for (i = 0; !p && i < QXSIM_MAX_PORTS; i++)
    if (!ports[i].handle) p = &ports[i];
  if (!p) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "too many open ports");
  p->handle = next_handle++;
  p->interface = index;
  *handle = p->handle;
  return 0;
}

uint32_t qxsim_open_by_name(const char *name, uint32_t *handle) {
  int i;
  QXSIM_TRY(qxsim_need(name, "interface name"));
  i = qxsim_interface_named(name);
  if (i < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no interface named \"%s\"", name);
  return qxsim_open_port(i, handle);
}

/* The record of `handle` in `table`, else NULL. */
static unsigned char *find_record(const qxsim_port_table *table, uint32_t handle) {
  unsigned char *records = table->records;
  size_t i;
  for (i = 0; i < table->count; i++) {
    uint32_t owner;
    memcpy(&owner, records + i * table->size, sizeof owner);
    if (owner == handle) return records + i * table->size;
  }
  return NULL;
}

uint32_t qxsim_close_port(uint32_t handle) {
  port *p = find_port(handle);
  qxsim_port_table *t;
  QXSIM_TRY(qxsim_check_port(handle));
  if (interfaces[p->interface].lock_owner == handle) interfaces[p->interface].lock_owner = 0;
  for (t = tables; t; t = t->next) {
    unsigned char *record = find_record(t, handle);
    if (!record) continue;
    if (t->close) t->close(record);
    memset(record, 0, t->size);
  }
  memset(p, 0, sizeof *p);
  return 0;
}

uint32_t qxsim_port_on(int index) {
  int i;
  for (i = 0; i < QXSIM_MAX_PORTS; i++)
    if (ports[i].handle && ports[i].interface == index) return ports[i].handle;
  return 0;
}

/* ---- arguments ------------------------------------------------------------- */

uint32_t qxsim_need(bool given, const char *what) {
  return given ? 0 : qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "no %s given", what);
}

/* ---- per-port state -------------------------------------------------------- */

uint32_t qxsim_port_state(qxsim_port_table *table, uint32_t handle, void *record) {
  unsigned char *found = NULL;
  uint32_t status = qxsim_check_port(handle);
  if (!status) {
    if (!table->listed) {
      table->listed = 1;
      table->next = tables;
      tables = table;
    }
    found = find_record(table, handle);
    if (!found && (found = find_record(table, 0)) != NULL) {
      memset(found, 0, table->size);
      memcpy(found, &handle, sizeof handle);
      if (table->start) table->start(found);
    }
    if (!found) status = qxsim_fail(QXSIM_ERROR_INVALID_STATE, "too many ports in use");
  }
  memcpy(record, &(void *){found}, sizeof(void *));
  return status;
}
