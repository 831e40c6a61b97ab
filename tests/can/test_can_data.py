"""The CAN data record and the CAN list and scalar rules seen through records,
Qx_Can_InitInterface and trialprint."""
import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import _qx_api as base  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402



@pytest.fixture
def data():
    record = qxtest.new_record(can, "Qx_Can_Data_t")
    yield record
    can.delete_Qx_Can_Data_t(record)


# ---- Qx_Can_Data_t ---------------------------------------------------------

def test_a_new_data_record_is_64_zero_bytes_in_every_view(data):
    assert can.Qx_Can_Data_t_U8_get(data) == [0] * 64
    assert can.Qx_Can_Data_t_U16_get(data) == [0] * 32
    assert can.Qx_Can_Data_t_U32_get(data) == [0] * 16
    assert can.Qx_Can_Data_t_U64_get(data) == [0] * 8


def test_the_views_overlay_the_same_bytes_in_host_order(data):
    can.Qx_Can_Data_t_U8_set(data, [1, 2] + [0] * 62)
    assert can.Qx_Can_Data_t_U16_get(data)[:2] == [513, 0]
    assert can.Qx_Can_Data_t_U32_get(data)[0] == 513
    can.Qx_Can_Data_t_U32_set(data, [-1] + [0] * 14 + [0x7FFFFFFF])
    assert can.Qx_Can_Data_t_U8_get(data)[:5] == [255, 255, 255, 255, 0]
    assert can.Qx_Can_Data_t_U32_get(data)[0] == 4294967295
    assert can.Qx_Can_Data_t_U8_get(data)[60:] == [255, 255, 255, 127]


def test_u64_elements_read_back_whole(data):
    values = [2**32 + 5, 2**64 - 1, 1, 0, 2**63, 0xFFFFFFFF, 2**40, 7]
    can.Qx_Can_Data_t_U8_set(data, list(pack("Qx_Can_Data_t", U64=values)))
    assert can.Qx_Can_Data_t_U64_get(data) == values


@pytest.mark.parametrize("member, element, count, source", [
    ("U16", 2, 32, "qxt_u16_array"),
    ("U64", 8, 8, "qxt_u64_array"),
])
def test_u16_and_u64_members_copy_64_bytes_from_a_pointer_object(qxt, data, member, element, count, source):
    values = [(i * 0x0101010101010101) % (1 << (8 * element)) for i in range(1, count + 1)]
    getattr(can, f"Qx_Can_Data_t_{member}_set")(data, getattr(qxt, source)(values))
    assert getattr(can, f"Qx_Can_Data_t_{member}_get")(data) == values


@pytest.mark.parametrize("member, type_", [("U16", "u16_t [32]"), ("U64", "u64_t [8]")])
def test_u16_and_u64_members_refuse_other_objects_and_none(qxt, data, member, type_):
    setter = getattr(can, f"Qx_Can_Data_t_{member}_set")
    with raises(TypeError, f"in method 'Qx_Can_Data_t_{member}_set', argument 2 of type '{type_}'"):
        setter(data, qxt.qxt_u32_array([1] * 16))
    with raises(TypeError, f"in method 'Qx_Can_Data_t_{member}_set', argument 2 of type '{type_}'"):
        setter(data, [1] * 64)
    with raises(ValueError, f"invalid null reference in variable '{member}' of type '{type_}'"):
        setter(data, None)
    assert can.Qx_Can_Data_t_U8_get(data) == [0] * 64


# ---- QX_ARRAY_FROM_LIST, through the array members of the records ---------

ARRAY_SETTERS = [
    # (setter, record constructor, count, element type)
    ("Qx_Can_Data_t_U8_set", "new_Qx_Can_Data_t", 64, "u8_t"),
    ("Qx_Can_Data_t_U32_set", "new_Qx_Can_Data_t", 16, "u32_t"),
    ("Qx_Can_TxFifo_MsgItem_t_Data_set", "new_Qx_Can_TxFifo_MsgItem_t", 8, "u8_t"),
    ("Qx_Can_TxFifo_MsgItem2_t_Data_set", "new_Qx_Can_TxFifo_MsgItem2_t", 64, "u8_t"),
    ("Qx_Can_Monitor_BufferItem_t_Data_set", "new_Qx_Can_Monitor_BufferItem_t", 8, "u8_t"),
    ("Qx_Can_Monitor_BufferItem_Large_t_Data_set", "new_Qx_Can_Monitor_BufferItem_Large_t", 64, "u8_t"),
]


@pytest.mark.parametrize("setter, new, count, element", ARRAY_SETTERS)
def test_array_members_take_exactly_n_ints_all_or_nothing(setter, new, count, element):
    record = getattr(can, new)()
    set_ = getattr(can, setter)
    get = getattr(can, setter[:-4] + "_get")
    old = list(range(1, count + 1))
    set_(record, tuple(old))  # any sequence
    assert get(record) == old
    bad = [
        (TypeError, "Expecting a sequence", 5),
        (TypeError, "Expecting a sequence", {1: 2}),
        (ValueError, f"Expecting a sequence with {count} elements", [0] * (count - 1)),
        (ValueError, f"Expecting a sequence with {count} elements", [0] * (count + 1)),
        (ValueError, f"Expecting a sequence of {element}", [9, 9, "x"] + [9] * (count - 3)),
        (ValueError, f"Expecting a sequence of {element}", [9] * (count - 1) + [None]),
        (OverflowError, f"Expecting a sequence of {element}", [9] * (count - 1) + [4294967295]),
    ]
    for cls, message, value in bad:
        with raises(cls, f"fail in '{setter}' : {message}"):
            set_(record, value)
        assert get(record) == old
    getattr(can, "delete_" + new[4:])(record)


def test_a_none_record_takes_an_accepted_list_and_stores_nothing():
    assert can.Qx_Can_Data_t_U8_set(None, [1] * 64) is None
    with raises(ValueError, "fail in 'Qx_Can_Data_t_U8_set' : Expecting a sequence with 64 elements"):
        can.Qx_Can_Data_t_U8_set(None, [1])


@pytest.mark.parametrize("accessor, args, message", [
    ("Qx_Can_Data_t_U8_get", (5,), "in method 'Qx_Can_Data_t_U8_get', argument 1 of type 'Qx_Can_Data_t *'"),
    ("Qx_Can_Data_t_U8_set", ("x", [0] * 64), "in method 'Qx_Can_Data_t_U8_set', argument 1 of type 'Qx_Can_Data_t *'"),
    ("delete_Qx_Can_Data_t", (1,), "in method 'delete_Qx_Can_Data_t', argument 1 of type 'Qx_Can_Data_t *'"),
])
def test_record_arguments_of_another_type_are_refused(accessor, args, message):
    with raises(TypeError, message):
        getattr(can, accessor)(*args)


# ---- 64-bit and 16-bit scalar members ---------------------------------------

@pytest.mark.parametrize("value, cls", [(-1, OverflowError), (2**64, OverflowError), (1.0, TypeError),
                                        ("1", TypeError), (None, TypeError)])
def test_timestamp_setter_refuses_values_outside_64_bits(value, cls):
    item = qxtest.new_record(can, "Qx_Can_Monitor_BufferItem_t")
    can.Qx_Can_Monitor_BufferItem_t_Timestamp_set(item, 77)
    with raises(cls, "in method 'Qx_Can_Monitor_BufferItem_t_Timestamp_set', argument 2 of type 'u64_t'"):
        can.Qx_Can_Monitor_BufferItem_t_Timestamp_set(item, value)
    assert can.Qx_Can_Monitor_BufferItem_t_Timestamp_get(item) == 77
    can.delete_Qx_Can_Monitor_BufferItem_t(item)


@pytest.mark.parametrize("setter, type_, value, stored", [
    ("Qx_Can_Monitor_BufferItem_t_Flags_set", "Qx_Can_Monitor_BufferItem_Flags_t", 0x1FFFF, 0xFFFF),
    ("Qx_Can_Monitor_BufferItem_t_Flags_set", "Qx_Can_Monitor_BufferItem_Flags_t", 0x8001, 0x8001),
    ("Qx_Can_Monitor_BufferItem_Large_t_Flags_set", "Qx_Can_Monitor_BufferItem_Large_Flags_t", 0x1FF, 0xFF),
    ("Qx_Can_TxFifo_MsgItem_t_Dlc_set", "u8_t", 0x1FF, 0xFF),
    ("Qx_Can_TxFifo_MsgItem2_t_Id_set", "u32_t", 4294967295, 4294967295),
])
def test_scalar_members_are_stored_truncated_to_their_width(setter, type_, value, stored):
    record = setter.rsplit("_", 2)[0]
    item = qxtest.new_record(can, record)
    getattr(can, setter)(item, value)
    assert getattr(can, setter[:-4] + "_get")(item) == stored
    with raises(OverflowError, f"in method '{setter}', argument 2 of type '{type_}'"):
        getattr(can, setter)(item, 4294967296)
    assert getattr(can, setter[:-4] + "_get")(item) == stored
    getattr(can, "delete_" + record)(item)


# ---- Qx_Can_InitInterface ------------------------------------------------------

def test_init_interface_passes_its_arguments(sim, port):
    assert can.Qx_Can_InitInterface(port, 0x1FF, 0x80000001) is None
    call = sim.last("Qx_Can_InitInterface")
    assert [call.arg(n).value for n in (1, 2, 3)] == [port, 0xFF, 0x80000001]


@pytest.mark.parametrize("args, cls, message", [
    ((-1, 0, 0), OverflowError, "in method 'Qx_Can_InitInterface', argument 1 of type 'Qx_PortHandle_t'"),
    ((1, "x", 0), TypeError, "in method 'Qx_Can_InitInterface', argument 2 of type 'Qx_Can_IdMode_t'"),
    ((1, 0, 2**32), OverflowError, "in method 'Qx_Can_InitInterface', argument 3 of type 'Qx_Can_InitInterface_CmdFlags_t'"),
    ((1, 0), TypeError, "Qx_Can_InitInterface expected 3 arguments, got 2"),
])
def test_init_interface_argument_errors_send_nothing(sim, args, cls, message):
    with raises(cls, message):
        can.Qx_Can_InitInterface(*args)
    assert sim.calls("Qx_Can_InitInterface") == 0


def test_init_interface_failures_carry_the_native_error_text():
    lin = qxtest.new_record(base, "Qx_InterfaceInfo_t")
    base.Qx_InterfaceInfo_t_Type_set(lin, base.QX_INTERFACE_TYPE__LIN)
    base.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(base.Qx_InterfaceInfo_t_Parameters_get(lin), 1)
    handle = base.Qx_OpenInterface(lin)
    base.delete_Qx_InterfaceInfo_t(lin)
    with raises(Exception, f"Qx_Can_InitInterface: port 0x{handle:08X} is not a CAN interface"):
        can.Qx_Can_InitInterface(handle, 0, 0)
    with raises(Exception, "Qx_Can_InitInterface: invalid port handle 0x00000063"):
        can.Qx_Can_InitInterface(99, 0, 0)


# ---- trialprint -------------------------------------------------------------

@pytest.fixture
def fifo_items():
    made = []

    def make(ids):
        for id_ in ids:
            item = qxtest.new_record(can, "Qx_Can_TxFifo_MsgItem_t")
            can.Qx_Can_TxFifo_MsgItem_t_Id_set(item, id_)
            made.append(item)
        return list(made[-len(ids):]) if ids else []

    yield make
    for item in made:
        can.delete_Qx_Can_TxFifo_MsgItem_t(item)


@pytest.mark.parametrize("ids, lines", [
    ([], []),
    ([4294967295], ["Msg# 0 :-1"]),
    ([7, 0x7FFFFFFF, 0x80000000], ["Msg# 0 :7", "Msg# 1 :2147483647", "Msg# 2 :-2147483648"]),
    (list(range(100, 130)), [f"Msg# {i} :{100 + i}" for i in range(22)]),
])
def test_trialprint_prints_index_and_signed_id_of_at_most_22_items(capfd, sim, fifo_items, ids, lines):
    items = fifo_items(ids)
    capfd.readouterr()
    assert can.trialprint(tuple(items)) is None
    out = capfd.readouterr().out
    assert out == "".join(line + "\n" for line in lines)
    assert sim.journal() == []  # no native call


@pytest.mark.parametrize("value, message", [
    (5, "fail in 'trialprint' : Expecting a sequence"),
    ([None], "fail in 'trialprint' list must contain 'Qx_Can_TxFifo_MsgItem_t'"),
    ("ab", "fail in 'trialprint' list must contain 'Qx_Can_TxFifo_MsgItem_t'"),
])
def test_trialprint_refuses_what_is_not_a_list_of_fifo_items(capfd, value, message):
    with raises(TypeError, message):
        can.trialprint(value)
    assert capfd.readouterr().out == ""


def test_trialprint_prints_nothing_when_an_item_is_of_another_type(capfd, fifo_items):
    items = fifo_items([1, 2])
    other = qxtest.new_record(can, "Qx_Can_TxFifo_MsgItem2_t")
    capfd.readouterr()
    with raises(TypeError, "fail in 'trialprint' list must contain 'Qx_Can_TxFifo_MsgItem_t'"):
        can.trialprint(items + [other])
    assert capfd.readouterr().out == ""
    can.delete_Qx_Can_TxFifo_MsgItem2_t(other)
