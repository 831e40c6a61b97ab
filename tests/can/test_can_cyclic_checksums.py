"""Parity bits, checksums and properties of cyclic messages, through the
simulated CAN library."""
import pytest

import qxtest
can = qxtest.module("_qx_api_can")
common = qxtest.module("_qx_api_common")

import _qx_api as base  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

ID = 0x321
CRC = "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t"
CUSTOM = "Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t"
ADD = "Qx_Can_CyclicMsgs_Checksum_Define_AddBytes_Parameters_t"
SIGNAL = dict(Size=4, ByteOrder=1, Offset=60)
SIGNAL_BYTES = pack("Qx_Common_Signal_t", **SIGNAL)




@pytest.fixture
def port(port):
    """The shared CAN port, with the cyclic message the tests use."""
    can.Qx_Can_CyclicMsgs_DefineMsg(port, ID, 100, 0, 1, 0, [0] * 8, 8)
    return port


@pytest.fixture
def signal(make_signal):
    return make_signal(SIGNAL["Size"], SIGNAL["ByteOrder"], SIGNAL["Offset"])


@pytest.fixture
def data():
    made = qxtest.new_record(can, "Qx_Can_Data_t")
    can.Qx_Can_Data_t_U8_set(made, list(range(64)))
    return made


def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


# ---- parity -----------------------------------------------------------------------

def test_parity_passes_signal_and_data_by_value(sim, port, signal, data):
    can.Qx_Can_CyclicMsgs_Parity_Define(port, ID, 0x101, signal, data)
    call = sim.last("Qx_Can_CyclicMsgs_Parity_Define")
    assert [call.arg(n).value for n in (1, 2, 3)] == [port, ID, 1]
    assert (call.arg(4).kind, call.arg(4).bytes) == ("r", SIGNAL_BYTES)
    assert (call.arg(5).kind, call.arg(5).bytes) == ("r", bytes(range(64)))
    can.Qx_Can_CyclicMsgs_Parity_Delete(port, ID, signal)
    assert sim.last("Qx_Can_CyclicMsgs_Parity_Delete").arg(3).bytes == SIGNAL_BYTES
    with raises(Exception, "Qx_Can_CyclicMsgs_Parity_Delete: no parity defined on the signal at offset 60 (4 bits) "
                           "of cyclic message 0x321"):
        can.Qx_Can_CyclicMsgs_Parity_Delete(port, ID, signal)


@pytest.mark.parametrize("args, cls, message", [
    (("signal", None), ValueError,
     "invalid null reference in method 'Qx_Can_CyclicMsgs_Parity_Define', argument 5 of type 'Qx_Can_Data_t const'"),
    ((None, "data"), ValueError,
     "invalid null reference in method 'Qx_Can_CyclicMsgs_Parity_Define', argument 4 of type "
     "'Qx_Common_Signal_t const'"),
    (("data", "data"), TypeError,
     "in method 'Qx_Can_CyclicMsgs_Parity_Define', argument 4 of type 'Qx_Common_Signal_t const'"),
    (("signal", "signal"), TypeError,
     "in method 'Qx_Can_CyclicMsgs_Parity_Define', argument 5 of type 'Qx_Can_Data_t const'"),
])
def test_parity_refuses_missing_or_wrong_records(sim, port, signal, data, args, cls, message):
    objects = {"signal": signal, "data": data, None: None}
    with raises(cls, message):
        can.Qx_Can_CyclicMsgs_Parity_Define(port, ID, 0, *(objects[a] for a in args))
    assert sim.calls("Qx_Can_CyclicMsgs_Parity_Define") == 0


# ---- checksums ----------------------------------------------------------------------

def test_checksum_define_takes_the_mode_first_and_the_data_by_address(sim, port, signal, data):
    can.Qx_Can_CyclicMsgs_Checksum_Define(port, 0x107, ID, signal, data)
    call = sim.last("Qx_Can_CyclicMsgs_Checksum_Define")
    assert [call.arg(n).value for n in (2, 3, 5)] == [7, ID, int(data)]
    assert call.arg(4).bytes == SIGNAL_BYTES and call.arg(5).bytes == bytes(range(64))
    can.Qx_Can_CyclicMsgs_Checksum_Define(port, 1, ID, signal, None)
    assert sim.last("Qx_Can_CyclicMsgs_Checksum_Define").arg(5).is_null
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_Checksum_Define', argument 2 of type "
                           "'Qx_Can_CyclicMsgs_Checksum_Mode_t'"):
        can.Qx_Can_CyclicMsgs_Checksum_Define(port, None, ID, signal, data)


def test_xor_checksum_passes_its_user_bytes(sim, port, signal, data, qxt):
    user_bytes = qxt.qxt_u8_array([0xA5, 0x5A, 0xFF])
    can.Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes(port, ID, signal, data, 3, user_bytes)
    call = sim.last("Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes")
    assert [call.arg(n).value for n in (2, 4, 5, 6)] == [ID, int(data), 3, int(user_bytes)]
    assert call.arg(6).bytes == bytes([0xA5, 0x5A, 0xFF])
    with raises(Exception, "Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes: no user bytes given"):
        can.Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes(port, ID, signal, data, 1, None)
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes', argument 6 of type "
                           "'u8_t const *const'"):
        can.Qx_Can_CyclicMsgs_Checksum_Define_XorWithUserBytes(port, ID, signal, data, 1, [1])


def test_general_crc_record_carries_the_user_byte_pointers(sim, port, signal, data, qxt):
    before, after = qxt.qxt_u8_array([1, 2]), qxt.qxt_u8_array([3])
    params = record(CRC, Order=1, NumberOfUserBytesBefore=2, NumberOfUserBytesAfter=1, reserved=0x1FF,
                    Polynomial=0x04C11DB7, InitialValue=0xFFFFFFFF, FinalXorValue=0x80000000,
                    UserBytesBefore=before, UserBytesAfter=after)
    can.Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes(port, ID, signal, data, params)
    sent = sim.last("Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes").arg(5).bytes
    assert sent == pack(CRC, Order=1, NumberOfUserBytesBefore=2, NumberOfUserBytesAfter=1, reserved=0xFF,
                        Polynomial=0x04C11DB7, InitialValue=0xFFFFFFFF, FinalXorValue=0x80000000,
                        UserBytesBefore=int(before), UserBytesAfter=int(after))
    stored = can.Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t_UserBytesBefore_get(params)
    assert int(stored) == int(before) and not stored.own()
    assert qxt.qxt_read_u8(stored, 2) == [1, 2]


def test_custom12_record_carries_the_index_signal_by_value(sim, port, signal, data, qxt):
    array = qxt.qxt_u8_array([9] * 12)
    params = record(CUSTOM, Order=2, DataArray_Size=12, reserved1=1, reserved2=2, Polynomial=0x1D,
                    InitialValue=0xFF, FinalXorValue=0xFF, DataArray_IndexSignal=signal, DataArray=array)
    common.Qx_Common_Signal_t_Size_set(signal, 99)
    can.Qx_Can_CyclicMsgs_Checksum_Define_Custom12(port, ID, signal, data, params)
    sent = sim.last("Qx_Can_CyclicMsgs_Checksum_Define_Custom12").arg(5).bytes
    assert sent == pack(CUSTOM, Order=2, DataArray_Size=12, reserved1=1, reserved2=2, Polynomial=0x1D,
                        InitialValue=0xFF, FinalXorValue=0xFF, DataArray_IndexSignal=SIGNAL, DataArray=int(array))


def test_add_bytes_record_layout(sim, port, signal, data):
    params = record(ADD, InputSignal=signal, InitialValue=0x10, FinalXorValue=0x20, InputSignalShiftLeft=3,
                    reserved=0x104)
    can.Qx_Can_CyclicMsgs_Checksum_Define_AddBytes(port, ID, signal, data, params)
    sent = sim.last("Qx_Can_CyclicMsgs_Checksum_Define_AddBytes").arg(5).bytes
    assert sent == pack(ADD, InputSignal=SIGNAL, InitialValue=0x10, FinalXorValue=0x20, InputSignalShiftLeft=3,
                        reserved=4)
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_Checksum_Define_AddBytes', argument 5 of type "
                           f"'{ADD} const *const'"):
        can.Qx_Can_CyclicMsgs_Checksum_Define_AddBytes(port, ID, signal, data,
                                                       qxtest.new_record(can, "Qx_Can_CyclicMsgs_Ramp_SyncRamp_t"))


@pytest.mark.parametrize("function", [
    "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes",
    "Qx_Can_CyclicMsgs_Checksum_Define_Custom12",
    "Qx_Can_CyclicMsgs_Checksum_Define_AddBytes",
])
def test_checksum_parameters_none_reaches_the_library(sim, port, signal, data, function):
    with raises(Exception, f"{function}: no parameters given"):
        getattr(can, function)(port, ID, signal, data, None)
    assert sim.last(function).arg(5).is_null


def test_checksums_are_defined_per_signal_and_deleted(sim, port, signal, data, qxt):
    can.Qx_Can_CyclicMsgs_Checksum_Define_AddBytes(port, ID, signal, None, qxtest.new_record(can, ADD))
    can.Qx_Can_CyclicMsgs_Checksum_Delete(port, ID, signal)
    assert sim.last("Qx_Can_CyclicMsgs_Checksum_Delete").arg(3).bytes == SIGNAL_BYTES
    with raises(Exception, "Qx_Can_CyclicMsgs_Checksum_Delete: no checksum defined on the signal at offset 60 (4 bits) "
                           "of cyclic message 0x321"):
        can.Qx_Can_CyclicMsgs_Checksum_Delete(port, ID, signal)
    with raises(Exception, f"Qx_Can_CyclicMsgs_Checksum_Define: no cyclic message 0x322 defined on port 0x{port:08X}"):
        can.Qx_Can_CyclicMsgs_Checksum_Define(port, 0, ID + 1, signal, data)


@pytest.mark.parametrize("name, member", [(CUSTOM, "DataArray_IndexSignal"), (ADD, "InputSignal")])
def test_signal_members_are_owned_copies(name, member, signal):
    obj = qxtest.new_record(can, name)
    getattr(can, f"{name}_{member}_set")(obj, signal)
    copy = qxtest.owned(getattr(can, f"{name}_{member}_get")(obj))
    assert copy.own() and int(copy) != int(signal)
    common.Qx_Common_Signal_t_Size_set(copy, 1)
    assert common.Qx_Common_Signal_t_Size_get(qxtest.owned(getattr(can, f"{name}_{member}_get")(obj))) == 4
    with raises(ValueError, f"invalid null reference in method '{name}_{member}_set', argument 2 of type "
                            "'Qx_Common_Signal_t'"):
        getattr(can, f"{name}_{member}_set")(obj, None)


def test_pointer_members_refuse_other_pointer_types():
    with raises(TypeError, f"in method '{CRC}_UserBytesBefore_set', argument 2 of type 'u8_t *'"):
        getattr(can, CRC + "_UserBytesBefore_set")(qxtest.new_record(can, CRC), qxtest.new_record(base, "int_p"))
    params = qxtest.new_record(can, "Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t")
    assert can.Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t_DataArray_get(params) is None


# ---- properties ---------------------------------------------------------------------

def test_properties_are_set_and_read_per_message(sim, port):
    brs = can.QX_CAN__CYCLIC_MSGS__PROPERTY_ID__MSG_FLAG__BRS
    command = record("Qx_Can_CyclicMsgs_Property_SetById_Cmd_t", CanId=ID, PropertyId=brs, reserved1=1,
                     reserved2=2, PropertyValue=0xFFFFFFFF)
    can.Qx_Can_CyclicMsgs_Property_SetById(port, command)
    assert sim.last("Qx_Can_CyclicMsgs_Property_SetById").arg(2).bytes == pack(
        "Qx_Can_CyclicMsgs_Property_SetById_Cmd_t", CanId=ID, PropertyId=0, reserved1=1, reserved2=2,
        PropertyValue=0xFFFFFFFF)
    query = record("Qx_Can_CyclicMsgs_Property_GetById_Cmd_t", CanId=ID, PropertyId=0)
    first, second = qxtest.owned([can.Qx_Can_CyclicMsgs_Property_GetById(port, query) for _ in range(2)])
    assert sim.last("Qx_Can_CyclicMsgs_Property_GetById").arg(2).bytes == pack(
        "Qx_Can_CyclicMsgs_Property_GetById_Cmd_t", CanId=ID, PropertyId=0)
    assert first.own() and int(first) != int(second)
    can.Qx_Can_CyclicMsgs_Property_GetById_Rsp_t_PropertyValue_set(second, 5)
    assert can.Qx_Can_CyclicMsgs_Property_GetById_Rsp_t_PropertyValue_get(first) == 0xFFFFFFFF
    assert can.Qx_Can_CyclicMsgs_Property_GetById_Rsp_t_CanId_get(first) == ID


@pytest.mark.parametrize("can_id, property_id, text", [
    (ID + 1, 0, "Qx_Can_CyclicMsgs_Property_GetById: no cyclic message 0x322 defined on port 0x{port:08X}"),
    (ID, 2, "Qx_Can_CyclicMsgs_Property_GetById: unknown cyclic message property 2"),
])
def test_property_queries_the_library_refuses(port, can_id, property_id, text):
    query = record("Qx_Can_CyclicMsgs_Property_GetById_Cmd_t", CanId=can_id, PropertyId=property_id)
    with raises(Exception, text.format(port=port)):
        can.Qx_Can_CyclicMsgs_Property_GetById(port, query)


def test_property_query_failure_returns_no_record(sim, port):
    sim.fail("Qx_Can_CyclicMsgs_Property_GetById", 2, b"no such property")
    with raises(Exception, "no such property"):
        can.Qx_Can_CyclicMsgs_Property_GetById(port, None)
    assert sim.last("Qx_Can_CyclicMsgs_Property_GetById").arg(2).is_null
    with raises(TypeError, "in method 'Qx_Can_CyclicMsgs_Property_GetById', argument 2 of type "
                           "'Qx_Can_CyclicMsgs_Property_GetById_Cmd_t const *const'"):
        can.Qx_Can_CyclicMsgs_Property_GetById(port, qxtest.new_record(can, "Qx_Can_CyclicMsgs_Property_SetById_Cmd_t"))
