/*
 * Declarations of libqx_api_trovix's signal groups as the bindings see them,
 * in the library's own declaration order: a transmit or receive group is
 * declared inside a PDU (named by the PDU and the group within it), signals
 * are mapped into it, and the group is then written or read by its own
 * command.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_SIGGROUP_H
#define QX_API_TROVIX_SIGGROUP_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

typedef u32_t Qx_Trovix_SignalGroup_TxPdu_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_SignalGroup_TxPdu_Mapping_CmdFlags_t;
typedef u32_t Qx_Trovix_SignalGroup_RxPdu_Config_CmdFlags_t;
typedef u32_t Qx_Trovix_SignalGroup_RxPdu_Mapping_CmdFlags_t;

/* Declares a transmit signal group. */
typedef struct {
  Qx_Trovix_SignalGroup_TxPdu_Config_CmdFlags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalGroupId;
  u16_t UpdateBitPosition;
  u8_t TransferProperty; /* a Qx_Trovix_Com_TransferProperty_t value */
  u8_t reserved;
} Qx_Trovix_SignalGroup_TxPdu_Config_Cmd_t;

/* Maps a signal into a transmit signal group. */
typedef struct {
  Qx_Trovix_SignalGroup_TxPdu_Mapping_CmdFlags_t Flags;
  u32_t SignalId;
  u32_t SignalMappingId;
  u32_t TxPduId;
  u32_t TxPduSignalGroupId;
} Qx_Trovix_SignalGroup_TxPdu_Mapping_Cmd_t;

/* Declares a receive signal group. */
typedef struct {
  Qx_Trovix_SignalGroup_RxPdu_Config_CmdFlags_t Flags;
  u32_t RxPduId;
  u32_t RxPduSignalGroupId;
  u16_t UpdateBitPosition;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_SignalGroup_RxPdu_Config_Cmd_t;

/* Maps a signal into a receive signal group. */
typedef struct {
  Qx_Trovix_SignalGroup_RxPdu_Mapping_CmdFlags_t Flags;
  u32_t SignalId;
  u32_t SignalMappingId;
  u32_t RxPduId;
  u32_t RxPduSignalGroupId;
} Qx_Trovix_SignalGroup_RxPdu_Mapping_Cmd_t;

/* Names the transmit signal group to write. */
typedef struct {
  u32_t TxPduId;
  u32_t TxPduSignalGroupId;
} Qx_Trovix_SignalGroup_TxPdu_Write_Cmd_t;

/* Names the receive signal group to read. */
typedef struct {
  u32_t RxPduId;
  u32_t RxPduSignalGroupId;
} Qx_Trovix_SignalGroup_RxPdu_Read_Cmd_t;

Qx_Error_t Qx_Trovix_SignalGroup_TxPdu_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SignalGroup_TxPdu_Config_Cmd_t const *const txGroupConfigCmd);
Qx_Error_t Qx_Trovix_SignalGroup_TxPdu_Mapping(
    Qx_PortHandle_t portHandle, Qx_Trovix_SignalGroup_TxPdu_Mapping_Cmd_t const *const txGroupMappingCmd);
Qx_Error_t Qx_Trovix_SignalGroup_RxPdu_Config(Qx_PortHandle_t portHandle,
                                              Qx_Trovix_SignalGroup_RxPdu_Config_Cmd_t const *const rxGroupConfigCmd);
Qx_Error_t Qx_Trovix_SignalGroup_RxPdu_Mapping(
    Qx_PortHandle_t portHandle, Qx_Trovix_SignalGroup_RxPdu_Mapping_Cmd_t const *const rxGroupMappingCmd);
Qx_Error_t Qx_Trovix_SignalGroup_TxPdu_Write(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_SignalGroup_TxPdu_Write_Cmd_t const *const txGroupWriteCmd);
Qx_Error_t Qx_Trovix_SignalGroup_RxPdu_Read(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_SignalGroup_RxPdu_Read_Cmd_t const *const rxGroupReadCmd);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
