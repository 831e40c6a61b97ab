/* Simulated Trovix transmit-PDU signal filter: the signal must be configured
 * in its transmit PDU (comcfg.c) and the algorithm known; ONE_EVERY_N passes
 * one value every Period, the first at Offset, so it needs Offset < Period. */
#include "com_sim.h"

Qx_Error_t sim_Qx_Trovix_Com_TxPdu_Signal_Filter_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Cmd_t const *const filterConfigCmd) {
  const Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Cmd_t *f = filterConfigCmd;
  QXSIM_TRY(qxsim_need(f, "filter"));
  QXSIM_TRY(com_sim_pdu_signal(portHandle, 1, f->TxPduId, f->TxPduSignalId, NULL));
  if (f->Algorithm >= QX_TROVIX__COM__FLT__ALG__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown filter algorithm %u", (unsigned)f->Algorithm);
  if (f->Algorithm == QX_TROVIX__COM__FLT__ALG__ONE_EVERY_N && f->Offset >= f->Period)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "offset %u is not below the period %u", (unsigned)f->Offset,
                      (unsigned)f->Period);
  return 0;
}
