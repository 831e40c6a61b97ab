/* Error texts of the simulated base library. */
#include "qx_api_behaviour.h"

const char *sim_Qx_GetLastErrorDescription(void) { return qxsim_last_error_text(); }

Qx_Error_t sim_Qx_GetLastErrorCode(void) { return qxsim_last_error_code(); }
