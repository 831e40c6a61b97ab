/*
 * The simulated device's function blocks (their identifiers, names and last
 * errors, a fixed table), its temperatures and its PXI slot.
 */
#include <string.h>

#include "qx_api_common_behaviour.h"
#include "qxsim_device.h"

/* The device's function blocks and the last error each reports (code 0:
 * none). */
static const struct {
  u32_t id;
  const char *name;
  u32_t error_code;
  u32_t error_info;
  const char *description;
} blocks[] = {
    {1, "CanGateway", 0, 0, ""},
    {2, "XcpMaster", 0x0010, 0x2A, "slave did not answer within T1"},
    {7, "SignalGenerator", 0x0003, 0, "sample rate above the limit"},
};
#define FBP_SIM_BLOCKS (sizeof blocks / sizeof blocks[0])

/* Degrees Celsius, in the order of Qx_Common_GetTemperature's arguments. */
static const float temperatures[4] = {41.5f, 53.25f, 47.0f, 24.75f};

/* Slot of the chassis the device reports. */
#define FBP_SIM_PXI_SLOT 5u

Qx_Error_t sim_Qx_Common_Fbp_Fb_GetLastError(Qx_PortHandle_t portHandle,
                                             Qx_Common_Fbp_Fb_GetLastError_Cmd_t const *const cmd,
                                             Qx_Common_Fbp_Fb_GetLastError_Rsp_t *const rsp) {
  size_t i, name, description;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(cmd, "command"));
  QXSIM_TRY(qxsim_need(rsp, "response record"));
  for (i = 0; i < FBP_SIM_BLOCKS && blocks[i].id != cmd->FbId; i++) {
  }
  if (i == FBP_SIM_BLOCKS)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no function block with id %u", (unsigned)cmd->FbId);
  name = strlen(blocks[i].name);
  description = strlen(blocks[i].description);
  memset(rsp, 0, sizeof *rsp);
  rsp->ErrorCode = blocks[i].error_code;
  rsp->ErrorInfo = blocks[i].error_info;
  rsp->ErrorFbId = blocks[i].id;
  rsp->ErrorFbNameLength = (u16_t)name;
  rsp->ErrorDescriptionLength = (u16_t)description;
  memcpy(rsp->Stream, blocks[i].name, name);
  memcpy(rsp->Stream + name, blocks[i].description, description);
  return 0;
}

Qx_Error_t sim_Qx_Common_Fbp_Fb_GetFbIdByFbName(Qx_PortHandle_t portHandle, u32_t flags, char const *const fbName,
                                                u32_t *const fbId) {
  size_t i;
  (void)flags;
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(fbName, "function block name"));
  QXSIM_TRY(qxsim_need(fbId, "identifier cell"));
  for (i = 0; i < FBP_SIM_BLOCKS; i++)
    if (!strcmp(blocks[i].name, fbName)) {
      *fbId = blocks[i].id;
      return 0;
    }
  return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no function block named '%s'", fbName);
}

Qx_Error_t sim_Qx_Common_GetTemperature(Qx_PortHandle_t portHandle, float *boardTemperature, float *fpgaTemperature,
                                        float *cpuTemperature, float *ambientTemperature) {
  float *const out[4] = {boardTemperature, fpgaTemperature, cpuTemperature, ambientTemperature};
  int i;
  QXSIM_TRY(qxsim_check_port(portHandle));
  /* a null pointer: that temperature is not wanted */
  for (i = 0; i < 4; i++)
    if (out[i]) *out[i] = temperatures[i];
  return 0;
}

Qx_Error_t sim_Qx_Common_GetPxiGeographicalAddress(Qx_PortHandle_t portHandle, u32_t *const geographicalAddress) {
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(geographicalAddress, "address cell"));
  *geographicalAddress = FBP_SIM_PXI_SLOT;
  return 0;
}
