"""Trovix container PDUs: container and contained transmit PDUs, pools of
contained receive PDUs, container and contained receive PDUs, and the six
enumerations their one-byte members carry."""
import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

P = "Qx_Trovix_PduMux2_"
CONTAINER_TX = f"{P}ContainerTxPdu_Config_Cmd_t"
CONTAINED_TX = f"{P}ContainedTxPdu_Config_Cmd_t"
POOL = f"{P}ContainedRxPduPool_Config_Cmd_t"
CONTAINER_RX = f"{P}ContainerRxPdu_Config_Cmd_t"
CONTAINED_RX = f"{P}ContainedRxPdu_Config_Cmd_t"
SIZES = {CONTAINER_TX: 28, CONTAINED_TX: 24, POOL: 8, CONTAINER_RX: 16, CONTAINED_RX: 20}
ENUMERATIONS = {
    "HEADER_TYPE": ["SHORT", "LONG"],
    "HEADER_BYTE_ORDER": ["LITTLE_ENDIAN", "BIG_ENDIAN"],
    "CONTAINER_TX_TRIGGER_MODE": ["DIRECT", "TRIGGER_TRANSMIT"],
    "COLLECTION_SEMANTICS": ["LAST_IS_BEST", "QUEUED"],
    "CONTAINED_TX_PDU_TRIGGER": ["ALWAYS", "NEVER"],
    "CONTAINER_RX_ACCEPTION_MODE": ["ALL", "CONFIGURED"],
}


def binding(record):
    return getattr(tv, record[:-len("_Cmd_t")])


def configure(port, record, **fields):
    binding(record)(port, qxtest.new_record(tv, record, **fields))


@pytest.fixture
def containers(tport):
    """Container transmit PDU 1, pool 5 and container receive PDU 2 of pool 5."""
    configure(tport, CONTAINER_TX, ContainerTxPduId=1)
    configure(tport, POOL, ContainedRxPduPoolId=5)
    configure(tport, CONTAINER_RX, ContainerRxPduId=2, ContainedRxPduPoolId=5)
    return tport


def test_enumerations_are_installed_with_their_values():
    got = {family: [getattr(tv, f"QX_TROVIX__PDU_MUX2__{family}__{name}") for name in names + ["UNKNOWN"]]
           for family, names in ENUMERATIONS.items()}
    assert got == dict.fromkeys(ENUMERATIONS, [0, 1, 2])


@pytest.mark.parametrize("name", SIZES)
def test_fresh_record_has_its_size_and_reads_zero(name):
    assert layouts.size(name) == SIZES[name]
    record = qxtest.new_record(tv, name)
    fields = list(layouts.record(name).fields)
    assert {f: getattr(tv, f"{name}_{f}_get")(record) for f in fields} == dict.fromkeys(fields, 0)


@pytest.mark.parametrize("name, field, declared", [
    (CONTAINER_TX, "Flags", f"{P}ContainerTxPdu_Config_Cmd_Flags_t"),
    (CONTAINED_TX, "Flags", f"{P}ContainedTxPdu_Config_Cmd_Flags_t"),
    (POOL, "Flags", f"{P}ContainedRxPduPool_Config_Cmd_Flags_t"),
    (CONTAINER_RX, "Flags", f"{P}ContainerRxPdu_Config_Cmd_Flags_t"),
    (CONTAINED_RX, "Flags", f"{P}ContainedRxPdu_Config_Cmd_Flags_t"),
    (CONTAINED_TX, "Trigger", "u8_t"),
    (CONTAINED_RX, "HeaderId", "u32_t"),
])
def test_fields_refuse_what_no_u32_is_and_stay_unchanged(name, field, declared):
    record = qxtest.new_record(tv, name)
    getattr(tv, f"{name}_{field}_set")(record, 1)
    message = f"in method '{name}_{field}_set', argument 2 of type '{declared}'"
    for bad, exc in ((-1, OverflowError), (2**32, OverflowError), (1.0, TypeError), (None, TypeError)):
        with qxtest.raises_exactly(exc, message):
            getattr(tv, f"{name}_{field}_set")(record, bad)
        assert getattr(tv, f"{name}_{field}_get")(record) == 1
    assert getattr(tv, f"{name}_{field}_set")(None, 3) is None


@pytest.mark.parametrize("name, fields", [
    (CONTAINER_TX, dict(Flags=0x80000001, ContainerTxPduId=7, HeaderType=1, HeaderByteOrder=1, QueueSize=255,
                        ContainerTxTriggerMode=1, PduLengthMax=4096, SendTimeout=10, SizeThreshold=2**32 - 1,
                        TxConfirmationTimeout=30)),
    (CONTAINED_TX, dict(Flags=2, ContainerTxPduId=1, ContainedTxPduId=8, HeaderId=0xDEADBEEF,
                        CollectionSemantics=1, Trigger=1, reserved1=3, reserved2=4, SendTimeout=5)),
    (POOL, dict(Flags=3, ContainedRxPduPoolId=2**32 - 1)),
    (CONTAINER_RX, dict(Flags=4, ContainerRxPduId=9, HeaderType=0, HeaderByteOrder=1,
                        ContainerRxAcceptionMode=1, reserved=6, ContainedRxPduPoolId=5)),
    (CONTAINED_RX, dict(Flags=5, ContainedRxPduPoolId=5, ContainerRxPduId=2, ContainedRxPduId=10,
                        HeaderId=2**32 - 2)),
])
def test_commands_reach_the_library_whole(sim, containers, name, fields):
    assert binding(name)(containers, qxtest.new_record(tv, name, **fields)) is None
    call = sim.last(name[:-len("_Cmd_t")])
    assert call.arg(1).value == containers and call.arg(2).size == SIZES[name]
    assert layouts.unpack(name, call.arg(2).bytes) == fields


@pytest.mark.parametrize("name, fields, text", [
    (CONTAINED_TX, dict(ContainerTxPduId=2), "unknown container transmit PDU 2"),
    (CONTAINER_RX, dict(ContainedRxPduPoolId=6), "unknown contained receive PDU pool 6"),
    (CONTAINED_RX, dict(ContainedRxPduPoolId=6, ContainerRxPduId=2), "unknown contained receive PDU pool 6"),
    (CONTAINED_RX, dict(ContainedRxPduPoolId=5, ContainerRxPduId=1), "unknown container receive PDU 1"),
    (CONTAINER_TX, dict(HeaderType=2), "unknown HeaderType 2"),
    (CONTAINER_TX, dict(ContainerTxTriggerMode=3), "unknown ContainerTxTriggerMode 3"),
    (CONTAINED_TX, dict(ContainerTxPduId=1, CollectionSemantics=2), "unknown CollectionSemantics 2"),
    (CONTAINED_TX, dict(ContainerTxPduId=1, Trigger=255), "unknown Trigger 255"),
    (CONTAINER_RX, dict(ContainedRxPduPoolId=5, HeaderByteOrder=2), "unknown HeaderByteOrder 2"),
    (CONTAINER_RX, dict(ContainedRxPduPoolId=5, ContainerRxAcceptionMode=2), "unknown ContainerRxAcceptionMode 2"),
    (POOL, None, "no contained receive PDU pool given"),
])
def test_refused_commands_name_what_is_missing_or_unknown(sim, containers, name, fields, text):
    command = None if fields is None else qxtest.new_record(tv, name, **fields)
    with qxtest.raises_exactly(Exception, f"{name[:-len('_Cmd_t')]}: {text}"):
        binding(name)(containers, command)
    assert sim.last(name[:-len("_Cmd_t")]).arg(2).is_null == (fields is None)


def test_full_table_fails_and_a_known_identifier_is_replaced(containers):
    for pool in range(6, 6 + 31):
        configure(containers, POOL, ContainedRxPduPoolId=pool)
    configure(containers, POOL, ContainedRxPduPoolId=5)
    with qxtest.raises_exactly(Exception, f"{P}ContainedRxPduPool_Config: the contained receive PDU pool table "
                                          "is full (32 entries)"):
        configure(containers, POOL, ContainedRxPduPoolId=100)


def test_argument_errors_are_raised_before_the_call(sim, containers):
    with qxtest.raises_exactly(TypeError, f"in method '{P}ContainerRxPdu_Config', argument 2 of type "
                                          f"'{CONTAINER_RX} const *const'"):
        tv.Qx_Trovix_PduMux2_ContainerRxPdu_Config(containers, qxtest.new_record(tv, "Qx_Trovix_PduMux2_ContainerTxPdu_Config_Cmd_t"))
    with qxtest.raises_exactly(TypeError, f"{P}ContainedRxPdu_Config expected 2 arguments, got 1"):
        tv.Qx_Trovix_PduMux2_ContainedRxPdu_Config(containers)
    with qxtest.raises_exactly(OverflowError, f"in method '{P}ContainedTxPdu_Config', argument 1 of type "
                                              "'Qx_PortHandle_t'"):
        tv.Qx_Trovix_PduMux2_ContainedTxPdu_Config(2**32, None)
    assert sim.calls(f"{P}ContainerRxPdu_Config") == 1
    assert sim.calls(f"{P}ContainedRxPdu_Config") == sim.calls(f"{P}ContainedTxPdu_Config") == 0


def test_library_failure_raises_its_text(sim, containers):
    sim.fail(f"{P}ContainedRxPduPool_Config", text=b"pool refused")
    with qxtest.raises_exactly(Exception, "pool refused"):
        configure(containers, POOL, ContainedRxPduPoolId=9)
