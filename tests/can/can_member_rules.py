"""Which rule each member type of _qx_api_can's records follows, by its type
in api/can/layout.txt ("T[]" for an array of T). tests/rules/test_rules_members.py
checks every member of the library's records by it."""
MEMBER_RULES = {
    "u8": "unsigned",
    "u16": "unsigned",
    "u32": "unsigned",
    "u64": "unsigned64",
    "f64": "by_pointer",
    "ptr": "pointer",
    "u8[]": "list",
    "u32[]": "list",
    "u16[]": "by_pointer",
    "u64[]": "by_pointer",
}
