"""Module init of _qx_api_common: constants in install order, the shared type
table across modules and load orders."""
import json
import os
import subprocess
import sys

import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402

# (prefix, count) of the constant families in install order.
FAMILIES = [
    ("QX_COMMON__FBP__DATA_TYPE__", 13),
    ("QX_COMMON__TRANSCEIVER_TYPE__", 34),
    (("QX_COMMON__EA__", "QX_COMMON_EA__"), 49),
    ("QX_COMMON__XCP__", 67),
    ("QX_COMMON__FBP__FB__GET_LAST_ERROR__BUFFER_SIZE", 1),
]

TRANSCEIVER_VALUES = [
    0x000, 0x100, 0x101, 0x102, 0x103, 0x104, 0x105, 0x106, 0x107, 0x108, 0x109, 0x10A, 0x10B, 0x10C, 0x10D,
    0x200, 0x201, 0x202, 0x203, 0x300, 0x301, 0x400, 0x401, 0x402, 0x500, 0x501, 0x502, 0x510, 0x511,
    0x600, 0x601, 0x602, 0x603, 0x604,
]


def installed_constants(module):
    """The module's integer constants in the order the init stored them."""
    return [(k, v) for k, v in vars(module).items() if k.startswith(("QX_", "MAX_")) and type(v) is int]


def test_constants_are_installed_family_by_family():
    names = [k for k, _ in installed_constants(c)]
    assert len(names) == 164
    start = 0
    for prefix, count in FAMILIES:
        block = names[start:start + count]
        assert all(n.startswith(prefix) for n in block), (prefix, block)
        start += count
    assert names[-1] == "QX_COMMON__FBP__FB__GET_LAST_ERROR__BUFFER_SIZE"


def test_fbp_data_types_and_transceiver_types_in_value_order():
    values = [v for _, v in installed_constants(c)]
    assert values[:13] == list(range(13))
    assert values[13:47] == TRANSCEIVER_VALUES


@pytest.mark.parametrize("name, value", [
    ("QX_COMMON__FBP__DATA_TYPE__UNKNOWN", 12),
    ("QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q222x", 1540),
    ("QX_COMMON__TRANSCEIVER_TYPE__ADIO_DIGITAL_OUT__5V", 0x510),
    ("QX_COMMON__TRANSCEIVER_TYPE__ADIO_DIGITAL_OUT__HIGH_VOLTAGE", 0x511),
    ("QX_COMMON__TRANSCEIVER_TYPE__FLEXRAY__TJA1081BTS", 0x402),
    ("QX_COMMON_EA__TRIGGER__SOFTWARE_OUT__WRITE__MODE__SET", 0),
    ("QX_COMMON_EA__TRIGGER__SOFTWARE_OUT__WRITE__MODE__TOGGLE", 2),
    ("QX_COMMON__EA__COMPARE_BUFFER_SIZE", 512),
    ("QX_COMMON__XCP__PROPERTY_ID__DTO_RX_FIFO_DEPTH", 0),
    ("QX_COMMON__XCP__CHECKSUM_TYPE__USER_DEFINED", 255),
    ("QX_COMMON__XCP__INIT__FLEXRAY__PDU_BUFFER_SIZE", 250),
    ("QX_COMMON__XCP__READ_CTO_RX_FIFO__FRAME__MAX_LENGTH", 256),
    ("QX_COMMON__XCP__DAQ__SIGNAL__DATA_TYPE__FLOAT32", 6),
    ("QX_COMMON__XCP__CMD__PROGRAM_CLEAR__MODE__FUNCTIONAL", 1),
    ("QX_COMMON__FBP__FB__GET_LAST_ERROR__BUFFER_SIZE", 4096),
])
def test_constant_values(name, value):
    assert getattr(c, name) == value


@pytest.mark.parametrize("name", [
    "QX_COMMON__TRANSCEIVER_TYPE__ETHERNET__AETH_88Q222X",
    "QX_COMMON__EA__TRIGGER__SOFTWARE_OUT__WRITE__MODE__SET",
])
def test_no_other_spelling_exists(name):
    assert not hasattr(c, name)


# Run in a fresh interpreter: imports the modules in the given order and
# reports what the shared type table made of them.
_PROBE = r"""
import json, sys
sys.path.insert(0, sys.argv[1])
order = sys.argv[2].split(",")
capsules = []
for name in order:
    __import__(name)
    capsules.append(id(sys.modules["swig_runtime_data4"].type_pointer_capsule))
import _qx_api as q, _qx_api_common as c
count = q.new_int_p()
q.int_p_assign(count, 1)
adapter = q.new_Qx_Ethernet_AdapterInfo_t()
c.Qx_Common_Ethernet_GetNetworkAdapterInfo(count, adapter)
ip = q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(adapter)
print(json.dumps({
    "capsules": len(set(capsules)),
    "adapter": q.Qx_IpAddress_t_All_get(ip),
    "count": q.int_p_value(count),
    "constants": [[k, v] for k, v in vars(c).items() if k.startswith("QX_") and type(v) is int],
}))
"""


def probe(order):
    out = subprocess.run([sys.executable, "-c", _PROBE, os.path.dirname(c.__file__), ",".join(order)],
                         check=True, capture_output=True, text=True).stdout
    # the first line: leak warnings of unregistered types may follow at exit
    return json.loads(out.splitlines()[0])


def test_load_order_does_not_matter():
    results = [probe(order) for order in (["_qx_api_common"], ["_qx_api", "_qx_api_common"],
                                          ["_qx_api_common", "_qx_api"])]
    for result in results:
        # one capsule heads the ring, whoever came first
        assert result["capsules"] == 1
        # the adapter record made by _qx_api was accepted and filled: 192.168.1.10
        assert result["adapter"] == 0x0A01A8C0
        assert result["count"] == 2
    assert results[0]["constants"] == results[1]["constants"] == results[2]["constants"]
    assert [k for k, _ in results[0]["constants"]] == [k for k, _ in installed_constants(c)]


def test_event_handle_objects_do_not_cross_modules(qxt):
    can = qxtest.module("_qx_api_can")
    port = c.Qx_Common_OpenInterface("CAN1")
    # _qx_api_common's handle is a size_t cell: the CAN module refuses it
    with pytest.raises(TypeError) as info:
        can.Qx_Can_Monitor_BufferMode_EnableEvent(port, qxt.qxt_event_handle_cell(1))
    assert str(info.value) == ("in method 'Qx_Can_Monitor_BufferMode_EnableEvent', argument 2 of type "
                               "'Qx_Common_EventHandle_t const *const'")
    # and the CAN module's own spelling is refused by _qx_api_common
    with pytest.raises(TypeError) as info:
        c.Qx_Common_Events_WaitForSingleEvent(port, qxt.qxt_can_event_handle_cell(1), 0)
    assert str(info.value) == ("in method 'Qx_Common_Events_WaitForSingleEvent', argument 2 of type "
                               "'Qx_Common_EventHandle_t const *const'")


def test_signal_records_are_taken_by_the_can_module(sim, qxt):
    can = qxtest.module("_qx_api_can")
    signal = qxtest.new_record(c, "Qx_Common_Signal_t")
    c.Qx_Common_Signal_t_Size_set(signal, 8)
    c.Qx_Common_Signal_t_ByteOrder_set(signal, 1)
    c.Qx_Common_Signal_t_Offset_set(signal, qxt.qxt_u16_array([0x0102]))
    sim.fail("Qx_Can_CyclicMsgs_Parity_Define", 1, b"scripted")
    with pytest.raises(Exception, match="^scripted$"):
        can.Qx_Can_CyclicMsgs_Parity_Define(c.Qx_Common_OpenInterface("CAN1"), 0x123, 0, signal, qxtest.new_record(can, "Qx_Can_Data_t"))
    assert sim.last("Qx_Can_CyclicMsgs_Parity_Define").arg(4).bytes == bytes([8, 1, 2, 1])
