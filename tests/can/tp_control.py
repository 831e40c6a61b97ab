"""The control entries of the simulated CAN library's transport protocols
and diagnostic sessions (sim/can/qxsim_can_tp.h), reached through ctypes on
the very libqx_api_can.so that _qx_api_can loaded."""
import ctypes

from qxsim import _loaded_library

# Facts of the simulated library (sim/can/qxsim_can_tp.h).
CHANNELS = 16
RECEIVE_BYTES = 1024
DIAG_TYPE = {"GmLan": 1, "J1939": 2, "Kw2000_IsoTp": 3, "Kw2000_Tp_1_6": 4, "Kw2000_Tp_2_0": 5,
             "Uds_IsoTp": 6, "Uds": 7}
DIAG_STATE_OFF, DIAG_STATE_READY = 0, 1


class TpControl:
    def __init__(self):
        lib = ctypes.CDLL(_loaded_library("libqx_api_can.so"))
        lib.qxsim_can_tp_broadcast_arrive.argtypes = [ctypes.c_uint32, ctypes.c_uint8, ctypes.c_char_p, ctypes.c_int]
        lib.qxsim_can_diag_state.argtypes = [ctypes.c_uint32, ctypes.c_uint8, ctypes.c_uint32, ctypes.c_uint8,
                                             ctypes.c_uint32]
        self.lib = lib

    def broadcast_arrive(self, port, channel, data):
        """Bytes arrive for the broadcast receiver of a channel: the number
        kept, or -1 for a channel that is not taken."""
        data = bytes(data)
        return self.lib.qxsim_can_tp_broadcast_arrive(port, channel, data, len(data))

    def diag_state(self, port, channel, error, state, flags):
        """Steers the diagnostic state of a channel: 0, or -1."""
        return self.lib.qxsim_can_diag_state(port, channel, error, state, flags)


# ---- records of the transport protocols and diagnostic sessions ----------------

import pytest  # noqa: E402

import layouts  # noqa: E402
from layout_table import NESTED  # noqa: E402

_WIDTH = {"u8": 1, "u16": 2, "u32": 4}


def scalar_fields(name):
    """(path, width in bytes, count or None) of every field of record `name`
    that has accessors, members of records declared in place by dotted
    paths, in declaration order."""
    return [(path, _WIDTH[f.type], f.count) for path, f in layouts.record(name).fields.items() if f.type not in NESTED]


def sample(path_index, width, count):
    """A value for a field that differs from its neighbours' in every byte."""
    if count is not None:
        return [(0x21 + path_index * 3 + i) & 0xFF for i in range(count)]
    return int.from_bytes(bytes((0x11 * (path_index % 15) + 1 + i) & 0xFF for i in range(width)), "little")


def owner(can, name, record, path):
    """(accessor prefix, object) of the field at `path`: through the views of
    the records declared in place."""
    *members, field = path.split(".")
    for member in members:
        record = getattr(can, f"{name}_{member}_get")(record)
        name = f"{name}_{member}"
    return f"{name}_{field}", record


def set_path(can, name, record, path, value):
    prefix, obj = owner(can, name, record, path)
    getattr(can, prefix + "_set")(obj, value)


def get_path(can, name, record, path):
    prefix, obj = owner(can, name, record, path)
    return getattr(can, prefix + "_get")(obj)


def filled(can, name, record):
    """Sets every field of `record` to its sample value; returns {path: value}."""
    values = {}
    for i, (path, width, count) in enumerate(scalar_fields(name)):
        values[path] = sample(i, width, count)
        set_path(can, name, record, path, values[path])
    return values


@pytest.fixture
def records():
    """Makes records of _qx_api_can by name and deletes them after the test."""
    import _qx_api_can as can
    made = []

    def make(name):
        record = getattr(can, "new_" + name)()
        made.append((name, record))
        return record
    yield make
    for name, record in made:
        getattr(can, "delete_" + name)(record)


@pytest.fixture
def tp():
    return TpControl()


@pytest.fixture
def take(port, qxt):
    """Takes a channel of a port (the test's port by default) through a u8_t
    cell; returns its number."""
    import _qx_api_can as can

    def take(on=None):
        cell = qxt.qxt_u8_array([0])
        assert can.Qx_Can_Tp_GetChannel(port if on is None else on, cell) is None
        return qxt.qxt_read_u8(cell, 1)[0]
    return take


@pytest.fixture
def channel(take):
    """A channel taken on the test's port."""
    return take()


@pytest.fixture
def logged(qxt):
    """The calls of the helper module's transport-protocol callbacks during
    the test (a function returning them, oldest first)."""
    qxt.qxt_tp_clear()
    yield qxt.qxt_tp_callback_calls
    qxt.qxt_tp_clear()
