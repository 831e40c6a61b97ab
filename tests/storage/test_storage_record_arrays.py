"""The storage module's arrays of records, through its flat functions
(new_R_array, delete_R_array, R_array_getitem, R_array_setitem): one kind
for every record that a binding takes several of beside a count, counts and
indexes, deleted arrays, other record types, views into an array and
copies into it, and the arrays given to those bindings: Python values in,
what the simulated device received, results out."""
import gc
import glob
import os
import re
import struct

import pytest

import _qx_api as q
import layouts
import qxtest
from qxtest import drained, isolated, raises_exactly, skip_if_left_out

st = qxtest.module("_qx_storage")

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
SIZE_MAX = 2**(8 * struct.calcsize("N")) - 1
MAX_BYTES = 2**32 - 1  # the most bytes an array holds

# The rules of api/<key>/params.txt that take several records beside a count.
SEVERAL = re.compile(r"^(records_beside_count|records_beside_count_cell|records_beside_count_member\(\w+\)|"
                     r"count_out_beside_records)\s+(.+)$")


def record_kinds():
    """(library key, record) for the record of every row of every library's
    params.txt that takes several records beside a count, in table order."""
    kinds = {}
    for table in sorted(glob.glob(os.path.join(ROOT, "api", "*", "params.txt"))):
        key = os.path.basename(os.path.dirname(table))
        with open(table) as rows:
            for row in rows:
                found = SEVERAL.match(row)
                if found:
                    words = re.findall(r"\w+", found.group(2).split(",")[-1])
                    kinds[(key, next(word for word in words if word != "const"))] = None
    return list(kinds)


def module(key):
    """The module of library `key`; a case of a library left out is skipped."""
    return qxtest.module(qxtest.registry()[key])


def fn(name):
    return getattr(st, name)


def plain_field(record):
    """A top-level u8 or u32 field of `record`: set from a plain int by every
    module."""
    fields = [f.path for f in layouts.record(record).fields.values()
              if "." not in f.path and f.type in ("u8", "u32") and f.count is None]
    assert fields, f"{record} has no u8 or u32 field"
    return fields[0]


def array_bytes(array, record, count):
    return st.cdata(array, count * layouts.size(record))


# A few kinds of different libraries: (library key, record, a u8/u32 field).
KINDS = [
    pytest.param("common", "Qx_Common_Xcp_Daq_Signal_t", "Address", id="common"),
    pytest.param("can", "Qx_Can_TxTrace_Msg_t", "Id", id="can"),
    pytest.param("trovix", "Qx_Trovix_SignalBlock_Signals_t", "SignalFlags", id="trovix"),
    pytest.param("trovix", "Qx_Trovix_Com_TxPdu_Ramp_Control_Ramp_t", "TxPduId", id="trovix, u8 count"),
]


# ---- every kind --------------------------------------------------------------------------------

@pytest.mark.parametrize("key, record", record_kinds(), ids=[r for _, r in record_kinds()])
def test_every_record_taken_beside_a_count_has_an_array_kind_the_module_takes(key, record):
    mod = module(key)
    size, field = layouts.size(record), plain_field(record)
    array = fn(f"new_{record}_array")(3)
    assert repr(array).startswith(f"<Swig Object of type '{record} *' at ")
    assert array_bytes(array, record, 3) == bytes(3 * size)
    with raises_exactly(ValueError, "too few bytes given for the call in method 'cdata', argument 1 of type 'void *'"):
        st.cdata(array, 3 * size + 1)
    # a record of the library copied in, and a view that the library's own
    # accessors take as one of its records
    fn(f"{record}_array_setitem")(array, 2, qxtest.new_record(mod, record, **{field: 0xA5}))
    view = fn(f"{record}_array_getitem")(array, 1)
    getattr(mod, f"{record}_{field}_set")(view, 0x5A)
    assert getattr(mod, f"{record}_{field}_get")(view) == 0x5A
    assert array_bytes(array, record, 3) == (bytes(size) + layouts.pack(record, {field: 0x5A})
                                             + layouts.pack(record, {field: 0xA5}))


# ---- counts and indexes ----------------------------------------------------------------------

@pytest.mark.parametrize("key, record, field", KINDS)
@pytest.mark.parametrize("count, exc, message", [
    (0, ValueError, "a count of 0 given for an array in method 'new_{R}_array', argument 1 of type 'size_t'"),
    (-1, OverflowError, "in method 'new_{R}_array', argument 1 of type 'size_t'"),
    (SIZE_MAX + 1, OverflowError, "in method 'new_{R}_array', argument 1 of type 'size_t'"),
    # one record more than 2**32 - 1 bytes hold, and beyond
    ("first too many", OverflowError, "a count beyond 4294967295 bytes given for an array in method "
                                      "'new_{R}_array', argument 1 of type 'size_t'"),
    (SIZE_MAX, OverflowError, "a count beyond 4294967295 bytes given for an array in method 'new_{R}_array', "
                              "argument 1 of type 'size_t'"),
    (3.0, TypeError, "in method 'new_{R}_array', argument 1 of type 'size_t'"),
    (None, TypeError, "in method 'new_{R}_array', argument 1 of type 'size_t'"),
], ids=["0", "negative", "beyond size_t", "first too many", "SIZE_MAX", "float", "None"])
def test_bad_counts_are_refused(key, record, field, count, exc, message):
    module(key)
    if count == "first too many":
        count = MAX_BYTES // layouts.size(record) + 1
    with raises_exactly(exc, message.format(R=record)):
        fn(f"new_{record}_array")(count)


@pytest.mark.parametrize("key, record, field", KINDS)
def test_an_index_outside_the_array_is_refused_and_nothing_is_written(key, record, field):
    mod, size = module(key), layouts.size(record)
    array = fn(f"new_{record}_array")(2)
    get, put = fn(f"{record}_array_getitem"), fn(f"{record}_array_setitem")
    source = qxtest.new_record(mod, record)
    st.memmove(source, b"\xff" * size)
    for index in (-1, 2, 2**63, 2**64, -2**64):
        for call, args in ((get, ()), (put, (source,))):
            with raises_exactly(IndexError, f"index out of range in method '{call.__name__}', argument 2 of type "
                                            "'size_t'"):
                call(array, index, *args)
    with raises_exactly(TypeError, f"in method '{record}_array_getitem', argument 2 of type 'size_t'"):
        get(array, 1.0)
    assert array_bytes(array, record, 2) == bytes(2 * size)


# ---- lifetime --------------------------------------------------------------------------------

@pytest.mark.parametrize("key, record, field", KINDS)
def test_a_deleted_array_is_refused_everywhere_and_deleted_once(key, record, field):
    mod = module(key)
    array = fn(f"new_{record}_array")(2)
    view = fn(f"{record}_array_getitem")(array, 1)
    fn(f"delete_{record}_array")(view)  # a view owns nothing: frees nothing
    fn(f"{record}_array_setitem")(array, 1, qxtest.new_record(mod, record, **{field: 7}))
    assert getattr(mod, f"{record}_{field}_get")(view) == 7
    fn(f"delete_{record}_array")(array)
    fn(f"delete_{record}_array")(array)  # a second delete frees nothing
    fn(f"delete_{record}_array")(None)
    assert not array.own() and int(array) == 0
    for call, message in [
            (lambda: fn(f"{record}_array_getitem")(array, 0),
             f"'{record}_array_getitem', argument 1 of type '{record} *'"),
            (lambda: fn(f"{record}_array_setitem")(array, 0, qxtest.new_record(mod, record)),
             f"'{record}_array_setitem', argument 1 of type '{record} *'"),
            (lambda: st.cdata(array, 1), "'cdata', argument 1 of type 'void *'"),
            # a view of the deleted array, as a view of a deleted record
            (lambda: getattr(mod, f"{record}_{field}_get")(view), f"'{record}_{field}_get', argument 1 of type "
                                                                 f"'{record} *'")]:
        with raises_exactly(ValueError, "invalid null reference in method " + message):
            call()


def test_a_deleted_array_is_refused_by_a_binding_before_the_native_call(sim, port):
    c = module("common")
    signals = st.new_Qx_Common_Xcp_Daq_Signal_t_array(2)
    st.delete_Qx_Common_Xcp_Daq_Signal_t_array(signals)
    with raises_exactly(ValueError, "invalid null reference in method 'Qx_Common_Xcp_Daq_SetSignals', argument 5 of "
                                    "type 'Qx_Common_Xcp_Daq_Signal_t const *const'"):
        c.Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 2, signals)
    assert sim.calls("Qx_Common_Xcp_Daq_SetSignals") == 0


@pytest.mark.parametrize("key, record, field", KINDS)
def test_a_view_keeps_its_array_alive_and_reaches_one_record(key, record, field):
    mod = module(key)
    size = layouts.size(record)
    array = fn(f"new_{record}_array")(3)
    view = fn(f"{record}_array_getitem")(array, 2)
    assert not view.own()
    del array
    gc.collect()
    for _ in range(100):  # storage freed too early would be handed out again here
        st.memmove(st.new_u8_array(3 * size), b"\xee" * 3 * size)
    getattr(mod, f"{record}_{field}_set")(view, 0x42)
    assert st.cdata(view, size) == layouts.pack(record, {field: 0x42})
    with raises_exactly(ValueError, "too few bytes given for the call in method 'cdata', argument 1 of type 'void *'"):
        st.cdata(view, size + 1)


@pytest.mark.parametrize("make", [
    lambda: st.new_Qx_Common_Xcp_Daq_Signal_t_array(16),
    lambda: st.Qx_Common_Xcp_Daq_Signal_t_array_getitem(st.new_Qx_Common_Xcp_Daq_Signal_t_array(4), 3),
], ids=["array", "view, its array dropped"])
def test_collected_arrays_free_their_storage_silently(capfd, make):
    module("common")
    qxtest.frees_itself_silently(capfd, make)


# ---- records in ------------------------------------------------------------------------------

@pytest.mark.parametrize("key, record, field", KINDS)
def test_setitem_copies_the_record_in(key, record, field):
    mod = module(key)
    size = layouts.size(record)
    get, put = getattr(mod, f"{record}_{field}_get"), getattr(mod, f"{record}_{field}_set")
    at, width = layouts.offset(record, field), layouts.size(record, field)
    pattern = bytes(range(1, size + 1))
    array = fn(f"new_{record}_array")(2)
    source = qxtest.new_record(mod, record)
    st.memmove(source, pattern)
    fn(f"{record}_array_setitem")(array, 0, source)
    put(source, 0)  # afterwards: the array keeps what it got ...
    assert array_bytes(array, record, 2) == pattern + bytes(size)
    put(fn(f"{record}_array_getitem")(array, 0), 0x11)  # ... and the source what it holds
    assert get(source) == 0 and st.cdata(source, size) == pattern[:at] + bytes(width) + pattern[at + width:]
    # a record of the array itself, onto itself and onto the next
    first = fn(f"{record}_array_getitem")(array, 0)
    fn(f"{record}_array_setitem")(array, 0, first)
    fn(f"{record}_array_setitem")(array, 1, first)
    assert array_bytes(array, record, 2) == 2 * st.cdata(first, size)


@pytest.mark.parametrize("value, exc, argument", [
    (lambda c, can: can.new_Qx_Can_TxTrace_Msg_t(), TypeError, "argument 3 of type 'Qx_Common_Xcp_Daq_Signal_t'"),
    (lambda c, can: st.new_Qx_Common_Xcp_Daq_RxSignal_t_array(1), TypeError,
     "argument 3 of type 'Qx_Common_Xcp_Daq_Signal_t'"),
    (lambda c, can: st.new_u8_array(64), TypeError, "argument 3 of type 'Qx_Common_Xcp_Daq_Signal_t'"),
    (lambda c, can: b"\x00" * 24, TypeError, "argument 3 of type 'Qx_Common_Xcp_Daq_Signal_t'"),
    (lambda c, can: None, ValueError, "argument 3 of type 'Qx_Common_Xcp_Daq_Signal_t'"),
    # the array itself is no record list: only the element type counts
    (lambda c, can: 5, TypeError, "argument 3 of type 'Qx_Common_Xcp_Daq_Signal_t'"),
], ids=["other module's record", "other record array", "u8 array", "bytes", "None", "int"])
def test_setitem_refuses_anything_but_a_record_of_its_type(value, exc, argument):
    c, can = module("common"), module("can")
    array = st.new_Qx_Common_Xcp_Daq_Signal_t_array(1)
    given = qxtest.owned(value(c, can))
    prefix = "invalid null reference " if exc is ValueError else ""
    with raises_exactly(exc, f"{prefix}in method 'Qx_Common_Xcp_Daq_Signal_t_array_setitem', {argument}"):
        st.Qx_Common_Xcp_Daq_Signal_t_array_setitem(array, 0, given)
    assert array_bytes(array, "Qx_Common_Xcp_Daq_Signal_t", 1) == bytes(layouts.size("Qx_Common_Xcp_Daq_Signal_t"))


@pytest.mark.parametrize("binding, call, argument", [
    ("Qx_Common_Xcp_Daq_SetSignals",
     lambda port: module("common").Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 2,
                                                                st.new_Qx_Common_Xcp_Daq_RxSignal_t_array(3)),
     "argument 5 of type 'Qx_Common_Xcp_Daq_Signal_t const *const'"),
    ("Qx_Common_Xcp_Daq_SetSignals",
     lambda port: module("common").Qx_Common_Xcp_Daq_SetSignals(port, 0, 0, 2, st.new_u8_array(256)),
     "argument 5 of type 'Qx_Common_Xcp_Daq_Signal_t const *const'"),
    ("Qx_Can_TxTrace_Download",
     lambda port: module("can").Qx_Can_TxTrace_Download(port, 1, 2, 0, st.new_Qx_Can_Tar_TxItem_Simple_t_array(3)),
     "argument 5 of type 'Qx_Can_TxTrace_Msg_t *'"),
], ids=["common", "common, bytes", "can"])
def test_a_binding_refuses_an_array_of_another_type(sim, port, binding, call, argument):
    module("common" if "Common" in binding else "can")
    with raises_exactly(TypeError, f"in method '{binding}', {argument}"):
        call(port)
    assert sim.calls(binding) == 0


# ---- views and registered classes ------------------------------------------------------------

@skip_if_left_out("common")
@isolated
def test_views_are_instances_of_the_registered_class_and_arrays_never_are(capfd):
    c = module("common")
    name = "Qx_Common_Xcp_Daq_Signal_t"
    array = st.new_Qx_Common_Xcp_Daq_Signal_t_array(2)
    assert type(st.Qx_Common_Xcp_Daq_Signal_t_array_getitem(array, 0)).__name__ == "SwigPyObject"

    class Signal:
        __swig_destroy__ = c.delete_Qx_Common_Xcp_Daq_Signal_t

        def __init__(self, this):
            self.this = this

    c.Qx_Common_Xcp_Daq_Signal_t_swigregister(Signal)
    view = st.Qx_Common_Xcp_Daq_Signal_t_array_getitem(array, 1)
    assert type(view) is Signal and not view.this.own()
    c.Qx_Common_Xcp_Daq_Signal_t_Address_set(view, 0x10000)
    assert layouts.unpack(name, array_bytes(array, name, 2)[layouts.size(name):])["Address"] == 0x10000
    # what the module makes stays a plain pointer object that frees itself
    fresh = st.new_Qx_Common_Xcp_Daq_Signal_t_array(2)
    assert type(fresh).__name__ == "SwigPyObject" and fresh.own()
    drained(capfd)
    del array, fresh, view
    for _ in range(100):
        st.Qx_Common_Xcp_Daq_Signal_t_array_getitem(st.new_Qx_Common_Xcp_Daq_Signal_t_array(3), 2)
    gc.collect()
    assert qxtest.c_stdout(capfd) == ""


# ---- the arrays given to the bindings ----------------------------------------------------------

XCP_MEMORY = 0x00010000


def xcp_connected(port):
    c = module("common")
    c.Qx_Common_Xcp_Init_Can(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Init_Can_Cmd_t", CanIdMaster=0x7F0,
                                                         CanIdSlave=0x7F1, TxTimeout=50))
    c.Qx_Common_Xcp_Cmd_Connect(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"),
                                qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t"))
    return port


def trace(port):
    """A transmit trace of the CAN port, allocated."""
    can, cell = module("can"), qxtest.new_record(q, "int_p")
    can.Qx_Can_TxTrace_Allocate(port, cell)
    return q.int_p_value(cell)


def trovix_port(sim):
    """The Trovix interface, its stack initialised and three signals
    configured: Speed (handle 0), Gear (1) in PDU Engine of ECU1, Odo (2)."""
    tv = module("trovix")
    info = qxtest.new_record(q, "Qx_InterfaceInfo_t", Type=q.QX_INTERFACE_TYPE__TROVIX)
    q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(q.Qx_InterfaceInfo_t_Parameters_get(info), 2)
    port = q.Qx_OpenInterface(info)
    tv.Qx_Trovix_InitInterface(port, 0)
    tv.Qx_Trovix_Signal_Config(port, "signal=Speed,bits=16,pdu=Engine,ecu=ECU1,controller=2,bit=8,comid=40;"
                                     "signal=Gear,bits=8,pdu=Engine,ecu=ECU1,controller=2,bit=24,comid=40;"
                                     "signal=Odo,bits=32")
    return port


def daq_signals(sim, port, count, array):
    return module("common").Qx_Common_Xcp_Daq_SetSignals(xcp_connected(port), 0, 0, count, array)


def trace_download(sim, port, count, array):
    return module("can").Qx_Can_TxTrace_Download(port, trace(port), count, 0, array)


def signal_config2(sim, port, count, array):
    return module("trovix").Qx_Trovix_Signal_Config2(trovix_port(sim), 0, count, array)


def signal_monitor(sim, port, count, array):
    tv = module("trovix")
    p = "Qx_Trovix_Com_SignalMonitor_"
    config = qxtest.new_record(tv, f"{p}Config_Cmd_t", Flags=1, MaxEntryDataSize=8, NumberOfEntries=4,
                               NumberOfSignals=count)
    return tv.Qx_Trovix_Com_SignalMonitor_Config(trovix_port(sim), config, array,
                                                 qxtest.new_record(tv, f"{p}Config_Rsp_t"))


# binding, its call, the argument and its declared type, how to fill record i
# of the array (a view) with the module's own setters
GIVEN = [
    ("Qx_Common_Xcp_Daq_SetSignals", daq_signals, "argument 5 of type 'Qx_Common_Xcp_Daq_Signal_t const *const'",
     lambda c, r, i: (c.Qx_Common_Xcp_Daq_Signal_t_Address_set(r, XCP_MEMORY + 4 * i),
                      c.Qx_Common_Xcp_Daq_Signal_t_Handle_set(r, SIZE_MAX - i),
                      c.Qx_Common_Xcp_Daq_Signal_t_DataType_set(r, 4)), "common"),
    ("Qx_Can_TxTrace_Download", trace_download, "argument 5 of type 'Qx_Can_TxTrace_Msg_t *'",
     lambda can, r, i: (can.Qx_Can_TxTrace_Msg_t_Id_set(r, 0x100 + i), can.Qx_Can_TxTrace_Msg_t_Dlc_set(r, 8),
                        can.Qx_Can_TxTrace_Msg_t_Delay_set(r, 10 * i)), "can"),
    ("Qx_Trovix_Signal_Config2", signal_config2, "argument 4 of type 'Qx_Trovix_Signal_Config2_Signal_t const *const'",
     lambda tv, r, i: (tv.Qx_Trovix_Signal_Config2_Signal_t_Name_set(r, f"Temp{i}"),
                       tv.Qx_Trovix_Signal_Config2_Signal_t_TransmissionMode_set(r, i + 1)), "trovix"),
    ("Qx_Trovix_Com_SignalMonitor_Config", signal_monitor,
     "argument 3 of type 'Qx_Trovix_Com_SignalMonitor_Config_Signal_t const *const'",
     lambda tv, r, i: tv.Qx_Trovix_Com_SignalMonitor_Config_Signal_t_Flags_set(r, 0xA0000000 + i), "trovix"),
]
RECORD_OF = {"Qx_Common_Xcp_Daq_SetSignals": "Qx_Common_Xcp_Daq_Signal_t", "Qx_Can_TxTrace_Download":
             "Qx_Can_TxTrace_Msg_t", "Qx_Trovix_Signal_Config2": "Qx_Trovix_Signal_Config2_Signal_t",
             "Qx_Trovix_Com_SignalMonitor_Config": "Qx_Trovix_Com_SignalMonitor_Config_Signal_t"}


def filled_array(record, key, fill, count):
    mod = module(key)
    array = fn(f"new_{record}_array")(count)
    for i in range(count):
        fill(mod, fn(f"{record}_array_getitem")(array, i), i)
    return array


@pytest.mark.parametrize("binding, call, argument, fill, key", GIVEN, ids=[g[0] for g in GIVEN])
def test_a_count_beyond_the_array_is_refused_before_the_native_call(sim, port, binding, call, argument, fill, key):
    array = filled_array(RECORD_OF[binding], key, fill, 3)
    with raises_exactly(ValueError, f"too few records given for the count in method '{binding}', {argument}"):
        call(sim, port, 4, array)
    assert sim.calls(binding) == 0


@pytest.mark.parametrize("binding, call, argument, fill, key", GIVEN, ids=[g[0] for g in GIVEN])
def test_an_array_as_long_as_the_count_reaches_the_device_whole(sim, port, binding, call, argument, fill, key):
    record = RECORD_OF[binding]
    size, number = layouts.size(record), int(argument.split()[1])
    array = filled_array(record, key, fill, 3)
    expected = st.cdata(array, 3 * size)
    assert call(sim, port, 3, array) is None
    sent = sim.last(binding).arg(number)
    assert sent.value == int(array) and sent.size == 3 * size
    assert sent.bytes == expected
    # what the setters wrote, read back from the device's copy
    mod = module(key)
    for i in range(3):
        mine = qxtest.new_record(mod, record)
        fill(mod, mine, i)
        assert layouts.unpack(record, sent.bytes[i * size:(i + 1) * size]) == layouts.unpack(
            record, st.cdata(mine, size))


def test_a_count_below_the_array_passes_the_first_records(sim, port):
    array = filled_array("Qx_Can_TxTrace_Msg_t", "can", GIVEN[1][3], 3)
    size = layouts.size("Qx_Can_TxTrace_Msg_t")
    assert trace_download(sim, port, 2, array) is None
    assert sim.last("Qx_Can_TxTrace_Download").arg(5).bytes == st.cdata(array, 2 * size)


def test_records_the_library_fills_are_read_through_views(sim):
    tv = module("trovix")
    port = trovix_port(sim)
    pdus, count = st.new_Qx_Trovix_PduInfo_t_array(2), qxtest.new_record(q, "int_p")
    q.int_p_assign(count, 3)
    with raises_exactly(ValueError, "too few records given for the count in method 'Qx_Trovix_Pdu_PduList_Get', "
                                    "argument 3 of type 'Qx_Trovix_PduInfo_t *const'"):
        tv.Qx_Trovix_Pdu_PduList_Get(port, count, pdus)
    assert sim.calls("Qx_Trovix_Pdu_PduList_Get") == 0
    q.int_p_assign(count, 2)
    assert tv.Qx_Trovix_Pdu_PduList_Get(port, count, pdus) is None
    assert q.int_p_value(count) == 1  # one PDU: Engine
    first = st.Qx_Trovix_PduInfo_t_array_getitem(pdus, 0)
    assert (tv.Qx_Trovix_PduInfo_t_PduName_get(first), tv.Qx_Trovix_PduInfo_t_ComId_get(first)) == ("Engine", 40)
    # the room of an array of three records, in the count the library got
    signals = st.new_Qx_Trovix_Pdu_IncludedSignal_t_array(3)
    assert tv.Qx_Trovix_Pdu_IncludedSignals_Get2(port, first, signals) == 2
    assert sim.last("Qx_Trovix_Pdu_IncludedSignals_Get2").arg(3).bytes == (3).to_bytes(4, "little")
    assert [tv.Qx_Trovix_Pdu_IncludedSignal_t_Name_get(st.Qx_Trovix_Pdu_IncludedSignal_t_array_getitem(signals, i))
            for i in range(3)] == ["Speed", "Gear", ""]
