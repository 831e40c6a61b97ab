/* Simulated Trovix AUTOSAR FlexRay network management: the NM parameters of
 * each ECU (keyed by controller and ECU, the byte positions of CBV, SNI and
 * NMS checked against the PDU length), and the FlexRay PDUs on which a
 * configured ECU receives and sends its NM messages (keyed by FlexRay PDU). */
#include <stddef.h>

#include "trovix_tables.h"

#define FRNM_SIM_ECUS 8u
#define FRNM_SIM_PDUS 16u

typedef struct {
  u8_t controller, ecu;
  u32_t fr_pdu;
} frnm_pdu;

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t ecu_count;
  Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t ecus[FRNM_SIM_ECUS];
  u32_t pdu_count[2];
  frnm_pdu pdus[2][FRNM_SIM_PDUS]; /* receive, transmit */
} frnm_port;

static frnm_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t frnm_state(u32_t handle, const void *parameters, frnm_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  QXSIM_TRY(qxsim_need(parameters, "network-management parameters"));
  return qxsim_port_state(&table, handle, port);
}

static int ecu_index(const frnm_port *port, u8_t controller, u8_t ecu) {
  u32_t i;
  for (i = 0; i < port->ecu_count; i++)
    if (port->ecus[i].ControllerId == controller && port->ecus[i].EcuId == ecu) return (int)i;
  return -1;
}

/* Each position is a byte of the PDU up to the family's last one, or NOT_USED. */
static uint32_t check_positions(const Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t *nm) {
  static const trovix_nm_position positions[] = {
      {"PduCbvPosition", offsetof(Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t, PduCbvPosition),
       QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_CBV_POSITION__BYTE_0},
      {"PduSniPosition", offsetof(Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t, PduSniPosition),
       QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_SNI_POSITION__BYTE_1},
      {"PduNmsPosition", offsetof(Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t, PduNmsPosition),
       QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_NMS_POSITION__BYTE_2},
  };
  return trovix_check_nm_positions(nm, positions, sizeof positions / sizeof positions[0],
                                   QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_CBV_POSITION__NOT_USED, nm->PduLength,
                                   sizeof nm->PduData);
}

Qx_Error_t sim_Qx_Trovix_FlexRayNm_Autosar_Ecu(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t const *const frNmEcuParameters) {
  frnm_port *port;
  u32_t slot = 0;
  QXSIM_TRY(frnm_state(portHandle, frNmEcuParameters, &port));
  QXSIM_TRY(check_positions(frNmEcuParameters));
  QXSIM_TRY(trovix_table_slot("FlexRay NM ECU", FRNM_SIM_ECUS, &port->ecu_count,
                              ecu_index(port, frNmEcuParameters->ControllerId, frNmEcuParameters->EcuId), &slot));
  port->ecus[slot] = *frNmEcuParameters;
  return 0;
}

/* A receive (0) or transmit (1) PDU of a configured ECU. */
static uint32_t configure_pdu(u32_t handle, const void *parameters, int transmit, u8_t controller, u8_t ecu,
                              u32_t fr_pdu) {
  frnm_port *port;
  u32_t i, slot = 0;
  int found = -1;
  QXSIM_TRY(frnm_state(handle, parameters, &port));
  if (ecu_index(port, controller, ecu) < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "ECU %u of controller %u is not configured", (unsigned)ecu,
                      (unsigned)controller);
  for (i = 0; i < port->pdu_count[transmit] && found < 0; i++)
    if (port->pdus[transmit][i].fr_pdu == fr_pdu) found = (int)i;
  QXSIM_TRY(trovix_table_slot(transmit ? "FlexRay NM transmit PDU" : "FlexRay NM receive PDU", FRNM_SIM_PDUS,
                              &port->pdu_count[transmit], found, &slot));
  port->pdus[transmit][slot] = (frnm_pdu){controller, ecu, fr_pdu};
  return 0;
}

Qx_Error_t sim_Qx_Trovix_FlexRayNm_Autosar_RxPdu(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayNm_Autosar_RxPdu_Parameters_t const *const frNmRxPduParameters) {
  const Qx_Trovix_FlexRayNm_Autosar_RxPdu_Parameters_t *pdu = frNmRxPduParameters;
  if (!pdu) return frnm_state(portHandle, NULL, NULL);
  return configure_pdu(portHandle, pdu, 0, pdu->ControllerId, pdu->EcuId, pdu->FrPduId);
}

Qx_Error_t sim_Qx_Trovix_FlexRayNm_Autosar_TxPdu(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayNm_Autosar_TxPdu_Parameters_t const *const frNmTxPduParameters) {
  const Qx_Trovix_FlexRayNm_Autosar_TxPdu_Parameters_t *pdu = frNmTxPduParameters;
  if (!pdu) return frnm_state(portHandle, NULL, NULL);
  return configure_pdu(portHandle, pdu, 1, pdu->ControllerId, pdu->EcuId, pdu->FrPduId);
}
