"""The toy library's module: a level in, what the library received, the
library's error text for a level it refuses, and the native callback it
calls with each new level (made by the helper module); a sequence of steps
given in an array of the storage module, which makes arrays of the toy's
step record from the toy's parameter table alone."""
import layouts
import qxtest
from qxtest import raises_exactly

toy = qxtest.module("_qx_api_toy")
st = qxtest.module("_qx_storage")
STEP = "Qx_Toy_Step_t"


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


def steps(*levels):
    """A storage-module array of steps of these levels, held 20 ms each."""
    array = st.new_Qx_Toy_Step_t_array(len(levels))
    for i, level in enumerate(levels):
        st.Qx_Toy_Step_t_array_setitem(array, i, qxtest.new_record(toy, STEP, Level=level, Duration=20))
    return array


def test_steps_in_a_storage_array_reach_the_library_with_their_count_checked(sim, qxt, port):
    toy.Qx_Toy_Level_SetCallback(port, qxt.qxt_toy_level_callback())
    calls = qxt.qxt_toy_callback_calls()
    array = steps(10, 50, 100)
    with raises_exactly(ValueError, "too few records given for the count in method 'Qx_Toy_Level_Steps', argument 3 "
                                    "of type 'Qx_Toy_Step_t const *const'"):
        toy.Qx_Toy_Level_Steps(port, 4, array)
    assert sim.calls("Qx_Toy_Level_Steps") == 0
    assert toy.Qx_Toy_Level_Steps(port, 3, array) is None
    call = sim.last("Qx_Toy_Level_Steps")
    assert [call.arg(2).value, call.arg(3).value] == [3, int(array)]
    assert call.arg(3).bytes == b"".join(layouts.pack(STEP, Level=level, Duration=20) for level in (10, 50, 100))
    assert qxt.qxt_toy_callback_calls() == calls + 3
    assert qxt.qxt_toy_last_callback() == [port, 100]


def test_a_step_the_library_refuses_sets_no_level(sim, qxt, port):
    toy.Qx_Toy_Level_SetCallback(port, qxt.qxt_toy_level_callback())
    calls = qxt.qxt_toy_callback_calls()
    with raises_exactly(Exception, "Qx_Toy_Level_Steps: step 1: level 101 above 100"):
        toy.Qx_Toy_Level_Steps(port, 2, steps(10, 101))
    assert qxt.qxt_toy_callback_calls() == calls
