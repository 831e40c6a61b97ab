/* Compile-time check of the CAN record layouts the bindings rely on. */
#include "qx_api_can.h"
#include "qx_layout.h"

QX_SIZE(Qx_Common_Signal_t, 4);

QX_SIZE(Qx_Can_Data_t, 64);

QX_SIZE(Qx_Can_TxFifo_MsgItem_t, 16);
QX_OFFSET(Qx_Can_TxFifo_MsgItem_t, Dlc, 4);
QX_OFFSET(Qx_Can_TxFifo_MsgItem_t, reserved3, 7);
QX_OFFSET(Qx_Can_TxFifo_MsgItem_t, Data, 8);

QX_SIZE(Qx_Can_TxFifo_MsgItem2_t, 72);
QX_OFFSET(Qx_Can_TxFifo_MsgItem2_t, Flags, 5);
QX_OFFSET(Qx_Can_TxFifo_MsgItem2_t, MsgFlags, 6);
QX_OFFSET(Qx_Can_TxFifo_MsgItem2_t, Data, 8);

QX_SIZE(Qx_Can_Monitor_BufferItem_t, 24);
QX_OFFSET(Qx_Can_Monitor_BufferItem_t, Id, 8);
QX_OFFSET(Qx_Can_Monitor_BufferItem_t, Flags, 12);
QX_OFFSET(Qx_Can_Monitor_BufferItem_t, Dlc, 14);
QX_OFFSET(Qx_Can_Monitor_BufferItem_t, DataLength, 15);
QX_OFFSET(Qx_Can_Monitor_BufferItem_t, Data, 16);

QX_SIZE(Qx_Can_Monitor_BufferItem_Large_t, 80);
QX_OFFSET(Qx_Can_Monitor_BufferItem_Large_t, Id, 8);
QX_OFFSET(Qx_Can_Monitor_BufferItem_Large_t, Flags, 12);
QX_OFFSET(Qx_Can_Monitor_BufferItem_Large_t, reserved, 13);
QX_OFFSET(Qx_Can_Monitor_BufferItem_Large_t, Dlc, 14);
QX_OFFSET(Qx_Can_Monitor_BufferItem_Large_t, DataLength, 15);
QX_OFFSET(Qx_Can_Monitor_BufferItem_Large_t, Data, 16);
