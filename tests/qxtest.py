"""Assertions shared by the test files."""
import contextlib

import pytest


@contextlib.contextmanager
def raises_exactly(exc, message):
    """Like pytest.raises, for exactly `exc` (no subclass) with exactly `message`."""
    with pytest.raises(exc) as info:
        yield info
    assert type(info.value) is exc
    assert str(info.value) == message
