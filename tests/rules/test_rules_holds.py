"""What a call holds stays alive until it returns: Python code that runs
while a binding converts its arguments (a "this" property, a source's
__buffer__) or, with the interpreter lock released, another thread cannot
free storage the call already took the address of. A destructor given such
storage refuses with BufferError and frees nothing; once the call returns,
the storage can be deleted again. An object that a "this" property makes
afresh lives until the call returns."""
import threading

import pytest

import _qx_api as q
import layouts
import qxtest
from qxtest import Source, isolated, needs_buffer_protocol, raises_exactly

st = qxtest.module("_qx_storage")



def in_use(binding, ctype):
    return f"storage in use by a call in progress in method '{binding}', argument 1 of type '{ctype}'"


class Attempts:
    """Deletions tried while a call runs, and what each raised."""

    def __init__(self):
        self.seen = []

    def delete(self, delete, obj):
        try:
            delete(obj)
        except BufferError as e:
            self.seen.append(str(e))
        else:
            self.seen.append("freed")


class Lazy:
    """An object whose "this" runs `during` first, then gives `target`."""

    def __init__(self, target, during=lambda: None):
        self.target, self.during = target, during

    @property
    def this(self):
        self.during()
        return self.target


# ---- a source's __buffer__ -----------------------------------------------------------------

@needs_buffer_protocol
def test_memmove_keeps_its_destination_while_the_source_gives_its_buffer():
    array, tries = st.new_u8_array(4), Attempts()
    assert st.memmove(array, Source(b"\x01\x02\x03\x04", lambda: tries.delete(st.delete_u8_array, array))) is None
    assert tries.seen == [in_use("delete_u8_array", "u8_t *")]
    assert st.cdata(array, 4) == b"\x01\x02\x03\x04"  # written into live storage
    st.delete_u8_array(array)  # the call returned: nothing holds it now
    assert int(array) == 0


@needs_buffer_protocol
def test_memmove_keeps_the_record_behind_a_view():
    data, tries = q.new_Qx_Data_t(), Attempts()
    view = q.Qx_Data_t_U16_get(data)  # the four u16_t of the record
    st.memmove(view, Source(b"\xaa" * 8, lambda: tries.delete(q.delete_Qx_Data_t, data)))
    assert tries.seen == [in_use("delete_Qx_Data_t", "Qx_Data_t *")]
    assert q.Qx_Data_t_U8_get(data) == [0xAA] * 8
    q.delete_Qx_Data_t(data)
    with raises_exactly(ValueError, "invalid null reference in method 'cdata', argument 1 of type 'void *'"):
        st.cdata(view, 1)  # the view of the deleted record holds nothing


@needs_buffer_protocol
def test_memmove_keeps_its_destination_while_another_thread_deletes_it():
    """The source releases the interpreter lock; the other thread's delete is
    refused, deterministically: each side waits for the other's event."""
    array, tries = st.new_u8_array(8), Attempts()
    asked, answered = threading.Event(), threading.Event()

    def other():
        asked.wait(10)
        tries.delete(st.delete_u8_array, array)
        answered.set()

    def wait_for_the_other():
        asked.set()
        assert answered.wait(10)  # blocks with the lock released

    thread = threading.Thread(target=other)
    thread.start()
    try:
        st.memmove(array, Source(b"threaded", wait_for_the_other))
    finally:
        asked.set()
        thread.join()
    assert tries.seen == [in_use("delete_u8_array", "u8_t *")]
    assert st.cdata(array, 8) == b"threaded"


class Refused(Exception):
    pass


def raising(exc):
    def fail():
        raise exc
    return fail


@needs_buffer_protocol
@pytest.mark.parametrize("exc", [Refused("no buffer today"), MemoryError(), BufferError("exports")],
                         ids=["own class", "MemoryError", "BufferError"])
def test_an_exception_of_the_source_propagates_as_it_stands(exc):
    array = st.new_u8_array(4)
    with raises_exactly(type(exc), str(exc)):
        st.memmove(array, Source(b"\x01", raising(exc)))
    assert st.cdata(array, 4) == bytes(4)


@pytest.mark.parametrize("source", ["text", 5, [1, 2], None], ids=["str", "int", "list", "None"])
def test_only_what_gives_no_buffer_at_all_is_a_type_error(source):
    with raises_exactly(TypeError, "in method 'memmove', argument 2 of type 'void const *'"):
        st.memmove(st.new_u8_array(4), source)


# ---- a later argument's "this" -------------------------------------------------------------

def test_a_later_argument_cannot_delete_the_record_an_accessor_converted():
    adapter, tries = q.new_Qx_Ethernet_AdapterInfo_t(), Attempts()
    mask = qxtest.new_record(q, "Qx_IpAddress_t", All=0xFFFFFF00)
    q.Qx_Ethernet_AdapterInfo_t_Mask_set(adapter, Lazy(mask, lambda: tries.delete(q.delete_Qx_Ethernet_AdapterInfo_t,
                                                                                  adapter)))
    assert tries.seen == [in_use("delete_Qx_Ethernet_AdapterInfo_t", "Qx_Ethernet_AdapterInfo_t *")]
    assert q.Qx_IpAddress_t_All_get(q.Qx_Ethernet_AdapterInfo_t_Mask_get(adapter)) == 0xFFFFFF00
    q.delete_Qx_Ethernet_AdapterInfo_t(adapter)
    assert int(adapter) == 0


def test_a_later_argument_cannot_delete_a_record_the_native_call_reads(sim, port):
    """Qx_Common_Xcp_Cmd_Upload(port, 0, command, data) where data's "this"
    deletes the command: the binding's own size check and the native call
    read the command record, which is still there."""
    c = qxtest.module("_qx_api_common")
    command, tries = c.new_Qx_Common_Xcp_Cmd_Upload_Cmd_t(), Attempts()
    c.Qx_Common_Xcp_Cmd_Upload_Cmd_t_Address_set(command, 0x10000)
    c.Qx_Common_Xcp_Cmd_Upload_Cmd_t_NumberOfBytes_set(command, 4)
    data = st.new_u8_array(4)
    with pytest.raises(Exception, match="^Qx_Common_Xcp_Cmd_Upload: "):  # no XCP master set up on the port
        c.Qx_Common_Xcp_Cmd_Upload(port, 0, command, Lazy(data, lambda: tries.delete(
            c.delete_Qx_Common_Xcp_Cmd_Upload_Cmd_t, command)))
    assert tries.seen == [in_use("delete_Qx_Common_Xcp_Cmd_Upload_Cmd_t", "Qx_Common_Xcp_Cmd_Upload_Cmd_t *")]
    sent = layouts.unpack("Qx_Common_Xcp_Cmd_Upload_Cmd_t", sim.last("Qx_Common_Xcp_Cmd_Upload").arg(3).bytes)
    assert (sent["Address"], sent["NumberOfBytes"]) == (0x10000, 4)
    c.delete_Qx_Common_Xcp_Cmd_Upload_Cmd_t(command)  # the failed call let go of it too
    assert int(command) == 0


def test_what_a_refused_call_held_is_let_go():
    array = st.new_u8_array(2)
    with raises_exactly(ValueError, "too few bytes given for the call in method 'memmove', argument 1 of type "
                                    "'void *'"):
        st.memmove(Lazy(array), b"\x00" * 3)
    st.delete_u8_array(array)
    assert int(array) == 0


# ---- "this" made afresh ----------------------------------------------------------------------

def zeroing_class(module, name):
    """A class for record `name` whose destructor wipes the record before it
    frees it: a record collected while a call still reads it shows zeros."""
    size = layouts.size(name)
    delete = getattr(module, "delete_" + name)

    def destroy(record):
        st.memmove(record, bytes(size))
        delete(record)

    return type(name, (), {"__init__": lambda self, this: setattr(self, "this", this),
                           "__swig_destroy__": destroy})


class Fresh:
    """An object whose "this" is a new object on every access, which nothing
    but the call holds."""

    def __init__(self, make):
        self.make = make

    @property
    def this(self):
        return self.make()


@isolated
def test_a_record_made_afresh_lives_until_the_call_returns(sim):
    q.Qx_InterfaceInfo_t_swigregister(zeroing_class(q, "Qx_InterfaceInfo_t"))

    def selector():
        info = q.new_Qx_InterfaceInfo_t()
        q.Qx_InterfaceInfo_t_Type_set(info, q.QX_INTERFACE_TYPE__CAN)
        return info

    port = q.Qx_OpenInterface(Fresh(selector))  # a CAN interface: the type was read intact
    sent = layouts.unpack("Qx_InterfaceInfo_t", sim.last("Qx_OpenInterface").arg(1).bytes)
    assert sent["Type"] == q.QX_INTERFACE_TYPE__CAN
    q.Qx_CloseInterface(port)


@isolated
def test_storage_functions_read_a_record_made_afresh_whole():
    q.Qx_IpAddress_t_swigregister(zeroing_class(q, "Qx_IpAddress_t"))

    def address():
        made = q.new_Qx_IpAddress_t()
        q.Qx_IpAddress_t_All_set(made, 0x04030201)
        return made

    assert st.cdata(Fresh(address), 4) == b"\x01\x02\x03\x04"


def test_an_array_made_afresh_is_written_and_read_within_its_call():
    assert st.memmove(Fresh(lambda: st.new_u8_array(8)), b"12345678") is None
    assert st.cdata(Fresh(lambda: st.new_u8_array(8)), 8) == bytes(8)
    assert st.u8_array_getitem(Fresh(lambda: st.new_u8_array(3)), 2) == 0


@isolated
def test_a_view_of_a_record_made_afresh_keeps_the_record_alive():
    q.Qx_Ethernet_AdapterInfo_t_swigregister(zeroing_class(q, "Qx_Ethernet_AdapterInfo_t"))

    def adapter():
        made = q.new_Qx_Ethernet_AdapterInfo_t()
        q.Qx_IpAddress_t_All_set(q.Qx_Ethernet_AdapterInfo_t_Mask_get(made), 0x00FFFFFF)
        return made

    mask = q.Qx_Ethernet_AdapterInfo_t_Mask_get(Fresh(adapter))
    assert q.Qx_IpAddress_t_All_get(mask) == 0x00FFFFFF  # the view keeps the record made for the call
