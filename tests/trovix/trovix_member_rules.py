"""Which rule each member type of _qx_api_trovix's records follows, by its
type in api/trovix/layout.txt ("T[]" for an array of T).
tests/rules/test_rules_members.py checks every member of the library's
records by it."""
MEMBER_RULES = {
    "u8": "unsigned",
    "u16": "unsigned",
    "u32": "unsigned",
    "u64": "unsigned64",
    # No numeric conversion in this module: values travel in pointer objects.
    "f64": "by_pointer",
    "s32": "by_pointer",
    "s64": "by_pointer",
    "u8[]": "list",
    "u32[]": "list",
    "char[]": "text",
}
