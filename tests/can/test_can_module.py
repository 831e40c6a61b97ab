"""Module _qx_api_can: its init, method table head, constants and shared types."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import _qx_api as base  # noqa: E402

# Constant families in install order: (prefix, names after the prefix in value order).
FAMILIES = [
    ("QX_CAN__FD_MODE__", ["NO_FD", "FD", "TX_FD", "TX_FD_BRS", "TX_NO_FD", "UNKNOWN"]),
    ("QX_CAN__TX_BRS__GLOBAL__", ["NONE", "ALL", "SPECIFIC", "UNKNOWN"]),
    ("QX_CAN__TX_BRS__INIT_VALUE__", ["DISABLED", "ENABLED", "UNKNOWN"]),
    ("QX_CAN__TX_ESI__GLOBAL__", ["DEPENDS_ON_ERROR_PASSIVE_FLAG", "IS_SET",
                                  "DEPENDS_ON_ERROR_PASSIVE_FLAG_AND_ESI_BIT", "UNKNOWN"]),
    ("QX_CAN__TX_ESI__INIT_VALUE__", ["ERROR_ACTIVE", "ERROR_PASSIVE", "UNKNOWN"]),
    ("QX_CAN__FD_FRAME_FORMAT_SPEC__", ["ISO11898_1", "BOSCH_CAN_FD_SPEC_1_0", "UNKNOWN"]),
    ("QX_CAN__CYCLIC_MSGS__PROPERTY_ID__", ["MSG_FLAG__BRS", "MSG_FLAG__ESI", "UNKNOWN"]),
    ("QX_CAN__TRANSCEIVER_MODE__", ["NORMAL", "SLEEP", "WAKE_UP", "HIGH_SPEED", "SINGLE_WIRE_ON_CAN_HIGH",
                                    "SINGLE_WIRE_ON_CAN_LOW"]),
    ("QX_CAN__EVENT_TYPE__", ["TRANSMITTED_MESSAGE", "RECEIVED_MESSAGE", "ERROR_FRAME", "NM_SLEEP_ACKNOWLEDGE",
                              "RECEIVED_MESSAGES", "UNKNOWN"]),
    ("QX_CAN__ACTION_TYPE__", ["SEND_MESSAGE", "START_PREPARED_MESSAGES", "UNKNOWN"]),
    ("QX_CAN__NODE__PROPERTY_ID__", [
        "BAUD_RATE", "BUS_IDLE_TIME__MS", "TRANSCEIVER_INPUT__EN", "TRANSCEIVER_INPUT__STB_N",
        "TRANSCEIVER_INPUT__WAKE_N", "TRANSCEIVER_OUTPUT__ERR_N", "TRANSCEIVER_OUTPUT__INH",
        "DISABLE_SOFTWARE_TX_PATH", "DISABLE_NO_ACK_PAUSES", "DISABLE_BUS_OFF_WAITING", "ENABLE_BUS_TERMINATION",
        "ENABLE_INTERNAL_VBAT", "ENABLE_TRANSCEIVER_WAKE_UP_AFTER_BUS_OFF", "BUS_OFF_COUNTER", "FD_MODE",
        "FD__TX_BRS__GLOBAL", "FD__TX_BRS__INIT_VALUE", "FD__TX_ESI__GLOBAL", "FD__TX_ESI__INIT_VALUE",
        "FD__NON_ISO", "FD__SUPPORTED", "BAUD_RATE_FD", "BIT_TIMING__TSEG1__MIN", "BIT_TIMING__TSEG1__MAX",
        "BIT_TIMING__TSEG2__MIN", "BIT_TIMING__TSEG2__MAX", "BIT_TIMING__SJW__MIN", "BIT_TIMING__SJW__MAX",
        "TRANSCEIVER_MODE", "BUS_ACTIVITY__THRESHOLD_IN_US", "BUS_ACTIVITY__STATE", "UNKNOWN"]),
    ("QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__", ["NORMAL", "EXTENDED", "MIXED", "UNKNOWN_LAST"]),
    ("QX_CAN__UART_GATEWAY__UART_INSTANCE_TYPE__", ["LVDS_CONTROL_CHANNEL", "UNKNOWN"]),
    ("QX_CAN__UART_GATEWAY__UART_PARITY__", ["NONE", "EVEN", "ODD", "UNKNOWN"]),
    ("QX_CAN__TX_TRACE__PROPERTY_ID__", ["REPETITIONS__NUMBER", "REPETITIONS__COUNTER", "UNKNOWN"]),
]
EXPECTED = [(prefix + name, value) for prefix, names in FAMILIES for value, name in enumerate(names)]


def test_all_86_constants_are_installed_as_ints_in_install_order():
    installed = [(name, value) for name, value in vars(can).items() if name.startswith("QX_")]
    assert len(EXPECTED) == 86
    assert installed == EXPECTED
    assert all(type(value) is int for _, value in installed)


@pytest.mark.parametrize("name, value", [
    ("QX_CAN__FD_FRAME_FORMAT_SPEC__BOSCH_CAN_FD_SPEC_1_0", 1),
    ("QX_CAN__NODE__PROPERTY_ID__UNKNOWN", 31),
    ("QX_CAN__FD_MODE__FD", 1),
    ("QX_CAN__TX_BRS__GLOBAL__ALL", 1),
    ("QX_CAN__TRANSCEIVER_MODE__SINGLE_WIRE_ON_CAN_LOW", 5),
    ("QX_CAN__TX_TRACE__PROPERTY_ID__UNKNOWN", 2),
])
def test_named_constant_values(name, value):
    assert getattr(can, name) == value


def test_method_table_starts_with_the_runtime_entry_then_trialprint():
    functions = [name for name, obj in vars(can).items() if callable(obj)]
    assert functions[:3] == ["SWIG_PyInstanceMethod_New", "trialprint", "Qx_Can_Data_t_U8_set"]
    # a record's accessors come first, then its constructor, destructor and registration entries
    start = functions.index("Qx_Can_TxFifo_MsgItem_t_Id_set")
    assert functions[start:start + 16][-4:] == ["new_Qx_Can_TxFifo_MsgItem_t", "delete_Qx_Can_TxFifo_MsgItem_t",
                                                 "Qx_Can_TxFifo_MsgItem_t_swigregister",
                                                 "Qx_Can_TxFifo_MsgItem_t_swiginit"]



def test_the_module_shares_the_type_table_of_the_base_module(sim, port):
    import swig_runtime_data4
    assert hasattr(swig_runtime_data4, "type_pointer_capsule")
    # an int_p of _qx_api is accepted for a u32_t flag pointer of this module and receives the native value
    flags = qxtest.new_record(base, "int_p")
    can.Qx_Can_Monitor_BufferMode_Start(port, 0, 16)
    sim.output("Qx_Can_Monitor_BufferMode_GetItems_Large", 2, struct.pack("<I", 0x80000001))
    assert can.Qx_Can_Monitor_BufferMode_GetItems_Large(port, flags, 0) == []
    assert sim.last("Qx_Can_Monitor_BufferMode_GetItems_Large").arg(2).value == int(flags)
    assert base.int_p_value(flags) == 0x80000001
    base.delete_int_p(flags)
