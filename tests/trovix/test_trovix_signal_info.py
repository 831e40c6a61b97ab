"""Signal information: number of signals, the list of descriptions, one
description, the transmission mode and the handle of a name; the record
Qx_Trovix_SignalInfo_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

INFO = "Qx_Trovix_SignalInfo_t"


def describe(info):
    internal = tv.Qx_Trovix_SignalInfo_t_Internal_get(info)
    return (tv.Qx_Trovix_SignalInfo_t_Name_get(info), tv.Qx_Trovix_SignalInfo_t_Internal_DefaultValue_get(internal),
            tv.Qx_Trovix_SignalInfo_t_Internal_Size_get(internal))


def test_number_of_signals_is_appended(sim, tport, signals):
    assert tv.Qx_Trovix_Signal_GetNumberOfSignals(signals) == 3
    assert not sim.last("Qx_Trovix_Signal_GetNumberOfSignals").arg(2).is_null


def test_number_of_signals_leaves_its_count_to_the_interpreter(sim):
    with pytest.raises(TypeError) as info:
        tv.Qx_Trovix_Signal_GetNumberOfSignals()
    assert "Qx_Trovix_Signal_GetNumberOfSignals() takes exactly one argument" in str(info.value)
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Signal_GetNumberOfSignals', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_Signal_GetNumberOfSignals("port")


def test_signal_list_returns_independent_owned_copies_of_what_was_configured(sim, signals):
    infos = qxtest.owned(tv.Qx_Trovix_Signal_GetSignalList(signals, 10))
    assert sim.last("Qx_Trovix_Signal_GetSignalList").arg(2).bytes == (10).to_bytes(4, "little")
    assert [describe(i) for i in infos] == [("Speed", 513, 2), ("Gear", 0, 1), ("Odo", 0, 4)]
    again = qxtest.owned(tv.Qx_Trovix_Signal_GetSignalList(signals, 2))
    assert [describe(i) for i in again] == [("Speed", 513, 2), ("Gear", 0, 1)]
    tv.delete_Qx_Trovix_SignalInfo_t(infos[0])
    del again
    assert [describe(i) for i in infos[1:]] == [("Gear", 0, 1), ("Odo", 0, 4)]


def test_signal_list_of_no_signals_is_empty(sim, tport):
    assert tv.Qx_Trovix_Signal_GetSignalList(tport, 0) == []
    assert tv.Qx_Trovix_Signal_GetSignalList(tport, 5) == []


def test_signal_list_count_is_clamped_to_the_capacity(sim, signals):
    sim.output("Qx_Trovix_Signal_GetSignalList", 2, (1000).to_bytes(4, "little"))
    assert len(qxtest.owned(tv.Qx_Trovix_Signal_GetSignalList(signals, 2))) == 2


@pytest.mark.parametrize("capacity, exc", [("2", TypeError), (-1, ValueError), (2**31, OverflowError)])
def test_signal_list_capacity_refused_before_the_call(sim, signals, capacity, exc):
    with pytest.raises(exc):
        tv.Qx_Trovix_Signal_GetSignalList(signals, capacity)
    assert sim.calls("Qx_Trovix_Signal_GetSignalList") == 0


def test_signal_list_failure_returns_nothing(sim, signals):
    sim.fail("Qx_Trovix_Signal_GetSignalList", text=b"no stack")
    with qxtest.raises_exactly(Exception, "no stack"):
        tv.Qx_Trovix_Signal_GetSignalList(signals, 3)


def test_signal_info_returns_a_new_record_each_call(sim, tport, qxt):
    signal = qxtest.new_record(tv, "Qx_Trovix_Signal_Config2_Signal_t", Name="Temp")
    tv.Qx_Trovix_Signal_Config2_Signal_t_Factor_set(signal, qxt.qxt_f64_array([0.25]))
    physical = tv.Qx_Trovix_Signal_Config2_Signal_t_Physical_get(signal)
    tv.Qx_Trovix_Signal_Config2_Signal_t_Physical_MaxValue_set(physical, qxt.qxt_f64_array([99.5]))
    tv.Qx_Trovix_Signal_Config2(tport, 0, 1, signal)
    first = qxtest.owned(tv.Qx_Trovix_Signal_GetSignalInfo(tport, 0))
    assert sim.last("Qx_Trovix_Signal_GetSignalInfo").arg(2).value == 0
    second = qxtest.owned(tv.Qx_Trovix_Signal_GetSignalInfo(tport, 0))
    assert first is not second and "Qx_Trovix_SignalInfo_t *" in repr(first)
    tv.Qx_Trovix_SignalInfo_t_Name_set(second, "changed")
    assert tv.Qx_Trovix_SignalInfo_t_Name_get(first) == "Temp"
    assert qxt.qxt_read_f64(qxtest.owned(tv.Qx_Trovix_SignalInfo_t_Factor_get(first)), 1) == [0.25]
    phys = tv.Qx_Trovix_SignalInfo_t_Physical_get(first)
    assert qxt.qxt_read_f64(qxtest.owned(tv.Qx_Trovix_SignalInfo_t_Physical_MaxValue_get(phys)), 1) == [99.5]


def test_signal_info_of_an_unknown_handle_raises(sim, signals):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_GetSignalInfo: unknown signal handle 7"):
        tv.Qx_Trovix_Signal_GetSignalInfo(signals, 7)
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Signal_GetSignalInfo', argument 2 of type 'Qx_Trovix_SignalHandle_t'"):
        tv.Qx_Trovix_Signal_GetSignalInfo(signals, None)


def test_transmission_mode_is_written_into_the_callers_byte(sim, signals, qxt):
    cell = qxt.qxt_u8_array([0xEE])
    assert tv.Qx_Trovix_Signal_GetSignalTransmissionMode(signals, 1, cell) is None
    assert qxt.qxt_read_u8(cell, 1) == [tv.QX_TROVIX__SIGNAL__TRANSMISSION_MODE__RX]
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Signal_GetSignalTransmissionMode', argument 3 of type 'u8_t *const'"):
        tv.Qx_Trovix_Signal_GetSignalTransmissionMode(signals, 1, qxt.qxt_u16_array([0]))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_GetSignalTransmissionMode: no transmission mode given"):
        tv.Qx_Trovix_Signal_GetSignalTransmissionMode(signals, 1, None)


def test_signal_handle_of_a_name(sim, signals):
    assert tv.Qx_Trovix_Signal_GetSignalHandle(signals, "Odo") == 2
    assert sim.last("Qx_Trovix_Signal_GetSignalHandle").arg(2).text == b"Odo"
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Signal_GetSignalHandle: no signal named 'Rpm'"):
        tv.Qx_Trovix_Signal_GetSignalHandle(signals, "Rpm")


def test_signal_handle_is_the_whole_16_bit_cell(sim, signals):
    sim.output("Qx_Trovix_Signal_GetSignalHandle", 3, b"\xff\xff")
    assert tv.Qx_Trovix_Signal_GetSignalHandle(signals, "Odo") == 65535


def test_signal_handle_refuses_a_non_text_before_the_call(sim, signals):
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Signal_GetSignalHandle', argument 2 of type 'char const *const'"):
        tv.Qx_Trovix_Signal_GetSignalHandle(signals, 5)
    assert sim.calls("Qx_Trovix_Signal_GetSignalHandle") == 0


@pytest.mark.parametrize("binding, count", [("Qx_Trovix_Signal_GetSignalList", 2), ("Qx_Trovix_Signal_GetSignalInfo", 2),
                                            ("Qx_Trovix_Signal_GetSignalTransmissionMode", 3),
                                            ("Qx_Trovix_Signal_GetSignalHandle", 2)])
def test_argument_counts(sim, binding, count):
    with qxtest.raises_exactly(TypeError, f"{binding} expected {count} arguments, got 1"):
        getattr(tv, binding)(1)
    assert sim.calls(binding) == 0


def test_info_record_layout_and_float64_reserved_fields(sim, qxt):
    info = qxtest.new_record(tv, "Qx_Trovix_SignalInfo_t")
    physical = tv.Qx_Trovix_SignalInfo_t_Physical_get(info)
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_SignalInfo_t_Physical_reserved1_set', argument 2 of type 'float64_t'"):
        tv.Qx_Trovix_SignalInfo_t_Physical_reserved1_set(physical, 3)
    tv.Qx_Trovix_SignalInfo_t_Physical_Size_set(physical, 0x10002)
    assert tv.Qx_Trovix_SignalInfo_t_Physical_Size_get(physical) == 2
    assert layouts.size(INFO) == 336 and layouts.offset(INFO, "Physical.Size") == 330
