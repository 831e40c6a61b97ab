"""The storage module's own objects: arrays and cells of each element type,
values checked against their type, counts, indexes, extents, lifetime, and
bytes in and out (cdata, memmove)."""
import gc
import re
import struct

import pytest

import _qx_api as q
import qxtest
from qxtest import raises_exactly

st = qxtest.module("_qx_storage")


SIZE_MAX = 2**(8 * struct.calcsize("N")) - 1
NOT_INTS = ["1", None, 1.5, b"\x01"]
NOT_NUMBERS = ["1.5", None, b"\x01", [1.0]]

# name (the type without _t), its C type, values it holds, values beyond it,
# values of another kind
ELEMENTS = [
    ("u8", "u8_t", [0, 255, True], [-1, 256], NOT_INTS),
    ("u16", "u16_t", [0, 0xBEEF, 0xFFFF], [-1, 0x10000], NOT_INTS),
    ("u32", "u32_t", [0, 2**32 - 1], [-1, 2**32], NOT_INTS),
    ("u64", "u64_t", [0, 2**64 - 1], [-1, 2**64], NOT_INTS),
    ("s32", "s32_t", [-2**31, -1, 2**31 - 1], [-2**31 - 1, 2**31], NOT_INTS),
    ("s64", "s64_t", [-2**63, -1, 2**63 - 1], [-2**63 - 1, 2**63], NOT_INTS),
    ("float", "float", [0.5, -3.25, float("inf"), 2**24], [1e39, -1e39, 10**400], NOT_NUMBERS),
    ("float64", "float64_t", [0.5, -1e300, 5e-324, float("-inf"), 3], [10**400, -10**400], NOT_NUMBERS),
]
# the status, state and handle types: cells only
CELLS = ELEMENTS + [
    ("size", "size_t", [0, SIZE_MAX], [-1, SIZE_MAX + 1], NOT_INTS),
    ("Qx_Error", "Qx_Error_t", [0, 2**32 - 1], [-1, 2**32], NOT_INTS),
    ("Qx_Common_EventHandle", "Qx_Common_EventHandle_t", [0, SIZE_MAX], [-1, SIZE_MAX + 1], NOT_INTS),
    ("Qx_Trovix_SoAd_SoCon_State", "Qx_Trovix_SoAd_SoCon_State_t", [2, -2**31, 2**31 - 1], [2**31, -2**31 - 1],
     NOT_INTS),
]


def fn(name):
    return getattr(st, name)


def same(got, value, ctype):
    """The value read back is the value stored: a float for the floating
    types (an int given is converted), else an int."""
    return got == value and type(got) is (float if ctype.startswith("float") else int)


# ---- values ----------------------------------------------------------------------------

@pytest.mark.parametrize("name, ctype, values, beyond, others", ELEMENTS, ids=[e[0] for e in ELEMENTS])
def test_array_elements_hold_every_value_of_their_type(name, ctype, values, beyond, others):
    array = fn(f"new_{name}_array")(3)
    get, put = fn(f"{name}_array_getitem"), fn(f"{name}_array_setitem")
    assert repr(array).startswith(f"<Swig Object of type '{ctype} *' at ")
    assert [get(array, i) for i in range(3)] == [0, 0, 0]
    for value in values:
        put(array, 1, value)
        assert same(get(array, 1), value, ctype), (value, get(array, 1))
    assert get(array, 0) == get(array, 2) == 0
    put(array, 1, values[0])
    for value in beyond:
        with raises_exactly(OverflowError, f"in method '{name}_array_setitem', argument 3 of type '{ctype}'"):
            put(array, 1, value)
    for value in others:
        with raises_exactly(TypeError, f"in method '{name}_array_setitem', argument 3 of type '{ctype}'"):
            put(array, 1, value)
    assert same(get(array, 1), values[0], ctype)  # a refused value stores nothing


@pytest.mark.parametrize("name, ctype, values, beyond, others", CELLS, ids=[e[0] for e in CELLS])
def test_cells_hold_every_value_of_their_type(name, ctype, values, beyond, others):
    assign, value_of = fn(f"{name}_p_assign"), fn(f"{name}_p_value")
    cell = fn(f"new_{name}_p")()
    # (an enumeration's type is named as the module that first declared it
    # spells it: "enum Qx_Trovix_SoAd_SoCon_State_t *" where _qx_api_trovix was
    # loaded first)
    assert re.match(rf"<Swig Object of type '(enum )?{ctype} \*' at ", repr(cell)), repr(cell)
    assert value_of(cell) == 0
    for value in values:
        assert same(value_of(fn(f"copy_{name}_p")(value)), value, ctype)
        assign(cell, value)
        assert same(value_of(cell), value, ctype)
    for value in beyond:
        with raises_exactly(OverflowError, f"in method 'copy_{name}_p', argument 1 of type '{ctype}'"):
            fn(f"copy_{name}_p")(value)
        with raises_exactly(OverflowError, f"in method '{name}_p_assign', argument 2 of type '{ctype}'"):
            assign(cell, value)
    for value in others:
        with raises_exactly(TypeError, f"in method '{name}_p_assign', argument 2 of type '{ctype}'"):
            assign(cell, value)
    assert same(value_of(cell), values[-1], ctype)


def test_floats_keep_what_a_float_holds():
    assert st.float_p_value(st.copy_float_p(0.1)) == struct.unpack("<f", struct.pack("<f", 0.1))[0]
    assert st.float64_p_value(st.copy_float64_p(0.1)) == 0.1
    nan = st.float64_p_value(st.copy_float64_p(float("nan")))
    assert nan != nan


# ---- counts and indexes ----------------------------------------------------------------------

@pytest.mark.parametrize("count, exc, message", [
    (0, ValueError, "a count of 0 given for an array in method 'new_u16_array', argument 1 of type 'size_t'"),
    (-1, OverflowError, "in method 'new_u16_array', argument 1 of type 'size_t'"),
    (SIZE_MAX + 1, OverflowError, "in method 'new_u16_array', argument 1 of type 'size_t'"),
    # more bytes than a native call reads or writes (2**32 - 1)
    *((count, OverflowError, "a count beyond 4294967295 bytes given for an array in method 'new_u16_array', "
                             "argument 1 of type 'size_t'") for count in (2**31, 2**62, SIZE_MAX)),
    (2.0, TypeError, "in method 'new_u16_array', argument 1 of type 'size_t'"),
    ("2", TypeError, "in method 'new_u16_array', argument 1 of type 'size_t'"),
    (None, TypeError, "in method 'new_u16_array', argument 1 of type 'size_t'"),
])
def test_bad_counts_are_refused(count, exc, message):
    with raises_exactly(exc, message):
        st.new_u16_array(count)


@pytest.mark.parametrize("index", [-1, 4, 2**63, -2**64])
def test_an_index_outside_the_array_is_refused(index):
    array = st.new_u32_array(4)
    st.u32_array_setitem(array, 3, 7)
    for call, args in ((st.u32_array_getitem, ()), (st.u32_array_setitem, (1,))):
        with raises_exactly(IndexError, f"index out of range in method '{call.__name__}', argument 2 of type 'size_t'"):
            call(array, index, *args)
    assert [st.u32_array_getitem(array, i) for i in range(4)] == [0, 0, 0, 7]
    with raises_exactly(TypeError, "in method 'u32_array_getitem', argument 2 of type 'size_t'"):
        st.u32_array_getitem(array, 1.0)


def test_views_of_members_are_indexed_within_the_member():
    data = qxtest.new_record(q, "Qx_Data_t")
    view = q.Qx_Data_t_U16_get(data)  # the 4 u16_t of an 8-byte union
    st.u16_array_setitem(view, 3, 0xBEEF)
    assert q.Qx_Data_t_U8_get(data)[6:] == [0xEF, 0xBE]
    with raises_exactly(IndexError, "index out of range in method 'u16_array_getitem', argument 2 of type 'size_t'"):
        st.u16_array_getitem(view, 4)
    assert st.u64_p_value(q.Qx_Data_t_U64_get(data)) == 0xBEEF << 48


def test_objects_of_unknown_extent_are_read_as_far_as_asked(qxt):
    outside = qxt.qxt_u8_array(range(16))  # made outside the modules: nobody knows its extent
    assert st.u8_array_getitem(outside, 15) == 15
    assert st.cdata(outside, 16) == bytes(range(16))


# ---- lifetime --------------------------------------------------------------------------------

def test_delete_frees_once_and_a_deleted_object_is_refused_everywhere(port):
    array = st.new_u8_array(4)
    st.delete_u8_array(array)
    st.delete_u8_array(array)  # a second delete frees nothing
    st.delete_u8_array(None)
    assert not array.own() and int(array) == 0
    for call, message in [
            (lambda: st.u8_array_getitem(array, 0), "in method 'u8_array_getitem', argument 1 of type 'u8_t *'"),
            (lambda: st.cdata(array, 1), "in method 'cdata', argument 1 of type 'void *'"),
            # the modules refuse it like a deleted record
            (lambda: q.Qx_Fpga_WriteFifo(port, array, 1),
             "in method 'Qx_Fpga_WriteFifo', argument 2 of type 'u8_t const *const'")]:
        with raises_exactly(ValueError, "invalid null reference " + message):
            call()
    cell = st.copy_float64_p(2.5)
    st.delete_float64_p(cell)
    with raises_exactly(ValueError, "invalid null reference in method 'float64_p_value', argument 1 of type "
                                    "'float64_t *'"):
        st.float64_p_value(cell)


def test_delete_of_a_view_frees_nothing():
    data = qxtest.new_record(q, "Qx_Data_t")
    view = q.Qx_Data_t_U16_get(data)
    st.delete_u16_array(view)
    st.u16_array_setitem(view, 0, 1)
    assert q.Qx_Data_t_U8_get(data)[0] == 1


@pytest.mark.parametrize("make", [lambda: st.new_u8_array(64), lambda: st.copy_float64_p(1.5),
                                  lambda: st.new_Qx_Common_EventHandle_p()], ids=["array", "cell", "handle cell"])
def test_collected_objects_free_their_storage_silently(capfd, make):
    qxtest.frees_itself_silently(capfd, make)


# ---- bytes in and out ------------------------------------------------------------------------

@pytest.mark.parametrize("data", [b"\x01\x02\xff", bytearray(b"\x01\x02\xff"), memoryview(b"\x00\x01\x02\xff")[1:]])
def test_memmove_copies_bytes_in_and_cdata_reads_them(data):
    buffer = st.new_u8_array(4)
    assert st.memmove(buffer, data) is None
    assert st.cdata(buffer, 4) == b"\x01\x02\xff\x00"
    assert [st.u8_array_getitem(buffer, i) for i in range(4)] == [1, 2, 255, 0]
    st.memmove(buffer, b"")
    assert type(st.cdata(buffer, 0)) is bytes and st.cdata(buffer, 0) == b""


def test_bytes_reach_any_storage_object_within_its_extent():
    record = qxtest.new_record(q, "Qx_IpAddress_t")
    st.memmove(record, bytes([192, 168, 0, 1]))
    assert q.Qx_IpAddress_t_All_get(record) == 0x0100A8C0
    assert st.cdata(record, 4) == bytes([192, 168, 0, 1])
    assert st.cdata(st.copy_s32_p(-2), 4) == struct.pack("<i", -2)


@pytest.mark.parametrize("call, message", [
    (lambda b: st.cdata(b, 5), "too few bytes given for the call in method 'cdata', argument 1 of type 'void *'"),
    (lambda b: st.cdata(b, 2**63), "too few bytes given for the call in method 'cdata', argument 1 of type 'void *'"),
    (lambda b: st.memmove(b, b"\xee" * 5), "too few bytes given for the call in method 'memmove', argument 1 of type "
                                           "'void *'"),
    (lambda b: st.cdata(None, 1), "invalid null reference in method 'cdata', argument 1 of type 'void *'"),
    (lambda b: st.memmove(None, b"\x01"), "invalid null reference in method 'memmove', argument 1 of type 'void *'"),
])
def test_bytes_beyond_the_extent_are_refused_and_nothing_is_written(call, message):
    buffer = st.new_u8_array(4)
    st.memmove(buffer, b"\x01\x02\x03\x04")
    with raises_exactly(ValueError, message):
        call(buffer)
    assert st.cdata(buffer, 4) == b"\x01\x02\x03\x04"


@pytest.mark.parametrize("call, exc, message", [
    (lambda b: st.memmove(b, "text"), TypeError, "in method 'memmove', argument 2 of type 'void const *'"),
    (lambda b: st.memmove(b, [1, 2]), TypeError, "in method 'memmove', argument 2 of type 'void const *'"),
    (lambda b: st.memmove(b"\x01", b"\x01"), TypeError, "in method 'memmove', argument 1 of type 'void *'"),
    (lambda b: st.cdata(b, -1), OverflowError, "in method 'cdata', argument 2 of type 'size_t'"),
    (lambda b: st.cdata(b, 1.0), TypeError, "in method 'cdata', argument 2 of type 'size_t'"),
    (lambda b: st.cdata(b), TypeError, "cdata expected 2 arguments, got 1"),
])
def test_bytes_in_and_out_refuse_other_objects(call, exc, message):
    with raises_exactly(exc, message):
        call(st.new_u8_array(4))
