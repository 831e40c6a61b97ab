"""The table of parameter shapes: which functions a line reaches, the journal
sizes and rule lines derived from it, and the lines refused because the
module and the journal would disagree."""
import os
import subprocess
import sys

import pytest

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
GEN = os.path.join(ROOT, "generators", "gen_params.py")

HEADER = """\
#include "qx_types.h"
typedef struct { u8_t b[4]; } Addr_t;
typedef struct { u32_t Id; Addr_t Own; } Item_t;
typedef struct { Item_t Inner; u8_t Len; } Wrap_t;
int Send(u8_t const *const data, u32_t const dataLength);
int SendReversed(u32_t const dataLength, u8_t const *const data);
int SendItems(u32_t const itemCount, Item_t const *const items);
int Name(char *const text);
int NameSized(char *const text, u32_t *const textSize);
int Read(u8_t *const buffer, u32_t *const count);
int Loose(u8_t const *data, u32_t dataLength);
"""


def generate(tmp_path, table):
    header = tmp_path / "lib.h"
    header.write_text(HEADER)
    (tmp_path / "params.txt").write_text(table)
    rules, sizes = tmp_path / "rules.i", tmp_path / "sizes.txt"
    proc = subprocess.run([sys.executable, GEN, "--header", str(header), "--include", os.path.join(ROOT, "api"),
                           "--table", str(tmp_path / "params.txt"), "--out-rules", str(rules), "--out-sizes", str(sizes)],
                          capture_output=True, text=True)
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
    assert "QX_BYTE_LIST_TO_HEAP_BUFFER(u8_t const *const data, u32_t const dataLength)\n" in rules
    assert "QX_RECORD_LIST_TO_ARRAY(Item_t, u32_t const itemCount, Item_t const *const items)\n" in rules
    assert "QX_STRING_OUT_SIZE_LAST(char *const text, u32_t *const textSize, 16)\n" in rules
    # Members of a record type of the headers are copied in whole, each
    # record once; a byte array member is no record.
    assert [line for line in rules.splitlines() if line.startswith("QX_NESTED")] == [
        "QX_NESTED_MEMBER_BY_COPY(Addr_t)", "QX_NESTED_MEMBER_BY_COPY(Item_t)"]


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
])
def test_lines_that_would_split_module_and_journal_are_refused(tmp_path, table, message):
    error, _, _ = generate(tmp_path, table)
    assert error is not None and message in error


def test_capacity_bytes_with_the_can_wording_size_the_journal_as_the_plain_kind(tmp_path):
    error, rules, sizes = generate(tmp_path, "capacity_bytes_fail_in    u8_t *const buffer, u32_t *const count\n")
    assert error is None
    assert sizes == ["Read buffer (size_t)(count ? *count : 0) * sizeof *buffer"]
    assert "QX_CAPACITY_TO_BYTE_LIST_FAIL_IN(u8_t *const buffer, u32_t *const count)\n" in rules
    assert "QX_CAPACITY_TO_BYTE_LIST(" not in rules


def test_byte_list_with_its_count_first_sizes_the_journal_by_the_count(tmp_path):
    error, rules, sizes = generate(tmp_path, "heap_bytes_count_first_fail_in u32_t const dataLength, "
                                             "u8_t const *const data\n")
    assert error is None
    assert sizes == ["SendReversed data (size_t)(dataLength) * sizeof *data"]
    assert "QX_COUNT_THEN_HEAP_BYTES_FAIL_IN(u32_t const dataLength, u8_t const *const data)\n" in rules
