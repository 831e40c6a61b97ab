"""The native records' byte layouts for the tests, read from the same tables
the build checks the declarations against (api/<key>/layout.txt), so that no
test spells a record layout again.

    pack("Qx_Can_TxFifo_MsgItem_t", Id=0x100, Dlc=8, Data=[1, 2, 3])
        -> the 16 bytes of that record; fields not given are zero, arrays
           given short are zero-filled
    unpack("Qx_Can_TxFifo_MsgItem_t", data)
        -> {"Id": 0x100, "Dlc": 8, ..., "Data": [1, 2, 3, 0, 0, 0, 0, 0]}

A field inside a nested record is named with dots ("Parameters.u.Serial.
PortNumber", also through members that are records of their own, such as
"Signal.Offset" or "u.Bus_Activity.Channel"), or given as a dict of its
fields (Parameters={"ControllerNumber": 1}); an array of records takes a list
of dicts. Dotted names are passed as a dict: pack(name, {"Parameters.Flags":
3}). Values are little-endian; pointers and size_t fields take this host's
sizes.
"""
import os
import struct
import sys

_ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
sys.path.insert(0, os.path.join(_ROOT, "generators"))
from layout_table import NESTED, POINTER, element_size, load  # noqa: E402

POINTER_SIZE = struct.calcsize("P")
SIZE_T_SIZE = struct.calcsize("N")
HOST = (POINTER_SIZE, SIZE_T_SIZE)
_CODES = {"char": "B", "u8": "B", "u16": "H", "u32": "I", "u64": "Q", "s32": "i", "s64": "q", "f64": "d",
          POINTER: "Q" if POINTER_SIZE == 8 else "I", "size": "Q" if SIZE_T_SIZE == 8 else "I"}
_RECORDS = load(os.path.join(_ROOT, "api"))
# The native type of each scalar layout type: the type of the pointer objects
# that stand for a value or an element of it ("u16_t *").
C_TYPES = {"u8": "u8_t", "u16": "u16_t", "u32": "u32_t", "u64": "u64_t", "s32": "s32_t", "s64": "s64_t",
           "f64": "float64_t", "size": "size_t"}


def record(name):
    """The table entry of record `name` (fields: {path: Field})."""
    try:
        return _RECORDS[name]
    except KeyError:
        raise KeyError(f"no record {name} in the layout tables") from None


def is_record(name):
    """True for a record of the layout tables."""
    return name in _RECORDS


def library_records(key):
    """The names of the records of library `key` (api/<key>/layout.txt), in
    table order."""
    table = os.path.join(_ROOT, "api", key, "layout.txt")
    return [name for name, rec in _RECORDS.items() if rec.where.rpartition(":")[0] == table]


def _resolve(name, path):
    """(record, field, offset of the field) of a dotted `path`, following
    members that are records of their own."""
    rec, base = record(name), 0
    rest = path
    while True:
        if rest in rec.fields:
            field = rec.fields[rest]
            return rec, field, base + field.offset.value(*HOST)
        head, found = rest, None
        while "." in head:
            head = head.rpartition(".")[0]
            if head in rec.fields:
                found = rec.fields[head]
                break
        if found is None or found.type not in _RECORDS or found.count is not None:
            raise KeyError(f"{name} has no field {path}")
        base += found.offset.value(*HOST)
        rest = rest[len(head) + 1:]
        rec = _RECORDS[found.type]


def size(name, path=None):
    """The size of record `name`, or of its field `path` (a whole array)."""
    if path is None:
        return record(name).size.value(*HOST)
    _, field, _ = _resolve(name, path)
    return element_size(field, _RECORDS).value(*HOST) * (field.count or 1)


def offset(name, path):
    """The offset of field `path` in record `name`."""
    return _resolve(name, path)[2]


def _children(rec, path):
    prefix = path + "."
    return [f for p, f in rec.fields.items() if p.startswith(prefix) and "." not in p[len(prefix):]]


def _covered(name, base=0, out=None):
    """The byte offsets that some field of record `name` holds."""
    out = set() if out is None else out
    rec = record(name)
    for field in rec.fields.values():
        start = base + field.offset.value(*HOST)
        if field.type in _RECORDS:
            step = _RECORDS[field.type].size.value(*HOST)
            for i in range(field.count or 1):
                _covered(field.type, start + i * step, out)
        elif field.type not in NESTED:
            out.update(range(start, start + size(name, field.path)))
    return out


def _put(data, name, path, value, shift=0):
    rec, field, at = _resolve(name, path)
    at += shift
    step = element_size(field, _RECORDS).value(*HOST)
    if field.type == "char" and isinstance(value, (str, bytes)):
        value = value.encode() if isinstance(value, str) else value
    if field.count is not None:
        values = list(value)
        if len(values) > field.count:
            raise ValueError(f"{name}.{path} holds {field.count} elements, not {len(values)}")
    else:
        values = [value]
    for i, item in enumerate(values):
        where = at + i * step
        if field.type in _CODES:
            struct.pack_into("<" + _CODES[field.type], data, where, item)
        elif field.type in NESTED:
            for key, inner in dict(item).items():
                # Fields of a record array are listed with the first element's offsets.
                _put(data, name, f"{path}.{key}", inner, shift + i * step)
        elif isinstance(item, (bytes, bytearray)):
            if len(item) != step:
                raise ValueError(f"{name}.{path} is {step} bytes, not {len(item)}")
            data[where:where + step] = item
        else:
            data[where:where + step] = pack(field.type, item)


def pack(name, values=None, /, *, fill=0, **fields):
    """The bytes of record `name` holding `values` (a dict, keys may be
    dotted) and `fields`. Fields not given are zero; bytes that no field holds
    (alignment padding) are `fill`."""
    total = size(name)
    held = _covered(name)
    data = bytearray(0 if i in held else fill for i in range(total))
    for path, value in {**(values or {}), **fields}.items():
        _put(data, name, path, value)
    return bytes(data)


def _get(rec, field, data, at):
    step = element_size(field, _RECORDS).value(*HOST)
    items = []
    for i in range(field.count or 1):
        where = at + i * step
        if field.type in _CODES:
            items.append(struct.unpack_from("<" + _CODES[field.type], data, where)[0])
        elif field.type in NESTED:
            items.append({child.name: _get(rec, child, data,
                                           where + child.offset.value(*HOST) - field.offset.value(*HOST))
                          for child in _children(rec, field.path)})
        else:
            items.append(unpack(field.type, data[where:where + step]))
    if field.type == "char" and field.count is not None:
        return bytes(items)
    return items if field.count is not None else items[0]


def unpack(name, data):
    """The fields of record `name` in `data` (exactly its size) as a dict:
    nested records as dicts, arrays as lists, every arm of a union decoded."""
    rec = record(name)
    if len(data) != size(name):
        raise ValueError(f"{name} is {size(name)} bytes, not {len(data)}")
    return {f.path: _get(rec, f, data, f.offset.value(*HOST)) for f in rec.fields.values() if "." not in f.path}
