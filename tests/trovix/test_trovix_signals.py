"""Signals: configuration from a text or records, values written and read by
handle, native update callbacks; the record Qx_Trovix_Signal_Config2_Signal_t
and the conversions it shows (texts in char [256] members, float64_t values
in pointer objects)."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

import _qx_api as base  # noqa: E402

SIG = "Qx_Trovix_Signal_Config2_Signal_t"


def name_set(record, value, field="Name", record_type=SIG):
    getattr(tv, f"{record_type}_{field}_set")(record, value)


def name_get(record, field="Name", record_type=SIG):
    return getattr(tv, f"{record_type}_{field}_get")(record)


# ---- configuration -------------------------------------------------------------

def test_config_text_reaches_the_library_and_defines_signals(sim, tport):
    assert tv.Qx_Trovix_Signal_Config(tport, "signal=A,bits=4;signal=B") is None
    assert sim.last("Qx_Trovix_Signal_Config").arg(2).text == b"signal=A,bits=4;signal=B"
    assert [tv.Qx_Trovix_Signal_GetSignalHandle(tport, n) for n in ("A", "B")] == [0, 1]


@pytest.mark.parametrize("text, message", [
    ("signal=A,colour=1", "Qx_Trovix_Signal_Config: unknown key 'colour'"),
    ("bits=8", "Qx_Trovix_Signal_Config: a signal has no name"),
    ("signal=A;signal=A", "Qx_Trovix_Signal_Config: signal 'A' is configured already"),
])
def test_config_text_errors_raise_the_library_text(sim, tport, text, message):
    with qxtest.raises_exactly(Exception, message):
        tv.Qx_Trovix_Signal_Config(tport, text)


def test_config_text_refuses_bytes_and_passes_none_as_null(sim, tport):
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Signal_Config', argument 2 of type 'char const *const'"):
        tv.Qx_Trovix_Signal_Config(tport, b"signal=A")
    assert sim.calls("Qx_Trovix_Signal_Config") == 0
    with pytest.raises(Exception, match="no signal configuration given"):
        tv.Qx_Trovix_Signal_Config(tport, None)
    assert sim.last("Qx_Trovix_Signal_Config").arg(2).is_null


def test_config2_passes_the_record_the_library_reads(sim, tport, qxt):
    signal = qxtest.new_record(tv, SIG, Name="Torque", ComId=0x10007, TransmissionMode=257)
    internal = tv.Qx_Trovix_Signal_Config2_Signal_t_Internal_get(signal)
    tv.Qx_Trovix_Signal_Config2_Signal_t_Internal_BitSize_set(internal, 12)
    tv.Qx_Trovix_Signal_Config2_Signal_t_Internal_DefaultValue_set(internal, 0xFFFFFFFF)
    tv.Qx_Trovix_Signal_Config2_Signal_t_Factor_set(signal, qxt.qxt_f64_array([0.5]))
    assert tv.Qx_Trovix_Signal_Config2(tport, 3, 1, signal) is None
    call = sim.last("Qx_Trovix_Signal_Config2")
    assert (call.arg(2).value, call.arg(3).value) == (3, 1)
    got = layouts.unpack(SIG, call.arg(4).bytes)
    assert got["Name"].rstrip(b"\0") == b"Torque"
    assert (got["ComId"], got["TransmissionMode"], got["Factor"]) == (7, 1, 0.5)
    assert (got["Internal"]["BitSize"], got["Internal"]["DefaultValue"]) == (12, 0xFFFFFFFF)
    assert tv.Qx_Trovix_Signal_GetSignalHandle(tport, "Torque") == 0


def test_config2_reads_several_records_from_a_view_but_refuses_one_owned_record_for_several(sim, tport, qxt):
    owned = qxtest.new_record(tv, "Qx_Trovix_Signal_Config2_Signal_t")
    with qxtest.raises_exactly(ValueError, "single record given for several in method 'Qx_Trovix_Signal_Config2', "
                                           "argument 4 of type 'Qx_Trovix_Signal_Config2_Signal_t const *const'"):
        tv.Qx_Trovix_Signal_Config2(tport, 0, 2, owned)
    assert sim.calls("Qx_Trovix_Signal_Config2") == 0
    # storage for two records (zeroed, so the library finds a nameless signal)
    block = qxt.qxt_view("Qx_Trovix_Signal_Config2_Signal_t *", 2 * layouts.size(SIG))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_Config2: a signal has no name"):
        tv.Qx_Trovix_Signal_Config2(tport, 0, 2, block)
    assert sim.last("Qx_Trovix_Signal_Config2").arg(4).size == 640


def test_config2_with_none_passes_a_null_pointer(sim, tport):
    tv.Qx_Trovix_Signal_Config2(tport, 0, 0, None)
    assert sim.last("Qx_Trovix_Signal_Config2").arg(4).is_null


def test_config2_argument_messages(sim, tport):
    with qxtest.raises_exactly(TypeError, "Qx_Trovix_Signal_Config2 expected 4 arguments, got 3"):
        tv.Qx_Trovix_Signal_Config2(tport, 0, 1)
    response = qxtest.new_record(tv, "Qx_Trovix_SignalInfo_t")
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Signal_Config2', argument 4 of type "
                                          "'Qx_Trovix_Signal_Config2_Signal_t const *const'"):
        tv.Qx_Trovix_Signal_Config2(tport, 0, 1, response)


# ---- write and read --------------------------------------------------------------

def test_a_written_value_reads_back(sim, signals, qxt):
    assert tv.Qx_Trovix_Signal_Write(signals, 1, 0x80000000, 1, 2, qxt.qxt_u8_array([0x34, 0x12])) is None
    call = sim.last("Qx_Trovix_Signal_Write")
    assert [call.arg(i).value for i in (2, 3, 4, 5)] == [1, 0x80000000, 1, 2]
    assert call.arg(6).bytes == b"\x34\x12"
    data = qxt.qxt_u8_array([0xEE] * 8)
    assert tv.Qx_Trovix_Signal_Read(signals, 0, 0, 1, 8, data) == [1, 2]
    assert qxt.qxt_read_u8(data, 3) == [0x34, 0x12, 0xEE]
    call = sim.last("Qx_Trovix_Signal_Read")
    assert (call.arg(4).value, call.arg(6).bytes) == (1, b"\x08\x00")


def test_a_signal_never_written_reads_its_default_value(sim, signals, qxt):
    data = qxt.qxt_u8_array([0] * 7)  # the room the call gives
    assert tv.Qx_Trovix_Signal_Read(signals, 0, 0, 0, 7, data) == [0, 2]
    assert qxt.qxt_read_u8(data, 2) == [1, 2]


def test_read_size_is_truncated_to_16_bits(sim, signals, qxt):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_Read: room for 1 bytes, the value of signal 0 has 2"):
        tv.Qx_Trovix_Signal_Read(signals, 0, 0, 0, 2**16 + 1, qxt.qxt_u8_array([0] * 4))
    assert sim.last("Qx_Trovix_Signal_Read").arg(6).bytes == b"\x01\x00"


def test_read_size_in_a_pointer_object_is_the_callers_cell(sim, signals, qxt):
    cell = qxt.qxt_u16_array([8])
    data = qxt.qxt_u8_array([0] * 8)
    flags, size = tv.Qx_Trovix_Signal_Read(signals, 0, 0, 2, cell, data)
    assert flags == 0
    assert sim.last("Qx_Trovix_Signal_Read").arg(6).value == int(cell)
    assert qxt.qxt_read_u16(cell, 1) == [4]          # the library rewrote the caller's cell
    assert int(size) == int(cell) and "u16_t *" in repr(size)
    del cell
    assert qxt.qxt_read_u16(size, 1) == [4]          # a view: it owns nothing


def test_read_size_none_passes_null_and_the_library_decides(sim, signals, qxt):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_Read: no data size given"):
        tv.Qx_Trovix_Signal_Read(signals, 0, 0, 0, None, qxt.qxt_u8_array([0]))
    assert sim.last("Qx_Trovix_Signal_Read").arg(6).is_null


def test_read_response_flags_are_the_librarys_whole_u32(sim, signals, qxt):
    sim.output("Qx_Trovix_Signal_Read", 5, (0x80000005).to_bytes(4, "little"))
    assert tv.Qx_Trovix_Signal_Read(signals, 0, 0, 0, 8, qxt.qxt_u8_array([0] * 8)) == [0x80000005, 2]


@pytest.mark.parametrize("size, exc", [(-1, OverflowError), (2**32, OverflowError), ("8", TypeError), (1.0, TypeError)])
def test_read_size_refused_with_its_native_position(sim, signals, qxt, size, exc):
    with qxtest.raises_exactly(exc, "in method 'Qx_Trovix_Signal_Read', argument 6 of type 'u16_t'"):
        tv.Qx_Trovix_Signal_Read(signals, 0, 0, 0, size, None)
    assert sim.calls("Qx_Trovix_Signal_Read") == 0


def test_read_failure_returns_nothing(sim, signals, qxt):
    sim.fail("Qx_Trovix_Signal_Read", text=b"stack halted")
    with qxtest.raises_exactly(Exception, "stack halted"):
        tv.Qx_Trovix_Signal_Read(signals, 0, 0, 0, 8, qxt.qxt_u8_array([0] * 8))


def test_read_counts_its_six_python_arguments(sim, signals):
    with qxtest.raises_exactly(TypeError, "Qx_Trovix_Signal_Read expected 6 arguments, got 5"):
        tv.Qx_Trovix_Signal_Read(signals, 0, 0, 0, 8)


@pytest.mark.parametrize("make", [lambda qxt: qxt.qxt_u32_array([0x0605]),
                                  lambda qxt: qxtest.new_record(base, "int_p"),
                                  lambda qxt: qxtest.new_record(tv, "Qx_Trovix_SignalBlock_Signals_t")])
def test_data_pointers_take_a_pointer_object_of_any_type(sim, signals, qxt, make):
    data = make(qxt)
    tv.Qx_Trovix_Signal_Write(signals, 0, 0, 1, 1, data)
    assert sim.last("Qx_Trovix_Signal_Write").arg(6).value == int(data)
    assert tv.Qx_Trovix_Signal_Read(signals, 0, 0, 1, 4, data) == [1, 1]
    assert sim.last("Qx_Trovix_Signal_Read").arg(7).value == int(data)


@pytest.mark.parametrize("binding, args, message", [
    ("Qx_Trovix_Signal_Write", (0, 0, 1, 2, 5), "in method 'Qx_Trovix_Signal_Write', argument 6 of type 'void const *const'"),
    ("Qx_Trovix_Signal_Write", (0, 0, 1, 2, b"ab"), "in method 'Qx_Trovix_Signal_Write', argument 6 of type 'void const *const'"),
    ("Qx_Trovix_Signal_Read", (0, 0, 1, 2, [1, 2]), "in method 'Qx_Trovix_Signal_Read', argument 7 of type 'void *const'"),
    ("Qx_Trovix_Signal_Write", (0, 0, 2**16 + 1, 2, None), None),
])
def test_data_pointers_refuse_anything_but_pointer_objects(sim, signals, binding, args, message):
    if message is None:  # a handle outside 16 bits is truncated, then the library decides
        with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_Write: no data given"):
            getattr(tv, binding)(signals, *args)
        call = sim.last("Qx_Trovix_Signal_Write")
        assert (call.arg(4).value, call.arg(6).is_null) == (1, True)
        return
    with qxtest.raises_exactly(TypeError, message):
        getattr(tv, binding)(signals, *args)
    assert sim.calls(binding) == 0


def test_a_deleted_record_is_no_null_data_pointer(sim, signals):
    record = qxtest.new_record(tv, "Qx_Trovix_SignalBlock_Signals_t")
    tv.delete_Qx_Trovix_SignalBlock_Signals_t(record)
    with qxtest.raises_exactly(ValueError, "invalid null reference in method 'Qx_Trovix_Signal_Write', argument 6 "
                                           "of type 'void const *const'"):
        tv.Qx_Trovix_Signal_Write(signals, 0, 0, 1, 1, record)
    assert sim.calls("Qx_Trovix_Signal_Write") == 0


def test_write_of_an_unknown_handle_raises_the_library_text(sim, signals, qxt):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_Write: unknown signal handle 9"):
        tv.Qx_Trovix_Signal_Write(signals, 0, 0, 9, 1, qxt.qxt_u8_array([1]))


# ---- update callbacks --------------------------------------------------------------

def test_update_callback_is_called_natively_on_each_write_until_reset(sim, signals, qxt):
    callback = qxt.qxt_trovix_update_callback()
    before = qxt.qxt_trovix_callback_calls()
    assert tv.Qx_Trovix_Signal_UpdateCallback_Set(signals, 1, 0x11, 2, callback) is None
    call = sim.last("Qx_Trovix_Signal_UpdateCallback_Set")
    assert [call.arg(i).value for i in (2, 3, 4)] == [1, 0x11, 2] and not call.arg(5).is_null
    tv.Qx_Trovix_Signal_Write(signals, 1, 7, 2, 4, qxt.qxt_u8_array([1, 2, 3, 4]))
    assert qxt.qxt_trovix_callback_calls() == before + 1
    assert qxt.qxt_trovix_last_callback() == [signals, 1, 2, 7, 4, 0x04030201, 1]
    assert tv.Qx_Trovix_Signal_UpdateCallback_Reset(signals, 2) is None
    assert sim.last("Qx_Trovix_Signal_UpdateCallback_Reset").arg(2).value == 2
    tv.Qx_Trovix_Signal_Write(signals, 1, 7, 2, 4, qxt.qxt_u8_array([1, 2, 3, 4]))
    assert qxt.qxt_trovix_callback_calls() == before + 1


def test_update_callback_refuses_python_callables_and_passes_none_as_null(sim, signals):
    message = "in method 'Qx_Trovix_Signal_UpdateCallback_Set', argument 5 of type 'Qx_Trovix_Signal_UpdateCallback_t const'"
    for callback in (print, lambda *a: None, 5):
        with qxtest.raises_exactly(TypeError, message):
            tv.Qx_Trovix_Signal_UpdateCallback_Set(signals, 0, 0, 0, callback)
    assert sim.calls("Qx_Trovix_Signal_UpdateCallback_Set") == 0
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_UpdateCallback_Set: no callback given"):
        tv.Qx_Trovix_Signal_UpdateCallback_Set(signals, 0, 0, 0, None)
    assert sim.last("Qx_Trovix_Signal_UpdateCallback_Set").arg(5).is_null


@pytest.mark.parametrize("binding, args, message", [
    ("Qx_Trovix_Signal_UpdateCallback_Set", (0, "x", 0, None),
     "in method 'Qx_Trovix_Signal_UpdateCallback_Set', argument 3 of type 'Qx_Trovix_Signal_Read_CmdFlags_t'"),
    ("Qx_Trovix_Signal_Write", (0, 0, "h", 1, None),
     "in method 'Qx_Trovix_Signal_Write', argument 4 of type 'Qx_Trovix_SignalHandle_t'"),
    ("Qx_Trovix_Signal_Write", (0, 0, 1, None, None), "in method 'Qx_Trovix_Signal_Write', argument 5 of type 'u16_t'"),
    ("Qx_Trovix_Signal_UpdateCallback_Reset", ("h",),
     "in method 'Qx_Trovix_Signal_UpdateCallback_Reset', argument 2 of type 'Qx_Trovix_SignalHandle_t'"),
])
def test_scalar_argument_messages_name_position_and_native_type(sim, signals, binding, args, message):
    with qxtest.raises_exactly(TypeError, message):
        getattr(tv, binding)(signals, *args)


# ---- the signal record -------------------------------------------------------------

def test_nested_views_change_the_parent(sim, tport, qxt):
    signal = qxtest.new_record(tv, "Qx_Trovix_Signal_Config2_Signal_t")
    tv.Qx_Trovix_Signal_Config2_Signal_t_Internal_LengthType_set(tv.Qx_Trovix_Signal_Config2_Signal_t_Internal_get(signal), 2)
    physical = tv.Qx_Trovix_Signal_Config2_Signal_t_Physical_get(signal)
    tv.Qx_Trovix_Signal_Config2_Signal_t_Physical_reserved7_set(physical, 0x1FF)
    tv.Qx_Trovix_Signal_Config2_Signal_t_Physical_MaxValue_set(physical, qxt.qxt_f64_array([-2.5]))
    name_set(signal, "N")
    tv.Qx_Trovix_Signal_Config2(tport, 0, 1, signal)
    got = layouts.unpack(SIG, sim.last("Qx_Trovix_Signal_Config2").arg(4).bytes)
    assert got["Internal"]["LengthType"] == 2
    assert (got["Physical"]["reserved7"], got["Physical"]["MaxValue"]) == (0xFF, -2.5)


def test_float64_members_travel_in_pointer_objects(sim, qxt):
    signal = qxtest.new_record(tv, "Qx_Trovix_Signal_Config2_Signal_t")
    tv.Qx_Trovix_Signal_Config2_Signal_t_Offset_set(signal, qxt.qxt_f64_array([1.25]))
    first = qxtest.owned(tv.Qx_Trovix_Signal_Config2_Signal_t_Offset_get(signal))
    second = qxtest.owned(tv.Qx_Trovix_Signal_Config2_Signal_t_Offset_get(signal))
    assert qxt.qxt_read_f64(first, 1) == [1.25] and first is not second
    with qxtest.raises_exactly(ValueError, "invalid null reference in method "
                                           "'Qx_Trovix_Signal_Config2_Signal_t_Offset_set', argument 2 of type 'float64_t'"):
        tv.Qx_Trovix_Signal_Config2_Signal_t_Offset_set(signal, None)
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Signal_Config2_Signal_t_Offset_set', argument 2 of type 'float64_t'"):
        tv.Qx_Trovix_Signal_Config2_Signal_t_Offset_set(signal, 1.5)
    assert qxt.qxt_read_f64(qxtest.owned(tv.Qx_Trovix_Signal_Config2_Signal_t_Offset_get(signal)), 1) == [1.25]


# ---- char [256] members (QX_CHAR_ARRAY_MEMBER) ---------------------------------------------

MESSAGE = "in method 'Qx_Trovix_Signal_Config2_Signal_t_Name_set', argument 2 of type 'char [256]'"


def test_text_member_holds_255_bytes_and_a_zero(sim, tport):
    signal = qxtest.new_record(tv, "Qx_Trovix_Signal_Config2_Signal_t")
    name_set(signal, "a" * 255)
    assert name_get(signal) == "a" * 255
    name_set(signal, "ö")  # a shorter text zero-fills the rest of the field
    tv.Qx_Trovix_Signal_Config2(tport, 0, 1, signal)
    assert layouts.unpack(SIG, sim.last("Qx_Trovix_Signal_Config2").arg(4).bytes)["Name"] == "ö".encode() + bytes(254)


@pytest.mark.parametrize("value", ["a" * 256, "é" * 128, "\udc80", b"abc", 5, ["a"]])
def test_text_member_refuses_and_keeps_its_content(sim, value):
    signal = qxtest.new_record(tv, SIG, Name="kept")
    with qxtest.raises_exactly(TypeError, MESSAGE):
        name_set(signal, value)
    assert name_get(signal) == "kept"


def test_text_member_from_a_char_pointer_and_cleared_by_none(sim):
    signal = qxtest.new_record(tv, "Qx_Trovix_Signal_Config2_Signal_t")
    cell = qxtest.new_record(base, "char_p")
    base.char_p_assign(cell, "z")
    name_set(signal, cell)
    assert name_get(signal) == "z"
    base.delete_char_p(cell)
    name_set(signal, None)
    assert name_get(signal) == ""


def test_text_member_without_a_zero_reads_all_256_bytes_with_surrogateescape(sim, tport):
    # the library fills a description whose name has no terminating zero
    sim.output("Qx_Trovix_Signal_GetSignalInfo", 3, layouts.pack("Qx_Trovix_SignalInfo_t", Name=b"\xff" + b"n" * 255))
    tv.Qx_Trovix_Signal_Config(tport, "signal=A")
    info = qxtest.owned(tv.Qx_Trovix_Signal_GetSignalInfo(tport, 0))
    assert tv.Qx_Trovix_SignalInfo_t_Name_get(info) == "\udcff" + "n" * 255


def test_text_member_of_a_none_record_stores_nothing(sim):
    assert tv.Qx_Trovix_Signal_Config2_Signal_t_Name_set(None, "abc") is None
    with qxtest.raises_exactly(TypeError, MESSAGE):
        tv.Qx_Trovix_Signal_Config2_Signal_t_Name_set(None, 5)
