"""Views and extents.

A view (a getter's object for a nested record or an array member, a pointer
class's cast or frompointer) keeps the object that owns the record alive, so
the record lives as long as any view of it; a view of a record deleted with
delete_R is refused like the record itself. Every object that the modules
make knows how many bytes it reaches, and a binding that reads or writes a
known number of bytes through an object refuses one that reaches fewer,
before the native call. Owned copies of value types free themselves.
"""
import gc

import pytest

import _qx_api as q
import layouts
import qxtest
from qxtest import c_heap_in_use, drained, isolated, raises_exactly

can = qxtest.module("_qx_api_can")
common = qxtest.module("_qx_api_common")
tv = qxtest.module("_qx_api_trovix")


class Proxy:
    """What a Python layer does with the registration entries."""

    def __init__(self, this):
        self.this = this


def register_counting(module, record, freed):
    """Registers a class for `record` whose destructor notes each record it
    frees (through the module's destructor binding)."""
    delete = getattr(module, f"delete_{record}")

    def destroy(obj):
        freed.append(int(obj))
        delete(obj)

    getattr(module, f"{record}_swigregister")(type(record, (Proxy,), {"__swig_destroy__": destroy}))


# ---- views keep their record alive ----------------------------------------------------------
#
# Each case: (module, record type of the owner, make the owner, make a view from
# it, use the view: write through it and read back what was written).

def info_parameters(info):
    return q.Qx_InterfaceInfo_t_Parameters_get(info)


def use_parameters(view):
    q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(view, 7)
    return q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_get(view) == 7


def info_union(info):
    """A view of a view: the union inside the parameters."""
    return q.Qx_InterfaceInfo_t_Parameters_u_get(q.Qx_InterfaceInfo_t_Parameters_get(info))


def use_union(view):
    q.Qx_InterfaceInfo_t_Parameters_u_CardNumber_set(view, 0xABCD)
    return q.Qx_InterfaceInfo_t_Parameters_u_CardNumber_get(view) == 0xABCD


def use_u16_array(view):
    """The view of a u16_t [4] member is the source of a whole-array copy."""
    target = q.new_Qx_Data_t()
    q.Qx_Data_t_U16_set(target, view)
    ok = q.Qx_Data_t_U8_get(target) == [0] * 8
    q.delete_Qx_Data_t(target)
    return ok


def cell_view(cell):
    q.int_p_assign(cell, 5)
    return q.int_p_frompointer(q.int_p_cast(cell))


def use_cell(view):
    q.int_p_assign(view, 4711)
    return q.int_p_value(view) == 4711


def segments(record):
    return tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_Segments_get(record)


def use_segment(view):
    tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_Segments_BitPosition_set(view, 0x1234)
    return tv.Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t_Segments_BitPosition_get(view) == 0x1234


def transceiver(rsp):
    return common.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_get(rsp)[3]


def use_transceiver(view):
    return common.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_HardwarePosition_get(view) == 0


VIEWS = [
    pytest.param(q, "Qx_InterfaceInfo_t", info_parameters, use_parameters, id="nested record"),
    pytest.param(q, "Qx_InterfaceInfo_t", info_union, use_union, id="view of a view"),
    pytest.param(q, "Qx_Data_t", q.Qx_Data_t_U16_get, use_u16_array, id="array member"),
    pytest.param(q, "int_p", cell_view, use_cell, id="pointer class"),
    pytest.param(tv, "Qx_Trovix_PduMux_DemuxedTxPdu_Config_Parameters_t", segments, use_segment,
                 id="array of records"),
    pytest.param(common, "Qx_Common_GetTransceiverInfo_Rsp_t", transceiver, use_transceiver, id="list of views"),
]


@pytest.mark.parametrize("module, record, make_view, use", VIEWS)
@isolated
def test_a_view_keeps_its_collected_record_alive(capfd, module, record, make_view, use):
    drained(capfd)
    freed = []
    register_counting(module, record, freed)
    view = make_view(getattr(module, f"new_{record}")())
    gc.collect()
    assert freed == []            # the record lives while its view does
    assert use(view)
    link = getattr(view, "this", view)  # an instance of a registered class holds it in "this"
    assert not link.own()         # the view still owns nothing
    del link, view
    gc.collect()
    assert len(freed) == 1        # freed once, when the last view went
    assert "memory leak" not in qxtest.c_stdout(capfd)


def test_a_view_of_an_unregistered_record_keeps_it_and_the_leak_warning_stays(capfd):
    drained(capfd)
    view = q.Qx_InterfaceInfo_t_Parameters_get(q.new_Qx_InterfaceInfo_t())
    gc.collect()
    assert use_parameters(view)
    assert qxtest.c_stdout(capfd) == ""
    del view
    gc.collect()
    # the record goes with its last view, reporting the leak as before
    assert qxtest.c_stdout(capfd) == "swig/python detected a memory leak of type 'Qx_InterfaceInfo_t *', no destructor found.\n"


@pytest.mark.parametrize("module, record, make_view, use", VIEWS)
@isolated
def test_a_view_of_a_deleted_record_is_refused_like_the_record(capfd, module, record, make_view, use):
    drained(capfd)
    freed = []
    register_counting(module, record, freed)
    owner = getattr(module, f"new_{record}")()
    view = make_view(owner)
    getattr(module, f"delete_{record}")(owner)       # freed now, with a view alive
    with pytest.raises(ValueError) as e:
        use(view)
    assert str(e.value).startswith("invalid null reference in ")
    getattr(module, f"delete_{record}")(owner)       # a second delete is harmless
    del owner, view
    gc.collect()
    assert freed == []                               # nothing freed twice, nothing through the class
    assert "memory leak" not in qxtest.c_stdout(capfd)


@pytest.mark.parametrize("call, message", [
    (lambda v: q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_get(v),
     "invalid null reference in method 'Qx_InterfaceInfo_t_Parameters_ControllerNumber_get', argument 1 of type "
     "'Qx_InterfaceInfo_t_Parameters *'"),
    (lambda v: q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(v, 1),
     "invalid null reference in method 'Qx_InterfaceInfo_t_Parameters_ControllerNumber_set', argument 1 of type "
     "'Qx_InterfaceInfo_t_Parameters *'"),
    (lambda v: q.Qx_InterfaceInfo_t_Parameters_u_get(v),
     "invalid null reference in method 'Qx_InterfaceInfo_t_Parameters_u_get', argument 1 of type "
     "'Qx_InterfaceInfo_t_Parameters *'"),
])
def test_the_messages_of_a_view_of_a_deleted_record(call, message):
    info = q.new_Qx_InterfaceInfo_t()
    view = q.Qx_InterfaceInfo_t_Parameters_get(info)
    q.delete_Qx_InterfaceInfo_t(info)
    with raises_exactly(ValueError, message):
        call(view)
    assert q.delete_Qx_InterfaceInfo_t_Parameters(view) is None  # deleting a view frees nothing


def test_a_view_of_a_deleted_record_is_refused_as_a_source_and_an_argument(sim, port):
    data = q.new_Qx_Data_t()
    u16 = q.Qx_Data_t_U16_get(data)
    q.delete_Qx_Data_t(data)
    with raises_exactly(ValueError, "invalid null reference in variable 'U16' of type 'u16_t [4]'"):
        q.Qx_Data_t_U16_set(qxtest.new_record(q, "Qx_Data_t"), u16)
    cell = q.new_int_p()
    view = q.int_p_frompointer(q.int_p_cast(cell))
    q.delete_int_p(cell)
    with raises_exactly(ValueError, "invalid null reference in method 'Qx_GetParamSize', argument 2 of type "
                                    "'u32_t *const'"):
        q.Qx_GetParamSize(port, view)
    assert sim.calls("Qx_GetParamSize") == 0


def test_appending_a_view_to_the_chain_of_its_owner_is_refused():
    owner = q.new_Qx_Data_t()
    view = q.Qx_Data_t_U16_get(owner)
    with raises_exactly(TypeError, "Attempt to append a SwigPyObject that keeps the chain alive"):
        owner.append(view)
    assert owner.next() is None
    q.delete_Qx_Data_t(owner)


# ---- array setters reach no further than their source ----------------------------------------

def disowned(obj):
    obj.disown()
    return obj


def reacquired(obj):
    obj.disown()
    obj.acquire()
    return obj


def chain_of_cell_and_u16_view():
    """An instance whose "this" chain holds an int_p (4 bytes) and then a view
    of a u16_t [4] member (8 bytes): the u16_t link converts."""
    proxy = Proxy(qxtest.new_record(q, "int_p"))
    proxy.this.append(q.Qx_Data_t_U16_get(qxtest.new_record(q, "Qx_Data_t")))
    return proxy


SO_REF = "SoAd_PduRouteDest_SoConRef_t"
DEST = "Qx_Trovix_SoAd_PduRouteDest_Config_Cmd_t"


@pytest.mark.parametrize("module, record, member, make, message", [
    (can, "Qx_Can_Data_t", "U16", lambda: q.Qx_Data_t_U16_get(qxtest.new_record(q, "Qx_Data_t")),
     "too few elements given for an array in method 'Qx_Can_Data_t_U16_set', argument 2 of type 'u16_t [32]'"),
    (can, "Qx_Can_Data_t", "U16", chain_of_cell_and_u16_view,
     "too few elements given for an array in method 'Qx_Can_Data_t_U16_set', argument 2 of type 'u16_t [32]'"),
    (can, "Qx_Can_Data_t", "U64", lambda: disowned(q.Qx_Data_t_U64_get(qxtest.new_record(q, "Qx_Data_t"))),
     "single element given for an array in method 'Qx_Can_Data_t_U64_set', argument 2 of type 'u64_t [8]'"),
    (q, "Qx_Data_t", "U32", lambda: disowned(q.new_int_p()),
     "single element given for an array in method 'Qx_Data_t_U32_set', argument 2 of type 'u32_t [2]'"),
    (q, "Qx_Data_t", "U32", lambda: reacquired(qxtest.new_record(q, "int_p")),
     "single element given for an array in method 'Qx_Data_t_U32_set', argument 2 of type 'u32_t [2]'"),
    (q, "Qx_Data_t", "U32", lambda: q.int_p_frompointer(q.int_p_cast(disowned(q.new_int_p()))),
     "single element given for an array in method 'Qx_Data_t_U32_set', argument 2 of type 'u32_t [2]'"),
    (tv, DEST, "So_ConRefIdS", lambda: disowned(getattr(tv, f"new_{SO_REF}")()),
     f"single element given for an array in method '{DEST}_So_ConRefIdS_set', argument 2 of type '{SO_REF} [128]'"),
])
def test_array_setter_refuses_a_source_that_reaches_fewer_elements(qxt, module, record, member, make, message):
    size = layouts.size(record)
    target = qxt.qxt_view_of(f"{record} *", [0x5A] * size)
    with raises_exactly(ValueError, message):
        getattr(module, f"{record}_{member}_set")(target, make())
    assert qxt.qxt_read_u8(target, size) == [0x5A] * size  # left unchanged


@pytest.mark.parametrize("make", [lambda: q.Qx_Data_t_U16_get(qxtest.new_record(q, "Qx_Data_t")), chain_of_cell_and_u16_view],
                         ids=["view", "chain"])
def test_array_setter_takes_a_source_that_reaches_the_whole_array(qxt, make):
    target = qxt.qxt_view_of("Qx_Data_t *", [0xFF] * 8)
    q.Qx_Data_t_U16_set(target, make())
    assert q.Qx_Data_t_U8_get(target) == [0] * 8


# ---- records beside a count and the room of a count cell -------------------------------------

TRACE_MSG = "Qx_Can_TxTrace_Msg_t"


@pytest.mark.parametrize("reach, count, message", [
    (2, 3, "too few records given for the count in method 'Qx_Can_TxTrace_Download', argument 5 of type "
           "'Qx_Can_TxTrace_Msg_t *'"),
    (1, 2, "single record given for several in method 'Qx_Can_TxTrace_Download', argument 5 of type "
           "'Qx_Can_TxTrace_Msg_t *'"),
    (3, 3, None),
    (3, 2, None),
])
def test_records_beside_a_count_must_be_reached(sim, port, qxt, reach, count, message):
    size = layouts.size(TRACE_MSG)
    records = qxt.qxt_view_reaching(f"{TRACE_MSG} *", reach * size)
    sim.result("Qx_Can_TxTrace_Download", 0)  # succeeds without the library's own checks
    if message:
        with raises_exactly(ValueError, message):
            can.Qx_Can_TxTrace_Download(port, 1, count, 0, records)
        assert sim.calls("Qx_Can_TxTrace_Download") == 0
    else:
        assert can.Qx_Can_TxTrace_Download(port, 1, count, 0, records) is None
        assert sim.last("Qx_Can_TxTrace_Download").arg(5).size == count * size


def test_a_disowned_record_is_still_one_record_beside_a_count(sim, port):
    msg = disowned(can.new_Qx_Can_TxTrace_Msg_t())
    with raises_exactly(ValueError, "single record given for several in method 'Qx_Can_TxTrace_Download', "
                                    "argument 5 of type 'Qx_Can_TxTrace_Msg_t *'"):
        can.Qx_Can_TxTrace_Download(port, 1, 2, 0, msg)
    assert sim.calls("Qx_Can_TxTrace_Download") == 0
    msg.acquire()
    can.delete_Qx_Can_TxTrace_Msg_t(msg)


def test_records_beside_a_count_cell_must_be_reached(sim, port, qxt):
    info_size = layouts.size("Qx_Trovix_PduInfo_t")
    cell = q.new_int_p()
    q.int_p_assign(cell, 3)
    with raises_exactly(ValueError, "too few records given for the count in method 'Qx_Trovix_Pdu_PduList_Get', "
                                    "argument 3 of type 'Qx_Trovix_PduInfo_t *const'"):
        tv.Qx_Trovix_Pdu_PduList_Get(port, cell, qxt.qxt_view_reaching("Qx_Trovix_PduInfo_t *", 2 * info_size))
    assert sim.calls("Qx_Trovix_Pdu_PduList_Get") == 0
    q.delete_int_p(cell)


@pytest.mark.parametrize("storage, room", [
    (lambda qxt, size: qxt.qxt_view_reaching("Qx_Trovix_Pdu_IncludedSignal_t *", 3 * size + 5), 3),
    (lambda qxt, size: disowned(tv.new_Qx_Trovix_Pdu_IncludedSignal_t()), 1),
    # The caller vouches for storage of unknown extent; the simulated device
    # journals the room its cell gives, at most 4096 bytes.
    (lambda qxt, size: qxt.qxt_view("Qx_Trovix_Pdu_IncludedSignal_t *", 4096), 0xFFFFFFFF),
], ids=["view of three records", "disowned record", "unknown extent"])
def test_the_count_cell_carries_the_room_the_storage_reaches(sim, port, qxt, storage, room):
    size = layouts.size("Qx_Trovix_Pdu_IncludedSignal_t")
    info = tv.new_Qx_Trovix_PduInfo_t()
    sim.result("Qx_Trovix_Pdu_IncludedSignals_Get2", 0)  # succeeds without the library's own checks
    assert tv.Qx_Trovix_Pdu_IncludedSignals_Get2(port, info, storage(qxt, size)) == room
    assert sim.last("Qx_Trovix_Pdu_IncludedSignals_Get2").arg(3).bytes == room.to_bytes(4, "little")
    tv.delete_Qx_Trovix_PduInfo_t(info)


# ---- pointer arguments the native side reads or writes a known number of bytes through ------

def u16(qxt, value):
    return qxt.qxt_u16_array([value])


def cell(value):
    c = qxtest.new_record(q, "int_p")
    q.int_p_assign(c, value)
    return c


def upload_cmd(n):
    return qxtest.new_record(common, "Qx_Common_Xcp_Cmd_Upload_Cmd_t", NumberOfBytes=n)


# (module, function, its arguments around the object `o`, the object's position
# and declared type, the bytes the call reads or writes through it)
REACH = [
    (common, "Qx_Common_Ethernet_SubNetMask_Set", lambda p, o, x: (p, o), 2, "u8_t const *const", 4),
    (common, "Qx_Common_Ethernet_DefaultGateway_Get", lambda p, o, x: (p, o), 2, "u8_t *const", 4),
    (common, "Qx_Common_Xcp_Cmd_Upload", lambda p, o, x: (p, 0, upload_cmd(6), o), 4, "u8_t *const", 6),
    (common, "Qx_Common_Xcp_Cmd_Unlock", lambda p, o, x: (p, 0, 6, o), 4, "u8_t const *const", 6),
    (q, "Qx_Fpga_WriteFifo", lambda p, o, x: (p, o, 6), 2, "u8_t const *const", 6),
    (q, "Qx_Fpga_ReadFifo", lambda p, o, x: (p, o, cell(6)), 2, "u8_t *const", 6),
    (q, "Qx_Fpga_Relays_GetState", lambda p, o, x: (p, u16(x, 6), None, o), 4, "u8_t *const", 6),
    (can, "Qx_Can_Ccp_Command_Upload", lambda p, o, x: (p, 0, 5, o), 4, "u8_t *const", 5),
    (can, "Qx_Can_Ccp_Command_DiagService", lambda p, o, x: (p, 0, 9, o, None), 4, "u8_t const *const", 4),
    (tv, "Qx_Trovix_Signal_Write", lambda p, o, x: (p, 0, 0, 1, 6, o), 6, "void const *const", 6),
    (tv, "Qx_Trovix_Com_TxPdu_Read", lambda p, o, x: (p, 0, 1, cell(6), o), 5, "u8_t *const", 6),
]


@pytest.mark.parametrize("module, function, args, position, declared, used", REACH, ids=[r[1] for r in REACH])
def test_a_pointer_object_must_reach_the_bytes_the_call_uses(sim, port, qxt, module, function, args, position,
                                                             declared, used):
    call = getattr(module, function)
    short = qxt.qxt_view_reaching("u8_t *", used - 1)
    with raises_exactly(ValueError, f"too few bytes given for the call in method '{function}', "
                                    f"argument {position} of type '{declared}'"):
        call(*args(port, short, qxt))
    assert sim.calls(function) == 0
    sim.result(function, 0)  # succeeds without the library's own checks
    for reaching in (qxt.qxt_view_reaching("u8_t *", used), qxt.qxt_view("u8_t *", used)):  # known, unknown extent
        call(*args(port, reaching, qxt))
        arg = sim.last(function).arg(position)
        assert (arg.value, arg.size) == (int(reaching), used)
    call(*args(port, None, qxt))  # None passes a null pointer
    assert sim.last(function).arg(position).is_null


# ---- owned copies of value types free themselves ----------------------------------------------

# (module, record, member, type of the copy)
COPIES = [
    (q, "Qx_InterfaceData_t", "TcpPort", "u16_t"),
    (q, "Qx_Data_t", "U64", "u64_t"),
    (common, "Qx_Common_Signal_t", "Offset", "u16_t"),
    (can, "Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t", "Increment", "float64_t"),
    (tv, "Qx_Trovix_Signal_Config2_Signal_t", "Offset", "float64_t"),
    (tv, "Qx_Trovix_TimeSyncMgr_GetRateDeviation_Rsp_t", "RateDeviation", "s32_t"),
    (tv, "Qx_Trovix_TimeSyncMgr_GetTimeLeap_Rsp_t", "TimeLeap", "s64_t"),
]


@pytest.mark.parametrize("module, record, member, type_", COPIES, ids=[f"{c[1]}.{c[2]}" for c in COPIES])
def test_value_copies_free_themselves_silently(capfd, qxt, module, record, member, type_):
    size = layouts.size(record)
    source = qxt.qxt_view_of(f"{record} *", [(i + 1) % 256 for i in range(size)])
    get, put = getattr(module, f"{record}_{member}_get"), getattr(module, f"{record}_{member}_set")
    copy = get(source)
    assert repr(copy).startswith(f"<Swig Object of type '{type_} *' at ") and copy.own()
    target = getattr(module, f"new_{record}")()
    put(target, copy)  # still a source for the setter: the member's bytes come across
    at, width = layouts.offset(record, member), layouts.size(record, member)
    assert qxt.qxt_read_u8(target, size)[at:at + width] == [(i + 1) % 256 for i in range(at, at + width)]
    getattr(module, f"delete_{record}")(target)
    drained(capfd)
    for _ in range(200):
        get(source)  # warm-up: the allocator's free lists settle
    before = c_heap_in_use()
    for _ in range(20000):
        get(source)
    after = c_heap_in_use()
    gc.collect()
    assert qxtest.c_stdout(capfd) == ""
    if before is not None:
        assert after - before < 4096  # 20000 leaked copies would hold over 300 kB
