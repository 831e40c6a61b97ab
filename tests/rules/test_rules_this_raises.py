"""An exception that an object's "this" raises itself (a property's
KeyError, the BufferError of a delete it tried) reaches the caller as it
stands, whatever rule converts the object: the argument's message does not
replace it and nothing is chained to it. An object with no "this" at all,
or whose "this" raises AttributeError (as getattr() with a default takes
it), keeps the argument's TypeError. tests/test_robustness.py checks the
same at every position of every binding; here a position of each rule,
with the native side not called."""
import pytest

import _qx_api as q
import qxtest
from qxtest import isolated, raises_exactly, skip_if_left_out

st = qxtest.module("_qx_storage")

CHECKSUM = "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t"
SIGNAL = "Qx_Common_Xcp_Daq_Signal_t"


class Raising:
    """An object whose "this" raises `error`, first running `during`."""

    def __init__(self, error, during=lambda: None):
        self.error, self.during = error, during

    @property
    def this(self):
        self.during()
        raise self.error


def common():
    return qxtest.module("_qx_api_common")


def can():
    return qxtest.module("_qx_api_can")


def tv():
    return qxtest.module("_qx_api_trovix")


def new(module, name):
    return qxtest.new_record(module(), name)


# key of the library a position needs (None: the base library), the native
# function the call would reach (None: an accessor or storage function), and
# the call with the object at the position
POSITIONS = {
    "record argument of a getter": (None, None, lambda r, port: q.Qx_Data_t_U8_get(r)),
    "record argument of a setter": (None, None, lambda r, port: q.Qx_IpAddress_t_All_set(r, 1)),
    "destructor": (None, None, lambda r, port: q.delete_Qx_Data_t(r)),
    "nested record copied in": (None, None, lambda r, port: q.Qx_Ethernet_AdapterInfo_t_Mask_set(
        qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t"), r)),
    "array member from a pointer": (None, None, lambda r, port: q.Qx_Data_t_U16_set(
        qxtest.new_record(q, "Qx_Data_t"), r)),
    "record pointer argument": (None, "Qx_OpenInterface", lambda r, port: q.Qx_OpenInterface(r)),
    "pointer class cell": (None, None, lambda r, port: q.int_p_assign(r, 1)),
    "pointer class cast": (None, None, lambda r, port: q.int_p_cast(r)),
    "instance set-up, instance": (None, None, lambda r, port: q.Qx_Data_t_swiginit(
        r, qxtest.new_record(q, "Qx_Data_t"))),
    "instance set-up, its this": (None, None, lambda r, port: q.Qx_Data_t_swiginit(type("Bare", (), {})(), r)),
    "text": ("common", "Qx_Common_OpenInterface", lambda r, port: common().Qx_Common_OpenInterface(r)),
    "buffer after scalars": ("common", "Qx_Common_Xcp_Cmd_Upload", lambda r, port: common().Qx_Common_Xcp_Cmd_Upload(
        port, 0, new(common, "Qx_Common_Xcp_Cmd_Upload_Cmd_t"), r)),
    "records beside a count": ("common", "Qx_Common_Xcp_Daq_SetSignals",
                               lambda r, port: common().Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 1, r)),
    "pointer member": ("can", None, lambda r, port: getattr(can(), f"{CHECKSUM}_UserBytesBefore_set")(
        new(can, CHECKSUM), r)),
    "native callback": ("can", "Qx_Can_TxFifo_GetState_Async_AddCallback",
                        lambda r, port: can().Qx_Can_TxFifo_GetState_Async_AddCallback(port, r)),
    "item of a list of pointees": ("can", "Qx_Can_Nm_Nodes_Start",
                                   lambda r, port: can().Qx_Can_Nm_Nodes_Start(port, [r])),
    "item of a list of records": ("trovix", "Qx_Trovix_Pdu_PduGroupControl",
                                  lambda r, port: tv().Qx_Trovix_Pdu_PduGroupControl(port, [r])),
    "text member": ("trovix", None, lambda r, port: tv().Qx_Trovix_PduInfo_t_PduName_set(
        new(tv, "Qx_Trovix_PduInfo_t"), r)),
    "cell read and written": ("trovix", "Qx_Trovix_Signal_Read",
                              lambda r, port: tv().Qx_Trovix_Signal_Read(port, 0, 0, 0, r, None)),
    "any pointer": ("trovix", "Qx_Trovix_Signal_Write", lambda r, port: tv().Qx_Trovix_Signal_Write(
        port, 0, 0, 0, 1, r)),
    "storage array": (None, None, lambda r, port: st.u8_array_getitem(r, 0)),
    "storage cell": (None, None, lambda r, port: st.u8_p_assign(r, 1)),
    "storage destructor": (None, None, lambda r, port: st.delete_u8_array(r)),
    "storage record copied in": ("common", None, lambda r, port: getattr(st, f"{SIGNAL}_array_setitem")(
        getattr(st, f"new_{SIGNAL}_array")(1), 0, r)),
    "block cell": ("trovix", None, lambda r, port: st.Qx_Trovix_SignalBlock_pp_value(r)),
    "bytes out": (None, None, lambda r, port: st.cdata(r, 1)),
    "bytes in": (None, None, lambda r, port: st.memmove(r, b"\x01")),
}


def positions():
    return [pytest.param(name, marks=skip_if_left_out(key)) if key else name for name, (key, _, _) in POSITIONS.items()]


@pytest.mark.parametrize("error", [KeyError("no such record"), RuntimeError("gone")], ids=["KeyError", "RuntimeError"])
@pytest.mark.parametrize("position", positions())
def test_the_exception_of_this_reaches_the_caller(sim, port, position, error):
    _, native, call = POSITIONS[position]
    calls = sim.calls(native) if native else 0
    with pytest.raises(type(error)) as raised:
        call(Raising(error), port)
    assert raised.value is error and raised.value.__context__ is None and raised.value.__cause__ is None
    if native:
        assert sim.calls(native) == calls


@pytest.mark.parametrize("position", ["record argument of a getter", "record pointer argument", "storage array",
                                      pytest.param("buffer after scalars", marks=skip_if_left_out("common"))])
@pytest.mark.parametrize("bare", [lambda: object(), lambda: Raising(AttributeError("this"))],
                         ids=["no this", "this raising AttributeError"])
def test_an_object_without_this_keeps_the_arguments_type_error(port, position, bare):
    _, _, call = POSITIONS[position]
    with pytest.raises(TypeError, match=r"^in method '\w+', argument \d of type '[^']+'$"):
        call(bare(), port)


def test_a_refused_delete_inside_this_reaches_the_caller_as_buffer_error():
    record = qxtest.new_record(q, "Qx_Data_t")
    with raises_exactly(BufferError, "storage in use by a call in progress in method 'delete_Qx_Data_t', "
                                     "argument 1 of type 'Qx_Data_t *'"):
        q.Qx_Data_t_U16_set(record, Raising(None, lambda: q.delete_Qx_Data_t(record)))
    q.Qx_Data_t_U8_get(record)  # still there


@skip_if_left_out("common")
def test_a_refused_delete_of_an_earlier_argument_stops_the_native_call(sim, port):
    c = common()
    cmd = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Upload_Cmd_t", NumberOfBytes=4)
    with raises_exactly(BufferError, "storage in use by a call in progress in method "
                                     "'delete_Qx_Common_Xcp_Cmd_Upload_Cmd_t', argument 1 of type "
                                     "'Qx_Common_Xcp_Cmd_Upload_Cmd_t *'"):
        c.Qx_Common_Xcp_Cmd_Upload(port, 0, cmd, Raising(None, lambda: c.delete_Qx_Common_Xcp_Cmd_Upload_Cmd_t(cmd)))
    assert sim.calls("Qx_Common_Xcp_Cmd_Upload") == 0
    assert c.Qx_Common_Xcp_Cmd_Upload_Cmd_t_NumberOfBytes_get(cmd) == 4


@isolated
def test_the_proxy_classes_let_the_exception_of_this_through():
    import qx_api
    import qx_storage
    error = LookupError("no adapter")
    adapter = qx_api.Qx_Ethernet_AdapterInfo_t()
    with pytest.raises(LookupError) as raised:
        adapter.Mask = Raising(error)
    assert raised.value is error
    with pytest.raises(LookupError) as raised:
        qx_storage.memmove(Raising(error), b"\x01")
    assert raised.value is error
    if "_qx_api_common" in qxtest.built_modules():
        signals = getattr(qx_storage, SIGNAL + "_array")(2)
        with pytest.raises(LookupError) as raised:
            signals[1] = Raising(error)
        assert raised.value is error
