/* Compile-time checks of native record layouts (the api/<lib>/<lib>_layout.c files). */
#ifndef QX_LAYOUT_H
#define QX_LAYOUT_H

#include <stddef.h>

#define QX_SIZE(type, size) _Static_assert(sizeof(type) == (size), "size of " #type)
#define QX_OFFSET(type, member, offset) \
  _Static_assert(offsetof(type, member) == (offset), "offset of " #type "." #member)

#endif
