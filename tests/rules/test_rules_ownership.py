"""Who may own storage: only the object made owning it (a record made by
new_R, a storage array or cell, a getter's copy) can take its ownership
back with acquire() or own(True) after giving it away. A view (at offset 0
of its record or not), an object at an address nobody allocated for it and
a deleted object refuse the claim with ValueError and stay as they were, so
every destructor and collection frees storage once, through its owner."""
import gc
import re

import pytest

import _qx_api as q
import qxtest
from qxtest import isolated, raises_exactly, skip_if_left_out

st = qxtest.module("_qx_storage")

VIEW = "it is a view into storage that another object owns"
NOT_MADE = "its address is not the start of storage allocated for it"
FREED = "it holds a null address (its storage was freed)"

CHECKSUM = "Qx_Can_CyclicMsgs_Checksum_Define_GeneralCrc_Parameters_t"
SIGNAL = "Qx_Common_Xcp_Daq_Signal_t"


def refusal(ctype, why):
    return f"cannot take ownership of an object of type '{ctype}': {why}"


class Shape:
    """An object that must not own its storage (`claimant`), the destructors
    a script might give it (each must free nothing), a check that the
    storage's owner still reads and writes it, and the owner's own free."""

    def __init__(self, claimant, ctype, why, deletes=(), check=lambda: None, free=lambda: None):
        self.claimant, self.ctype, self.why = claimant, ctype, why
        self.deletes, self.check, self.free = deletes, check, free


def u16_view_at_offset_0(qxt):
    record = q.new_Qx_Data_t()

    def check():
        st.memmove(record, bytes(range(1, 9)))
        assert q.Qx_Data_t_U8_get(record) == list(range(1, 9))
    return Shape(q.Qx_Data_t_U16_get(record), "u16_t *", VIEW, [st.delete_u16_array], check,
                 lambda: q.delete_Qx_Data_t(record))


def nested_record_view(qxt):
    info = q.new_Qx_InterfaceInfo_t()

    def check():
        q.Qx_InterfaceInfo_t_Type_set(info, q.QX_INTERFACE_TYPE__CAN)
        assert q.Qx_InterfaceInfo_t_Type_get(info) == q.QX_INTERFACE_TYPE__CAN
    return Shape(q.Qx_InterfaceInfo_t_Parameters_get(info), "Qx_InterfaceInfo_t_Parameters *", VIEW,
                 [q.delete_Qx_InterfaceInfo_t_Parameters], check, lambda: q.delete_Qx_InterfaceInfo_t(info))


def cast_of_a_cell(qxt):
    cell = q.new_int_p()

    def check():
        q.int_p_assign(cell, 0xC0FFEE)
        assert q.int_p_value(cell) == 0xC0FFEE
    return Shape(q.int_p_cast(cell), "u32_t *", VIEW, [st.delete_u32_array, st.delete_u32_p], check,
                 lambda: q.delete_int_p(cell))


def record_array_item(qxt):
    common = qxtest.module("_qx_api_common")
    array = getattr(st, f"new_{SIGNAL}_array")(3)

    def check():
        getattr(common, f"{SIGNAL}_Address_set")(getattr(st, f"{SIGNAL}_array_getitem")(array, 1), 0x10000)
        assert getattr(common, f"{SIGNAL}_Address_get")(getattr(st, f"{SIGNAL}_array_getitem")(array, 1)) == 0x10000
    return Shape(getattr(st, f"{SIGNAL}_array_getitem")(array, 1), f"{SIGNAL} *", VIEW,
                 [getattr(st, f"delete_{SIGNAL}_array"), getattr(common, f"delete_{SIGNAL}")], check,
                 lambda: getattr(st, f"delete_{SIGNAL}_array")(array))


def pointer_member_whose_array_was_taken_back(qxt):
    """The README's shape: the array given to a record's pointer member and
    taken back with acquire(); the member's getter returns a view of it."""
    can = qxtest.module("_qx_api_can")
    params = getattr(can, "new_" + CHECKSUM)()
    array = st.new_u8_array(4)
    getattr(can, f"{CHECKSUM}_UserBytesBefore_set")(params, array)
    array.acquire()

    def check():
        st.memmove(array, b"\x01\x02\x03\x04")
        assert st.cdata(getattr(can, f"{CHECKSUM}_UserBytesBefore_get")(params), 4) == b"\x01\x02\x03\x04"

    def free():
        st.delete_u8_array(array)
        getattr(can, "delete_" + CHECKSUM)(params)
    return Shape(getattr(can, f"{CHECKSUM}_UserBytesBefore_get")(params), "u8_t *", VIEW, [st.delete_u8_array],
                 check, free)


def object_made_outside_the_modules(qxt):
    view = qxt.qxt_view_of("u8_t *", [7, 8, 9])

    def check():
        st.memmove(view, b"\x01")
        assert qxt.qxt_read_u8(view, 3) == [1, 8, 9]
    return Shape(view, "u8_t *", NOT_MADE, [st.delete_u8_array], check)


def signal_block_of_the_library(qxt):
    """The block the library made and owns: freeing it would free the
    library's own memory."""
    tv = qxtest.module("_qx_api_trovix")
    port = qxtest.trovix_port(tv, "signal=Speed,bits=16,pdu=Engine,ecu=ECU1")
    members = getattr(st, "new_Qx_Trovix_SignalBlock_Signals_t_array")(1)
    cell = st.new_Qx_Trovix_SignalBlock_pp()
    tv.Qx_Trovix_SignalBlock_Config(port, 0, cell, 1, members)
    block = st.Qx_Trovix_SignalBlock_pp_value(cell)
    data = st.new_u8_array(8)

    def check():
        tv.Qx_Trovix_SignalBlock_Write(port, block, data)
        tv.Qx_Trovix_SignalBlock_Read(port, block, data)

    def free():
        tv.Qx_Trovix_SignalBlock_Delete(port, 0, cell)
        q.Qx_CloseInterface(port)
    # (the type is named as the module that made it first spells it)
    return Shape(block, re.match(r"<Swig Object of type '(.*)' at", repr(block)).group(1), NOT_MADE, [], check, free)


def deleted_record(qxt):
    record = q.new_Qx_Data_t()
    q.delete_Qx_Data_t(record)
    return Shape(record, "Qx_Data_t *", FREED, [q.delete_Qx_Data_t])


@pytest.mark.parametrize("make", [
    u16_view_at_offset_0, nested_record_view, cast_of_a_cell,
    pytest.param(record_array_item, marks=skip_if_left_out("common")),
    pytest.param(pointer_member_whose_array_was_taken_back, marks=skip_if_left_out("can")),
    object_made_outside_the_modules,
    pytest.param(signal_block_of_the_library, marks=skip_if_left_out("trovix")),
    deleted_record,
], ids=lambda make: make.__name__)
def test_an_object_not_made_owning_its_storage_refuses_to_own_it(qxt, make):
    shape = make(qxt)
    for claim in (shape.claimant.acquire, lambda: shape.claimant.own(True), lambda: shape.claimant.own(1)):
        with raises_exactly(ValueError, refusal(shape.ctype, shape.why)):
            claim()
        assert shape.claimant.own() is False
    assert shape.claimant.own(False) is False  # giving up what it does not own is harmless
    for delete in shape.deletes:
        delete(shape.claimant)  # frees nothing: the owner's storage is intact
    shape.check()
    del shape.claimant
    gc.collect()  # collected owning nothing: frees nothing
    shape.check()
    shape.free()  # the owner frees it, once (the sanitizer run reports a second free)


def test_the_object_made_owning_its_storage_takes_it_back(capfd):
    record, cell = q.new_Qx_Data_t(), st.new_u8_array(4)
    for made in (record, cell):
        made.disown()
        assert made.own() is False
        made.acquire()
        assert made.own() is True
        assert made.own(False) is True and made.own(True) is False and made.own() is True
    q.delete_Qx_Data_t(record)
    del cell
    gc.collect()  # the array, owned again, frees itself silently
    assert "memory leak" not in qxtest.c_stdout(capfd)


@isolated
def test_views_of_the_proxy_classes_refuse_to_own_their_storage():
    import qx_api
    info = qx_api.Qx_InterfaceInfo_t()
    parameters = info.Parameters
    with raises_exactly(ValueError, refusal("Qx_InterfaceInfo_t_Parameters *", VIEW)):
        parameters.thisown = True
    with raises_exactly(ValueError, refusal("Qx_InterfaceInfo_t_Parameters *", VIEW)):
        parameters.this.acquire()
    assert parameters.thisown is False
    del parameters
    gc.collect()
    info.Parameters.ControllerNumber = 3
    assert info.Parameters.ControllerNumber == 3
    if "_qx_api_common" in qxtest.built_modules():
        import qx_storage
        signals = getattr(qx_storage, SIGNAL + "_array")(2)
        item = signals[1]
        with raises_exactly(ValueError, refusal(f"{SIGNAL} *", VIEW)):
            item.thisown = 1
        with raises_exactly(ValueError, refusal(f"{SIGNAL} *", VIEW)):
            item.this.acquire()
        del item
        gc.collect()
        signals[1].Handle = 5
        assert signals[1].Handle == 5 and signals.cast().own() is True
