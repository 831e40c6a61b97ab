/*
 * Declarations of libqx_api_trovix's secure onboard communication as the
 * bindings see them, in the library's own declaration order.
 *
 * Receive and transmit processings join an authentic PDU to a secured PDU
 * (or to a secured-PDU collection: an authentic and a cryptographic part
 * tied by a message link); they name their crypto job by the JobId of
 * qx_api_trovix_crypto.h and their freshness value by its FreshnessValueId.
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_SECOC_H
#define QX_API_TROVIX_SECOC_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

typedef u32_t Qx_Trovix_SecOc_RxPduProcessing_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_TxPduProcessing_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_RxAuthenticPdu_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_TxAuthenticPdu_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_RxSecuredPdu_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_TxSecuredPdu_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_RxSecuredPduCollection_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_TxSecuredPduCollection_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_TxPduProcessing_Error_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_GetVerificationStat_CmdFlags_t;
typedef u32_t Qx_Trovix_SecOc_GetVerificationStat_RspFlags_t;

/* A receive processing: verifies the secured PDU and delivers the authentic
 * PDU it carries. */
typedef struct {
  Qx_Trovix_SecOc_RxPduProcessing_CmdFlags_t Flags;
  u32_t RxPduProcessingId;
  u32_t RxAuthenticPduId;
  u32_t RxSecuredPduId;
  u16_t DataId;
  u8_t FreshnessValueLength;
  u8_t FreshnessValueTxLength; /* the part carried in the secured PDU */
  u32_t FreshnessValueId;
  u16_t AuthDataFreshnessLength;
  u16_t AuthDataFreshnessStartPosition;
  u16_t AuthVerifyAttempts;
  u16_t AuthInfoTxLength;
  u32_t AuthServiceConfig_CsmJobId;
  u32_t PduDataMaxLength;
} Qx_Trovix_SecOc_RxPduProcessing_Cmd_t;

/* A transmit processing: authenticates the authentic PDU into the secured
 * PDU. */
typedef struct {
  Qx_Trovix_SecOc_TxPduProcessing_CmdFlags_t Flags;
  u32_t TxPduProcessingId;
  u32_t TxAuthenticPduId;
  u32_t TxSecuredPduId;
  u16_t DataId;
  u8_t FreshnessValueLength;
  u8_t FreshnessValueTxLength;
  u32_t FreshnessValueId;
  u16_t AuthInfoTxLength;
  u8_t reserved1;
  u8_t reserved2;
  u32_t AuthServiceConfig_CsmJobId;
  u32_t PduDataMaxLength;
} Qx_Trovix_SecOc_TxPduProcessing_Cmd_t;

typedef struct {
  Qx_Trovix_SecOc_RxAuthenticPdu_CmdFlags_t Flags;
  u32_t RxAuthenticPduId;
} Qx_Trovix_SecOc_RxAuthenticPdu_Cmd_t;

typedef struct {
  Qx_Trovix_SecOc_TxAuthenticPdu_CmdFlags_t Flags;
  u32_t TxAuthenticPduId;
} Qx_Trovix_SecOc_TxAuthenticPdu_Cmd_t;

typedef struct {
  Qx_Trovix_SecOc_RxSecuredPdu_CmdFlags_t Flags;
  u32_t RxSecuredPduId;
} Qx_Trovix_SecOc_RxSecuredPdu_Cmd_t;

typedef struct {
  Qx_Trovix_SecOc_TxSecuredPdu_CmdFlags_t Flags;
  u32_t TxSecuredPduId;
  u32_t PduLengthMax;
} Qx_Trovix_SecOc_TxSecuredPdu_Cmd_t;

/* A secured PDU sent as two PDUs, its authentic and its cryptographic part,
 * tied together by the message link. */
typedef struct {
  Qx_Trovix_SecOc_RxSecuredPduCollection_CmdFlags_t Flags;
  u32_t RxSecuredPduId_AuthenticPart;
  u32_t RxSecuredPduId_CryptographicPart;
  u32_t PduLengthMax_AuthenticPart;
  u32_t PduLengthMax_CryptographicPart;
  u16_t MsgLinkPosition;
  u16_t MsgLinkLength;
} Qx_Trovix_SecOc_RxSecuredPduCollection_Cmd_t;

typedef struct {
  Qx_Trovix_SecOc_TxSecuredPduCollection_CmdFlags_t Flags;
  u32_t TxSecuredPduId_AuthenticPart;
  u32_t TxSecuredPduId_CryptographicPart;
  u32_t PduLengthMax_AuthenticPart;
  u32_t PduLengthMax_CryptographicPart;
  u16_t MsgLinkPosition;
  u16_t MsgLinkLength;
} Qx_Trovix_SecOc_TxSecuredPduCollection_Cmd_t;

/* An error mode applied to a transmit processing for a number of cycles. */
typedef struct {
  Qx_Trovix_SecOc_TxPduProcessing_Error_CmdFlags_t Flags;
  u32_t TxPduProcessingId;
  u8_t ErrorMode; /* a QX_TROVIX__SEC_OC__ERROR_MODE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t NumberOfCycles;
} Qx_Trovix_SecOc_TxPduProcessing_Error_Cmd_t;

typedef struct {
  Qx_Trovix_SecOc_GetVerificationStat_CmdFlags_t Flags;
  u32_t RxPduProcessingId;
} Qx_Trovix_SecOc_GetVerificationStat_Cmd_t;

/* The verification statistics of a receive processing. */
typedef struct {
  Qx_Trovix_SecOc_GetVerificationStat_RspFlags_t Flags;
  u32_t LastVerificationErrorCode;
  u32_t VerificationPassCounter;
  u32_t VerificationFailCounter;
} Qx_Trovix_SecOc_GetVerificationStat_Rsp_t;

Qx_Error_t Qx_Trovix_SecOc_RxPduProcessing(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_SecOc_RxPduProcessing_Cmd_t const *const rxProcessingCmd);
Qx_Error_t Qx_Trovix_SecOc_RxSecuredPdu(Qx_PortHandle_t portHandle,
                                        Qx_Trovix_SecOc_RxSecuredPdu_Cmd_t const *const rxSecuredPduCmd);
Qx_Error_t Qx_Trovix_SecOc_RxSecuredPduCollection(
    Qx_PortHandle_t portHandle, Qx_Trovix_SecOc_RxSecuredPduCollection_Cmd_t const *const rxCollectionCmd);
Qx_Error_t Qx_Trovix_SecOc_RxAuthenticPdu(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_SecOc_RxAuthenticPdu_Cmd_t const *const rxAuthenticPduCmd);
Qx_Error_t Qx_Trovix_SecOc_TxPduProcessing(Qx_PortHandle_t portHandle,
                                           Qx_Trovix_SecOc_TxPduProcessing_Cmd_t const *const txProcessingCmd);
Qx_Error_t Qx_Trovix_SecOc_TxAuthenticPdu(Qx_PortHandle_t portHandle,
                                          Qx_Trovix_SecOc_TxAuthenticPdu_Cmd_t const *const txAuthenticPduCmd);
Qx_Error_t Qx_Trovix_SecOc_TxSecuredPdu(Qx_PortHandle_t portHandle,
                                        Qx_Trovix_SecOc_TxSecuredPdu_Cmd_t const *const txSecuredPduCmd);
Qx_Error_t Qx_Trovix_SecOc_TxSecuredPduCollection(
    Qx_PortHandle_t portHandle, Qx_Trovix_SecOc_TxSecuredPduCollection_Cmd_t const *const txCollectionCmd);
Qx_Error_t Qx_Trovix_SecOc_TxPduProcessing_Error(
    Qx_PortHandle_t portHandle, Qx_Trovix_SecOc_TxPduProcessing_Error_Cmd_t const *const txErrorCmd);
Qx_Error_t Qx_Trovix_SecOc_GetVerificationStat(Qx_PortHandle_t portHandle,
                                               Qx_Trovix_SecOc_GetVerificationStat_Cmd_t const *const verificationStatCmd,
                                               Qx_Trovix_SecOc_GetVerificationStat_Rsp_t *const verificationStatRsp);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
