"""Trovix AUTOSAR CAN network management: Qx_Trovix_CanNm_Autosar_Config and
its record Qx_Trovix_CanNm_Autosar_Config_Parameters_t, whose eight PDU data
bytes are set from a sequence."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

NM = "Qx_Trovix_CanNm_Autosar_Config_Parameters_t"
SET = tv.Qx_Trovix_CanNm_Autosar_Config_Parameters_t_PduData_set
GET = tv.Qx_Trovix_CanNm_Autosar_Config_Parameters_t_PduData_get
NOT_USED = tv.QX_TROVIX__CAN_NM__AUTOSAR__PDU_NID_POSITION__NOT_USED


def fail_in(text):
    return f"fail in '{NM}_PduData_set' : {text}"


@pytest.fixture
def controller(tport):
    """The port, its controller 2 configured at 500 kbit/s."""
    tv.Qx_Trovix_CanIf_BaudRate_Config(tport, 2, 500000, qxtest.new_record(tv, "Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t"))
    return tport


def nm_record(**fields):
    values = dict(ControllerId=2, PduLength=8, PduNidPosition=0, PduCbvPosition=1, PduStatePosition=2)
    values.update(fields)
    return qxtest.new_record(tv, NM, **values)


def test_fresh_record_reads_zero_and_positions_read_byte_0():
    record = qxtest.new_record(tv, "Qx_Trovix_CanNm_Autosar_Config_Parameters_t")
    got = {f: getattr(tv, f"{NM}_{f}_get")(record) for f in layouts.record(NM).fields}
    assert got == layouts.unpack(NM, bytes(52))
    assert got["PduData"] == [0] * 8
    assert got["PduNidPosition"] == tv.QX_TROVIX__CAN_NM__AUTOSAR__PDU_NID_POSITION__BYTE_0 != NOT_USED


def test_configuration_reaches_the_library_as_laid_out(sim, controller):
    values = {path: 0x01010101 * (i + 1) for i, path in enumerate(layouts.record(NM).fields) if path != "PduData"}
    values.update(ControllerId=2, PduLength=8, PduNidPosition=NOT_USED, PduCbvPosition=1, PduStatePosition=2,
                  NumberOfNodes=0xBEEF)
    record = nm_record(**values)
    SET(record, [0xC0 + i for i in range(8)])
    assert tv.Qx_Trovix_CanNm_Autosar_Config(controller, record) is None
    call = sim.last("Qx_Trovix_CanNm_Autosar_Config")
    assert call.arg(1).value == controller
    assert call.arg(2).bytes == layouts.pack(NM, PduData=[0xC0 + i for i in range(8)], **{
        f: v & {"u8": 0xFF, "u16": 0xFFFF, "u32": 0xFFFFFFFF}[layouts.record(NM).fields[f].type]
        for f, v in values.items()})


@pytest.mark.parametrize("values", [tuple(range(1, 9)), list(range(1, 9)), bytes(range(1, 9))])
def test_pdu_data_from_any_sequence_of_eight(values):
    record = qxtest.new_record(tv, "Qx_Trovix_CanNm_Autosar_Config_Parameters_t")
    assert SET(record, values) is None
    assert GET(record) == list(range(1, 9))


@pytest.mark.parametrize("values, exc, message", [
    (None, TypeError, fail_in("Expecting a sequence")),
    (5, TypeError, fail_in("Expecting a sequence")),
    ({i: i for i in range(8)}, TypeError, fail_in("Expecting a sequence")),
    ([1] * 7, ValueError, fail_in("Expecting a sequence with 8 elements")),
    ([1] * 9, ValueError, fail_in("Expecting a sequence with 8 elements")),
    ("abcdefgh", ValueError, fail_in("Expecting a sequence of u8_t")),
    ([1] * 7 + [1.5], ValueError, fail_in("Expecting a sequence of u8_t")),
    ([1] * 7 + [2**31], ValueError, fail_in("Expecting a sequence of u8_t")),
    ([-2**31 - 1] + [1] * 7, ValueError, fail_in("Expecting a sequence of u8_t")),
])
def test_pdu_data_refusals_store_nothing(values, exc, message):
    record = qxtest.new_record(tv, "Qx_Trovix_CanNm_Autosar_Config_Parameters_t")
    SET(record, list(range(10, 18)))
    with qxtest.raises_exactly(exc, message):
        SET(record, values)
    assert GET(record) == list(range(10, 18))


def test_pdu_data_with_no_record_still_tests_the_values():
    assert SET(None, [1] * 8) is None
    with qxtest.raises_exactly(ValueError, fail_in("Expecting a sequence with 8 elements")):
        SET(None, [1] * 7)


@pytest.mark.parametrize("field, declared", [
    ("NumberOfNodes", "u16_t"), ("Flags", "Qx_Trovix_CanNm_Autosar_Config_Flags_t"), ("PduCbvPosition", "u8_t")])
def test_scalar_fields_refuse_values_beyond_32_bits(field, declared):
    record = nm_record(NumberOfNodes=3, Flags=3, PduCbvPosition=1)
    before = getattr(tv, f"{NM}_{field}_get")(record)
    with qxtest.raises_exactly(OverflowError, f"in method '{NM}_{field}_set', argument 2 of type '{declared}'"):
        getattr(tv, f"{NM}_{field}_set")(record, 2**32)
    assert getattr(tv, f"{NM}_{field}_get")(record) == before


@pytest.mark.parametrize("args, exc, message", [
    ((qxtest.new_record(tv, "Qx_Trovix_CanIf_RxPdu_Config_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_CanNm_Autosar_Config', argument 2 of type "
     "'Qx_Trovix_CanNm_Autosar_Config_Parameters_t const *const'"),
    ((None, None), TypeError, "Qx_Trovix_CanNm_Autosar_Config expected 2 arguments, got 3"),
])
def test_arguments_refused_before_the_call(sim, tport, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        tv.Qx_Trovix_CanNm_Autosar_Config(tport, *args)
    assert sim.calls("Qx_Trovix_CanNm_Autosar_Config") == 0


def test_none_passes_a_null_record(sim, tport):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_CanNm_Autosar_Config: no network-management parameters given"):
        tv.Qx_Trovix_CanNm_Autosar_Config(tport, None)
    assert sim.last("Qx_Trovix_CanNm_Autosar_Config").arg(2).is_null


@pytest.mark.parametrize("fields, text", [
    (dict(ControllerId=7), "controller 7 has no baud rate configured"),
    (dict(PduLength=9), "PduLength 9 is above 8"),
    (dict(PduLength=2), "PduStatePosition 2 lies beyond PduLength 2"),
    (dict(PduCbvPosition=2), "unknown PduCbvPosition 2"),
    (dict(PduNidPosition=3), "unknown PduNidPosition 3"),
])
def test_stack_refuses_unknown_controllers_and_positions(controller, fields, text):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_CanNm_Autosar_Config: " + text):
        tv.Qx_Trovix_CanNm_Autosar_Config(controller, nm_record(**fields))


def test_positions_not_used_need_no_room_and_a_controller_is_configured_again(sim, controller):
    record = nm_record(PduLength=0, PduNidPosition=NOT_USED, PduCbvPosition=NOT_USED, PduStatePosition=NOT_USED)
    tv.Qx_Trovix_CanNm_Autosar_Config(controller, record)
    tv.Qx_Trovix_CanNm_Autosar_Config(controller, nm_record(NmNodeId=5))   # replaces the node of controller 2
    assert layouts.unpack(NM, sim.last("Qx_Trovix_CanNm_Autosar_Config").arg(2).bytes)["NmNodeId"] == 5


def test_failure_carries_the_library_text(sim, controller):
    sim.fail("Qx_Trovix_CanNm_Autosar_Config", text=b"CanNm refused")
    with qxtest.raises_exactly(Exception, "CanNm refused"):
        tv.Qx_Trovix_CanNm_Autosar_Config(controller, nm_record())
