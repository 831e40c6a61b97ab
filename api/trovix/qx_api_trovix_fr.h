/*
 * Declarations of libqx_api_trovix's flexRay cluster, controller, PDUs, LPDUs and frame triggers as the
 * bindings see them, in the library's own declaration order.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_FR_H
#define QX_API_TROVIX_FR_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#ifdef __cplusplus
}
#endif

#endif
