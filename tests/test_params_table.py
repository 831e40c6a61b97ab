"""The table of parameter shapes: which functions a line reaches, the journal
sizes and rule lines derived from it, the lines refused because the module
and the journal would disagree, and the kinds tables that name the rules
(generators/gen_params.py)."""
import glob
import os
import re
import subprocess
import sys

import pytest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
GENERATORS = os.path.join(ROOT, "generators")
GEN = os.path.join(GENERATORS, "gen_params.py")
sys.path.insert(0, GENERATORS)
import gen_params  # noqa: E402

HEADER = """\
#include "qx_types.h"
typedef struct { u8_t b[4]; } Addr_t;
typedef struct { u32_t Id; Addr_t Own; } Item_t;
typedef struct { Item_t Inner; u8_t Len; } Wrap_t;
typedef struct { u8_t *Bytes; Item_t const *Items; void (*Done)(u32_t); u8_t *Again; } Holder_t;
typedef struct { u8_t *Bytes; } Other_t;
int Send(u8_t const *const data, u32_t const dataLength);
int SendReversed(u32_t const dataLength, u8_t const *const data);
int SendItems(u32_t const itemCount, Item_t const *const items);
int Name(char *const text);
int NameSized(char *const text, u32_t *const textSize);
int Read(u8_t *const buffer, u32_t *const count);
int Loose(u8_t const *data, u32_t dataLength);
int Fill(u32_t *const filled, Item_t *const slots);
int FillLate(Item_t *const slots, u32_t *const filled);
"""


def generate(tmp_path, table, kinds=None):
    header = tmp_path / "lib.h"
    header.write_text(HEADER)
    (tmp_path / "params.txt").write_text(table)
    rules, sizes = tmp_path / "rules.i", tmp_path / "sizes.txt"
    extra = []
    if kinds is not None:
        (tmp_path / "kinds.txt").write_text(kinds)
        extra = ["--kinds", str(tmp_path / "kinds.txt")]
    proc = subprocess.run([sys.executable, GEN, "--header", str(header), "--include", os.path.join(ROOT, "api"),
                           "--table", str(tmp_path / "params.txt"), "--out-rules", str(rules),
                           "--out-sizes", str(sizes)] + extra, capture_output=True, text=True)
    if proc.returncode:
        return proc.stderr, None, None
    lines = [line for line in sizes.read_text().splitlines() if not line.startswith("#")]
    return None, rules.read_text(), lines


def test_rules_and_sizes_follow_the_matching_functions(tmp_path):
    error, rules, sizes = generate(tmp_path, """\
heap_bytes                u8_t const *const data, u32_t const dataLength
record_list               u32_t const itemCount, Item_t const *const items
text_out(16)              char *const text
text_out_size_last(16)    char *const text, u32_t *const textSize
capacity_bytes            u8_t *const buffer, u32_t *const count
journal(dataLength)       u8_t const *data, u32_t dataLength
""")
    assert error is None
    # SendReversed holds both pairs, but not in the order of the rule: SWIG
    # would not apply it, so neither does the journal. Loose differs only in
    # its qualifiers and follows its own journal line.
    assert sizes == [
        "Send data (size_t)(dataLength) * sizeof *data",
        "SendItems items (size_t)(itemCount) * sizeof *items",
        "Name text 16",
        "NameSized text (size_t)(textSize ? *textSize : 0)",
        "Read buffer (size_t)(count ? *count : 0) * sizeof *buffer",
        "Loose data dataLength",
    ]
    # Each kind applies the macro of its own name.
    assert "QX_HEAP_BYTES(u8_t const *const data, u32_t const dataLength)\n" in rules
    assert "QX_RECORD_LIST(Item_t, u32_t const itemCount, Item_t const *const items)\n" in rules
    assert "QX_TEXT_OUT_SIZE_LAST(char *const text, u32_t *const textSize, 16)\n" in rules
    assert "QX_CAPACITY_BYTES(u8_t *const buffer, u32_t *const count)\n" in rules
    # Members of a record type of the headers are copied in whole, each
    # record once; a byte array member is no record.
    assert [line for line in rules.splitlines() if line.startswith("QX_NESTED")] == [
        "QX_NESTED_MEMBER_BY_COPY(Addr_t)", "QX_NESTED_MEMBER_BY_COPY(Item_t)"]
    # Every data pointer member's getter follows its setter's note, each
    # `type name` once; a function pointer member points at code.
    assert [line for line in rules.splitlines() if line.startswith("QX_POINTER")] == [
        "QX_POINTER_MEMBER(u8_t, Bytes)", "QX_POINTER_MEMBER(Item_t const, Items)", "QX_POINTER_MEMBER(u8_t, Again)"]


@pytest.mark.parametrize("table, message", [
    ("heap_bytes u8_t const *const data, u32_t const length\n", "matches no function"),
    ("heap_bytes u8_t const *data, u32_t dataLength\n", "more qualifiers"),
    ("stack_bytes u8_t const *const data\njournal(4) u8_t const *const data\n", "sized by params.txt:1 already"),
    ("text_out(16) char *const text\ntext_out(32) char *const text\n", "sized by params.txt:1 already"),
    ("byte_soup u8_t const *const data\n", "unknown rule kind"),
    ("heap_bytes u8_t const *const data\n", "takes 2"),
    ("text_out char *const text\n", "needs its argument"),
    ("stack_bytes(64) u8_t const *const data\n", "takes no argument"),
    ("journal((4) u8_t const *const data\n", "unbalanced"),
    # The wording of a module is its setting, never a kind of its own.
    ("capacity_bytes_fail_in u8_t *const buffer, u32_t *const count\n", "unknown rule kind"),
    # A module's own kind is unknown to a table that is not given its kinds.
    ("ip_address_in u8_t const *const data\n", "unknown rule kind"),
])
def test_lines_that_would_split_module_and_journal_are_refused(tmp_path, table, message):
    error, _, _ = generate(tmp_path, table)
    assert error is not None and message in error


def test_records_beside_a_count_follow_only_functions_with_the_count_first(tmp_path):
    # The rule's check reads the count before it checks the records: FillLate,
    # with the pair in the other order, does not follow the line.
    error, rules, sizes = generate(tmp_path, "records_beside_count_cell u32_t *const filled, Item_t *const slots\n")
    assert error is None
    assert sizes == ["Fill slots (size_t)(filled ? *filled : 0) * sizeof *slots"]
    assert "QX_RECORDS_BESIDE_COUNT_CELL(Item_t, u32_t *const filled, Item_t *const slots)\n" in rules


def test_byte_list_with_its_count_first_sizes_the_journal_by_the_count(tmp_path):
    error, rules, sizes = generate(tmp_path, "heap_bytes_count_first u32_t const dataLength, "
                                             "u8_t const *const data\n")
    assert error is None
    assert sizes == ["SendReversed data (size_t)(dataLength) * sizeof *data"]
    assert "QX_HEAP_BYTES_COUNT_FIRST(u32_t const dataLength, u8_t const *const data)\n" in rules


MODULE_KINDS = """\
# kind          pairs           | macro arguments        | journal size
fill_slots(N)   FILLED, SLOTS   | *SLOTS, FILLED, SLOTS, N | SLOTS: (size_t)(N) * sizeof *SLOTS + FILLED[0]
"""


def test_a_modules_own_kinds_come_from_its_kinds_table(tmp_path):
    error, rules, sizes = generate(tmp_path, "fill_slots(3) u32_t *const filled, Item_t *const slots\n",
                                   kinds=MODULE_KINDS)
    assert error is None
    assert "QX_FILL_SLOTS(Item_t, u32_t *const filled, Item_t *const slots, 3)\n" in rules
    # Placeholders become parameter names and the argument, whole words only.
    assert sizes == ["Fill slots (size_t)(3) * sizeof *slots + filled[0]"]


@pytest.mark.parametrize("kinds, message", [
    ("heap_bytes DATA, LENGTH | DATA, LENGTH |\n", "heap_bytes is declared already"),
    ("fill_slots FILLED, SLOTS | SLOTS, COUNT |\n", "macro argument `COUNT`"),
    ("fill_slots FILLED, SLOTS | SLOTS | COUNT: 4\n", "`PAIR: C expression`"),
    ("fill_slots FILLED, FILLED | FILLED |\n", "distinct placeholders"),
    ("fill_slots FILLED, SLOTS | SLOTS\n", "name[(ARG)] pairs | macro arguments | journal size"),
])
def test_kinds_tables_that_do_not_name_a_rule_are_refused(tmp_path, kinds, message):
    error, _, _ = generate(tmp_path, "heap_bytes u8_t const *const data, u32_t const dataLength\n", kinds=kinds)
    assert error is not None and "kinds.txt:1" in error and message in error


def _macros(paths):
    """{macro name: number of parameters} of the %define lines of `paths`."""
    found = {}
    for path in paths:
        with open(path) as source:
            for m in re.finditer(r"^%define (QX_\w+)\(([^)]*)\)", source.read(), re.M):
                found[m.group(1)] = len(m.group(2).split(","))
    return found


def _kinds_tables():
    yield "shared", gen_params.KINDS
    for path in sorted(glob.glob(os.path.join(ROOT, "bindings", "*", "kinds.txt"))):
        with open(path) as table:
            yield os.path.basename(os.path.dirname(path)), gen_params.read_kinds(table.read(), path, gen_params.KINDS)


@pytest.mark.parametrize("folder, kinds", list(_kinds_tables()), ids=lambda v: v if isinstance(v, str) else "")
def test_every_kind_is_the_name_of_a_macro_of_its_own_folder(folder, kinds):
    shared = _macros(glob.glob(os.path.join(ROOT, "bindings", "shared", "*.i")))
    own = shared if folder == "shared" else _macros(glob.glob(os.path.join(ROOT, "bindings", folder, "*.i")))
    for kind in kinds.values():
        if kind.macro is None:
            continue
        macro = f"QX_{kind.name.upper()}"
        assert own.get(macro) == len(kind.macro), f"{kind.where}: {macro} with {len(kind.macro)} arguments"
        if folder != "shared":
            assert macro not in shared, f"{macro} of bindings/{folder} is a shared rule"


# ---- storage that no binding can size ---------------------------------------------------------

README = os.path.join(ROOT, "README.md")
API = os.path.join(ROOT, "api")


def unchecked_rows():
    """(function, parameter) of every argument that an `unchecked` row of
    the libraries' tables covers."""
    import header_walk
    found = set()
    includes = [API] + sorted(d for d in glob.glob(os.path.join(API, "*")) if os.path.isdir(d))
    for table in sorted(glob.glob(os.path.join(API, "*", "params.txt"))):
        key = os.path.basename(os.path.dirname(table))
        own = os.path.join(ROOT, "bindings", key, "kinds.txt")
        kinds = gen_params.load_kinds([own] if os.path.exists(own) else [])
        lines = [line for line in gen_params.read_table(table, kinds) if line.kind.name == "unchecked"]
        if not lines:
            continue
        library = header_walk.read(sorted(glob.glob(os.path.join(API, key, "*.h"))), includes)
        for name, params, names in gen_params.declarations(library):
            for line in lines:
                at = gen_params.match(line, params)
                if at is not None:
                    found.add((name, names[at[0]]))
    return found


def readme_unchecked():
    """(function, parameter) of every binding the README's list of storage
    that no binding can size names: each item names its bindings, then the
    argument's name in parentheses."""
    with open(README) as text:
        readme = text.read()
    start = readme.index("\n- storage that no binding can size")
    end = re.compile(r"^- ", re.M).search(readme, start + 2).start()
    found = set()
    for item in re.split(r"\n  - ", readme[start:end])[1:]:
        parameter = re.search(r"\(`(\w+)`\)", item).group(1)
        found.update((name, parameter) for name in re.findall(r"`(Qx_\w+)`", item))
    return found


def test_the_readme_names_every_argument_that_passes_unchecked_and_no_other():
    rows = unchecked_rows()
    assert ("Qx_Common_Xcp_Cmd_GetSeed", "seed") in rows and ("Qx_Trovix_SignalBlock_Write", "blockData") in rows
    assert readme_unchecked() == rows
