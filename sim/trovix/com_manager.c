/* Simulated Trovix communication manager: named users with their bus
 * mappings, and the communication mode each requests. A requested mode
 * becomes the current one at once. */
#include <string.h>

#include "trovix_sim.h"

static int user_named(const trovix_sim_port *port, const char *name) {
  u32_t i;
  for (i = 0; i < port->user_count; i++)
    if (!strcmp(port->users[i].name, name)) return (int)i;
  return -1;
}

static uint32_t user_of(trovix_sim_port *port, u32_t id, trovix_sim_user **user) {
  u32_t i;
  for (i = 0; i < port->user_count; i++) {
    if (port->users[i].id == id) {
      *user = &port->users[i];
      return 0;
    }
  }
  *user = NULL;
  return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown user %u", (unsigned)id);
}

Qx_Error_t sim_Qx_Trovix_ComManager_User_Config(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_ComManager_User_Config_CmdFlags_t flags,
                                                char const *const userName, u32_t numberOfMappings,
                                                Qx_Trovix_ComManager_User_Config_Mappings_t const *const mappings,
                                                u32_t *const userId) {
  trovix_sim_port *port;
  trovix_sim_user *user;
  u32_t i;
  (void)flags;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(userName && *userName, "user name"));
  QXSIM_TRY(qxsim_need(mappings || !numberOfMappings, "mappings"));
  QXSIM_TRY(qxsim_need(userId, "user id cell"));
  if (strlen(userName) >= TROVIX_SIM_NAME_BYTES)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "user name longer than %u bytes", TROVIX_SIM_NAME_BYTES - 1);
  if (user_named(port, userName) >= 0)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "user '%s' is configured already", userName);
  for (i = 0; i < numberOfMappings; i++)
    if (mappings[i].BusType >= QX_TROVIX__BUS_TYPE__UNKNOWN)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "mapping %u: bus type %u", (unsigned)i,
                        (unsigned)mappings[i].BusType);
  if (port->user_count == TROVIX_SIM_USERS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the user table is full (%u users)", TROVIX_SIM_USERS);
  user = &port->users[port->user_count];
  memset(user, 0, sizeof *user);
  strcpy(user->name, userName);
  user->id = 100 + port->user_count++;
  user->mappings = numberOfMappings;
  user->requested_mode = user->current_mode = QX_TROVIX__COM_MANAGER__COM_MODE__NO_COMMUNICATION;
  *userId = user->id;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_ComManager_NumberOfUsers_Get(Qx_PortHandle_t portHandle, u32_t *const userCount) {
  trovix_sim_port *port;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(userCount, "count"));
  *userCount = port->user_count;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_ComManager_UserList_Get(Qx_PortHandle_t portHandle, u32_t *const numberOfUsers,
                                                 Qx_Trovix_ComManager_User_t *const users) {
  trovix_sim_port *port;
  u32_t i, n;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(numberOfUsers, "count"));
  n = *numberOfUsers < port->user_count ? *numberOfUsers : port->user_count;
  QXSIM_TRY(qxsim_need(users || !n, "user list"));
  for (i = 0; i < n; i++) {
    memset(&users[i], 0, sizeof users[i]);
    memcpy(users[i].Name, port->users[i].name, sizeof users[i].Name);
    users[i].UserId = port->users[i].id;
  }
  *numberOfUsers = n;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_ComManager_UserId_Get(Qx_PortHandle_t portHandle, char const *const userName,
                                               u32_t *const userId) {
  trovix_sim_port *port;
  int index;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(userName, "user name"));
  QXSIM_TRY(qxsim_need(userId, "user id cell"));
  index = user_named(port, userName);
  if (index < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no user named '%s'", userName);
  *userId = port->users[index].id;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_ComManager_ResetUserBuffer(Qx_PortHandle_t portHandle) {
  trovix_sim_port *port;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  port->user_count = 0;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_ComManager_ComMode_Request(Qx_PortHandle_t portHandle,
                                                    Qx_Trovix_ComManager_ComMode_Request_CmdFlags_t flags,
                                                    u32_t userId, u8_t comMode) {
  trovix_sim_port *port;
  trovix_sim_user *user;
  (void)flags;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(user_of(port, userId, &user));
  if (comMode == QX_TROVIX__COM_MANAGER__COM_MODE__UNKNOWN || comMode > QX_TROVIX__COM_MANAGER__COM_MODE__FULL_COMMUNICATION)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown communication mode %u", (unsigned)comMode);
  user->requested_mode = user->current_mode = comMode;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_ComManager_ComMode_GetCurrent(Qx_PortHandle_t portHandle, u32_t userId, u8_t *const comMode) {
  trovix_sim_port *port;
  trovix_sim_user *user;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(user_of(port, userId, &user));
  QXSIM_TRY(qxsim_need(comMode, "mode cell"));
  *comMode = user->current_mode;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_ComManager_ComMode_GetRequested(Qx_PortHandle_t portHandle, u32_t userId, u8_t *const comMode) {
  trovix_sim_port *port;
  trovix_sim_user *user;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(user_of(port, userId, &user));
  QXSIM_TRY(qxsim_need(comMode, "mode cell"));
  *comMode = user->requested_mode;
  return 0;
}
