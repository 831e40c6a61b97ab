/* Compile-time check of the record layouts the bindings rely on. */
#include "qx_api.h"
#include "qx_layout.h"

QX_SIZE(Qx_Data_t, 8);
QX_SIZE(Qx_IpAddress_t, 4);
QX_OFFSET(Qx_IpAddress_t, Byte.B4, 3);

QX_SIZE(Qx_InterfaceInfo_t, 28);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters, 4);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.InterfaceNumber, 5);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.Flags, 6);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.u, 8);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.u.Ethernet.reserved1, 10);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.u.Ethernet.reserved2, 11);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.u.Ethernet.IpAddress, 12);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.u.UsbOverEthernet.PortNumber, 12);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.u.UsbOverEthernet.reserved1, 14);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.u.UsbOverEthernet.reserved2, 15);
QX_OFFSET(Qx_InterfaceInfo_t, Parameters.u.UsbOverEthernet.IpAddress, 16);
QX_SIZE(((Qx_InterfaceInfo_t *)0)->Parameters, 24);
QX_SIZE(((Qx_InterfaceInfo_t *)0)->Parameters.u, 20);
QX_SIZE(((Qx_InterfaceInfo_t *)0)->Parameters.u.Ethernet, 20);
QX_SIZE(((Qx_InterfaceInfo_t *)0)->Parameters.u.UsbOverEthernet, 12);
QX_SIZE(((Qx_InterfaceInfo_t *)0)->Parameters.u.Serial, 1);

QX_SIZE(Qx_InterfaceData_t, 40);
QX_OFFSET(Qx_InterfaceData_t, ControllerNumber, 1);
QX_OFFSET(Qx_InterfaceData_t, InterfaceNumber, 2);
QX_OFFSET(Qx_InterfaceData_t, HostCommunicationType, 3);
QX_OFFSET(Qx_InterfaceData_t, HostInterfaceType, 4);
QX_OFFSET(Qx_InterfaceData_t, Serial, 8);
QX_OFFSET(Qx_InterfaceData_t, DeviceIndex, 12);
QX_OFFSET(Qx_InterfaceData_t, IpAddress, 16);
QX_OFFSET(Qx_InterfaceData_t, TcpPort, 20);
QX_OFFSET(Qx_InterfaceData_t, PortNumber, 22);
QX_OFFSET(Qx_InterfaceData_t, GeographicAddress, 23);
QX_OFFSET(Qx_InterfaceData_t, SubNetMask, 24);
QX_OFFSET(Qx_InterfaceData_t, HostSerial, 28);
QX_OFFSET(Qx_InterfaceData_t, DefaultGateway, 32);
QX_OFFSET(Qx_InterfaceData_t, UsbVersion, 36);
QX_OFFSET(Qx_InterfaceData_t, UsbVersion.Minor, 37);
QX_SIZE(((Qx_InterfaceData_t *)0)->UsbVersion, 2);
QX_OFFSET(Qx_InterfaceData_t, reserved, 38);

QX_SIZE(Qx_Ethernet_AdapterInfo_t, 8);
QX_OFFSET(Qx_Ethernet_AdapterInfo_t, Mask, 4);

/* Ends in a pointer: 16 bytes where pointers are 4 bytes, 20 on 64-bit hosts. */
QX_OFFSET(Qx_Interface_UpdateAllInterfaces_Cmd_t, reserved1, 4);
QX_OFFSET(Qx_Interface_UpdateAllInterfaces_Cmd_t, reserved4, 7);
QX_OFFSET(Qx_Interface_UpdateAllInterfaces_Cmd_t, NumberOfInterfaces, 8);
QX_OFFSET(Qx_Interface_UpdateAllInterfaces_Cmd_t, InterfaceData, 12);
QX_SIZE(Qx_Interface_UpdateAllInterfaces_Cmd_t, 12 + sizeof(void *));
