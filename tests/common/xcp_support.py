"""Helpers of the XCP tests: records filled through the module's setters and
an XCP master set up (and connected) on the simulated slave."""
import qxtest

c = qxtest.module("_qx_api_common")

# Identifiers the CAN set-up of the tests uses.
CAN_ID_MASTER, CAN_ID_SLAVE = 0x7F0, 0x7F1
# Where the simulated slave's memory lies, and how much of it there is.
MEMORY_BASE, MEMORY_SIZE = 0x00010000, 0x1000


def record(name, **fields):
    """A new record Qx_Common_Xcp_<name> with the given fields set."""
    return qxtest.new_record(c, "Qx_Common_Xcp_" + name, **fields)


def u16(qxt, value):
    """A u16_t pointer object holding `value`."""
    return qxt.qxt_u16_array([value])


def u16_value(qxt, obj):
    """The value of a u16_t pointer object; a getter's copy frees itself."""
    return qxt.qxt_read_u16(obj, 1)[0]


def set_up_can(port, instance=0):
    """Sets XCP instance `instance` of the port up on CAN."""
    c.Qx_Common_Xcp_Init_Can(port, instance, record("Init_Can_Cmd_t", CanIdMaster=CAN_ID_MASTER,
                                                     CanIdSlave=CAN_ID_SLAVE, TxTimeout=50))


def connect(port, instance=0):
    """Sets the instance up on CAN and connects it; returns the CONNECT response."""
    set_up_can(port, instance)
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t")
    c.Qx_Common_Xcp_Cmd_Connect(port, instance, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"), rsp)
    return rsp
