"""Which rule each member type of _qx_api_common's records follows, by its
type in api/common/layout.txt ("T[]" for an array of T).
tests/rules/test_rules_members.py checks every member of the library's
records by it."""
MEMBER_RULES = {
    "u8": "unsigned",
    "u32": "unsigned",
    "size": "size",
    # No numeric conversion in this module: values travel in pointer objects.
    "u16": "by_pointer",
    "ptr": "pointer",
    "u8[]": "by_pointer",
    "u32[]": "by_pointer",
}
