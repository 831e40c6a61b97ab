/*
 * Declarations of libqx_api_trovix's signal groups as the
 * bindings see them, in the library's own declaration order.
 *
 * The library lays these records out with members aligned to at most 4
 * bytes: an 8-byte member may sit at a multiple of 4 that is not one of 8.
 * Parameter names matter: the rules of api/trovix/params.txt are applied
 * to exact `type name` pairs.
 */
#ifndef QX_API_TROVIX_SIGGROUP_H
#define QX_API_TROVIX_SIGGROUP_H

#include "qx_api_trovix.h"

#ifdef __cplusplus
extern "C" {
#endif

#pragma pack(push, 4)

#pragma pack(pop)

#ifdef __cplusplus
}
#endif

#endif
