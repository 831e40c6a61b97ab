"""The toy library's module: a level in, what the library received, the
library's error text for a level it refuses, and the native callback it
calls with each new level (made by the helper module)."""
import qxtest
from qxtest import raises_exactly

toy = qxtest.module("_qx_api_toy")


def test_level_reaches_the_library_and_its_callback(sim, qxt, port):
    assert toy.Qx_Toy_Level_SetCallback(port, qxt.qxt_toy_level_callback()) is None
    calls = qxt.qxt_toy_callback_calls()
    assert toy.Qx_Toy_Level_Set(port, toy.QX_TOY__LEVEL_MAX) is None
    call = sim.last("Qx_Toy_Level_Set")
    assert [call.arg(1).value, call.arg(2).value] == [port, 100]
    assert qxt.qxt_toy_callback_calls() == calls + 1
    assert qxt.qxt_toy_last_callback() == [port, 100]


def test_refused_levels_and_callbacks(sim, port):
    with raises_exactly(Exception, "Qx_Toy_Level_Set: level 101 above 100"):
        toy.Qx_Toy_Level_Set(port, 101)
    with raises_exactly(OverflowError, "in method 'Qx_Toy_Level_Set', argument 2 of type 'u32_t'"):
        toy.Qx_Toy_Level_Set(port, 2**32)
    assert sim.calls("Qx_Toy_Level_Set") == 1
    with raises_exactly(TypeError, "in method 'Qx_Toy_Level_SetCallback', argument 2 of type 'Qx_Toy_LevelCallback_t const'"):
        toy.Qx_Toy_Level_SetCallback(port, print)
    assert sim.calls("Qx_Toy_Level_SetCallback") == 0
