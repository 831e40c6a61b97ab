/* Replies of the simulated base library that several of its behaviour files
 * give: echoed command responses and texts copied into caller buffers. */
#include <string.h>

#include "sim_device.h"

uint32_t sim_echo_response(u8_t command, const u8_t *prefix, u32_t prefixLength, const u8_t *data, u32_t dataLength,
                           u8_t *response, u32_t *capacity) {
  u32_t room, written = 0, n;
  if (dataLength && !data)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u data bytes announced but no data given", (unsigned)dataLength);
  QXSIM_TRY(qxsim_need(capacity, "response count cell"));
  room = *capacity;
  QXSIM_TRY(qxsim_need(response || !room, "response buffer"));
  if (room) response[written++] = (u8_t)(command + 0x40);
  n = prefixLength < room - written ? prefixLength : room - written;
  if (n) memcpy(response + written, prefix, n);
  written += n;
  n = dataLength < room - written ? dataLength : room - written;
  if (n) memcpy(response + written, data, n);
  written += n;
  *capacity = written;
  return 0;
}

uint32_t sim_copy_text(const char *value, char *text, u32_t *size) {
  u32_t needed = (u32_t)strlen(value) + 1;
  QXSIM_TRY(qxsim_need(text && size, "text buffer"));
  if (*size < needed) {
    u32_t given = *size;
    *size = needed;
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "text of %u bytes does not fit a buffer of %u bytes",
                      (unsigned)needed, (unsigned)given);
  }
  memcpy(text, value, needed);
  *size = needed;
  return 0;
}
