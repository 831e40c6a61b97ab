#!/usr/bin/env python3
"""Generates a library's parameter-shape rules from its table.

The TABLE (api/<key>/params.txt) holds one rule a line: a rule kind, with its
argument in parentheses where it takes one, then the exact `type name` pairs
of the parameters the rule covers, separated by commas:

    heap_bytes          u8_t const *const data, u32_t const dataLength
    text_out(256)       char *const text
    journal(relays)     u8_t const *const relayStates, u16_t const relays

Every function that the library's headers declare with those pairs follows
the line (consecutive and in order for a rule of several parameters, as SWIG
matches them; anywhere for the pairs of `journal` and the count of
`records_beside_count`). A line that matches no function, a pair that
matches a parameter only up to its top-level qualifiers (SWIG would apply the
rule there too), and two lines sizing the same pointer are errors, except
that a rule of more parameters takes a parameter from one of fewer, as in
SWIG.

Writes
  --out-rules  the module's interface lines: the rule applications and one
               QX_NESTED_MEMBER_BY_COPY(R) for every named record of the
               library's own headers that is a member of one of its records
               (a record declared elsewhere is known to the module by name
               only and keeps SWIG's default);
  --out-sizes  the journal sizes (lines `Function parameter C-expression`)
               that gen_journal.py takes, derived from each rule.

Rule kinds (R and T are the pointed-to types of the parameters):
  heap_bytes DATA, LENGTH             QX_BYTE_LIST_TO_HEAP_BUFFER      DATA: LENGTH elements
  heap_bytes_count_first_fail_in LENGTH, DATA
                                      QX_COUNT_THEN_HEAP_BYTES_FAIL_IN DATA: LENGTH elements
  stack_bytes PARAM                   QX_BYTE_LIST_TO_STACK_BUFFER     PARAM: 64 bytes
  stack_bytes_length COUNT, PARAM     QX_STACK_BUFFER_LENGTH           (COUNT at most 64)
  record_list COUNT, ARRAY            QX_RECORD_LIST_TO_ARRAY          ARRAY: COUNT records
  records_beside_count COUNT, RECORDS QX_RECORDS_BESIDE_COUNT          RECORDS: COUNT records
  records_beside_count_cell CELL, RECORDS
                                      QX_RECORDS_BESIDE_COUNT_CELL     RECORDS: *CELL records
  records_beside_count_member(MEMBER) RECORD, RECORDS
                                      QX_RECORDS_BESIDE_COUNT_MEMBER   RECORDS: RECORD->MEMBER records
  count_out_beside_records CELL, RECORDS
                                      QX_COUNT_OUT_BESIDE_RECORDS      (RECORDS: one record)
  capacity_bytes BUFFER, COUNT        QX_CAPACITY_TO_BYTE_LIST         BUFFER: *COUNT elements
  capacity_bytes_fail_in BUFFER, COUNT
                                      QX_CAPACITY_TO_BYTE_LIST_FAIL_IN BUFFER: *COUNT elements
  capacity_record_list COUNT, BLOCK, SIZE
                                      QX_CAPACITY_TO_RECORD_LIST       BLOCK: *COUNT x SIZE bytes
  capacity_record_array COUNT, BLOCK  QX_CAPACITY_TO_RECORD_ARRAY      BLOCK: *COUNT records
  array_arg(N) PARAM                  QX_ARRAY_ARG_FROM_LIST           PARAM: N elements
  array_in(N) PARAM                   QX_ARRAY_ARG_IN_FROM_LIST        PARAM: N elements
  pointer_list COUNT, ARRAY           QX_POINTER_LIST_TO_ARRAY         ARRAY: COUNT elements
  text_out(N) TEXT                    QX_STRING_OUT                    TEXT: N bytes
  text_out_size_first(N) SIZE, TEXT   QX_STRING_OUT_SIZE_FIRST         TEXT: *SIZE bytes
  text_out_size_last(N) TEXT, SIZE    QX_STRING_OUT_SIZE_LAST          TEXT: *SIZE bytes
  ip_address_in PARAM                 QX_IP_ADDRESS_TUPLE_IN           PARAM: 4 bytes
  ip_address_out PARAM                QX_IP_ADDRESS_LIST_OUT           PARAM: 4 bytes
  scalar_out(T) PARAM                 %apply T *QX_OUTPUT              (one element)
  record_out PARAM                    QX_RECORD_OUTPUT + %apply        (one record)
  reach(EXPR) PARAM, PAIRS...         QX_REACH                         PARAM: EXPR bytes
  journal(EXPR) PARAM, PAIRS...       no binding rule                  PARAM: EXPR bytes

`reach` and `journal` name a pointer parameter that the caller passes as a
pointer object, through which the native function reads or writes EXPR
bytes; EXPR is C in the function's parameter names (the PAIRS it uses are
listed after PARAM; they may stand anywhere in the function). `reach` also
has the binding refuse an object known to reach fewer bytes: for every
function it covers, the rules file defines QX_REACH_BYTES_<function>_<PARAM>
as EXPR over the wrapper's arguments (arg1, arg2, ...), which the rule's
check reads. `journal` only sizes the journal (texts read up to a zero
byte, opaque handles).
"""
import argparse
import os
from collections import namedtuple
import re
import sys

from pycparser import c_ast

import header_walk

# Bytes of the buffer that QX_BYTE_LIST_TO_STACK_BUFFER passes
# (bindings/shared/qx_lists.i).
STACK_BUFFER_BYTES = 64
IP_ADDRESS_BYTES = 4


class TableError(Exception):
    pass


# How each rule kind reads and what it gives. Format fields: t0, t1, ... the
# table's pairs, n0, n1, ... their names, r0, r1, ... the types they point to
# (their own type if no pointer), arg the line's argument.
#   pairs     number of pairs (None: one or more)
#   adjacent  the pairs are consecutive parameters, in order (as SWIG matches
#             a rule of several parameters); else present anywhere
#   arg       the kind takes an argument in parentheses
#   rules     interface lines
#   sized     index of the pair whose journal size `size` gives
Kind = namedtuple("Kind", "pairs adjacent arg rules sized size")
ELEMENTS = "(size_t)({count}) * sizeof *{param}"
CELL = "(size_t)({cell} ? *{cell} : 0) * sizeof *{param}"
KINDS = {
    "heap_bytes": Kind(2, True, False, ["QX_BYTE_LIST_TO_HEAP_BUFFER({t0}, {t1})"],
                       0, ELEMENTS.format(count="{n1}", param="{n0}")),
    # The length first, with the wording of the CAN and Trovix modules.
    "heap_bytes_count_first_fail_in": Kind(2, True, False, ["QX_COUNT_THEN_HEAP_BYTES_FAIL_IN({t0}, {t1})"],
                                           1, ELEMENTS.format(count="{n0}", param="{n1}")),
    "stack_bytes": Kind(1, True, False, ["QX_BYTE_LIST_TO_STACK_BUFFER({t0})"], 0, str(STACK_BUFFER_BYTES)),
    "stack_bytes_length": Kind(2, True, False, ["QX_STACK_BUFFER_LENGTH({t0}, {t1}, $1, {n0})"], None, None),
    "record_list": Kind(2, True, False, ["QX_RECORD_LIST_TO_ARRAY({r1}, {t0}, {t1})"],
                        1, ELEMENTS.format(count="{n0}", param="{n1}")),
    # The count is an earlier parameter, not necessarily the one before.
    "records_beside_count": Kind(2, False, False, ["QX_RECORDS_BESIDE_COUNT({r1}, {t0}, {t1})"],
                                 1, ELEMENTS.format(count="{n0}", param="{n1}")),
    "records_beside_count_cell": Kind(2, False, False, ["QX_RECORDS_BESIDE_COUNT_CELL({r1}, {t0}, {t1})"],
                                      1, CELL.format(cell="{n0}", param="{n1}")),
    # The count is a member of an earlier record argument.
    "records_beside_count_member": Kind(2, False, True,
                                        ["QX_RECORDS_BESIDE_COUNT_MEMBER({r1}, {t0}, {arg}, {t1})"],
                                        1, "(size_t)({n0} ? {n0}->{arg} : 0) * sizeof *{n1}"),
    # An appended count whose cell carries the room of the caller's records in.
    "count_out_beside_records": Kind(2, True, False, ["QX_COUNT_OUT_BESIDE_RECORDS({r1}, {t0}, {t1})"],
                                     None, None),
    "capacity_bytes": Kind(2, True, False, ["QX_CAPACITY_TO_BYTE_LIST({t0}, {t1})"],
                           0, CELL.format(cell="{n1}", param="{n0}")),
    # The same, with the wording of the CAN and Trovix modules.
    "capacity_bytes_fail_in": Kind(2, True, False, ["QX_CAPACITY_TO_BYTE_LIST_FAIL_IN({t0}, {t1})"],
                                   0, CELL.format(cell="{n1}", param="{n0}")),
    "capacity_record_list": Kind(3, True, False, ["QX_CAPACITY_TO_RECORD_LIST({r1}, {t0}, {t1}, {t2})"],
                                 1, "(size_t)({n0} ? *{n0} : 0) * {n2}"),
    "capacity_record_array": Kind(2, True, False, ["QX_CAPACITY_TO_RECORD_ARRAY({r1}, {t0}, {t1})"],
                                  1, CELL.format(cell="{n0}", param="{n1}")),
    "array_arg": Kind(1, True, True, ["QX_ARRAY_ARG_FROM_LIST({r0}, {t0}, {arg})"],
                      0, ELEMENTS.format(count="{arg}", param="{n0}")),
    "array_in": Kind(1, True, True, ["QX_ARRAY_ARG_IN_FROM_LIST({r0}, {t0}, {arg})"],
                     0, ELEMENTS.format(count="{arg}", param="{n0}")),
    # A list of pointer objects whose pointees are copied; its length must
    # fit the count's type (the narrow-count rule, bindings/shared/qx_lists.i).
    "pointer_list": Kind(2, True, False, ["QX_POINTER_LIST_TO_ARRAY({r1}, {t0}, {t1})"],
                         1, ELEMENTS.format(count="{n0}", param="{n1}")),
    "text_out": Kind(1, True, True, ["QX_STRING_OUT({t0}, {arg})"], 0, "{arg}"),
    "text_out_size_first": Kind(2, True, True, ["QX_STRING_OUT_SIZE_FIRST({t0}, {t1}, {arg})"],
                                1, "(size_t)({n0} ? *{n0} : 0)"),
    "text_out_size_last": Kind(2, True, True, ["QX_STRING_OUT_SIZE_LAST({t0}, {t1}, {arg})"],
                               0, "(size_t)({n1} ? *{n1} : 0)"),
    "ip_address_in": Kind(1, True, False, ["QX_IP_ADDRESS_TUPLE_IN({t0})"], 0, str(IP_ADDRESS_BYTES)),
    "ip_address_out": Kind(1, True, False, ["QX_IP_ADDRESS_LIST_OUT({t0})"], 0, str(IP_ADDRESS_BYTES)),
    "scalar_out": Kind(1, True, True, ["%apply {arg} *QX_OUTPUT {{ {t0} }};"], None, None),
    "record_out": Kind(1, True, False, ["QX_RECORD_OUTPUT({r0})", "%apply {r0} *QX_RECORD_OUTPUT {{ {t0} }};"],
                       None, None),
    "reach": Kind(None, False, True, ["QX_REACH({t0})"], 0, "{arg}"),
    "journal": Kind(None, False, True, [], 0, "{arg}"),
}

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


def read_table(path):
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
        if not match or match.group(1) not in KINDS:
            raise TableError(f"{where}: unknown rule kind in `{text}`")
        kind, rest, arg = match.group(1), text[match.end():], None
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
        rule_kind = KINDS[kind]
        if rule_kind.arg and arg is None:
            raise TableError(f"{where}: {kind} needs its argument in parentheses")
        if not rule_kind.arg and arg is not None:
            raise TableError(f"{where}: {kind} takes no argument")
        texts = [t.strip() for t in rest.split(",")]
        if (rule_kind.pairs is not None and len(texts) != rule_kind.pairs) or not all(texts):
            raise TableError(f"{where}: {kind} takes {rule_kind.pairs or 'one or more'} `type name` pairs")
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
    if KINDS[line.kind].adjacent:
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
    if line.kind in ("records_beside_count", "records_beside_count_member") and indices[0] > indices[1]:
        return None
    return indices


def check_loose(line, funcs):
    """A binding rule whose pair would reach a parameter SWIG matches only
    after dropping its qualifiers: the journal and the module would differ."""
    if line.kind in ("journal", "reach"):
        return
    for key in line.keys:
        for name, params in funcs:
            for p in params:
                if p is not None and p != key and strip_top(p) == key:
                    raise TableError(f"{line.where}: `{', '.join(line.texts)}` also reaches a parameter of {name} "
                                     "declared with more qualifiers; spell the pair exactly as declared")


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


def generate(library, lines):
    decls = declarations(library)
    funcs = [(name, params) for name, params, _ in decls]
    names_of = {name: names for name, _, names in decls}
    rules, sizes, declared, reaches = [], {}, set(), []
    for line in lines:
        rule_kind = KINDS[line.kind]
        check_loose(line, funcs)
        fields = {"arg": line.arg}
        for i, (text, key) in enumerate(zip(line.texts, line.keys)):
            fields.update({f"t{i}": text, f"n{i}": key[3], f"r{i}": pointee(key)})
        hits = 0
        for fname, params in funcs:
            if match(line, params) is None:
                continue
            hits += 1
            if line.kind == "reach":
                reaches.append((fname, line.keys[0][3], wrapper_expression(line.arg, names_of[fname])))
            if rule_kind.sized is None:
                continue
            # As SWIG does, a rule of more parameters takes a parameter from
            # a rule of fewer; a journal line never overlaps a binding rule.
            width = 0 if line.kind in ("journal", "reach") else len(line.keys)
            param = line.keys[rule_kind.sized][3]
            if (fname, param) in sizes:
                _, where, other = sizes[(fname, param)]
                if width == other or not (width and other):
                    raise TableError(f"{line.where}: {fname} {param} is sized by {where} already")
                if width < other:
                    continue
            sizes[(fname, param)] = (rule_kind.size.format(**fields), line.where, width)
        if not hits:
            raise TableError(f"{line.where}: `{', '.join(line.texts)}` matches no function")
        for text in (rule.format(**fields) for rule in rule_kind.rules):
            if text.startswith(("QX_RECORD_OUTPUT(", "QX_REACH(")):
                if text in declared:
                    continue
                declared.add(text)
            rules.append(text)
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
    ap.add_argument("--out-rules", required=True)
    ap.add_argument("--out-sizes", required=True)
    args = ap.parse_args()

    try:
        library = header_walk.read_arguments(args)
        rules, sizes = generate(library, read_table(args.table))
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
        if rules:
            out.write(f"\n/* Parameter shapes ({source}). */\n")
            out.write("".join(f"{r}\n" for r in rules))
    with open(args.out_sizes, "w") as out:
        out.write(f"# Generated from {source}: journaled byte counts of pointer arguments.\n")
        out.write("".join(f"{f} {p} {e}\n" for f, p, e in sizes))
    return 0


if __name__ == "__main__":
    sys.exit(main())
