/*
 * Declarations of libqx_api_trovix's Com checksum parameter records and
 * transmit-PDU checksum configuration as the bindings see them, in the
 * library's own declaration order: the parameter records of the checksum
 * modes, then the checksum, included bytes and checksum wrapper of a signal
 * of a Com transmit PDU.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_CHECKSUM_H
#define QX_API_TROVIX_CHECKSUM_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef u32_t Qx_Trovix_Com_TxPdu_Checksum_Config_Flags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_CmFlags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_Flags_t;
typedef u32_t Qx_Trovix_Com_TxPdu_Checksum_Wrapper_CmFlags_t;

/* ---- Parameters of the checksum modes that take some (a
 * QX_TROVIX__CHECKSUM_MODE__ value of 16 and up) -------------------------- */

typedef struct {
  u8_t NumberOfUserBytes;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t UserBytes[20];
} Qx_Trovix_Checksum_XorWithUserBytes_t;

typedef struct {
  u8_t Order;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u32_t Polynomial;
  u32_t InitialValue;
  u32_t FinalXorValue;
  u8_t NumberOfUserBytesBefore;
  u8_t NumberOfUserBytesAfter;
  u8_t reserved4;
  u8_t reserved5;
  u8_t UserBytes[20];
} Qx_Trovix_Checksum_CrcWithUserBytes_t;

typedef struct {
  u8_t Order;
  u8_t NumberOfUserBytes;
  u8_t reserved1;
  u8_t reserved2;
  u32_t Polynomial;
  u32_t InitialValue;
  u32_t FinalXorValue;
  u32_t reserved;
  u8_t UserBytes[16];
} Qx_Trovix_Checksum_Custom12_t;

typedef struct {
  u8_t ExtraBits_BitPosition;
  u8_t ExtraBits_BitSize;
  u8_t ExtraBits_Endianness;
  u8_t reserved1;
  u32_t InitialValue;
  u32_t FinalXorValue;
  u32_t FinalAddAfterXor;
  u8_t NumberOfUserBytes;
  u8_t reserved2;
  u8_t reserved3;
  u8_t reserved4;
  u8_t UserBytes[20];
} Qx_Trovix_Checksum_AddNibbles_t;

typedef struct {
  u32_t MessageId;
  u8_t MessageCounter_BitPosition;
  u8_t MessageCounter_BitSize;
  u8_t reserved1;
  u8_t reserved2;
} Qx_Trovix_Checksum_Custom14_t;

typedef struct {
  u32_t InitialValue;
  u32_t FinalXorValue;
  u8_t ExtraBits_BitPosition;
  u8_t ExtraBits_BitSize;
  u8_t ExtraBits_Endianness;
  u8_t reserved;
} Qx_Trovix_Checksum_AddBytes_XorNibbles_t;

/* ---- Checksum of one signal of a Com transmit PDU ------------------------- */

/* The checksum mode and, for a mode of 16 and up, its parameters in the
 * member of `u` named like the mode. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Checksum_Config_Flags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u8_t ChecksumMode; /* a QX_TROVIX__CHECKSUM_MODE__ value */
  u8_t Priority;
  u8_t reserved2;
  u8_t reserved3;
  union {
    Qx_Trovix_Checksum_XorWithUserBytes_t XorWithUserBytes;
    Qx_Trovix_Checksum_CrcWithUserBytes_t CrcWithUserBytes;
    Qx_Trovix_Checksum_Custom12_t Custom12;
    Qx_Trovix_Checksum_AddNibbles_t AddNibbles;
    Qx_Trovix_Checksum_Custom14_t Custom14;
    Qx_Trovix_Checksum_AddBytes_XorNibbles_t AddBytes_XorNibbles;
  } u;
} Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t;

Qx_Error_t Qx_Trovix_Com_TxPdu_Checksum_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Checksum_Config_Parameters_t const *const checksumParameters);

/* The bytes of the PDU that enter the checksum: the first
 * NumberOfIncludedBytes of IncludedBytes. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_CmFlags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u8_t NumberOfIncludedBytes;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t IncludedBytes[0xFF];
} Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_Cmd_t;

Qx_Error_t Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Checksum_IncludedBytes_Cmd_t const *const includedBytesCmd);

/* Parameters of the checksum wrapper's custom mode 1. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_Flags_t Flags;
  u8_t NumberOfTxPduSignals;
  u8_t UnusedBitPattern;
  u8_t reserved1;
  u8_t reserved2;
  u32_t TxPduSignalIds[0xFF];
} Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_t;

typedef struct {
  Qx_Trovix_Com_TxPdu_Checksum_Wrapper_CmFlags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u8_t Mode; /* a QX_TROVIX__COM__TX_PDU__CHECKSUM__WRAPPER__MODE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  struct {
    Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Custom1_t Custom1;
  } Parameters;
} Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t;

Qx_Error_t Qx_Trovix_Com_TxPdu_Checksum_Wrapper(Qx_PortHandle_t portHandle,
                                                Qx_Trovix_Com_TxPdu_Checksum_Wrapper_Cmd_t const *const wrapperCmd);

#ifdef __cplusplus
}
#endif

#endif
