#!/usr/bin/env python3
"""Generates a library's parameter-shape rules from its table.

The TABLE (api/<key>/params.txt) holds one rule a line: a rule kind, with its
argument in parentheses where it takes one, then the exact `type name` pairs
of the parameters the rule covers, separated by commas:

    heap_bytes          u8_t const *const data, u32_t const dataLength
    text_out(256)       char *const text
    journal(relays)     u8_t const *const relayStates, u16_t const relays

A kind is the name of the rule it applies: kind `heap_bytes` is the macro
QX_HEAP_BYTES of bindings/shared/, written out with the line's pairs. The
kinds every module shares are KINDS below; a module's own rules are declared
in bindings/<key>/kinds.txt beside their macros and given with --kinds. How
a rule words its messages is the module's setting, not a kind (see
bindings/shared/qx_lists.i).

Every function that the library's headers declare with a line's pairs
follows the line (consecutive and in order, as SWIG matches a rule of
several parameters, unless the kind says otherwise). A line that matches no
function, a pair that matches a parameter only up to its top-level
qualifiers (SWIG would apply the rule there too), and two lines sizing the
same pointer are errors, except that a rule of more parameters takes a
parameter from one of fewer, as in SWIG.

Writes
  --out-rules  the module's interface lines: the rule applications, one
               QX_NESTED_MEMBER_BY_COPY(R) for every named record of the
               library's own headers that is a member of one of its records
               (a record declared elsewhere is known to the module by name
               only and keeps SWIG's default), and one
               QX_POINTER_MEMBER(T, NAME) for every data pointer member
               `T *NAME` of its records;
  --out-sizes  the journal sizes (lines `Function parameter C-expression`)
               that sim/gen_journal.py takes, derived from each rule;
  --out-storage  the storage module's arrays of the library's records
               that a script passes several of: one
               QX_STORAGE_RECORD_ARRAY(R, MODULE) for the record type of
               every pair a kind names RECORDS (caller-made storage of
               several records beside a count), with the library's headers
               (MODULE: --module, the library's proxy module).

A kinds table (KINDS, bindings/<key>/kinds.txt) holds one kind a line, three
columns parted by `|`:

    name[(ARG)]  pairs  |  macro arguments  |  journal size

  name        the kind, and QX_<NAME> its macro; (ARG) when a table line
              gives it an argument in parentheses
  pairs       placeholders of the pairs a table line gives: `A, B` consecutive
              parameters in this order; `A .. B` B anywhere after A; `A ...`
              A anywhere, followed by any further pairs that name the
              parameters the argument uses (those of a `...` kind bind no
              rule: they may overlap a rule's pair and reach parameters that
              differ only in their qualifiers). The placeholder RECORDS
              marks storage of several records that the caller makes: the
              storage module makes arrays of its record type
  macro       the macro's arguments: a placeholder stands for its pair as the
              table line spells it, `*A` for the type A points to, ARG for
              the line's argument; empty: the kind has no rule
  journal     `A: C expression`, the bytes the stand-in journals for pair A's
              pointer, a placeholder standing for its parameter's name and ARG
              for the argument; empty: the pointee's size (the default). For
              storage the native side writes, this is its room (the bytes the
              call may write, taken at call entry), which also bounds what
              the simulated device writes into it from a script

`reach` has the binding refuse a pointer object known to reach fewer than
EXPR bytes: for every function it covers, the rules file also defines
QX_REACH_BYTES_<function>_<PARAM> as EXPR over the wrapper's arguments
(arg1, arg2, ...), which QX_REACH's check reads. `journal` only sizes the
journal (texts read up to a zero byte, opaque handles). `unchecked` does
the same for the caller's storage that the native side reads or writes but
that no binding can size (data whose layout only the library knows, storage
whose count cell the library gives its meaning): the binding passes it
unchecked, EXPR is also what the stand-in reads or writes there, and the
README names every binding with such a line. Either EXPR may call a lookup
of the stand-in, declared in sim/<key>/journal_sizes.h.

`reach_member(MEMBER: COUNT)` has the binding refuse a record whose pointer
member MEMBER is known to reach fewer than COUNT of what it points to
(COUNT a member of the record, or a number): the rules file defines, for
each record type, qx_members_short_<R>(record) over all its lines, and
applies QX_REACH_MEMBERS(<pair>, R) to the record's pair. A member count
that counts records of the library brings their array to the storage
module (--out-storage), as a RECORDS pair does.
"""
import argparse
import os
import re
import sys
from collections import namedtuple

from pycparser import c_ast

import header_walk

KINDS_TEXT = """\
# Lists (bindings/shared/qx_lists.i)
heap_bytes               DATA, LENGTH           | DATA, LENGTH                     | DATA: (size_t)(LENGTH) * sizeof *DATA
heap_bytes_count_first   LENGTH, DATA           | LENGTH, DATA                     | DATA: (size_t)(LENGTH) * sizeof *DATA
stack_bytes              PARAM                  | PARAM                            | PARAM: QX_BUFFER_BYTES
stack_bytes_length       COUNT, PARAM           | COUNT, PARAM                     |
record_list              COUNT, ARRAY           | *ARRAY, COUNT, ARRAY             | ARRAY: (size_t)(COUNT) * sizeof *ARRAY
capacity_bytes           BUFFER, COUNT          | BUFFER, COUNT                    | BUFFER: (size_t)(COUNT ? *COUNT : 0) * sizeof *BUFFER
capacity_record_list     COUNT, BLOCK, SIZE     | *BLOCK, COUNT, BLOCK, SIZE       | BLOCK: (size_t)(COUNT ? *COUNT : 0) * SIZE
capacity_record_array    COUNT, BLOCK           | *BLOCK, COUNT, BLOCK             | BLOCK: (size_t)(COUNT ? *COUNT : 0) * sizeof *BLOCK
array_arg(N)             PARAM                  | *PARAM, PARAM, N                 | PARAM: (size_t)(N) * sizeof *PARAM
array_in(N)              PARAM                  | *PARAM, PARAM, N                 | PARAM: (size_t)(N) * sizeof *PARAM
# A list of pointer objects whose pointees are copied; its length must fit
# the count's type.
pointer_list             COUNT, ARRAY           | *ARRAY, COUNT, ARRAY             | ARRAY: (size_t)(COUNT) * sizeof *ARRAY
# Texts (qx_texts.i)
text_out(N)              TEXT                   | TEXT, N                          | TEXT: N
text_out_size_first(N)   SIZE, TEXT             | SIZE, TEXT, N                    | TEXT: (size_t)(SIZE ? *SIZE : 0)
text_out_size_last(N)    TEXT, SIZE             | TEXT, SIZE, N                    | TEXT: (size_t)(SIZE ? *SIZE : 0)
# Outputs (qx_outputs.i)
scalar_out(T)            PARAM                  | T, PARAM                         |
record_out               PARAM                  | *PARAM, PARAM                    |
# Record pointers beside their count: an earlier parameter, the caller's
# cell, a member of an earlier record argument (qx_records.i).
records_beside_count     COUNT .. RECORDS       | *RECORDS, COUNT, RECORDS         | RECORDS: (size_t)(COUNT) * sizeof *RECORDS
records_beside_count_cell  CELL .. RECORDS      | *RECORDS, CELL, RECORDS          | RECORDS: (size_t)(CELL ? *CELL : 0) * sizeof *RECORDS
records_beside_count_member(MEMBER)  HOLDER .. RECORDS  | *RECORDS, HOLDER, MEMBER, RECORDS  | RECORDS: (size_t)(HOLDER ? HOLDER->MEMBER : 0) * sizeof *RECORDS
# Pointer objects through which the native side reads or writes EXPR bytes,
# EXPR being C over the function's parameter names (qx_records.i).
reach(EXPR)              PARAM ...              | PARAM                            | PARAM: EXPR
journal(EXPR)            PARAM ...              |                                  | PARAM: EXPR
# Caller's storage that no binding can size, passed unchecked: EXPR is what
# the stand-in reads or writes there (the README names every such binding).
unchecked(EXPR)          PARAM ...              |                                  | PARAM: EXPR
# A record argument with a pointer member and, beside it, the count of what
# the member points to: MEMBER: COUNT, COUNT a member of the record or a
# number (qx_records.i, QX_REACH_MEMBERS).
reach_member(MEMBER)     HOLDER ...             |                                  |
"""


class TableError(Exception):
    pass


# One kind of a kinds table.
#   pairs    placeholders of the pairs a line gives (the first of a `...`
#            kind; further ones are the line's own)
#   mode     "adjacent", "ordered" or "anywhere" (a `...` kind)
#   macro    the macro's argument items, None: no rule
#   sized    the placeholder whose pointer `size` sizes, else None
Kind = namedtuple("Kind", "name arg pairs mode macro sized size where")

PLACEHOLDER = r"[A-Z][A-Z0-9_]*"


def read_kinds(text, source, known=None):
    """The kinds of a kinds table, by name; `known` holds those already
    declared (a table may add kinds, never change one)."""
    kinds = {}
    known = known or {}
    for number, raw in enumerate(text.splitlines(), 1):
        line = raw.split("#", 1)[0].strip()
        if not line:
            continue
        where = f"{source}:{number}"
        columns = [c.strip() for c in line.split("|", 2)]
        m = re.fullmatch(rf"([a-z][a-z0-9_]*)(?:\(({PLACEHOLDER})\))?\s+(.+)", columns[0])
        if len(columns) != 3 or not m:
            raise TableError(f"{where}: a kind is `name[(ARG)] pairs | macro arguments | journal size`")
        name, arg, pairs_text = m.groups()
        if name in known or name in kinds:
            raise TableError(f"{where}: kind {name} is declared already")
        if pairs_text.endswith("..."):
            mode, pairs = "anywhere", [pairs_text[:-3].strip()]
        elif ".." in pairs_text:
            mode, pairs = "ordered", [p.strip() for p in pairs_text.split("..")]
        else:
            mode, pairs = "adjacent", [p.strip() for p in pairs_text.split(",")]
        if not all(re.fullmatch(PLACEHOLDER, p) for p in pairs) or len(set(pairs + [arg])) != len(pairs) + 1:
            raise TableError(f"{where}: the pairs of {name} are distinct placeholders (A, B or A .. B or A ...)")
        macro = None
        if columns[1]:
            macro = [item.strip() for item in columns[1].split(",")]
            for item in macro:
                if item.lstrip("*") not in pairs and (item != arg or arg is None):
                    raise TableError(f"{where}: macro argument `{item}` of {name} is no pair or argument")
        sized = size = None
        if columns[2]:
            m = re.fullmatch(rf"({PLACEHOLDER})\s*:\s*(.+)", columns[2])
            if not m or m.group(1) not in pairs:
                raise TableError(f"{where}: the journal size of {name} is `PAIR: C expression`")
            sized, size = m.groups()
        kinds[name] = Kind(name, arg, tuple(pairs), mode, macro, sized, size, where)
    return kinds


KINDS = read_kinds(KINDS_TEXT, "gen_params.py")

QUALIFIERS = {"const", "volatile", "restrict"}


def pair_key(text, where):
    """Canonical form of a `type name` pair as the table spells it:
    (type words, base qualifiers, qualifiers of each pointer from the inside
    out, name)."""
    tokens = re.findall(r"\*|[A-Za-z_]\w*|\S", text)
    if len(tokens) < 2 or not re.fullmatch(r"[A-Za-z_]\w*", tokens[-1]) or tokens[-1] in QUALIFIERS:
        raise TableError(f"{where}: `{text}` is not a `type name` pair")
    name, tokens = tokens[-1], tokens[:-1]
    words, quals, pointers = [], set(), []
    for token in tokens:
        if token == "*":
            pointers.append(set())
        elif token in QUALIFIERS:
            (pointers[-1] if pointers else quals).add(token)
        elif re.fullmatch(r"[A-Za-z_]\w*", token) and not pointers:
            words.append(token)
        else:
            raise TableError(f"{where}: `{text}` is not a `type name` pair")
    if not words:
        raise TableError(f"{where}: `{text}` names no type")
    return (tuple(words), frozenset(quals), tuple(frozenset(p) for p in pointers), name)


def node_key(decl):
    """Canonical form of a parameter declaration, None for shapes that no
    table line can name (function pointers, arrays, inline records)."""
    node, pointers = decl.type, []
    while isinstance(node, c_ast.PtrDecl):
        pointers.append(frozenset(node.quals))
        node = node.type
    if not (isinstance(node, c_ast.TypeDecl) and isinstance(node.type, c_ast.IdentifierType)):
        return None
    return (tuple(node.type.names), frozenset(node.quals), tuple(reversed(pointers)), decl.name)


def strip_top(key):
    """The key without its top-level qualifiers (those of the outermost
    pointer, or of the type itself)."""
    words, quals, pointers, name = key
    if pointers:
        return (words, quals, pointers[:-1] + (frozenset(),), name)
    return (words, frozenset(), pointers, name)


def pointee(key):
    """Name of the type a pointer pair points to, else of the pair's type."""
    return key[0][-1]


class Line:
    def __init__(self, where, kind, arg, texts, keys):
        self.where, self.kind, self.arg, self.texts, self.keys = where, kind, arg, texts, keys


def load_kinds(paths):
    """The shared kinds and those of the modules' kinds tables at `paths`."""
    kinds = dict(KINDS)
    for path in paths:
        with open(path) as table:
            kinds.update(read_kinds(table.read(), os.path.relpath(path), kinds))
    return kinds


def read_table(path, kinds):
    lines = []
    if not path or not os.path.exists(path):
        return lines
    with open(path) as table:
        raws = table.readlines()
    for number, raw in enumerate(raws, 1):
        text = raw.split("#", 1)[0].strip()
        if not text:
            continue
        where = f"{os.path.basename(path)}:{number}"
        match = re.match(r"([a-z_]+)", text)
        if not match or match.group(1) not in kinds:
            raise TableError(f"{where}: unknown rule kind in `{text}`")
        name, rest, arg = match.group(1), text[match.end():], None
        if rest.startswith("("):
            depth = 0
            for i, ch in enumerate(rest):
                depth += ch == "("
                depth -= ch == ")"
                if depth == 0:
                    break
            if depth:
                raise TableError(f"{where}: unbalanced parentheses")
            arg, rest = rest[1:i].strip(), rest[i + 1:]
        kind = kinds[name]
        if kind.arg and arg is None:
            raise TableError(f"{where}: {name} needs its argument in parentheses")
        if not kind.arg and arg is not None:
            raise TableError(f"{where}: {name} takes no argument")
        texts = [t.strip() for t in rest.split(",")]
        if not all(texts) or len(texts) < len(kind.pairs) or (kind.mode != "anywhere" and len(texts) > len(kind.pairs)):
            many = f"{len(kind.pairs)} or more" if kind.mode == "anywhere" else len(kind.pairs)
            raise TableError(f"{where}: {name} takes {many} `type name` pairs")
        lines.append(Line(where, kind, arg, texts, [pair_key(t, where) for t in texts]))
    return lines


def declarations(library):
    """(name, [parameter keys], [parameter names]) of every function the
    library declares."""
    return [(f.name, [node_key(p.decl) for p in f.params], [p.name for p in f.params]) for f in library.functions]


def wrapper_expression(expr, names):
    """EXPR over a function's parameter names, as the wrapper spells its
    converted arguments (arg1, arg2, ...)."""
    index = {name: i + 1 for i, name in enumerate(names) if name}
    def argument(m):
        return f"arg{index[m.group(1)]}" if m.group(1) in index else m.group(1)
    return re.sub(r"(?<![\w.>])([A-Za-z_]\w*)", argument, expr)


def match(line, params):
    """Indices of the line's pairs in one function's parameters, or None."""
    mode = line.kind.mode
    if mode == "adjacent":
        n = len(line.keys)
        for start in range(len(params) - n + 1):
            if all(params[start + i] == key for i, key in enumerate(line.keys)):
                return list(range(start, start + n))
        return None
    indices = []
    for key in line.keys:
        if key not in params:
            return None
        indices.append(params.index(key))
    if mode == "ordered" and indices != sorted(indices):
        return None
    return indices


def check_loose(line, funcs):
    """A binding rule whose pair would reach a parameter SWIG matches only
    after dropping its qualifiers: the journal and the module would differ."""
    if line.kind.mode == "anywhere":
        return
    for key in line.keys:
        for name, params in funcs:
            for p in params:
                if p is not None and p != key and strip_top(p) == key:
                    raise TableError(f"{line.where}: `{', '.join(line.texts)}` also reaches a parameter of {name} "
                                     "declared with more qualifiers; spell the pair exactly as declared")


def substitute(text, values):
    """`text` with each placeholder of `values` replaced by its value."""
    return re.sub(rf"\b{PLACEHOLDER}\b", lambda m: values.get(m.group(0), m.group(0)), text)


def rule_text(line):
    """The line's macro application, None for a kind without a rule."""
    kind = line.kind
    if kind.macro is None:
        return None
    texts = dict(zip(kind.pairs, line.texts))
    items = []
    for item in kind.macro:
        if item == kind.arg:
            items.append(line.arg)
        elif item.startswith("*"):
            items.append(pointee(line.keys[kind.pairs.index(item[1:])]))
        else:
            items.append(texts[item])
    return f"QX_{kind.name.upper()}({', '.join(items)})"


def size_text(line):
    """The journal size the line gives its sized pointer, in the function's
    parameter names."""
    kind = line.kind
    values = {p: key[3] for p, key in zip(kind.pairs, line.keys)}
    if kind.arg:
        values[kind.arg] = line.arg
    return substitute(kind.size, values)


def nested_records(library):
    """Named records of the library that are members of its records, in
    order of first use."""
    records = {r.name for r in library.records}
    found = []
    for record in library.records:
        for member in record.members:
            t = member.type
            if isinstance(t, c_ast.TypeDecl) and isinstance(t.type, c_ast.IdentifierType):
                name = t.type.names[-1]
                if name in records and name not in found:
                    found.append(name)
    return found


def pointer_members(library):
    """`TYPE, NAME` of every data pointer member of the library's records
    (function pointers, which point at code, aside), each pair once, in
    order of first use."""
    found = []
    for record in library.records:
        for member in record.members:
            t = member.type
            if not isinstance(t, c_ast.PtrDecl) or not isinstance(t.type, c_ast.TypeDecl) \
                    or not isinstance(t.type.type, c_ast.IdentifierType):
                continue
            pair = f"{' '.join(t.type.type.names + t.type.quals)}, {member.name}"
            if pair not in found:
                found.append(pair)
    return found


MEMBER_REACH = re.compile(r"([A-Za-z_]\w*)\s*:\s*([A-Za-z_]\w*|\d+)")


def member_reach(line, library):
    """(record, member, count, pointee) of a `reach_member` line: the count
    a member name or a number, the pointee the name of the type the member
    points to."""
    m = MEMBER_REACH.fullmatch(line.arg)
    if not m:
        raise TableError(f"{line.where}: reach_member takes `MEMBER: COUNT`, a member and a member or a number")
    member, count = m.groups()
    record = pointee(line.keys[0])
    found = next((r for r in library.records if r.name == record), None)
    if not found:
        raise TableError(f"{line.where}: {record} is no record of the library")
    members = {mem.name: mem.type for mem in found.members}
    kind = members.get(member)
    if not isinstance(kind, c_ast.PtrDecl):
        raise TableError(f"{line.where}: {member} is no pointer member of {record}")
    if not count.isdigit() and count not in members:
        raise TableError(f"{line.where}: {count} is no member of {record}")
    target = kind.type
    names = target.type.names if isinstance(target, c_ast.TypeDecl) and isinstance(target.type, c_ast.IdentifierType) \
        else [None]
    return record, member, count, names[-1]


def storage_records(lines, library):
    """Record types of the pairs that kinds name RECORDS (caller-made
    storage of several records), and of the records a `reach_member` count
    counts, in table order."""
    found = []
    records = {r.name for r in library.records}
    for line in lines:
        record = None
        if "RECORDS" in line.kind.pairs:
            record = pointee(line.keys[line.kind.pairs.index("RECORDS")])
        elif line.kind.name == "reach_member":
            _, _, count, target = member_reach(line, library)
            if not count.isdigit() and target in records:
                record = target
        if record and record not in found:
            found.append(record)
    return found


def member_checks(lines, library):
    """The checks of the `reach_member` lines: the C functions, one per
    record type, and the rule applications, one per pair."""
    counts, pairs = {}, []
    for line in lines:
        if line.kind.name != "reach_member":
            continue
        record, member, count, _ = member_reach(line, library)
        size = count if count.isdigit() else f"record->{count}"
        counts.setdefault(record, []).append(
            f"qx_member_short(&record->{member}, record->{member}, "
            f"(unsigned long long)({size}) * sizeof *record->{member})")
        rule = f"QX_REACH_MEMBERS({line.texts[0]}, {record})"
        if rule not in pairs:
            pairs.append(rule)
    if not counts:
        return []
    functions = "".join(f"SWIGINTERN int qx_members_short_{record}(const {record} *record) {{\n"
                        f"  return {(chr(10) + '      || ').join(checks)};\n}}\n"
                        for record, checks in counts.items())
    return ["/* Pointer members beside the counts of what they point to. */\n%{\n" + functions + "%}"] + pairs


def generate(library, lines):
    decls = declarations(library)
    funcs = [(name, params) for name, params, _ in decls]
    names_of = {name: names for name, _, names in decls}
    rules, sizes, reaches = [], {}, []
    for line in lines:
        kind = line.kind
        check_loose(line, funcs)
        hits = 0
        for fname, params in funcs:
            if match(line, params) is None:
                continue
            hits += 1
            if kind.name == "reach":
                reaches.append((fname, line.keys[0][3], wrapper_expression(line.arg, names_of[fname])))
            if kind.sized is None:
                continue
            # As SWIG does, a rule of more parameters takes a parameter from
            # a rule of fewer; a `...` line never overlaps a binding rule.
            width = 0 if kind.mode == "anywhere" else len(line.keys)
            param = line.keys[kind.pairs.index(kind.sized)][3]
            if (fname, param) in sizes:
                _, where, other = sizes[(fname, param)]
                if width == other or not (width and other):
                    raise TableError(f"{line.where}: {fname} {param} is sized by {where} already")
                if width < other:
                    continue
            sizes[(fname, param)] = (size_text(line), line.where, width)
        if not hits:
            raise TableError(f"{line.where}: `{', '.join(line.texts)}` matches no function")
        if kind.name == "reach_member":
            member_reach(line, library)
        text = rule_text(line)
        if text is not None and text not in rules:
            rules.append(text)
    rules.extend(member_checks(lines, library))
    order = [name for name, _ in funcs]
    size_lines = sorted(((f, p, e) for (f, p), (e, _, _) in sizes.items()), key=lambda s: order.index(s[0]))
    if reaches:
        defines = "".join(f"#define QX_REACH_BYTES_{f}_{p} ((unsigned long long)({e}))\n"
                          for f, p, e in sorted(reaches, key=lambda r: order.index(r[0])))
        rules.append("/* Bytes each function reads or writes through its pointer object. */\n%{\n" + defines + "%}")
    return rules, size_lines


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    header_walk.add_arguments(ap)
    ap.add_argument("--table")
    ap.add_argument("--kinds", action="append", default=[], help="a module's own kinds table (repeatable)")
    ap.add_argument("--out-rules", required=True)
    ap.add_argument("--out-sizes", required=True)
    ap.add_argument("--out-storage")
    ap.add_argument("--module", help="the library's proxy module (qx_api_common), for --out-storage")
    args = ap.parse_args()

    try:
        kinds = load_kinds(args.kinds)
        lines = read_table(args.table, kinds)
        library = header_walk.read_arguments(args)
        rules, sizes = generate(library, lines)
    except (TableError, header_walk.WalkError) as e:
        print(f"gen_params: {e}", file=sys.stderr)
        return 1
    source = os.path.basename(args.table) if args.table else "no table"
    bases = ", ".join(os.path.basename(h) for h in args.header)
    with open(args.out_rules, "w") as out:
        out.write(f"/* Generated from {source} and {bases}: parameter shapes and record members. */\n\n")
        nested = nested_records(library)
        if nested:
            out.write("\n/* Members whose type is a record of this module: copied in whole. */\n")
            out.write("".join(f"QX_NESTED_MEMBER_BY_COPY({r})\n" for r in nested))
        pointers = pointer_members(library)
        if pointers:
            out.write("\n/* Data pointer members: what each getter returns follows what its setter noted. */\n")
            out.write("".join(f"QX_POINTER_MEMBER({p})\n" for p in pointers))
        if rules:
            out.write(f"\n/* Parameter shapes ({source}). */\n")
            out.write("".join(f"{r}\n" for r in rules))
    with open(args.out_sizes, "w") as out:
        out.write(f"# Generated from {source}: journaled byte counts of pointer arguments.\n")
        out.write("".join(f"{f} {p} {e}\n" for f, p, e in sizes))
    if args.out_storage:
        records = storage_records(lines, library)
        with open(args.out_storage, "w") as out:
            out.write(f"/* Generated from {source}: arrays of the records that the bindings of {args.module} "
                      "take several of. */\n")
            if records:
                out.write("%{\n" + "".join(f'#include "{os.path.basename(h)}"\n' for h in args.header) + "%}\n")
                out.write("".join(f"QX_STORAGE_RECORD_ARRAY({r}, {args.module})\n" for r in records))
    return 0


if __name__ == "__main__":
    sys.exit(main())
