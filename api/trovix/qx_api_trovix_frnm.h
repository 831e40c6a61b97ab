/*
 * Declarations of libqx_api_trovix's AUTOSAR FlexRay network management as
 * the bindings see them, in the library's own declaration order: the NM
 * parameters of one ECU of a FlexRay controller, and the FlexRay PDUs on
 * which that ECU receives and sends its NM messages. The byte positions of
 * the CBV, SNI and NMS fields are QX_TROVIX__FLEXRAY_NM__AUTOSAR__ values
 * (qx_api_trovix.h), NOT_USED being 255.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_FRNM_H
#define QX_API_TROVIX_FRNM_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

typedef u32_t Qx_Trovix_FlexRayNm_Autosar_Ecu_Flags_t;
typedef u32_t Qx_Trovix_FlexRayNm_Autosar_RxPdu_Flags_t;
typedef u32_t Qx_Trovix_FlexRayNm_Autosar_TxPdu_Flags_t;

/* NM parameters of one ECU. */
typedef struct {
  Qx_Trovix_FlexRayNm_Autosar_Ecu_Flags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t NmNodeId;
  u8_t PduCbvPosition; /* a Qx_Trovix_FlexRayNm_Autosar_PduCbvPosition_t value */
  u8_t PduSniPosition; /* a Qx_Trovix_FlexRayNm_Autosar_PduSniPosition_t value */
  u8_t PduNmsPosition; /* a Qx_Trovix_FlexRayNm_Autosar_PduNmsPosition_t value */
  u8_t PduLength;
  u8_t UserDataOffset;
  u8_t PduData[8];
  u8_t UserDataMask[8];
  u16_t ReadySleepCnt;
  u8_t reserved1;
  u8_t reserved2;
  u32_t MsgTimeoutTime;
  u32_t RepeatMessageTime;
  u32_t RemoteSleepIndTime;
  u32_t TxUserDataPduId;
  u8_t VotingCycle;
  u8_t DataCycle;
  u8_t RepetitionCycle;
  u8_t CarWakeUpBitPosition;
  u8_t CarWakeUpBytePosition;
  u8_t CarWakeUpFilterNodeId;
  u8_t PnInfoLength;
  u8_t PnInfoOffset;
  u8_t PnFilterMask[8];
  u32_t PnResetTime;
  u32_t PnEiraRxPduId;
  u32_t PnEraRxPduId;
} Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t;

/* A FlexRay PDU on which the ECU receives NM messages. */
typedef struct {
  Qx_Trovix_FlexRayNm_Autosar_RxPdu_Flags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t FrPduId;
} Qx_Trovix_FlexRayNm_Autosar_RxPdu_Parameters_t;

/* A FlexRay PDU on which the ECU sends NM messages. */
typedef struct {
  Qx_Trovix_FlexRayNm_Autosar_TxPdu_Flags_t Flags;
  u8_t ControllerId;
  u8_t EcuId;
  u8_t reserved1;
  u8_t reserved2;
  u32_t FrPduId;
} Qx_Trovix_FlexRayNm_Autosar_TxPdu_Parameters_t;

Qx_Error_t Qx_Trovix_FlexRayNm_Autosar_Ecu(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t const *const frNmEcuParameters);
Qx_Error_t Qx_Trovix_FlexRayNm_Autosar_RxPdu(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayNm_Autosar_RxPdu_Parameters_t const *const frNmRxPduParameters);
Qx_Error_t Qx_Trovix_FlexRayNm_Autosar_TxPdu(
    Qx_PortHandle_t portHandle, Qx_Trovix_FlexRayNm_Autosar_TxPdu_Parameters_t const *const frNmTxPduParameters);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
