"""Secure onboard communication: authentic PDUs, secured PDUs and
secured-PDU collections of each side, the processings that join them with a
crypto job, transmit error modes and receive verification statistics."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

S = "Qx_Trovix_SecOc_"
STAT_CMD = f"{S}GetVerificationStat_Cmd_t"
STAT_RSP = f"{S}GetVerificationStat_Rsp_t"
STAT_FIELDS = ("Flags", "LastVerificationErrorCode", "VerificationPassCounter", "VerificationFailCounter")


def configure(port, function, **fields):
    getattr(tv, S + function)(port, qxtest.new_record(tv, f"{S}{function}_Cmd_t", **fields))


@pytest.fixture
def stack(tport):
    """The port with crypto job 1 (on key 2), receive authentic PDU 10 and
    secured PDU 11, transmit authentic PDU 20 and secured PDU 21, and a
    collection on each side whose authentic part is PDU 12 (receive) or 22
    (transmit)."""
    tv.Qx_Trovix_Csm_Key_128Bit(tport, qxtest.new_record(tv, "Qx_Trovix_Csm_Key_128Bit_Cmd_t", KeyId=2))
    tv.Qx_Trovix_Csm_Job(tport, qxtest.new_record(tv, "Qx_Trovix_Csm_Job_Cmd_t", JobId=1, KeyId=2, PrimitiveType=1))
    configure(tport, "RxAuthenticPdu", RxAuthenticPduId=10)
    configure(tport, "RxSecuredPdu", RxSecuredPduId=11)
    configure(tport, "RxSecuredPduCollection", RxSecuredPduId_AuthenticPart=12, RxSecuredPduId_CryptographicPart=13)
    configure(tport, "TxAuthenticPdu", TxAuthenticPduId=20)
    configure(tport, "TxSecuredPdu", TxSecuredPduId=21, PduLengthMax=64)
    configure(tport, "TxSecuredPduCollection", TxSecuredPduId_AuthenticPart=22, TxSecuredPduId_CryptographicPart=23)
    configure(tport, "RxPduProcessing", RxPduProcessingId=3, RxAuthenticPduId=10, RxSecuredPduId=11,
              AuthServiceConfig_CsmJobId=1)
    configure(tport, "TxPduProcessing", TxPduProcessingId=4, TxAuthenticPduId=20, TxSecuredPduId=21,
              AuthServiceConfig_CsmJobId=1)
    return tport


COMMANDS = [
    ("RxPduProcessing", 40, dict(
        Flags=0x80000000, RxPduProcessingId=2**32 - 1, RxAuthenticPduId=10, RxSecuredPduId=12, DataId=0xBEEF,
        FreshnessValueLength=64, FreshnessValueTxLength=8, FreshnessValueId=2**32 - 2, AuthDataFreshnessLength=3,
        AuthDataFreshnessStartPosition=0xFFFF, AuthVerifyAttempts=5, AuthInfoTxLength=28,
        AuthServiceConfig_CsmJobId=1, PduDataMaxLength=0x01020304)),
    ("TxPduProcessing", 36, dict(
        Flags=1, TxPduProcessingId=7, TxAuthenticPduId=20, TxSecuredPduId=22, DataId=1, FreshnessValueLength=255,
        FreshnessValueTxLength=255, FreshnessValueId=9, AuthInfoTxLength=0xABCD, reserved1=0xA5, reserved2=0x5A,
        AuthServiceConfig_CsmJobId=1, PduDataMaxLength=2**32 - 1)),
    ("RxAuthenticPdu", 8, dict(Flags=2, RxAuthenticPduId=2**32 - 1)),
    ("TxAuthenticPdu", 8, dict(Flags=3, TxAuthenticPduId=0x10000)),
    ("RxSecuredPdu", 8, dict(Flags=4, RxSecuredPduId=77)),
    ("TxSecuredPdu", 12, dict(Flags=5, TxSecuredPduId=78, PduLengthMax=2**32 - 1)),
    ("RxSecuredPduCollection", 24, dict(
        Flags=6, RxSecuredPduId_AuthenticPart=30, RxSecuredPduId_CryptographicPart=31, PduLengthMax_AuthenticPart=8,
        PduLengthMax_CryptographicPart=2**32 - 1, MsgLinkPosition=0xFFFF, MsgLinkLength=0x8001)),
    ("TxSecuredPduCollection", 24, dict(
        Flags=7, TxSecuredPduId_AuthenticPart=40, TxSecuredPduId_CryptographicPart=41, PduLengthMax_AuthenticPart=1,
        PduLengthMax_CryptographicPart=2, MsgLinkPosition=3, MsgLinkLength=4)),
    ("TxPduProcessing_Error", 16, dict(
        Flags=8, TxPduProcessingId=4, ErrorMode=tv.QX_TROVIX__SEC_OC__ERROR_MODE__ADD_ONE_TO_FIRST_BYTE, reserved1=1,
        reserved2=2, reserved3=3, NumberOfCycles=2**32 - 1)),
]


@pytest.mark.parametrize("function, size, fields", COMMANDS, ids=[c[0] for c in COMMANDS])
def test_command_reaches_the_library_whole(sim, stack, function, size, fields):
    record = f"{S}{function}_Cmd_t"
    assert getattr(tv, S + function)(stack, qxtest.new_record(tv, record, **fields)) is None
    call = sim.last(S + function)
    assert call.arg(1).value == stack and call.arg(2).size == size
    assert layouts.unpack(record, call.arg(2).bytes) == fields


@pytest.mark.parametrize("function, fields, text", [
    ("RxPduProcessing", dict(RxAuthenticPduId=20), "unknown receive authentic PDU 20"),
    ("RxPduProcessing", dict(RxSecuredPduId=21), "unknown receive secured PDU 21"),
    ("RxPduProcessing", dict(RxSecuredPduId=13), "unknown receive secured PDU 13"),   # a cryptographic part
    ("RxPduProcessing", dict(AuthServiceConfig_CsmJobId=2), "unknown crypto job 2"),
    ("RxPduProcessing", dict(FreshnessValueLength=8, FreshnessValueTxLength=9),
     "FreshnessValueTxLength 9 is above FreshnessValueLength 8"),
    ("TxPduProcessing", dict(TxAuthenticPduId=10), "unknown transmit authentic PDU 10"),
    ("TxPduProcessing", dict(TxSecuredPduId=11), "unknown transmit secured PDU 11"),
    ("TxPduProcessing", dict(AuthServiceConfig_CsmJobId=0), "unknown crypto job 0"),
    ("TxPduProcessing_Error", dict(TxPduProcessingId=3), "unknown transmit PDU processing 3"),
    ("TxPduProcessing_Error", dict(ErrorMode=2), "unknown error mode 2"),
    ("RxSecuredPduCollection", dict(RxSecuredPduId_AuthenticPart=5, RxSecuredPduId_CryptographicPart=5),
     "the authentic and the cryptographic part are both PDU 5"),
    ("TxSecuredPduCollection", dict(), "the authentic and the cryptographic part are both PDU 0"),
])
def test_command_refused_by_the_stack_raises_its_text(sim, stack, function, fields, text):
    valid = {"RxPduProcessing": dict(RxPduProcessingId=8, RxAuthenticPduId=10, RxSecuredPduId=11,
                                     AuthServiceConfig_CsmJobId=1),
             "TxPduProcessing": dict(TxPduProcessingId=8, TxAuthenticPduId=20, TxSecuredPduId=21,
                                     AuthServiceConfig_CsmJobId=1),
             "TxPduProcessing_Error": dict(TxPduProcessingId=4)}.get(function, {})
    with qxtest.raises_exactly(Exception, f"{S}{function}: {text}"):
        configure(stack, function, **{**valid, **fields})


def test_verification_statistics_are_read_into_the_response(sim, stack):
    rsp = qxtest.new_record(tv, STAT_RSP, Flags=9, LastVerificationErrorCode=9, VerificationPassCounter=9,
                            VerificationFailCounter=9)
    cmd = qxtest.new_record(tv, STAT_CMD, Flags=0x40, RxPduProcessingId=3)
    assert tv.Qx_Trovix_SecOc_GetVerificationStat(stack, cmd, rsp) is None
    call = sim.last(f"{S}GetVerificationStat")
    assert layouts.unpack(STAT_CMD, call.arg(2).bytes) == dict(Flags=0x40, RxPduProcessingId=3)
    assert call.arg(3).size == 16
    # a fresh processing has verified nothing yet
    assert {f: getattr(tv, f"{STAT_RSP}_{f}_get")(rsp) for f in STAT_FIELDS} == dict.fromkeys(STAT_FIELDS, 0)
    stats = dict(Flags=1, LastVerificationErrorCode=0x0F, VerificationPassCounter=2**32 - 1,
                 VerificationFailCounter=123456)
    sim.output(f"{S}GetVerificationStat", 3, layouts.pack(STAT_RSP, **stats))
    assert tv.Qx_Trovix_SecOc_GetVerificationStat(stack, cmd, rsp) is None
    assert {f: getattr(tv, f"{STAT_RSP}_{f}_get")(rsp) for f in STAT_FIELDS} == stats


def test_verification_statistics_need_a_known_processing_and_a_response(sim, stack):
    with qxtest.raises_exactly(Exception, f"{S}GetVerificationStat: unknown receive PDU processing 4"):
        tv.Qx_Trovix_SecOc_GetVerificationStat(stack, qxtest.new_record(tv, STAT_CMD, RxPduProcessingId=4),
                                               qxtest.new_record(tv, "Qx_Trovix_SecOc_GetVerificationStat_Rsp_t"))
    with qxtest.raises_exactly(Exception, f"{S}GetVerificationStat: no response given"):
        tv.Qx_Trovix_SecOc_GetVerificationStat(stack, qxtest.new_record(tv, STAT_CMD, RxPduProcessingId=3), None)
    assert sim.last(f"{S}GetVerificationStat").arg(3).is_null


def test_a_failed_reading_leaves_the_response_as_it_was(sim, stack):
    rsp = qxtest.new_record(tv, STAT_RSP, VerificationPassCounter=77)
    sim.fail(f"{S}GetVerificationStat", text=b"statistics unavailable")
    with qxtest.raises_exactly(Exception, "statistics unavailable"):
        tv.Qx_Trovix_SecOc_GetVerificationStat(stack, qxtest.new_record(tv, STAT_CMD, RxPduProcessingId=3), rsp)
    assert tv.Qx_Trovix_SecOc_GetVerificationStat_Rsp_t_VerificationPassCounter_get(rsp) == 77


def test_reconfigured_processing_replaces_its_entry_and_resets_its_statistics(sim, stack):
    for _ in range(20):   # more than the stack's 16 processings
        configure(stack, "RxPduProcessing", RxPduProcessingId=3, RxAuthenticPduId=10, RxSecuredPduId=12,
                  AuthServiceConfig_CsmJobId=1)
    rsp = qxtest.new_record(tv, STAT_RSP, VerificationFailCounter=5)
    tv.Qx_Trovix_SecOc_GetVerificationStat(stack, qxtest.new_record(tv, STAT_CMD, RxPduProcessingId=3), rsp)
    assert tv.Qx_Trovix_SecOc_GetVerificationStat_Rsp_t_VerificationFailCounter_get(rsp) == 0


@pytest.mark.parametrize("record, field, ftype", [
    (f"{S}RxPduProcessing_Cmd_t", "DataId", "u16_t"),
    (f"{S}TxPduProcessing_Error_Cmd_t", "Flags", f"{S}TxPduProcessing_Error_CmdFlags_t"),
    (f"{S}TxSecuredPduCollection_Cmd_t", "MsgLinkLength", "u16_t"),
    (STAT_RSP, "Flags", f"{S}GetVerificationStat_RspFlags_t"),
])
@pytest.mark.parametrize("value, exc", [(-1, OverflowError), (2**32, OverflowError), ("1", TypeError),
                                        (1.0, TypeError)])
def test_setter_refuses_and_keeps_the_member(record, field, ftype, value, exc):
    rec = qxtest.new_record(tv, record, **{field: 7})
    with qxtest.raises_exactly(exc, f"in method '{record}_{field}_set', argument 2 of type '{ftype}'"):
        getattr(tv, f"{record}_{field}_set")(rec, value)
    assert getattr(tv, f"{record}_{field}_get")(rec) == 7


def test_argument_errors_are_raised_before_the_call(sim, stack):
    rx = f"{S}RxPduProcessing"
    stat = f"{S}GetVerificationStat"
    cmd = qxtest.new_record(tv, STAT_CMD, RxPduProcessingId=3)
    with qxtest.raises_exactly(TypeError, f"in method '{rx}', argument 2 of type '{rx}_Cmd_t const *const'"):
        tv.Qx_Trovix_SecOc_RxPduProcessing(stack, qxtest.new_record(tv, "Qx_Trovix_SecOc_TxPduProcessing_Cmd_t"))
    with qxtest.raises_exactly(TypeError, f"in method '{stat}', argument 2 of type '{STAT_CMD} const *const'"):
        tv.Qx_Trovix_SecOc_GetVerificationStat(stack, qxtest.new_record(tv, "Qx_Trovix_SecOc_GetVerificationStat_Rsp_t"), None)
    with qxtest.raises_exactly(TypeError, f"in method '{stat}', argument 3 of type '{STAT_RSP} *const'"):
        tv.Qx_Trovix_SecOc_GetVerificationStat(stack, cmd, cmd)
    with qxtest.raises_exactly(TypeError, f"{stat} expected 3 arguments, got 2"):
        tv.Qx_Trovix_SecOc_GetVerificationStat(stack, cmd)
    with qxtest.raises_exactly(OverflowError, f"in method '{S}TxPduProcessing', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_SecOc_TxPduProcessing(2**32, "not examined")
    with qxtest.raises_exactly(TypeError, f"in method 'delete_{STAT_RSP}', argument 1 of type '{STAT_RSP} *'"):
        tv.delete_Qx_Trovix_SecOc_GetVerificationStat_Rsp_t(cmd)
    assert sim.calls(rx) == 1 and sim.calls(stat) == 0 and sim.calls(f"{S}TxPduProcessing") == 1


@pytest.mark.parametrize("function", [c[0] for c in COMMANDS] + ["GetVerificationStat"])
def test_null_command_reaches_the_library(sim, stack, function):
    args = (stack, None, None) if function == "GetVerificationStat" else (stack, None)
    with qxtest.raises_exactly(Exception, f"{S}{function}: no command given"):
        getattr(tv, S + function)(*args)
    assert sim.last(S + function).arg(2).is_null


def test_scripted_failure_raises_its_text(sim, stack):
    sim.fail(f"{S}TxPduProcessing_Error", text=b"error mode refused")
    with qxtest.raises_exactly(Exception, "error mode refused"):
        configure(stack, "TxPduProcessing_Error", TxPduProcessingId=4)
