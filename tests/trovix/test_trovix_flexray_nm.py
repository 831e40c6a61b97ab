"""AUTOSAR FlexRay network management: the NM parameters of an ECU (three
8-byte lists set from sequences, CBV/SNI/NMS byte positions) and the FlexRay
PDUs on which that ECU receives and sends its NM messages."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

F = "Qx_Trovix_FlexRayNm_Autosar_"
ECU = f"{F}Ecu_Parameters_t"
RX = f"{F}RxPdu_Parameters_t"
TX = f"{F}TxPdu_Parameters_t"
LISTS = ["PduData", "UserDataMask", "PnFilterMask"]
NOT_USED = 255


def ecu_record(**fields):
    values = dict(ControllerId=1, EcuId=2, PduLength=8, PduCbvPosition=0, PduSniPosition=1, PduNmsPosition=2)
    values.update(fields)
    return qxtest.new_record(tv, ECU, **values)


def get(record, field, rec):
    return getattr(tv, f"{record}_{field}_get")(rec)


@pytest.fixture
def ecu(tport):
    """The port with ECU 2 of controller 1 configured."""
    tv.Qx_Trovix_FlexRayNm_Autosar_Ecu(tport, ecu_record())
    return tport


def test_constants_name_the_byte_positions():
    assert [tv.QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_CBV_POSITION__BYTE_0,
            tv.QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_CBV_POSITION__NOT_USED,
            tv.QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_SNI_POSITION__BYTE_1,
            tv.QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_SNI_POSITION__NOT_USED,
            tv.QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_NMS_POSITION__BYTE_2,
            tv.QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_NMS_POSITION__NOT_USED] == [0, NOT_USED, 1, NOT_USED, 2, NOT_USED]
    assert not hasattr(tv, "QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_CBV_POSITION__BYTE_1")


def test_ecu_reaches_the_library_whole(sim, tport):
    fields = {f: (i + 1) * 3 for i, f in enumerate(layouts.record(ECU).fields)}
    fields.update(Flags=0x80000001, PduLength=8, PduCbvPosition=NOT_USED, PduSniPosition=1, PduNmsPosition=2,
                  ReadySleepCnt=0xBEEF, MsgTimeoutTime=2**32 - 1, PnEraRxPduId=0x12345678,
                  PduData=list(range(1, 9)), UserDataMask=[0xF0 + i for i in range(8)],
                  PnFilterMask=list(range(255, 247, -1)))
    assert tv.Qx_Trovix_FlexRayNm_Autosar_Ecu(tport, qxtest.new_record(tv, ECU, **fields)) is None
    call = sim.last(f"{F}Ecu")
    assert call.arg(1).value == tport and call.arg(2).size == 76
    assert layouts.unpack(ECU, call.arg(2).bytes) == fields


@pytest.mark.parametrize("function, record", [("RxPdu", RX), ("TxPdu", TX)])
def test_pdus_reach_the_library_whole(sim, ecu, function, record):
    fields = dict(Flags=0xA5A5A5A5, ControllerId=1, EcuId=2, reserved1=7, reserved2=8, FrPduId=2**32 - 1)
    assert getattr(tv, F + function)(ecu, qxtest.new_record(tv, record, **fields)) is None
    call = sim.last(F + function)
    assert call.arg(2).size == 12 and layouts.unpack(record, call.arg(2).bytes) == fields


@pytest.mark.parametrize("field", LISTS)
@pytest.mark.parametrize("value, exc, ending", [
    (list(range(7)), ValueError, "Expecting a sequence with 8 elements"),
    (list(range(9)), ValueError, "Expecting a sequence with 8 elements"),
    ([0] * 7 + [1.5], ValueError, "Expecting a sequence of u8_t"),
    (["a"] + [0] * 7, ValueError, "Expecting a sequence of u8_t"),
    ([0] * 7 + [2**31], ValueError, "Expecting a sequence of u8_t"),
    (None, TypeError, "Expecting a sequence"),
    (5, TypeError, "Expecting a sequence"),
])
def test_list_refusals_keep_the_bytes(field, value, exc, ending):
    rec = qxtest.new_record(tv, ECU, **{field: [9] * 8})
    setter = f"{ECU}_{field}_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending}"):
        getattr(tv, setter)(rec, value)
    assert get(ECU, field, rec) == [9] * 8


@pytest.mark.parametrize("record, field, value, exc, declared", [
    (ECU, "MsgTimeoutTime", 2**32, OverflowError, "u32_t"),
    (ECU, "MsgTimeoutTime", -1, OverflowError, "u32_t"),
    (ECU, "Flags", 1.0, TypeError, f"{F}Ecu_Flags_t"),
    (ECU, "ReadySleepCnt", 2**32, OverflowError, "u16_t"),
    (RX, "Flags", -1, OverflowError, f"{F}RxPdu_Flags_t"),
    (TX, "EcuId", "1", TypeError, "u8_t"),
])
def test_scalar_refusals_keep_the_field(record, field, value, exc, declared):
    rec = qxtest.new_record(tv, record, **{field: 6})
    with qxtest.raises_exactly(exc, f"in method '{record}_{field}_set', argument 2 of type '{declared}'"):
        getattr(tv, f"{record}_{field}_set")(rec, value)
    assert get(record, field, rec) == 6


def test_setters_given_no_record_store_nothing_but_check_lists():
    assert tv.Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t_EcuId_set(None, 3) is None
    assert tv.Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t_PduData_set(None, [0] * 8) is None
    with qxtest.raises_exactly(ValueError, f"fail in '{ECU}_PnFilterMask_set' : Expecting a sequence with 8 elements"):
        tv.Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t_PnFilterMask_set(None, [0] * 9)
    with qxtest.raises_exactly(TypeError, f"in method '{RX}_FrPduId_set', argument 1 of type '{RX} *'"):
        tv.Qx_Trovix_FlexRayNm_Autosar_RxPdu_Parameters_t_FrPduId_set(qxtest.new_record(tv, "Qx_Trovix_FlexRayNm_Autosar_TxPdu_Parameters_t"), 1)


@pytest.mark.parametrize("function, args, exc, message", [
    ("TxPdu", (0, qxtest.new_record(tv, "Qx_Trovix_FlexRayNm_Autosar_RxPdu_Parameters_t")), TypeError,
     f"in method '{F}TxPdu', argument 2 of type '{TX} const *const'"),
    ("RxPdu", (0, qxtest.new_record(tv, "Qx_Trovix_FlexRayNm_Autosar_Ecu_Parameters_t")), TypeError,
     f"in method '{F}RxPdu', argument 2 of type '{RX} const *const'"),
    ("Ecu", (-1, None), OverflowError, f"in method '{F}Ecu', argument 1 of type 'Qx_PortHandle_t'"),
    ("Ecu", ("1", None), TypeError, f"in method '{F}Ecu', argument 1 of type 'Qx_PortHandle_t'"),
    ("Ecu", (0, None, None), TypeError, f"{F}Ecu expected 2 arguments, got 3"),
])
def test_arguments_refused_before_the_call(sim, tport, function, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, F + function)(*args)
    assert sim.calls(F + function) == 0


@pytest.mark.parametrize("function", ["Ecu", "RxPdu", "TxPdu"])
def test_none_passes_a_null_record_and_the_failure_raises(sim, tport, function):
    with qxtest.raises_exactly(Exception, f"{F}{function}: no network-management parameters given"):
        getattr(tv, F + function)(tport, None)
    assert sim.last(F + function).arg(2).is_null


def test_scripted_failure_carries_the_library_text(sim, ecu):
    sim.fail(f"{F}TxPdu", text=b"FrNm refused")
    with qxtest.raises_exactly(Exception, "FrNm refused"):
        tv.Qx_Trovix_FlexRayNm_Autosar_TxPdu(ecu, qxtest.new_record(tv, TX, ControllerId=1, EcuId=2))


@pytest.mark.parametrize("fields, text", [
    (dict(PduLength=9), "PduLength 9 is above 8"),
    (dict(PduCbvPosition=1), "unknown PduCbvPosition 1"),
    (dict(PduSniPosition=2), "unknown PduSniPosition 2"),
    (dict(PduNmsPosition=3), "unknown PduNmsPosition 3"),
    (dict(PduLength=2), "PduNmsPosition 2 lies beyond PduLength 2"),
])
def test_stack_refuses_positions_outside_the_pdu(tport, fields, text):
    with qxtest.raises_exactly(Exception, f"{F}Ecu: {text}"):
        tv.Qx_Trovix_FlexRayNm_Autosar_Ecu(tport, ecu_record(**fields))


def test_positions_not_used_need_no_room(sim, tport):
    tv.Qx_Trovix_FlexRayNm_Autosar_Ecu(tport, ecu_record(PduLength=0, PduCbvPosition=NOT_USED,
                                                         PduSniPosition=NOT_USED, PduNmsPosition=NOT_USED))
    assert layouts.unpack(ECU, sim.last(f"{F}Ecu").arg(2).bytes)["PduSniPosition"] == NOT_USED


@pytest.mark.parametrize("function, record", [("RxPdu", RX), ("TxPdu", TX)])
def test_pdus_need_their_ecu_configured(ecu, function, record):
    with qxtest.raises_exactly(Exception, f"{F}{function}: ECU 3 of controller 1 is not configured"):
        getattr(tv, F + function)(ecu, qxtest.new_record(tv, record, ControllerId=1, EcuId=3, FrPduId=4))


def test_pdu_table_fills_and_known_pdus_are_configured_again(ecu):
    for pdu in range(16):
        tv.Qx_Trovix_FlexRayNm_Autosar_RxPdu(ecu, qxtest.new_record(tv, RX, ControllerId=1, EcuId=2, FrPduId=pdu))
    tv.Qx_Trovix_FlexRayNm_Autosar_RxPdu(ecu, qxtest.new_record(tv, RX, ControllerId=1, EcuId=2, FrPduId=15))
    with qxtest.raises_exactly(Exception, f"{F}RxPdu: the FlexRay NM receive PDU table is full (16 entries)"):
        tv.Qx_Trovix_FlexRayNm_Autosar_RxPdu(ecu, qxtest.new_record(tv, RX, ControllerId=1, EcuId=2, FrPduId=16))
    tv.Qx_Trovix_FlexRayNm_Autosar_TxPdu(ecu, qxtest.new_record(tv, TX, ControllerId=1, EcuId=2, FrPduId=16))
