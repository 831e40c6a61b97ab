/*
 * Declarations of libqx_api_trovix's crypto service jobs and keys as the
 * bindings see them, in the library's own declaration order.
 *
 * A job names the key it uses by the KeyId under which the key was loaded;
 * secure onboard communication and the freshness value manager name a job
 * by its JobId. The key bytes are the caller's, passed through unchanged.
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_CRYPTO_H
#define QX_API_TROVIX_CRYPTO_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

typedef u32_t Qx_Trovix_Csm_Job_CmdFlags_t;
typedef u32_t Qx_Trovix_Csm_Key_128Bit_CmdFlags_t;

typedef struct {
  Qx_Trovix_Csm_Job_CmdFlags_t Flags;
  u32_t JobId;
  u32_t KeyId;
  u8_t PrimitiveType; /* a QX_TROVIX__CSM__PRIMITIVE_TYPE__ value */
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
} Qx_Trovix_Csm_Job_Cmd_t;

typedef struct {
  Qx_Trovix_Csm_Key_128Bit_CmdFlags_t Flags;
  u32_t KeyId;
  u8_t Key[16]; /* the key's bytes in order */
} Qx_Trovix_Csm_Key_128Bit_Cmd_t;

Qx_Error_t Qx_Trovix_Csm_Job(Qx_PortHandle_t portHandle, Qx_Trovix_Csm_Job_Cmd_t const *const jobCmd);
Qx_Error_t Qx_Trovix_Csm_Key_128Bit(Qx_PortHandle_t portHandle, Qx_Trovix_Csm_Key_128Bit_Cmd_t const *const keyCmd);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
