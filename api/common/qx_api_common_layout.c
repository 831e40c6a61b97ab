/* Compile-time check of the record layouts the bindings rely on. */
#include "qx_api_common.h"
#include "qx_layout.h"

QX_SIZE(Qx_Common_Signal_t, 4);
QX_OFFSET(Qx_Common_Signal_t, ByteOrder, 1);
QX_OFFSET(Qx_Common_Signal_t, Offset, 2);

QX_SIZE(Qx_Common_Ip4Address_t, 4);
QX_SIZE(Qx_Common_Ip6Address_t, 16);
QX_SIZE(Qx_Common_IpAddress_t, 16);
QX_OFFSET(Qx_Common_IpAddress_t, Ip6, 0);

QX_SIZE(Qx_Common_GetHardwareVersion_Cmd_t, 8);
QX_OFFSET(Qx_Common_GetHardwareVersion_Cmd_t, HardwareBoardNumber, 4);
QX_OFFSET(Qx_Common_GetHardwareVersion_Cmd_t, reserved3, 7);
QX_SIZE(Qx_Common_GetHardwareVersion_Rsp_t, 4);
QX_OFFSET(Qx_Common_GetHardwareVersion_Rsp_t, Byte4, 3);

QX_SIZE(Qx_Common_GetControllerInfo_Rsp_t, 1052);
QX_OFFSET(Qx_Common_GetControllerInfo_Rsp_t, ControllerFamily, 4);
QX_OFFSET(Qx_Common_GetControllerInfo_Rsp_t, ControllerType, 5);
QX_OFFSET(Qx_Common_GetControllerInfo_Rsp_t, Flags, 8);
QX_OFFSET(Qx_Common_GetControllerInfo_Rsp_t, ResetStatusRegister, 12);
QX_OFFSET(Qx_Common_GetControllerInfo_Rsp_t, HardwareVersion, 16);
QX_OFFSET(Qx_Common_GetControllerInfo_Rsp_t, SoftwareVersion, 20);
QX_OFFSET(Qx_Common_GetControllerInfo_Rsp_t, NumberOfInterfaces, 24);
QX_OFFSET(Qx_Common_GetControllerInfo_Rsp_t, Interfaces, 28);
QX_SIZE(((Qx_Common_GetControllerInfo_Rsp_t *)0)->Interfaces[0], 2);

QX_SIZE(Qx_Common_GetInterfaceInfo_Rsp_t, 140);
QX_OFFSET(Qx_Common_GetInterfaceInfo_Rsp_t, Flags, 1);
QX_OFFSET(Qx_Common_GetInterfaceInfo_Rsp_t, InstanceId, 2);
QX_OFFSET(Qx_Common_GetInterfaceInfo_Rsp_t, InterfaceVersion, 4);
QX_OFFSET(Qx_Common_GetInterfaceInfo_Rsp_t, NumberOfFeatures, 8);
QX_OFFSET(Qx_Common_GetInterfaceInfo_Rsp_t, Features, 12);

QX_SIZE(Qx_Common_GetTransceiverInfo_Rsp_t, 1028);
QX_OFFSET(Qx_Common_GetTransceiverInfo_Rsp_t, TransceiverInfos, 4);
QX_SIZE(((Qx_Common_GetTransceiverInfo_Rsp_t *)0)->TransceiverInfos[0], 4);
QX_OFFSET(Qx_Common_GetTransceiverInfo_Rsp_t, TransceiverInfos[0].TransceiverFlags, 5);
QX_OFFSET(Qx_Common_GetTransceiverInfo_Rsp_t, TransceiverInfos[0].TransceiverType, 6);

QX_SIZE(Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t, 8);
QX_OFFSET(Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t, HardwareSubPosition, 1);
QX_OFFSET(Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t, Type, 2);
QX_OFFSET(Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t, Flags, 4);
QX_OFFSET(Qx_Common_GetTransceiverInfoForCurrentInterface_Rsp_t, reserved3, 7);

QX_SIZE(Qx_Common_GetInterfaceNumber_Parameters_t, 8);
QX_OFFSET(Qx_Common_GetInterfaceNumber_Parameters_t, InterfaceType, 4);
QX_OFFSET(Qx_Common_GetInterfaceNumber_Parameters_t, InstanceId, 5);
QX_SIZE(Qx_Common_GetInterfaceNumber_Rsp_t, 4);
