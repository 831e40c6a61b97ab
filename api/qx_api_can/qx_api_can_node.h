/* Declarations of the CAN node configuration and cyclic message engine of libqx_api_can. */
#ifndef QX_API_CAN_NODE_H
#define QX_API_CAN_NODE_H
#endif
