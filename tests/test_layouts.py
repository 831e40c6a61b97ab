"""The tests' record packer (tests/layouts.py): what it makes of the layout
tables, since every record the tests compare passes through it."""
import struct

import pytest

import layouts
from layouts import pack, unpack

MSG_ITEM = "Qx_Can_TxFifo_MsgItem_t"


def test_fields_not_given_are_zero_and_short_arrays_zero_filled():
    data = pack(MSG_ITEM, Id=0x100, Dlc=8, Data=[1, 2, 3])
    assert data == bytes.fromhex("00010000" "08000000" "0102030000000000")
    assert unpack(MSG_ITEM, data) == dict(Id=0x100, Dlc=8, reserved1=0, reserved2=0, reserved3=0,
                                          Data=[1, 2, 3, 0, 0, 0, 0, 0])


@pytest.mark.parametrize("name, dotted, nested", [
    # A record declared in place, two levels down, inside a union.
    ("Qx_InterfaceInfo_t", {"Parameters.u.UsbOverEthernet.PortNumber": 0x1234},
     dict(Parameters={"u": {"UsbOverEthernet": {"PortNumber": 0x1234}}})),
    # Through a member that is a record of its own (of another library's table).
    ("Qx_Can_CyclicMsgs_Ramp_SyncRamp_t", {"Signal.Offset": 0x0102, "Signal.ByteOrder": 1},
     dict(Signal={"Offset": 0x0102, "ByteOrder": 1})),
    ("Qx_Ethernet_AdapterInfo_t", {"Mask.Byte.B2": 0xAA}, dict(Mask={"Byte": {"B2": 0xAA}})),
])
def test_dotted_names_and_nested_dicts_fill_the_same_bytes(name, dotted, nested):
    data = pack(name, dotted)
    assert data == pack(name, **nested)
    assert data != bytes(layouts.size(name))


def test_nested_values_land_at_the_member_offset():
    # The mask is the second address of the adapter record: byte 4 + 1.
    assert pack("Qx_Ethernet_AdapterInfo_t", {"Mask.Byte.B2": 0xAA}) == bytes(5) + b"\xaa" + bytes(2)
    assert pack("Qx_InterfaceInfo_t", {"Parameters.u.UsbOverEthernet.IpAddress": 0xC0A80164},
                Type=4)[:20] == struct.pack("<I12xI", 4, 0xC0A80164)


def test_union_arms_share_their_bytes():
    data = pack("Qx_Data_t", U32=[0x04030201, 0x08070605])
    assert unpack("Qx_Data_t", data) == dict(U8=list(range(1, 9)), U16=[0x0201, 0x0403, 0x0605, 0x0807],
                                             U32=[0x04030201, 0x08070605], U64=0x0807060504030201)
    # Decoding every arm and packing them all again gives the same bytes.
    assert pack("Qx_Data_t", **unpack("Qx_Data_t", data)) == data


def test_array_of_records_takes_a_list_of_dicts_at_the_element_stride():
    name = "Qx_Common_GetTransceiverInfo_Rsp_t"
    data = pack(name, TransceiverInfos=[{}, {"TransceiverType": 7}, {"HardwarePosition": 9}])
    stride = layouts.size(name, "TransceiverInfos") // 256
    first_type = layouts.offset(name, "TransceiverInfos.TransceiverType")
    assert data[first_type + stride] == 7
    assert unpack(name, data)["TransceiverInfos"][2]["HardwarePosition"] == 9


def test_fill_reaches_only_bytes_no_field_holds():
    # 1287 + 255 bytes of fields, then two bytes of padding to the 4-byte alignment.
    name = "Qx_Common_EA_InitEvent_SubCmd_FlexRay_Pdu_RxInd_t"
    data = pack(name, fill=0xEE, NumberOfPduIds=3)
    assert len(data) == 1544
    assert data[-2:] == b"\xee\xee" and data[:-2] == pack(name, NumberOfPduIds=3)[:-2]


def test_pointer_members_take_the_host_pointer_size():
    name = "Qx_Interface_UpdateAllInterfaces_Cmd_t"
    pointer = struct.calcsize("P")
    assert layouts.size(name) == 12 + pointer
    assert pack(name, InterfaceData=2**(8 * pointer) - 1)[12:] == b"\xff" * pointer


@pytest.mark.parametrize("call, exception, text", [
    (lambda: pack(MSG_ITEM, Idd=1), KeyError, "has no field Idd"),
    (lambda: pack(MSG_ITEM, {"Data.x": 1}), KeyError, "has no field Data.x"),
    (lambda: pack("Qx_Nothing_t"), KeyError, "no record Qx_Nothing_t"),
    (lambda: pack(MSG_ITEM, Data=[0] * 9), ValueError, "holds 8 elements, not 9"),
    (lambda: pack(MSG_ITEM, Dlc=256), struct.error, ""),
    (lambda: pack("Qx_Ethernet_AdapterInfo_t", Mask=b"\x01"), ValueError, "is 4 bytes, not 1"),
    (lambda: unpack(MSG_ITEM, bytes(17)), ValueError, "is 16 bytes, not 17"),
])
def test_refuses_what_the_layout_does_not_hold(call, exception, text):
    with pytest.raises(exception) as raised:
        call()
    assert text in str(raised.value)
