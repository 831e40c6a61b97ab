/* Error codes and texts of the simulated base library. */
#include <stdio.h>
#include <string.h>

#include "sim_device.h"

static const struct {
  Qx_Error_t code;
  const char *text;
} descriptions[] = {
    {0, "no error"},
    {QXSIM_ERROR_INVALID_HANDLE, "invalid port handle"},
    {QXSIM_ERROR_NOT_FOUND, "not found"},
    {QXSIM_ERROR_INVALID_ARGUMENT, "invalid argument"},
    {QXSIM_ERROR_LOCKED, "interface locked by another port"},
    {QXSIM_ERROR_NOT_SUPPORTED, "not supported"},
    {QXSIM_ERROR_BUFFER_TOO_SMALL, "buffer too small"},
    {QXSIM_ERROR_INVALID_STATE, "invalid state"},
};

/* The description of a code, or NULL for a code the library does not know
 * (Qx_GetErrorDescription2 then writes "unknown error 0x..."). */
static const char *describe(Qx_Error_t code) {
  size_t i;
  for (i = 0; i < sizeof descriptions / sizeof descriptions[0]; i++)
    if (descriptions[i].code == code) return descriptions[i].text;
  return NULL;
}

/* Copies `value` into a caller's buffer of *size bytes, cut to fit. */
static void copy_cut(const char *value, char *text, u32_t *size) {
  size_t n = strlen(value);
  if (!*size) return;
  if (n > *size - 1) n = *size - 1;
  memcpy(text, value, n);
  text[n] = 0;
  *size = (u32_t)n + 1;
}

const char *sim_Qx_GetErrorDescription(Qx_Error_t errorCode) { return describe(errorCode); }

Qx_Error_t sim_Qx_GetErrorDescription2(Qx_PortHandle_t portHandle, Qx_Error_t errorCode, u32_t *const textSize,
                                       char *const text) {
  const char *value = describe(errorCode);
  char unknown[32];
  QXSIM_TRY(qxsim_check_port(portHandle));
  if (!value) {
    snprintf(unknown, sizeof unknown, "unknown error 0x%08X", (unsigned)errorCode);
    value = unknown;
  }
  return sim_copy_text(value, text, textSize);
}

Qx_Error_t sim_Qx_GetLastErrorCode(void) { return qxsim_last_error_code(); }

const char *sim_Qx_GetLastErrorDescription(void) { return qxsim_last_error_text(); }

/* The last error of the library (the device has one error state for all its
 * ports): the code into `errorCode` when given, its text cut to the buffer
 * ("no error" while the code is 0). */
Qx_Error_t sim_Qx_GetLastErrorByPortHandle(Qx_PortHandle_t portHandle, Qx_Error_t *const errorCode,
                                           u32_t *const textSize, char *const text) {
  Qx_Error_t code = qxsim_last_error_code();
  const char *value = code ? qxsim_last_error_text() : describe(0);
  QXSIM_TRY(qxsim_check_port(portHandle));
  QXSIM_TRY(qxsim_need(textSize && text, "text buffer"));
  if (errorCode) *errorCode = code;
  copy_cut(value ? value : "", text, textSize);
  return 0;
}
