"""Signal blocks: configuration and deletion through a block cell, values
written and read together, the block's buffer; the records
Qx_Trovix_SignalBlock_Signals_t and Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t."""
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
