"""The freshness value manager's command records for its tests: members and
their declared types from the layout tables, and values that fill them."""
import layouts
import qxtest

WIDTH_TYPES = {"u8": "u8_t", "u16": "u16_t", "u32": "u32_t", "u64": "u64_t"}


def flags_type(record):
    """Each record's Flags has a type of its own named after the record:
    `..._Cmd_t` -> `..._CmdFlags_t` (control and counter schemes), or
    `..._Flags_t` (time-server schemes)."""
    head = record[:-len("_Cmd_t")]
    return head + ("_Flags_t" if "_Custom2_" in record or "_Custom5_" in record else "_CmdFlags_t")


def members(record):
    """[(member, declared type)] in declaration order."""
    return [(path, flags_type(record) if path == "Flags" else WIDTH_TYPES[field.type])
            for path, field in layouts.record(record).fields.items()]


def distinct_values(record, fresh_id):
    """A value for every member, each different and filling its width's top
    bit where it can, with `FreshnessValueId` set to `fresh_id`."""
    values = {}
    for i, (member, _) in enumerate(members(record)):
        bits = 8 * layouts.size(record, member)
        values[member] = (1 << (bits - 1)) | (i + 1)
    values["FreshnessValueId"] = fresh_id
    return values


def check_members(module, record):
    """Every member of a new `record` reads 0; a narrow member keeps the low
    bits of a wider int without an error; 2**32 - 1 reads back as the
    member's all-ones; what 32 bits cannot hold, and what is no int, is
    refused with the setter's argument-2 message and leaves the member."""
    rec = qxtest.new_record(module, record)
    for member, declared in members(record):
        setter, getter = (getattr(module, f"{record}_{member}_{op}") for op in ("set", "get"))
        assert getter(rec) == 0, member
        bits = 8 * layouts.size(record, member)
        if bits < 32:
            setter(rec, (1 << bits) + 44)
            assert getter(rec) == 44, member
        setter(rec, 2**32 - 1)
        assert getter(rec) == (1 << bits) - 1, member
        for bad, exc in ((2**32, OverflowError), (-1, OverflowError), (1.5, TypeError), ("1", TypeError)):
            with qxtest.raises_exactly(exc, f"in method '{record}_{member}_set', argument 2 of type '{declared}'"):
                setter(rec, bad)
        assert getter(rec) == (1 << bits) - 1, member
