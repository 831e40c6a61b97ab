"""The pointer-object runtime: registered classes, destructors, chains and
"this", deleted records, comparisons, objects that only look like pointer
objects, and allocation failures.

Registration changes the type table for the rest of the process and a
fault here can crash the interpreter, so most tests run in a forked child
(`isolated`): a crash, an abort or a hang fails that test only.
"""
import gc
import sys

import pytest

import _qx_api as q
import qxtest
from qxtest import drained, isolated, raises_exactly

can = qxtest.module("_qx_api_can")


class Proxy:
    """What a Python layer does with the registration entries."""

    def __init__(self, this):
        self.this = this


class Refused(Exception):
    pass


def interface_list(count):
    return q.Qx_Interface_GetInterfaceList(0, count)


def monitor_items(port, count, start=True):
    if start:
        can.Qx_Can_Monitor_BufferMode_Start(port, 1, 100)
    for id_ in range(count):
        can.Qx_Can_TxFifo_QueueMsg(port, id_, [id_], 1)
    return can.Qx_Can_Monitor_BufferMode_GetItems(port, 0, count)


LISTS = [
    pytest.param(lambda port: interface_list(3), q.Qx_InterfaceData_t_swigregister, q.delete_Qx_InterfaceData_t,
                 id="interface list"),
    pytest.param(lambda port: monitor_items(port, 3), can.Qx_Can_Monitor_BufferItem_t_swigregister,
                 can.delete_Qx_Can_Monitor_BufferItem_t, id="monitor items"),
]


# ---- registered classes whose instances cannot be made -------------------------------

def refusing_new(made):
    def __new__(cls):
        if len(made) == 1:  # the second record's instance fails
            raise Refused("no instance")
        instance = object.__new__(cls)
        made.append(instance)
        return instance
    return staticmethod(__new__)


def refusing_setattr(made):
    def __setattr__(self, name, value):
        if made:
            raise Refused(f"no {name}")
        made.append(self)
        object.__setattr__(self, name, value)
    return __setattr__


@pytest.mark.parametrize("make_list, register, delete", LISTS)
@pytest.mark.parametrize("hook, refuser", [("__new__", refusing_new), ("__setattr__", refusing_setattr)])
@isolated
def test_list_output_raises_the_class_exception_and_frees_each_record_once(capfd, port, make_list, register, delete,
                                                                           hook, refuser):
    drained(capfd)
    made, freed = [], []

    def destroy(record):
        freed.append(int(record))
        delete(record)

    register(type("Record", (Proxy,), {hook: refuser(made), "__swig_destroy__": destroy}))
    with raises_exactly(Refused, "no instance" if hook == "__new__" else "no this"):
        make_list(port)
    assert len(made) == 1
    made.clear()  # the first record's instance: the only one made, freed through the class
    gc.collect()
    assert len(freed) == 1 and freed[0] != 0
    assert "memory leak" not in qxtest.c_stdout(capfd)


@isolated
def test_a_failed_instance_leaves_an_escaped_pointer_object_holding_nothing(capfd):
    drained(capfd)
    kept = []

    def __setattr__(self, name, value):
        kept.append(value)
        raise Refused("kept it")

    q.Qx_InterfaceData_t_swigregister(type("Record", (Proxy,), {"__setattr__": __setattr__,
                                                                "__swig_destroy__": q.delete_Qx_InterfaceData_t}))
    with raises_exactly(Refused, "kept it"):
        interface_list(1)
    escaped, = kept
    assert int(escaped) == 0 and not escaped.own()
    with raises_exactly(ValueError, "invalid null reference in method 'Qx_InterfaceData_t_Serial_get', "
                                    "argument 1 of type 'Qx_InterfaceData_t *'"):
        q.Qx_InterfaceData_t_Serial_get(escaped)


@isolated
def test_registered_class_instances_look_as_before():
    class Record(Proxy):
        __swig_destroy__ = q.delete_Qx_InterfaceData_t

    plain = [q.Qx_InterfaceData_t_InterfaceType_get(r) for r in qxtest.owned(interface_list(3))]
    q.Qx_InterfaceData_t_swigregister(Record)
    records = interface_list(3)
    assert [type(r) for r in records] == [Record] * 3
    assert [list(vars(r)) for r in records] == [["this"]] * 3
    assert [r.this.own() for r in records] == [True] * 3
    assert [q.Qx_InterfaceData_t_InterfaceType_get(r) for r in records] == plain
    # a __new__ of the class's own is still called with the class alone
    calls = []

    class Counted(Proxy):
        def __new__(cls, *args):
            calls.append(args)
            return object.__new__(cls)

    q.Qx_InterfaceData_t_swigregister(Counted)
    counted = interface_list(2)
    assert [type(r) for r in counted] == [Counted] * 2
    assert calls == [(), ()]
    for r in records + counted:  # the class that replaced Record has no destructor
        q.delete_Qx_InterfaceData_t(r)


# ---- __swig_destroy__ ----------------------------------------------------------------

@pytest.mark.parametrize("destroy, name", [(5, "int"), (None, "NoneType"), ("delete_Qx_Data_t", "str")])
@isolated
def test_destructor_that_is_not_callable_is_refused_at_registration(destroy, name):
    with raises_exactly(TypeError, f"__swig_destroy__ must be callable, not '{name}'"):
        q.Qx_Data_t_swigregister(type("Record", (Proxy,), {"__swig_destroy__": destroy}))
    data = q.Qx_Data_t_U8_get(qxtest.new_record(q, "Qx_Data_t"))  # nothing was registered
    assert data == [0] * 8


@pytest.mark.parametrize("destroy, raised", [
    (int, None), (len, "object of type 'SwigPyObject' has no len()"), (lambda record: None, None),
    (lambda record: 1 / 0, "division by zero"),
], ids=["type", "builtin", "function", "raising function"])
@isolated
def test_any_callable_destructor_is_called_through_the_interpreter(capfd, monkeypatch, destroy, raised):
    drained(capfd)
    unraisable = []
    monkeypatch.setattr(sys, "unraisablehook", unraisable.append)
    q.Qx_InterfaceData_t_swigregister(type("Record", (Proxy,), {"__swig_destroy__": destroy}))
    records = interface_list(2)
    del records
    gc.collect()
    assert "memory leak" not in qxtest.c_stdout(capfd)
    # an exception of the destructor is reported as unraisable, nothing else happens
    assert [str(u.exc_value) for u in unraisable] == ([raised] * 2 if raised else [])


@isolated
def test_destructor_that_keeps_the_object_does_not_get_it_freed():
    keep = []
    q.Qx_InterfaceData_t_swigregister(type("Record", (Proxy,), {"__swig_destroy__": keep.append}))
    record = q.new_Qx_InterfaceData_t()
    q.Qx_InterfaceData_t_Serial_set(record, 4711)
    address = int(record)
    del record
    gc.collect()
    kept, = keep
    assert int(kept) == address and kept.own()
    assert q.Qx_InterfaceData_t_Serial_get(kept) == 4711  # still a live record
    q.delete_Qx_InterfaceData_t(kept)
    keep.clear()  # owns nothing now: no second call
    assert keep == []


@isolated
def test_python_destructor_gets_the_dying_object_and_frees_through_the_binding(capfd):
    drained(capfd)
    seen = []

    def destroy(record):
        seen.append((int(record), record.own()))
        q.delete_Qx_Data_t(record)

    q.Qx_Data_t_swigregister(type("Record", (Proxy,), {"__swig_destroy__": destroy}))
    record = q.new_Qx_Data_t()  # plain, owned
    address = int(record)
    del record
    gc.collect()
    assert seen == [(address, True)]
    assert "memory leak" not in qxtest.c_stdout(capfd)


# ---- cycles through "this" and append -----------------------------------------------

class Bare:
    pass


def self_this():
    bare = Bare()
    bare.this = bare
    return bare


def mutual_this():
    first, second = Bare(), Bare()
    first.this, second.this = second, first
    return first


@pytest.mark.parametrize("make", [self_this, mutual_this])
@isolated
def test_this_that_leads_back_converts_as_no_record(make):
    with raises_exactly(TypeError, "in method 'Qx_Data_t_U8_get', argument 1 of type 'Qx_Data_t *'"):
        q.Qx_Data_t_U8_get(make())


@isolated
def test_append_refuses_a_cycle():
    first, second, third = qxtest.new_record(q, "Qx_Data_t"), qxtest.new_record(q, "Qx_Data_t"), \
        qxtest.new_record(q, "int_p")
    first.append(second)
    first.append(third)  # first -> third -> second
    for head, link in [(first, first), (first, second), (first, third), (second, second), (third, second)]:
        with raises_exactly(TypeError, "Attempt to append a SwigPyObject already in the chain"):
            head.append(link)
    assert first.next() is third and third.next() is second and second.next() is None
    assert repr(first) == "".join(f"<Swig Object of type '{t}' at 0x{id(o):x}>"
                                  for t, o in [("Qx_Data_t *", first), ("int_p *", third), ("Qx_Data_t *", second)])
    assert repr(first) == first.__repr__()


@isolated
def test_swiginit_refuses_a_this_that_leads_back_to_the_instance():
    proxy = Bare()
    with raises_exactly(TypeError, "Attempt to set a 'this' that leads back to the instance"):
        q.Qx_Data_t_swiginit(proxy, proxy)
    other = Bare()
    other.this = proxy
    with raises_exactly(TypeError, "Attempt to set a 'this' that leads back to the instance"):
        q.Qx_Data_t_swiginit(proxy, other)
    record = qxtest.new_record(q, "Qx_Data_t")
    q.Qx_Data_t_swiginit(proxy, record)
    with raises_exactly(TypeError, "Attempt to append a SwigPyObject already in the chain"):
        q.Qx_Data_t_swiginit(proxy, record)
    assert proxy.this is record and record.next() is None


@isolated
def test_long_chain_is_shown_and_collected_without_recursion(capfd):
    drained(capfd)
    head = tail = q.new_Qx_Data_t()
    for _ in range(200000):
        link = q.new_int_p()
        tail.append(link)
        tail = link
    del tail, link
    assert repr(head).count("<Swig Object of type 'int_p *'") == 200000
    del head
    gc.collect()
    # no class is registered: every link, collected owning its record, says so
    out = qxtest.c_stdout(capfd)
    assert out.count("swig/python detected a memory leak of type 'int_p *', no destructor found.\n") == 200000
    assert out.count("memory leak") == 200001 and out.count("of type 'Qx_Data_t *'") == 1


# ---- "this" made on access -------------------------------------------------------------

@isolated
def test_this_made_on_access_lives_while_it_is_converted():
    adapter = qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t")

    class Lazy:
        @property
        def this(self):
            return q.Qx_Ethernet_AdapterInfo_t_Mask_get(adapter)  # a new view every time

    q.Qx_IpAddress_t_All_set(Lazy(), 0x0A0B0C0D)
    assert q.Qx_IpAddress_t_All_get(Lazy()) == 0x0A0B0C0D
    assert q.Qx_IpAddress_t_All_get(q.Qx_Ethernet_AdapterInfo_t_Mask_get(adapter)) == 0x0A0B0C0D


# ---- comparisons and objects that look like pointer objects ----------------------------

def test_comparing_with_other_objects_is_not_implemented():
    record, other, cell = qxtest.new_record(q, "Qx_Data_t"), qxtest.new_record(q, "Qx_Data_t"), \
        qxtest.new_record(q, "int_p")
    assert (record == object()) is False and (record != object()) is True
    assert record != 5 and record != "x" and not (record == b"\0" * 64)
    assert record.__eq__(object()) is NotImplemented and record.__ne__(b"x" * 64) is NotImplemented
    assert record.__eq__(q.int_p_cast(qxtest.new_record(q, "int_p"))) is False
    assert record != other and record == record
    assert q.int_p_cast(cell) == cell  # another type at the same address


# ---- arguments of the pointer-object methods -------------------------------------------

def failing_truth(method, result):
    def fail(self):
        if isinstance(result, Exception):
            raise result
        return result
    return type(f"Failing{method}", (), {method: fail})()


@pytest.mark.parametrize("flag, exc, message", [
    pytest.param(failing_truth("__bool__", Refused("no truth")), Refused, "no truth", id="bool raises"),
    pytest.param(failing_truth("__bool__", 1), TypeError, "__bool__ should return bool, returned int", id="bool int"),
    pytest.param(failing_truth("__len__", Refused("no length")), Refused, "no length", id="len raises"),
    pytest.param(failing_truth("__len__", -1), ValueError, "__len__() should return >= 0", id="len negative"),
])
@pytest.mark.parametrize("owns", [True, False])
def test_own_propagates_the_exception_of_a_failed_truth_test(flag, exc, message, owns):
    record = qxtest.new_record(q, "Qx_Data_t")
    record.own(owns)
    with raises_exactly(exc, message):
        record.own(flag)
    assert record.own() is owns
    record.own(True)  # freed when the test ends


class Hostile:
    """An argument each of whose special methods raises."""

    def _refuse(self, *args):
        raise Refused("touched")

    __bool__ = __len__ = __eq__ = __ne__ = __index__ = __int__ = __hash__ = __repr__ = _refuse

    def __getattribute__(self, name):
        raise Refused("touched")


@pytest.mark.parametrize("method, exc, message", [
    ("own", Refused, "touched"),  # the truth test is the argument's own: its exception propagates
    ("append", TypeError, "Attempt to append a non SwigPyObject"),
    ("__eq__", None, NotImplemented),
    ("__ne__", None, NotImplemented),
    *((name, TypeError, f"SwigPyObject.{name}() takes no arguments (1 given)")
      for name in ("disown", "acquire", "next", "__repr__")),
])
@pytest.mark.parametrize("name", qxtest.built_modules())
def test_every_method_given_a_raising_argument_raises_or_declines(name, method, exc, message):
    """A method that takes an argument tests it through the interpreter and
    lets its exception propagate (own), or never touches it; the others take
    none. Either way the object is left as it was."""
    module = qxtest.module(name)
    # The module's first record, or its first cell where it has no records
    # (the storage module): an object that owns its storage.
    made = (key[len("new_"):] for key in vars(module) if key.startswith("new_"))
    record = qxtest.new_record(module, next(kind for kind in made if hasattr(module, kind + "_swigregister")
                                            or hasattr(module, kind + "_assign")))
    call = getattr(record, method)
    if exc is None:
        assert call(Hostile()) is message
    else:
        with raises_exactly(exc, message):
            call(Hostile())
    assert record.own() is True and int(record) != 0 and record.next() is None


class SwigPyObject:
    pass


class SwigPyObjectBytes(bytes):
    pass


SwigPyObjectBytes.__name__ = SwigPyObjectBytes.__qualname__ = "SwigPyObject"


@pytest.mark.parametrize("fake", [SwigPyObject(), SwigPyObjectBytes(b"\xff" * 64)], ids=["class", "bytes"])
@isolated
def test_objects_named_like_pointer_objects_are_no_records(fake):
    holder = Bare()
    holder.this = fake
    for value in (fake, holder):
        with raises_exactly(TypeError, "in method 'Qx_Data_t_U8_get', argument 1 of type 'Qx_Data_t *'"):
            q.Qx_Data_t_U8_get(value)
        with raises_exactly(TypeError, "Attempt to append a non SwigPyObject"):
            qxtest.new_record(q, "Qx_Data_t").append(value)
    assert (qxtest.new_record(q, "Qx_Data_t") == fake) is False


def test_pointer_objects_of_other_modules_are_recognised(sim, qxt):
    view = qxt.qxt_u8_array([1, 2, 3, 4, 5, 6, 7, 8])  # made by the test-helper module
    data = qxtest.new_record(q, "Qx_Data_t")
    q.Qx_Data_t_U8_set(data, view)
    assert q.Qx_Data_t_U8_get(data) == [1, 2, 3, 4, 5, 6, 7, 8]
    cell = qxtest.new_record(q, "int_p")
    q.int_p_assign(cell, 7)
    assert qxt.qxt_read_u32(q.int_p_cast(cell), 1) == [7]


# ---- deleting -----------------------------------------------------------------------------

@isolated
def test_delete_through_a_chain_frees_exactly_the_link_that_converted(capfd):
    drained(capfd)
    for register, delete in [(q.Qx_IpAddress_t_swigregister, q.delete_Qx_IpAddress_t),
                             (q.Qx_Data_t_swigregister, q.delete_Qx_Data_t), (q.int_p_swigregister, q.delete_int_p)]:
        register(type("Record", (Proxy,), {"__swig_destroy__": delete}))
    head = q.new_Qx_IpAddress_t()
    appended = q.new_Qx_Data_t()
    head.append(appended)
    q.delete_Qx_Data_t(head)  # converts through the appended link
    assert head.own() and not appended.own() and int(appended) == 0
    q.Qx_IpAddress_t_All_set(head, 5)  # the head still owns a live record
    assert q.Qx_IpAddress_t_All_get(head) == 5
    cell = q.new_int_p()
    chained = q.new_Qx_Data_t()
    chained.append(cell)
    q.delete_int_p(chained)
    assert chained.own() and not cell.own()
    proxy = Bare()
    first, second = q.new_Qx_Data_t(), q.new_Qx_Data_t()
    q.Qx_Data_t_swiginit(proxy, first)
    q.Qx_Data_t_swiginit(proxy, second)
    q.delete_Qx_Data_t(proxy)  # the first link converts: only its record is freed
    assert (first.own(), int(first), second.own()) == (False, 0, True)
    del head, appended, chained, cell, proxy, first, second
    gc.collect()
    assert "memory leak" not in qxtest.c_stdout(capfd)


@pytest.mark.parametrize("call, binding, rtype", [
    (lambda r: q.Qx_IpAddress_t_All_set(r, 5), "Qx_IpAddress_t_All_set", "Qx_IpAddress_t *"),
    (lambda r: q.Qx_IpAddress_t_All_get(r), "Qx_IpAddress_t_All_get", "Qx_IpAddress_t *"),
    (lambda r: q.Qx_IpAddress_t_Byte_get(r), "Qx_IpAddress_t_Byte_get", "Qx_IpAddress_t *"),
])
@isolated
def test_a_deleted_record_is_refused_by_every_accessor(call, binding, rtype):
    record = q.new_Qx_IpAddress_t()
    proxy = Proxy(q.new_Qx_IpAddress_t())
    for value in (record, proxy):
        q.delete_Qx_IpAddress_t(value)
        with raises_exactly(ValueError, f"invalid null reference in method '{binding}', argument 1 of type '{rtype}'"):
            call(value)
        q.delete_Qx_IpAddress_t(value)  # deleting again is harmless
    assert q.Qx_IpAddress_t_All_set(None, 5) is None  # None still stores nothing


@pytest.mark.parametrize("call, binding, message_type", [
    (lambda c: q.int_p_assign(c, 1), "int_p_assign", "int_p *"),
    (lambda c: q.int_p_value(c), "int_p_value", "int_p *"),
    (lambda c: q.int_p_cast(c), "int_p_cast", "int_p *"),
])
@isolated
def test_a_deleted_cell_is_refused(call, binding, message_type):
    cell = q.new_int_p()
    q.delete_int_p(cell)
    with raises_exactly(ValueError, f"invalid null reference in method '{binding}', argument 1 of type '{message_type}'"):
        call(cell)


def test_a_deleted_record_given_for_a_pointer_argument_is_refused(sim):
    info = q.new_Qx_InterfaceInfo_t()
    q.delete_Qx_InterfaceInfo_t(info)
    with raises_exactly(ValueError, "invalid null reference in method 'Qx_OpenInterface', "
                                    "argument 1 of type 'Qx_InterfaceInfo_t const *const'"):
        q.Qx_OpenInterface(info)
    assert sim.calls("Qx_OpenInterface") == 0
    with raises_exactly(Exception, "Qx_OpenInterface: no interface selector given"):
        q.Qx_OpenInterface(None)  # None still passes a null pointer


def test_a_deleted_record_given_as_a_value_is_a_null_reference():
    adapter = qxtest.new_record(q, "Qx_Ethernet_AdapterInfo_t")
    mask = q.new_Qx_IpAddress_t()
    q.delete_Qx_IpAddress_t(mask)
    with raises_exactly(ValueError, "invalid null reference in method 'Qx_Ethernet_AdapterInfo_t_Mask_set', "
                                    "argument 2 of type 'Qx_IpAddress_t *'"):
        q.Qx_Ethernet_AdapterInfo_t_Mask_set(adapter, mask)


# ---- allocation failures --------------------------------------------------------------------

def nomemory_calls(port):
    """Bindings whose results the runtime makes, with a class registered for
    some of the record types."""
    record = q.new_Qx_Ethernet_AdapterInfo_t()
    cell = q.new_char_p()
    return [
        lambda: q.new_Qx_Data_t(),
        lambda: q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(record),
        lambda: q.Qx_Data_t_U64_get(q.new_Qx_Data_t()),
        lambda: interface_list(4),
        lambda: monitor_items(port, 4, start=False),
        lambda: q.Qx_IpAddress_t_swigregister(type("Record", (Proxy,), {"__swig_destroy__": q.delete_Qx_IpAddress_t})),
        lambda: q.Qx_IpAddress_t_swiginit(Bare(), q.new_Qx_IpAddress_t()),
        lambda: q.char_p_assign(cell, "A"),
        lambda: q.char_p_value(cell),
        lambda: q.int_p_frompointer(q.int_p_cast(q.new_int_p())),
        lambda: repr(record),
        lambda: q.Qx_IpAddress_t_All_get(Proxy(q.Qx_Ethernet_AdapterInfo_t_Mask_get(record))),
    ]


@isolated
def test_allocation_failures_raise_memory_error_and_never_crash(capfd, port):
    import _testcapi
    drained(capfd)

    class Record(Proxy):
        __swig_destroy__ = q.delete_Qx_InterfaceData_t

    q.Qx_InterfaceData_t_swigregister(Record)
    can.Qx_Can_Monitor_BufferItem_t_swigregister(type("Item", (Proxy,), {
        "__swig_destroy__": can.delete_Qx_Can_Monitor_BufferItem_t}))
    calls = nomemory_calls(port)
    can.Qx_Can_Monitor_BufferMode_Start(port, 1, 100)
    failures = 0
    for number, call in enumerate(calls):
        for start in range(40):
            outcome = None
            _testcapi.set_nomemory(start, 0)
            try:
                call()
            except BaseException as e:
                outcome = e
            _testcapi.remove_mem_hooks()
            if isinstance(outcome, MemoryError):
                failures += 1
            else:  # a result, or an exception of its own (never one that says a binding misbehaved)
                assert not isinstance(outcome, SystemError), (number, start, outcome)
    assert failures > len(calls)  # the failures did reach the bindings
    assert [type(r) for r in interface_list(2)] == [Record, Record]
    # the results of no registered class that the calls dropped, and the
    # records the calls worked on, say that they were collected owning their
    # storage; a record of a registered class never does, nor a value copy
    # (the u64_t ones), which frees itself
    del calls, call
    gc.collect()
    leaks = {line for line in qxtest.c_stdout(capfd).splitlines() if "memory leak" in line}
    assert leaks == {f"swig/python detected a memory leak of type '{t} *', no destructor found."
                     for t in ("Qx_Data_t", "int_p", "Qx_Ethernet_AdapterInfo_t", "char_p")}
