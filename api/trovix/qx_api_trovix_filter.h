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

#ifdef __cplusplus
}
#endif

#endif
