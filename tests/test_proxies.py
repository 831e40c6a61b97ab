"""SWIG's proxy modules over the modules, as a test engineer's library puts
them: the build writes one beside each module's wrapper
(<build>/<name>/py/<name>.py), whose classes attach themselves through
R_swigregister and R_swiginit and whose properties are the record accessors.

Every record class of every proxy module is driven from the proxy module
itself (its classes and their properties); each property's member is found in
the layout tables (api/<key>/layout.txt) and its rule in
tests/<key>/<key>_member_rules.py:
- an instance is made, every property is read, then set with a value of its
  kind (an int of its width, a list, a text, a pointer object of its type,
  another record, the getter's own result back); the value and the record's
  bytes are read back, and no byte beside the member changes;
- a record member is written through (parent.Member.Field = v reaches the
  parent), also on a temporary (R().Member.Field = v), and a member outlives
  its parent; a member that the module returns as a copy (the
  Qx_Common_Signal_t members of _qx_api_can) leaves its parent as it was;
- the instance goes with del, freed by its class's destructor: no leak
  warning.
Under a debug interpreter the second sweep over a module's classes must leave
the total reference count as it was.

Importing a proxy module registers its classes for the rest of the process,
so every test here runs in a forked child (qxtest.isolated) that imports the
proxy modules of all built modules.
"""
import ctypes
import functools
import gc
import importlib
import os
import reprlib
import sys

import pytest

import layouts
import qxtest
from qxtest import isolated

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
DEBUG_INTERPRETER = hasattr(sys, "gettotalrefcount")

# {key: proxy module name} of the built modules, in registry order.
PROXIES = {key: module[1:] for key, module in qxtest.registry().items() if module in qxtest.built_modules()}

def import_proxies():
    """{key: proxy module} of every built module, imported as a library over
    the modules would: by name, from the folder the build wrote it to."""
    for name in PROXIES.values():
        folder = qxtest.proxy_folder("_" + name)
        if folder not in sys.path:
            sys.path.insert(0, folder)
    return {key: importlib.import_module(name) for key, name in PROXIES.items()}


def proxy_classes(proxy):
    """The classes of a proxy module that stand for a native type (records
    and the pointer classes): those with a destructor."""
    return [obj for obj in vars(proxy).values()
            if isinstance(obj, type) and obj.__module__ == proxy.__name__ and "__swig_destroy__" in vars(obj)]


def properties(cls):
    return [name for name, value in vars(cls).items() if isinstance(value, property) and name != "thisown"]


@functools.lru_cache(maxsize=None)
def in_layout():
    """{class name: (record, path)}: the records of the layout tables, and
    the records declared in place inside them (path: where, in the record)."""
    found = {}
    for key in PROXIES:
        if not os.path.exists(os.path.join(ROOT, "api", key, "layout.txt")):
            continue
        for name in layouts.library_records(key):
            found[name] = (name, "")
            for field in layouts.record(name).fields.values():
                if field.type in layouts.NESTED:
                    found[f"{name}_{field.path.replace('.', '_')}"] = (name, field.path)
    return found


def pattern(size, seed=1):
    """`size` bytes, none of them zero, that differ with `seed`."""
    return bytes((i * 7 + seed) % 200 + 1 for i in range(size))


def address(obj):
    return int(obj.this)


def raw(obj, size):
    return ctypes.string_at(address(obj), size)


def fill(obj, data):
    ctypes.memmove(address(obj), data, len(data))


class Member:
    """Property `name` of a proxy class of library `key` standing for
    (record, prefix), and the member it reads and writes."""

    def __init__(self, key, record, prefix, name):
        path = f"{prefix}.{name}" if prefix else name
        self.label = f"{record}.{path}"
        self.field = layouts.record(record).fields[path]
        self.offset = layouts.offset(record, path) - (layouts.offset(record, prefix) if prefix else 0)
        self.size = layouts.size(record, path)
        self.width = self.size // (self.field.count or 1)
        self.name = name
        kind = self.field.type + ("[]" if self.field.count is not None else "")
        if self.field.type in layouts.NESTED:
            self.rule = "in place"
        elif layouts.is_record(self.field.type):
            self.rule = "record"
        else:
            self.rule = qxtest.member_rules(key)[kind]

    def value(self, qxt, seed=1):
        """(a value of the member's kind, the bytes it stores, what the getter
        reads back; None: nothing to compare beyond the bytes)."""
        stored = pattern(self.size, seed)
        if self.rule.startswith("unsigned") or self.rule == "size":
            read = int.from_bytes(stored[:self.width], "little")
            return read, stored, read
        if self.rule == "list":
            read = [int.from_bytes(stored[i:i + self.width], "little") & 0x7FFFFFFF
                    for i in range(0, self.size, self.width)]
            return read, b"".join(v.to_bytes(self.width, "little") for v in read), read
        if self.rule == "text":
            read = ("proxy " * self.size)[:self.size - 1]
            return read, read.encode().ljust(self.size, b"\0"), read
        if self.rule == "pointer":
            return None, bytes(self.size), None
        # by_pointer, record: a pointer object of the member's type holding the bytes
        value = qxt.qxt_view_of(layouts.C_TYPES.get(self.field.type, self.field.type) + " *", stored)
        read = None
        if self.field.type in ("u8", "u32") and self.field.count:
            read = [int.from_bytes(stored[i:i + self.width], "little") for i in range(0, self.size, self.width)]
        return value, stored, read


class Proxies:
    """The imported proxy modules, with what the tests know of their classes."""

    def __init__(self):
        self.modules = import_proxies()
        self.classes = {}  # class -> (key, record, prefix)
        self.by_record = {}  # record type name -> class
        known = in_layout()
        for key, proxy in self.modules.items():
            for cls in proxy_classes(proxy):
                if cls.__name__ in known:
                    record, prefix = known[cls.__name__]
                    self.classes[cls] = (key, record, prefix)
                    self.by_record[cls.__name__] = cls

    def size(self, cls):
        key, record, prefix = self.classes[cls]
        if not prefix:
            return layouts.size(record)
        return layouts.size(record, prefix) // (layouts.record(record).fields[prefix].count or 1)

    def members(self, cls):
        key, record, prefix = self.classes[cls]
        return [Member(key, record, prefix, name) for name in properties(cls)]

    def plain_member(self, cls):
        """A member of `cls` set with a plain Python value (an int, a list or
        a text), if it has one."""
        for member in self.members(cls):
            if member.rule.startswith("unsigned") or member.rule in ("list", "text"):
                return member
        return None


def check_class(proxies, cls, qxt):
    """The faults found in class `cls`: each property read, set and read back
    on one instance, then the members that are records written through."""
    faults = []
    size = proxies.size(cls)
    inst = cls()
    want = bytearray(size)
    if raw(inst, size) != want:
        faults.append(f"{cls.__name__}(): not zero")
    for member in proxies.members(cls):
        try:
            got = getattr(inst, member.name)
            if member.rule == "in place":
                check_view(proxies, cls, member, got, faults)
                continue
            value, stored, read = member.value(qxt)
            setattr(inst, member.name, value)
            want[member.offset:member.offset + member.size] = stored
            if raw(inst, size) != want:
                faults.append(f"{member.label}: set {value!r}, the record holds other bytes")
            if read is not None and getattr(inst, member.name) != read:
                faults.append(f"{member.label}: set {value!r}, reads back {getattr(inst, member.name)!r}")
            if member.rule in ("by_pointer", "record"):
                check_by_copy(proxies, cls, member, inst, stored, faults)
            if member.rule == "record":
                check_view(proxies, cls, member, getattr(inst, member.name), faults)
        except Exception as error:  # noqa: BLE001 (reported with the member)
            faults.append(f"{member.label}: {type(error).__name__}: {error}")
    del inst
    return faults


def check_by_copy(proxies, cls, member, inst, stored, faults):
    """Members taken from a pointer object: the getter's own result goes back
    into another instance, and a named record also takes another record of its
    class."""
    sources = []
    got = getattr(inst, member.name)
    if not isinstance(got, list):
        sources.append(("the getter's own result", got))
    if member.rule == "record" and member.field.count is None:
        other = proxies.by_record[member.field.type]()
        fill(other, stored)
        sources.append((f"another {member.field.type}", other))
    for what, source in sources:
        target = cls()
        setattr(target, member.name, source)
        if raw(target, proxies.size(cls))[member.offset:member.offset + member.size] != stored:
            faults.append(f"{member.label}: set from {what}, the record holds other bytes")


def check_view(proxies, cls, member, got, faults):
    """`got`, what the getter of a record member returned: an instance of the
    member's registered class (a list of them for the list of views of an
    array member). Writing through it reaches the parent, unless the module
    returns the member as a copy (then the parent stays as it was); through a
    temporary parent it writes into storage that stays alive as long as the
    view."""
    views = got if isinstance(got, list) else [got]
    strays = [view for view in views if type(view) not in proxies.classes]
    if strays:
        faults.append(f"{member.label}: the getter returned {reprlib.repr(strays)}, no instance of a registered class")
        return
    kind = type(views[0])
    inner = proxies.plain_member(kind)
    if inner is None:
        return
    value, stored, read = inner.value(None, seed=3)
    step = proxies.size(kind)
    for index in sorted({0, len(views) - 1}):
        parent = cls()
        before = raw(parent, proxies.size(cls))
        view = element(getattr(parent, member.name), index)
        setattr(view, inner.name, value)
        after = raw(parent, proxies.size(cls))
        start = member.offset + index * step + inner.offset
        label = f"{member.label}[{index}].{inner.name}" if isinstance(got, list) else f"{member.label}.{inner.name}"
        if view.thisown and after != before:
            faults.append(f"{label}: a write through the copy reached the parent")
        if not view.thisown and after[start:start + inner.size] != stored:
            faults.append(f"{label} = {value!r} did not reach the parent")
        setattr(element(getattr(cls(), member.name), index), inner.name, value)  # on a temporary: harmless
        alive = element(getattr(cls(), member.name), index)
        gc.collect()
        setattr(alive, inner.name, value)
        if getattr(alive, inner.name) != read:
            faults.append(f"{label}: the member of a collected parent reads back otherwise")


def element(got, index):
    return got[index] if isinstance(got, list) else got


def sweep(proxies, key, qxt):
    faults = []
    for cls, (owner, _, _) in proxies.classes.items():
        if owner == key:
            faults += check_class(proxies, cls, qxt)
    gc.collect()
    return faults


# ---- every record class -------------------------------------------------------

@pytest.mark.parametrize("key", list(PROXIES))
@isolated
def test_every_record_class_reads_writes_and_frees_its_members(capfd, qxt, key):
    proxies = Proxies()
    proxy = proxies.modules[key]
    unknown = [cls.__name__ for cls in proxy_classes(proxy) if cls not in proxies.classes
               and cls.__name__ not in ("int_p", "char_p")]
    assert not unknown, f"classes of {proxy.__name__} that the layout tables lack: {unknown}"
    assert any(owner == key for owner, _, _ in proxies.classes.values()) or not layouts.library_records(key)
    qxtest.drained(capfd)
    faults = sweep(proxies, key, qxt)
    assert not faults, "\n".join(faults)
    if DEBUG_INTERPRETER:
        # The first sweep filled the interpreter's caches; a reference lost
        # in any property's round trip shows in the second.
        before = sys.gettotalrefcount()
        sweep(proxies, key, qxt)
        assert sys.gettotalrefcount() - before <= 10
    assert "memory leak" not in qxtest.c_stdout(capfd)


@isolated
def test_pointer_classes_hold_their_value():
    base = import_proxies()["base"]
    cell = base.int_p()
    cell.assign(0xFFFFFFFF)
    assert cell.value() == 0xFFFFFFFF
    assert base.int_p.frompointer(cell.cast()).value() == 0xFFFFFFFF
    char = base.char_p()
    char.assign("A")
    assert char.value() == "A"
    assert isinstance(base.int_p.frompointer(cell.cast()), base.int_p)


# ---- objects the bindings return ------------------------------------------------

def can_port(base):
    info = base.Qx_InterfaceInfo_t()
    info.Type = base.QX_INTERFACE_TYPE__CAN
    return base.Qx_OpenInterface(info)


@isolated
def test_list_outputs_are_instances_of_the_registered_classes(capfd):
    modules = import_proxies()
    base = modules["base"]
    interfaces = base.Qx_Interface_GetInterfaceList(0, 4)
    assert interfaces and all(type(item) is base.Qx_InterfaceData_t for item in interfaces)
    assert len({address(item) for item in interfaces}) == len(interfaces)
    if "can" in modules:
        can = modules["can"]
        port = can_port(base)
        can.Qx_Can_Monitor_BufferMode_Start(port, 1, 100)
        can.Qx_Can_TxFifo_QueueMsg(port, 0x123, [1, 2, 3], 3)
        items = can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, 4)
        assert [type(item) for item in items] == [can.Qx_Can_Monitor_BufferItem_t]
        assert (items[0].Id, items[0].Dlc, items[0].Data[:3]) == (0x123, 3, [1, 2, 3])
        assert type(can.Qx_Can_Node_GetState(port, 0)) is can.Qx_Can_Node_GetState_Rsp_t
        del items
    if "trovix" in modules:
        trovix = modules["trovix"]
        info = base.Qx_InterfaceInfo_t()
        info.Type = base.QX_INTERFACE_TYPE__TROVIX
        info.Parameters.ControllerNumber = 2
        port = base.Qx_OpenInterface(info)
        trovix.Qx_Trovix_InitInterface(port, 0)
        trovix.Qx_Trovix_Signal_Config(port, "signal=Speed,bits=16;signal=Gear,bits=8")
        signals = trovix.Qx_Trovix_Signal_GetSignalList(port, 4)
        assert [type(item) for item in signals] == [trovix.Qx_Trovix_SignalInfo_t] * 2
        assert [item.Name for item in signals] == ["Speed", "Gear"]
        del signals
    del interfaces
    gc.collect()
    assert "memory leak" not in qxtest.c_stdout(capfd)


@isolated
def test_a_record_of_one_proxy_module_is_accepted_by_another(sim):
    modules = import_proxies()
    base = modules["base"]
    if "common" in modules:
        common = modules["common"]
        count = base.int_p()
        count.assign(1)
        adapter = base.Qx_Ethernet_AdapterInfo_t()
        common.Qx_Common_Ethernet_GetNetworkAdapterInfo(count, adapter)
        assert sim.last("Qx_Common_Ethernet_GetNetworkAdapterInfo").arg(2).value == address(adapter)
        assert adapter.IpAddress.All != 0
    if "can" in modules and "common" in modules:
        can = modules["can"]
        signal = modules["common"].Qx_Common_Signal_t()
        signal.Size, signal.ByteOrder = 12, 1
        ramp = can.Qx_Can_CyclicMsgs_Ramp_Define_Parameters_t()
        ramp.Id, ramp.Signal, ramp.MaxValue = 0x123, signal, 200
        assert type(ramp.Signal) is modules["common"].Qx_Common_Signal_t
        assert (ramp.Signal.Size, ramp.Signal.ByteOrder) == (12, 1)
        ramp.Signal.Size = 5  # a copy: the record keeps its member
        assert ramp.Signal.Size == 12
        port = can_port(base)
        can.Qx_Can_CyclicMsgs_DefineMsg(port, 0x123, 100, 0, 1, 0, [0] * 8, 8)
        can.Qx_Can_CyclicMsgs_Ramp_Define(port, ramp)
        assert sim.last("Qx_Can_CyclicMsgs_Ramp_Define").arg(2).bytes == raw(ramp, layouts.size(type(ramp).__name__))
        can.Qx_Can_CyclicMsgs_Ramp_Delete(port, 0x123, signal)
        assert sim.last("Qx_Can_CyclicMsgs_Ramp_Delete").arg(3).bytes == raw(signal, 4)
