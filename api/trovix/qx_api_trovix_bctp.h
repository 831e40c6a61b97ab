/*
 * Declarations of libqx_api_trovix's broadcast transport protocol adaptors as
 * the bindings see them, in the library's own declaration order: a transmit
 * and a receive adaptor each tie an input PDU to an output PDU, with a
 * message length on each side.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_BCTP_H
#define QX_API_TROVIX_BCTP_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

typedef u32_t Qx_Trovix_BroadcastTpC1_TxAdaptor_CmdFlags_t;
typedef u32_t Qx_Trovix_BroadcastTpC1_RxAdaptor_CmdFlags_t;

typedef struct {
  Qx_Trovix_BroadcastTpC1_TxAdaptor_CmdFlags_t Flags;
  u32_t TxAdaptorId;
  u32_t TxInPduId;
  u32_t TxOutPduId;
  u16_t MessageLengthIn;
  u16_t MessageLengthOut;
  u32_t MessagePartSendDelay; /* between the sent parts of a message */
} Qx_Trovix_BroadcastTpC1_TxAdaptor_Cmd_t;

Qx_Error_t Qx_Trovix_BroadcastTpC1_TxAdaptor(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_BroadcastTpC1_TxAdaptor_Cmd_t const *const txAdaptorCmd);

typedef struct {
  Qx_Trovix_BroadcastTpC1_RxAdaptor_CmdFlags_t Flags;
  u32_t RxAdaptorId;
  u32_t RxInPduId;
  u32_t RxOutPduId;
  u16_t MessageLengthIn;
  u16_t MessageLengthOut;
} Qx_Trovix_BroadcastTpC1_RxAdaptor_Cmd_t;

Qx_Error_t Qx_Trovix_BroadcastTpC1_RxAdaptor(Qx_PortHandle_t portHandle,
                                             Qx_Trovix_BroadcastTpC1_RxAdaptor_Cmd_t const *const rxAdaptorCmd);

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
