/*
 * Declarations of libqx_api_trovix's com run-time control, transmit-PDU ramps and properties as the
 * bindings see them, in the library's own declaration order.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_COMRT_H
#define QX_API_TROVIX_COMRT_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
