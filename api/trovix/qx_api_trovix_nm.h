/*
 * Declarations of libqx_api_trovix's generic network management as the
 * bindings see them, in the library's own declaration order: a node's state,
 * repeat-message requests, local and remote user data and the switching of
 * its communication. A node is named by bus type, controller and ECU.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_NM_H
#define QX_API_TROVIX_NM_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef u32_t Qx_Trovix_Nm_State_Get_CmdFlags_t;
typedef u32_t Qx_Trovix_Nm_RepeatMsgRequest_CmdFlags_t;
typedef u32_t Qx_Trovix_Nm_UserData_Local_Set_CmdFlags_t;
typedef u32_t Qx_Trovix_Nm_UserData_Remote_Get_CmdFlags_t;
typedef u32_t Qx_Trovix_Nm_Communication_Disable_CmdFlags_t;
typedef u32_t Qx_Trovix_Nm_Communication_Enable_CmdFlags_t;

/* One node, for the state query. */
typedef struct {
  Qx_Trovix_Nm_State_Get_CmdFlags_t Flags;
  u8_t BusType; /* a QX_TROVIX__BUS_TYPE__ value */
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved;
} Qx_Trovix_Nm_State_Get_Cmd_t;

/* The state of a node. */
typedef struct {
  u8_t State; /* a Qx_Trovix_Nm_State_t value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_Nm_State_Get_Rsp_t;

/* One node, asked to enter the repeat-message state. */
typedef struct {
  Qx_Trovix_Nm_RepeatMsgRequest_CmdFlags_t Flags;
  u8_t BusType; /* a QX_TROVIX__BUS_TYPE__ value */
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved;
} Qx_Trovix_Nm_RepeatMsgRequest_Cmd_t;

/* The user data a node sends: the first Length bytes of Data. */
typedef struct {
  Qx_Trovix_Nm_UserData_Local_Set_CmdFlags_t Flags;
  u8_t BusType; /* a QX_TROVIX__BUS_TYPE__ value */
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u16_t Length;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Data[4000];
} Qx_Trovix_Nm_UserData_Local_Set_Cmd_t;

/* One node, for the user data it received. */
typedef struct {
  Qx_Trovix_Nm_UserData_Remote_Get_CmdFlags_t Flags;
  u8_t BusType; /* a QX_TROVIX__BUS_TYPE__ value */
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved;
} Qx_Trovix_Nm_UserData_Remote_Get_Cmd_t;

/* The user data a node received: the first Length bytes of Data. */
typedef struct {
  u16_t Length;
  u8_t reserved1;
  u8_t reserved2;
  u8_t Data[4000];
} Qx_Trovix_Nm_UserData_Remote_Get_Rsp_t;

/* One node whose communication is disabled. */
typedef struct {
  Qx_Trovix_Nm_Communication_Disable_CmdFlags_t Flags;
  u8_t BusType; /* a QX_TROVIX__BUS_TYPE__ value */
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved;
} Qx_Trovix_Nm_Communication_Disable_Cmd_t;

/* One node whose communication is enabled. */
typedef struct {
  Qx_Trovix_Nm_Communication_Enable_CmdFlags_t Flags;
  u8_t BusType; /* a QX_TROVIX__BUS_TYPE__ value */
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved;
} Qx_Trovix_Nm_Communication_Enable_Cmd_t;

Qx_Error_t Qx_Trovix_Nm_State_Get(Qx_PortHandle_t portHandle, Qx_Trovix_Nm_State_Get_Cmd_t const *const stateGetCmd,
                                  Qx_Trovix_Nm_State_Get_Rsp_t *const stateGetRsp);
Qx_Error_t Qx_Trovix_Nm_RepeatMsgRequest(Qx_PortHandle_t portHandle,
                                         Qx_Trovix_Nm_RepeatMsgRequest_Cmd_t const *const repeatMsgRequestCmd);
Qx_Error_t Qx_Trovix_Nm_UserData_Local_Set(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_Nm_UserData_Local_Set_Cmd_t const *const userDataLocalSetCmd);
Qx_Error_t Qx_Trovix_Nm_UserData_Remote_Get(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_Nm_UserData_Remote_Get_Cmd_t const *const userDataRemoteGetCmd,
                                            Qx_Trovix_Nm_UserData_Remote_Get_Rsp_t *const userDataRemoteGetRsp);
Qx_Error_t Qx_Trovix_Nm_Communication_Disable(
    Qx_PortHandle_t portHandle, Qx_Trovix_Nm_Communication_Disable_Cmd_t const *const communicationDisableCmd);
Qx_Error_t Qx_Trovix_Nm_Communication_Enable(
    Qx_PortHandle_t portHandle, Qx_Trovix_Nm_Communication_Enable_Cmd_t const *const communicationEnableCmd);

#ifdef __cplusplus
}
#endif

#endif
