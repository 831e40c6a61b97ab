/* The base types as the journal generator's C parser sees them (it reads no
 * system headers). Must agree with api/qx_types.h. */
#ifndef QX_TYPES_H
#define QX_TYPES_H
typedef unsigned char u8_t;
typedef unsigned short u16_t;
typedef unsigned int u32_t;
typedef unsigned long long u64_t;
typedef int s32_t;
typedef long long s64_t;
typedef double float64_t;
typedef unsigned long size_t;
#endif
