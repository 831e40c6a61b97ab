/*
 * Declarations of libqx_api_trovix's com transmit-PDU signal filter as the
 * bindings see them, in the library's own declaration order.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_FILTER_H
#define QX_API_TROVIX_FILTER_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef u32_t Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Flags_t;

/* The filter of one signal of a transmit PDU: an algorithm (a
 * QX_TROVIX__COM__FLT__ALG__ value) and its parameters; Mask, X, Max and Min
 * are byte arrays. */
typedef struct {
  Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Flags_t Flags;
  u32_t TxPduId;
  u32_t TxPduSignalId;
  u8_t Algorithm;
  u8_t reserved1;
  u8_t reserved2;
  u8_t reserved3;
  u8_t Mask[8];
  u8_t X[8];
  u8_t Max[8];
  u8_t Min[8];
  u32_t Offset;
  u32_t Period;
} Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Cmd_t;

Qx_Error_t Qx_Trovix_Com_TxPdu_Signal_Filter_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_Com_TxPdu_Signal_Filter_Config_Cmd_t const *const filterConfigCmd);

#ifdef __cplusplus
}
#endif

#endif
