"""Pointer members and the storage behind them: what a pointer member's
getter returns reaches exactly the storage the member was set from and
keeps it alive, or, once that storage was taken back and freed, holds
nothing; a record that holds a count beside a pointer member is refused
before a native call reads more than the member's storage."""
import gc
import os
import re

import pytest

import _qx_api as q
import layouts
import qxtest
from qxtest import raises_exactly

st = qxtest.module("_qx_storage")

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


def pointer_members():
    """(library key, record, member) of every data pointer member of the
    records of the built libraries (function pointers, which point at code,
    excepted), from the layout tables."""
    found = []
    for key, name in qxtest.registry().items():
        if name not in qxtest.built_modules():
            continue
        for record in layouts.library_records(key):
            for path, field in layouts.record(record).fields.items():
                if field.type == "ptr" and "." not in path and not path.endswith("Callback"):
                    found.append(pytest.param(key, record, path, id=f"{record}.{path}"))
    return found


def pointee(module, record, member):
    """The type a pointer member points to, as its setter names it."""
    with pytest.raises(TypeError) as refused:
        getattr(module, f"{record}_{member}_set")(None, 5)
    return re.search(r"argument 2 of type '(\w+) \*'", str(refused.value)).group(1)


def storage(module, ctype, count):
    """An object of the modules holding `count` elements of `ctype` (one
    record made by new_R where the storage module makes no array of R), the
    number of elements it holds, their size and its destructor."""
    if ctype == "u8_t":
        return st.new_u8_array(count), count, 1, st.delete_u8_array
    if hasattr(st, f"new_{ctype}_array"):
        return (getattr(st, f"new_{ctype}_array")(count), count, layouts.size(ctype),
                getattr(st, f"delete_{ctype}_array"))
    return getattr(module, "new_" + ctype)(), 1, layouts.size(ctype), getattr(module, "delete_" + ctype)


KNOWN_POINTER_MEMBERS = {
    "base": ["Qx_Interface_UpdateAllInterfaces_Cmd_t.InterfaceData"],
    "can": ["Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t.UserBytesBefore",
            "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t.UserBytesAfter",
            "Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t.DataArray",
            "Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t.SyncRamp"],
}


def test_the_table_finds_the_data_pointer_members_of_the_built_libraries():
    found = {param.id for param in pointer_members()}
    built = [key for key, name in qxtest.registry().items() if name in qxtest.built_modules()]
    assert found >= {member for key in built for member in KNOWN_POINTER_MEMBERS.get(key, [])}


@pytest.mark.parametrize("key, record, member", pointer_members())
def test_the_getter_reaches_exactly_the_storage_the_member_was_set_from(key, record, member):
    module = qxtest.module(qxtest.registry()[key])
    ctype = pointee(module, record, member)
    holder = qxtest.new_record(module, record)
    get, put = getattr(module, f"{record}_{member}_get"), getattr(module, f"{record}_{member}_set")
    made, count, unit, delete = storage(module, ctype, 3)
    content = bytes(range(1, count * unit + 1))
    st.memmove(made, content)
    put(holder, made)  # the record takes its ownership over
    view = get(holder)
    assert int(view) == int(made) and not view.own()
    assert st.cdata(view, count * unit) == content
    for beyond in (lambda: st.cdata(view, count * unit + 1), lambda: st.memmove(view, bytes(count * unit + 1))):
        with pytest.raises(ValueError, match=r"^too few bytes given for the call in method '(cdata|memmove)'"):
            beyond()
    if ctype == "u8_t":
        with raises_exactly(IndexError, "index out of range in method 'u8_array_setitem', argument 2 of type "
                                        "'size_t'"):
            st.u8_array_setitem(view, count, 1)
    if count > 1:
        # an array taken back: the view keeps it alive, and it goes with the
        # view (collected, it frees its storage)
        made.acquire()
        del made
        gc.collect()
        assert st.cdata(view, count * unit) == content
        del view
        gc.collect()
        with raises_exactly(ValueError, "invalid null reference in method 'cdata', argument 1 of type 'void *'"):
            st.cdata(get(holder), 1)
        made, _, _, delete = storage(module, ctype, 3)
        put(holder, made)
        view = get(holder)
    # taken back and deleted: a view made before holds nothing from then on
    made.acquire()
    delete(made)
    for reader in (view, get(holder)):
        with raises_exactly(ValueError, "invalid null reference in method 'cdata', argument 1 of type 'void *'"):
            st.cdata(reader, 1)


def test_storage_made_outside_the_modules_is_read_as_far_as_asked(qxt):
    can = qxtest.module("_qx_api_can")
    holder = qxtest.new_record(can, "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t")
    outside = qxt.qxt_u8_array(list(range(16)))  # nobody knows its extent
    can.Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t_UserBytesAfter_set(holder, outside)
    view = can.Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t_UserBytesAfter_get(holder)
    assert st.cdata(view, 16) == bytes(range(16))


def test_a_member_keeps_no_record_of_its_former_storage():
    can = qxtest.module("_qx_api_can")
    name = "Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t"
    holder = qxtest.new_record(can, name)
    first, second = st.new_u8_array(2), st.new_u8_array(6)
    getattr(can, f"{name}_DataArray_set")(holder, first)
    getattr(can, f"{name}_DataArray_set")(holder, second)
    assert st.cdata(getattr(can, f"{name}_DataArray_get")(holder), 6) == bytes(6)
    getattr(can, f"{name}_DataArray_set")(holder, None)
    assert getattr(can, f"{name}_DataArray_get")(holder) is None
    first.acquire()
    second.acquire()


# ---- counts held beside pointer members ------------------------------------------------------

def reach_member_lines():
    """(record, member, count) of every reach_member line of the built
    libraries' parameter tables."""
    found = []
    for key, name in qxtest.registry().items():
        table = os.path.join(ROOT, "api", key, "params.txt")
        if name not in qxtest.built_modules() or not os.path.exists(table):
            continue
        with open(table) as lines:
            for line in lines:
                m = re.match(r"reach_member\((\w+):\s*(\w+)\)\s+(\w+)", line)
                if m:
                    found.append((m.group(3), m.group(1), m.group(2)))
    return found


@pytest.fixture
def cyclic(port):
    """A CAN port with a cyclic message, its signal and data."""
    can, common = qxtest.module("_qx_api_can"), qxtest.module("_qx_api_common")
    can.Qx_Can_CyclicMsgs_DefineMsg(port, 0x321, 100, 0, 1, 0, [0] * 8, 8)
    signal = qxtest.new_record(common, "Qx_Common_Signal_t", Size=8)
    return port, signal, qxtest.new_record(can, "Qx_Can_Data_t")


def checksum(function):
    def call(cyclic, params):
        can = qxtest.module("_qx_api_can")
        port, signal, data = cyclic
        return getattr(can, function)(port, 0x321, signal, data, params)
    return call


def inc_ramp(cyclic, params):
    return qxtest.module("_qx_api_can").Qx_Can_CyclicMsgs_Ramp_DefineIncRamp(cyclic[0], params)


def update_all(cyclic, params):
    return q.Qx_Interface_UpdateAllInterfaces("update.bin", params)


# key, binding, record argument's number, record, pointer member, count member (None: one element), the call
COUNTED = [
    ("can", "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes", 5,
     "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t", "UserBytesBefore", "NumberOfUserBytesBefore",
     checksum("Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes")),
    ("can", "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes", 5,
     "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t", "UserBytesAfter", "NumberOfUserBytesAfter",
     checksum("Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrcWithUserBytes")),
    ("can", "Qx_Can_CyclicMsgs_Checksum_Define_Custom12", 5,
     "Qx_Can_CyclicMsgs_Checksum_Define_Custom12_Parameters_t", "DataArray", "DataArray_Size",
     checksum("Qx_Can_CyclicMsgs_Checksum_Define_Custom12")),
    ("can", "Qx_Can_CyclicMsgs_Ramp_DefineIncRamp", 2, "Qx_Can_CyclicMsgs_Ramp_DefineIncRamp_Parameters_t",
     "SyncRamp", None, inc_ramp),
    ("base", "Qx_Interface_UpdateAllInterfaces", 2, "Qx_Interface_UpdateAllInterfaces_Cmd_t", "InterfaceData",
     "NumberOfInterfaces", update_all),
]


def test_every_counted_member_of_the_tables_is_tried():
    built = [key for key, name in qxtest.registry().items() if name in qxtest.built_modules()]
    assert sorted(reach_member_lines()) == sorted((record, member, count or "1")
                                                  for key, _, _, record, member, count, _ in COUNTED if key in built)


def native_calls(sim, binding, call):
    """The number of times `call` reached the native side (its own status,
    whatever it is, aside)."""
    before = sim.calls(binding)
    try:
        call()
    except Exception as e:
        assert "too few bytes" not in str(e), e
    return sim.calls(binding) - before


@pytest.mark.parametrize("key, binding, argument, record, member, counter, call", COUNTED,
                         ids=[f"{r[3]}.{r[4]}" for r in COUNTED])
def test_a_count_beyond_the_members_storage_is_refused_before_the_call(sim, cyclic, key, binding, argument, record,
                                                                       member, counter, call):
    module = qxtest.module(qxtest.registry()[key])
    params = qxtest.new_record(module, record)
    put = getattr(module, f"{record}_{member}_set")
    count = getattr(module, f"{record}_{counter}_set") if counter else lambda params, n: None
    ctype = pointee(module, record, member)
    made, n, _, delete = storage(module, ctype, 2)
    put(params, made)
    refused = f"too few bytes given for the call in method '{binding}', argument {argument} of type '{record} const *const'"
    count(params, n)
    assert native_calls(sim, binding, lambda: call(cyclic, params)) == 1  # a count the storage holds
    if counter:
        count(params, n + 1)
        with raises_exactly(ValueError, refused):
            call(cyclic, params)
        assert native_calls(sim, binding, lambda: None) == 0
        count(params, 0)
        assert native_calls(sim, binding, lambda: call(cyclic, params)) == 1  # nothing to read
        count(params, n)
    # the storage taken back and freed: nothing is left to read
    made.acquire()
    delete(made)
    with raises_exactly(ValueError, refused):
        call(cyclic, params)
    # no storage at all passes, as None does for a buffer argument
    put(params, None)
    count(params, n)
    assert native_calls(sim, binding, lambda: call(cyclic, params)) == 1


# ---- a member's note is its own ----------------------------------------------------------------

def counted(module, record, member, counter):
    """The setter of the member and of its count (a no-op for one element),
    and the member's getter."""
    put = getattr(module, f"{record}_{member}_set")
    count = getattr(module, f"{record}_{counter}_set") if counter else lambda params, n: None
    return put, count, getattr(module, f"{record}_{member}_get")


def too_few_bytes(binding, argument, record):
    return raises_exactly(ValueError, f"too few bytes given for the call in method '{binding}', argument {argument} "
                                      f"of type '{record} const *const'")


def made_again(module, ctype, give):
    """Storage given to `give`, then taken back and freed, and storage of
    the same size made at once until one lands where the freed block was:
    (the freed block's address, the storage made there, every object made on
    the way with its destructor), or None where the allocator hands no
    block out again (the sanitizer's keeps freed blocks aside)."""
    made_on_the_way = []
    for _ in range(16):
        made, _, _, delete = storage(module, ctype, 2)
        give(made)
        address = int(made)
        # The allocator's per-thread cache, which calloc passes over, is
        # filled first: the block freed next is the one that calloc hands
        # out again (the collector, which could free blocks meanwhile, waits).
        gc.collect()
        gc.disable()
        try:
            for filler, _, _, free in [storage(module, ctype, 2) for _ in range(8)]:
                free(filler)
            made.acquire()
            delete(made)
            tries = [storage(module, ctype, 2)[::3] for _ in range(4)]
        finally:
            gc.enable()
        made_on_the_way += tries
        for obj, _ in tries:
            if int(obj) == address:
                return address, obj, made_on_the_way
    return None


@pytest.mark.parametrize("key, binding, argument, record, member, counter, call", COUNTED,
                         ids=[f"{r[3]}.{r[4]}" for r in COUNTED])
def test_freed_storage_stays_freed_for_its_member_when_the_allocator_hands_its_address_out_again(
        sim, cyclic, key, binding, argument, record, member, counter, call):
    module = qxtest.module(qxtest.registry()[key])
    put, count, get = counted(module, record, member, counter)
    ctype = pointee(module, record, member)
    params, other = qxtest.new_record(module, record), qxtest.new_record(module, record)
    count(params, 2 if counter else 1)
    found = made_again(module, ctype, lambda made: put(params, made))
    if found is None:
        assert "libasan" in os.environ.get("LD_PRELOAD", ""), "the allocator handed no block out again"
        pytest.skip("the sanitizer's allocator keeps freed blocks aside")
    address, again, made_on_the_way = found
    put(other, again)  # noted for the other record's member
    count(other, 2 if counter else 1)
    with too_few_bytes(binding, argument, record):
        call(cyclic, params)  # its own storage is still the freed one
    with raises_exactly(ValueError, "invalid null reference in method 'cdata', argument 1 of type 'void *'"):
        st.cdata(get(params), 1)
    assert native_calls(sim, binding, lambda: call(cyclic, other)) == 1
    assert int(get(other)) == address and st.cdata(get(other), 1) == bytes(1)
    again.acquire()
    for obj, free in made_on_the_way:
        free(obj)


def written_as_bytes(module, record, member, get, address, qxt):
    """The getter's object of a record whose member was written as bytes."""
    written = qxtest.new_record(module, record)
    st.memmove(written, layouts.pack(record, **{member: address}))
    return get(written)


def made_outside(module, record, member, get, address, qxt):
    """An object made outside the modules at the address."""
    return qxt.qxt_view_at_address(f"{pointee(module, record, member)} *", address)


@pytest.mark.parametrize("unknown", [written_as_bytes, made_outside], ids=lambda f: f.__name__)
@pytest.mark.parametrize("key, binding, argument, record, member, counter, call", COUNTED,
                         ids=[f"{r[3]}.{r[4]}" for r in COUNTED])
def test_a_member_set_elsewhere_from_unknown_storage_at_the_same_address_leaves_the_note_alone(
        sim, cyclic, qxt, key, binding, argument, record, member, counter, call, unknown):
    module = qxtest.module(qxtest.registry()[key])
    put, count, get = counted(module, record, member, counter)
    ctype = pointee(module, record, member)
    params, other = qxtest.new_record(module, record), qxtest.new_record(module, record)
    made, n, _, delete = storage(module, ctype, 2)
    put(params, made)
    count(params, n)
    # another record's member set from an object of unknown extent there
    elsewhere = unknown(module, record, member, get, int(made), qxt)
    assert int(elsewhere) == int(made)
    put(other, elsewhere)
    count(other, n)
    assert native_calls(sim, binding, lambda: call(cyclic, other)) == 1  # unknown storage passes
    assert native_calls(sim, binding, lambda: call(cyclic, params)) == 1
    made.acquire()
    delete(made)
    with too_few_bytes(binding, argument, record):
        call(cyclic, params)  # the member still knows its storage is gone
    with raises_exactly(ValueError, "invalid null reference in method 'cdata', argument 1 of type 'void *'"):
        st.cdata(get(params), 1)
    put(other, None)
