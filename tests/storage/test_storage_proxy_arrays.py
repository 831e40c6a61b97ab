"""The array classes of the proxy module qx_storage (qx_storage.u8_array(n),
qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(n)): item access with negative
indexes, length, iteration, cast(), instances given to the four modules as
they are, storage freed when collected, and record items that are views
into the array, instances of the record's proxy class.

Importing qx_storage registers nothing; the first item of a record array
imports the record's proxy module, which registers its classes for the rest
of the process: those tests run in a forked child (qxtest.isolated), and one
in a fresh interpreter."""
import gc
import os
import struct

import pytest

import _qx_api as q
import layouts
import qxtest
from qxtest import drained, isolated, raises_exactly, skip_if_left_out

st = qxtest.module("_qx_storage")
import qx_storage  # noqa: E402

SIGNAL = "Qx_Common_Xcp_Daq_Signal_t"

# name, values stored in turn, a value beyond the type
SCALARS = [
    ("u8", [1, 255, 7], 256), ("u16", [1, 0xFFFF, 7], -1), ("u32", [1, 2**32 - 1, 7], 2**32),
    ("u64", [1, 2**64 - 1, 7], 2**64), ("s32", [-2**31, 2**31 - 1, -7], 2**31), ("s64", [-2**63, 2**63 - 1, -7], 2**63),
    ("float", [0.5, -2.25, 2**24], 1e39), ("float64", [0.5, -1e300, 5e-324], 10**400),
]
C_TYPES = {"float": "float", "float64": "float64_t"}


def ctype(name):
    return C_TYPES.get(name, name + "_t")


@pytest.mark.parametrize("name, values, beyond", SCALARS, ids=[s[0] for s in SCALARS])
def test_scalar_arrays_are_sequences_of_their_elements(name, values, beyond):
    array = getattr(qx_storage, f"{name}_array")(3)
    assert len(array) == 3 and list(array) == [0, 0, 0]
    for i, value in enumerate(values):
        array[i - 3] = value  # -3, -2, -1: from the end
    assert list(array) == values and [array[i] for i in range(3)] == values
    assert array[-1] == values[2] and array[-3] == values[0]
    flat_get = getattr(st, f"{name}_array_getitem")
    assert [flat_get(array.cast(), i) for i in range(3)] == values
    with raises_exactly(OverflowError, f"in method '{name}_array_setitem', argument 3 of type '{ctype(name)}'"):
        array[1] = beyond
    assert array[1] == values[1]


@pytest.mark.parametrize("index", [3, -4, 2**64, -2**64])
@pytest.mark.parametrize("kind", ["u8", "float64"])
def test_an_index_beyond_either_end_is_refused_by_the_flat_function(kind, index):
    array = getattr(qx_storage, f"{kind}_array")(3)
    array[2] = 9
    for call in ("getitem", "setitem"):
        with raises_exactly(IndexError, f"index out of range in method '{kind}_array_{call}', argument 2 of type "
                                        "'size_t'"):
            if call == "getitem":
                array[index]
            else:
                array[index] = 1
    assert list(array) == [0, 0, 9]


@pytest.mark.parametrize("count, exc, message", [
    (0, ValueError, "a count of 0 given for an array in method 'new_u16_array', argument 1 of type 'size_t'"),
    (-1, OverflowError, "in method 'new_u16_array', argument 1 of type 'size_t'"),
    (2**31, OverflowError, "a count beyond 4294967295 bytes given for an array in method 'new_u16_array', argument 1 "
                           "of type 'size_t'"),
    ("3", TypeError, "in method 'new_u16_array', argument 1 of type 'size_t'"),
])
def test_bad_counts_are_refused_as_by_the_flat_function(count, exc, message):
    with raises_exactly(exc, message):
        qx_storage.u16_array(count)


def test_cast_is_the_owning_pointer_object_that_the_flat_functions_take():
    array = qx_storage.u32_array(4)
    pointer = array.cast()
    assert pointer is array.cast() and pointer.own()
    assert repr(pointer).startswith("<Swig Object of type 'u32_t *' at ")
    st.u32_array_setitem(pointer, 3, 0xDEADBEEF)
    assert array[3] == 0xDEADBEEF
    assert st.cdata(pointer, 16) == struct.pack("<4I", 0, 0, 0, 0xDEADBEEF)
    with raises_exactly(ValueError, "too few bytes given for the call in method 'cdata', argument 1 of type 'void *'"):
        st.cdata(pointer, 17)
    del array
    gc.collect()
    assert st.u32_array_getitem(pointer, 3) == 0xDEADBEEF  # the cast keeps the storage


def test_an_instance_is_given_to_a_module_as_it_is(sim, port):
    data = qx_storage.u8_array(3)
    data[0], data[1], data[2] = 0x01, 0x02, 0xFF
    q.Qx_Fpga_WriteFifo(port, data, 3)
    sent = sim.last("Qx_Fpga_WriteFifo").arg(2)
    assert sent.value == int(data.cast()) and sent.bytes == b"\x01\x02\xff"
    with raises_exactly(ValueError, "too few bytes given for the call in method 'Qx_Fpga_WriteFifo', argument 2 of "
                                    "type 'u8_t const *const'"):
        q.Qx_Fpga_WriteFifo(port, data, 4)
    back, length = qx_storage.u8_array(8), st.copy_u32_p(8)
    q.Qx_Fpga_ReadFifo(port, back, length)
    assert list(back)[:st.u32_p_value(length)] == [0x01, 0x02, 0xFF]
    with raises_exactly(TypeError, "in method 'Qx_Fpga_WriteFifo', argument 2 of type 'u8_t const *const'"):
        q.Qx_Fpga_WriteFifo(port, qx_storage.u16_array(2), 2)


@pytest.mark.parametrize("make", [
    pytest.param(lambda: qx_storage.u8_array(64), id="u8"),
    pytest.param(lambda: qx_storage.float64_array(8), id="float64"),
    pytest.param(lambda: getattr(qx_storage, SIGNAL + "_array")(4), id="records", marks=skip_if_left_out("common")),
])
def test_collected_instances_free_their_storage_silently(capfd, make):
    qxtest.frees_itself_silently(capfd, make)


# ---- record arrays -------------------------------------------------------------------------------

XCP_MEMORY = 0x00010000


@skip_if_left_out("common")
@isolated
def test_record_items_are_views_that_write_into_the_array(capfd):
    import qx_api_common as c
    signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(3)
    assert len(signals) == 3
    first = signals[0]
    assert type(first) is c.Qx_Common_Xcp_Daq_Signal_t and not first.this.own()
    first.Address = XCP_MEMORY
    signals[-1].Handle = 7
    record = c.Qx_Common_Xcp_Daq_Signal_t()
    record.DataType = 4
    signals[1] = record          # a copy
    record.DataType = 2
    size = layouts.size(SIGNAL)
    data = st.cdata(signals.cast(), 3 * size)
    assert [layouts.unpack(SIGNAL, data[i * size:(i + 1) * size])[f] for i, f in
            ((0, "Address"), (1, "DataType"), (2, "Handle"))] == [XCP_MEMORY, 4, 7]
    assert [s.DataType for s in signals] == [0, 4, 0]  # iteration yields views too
    with raises_exactly(IndexError, f"index out of range in method '{SIGNAL}_array_getitem', argument 2 of type "
                                    "'size_t'"):
        signals[-4]
    with raises_exactly(TypeError, f"in method '{SIGNAL}_array_setitem', argument 3 of type '{SIGNAL}'"):
        signals[0] = c.Qx_Common_Xcp_Daq_RxSignal_t()
    last = signals[2]
    del signals, first
    gc.collect()
    for _ in range(100):
        qx_storage.u8_array(3 * size)
    assert last.Handle == 7  # the view keeps the array
    drained(capfd)
    del record, last
    gc.collect()
    assert qxtest.c_stdout(capfd) == ""


@skip_if_left_out("common")
@isolated
def test_a_record_array_instance_is_given_to_a_binding_with_its_count_checked(sim, port):
    import qx_api_common as c
    init = c.Qx_Common_Xcp_Init_Can_Cmd_t()
    init.CanIdMaster, init.CanIdSlave, init.TxTimeout = 0x7F0, 0x7F1, 50
    c.Qx_Common_Xcp_Init_Can(port, 0, init)
    c.Qx_Common_Xcp_Cmd_Connect(port, 0, c.Qx_Common_Xcp_Cmd_Connect_Cmd_t(), c.Qx_Common_Xcp_Cmd_Connect_Rsp_t())
    signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(2)
    for i, signal in enumerate(signals):
        signal.Address, signal.DataType, signal.Handle = XCP_MEMORY + 4 * i, 4, 100 + i
    with raises_exactly(ValueError, "too few records given for the count in method 'Qx_Common_Xcp_Daq_SetSignals', "
                                    f"argument 5 of type '{SIGNAL} const *const'"):
        c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 3, signals)
    assert sim.calls("Qx_Common_Xcp_Daq_SetSignals") == 0
    c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 2, signals)
    sent = sim.last("Qx_Common_Xcp_Daq_SetSignals").arg(5)
    assert sent.value == int(signals.cast())
    assert sent.bytes == b"".join(layouts.pack(SIGNAL, Address=XCP_MEMORY + 4 * i, DataType=4, Handle=100 + i)
                                  for i in range(2))


FRESH = """
import sys
import qx_storage
signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(2)
assert "qx_api_common" not in sys.modules
item = signals[0]
proxy = sys.modules["qx_api_common"]  # imported by the array class, not by this script
assert isinstance(item, proxy.Qx_Common_Xcp_Daq_Signal_t), type(item)
item.Address = 0x10000
assert qx_storage._qx_storage.Qx_Common_Xcp_Daq_Signal_t_array_getitem(signals.cast(), 0).Address == 0x10000
print(type(item).__module__, type(item).__name__)
"""


@skip_if_left_out("common")
def test_in_a_fresh_interpreter_items_are_instances_of_the_proxy_class_unimported(tmp_path):
    script = tmp_path / "fresh.py"
    script.write_text(FRESH)
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "QX_BUILD_DIR")}
    env["PYTHONPATH"] = qxtest.proxy_folder()
    out, faults = qxtest.run_script(str(script), tmp_path, env)
    assert not faults, faults
    assert out == "qx_api_common Qx_Common_Xcp_Daq_Signal_t\n"
