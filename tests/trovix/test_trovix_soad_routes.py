"""Socket adaptor routing tables: PDU routes, PDU route destinations, PDUs,
socket routes and routing groups; their 128-element identifier lists and
socket-connection reference arrays."""
import types

import pytest

import _qx_api
import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

S = "Qx_Trovix_SoAd_"
ROUTE = f"{S}PduRoute_Config_Cmd_t"
DEST = f"{S}PduRouteDest_Config_Cmd_t"
PDU = f"{S}Pdu_Config_Cmd_t"
SOROUTE = f"{S}SoRoute_Config_Cmd_t"
DEST_REF = "SoAd_PduRouteDest_SoConRef_t"
SO_REF = f"{S}SoRoute_SoConRef_t"
# (command record, its reference element type, the twin record and its element type)
REF_RECORDS = [(DEST, DEST_REF, SOROUTE, SO_REF), (SOROUTE, SO_REF, DEST, DEST_REF)]
ID_LISTS = [(ROUTE, "PduRouteDestId"), (DEST, "RoutingGroupIds"), (PDU, "SoAdRxPduIds"), (PDU, "SoAdTxPduIds"),
            (SOROUTE, "RoutingGroupIds")]


def take(port, get_free):
    cell = qxtest.new_record(_qx_api, "int_p")
    getattr(tv, S + get_free)(port, 0, cell)
    return _qx_api.int_p_value(cell)


@pytest.fixture
def net(tport):
    """The initialised socket adaptor with a configured group and connection,
    a routing group, a socket route and a PDU route handed out."""
    tv.Qx_Trovix_SoAd_Init(tport)
    n = types.SimpleNamespace(port=tport)
    n.group = take(tport, "SoConGroup_GetFreeSoConGroupId")
    n.con = take(tport, "SoCon_GetFreeSoConId")
    tv.Qx_Trovix_SoAd_SoConGroup_Config(tport, qxtest.new_record(tv, f"{S}SoConGroup_Config_Cmd_t",
                                                                 SoConGroupId=n.group))
    tv.Qx_Trovix_SoAd_SoCon_Config(tport, qxtest.new_record(tv, f"{S}SoCon_Config_Cmd_t", SoConId=n.con,
                                                            SoConGroupId=n.group))
    n.rg = take(tport, "RoutingGroup_GetFreeRoutingGroupId")
    n.rx = take(tport, "SoRoute_GetFreeRxPduId")
    n.tx = take(tport, "PduRoute_GetFreeTxPduId")
    return n


def refs(first, count=128):
    """`count` reference elements, element i holding flags i + 1, SoConId
    first[0] + i and SoConGroupId first[1] + i."""
    return [dict(flags=i + 1, SoConId=first[0] + i, SoConGroupId=first[1] + i) for i in range(count)]


@pytest.fixture
def ref_source(qxt):
    """A view onto 128 reference elements of `element` packed from `items`."""
    def make(element, items):
        data = b"".join(layouts.pack(element, **item) for item in items)
        return qxt.qxt_view_of(element + " *", list(data))
    return make


@pytest.fixture
def raw(qxt):
    """The bytes of a record as they lie in its storage."""
    return lambda rec, record: bytes(qxt.qxt_read_u8(rec, layouts.size(record)))


def test_references_of_a_destination_and_a_socket_route_reach_the_library_whole(sim, net, ref_source):
    items = [dict(flags=0x81, SoConId=net.con, SoConGroupId=net.group)] + refs((1000, 2000), 127)
    fields = dict(Flags=1, PduRouteDestId=77, TxUdpTiggerMode=tv.QX_TROVIX__SO_AD__TX_UDP_TRIGGER_MODE__NEVER,
                  reserved1=2, reserved2=3, reserved3=4, TxPduHeaderId=0xDEADBEEF, TxUdpTriggerTimeout=50,
                  NumberOfSoConRefIds=1, NumberOfRoutingGroupIds=1, So_ConRefIdS=items,
                  RoutingGroupIds=[net.rg] + list(range(127)))
    record = qxtest.new_record(tv, DEST, **{**fields, "So_ConRefIdS": ref_source(DEST_REF, items)})
    assert tv.Qx_Trovix_SoAd_PduRouteDest_Config(net.port, record) is None
    call = sim.last(f"{S}PduRouteDest_Config")
    assert call.arg(2).size == 2076 and layouts.unpack(DEST, call.arg(2).bytes) == fields

    items = [dict(flags=2**32 - 1, SoConId=net.con, SoConGroupId=net.group)] + refs((5, 6), 127)
    fields = dict(Flags=2, RxPduId=net.rx, PduHeaderId=9, NumberOfSoConRefIds=1, NumberOfRoutingGroupIds=0,
                  So_ConRefIdS=items, RoutingGroupIds=[2**31 - 1] * 128)
    record = qxtest.new_record(tv, SOROUTE, **{**fields, "So_ConRefIdS": ref_source(SO_REF, items)})
    assert tv.Qx_Trovix_SoAd_SoRoute_Config(net.port, record) is None
    call = sim.last(f"{S}SoRoute_Config")
    assert call.arg(2).size == 2068 and layouts.unpack(SOROUTE, call.arg(2).bytes) == fields


def test_route_and_pdu_reach_the_library_whole(sim, net):
    tv.Qx_Trovix_SoAd_PduRouteDest_Config(net.port, qxtest.new_record(tv, DEST, PduRouteDestId=77))
    fields = dict(Flags=3, TxPduId=net.tx, CollectionSemantics=tv.QX_TROVIX__SO_AD__TX_COLLECTION_SEMANTICS__QUEUED,
                  reserved1=1, reserved2=2, reserved3=3, NumberOfPduRouteDests=1,
                  PduRouteDestId=[77] + list(range(1000, 1127)))
    assert tv.Qx_Trovix_SoAd_PduRoute_Config(net.port, qxtest.new_record(tv, ROUTE, **fields)) is None
    call = sim.last(f"{S}PduRoute_Config")
    assert call.arg(2).size == 528 and layouts.unpack(ROUTE, call.arg(2).bytes) == fields
    fields = dict(Flags=4, PduId=12, NumberOfSoAdRxPduIds=1, NumberOfSoAdTxPduIds=1,
                  SoAdRxPduIds=[net.rx] + [0] * 127, SoAdTxPduIds=[net.tx] + [2**31 - 1] * 127)
    assert tv.Qx_Trovix_SoAd_Pdu_Config(net.port, qxtest.new_record(tv, PDU, **fields)) is None
    call = sim.last(f"{S}Pdu_Config")
    assert call.arg(2).size == 1036 and layouts.unpack(PDU, call.arg(2).bytes) == fields


@pytest.mark.parametrize("function, record, fields, message", [
    ("PduRoute_Config", ROUTE, lambda n: dict(TxPduId=n.rx), lambda n: f"unknown PDU route {n.rx}"),
    ("PduRoute_Config", ROUTE, lambda n: dict(TxPduId=n.tx, NumberOfPduRouteDests=1, PduRouteDestId=[5] * 128),
     lambda n: "PduRouteDestId[0]: unknown PDU route destination 5"),
    ("PduRoute_Config", ROUTE, lambda n: dict(TxPduId=n.tx, NumberOfPduRouteDests=129),
     lambda n: "NumberOfPduRouteDests 129 is beyond the 128 entries of the record"),
    ("PduRouteDest_Config", DEST, lambda n: dict(NumberOfSoConRefIds=129),
     lambda n: "NumberOfSoConRefIds 129 is beyond the 128 entries of the record"),
    ("PduRouteDest_Config", DEST, lambda n: dict(NumberOfRoutingGroupIds=2, RoutingGroupIds=[n.rg, n.rg + 1] + [0] * 126),
     lambda n: f"RoutingGroupIds[1]: unknown routing group {n.rg + 1}"),
    ("PduRouteDest_Config", DEST, lambda n: dict(NumberOfSoConRefIds=1),
     lambda n: "So_ConRefIdS[0]: unknown socket connection 0"),
    ("SoRoute_Config", SOROUTE, lambda n: dict(RxPduId=n.tx), lambda n: f"unknown socket route {n.tx}"),
    ("SoRoute_Config", SOROUTE, lambda n: dict(RxPduId=n.rx, NumberOfRoutingGroupIds=200),
     lambda n: "RoutingGroupIds 200 is beyond the 128 entries of the record"),
    ("Pdu_Config", PDU, lambda n: dict(NumberOfSoAdRxPduIds=1, SoAdRxPduIds=[n.tx] * 128),
     lambda n: f"SoAdRxPduIds[0]: unknown socket route {n.tx}"),
    ("Pdu_Config", PDU, lambda n: dict(NumberOfSoAdTxPduIds=65535),
     lambda n: "SoAdTxPduIds 65535 is beyond the 128 entries of the record"),
])
def test_stand_in_refuses_unknown_identifiers_and_counts_beyond_the_arrays(net, function, record, fields, message):
    with qxtest.raises_exactly(Exception, f"{S}{function}: {message(net)}"):
        getattr(tv, S + function)(net.port, qxtest.new_record(tv, record, **fields(net)))


def test_socket_references_name_known_connections_and_groups(net):
    record = qxtest.new_record(tv, SOROUTE, RxPduId=net.rx, NumberOfSoConRefIds=1)
    view = tv.Qx_Trovix_SoAd_SoRoute_Config_Cmd_t_So_ConRefIdS_get(record)
    tv.Qx_Trovix_SoAd_SoRoute_SoConRef_t_SoConId_set(view, net.con)
    with qxtest.raises_exactly(Exception, f"{S}SoRoute_Config: So_ConRefIdS[0]: unknown socket connection group 0"):
        tv.Qx_Trovix_SoAd_SoRoute_Config(net.port, record)
    tv.Qx_Trovix_SoAd_SoRoute_SoConRef_t_SoConGroupId_set(view, net.group)
    assert tv.Qx_Trovix_SoAd_SoRoute_Config(net.port, record) is None


def test_routing_group_configuration_passes_plain_values(sim, net):
    assert tv.Qx_Trovix_SoAd_RoutingGroup_Config(net.port, 0x11, net.rg) is None
    assert [sim.last(f"{S}RoutingGroup_Config").arg(n).value for n in (1, 2, 3)] == [net.port, 0x11, net.rg]
    with qxtest.raises_exactly(Exception, f"{S}RoutingGroup_Config: unknown routing group {net.rx}"):
        tv.Qx_Trovix_SoAd_RoutingGroup_Config(net.port, 0, net.rx)


@pytest.mark.parametrize("args, exc, message", [
    (lambda n: (n.port, 0), TypeError, f"{S}RoutingGroup_Config expected 3 arguments, got 2"),
    (lambda n: (n.port, 0, -1), OverflowError, f"in method '{S}RoutingGroup_Config', argument 3 of type 'u32_t'"),
    (lambda n: (n.port, 2**32, 0), OverflowError,
     f"in method '{S}RoutingGroup_Config', argument 2 of type 'Qx_Trovix_SoAd_RoutingGroup_Config_CmdFlags_t'"),
    (lambda n: (2**32, "not looked at", None), OverflowError,
     f"in method '{S}RoutingGroup_Config', argument 1 of type 'Qx_PortHandle_t'"),
])
def test_routing_group_arguments_are_checked_in_order(sim, net, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        tv.Qx_Trovix_SoAd_RoutingGroup_Config(*args(net))
    assert sim.calls(f"{S}RoutingGroup_Config") == 0


@pytest.mark.parametrize("record, element, twin_record, twin", REF_RECORDS)
def test_reference_view_works_in_place_and_copies_all_128_elements(record, element, twin_record, twin, ref_source,
                                                                   raw):
    get = getattr(tv, f"{record}_So_ConRefIdS_get")
    put = getattr(tv, f"{record}_So_ConRefIdS_set")
    a, b = qxtest.new_record(tv, record), qxtest.new_record(tv, record)
    put(a, ref_source(element, refs((10, 20))))
    view = get(a)
    getattr(tv, f"{element}_SoConId_set")(view, 7)
    assert getattr(tv, f"{element}_SoConId_get")(get(a)) == 7
    assert put(b, view) is None
    expected = refs((10, 20))
    expected[0]["SoConId"] = 7
    assert layouts.unpack(record, raw(b, record))["So_ConRefIdS"] == expected


@pytest.mark.parametrize("record, element, twin_record, twin", REF_RECORDS)
def test_reference_setter_refuses_what_is_not_a_whole_array(record, element, twin_record, twin, ref_source, raw):
    setter = getattr(tv, f"{record}_So_ConRefIdS_set")
    name = f"{record}_So_ConRefIdS_set"
    target = qxtest.new_record(tv, record)
    setter(target, ref_source(element, refs((1, 2))))
    before = raw(target, record)
    typed = f"'{element} [128]'"
    single = qxtest.new_record(tv, f"{element}")              # one element of 12 bytes, not 128
    with qxtest.raises_exactly(ValueError, f"single element given for an array in method '{name}', argument 2 of type {typed}"):
        setter(target, single)
    with qxtest.raises_exactly(ValueError, f"invalid null reference in variable 'So_ConRefIdS' of type {typed}"):
        setter(target, None)
    twin_view = getattr(tv, f"{twin_record}_So_ConRefIdS_get")(qxtest.new_record(tv, twin_record))
    for wrong in (qxtest.new_record(tv, f"{twin}"), twin_view, [single], 5):
        with qxtest.raises_exactly(TypeError, f"in method '{name}', argument 2 of type {typed}"):
            setter(target, wrong)
    assert raw(target, record) == before


@pytest.mark.parametrize("record, field", ID_LISTS)
@pytest.mark.parametrize("value, exc, ending", [
    (list(range(127)), ValueError, "Expecting a sequence with 128 elements"),
    (list(range(129)), ValueError, "Expecting a sequence with 128 elements"),
    ([0] * 127 + ["1"], ValueError, "Expecting a sequence of u32_t"),
    ([0] * 127 + [2**31], ValueError, "Expecting a sequence of u32_t"),
    (128, TypeError, "Expecting a sequence"),
])
def test_identifier_lists_are_all_or_nothing(record, field, value, exc, ending):
    rec = qxtest.new_record(tv, record, **{field: [3] * 128})
    setter = f"{record}_{field}_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending}"):
        getattr(tv, setter)(rec, value)
    assert getattr(tv, f"{record}_{field}_get")(rec) == [3] * 128


@pytest.mark.parametrize("record", [ROUTE, DEST, PDU, SOROUTE, DEST_REF, SO_REF])
def test_new_records_read_zero(record):
    rec = qxtest.new_record(tv, record)
    for name, field in layouts.record(record).fields.items():
        value = getattr(tv, f"{record}_{name}_get")(rec)
        if name == "So_ConRefIdS":
            element = field.type
            value = [getattr(tv, f"{element}_{f}_get")(value) for f in ("flags", "SoConId", "SoConGroupId")]
            assert value == [0, 0, 0]
        else:
            assert value == ([0] * 128 if field.count else 0), name


@pytest.mark.parametrize("function, wrong, message", [
    ("SoRoute_Config", PDU, f"in method '{S}SoRoute_Config', argument 2 of type '{SOROUTE} const *const'"),
    ("Pdu_Config", DEST, f"in method '{S}Pdu_Config', argument 2 of type '{PDU} const *const'"),
])
def test_commands_of_another_type_are_refused_before_the_call(sim, net, function, wrong, message):
    with qxtest.raises_exactly(TypeError, message):
        getattr(tv, S + function)(net.port, qxtest.new_record(tv, wrong))
    with qxtest.raises_exactly(OverflowError, f"in method '{S}{function}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(tv, S + function)(-1, None)
    assert sim.calls(S + function) == 0


@pytest.mark.parametrize("function", ["PduRoute_Config", "PduRouteDest_Config", "Pdu_Config", "SoRoute_Config"])
def test_null_command_reaches_the_library_and_a_failure_raises(sim, net, function):
    with qxtest.raises_exactly(Exception, f"{S}{function}: no command given"):
        getattr(tv, S + function)(net.port, None)
    assert sim.last(S + function).arg(2).is_null
    sim.fail(S + function, text=b"table locked")
    with qxtest.raises_exactly(Exception, "table locked"):
        getattr(tv, S + function)(net.port, None)


@pytest.mark.parametrize("accessor, wrong, message", [
    ("SoAd_PduRouteDest_SoConRef_t_flags_set", SO_REF,
     f"in method 'SoAd_PduRouteDest_SoConRef_t_flags_set', argument 1 of type '{DEST_REF} *'"),
    (f"delete_{PDU}", SOROUTE, f"in method 'delete_{PDU}', argument 1 of type '{PDU} *'"),
])
def test_accessors_refuse_records_of_another_type(accessor, wrong, message):
    args = (qxtest.new_record(tv, wrong),) + ((1,) if accessor.endswith("_set") else ())
    with qxtest.raises_exactly(TypeError, message):
        getattr(tv, accessor)(*args)
