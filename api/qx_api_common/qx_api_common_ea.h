/* Declarations of the on-device event/action engine of libqx_api_common. */
#ifndef QX_API_COMMON_EA_H
#define QX_API_COMMON_EA_H
#endif
