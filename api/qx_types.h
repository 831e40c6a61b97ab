/*
 * Base scalar types of the native API (and, from qx_buffer.h, the size of
 * the byte buffers that its functions read through a bare pointer).
 *
 * This header is compiled by C code only and is never shown to SWIG: the
 * bindings must not learn that u8_t, u16_t, u32_t and u64_t are plain C
 * integers, so that each module decides per type how it converts values
 * (see bindings/shared/qx_rules.i) and so that pointer types keep their own
 * mangled names (_p_u32_t, _p_u16_t) across all modules.
 */
#ifndef QX_TYPES_H
#define QX_TYPES_H

#include <stddef.h>
#include <stdint.h>

#include "qx_buffer.h"

typedef uint8_t u8_t;
typedef uint16_t u16_t;
typedef uint32_t u32_t;
typedef uint64_t u64_t;
typedef int32_t s32_t;
typedef int64_t s64_t;
typedef double float64_t;

#endif
