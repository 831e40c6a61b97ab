"""Module _qx_api_trovix: its init, constants, interface bindings and the
type table it shares with the other modules."""
import collections
import os
import subprocess
import sys

import pytest

import qxtest
tv = qxtest.module("_qx_api_trovix")

import _qx_api as base  # noqa: E402

# Constant families in install order: (prefix, [(name after the prefix, value)]);
# an empty prefix lists whole names.
FAMILIES = [
    ('QX_TROVIX__SIGNAL__TYPE__', [('BOOLEAN', 0), ('FLOAT32', 1), ('FLOAT64', 2), ('S8', 3), ('S16', 4), ('S32', 5), ('U8', 6), ('U16', 7), ('U32', 8), ('U8_N', 9), ('U8_DYN', 10), ('S64', 11), ('U64', 12), ('UNKNOWN', 13)]),
    ('QX_TROVIX__SIGNAL__LENGTH_TYPE__', [('U8', 0), ('U16', 1), ('U32', 2), ('UNKNOWN', 3)]),
    ('QX_TROVIX__ENDIANNESS__', [('LITTLE_ENDIAN', 0), ('BIG_ENDIAN', 1), ('OPAQUE', 2)]),
    ('QX_TROVIX__BUS_TYPE__', [('CAN', 0), ('LIN', 1), ('FLEXRAY', 2), ('ETHERNET', 3), ('UNKNOWN', 4)]),
    ('QX_TROVIX__RAMP_TYPE__', [('TRIANGLE', 0), ('SAWTOOTH', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__RAMP_DIRECTION__', [('UP', 0), ('DOWN', 1), ('UNKNOWN', 2)]),
    ('', [('QX_API__TROVIX__SIGNAL__CONFIG_2__MAX_NAME_SIZE', 256)]),
    ('QX_TROVIX__SIGNAL__WRITE__MODE__', [('INTERNAL', 0), ('PHYSICAL', 1)]),
    ('QX_TROVIX__SIGNAL__READ__MODE__', [('INTERNAL', 0), ('PHYSICAL', 1)]),
    ('QX_TROVIX__SIGNAL__TRANSMISSION_MODE__', [('UNKNOWN', 0), ('TX', 1), ('RX', 2)]),
    ('', [('QX_TROVIX__PDU__MAX_PDU_NAME_LENGTH', 256), ('QX_TROVIX__PDU__MAX_ECU_NAME_LENGTH', 256), ('QX_TROVIX__PDU__MAX_BUSTYPE_NAME_LENGTH', 256), ('QX_TROVIX__PDU__MAX_SIGNAL_NAME_LENGTH', 256)]),
    ('', [('QX_TROVIX__COM_MANAGER__USER__MAX_NAME_LENGTH', 256)]),
    ('QX_TROVIX__COM_MANAGER__COM_MODE__', [('UNKNOWN', 0), ('NO_COMMUNICATION', 1), ('SILENT_COMMUNICATION', 2), ('FULL_COMMUNICATION', 3)]),
    ('QX_TROVIX__CAN_IF__FD_MODE__', [('NO_FD', 0), ('FD', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__CAN_NM__AUTOSAR__PDU_NID_POSITION__', [('BYTE_0', 0), ('BYTE_1', 1), ('NOT_USED', 255)]),
    ('QX_TROVIX__CAN_NM__AUTOSAR__PDU_CBV_POSITION__', [('BYTE_0', 0), ('BYTE_1', 1), ('NOT_USED', 255)]),
    ('QX_TROVIX__CAN_NM__AUTOSAR__PDU_STATE_POSITION__', [('BYTE_0', 0), ('BYTE_1', 1), ('BYTE_2', 2), ('NOT_USED', 255)]),
    ('QX_TROVIX__PDU_ROUTER__ROUTING_PATH__SOURCE__', [('COM__TX', 0), ('CAN_IF__RX', 1), ('CAN_TP__RX', 2), ('PDU_MUX__RX', 3), ('PDU_MUX__TX', 4), ('LIN_IF__RX', 5), ('FLEXRAY_IF__RX', 6), ('FLEXRAY_NM__RX', 7), ('PDU_MUX2__RX', 8), ('PDU_MUX2__TX', 9), ('SO_AD__RX', 10), ('UDP_NM__RX', 11), ('SEC_OC__RX', 12), ('SEC_OC__TX', 13), ('FVM__TX', 14), ('BCST_TP_C1__RX', 15), ('BCST_TP_C1__TX', 16), ('UNKNOWN', 17)]),
    ('QX_TROVIX__PDU_ROUTER__ROUTING_PATH__TARGET__', [('COM__RX', 0), ('CAN_IF__TX', 1), ('CAN_TP__TX', 2), ('PDU_MUX__RX', 3), ('PDU_MUX__TX', 4), ('LIN_IF__TX', 5), ('FLEXRAY_IF__TX', 6), ('FLEXRAY_NM__TX', 7), ('PDU_MUX2__RX', 8), ('PDU_MUX2__TX', 9), ('SO_AD__TX', 10), ('SEC_OC__RX', 11), ('SEC_OC__TX', 12), ('FVM__RX', 13), ('BCST_TP_C1__RX', 14), ('BCST_TP_C1__TX', 15), ('UNKNOWN', 16)]),
    ('QX_TROVIX__PDU_ROUTER__ROUTING_ERROR__MODE__', [('NO_ERROR', 0), ('NO_SOURCE_TX_REQ', 1), ('NO_SOURCE_TRIG_TX', 2), ('UNKNOWN', 3)]),
    ('QX_TROVIX__COM__PDU_TYPE__', [('NORMAL', 0), ('TP', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__COM__TX_MODE__', [('NONE', 0), ('DIRECT', 1), ('PERIODIC', 2), ('MIXED', 3), ('UNKNOWN', 4)]),
    ('QX_TROVIX__COM__TX_PDU__CLEAR_UPDATE_BIT__', [('TX_REQ', 0), ('TRIG_TX', 1), ('TX_CONF', 2), ('UNKNOWN', 3)]),
    ('QX_TROVIX__COM__TRANSFER_PROPERTY__', [('TRIGGERED', 0), ('PENDING', 1), ('TRIGGERED_ON_CHANGE', 2), ('TRIGGERED_ON_CHANGE_WITHOUT_REP', 3), ('TRIGGERED_WITHOUT_REP', 4), ('UNKNOWN', 5)]),
    ('QX_TROVIX__CHECKSUM_MODE__', [('OFF', 0), ('XOR', 1), ('CRC8_J1850', 2), ('ADD_AND_COMPLEMENT_TO_ONE', 8), ('XOR_WITH_USER_BYTES', 16), ('CRC_WITH_USER_BYTES', 17), ('CUSTOM_12', 18), ('ADD_NIBBLES', 21), ('CUSTOM_14', 22), ('ADD_BYTES__XOR_NIBBLES', 23)]),
    ('QX_TROVIX__COM__TX_PDU__CHECKSUM__WRAPPER__MODE__', [('OFF', 0), ('DEFAULT', 1), ('CUSTOM_1', 2), ('UNKNOWN', 3)]),
    ('QX_TROVIX__COM__FLT__ALG__', [('ALWAYS', 0), ('NEVER', 1), ('MASKED_NEW_EQUALS_X', 2), ('MASKED_NEW_DIFFERS_X', 3), ('MASKED_NEW_DIFFERS_MASKED_OLD', 4), ('NEW_IS_WITHIN', 5), ('NEW_IS_OUTSIDE', 6), ('ONE_EVERY_N', 7), ('UNKNOWN', 8)]),
    ('QX_TROVIX__CHECKSUM__ERROR_MODE__', [('NO_ERROR', 0), ('ADD_ONE', 1)]),
    ('QX_TROVIX__TRANSMIT__ERROR_MODE__', [('NO_ERROR', 0), ('DISABLE_TRANSMIT', 1)]),
    ('QX_TROVIX__COM__TX_PDU__RAMP__CONTROL__MODE__', [('START', 0), ('STOP', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__COM__TX_PDU__PROPERTY_ID__', [('TX_MODE__TRUE__TIME_PERIOD', 0), ('TX_MODE__FALSE__TIME_PERIOD', 1), ('PDU_LENGTH__CURRENT', 2), ('UNKNOWN', 3)]),
    ('QX_TROVIX__FLEXRAY_IF__CHANNEL__', [('CHA', 0), ('CHB', 1), ('CHAB', 2)]),
    ('', [('QX_TROVIX__PDU_MUX__DEMUXED_TX_PDU__CONFIG__MAX_SEGMENTS', 255)]),
    ('QX_TROVIX__PDU_MUX2__HEADER_TYPE__', [('SHORT', 0), ('LONG', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__PDU_MUX2__HEADER_BYTE_ORDER__', [('LITTLE_ENDIAN', 0), ('BIG_ENDIAN', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__PDU_MUX2__CONTAINER_TX_TRIGGER_MODE__', [('DIRECT', 0), ('TRIGGER_TRANSMIT', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__PDU_MUX2__COLLECTION_SEMANTICS__', [('LAST_IS_BEST', 0), ('QUEUED', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__PDU_MUX2__CONTAINED_TX_PDU_TRIGGER__', [('ALWAYS', 0), ('NEVER', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__PDU_MUX2__CONTAINER_RX_ACCEPTION_MODE__', [('ALL', 0), ('CONFIGURED', 1), ('UNKNOWN', 2)]),
    ('QX_TROVIX__NM__STATE__', [('NOT_INITIALIZED', 0), ('BUS_SLEEP', 1), ('PREPARE_BUS_SLEEP', 2), ('NETWORK__READY_SLEEP', 3), ('NETWORK__NORMAL_OPERATION', 4), ('NETWORK__REPEAT_MESSAGE', 5), ('SYNCHRONIZE', 6), ('UNKNOWN', 7)]),
    ('', [('QX_TROVIX__NM__USER_DATA__MAX_SIZE', 4000)]),
    ('QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_CBV_POSITION__', [('BYTE_0', 0), ('NOT_USED', 255)]),
    ('QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_SNI_POSITION__', [('BYTE_0', 0), ('BYTE_1', 1), ('NOT_USED', 255)]),
    ('QX_TROVIX__FLEXRAY_NM__AUTOSAR__PDU_NMS_POSITION__', [('BYTE_0', 0), ('BYTE_1', 1), ('BYTE_2', 2), ('NOT_USED', 255)]),
    ('QX_TROVIX__SEC_OC__ERROR_MODE__', [('NO_ERROR', 0), ('ADD_ONE_TO_FIRST_BYTE', 1)]),
    ('QX_TROVIX__CSM__PRIMITIVE_TYPE__', [('NOT_USED', 0), ('CMAC_AES_128', 1), ('SIP_HASH_2_4', 2), ('UNKNOWN', 3)]),
    ('QX_TROVIX__SO_AD__SOCKET_PROTOCOL__', [('UDP4', 0), ('UDP6', 1), ('TCP4', 2), ('TCP6', 3), ('UNKNOWN', 4)]),
    ('QX_TROVIX__SO_AD__SO_CON__STATE__', [('OFFLINE', 0), ('RECONNECT', 1), ('ONLINE', 2)]),
    ('', [('QX_TROVIX__SO_AD__MAX_PDU_ROUTING_DESTS', 128)]),
    ('QX_TROVIX__SO_AD__TX_COLLECTION_SEMANTICS__', [('LAST_IS_BEST', 0), ('QUEUED', 1), ('UNKNOWN', 2)]),
    ('', [('QX_TROVIX__SO_AD__MAX_ROUTING_GROUP_IDS', 128)]),
    ('', [('QX_TROVIX__SO_AD__MAX_SO_CON_REF_IDS', 128)]),
    ('QX_TROVIX__SO_AD__TX_UDP_TRIGGER_MODE__', [('ALWAYS', 0), ('NEVER', 1), ('UNKNOWN', 2)]),
    ('', [('QX_TROVIX__SO_AD__MAX_RX_TX_PDU_IDS', 128)]),
    ('QX_TROVAX__UDP_NM__AUTOSAR__PDU_NID_POSITION__', [('BYTE_0', 0), ('BYTE_1', 1)]),
    ('QX_TROVAX__UDP_NM__AUTOSAR__PDU_CBV_POSITION__', [('BYTE_0', 0), ('BYTE_1', 1)]),
    ('QX_TROVAX__UDP_NM__AUTOSAR__PDU_NMS_POSITION__', [('BYTE_0', 0), ('BYTE_1', 1), ('BYTE_2', 2)]),
    ('QX_TROVIX__CAN_TIME_SYNC__CRC_VALIDATION__', [('IGNORED', 0), ('NOT_VALIDATED', 1), ('OPTIONAL', 2), ('VALIDATED', 3), ('UNKNOWN', 4)]),
]
EXPECTED = [(prefix + name, value) for prefix, members in FAMILIES for name, value in members]


def test_all_229_constants_are_installed_as_ints_in_install_order():
    installed = [(name, value) for name, value in vars(tv).items() if name.startswith("QX_")]
    assert len(EXPECTED) == 229
    assert installed == EXPECTED
    assert all(type(value) is int for _, value in installed)


@pytest.mark.parametrize("name, value", [
    ("QX_TROVIX__SIGNAL__TYPE__UNKNOWN", 13),
    ("QX_TROVIX__BUS_TYPE__ETHERNET", 3),
    ("QX_TROVIX__ENDIANNESS__OPAQUE", 2),
    ("QX_API__TROVIX__SIGNAL__CONFIG_2__MAX_NAME_SIZE", 256),
    ("QX_TROVIX__CHECKSUM_MODE__ADD_BYTES__XOR_NIBBLES", 23),
    ("QX_TROVIX__CAN_NM__AUTOSAR__PDU_STATE_POSITION__NOT_USED", 255),
    ("QX_TROVIX__PDU_MUX__DEMUXED_TX_PDU__CONFIG__MAX_SEGMENTS", 255),
    ("QX_TROVIX__NM__USER_DATA__MAX_SIZE", 4000),
    ("QX_TROVAX__UDP_NM__AUTOSAR__PDU_NMS_POSITION__BYTE_2", 2),
    ("QX_TROVIX__CAN_TIME_SYNC__CRC_VALIDATION__UNKNOWN", 4),
])
def test_named_constant_values(name, value):
    assert getattr(tv, name) == value


def test_method_table_starts_with_the_runtime_entry_then_the_interface():
    functions = [name for name, obj in vars(tv).items() if callable(obj)]
    assert functions[:3] == ["SWIG_PyInstanceMethod_New", "Qx_Trovix_InitInterface", "Qx_Trovix_Config"]
    assert "SWIG_PyStaticMethod_New" not in functions


PORT_ONLY = {"Qx_Trovix_Signal_GetNumberOfSignals", "Qx_Trovix_ComManager_ResetUserBuffer", "Qx_Trovix_Com_Init",
             "Qx_Trovix_Com_DeInit", "Qx_Trovix_SoAd_Init", "Qx_Trovix_SoAd_DeInit", "Qx_Trovix_EthIf_Init",
             "Qx_Trovix_EthIf_DeInit"}


def entry_kind(name):
    for kind, test in (("new", name.startswith("new_")), ("delete", name.startswith("delete_")),
                       ("register", name.endswith("_swigregister")), ("init", name.endswith("_swiginit")),
                       ("set", name.endswith("_set")), ("get", name.endswith("_get"))):
        if test:
            return kind
    return "binding"


def test_method_table_holds_every_binding_and_record_entry():
    functions = [name for name, obj in vars(tv).items() if callable(obj)]
    assert len(functions) == len(set(functions)) == 3590
    kinds = collections.Counter(entry_kind(name) for name in functions[1:])
    assert kinds == {"binding": 216, "new": 180, "delete": 180, "register": 180, "init": 180, "set": 1323,
                     "get": 1330}


def test_only_the_port_only_bindings_take_the_port_alone():
    """A binding whose only argument is the port takes the object itself;
    every other binding takes an argument tuple and counts it."""
    bindings = [name for name, obj in vars(tv).items() if callable(obj) and entry_kind(name) == "binding"][1:]
    assert PORT_ONLY <= set(bindings)
    for name in bindings:
        if name in PORT_ONLY:
            with qxtest.raises_exactly(TypeError, f"_qx_api_trovix.{name}() takes exactly one argument (2 given)"):
                getattr(tv, name)(1, 2)
        else:
            with pytest.raises(TypeError, match=rf"^{name} expected \d+ arguments, got 1$"):
                getattr(tv, name)(1)


def test_init_interface_passes_port_and_flags(sim, trovix_port):
    assert tv.Qx_Trovix_InitInterface(trovix_port, 0xFFFFFFFF) is None
    call = sim.last("Qx_Trovix_InitInterface")
    assert (call.arg(1).value, call.arg(2).value) == (trovix_port, 0xFFFFFFFF)


@pytest.mark.parametrize("args, exc, message", [
    ((1,), TypeError, "Qx_Trovix_InitInterface expected 2 arguments, got 1"),
    ((-1, 0), OverflowError, "in method 'Qx_Trovix_InitInterface', argument 1 of type 'Qx_PortHandle_t'"),
    ((1, "x"), TypeError, "in method 'Qx_Trovix_InitInterface', argument 2 of type 'Qx_Trovix_InitInterface_CmdFlags_t'"),
    ((1, 2**32), OverflowError, "in method 'Qx_Trovix_InitInterface', argument 2 of type 'Qx_Trovix_InitInterface_CmdFlags_t'"),
])
def test_init_interface_refuses_bad_arguments_before_the_call(sim, args, exc, message):
    with qxtest.raises_exactly(exc, message):
        tv.Qx_Trovix_InitInterface(*args)
    assert sim.calls("Qx_Trovix_InitInterface") == 0


def test_init_interface_of_another_interface_raises_the_library_text(sim, port):
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_InitInterface: port 0x{port:08X} is not a Trovix interface"):
        tv.Qx_Trovix_InitInterface(port, 0)


def test_config_passes_the_text_as_utf8(sim, tport):
    assert tv.Qx_Trovix_Config(tport, 7, "stack=ä") is None
    call = sim.last("Qx_Trovix_Config")
    assert (call.arg(1).value, call.arg(2).value, call.arg(3).bytes) == (tport, 7, "stack=ä".encode() + b"\0")


def test_config_passes_a_char_pointer_object_and_none(sim, tport):
    cell = qxtest.new_record(base, "char_p")
    base.char_p_assign(cell, "x")
    tv.Qx_Trovix_Config(tport, 0, cell)
    assert sim.last("Qx_Trovix_Config").arg(3).bytes == b"x\0"
    base.delete_char_p(cell)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Config: no configuration given"):
        tv.Qx_Trovix_Config(tport, 0, None)
    assert sim.last("Qx_Trovix_Config").arg(3).is_null


@pytest.mark.parametrize("text", [5, b"stack"])
def test_config_takes_a_str_never_bytes(sim, tport, text):
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_Config', argument 3 of type 'char const *const'"):
        tv.Qx_Trovix_Config(tport, 0, text)
    assert sim.calls("Qx_Trovix_Config") == 0


def test_config_failures_carry_the_library_text(sim, trovix_port, tport):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_Config: the configuration text is empty"):
        tv.Qx_Trovix_Config(tport, 0, "")
    sim.fail("Qx_Trovix_Config", text=b"device busy")
    with qxtest.raises_exactly(Exception, "device busy"):
        tv.Qx_Trovix_Config(tport, 0, "stack")


def test_config_before_init_is_refused_by_the_library(sim, trovix_port):
    with qxtest.raises_exactly(
            Exception, f"Qx_Trovix_Config: the Trovix interface of port 0x{trovix_port:08X} is not initialised"):
        tv.Qx_Trovix_Config(trovix_port, 0, "stack")


def _run(script):
    env = qxtest.child_env(os.path.dirname(base.__file__))
    out = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True, text=True, timeout=120)
    assert out.returncode == 0, out.stderr
    return out.stdout


@pytest.mark.parametrize("order", [("_qx_api_trovix", "_qx_api", "_qx_api_can", "_qx_api_common"),
                                   ("_qx_api_common", "_qx_api_can", "_qx_api", "_qx_api_trovix"),
                                   ("_qx_api", "_qx_api_trovix", "_qx_api_common", "_qx_api_can")])
def test_loads_in_any_order_with_one_capsule(order):
    present = [m for m in order if m in qxtest.built_modules()]
    script = "\n".join([
        "import sys, importlib",
        f"mods = [importlib.import_module(m) for m in {present!r}]",
        "tv = sys.modules['_qx_api_trovix']",
        "assert 'swig_runtime_data4' in sys.modules",
        "capsule = sys.modules['swig_runtime_data4'].type_pointer_capsule",
        "assert len([k for k in vars(tv) if k.startswith('QX_')]) == 229",
        "print(type(capsule).__name__)",
    ])
    assert _run(script).strip() == "PyCapsule"


def test_imported_first_it_creates_the_shared_capsule():
    out = _run("import sys\nassert 'swig_runtime_data4' not in sys.modules\nimport _qx_api_trovix\n"
               "print(sys.modules['swig_runtime_data4'].type_pointer_capsule)")
    assert "swig_runtime_data4.type_pointer_capsule" in out
