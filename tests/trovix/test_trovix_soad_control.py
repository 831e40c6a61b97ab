"""Socket adaptor control: identifiers handed out into int_p cells, deletion,
opening and closing of socket connections with their state, remote
addresses, routing groups enabled and disabled, initialisation."""
import re

import pytest

import _qx_api
import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

S = "Qx_Trovix_SoAd_"
REMOTE = f"{S}SoCon_RemoteAddr_Set_Cmd_t"
STATE_CELL = "Qx_Trovix_SoAd_SoCon_State_t *"

# (GetFree function, Delete function, first identifier handed out, what the
# stand-in calls the kind)
KINDS = [
    ("SoConGroup_GetFreeSoConGroupId", "SoConGroup_Delete", 100, "socket connection group"),
    ("SoCon_GetFreeSoConId", "SoCon_Delete", 200, "socket connection"),
    ("SoRoute_GetFreeRxPduId", "SoRoute_Delete", 300, "socket route"),
    ("PduRoute_GetFreeTxPduId", "PduRoute_Delete", 400, "PDU route"),
    ("RoutingGroup_GetFreeRoutingGroupId", "RoutingGroup_Delete", 500, "routing group"),
]


@pytest.fixture
def soad(tport):
    """The Trovix port with its socket adaptor initialised."""
    tv.Qx_Trovix_SoAd_Init(tport)
    return tport


def take(port, get_free, flags=0):
    cell = qxtest.new_record(_qx_api, "int_p")
    assert getattr(tv, S + get_free)(port, flags, cell) is None
    return _qx_api.int_p_value(cell)


@pytest.fixture
def con(soad):
    """A socket connection identifier handed out on the port."""
    return take(soad, "SoCon_GetFreeSoConId")


@pytest.fixture
def state_of(qxt):
    """Reads a connection's state through a cell of the state type (made by
    the test helpers: no binding makes one)."""
    def read(port, con_id):
        cell = qxt.qxt_view(STATE_CELL, 4)
        assert tv.Qx_Trovix_SoAd_SoCon_GetState(port, 0, con_id, cell) is None
        return qxt.qxt_read_u32(cell, 1)[0]
    return read


@pytest.mark.parametrize("get_free, delete, first, kind", KINDS)
def test_identifiers_are_handed_out_into_the_cell_and_deleted(sim, soad, get_free, delete, first, kind):
    assert take(soad, get_free, flags=0x80000001) == first
    call = sim.last(S + get_free)
    assert [call.arg(1).value, call.arg(2).value] == [soad, 0x80000001] and not call.arg(3).is_null
    assert take(soad, get_free) == first + 1
    assert getattr(tv, S + delete)(soad, 7, first) is None
    assert [sim.last(S + delete).arg(n).value for n in (1, 2, 3)] == [soad, 7, first]
    assert take(soad, get_free) == first                    # a deleted identifier is free again
    with qxtest.raises_exactly(Exception, f"{S}{delete}: unknown {kind} {first + 2}"):
        getattr(tv, S + delete)(soad, 0, first + 2)


def test_identifiers_of_one_kind_are_not_taken_for_another(soad, con):
    with qxtest.raises_exactly(Exception, f"{S}SoConGroup_Delete: unknown socket connection group {con}"):
        tv.Qx_Trovix_SoAd_SoConGroup_Delete(soad, 0, con)


@pytest.mark.parametrize("get_free", [k[0] for k in KINDS])
def test_identifier_cell_is_an_int_p_or_none(sim, soad, get_free):
    name = S + get_free
    with qxtest.raises_exactly(TypeError, f"in method '{name}', argument 3 of type 'u32_t *const'"):
        getattr(tv, name)(soad, 0, 5)
    assert sim.calls(name) == 0
    with qxtest.raises_exactly(Exception, f"{name}: no identifier cell given"):
        getattr(tv, name)(soad, 0, None)
    assert sim.last(name).arg(3).is_null


def test_handing_out_stops_when_all_identifiers_are_taken(soad):
    ids = [take(soad, "RoutingGroup_GetFreeRoutingGroupId") for _ in range(16)]
    assert ids == list(range(500, 516))
    with qxtest.raises_exactly(Exception, f"{S}RoutingGroup_GetFreeRoutingGroupId: no free routing group left (16 in use)"):
        take(soad, "RoutingGroup_GetFreeRoutingGroupId")


def test_connection_opens_and_closes_and_its_state_follows(sim, soad, con, state_of):
    assert state_of(soad, con) == tv.QX_TROVIX__SO_AD__SO_CON__STATE__OFFLINE
    assert tv.Qx_Trovix_SoAd_SoCon_Open(soad, 3, con) is None
    assert [sim.last(f"{S}SoCon_Open").arg(n).value for n in (1, 2, 3)] == [soad, 3, con]
    assert state_of(soad, con) == tv.QX_TROVIX__SO_AD__SO_CON__STATE__ONLINE
    with qxtest.raises_exactly(Exception, f"{S}SoCon_Open: socket connection {con} is open already"):
        tv.Qx_Trovix_SoAd_SoCon_Open(soad, 0, con)
    assert tv.Qx_Trovix_SoAd_SoCon_Close(soad, 0, con) is None
    assert state_of(soad, con) == tv.QX_TROVIX__SO_AD__SO_CON__STATE__OFFLINE
    with qxtest.raises_exactly(Exception, f"{S}SoCon_Close: socket connection {con} is not open"):
        tv.Qx_Trovix_SoAd_SoCon_Close(soad, 0, con)


def test_deleting_an_open_connection_forgets_it(soad, con, state_of):
    tv.Qx_Trovix_SoAd_SoCon_Open(soad, 0, con)
    tv.Qx_Trovix_SoAd_SoCon_Delete(soad, 0, con)
    assert take(soad, "SoCon_GetFreeSoConId") == con
    assert state_of(soad, con) == tv.QX_TROVIX__SO_AD__SO_CON__STATE__OFFLINE


def test_state_cell_is_none_or_a_state_object_only(sim, soad, con):
    assert tv.Qx_Trovix_SoAd_SoCon_GetState(soad, 0, con, None) is None
    assert sim.last(f"{S}SoCon_GetState").arg(4).is_null
    message = f"in method '{S}SoCon_GetState', argument 4 of type 'Qx_Trovix_SoAd_SoCon_State_t *const'"
    for wrong in (qxtest.new_record(_qx_api, "int_p"), 0, qxtest.new_record(tv, "Qx_Trovix_SoAd_Routing_Enable_Cmd_t")):
        with qxtest.raises_exactly(TypeError, message):
            tv.Qx_Trovix_SoAd_SoCon_GetState(soad, 0, con, wrong)
    assert sim.calls(f"{S}SoCon_GetState") == 1


@pytest.mark.parametrize("name, args", [
    ("SoCon_Open", lambda: (0, 999)),
    ("SoCon_Close", lambda: (0, 999)),
    ("SoCon_GetState", lambda: (0, 999, None)),
    ("SoCon_RemoteAddr_Set", lambda: (qxtest.new_record(tv, REMOTE, SoConId=999),)),
])
def test_unknown_connection_fails_with_a_clear_text(soad, con, name, args):
    with qxtest.raises_exactly(Exception, f"{S}{name}: unknown socket connection 999"):
        getattr(tv, S + name)(soad, *args())


@pytest.mark.parametrize("name, args", [
    ("SoCon_GetFreeSoConId", (0, None)),
    ("RoutingGroup_Delete", (0, 500)),
    ("SoCon_Open", (0, 200)),
    ("SoCon_GetState", (0, 200, None)),
    ("Routing_Enable", (None,)),
    ("SoCon_RemoteAddr_Set", (None,)),
    ("DeInit", ()),
])
def test_calls_before_init_and_after_deinit_are_refused(sim, tport, name, args):
    function = getattr(tv, S + name)
    call = (lambda: function(tport)) if not args else (lambda: function(tport, *args))
    with qxtest.raises_exactly(Exception, f"{S}{name}: the socket adaptor is not initialised"):
        call()
    tv.Qx_Trovix_SoAd_Init(tport)
    tv.Qx_Trovix_SoAd_DeInit(tport)
    with qxtest.raises_exactly(Exception, f"{S}{name}: the socket adaptor is not initialised"):
        call()
    assert sim.last(f"{S}DeInit").arg(1).value == tport


def test_init_starts_afresh(soad, con):
    tv.Qx_Trovix_SoAd_Init(soad)
    with qxtest.raises_exactly(Exception, f"{S}SoCon_Open: unknown socket connection {con}"):
        tv.Qx_Trovix_SoAd_SoCon_Open(soad, 0, con)


def test_remote_address_reaches_the_library_whole(sim, soad, con):
    fields = dict(Flags=0xFFFFFFFF, SoConId=con, RemoteAddress=list(range(240, 256)), RemotePort=30490,
                  reserved1=1, reserved2=255)
    assert tv.Qx_Trovix_SoAd_SoCon_RemoteAddr_Set(soad, qxtest.new_record(tv, REMOTE, **fields)) is None
    call = sim.last(f"{S}SoCon_RemoteAddr_Set")
    assert call.arg(2).size == 28 and layouts.unpack(REMOTE, call.arg(2).bytes) == fields


@pytest.mark.parametrize("direction", ["Enable", "Disable"])
def test_routing_commands_reach_the_library_whole(sim, soad, direction):
    group = take(soad, "RoutingGroup_GetFreeRoutingGroupId")
    record = f"{S}Routing_{direction}_Cmd_t"
    fields = dict(Flags=5, RoutingGroupId=group, SpecificSoConId=2**32 - 1)
    assert getattr(tv, f"{S}Routing_{direction}")(soad, qxtest.new_record(tv, record, **fields)) is None
    call = sim.last(f"{S}Routing_{direction}")
    assert call.arg(2).size == 12 and layouts.unpack(record, call.arg(2).bytes) == fields
    with qxtest.raises_exactly(Exception, f"{S}Routing_{direction}: unknown routing group {group + 1}"):
        getattr(tv, f"{S}Routing_{direction}")(soad, qxtest.new_record(tv, record, RoutingGroupId=group + 1))
    with qxtest.raises_exactly(Exception, f"{S}Routing_{direction}: no command given"):
        getattr(tv, f"{S}Routing_{direction}")(soad, None)
    assert sim.last(f"{S}Routing_{direction}").arg(2).is_null


def test_library_failure_raises_its_text(sim, soad, con):
    sim.fail(f"{S}SoCon_Open", text=b"link down")
    with qxtest.raises_exactly(Exception, "link down"):
        tv.Qx_Trovix_SoAd_SoCon_Open(soad, 0, con)


@pytest.mark.parametrize("value, exc, ending", [
    (list(range(15)), ValueError, "Expecting a sequence with 16 elements"),
    (list(range(17)), ValueError, "Expecting a sequence with 16 elements"),
    ([0] * 15 + ["1"], ValueError, "Expecting a sequence of u8_t"),
    ([0] * 15 + [2**31], ValueError, "Expecting a sequence of u8_t"),
    (5, TypeError, "Expecting a sequence"),
])
def test_remote_address_is_all_or_nothing(value, exc, ending):
    rec = qxtest.new_record(tv, REMOTE, RemoteAddress=[9] * 16, RemotePort=7)
    setter = f"{REMOTE}_RemoteAddress_set"
    with qxtest.raises_exactly(exc, f"fail in '{setter}' : {ending}"):
        getattr(tv, setter)(rec, value)
    assert tv.Qx_Trovix_SoAd_SoCon_RemoteAddr_Set_Cmd_t_RemoteAddress_get(rec) == [9] * 16
    assert tv.Qx_Trovix_SoAd_SoCon_RemoteAddr_Set_Cmd_t_RemotePort_get(rec) == 7


@pytest.mark.parametrize("call, exc, message", [
    (lambda p: tv.Qx_Trovix_SoAd_SoCon_Open(p, -1, 200), OverflowError,
     f"in method '{S}SoCon_Open', argument 2 of type 'Qx_Trovix_SoAd_SoCon_Open_CmdFlags_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_SoCon_GetFreeSoConId(p, 2**32, None), OverflowError,
     f"in method '{S}SoCon_GetFreeSoConId', argument 2 of type 'Qx_Trovix_SoAd_SoCon_GetFreeSoConId_Cmd_Flags_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_RoutingGroup_GetFreeRoutingGroupId(p, 1.0, None), TypeError,
     f"in method '{S}RoutingGroup_GetFreeRoutingGroupId', argument 2 of type "
     "'Qx_Trovix_SoAd_RoutingGrp_GetFreeRoutingGrpId_CmdFlags_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_SoCon_Close(p, 0, 2**32), OverflowError,
     f"in method '{S}SoCon_Close', argument 3 of type 'u32_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_SoCon_GetState(p, 0, 1.5, None), TypeError,
     f"in method '{S}SoCon_GetState', argument 3 of type 'u32_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_SoCon_Open(p, 0), TypeError, f"{S}SoCon_Open expected 3 arguments, got 2"),
    (lambda p: tv.Qx_Trovix_SoAd_Init(-1), OverflowError, f"in method '{S}Init', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_DeInit("1"), TypeError, f"in method '{S}DeInit', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda p: tv.Qx_Trovix_SoAd_Routing_Enable(p, qxtest.new_record(tv, "Qx_Trovix_SoAd_Routing_Disable_Cmd_t")), TypeError,
     f"in method '{S}Routing_Enable', argument 2 of type '{S}Routing_Enable_Cmd_t const *const'"),
])
def test_argument_errors_are_raised_before_the_call(sim, soad, call, exc, message):
    before = len(sim.journal())
    with qxtest.raises_exactly(exc, message):
        call(soad)
    assert len(sim.journal()) == before


@pytest.mark.parametrize("function", [tv.Qx_Trovix_SoAd_Init, tv.Qx_Trovix_SoAd_DeInit])
def test_init_and_deinit_take_exactly_the_port(function, tport):
    with pytest.raises(TypeError):
        function()
    with pytest.raises(TypeError):
        function(tport, 0)


def entries_of(*items):
    """Method-table names of functions and records (a record: each member's
    setter and getter, then new_, delete_, _swigregister, _swiginit)."""
    names = []
    for item in items:
        if item.endswith("_t"):
            for field in layouts.record(item).fields:
                names += [f"{item}_{field}_set", f"{item}_{field}_get"]
            names += [f"new_{item}", f"delete_{item}", f"{item}_swigregister", f"{item}_swiginit"]
        else:
            names.append(item)
    return names


def test_socket_adaptor_entries_stand_in_declaration_order():
    expected = entries_of(*(S + name for name in [
        "SoConGroup_GetFreeSoConGroupId", "SoCon_GetFreeSoConId", "SoRoute_GetFreeRxPduId", "PduRoute_GetFreeTxPduId",
        "RoutingGroup_GetFreeRoutingGroupId", "SoConGroup_Delete", "SoRoute_Delete", "PduRoute_Delete",
        "RoutingGroup_Delete", "SoCon_Delete", "SoCon_Open", "SoCon_Close", "Routing_Enable_Cmd_t", "Routing_Enable",
        "Routing_Disable_Cmd_t", "Routing_Disable", "SoCon_RemoteAddr_Set_Cmd_t", "SoCon_RemoteAddr_Set",
        "SoCon_GetState", "Init", "DeInit", "SoConGroup_Config_Cmd_t", "SoConGroup_Config", "SoCon_Config_Cmd_t",
        "SoCon_Config", "PduRoute_Config_Cmd_t", "PduRoute_Config"]),
        "SoAd_PduRouteDest_SoConRef_t",
        *(S + name for name in ["PduRouteDest_Config_Cmd_t", "PduRouteDest_Config", "Pdu_Config_Cmd_t", "Pdu_Config",
                                "SoRoute_SoConRef_t", "SoRoute_Config_Cmd_t", "SoRoute_Config", "RoutingGroup_Config"]))
    family = re.compile(r"(new_|delete_)?(Qx_Trovix_)?SoAd_")
    assert [name for name, obj in vars(tv).items() if callable(obj) and family.match(name)] == expected
