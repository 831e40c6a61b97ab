"""Freshness value manager: the time-server schemes, five roles each; a role
that names an ECU freshness value needs that one configured."""
import pytest

import layouts
import qxtest
from fvm_records import check_members, distinct_values
tv = qxtest.module("_qx_api_trovix")

F = "Qx_Trovix_Fvm_"
SCHEMES = ["Custom2", "Custom5"]
ROLES = ["TimeServerEcu", "PartEcu", "AuthBroadcast", "PartEcuChallenge", "TimeServerEcuResponse"]
REFERRING = ["AuthBroadcast", "PartEcuChallenge", "TimeServerEcuResponse"]
ECU = 100


def record(scheme, role):
    return f"{F}{scheme}_{role}_Cmd_t"


def configure(port, scheme, role, **fields):
    return getattr(tv, f"{F}{scheme}_{role}")(port, qxtest.new_record(tv, record(scheme, role), **fields))


@pytest.fixture
def ecu(tport):
    """The port with the ECU freshness value 100 configured by a time server."""
    configure(tport, "Custom2", "TimeServerEcu", FreshnessValueId=ECU)
    return tport


@pytest.mark.parametrize("scheme", SCHEMES)
@pytest.mark.parametrize("role", ROLES)
def test_command_reaches_the_library_whole_and_configures_its_value(sim, ecu, scheme, role):
    fields = distinct_values(record(scheme, role), fresh_id=2**32 - 1)
    if role in REFERRING:
        fields["ECU_FreshnessValueId"] = ECU
    assert configure(ecu, scheme, role, **fields) is None
    call = sim.last(f"{F}{scheme}_{role}")
    assert call.arg(1).value == ecu and call.arg(2).size == layouts.size(record(scheme, role))
    assert layouts.unpack(record(scheme, role), call.arg(2).bytes) == fields
    tv.Qx_Trovix_Fvm_StartCommunication(ecu, qxtest.new_record(
        tv, f"{F}StartCommunication_Cmd_t", FreshnessValueId=2**32 - 1))


@pytest.mark.parametrize("scheme", SCHEMES)
@pytest.mark.parametrize("role", REFERRING)
def test_unknown_ecu_freshness_value_fails_and_configures_nothing(ecu, scheme, role):
    with qxtest.raises_exactly(Exception, f"{F}{scheme}_{role}: unknown ECU freshness value {ECU + 1}"):
        configure(ecu, scheme, role, FreshnessValueId=7, ECU_FreshnessValueId=ECU + 1)
    with qxtest.raises_exactly(Exception, f"{F}StartCommunication: unknown freshness value 7"):
        tv.Qx_Trovix_Fvm_StartCommunication(ecu, qxtest.new_record(
            tv, f"{F}StartCommunication_Cmd_t", FreshnessValueId=7))


@pytest.mark.parametrize("scheme", SCHEMES)
@pytest.mark.parametrize("role", ROLES)
def test_members(scheme, role):
    check_members(tv, record(scheme, role))


def _wrong_commands(scheme, role):
    """Records of another role of the scheme (or of the same role of the
    other scheme), an int and a str."""
    other_role = ROLES[(ROLES.index(role) + 1) % len(ROLES)]
    wrong = [qxtest.new_record(tv, record(scheme, other_role)), 0, "cmd"]
    other = [s for s in SCHEMES if s != scheme]
    if other:
        wrong.append(qxtest.new_record(tv, record(other[0], role)))
    return wrong


@pytest.mark.parametrize("scheme", SCHEMES)
@pytest.mark.parametrize("role", ROLES)
def test_argument_errors_are_raised_before_the_call(sim, tport, scheme, role):
    name, rec = f"{F}{scheme}_{role}", record(scheme, role)
    fn = getattr(tv, name)
    for wrong in _wrong_commands(scheme, role):
        with qxtest.raises_exactly(TypeError, f"in method '{name}', argument 2 of type '{rec} const *const'"):
            fn(tport, wrong)
    with qxtest.raises_exactly(OverflowError, f"in method '{name}', argument 1 of type 'Qx_PortHandle_t'"):
        fn(-1, "cmd")
    for args in [(tport,), (tport, None, None)]:
        with qxtest.raises_exactly(TypeError, f"{name} expected 2 arguments, got {len(args)}"):
            fn(*args)
    wrong = _wrong_commands(scheme, role)[0]
    with qxtest.raises_exactly(TypeError, f"in method '{rec}_Flags_get', argument 1 of type '{rec} *'"):
        getattr(tv, f"{rec}_Flags_get")(wrong)
    with qxtest.raises_exactly(TypeError, f"in method 'delete_{rec}', argument 1 of type '{rec} *'"):
        getattr(tv, f"delete_{rec}")(wrong)
    assert sim.calls(name) == 0


@pytest.mark.parametrize("scheme", SCHEMES)
@pytest.mark.parametrize("role", ROLES)
def test_null_command_reaches_the_library_and_a_failure_raises(sim, ecu, scheme, role):
    name = f"{F}{scheme}_{role}"
    with qxtest.raises_exactly(Exception, f"{name}: no command given"):
        getattr(tv, name)(ecu, None)
    assert sim.last(name).arg(2).is_null
    sim.fail(name, text=b"role refused")
    with qxtest.raises_exactly(Exception, "role refused"):
        configure(ecu, scheme, role, ECU_FreshnessValueId=ECU) if role in REFERRING else configure(ecu, scheme, role)


@pytest.mark.parametrize("scheme", SCHEMES)
def test_setter_given_no_record_still_converts_the_value(scheme):
    name = f"{record(scheme, 'TimeServerEcu')}_TimeSendPeriod_set"
    assert getattr(tv, name)(None, 255) is None
    with qxtest.raises_exactly(OverflowError, f"in method '{name}', argument 2 of type 'u8_t'"):
        getattr(tv, name)(None, 2**32)


def test_custom5_challenge_has_no_crypto_job():
    assert hasattr(tv, f"{record('Custom2', 'PartEcuChallenge')}_CsmJobId_set")
    custom5 = record("Custom5", "PartEcuChallenge")
    assert not [name for name in dir(tv) if name.startswith(custom5) and "CsmJobId" in name]
