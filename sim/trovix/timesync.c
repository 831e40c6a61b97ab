/* Simulated Trovix time synchronisation over CAN and Ethernet: masters and
 * slaves serve a configured time base of the time-base manager; a slave's
 * CRC validation mode must be one the stack knows. */
#include "stbm_sim.h"

Qx_Error_t sim_Qx_Trovix_CanTimeSync_Config_Master(Qx_PortHandle_t portHandle,
                                                   Qx_Trovix_CanTimeSync_Config_Master_Cmd_t const *const masterCmd) {
  trovix_sim_port *port;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(masterCmd, "command"));
  return stbm_sim_time_base_known(portHandle, masterCmd->TimeSyncMgrId, masterCmd->TimeBaseId);
}

Qx_Error_t sim_Qx_Trovix_CanTimeSync_Config_Slave(Qx_PortHandle_t portHandle,
                                                  Qx_Trovix_CanTimeSync_Config_Slave_Cmd_t const *const slaveCmd) {
  trovix_sim_port *port;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(slaveCmd, "command"));
  if (slaveCmd->CrcValidatedType >= QX_TROVIX__CAN_TIME_SYNC__CRC_VALIDATION__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown CRC validation mode %u",
                      (unsigned)slaveCmd->CrcValidatedType);
  return stbm_sim_time_base_known(portHandle, slaveCmd->TimeSyncMgrId, slaveCmd->TimeBaseId);
}
