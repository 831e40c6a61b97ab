"""Calls bindings while the interpreter's allocators fail, from every start
point in turn (_testcapi.set_nomemory), and checks each outcome.

Run as a script in a fresh interpreter (tests/rules/test_rules_nomemory.py)
with the names of the cases to sweep; a crash ends the process. Each call
must return a well-formed result or raise MemoryError or the native error
(plain Exception); anything else is reported and makes the exit status 1.
Prints one line per case: "nomemory: <case> <results> <raised>".
"""
import importlib
import sys

import _testcapi

import _qx_api as base

# Start points beyond the last allocation a case makes: the sweep then ends
# with calls that succeed.
SWEEP = 120


def open_can_port():
    info = base.new_Qx_InterfaceInfo_t()
    base.Qx_InterfaceInfo_t_Type_set(info, base.QX_INTERFACE_TYPE__CAN)
    return base.Qx_OpenInterface(info)


def ints(count):
    return lambda r: type(r) is list and len(r) == count and all(type(v) is int for v in r)


def records_of(type_name):
    def check(result):
        return type(result) is list and len(result) > 0 and all(
            type(r).__name__ in ("SwigPyObject", "Record") and type_name in repr(getattr(r, "this", r))
            for r in result)
    return check


def is_str(result):
    return type(result) is str


def base_case(name, args, check):
    return lambda: (getattr(base, name), args, check)


def can_case(name, make_args, check):
    def setup():
        can = importlib.import_module("_qx_api_can")
        return getattr(can, name), make_args(can), check
    return setup


def storage_case(name, make_args, check):
    def setup():
        st = importlib.import_module("_qx_storage")
        return getattr(st, name), make_args(st), check
    return setup


def pointer_of(type_name):
    return lambda result: type(result).__name__ == "SwigPyObject" and f"'{type_name} *'" in repr(result)


def registered_view():
    """An item of a record array, read while a class is registered for the
    record: a view, made an instance of that class."""
    st, common = importlib.import_module("_qx_storage"), importlib.import_module("_qx_api_common")

    class Signal:
        __swig_destroy__ = common.delete_Qx_Common_Xcp_Daq_Signal_t

    common.Qx_Common_Xcp_Daq_Signal_t_swigregister(Signal)
    array = st.new_Qx_Common_Xcp_Daq_Signal_t_array(4)
    return st.Qx_Common_Xcp_Daq_Signal_t_array_getitem, [array, 3], lambda r: (
        type(r) is Signal and not r.this.own() and "'Qx_Common_Xcp_Daq_Signal_t *'" in repr(r.this))


def proxy_array(name, count):
    """An instance of an array class of the proxy module qx_storage."""
    def setup():
        proxy = importlib.import_module("qx_storage")
        cls = getattr(proxy, name)
        return cls, [count], lambda r: type(r) is cls and len(r) == count and r.cast().own()
    return setup


def proxy_item():
    """An item of a proxy record array: an instance of the record's proxy
    class (its module imported beforehand, not during the sweep)."""
    proxy, common = importlib.import_module("qx_storage"), importlib.import_module("qx_api_common")
    array = proxy.Qx_Common_Xcp_Daq_Signal_t_array(4)
    return array.__getitem__, [-1], lambda r: type(r) is common.Qx_Common_Xcp_Daq_Signal_t and not r.this.own()


CASES = {
    "Qx_Interface_GetInterfaceList": base_case("Qx_Interface_GetInterfaceList", [0, 8],
                                               records_of("Qx_InterfaceData_t")),
    "Qx_Interface_GetInterfaceList_Usb": base_case("Qx_Interface_GetInterfaceList_Usb", [8],
                                                   records_of("Qx_InterfaceData_t")),
    "Qx_GetApiVersion": base_case("Qx_GetApiVersion", [], ints(3)),
    "Qx_GetFirmwarePackageVersion_Installed": base_case("Qx_GetFirmwarePackageVersion_Installed", [], ints(3)),
    "Qx_GetFirmwarePackageVersion_Tested": base_case("Qx_GetFirmwarePackageVersion_Tested", [], ints(3)),
    "Qx_InterfaceConfig_GetInstallDir": base_case("Qx_InterfaceConfig_GetInstallDir", [], is_str),
    "Qx_Data_t_U8_get": lambda: (base.Qx_Data_t_U8_get, [base.new_Qx_Data_t()], ints(8)),
    "Qx_Can_TxFifo_GetState": can_case("Qx_Can_TxFifo_GetState", lambda can: [open_can_port()], ints(2)),
    "Qx_Can_Data_t_U64_get": can_case("Qx_Can_Data_t_U64_get", lambda can: [can.new_Qx_Can_Data_t()], ints(8)),
    "new_u8_array": storage_case("new_u8_array", lambda st: [64], pointer_of("u8_t")),
    "copy_float64_p": storage_case("copy_float64_p", lambda st: [0.5], pointer_of("float64_t")),
    "cdata": storage_case("cdata", lambda st: [st.new_u8_array(64), 64], lambda r: type(r) is bytes and len(r) == 64),
    "new_Qx_Common_Xcp_Daq_Signal_t_array": storage_case("new_Qx_Common_Xcp_Daq_Signal_t_array", lambda st: [4],
                                                         pointer_of("Qx_Common_Xcp_Daq_Signal_t")),
    "Qx_Common_Xcp_Daq_Signal_t_array_getitem": registered_view,
    "new_Qx_Trovix_SignalBlock_pp": storage_case("new_Qx_Trovix_SignalBlock_pp", lambda st: [],
                                                 lambda r: "Qx_Trovix_SignalBlock" in repr(r) and r.own()),
    "qx_storage.u8_array": proxy_array("u8_array", 64),
    "qx_storage.Qx_Common_Xcp_Daq_Signal_t_array": proxy_array("Qx_Common_Xcp_Daq_Signal_t_array", 4),
    "qx_storage.Qx_Common_Xcp_Daq_Signal_t_array item": proxy_item,
}


class Record:
    """What a Python layer registers for a record type (see the record tests):
    collecting an owned record frees it through the class's destructor."""
    __swig_destroy__ = base.delete_Qx_InterfaceData_t


def attempt(function, args, start, stop):
    _testcapi.set_nomemory(start, stop)
    try:
        result = function(*args)
    except BaseException as error:  # noqa: B902 - every outcome is judged below
        result = error
    finally:
        _testcapi.remove_mem_hooks()
    return result


def sweep(name, registered):
    function, args, check = CASES[name]()
    if registered:
        base.Qx_InterfaceData_t_swigregister(Record)
    results = raised = 0
    faults = []
    for start in range(SWEEP):
        for stop in (0, start + 1):  # every later allocation fails / only one
            outcome = attempt(function, args, start, stop)
            if isinstance(outcome, BaseException):
                if type(outcome) in (MemoryError, Exception):
                    raised += 1
                else:
                    faults.append(f"{name} start={start} stop={stop}: {type(outcome).__name__}: {outcome}")
            elif check(outcome):
                results += 1
            else:
                faults.append(f"{name} start={start} stop={stop}: malformed result {outcome!r}")
    return results, raised, faults


def main():
    status = 0
    registered = "--registered" in sys.argv
    for name in [a for a in sys.argv[1:] if not a.startswith("--")]:
        results, raised, faults = sweep(name, registered)
        for fault in faults[:10]:
            print(fault)
        status |= bool(faults)
        print(f"nomemory: {name} {results} {raised}")
    sys.exit(status)


if __name__ == "__main__":
    main()
