/* The C library's size_t and NULL as the header walk's C parser sees them
 * (see stdint.h beside this file). */
#ifndef QX_WALK_STDDEF_H
#define QX_WALK_STDDEF_H
typedef unsigned long size_t;
#define NULL ((void *)0)
#endif
