"""The record-layout tables (api/<key>/layout.txt): each record's size and
each field's offset, type and array count as the bindings rely on them (the
format is described at the top of every table).

    load("api")  ->  {record name: Record}, every table of every library

Read by gen_layout.py, which checks the declarations against the tables at
compile time, and by the tests (tests/layouts.py packs and unpacks records
from them), so that the checks and the tests read one and the same table.
"""
import glob
import os
import re

# Scalar types: byte width and kind.
SCALARS = {
    "u8": (1, "unsigned"), "u16": (2, "unsigned"), "u32": (4, "unsigned"), "u64": (8, "unsigned"),
    "s32": (4, "signed"), "s64": (8, "signed"), "f64": (8, "floating"),
    "char": (1, "char"),
}
# Scalars as wide as a host type: `size` is a size_t (S bytes).
HOST_SCALARS = {"size": "unsigned"}
POINTER = "ptr"
NESTED = ("struct", "union")

NAME = re.compile(r"[A-Za-z_][A-Za-z0-9_]*$")
PATH = re.compile(r"[A-Za-z_][A-Za-z0-9_]*(\.[A-Za-z_][A-Za-z0-9_]*)*$")
TYPE = re.compile(r"([A-Za-z_][A-Za-z0-9_]*)(?:\[(\d+)\])?$")
TERM = re.compile(r"(?:(\d+)\*)?([PS])$|(\d+)$")


class LayoutError(Exception):
    pass


class Size:
    """A byte count `const + pointers * P + sizes * S`, P being the host's
    pointer size and S the size of its size_t."""

    def __init__(self, const=0, pointers=0, sizes=0):
        self.const, self.pointers, self.sizes = const, pointers, sizes

    @classmethod
    def parse(cls, text):
        const = pointers = sizes = 0
        for term in text.split("+"):
            match = TERM.match(term.strip())
            if not match:
                raise LayoutError(f"bad size or offset '{text}' (terms: N, P, S, N*P or N*S, joined by +)")
            if match.group(3) is not None:
                const += int(match.group(3))
            elif match.group(2) == "P":
                pointers += int(match.group(1) or 1)
            else:
                sizes += int(match.group(1) or 1)
        return cls(const, pointers, sizes)

    def __add__(self, other):
        return Size(self.const + other.const, self.pointers + other.pointers, self.sizes + other.sizes)

    def __mul__(self, count):
        return Size(self.const * count, self.pointers * count, self.sizes * count)

    def value(self, pointer_size, size_t_size):
        return self.const + self.pointers * pointer_size + self.sizes * size_t_size

    def _terms(self, pointer, size_t):
        terms = [str(self.const)] if self.const or not (self.pointers or self.sizes) else []
        for count, unit in ((self.pointers, pointer), (self.sizes, size_t)):
            if count:
                terms.append(unit if count == 1 else f"{count}{'*' if unit in 'PS' else ' * '}{unit}")
        return terms

    def c(self):
        return " + ".join(self._terms("sizeof(void *)", "sizeof(size_t)"))

    def __str__(self):
        return "+".join(self._terms("P", "S"))


class Field:
    """One line of a record: `path` (dotted inside nested records), `offset`
    (a Size), `type` (a scalar name, "ptr", "struct", "union" or a record
    name), `count` (None unless an array) and, for a record declared in place,
    its size `nested_size`."""

    def __init__(self, path, offset, type_, count, nested_size):
        self.path, self.offset, self.type, self.count, self.nested_size = path, offset, type_, count, nested_size

    @property
    def name(self):
        return self.path.rsplit(".", 1)[-1]


class Record:
    def __init__(self, name, kind, size, where):
        self.name, self.kind, self.size, self.where = name, kind, size, where
        self.fields = {}  # path -> Field, in table order


def parse(path):
    """The records of one table, in table order."""
    records = []
    with open(path) as table:
        for number, line in enumerate(table, 1):
            where = f"{path}:{number}"
            text = line.split("#", 1)[0].rstrip()
            if not text:
                continue
            words = text.split()
            try:
                if not line[0].isspace():
                    if len(words) != 3 or not NAME.match(words[0]) or words[1] not in NESTED:
                        raise LayoutError("a record line is '<name> struct|union <size>'")
                    records.append(Record(words[0], words[1], Size.parse(words[2]), where))
                    continue
                if not records:
                    raise LayoutError("a field line before the first record")
                record = records[-1]
                if len(words) not in (3, 4) or not PATH.match(words[0]):
                    raise LayoutError("a field line is '<path> <offset> <type>'")
                path_, offset, type_ = words[0], Size.parse(words[1]), TYPE.match(words[2])
                if not type_:
                    raise LayoutError(f"bad type '{words[2]}'")
                base, count = type_.group(1), type_.group(2)
                nested_size = None
                if base in NESTED:
                    if len(words) != 4:
                        raise LayoutError(f"'{base}' needs its size: '{base} <size>'")
                    nested_size = Size.parse(words[3])
                elif len(words) != 3:
                    raise LayoutError(f"unexpected '{words[3]}' after the type")
                if path_ in record.fields:
                    raise LayoutError(f"field {path_} twice in {record.name}")
                parent = path_.rpartition(".")[0]
                if parent and (parent not in record.fields or record.fields[parent].type not in NESTED):
                    raise LayoutError(f"{path_}: {parent} is not a nested record listed before it")
                record.fields[path_] = Field(path_, offset, base, int(count) if count is not None else None,
                                             nested_size)
            except LayoutError as error:
                raise LayoutError(f"{where}: {error}") from None
    return records


def load(api_dir):
    """All tables under api_dir: {record name: Record}; checks that every type
    a field names is known."""
    records = {}
    for path in sorted(glob.glob(os.path.join(api_dir, "*", "layout.txt"))):
        for record in parse(path):
            if record.name in records:
                raise LayoutError(f"{record.where}: {record.name} is also in {records[record.name].where}")
            records[record.name] = record
    for record in records.values():
        for field in record.fields.values():
            if field.type not in SCALARS and field.type not in HOST_SCALARS and field.type not in NESTED \
                    and field.type != POINTER and field.type not in records:
                raise LayoutError(f"{record.where}: {record.name}.{field.path}: unknown type '{field.type}'")
    return records


def element_size(field, records):
    """The Size of one element of `field`."""
    if field.type in SCALARS:
        return Size(SCALARS[field.type][0])
    if field.type in HOST_SCALARS:
        return Size(0, 0, 1)
    if field.type == POINTER:
        return Size(0, 1)
    if field.type in NESTED:
        return field.nested_size
    return records[field.type].size
