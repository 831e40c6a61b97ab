"""The transmit table, simple and standard, and its four item records,
through the simulated CAN library."""
import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import _qx_api as base  # noqa: E402
from layouts import pack, size  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

SIMPLE = "Qx_Can_Tar_TxItem_Simple_t"
SIMPLE2 = "Qx_Can_Tar_TxItem_Simple2_t"
STANDARD = "Qx_Can_Tar_TxItem_Standard_t"
STANDARD2 = "Qx_Can_Tar_TxItem_Standard2_t"
ADD = {SIMPLE: "Qx_Can_Tar_AddTxItems_Simple", SIMPLE2: "Qx_Can_Tar_AddTxItems_Simple2",
       STANDARD: "Qx_Can_Tar_AddTxItems_Standard", STANDARD2: "Qx_Can_Tar_AddTxItems_Standard2"}
TABLE = 1


def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


def configure(port, kind, table=TABLE):
    if kind in (SIMPLE, SIMPLE2):
        can.Qx_Can_Tar_Config_Simple(port, table, 0x123, 1)
    else:
        can.Qx_Can_Tar_Config_Standard(port, table, 1, 0, 0, 0, None, None)


def get_state(port, qxt, table=TABLE):
    cells = [qxt.qxt_u8_array([0xEE])] + [qxtest.new_record(base, "int_p") for _ in range(3)]
    can.Qx_Can_Tar_GetState(port, table, *cells)
    return qxt.qxt_read_u8(cells[0], 1) + [base.int_p_value(c) for c in cells[1:]]


# ---- configuration ---------------------------------------------------------------------------

def test_config_simple_passes_its_scalars(sim, port):
    assert can.Qx_Can_Tar_Config_Simple(port, 257, 0x18FF0001, 0xFFFFFFFF) is None
    call = sim.last("Qx_Can_Tar_Config_Simple")
    assert [call.arg(n).value for n in range(1, 5)] == [port, 1, 0x18FF0001, 0xFFFFFFFF]


def test_config_standard_passes_u8_pointer_objects_or_null(sim, port, qxt):
    start = qxt.qxt_u8_array([0xA5])
    assert can.Qx_Can_Tar_Config_Standard(port, TABLE, 3, 0x80000000, 300, 2, start, None) is None
    call = sim.last("Qx_Can_Tar_Config_Standard")
    assert [call.arg(n).value for n in range(2, 7)] == [TABLE, 3, 0x80000000, 44, 2]
    assert call.arg(7).value == int(start) and call.arg(7).bytes == b"\xa5"
    assert call.arg(8).is_null
    with raises(TypeError, "in method 'Qx_Can_Tar_Config_Standard', argument 7 of type 'u8_t const *const'"):
        can.Qx_Can_Tar_Config_Standard(port, TABLE, 3, 0, 0, 0, qxtest.new_record(base, "int_p"), None)


def test_config_off_switches_a_table_off(sim, port, qxt):
    configure(port, STANDARD)
    assert get_state(port, qxt)[0] == 2
    assert can.Qx_Can_Tar_Config_Off(port, TABLE) is None
    assert get_state(port, qxt) == [0, 0, 0, 0]
    with raises(Exception, "Qx_Can_Tar_Config_Off: transmit table 1 is not configured"):
        can.Qx_Can_Tar_Config_Off(port, TABLE)


@pytest.mark.parametrize("call", [
    lambda port: can.Qx_Can_Tar_Config_Simple(port, 4, 0, 0),
    lambda port: can.Qx_Can_Tar_Config_Off(port, 4),
    lambda port: can.Qx_Can_Tar_Start(port, 4, 0),
    lambda port: can.Qx_Can_Tar_GetState(port, 4, None, None, None, None),
])
def test_an_unknown_table_number_fails(port, call):
    with pytest.raises(Exception) as info:
        call(port)
    assert str(info.value).endswith(": no transmit table 4 (tables 0 to 3)")


# ---- items -----------------------------------------------------------------------------------

@pytest.mark.parametrize("kind, fields, packed", [
    (SIMPLE, dict(Delay=65537, Flags=3, Dlc=8, Data=(1, 2, 3, 4, 5, 6, 7, 300)),
     dict(Delay=1, Flags=3, Dlc=8, Data=[1, 2, 3, 4, 5, 6, 7, 44])),
    (STANDARD, dict(Id=0x80000123, Delay=10, Flags=1, Dlc=2, Data=[9] * 8),
     dict(Id=0x80000123, Delay=10, Flags=1, Dlc=2, Data=[9] * 8)),
    (SIMPLE2, dict(Delay=5, Flags=2, Dlc=15, reserved1=1, reserved2=2, reserved3=3, reserved4=4),
     dict(Delay=5, Flags=2, Dlc=15, reserved1=1, reserved2=2, reserved3=3, reserved4=4)),
    (STANDARD2, dict(Id=0x7FF, Delay=0xFFFF, Flags=0, Dlc=9), dict(Id=0x7FF, Delay=0xFFFF, Dlc=9)),
])
def test_add_items_passes_count_and_the_items_address(sim, port, qxt, kind, fields, packed):
    configure(port, kind)
    item = record(kind, **fields)
    if kind in (SIMPLE2, STANDARD2):
        data = qxtest.new_record(can, "Qx_Can_Data_t")
        can.Qx_Can_Data_t_U8_set(data, list(range(64)))
        getattr(can, f"{kind}_Data_set")(item, data)
        packed = dict(packed, Data={"U8": list(range(64))})
    assert getattr(can, ADD[kind])(port, TABLE, 1, item) is None
    call = sim.last(ADD[kind])
    assert [call.arg(n).value for n in (2, 3, 4)] == [TABLE, 1, int(item)]
    assert call.arg(4).bytes == pack(kind, packed)
    assert get_state(port, qxt)[2] == 1


def test_a_block_of_items_comes_from_a_view_of_several(sim, port, qxt):
    configure(port, STANDARD2)
    block = qxt.qxt_view(f"{STANDARD2} *", 3 * size(STANDARD2))
    can.Qx_Can_Tar_AddTxItems_Standard2(port, TABLE, 3, block)
    assert sim.last("Qx_Can_Tar_AddTxItems_Standard2").arg(4).size == 3 * size(STANDARD2)
    assert get_state(port, qxt)[2] == 3


@pytest.mark.parametrize("kind", list(ADD))
def test_one_owned_item_is_refused_beside_a_count_above_one(sim, port, kind):
    configure(port, kind)
    with raises(ValueError, f"single record given for several in method '{ADD[kind]}', argument 4 of type "
                            f"'{kind} const *const'"):
        getattr(can, ADD[kind])(port, TABLE, 2, record(kind))
    assert sim.calls(ADD[kind]) == 0


def test_the_count_keeps_its_low_16_bits(sim, port):
    configure(port, SIMPLE)
    can.Qx_Can_Tar_AddTxItems_Simple(port, TABLE, 65536, record(SIMPLE))
    assert sim.last("Qx_Can_Tar_AddTxItems_Simple").arg(3).value == 0
    with raises(OverflowError, "in method 'Qx_Can_Tar_AddTxItems_Simple', argument 3 of type 'u16_t'"):
        can.Qx_Can_Tar_AddTxItems_Simple(port, TABLE, -1, record(SIMPLE))


def test_add_items_refuses_an_item_of_another_kind(sim, port):
    with raises(TypeError, "in method 'Qx_Can_Tar_AddTxItems_Standard2', argument 4 of type "
                           "'Qx_Can_Tar_TxItem_Standard2_t const *const'"):
        can.Qx_Can_Tar_AddTxItems_Standard2(port, TABLE, 1, record(SIMPLE2))
    assert sim.calls("Qx_Can_Tar_AddTxItems_Standard2") == 0


def test_add_items_with_none_passes_a_null_pointer(sim, port):
    configure(port, SIMPLE)
    with raises(Exception, "Qx_Can_Tar_AddTxItems_Simple: no items given"):
        can.Qx_Can_Tar_AddTxItems_Simple(port, TABLE, 1, None)
    assert sim.last("Qx_Can_Tar_AddTxItems_Simple").arg(4).is_null


def test_items_must_match_the_tables_kind(port):
    with raises(Exception, "Qx_Can_Tar_AddTxItems_Simple: transmit table 1 is not configured"):
        can.Qx_Can_Tar_AddTxItems_Simple(port, TABLE, 1, record(SIMPLE))
    configure(port, STANDARD)
    with raises(Exception, "Qx_Can_Tar_AddTxItems_Simple2: transmit table 1 holds standard items, not simple items"):
        can.Qx_Can_Tar_AddTxItems_Simple2(port, TABLE, 1, record(SIMPLE2))


# ---- item records ------------------------------------------------------------------------------

@pytest.mark.parametrize("kind", [SIMPLE, STANDARD])
def test_eight_data_bytes_are_set_all_or_nothing(kind):
    item = record(kind, Data=(1, 2, 3, 4, 5, 6, 7, 8))
    setter = f"{kind}_Data_set"
    with raises(ValueError, f"fail in '{setter}' : Expecting a sequence with 8 elements"):
        getattr(can, setter)(item, list(range(9)))
    with raises(ValueError, f"fail in '{setter}' : Expecting a sequence of u8_t"):
        getattr(can, setter)(item, [0] * 7 + [1.5])
    assert getattr(can, f"{kind}_Data_get")(item) == [1, 2, 3, 4, 5, 6, 7, 8]


@pytest.mark.parametrize("kind", [SIMPLE2, STANDARD2])
def test_a_data_member_is_copied_in_and_viewed_out(kind):
    item = record(kind)
    data = qxtest.new_record(can, "Qx_Can_Data_t")
    can.Qx_Can_Data_t_U8_set(data, [7] * 64)
    getattr(can, f"{kind}_Data_set")(item, data)
    can.Qx_Can_Data_t_U8_set(data, [1] * 64)  # the item holds a copy
    view = getattr(can, f"{kind}_Data_get")(item)
    assert can.Qx_Can_Data_t_U8_get(view) == [7] * 64
    can.Qx_Can_Data_t_U8_set(view, list(range(64)))  # the view writes into the item
    assert can.Qx_Can_Data_t_U8_get(getattr(can, f"{kind}_Data_get")(item)) == list(range(64))
    with raises(TypeError, f"in method '{kind}_Data_set', argument 2 of type 'Qx_Can_Data_t *'"):
        getattr(can, f"{kind}_Data_set")(item, record(SIMPLE))
    with raises(ValueError, f"invalid null reference in method '{kind}_Data_set', argument 2 of type "
                            "'Qx_Can_Data_t *'"):
        getattr(can, f"{kind}_Data_set")(item, None)


# ---- state, start and stop ----------------------------------------------------------------------

def test_state_answers_kind_running_and_items(sim, port, qxt):
    assert get_state(port, qxt) == [0, 0, 0, 0]
    configure(port, STANDARD)
    can.Qx_Can_Tar_AddTxItems_Standard(port, TABLE, 1, record(STANDARD))
    can.Qx_Can_Tar_AddTxItems_Standard(port, TABLE, 1, record(STANDARD))
    assert get_state(port, qxt) == [2, 0, 2, 0]
    assert can.Qx_Can_Tar_Start(port, TABLE, 258) is None
    assert sim.last("Qx_Can_Tar_Start").arg(3).value == 2
    assert get_state(port, qxt) == [2, 1, 2, 0]
    assert can.Qx_Can_Tar_Stop(port, TABLE) is None
    assert get_state(port, qxt) == [2, 0, 2, 0]


def test_state_with_null_cells_returns_none(sim, port):
    assert can.Qx_Can_Tar_GetState(port, TABLE, None, None, None, None) is None
    assert all(sim.last("Qx_Can_Tar_GetState").arg(n).is_null for n in (3, 4, 5, 6))


def test_state_cells_change_only_through_the_native_call(sim, port, qxt):
    cells = [qxt.qxt_u8_array([9])] + [qxtest.new_record(base, "int_p") for _ in range(3)]
    for cell, value in zip(cells[1:], (11, 12, 13)):
        base.int_p_assign(cell, value)
    sim.fail("Qx_Can_Tar_GetState", text=b"no state")
    with raises(Exception, "no state"):
        can.Qx_Can_Tar_GetState(port, TABLE, *cells)
    assert qxt.qxt_read_u8(cells[0], 1) + [base.int_p_value(c) for c in cells[1:]] == [9, 11, 12, 13]


@pytest.mark.parametrize("argno, cells, declared", [
    (3, lambda qxt: [qxtest.new_record(base, "int_p"), None, None, None], "Qx_Can_Tar_GetState_Type_t *const"),
    (4, lambda qxt: [None, qxt.qxt_u8_array([0]), None, None], "Qx_Can_Tar_GetState_RspFlags_t *const"),
    (5, lambda qxt: [None, None, qxt.qxt_u16_array([0]), None], "u32_t *const"),
])
def test_state_cells_must_have_their_types(sim, port, qxt, argno, cells, declared):
    with raises(TypeError, f"in method 'Qx_Can_Tar_GetState', argument {argno} of type '{declared}'"):
        can.Qx_Can_Tar_GetState(port, TABLE, *cells(qxt))
    assert sim.calls("Qx_Can_Tar_GetState") == 0


def test_start_and_stop_follow_the_tables_order(port):
    with raises(Exception, "Qx_Can_Tar_Start: transmit table 1 is not configured"):
        can.Qx_Can_Tar_Start(port, TABLE, 0)
    configure(port, SIMPLE)
    with raises(Exception, "Qx_Can_Tar_Start: transmit table 1 holds no items"):
        can.Qx_Can_Tar_Start(port, TABLE, 0)
    with raises(Exception, "Qx_Can_Tar_Stop: transmit table 1 is not running"):
        can.Qx_Can_Tar_Stop(port, TABLE)
    can.Qx_Can_Tar_AddTxItems_Simple(port, TABLE, 1, record(SIMPLE))
    can.Qx_Can_Tar_Start(port, TABLE, 0)
    for call in (lambda: can.Qx_Can_Tar_Start(port, TABLE, 0),
                 lambda: can.Qx_Can_Tar_AddTxItems_Simple(port, TABLE, 1, record(SIMPLE)),
                 lambda: can.Qx_Can_Tar_Config_Standard(port, TABLE, 0, 0, 0, 0, None, None)):
        with pytest.raises(Exception) as info:
            call()
        assert str(info.value).endswith(": transmit table 1 is running")
    with raises(TypeError, "in method 'Qx_Can_Tar_Start', argument 3 of type 'Qx_Can_Tar_Start_Mode_t'"):
        can.Qx_Can_Tar_Start(port, TABLE, None)
