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

#ifdef __cplusplus
}
#endif

#endif
