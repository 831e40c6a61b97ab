"""Signal blocks: configuration and deletion through a block cell, values
written and read together (the data journaled at the block's size), the
block's buffer; the records
Qx_Trovix_SignalBlock_Signals_t and Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t."""
import struct

import pytest

import layouts
import qxtest
tv = qxtest.module("_qx_api_trovix")

import _qx_api as base  # noqa: E402

MEMBER = "Qx_Trovix_SignalBlock_Signals_t"
BUFFER = "Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t"


@pytest.fixture
def block(signals, qxt):
    """A block of signal 1 (Gear) alone on the initialised port: (cell, block)."""
    member = qxtest.new_record(tv, MEMBER, SignalHandle=1, SignalFlags=0xFFFFFFFF)
    cell = qxt.qxt_block_cell()
    tv.Qx_Trovix_SignalBlock_Config(signals, 0, cell, 1, member)
    return cell, qxt.qxt_block_in(cell)


def test_config_stores_the_block_in_the_callers_cell(sim, block, signals):
    cell, made = block
    call = sim.last("Qx_Trovix_SignalBlock_Config")
    assert call.arg(3).value == int(cell) and call.arg(4).value == 1
    assert layouts.unpack(MEMBER, call.arg(5).bytes) == {"SignalHandle": 1, "reserved1": 0, "reserved2": 0,
                                                         "SignalFlags": 0xFFFFFFFF}
    assert made is not None


def test_block_values_are_written_and_read_together(sim, block, signals, qxt):
    _, made = block
    assert tv.Qx_Trovix_SignalBlock_Write(signals, made, qxt.qxt_u8_array([0x42] + [0] * 7)) is None
    assert sim.last("Qx_Trovix_SignalBlock_Write").arg(2).value == int(made)
    data = qxt.qxt_u8_array([0xEE] * 8)
    assert tv.Qx_Trovix_Signal_Read(signals, 0, 0, 1, 8, data) == [1, 1]
    assert qxt.qxt_read_u8(data, 1) == [0x42]
    tv.Qx_Trovix_Signal_Write(signals, 0, 0, 1, 1, qxt.qxt_u8_array([7]))
    assert tv.Qx_Trovix_SignalBlock_Read(signals, made, data) is None
    assert qxt.qxt_read_u8(data, 8) == [7] + [0] * 7


def test_delete_ends_the_block_and_clears_the_cell(sim, block, signals, qxt):
    cell, made = block
    assert tv.Qx_Trovix_SignalBlock_Delete(signals, 3, cell) is None
    assert sim.last("Qx_Trovix_SignalBlock_Delete").arg(2).value == 3
    assert qxt.qxt_block_in(cell) is None
    with pytest.raises(Exception, match="^Qx_Trovix_SignalBlock_Read: unknown signal block"):
        tv.Qx_Trovix_SignalBlock_Read(signals, made, qxt.qxt_u8_array([0] * 8))


def test_buffer_config_reset_and_read(sim, block, signals, qxt):
    _, made = block
    with qxtest.raises_exactly(Exception, "Qx_Trovix_SignalBlock_Buffer_Read: the block has no buffer configured"):
        tv.Qx_Trovix_SignalBlock_Buffer_Read(signals, made, 0, qxtest.new_record(base, "int_p"), qxt.qxt_u8_array([0] * 8))
    config = qxtest.new_record(tv, BUFFER, Flags=1, BufferSize=64, PollingCycle=10)
    assert tv.Qx_Trovix_SignalBlock_Buffer_Config(signals, made, config) is None
    assert layouts.unpack(BUFFER, sim.last("Qx_Trovix_SignalBlock_Buffer_Config").arg(3).bytes) == {
        "Flags": 1, "BufferSize": 64, "PollingCycle": 10}
    assert tv.Qx_Trovix_SignalBlock_Buffer_Reset(signals, made) is None
    flags = qxtest.new_record(base, "int_p")
    base.int_p_assign(flags, 0xAAAA)
    data = qxt.qxt_u8_array([0xEE] * 8)
    assert tv.Qx_Trovix_SignalBlock_Buffer_Read(signals, made, 5, flags, data) is None
    call = sim.last("Qx_Trovix_SignalBlock_Buffer_Read")
    assert (call.arg(3).value, call.arg(4).value) == (5, int(flags))
    assert base.int_p_value(flags) == 0
    base.delete_int_p(flags)


def test_write_with_null_pointers_reaches_the_library(sim, signals):
    with qxtest.raises_exactly(Exception, "Qx_Trovix_SignalBlock_Write: no signal block given"):
        tv.Qx_Trovix_SignalBlock_Write(signals, None, None)
    call = sim.last("Qx_Trovix_SignalBlock_Write")
    assert call.arg(2).is_null and call.arg(3).is_null


def test_config_refuses_one_owned_member_for_several(sim, signals, qxt):
    member = qxtest.new_record(tv, "Qx_Trovix_SignalBlock_Signals_t")
    with qxtest.raises_exactly(ValueError, "single record given for several in method 'Qx_Trovix_SignalBlock_Config', "
                                           "argument 5 of type 'Qx_Trovix_SignalBlock_Signals_t const *const'"):
        tv.Qx_Trovix_SignalBlock_Config(signals, 0, qxt.qxt_block_cell(), 2, member)
    assert sim.calls("Qx_Trovix_SignalBlock_Config") == 0
    members = qxt.qxt_view("Qx_Trovix_SignalBlock_Signals_t *", 16)   # two zeroed members: handle 0 twice
    cell = qxt.qxt_block_cell()
    tv.Qx_Trovix_SignalBlock_Config(signals, 0, cell, 2, members)
    assert sim.last("Qx_Trovix_SignalBlock_Config").arg(5).size == 16
    assert qxt.qxt_block_in(cell) is not None


def test_config_of_an_unknown_signal_raises_the_library_text(sim, signals, qxt):
    member = qxtest.new_record(tv, MEMBER, SignalHandle=30)
    with qxtest.raises_exactly(Exception, "Qx_Trovix_SignalBlock_Config: unknown signal handle 30"):
        tv.Qx_Trovix_SignalBlock_Config(signals, 0, qxt.qxt_block_cell(), 1, member)


@pytest.mark.parametrize("binding, args, message", [
    ("Qx_Trovix_SignalBlock_Config", (0, "cell", 1, None),
     "in method 'Qx_Trovix_SignalBlock_Config', argument 3 of type 'Qx_Trovix_SignalBlock_t **'"),
    ("Qx_Trovix_SignalBlock_Config", (0, None, 1, "members"),
     "in method 'Qx_Trovix_SignalBlock_Config', argument 5 of type 'Qx_Trovix_SignalBlock_Signals_t const *const'"),
    ("Qx_Trovix_SignalBlock_Delete", ("x", None),
     "in method 'Qx_Trovix_SignalBlock_Delete', argument 2 of type 'Qx_Trovix_SignalBlock_Delete_CmdFlags_t'"),
    ("Qx_Trovix_SignalBlock_Write", (5, None),
     "in method 'Qx_Trovix_SignalBlock_Write', argument 2 of type 'Qx_Trovix_SignalBlock_t const *const'"),
    ("Qx_Trovix_SignalBlock_Read", (None, 5), "in method 'Qx_Trovix_SignalBlock_Read', argument 3 of type 'u8_t *const'"),
    ("Qx_Trovix_SignalBlock_Buffer_Reset", (5,),
     "in method 'Qx_Trovix_SignalBlock_Buffer_Reset', argument 2 of type 'Qx_Trovix_SignalBlock_t *const'"),
    ("Qx_Trovix_SignalBlock_Buffer_Config", (None, 5),
     "in method 'Qx_Trovix_SignalBlock_Buffer_Config', argument 3 of type "
     "'Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t const *const'"),
    ("Qx_Trovix_SignalBlock_Buffer_Read", (None, 0, 5, None),
     "in method 'Qx_Trovix_SignalBlock_Buffer_Read', argument 4 of type "
     "'Qx_Trovix_SignalBlock_Buffer_Read_RspFlags_t *const'"),
])
def test_argument_messages(sim, signals, binding, args, message):
    with qxtest.raises_exactly(TypeError, message):
        getattr(tv, binding)(signals, *args)
    assert sim.calls(binding) == 0


def test_a_block_cell_is_refused_where_a_block_is_expected(sim, signals, qxt):
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_SignalBlock_Buffer_Reset', argument 2 of type "
                                          "'Qx_Trovix_SignalBlock_t *const'"):
        tv.Qx_Trovix_SignalBlock_Buffer_Reset(signals, qxt.qxt_block_cell())


@pytest.mark.parametrize("binding, count", [
    ("Qx_Trovix_SignalBlock_Config", 5), ("Qx_Trovix_SignalBlock_Delete", 3), ("Qx_Trovix_SignalBlock_Write", 3),
    ("Qx_Trovix_SignalBlock_Read", 3), ("Qx_Trovix_SignalBlock_Buffer_Reset", 2),
    ("Qx_Trovix_SignalBlock_Buffer_Config", 3), ("Qx_Trovix_SignalBlock_Buffer_Read", 5)])
def test_argument_counts(sim, binding, count):
    with qxtest.raises_exactly(TypeError, f"{binding} expected {count} arguments, got 1"):
        getattr(tv, binding)(1)


def test_buffer_command_names_its_tagged_type(sim):
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t_Flags_get', argument 1 "
                                          "of type 'struct Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t *'"):
        tv.Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t_Flags_get(5)
    with qxtest.raises_exactly(TypeError, "in method 'Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t_BufferSize_set', "
                                          "argument 2 of type 'u32_t'"):
        tv.Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t_BufferSize_set(qxtest.new_record(tv, "Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t"), "8")


# ---- the storage module's cell, record arrays and byte arrays --------------------------------------
# A block made from a storage-module cell, configured from a record array of
# three signals, then written, read and buffered through storage-module byte
# arrays, then deleted. The same steps run on the test helpers' cell, which
# shows what the storage module's must do.

st = qxtest.module("_qx_storage")
POINTER = struct.calcsize("P")

class StorageCell:
    def __init__(self, qxt):
        self.cell = st.new_Qx_Trovix_SignalBlock_pp()

    def block(self):
        return st.Qx_Trovix_SignalBlock_pp_value(self.cell)


class HelperCell:
    def __init__(self, qxt):
        self.cell, self.qxt = qxt.qxt_block_cell(), qxt

    def block(self):
        return self.qxt.qxt_block_in(self.cell)


def u8_array(data):
    array = st.new_u8_array(len(data))
    st.memmove(array, data)
    return array


def slots(*values):
    """Block data: each value (bytes) in a slot of 8 bytes, zero-padded."""
    return b"".join(value.ljust(8, b"\0") for value in values)


@pytest.mark.parametrize("make_cell", [
    pytest.param(StorageCell, id="storage cell"),
    pytest.param(HelperCell, id="test helper cell"),
])
def test_a_block_of_three_signals_from_a_record_array_end_to_end(sim, signals, qxt, make_cell):
    made = make_cell(qxt)
    assert made.block() is None
    members = st.new_Qx_Trovix_SignalBlock_Signals_t_array(3)
    for i, handle in enumerate((2, 0, 1)):  # Odo (32 bits), Speed (16), Gear (8)
        st.Qx_Trovix_SignalBlock_Signals_t_array_setitem(
            members, i, qxtest.new_record(tv, MEMBER, SignalHandle=handle, SignalFlags=0x100 + i))
    assert tv.Qx_Trovix_SignalBlock_Config(signals, 0, made.cell, 3, members) is None
    call = sim.last("Qx_Trovix_SignalBlock_Config")
    assert (call.arg(3).value, call.arg(4).value) == (int(made.cell), 3)
    assert call.arg(5).bytes == b"".join(layouts.pack(MEMBER, SignalHandle=h, SignalFlags=0x100 + i)
                                         for i, h in enumerate((2, 0, 1)))
    block = made.block()
    assert int(block) == struct.unpack("P", st.cdata(made.cell, POINTER))[0] != 0  # what the library stored
    # written together, read one by one and together
    values = slots(b"\x04\x03\x02\x01", b"\x34\x12", b"\x07")
    assert tv.Qx_Trovix_SignalBlock_Write(signals, block, u8_array(values)) is None
    write = sim.last("Qx_Trovix_SignalBlock_Write")
    assert write.arg(2).value == int(block) and (write.arg(3).size, write.arg(3).bytes) == (24, values)
    value = u8_array(bytes(8))
    assert tv.Qx_Trovix_Signal_Read(signals, 0, 0, 0, 8, value) == [1, 2]
    assert st.cdata(value, 2) == b"\x34\x12"
    data = u8_array(b"\xee" * 24)
    assert tv.Qx_Trovix_SignalBlock_Read(signals, block, data) is None
    assert st.cdata(data, 24) == values
    # the block's buffer
    config = qxtest.new_record(tv, BUFFER, Flags=1, BufferSize=64, PollingCycle=10)
    assert tv.Qx_Trovix_SignalBlock_Buffer_Config(signals, block, config) is None
    assert sim.last("Qx_Trovix_SignalBlock_Buffer_Config").arg(2).value == int(block)
    assert tv.Qx_Trovix_SignalBlock_Buffer_Reset(signals, block) is None
    flags, data = st.copy_u32_p(0xAAAA), u8_array(b"\xee" * 24)
    assert tv.Qx_Trovix_SignalBlock_Buffer_Read(signals, block, 5, flags, data) is None
    call = sim.last("Qx_Trovix_SignalBlock_Buffer_Read")
    assert (call.arg(2).value, call.arg(3).value, call.arg(4).value) == (int(block), 5, int(flags))
    assert st.u32_p_value(flags) == 0 and st.cdata(data, 24) == values
    # deleted: the cell cleared, the block refused
    assert tv.Qx_Trovix_SignalBlock_Delete(signals, 0, made.cell) is None
    assert sim.last("Qx_Trovix_SignalBlock_Delete").arg(3).value == int(made.cell)
    assert made.block() is None
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_SignalBlock_Read: unknown signal block {int(block):#x}"):
        tv.Qx_Trovix_SignalBlock_Read(signals, block, data)


def test_the_storage_modules_block_reaches_no_byte_of_the_library(qxt):
    cell = st.new_Qx_Trovix_SignalBlock_pp()
    st.memmove(cell, struct.pack("P", 0x1000))
    block = st.Qx_Trovix_SignalBlock_pp_value(cell)
    assert "Qx_Trovix_SignalBlock" in repr(block) and "**" not in repr(block)
    assert int(block) == 0x1000 and not block.own()
    for call, name in [(lambda: st.cdata(block, 1), "cdata"), (lambda: st.memmove(block, b"x"), "memmove")]:
        with qxtest.raises_exactly(ValueError, f"too few bytes given for the call in method '{name}', argument 1 of "
                                               "type 'void *'"):
            call()
    st.delete_Qx_Trovix_SignalBlock_pp(cell)
    st.delete_Qx_Trovix_SignalBlock_pp(cell)
    with qxtest.raises_exactly(ValueError, "invalid null reference in method 'Qx_Trovix_SignalBlock_pp_value', "
                                           "argument 1 of type 'Qx_Trovix_SignalBlock_t **'"):
        st.Qx_Trovix_SignalBlock_pp_value(cell)


def test_the_storage_modules_cell_is_taken_where_a_block_cell_is_expected(sim, signals):
    cell = st.new_Qx_Trovix_SignalBlock_pp()
    tv.Qx_Trovix_SignalBlock_Config(signals, 0, cell, 1, qxtest.new_record(tv, MEMBER, SignalHandle=1))
    assert sim.calls("Qx_Trovix_SignalBlock_Config") == 1


# ---- blocks the library does not know ----------------------------------------------------------

USES = [
    ("Qx_Trovix_SignalBlock_Write",
     lambda port, block: tv.Qx_Trovix_SignalBlock_Write(port, block, u8_array(bytes(8)))),
    ("Qx_Trovix_SignalBlock_Read",
     lambda port, block: tv.Qx_Trovix_SignalBlock_Read(port, block, u8_array(bytes(8)))),
    ("Qx_Trovix_SignalBlock_Buffer_Config", lambda port, block: tv.Qx_Trovix_SignalBlock_Buffer_Config(
        port, block, qxtest.new_record(tv, BUFFER, BufferSize=64))),
    ("Qx_Trovix_SignalBlock_Buffer_Reset", lambda port, block: tv.Qx_Trovix_SignalBlock_Buffer_Reset(port, block)),
    ("Qx_Trovix_SignalBlock_Buffer_Read", lambda port, block: tv.Qx_Trovix_SignalBlock_Buffer_Read(
        port, block, 0, st.new_u32_p(), u8_array(bytes(8)))),
]


def configured(port, qxt, handle=1):
    """A helper cell holding a new block of one signal."""
    cell = qxt.qxt_block_cell()
    tv.Qx_Trovix_SignalBlock_Config(port, 0, cell, 1, qxtest.new_record(tv, MEMBER, SignalHandle=handle))
    return cell


@pytest.mark.parametrize("binding, use", USES, ids=[u[0] for u in USES])
def test_a_deleted_block_stays_refused_when_new_blocks_are_configured(sim, signals, qxt, binding, use):
    cell = configured(signals, qxt)
    old = qxt.qxt_block_in(cell)
    tv.Qx_Trovix_SignalBlock_Delete(signals, 0, cell)
    # the deleted block's slot is taken again at once; then many blocks come and go
    kept = qxt.qxt_block_in(configured(signals, qxt))
    for _ in range(40):
        again = configured(signals, qxt, handle=0)
        assert int(qxt.qxt_block_in(again)) not in (int(old), int(kept))
        tv.Qx_Trovix_SignalBlock_Delete(signals, 0, again)
    with qxtest.raises_exactly(Exception, f"{binding}: unknown signal block {int(old):#x}"):
        use(signals, old)
    assert sim.calls(binding) == 1  # the library got it, and said no
    assert tv.Qx_Trovix_SignalBlock_Read(signals, kept, u8_array(bytes(8))) is None  # the new block is itself


def test_a_block_the_library_did_not_make_is_refused(sim, signals, qxt):
    made = qxt.qxt_block_in(configured(signals, qxt))
    cell = qxt.qxt_block_cell()
    st.memmove(cell, struct.pack("P", int(made) + 1))  # beside a block the library made
    stranger = qxt.qxt_block_in(cell)
    for binding, use in USES:
        with qxtest.raises_exactly(Exception, f"{binding}: unknown signal block {int(stranger):#x}"):
            use(signals, stranger)
    with qxtest.raises_exactly(Exception, f"Qx_Trovix_SignalBlock_Delete: unknown signal block {int(stranger):#x}"):
        tv.Qx_Trovix_SignalBlock_Delete(signals, 0, cell)
    assert int(qxt.qxt_block_in(cell)) == int(stranger)  # a refused delete leaves the cell as it was


# ---- a block's data: 8 bytes for each of its signals -------------------------------------------
# The bindings pass the data unchecked (only the library knows a block's
# layout); the simulated device reads or writes 8 bytes for each of the
# block's signals, and journals as many: the room of a scripted output.

def block_of_signals(port, qxt, handles):
    """A new block of the signals `handles`, in that order (in a helper cell)."""
    members = st.new_Qx_Trovix_SignalBlock_Signals_t_array(len(handles))
    for i, handle in enumerate(handles):
        st.Qx_Trovix_SignalBlock_Signals_t_array_setitem(members, i, qxtest.new_record(tv, MEMBER, SignalHandle=handle))
    cell = qxt.qxt_block_cell()
    tv.Qx_Trovix_SignalBlock_Config(port, 0, cell, len(handles), members)
    return qxt.qxt_block_in(cell)


@pytest.fixture(params=[
    pytest.param(((1,), (b"\x07",)), id="one signal"),
    pytest.param(((2, 0, 1), (b"\x04\x03\x02\x01", b"\x34\x12", b"\x07")), id="three signals"),
])
def written(request, signals, qxt):
    """A block whose signals' values were written, its buffer configured:
    (block, data), the data as the device reads it, a slot a signal."""
    handles, values = request.param
    block, data = block_of_signals(signals, qxt, handles), slots(*values)
    tv.Qx_Trovix_SignalBlock_Write(signals, block, u8_array(data))
    tv.Qx_Trovix_SignalBlock_Buffer_Config(signals, block, qxtest.new_record(tv, BUFFER, BufferSize=64))
    return block, data


def script(length):
    """`length` bytes, none of them 0 or 0xEE."""
    return bytes(i % 200 + 1 for i in range(length))


def write(port, block, data):
    return tv.Qx_Trovix_SignalBlock_Write(port, block, data)


def read(port, block, data):
    return tv.Qx_Trovix_SignalBlock_Read(port, block, data)


def buffer_read(port, block, data):
    return tv.Qx_Trovix_SignalBlock_Buffer_Read(port, block, 0, st.new_u32_p(), data)


READS = [pytest.param("Qx_Trovix_SignalBlock_Read", 3, read, id="read"),
         pytest.param("Qx_Trovix_SignalBlock_Buffer_Read", 5, buffer_read, id="buffer read")]
DATA = [pytest.param("Qx_Trovix_SignalBlock_Write", 3, write, id="write")] + READS


def test_a_write_journals_the_blocks_data_and_no_more(sim, signals, written):
    block, data = written
    assert write(signals, block, u8_array(data + b"\xaa" * 8)) is None  # a slot beyond the block
    call = sim.last("Qx_Trovix_SignalBlock_Write")
    assert (call.arg(3).size, call.arg(3).bytes) == (len(data), data)


@pytest.mark.parametrize("binding, arg, use", READS)
def test_a_read_is_journaled_and_roomed_at_the_blocks_data(sim, signals, written, binding, arg, use):
    block, data = written
    room = len(data)
    buffer = u8_array(b"\xee" * (room + 8))  # a slot beyond the block
    assert use(signals, block, buffer) is None
    assert st.cdata(buffer, room + 8) == data + b"\xee" * 8
    call = sim.last(binding)
    assert (call.arg(arg).size, call.arg(arg).bytes) == (room, b"\xee" * room)  # as it was on entry
    # a script as long as the block's data is written whole, over the device's read
    sim.output(binding, arg, script(room))
    assert use(signals, block, buffer) is None
    assert st.cdata(buffer, room + 8) == script(room) + b"\xee" * 8
    # one byte longer is refused, and none of it is written
    sim.output(binding, arg, script(room + 1))
    st.memmove(buffer, b"\xee" * (room + 8))
    with qxtest.raises_exactly(Exception, f"{binding}: scripted output of {room + 1} bytes for argument {arg} "
                                          f"(blockData) exceeds its {room} bytes"):
        use(signals, block, buffer)
    assert st.cdata(buffer, room + 8) == data + b"\xee" * 8


def beside_a_made_block(port, qxt):
    cell = qxt.qxt_block_cell()
    st.memmove(cell, struct.pack("P", int(qxt.qxt_block_in(configured(port, qxt))) + 1))
    return qxt.qxt_block_in(cell)


def deleted(port, qxt):
    cell = configured(port, qxt)
    block = qxt.qxt_block_in(cell)
    tv.Qx_Trovix_SignalBlock_Delete(port, 0, cell)
    return block


def of_another_port(port, qxt):
    return qxt.qxt_block_in(configured(qxtest.trovix_port(tv, "signal=Other,bits=8;signal=Gear,bits=8"), qxt))


UNKNOWN = [pytest.param(beside_a_made_block, id="never made"), pytest.param(deleted, id="deleted"),
           pytest.param(of_another_port, id="of another port")]


@pytest.mark.parametrize("unknown", UNKNOWN)
@pytest.mark.parametrize("binding, arg, use", DATA)
def test_the_data_of_a_block_the_port_does_not_have_journals_no_byte(sim, signals, qxt, unknown, binding, arg, use):
    block = unknown(signals, qxt)
    buffer = u8_array(b"\xee" * 8)
    with qxtest.raises_exactly(Exception, f"{binding}: unknown signal block {int(block):#x}"):
        use(signals, block, buffer)
    call = sim.last(binding)
    assert not call.arg(arg).is_null and (call.arg(arg).size, call.arg(arg).bytes) == (0, b"")


@pytest.mark.parametrize("binding, arg, use", READS)
def test_a_script_finds_no_room_in_the_data_of_a_block_the_port_does_not_have(sim, signals, qxt, binding, arg, use):
    block, buffer = deleted(signals, qxt), u8_array(b"\xee" * 8)
    sim.output(binding, arg, b"\x01")
    with qxtest.raises_exactly(Exception, f"{binding}: scripted output of 1 bytes for argument {arg} (blockData) "
                                          "exceeds its 0 bytes"):
        use(signals, block, buffer)
    assert st.cdata(buffer, 8) == b"\xee" * 8


@pytest.mark.parametrize("binding, arg, use", DATA)
def test_no_data_for_a_known_block_reaches_the_library_and_journals_no_byte(sim, signals, written, binding, arg, use):
    block, _ = written
    with qxtest.raises_exactly(Exception, f"{binding}: no data given"):
        use(signals, block, None)
    call = sim.last(binding)
    assert call.arg(arg).is_null and call.arg(arg).size == 0
