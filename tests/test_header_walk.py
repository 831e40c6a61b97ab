"""The header walk (generators/header_walk.py) that the rule, layout, journal
and null-library generators read: what it takes for a library's own
declarations, how it sees the base types, and the layout generator's
refusal of a table record the headers do not declare."""
import os
import subprocess
import sys

import pytest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
GENERATORS = os.path.join(ROOT, "generators")
sys.path.insert(0, GENERATORS)
import header_walk  # noqa: E402

OTHER = """\
#include "qx_types.h"
typedef struct { u32_t Id; } Other_t;
int OtherCall(u32_t id);
"""
HEADER = """\
#include "other.h"
typedef struct Opaque Opaque_t;
typedef struct {
  u8_t Kind;
  struct { u16_t Low; Other_t Peer; } Inner;
  Other_t Tail;
} Rec_t;
typedef union { u32_t Word; u8_t Bytes[4]; } Word_t;
int NoArgs(void);
void Take(Rec_t const *const rec, u8_t count, float64_t scale);
"""


@pytest.fixture
def library(tmp_path):
    (tmp_path / "other.h").write_text(OTHER)
    (tmp_path / "lib.h").write_text(HEADER)
    return header_walk.read([str(tmp_path / "lib.h")], [str(tmp_path), os.path.join(ROOT, "api")])


def test_the_library_holds_its_own_declarations_only(library):
    # OtherCall and Other_t come from an included header: seen, not own.
    assert [(f.name, [p.name for p in f.params]) for f in library.functions] == [
        ("NoArgs", []), ("Take", ["rec", "count", "scale"])]
    assert [(r.name, r.kind, r.complete) for r in library.records] == [
        ("Opaque_t", "struct", False), ("Rec_t", "struct", True), ("Word_t", "union", True)]
    assert "Other_t" in library.types.typedefs


def test_record_members_include_those_of_records_declared_in_place(library):
    rec = library.records[1]
    assert [m.name for m in rec.members] == ["Kind", "Inner", "Low", "Peer", "Tail"]


def test_the_base_types_are_read_from_api_qx_types_h_as_c_sees_them(library):
    # No copy of qx_types.h exists for the parser: it reads the real one
    # over stand-ins of the C library's <stdint.h> and <stddef.h>.
    kinds = {name: library.types.scalar_kind(library.types.typedefs[name])
             for name in ("u8_t", "u16_t", "u32_t", "u64_t", "s32_t", "s64_t", "float64_t", "size_t")}
    assert kinds == {"u8_t": "u", "u16_t": "u", "u32_t": "u", "u64_t": "u",
                     "s32_t": "s", "s64_t": "s", "float64_t": "f", "size_t": "u"}
    take = library.functions[1]
    assert [library.types.scalar_kind(p.type) for p in take.params] == ["p", "u", "f"]


def test_a_header_the_preprocessor_refuses_is_an_error_naming_it(tmp_path):
    (tmp_path / "lib.h").write_text('#include "missing.h"\nint Call(void);\n')
    with pytest.raises(header_walk.WalkError, match="missing.h"):
        header_walk.read([str(tmp_path / "lib.h")], [os.path.join(ROOT, "api")])


@pytest.mark.parametrize("record", ["Opaque_t", "Other_t", "Absent_t"])
def test_layout_checks_refuse_a_record_the_headers_do_not_declare_with_members(tmp_path, record):
    (tmp_path / "other.h").write_text(OTHER)
    api = tmp_path / "api"
    (api / "lib").mkdir(parents=True)
    (api / "lib" / "lib.h").write_text(HEADER)
    (api / "lib" / "layout.txt").write_text(f"Word_t union 4\n  Word 0 u32\n{record} struct 4\n  Id 0 u32\n")
    proc = subprocess.run([sys.executable, os.path.join(GENERATORS, "gen_layout.py"),
                           "--header", str(api / "lib" / "lib.h"), "--include", str(tmp_path),
                           "--include", os.path.join(ROOT, "api"), "--api", str(api), "--key", "lib",
                           "--out", str(tmp_path / "checks.c")], capture_output=True, text=True)
    assert proc.returncode != 0
    assert f"layout.txt:3: {record} is no record that the headers of lib declare" in proc.stderr
