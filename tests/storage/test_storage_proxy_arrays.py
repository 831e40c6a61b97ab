"""The array classes of the proxy module qx_storage (qx_storage.u8_array(n),
qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(n)): item access with negative
indexes, slices read and assigned (against the same slice of a list), length,
iteration, cast(), instances given to the four modules as they are, storage
freed when collected, deleted arrays refused on every use, and record items
(in slices too) that are views into the array, instances of the record's
proxy class.

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


# the struct format of each element type, to read an array's bytes
FORMATS = {"u8": "B", "u16": "H", "u32": "I", "u64": "Q", "s32": "i", "s64": "q", "float": "f", "float64": "d"}


def array_bytes(array, name):
    return st.cdata(array.cast(), len(array) * struct.calcsize(FORMATS[name]))


def slice_id(selected):
    def bound(value):
        if value is None:
            return ""
        if isinstance(value, int) and abs(value) > 2**32:
            return f"{'-' if value < 0 else ''}2**{abs(value).bit_length() - 1}"
        return repr(value)
    return ":".join(bound(value) for value in (selected.start, selected.stop, selected.step))


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


# Slices of an array of seven against the same slice of a list: bounds from
# either end, steps either way, empty and reversed ranges, bounds beyond
# either end (and beyond any index).
SLICES = [slice(None), slice(2, 5), slice(-3, None), slice(None, -2), slice(-5, -1), slice(None, None, 2),
          slice(1, None, 3), slice(None, None, -1), slice(-2, 1, -2), slice(5, 0, -3), slice(4, 2), slice(3, 3),
          slice(0, 0, -1), slice(-100, 100), slice(100, None), slice(None, -100, -1), slice(-2**70, 2**70, 2**70)]


@pytest.mark.parametrize("selected", SLICES, ids=slice_id)
def test_a_slice_is_a_list_of_the_elements_that_the_same_slice_of_a_list_selects(selected):
    model = [11, 22, 33, 44, 55, 66, 0xFFFF]
    array = qx_storage.u16_array(len(model))
    for i, value in enumerate(model):
        st.u16_array_setitem(array.cast(), i, value)
    got = array[selected]
    assert type(got) is list and got == model[selected]
    assert list(array) == model


@pytest.mark.parametrize("selected", [slice(None, None, 0), slice("1", None), slice(None, 2.0)], ids=slice_id)
def test_a_bad_slice_is_refused_as_a_list_refuses_it(selected):
    model, array = [0, 0, 0], qx_storage.u8_array(3)
    with pytest.raises(Exception) as read:
        model[selected]
    with raises_exactly(type(read.value), str(read.value)):
        array[selected]
    with pytest.raises(Exception) as written:
        model[selected] = [1, 2, 3]
    with raises_exactly(type(written.value), str(written.value)):
        array[selected] = [1, 2, 3]
    assert list(array) == [0, 0, 0]


@pytest.mark.parametrize("index", ["1", 1.0, None])
def test_an_index_neither_int_nor_slice_is_refused_by_the_flat_function(index):
    array = qx_storage.u8_array(3)
    with raises_exactly(TypeError, "in method 'u8_array_getitem', argument 2 of type 'size_t'"):
        array[index]
    with raises_exactly(TypeError, "in method 'u8_array_setitem', argument 2 of type 'size_t'"):
        array[index] = 1


# Slices assigned in an array of six, each given as many values as it selects
# (three, one, none).
ASSIGNED = [slice(1, 4), slice(None, None, 2), slice(-1, None, -2), slice(4, 1, -1), slice(-1, None), slice(3, 3)]


@pytest.mark.parametrize("selected", ASSIGNED, ids=slice_id)
@pytest.mark.parametrize("name, values, beyond", SCALARS, ids=[s[0] for s in SCALARS])
def test_a_slice_assignment_writes_the_selected_elements_and_no_other(name, values, beyond, selected):
    array, model = getattr(qx_storage, f"{name}_array")(6), [0] * 6
    given = values[:len(model[selected])]
    array[selected] = (value for value in given)  # any iterable: its values are taken first
    model[selected] = given
    assert array_bytes(array, name) == struct.pack(f"<6{FORMATS[name]}", *model)


def stops_after_two():
    yield 9
    yield 9
    raise LookupError("the source failed")


# array kind, slice of an array of six, values given, what is raised
REFUSED = [
    ("u8", slice(0, 3), [9, 9], ValueError,
     "u8_array slice assignment: a sequence of size 2 given for a slice of size 3 (the array's length is fixed)"),
    ("u8", slice(None, None, -2), [9, 9, 9, 9], ValueError,
     "u8_array slice assignment: a sequence of size 4 given for a slice of size 3 (the array's length is fixed)"),
    ("u8", slice(2, 2), [9], ValueError,
     "u8_array slice assignment: a sequence of size 1 given for a slice of size 0 (the array's length is fixed)"),
    ("u8", slice(0, 3), [9, 256, 9], OverflowError, "in method 'u8_array_setitem', argument 3 of type 'u8_t'"),
    ("u8", slice(0, 3), [9, "9", 9], TypeError, "in method 'u8_array_setitem', argument 3 of type 'u8_t'"),
    ("s32", slice(None, None, -1), [9, 9, -2**31 - 1, 9, 9, 9], OverflowError,
     "in method 's32_array_setitem', argument 3 of type 's32_t'"),
    ("u64", slice(1, None, 2), [9, -1, 9], OverflowError, "in method 'u64_array_setitem', argument 3 of type 'u64_t'"),
    ("float", slice(1, 4), [0.5, 1e39, 0.5], OverflowError, "in method 'float_array_setitem', argument 3 of type 'float'"),
    ("float64", slice(1, 4), [0.5, None, 0.5], TypeError,
     "in method 'float64_array_setitem', argument 3 of type 'float64_t'"),
    ("u16", slice(0, 3), 9, TypeError, "u16_array slice assignment takes an iterable, not 'int'"),
    ("u16", slice(0, 1), None, TypeError, "u16_array slice assignment takes an iterable, not 'NoneType'"),
    ("u16", slice(0, 3), stops_after_two, LookupError, "the source failed"),
]


@pytest.mark.parametrize("name, selected, values, exc, message", REFUSED,
                         ids=[f"{r[0]}[{slice_id(r[1])}] {r[3].__name__}" for r in REFUSED])
def test_a_refused_slice_assignment_writes_nothing(name, selected, values, exc, message):
    array = getattr(qx_storage, f"{name}_array")(6)
    for i in range(6):
        array[i] = i + 1
    before = array_bytes(array, name)
    with raises_exactly(exc, message):
        array[selected] = values() if callable(values) else values
    assert array_bytes(array, name) == before


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
@pytest.mark.parametrize("selected", SLICES, ids=slice_id)
@isolated
def test_a_record_slice_is_a_list_of_views_of_the_records_that_the_same_slice_of_a_list_selects(selected):
    import qx_api_common as c
    signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(7)
    for i in range(7):
        st.Qx_Common_Xcp_Daq_Signal_t_array_getitem(signals.cast(), i).Handle = 100 + i
    positions = list(range(7))[selected]
    got = signals[selected]
    assert type(got) is list and all(type(item) is c.Qx_Common_Xcp_Daq_Signal_t for item in got)
    start, size = int(signals.cast()), layouts.size(SIGNAL)
    assert [int(item.this) for item in got] == [start + i * size for i in positions]
    assert [item.Handle for item in got] == [100 + i for i in positions]


@skip_if_left_out("common")
@isolated
def test_record_slice_items_write_into_the_array_and_keep_it(capfd):
    signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(4)
    views = signals[::-1]
    views[0].Handle, views[3].Address = 7, XCP_MEMORY
    assert (signals[3].Handle, signals[0].Address) == (7, XCP_MEMORY)
    del signals
    gc.collect()
    for _ in range(100):
        qx_storage.u8_array(4 * layouts.size(SIGNAL))
    views[1].DataType = 4  # still into the array, which the views keep
    assert [(v.Handle, v.DataType, v.Address) for v in views] == [(7, 0, 0), (0, 4, 0), (0, 0, 0), (0, 0, XCP_MEMORY)]
    assert layouts.unpack(SIGNAL, st.cdata(views[3].this, layouts.size(SIGNAL)))["Address"] == XCP_MEMORY
    drained(capfd)
    del views
    gc.collect()
    assert qxtest.c_stdout(capfd) == ""


@skip_if_left_out("common")
@isolated
def test_a_record_slice_assignment_copies_every_record_in_or_none():
    import qx_api_common as c
    signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(5)
    for i, signal in enumerate(signals):
        signal.Handle = 100 + i
    size = layouts.size(SIGNAL)

    def handles():
        data = st.cdata(signals.cast(), 5 * size)
        return [layouts.unpack(SIGNAL, data[i * size:(i + 1) * size])["Handle"] for i in range(5)]

    record = c.Qx_Common_Xcp_Daq_Signal_t()
    record.Handle = 7
    signals[::-4] = [record, record]  # records 4 and 0
    record.Handle = 8  # copies: the array keeps 7
    assert handles() == [7, 101, 102, 103, 7]
    signals[1:4] = signals[0:3]  # views of the records overwritten: all read before any is written
    assert handles() == [7, 7, 101, 102, 7]
    before = st.cdata(signals.cast(), 5 * size)
    with raises_exactly(TypeError, f"in method '{SIGNAL}_array_setitem', argument 3 of type '{SIGNAL}'"):
        signals[0:3] = [record, c.Qx_Common_Xcp_Daq_RxSignal_t(), record]
    with raises_exactly(ValueError, f"{SIGNAL}_array slice assignment: a sequence of size 2 given for a slice of "
                                    "size 3 (the array's length is fixed)"):
        signals[-3:] = [record, record]
    assert st.cdata(signals.cast(), 5 * size) == before


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


# ---- deleted arrays ------------------------------------------------------------------------------

# Every use of an array but cast(), each given what a live array of any kind
# would refuse or take.
DELETED_USES = {
    "len": len,
    "index": lambda a: a[0],
    "negative index": lambda a: a[-1],
    "index beyond": lambda a: a[3],
    "slice": lambda a: a[::-1],
    "empty slice": lambda a: a[2:2],
    "index assignment": lambda a: a.__setitem__(-1, 1),
    "slice assignment": lambda a: a.__setitem__(slice(0, 2), [1, 1]),
    "empty slice assignment": lambda a: a.__setitem__(slice(0, 0), []),
    "slice assignment of the wrong size": lambda a: a.__setitem__(slice(0, 2), [1]),
    "iter": iter,
    "list": list,
}


@pytest.mark.parametrize("use", DELETED_USES.values(), ids=DELETED_USES.keys())
@pytest.mark.parametrize("kind, element", [
    ("u16_array", "u16_t"),
    ("float64_array", "float64_t"),
    pytest.param(SIGNAL + "_array", SIGNAL, marks=skip_if_left_out("common")),
])
@isolated  # the record array's items import its proxy module
def test_every_use_of_a_deleted_array_raises_the_error_of_the_flat_getitem(kind, element, use):
    array = getattr(qx_storage, kind)(3)
    getattr(st, "delete_" + kind)(array.cast())
    assert int(array.this) == 0
    with raises_exactly(ValueError, f"invalid null reference in method '{kind}_getitem', argument 1 of type "
                                    f"'{element} *'"):
        use(array)


def test_an_iterator_of_an_array_deleted_meanwhile_raises_the_same_error():
    array = qx_storage.u16_array(3)
    array[:] = [1, 2, 3]
    items = iter(array)
    assert next(items) == 1
    st.delete_u16_array(array.this)
    with raises_exactly(ValueError, "invalid null reference in method 'u16_array_getitem', argument 1 of type "
                                    "'u16_t *'"):
        next(items)
