"""The simulated device as the base tests see it, and small helpers."""
import struct


import _qx_api as q
import qxtest
from qxtest import raises_exactly  # noqa: F401  (re-exported for the base tests)

# The simulated device: (configured name, interface type, controller, interface number).
INTERFACES = [
    ("CAN1", q.QX_INTERFACE_TYPE__CAN, 0, 0),
    ("CAN2", q.QX_INTERFACE_TYPE__CAN, 0, 1),
    ("LIN1", q.QX_INTERFACE_TYPE__LIN, 1, 0),
    ("TROVIX1", q.QX_INTERFACE_TYPE__TROVIX, 2, 0),
    ("COMMON1", q.QX_INTERFACE_TYPE__COMMON, 3, 0),
]

DEVICE_SERIAL = 204711
ERROR_INVALID_HANDLE = 0x00010001
ERROR_NOT_FOUND = 0x00010002
ERROR_LOCKED = 0x00010004


def selector(type_, controller, number):
    """A Qx_InterfaceInfo_t naming one interface."""
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    q.Qx_InterfaceInfo_t_Type_set(info, type_)
    params = q.Qx_InterfaceInfo_t_Parameters_get(info)
    q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(params, controller)
    q.Qx_InterfaceInfo_t_Parameters_InterfaceNumber_set(params, number)
    return info


def open_port(name="CAN1"):
    _, type_, controller, number = next(i for i in INTERFACES if i[0] == name)
    return q.Qx_OpenInterface(selector(type_, controller, number))


def u32(value):
    return struct.pack("<I", value)


def cell(arg):
    """The u32_t a journaled pointer argument pointed to at call time."""
    return struct.unpack("<I", arg.bytes)[0]


