"""How list arguments are read: any sequence protocol object, by position;
exceptions the sequence itself raises come back unchanged (base module's
byte lists; the CAN module's list rules are in test_rules_can.py)."""
import pytest

import _qx_api as q
from rules.sequences import Sequence


class NoLength:
    """Items by position but no length: an endless iteration if it were taken."""

    def __getitem__(self, index):
        return 1


def test_any_sequence_is_read_by_position(sim, port):
    q.Qx_Command(port, 2, Sequence([1, 0x1FF, -1]))
    assert sim.last("Qx_Command").arg(3).bytes == b"\x01\xff\xff"


@pytest.mark.parametrize("sequence, exc", [
    (Sequence([1, 2], len_error=KeyboardInterrupt()), KeyboardInterrupt),
    (Sequence([1, 2], len_error=MemoryError()), MemoryError),
    (Sequence([1, 2, 3], item_error=KeyboardInterrupt(), bad_index=1), KeyboardInterrupt),
    (Sequence([1, 2, 3], item_error=MemoryError(), bad_index=2), MemoryError),
    (Sequence([1, 2], item_error=ZeroDivisionError("own"), bad_index=0), ZeroDivisionError),
])
def test_an_exception_of_the_sequence_itself_propagates_unchanged(sim, sequence, exc):
    with pytest.raises(exc) as e:
        q.Qx_Command(1, 2, sequence)
    assert type(e.value) is exc
    assert sim.calls("Qx_Command") == 0


@pytest.mark.parametrize("value, message", [
    (NoLength(), "Expecting a sequence"),
    (Sequence([1, "x"]), "list must contain u8_t"),  # an item read and refused keeps its message
])
def test_objects_and_items_refused_with_the_documented_messages(sim, value, message):
    with pytest.raises(TypeError) as e:
        q.Qx_Command(1, 2, value)
    assert str(e.value) == message
    assert sim.calls("Qx_Command") == 0
