"""Diagnostic session state: the four state values appended to the result,
the same values handed to a native callback, and switching a session off."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

from qxtest import raises_exactly as raises  # noqa: E402
from tp_control import DIAG_STATE_READY, DIAG_TYPE, channel, logged, records, take, tp  # noqa: E402,F401

GET = "Qx_Can_Diag_GetState"


@pytest.fixture
def session(port, channel, records):
    """A UDS session over ISO 15765 on the test's channel."""
    can.Qx_Can_Tp_Config_Iso15765(port, channel, records("Qx_Can_Tp_Config_Iso15765_Cmd_t"))
    can.Qx_Can_Diag_Config_Uds(port, channel, 1, 0, 0, records("Qx_Can_Diag_Config_Uds_Parameters_t"))
    return channel


def test_get_state_returns_error_state_type_and_flags_as_steered(sim, port, session, tp):
    assert can.Qx_Can_Diag_GetState(port, session, 0x80000001) == [0, DIAG_STATE_READY, DIAG_TYPE["Uds"], 0]
    call = sim.last(GET)
    assert [call.arg(n).value for n in (1, 2, 3)] == [port, session, 0x80000001]
    assert all(not call.arg(n).is_null for n in (4, 5, 6, 7))
    assert tp.diag_state(port, session, 2**32 - 1, 0xAB, 0xFFFFFFFE) == 0
    assert can.Qx_Can_Diag_GetState(port, session, 0) == [2**32 - 1, 0xAB, DIAG_TYPE["Uds"], 0xFFFFFFFE]


def test_get_state_of_a_channel_without_session_is_four_zeros(sim, port, channel):
    assert can.Qx_Can_Diag_GetState(port, channel, 0) == [0, 0, 0, 0]


def test_get_state_appends_the_outputs_in_native_order(sim, port, channel):
    # what the library writes into each output cell decides its element
    sim.output(GET, 4, struct.pack("<I", 0xDEADBEEF))
    sim.output(GET, 5, b"\xfe")
    sim.output(GET, 6, b"\x07")
    sim.output(GET, 7, struct.pack("<I", 9))
    assert can.Qx_Can_Diag_GetState(port, channel, 0) == [0xDEADBEEF, 0xFE, 7, 9]


@pytest.mark.parametrize("args, cls, message", [
    (lambda p: (p, 1.0, 0), TypeError, f"in method '{GET}', argument 2 of type 'u8_t'"),
    (lambda p: (p, 2**32, 0), OverflowError, f"in method '{GET}', argument 2 of type 'u8_t'"),
    (lambda p: (p, 1, -1), OverflowError, f"in method '{GET}', argument 3 of type 'Qx_Can_Diag_GetState_CmdFlags_t'"),
    (lambda p: (p, 1, 1.0), TypeError, f"in method '{GET}', argument 3 of type 'Qx_Can_Diag_GetState_CmdFlags_t'"),
    (lambda p: (-1, 1, 0), OverflowError, f"in method '{GET}', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: (p, 1), TypeError, f"{GET} expected 3 arguments, got 2"),
])
def test_get_state_argument_errors(sim, port, args, cls, message):
    with raises(cls, message):
        can.Qx_Can_Diag_GetState(*args(port))
    assert sim.calls(GET) == 0


def test_a_channel_above_255_reaches_the_library_truncated(sim, port, session):
    assert can.Qx_Can_Diag_GetState(port, 256 + session, 0)[2] == DIAG_TYPE["Uds"]
    with raises(Exception, f"{GET}: no channel 0 (channels are 1 to 16)"):
        can.Qx_Can_Diag_GetState(port, 256, 0)
    assert sim.last(GET).arg(2).value == 0


def test_a_failed_get_state_raises_and_returns_nothing(sim, port, session, tp):
    tp.diag_state(port, session, 5, 6, 7)
    sim.fail(GET, 0x45, b"no response from the ECU")
    with raises(Exception, "no response from the ECU"):
        can.Qx_Can_Diag_GetState(port, session, 0)


def test_config_off_ends_the_session(sim, port, session):
    assert can.Qx_Can_Diag_Config_Off(port, session) is None
    assert [a.value for a in sim.last("Qx_Can_Diag_Config_Off").args] == [port, session]
    assert can.Qx_Can_Diag_GetState(port, session, 0) == [0, 0, 0, 0]
    with raises(Exception, f"Qx_Can_Diag_Config_Off: no diagnostic session configured on channel {session}"):
        can.Qx_Can_Diag_Config_Off(port, session)
    with raises(TypeError, "Qx_Can_Diag_Config_Off expected 2 arguments, got 1"):
        can.Qx_Can_Diag_Config_Off(port)


# ---- the asynchronous state query -----------------------------------------------------

def test_get_state_async_hands_the_state_to_the_channels_callback(sim, port, qxt, logged, tp, session, take):
    other = take()
    callback = qxt.qxt_tp_diag_state_callback()
    assert can.Qx_Can_Diag_GetState_Async_AddCallback(port, session, callback) is None
    assert [a.value for a in sim.last("Qx_Can_Diag_GetState_Async_AddCallback").args] == [port, session,
                                                                                          int(callback)]
    tp.diag_state(port, session, 0x7F, 3, 0x10)
    assert can.Qx_Can_Diag_GetState_Async(port, session, 0x0101) is None
    assert [a.value for a in sim.last("Qx_Can_Diag_GetState_Async").args] == [port, session, 0x0101]
    assert logged() == [[3, port, session, 0x7F, 3, DIAG_TYPE["Uds"], 0x10]]
    # the same values as the synchronous query
    assert can.Qx_Can_Diag_GetState(port, session, 0) == logged()[0][3:]
    with raises(Exception, f"Qx_Can_Diag_GetState_Async: no callback registered for channel {other}"):
        can.Qx_Can_Diag_GetState_Async(port, other, 0)
    assert can.Qx_Can_Diag_GetState_Async_RemoveCallback(port, session) is None
    with raises(Exception, f"Qx_Can_Diag_GetState_Async: no callback registered for channel {session}"):
        can.Qx_Can_Diag_GetState_Async(port, session, 0)
    assert len(logged()) == 1


def test_get_state_async_callback_is_none_or_a_native_function_of_its_type(sim, port, qxt, channel):
    function, message = ("Qx_Can_Diag_GetState_Async_AddCallback",
                         "in method 'Qx_Can_Diag_GetState_Async_AddCallback', argument 3 of type "
                         "'Qx_Can_Diag_GetState_Async_Callback_t const'")
    for wrong in (lambda *a: None, qxt.qxt_tp_channel_callback(), qxt.qxt_tp_broadcast_callback(),
                  qxt.qxt_can_list_item_callback(), 0):
        with raises(TypeError, message):
            can.Qx_Can_Diag_GetState_Async_AddCallback(port, channel, wrong)
    assert sim.calls(function) == 0
    with raises(Exception, f"{function}: no callback given"):
        can.Qx_Can_Diag_GetState_Async_AddCallback(port, channel, None)
    assert sim.last(function).arg(3).is_null


@pytest.mark.parametrize("function, rest", [
    ("Qx_Can_Diag_Config_Off", ()),
    ("Qx_Can_Diag_GetState_Async_RemoveCallback", ()),
    ("Qx_Can_Diag_GetState_Async", (0,)),
    ("Qx_Can_Diag_GetState_Async_AddCallback", (None,)),
])
def test_state_bindings_return_none_or_raise_the_status_text(sim, port, qxt, session, function, rest):
    can.Qx_Can_Diag_GetState_Async_AddCallback(port, session, qxt.qxt_tp_diag_state_callback())
    sim.fail(function, 0x11, b"scripted")
    with raises(Exception, "scripted"):
        getattr(can, function)(port, session, *rest)
    sim.fail(function, 0)
    if function != "Qx_Can_Diag_GetState_Async_AddCallback":  # the library refuses a NULL callback itself
        assert getattr(can, function)(port, session, *rest) is None
    qxt.qxt_tp_clear()
