/*
 * Declarations of the toy native library (libqx_api_toy): a level per port,
 * reported to the port's level callback. CI adds it to a copy of the project
 * to show that a library is its line in libraries.cmake and its own folders
 * (.ci/new_library.py).
 */
#ifndef QX_API_TOY_H
#define QX_API_TOY_H

#include "qx_api.h"
#include "qx_types.h"

#ifdef __cplusplus
extern "C" {
#endif

/* The highest level a port takes. */
#define QX_TOY__LEVEL_MAX 100

/* Called with the port and its new level whenever the port's level is set. */
typedef void (*Qx_Toy_LevelCallback_t)(Qx_PortHandle_t const portHandle, u32_t const level);

Qx_Error_t Qx_Toy_Level_SetCallback(Qx_PortHandle_t portHandle, Qx_Toy_LevelCallback_t const callback);
Qx_Error_t Qx_Toy_Level_Set(Qx_PortHandle_t portHandle, u32_t level);

#ifdef __cplusplus
}
#endif

#endif
