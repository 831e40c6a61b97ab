"""The binding frame: argument counts, scalar conversions, status check and
appended outputs."""
import pytest

import _qx_api as q
import qxtest


@pytest.mark.parametrize("call, exc, message", [
    (lambda: q.Qx_Command(1, 2), TypeError, "Qx_Command expected 3 arguments, got 2"),
    (lambda: q.Qx_Command(1, 2, [], 4), TypeError, "Qx_Command expected 3 arguments, got 4"),
    (lambda: q.Qx_AsyncCommunication_AddCallback(*[0] * 8), TypeError,
     "Qx_AsyncCommunication_AddCallback expected 9 arguments, got 8"),
])
def test_argument_count(sim, call, exc, message):
    with pytest.raises(exc) as e:
        call()
    assert str(e.value) == message
    assert sim.journal() == []


def test_one_and_no_argument_bindings_leave_the_count_to_the_interpreter(sim):
    with pytest.raises(TypeError):
        q.Qx_CloseInterface()
    with pytest.raises(TypeError):
        q.Qx_GetApiVersion(1)
    assert sim.journal() == []


PORT_MESSAGE = "in method 'Qx_CloseInterface', argument 1 of type 'Qx_PortHandle_t'"


@pytest.mark.parametrize("value, exc", [
    (-1, OverflowError), (2**32, OverflowError), (2**64, OverflowError),
    (1.0, TypeError), ("1", TypeError), (None, TypeError), (q.new_Qx_Data_t, TypeError),
])
def test_unsigned_scalar_refused(sim, value, exc):
    with pytest.raises(exc) as e:
        q.Qx_CloseInterface(value)
    assert str(e.value) == PORT_MESSAGE
    assert sim.calls("Qx_CloseInterface") == 0


@pytest.mark.parametrize("value, passed", [(0, 0), (4294967295, 4294967295), (True, 1), (False, 0)])
def test_unsigned_scalar_passes_unchanged(sim, value, passed):
    q.Qx_GetResponseTimeout(value)
    assert sim.last("Qx_GetResponseTimeout").arg(1).value == passed


@pytest.mark.parametrize("value, stored", [(0x1FF, 0xFF), (256, 0), (True, 1), (4294967295, 0xFF)])
def test_narrow_unsigned_is_truncated_without_range_test(sim, port, value, stored):
    q.Qx_Fpga_WriteRegister(port, value, 7)
    assert sim.last("Qx_Fpga_WriteRegister").arg(2).value == stored


@pytest.mark.parametrize("value", [-1, -2**31, 2**31 - 1])
def test_enumeration_argument_is_signed_32_bit(sim, value):
    q.Qx_GetHostInterfaceTypeDescription(value)
    assert sim.last("Qx_GetHostInterfaceTypeDescription").arg(1).value == value


@pytest.mark.parametrize("value, exc", [(2**31, OverflowError), (-2**31 - 1, OverflowError), (0.5, TypeError)])
def test_enumeration_argument_refused(sim, value, exc):
    with pytest.raises(exc) as e:
        q.Qx_GetHostInterfaceTypeDescription(value)
    assert str(e.value) == "in method 'Qx_GetHostInterfaceTypeDescription', argument 1 of type 'Qx_HostInterfaceType_t'"


def test_opaque_value_taken_from_a_pointer_object(sim, port, qxt):
    cell = qxt.qxt_u16_array([0xBEEF, 0x1234])
    q.Qx_Fpga_Relays_SetDirect(port, cell, None)
    e = sim.last("Qx_Fpga_Relays_SetDirect")
    assert (e.arg(1).value, e.arg(2).value, e.arg(3).is_null) == (port, 0xBEEF, True)
    assert qxt.qxt_read_u16(cell, 2) == [0xBEEF, 0x1234]


@pytest.mark.parametrize("value, exc, prefix", [
    (None, ValueError, "invalid null reference "),
    (5, TypeError, ""),
    (q.new_int_p, TypeError, ""),
])
def test_opaque_value_refused(sim, value, exc, prefix):
    with pytest.raises(exc) as e:
        q.Qx_Fpga_Relays_GetState(1, qxtest.owned(value()) if callable(value) else value, None, None)
    assert str(e.value) == prefix + "in method 'Qx_Fpga_Relays_GetState', argument 2 of type 'u16_t const'"
    assert sim.calls("Qx_Fpga_Relays_GetState") == 0


def test_pointer_argument_takes_none_or_the_declared_type(sim, port):
    cell = qxtest.new_record(q, "int_p")
    q.Qx_GetParamSize(port, cell)
    q.Qx_GetParamSize(port, None)
    first, second = sim.entries("Qx_GetParamSize")
    assert not first.arg(2).is_null and first.arg(2).value == int(cell)
    assert second.arg(2).is_null
    with pytest.raises(TypeError) as e:
        q.Qx_GetParamSize(port, qxtest.new_record(q, "char_p"))
    assert str(e.value) == "in method 'Qx_GetParamSize', argument 2 of type 'u32_t *const'"


def test_int_p_receives_what_the_native_side_writes(sim, port):
    cell = qxtest.new_record(q, "int_p")
    sim.output("Qx_GetParamSize", 2, (123456789).to_bytes(4, "little"))
    assert q.Qx_GetParamSize(port, cell) is None
    assert q.int_p_value(cell) == 123456789


def test_later_arguments_are_not_converted_after_a_failure(sim):
    with pytest.raises(OverflowError) as e:
        q.Qx_Command(-1, 1, "not a sequence")
    assert "argument 1" in str(e.value)
    assert sim.calls("Qx_Command") == 0


@pytest.mark.parametrize("text, expected", [
    (b"port 5 is locked", "port 5 is locked"),
    (b"caf\xc3\xa9 \xff", "caf\u00e9 \udcff"),
    (b"", ""),
])
def test_failed_status_raises_exception_with_the_last_error_text(sim, port, text, expected):
    sim.fail("Qx_GetLock", 0x42, text)
    with pytest.raises(Exception) as e:
        q.Qx_GetLock(port)
    assert type(e.value) is Exception
    assert e.value.args == (expected,)
    assert sim.calls("Qx_GetLastErrorDescription") == 1


def test_failed_status_without_error_text(sim, port):
    sim.fail("Qx_GetLock", 1, None)
    sim.error_text(None)
    with pytest.raises(Exception) as e:
        q.Qx_GetLock(port)
    assert str(e.value) == "native call failed without an error description"


def test_successful_status_returns_none(sim):
    assert q.Qx_ReleaseAllLocks(0) is None


def test_one_appended_output_is_the_value_itself(sim):
    sim.output("Qx_OpenInterface", 2, (0xCAFE).to_bytes(4, "little"))
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t")
    q.Qx_InterfaceInfo_t_Type_set(info, q.QX_INTERFACE_TYPE__CAN)
    handle = q.Qx_OpenInterface(info)
    assert handle == 0xCAFE
    e = sim.last("Qx_OpenInterface")
    assert e.arg(1).bytes[:4] == (4).to_bytes(4, "little")
    assert e.arg(2).bytes == b"\0\0\0\0"  # the binding's cell starts zeroed


def test_several_appended_outputs_form_a_list(sim):
    for arg, value in ((1, 7), (2, 0xFFFFFFFF), (3, 0)):
        sim.output("Qx_GetApiVersion", arg, value.to_bytes(4, "little"))
    assert q.Qx_GetApiVersion() == [7, 0xFFFFFFFF, 0]


def test_failed_status_drops_appended_outputs(sim):
    sim.output("Qx_GetApiVersion", 1, (7).to_bytes(4, "little"))
    sim.fail("Qx_GetApiVersion", 3, b"version unavailable")
    with pytest.raises(Exception, match="^version unavailable$"):
        q.Qx_GetApiVersion()


@pytest.mark.parametrize("native, result", [(255, 255), (0x1FF, 255), (0, 0)])
def test_value_result_is_masked_to_its_width(sim, port, native, result):
    sim.result("Qx_GetLockStatus", native)
    assert q.Qx_GetLockStatus(port) == result


def test_u32_value_result_is_never_negative(sim):
    sim.result("Qx_GetResponseTimeout", 0xFFFFFFFF)
    assert q.Qx_GetResponseTimeout(1) == 4294967295
