/*
 * Declarations of libqx_api_trovix's PDU router as the bindings see them, in
 * the library's own declaration order: the sizes of the router's source and
 * target PDU tables per module, routing paths and routing-error commands.
 * Parameter names matter: the rules of api/trovix/params.txt are applied to
 * exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_PDUR_H
#define QX_API_TROVIX_PDUR_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef u32_t Qx_Trovix_PduRouter_RoutingPath_Config_Flags_t;
typedef u32_t Qx_Trovix_PduRouter_RoutingError_CmdFlags_t;

/* One routing path. */
typedef struct {
  Qx_Trovix_PduRouter_RoutingPath_Config_Flags_t Flags;
  u8_t Source; /* a QX_TROVIX__PDU_ROUTER__ROUTING_PATH__SOURCE__ code */
  u8_t Target; /* a QX_TROVIX__PDU_ROUTER__ROUTING_PATH__TARGET__ code */
  u8_t reserved1;
  u8_t reserved2;
  u32_t SourcePduId;
  u32_t TargetPduId;
  u32_t PduLengthMax;
  u32_t FifoDepth;
} Qx_Trovix_PduRouter_RoutingPath_Config_Parameters_t;

/* A routing-error command on a path. */
typedef struct {
  Qx_Trovix_PduRouter_RoutingError_CmdFlags_t Flags;
  u8_t Mode; /* a QX_TROVIX__PDU_ROUTER__ROUTING_ERROR__MODE__ value */
  u8_t reserved;
  u8_t Source;
  u8_t Target;
  u32_t SourcePduId;
  u32_t TargetPduId;
  u32_t NumberOfErrors;
  u32_t Time;
} Qx_Trovix_PduRouter_RoutingError_Cmd_t;

/* The module codes are a source code resp. a target code in one byte. */
Qx_Error_t Qx_Trovix_PduRouter_SourcePdu_MaxNumber(Qx_PortHandle_t portHandle, u8_t sourceModule,
                                                   u32_t maxNumberOfSourcePdus);
Qx_Error_t Qx_Trovix_PduRouter_TargetPdu_MaxNumber(Qx_PortHandle_t portHandle, u8_t targetModule,
                                                   u32_t maxNumberOfTargetPdus);
Qx_Error_t Qx_Trovix_PduRouter_RoutingPath_Config(
    Qx_PortHandle_t portHandle, Qx_Trovix_PduRouter_RoutingPath_Config_Parameters_t const *const routingPath);
Qx_Error_t Qx_Trovix_PduRouter_RoutingError(Qx_PortHandle_t portHandle,
                                            Qx_Trovix_PduRouter_RoutingError_Cmd_t const *const routingErrorCmd);

#ifdef __cplusplus
}
#endif

#endif
