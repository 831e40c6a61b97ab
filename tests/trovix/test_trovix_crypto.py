"""Crypto service: 128-bit keys loaded by key identifier, jobs that name
their key and primitive; the key bytes travel unchanged."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

JOB = "Qx_Trovix_Csm_Job_Cmd_t"
KEY = "Qx_Trovix_Csm_Key_128Bit_Cmd_t"
KEY_BYTES = [0x2B, 0x7E, 0x15, 0x16, 0x28, 0xAE, 0xD2, 0xA6, 0xAB, 0xF7, 0x15, 0x88, 0x09, 0xCF, 0x4F, 0x3C]


@pytest.fixture
def keyed(tport):
    """The port with key 5 loaded."""
    tv.Qx_Trovix_Csm_Key_128Bit(tport, qxtest.new_record(tv, KEY, KeyId=5, Key=KEY_BYTES))
    return tport


def test_key_reaches_the_library_whole(sim, tport):
    fields = dict(Flags=0xFFFFFFFF, KeyId=2**32 - 1, Key=[255 - i for i in range(16)])
    assert tv.Qx_Trovix_Csm_Key_128Bit(tport, qxtest.new_record(tv, KEY, **fields)) is None
    call = sim.last("Qx_Trovix_Csm_Key_128Bit")
    assert call.arg(1).value == tport and call.arg(2).size == 24
    assert call.arg(2).bytes[8:] == bytes(range(255, 239, -1))
    assert layouts.unpack(KEY, call.arg(2).bytes) == fields


@pytest.mark.parametrize("primitive", [tv.QX_TROVIX__CSM__PRIMITIVE_TYPE__CMAC_AES_128,
                                       tv.QX_TROVIX__CSM__PRIMITIVE_TYPE__SIP_HASH_2_4])
def test_job_reaches_the_library_whole(sim, keyed, primitive):
    fields = dict(Flags=0x80000001, JobId=2**32 - 1, KeyId=5, PrimitiveType=primitive, reserved1=1, reserved2=2,
                  reserved3=255)
    assert tv.Qx_Trovix_Csm_Job(keyed, qxtest.new_record(tv, JOB, **fields)) is None
    call = sim.last("Qx_Trovix_Csm_Job")
    assert call.arg(2).size == 16 and layouts.unpack(JOB, call.arg(2).bytes) == fields


@pytest.mark.parametrize("fields, text", [
    (dict(KeyId=6, PrimitiveType=1), "key 6 of job 3 is not loaded"),
    (dict(KeyId=5, PrimitiveType=0), "unsupported primitive type 0"),
    (dict(KeyId=5, PrimitiveType=3), "unsupported primitive type 3"),
    (dict(KeyId=5, PrimitiveType=0x1FF), "unsupported primitive type 255"),   # the low byte reaches the library
])
def test_job_refused_by_the_stack_raises_its_text(sim, keyed, fields, text):
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_Csm_Job: {text}"):
        tv.Qx_Trovix_Csm_Job(keyed, qxtest.new_record(tv, JOB, JobId=3, **fields))


def test_reloaded_key_and_reconfigured_job_replace_their_entries(sim, keyed):
    for _ in range(20):   # more than the stack's 16 entries: each call replaces its entry
        tv.Qx_Trovix_Csm_Key_128Bit(keyed, qxtest.new_record(tv, KEY, KeyId=5, Key=[1] * 16))
        tv.Qx_Trovix_Csm_Job(keyed, qxtest.new_record(tv, JOB, JobId=9, KeyId=5, PrimitiveType=2))
    assert layouts.unpack(KEY, sim.last("Qx_Trovix_Csm_Key_128Bit").arg(2).bytes)["Key"] == [1] * 16


def test_full_key_table_fails_and_keeps_the_loaded_keys(sim, keyed):
    for key_id in range(100, 115):
        tv.Qx_Trovix_Csm_Key_128Bit(keyed, qxtest.new_record(tv, KEY, KeyId=key_id))
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Csm_Key_128Bit: the key table is full (16 entries)"):
        tv.Qx_Trovix_Csm_Key_128Bit(keyed, qxtest.new_record(tv, KEY, KeyId=200))
    tv.Qx_Trovix_Csm_Job(keyed, qxtest.new_record(tv, JOB, JobId=1, KeyId=114, PrimitiveType=1))


@pytest.mark.parametrize("value, stored", [
    (tuple(range(16)), list(range(16))),
    ([256, -1, 300] + [0] * 13, [0, 255, 44] + [0] * 13),
])
def test_key_takes_any_sequence_and_keeps_low_bytes(value, stored):
    rec = qxtest.new_record(tv, KEY, Key=value)
    got = tv.Qx_Trovix_Csm_Key_128Bit_Cmd_t_Key_get(rec)
    assert got == stored
    got[0] = 99   # a copy, not a view
    assert tv.Qx_Trovix_Csm_Key_128Bit_Cmd_t_Key_get(rec) == stored


@pytest.mark.parametrize("value, exc, ending", [
    (list(range(15)), ValueError, "Expecting a sequence with 16 elements"),
    (list(range(17)), ValueError, "Expecting a sequence with 16 elements"),
    ([9] * 15 + ["x"], ValueError, "Expecting a sequence of u8_t"),
    ([1.0] + [9] * 15, ValueError, "Expecting a sequence of u8_t"),
    ([9] * 15 + [2**31], ValueError, "Expecting a sequence of u8_t"),
    ("0123456789abcdef", ValueError, "Expecting a sequence of u8_t"),
    (None, TypeError, "Expecting a sequence"),
    (5, TypeError, "Expecting a sequence"),
])
def test_key_setter_is_all_or_nothing(value, exc, ending):
    rec = qxtest.new_record(tv, KEY, Key=KEY_BYTES)
    with qxtest.raises_exactly(exc, f"fail in '{KEY}_Key_set' : {ending}"):
        tv.Qx_Trovix_Csm_Key_128Bit_Cmd_t_Key_set(rec, value)
    assert tv.Qx_Trovix_Csm_Key_128Bit_Cmd_t_Key_get(rec) == KEY_BYTES


def test_key_setter_given_no_record_still_checks_the_sequence():
    assert tv.Qx_Trovix_Csm_Key_128Bit_Cmd_t_Key_set(None, KEY_BYTES) is None
    with qxtest.raises_exactly(ValueError, f"fail in '{KEY}_Key_set' : Expecting a sequence with 16 elements"):
        tv.Qx_Trovix_Csm_Key_128Bit_Cmd_t_Key_set(None, [0])


@pytest.mark.parametrize("record, field, ftype", [
    (JOB, "PrimitiveType", "u8_t"),
    (JOB, "JobId", "u32_t"),
    (KEY, "Flags", "Qx_Trovix_Csm_Key_128Bit_CmdFlags_t"),
])
@pytest.mark.parametrize("value, exc", [(-1, OverflowError), (2**32, OverflowError), ("1", TypeError),
                                        (1.0, TypeError)])
def test_scalar_setter_refuses_and_keeps_the_member(record, field, ftype, value, exc):
    rec = qxtest.new_record(tv, record, **{field: 7})
    with qxtest.raises_exactly(exc, f"in method '{record}_{field}_set', argument 2 of type '{ftype}'"):
        getattr(tv, f"{record}_{field}_set")(rec, value)
    assert getattr(tv, f"{record}_{field}_get")(rec) == 7


def test_argument_errors_are_raised_before_the_call(sim, keyed):
    with qxtest.raises_exactly(TypeError, f"in method 'Qx_Trovix_Csm_Key_128Bit', argument 2 of type '{KEY} const *const'"):
        tv.Qx_Trovix_Csm_Key_128Bit(keyed, qxtest.new_record(tv, "Qx_Trovix_Csm_Job_Cmd_t"))
    with qxtest.raises_exactly(TypeError, f"in method 'Qx_Trovix_Csm_Job', argument 2 of type '{JOB} const *const'"):
        tv.Qx_Trovix_Csm_Job(keyed, qxtest.new_record(tv, "Qx_Trovix_Csm_Key_128Bit_Cmd_t"))
    with qxtest.raises_exactly(OverflowError, "in method 'Qx_Trovix_Csm_Job', argument 1 of type 'Qx_PortHandle_t'"):
        tv.Qx_Trovix_Csm_Job(2**32, "not examined")
    with qxtest.raises_exactly(TypeError, "Qx_Trovix_Csm_Job expected 2 arguments, got 1"):
        tv.Qx_Trovix_Csm_Job(keyed)
    with qxtest.raises_exactly(TypeError, f"in method 'delete_{KEY}', argument 1 of type '{KEY} *'"):
        tv.delete_Qx_Trovix_Csm_Key_128Bit_Cmd_t(qxtest.new_record(tv, "Qx_Trovix_Csm_Job_Cmd_t"))
    assert sim.calls("Qx_Trovix_Csm_Job") == 0 and sim.calls("Qx_Trovix_Csm_Key_128Bit") == 1


def test_null_command_reaches_the_library_and_a_failure_raises(sim, tport):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Csm_Key_128Bit: no command given"):
        tv.Qx_Trovix_Csm_Key_128Bit(tport, None)
    assert sim.last("Qx_Trovix_Csm_Key_128Bit").arg(2).is_null
    sim.fail("Qx_Trovix_Csm_Job", text=b"job refused")
    with qxtest.raises_exactly(Exception, "job refused"):
        tv.Qx_Trovix_Csm_Job(tport, qxtest.new_record(tv, "Qx_Trovix_Csm_Job_Cmd_t"))
