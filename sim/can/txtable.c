/*
 * The simulated transmit tables of each CAN port: TAR_TABLES tables,
 * numbered from 0, each configured for simple items (with the table's
 * identifier) or standard items (with their own), filled with items of its
 * kind, then started and stopped. A table cannot change while it runs.
 *
 * Qx_Can_Tar_GetState reports, into each cell given:
 *   type     TAR_OFF, TAR_SIMPLE or TAR_STANDARD (how the table is configured)
 *   flags    TAR_FLAG_RUNNING while the table runs
 *   items    the number of items the table holds
 *   current  the item the table sends next (0: the table starts over)
 */
#include <string.h>

#include "qx_api_can_behaviour.h"
#include "qxsim_device.h"

#define TAR_TABLES 4u
#define TAR_MAX_ITEMS 1024u

enum { TAR_OFF, TAR_SIMPLE, TAR_STANDARD };
static const char *const kind_names[] = {"no", "simple", "standard"};

#define TAR_FLAG_RUNNING 0x1u

typedef struct {
  int kind;
  int running;
  u8_t start_mode;
  u32_t items;
} tar_table;

typedef struct {
  uint32_t handle; /* 0: slot free */
  tar_table tables[TAR_TABLES];
} tar_port;

static tar_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* Table `number` of the port, written into *t. */
static uint32_t table_of(Qx_PortHandle_t handle, u8_t number, tar_table **t) {
  tar_port *p = NULL;
  QXSIM_TRY(qxsim_port_state(&table, handle, &p));
  if (number >= TAR_TABLES)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no transmit table %u (tables 0 to %u)", number, TAR_TABLES - 1);
  *t = &p->tables[number];
  return 0;
}

static uint32_t not_running(const tar_table *t, u8_t number) {
  if (t->running) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit table %u is running", number);
  return 0;
}

static Qx_Error_t configure(Qx_PortHandle_t handle, u8_t number, int kind) {
  tar_table *t = NULL;
  QXSIM_TRY(table_of(handle, number, &t));
  QXSIM_TRY(not_running(t, number));
  memset(t, 0, sizeof *t);
  t->kind = kind;
  return 0;
}

/* Items of `kind` added to table `number`. */
static Qx_Error_t add_items(Qx_PortHandle_t handle, u8_t number, int kind, u16_t count, const void *items) {
  tar_table *t = NULL;
  QXSIM_TRY(table_of(handle, number, &t));
  QXSIM_TRY(qxsim_need(items || !count, "items"));
  if (t->kind == TAR_OFF)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit table %u is not configured", number);
  if (t->kind != kind)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit table %u holds %s items, not %s items", number,
                      kind_names[t->kind], kind_names[kind]);
  QXSIM_TRY(not_running(t, number));
  if (count > TAR_MAX_ITEMS - t->items)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "transmit table %u full (%u of %u items, %u more given)", number,
                      (unsigned)t->items, TAR_MAX_ITEMS, (unsigned)count);
  t->items += count;
  return 0;
}

Qx_Error_t sim_Qx_Can_Tar_Config_Simple(Qx_PortHandle_t portHandle, u8_t tableNumber, u32_t id,
                                        u32_t numberOfRepetitions) {
  (void)id;
  (void)numberOfRepetitions;
  return configure(portHandle, tableNumber, TAR_SIMPLE);
}

Qx_Error_t sim_Qx_Can_Tar_Config_Standard(Qx_PortHandle_t portHandle, u8_t tableNumber, u32_t numberOfRepetitions,
                                          u32_t cmdFlags, u8_t startTriggerSource, u8_t stopTriggerSource,
                                          u8_t const *const startTrigger, u8_t const *const stopTrigger) {
  (void)numberOfRepetitions;
  (void)cmdFlags;
  (void)startTriggerSource;
  (void)stopTriggerSource;
  (void)startTrigger;
  (void)stopTrigger;
  return configure(portHandle, tableNumber, TAR_STANDARD);
}

Qx_Error_t sim_Qx_Can_Tar_Config_Off(Qx_PortHandle_t portHandle, u8_t tableNumber) {
  tar_table *t = NULL;
  QXSIM_TRY(table_of(portHandle, tableNumber, &t));
  if (t->kind == TAR_OFF)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit table %u is not configured", tableNumber);
  memset(t, 0, sizeof *t);
  return 0;
}

Qx_Error_t sim_Qx_Can_Tar_AddTxItems_Simple(Qx_PortHandle_t portHandle, u8_t tableNumber, u16_t numberOfTxItems,
                                            Qx_Can_Tar_TxItem_Simple_t const *const simpleItems) {
  return add_items(portHandle, tableNumber, TAR_SIMPLE, numberOfTxItems, simpleItems);
}

Qx_Error_t sim_Qx_Can_Tar_AddTxItems_Simple2(Qx_PortHandle_t portHandle, u8_t tableNumber, u16_t numberOfTxItems,
                                             Qx_Can_Tar_TxItem_Simple2_t const *const simple2Items) {
  return add_items(portHandle, tableNumber, TAR_SIMPLE, numberOfTxItems, simple2Items);
}

Qx_Error_t sim_Qx_Can_Tar_AddTxItems_Standard(Qx_PortHandle_t portHandle, u8_t tableNumber, u16_t numberOfTxItems,
                                              Qx_Can_Tar_TxItem_Standard_t const *const standardItems) {
  return add_items(portHandle, tableNumber, TAR_STANDARD, numberOfTxItems, standardItems);
}

Qx_Error_t sim_Qx_Can_Tar_AddTxItems_Standard2(Qx_PortHandle_t portHandle, u8_t tableNumber, u16_t numberOfTxItems,
                                               Qx_Can_Tar_TxItem_Standard2_t const *const standard2Items) {
  return add_items(portHandle, tableNumber, TAR_STANDARD, numberOfTxItems, standard2Items);
}

Qx_Error_t sim_Qx_Can_Tar_GetState(Qx_PortHandle_t portHandle, u8_t tableNumber,
                                   Qx_Can_Tar_GetState_Type_t *const tarType,
                                   Qx_Can_Tar_GetState_RspFlags_t *const tarRspFlags, u32_t *const tarNumberOfItems,
                                   u32_t *const tarCurrentItem) {
  tar_table *t = NULL;
  QXSIM_TRY(table_of(portHandle, tableNumber, &t));
  if (tarType) *tarType = (u8_t)t->kind;
  if (tarRspFlags) *tarRspFlags = t->running ? TAR_FLAG_RUNNING : 0u;
  if (tarNumberOfItems) *tarNumberOfItems = t->items;
  if (tarCurrentItem) *tarCurrentItem = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_Tar_Start(Qx_PortHandle_t portHandle, u8_t tableNumber, Qx_Can_Tar_Start_Mode_t mode) {
  tar_table *t = NULL;
  QXSIM_TRY(table_of(portHandle, tableNumber, &t));
  if (t->kind == TAR_OFF)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit table %u is not configured", tableNumber);
  QXSIM_TRY(not_running(t, tableNumber));
  if (!t->items) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit table %u holds no items", tableNumber);
  t->running = 1;
  t->start_mode = mode;
  return 0;
}

Qx_Error_t sim_Qx_Can_Tar_Stop(Qx_PortHandle_t portHandle, u8_t tableNumber) {
  tar_table *t = NULL;
  QXSIM_TRY(table_of(portHandle, tableNumber, &t));
  if (!t->running) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit table %u is not running", tableNumber);
  t->running = 0;
  return 0;
}
