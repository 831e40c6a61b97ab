"""The update command record and Qx_Interface_UpdateAllInterfaces."""
import pytest

import _qx_api as q
import qxtest
from base_device import DEVICE_SERIAL, raises_exactly
from layouts import pack

C = "Qx_Interface_UpdateAllInterfaces_Cmd_t_"
INT_FIELDS = ["Flags", "reserved1", "reserved2", "reserved3", "reserved4", "NumberOfInterfaces"]


def get(record, name):
    return getattr(q, C + name + "_get")(record)


def put(record, name, value):
    return getattr(q, C + name + "_set")(record, value)


def test_new_command_is_zeroed():
    command = qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t")
    assert [get(command, f) for f in INT_FIELDS] == [0] * 6
    assert get(command, "InterfaceData") is None


def test_interface_data_member_takes_ownership():
    command = qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t")
    record = qxtest.owned(q.Qx_Interface_GetInterfaceList_Usb(2))[1]
    assert record.own()
    put(command, "InterfaceData", record)
    assert not record.own()
    q.delete_Qx_InterfaceData_t(record)  # owns nothing any more: frees nothing
    view = get(command, "InterfaceData")
    assert int(view) == int(record) and not view.own()
    assert [q.Qx_InterfaceData_t_InterfaceNumber_get(view), q.Qx_InterfaceData_t_Serial_get(view)] == [1, DEVICE_SERIAL]
    put(command, "InterfaceData", None)
    assert get(command, "InterfaceData") is None


def test_interface_data_member_keeps_ownership_when_nothing_is_stored():
    record = qxtest.new_record(q, "Qx_InterfaceData_t")
    put(None, "InterfaceData", record)
    assert record.own()


def test_interface_data_member_refuses_other_types():
    command = qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t")
    wrong = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    with raises_exactly(TypeError, f"in method '{C}InterfaceData_set', argument 2 of type 'Qx_InterfaceData_t *'"):
        put(command, "InterfaceData", wrong)
    assert wrong.own() and get(command, "InterfaceData") is None


def test_update_hands_text_and_command_to_the_library(sim):
    command = qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t")
    record = q.Qx_Interface_GetInterfaceList(0, 1)[0]
    put(command, "Flags", 0x80000001)
    put(command, "NumberOfInterfaces", 1)
    put(command, "InterfaceData", record)
    assert q.Qx_Interface_UpdateAllInterfaces("firmware/\u00e9.pkg", command) is None
    call = sim.last("Qx_Interface_UpdateAllInterfaces")
    assert call.arg(1).text == "firmware/\u00e9.pkg".encode()
    assert call.arg(2).value == int(command)
    assert call.arg(2).bytes == pack("Qx_Interface_UpdateAllInterfaces_Cmd_t", Flags=0x80000001,
                                     NumberOfInterfaces=1, InterfaceData=int(record))


@pytest.mark.parametrize("text, command, message", [
    (None, "command", "Qx_Interface_UpdateAllInterfaces: no update file given"),
    ("fw.pkg", None, "Qx_Interface_UpdateAllInterfaces: no command given"),
    ("fw.pkg", "empty_data", "Qx_Interface_UpdateAllInterfaces: 1 interfaces announced but no interface data given"),
])
def test_update_failures_raise_the_native_text(sim, text, command, message):
    record = None
    if command is not None:
        record = qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t")
        put(record, "NumberOfInterfaces", 1 if command == "empty_data" else 0)
    with raises_exactly(Exception, message):
        q.Qx_Interface_UpdateAllInterfaces(text, record)
    assert sim.last("Qx_Interface_UpdateAllInterfaces").arg(2).is_null is (record is None)


@pytest.mark.parametrize("args, position, type_", [
    ((b"fw.pkg", None), 1, "char const *const"),
    ((5, None), 1, "char const *const"),
    (("fw.pkg", "not a record"), 2, "Qx_Interface_UpdateAllInterfaces_Cmd_t const *const"),
    (("fw.pkg", qxtest.new_record(q, "Qx_InterfaceData_t")), 2, "Qx_Interface_UpdateAllInterfaces_Cmd_t const *const"),
])
def test_update_refuses_bad_arguments_before_the_call(sim, args, position, type_):
    with raises_exactly(TypeError, f"in method 'Qx_Interface_UpdateAllInterfaces', argument {position} of type '{type_}'"):
        q.Qx_Interface_UpdateAllInterfaces(*args)
    assert sim.calls("Qx_Interface_UpdateAllInterfaces") == 0
