/* Simulated Trovix CAN interface and AUTOSAR CAN network management: the
 * controllers with their baud rates and FD modes, the receive and transmit
 * PDU tables (sized by the MaxNumber calls, keyed by PDU identifier) and
 * one network-management node per configured controller. */
#include <string.h>

#include "trovix_tables.h"

#define CAN_SIM_CONTROLLERS 4u
#define CAN_SIM_PDUS 32u

typedef struct {
  u32_t id;
  u32_t baud_rate;
  u32_t fd_baud_rate; /* 0: none configured */
  u8_t fd_mode;
} can_controller;

typedef struct {
  u32_t pdu_id;
  u32_t can_id;
  u8_t dlc_min, dlc_max;
} can_pdu;

typedef struct {
  u32_t capacity, count;
  can_pdu entries[CAN_SIM_PDUS];
} can_pdu_table;

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t controller_count;
  can_controller controllers[CAN_SIM_CONTROLLERS];
  can_pdu_table rx, tx;
  u32_t nm_count;
  Qx_Trovix_CanNm_Autosar_Config_Parameters_t nm[CAN_SIM_CONTROLLERS];
} can_port;

static can_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t can_state(u32_t handle, can_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  return qxsim_port_state(&table, handle, port);
}

static int controller_index(const can_port *port, u32_t id) {
  u32_t i;
  for (i = 0; i < port->controller_count; i++)
    if (port->controllers[i].id == id) return (int)i;
  return -1;
}

/* A controller whose classic baud rate is configured. */
static uint32_t known_controller(can_port *port, u32_t id, can_controller **controller) {
  int index = controller_index(port, id);
  if (index < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "controller %u has no baud rate configured", (unsigned)id);
  *controller = &port->controllers[index];
  return 0;
}

Qx_Error_t sim_Qx_Trovix_CanIf_BaudRate_Config(
    Qx_PortHandle_t portHandle, u8_t canIfControllerId, u32_t canIfBaudRate,
    Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t const *const extendedParam) {
  can_port *port;
  u32_t slot = 0;
  QXSIM_TRY(can_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(extendedParam, "bit-timing limits"));
  QXSIM_TRY(qxsim_need(canIfBaudRate, "baud rate"));
  QXSIM_TRY(trovix_check_limits(&extendedParam->SamplePoint_Min));
  QXSIM_TRY(trovix_table_slot("controller", CAN_SIM_CONTROLLERS, &port->controller_count,
                              controller_index(port, canIfControllerId), &slot));
  port->controllers[slot].id = canIfControllerId;
  port->controllers[slot].baud_rate = canIfBaudRate;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_CanIf_Controller_Config(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_CanIf_Controller_Config_t const *const controllerConfig) {
  can_port *port;
  can_controller *controller = NULL;
  QXSIM_TRY(can_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(controllerConfig, "controller configuration"));
  QXSIM_TRY(known_controller(port, controllerConfig->ControllerId, &controller));
  if (controllerConfig->FdMode >= QX_TROVIX__CAN_IF__FD_MODE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown FD mode %u", (unsigned)controllerConfig->FdMode);
  controller->fd_mode = controllerConfig->FdMode;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_CanIf_BaudRateFd_Config(Qx_PortHandle_t portHandle,
                                                 Qx_Trovix_CanIf_BaudRateFd_Config_Cmd_t const *const baudRateFdCmd) {
  can_port *port;
  can_controller *controller = NULL;
  QXSIM_TRY(can_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(baudRateFdCmd, "FD baud-rate command"));
  QXSIM_TRY(known_controller(port, baudRateFdCmd->ControllerId, &controller));
  if (controller->fd_mode != QX_TROVIX__CAN_IF__FD_MODE__FD)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "controller %u is not in FD mode", (unsigned)controller->id);
  QXSIM_TRY(qxsim_need(baudRateFdCmd->BaudRate, "FD baud rate"));
  QXSIM_TRY(trovix_check_limits(&baudRateFdCmd->SamplePoint_Min));
  controller->fd_baud_rate = baudRateFdCmd->BaudRate;
  return 0;
}

static uint32_t size_pdus(u32_t handle, int transmit, u32_t wanted) {
  can_port *port;
  can_pdu_table *pdus;
  QXSIM_TRY(can_state(handle, &port));
  pdus = transmit ? &port->tx : &port->rx;
  return trovix_table_size(transmit ? "transmit PDUs" : "receive PDUs", &pdus->capacity, pdus->count, wanted,
                           CAN_SIM_PDUS);
}

Qx_Error_t sim_Qx_Trovix_CanIf_RxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfRxPdus) {
  return size_pdus(portHandle, 0, maxNumberOfRxPdus);
}

Qx_Error_t sim_Qx_Trovix_CanIf_TxPdu_MaxNumber(Qx_PortHandle_t portHandle, u32_t maxNumberOfTxPdus) {
  return size_pdus(portHandle, 1, maxNumberOfTxPdus);
}

/* Enters (or replaces) the PDU `entry` in the receive or transmit table. */
static uint32_t configure_pdu(u32_t handle, int transmit, const void *record, const can_pdu *entry) {
  can_port *port;
  can_pdu_table *pdus;
  u32_t i, slot = 0;
  int found = -1;
  QXSIM_TRY(can_state(handle, &port));
  QXSIM_TRY(qxsim_need(record, transmit ? "transmit PDU" : "receive PDU"));
  if (entry->dlc_min > entry->dlc_max)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "PDU %u: DlcMin %u is above DlcMax %u", (unsigned)entry->pdu_id,
                      (unsigned)entry->dlc_min, (unsigned)entry->dlc_max);
  pdus = transmit ? &port->tx : &port->rx;
  for (i = 0; i < pdus->count && found < 0; i++)
    if (pdus->entries[i].pdu_id == entry->pdu_id) found = (int)i;
  QXSIM_TRY(trovix_table_slot(transmit ? "transmit PDU" : "receive PDU", pdus->capacity, &pdus->count, found, &slot));
  pdus->entries[slot] = *entry;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_CanIf_RxPdu_Config(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_CanIf_RxPdu_Config_Parameters_t const *const rxPduParameters) {
  can_pdu entry = {0, 0, 0, 0};
  if (rxPduParameters) {
    entry.pdu_id = rxPduParameters->PduId;
    entry.can_id = rxPduParameters->CanId;
    entry.dlc_min = rxPduParameters->DlcMin;
    entry.dlc_max = rxPduParameters->DlcMax;
  }
  return configure_pdu(portHandle, 0, rxPduParameters, &entry);
}

Qx_Error_t sim_Qx_Trovix_CanIf_TxPdu_Config(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_CanIf_TxPdu_Config_Parameters_t const *const txPduParameters) {
  can_pdu entry = {0, 0, 0, 0};
  if (txPduParameters) {
    entry.pdu_id = txPduParameters->PduId;
    entry.can_id = txPduParameters->CanId;
    entry.dlc_max = txPduParameters->DlcMax;
  }
  return configure_pdu(portHandle, 1, txPduParameters, &entry);
}

/* The byte positions of a network-management PDU: each a value of its own
 * enumeration, inside the PDU's length unless not used. */
static uint32_t check_positions(const Qx_Trovix_CanNm_Autosar_Config_Parameters_t *nm) {
  static const trovix_nm_position positions[] = {
      {"PduNidPosition", offsetof(Qx_Trovix_CanNm_Autosar_Config_Parameters_t, PduNidPosition),
       QX_TROVIX__CAN_NM__AUTOSAR__PDU_NID_POSITION__BYTE_1},
      {"PduCbvPosition", offsetof(Qx_Trovix_CanNm_Autosar_Config_Parameters_t, PduCbvPosition),
       QX_TROVIX__CAN_NM__AUTOSAR__PDU_CBV_POSITION__BYTE_1},
      {"PduStatePosition", offsetof(Qx_Trovix_CanNm_Autosar_Config_Parameters_t, PduStatePosition),
       QX_TROVIX__CAN_NM__AUTOSAR__PDU_STATE_POSITION__BYTE_2},
  };
  return trovix_check_nm_positions(nm, positions, sizeof positions / sizeof positions[0],
                                   QX_TROVIX__CAN_NM__AUTOSAR__PDU_NID_POSITION__NOT_USED, nm->PduLength,
                                   sizeof nm->PduData);
}

Qx_Error_t sim_Qx_Trovix_CanNm_Autosar_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_CanNm_Autosar_Config_Parameters_t const *const canNmParameters) {
  can_port *port;
  can_controller *controller = NULL;
  u32_t i, slot = 0;
  int found = -1;
  QXSIM_TRY(can_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(canNmParameters, "network-management parameters"));
  QXSIM_TRY(known_controller(port, canNmParameters->ControllerId, &controller));
  QXSIM_TRY(check_positions(canNmParameters));
  for (i = 0; i < port->nm_count && found < 0; i++)
    if (port->nm[i].ControllerId == controller->id) found = (int)i;
  QXSIM_TRY(trovix_table_slot("network-management node", CAN_SIM_CONTROLLERS, &port->nm_count, found, &slot));
  port->nm[slot] = *canNmParameters;
  return 0;
}
