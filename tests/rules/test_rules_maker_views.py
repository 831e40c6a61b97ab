"""A view follows the object that made its storage, whatever that object's
ownership flag says when the view is made.

The object made owning a block of storage (a record made by its
constructor, a storage array or cell) may give its ownership away: to a
record's pointer member, with disown(), or with `thisown = False` of its
proxy class; it takes it back with acquire(), own(True) or
`thisown = True`, and then frees the storage by its destructor or when it is
collected. A view made while it has given its ownership away keeps it alive
all the same, pins it while a call holds the view (a delete from inside
that call raises BufferError), and converts as a null address once the
storage is freed. The table crosses the kinds of view, how the ownership
went and came back, how the storage ends, and the uses of the view: every
combination either keeps the storage alive or refuses with a clear error,
and none reaches freed memory (which the sanitizer run reports)."""
import contextlib
import gc

import pytest

import _qx_api as q
import qxtest
from layouts import pack
from qxtest import Source, isolated, needs_buffer_protocol, raises_exactly

st = qxtest.module("_qx_storage")

UPDATE = "Qx_Interface_UpdateAllInterfaces"


def first_interface():
    """The bytes of the simulated device's first interface description."""
    record = q.Qx_Interface_GetInterfaceList(0, 1)[0]
    data = st.cdata(record, 40)
    q.delete_Qx_InterfaceData_t(record)
    return data


class Kind:
    """A kind of view: its maker (a proxy instance, or a storage array of its
    proxy class), the view made from it, the bytes the view reaches, the
    destructor of the maker's storage, a binding of the four modules that
    takes the view and an open port (returning what the round trip gave, or
    raising), and
    whether a pointer member takes the maker (`holds`) or the view
    (`member`)."""

    def __init__(self, name, make, view, size, delete, argument, holds=False, member=False):
        self.name, self.make, self.view, self.size, self.delete = name, make, view, size, delete
        self.argument, self.holds, self.member = argument, holds, member


def pointer(obj):
    """The pointer object behind a maker or a view (an array class's, a
    proxy instance's, or the object itself)."""
    return obj.cast() if hasattr(obj, "_count") else getattr(obj, "this", obj)


def data_record():
    import qx_api
    return qx_api.Qx_Data_t()


def int_cell():
    import qx_api
    return qx_api.int_p()


def interfaces():
    """Two records, each the description of the device's first interface
    (which the native side looks up)."""
    import qx_storage
    array = qx_storage.Qx_InterfaceData_t_array(2)
    st.memmove(array.cast(), first_interface() * 2)
    return array


def serial_number(view, port):
    """Qx_Interface_GetSerialNumber writes the serial into the cell."""
    q.Qx_Interface_GetSerialNumber(port, view)
    return st.cdata(view, 4)


def interface_name(view, port):
    """Qx_Interface_Name_Get reads the interface description."""
    return q.Qx_Interface_Name_Get(view)


def copied_into(member, size):
    """A member of an interface record set from the view copies its first
    `size` bytes (a u16_t value, a nested record): what it copied."""
    def copy(view, port):
        record = q.new_Qx_InterfaceData_t()
        try:
            getattr(q, f"Qx_InterfaceData_t_{member}_set")(record, view)
            return st.cdata(getattr(q, f"Qx_InterfaceData_t_{member}_get")(record), size)
        finally:
            q.delete_Qx_InterfaceData_t(record)
    return copy


KINDS = [
    Kind("member view", data_record, lambda m, h: q.Qx_Data_t_U16_get(m), 8, q.delete_Qx_Data_t,
         copied_into("TcpPort", 2)),
    Kind("cast", int_cell, lambda m, h: m.cast(), 4, q.delete_int_p, serial_number),
    Kind("frompointer", int_cell, lambda m, h: q.int_p_frompointer(m.cast()), 4, q.delete_int_p, serial_number),
    Kind("record-array item", interfaces, lambda m, h: st.Qx_InterfaceData_t_array_getitem(m.cast(), 1), 40,
         st.delete_Qx_InterfaceData_t_array, interface_name, holds=True, member=True),
    Kind("slice item", interfaces, lambda m, h: m[0:2][1], 40, st.delete_Qx_InterfaceData_t_array, interface_name,
         holds=True, member=True),
    Kind("list item", interfaces, lambda m, h: list(m)[1], 40, st.delete_Qx_InterfaceData_t_array, interface_name,
         holds=True, member=True),
    Kind("view of a view", interfaces, lambda m, h: q.Qx_InterfaceData_t_IpAddress_get(m[1]), 4,
         st.delete_Qx_InterfaceData_t_array, copied_into("SubNetMask", 4), holds=True),
    Kind("pointer member's getter", interfaces, lambda m, holder: holder.InterfaceData, 80,
         st.delete_Qx_InterfaceData_t_array, lambda view, port: st.cdata(view, 80), holds=True, member=True),
]


def update_command(data, count):
    import qx_api
    command = qx_api.Qx_Interface_UpdateAllInterfaces_Cmd_t()
    command.NumberOfInterfaces = count
    command.InterfaceData = data
    return command


# How the maker gives its ownership away (returning the record that holds
# it, if any), and takes it back.
AWAY = {
    "pointer member": lambda maker: update_command(maker, 2),
    "disown()": lambda maker: pointer(maker).disown(),
    "thisown = False": lambda maker: setattr(maker, "thisown", False),
}
BACK = {
    "acquire()": lambda maker: pointer(maker).acquire(),
    "own(True)": lambda maker: pointer(maker).own(True),
    "thisown = True": lambda maker: setattr(maker, "thisown", True),
}


def applies(kind, away, back):
    """The array classes have no `thisown`; only the interface arrays go to
    a pointer member, and the getter's view exists only once they did."""
    proxy = kind.make is not interfaces
    if ("thisown" in away or "thisown" in back) and not proxy:
        return False
    if away == "pointer member":
        return kind.holds
    return kind.name != "pointer member's getter"


def crossing(kind, ends=(None,)):
    """The combinations of the table that apply to the kind. A kind's run in
    one child process (the proxy modules register their classes there),
    each in `combination`, which names it in what a failure reports."""
    return [(away, back, end) for away in AWAY for back in BACK for end in ends if applies(kind, away, back)]


@contextlib.contextmanager
def combination(*names):
    try:
        yield
    except (KeyboardInterrupt, SystemExit):
        raise
    except BaseException as e:  # pytest's own failures (pytest.raises) included
        raise AssertionError(f"{', '.join(n for n in names if n)}: {type(e).__name__}: {e}") from e


def content(kind):
    """What the test writes into the view: a real interface description for
    an interface (the native side looks it up), else a pattern."""
    if kind.size % 40 == 0:
        return first_interface() * (kind.size // 40)
    return bytes(range(0x41, 0x41 + kind.size))


def refused_as_null(use):
    with pytest.raises(ValueError, match=r"^invalid null reference in method '\w+', argument \d of type"):
        use()


def update(sim, command):
    """Qx_Interface_UpdateAllInterfaces with the command: the native side
    received it, with the address its member holds."""
    q.Qx_Interface_UpdateAllInterfaces("fw.pkg", command)
    assert sim.last(UPDATE).arg(2).bytes == pack("Qx_Interface_UpdateAllInterfaces_Cmd_t",
                                                 NumberOfInterfaces=command.NumberOfInterfaces,
                                                 InterfaceData=int(pointer(command.InterfaceData)))


@isolated
@pytest.mark.parametrize("kind", KINDS, ids=lambda kind: kind.name)
def test_a_view_made_while_the_maker_gave_its_storage_away_follows_the_storage(sim, port, kind):
    for away, back, end in crossing(kind, ("destructor", "collection")):
        with combination(away, back, end):
            follows_the_storage(sim, port, kind, away, back, end)


def follows_the_storage(sim, port, kind, away, back, end):
    maker = kind.make()
    holder = AWAY[away](maker)
    view = kind.view(maker, holder)  # made while the maker owns nothing
    assert not pointer(maker).own() and not pointer(view).own()
    data = content(kind)
    st.memmove(view, data)
    assert st.cdata(view, kind.size) == data
    expected = kind.argument(view, port)
    data = st.cdata(view, kind.size)  # as the argument's native call left it
    commands = [holder] if holder else []
    if kind.member:
        # a pointer member set from the view: the getter and the check before
        # the native call know the storage behind it
        commands.append(update_command(view, 1))
        assert st.cdata(commands[-1].InterfaceData, 40) == data[:40]
    for command in commands:
        update(sim, command)
    BACK[back](maker)
    assert pointer(maker).own()
    if end == "destructor":
        kind.delete(pointer(maker))
        assert int(pointer(maker)) == 0
        calls = sim.calls("Qx_Interface_Name_Get") + sim.calls("Qx_Interface_GetSerialNumber")
        refused_as_null(lambda: st.cdata(view, 1))
        refused_as_null(lambda: st.memmove(view, b"\x00"))
        refused_as_null(lambda: kind.argument(view, port))
        assert sim.calls("Qx_Interface_Name_Get") + sim.calls("Qx_Interface_GetSerialNumber") == calls
    else:
        del maker
        gc.collect()
        # the view keeps the storage: reads, writes and the native side see it
        assert st.cdata(view, kind.size) == data
        st.memmove(view, data)
        assert kind.argument(view, port) == expected
        for command in commands:
            update(sim, command)
        del view
        gc.collect()  # the last view gone: the storage is freed
    # storage freed since the member was set reaches nothing
    calls = sim.calls(UPDATE)
    for command in commands:
        with raises_exactly(ValueError, f"too few bytes given for the call in method '{UPDATE}', argument 2 of type "
                                        "'Qx_Interface_UpdateAllInterfaces_Cmd_t const *const'"):
            q.Qx_Interface_UpdateAllInterfaces("fw.pkg", command)
        refused_as_null(lambda: command.InterfaceData.PortNumber)
    assert sim.calls(UPDATE) == calls


@needs_buffer_protocol
@isolated
@pytest.mark.parametrize("kind", KINDS, ids=lambda kind: kind.name)
def test_a_delete_from_inside_a_call_holding_such_a_view_is_refused(kind):
    for away, back, _ in crossing(kind):
        with combination(away, back):
            refused_inside_a_call(kind, away, back)


def refused_inside_a_call(kind, away, back):
    maker = kind.make()
    holder = AWAY[away](maker)
    view = kind.view(maker, holder)
    seen = []

    def take_back_and_delete():
        BACK[back](maker)
        try:
            kind.delete(pointer(maker))
        except BufferError as e:
            seen.append(str(e))

    data = bytes(range(1, kind.size + 1))
    st.memmove(view, Source(data, take_back_and_delete))
    assert len(seen) == 1 and seen[0].startswith("storage in use by a call in progress in method 'delete_")
    assert st.cdata(view, kind.size) == data  # written into live storage
    kind.delete(pointer(maker))  # the call returned: it frees now
    refused_as_null(lambda: st.cdata(view, 1))
