"""The boxed cells int_p and char_p."""
import pytest

import _qx_api as q
import qxtest


def test_int_p_round_trip():
    p = qxtest.new_record(q, "int_p")
    assert q.int_p_value(p) == 0
    q.int_p_assign(p, 4294967295)
    assert q.int_p_value(p) == 4294967295
    view = q.int_p_frompointer(q.int_p_cast(p))
    q.int_p_assign(view, 12)
    assert q.int_p_value(p) == 12
    q.delete_int_p(view)  # owns nothing: frees nothing
    assert q.int_p_value(p) == 12
    q.delete_int_p(p)
    q.delete_int_p(p)


@pytest.mark.parametrize("call, exc, message", [
    (lambda p: q.int_p_assign(p, -1), OverflowError, "in method 'int_p_assign', argument 2 of type 'u32_t'"),
    (lambda p: q.int_p_assign(p, 1.5), TypeError, "in method 'int_p_assign', argument 2 of type 'u32_t'"),
    (lambda p: q.int_p_assign(qxtest.new_record(q, "char_p"), 1), TypeError, "in method 'int_p_assign', argument 1 of type 'int_p *'"),
    (lambda p: q.int_p_value(qxtest.new_record(q, "Qx_Data_t")), TypeError, "in method 'int_p_value', argument 1 of type 'int_p *'"),
    (lambda p: q.int_p_frompointer(qxtest.new_record(q, "char_p")), TypeError, "in method 'int_p_frompointer', argument 1 of type 'u32_t *'"),
    (lambda p: q.delete_int_p(qxtest.new_record(q, "char_p")), TypeError, "in method 'delete_int_p', argument 1 of type 'int_p *'"),
    (lambda p: q.int_p_value(None), ValueError, "invalid null reference in method 'int_p_value', argument 1 of type 'int_p *'"),
    (lambda p: q.int_p_assign(None, 1), ValueError, "invalid null reference in method 'int_p_assign', argument 1 of type 'int_p *'"),
    (lambda p: q.char_p_value(None), ValueError, "invalid null reference in method 'char_p_value', argument 1 of type 'char_p *'"),
    (lambda p: q.char_p_cast(None), ValueError, "invalid null reference in method 'char_p_cast', argument 1 of type 'char_p *'"),
])
def test_pointer_class_refusals(call, exc, message):
    with pytest.raises(exc) as e:
        call(qxtest.new_record(q, "int_p"))
    assert str(e.value) == message


@pytest.mark.parametrize("call", [q.int_p_cast, q.int_p_frompointer])
def test_int_p_conversions_of_none_give_none(call):
    # neither reads through the pointer: None stands for the null pointer
    assert call(None) is None


@pytest.mark.parametrize("value, stored", [
    ("A", "A"), ("", "\0"), (65, "A"), (-1, "\udcff"), (127, "\x7f"), ("\u00e9"[:0] + "z", "z"),
])
def test_char_p_assign_and_value(value, stored):
    c = qxtest.new_record(q, "char_p")
    q.char_p_assign(c, value)
    assert q.char_p_value(c) == stored


@pytest.mark.parametrize("value, exc", [
    ("AB", TypeError), ("\u00e9", TypeError), ("\udcff", TypeError), (200, OverflowError), (-129, OverflowError),
    (2**64, OverflowError), (1.5, TypeError), (None, TypeError), (b"A", TypeError),
    # pointer objects: a char_p cell, and a char * object made outside the modules
    pytest.param(lambda qxt: qxtest.new_record(q, "char_p"), TypeError, id="char_p"),
    pytest.param(lambda qxt: qxt.qxt_view_of("char *", b"A\0"), TypeError, id="char *"),
])
def test_char_p_assign_refused(qxt, value, exc):
    cell = qxtest.new_record(q, "char_p")
    q.char_p_assign(cell, "Z")
    with qxtest.raises_exactly(exc, "in method 'char_p_assign', argument 2 of type 'char'"):
        q.char_p_assign(cell, value(qxt) if callable(value) else value)
    assert q.char_p_value(cell) == "Z"


def test_char_p_cast_reads_no_further_than_the_cell():
    c = qxtest.new_record(q, "char_p")
    assert q.char_p_cast(c) == ""
    q.char_p_assign(c, "Z")
    assert q.char_p_cast(c) == "Z"


def test_char_p_frompointer_takes_pointers_not_texts():
    c = qxtest.new_record(q, "char_p")
    q.char_p_assign(c, "Q")
    view = q.char_p_frompointer(c)
    assert q.char_p_value(view) == "Q"
    with pytest.raises(TypeError) as e:
        q.char_p_frompointer("text")
    assert str(e.value) == "in method 'char_p_frompointer', argument 1 of type 'char *'"


def test_int_p_accepted_for_every_u32_pointer_spelling(sim, port):
    err = qxtest.new_record(q, "int_p")
    sim.output("Qx_GetLastErrorByPortHandle", 2, (0x1234).to_bytes(4, "little"))
    sim.output("Qx_GetLastErrorByPortHandle", 4, b"busy\0")
    assert q.Qx_GetLastErrorByPortHandle(port, err) == "busy"
    assert q.int_p_value(err) == 0x1234
    handle = qxtest.new_record(q, "int_p")
    q.Qx_Interface_GetPortHandleByInterfaceType(port, 4, handle)
    assert sim.last("Qx_Interface_GetPortHandleByInterfaceType").arg(3).value == int(handle)


@pytest.mark.parametrize("value, text", [("Z", b"Z"), ("", b"")])
def test_char_p_passed_for_a_text_is_a_terminated_text(sim, value, text):
    # the native side reads up to the zero byte: the cell's char is followed
    # by a terminator that nothing writes
    cell = qxtest.new_record(q, "char_p")
    q.char_p_assign(cell, value)
    q.Qx_Interface_UpdateAllInterfaces(cell, qxtest.new_record(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t"))
    assert sim.last("Qx_Interface_UpdateAllInterfaces").arg(1).text == text
    assert q.char_p_cast(cell) == value
