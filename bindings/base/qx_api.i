/* Module _qx_api: the base interface library (libqx_api). */
%module qx_api

%{
#include "qx_api.h"
%}

/* The list rules' messages: "Expecting a sequence", ... */
#define QX_WORDING_PLAIN
%include "qx_rules.i"

/* Which native type follows which rule in this module. Types not listed
 * (u16_t and its flag types, u64_t) have no numeric conversion here: their
 * values travel in pointer objects of the type. */
QX_UNSIGNED_SCALAR(u8_t)
QX_UNSIGNED_SCALAR(u32_t)
QX_STATUS_CHECK(Qx_Error_t)
QX_ARRAY_TO_LIST(u8_t)
QX_ARRAY_TO_LIST(u32_t)
/* u16_t (and its flag types) and u64_t values travel in pointer objects of
 * their type; a getter's copy frees itself when collected. */
QX_OPAQUE_VALUE(u16_t)
QX_OPAQUE_VALUE(u64_t)

/* Parameter shapes (api/base/params.txt: byte data in, response bytes,
 * interface lists and 256-byte texts out, appended outputs) and the record
 * members copied in whole, generated. */
%include "qx_api_rules.i"

%include "qx_api.h"

/* Boxed cells for plain pointer arguments: last in the method table. */
QX_POINTER_CLASS(u32_t, int_p)
QX_POINTER_CLASS(char, char_p)
