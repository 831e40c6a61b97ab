"""Transport-protocol configuration: the parameter records of GMLAN (with
its USDT and UUDT parts), ISO 15765 (parameter and command forms), J1939,
TP 1.6 and TP 2.0, and the configuration of a channel with each."""
import pytest

import qxtest
can = qxtest.module("_qx_api_can")

from layouts import pack, size, unpack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402
from tp_control import (channel, filled, get_path, logged, records, scalar_fields, set_path,  # noqa: E402,F401
                        take, tp)

GMLAN, ISOTP, ISO15765 = ("Qx_Can_Tp_Config_GmLan_Parameters_t", "Qx_Can_Tp_Config_IsoTp_Parameters_t",
                          "Qx_Can_Tp_Config_Iso15765_Cmd_t")

# binding, its record, the record's size
CONFIGS = [
    ("Qx_Can_Tp_Config_GmLan", GMLAN, 40),
    ("Qx_Can_Tp_Config_IsoTp", ISOTP, 48),
    ("Qx_Can_Tp_Config_J1939", "Qx_Can_Tp_Config_J1939_Parameters_t", 40),
    ("Qx_Can_Tp_Config_Tp_1_6", "Qx_Can_Tp_Config_Tp_1_6_Parameters_t", 28),
    ("Qx_Can_Tp_Config_Tp_2_0", "Qx_Can_Tp_Config_Tp_2_0_Parameters_t", 24),
    ("Qx_Can_Tp_Config_Iso15765", ISO15765, 60),
]
RECORDS = [record for _, record, _ in CONFIGS]


# ---- the records --------------------------------------------------------------------

@pytest.mark.parametrize("function, name, bytes_", CONFIGS)
def test_a_record_round_trips_every_field_to_the_library(sim, port, channel, records, function, name, bytes_):
    record = records(name)
    assert size(name) == bytes_
    assert all(get_path(can, name, record, path) == 0 for path, _, _ in scalar_fields(name))
    values = filled(can, name, record)
    assert {path: get_path(can, name, record, path) for path in values} == values
    if name == ISO15765:  # formats the library knows
        values.update(AddressingFormat_Physical=2, AddressingFormat_Functional=1)
        set_path(can, name, record, "AddressingFormat_Physical", 2)
        set_path(can, name, record, "AddressingFormat_Functional", 1)
    assert getattr(can, function)(port, channel, record) is None
    call = sim.last(function)
    assert [call.arg(1).value, call.arg(2).value, call.arg(3).value] == [port, channel, int(record)]
    assert call.arg(3).bytes == pack(name, values)


def test_a_new_record_is_zero_in_every_byte(sim, port, channel, records):
    # The bytes that belong to no field (47 of ISO-TP, 59 of ISO 15765) included.
    for function, name, _ in CONFIGS:
        getattr(can, function)(port, channel, records(name))
        assert sim.last(function).arg(3).bytes == bytes(size(name))


@pytest.mark.parametrize("name, path, type_", [
    (ISOTP, "TimeoutAs", "u16_t"),
    (ISOTP, "PhysicalAddressingFormat", "Qx_Can_Tp_Config_IsoTp_AddressingFormat_t"),
    (ISOTP, "Flags", "Qx_Can_Tp_Config_IsoTp_CmdFlags_t"),
    (ISO15765, "Flags", "Qx_Can_Tp_Config_Iso15765_CmdFlags_t"),
    (ISO15765, "STmin", "u8_t"),
    ("Qx_Can_Tp_Config_Tp_2_0_Parameters_t", "ApplicationType", "Qx_Can_Tp_Config_Tp_2_0_ApplicationType_t"),
    ("Qx_Can_Tp_Config_J1939_Parameters_t", "TimeoutT4", "u32_t"),
    (GMLAN + "_USDT", "Flags", "Qx_Can_Tp_Config_GmLan_CmdFlags_t"),
    (GMLAN + "_USDT", "FunctionalAddressingFormat", "Qx_Can_Tp_Config_GmLan_AddressingFormat_t"),
    (GMLAN + "_UUDT", "ResponseId", "u32_t"),
])
def test_setters_refuse_values_that_are_no_unsigned_32_bit_int(records, name, path, type_):
    record = records(name)
    setter = getattr(can, f"{name}_{path}_set")
    message = f"in method '{name}_{path}_set', argument 2 of type '{type_}'"
    for value, cls in ((-1, OverflowError), (2**32, OverflowError), (1.0, TypeError), ("1", TypeError),
                       (None, TypeError)):
        with raises(cls, message):
            setter(record, value)
    assert getattr(can, f"{name}_{path}_get")(record) == 0


def test_accessors_take_only_their_own_record_type(records):
    isotp, iso15765 = records(ISOTP), records(ISO15765)
    with raises(TypeError, f"in method '{ISOTP}_TimeoutAs_set', argument 1 of type '{ISOTP} *'"):
        can.Qx_Can_Tp_Config_IsoTp_Parameters_t_TimeoutAs_set(iso15765, 1)
    with raises(TypeError, f"in method '{ISOTP}_TimeoutAs_get', argument 1 of type '{ISOTP} *'"):
        can.Qx_Can_Tp_Config_IsoTp_Parameters_t_TimeoutAs_get(5)
    with raises(TypeError, f"in method '{GMLAN}_USDT_get', argument 1 of type '{GMLAN} *'"):
        can.Qx_Can_Tp_Config_GmLan_Parameters_t_USDT_get(isotp)
    with raises(ValueError, f"invalid null reference in method '{ISOTP}_TimeoutAs_get', argument 1 of type "
                            f"'{ISOTP} *'"):
        can.Qx_Can_Tp_Config_IsoTp_Parameters_t_TimeoutAs_get(None)
    with raises(ValueError, f"invalid null reference in method '{GMLAN}_USDT_get', argument 1 of type "
                            f"'{GMLAN} *'"):
        can.Qx_Can_Tp_Config_GmLan_Parameters_t_USDT_get(None)
    can.Qx_Can_Tp_Config_IsoTp_Parameters_t_TimeoutAs_set(None, 5)  # a None record stores nothing


def test_gmlan_parts_are_views_into_the_parent(sim, port, channel, records):
    parent = records(GMLAN)
    usdt = can.Qx_Can_Tp_Config_GmLan_Parameters_t_USDT_get(parent)
    uudt = can.Qx_Can_Tp_Config_GmLan_Parameters_t_UUDT_get(parent)
    assert "Qx_Can_Tp_Config_GmLan_Parameters_t_USDT" in repr(usdt)
    can.Qx_Can_Tp_Config_GmLan_Parameters_t_USDT_TimeoutCr_set(usdt, 0xBEEF)
    can.Qx_Can_Tp_Config_GmLan_Parameters_t_USDT_PhysicalSourceAddress_set(usdt, 0x11)
    can.Qx_Can_Tp_Config_GmLan_Parameters_t_UUDT_ResponseId_set(uudt, 0x18DAF110)
    can.Qx_Can_Tp_Config_GmLan(port, channel, parent)
    sent = sim.last("Qx_Can_Tp_Config_GmLan").arg(3).bytes
    assert sent[0] == 0x11 and sent[34:36] == b"\xef\xbe" and sent[36:40] == (0x18DAF110).to_bytes(4, "little")
    assert unpack(GMLAN, sent)["UUDT"] == {"ResponseId": 0x18DAF110}
    # views own nothing: deleting one leaves the parent whole
    can.delete_Qx_Can_Tp_Config_GmLan_Parameters_t_USDT(usdt)
    assert can.Qx_Can_Tp_Config_GmLan_Parameters_t_UUDT_ResponseId_get(
        can.Qx_Can_Tp_Config_GmLan_Parameters_t_UUDT_get(parent)) == 0x18DAF110
    # the parts are reached through their getters alone
    assert not hasattr(can, GMLAN + "_USDT_set") and not hasattr(can, GMLAN + "_UUDT_set")


def test_a_gmlan_part_made_alone_is_a_record_of_its_own(records):
    usdt = records(GMLAN + "_USDT")
    assert size(GMLAN, "USDT") == 36
    can.Qx_Can_Tp_Config_GmLan_Parameters_t_USDT_AllNodeFunctionalRequestId_set(usdt, 0x101)
    assert can.Qx_Can_Tp_Config_GmLan_Parameters_t_USDT_AllNodeFunctionalRequestId_get(usdt) == 0x101
    with raises(TypeError, "in method 'Qx_Can_Tp_Config_GmLan', argument 3 of type "
                           f"'{GMLAN} const *const'"):
        can.Qx_Can_Tp_Config_GmLan(1, 1, usdt)


# ---- configuring a channel ----------------------------------------------------------

@pytest.mark.parametrize("function, name, _", CONFIGS)
def test_configuration_refuses_other_records_and_passes_none_as_null(sim, port, channel, records, function, name, _):
    other = records(ISOTP if name != ISOTP else ISO15765)
    with raises(TypeError, f"in method '{function}', argument 3 of type '{name} const *const'"):
        getattr(can, function)(port, channel, other)
    with raises(TypeError, f"in method '{function}', argument 3 of type '{name} const *const'"):
        getattr(can, function)(port, channel, 5)
    assert sim.calls(function) == 0
    with raises(Exception, f"{function}: no parameters given"):
        getattr(can, function)(port, channel, None)
    assert sim.last(function).arg(3).is_null


@pytest.mark.parametrize("function, name, _", CONFIGS)
def test_configuration_argument_errors(sim, port, records, function, name, _):
    record = records(name)
    with raises(TypeError, f"in method '{function}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(can, function)(None, 1, record)
    with raises(OverflowError, f"in method '{function}', argument 2 of type 'u8_t'"):
        getattr(can, function)(port, 2**32, record)
    with raises(TypeError, f"{function} expected 3 arguments, got 2"):
        getattr(can, function)(port, 1)
    assert sim.calls(function) == 0


@pytest.mark.parametrize("function, name, _", CONFIGS)
def test_configuration_needs_a_taken_channel_and_config_off_ends_it(sim, port, take, records, function, name, _):
    record = records(name)
    with raises(Exception, f"{function}: channel 1 is not taken"):
        getattr(can, function)(port, 1, record)
    channel = take()
    assert getattr(can, function)(port, channel, record) is None
    assert getattr(can, function)(port, channel, record) is None  # configured again
    assert can.Qx_Can_Tp_Config_Off(port, channel) is None
    with pytest.raises(Exception, match="no transport protocol configured"):
        can.Qx_Can_Tp_Config_Off(port, channel)


def test_a_failed_configuration_raises_the_error_text_and_leaves_the_record(sim, port, channel, records):
    record = records(ISO15765)
    values = filled(can, ISO15765, record)
    sim.fail("Qx_Can_Tp_Config_Iso15765", 0x77, b"bus off")
    with raises(Exception, "bus off"):
        can.Qx_Can_Tp_Config_Iso15765(port, channel, record)
    assert {path: get_path(can, ISO15765, record, path) for path in values} == values


@pytest.mark.parametrize("physical, functional, message", [
    (3, 0, "physical addressing format 3 unknown"),
    (0, 255, "functional addressing format 255 unknown"),
])
def test_iso15765_addressing_formats_are_the_modules_constants(sim, port, channel, records, physical, functional,
                                                              message):
    record = records(ISO15765)
    can.Qx_Can_Tp_Config_Iso15765_Cmd_t_AddressingFormat_Physical_set(record, physical)
    can.Qx_Can_Tp_Config_Iso15765_Cmd_t_AddressingFormat_Functional_set(record, functional)
    with raises(Exception, f"Qx_Can_Tp_Config_Iso15765: {message}"):
        can.Qx_Can_Tp_Config_Iso15765(port, channel, record)
    for value in (can.QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__NORMAL,
                  can.QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__EXTENDED,
                  can.QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__MIXED):
        can.Qx_Can_Tp_Config_Iso15765_Cmd_t_AddressingFormat_Physical_set(record, value)
        can.Qx_Can_Tp_Config_Iso15765_Cmd_t_AddressingFormat_Functional_set(record, value)
        assert can.Qx_Can_Tp_Config_Iso15765(port, channel, record) is None


def test_addressing_format_constants():
    assert [can.QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__NORMAL, can.QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__EXTENDED,
            can.QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__MIXED,
            can.QX_CAN__TP__ISO_15765__ADDRESSING_FORMAT__UNKNOWN_LAST] == [0, 1, 2, 3]
    assert all(type(getattr(can, n)) is int for n in dir(can) if n.startswith("QX_CAN__TP__"))


@pytest.mark.parametrize("name", RECORDS + [GMLAN + "_USDT", GMLAN + "_UUDT"])
def test_record_lifecycle_entries(records, name):
    record = qxtest.new_record(can, name)
    assert f"'{name} *'" in repr(record)
    assert getattr(can, "delete_" + name)(record) is None
    assert getattr(can, "delete_" + name)(record) is None  # a second delete frees nothing

    class Holder:
        pass
    holder = Holder()
    made = records(name)
    assert getattr(can, name + "_swiginit")(holder, made) is None and holder.this is made
