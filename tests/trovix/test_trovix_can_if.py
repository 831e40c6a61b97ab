"""Trovix CAN interface: classic and FD baud rates with their bit-timing
limits, controller FD modes, the sizes of the receive and transmit PDU tables
and their PDUs; the records Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t,
Qx_Trovix_CanIf_Controller_Config_t, Qx_Trovix_CanIf_BaudRateFd_Config_Cmd_t,
Qx_Trovix_CanIf_RxPdu_Config_Parameters_t and
Qx_Trovix_CanIf_TxPdu_Config_Parameters_t."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

LIMITS = "Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t"
CONTROLLER = "Qx_Trovix_CanIf_Controller_Config_t"
FD = "Qx_Trovix_CanIf_BaudRateFd_Config_Cmd_t"
RX = "Qx_Trovix_CanIf_RxPdu_Config_Parameters_t"
TX = "Qx_Trovix_CanIf_TxPdu_Config_Parameters_t"
FD_MODE = tv.QX_TROVIX__CAN_IF__FD_MODE__FD


def distinct_values(name, **overrides):
    """Every field of record `name` set to a value of its own (rising in
    declaration order, so that each minimum stays below its maximum)."""
    values = {path: 0x11 * (i + 1) for i, path in enumerate(layouts.record(name).fields)}
    values.update(overrides)
    return values


@pytest.fixture
def can_ready(tport):
    """Controller 1 at 500 kbit/s in FD mode; room for 4 receive and 4
    transmit PDUs."""
    tv.Qx_Trovix_CanIf_BaudRate_Config(tport, 1, 500000, qxtest.new_record(tv, "Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t"))
    tv.Qx_Trovix_CanIf_Controller_Config(tport, qxtest.new_record(tv, CONTROLLER, ControllerId=1, FdMode=FD_MODE))
    tv.Qx_Trovix_CanIf_RxPdu_MaxNumber(tport, 4)
    tv.Qx_Trovix_CanIf_TxPdu_MaxNumber(tport, 4)
    return tport


# ---- records -------------------------------------------------------------------

@pytest.mark.parametrize("name, field, declared", [
    (LIMITS, "Sjw_Max", "u8_t"),
    (CONTROLLER, "FdMode", "u8_t"),
    (FD, "reserved", "u8_t"),
    (RX, "DlcMin", "u8_t"),
    (TX, "reserved3", "u8_t"),
])
def test_one_byte_fields_store_the_low_byte_and_refuse_what_no_u32_is(name, field, declared):
    record = qxtest.new_record(tv, name)
    setter, getter = getattr(tv, f"{name}_{field}_set"), getattr(tv, f"{name}_{field}_get")
    setter(record, 300)
    assert getter(record) == 44
    setter(record, 2**32 - 1)
    assert getter(record) == 255
    message = f"in method '{name}_{field}_set', argument 2 of type '{declared}'"
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), (1.0, TypeError), ("1", TypeError)):
        with qxtest.raises_exactly(exc, message):
            setter(record, bad)
        assert getter(record) == 255


@pytest.mark.parametrize("name, field, declared", [
    (CONTROLLER, "Flags", "Qx_Trovix_CanIf_Controller_Config_CmdFlags_t"),
    (FD, "Flags", "Qx_Trovix_CanIf_BaudRateFd_Config_CmdFlags_t"),
    (RX, "Flags", "Qx_Trovix_CanIf_RxPdu_Config_Flags_t"),
    (TX, "Flags", "Qx_Trovix_CanIf_TxPdu_Config_Flags_t"),
    (FD, "TdcOffset", "u32_t"),
])
def test_word_fields_keep_32_bits_and_name_their_declared_type(name, field, declared):
    record = qxtest.new_record(tv, name)
    getattr(tv, f"{name}_{field}_set")(record, 0xFEDCBA98)
    assert getattr(tv, f"{name}_{field}_get")(record) == 0xFEDCBA98
    with qxtest.raises_exactly(OverflowError, f"in method '{name}_{field}_set', argument 2 of type '{declared}'"):
        getattr(tv, f"{name}_{field}_set")(record, 2**32)


# ---- bindings: the records reach the library byte for byte ------------------------

@pytest.mark.parametrize("binding, name, overrides", [
    ("Qx_Trovix_CanIf_Controller_Config", CONTROLLER, {"ControllerId": 1, "FdMode": FD_MODE}),
    ("Qx_Trovix_CanIf_BaudRateFd_Config", FD, {"ControllerId": 1, "BaudRate": 2000000, "TdcOffset": 0x12345678}),
    ("Qx_Trovix_CanIf_RxPdu_Config", RX, {"PduId": 0xA0000001, "CanId": 0x9FFFFFFF, "DlcMin": 8, "DlcMax": 64}),
    ("Qx_Trovix_CanIf_TxPdu_Config", TX, {"PduId": 0xA0000002, "CanId": 0x18DAF110}),
])
def test_record_arguments_reach_the_library_as_laid_out(sim, can_ready, binding, name, overrides):
    values = distinct_values(name, **overrides)
    record = qxtest.new_record(tv, name, **values)
    assert getattr(tv, binding)(can_ready, record) is None
    call = sim.last(binding)
    assert call.arg(1).value == can_ready
    assert call.arg(2).bytes == layouts.pack(name, **values)
    # the caller's record is neither kept nor changed
    assert {f: getattr(tv, f"{name}_{f}_get")(record) for f in values} == values


def test_baud_rate_passes_the_controller_as_its_low_byte_then_rate_and_limits(sim, tport):
    values = distinct_values(LIMITS)
    limits = qxtest.new_record(tv, LIMITS, **values)
    assert tv.Qx_Trovix_CanIf_BaudRate_Config(tport, 257, 2**32 - 1, limits) is None
    call = sim.last("Qx_Trovix_CanIf_BaudRate_Config")
    assert [call.arg(i).value for i in (1, 2, 3)] == [tport, 1, 2**32 - 1]
    assert call.arg(4).bytes == layouts.pack(LIMITS, **values)
    # the controller is known from now on, under its low byte
    tv.Qx_Trovix_CanIf_Controller_Config(tport, qxtest.new_record(tv, CONTROLLER, ControllerId=1))


@pytest.mark.parametrize("binding", ["Qx_Trovix_CanIf_RxPdu_MaxNumber", "Qx_Trovix_CanIf_TxPdu_MaxNumber"])
def test_maximum_numbers_pass_unchanged(sim, tport, binding):
    assert getattr(tv, binding)(tport, 32) is None
    assert sim.last(binding).arg(2).value == 32


# ---- arguments refused before the call ---------------------------------------------

@pytest.mark.parametrize("binding, args, exc, message", [
    ("Qx_Trovix_CanIf_RxPdu_Config", (qxtest.new_record(tv, "Qx_Trovix_CanIf_TxPdu_Config_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_CanIf_RxPdu_Config', argument 2 of type 'Qx_Trovix_CanIf_RxPdu_Config_Parameters_t const *const'"),
    ("Qx_Trovix_CanIf_TxPdu_Config", (5,), TypeError,
     "in method 'Qx_Trovix_CanIf_TxPdu_Config', argument 2 of type 'Qx_Trovix_CanIf_TxPdu_Config_Parameters_t const *const'"),
    ("Qx_Trovix_CanIf_Controller_Config", (qxtest.new_record(tv, "Qx_Trovix_CanIf_Controller_Config_t"), 0), TypeError,
     "Qx_Trovix_CanIf_Controller_Config expected 2 arguments, got 3"),
    ("Qx_Trovix_CanIf_BaudRate_Config", (-1, 500000, None), OverflowError,
     "in method 'Qx_Trovix_CanIf_BaudRate_Config', argument 2 of type 'u8_t'"),
    ("Qx_Trovix_CanIf_BaudRate_Config", (1, 2**32, None), OverflowError,
     "in method 'Qx_Trovix_CanIf_BaudRate_Config', argument 3 of type 'u32_t'"),
    ("Qx_Trovix_CanIf_BaudRate_Config", (1, 500000, qxtest.new_record(tv, "Qx_Trovix_CanIf_Controller_Config_t")), TypeError,
     "in method 'Qx_Trovix_CanIf_BaudRate_Config', argument 4 of type "
     "'Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t const *const'"),
    ("Qx_Trovix_CanIf_BaudRateFd_Config", (qxtest.new_record(tv, "Qx_Trovix_CanIf_RxPdu_Config_Parameters_t"),), TypeError,
     "in method 'Qx_Trovix_CanIf_BaudRateFd_Config', argument 2 of type 'Qx_Trovix_CanIf_BaudRateFd_Config_Cmd_t const *const'"),
    ("Qx_Trovix_CanIf_RxPdu_MaxNumber", ("4",), TypeError,
     "in method 'Qx_Trovix_CanIf_RxPdu_MaxNumber', argument 2 of type 'u32_t'"),
    ("Qx_Trovix_CanIf_TxPdu_MaxNumber", (2**32,), OverflowError,
     "in method 'Qx_Trovix_CanIf_TxPdu_MaxNumber', argument 2 of type 'u32_t'"),
])
def test_arguments_refused_before_the_call(sim, tport, binding, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        getattr(tv, binding)(tport, *args)
    assert sim.calls(binding) == 0


def test_port_handle_is_argument_1():
    with qxtest.raises_exactly(OverflowError, "in method 'Qx_Trovix_CanIf_RxPdu_Config', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_CanIf_RxPdu_Config(-1, None)


@pytest.mark.parametrize("binding", ["Qx_Trovix_CanIf_Controller_Config", "Qx_Trovix_CanIf_BaudRateFd_Config",
                                     "Qx_Trovix_CanIf_RxPdu_Config", "Qx_Trovix_CanIf_TxPdu_Config"])
def test_none_passes_a_null_record_and_the_status_decides(sim, can_ready, binding):
    with pytest.raises(Exception) as info:
        getattr(tv, binding)(can_ready, None)
    assert type(info.value) is Exception and str(info.value).startswith(binding + ": no ")
    assert sim.last(binding).arg(2).is_null


def test_failure_carries_the_library_text_and_keeps_the_record(sim, can_ready):
    record = qxtest.new_record(tv, RX, PduId=7, DlcMax=8)
    sim.fail("Qx_Trovix_CanIf_RxPdu_Config", text=b"CanIf refused")
    with qxtest.raises_exactly(Exception, "CanIf refused"):
        tv.Qx_Trovix_CanIf_RxPdu_Config(can_ready, record)
    assert tv.Qx_Trovix_CanIf_RxPdu_Config_Parameters_t_PduId_get(record) == 7


# ---- the simulated stack's tables ------------------------------------------------------

@pytest.mark.parametrize("kind, name", [("Rx", RX), ("Tx", TX)])
def test_pdu_table_is_sized_first_and_keyed_by_pdu_id(sim, tport, kind, name):
    word = {"Rx": "receive", "Tx": "transmit"}[kind]
    configure = getattr(tv, f"Qx_Trovix_CanIf_{kind}Pdu_Config")
    size = getattr(tv, f"Qx_Trovix_CanIf_{kind}Pdu_MaxNumber")
    record = qxtest.new_record(tv, name, PduId=1, DlcMax=8)
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_CanIf_{kind}Pdu_Config: the {word} PDU table is full (0 entries)"):
        configure(tport, record)
    size(tport, 2)
    configure(tport, record)
    tv.__dict__[f"{name}_PduId_set"](record, 2)    # one record, changed and passed again
    configure(tport, record)
    configure(tport, record)                      # the same PDU again replaces it
    assert [e.arg(2).bytes for e in sim.entries(f"Qx_Trovix_CanIf_{kind}Pdu_Config")][-3:] == \
        [layouts.pack(name, PduId=i, DlcMax=8) for i in (1, 2, 2)]
    tv.__dict__[f"{name}_PduId_set"](record, 3)
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_CanIf_{kind}Pdu_Config: the {word} PDU table is full (2 entries)"):
        configure(tport, record)
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_CanIf_{kind}Pdu_MaxNumber: 1 {word} PDUs asked for, "
                                          "2 are configured already"):
        size(tport, 1)
    size(tport, 3)
    configure(tport, record)


def test_rx_pdu_dlc_minimum_above_maximum_is_refused(tport):
    tv.Qx_Trovix_CanIf_RxPdu_MaxNumber(tport, 1)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_CanIf_RxPdu_Config: PDU 4: DlcMin 9 is above DlcMax 8"):
        tv.Qx_Trovix_CanIf_RxPdu_Config(tport, qxtest.new_record(tv, RX, PduId=4, DlcMin=9, DlcMax=8))


def test_controller_needs_its_baud_rate_and_fd_mode_for_the_fd_rate(tport):
    controller = qxtest.new_record(tv, CONTROLLER, ControllerId=3, FdMode=FD_MODE)
    fd = qxtest.new_record(tv, FD, ControllerId=3, BaudRate=2000000)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_CanIf_Controller_Config: controller 3 has no baud rate configured"):
        tv.Qx_Trovix_CanIf_Controller_Config(tport, controller)
    tv.Qx_Trovix_CanIf_BaudRate_Config(tport, 3, 500000, qxtest.new_record(tv, "Qx_Trovix_CanIf_BaudRate_Config_ExtendedParam_t"))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_CanIf_BaudRateFd_Config: controller 3 is not in FD mode"):
        tv.Qx_Trovix_CanIf_BaudRateFd_Config(tport, fd)
    tv.Qx_Trovix_CanIf_Controller_Config(tport, controller)
    tv.Qx_Trovix_CanIf_BaudRateFd_Config(tport, fd)
    tv.Qx_Trovix_CanIf_Controller_Config_t_FdMode_set(controller, tv.QX_TROVIX__CAN_IF__FD_MODE__UNKNOWN)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_CanIf_Controller_Config: unknown FD mode 2"):
        tv.Qx_Trovix_CanIf_Controller_Config(tport, controller)


@pytest.mark.parametrize("pair", ["SamplePoint", "NumberOfTimeQuanta", "TSeg1", "TSeg2", "Sjw"])
def test_bit_timing_limits_with_minimum_above_maximum_are_refused(can_ready, pair):
    limits = qxtest.new_record(tv, LIMITS, **{f"{pair}_Min": 9, f"{pair}_Max": 8})
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_CanIf_BaudRate_Config: {pair}_Min 9 is above {pair}_Max 8"):
        tv.Qx_Trovix_CanIf_BaudRate_Config(can_ready, 1, 500000, limits)
    fd = qxtest.new_record(tv, FD, ControllerId=1, BaudRate=2000000, **{f"{pair}_Min": 9, f"{pair}_Max": 8})
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_CanIf_BaudRateFd_Config: {pair}_Min 9 is above {pair}_Max 8"):
        tv.Qx_Trovix_CanIf_BaudRateFd_Config(can_ready, fd)


def test_an_uninitialised_stack_refuses_the_configuration(trovix_port):
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_CanIf_RxPdu_MaxNumber: the Trovix interface of port "
                                          f"0x{trovix_port:08X} is not initialised"):
        tv.Qx_Trovix_CanIf_RxPdu_MaxNumber(trovix_port, 1)
