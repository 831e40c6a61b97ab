/* Module _qx_api_toy: the toy library (libqx_api_toy). */
%module qx_api_toy

%{
#include "qx_api_toy.h"
%}

/* Lists and buffers word their refusals as the base module does. */
#define QX_WORDING_PLAIN
%include "qx_rules.i"

/* The base library's types (Qx_PortHandle_t, Qx_Error_t, ...) without its
 * bindings. */
%import "qx_api.h"

/* Which native type follows which rule in this module.
 *
 *   u32_t and its typedefs (Qx_PortHandle_t)   UnsignedScalarIn
 *   Qx_Error_t result                          StatusCheck
 */
QX_UNSIGNED_SCALAR(u32_t)
QX_STATUS_CHECK(Qx_Error_t)

/* Parameter shapes (api/toy/params.txt: the steps beside their count),
 * generated. */
%include "qx_api_toy_rules.i"

%include "qx_api_toy.h"
