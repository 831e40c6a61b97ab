/* Simulated Trovix PDU information: PDU-group control, and the PDUs and
 * included signals that the signal configuration text named. */
#include <string.h>

#include "trovix_sim.h"

Qx_Error_t sim_Qx_Trovix_Pdu_PduGroupControl(Qx_PortHandle_t portHandle, u32_t numberOfGroups,
                                             Qx_Trovix_Pdu_PduGroupControl_Group_t const *const groups) {
  trovix_sim_port *port;
  u32_t i, j;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(groups || !numberOfGroups, "PDU groups"));
  for (i = 0; i < numberOfGroups; i++) {
    for (j = 0; j < port->group_count && port->groups[j].id != groups[i].PduGroupId; j++) {
    }
    if (j == port->group_count) {
      if (port->group_count == TROVIX_SIM_PDU_GROUPS)
        return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the PDU-group table is full (%u groups)", TROVIX_SIM_PDU_GROUPS);
      port->groups[port->group_count++].id = groups[i].PduGroupId;
    }
    port->groups[j].flags = groups[i].Flags;
  }
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Pdu_NumberOfPdus_Get(Qx_PortHandle_t portHandle, u32_t *const numberOfPdus) {
  trovix_sim_port *port;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(numberOfPdus, "count"));
  *numberOfPdus = port->pdu_count;
  return 0;
}

static void pdu_info(const trovix_sim_pdu *pdu, Qx_Trovix_PduInfo_t *info) {
  memset(info, 0, sizeof *info);
  memcpy(info->PduName, pdu->name, sizeof info->PduName);
  memcpy(info->EcuName, pdu->ecu, sizeof info->EcuName);
  info->ControllerId = pdu->controller;
  info->ComId = pdu->com_id;
  info->BusType = pdu->bus_type;
}

Qx_Error_t sim_Qx_Trovix_Pdu_PduList_Get(Qx_PortHandle_t portHandle, u32_t *const pduCount,
                                         Qx_Trovix_PduInfo_t *const pduList) {
  trovix_sim_port *port;
  u32_t i, n;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(pduCount, "count"));
  n = *pduCount < port->pdu_count ? *pduCount : port->pdu_count;
  QXSIM_TRY(qxsim_need(pduList || !n, "PDU list"));
  for (i = 0; i < n; i++) pdu_info(&port->pdus[i], &pduList[i]);
  *pduCount = n;
  return 0;
}

static uint32_t pdu_named(trovix_sim_port *port, char const *name, char const *ecu, u32_t controller, int *index) {
  QXSIM_TRY(qxsim_need(name, "PDU name"));
  QXSIM_TRY(qxsim_need(ecu, "ECU name"));
  *index = trovix_sim_find_pdu(port, name, ecu, controller);
  if (*index < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no PDU '%s' of ECU '%s' on controller %u", name, ecu,
                      (unsigned)controller);
  return 0;
}

/* The PDU a description names (its texts end within their fields). */
static uint32_t pdu_described(trovix_sim_port *port, const Qx_Trovix_PduInfo_t *info, int *index) {
  char name[sizeof info->PduName + 1], ecu[sizeof info->EcuName + 1];
  QXSIM_TRY(qxsim_need(info, "PDU description"));
  memcpy(name, info->PduName, sizeof info->PduName);
  memcpy(ecu, info->EcuName, sizeof info->EcuName);
  name[sizeof info->PduName] = ecu[sizeof info->EcuName] = 0;
  return pdu_named(port, name, ecu, info->ControllerId, index);
}

Qx_Error_t sim_Qx_Trovix_Pdu_PduInfo_Get(Qx_PortHandle_t portHandle, char const *const pduName,
                                         char const *const ecuName, u32_t controllerId,
                                         Qx_Trovix_PduInfo_t *const pduInfo) {
  trovix_sim_port *port;
  int index;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(pdu_named(port, pduName, ecuName, controllerId, &index));
  QXSIM_TRY(qxsim_need(pduInfo, "PDU description"));
  pdu_info(&port->pdus[index], pduInfo);
  return 0;
}

/* The signals of PDU `index`: their number, and up to `room` descriptions. */
static u32_t included(const trovix_sim_port *port, int index, Qx_Trovix_Pdu_IncludedSignal_t *out, u32_t room) {
  u32_t i, n = 0;
  for (i = 0; i < port->signal_count; i++) {
    const trovix_sim_signal *signal = &port->signals[i];
    if (signal->pdu != (u32_t)index + 1) continue;
    if (out && n < room) {
      memset(&out[n], 0, sizeof out[n]);
      memcpy(out[n].Name, signal->name, sizeof out[n].Name);
      out[n].PduSignalId = i;
      out[n].BitPosition = signal->bit_position;
    }
    n++;
  }
  return n;
}

Qx_Error_t sim_Qx_Trovix_Pdu_NumberOfIncludedSignals_Get(Qx_PortHandle_t portHandle, char const *const pduName,
                                                         char const *const ecuName, u32_t controllerId,
                                                         u32_t *const numberOfSignals) {
  trovix_sim_port *port;
  int index;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(pdu_named(port, pduName, ecuName, controllerId, &index));
  QXSIM_TRY(qxsim_need(numberOfSignals, "count"));
  *numberOfSignals = included(port, index, NULL, 0);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Pdu_NumberOfIncludedSignals_Get2(Qx_PortHandle_t portHandle, Qx_Trovix_PduInfo_t *const pduInfo,
                                                          u32_t *const numberOfSignals) {
  trovix_sim_port *port;
  int index;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(pdu_described(port, pduInfo, &index));
  QXSIM_TRY(qxsim_need(numberOfSignals, "count"));
  *numberOfSignals = included(port, index, NULL, 0);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Pdu_IncludedSignals_Get(Qx_PortHandle_t portHandle, char const *const pduName,
                                                 char const *const ecuName, u32_t controllerId,
                                                 u32_t *const numberOfIncludedSignals,
                                                 Qx_Trovix_Pdu_IncludedSignal_t *const includedSignals) {
  trovix_sim_port *port;
  int index;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(pdu_named(port, pduName, ecuName, controllerId, &index));
  QXSIM_TRY(qxsim_need(numberOfIncludedSignals, "count"));
  *numberOfIncludedSignals = included(port, index, includedSignals, *numberOfIncludedSignals);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Pdu_IncludedSignals_Get2(Qx_PortHandle_t portHandle, Qx_Trovix_PduInfo_t *const pduInfo,
                                                  u32_t *const numberOfIncludedSignals,
                                                  Qx_Trovix_Pdu_IncludedSignal_t *const includedSignals) {
  trovix_sim_port *port;
  int index;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(pdu_described(port, pduInfo, &index));
  QXSIM_TRY(qxsim_need(numberOfIncludedSignals, "count"));
  *numberOfIncludedSignals = included(port, index, includedSignals, *numberOfIncludedSignals);
  return 0;
}
