"""Trovix PDU router: the sizes of the source and target PDU tables per
module, routing paths and routing-error commands; the records
Qx_Trovix_PduRouter_RoutingPath_Config_Parameters_t and
Qx_Trovix_PduRouter_RoutingError_Cmd_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

PATH = "Qx_Trovix_PduRouter_RoutingPath_Config_Parameters_t"
ERROR = "Qx_Trovix_PduRouter_RoutingError_Cmd_t"
CAN_IF_RX = tv.QX_TROVIX__PDU_ROUTER__ROUTING_PATH__SOURCE__CAN_IF__RX
COM_RX = tv.QX_TROVIX__PDU_ROUTER__ROUTING_PATH__TARGET__COM__RX
SEC_OC_RX_TARGET = tv.QX_TROVIX__PDU_ROUTER__ROUTING_PATH__TARGET__SEC_OC__RX


def path(source_pdu, target_pdu, source=CAN_IF_RX, target=COM_RX, **fields):
    return qxtest.new_record(tv, PATH, Source=source, Target=target, SourcePduId=source_pdu,
                             TargetPduId=target_pdu, **fields)


def error_cmd(source_pdu, target_pdu, source=CAN_IF_RX, target=COM_RX, **fields):
    return qxtest.new_record(tv, ERROR, Source=source, Target=target, SourcePduId=source_pdu,
                             TargetPduId=target_pdu, **fields)


@pytest.fixture
def router(tport):
    """Room for 2 source PDUs of the CAN interface and 3 target PDUs of Com."""
    tv.Qx_Trovix_PduRouter_SourcePdu_MaxNumber(tport, CAN_IF_RX, 2)
    tv.Qx_Trovix_PduRouter_TargetPdu_MaxNumber(tport, COM_RX, 3)
    return tport


# ---- records -------------------------------------------------------------------

@pytest.mark.parametrize("name", [PATH, ERROR])
def test_fresh_record_reads_zero_in_every_field(name):
    record = qxtest.new_record(tv, name)
    got = {f: getattr(tv, f"{name}_{f}_get")(record) for f in layouts.record(name).fields}
    assert got == layouts.unpack(name, bytes(24)) and layouts.size(name) == 24
    assert got["Source"] == tv.QX_TROVIX__PDU_ROUTER__ROUTING_PATH__SOURCE__COM__TX
    assert got["Target"] == COM_RX


@pytest.mark.parametrize("name, field, declared", [
    (PATH, "Source", "u8_t"), (PATH, "reserved2", "u8_t"), (ERROR, "Mode", "u8_t"), (ERROR, "Target", "u8_t"),
    (PATH, "Flags", "Qx_Trovix_PduRouter_RoutingPath_Config_Flags_t"),
    (ERROR, "Flags", "Qx_Trovix_PduRouter_RoutingError_CmdFlags_t"), (ERROR, "Time", "u32_t"),
])
def test_fields_store_their_width_and_refuse_what_no_u32_is(name, field, declared):
    record = qxtest.new_record(tv, name)
    setter, getter = getattr(tv, f"{name}_{field}_set"), getattr(tv, f"{name}_{field}_get")
    setter(record, 0x1FF)
    assert getter(record) == (0xFF if declared == "u8_t" else 0x1FF)
    setter(record, 256)
    assert getter(record) == (0 if declared == "u8_t" else 256)
    message = f"in method '{name}_{field}_set', argument 2 of type '{declared}'"
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), ("1", TypeError)):
        with qxtest.raises_exactly(exc, message):
            setter(record, bad)
        assert getter(record) == (0 if declared == "u8_t" else 256)


# ---- bindings ----------------------------------------------------------------------

@pytest.mark.parametrize("binding, declared_module", [
    ("Qx_Trovix_PduRouter_SourcePdu_MaxNumber", tv.QX_TROVIX__PDU_ROUTER__ROUTING_PATH__SOURCE__SEC_OC__RX),
    ("Qx_Trovix_PduRouter_TargetPdu_MaxNumber", tv.QX_TROVIX__PDU_ROUTER__ROUTING_PATH__TARGET__SEC_OC__RX),
])
def test_table_sizes_pass_the_module_code_and_the_number(sim, tport, binding, declared_module):
    assert getattr(tv, binding)(tport, 0x300 + declared_module, 32) is None
    call = sim.last(binding)
    assert [call.arg(i).value for i in (1, 2, 3)] == [tport, declared_module, 32]


@pytest.mark.parametrize("binding, code, side", [
    ("Qx_Trovix_PduRouter_SourcePdu_MaxNumber", 273, "source"),   # 273 = 0x111: code 17, UNKNOWN
    ("Qx_Trovix_PduRouter_TargetPdu_MaxNumber", 16, "target"),
])
def test_the_unknown_code_reaches_the_library_which_refuses_it(sim, tport, binding, code, side):
    with qxtest.raises_exactly(Exception, f"{binding}: unknown {side} module {code & 0xFF}"):
        getattr(tv, binding)(tport, code, 1)
    assert sim.last(binding).arg(2).value == code & 0xFF


@pytest.mark.parametrize("binding, name, make", [
    ("Qx_Trovix_PduRouter_RoutingPath_Config", PATH, lambda: path(10, 20, Flags=0x80000001, PduLengthMax=64,
                                                                    FifoDepth=4, reserved1=0xAA, reserved2=0xBB)),
    ("Qx_Trovix_PduRouter_RoutingError", ERROR, lambda: error_cmd(
        10, 20, Flags=0x80000002, reserved=0xCC, NumberOfErrors=3, Time=0xDEADBEEF,
        Mode=tv.QX_TROVIX__PDU_ROUTER__ROUTING_ERROR__MODE__NO_SOURCE_TRIG_TX)),
])
def test_records_reach_the_library_as_laid_out(sim, router, binding, name, make):
    tv.Qx_Trovix_PduRouter_RoutingPath_Config(router, path(10, 20))
    record = make()
    before = {f: getattr(tv, f"{name}_{f}_get")(record) for f in layouts.record(name).fields}
    assert getattr(tv, binding)(router, record) is None
    call = sim.last(binding)
    assert call.arg(1).value == router
    assert call.arg(2).bytes == layouts.pack(name, **before)
    assert layouts.unpack(name, call.arg(2).bytes)["Source"] == CAN_IF_RX   # offset 4 in a path, 6 in an error
    assert {f: getattr(tv, f"{name}_{f}_get")(record) for f in before} == before


@pytest.mark.parametrize("binding, args, exc, message", [
    ("Qx_Trovix_PduRouter_RoutingError", (qxtest.new_record(tv, "Qx_Trovix_PduRouter_RoutingPath_Config_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_PduRouter_RoutingError', argument 2 of type 'Qx_Trovix_PduRouter_RoutingError_Cmd_t const *const'"),
    ("Qx_Trovix_PduRouter_RoutingPath_Config", (qxtest.new_record(tv, "Qx_Trovix_PduRouter_RoutingError_Cmd_t"),), TypeError,
     "in method 'Qx_Trovix_PduRouter_RoutingPath_Config', argument 2 of type "
     "'Qx_Trovix_PduRouter_RoutingPath_Config_Parameters_t const *const'"),
    ("Qx_Trovix_PduRouter_SourcePdu_MaxNumber", (-1, 1), OverflowError,
     "in method 'Qx_Trovix_PduRouter_SourcePdu_MaxNumber', argument 2 of type 'u8_t'"),
    ("Qx_Trovix_PduRouter_TargetPdu_MaxNumber", (1, 1.0), TypeError,
     "in method 'Qx_Trovix_PduRouter_TargetPdu_MaxNumber', argument 3 of type 'u32_t'"),
    ("Qx_Trovix_PduRouter_SourcePdu_MaxNumber", (1,), TypeError,
     "Qx_Trovix_PduRouter_SourcePdu_MaxNumber expected 3 arguments, got 2"),
])
def test_arguments_refused_before_the_call(sim, tport, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, binding)(tport, *args)
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("binding, what", [("Qx_Trovix_PduRouter_RoutingPath_Config", "routing path"),
                                           ("Qx_Trovix_PduRouter_RoutingError", "routing-error command")])
def test_none_passes_a_null_record(sim, tport, binding, what):
    with qxtest.raises_exactly(Exception, f"{binding}: no {what} given"):
        getattr(tv, binding)(tport, None)
    assert sim.last(binding).arg(2).is_null


def test_failure_carries_the_library_text(sim, router):
    sim.fail("Qx_Trovix_PduRouter_RoutingPath_Config", text=b"router refused")
    with qxtest.raises_exactly(Exception, "router refused"):
        tv.Qx_Trovix_PduRouter_RoutingPath_Config(router, path(1, 1))


# ---- the simulated router's tables -------------------------------------------------------

def test_paths_fill_the_module_tables_each_pdu_once(router):
    configure = tv.Qx_Trovix_PduRouter_RoutingPath_Config
    configure(router, path(10, 20))
    configure(router, path(10, 21))           # a PDU routed to a second target takes no second source entry
    configure(router, path(11, 20))
    configure(router, path(11, 20, FifoDepth=8))   # the same path again replaces it
    with qxtest.raises_exactly(Exception, "Qx_Trovix_PduRouter_RoutingPath_Config: the source PDU table of "
                                          "module 1 is full (2 entries)"):
        configure(router, path(12, 20))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_PduRouter_RoutingPath_Config: the target PDU table of "
                                          f"module {SEC_OC_RX_TARGET} is full (0 entries)"):
        configure(router, path(10, 20, target=SEC_OC_RX_TARGET))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_PduRouter_SourcePdu_MaxNumber: 1 source PDUs of module 1 "
                                          "asked for, 2 are configured already"):
        tv.Qx_Trovix_PduRouter_SourcePdu_MaxNumber(router, CAN_IF_RX, 1)
    tv.Qx_Trovix_PduRouter_SourcePdu_MaxNumber(router, CAN_IF_RX, 3)
    configure(router, path(12, 22))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_PduRouter_RoutingPath_Config: the target PDU table of "
                                          "module 0 is full (3 entries)"):
        configure(router, path(12, 23))


@pytest.mark.parametrize("source, target, text", [
    (17, COM_RX, "unknown source module 17"),
    (CAN_IF_RX, 16, "unknown target module 16"),
])
def test_paths_of_unknown_modules_are_refused(router, source, target, text):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_PduRouter_RoutingPath_Config: " + text):
        tv.Qx_Trovix_PduRouter_RoutingPath_Config(router, path(1, 1, source=source, target=target))


def test_routing_errors_name_a_configured_path(router):
    tv.Qx_Trovix_PduRouter_RoutingPath_Config(router, path(10, 20))
    tv.Qx_Trovix_PduRouter_RoutingError(router, error_cmd(10, 20, Mode=1, NumberOfErrors=5))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_PduRouter_RoutingError: no routing path from source module 1 "
                                          "PDU 10 to target module 0 PDU 21"):
        tv.Qx_Trovix_PduRouter_RoutingError(router, error_cmd(10, 21, Mode=1))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_PduRouter_RoutingError: unknown routing-error mode 3"):
        tv.Qx_Trovix_PduRouter_RoutingError(router, error_cmd(
            10, 20, Mode=tv.QX_TROVIX__PDU_ROUTER__ROUTING_ERROR__MODE__UNKNOWN))
