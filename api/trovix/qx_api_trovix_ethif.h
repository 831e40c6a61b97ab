/*
 * Declarations of libqx_api_trovix's ethernet interface as the
 * bindings see them, in the library's own declaration order.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_ETHIF_H
#define QX_API_TROVIX_ETHIF_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

typedef u32_t Qx_Trovix_EthIf_IpAddr_Add_CmdFlags_t;

typedef struct {
  Qx_Trovix_EthIf_IpAddr_Add_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t IpAddressType;
  u8_t Prefix;
  u8_t IpDestination[16];
  u32_t VlanId;
} Qx_Trovix_EthIf_IpAddr_Add_Cmd_t;

Qx_Error_t Qx_Trovix_EthIf_IpAddr_Add(Qx_PortHandle_t portHandle,
                                      Qx_Trovix_EthIf_IpAddr_Add_Cmd_t const *const ipAddrAddCmd);

typedef u32_t Qx_Trovix_EthIf_Vlan_Config_CmdFlags_t;

typedef struct {
  Qx_Trovix_EthIf_Vlan_Config_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t VlanId;
} Qx_Trovix_EthIf_Vlan_Config_Cmd_t;

Qx_Error_t Qx_Trovix_EthIf_Vlan_Config(Qx_PortHandle_t portHandle,
                                       Qx_Trovix_EthIf_Vlan_Config_Cmd_t const *const vlanConfigCmd);

typedef u32_t Qx_Trovix_EthIf_MacAddr_Set_CmdFlags_t;

typedef struct {
  Qx_Trovix_EthIf_MacAddr_Set_CmdFlags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u8_t MacAddress[6];
  u8_t reserved3;
  u8_t reserved4;
} Qx_Trovix_EthIf_MacAddr_Set_Cmd_t;

Qx_Error_t Qx_Trovix_EthIf_MacAddr_Set(Qx_PortHandle_t portHandle,
                                       Qx_Trovix_EthIf_MacAddr_Set_Cmd_t const *const macAddrSetCmd);

Qx_Error_t Qx_Trovix_EthIf_Init(Qx_PortHandle_t portHandle);
Qx_Error_t Qx_Trovix_EthIf_DeInit(Qx_PortHandle_t portHandle);

/* Flags of a _Flags_t type, not _CmdFlags_t; no EcuId in this record. */
typedef u32_t Qx_Trovix_EthIf_Controller_Config_Flags_t;

typedef struct {
  Qx_Trovix_EthIf_Controller_Config_Flags_t Flags;
  u8_t ControllerId;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t OperationMode;
  u32_t DataRate;
  u32_t MtuSize;
  u32_t TxAmplitude;
} Qx_Trovix_EthIf_Controller_Config_Cmd_t;

Qx_Error_t Qx_Trovix_EthIf_Controller_Config(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_EthIf_Controller_Config_Cmd_t const *const controllerConfigCmd);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
