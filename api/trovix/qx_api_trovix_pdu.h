/*
 * Declarations of libqx_api_trovix's PDU information as the bindings see
 * them, in the library's own declaration order: PDU-group control, the
 * PDUs the stack knows and the signals a PDU includes. Parameter names
 * matter: the rules of api/trovix/params.txt are applied to exact
 * `type name` pairs.
 */
#ifndef QX_API_TROVIX_PDU_H
#define QX_API_TROVIX_PDU_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef u32_t Qx_Trovix_Pdu_PduGroupControl_Group_Flags_t;
typedef u32_t Qx_Trovix_PduInfo_Flags_t;

/* One PDU-group control entry. */
typedef struct {
  u32_t PduGroupId;
  Qx_Trovix_Pdu_PduGroupControl_Group_Flags_t Flags;
} Qx_Trovix_Pdu_PduGroupControl_Group_t;

/* Description of one PDU. */
typedef struct {
  char PduName[256];
  char EcuName[256];
  u32_t ControllerId;
  u32_t ComId;
  Qx_Trovix_PduInfo_Flags_t Flags;
  u8_t BusType; /* a QX_TROVIX__BUS_TYPE__ value */
  u8_t reserved6;
  u8_t reserved7;
  u8_t reserved8;
  u32_t reserved2;
  u32_t reserved3;
  u32_t reserved4;
  u32_t reserved5;
} Qx_Trovix_PduInfo_t;

/* One signal included in a PDU. */
typedef struct {
  char Name[256];
  u32_t PduSignalId;
  u32_t BitPosition;
  u32_t reserved1;
  u32_t reserved2;
  u32_t reserved3;
  u32_t reserved4;
  u32_t reserved5;
  u32_t reserved6;
} Qx_Trovix_Pdu_IncludedSignal_t;

Qx_Error_t Qx_Trovix_Pdu_PduGroupControl(Qx_PortHandle_t portHandle, u32_t numberOfGroups,
                                         Qx_Trovix_Pdu_PduGroupControl_Group_t const *const groups);
Qx_Error_t Qx_Trovix_Pdu_NumberOfPdus_Get(Qx_PortHandle_t portHandle, u32_t *const numberOfPdus);
/* *pduCount: the room at pduList on entry, the records written on return. */
Qx_Error_t Qx_Trovix_Pdu_PduList_Get(Qx_PortHandle_t portHandle, u32_t *const pduCount,
                                     Qx_Trovix_PduInfo_t *const pduList);
Qx_Error_t Qx_Trovix_Pdu_PduInfo_Get(Qx_PortHandle_t portHandle, char const *const pduName, char const *const ecuName,
                                     u32_t controllerId, Qx_Trovix_PduInfo_t *const pduInfo);
Qx_Error_t Qx_Trovix_Pdu_NumberOfIncludedSignals_Get(Qx_PortHandle_t portHandle, char const *const pduName,
                                                     char const *const ecuName, u32_t controllerId,
                                                     u32_t *const numberOfSignals);
Qx_Error_t Qx_Trovix_Pdu_NumberOfIncludedSignals_Get2(Qx_PortHandle_t portHandle, Qx_Trovix_PduInfo_t *const pduInfo,
                                                      u32_t *const numberOfSignals);
/* *numberOfIncludedSignals: the room at includedSignals on entry, the number
 * of signals the PDU includes on return (the records written are at most
 * the room). */
Qx_Error_t Qx_Trovix_Pdu_IncludedSignals_Get(Qx_PortHandle_t portHandle, char const *const pduName,
                                             char const *const ecuName, u32_t controllerId,
                                             u32_t *const numberOfIncludedSignals,
                                             Qx_Trovix_Pdu_IncludedSignal_t *const includedSignals);
Qx_Error_t Qx_Trovix_Pdu_IncludedSignals_Get2(Qx_PortHandle_t portHandle, Qx_Trovix_PduInfo_t *const pduInfo,
                                              u32_t *const numberOfIncludedSignals,
                                              Qx_Trovix_Pdu_IncludedSignal_t *const includedSignals);

#ifdef __cplusplus
}
#endif

#endif
