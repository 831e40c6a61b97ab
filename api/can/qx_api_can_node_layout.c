/* Compile-time check of the node and cyclic message record layouts. */
#include "qx_api_can_node.h"
#include "qx_layout.h"

/* Parity, checksums and properties. Records ending in pointers take the
 * host's pointer size. */
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t, Polynomial, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t, InitialValue, 8);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t, FinalXorValue, 12);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t, UserBytesBefore, 16);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t, UserBytesAfter, 16 + sizeof(void *));
QX_SIZE(Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t, 16 + 2 * sizeof(void *));

QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t, DataArray_Size, 1);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t, Polynomial, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t, FinalXorValue, 12);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t, DataArray_IndexSignal, 16);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t, DataArray, 20);
QX_SIZE(Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t, 20 + sizeof(void *));

QX_SIZE(Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t, 8);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t, InitialValue, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t, InputSignalShiftLeft, 6);
QX_OFFSET(Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t, reserved, 7);

QX_SIZE(Qx_Can_CyclicMsgs_Property_SetById_Cmd_t, 12);
QX_OFFSET(Qx_Can_CyclicMsgs_Property_SetById_Cmd_t, PropertyId, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_Property_SetById_Cmd_t, reserved2, 7);
QX_OFFSET(Qx_Can_CyclicMsgs_Property_SetById_Cmd_t, PropertyValue, 8);
QX_SIZE(Qx_Can_CyclicMsgs_Property_GetById_Cmd_t, 8);
QX_OFFSET(Qx_Can_CyclicMsgs_Property_GetById_Cmd_t, reserved2, 7);
QX_SIZE(Qx_Can_CyclicMsgs_Property_GetById_Rsp_t, 12);
QX_OFFSET(Qx_Can_CyclicMsgs_Property_GetById_Rsp_t, PropertyValue, 8);

/* Baud rates and bit timing. */
QX_SIZE(Qx_Can_Node_Baudrate_Set_ExtendedParam_t, 12);
QX_OFFSET(Qx_Can_Node_Baudrate_Set_ExtendedParam_t, Sjw_Max, 9);
QX_OFFSET(Qx_Can_Node_Baudrate_Set_ExtendedParam_t, reserved2, 11);

QX_SIZE(Qx_Can_Node_Baudrate_ActualValues_t, 16);
QX_OFFSET(Qx_Can_Node_Baudrate_ActualValues_t, CanControllerClock, 4);
QX_OFFSET(Qx_Can_Node_Baudrate_ActualValues_t, SamplePoint, 8);
QX_OFFSET(Qx_Can_Node_Baudrate_ActualValues_t, Sjw, 12);
QX_OFFSET(Qx_Can_Node_Baudrate_ActualValues_t, reserved3, 15);

QX_SIZE(Qx_Can_Node_BaudrateFd_Set_Cmd_t, 24);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Cmd_t, BaudRate, 4);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Cmd_t, SamplePoint_Min, 8);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Cmd_t, Sjw_Max, 17);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Cmd_t, reserved2, 19);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Cmd_t, TdcOffset, 20);

QX_SIZE(Qx_Can_Node_BaudrateFd_Set_Rsp_t, 24);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Rsp_t, BaudRate, 4);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Rsp_t, CanControllerClock, 8);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Rsp_t, SamplePoint, 12);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Rsp_t, Sjw, 16);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Set_Rsp_t, TdcOffset, 20);
QX_SIZE(Qx_Can_Node_BaudrateFd_Get_Rsp_t, 24);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Get_Rsp_t, Baudrate, 4);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Get_Rsp_t, Sjw, 16);
QX_OFFSET(Qx_Can_Node_BaudrateFd_Get_Rsp_t, TdcOffset, 20);

/* Node state and properties. */
QX_SIZE(Qx_Can_Node_GetState_Rsp_t, 12);
QX_OFFSET(Qx_Can_Node_GetState_Rsp_t, InitState, 3);
QX_OFFSET(Qx_Can_Node_GetState_Rsp_t, Flags, 4);
QX_OFFSET(Qx_Can_Node_GetState_Rsp_t, TransceiverPin_Enable, 8);
QX_OFFSET(Qx_Can_Node_GetState_Rsp_t, TransceiverPin_NotError, 11);

QX_SIZE(Qx_Can_Node_FdState_Get_Rsp_t, 16);
QX_OFFSET(Qx_Can_Node_FdState_Get_Rsp_t, FdMode, 4);
QX_OFFSET(Qx_Can_Node_FdState_Get_Rsp_t, FdFrameFormatSpec, 9);
QX_OFFSET(Qx_Can_Node_FdState_Get_Rsp_t, BaudRateFd, 12);
QX_SIZE(Qx_Can_Node_FdState_Set_Cmd_t, 16);
QX_OFFSET(Qx_Can_Node_FdState_Set_Cmd_t, TxBrs_Global, 4);
QX_OFFSET(Qx_Can_Node_FdState_Set_Cmd_t, FdFrameFormatSpec, 8);
QX_OFFSET(Qx_Can_Node_FdState_Set_Cmd_t, reserved3, 11);
QX_OFFSET(Qx_Can_Node_FdState_Set_Cmd_t, BaudRateFd, 12);

QX_SIZE(Qx_Can_Node_Property_SetById_Cmd_t, 8);
QX_OFFSET(Qx_Can_Node_Property_SetById_Cmd_t, reserved2, 3);
QX_OFFSET(Qx_Can_Node_Property_SetById_Cmd_t, Value, 4);
QX_SIZE(Qx_Can_Node_Property_GetById_Cmd_t, 4);
QX_SIZE(Qx_Can_Node_Property_GetById_Rsp_t, 8);
QX_OFFSET(Qx_Can_Node_Property_GetById_Rsp_t, Value, 4);

/* Cyclic messages. */
QX_SIZE(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, 164);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, Flags, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, SendState, 8);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, Dlc, 11);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, Data, 12);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, Data.Mask, 16);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, Data.Data, 24);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, Data.MinimumDelay, 32);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, Data.NumberOfMsgsBeforeRestore, 34);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, CycleTime, 36);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, CycleTime.CycleTime, 40);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, CycleTime.NumberOfMsgsBeforeRestore, 44);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, CycleTime.reserved2, 47);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, ExtendedMaskAndData, 48);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, ExtendedMaskAndData.Mask, 52);
QX_OFFSET(Qx_Can_CyclicMsgs_ChangeMsg_Parameters_t, ExtendedMaskAndData.Data, 108);

QX_SIZE(Qx_Can_CyclicMsgs_GetMsgState_Rsp_t, 76);
QX_OFFSET(Qx_Can_CyclicMsgs_GetMsgState_Rsp_t, CycleTime, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_GetMsgState_Rsp_t, Group, 6);
QX_OFFSET(Qx_Can_CyclicMsgs_GetMsgState_Rsp_t, Mode, 7);
QX_OFFSET(Qx_Can_CyclicMsgs_GetMsgState_Rsp_t, Dlc, 9);
QX_OFFSET(Qx_Can_CyclicMsgs_GetMsgState_Rsp_t, Data, 12);

/* Ramps. */
QX_SIZE(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, 32);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, Signal, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, Mode, 8);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, Direction, 9);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, MinValue, 10);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, UpdateRate, 14);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, Increment, 16);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, RampSum, 24);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, NumberOfFlanks, 28);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t, reserved2, 31);

QX_SIZE(Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t, 12);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t, Signal, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_ChangeMode_Ramps_t, Mode, 8);

QX_SIZE(Qx_Can_CyclicMsgs_Ramp_SyncRamp_t, 16);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_SyncRamp_t, Mode, 8);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_SyncRamp_t, reserved3, 11);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_SyncRamp_t, MinValue, 12);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_SyncRamp_t, MaxValue, 14);

QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t, Signal, 4);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t, MinValue, 8);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t, CycleTime, 12);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t, NumberOfFlanks, 14);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t, Direction, 16);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t, reserved3, 19);
QX_OFFSET(Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t, SyncRamp, 20);
QX_SIZE(Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t, 20 + sizeof(void *));
