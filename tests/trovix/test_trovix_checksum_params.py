"""Parameter records of the checksum modes that take parameters:
Qx_Trovix_Checksum_XorWithUserBytes_t, Qx_Trovix_Checksum_CrcWithUserBytes_t,
Qx_Trovix_Checksum_Custom12_t, Qx_Trovix_Checksum_AddNibbles_t,
Qx_Trovix_Checksum_Custom14_t and Qx_Trovix_Checksum_AddBytes_XorNibbles_t;
the checksum-mode constants."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

XOR = "Qx_Trovix_Checksum_XorWithUserBytes_t"
CRC = "Qx_Trovix_Checksum_CrcWithUserBytes_t"
C12 = "Qx_Trovix_Checksum_Custom12_t"
NIBBLES = "Qx_Trovix_Checksum_AddNibbles_t"
C14 = "Qx_Trovix_Checksum_Custom14_t"
BYTES_NIBBLES = "Qx_Trovix_Checksum_AddBytes_XorNibbles_t"
RECORDS = [XOR, CRC, C12, NIBBLES, C14, BYTES_NIBBLES]
USER_BYTES = [(XOR, 20), (CRC, 20), (C12, 16), (NIBBLES, 20)]


def fields_of(name):
    return list(layouts.record(name).fields)


def test_checksum_modes_keep_their_gaps():
    modes = {n[len("QX_TROVIX__CHECKSUM_MODE__"):]: getattr(tv, n) for n in dir(tv)
             if n.startswith("QX_TROVIX__CHECKSUM_MODE__")}
    assert modes == {"OFF": 0, "XOR": 1, "CRC8_J1850": 2, "ADD_AND_COMPLEMENT_TO_ONE": 8, "XOR_WITH_USER_BYTES": 16,
                     "CRC_WITH_USER_BYTES": 17, "CUSTOM_12": 18, "ADD_NIBBLES": 21, "CUSTOM_14": 22,
                     "ADD_BYTES__XOR_NIBBLES": 23}


@pytest.mark.parametrize("name, field, value, stored", [
    (XOR, "NumberOfUserBytes", 300, 44),
    (XOR, "NumberOfUserBytes", 21, 21),          # beyond the array: stored like any value
    (C12, "reserved", 256, 256),                 # the u32_t one
    (BYTES_NIBBLES, "reserved", 256, 0),         # the u8_t one
    (CRC, "Polynomial", 2**32 - 1, 2**32 - 1),
    (NIBBLES, "ExtraBits_Endianness", 0x1FF, 0xFF),
    (C14, "MessageId", 0x12345678, 0x12345678),
    (XOR, "UserBytes", [256, -1] + [0] * 18, [0, 255] + [0] * 18),
    (C12, "UserBytes", tuple(range(16)), list(range(16))),
])
def test_fields_store_their_width(name, field, value, stored):
    record = qxtest.new_record(tv, name, **{field: value})
    assert getattr(tv, f"{name}_{field}_get")(record) == stored


@pytest.mark.parametrize("name, field, declared", [
    (NIBBLES, "InitialValue", "u32_t"), (NIBBLES, "NumberOfUserBytes", "u8_t"), (CRC, "Polynomial", "u32_t"),
    (C12, "reserved", "u32_t"), (BYTES_NIBBLES, "reserved", "u8_t"), (C14, "MessageCounter_BitSize", "u8_t"),
])
@pytest.mark.parametrize("bad, exc", [(2**32, OverflowError), (-1, OverflowError), (1.0, TypeError),
                                      ("1", TypeError)])
def test_scalar_fields_refuse_and_keep_their_value(name, field, declared, bad, exc):
    record = qxtest.new_record(tv, name, **{field: 9})
    with qxtest.raises_exactly(exc, f"in method '{name}_{field}_set', argument 2 of type '{declared}'"):
        getattr(tv, f"{name}_{field}_set")(record, bad)
    assert getattr(tv, f"{name}_{field}_get")(record) == 9


@pytest.mark.parametrize("name, n", USER_BYTES)
@pytest.mark.parametrize("value, exc, ending", [
    ("short", ValueError, "Expecting a sequence with {n} elements"),
    ("long", ValueError, "Expecting a sequence with {n} elements"),
    ("float", ValueError, "Expecting a sequence of u8_t"),
    ("big", ValueError, "Expecting a sequence of u8_t"),
    (None, TypeError, "Expecting a sequence"),
    (3, TypeError, "Expecting a sequence"),
])
def test_user_bytes_are_all_or_nothing(name, n, value, exc, ending):
    value = {"short": [1] * (n - 1), "long": [1] * (n + 4), "float": [1] * (n - 1) + [1.5],
             "big": [2**31] + [1] * (n - 1)}.get(value, value)
    record = qxtest.new_record(tv, name, UserBytes=[7] * n)
    setter = f"{name}_UserBytes_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending.format(n=n)}"):
        getattr(tv, setter)(record, value)
    assert getattr(tv, f"{name}_UserBytes_get")(record) == [7] * n


@pytest.mark.parametrize("name", RECORDS)
def test_record_of_another_type_is_refused(name):
    other = qxtest.new_record(tv, "Qx_Trovix_Checksum_Custom14_t") if name != C14 else qxtest.new_record(tv, "Qx_Trovix_Checksum_Custom12_t")
    field = fields_of(name)[0]
    message = f"in method '{name}_{field}_set', argument 1 of type '{name} *'"
    with qxtest.raises_exactly(TypeError, message):
        getattr(tv, f"{name}_{field}_set")(other, 1)
    with qxtest.raises_exactly(TypeError, f"in method 'delete_{name}', argument 1 of type '{name} *'"):
        getattr(tv, "delete_" + name)(other)


@pytest.mark.parametrize("name, n", USER_BYTES)
def test_setters_given_no_record_store_nothing_but_check_the_value(name, n):
    assert getattr(tv, f"{name}_UserBytes_set")(None, [0] * n) is None
    assert getattr(tv, f"{name}_{fields_of(name)[0]}_set")(None, 1) is None
    with qxtest.raises_exactly(ValueError, f"fail in '{name}_UserBytes_set' : Expecting a sequence with {n} elements"):
        getattr(tv, f"{name}_UserBytes_set")(None, [0])
