/*
 * Declarations of the toy native library (libqx_api_toy): a level per port,
 * reported to the port's level callback, set at once or as a sequence of
 * steps. CI adds it to a copy of the project
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

/* One step of a level sequence: the level, and how long it is held
 * (milliseconds). */
typedef struct {
  u32_t Level;
  u32_t Duration;
} Qx_Toy_Step_t;

Qx_Error_t Qx_Toy_Level_SetCallback(Qx_PortHandle_t portHandle, Qx_Toy_LevelCallback_t const callback);
Qx_Error_t Qx_Toy_Level_Set(Qx_PortHandle_t portHandle, u32_t level);
/* Sets the port's level to each step's in turn. */
Qx_Error_t Qx_Toy_Level_Steps(Qx_PortHandle_t portHandle, u32_t numberOfSteps, Qx_Toy_Step_t const *const steps);

#ifdef __cplusplus
}
#endif

#endif
