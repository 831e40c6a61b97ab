"""The member rules every record shares, checked for every member of every
record of every library from the layout tables (api/<key>/layout.txt):

- a new record (new_R) is all zero bytes, and so is each record declared in
  place inside it;
- a setter stores its value in the member's own bytes, truncated to the
  member's width where the rule truncates, and leaves every other byte of the
  record as it was; the getter of an int member reads the stored value back;
- a refused value raises and leaves the whole record, the member included, as
  it was;
- all of this holds as well for every member of a record that is a member of
  another (Qx_Can_Data_t inside Qx_Can_CyclicMsgs_GetMsgState_Rsp_t), reached
  through the view that the parent's getter gives, at its real offset: the
  native layouts cap alignment at 4 bytes, so an 8-byte member there may sit
  at an address that is only a multiple of 4, and a value given as a pointer
  object is one at such an address too; under the sanitizer build any load or
  store that assumes more fails the run;
- a record's entries stand together in the module's method table in
  declaration order: each member's setter and getter (a record declared in
  place has a getter only), then new_R, delete_R, R_swigregister, R_swiginit.

How a value travels depends on the module's rule for the member's type:
tests/<key>/<key>_member_rules.py maps each layout type of the library to one
of RULES below. A member whose type is a named record, or an array of them,
is copied whole from a record of that type in every module.
"""
import functools
import os

import pytest

import layouts
import qxtest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))


# The libraries of the registry that have a layout table.
MODULES = {key: module for key, module in qxtest.registry().items()
           if os.path.exists(os.path.join(ROOT, "api", key, "layout.txt"))}
RECORDS = [(key, name) for key in MODULES for name in layouts.library_records(key)]


@functools.lru_cache(maxsize=None)
def method_table(name):
    module = qxtest.module(name)
    return [entry for entry, obj in vars(module).items() if callable(obj)]


def library_of(record):
    """The key of the library whose layout table holds `record`."""
    return os.path.basename(os.path.dirname(layouts.record(record).where.rpartition(":")[0]))


def pattern(size):
    """`size` bytes, none of them 0, 0xEE or 0xFF."""
    return bytes(i % 200 + 1 for i in range(size))


class Member:
    def __init__(self, record, field):
        self.label = f"{record}.{field.path}"
        self.offset = layouts.offset(record, field.path)
        self.size = layouts.size(record, field.path)
        self.count = field.count
        self.width = self.size // (field.count or 1)
        self.type = field.type


def unsigned_up_to(limit):
    """An int (a bool included) of 0 to limit - 1, stored truncated to the
    member's width; the getter reads the stored value."""
    def cases(member, qxt):
        accepted = []
        for value in (True, limit - 1, 0x0807060504030201 % limit):
            read = value % (1 << 8 * member.width)
            accepted.append((value, read.to_bytes(member.width, "little"), read))
        refused = [(-1, OverflowError), (-limit, OverflowError), (limit, OverflowError), (1.5, TypeError),
                   ("1", TypeError), (None, TypeError)]
        return accepted, refused
    return cases


# Where a value given as a pointer object starts: a multiple of 4 that is no
# multiple of 8, as the native layouts may place an 8-byte member.
UNDER_ALIGNED = 4


def by_pointer(member, qxt):
    """A pointer object of the member's type (of its element type for an
    array), whose bytes are copied whole; the getter reads them back (as a
    list of the elements, or as an object holding them)."""
    if layouts.is_record(member.type):
        qxtest.module(MODULES[library_of(member.type)])  # whose destructor frees a getter's copy
    value = qxt.qxt_view_at(layouts.C_TYPES.get(member.type, member.type) + " *", pattern(member.size), UNDER_ALIGNED)
    return [(value, pattern(member.size), Bytes(pattern(member.size)))], [(5, TypeError), (None, ValueError)]


class Bytes(bytes):
    """What a getter reads back, compared as the member's bytes: a list of
    ints as its elements, a pointer object (an owned copy, freed at the end of
    the test, or a view) as the bytes it points at."""

    def read(self, got, member, qxt):
        if isinstance(got, list):
            return b"".join(item.to_bytes(member.width, "little") for item in got)
        return bytes(qxt.qxt_read_u8(qxtest.owned(got), member.size))


def int_list(member, qxt):
    """A sequence (a list, a tuple) of exactly N ints (bools included), each a
    signed 32-bit value (both ends of the range included) stored truncated to
    the element's width; the getter reads the stored values."""
    items = ([-1, 2**31 - 1, -2**31, True] + [(0x04030201 + i * 0x01010101) & 0x7FFFFFFF
                                              for i in range(4, member.count)])[:member.count]
    accepted = []
    for value in (items, tuple(reversed(items))):
        read = [item % (1 << 8 * member.width) for item in value]
        accepted.append((value, b"".join(item.to_bytes(member.width, "little") for item in read), read))
    refused = [([0] * (member.count - 1), ValueError), ([0] * (member.count + 1), ValueError), (1.5, TypeError)]
    return accepted, refused


def text(member, qxt):
    """A str whose UTF-8 bytes and a zero fit in the member, stored with the
    rest of the member zero; None clears the member."""
    accepted = [(value, value.encode().ljust(member.size, b"\0"), value)
                for value in ("text \u00e9", "x" * (member.size - 1))]
    refused = [("x" * member.size, TypeError), (b"text", TypeError), (5, TypeError)]
    return [(None, bytes(member.size), "")] + accepted, refused


def pointer(member, qxt):
    """None stores a null address; what is no pointer object is refused. (What
    a pointer member does with a record's address and ownership is checked in
    tests/rules/test_rules_records.py.)"""
    return [(None, bytes(member.size), None)], [(5, TypeError), (1.5, TypeError)]


# The rules a library's member rules name.
RULES = {
    "unsigned": unsigned_up_to(1 << 32),
    "unsigned64": unsigned_up_to(1 << 64),
    "size": unsigned_up_to(1 << 8 * layouts.SIZE_T_SIZE),
    "by_pointer": by_pointer,
    "list": int_list,
    "text": text,
    "pointer": pointer,
}


def rule_of(key, record, field):
    """The rule of `field`; None for a record declared in place, which has a
    getter only (its members are checked as members of the record)."""
    if field.type in layouts.NESTED:
        return None
    if layouts.is_record(field.type):
        return by_pointer
    kind = field.type + ("[]" if field.count is not None else "")
    rules = qxtest.member_rules(key)
    assert kind in rules, f"{record}.{field.path}: tests/{key}/{key}_member_rules.py names no rule for {kind}"
    return RULES[rules[kind]]


def reach(module, record, view, path):
    """(holder, accessor prefix) of member `path`: the record itself, or the
    record declared in place that holds the member, reached through the
    getters (element 0 of an array of them)."""
    holder, accessor = view, record
    *parents, name = path.split(".")
    for parent in parents:
        accessor += "_" + parent
        holder = getattr(module, accessor + "_get")(holder)
        if isinstance(holder, list):
            holder = holder[0]
    return holder, accessor + "_" + name


def outcome(call, *args):
    try:
        call(*args)
    except Exception as error:
        return error
    return None


def in_place(record):
    """(name, path, size) of each record declared in place inside `record`."""
    return [(f"{record}_{field.path.replace('.', '_')}", field.path,
             layouts.size(record, field.path) // (field.count or 1))
            for field in layouts.record(record).fields.values() if field.type in layouts.NESTED]


@pytest.mark.parametrize("key, record", RECORDS, ids=[name for _, name in RECORDS])
def test_new_record_is_all_zero_bytes(qxt, key, record):
    module = qxtest.module(MODULES[key])
    for name, _, size in [(record, "", layouts.size(record))] + in_place(record):
        made = getattr(module, "new_" + name)()
        try:
            assert bytes(qxt.qxt_read_u8(made, size)) == bytes(size), name
        finally:
            getattr(module, "delete_" + name)(made)


def check_members(qxt, key, module, record, view, raw, base=0):
    """Sets, reads back and refuses every member of `record` through `view`,
    an object of the record that lies `base` bytes into the storage whose
    bytes raw() returns (every byte of it set, so that a write beside the
    member shows). Returns the number of members checked."""
    checked = 0
    for path, field in layouts.record(record).fields.items():
        rule = rule_of(key, record, field)
        if rule is None:
            continue
        member = Member(record, field)
        start = base + member.offset
        holder, accessor = reach(module, record, view, path)
        setter, getter = getattr(module, accessor + "_set"), getattr(module, accessor + "_get")
        accepted, refused = rule(member, qxt)
        for value, stored, read in accepted:
            want = bytearray(raw())
            want[start:start + member.size] = stored
            error = outcome(setter, holder, value)
            assert error is None, f"{member.label}: {value!r} refused: {error!r}"
            assert raw() == want, f"{member.label}: {value!r} stored other bytes"
            if isinstance(read, Bytes):
                assert read.read(getter(holder), member, qxt) == read, f"{member.label}: reads back otherwise"
            elif read is not None:
                assert getter(holder) == read, f"{member.label}: {value!r} reads back otherwise"
        for value, exc in refused:
            before = raw()
            error = outcome(setter, holder, value)
            assert type(error) is exc, f"{member.label}: {value!r} raised {error!r}, not {exc.__name__}"
            assert raw() == before, f"{member.label}: the refused {value!r} changed the record"
        checked += 1
    return checked


def storage(qxt, record):
    """A view of `record` on storage of its size, every byte 0xEE, and the
    function that reads those bytes."""
    size = layouts.size(record)
    view = qxt.qxt_view_of(record + " *", b"\xee" * size)
    return view, lambda: bytes(qxt.qxt_read_u8(view, size))


@pytest.mark.parametrize("key, record", RECORDS, ids=[name for _, name in RECORDS])
def test_setters_store_their_width_and_refused_values_change_nothing(qxt, key, record):
    module = qxtest.module(MODULES[key])
    view, raw = storage(qxt, record)
    check_members(qxt, key, module, record, view, raw)


def records_in_place(key, record):
    """(path, type) of each member of `record` whose type is a named record of
    the same library (or an array of them, reached at element 0), also inside
    the records declared in place. A record of another library is one the
    module knows by name only (Qx_Common_Signal_t in _qx_api_can): its getter
    returns an owned copy, not a view, and the module has no accessors of its
    members."""
    return [(path, field.type) for path, field in layouts.record(record).fields.items()
            if layouts.is_record(field.type) and library_of(field.type) == key]


NESTING = [(key, name) for key, name in RECORDS if records_in_place(key, name)]


@pytest.mark.parametrize("key, record", NESTING, ids=[name for _, name in NESTING])
def test_members_of_nested_records_through_their_views_in_place(qxt, key, record):
    """Every member of every record held in `record` (and of the records
    those hold), through the view that the getter of the holding member
    gives: a view at the member's own offset in the parent's storage."""
    module = qxtest.module(MODULES[key])
    view, raw = storage(qxt, record)
    pending = [(record, view, 0)]
    while pending:
        parent, parent_view, base = pending.pop()
        for path, nested in records_in_place(key, parent):
            holder, accessor = reach(module, parent, parent_view, path)
            inner = getattr(module, accessor + "_get")(holder)
            inner = inner[0] if isinstance(inner, list) else inner
            at = base + layouts.offset(parent, path)
            assert int(inner) == int(view) + at, f"{parent}.{path}: the getter gives no view at offset {at}"
            assert check_members(qxt, key, module, nested, inner, raw, at), f"{nested}: no member checked"
            pending.append((nested, inner, at))


@pytest.mark.parametrize("key, record", RECORDS, ids=[name for _, name in RECORDS])
def test_entries_stand_in_declaration_order(key, record):
    table = method_table(MODULES[key])
    fields = layouts.record(record).fields.values()
    for name, path, _ in [(record, "", None)] + in_place(record):
        expected = []
        for field in fields:
            if field.path.rpartition(".")[0] == path:
                accessor = f"{name}_{field.name}"
                expected += ([] if field.type in layouts.NESTED else [accessor + "_set"]) + [accessor + "_get"]
        expected += [f"new_{name}", f"delete_{name}", f"{name}_swigregister", f"{name}_swiginit"]
        assert expected[0] in table, f"{name}: no {expected[0]} in {MODULES[key]}"
        start = table.index(expected[0])
        assert table[start:start + len(expected)] == expected, name
