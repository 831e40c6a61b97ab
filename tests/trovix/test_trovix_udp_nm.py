"""AUTOSAR UDP network management: a node (ECU of a controller, NM node
identifier, times, NID/CBV/NMS byte positions) and the socket-adaptor PDUs
in which it receives and sends its NM messages."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

U = "Qx_Trovix_UdpNm_Autosar_"
ECU = f"{U}Ecu_Config_Cmd_t"
RX = f"{U}RxPdu_Cmd_t"
TX = f"{U}TxPdu_Cmd_t"
PDUS = [("RxPdu", RX, "SoAd_RxPduId"), ("TxPdu", TX, "SoAd_TxPduId")]


def node(**fields):
    values = dict(ControllerId=1, EcuId=2, NmNodeId=3)
    values.update(fields)
    return qxtest.new_record(tv, ECU, **values)


def get(record, field, rec):
    return getattr(tv, f"{record}_{field}_get")(rec)


@pytest.fixture
def configured(tport):
    """The port with node 3 configured as ECU 2 of controller 1."""
    tv.Qx_Trovix_UdpNm_Autosar_Ecu_Config(tport, node())
    return tport


def test_position_constants_are_spelt_trovax():
    names = [n for n in dir(tv) if "__UDP_NM__AUTOSAR__" in n]
    assert {n: getattr(tv, n) for n in names} == {
        "QX_TROVAX__UDP_NM__AUTOSAR__PDU_NID_POSITION__BYTE_0": 0,
        "QX_TROVAX__UDP_NM__AUTOSAR__PDU_NID_POSITION__BYTE_1": 1,
        "QX_TROVAX__UDP_NM__AUTOSAR__PDU_CBV_POSITION__BYTE_0": 0,
        "QX_TROVAX__UDP_NM__AUTOSAR__PDU_CBV_POSITION__BYTE_1": 1,
        "QX_TROVAX__UDP_NM__AUTOSAR__PDU_NMS_POSITION__BYTE_0": 0,
        "QX_TROVAX__UDP_NM__AUTOSAR__PDU_NMS_POSITION__BYTE_1": 1,
        "QX_TROVAX__UDP_NM__AUTOSAR__PDU_NMS_POSITION__BYTE_2": 2,
    }


@pytest.mark.parametrize("record", [RX, TX])
def test_pdu_records_have_no_flags(record):
    assert not hasattr(tv, f"{record}_Flags_set") and not hasattr(tv, f"{record}_Flags_get")


def test_node_reaches_the_library_whole(sim, tport):
    fields = dict(Flags=0x80000001, ControllerId=1, EcuId=2, NmNodeId=3, reserved1=4, NmTimeoutTime=2**32 - 1,
                  WaitBusSleepTime=1500, RepeatMessageTime=1600, MsgCycleTime=100, MsgCycleOffset=0x01020304,
                  RemoteSleepIndTime=2000, PduNidPosition=tv.QX_TROVAX__UDP_NM__AUTOSAR__PDU_NID_POSITION__BYTE_1,
                  PduCbvPosition=tv.QX_TROVAX__UDP_NM__AUTOSAR__PDU_CBV_POSITION__BYTE_0,
                  PduNmsPosition=tv.QX_TROVAX__UDP_NM__AUTOSAR__PDU_NMS_POSITION__BYTE_2, UserDataOffset=3)
    assert tv.Qx_Trovix_UdpNm_Autosar_Ecu_Config(tport, qxtest.new_record(tv, ECU, **fields)) is None
    call = sim.last(f"{U}Ecu_Config")
    assert call.arg(1).value == tport and call.arg(2).size == 36
    assert layouts.unpack(ECU, call.arg(2).bytes) == fields


@pytest.mark.parametrize("function, record, pdu_field", PDUS)
def test_pdus_reach_the_library_whole(sim, configured, function, record, pdu_field):
    fields = {"ControllerId": 1, "EcuId": 2, "NmNodeId": 3, "reserved1": 0xEE, pdu_field: 2**32 - 1}
    assert getattr(tv, U + function)(configured, qxtest.new_record(tv, record, **fields)) is None
    call = sim.last(U + function)
    assert call.arg(2).size == 8 and layouts.unpack(record, call.arg(2).bytes) == fields


@pytest.mark.parametrize("record, field, value, exc, declared", [
    (ECU, "PduNmsPosition", -1, OverflowError, "u8_t"),
    (ECU, "PduNidPosition", 2**32, OverflowError, "u8_t"),
    (ECU, "Flags", 1.0, TypeError, f"{U}Ecu_Config_CmdFlags_t"),
    (RX, "SoAd_RxPduId", 2**32, OverflowError, "u32_t"),
    (TX, "EcuId", "2", TypeError, "u8_t"),
])
def test_refused_values_keep_the_field(record, field, value, exc, declared):
    rec = qxtest.new_record(tv, record, **{field: 6})
    with qxtest.raises_exactly(exc, f"in method '{record}_{field}_set', argument 2 of type '{declared}'"):
        getattr(tv, f"{record}_{field}_set")(rec, value)
    assert get(record, field, rec) == 6


def test_accessors_take_only_their_record():
    assert tv.Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t_PduNidPosition_set(None, 1) is None
    with qxtest.raises_exactly(TypeError, f"in method '{ECU}_PduNidPosition_set', argument 1 of type '{ECU} *'"):
        tv.Qx_Trovix_UdpNm_Autosar_Ecu_Config_Cmd_t_PduNidPosition_set(qxtest.new_record(tv, "Qx_Trovix_UdpNm_Autosar_RxPdu_Cmd_t"), 1)


@pytest.mark.parametrize("function, args, exc, message", [
    ("TxPdu", (0, qxtest.new_record(tv, "Qx_Trovix_UdpNm_Autosar_RxPdu_Cmd_t")), TypeError,
     f"in method '{U}TxPdu', argument 2 of type '{TX} const *const'"),
    ("RxPdu", (0, qxtest.new_record(tv, "Qx_Trovix_UdpNm_Autosar_TxPdu_Cmd_t")), TypeError,
     f"in method '{U}RxPdu', argument 2 of type '{RX} const *const'"),
    ("Ecu_Config", (-1, None), OverflowError, f"in method '{U}Ecu_Config', argument 1 of type 'Qx_PortHandle_t'"),
    ("Ecu_Config", (1.0, None), TypeError, f"in method '{U}Ecu_Config', argument 1 of type 'Qx_PortHandle_t'"),
    ("Ecu_Config", (0,), TypeError, f"{U}Ecu_Config expected 2 arguments, got 1"),
])
def test_arguments_refused_before_the_call(sim, tport, function, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, U + function)(*args)
    assert sim.calls(U + function) == 0


@pytest.mark.parametrize("function", ["Ecu_Config", "RxPdu", "TxPdu"])
def test_none_passes_a_null_command_and_the_failure_raises(sim, tport, function):
    with qxtest.raises_exactly(Exception, f"{U}{function}: no command given"):
        getattr(tv, U + function)(tport, None)
    assert sim.last(U + function).arg(2).is_null


def test_scripted_failure_carries_the_library_text(sim, configured):
    sim.fail(f"{U}RxPdu", text=b"UdpNm refused")
    with qxtest.raises_exactly(Exception, "UdpNm refused"):
        tv.Qx_Trovix_UdpNm_Autosar_RxPdu(configured, qxtest.new_record(tv, RX, ControllerId=1, EcuId=2, NmNodeId=3))


@pytest.mark.parametrize("field, value", [("PduNidPosition", 2), ("PduCbvPosition", 2), ("PduNmsPosition", 3),
                                          ("PduNmsPosition", 255)])
def test_stack_refuses_positions_outside_their_family(tport, field, value):
    with qxtest.raises_exactly(Exception, f"{U}Ecu_Config: unknown {field} {value}"):
        tv.Qx_Trovix_UdpNm_Autosar_Ecu_Config(tport, node(**{field: value}))


@pytest.mark.parametrize("function, record, pdu_field", PDUS)
@pytest.mark.parametrize("fields, text", [
    (dict(ControllerId=1, EcuId=5, NmNodeId=3), "ECU 5 of controller 1 is not configured"),
    (dict(ControllerId=2, EcuId=2, NmNodeId=3), "ECU 2 of controller 2 is not configured"),
    (dict(ControllerId=1, EcuId=2, NmNodeId=4), "NM node 4 is not the node 3 of ECU 2 of controller 1"),
])
def test_pdus_name_a_configured_node(configured, function, record, pdu_field, fields, text):
    with qxtest.raises_exactly(Exception, f"{U}{function}: {text}"):
        getattr(tv, U + function)(configured, qxtest.new_record(tv, record, **fields))


def test_a_node_configured_again_takes_its_new_identifier(configured):
    tv.Qx_Trovix_UdpNm_Autosar_Ecu_Config(configured, node(NmNodeId=9))
    tv.Qx_Trovix_UdpNm_Autosar_TxPdu(configured, qxtest.new_record(tv, TX, ControllerId=1, EcuId=2, NmNodeId=9))
    with qxtest.raises_exactly(Exception, f"{U}TxPdu: NM node 3 is not the node 9 of ECU 2 of controller 1"):
        tv.Qx_Trovix_UdpNm_Autosar_TxPdu(configured, qxtest.new_record(tv, TX, ControllerId=1, EcuId=2, NmNodeId=3))


def test_node_table_fills(tport):
    for ecu in range(8):
        tv.Qx_Trovix_UdpNm_Autosar_Ecu_Config(tport, node(EcuId=ecu))
    with qxtest.raises_exactly(Exception, f"{U}Ecu_Config: the UDP NM node table is full (8 entries)"):
        tv.Qx_Trovix_UdpNm_Autosar_Ecu_Config(tport, node(EcuId=8))
