"""Byte lists, capacity lists, texts in and out, callbacks."""
import pytest

import _qx_api as q
import qxtest


@pytest.mark.parametrize("data, sent", [
    ([], b""),
    ((1, 2, 3), b"\x01\x02\x03"),
    ([0x1FF, 256, -1, True], b"\xff\x00\xff\x01"),
    (range(300), bytes(i & 0xFF for i in range(300))),
])
def test_byte_list_to_heap_buffer(sim, port, data, sent):
    q.Qx_Command(port, 2, data)
    e = sim.last("Qx_Command")
    assert (e.arg(3).bytes, e.arg(4).value) == (sent, len(sent))
    assert not e.arg(3).is_null


@pytest.mark.parametrize("data, exc, message", [
    (5, TypeError, "Expecting a sequence"),
    (None, TypeError, "Expecting a sequence"),
    ({1: 2}, TypeError, "Expecting a sequence"),
    ([1, 2, "x"], TypeError, "list must contain u8_t"),
    ([1.0], TypeError, "list must contain u8_t"),
    ("ab", TypeError, "list must contain u8_t"),
    ([2**31], OverflowError, "list must contain u8_t"),
])
def test_byte_list_refused(sim, data, exc, message):
    with pytest.raises(exc) as e:
        q.Qx_Command(1, 2, data)
    assert str(e.value) == message
    assert sim.calls("Qx_Command") == 0


def script_response(sim, function, count_arg, data, count=None):
    sim.output(function, count_arg - 1, bytes(data))
    sim.output(function, count_arg, (len(data) if count is None else count).to_bytes(4, "little"))


@pytest.mark.parametrize("capacity, response, count, expected", [
    (16, [1, 2, 255], None, [1, 2, 255]),       # fewer than the capacity
    (0, [], None, []),                          # capacity 0: empty list
    (3, [9, 8, 7], 1000, [9, 8, 7]),            # count above the capacity is clamped
])
def test_capacity_to_byte_list(sim, port, capacity, response, count, expected):
    script_response(sim, "Qx_CommandWithResponse", 6, response, count)
    assert q.Qx_CommandWithResponse(port, 2, [5], capacity) == expected
    e = sim.last("Qx_CommandWithResponse")
    assert e.arg(6).bytes == capacity.to_bytes(4, "little")  # the count cell holds the capacity
    assert not e.arg(5).is_null


def test_capacity_list_positions_around_other_arguments(sim, port):
    script_response(sim, "Qx_GetMonitorItems", 3, [4, 5])
    assert q.Qx_GetMonitorItems(port, 2, None) == [4, 5]
    e = sim.last("Qx_GetMonitorItems")
    assert (e.arg(1).value, e.arg(3).bytes, e.arg(4).is_null) == (port, b"\x02\0\0\0", True)
    with pytest.raises(TypeError) as err:
        q.Qx_GetMonitorItems(port, 2, 3)
    assert str(err.value) == "in method 'Qx_GetMonitorItems', argument 4 of type 'u8_t *const'"


@pytest.mark.parametrize("capacity, exc, message", [
    ("16", TypeError, "Expecting a integer"),
    (None, TypeError, "Expecting a integer"),
    (-1, ValueError, "capacity must not be negative"),
    (2**31, OverflowError, "capacity out of range"),
])
def test_capacity_refused_before_anything_is_allocated_or_called(sim, capacity, exc, message):
    with pytest.raises(exc) as e:
        q.Qx_CommandWithResponse(1, 2, [1, 2], capacity)
    assert str(e.value) == message
    assert sim.calls("Qx_CommandWithResponse") == 0


def test_failed_call_returns_no_list(sim, port):
    script_response(sim, "Qx_CommandWithResponse", 6, [1, 2])
    sim.fail("Qx_CommandWithResponse", 9, b"no response")
    with pytest.raises(Exception, match="^no response$"):
        q.Qx_CommandWithResponse(port, 2, [], 4)


def test_capacity_to_record_list_gives_independent_copies(sim):
    records = bytearray(80)
    records[8:12] = (1111).to_bytes(4, "little")   # Serial of the first record
    records[48:52] = (2222).to_bytes(4, "little")  # Serial of the second
    sim.output("Qx_Interface_GetInterfaceList_Usb", 2, records)
    sim.output("Qx_Interface_GetInterfaceList_Usb", 1, (5).to_bytes(4, "little"))  # reports more than fit
    first, second = q.Qx_Interface_GetInterfaceList_Usb(2)
    e = sim.last("Qx_Interface_GetInterfaceList_Usb")
    assert (e.arg(1).bytes, e.arg(3).value) == (b"\x02\0\0\0", 40)
    assert [q.Qx_InterfaceData_t_Serial_get(r) for r in (first, second)] == [1111, 2222]
    q.Qx_InterfaceData_t_Serial_set(first, 1)
    assert q.Qx_InterfaceData_t_Serial_get(second) == 2222
    q.delete_Qx_InterfaceData_t(first)
    q.delete_Qx_InterfaceData_t(second)


@pytest.mark.parametrize("text, sent", [
    ("interfaces.cfg", b"interfaces.cfg"),
    ("caf\u00e9", "caf\u00e9".encode()),
    ("a\0b", b"a"),  # passed whole; the native side sees the text up to the zero
    ("", b""),
])
def test_string_in(sim, text, sent):
    q.Qx_Interface_UpdateAllInterfaces(text, qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t"))
    assert sim.last("Qx_Interface_UpdateAllInterfaces").arg(1).text == sent


def test_string_in_takes_char_pointers_and_none(sim):
    cell = qxtest.new_record(q, "char_p")
    q.char_p_assign(cell, "")
    cmd = qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t")
    q.Qx_Interface_UpdateAllInterfaces(cell, cmd)
    with pytest.raises(Exception, match="^Qx_Interface_UpdateAllInterfaces: no update file given$"):
        q.Qx_Interface_UpdateAllInterfaces(None, cmd)  # NULL reaches the native side, which refuses it
    first, second = sim.entries("Qx_Interface_UpdateAllInterfaces")
    assert (first.arg(1).value, first.arg(1).text) == (int(cell), b"")
    assert second.arg(1).is_null


@pytest.mark.parametrize("value", [b"bytes", 5, "\udcff", q.new_int_p])
def test_string_in_refused(sim, value):
    with pytest.raises(TypeError) as e:
        q.Qx_Interface_UpdateAllInterfaces(qxtest.owned(value()) if callable(value) else value, None)
    assert str(e.value) == "in method 'Qx_Interface_UpdateAllInterfaces', argument 1 of type 'char const *const'"
    assert sim.calls("Qx_Interface_UpdateAllInterfaces") == 0


def test_string_conversion_released_when_a_later_argument_fails(sim):
    with pytest.raises(TypeError) as e:
        q.Qx_Interface_UpdateAllInterfaces("x", qxtest.new_record(q, "Qx_Data_t"))
    assert str(e.value) == ("in method 'Qx_Interface_UpdateAllInterfaces', argument 2 of type "
                            "'Qx_Interface_UpdateAllInterfaces_Cmd_t const *const'")


@pytest.mark.parametrize("written, expected", [
    (b"C:\\qx\0garbage", "C:\\qx"),
    (b"\xff\xfe\0", "\udcff\udcfe"),
    (b"x" * 256, "x" * 256),  # no zero byte: cut at the buffer's size
])
def test_string_out_fixed_buffer(sim, written, expected):
    sim.output("Qx_InterfaceConfig_GetInstallDir", 1, written)
    assert q.Qx_InterfaceConfig_GetInstallDir() == expected
    e = sim.last("Qx_InterfaceConfig_GetInstallDir")
    assert e.arg(2).bytes == (256).to_bytes(4, "little")


def test_string_out_keeps_other_argument_positions(sim, port):
    sim.output("Qx_GetErrorDescription2", 4, b"timeout\0")
    assert q.Qx_GetErrorDescription2(port, 0xFFFFFFFF) == "timeout"
    e = sim.last("Qx_GetErrorDescription2")
    assert (e.arg(1).value, e.arg(2).value, e.arg(3).bytes) == (port, 0xFFFFFFFF, (256).to_bytes(4, "little"))
    with pytest.raises(OverflowError) as err:
        q.Qx_GetErrorDescription2(port, -1)
    assert str(err.value) == "in method 'Qx_GetErrorDescription2', argument 2 of type 'Qx_Error_t'"


@pytest.mark.parametrize("native, expected", [(b"ok", "ok"), (b"\xff", "\udcff"), (None, None), (b"", "")])
def test_string_result(sim, native, expected):
    sim.text_result("Qx_GetErrorDescription", native)
    assert q.Qx_GetErrorDescription(4294967295) == expected
    assert sim.last("Qx_GetErrorDescription").arg(1).value == 4294967295


def test_function_pointer_in_accepts_none_and_native_pointers_of_the_exact_type(sim, port, qxt):
    callback = qxt.qxt_error_callback()
    q.Qx_AsyncCommunication_Enable(port, None)
    q.Qx_AsyncCommunication_Enable(port, callback)
    q.Qx_AsyncCommunication_Enable(port, qxt.qxt_on_error)  # built-in carrying "swig_ptr: "
    calls = sim.entries("Qx_AsyncCommunication_Enable")
    assert calls[0].arg(2).is_null
    assert calls[1].arg(2).value == int(callback)
    assert calls[2].arg(2).value == int(callback)


@pytest.mark.parametrize("make", [
    lambda qxt: (lambda *a: None),
    lambda qxt: print,
    lambda qxt: qxt.qxt_data_callback(),      # another callback type
    lambda qxt: qxtest.new_record(q, "int_p"),
])
def test_function_pointer_in_refuses_python_callables_and_other_types(sim, qxt, make):
    with pytest.raises(TypeError) as e:
        q.Qx_AsyncCommunication_Enable(1, make(qxt))
    assert str(e.value) == ("in method 'Qx_AsyncCommunication_Enable', argument 2 of type "
                            "'Qx_AsyncCommunication_ErrorCallback_t const'")
    assert sim.calls("Qx_AsyncCommunication_Enable") == 0


def test_callbacks_of_add_callback(sim, port, qxt):
    q.Qx_AsyncCommunication_AddCallback(port, 2, 3, None, 4, qxt.qxt_data_callback(), qxt.qxt_cleanup_callback(), 5, None)
    e = sim.last("Qx_AsyncCommunication_AddCallback")
    assert [e.arg(i).value for i in (1, 2, 3, 5, 8)] == [port, 2, 3, 4, 5]
    assert not e.arg(6).is_null and not e.arg(7).is_null and e.arg(9).is_null
    with pytest.raises(TypeError) as err:
        q.Qx_AsyncCommunication_AddCallback(1, 2, 3, None, 4, qxt.qxt_cleanup_callback(), None, 5, None)
    assert str(err.value) == ("in method 'Qx_AsyncCommunication_AddCallback', argument 6 of type "
                              "'Qx_AsyncCommunication_CallbackFunction_t const'")
