/* Module _qx_api: the base interface library (libqx_api). */
%module qx_api

%{
#include "qx_api.h"
%}

%include "qx_rules.i"

/* Which native type follows which rule in this module. Types not listed
 * (u16_t and its flag types, u64_t) have no numeric conversion here: their
 * values travel in pointer objects of the type. */
QX_UNSIGNED_SCALAR(u8_t)
QX_UNSIGNED_SCALAR(u32_t)
QX_STATUS_CHECK(Qx_Error_t)
QX_ARRAY_TO_LIST(u8_t)
QX_ARRAY_TO_LIST(u32_t)
QX_NESTED_MEMBER_BY_COPY(Qx_IpAddress_t)

/* Outputs that the bindings supply and append to the result. */
QX_SCALAR_OUTPUT(u32_t)
%apply u32_t *QX_OUTPUT {
  Qx_PortHandle_t *const newPortHandle,
  u32_t *const versionMajor,
  u32_t *const versionMinor,
  u32_t *const versionBuild
};

/* Byte data in, response bytes and interface lists out. */
QX_BYTE_LIST_TO_HEAP_BUFFER(u8_t const *const data, u32_t const dataLength)
QX_CAPACITY_TO_BYTE_LIST(u8_t *const responseBuffer, u32_t *const responseCount)
QX_CAPACITY_TO_BYTE_LIST(u8_t *const itemBuffer, u32_t *const itemCount)
QX_CAPACITY_TO_RECORD_LIST(Qx_InterfaceData_t, u32_t *const listCount, Qx_InterfaceData_t *const list, u32_t const elementSize)

/* Text outputs: 256-byte buffers. */
QX_STRING_OUT(char *const text, 256)
QX_STRING_OUT_SIZE_FIRST(u32_t *const textSize, char *const text, 256)
QX_STRING_OUT_SIZE_LAST(char *const text, u32_t *const textSize, 256)

QX_POINTER_MEMBER(Qx_InterfaceData_t, InterfaceData)

%include "qx_api.h"

/* Boxed cells for plain pointer arguments: last in the method table. */
QX_POINTER_CLASS(u32_t, int_p)
QX_POINTER_CLASS(char, char_p)
