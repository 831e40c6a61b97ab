/* The C library's fixed-width types as the header walk's C parser sees them
 * (header_walk.py reads no system headers, whose compiler extensions the
 * parser does not know). Only whether a type is signed, unsigned or
 * floating matters to the generators, not its width on this host. */
#ifndef QX_WALK_STDINT_H
#define QX_WALK_STDINT_H
typedef unsigned char uint8_t;
typedef unsigned short uint16_t;
typedef unsigned int uint32_t;
typedef unsigned long long uint64_t;
typedef signed char int8_t;
typedef short int16_t;
typedef int int32_t;
typedef long long int64_t;
#endif
