"""Which rule each member type of _qx_api_toy's records follows, by its type
in api/toy/layout.txt. tests/rules/test_rules_members.py checks every member
of the library's records by it."""
MEMBER_RULES = {
    "u32": "unsigned",
}
