#!/usr/bin/env python3
"""Cost of the modules' conversions, against a hand-written floor and ctypes.

All three call the same null native libraries (bench/gen_null.py: every
function returns at once), in one process:
  module  the project's modules (_qx_api, _qx_api_can, _qx_api_common)
          linked against them, and the storage module _qx_storage (which
          binds no library)
  floor   _qx_floor (bench/floor.c), hand-written C-API code doing the same
          conversions and checks with the same calling conventions
  ctypes  the native functions with argtypes/restype set, called from small
          Python functions doing the same conversions and status checks
Each number is the best of several repeats of a timed loop
(time.perf_counter_ns), in ns per call, loop included. Ratios are
module / floor. Run through bench/run.sh, which builds everything first.
"""
import argparse
import ctypes
import json
import os
import subprocess
import sys
import time
import timeit
from ctypes import byref, c_char_p, c_uint8, c_uint32, c_void_p, sizeof

LAST_ERROR_TEXT = "null library: the call failed on purpose"


# ---- ctypes --------------------------------------------------------------

class IpAddress(ctypes.Union):
    _pack_ = 4
    _fields_ = [("Byte", c_uint8 * 4), ("All", c_uint32)]


class InterfaceInfo(ctypes.Structure):
    _pack_ = 4
    _fields_ = [("Type", c_uint32), ("Parameters", c_uint8 * 24)]


class UsbVersion(ctypes.Structure):
    _fields_ = [("Major", c_uint8), ("Minor", c_uint8)]


class DaqSignal(ctypes.Structure):
    _pack_ = 4
    _fields_ = [("Flags", c_uint32), ("BitOffset", c_uint8), ("DataType", c_uint8), ("AddressExtension", c_uint8),
                ("reserved1", c_uint8), ("EventChannel", ctypes.c_uint16), ("reserved2", c_uint8),
                ("reserved3", c_uint8), ("Address", c_uint32), ("Handle", ctypes.c_size_t)]


class InterfaceData(ctypes.Structure):
    _pack_ = 4
    _fields_ = [("InterfaceType", c_uint8), ("ControllerNumber", c_uint8), ("InterfaceNumber", c_uint8),
                ("HostCommunicationType", c_uint8), ("HostInterfaceType", c_uint32), ("Serial", c_uint32),
                ("DeviceIndex", c_uint32), ("IpAddress", IpAddress), ("TcpPort", ctypes.c_uint16),
                ("PortNumber", c_uint8), ("GeographicAddress", c_uint8), ("SubNetMask", IpAddress),
                ("HostSerial", c_uint32), ("DefaultGateway", IpAddress), ("UsbVersion", UsbVersion),
                ("reserved", ctypes.c_uint16)]


class UpdateCommand(ctypes.Structure):
    _pack_ = 4
    _fields_ = [("Flags", c_uint32), ("reserved", c_uint8 * 4), ("NumberOfInterfaces", c_uint32),
                ("InterfaceData", ctypes.POINTER(InterfaceData))]


def ctypes_namespace(null_dir):
    base = ctypes.CDLL(os.path.join(null_dir, "libqx_api.so"))
    can = ctypes.CDLL(os.path.join(null_dir, "libqx_api_can.so"))
    common = ctypes.CDLL(os.path.join(null_dir, "libqx_api_common.so"))
    assert sizeof(IpAddress) == 4 and sizeof(InterfaceInfo) == 28 and sizeof(InterfaceData) == 40
    assert sizeof(DaqSignal) == 16 + sizeof(ctypes.c_size_t)

    def fn(lib, name, *argtypes):
        f = getattr(lib, name)
        f.argtypes = list(argtypes)
        f.restype = c_uint32
        return f

    last_error = base.Qx_GetLastErrorDescription
    last_error.argtypes = []
    last_error.restype = c_char_p
    close_ = fn(base, "Qx_CloseInterface", c_uint32)
    check_ = fn(base, "Qx_CheckPortHandle", c_uint32)
    start_ = fn(can, "Qx_Can_CyclicMsgs_StartMsg", c_uint32, c_uint32)
    open_ = fn(base, "Qx_OpenInterface", ctypes.POINTER(InterfaceInfo), ctypes.POINTER(c_uint32))
    command_ = fn(base, "Qx_Command", c_uint32, c_uint8, c_void_p, c_uint32)
    cwr_ = fn(base, "Qx_CommandWithResponse", c_uint32, c_uint8, c_void_p, c_uint32, c_void_p,
              ctypes.POINTER(c_uint32))
    ilist_ = fn(base, "Qx_Interface_GetInterfaceList", c_uint32, ctypes.POINTER(c_uint32),
                ctypes.POINTER(InterfaceData), c_uint32)
    signals_ = fn(common, "Qx_Common_Xcp_Daq_SetSignals", c_uint32, c_uint8, c_uint32, c_uint32,
                  ctypes.POINTER(DaqSignal))
    update_ = fn(base, "Qx_Interface_UpdateAllInterfaces", c_char_p, ctypes.POINTER(UpdateCommand))

    def fail():
        raise Exception(last_error().decode("utf-8", "surrogateescape"))

    def close(port):
        if close_(port):
            fail()

    def check(port):
        if check_(port):
            fail()

    def start(port, msg_id):
        if start_(port, msg_id):
            fail()

    def open(info):
        port = c_uint32()
        if open_(info, byref(port)):
            fail()
        return port.value

    def command(port, cmd, data):
        buf = (c_uint8 * len(data))(*data)
        if command_(port, cmd, buf, len(data)):
            fail()

    def cwr(port, cmd, data, capacity):
        buf = (c_uint8 * len(data))(*data)
        out = (c_uint8 * capacity)()
        count = c_uint32(capacity)
        if cwr_(port, cmd, buf, len(data), out, byref(count)):
            fail()
        return out[:min(count.value, capacity)]

    def ilist(flags, capacity):
        out = (InterfaceData * capacity)()
        count = c_uint32(capacity)
        if ilist_(flags, byref(count), out, sizeof(InterfaceData)):
            fail()
        return out[:min(count.value, capacity)]

    def set_signals(port, instance, flags, count, signals):
        if count > len(signals):
            raise ValueError("too few records given for the count in method 'Qx_Common_Xcp_Daq_SetSignals', "
                             "argument 5 of type 'Qx_Common_Xcp_Daq_Signal_t const *const'")
        if signals_(port, instance, flags, count, signals):
            fail()

    members = {}  # the array each command's member was set from

    def set_member(command, interfaces):
        command.InterfaceData = interfaces  # the command keeps the array alive
        members[ctypes.addressof(command)] = interfaces

    def update(name, command):
        held = members.get(ctypes.addressof(command))
        if held is not None and command.NumberOfInterfaces * sizeof(InterfaceData) > sizeof(held):
            raise ValueError("too few bytes given for the call in method 'Qx_Interface_UpdateAllInterfaces', argument 2 "
                             "of type 'Qx_Interface_UpdateAllInterfaces_Cmd_t const *const'")
        if update_(name and name.encode(), byref(command)):
            fail()

    def memmove(buffer, data):
        if len(data) > sizeof(buffer):
            raise ValueError("too few bytes given for the call in method 'memmove', argument 1 of type 'void *'")
        ctypes.memmove(buffer, data, len(data))

    def cdata(buffer, count):
        if count > sizeof(buffer):
            raise ValueError("too few bytes given for the call in method 'cdata', argument 1 of type 'void *'")
        return ctypes.string_at(buffer, count)

    return dict(ip=IpAddress(), info=InterfaceInfo(), IpAddress=IpAddress, Data=InterfaceData, close=close,
                check=check, start=start, open=open, command=command, cwr=cwr, ilist=ilist,
                buffer=(c_uint8 * 64)(), memmove=memmove, cdata=cdata, Signals16=DaqSignal * 16,
                set_signals=set_signals, update_cmd=UpdateCommand(NumberOfInterfaces=2),
                interfaces=(InterfaceData * 2)(), new_interfaces=lambda n: (InterfaceData * n)(), set_member=set_member,
                update=update)


# ---- module and floor ------------------------------------------------------

def module_namespace():
    import _qx_api as qx
    import _qx_api_can as can
    import _qx_api_common as common
    import _qx_storage as st

    class Data:
        __swig_destroy__ = qx.delete_Qx_InterfaceData_t

    qx.Qx_InterfaceData_t_swigregister(Data)
    return dict(ip=qx.new_Qx_IpAddress_t(), info=qx.new_Qx_InterfaceInfo_t(), Data=Data,
                delete_info=qx.delete_Qx_InterfaceInfo_t,
                get=qx.Qx_IpAddress_t_All_get, set=qx.Qx_IpAddress_t_All_set, new=qx.new_Qx_IpAddress_t,
                delete=qx.delete_Qx_IpAddress_t, close=qx.Qx_CloseInterface, check=qx.Qx_CheckPortHandle,
                start=can.Qx_Can_CyclicMsgs_StartMsg, open=qx.Qx_OpenInterface, command=qx.Qx_Command,
                cwr=qx.Qx_CommandWithResponse, ilist=qx.Qx_Interface_GetInterfaceList,
                buffer=st.new_u8_array(64), memmove=st.memmove, cdata=st.cdata,
                new_signals=st.new_Qx_Common_Xcp_Daq_Signal_t_array, signal=st.Qx_Common_Xcp_Daq_Signal_t_array_getitem,
                address=common.Qx_Common_Xcp_Daq_Signal_t_Address_set, set_signals=common.Qx_Common_Xcp_Daq_SetSignals,
                update_cmd=update_command(qx), interfaces=st.new_Qx_InterfaceData_t_array(2),
                new_interfaces=st.new_Qx_InterfaceData_t_array,
                delete_command=qx.delete_Qx_Interface_UpdateAllInterfaces_Cmd_t,
                set_member=qx.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set,
                update=qx.Qx_Interface_UpdateAllInterfaces)


def update_command(ns):
    """An update command announcing two interfaces."""
    command = ns.new_Qx_Interface_UpdateAllInterfaces_Cmd_t()
    ns.Qx_Interface_UpdateAllInterfaces_Cmd_t_NumberOfInterfaces_set(command, 2)
    return command


def floor_namespace():
    import _qx_floor as fl

    class Data:
        pass

    fl.Qx_InterfaceData_t_register(Data)
    return dict(ip=fl.new_Qx_IpAddress_t(), info=fl.new_Qx_InterfaceInfo_t(), Data=Data,
                get=fl.Qx_IpAddress_t_All_get, set=fl.Qx_IpAddress_t_All_set, new=fl.new_Qx_IpAddress_t,
                delete=fl.delete_Qx_IpAddress_t, close=fl.Qx_CloseInterface, check=fl.Qx_CheckPortHandle,
                start=fl.Qx_Can_CyclicMsgs_StartMsg, open=fl.Qx_OpenInterface, command=fl.Qx_Command,
                cwr=fl.Qx_CommandWithResponse, ilist=fl.Qx_Interface_GetInterfaceList,
                buffer=fl.new_u8_array(64), memmove=fl.memmove, cdata=fl.cdata,
                new_signals=fl.new_Qx_Common_Xcp_Daq_Signal_t_array, signal=fl.Qx_Common_Xcp_Daq_Signal_t_array_getitem,
                address=fl.Qx_Common_Xcp_Daq_Signal_t_Address_set, set_signals=fl.Qx_Common_Xcp_Daq_SetSignals,
                update_cmd=update_command(fl), interfaces=fl.new_Qx_InterfaceData_t_array(2),
                new_interfaces=fl.new_Qx_InterfaceData_t_array,
                set_member=fl.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set,
                update=fl.Qx_Interface_UpdateAllInterfaces)


def refused(stmt, exc):
    return f"try:\n    {stmt}\nexcept {exc}:\n    pass"


# A DAQ list of 16 signals: an array made, one field of each record set
# through its item, the array passed beside its count.
DAQ_LIST = """\
signals = new_signals(16)
for i in r16:
    address(signal(signals, i), i)
set_signals(1, 0, 0, 16, signals)"""
DAQ_LIST_CTYPES = """\
signals = Signals16()
for i in r16:
    signals[i].Address = i
set_signals(1, 0, 0, 16, signals)"""

# (case, binding, statement of module and floor, statement of ctypes or
#  None, target ratio)
CASES = [
    ("field getter", "Qx_IpAddress_t_All_get", "get(ip)", "ip.All", 1.5),
    ("field setter", "Qx_IpAddress_t_All_set", "set(ip, 5)", "ip.All = 5", 1.5),
    ("new_ + delete_", "Qx_IpAddress_t", "delete(new())", "IpAddress()", 1.5),
    ("port-only call", "Qx_CloseInterface", "close(1)", "close(1)", 1.5),
    ("two ints", "Qx_Can_CyclicMsgs_StartMsg", "start(1, 2)", "start(1, 2)", 1.5),
    ("appended output", "Qx_OpenInterface", "open(info)", "open(info)", 1.5),
    ("64-item list in", "Qx_Command", "command(1, 2, data64)", "command(1, 2, data64)", 1.2),
    ("64-item list out", "Qx_CommandWithResponse", "cwr(1, 2, empty, 64)", "cwr(1, 2, empty, 64)", 1.5),
    ("64-record list out", "Qx_Interface_GetInterfaceList", "ilist(0, 64)", "ilist(0, 64)", 2.5),
    ("refused argument", "Qx_CloseInterface(-1)", refused("close(-1)", "OverflowError"), None, 1.5),
    ("failed status", "Qx_CheckPortHandle", refused("check(1)", "Exception"), refused("check(1)", "Exception"),
     1.5),
    ("64-byte buffer", "memmove + cdata (storage)", "memmove(buffer, bytes64); cdata(buffer, 64)",
     "memmove(buffer, bytes64); cdata(buffer, 64)", 1.2),
    ("16 DAQ signals", "record array + SetSignals", DAQ_LIST, DAQ_LIST_CTYPES, 1.2),
    # Measured beside the floor, for information: a pointer member set from
    # a record array, and the check of the member before a native call (the
    # file name None, so that the case times the command's conversion and
    # check, not the conversion of a text).
    ("pointer member set", "..._Cmd_t_InterfaceData_set", "set_member(update_cmd, interfaces)",
     "set_member(update_cmd, interfaces)", None),
    ("member check + call", "UpdateAllInterfaces(None, cmd)", "update(None, update_cmd)",
     "update(None, update_cmd)", None),
]

SIZES = [8, 64, 512, 4096]


def raised(f):
    try:
        f()
    except Exception as e:  # noqa: BLE001 - the exception itself is checked
        return e
    return None


def verify(mod, flo, cty):
    """The three do the same work: same results, same refusals."""
    for ns in (mod, flo):
        ns["set"](ns["ip"], 5)
        assert ns["get"](ns["ip"]) == 5
        assert ns["open"](ns["info"]) == 0
        assert ns["cwr"](1, 2, [], 64) == [0] * 64
        items = ns["ilist"](0, 64)
        assert len(items) == 64 and all(type(x) is ns["Data"] for x in items)
        assert isinstance(raised(lambda: ns["close"](-1)), OverflowError)
        assert isinstance(raised(lambda: ns["command"](1, 2, ["x"])), TypeError)
        e = raised(lambda: ns["check"](1))
        assert type(e) is Exception and str(e) == LAST_ERROR_TEXT, e
    for ns in (mod, flo, cty):
        ns["memmove"](ns["buffer"], bytes(range(64)))
        assert ns["cdata"](ns["buffer"], 64) == bytes(range(64))
        assert isinstance(raised(lambda: ns["cdata"](ns["buffer"], 65)), ValueError)
        assert isinstance(raised(lambda: ns["memmove"](ns["buffer"], bytes(65))), ValueError)
    for ns in (mod, flo, cty):
        exec(DAQ_LIST_CTYPES if ns is cty else DAQ_LIST, dict(ns))
        signals = cty["Signals16"]() if ns is cty else ns["new_signals"](16)
        assert isinstance(raised(lambda: ns["set_signals"](1, 0, 0, 17, signals)), ValueError)
    for ns in (mod, flo, cty):
        short = ns["new_interfaces"](1)
        ns["set_member"](ns["update_cmd"], short)
        assert isinstance(raised(lambda: ns["update"]("fw.pkg", ns["update_cmd"])), ValueError)
        ns["set_member"](ns["update_cmd"], ns["interfaces"])
        assert ns["update"]("fw.pkg", ns["update_cmd"]) is None and ns["update"](None, ns["update_cmd"]) is None
    for ns in (mod, flo):
        signals = ns["new_signals"](2)
        view = ns["signal"](signals, 1)
        del signals
        ns["address"](view, 7)  # the item keeps the array alive
        assert isinstance(raised(lambda: ns["signal"](view, 1)), IndexError)
    assert cty["cwr"](1, 2, [], 64) == [0] * 64
    assert len(cty["ilist"](0, 64)) == 64
    e = raised(lambda: cty["check"](1))
    assert type(e) is Exception and str(e) == LAST_ERROR_TEXT, e


# ---- timing ---------------------------------------------------------------

def calibrate(timer, target_ns):
    number = 1
    while True:
        elapsed = timer.timeit(number)
        if elapsed >= target_ns // 4:
            return max(1, int(number * target_ns / max(elapsed, 1)))
        number *= 4


def measure(stmts, namespaces, repeats, target_ns):
    """Best ns per call of each statement (None: not measured); the
    statements take turns in every repeat."""
    timers = [timeit.Timer(s, timer=time.perf_counter_ns, globals=ns) if s else None
              for s, ns in zip(stmts, namespaces)]
    numbers = [calibrate(t, target_ns) if t else 0 for t in timers]
    best = [None] * len(timers)
    for _ in range(repeats):
        for i, t in enumerate(timers):
            if t:
                per_call = t.timeit(numbers[i]) / numbers[i]
                best[i] = per_call if best[i] is None else min(best[i], per_call)
    return best


def fmt(ns):
    return f"{ns:9.0f}" if ns is not None else f"{'-':>9}"


# The floor of the import: extension modules of the standard library that
# every interpreter the modules are tested on has as shared objects of its
# own (Debian's builds some others into the interpreter), whose import loads
# a shared object and makes a module and its types, as the modules' import
# does, and imports nothing else (_decimal and _sqlite3 import Python
# modules, _ssl starts a library of its own).
STDLIB_EXTENSIONS = ["_bz2", "_contextvars", "_ctypes", "_json", "_lsprof", "_lzma", "_multiprocessing", "_queue",
                     "_uuid", "mmap", "resource", "termios"]
IMPORT_TARGET = 6.0  # the highest ratio of the modules' import to the floor's


def import_times(names, folder=None):
    """The ns each of `names` takes to import, in that order, in a fresh
    interpreter (from `folder`, else from where the interpreter finds it)."""
    code = (
        "import sys, time, json\n"
        + (f"sys.path.insert(0, {folder!r})\n" if folder else "")
        + "out = []\n"
        f"for name in {names!r}:\n"
        "    start = time.perf_counter_ns()\n"
        "    __import__(name)\n"
        "    out.append(time.perf_counter_ns() - start)\n"
        "print(json.dumps(out))\n")
    result = subprocess.run([sys.executable, "-c", code], check=True, capture_output=True, text=True)
    return json.loads(result.stdout)


def best_import_times(modules_dir, runs):
    """The best import time of each module and of each of the standard
    library's extension modules over `runs` fresh interpreters of each, the
    two taking turns: a run that the host interrupts spoils one module's time
    at most, not the sum."""
    names = [line.strip() for line in open(os.path.join(modules_dir, "qx_modules.txt")) if line.strip()]
    modules, floor = [float("inf")] * len(names), [float("inf")] * len(STDLIB_EXTENSIONS)
    for _ in range(runs):
        modules = [min(a, b) for a, b in zip(modules, import_times(names, modules_dir))]
        floor = [min(a, b) for a, b in zip(floor, import_times(STDLIB_EXTENSIONS))]
    return names, modules, floor


def main():
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--modules", required=True, help="folder of the modules built against the null libraries")
    ap.add_argument("--floor", required=True, help="folder of _qx_floor")
    ap.add_argument("--null", required=True, help="folder of the null libraries")
    ap.add_argument("--repeats", type=int, default=7)
    ap.add_argument("--target-ms", type=float, default=40, help="length of one timed loop")
    args = ap.parse_args()
    target_ns = int(args.target_ms * 1e6)
    sys.path[:0] = [args.modules, args.floor]

    mod, flo, cty = module_namespace(), floor_namespace(), ctypes_namespace(args.null)
    for ns in (mod, flo, cty):
        ns.update(empty=[], data64=list(range(64)), bytes64=bytes(range(64)), r16=range(16))
    verify(mod, flo, cty)
    namespaces = (mod, flo, cty)

    print(f"Python {sys.version.split()[0]}; best of {args.repeats} loops of ~{args.target_ms:g} ms; "
          "ns per call, loop included")
    loop = measure(["pass"], [mod], args.repeats, target_ns)[0]
    print(f"empty loop: {loop:.1f} ns per iteration\n")

    head = f"{'case':<20} {'binding':<31} {'module':>9} {'floor':>9} {'ctypes':>9} {'mod/floor':>9} {'target':>7}"
    print(head)
    print("-" * len(head))
    over = []
    for name, binding, stmt, ct_stmt, target in CASES:
        m, f, c = measure([stmt, stmt, ct_stmt], namespaces, args.repeats, target_ns)
        ratio = m / f
        mark = "" if target is None or ratio <= target else "  over"
        if mark:
            over.append(name)
        bound = "-" if target is None else "<=" + format(target, "g")
        print(f"{name:<20} {binding:<31} {fmt(m)} {fmt(f)} {fmt(c)} {ratio:9.2f} {bound:>7}{mark}")
    print("\nctypes: getter/setter are field accesses on a ctypes union, new_ + delete_ makes one;"
          " list outs return ctypes array items (views, not copies); no range check, so no refused argument.")

    print(f"\nGrowth: Qx_Command with n items in, Qx_CommandWithResponse with capacity n out (ns per call)")
    head = f"{'n':>6} {'in module':>10} {'floor':>9} {'ctypes':>9} {'ratio':>6}   {'out module':>10} {'floor':>9} {'ctypes':>9} {'ratio':>6}"
    print(head)
    print("-" * len(head))
    rows = {}
    for n in SIZES:
        for ns in namespaces:
            ns[f"data{n}"] = [i & 0xFF for i in range(n)]
        rows[n] = (measure([f"command(1, 2, data{n})"] * 3, namespaces, args.repeats, target_ns),
                   measure([f"cwr(1, 2, empty, {n})"] * 3, namespaces, args.repeats, target_ns))
        (im, if_, ic), (om, of, oc) = rows[n]
        print(f"{n:>6} {im:10.0f} {if_:9.0f} {ic:9.0f} {im / if_:6.2f}   {om:10.0f} {of:9.0f} {oc:9.0f} {om / of:6.2f}")
    lo, hi = SIZES[0], SIZES[-1]
    per_item = [[(rows[hi][k][i] - rows[lo][k][i]) / (hi - lo) for i in range(3)] for k in range(2)]
    print(f"{'/item':>6} {per_item[0][0]:10.2f} {per_item[0][1]:9.2f} {per_item[0][2]:9.2f} "
          f"{per_item[0][0] / per_item[0][1]:6.2f}   {per_item[1][0]:10.2f} {per_item[1][1]:9.2f} "
          f"{per_item[1][2]:9.2f} {per_item[1][0] / per_item[1][1]:6.2f}")
    print(f"(/item: ns per additional item from {lo} to {hi})")

    runs = 15
    names, modules, floor = best_import_times(args.modules, runs)
    print(f"\nImport in a fresh interpreter (best of {runs} for each module; ms for information, the ratio is judged)")
    for name, t in zip(names, modules):
        print(f"  {name:<18} {t / 1e6:7.2f} ms")
    print(f"  {'all':<18} {sum(modules) / 1e6:7.2f} ms")
    print(f"  {'floor':<18} {sum(floor) / 1e6:7.2f} ms   the {len(STDLIB_EXTENSIONS)} extension modules of the standard "
          f"library {', '.join(STDLIB_EXTENSIONS)}")
    ratio = sum(modules) / sum(floor)
    mark = "" if ratio <= IMPORT_TARGET else "  over"
    print(f"  {'all/floor':<18} {ratio:7.2f}      target <={IMPORT_TARGET:g}{mark}")
    if mark:
        over.append("import")
    print(f"\nover target: {', '.join(over) if over else 'none'}")
    # The module's own records are freed explicitly: no class with a
    # destructor is registered for them.
    mod["delete"](mod["ip"])
    mod["delete_info"](mod["info"])
    mod["delete_command"](mod["update_cmd"])
    return 0


if __name__ == "__main__":
    sys.exit(main())
