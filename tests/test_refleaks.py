"""Reference counts of the conversion rules under a debug interpreter.

A debug interpreter (python3-dbg) counts every reference taken and dropped in
sys.gettotalrefcount(). Each row of the table below calls a representative
binding of one rule family many times after a warm-up, on its success path or
on one of its error paths; the total must not grow. Where the interpreter is
a release build the reference check is skipped; the check that each module
was compiled for the running interpreter's ABI runs under both.
"""
import gc
import importlib
import os
import shutil
import struct
import subprocess
import sys
import types

import pytest

import _qx_api as q
import _qx_storage as st
import qxtest

DEBUG_INTERPRETER = hasattr(sys, "gettotalrefcount")
needs_debug = pytest.mark.skipif(not DEBUG_INTERPRETER, reason="needs a debug interpreter (sys.gettotalrefcount)")

WARM_UP = 20
CALLS = 400
# Caches the interpreter fills lazily (method caches, interned names) may move
# the total by a few references once; a leak of one reference per call shows
# as CALLS.
SLACK = 10


# ---- the modules' ABI ---------------------------------------------------------

@pytest.mark.parametrize("name", qxtest.built_modules() + ["_qx_testhelpers"])
def test_module_is_compiled_for_the_running_interpreters_abi(name):
    """A module compiled with Py_DEBUG reports every reference count that
    turns negative (_Py_NegativeRefcount); one compiled without it does not
    count its references at all, and a debug interpreter's totals would drift
    with every call into it."""
    nm = shutil.which("nm")
    assert nm, "nm (binutils) is needed to read the module's symbols"
    path = importlib.import_module(name).__file__
    symbols = subprocess.run([nm, "-D", "--undefined-only", path], capture_output=True, text=True, check=True)
    assert ("_Py_NegativeRefcount" in symbols.stdout.split()) == DEBUG_INTERPRETER


# ---- measuring ----------------------------------------------------------------

def capsule():
    """The capsule of the type table all modules share."""
    return sys.modules["swig_runtime_data4"].type_pointer_capsule


def growth(call, calls=CALLS):
    """Growth of the interpreter's total reference count over `calls` calls
    of `call`, after a warm-up."""
    for _ in range(WARM_UP):
        call()
    gc.collect()
    before = sys.gettotalrefcount()
    for _ in range(calls):
        call()
    gc.collect()
    return sys.gettotalrefcount() - before


def refused(exc, function, *args):
    """Calls `function`, which must raise exactly `exc`."""
    try:
        function(*args)
    except Exception as e:  # noqa: BLE001 (the type is checked exactly)
        assert type(e) is exc, f"{function.__name__}{args!r} raised {type(e).__name__}: {e}"
        return
    raise AssertionError(f"{function.__name__}{args!r} did not raise {exc.__name__}")


class Holder:
    """An instance a Python layer attaches records to (R_swiginit)."""


@pytest.fixture
def ctx(sim, qxt, port):
    """What the rows work on: the modules, open ports, and records made once
    before the measurement."""
    built = qxtest.built_modules()
    modules = {key: importlib.import_module(name) for key, name in qxtest.registry().items() if name in built}
    c, can = modules.get("common"), modules.get("can")
    made = []

    def keep(module, record):
        obj = getattr(module, "new_" + record)()
        made.append((module, record, obj))
        return obj

    def keep_objects(module, record, objects):
        made.extend((module, record, obj) for obj in objects)

    cell = keep(q, "int_p")
    info = keep(q, "Qx_InterfaceInfo_t")
    q.Qx_InterfaceInfo_t_Type_set(info, q.QX_INTERFACE_TYPE__CAN)
    yield types.SimpleNamespace(q=q, c=c, can=can, modules=modules, sim=sim, qxt=qxt, port=port, info=info, cell=cell,
                                common_port=c.Qx_Common_OpenInterface("CAN1") if c else None,
                                keep=keep, keep_objects=keep_objects)
    for module, record, obj in made:
        getattr(module, "delete_" + record)(obj)


# ---- the table ------------------------------------------------------------------
# Each row names its library by its key in the registry (libraries.cmake),
# which gives the module; it takes the context, does its one-time set-up and
# returns the call to repeat; the call checks that it took the intended path.

def ok(function, *args, result=None):
    """A call that must succeed; `result` (a callable) checks the value."""
    def call():
        value = function(*args)
        if result is not None:
            assert result(value), f"{function.__name__}{args!r} returned {value!r}"
        return value
    return call


def is_none(value):
    return value is None


def int_list(length):
    return lambda value: isinstance(value, list) and len(value) == length and all(type(v) is int for v in value)


def base_open_close(x):
    def call():
        handle = q.Qx_OpenInterface(x.info)
        assert type(handle) is int
        q.Qx_CloseInterface(handle)
    return call


def base_command_with_response(x):
    x.sim.output("Qx_CommandWithResponse", 5, bytes([1, 2, 255]))
    x.sim.output("Qx_CommandWithResponse", 6, struct.pack("<I", 3))
    return ok(q.Qx_CommandWithResponse, x.port, 2, [5, 6], 16, result=lambda v: v == [1, 2, 255])


def base_interface_list(x):
    def call():
        records = q.Qx_Interface_GetInterfaceList(0, 8)
        assert records and all("Qx_InterfaceData_t" in repr(r) for r in records)
        for record in records:
            q.delete_Qx_InterfaceData_t(record)
    return call


def base_record_life(x):
    def call():
        data = q.new_Qx_Data_t()
        assert q.Qx_Data_t_U8_get(data) == [0] * 8
        assert q.Qx_Data_t_U32_get(data) == [0, 0]
        ip = q.new_Qx_IpAddress_t()
        q.Qx_IpAddress_t_All_set(ip, 0xC0A80001)
        assert q.Qx_IpAddress_t_All_get(ip) == 0xC0A80001
        q.delete_Qx_IpAddress_t(ip)
        q.delete_Qx_Data_t(data)
        q.delete_Qx_Data_t(data)  # a second delete frees nothing
    return call


def base_nested_member(x):
    adapter, ip = x.keep(q, "Qx_Ethernet_AdapterInfo_t"), x.keep(q, "Qx_IpAddress_t")
    q.Qx_IpAddress_t_All_set(ip, 7)

    def call():
        q.Qx_Ethernet_AdapterInfo_t_IpAddress_set(adapter, ip)
        view = q.Qx_Ethernet_AdapterInfo_t_IpAddress_get(adapter)
        assert q.Qx_IpAddress_t_All_get(view) == 7
        q.delete_Qx_IpAddress_t(view)  # a view: frees nothing
    return call


def base_pointer_member(x):
    command, data = x.keep(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t"), q.new_Qx_InterfaceData_t()
    q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(command, data)  # the command keeps it from now on

    def call():
        q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(command, data)
        assert q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_get(command) is not None
        q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(command, None)
        assert q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_get(command) is None
    return call


def base_pointer_classes(x):
    def call():
        cell = q.new_int_p()
        q.int_p_assign(cell, 4294967295)
        assert q.int_p_value(cell) == 4294967295
        view = q.int_p_frompointer(q.int_p_cast(cell))
        assert q.int_p_value(view) == 4294967295
        q.delete_int_p(view)
        q.delete_int_p(cell)
        text = q.new_char_p()
        q.char_p_assign(text, "A")
        assert q.char_p_value(text) == "A" and q.char_p_cast(text) == "A"
        q.delete_char_p(text)
    return call


def base_swiginit(x):
    def call():
        holder, first, second = Holder(), q.new_Qx_Data_t(), q.new_Qx_Data_t()
        q.Qx_Data_t_swiginit(holder, first)
        q.Qx_Data_t_swiginit(holder, second)  # appended to the first
        assert holder.this is first
        refused(TypeError, q.Qx_Data_t_swiginit, holder, 5)
        refused(AttributeError, q.Qx_Data_t_swiginit, 5, first)
        q.delete_Qx_Data_t(second)
        q.delete_Qx_Data_t(first)
    return call


def base_text_in(x):
    records = q.Qx_Interface_GetInterfaceList(0, 1)
    x.keep_objects(q, "Qx_InterfaceData_t", records)
    return ok(q.Qx_Interface_Name_Set, records[0], "Powertrain \u00e9", result=is_none)


def setter_refused(module, exc, record, field, value):
    """A row: the setter of `field` refuses `value` on a record made once."""
    def row(x):
        m = getattr(x, module)
        return lambda r=x.keep(m, record): refused(exc, getattr(m, f"{record}_{field}_set"), r, value)
    return row


def base_failing(function, *args, text=b"scripted failure"):
    def row(x):
        x.sim.fail(function, 0x1234, text)
        return lambda: refused(Exception, getattr(q, function), *args)
    return row


ROWS = [
    # _qx_api: scalars, statuses, appended outputs
    ("base", "scalars in, status", lambda x: ok(q.Qx_SetResponseTimeout, x.port, 100, result=is_none)),
    ("base", "unsigned result", lambda x: ok(q.Qx_GetResponseTimeout, x.port, result=lambda v: type(v) is int)),
    ("base", "one appended output", base_open_close),
    ("base", "appended outputs", lambda x: ok(q.Qx_GetApiVersion, result=int_list(3))),
    # texts
    ("base", "text out", lambda x: ok(q.Qx_InterfaceConfig_ConfigurationName_Get, 0, result=lambda v: type(v) is str)),
    ("base", "text out, size first",
     lambda x: ok(q.Qx_GetErrorDescription2, x.port, 5, result=lambda v: type(v) is str)),
    ("base", "text out, size last", lambda x: ok(q.Qx_InterfaceConfig_GetInstallDir, result=lambda v: type(v) is str)),
    ("base", "text in", base_text_in),
    # byte lists and record lists
    ("base", "byte list in", lambda x: ok(q.Qx_Command, x.port, 2, (1, 2, 300, -1), result=is_none)),
    ("base", "byte list out", base_command_with_response),
    ("base", "record list out", base_interface_list),
    # records and pointer classes
    ("base", "record new, get, set, delete", base_record_life),
    ("base", "nested member by copy", base_nested_member),
    ("base", "pointer member", base_pointer_member),
    ("base", "pointer classes", base_pointer_classes),
    ("base", "swiginit", base_swiginit),
    # failing statuses: outputs dropped, buffers released, the error text raised
    ("base", "failing status", base_failing("Qx_SetResponseTimeout", 1, 100)),
    ("base", "failing status, appended outputs", base_failing("Qx_GetApiVersion")),
    ("base", "failing status, text out", base_failing("Qx_InterfaceConfig_GetInstallDir")),
    ("base", "failing status, byte list out", base_failing("Qx_CommandWithResponse", 1, 2, [5], 16)),
    ("base", "failing status, record list out", base_failing("Qx_Interface_GetInterfaceList", 0, 8)),
    ("base", "failing status, no error text", base_failing("Qx_Command", 1, 2, [1], text=None)),
    ("base", "failing status, undecodable error text", base_failing("Qx_Command", 1, 2, [1], text=b"bad \xff")),
    # refused arguments, one of each conversion
    ("base", "refused: argument count", lambda x: lambda: refused(TypeError, q.Qx_SetResponseTimeout, 1)),
    ("base", "refused: unsigned type", lambda x: lambda: refused(TypeError, q.Qx_SetResponseTimeout, 1, "100")),
    ("base", "refused: unsigned range", lambda x: lambda: refused(OverflowError, q.Qx_SetResponseTimeout, 1, 2**32)),
    ("base", "refused: record type", lambda x: lambda: refused(TypeError, q.Qx_OpenInterface, x.cell)),
    ("base", "refused: null record", lambda x: lambda: refused(ValueError, q.Qx_Data_t_U8_get, None)),
    ("base", "refused: text", lambda x: lambda: refused(TypeError, q.Qx_Interface_UpdateAllInterfaces, 5, None)),
    ("base", "refused: byte list", lambda x: lambda: refused(TypeError, q.Qx_Command, 1, 2, 5)),
    ("base", "refused: byte list item", lambda x: lambda: refused(TypeError, q.Qx_Command, 1, 2, [1, "x"])),
    ("base", "refused: byte list item range", lambda x: lambda: refused(OverflowError, q.Qx_Command, 1, 2, [2**31])),
    ("base", "refused: capacity type", lambda x: lambda: refused(TypeError, q.Qx_CommandWithResponse, 1, 2, [], "1")),
    ("base", "refused: capacity sign", lambda x: lambda: refused(ValueError, q.Qx_CommandWithResponse, 1, 2, [], -1)),
    ("base", "refused: capacity range",
     lambda x: lambda: refused(OverflowError, q.Qx_Interface_GetInterfaceList, 0, 2**31)),
    ("base", "refused: callback", lambda x: lambda: refused(TypeError, q.Qx_AsyncCommunication_Enable, 1, print)),
    ("base", "refused: pointer class value", lambda x: lambda: refused(OverflowError, q.int_p_assign, x.cell, -1)),
]


# _qx_api_common

def common_open_close(x):
    def call():
        handle = x.c.Qx_Common_OpenInterface("LIN1")
        assert type(handle) is int
        x.c.Qx_Common_CloseInterface(handle)
    return call


def common_record_output(x):
    def call():
        info = x.c.Qx_Common_GetInterfaceInfo(x.common_port)
        assert "Qx_Common_GetInterfaceInfo_Rsp_t" in repr(info)
        x.c.delete_Qx_Common_GetInterfaceInfo_Rsp_t(info)
    return call


def common_view_list(x):
    rsp = x.c.Qx_Common_GetTransceiverInfo(x.common_port)
    x.keep_objects(x.c, "Qx_Common_GetTransceiverInfo_Rsp_t", [rsp])
    return ok(x.c.Qx_Common_GetTransceiverInfo_Rsp_t_TransceiverInfos_get, rsp,
              result=lambda v: isinstance(v, list) and len(v) > 1)


def common_ip_address(x):
    def call():
        assert x.c.Qx_Common_Ethernet_IpAddress_Set(x.common_port, (192, 168, 0, 10)) is None
        assert x.c.Qx_Common_Ethernet_IpAddress_Get(x.common_port) == [192, 168, 0, 10]
    return call


def common_union_member(x):
    union = x.keep(x.c, "Qx_Common_EA_InitAction_Cmd_t_u")
    notify = x.keep(x.c, "Qx_Common_EA_InitAction_SubCmd_NotifyHost_t")
    x.c.Qx_Common_EA_InitAction_SubCmd_NotifyHost_t_NotificationId_set(notify, 77)

    def call():
        x.c.Qx_Common_EA_InitAction_Cmd_t_u_NotifyHost_set(union, notify)
        view = x.c.Qx_Common_EA_InitAction_Cmd_t_u_NotifyHost_get(union)
        assert x.c.Qx_Common_EA_InitAction_SubCmd_NotifyHost_t_NotificationId_get(view) == 77
    return call


def common_callback_field(x):
    command = x.keep(x.c, "Qx_Common_EA_NotifyHost_AddCallback_Cmd_t")
    callback = x.qxt.qxt_ea_notify_callback()
    setter = x.c.Qx_Common_EA_NotifyHost_AddCallback_Cmd_t_Callback_set

    def call():
        setter(command, callback)
        setter(command, None)
        refused(TypeError, setter, command, lambda port, first, second: None)
    return call


def common_failing(function, *args):
    def row(x):
        x.sim.fail(function)
        return lambda: refused(Exception, getattr(x.c, function), x.common_port, *args)
    return row


ROWS += [
    ("common", "text in, appended output", common_open_close),
    ("common", "record output", common_record_output),
    ("common", "text out",
     lambda x: ok(x.c.Qx_Common_GetFirmwareVersion, x.common_port, result=lambda v: type(v) is str)),
    ("common", "appended u8 output", lambda x: ok(x.c.Qx_Common_Ethernet_DHCP_Mode_Get, x.common_port,
                                                  result=lambda v: type(v) is int)),
    ("common", "address tuple in, list out", common_ip_address),
    ("common", "record array as view list", common_view_list),
    ("common", "union member by copy", common_union_member),
    ("common", "callback field", common_callback_field),
    ("common", "failing status, record output", common_failing("Qx_Common_GetInterfaceInfo")),
    ("common", "failing status, text out", common_failing("Qx_Common_GetFirmwareVersion")),
    ("common", "failing status, address list out", common_failing("Qx_Common_Ethernet_IpAddress_Get")),
    ("common", "failing status, address tuple in", common_failing("Qx_Common_Ethernet_IpAddress_Set", (1, 2, 3, 4))),
    ("common", "refused: address list", lambda x: lambda: refused(
        TypeError, x.c.Qx_Common_Ethernet_IpAddress_Set, x.common_port, [1, 2, 3, 4])),
    ("common", "refused: address byte", lambda x: lambda: refused(
        TypeError, x.c.Qx_Common_Ethernet_IpAddress_Set, x.common_port, (1, 2, 3, 256))),
    ("common", "refused: text", lambda x: lambda: refused(TypeError, x.c.Qx_Common_OpenInterface, b"CAN1")),
    ("common", "refused: null union member",
     setter_refused("c", ValueError, "Qx_Common_EA_InitAction_Cmd_t_u", "NotifyHost", None)),
    ("common", "refused: opaque value",
     setter_refused("c", ValueError, "Qx_Common_EA_InitEvent_Cmd_t", "EventType", None)),
]


# _qx_api_can

def can_stack_buffer(x):
    def call():
        assert x.can.Qx_Can_TxFifo_QueueMsg(x.port, 0x123, [1, 2, 3], 3) is None
        assert x.can.Qx_Can_TxFifo_GetState(x.port) == [1, 1023]
        x.can.Qx_Can_TxFifo_Reset(x.port)
    return call


def can_message_item(x, dlc):
    item = x.keep(x.can, "Qx_Can_TxFifo_MsgItem_t")
    x.can.Qx_Can_TxFifo_MsgItem_t_Id_set(item, 0x42)
    x.can.Qx_Can_TxFifo_MsgItem_t_Dlc_set(item, dlc)
    return item


def can_record_list_in(x):
    items = [can_message_item(x, 1), can_message_item(x, 2)]

    def call():
        assert x.can.Qx_Can_TxFifo_QueueMsgs(x.port, 0, items) is None
        x.can.Qx_Can_TxFifo_Reset(x.port)
    return call


def can_record_array_out(x):
    x.can.Qx_Can_Monitor_BufferMode_Start(x.port, 1, 100)

    def call():
        x.can.Qx_Can_TxFifo_QueueMsg(x.port, 0x123, [1, 2, 3], 3)
        items = x.can.Qx_Can_Monitor_BufferMode_GetItems(x.port, 0, 5)
        assert len(items) == 1
        x.can.delete_Qx_Can_Monitor_BufferItem_t(items[0])
        x.can.Qx_Can_TxFifo_Reset(x.port)
    return call


def can_array_argument(x):
    x.can.Qx_Can_Monitor_ListMode_Start(x.port)

    def call():
        x.can.Qx_Can_Monitor_WriteUserEvent(x.port, 0x42, 3, [7, 8, 9])
        item = x.can.Qx_Can_Monitor_ListMode_GetItem(x.port, 0, None, None, None, None, (0,) * 8)
        assert item == [7, 8, 9, 0, 0, 0, 0, 0]
        # nothing left: the failing status drops the appended list
        refused(Exception, x.can.Qx_Can_Monitor_ListMode_GetItem, x.port, 0, None, None, None, None, [0] * 8)
    return call


def can_array_member(x):
    data = x.keep(x.can, "Qx_Can_Data_t")

    def call():
        x.can.Qx_Can_Data_t_U8_set(data, list(range(64)))
        assert x.can.Qx_Can_Data_t_U8_get(data) == list(range(64))
        assert len(x.can.Qx_Can_Data_t_U64_get(data)) == 8
    return call


def can_u64_member(x):
    item = x.keep(x.can, "Qx_Can_Monitor_BufferItem_t")

    def call():
        x.can.Qx_Can_Monitor_BufferItem_t_Timestamp_set(item, 2**64 - 1)
        assert x.can.Qx_Can_Monitor_BufferItem_t_Timestamp_get(item) == 2**64 - 1
    return call


def can_records_by_value(x):
    qxtest.module(qxtest.registry()["common"])
    signal = x.keep(x.c, "Qx_Common_Signal_t")
    x.c.Qx_Common_Signal_t_Size_set(signal, 4)
    x.c.Qx_Common_Signal_t_ByteOrder_set(signal, 1)
    x.c.Qx_Common_Signal_t_Offset_set(signal, x.qxt.qxt_u16_array([60]))
    data = x.keep(x.can, "Qx_Can_Data_t")
    x.can.Qx_Can_CyclicMsgs_DefineMsg(x.port, 0x321, 100, 0, 1, 0, [0] * 8, 8)

    def call():
        assert x.can.Qx_Can_CyclicMsgs_Parity_Define(x.port, 0x321, 0x101, signal, data) is None
        assert x.can.Qx_Can_CyclicMsgs_Parity_Delete(x.port, 0x321, signal) is None
    return call


def can_node_state(x):
    def call():
        state = x.can.Qx_Can_Node_GetState(x.port, 0)
        assert "Qx_Can_Node_GetState_Rsp_t" in repr(state)
        x.can.delete_Qx_Can_Node_GetState_Rsp_t(state)
    return call


def can_failing(function, *args):
    def row(x):
        x.sim.fail(function)
        return lambda: refused(Exception, getattr(x.can, function), x.port, *args)
    return row


def can_refused(exc, function, *args):
    return lambda x: lambda: refused(exc, getattr(x.can, function), x.port, *args)


ROWS += [
    ("can", "byte list in a stack buffer, appended outputs", can_stack_buffer),
    ("can", "record list in", can_record_list_in),
    ("can", "record list out", can_record_array_out),
    ("can", "array argument in and out", can_array_argument),
    ("can", "array member from and to a list", can_array_member),
    ("can", "64-bit member", can_u64_member),
    ("can", "records by value, from another module", can_records_by_value),
    ("can", "record output", can_node_state),
    ("can", "doubles in, appended output", lambda x: ok(
        x.can.Qx_Can_Node_CalculateBaudrateRegisterValue, x.port, 80e6, 500000, 80, 16, 2, 1,
        result=lambda v: type(v) is int)),
    ("can", "failing status, record output", can_failing("Qx_Can_Node_GetState", 0)),
    ("can", "failing status, appended outputs", can_failing("Qx_Can_TxFifo_GetState")),
    ("can", "failing status, record list in", can_failing("Qx_Can_TxFifo_QueueMsgs", 0, [])),
    ("can", "failing status, record list out", can_failing("Qx_Can_Monitor_BufferMode_GetItems", 0, 5)),
    ("can", "refused: byte list", can_refused(TypeError, "Qx_Can_TxFifo_QueueMsg", 1, 7, 8)),
    ("can", "refused: byte list length", can_refused(ValueError, "Qx_Can_TxFifo_QueueMsg", 1, [0] * 65, 8)),
    ("can", "refused: byte list item", can_refused(TypeError, "Qx_Can_TxFifo_QueueMsg", 1, [1, "x"], 8)),
    ("can", "refused: byte list item range", can_refused(OverflowError, "Qx_Can_TxFifo_QueueMsg", 1, [2**31], 8)),
    ("can", "refused: record list", can_refused(TypeError, "Qx_Can_TxFifo_QueueMsgs", 0, 5)),
    ("can", "refused: record list item", can_refused(TypeError, "Qx_Can_TxFifo_QueueMsgs", 0, [None])),
    ("can", "refused: capacity type", can_refused(TypeError, "Qx_Can_Monitor_BufferMode_GetItems", 0, "5")),
    ("can", "refused: capacity sign", can_refused(ValueError, "Qx_Can_Monitor_BufferMode_GetItems", 0, -1)),
    ("can", "refused: capacity range", can_refused(OverflowError, "Qx_Can_Monitor_BufferMode_GetItems", 0, 2**31)),
    ("can", "refused: array argument length",
     can_refused(ValueError, "Qx_Can_Monitor_ListMode_GetItem", 0, None, None, None, None, [0] * 7)),
    ("can", "refused: array argument item",
     can_refused(ValueError, "Qx_Can_Monitor_ListMode_GetItem", 0, None, None, None, None, [0.5] * 8)),
    ("can", "refused: double", can_refused(TypeError, "Qx_Can_Node_CalculateBaudrateRegisterValue",
                                           "80e6", 500000, 80, 16, 2, 1)),
    ("can", "refused: 64-bit value",
     setter_refused("can", OverflowError, "Qx_Can_Monitor_BufferItem_t", "Timestamp", 2**64)),
    ("can", "refused: 64-bit value type",
     setter_refused("can", TypeError, "Qx_Can_Monitor_BufferItem_t", "Timestamp", 1.0)),
    ("can", "refused: array member", setter_refused("can", TypeError, "Qx_Can_Data_t", "U8", 5)),
    ("can", "refused: array member length", setter_refused("can", ValueError, "Qx_Can_Data_t", "U8", [0] * 63)),
    ("can", "refused: array member item", setter_refused("can", ValueError, "Qx_Can_Data_t", "U8", [0] * 63 + ["x"])),
    ("can", "refused: array member item range",
     setter_refused("can", OverflowError, "Qx_Can_Data_t", "U8", [0] * 63 + [2**32])),
    ("can", "refused: callback", can_refused(TypeError, "Qx_Can_TxFifo_GetState_Async_AddCallback", print)),
    ("can", "refused: record by value", can_refused(ValueError, "Qx_Can_CyclicMsgs_Parity_Delete", 1, None)),
]


# _qx_api_can: CCP master

def ccp_master(x):
    """Instance 0 of the port set up for the simulated slave at station 1 and
    connected."""
    parameters = x.keep(x.can, "Qx_Can_Ccp_Init_Parameters_t")
    x.can.Qx_Can_Ccp_Init_Parameters_t_StationAddress_set(parameters, 1)
    x.can.Qx_Can_Ccp_Init(x.port, 0, parameters)
    x.can.Qx_Can_Ccp_Command_Connect(x.port, 0, 1)


def ccp_error_description(x):
    ccp_master(x)

    def call():
        text, response = x.can.Qx_Can_Ccp_GetCcpErrorDescription()
        assert text == "acknowledge (no error)"
        x.can.delete_Qx_Can_Ccp_GetResponse_Rsp_t(response)
    return call


def ccp_unlock(x):
    ccp_master(x)
    key = x.qxt.qxt_u8_array([0xA1, 0x12, 0xBF, 0xBD, 0, 0])

    def call():
        x.can.delete_Qx_Can_Ccp_Command_GetSeed_Rsp_t(x.can.Qx_Can_Ccp_Command_GetSeed(x.port, 0, 0x40))
        assert x.can.Qx_Can_Ccp_Command_Unlock(x.port, 0, key) == 0x43
    return call


def ccp_daq_messages(x):
    ccp_master(x)

    def call():
        x.can.Qx_Can_Ccp_Command_StartStop(x.port, 0, 1, 0, 1, 0, 1)
        flags, messages = x.can.Qx_Can_Ccp_GetDaqMessages(x.port, 0, 4)
        assert flags == 0 and len(messages) == 2
        for message in messages:
            x.can.delete_Qx_Can_Ccp_DaqMessage_t(message)
    return call


def ccp_null_error_description(x):
    x.sim.text_result("Qx_Can_Ccp_GetCcpErrorDescription", None)

    def call():
        x.can.delete_Qx_Can_Ccp_GetResponse_Rsp_t(x.can.Qx_Can_Ccp_GetCcpErrorDescription())
    return call


# _qx_api_can: network management and the transmit table

def can_nm_osek(x):
    params = x.keep(x.can, "Qx_Can_Nm_Config_Osek_Parameters_t")
    x.can.Qx_Can_Nm_Config_Osek_Parameters_t_Range_NumberOfNodes_set(
        x.can.Qx_Can_Nm_Config_Osek_Parameters_t_Range_get(params), 4)
    x.can.Qx_Can_Nm_Config_Osek(x.port, params)
    return params


def can_node_list(x):
    can_nm_osek(x)
    nodes = [x.qxt.qxt_u8_array([n]) for n in (0, 3, 1)]
    return ok(x.can.Qx_Can_Nm_Nodes_Start, x.port, nodes, result=is_none)


def can_node_list_refused(x, exc, items):
    can_nm_osek(x)
    nodes = items(x)
    return lambda: refused(exc, x.can.Qx_Can_Nm_Nodes_ChangeGroup, x.port, 1, nodes)


def can_nm_node_state(x):
    params = x.keep(x.can, "Qx_Can_Nm_Config_Autosar_Parameters_t")
    x.can.Qx_Can_Nm_Config_Autosar_Parameters_t_Range_NumberOfNodes_set(
        x.can.Qx_Can_Nm_Config_Autosar_Parameters_t_Range_get(params), 2)
    x.can.Qx_Can_Nm_Config_Autosar(x.port, params)
    return ok(x.can.Qx_Can_Nm_Autosar_Node_GetState, x.port, 1, result=int_list(3))


ROWS += [
    ("can", "node list of pointer objects", can_node_list),
    ("can", "array arguments in", lambda x: (can_nm_osek(x), ok(
        x.can.Qx_Can_Nm_Config_SetData, x.port, [1] * 8, (2,) * 8, result=is_none))[1]),
    ("can", "appended u32 and u8 outputs", can_nm_node_state),
    ("can", "failing status, node list", lambda x: (can_nm_osek(x), can_failing(
        "Qx_Can_Nm_Nodes_Stop", [x.qxt.qxt_u8_array([1])])(x))[1]),
    ("can", "refused: node list longer than its count",
     lambda x: can_node_list_refused(x, ValueError, lambda x: [x.qxt.qxt_u8_array([0])] * 256)),
    ("can", "refused: node list item",
     lambda x: can_node_list_refused(x, TypeError, lambda x: [x.qxt.qxt_u8_array([0]), 1])),
    ("can", "refused: node list", lambda x: can_node_list_refused(x, TypeError, lambda x: 5)),
    ("can", "refused: array argument in",
     can_refused(ValueError, "Qx_Can_Nm_Config_SetData", [0] * 8, [0] * 7 + ["x"])),
    ("can", "refused: items beside a count",
     lambda x: can_refused(ValueError, "Qx_Can_Tar_AddTxItems_Simple", 0, 2,
                           x.keep(x.can, "Qx_Can_Tar_TxItem_Simple_t"))(x)),
]


# _qx_api_can: triggers, gateways and transmit trace

def can_trace_download(x):
    x.can.Qx_Can_TxTrace_Allocate(x.port, x.cell)
    handle = x.q.int_p_value(x.cell)
    msg = x.keep(x.can, "Qx_Can_TxTrace_Msg_t")

    def call():
        assert x.can.Qx_Can_TxTrace_Download(x.port, handle, 1, 0, msg) is None
        refused(ValueError, x.can.Qx_Can_TxTrace_Download, x.port, handle, 2, 0, msg)
        assert x.can.Qx_Can_TxTrace_Property_GetById(x.port, handle, 0, x.cell) is None
    return call


# _qx_api_can: transport protocols and diagnostic sessions

def can_tp_channel(x):
    """A channel taken on the context's port."""
    cell = x.qxt.qxt_u8_array([0])
    x.can.Qx_Can_Tp_GetChannel(x.port, cell)
    return x.qxt.qxt_read_u8(cell, 1)[0]


def can_tp_bytes_out(x):
    channel = can_tp_channel(x)
    x.sim.output("Qx_Can_Tp_Broadcast_GetData", 3, bytes([1, 2, 255]))
    x.sim.output("Qx_Can_Tp_Broadcast_GetData", 4, struct.pack("<I", 3))
    return ok(x.can.Qx_Can_Tp_Broadcast_GetData, x.port, channel, 8, result=lambda v: v == [1, 2, 255])


def can_tp_channel_callback(x):
    x.qxt.qxt_tp_clear()
    x.can.Qx_Can_Tp_GetChannel_Async_AddCallback(x.port, x.qxt.qxt_tp_channel_callback())

    def call():
        assert x.can.Qx_Can_Tp_GetChannel_Async(x.port) is None
        (entry,) = x.qxt.qxt_tp_callback_calls()
        x.can.Qx_Can_Tp_FreeChannel(x.port, entry[2])
        x.qxt.qxt_tp_clear()
    return call


def can_tp_tester_present_view(x):
    record = x.keep(x.can, "Qx_Can_Diag_Config_J1939_Parameters_t")

    def call():
        view = x.can.Qx_Can_Diag_Config_J1939_Parameters_t_TesterPresent_get(record)
        x.can.Qx_Can_Diag_Config_J1939_Parameters_t_TesterPresent_Data_set(view, list(range(11)))
        assert x.can.Qx_Can_Diag_Config_J1939_Parameters_t_TesterPresent_Data_get(view) == list(range(11))
    return call


# _qx_api_common: XCP and function blocks

def xcp_set_up(x):
    """XCP instance 0 of the common port, set up on CAN and connected."""
    setup = x.keep(x.c, "Qx_Common_Xcp_Init_Can_Cmd_t")
    x.c.Qx_Common_Xcp_Init_Can_Cmd_t_CanIdSlave_set(setup, 1)
    x.c.Qx_Common_Xcp_Init_Can(x.common_port, 0, setup)
    x.c.Qx_Common_Xcp_Cmd_Connect(x.common_port, 0, x.keep(x.c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"),
                                  x.keep(x.c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t"))


def xcp_size_member(x):
    signal = x.keep(x.c, "Qx_Common_Xcp_Daq_Signal_t")
    big = 2 ** (8 * struct.calcsize("N")) - 1

    def call():
        x.c.Qx_Common_Xcp_Daq_Signal_t_Handle_set(signal, big)
        assert x.c.Qx_Common_Xcp_Daq_Signal_t_Handle_get(signal) == big
        refused(OverflowError, x.c.Qx_Common_Xcp_Daq_Signal_t_Handle_set, signal, big + 1)
    return call


def xcp_records_beside_count(x):
    xcp_set_up(x)
    signal = x.keep(x.c, "Qx_Common_Xcp_Daq_Signal_t")
    x.c.Qx_Common_Xcp_Daq_Signal_t_Address_set(signal, 0x10000)

    def call():
        assert x.c.Qx_Common_Xcp_Daq_SetSignals(x.common_port, 0, 0, 1, signal) is None
        refused(ValueError, x.c.Qx_Common_Xcp_Daq_SetSignals, x.common_port, 0, 0, 2, signal)
    return call


def xcp_raw_command(x):
    xcp_set_up(x)
    cmd = x.keep(x.c, "Qx_Common_Xcp_CommandWithResponse_Cmd_t")
    rsp = x.keep(x.c, "Qx_Common_Xcp_CommandWithResponse_Rsp_t")
    x.c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_set(cmd, x.qxt.qxt_u16_array([1]))
    data = x.qxt.qxt_u8_array([0xFD] + [0] * 4095)

    def call():
        x.c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Data_set(cmd, data)
        assert x.c.Qx_Common_Xcp_CommandWithResponse(x.common_port, 0, cmd, rsp) is None
        assert len(x.c.Qx_Common_Xcp_CommandWithResponse_Rsp_t_Data_get(rsp)) == 4096
        length = x.c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_get(cmd)
        x.c.Qx_Common_Xcp_CommandWithResponse_Cmd_t_Length_set(cmd, length)  # a copy: it frees itself
    return call


def fbp_name_lookup(x):
    cell = x.keep(q, "int_p")

    def call():
        assert x.c.Qx_Common_Fbp_Fb_GetFbIdByFbName(x.common_port, 0, "XcpMaster", cell) is None
        refused(Exception, x.c.Qx_Common_Fbp_Fb_GetFbIdByFbName, x.common_port, 0, "Unknown", cell)
        refused(TypeError, x.c.Qx_Common_Fbp_Fb_GetFbIdByFbName, x.common_port, 0, "XcpMaster", x.info)
    return call


ROWS += [
    ("can", "CCP: text result and record output", ccp_error_description),
    ("can", "CCP: null text result, record output alone", ccp_null_error_description),
    ("can", "CCP: record output, one-byte appended output", ccp_unlock),
    ("can", "CCP: appended flags and record list", ccp_daq_messages),
    ("can", "CCP: failing status, flags and record list", can_failing("Qx_Can_Ccp_GetEventMessages", 0, 4)),
]

ROWS += [
    ("can", "records beside a count, u32_t cell", can_trace_download),
    ("can", "record in, response record filled", lambda x: ok(
        x.can.Qx_Can_Trigger_InputState_Get, x.port, x.keep(x.can, "Qx_Can_Trigger_InputState_Get_Parameters_t"),
        x.keep(x.can, "Qx_Can_Trigger_InputState_Get_Response_t"), result=is_none)),
]

ROWS += [
    ("can", "tp: byte list out, CAN wording", can_tp_bytes_out),
    ("can", "tp: u8 and u32 outputs appended",
     lambda x: ok(x.can.Qx_Can_Diag_GetState, x.port, can_tp_channel(x), 0, result=int_list(4))),
    ("can", "tp: native callback called during the call", can_tp_channel_callback),
    ("can", "tp: record declared in place, array member", can_tp_tester_present_view),
    ("can", "tp: failing status, byte list out", can_failing("Qx_Can_Tp_Broadcast_GetData", 1, 8)),
    ("can", "tp: failing status, u8 outputs", can_failing("Qx_Can_Diag_GetState", 1, 0)),
    ("can", "tp: refused: capacity type", can_refused(TypeError, "Qx_Can_Tp_Broadcast_GetData", 1, "8")),
    ("can", "tp: refused: capacity sign", can_refused(ValueError, "Qx_Can_Tp_Broadcast_GetData", 1, -1)),
    ("can", "tp: refused: capacity range", can_refused(OverflowError, "Qx_Can_Tp_Broadcast_GetData", 1, 2**31)),
    ("can", "tp: refused: callback", can_refused(TypeError, "Qx_Can_Diag_GetState_Async_AddCallback", 1, print)),
    ("can", "tp: refused: channel cell", can_refused(TypeError, "Qx_Can_Tp_GetChannel", [0])),
]

ROWS += [
    ("common", "size_t member, full width", xcp_size_member),
    ("common", "records beside a count, and refused", xcp_records_beside_count),
    ("common", "raw command: array member from a pointer and to a list, u16 values", xcp_raw_command),
    ("common", "text in, a failing status and a refused cell after it", fbp_name_lookup),
    ("common", "failing status, caller's response record",
     lambda x: lambda: refused(Exception, x.c.Qx_Common_Xcp_Cmd_GetStatus, x.common_port, 9, None)),
    ("common", "refused: array member type",
     setter_refused("c", TypeError, "Qx_Common_Xcp_Daq_Start2_Cmd_t", "Key", [0] * 256)),
]


# _qx_api_trovix

def trovix_set_up(x):
    """The Trovix port, initialised, with signals Speed (0) and Gear (1) in PDU
    Engine of ECU1."""
    x.tv = x.modules["trovix"]
    info = x.keep(q, "Qx_InterfaceInfo_t")
    q.Qx_InterfaceInfo_t_Type_set(info, q.QX_INTERFACE_TYPE__TROVIX)
    q.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(q.Qx_InterfaceInfo_t_Parameters_get(info), 2)
    x.tport = q.Qx_OpenInterface(info)
    x.tv.Qx_Trovix_InitInterface(x.tport, 0)
    x.tv.Qx_Trovix_Signal_Config(x.tport, "signal=Speed,bits=16,pdu=Engine,ecu=ECU1;signal=Gear,pdu=Engine,ecu=ECU1")
    return x.tv


def trovix_text_member(x):
    tv = trovix_set_up(x)
    record = x.keep(tv, "Qx_Trovix_PduInfo_t")

    def call():
        tv.Qx_Trovix_PduInfo_t_PduName_set(record, "Engine")
        assert tv.Qx_Trovix_PduInfo_t_PduName_get(record) == "Engine"
        refused(TypeError, tv.Qx_Trovix_PduInfo_t_PduName_set, record, "x" * 256)
        refused(TypeError, tv.Qx_Trovix_PduInfo_t_PduName_set, record, b"x")
    return call


def trovix_read_in_out(x):
    tv = trovix_set_up(x)
    data = x.qxt.qxt_u8_array([0] * 8)
    size = x.qxt.qxt_u16_array([8])

    def call():
        assert tv.Qx_Trovix_Signal_Read(x.tport, 0, 0, 0, 8, data) == [0, 2]
        flags, view = tv.Qx_Trovix_Signal_Read(x.tport, 0, 0, 0, size, data)
        assert flags == 0 and int(view) == int(size)
        refused(OverflowError, tv.Qx_Trovix_Signal_Read, x.tport, 0, 0, 0, -1, data)
        refused(TypeError, tv.Qx_Trovix_Signal_Read, x.tport, 0, 0, 0, 8, 5)
    return call


def trovix_lists(x):
    tv = trovix_set_up(x)
    groups = [x.keep(tv, "Qx_Trovix_Pdu_PduGroupControl_Group_t") for _ in range(2)]
    storage = x.keep(tv, "Qx_Trovix_Pdu_IncludedSignal_t")

    def call():
        assert tv.Qx_Trovix_Pdu_PduGroupControl(x.tport, groups) is None
        refused(TypeError, tv.Qx_Trovix_Pdu_PduGroupControl, x.tport, [groups[0], None])
        infos = tv.Qx_Trovix_Signal_GetSignalList(x.tport, 4)
        assert len(infos) == 2
        for info in infos:
            tv.delete_Qx_Trovix_SignalInfo_t(info)
        assert tv.Qx_Trovix_Pdu_IncludedSignals_Get(x.tport, "Engine", "ECU1", 0, storage) == 2
    return call


def trovix_outputs(x):
    tv = trovix_set_up(x)

    def call():
        info = tv.Qx_Trovix_Signal_GetSignalInfo(x.tport, 1)
        assert tv.Qx_Trovix_SignalInfo_t_Name_get(info) == "Gear"
        tv.delete_Qx_Trovix_SignalInfo_t(info)
        assert tv.Qx_Trovix_Signal_GetSignalHandle(x.tport, "Gear") == 1
        refused(Exception, tv.Qx_Trovix_Signal_GetSignalHandle, x.tport, "Rpm")
        refused(Exception, tv.Qx_Trovix_Signal_GetSignalInfo, x.tport, 9)
    return call


def trovix_monitor(x):
    tv = trovix_set_up(x)
    config = x.keep(tv, "Qx_Trovix_Com_SignalMonitor_Config_Cmd_t")
    tv.Qx_Trovix_Com_SignalMonitor_Config_Cmd_t_NumberOfSignals_set(config, 2)
    signal = x.keep(tv, "Qx_Trovix_Com_SignalMonitor_Config_Signal_t")
    stop = x.keep(tv, "Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t")

    def call():
        refused(ValueError, tv.Qx_Trovix_Com_SignalMonitor_Config, x.tport, config, signal, None)
        tv.Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t_Timestamp_set(stop, 2**64 - 1)
        assert tv.Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t_Timestamp_get(stop) == 2**64 - 1
        refused(OverflowError, tv.Qx_Trovix_Com_SignalMonitor_Stop_Rsp_t_Timestamp_set, stop, 2**64)
    return call


def trovix_any_pointer(x):
    tv = trovix_set_up(x)
    record = x.keep(tv, "Qx_Trovix_SignalBlock_Signals_t")

    def call():
        assert tv.Qx_Trovix_Signal_Write(x.tport, 0, 0, 1, 1, record) is None
        assert tv.Qx_Trovix_Signal_Write(x.tport, 0, 0, 1, 1, x.cell) is None
        refused(TypeError, tv.Qx_Trovix_Signal_Write, x.tport, 0, 0, 1, 1, b"x")
        refused(TypeError, tv.Qx_Trovix_Signal_UpdateCallback_Set, x.tport, 0, 0, 1, print)
    return call


ROWS += [
    ("trovix", "text member set, got and refused", trovix_text_member),
    ("trovix", "in/out scalar as an int and as a pointer object", trovix_read_in_out),
    ("trovix", "record list in, capacity list out, count out beside records", trovix_lists),
    ("trovix", "record output, u16 output, failing statuses", trovix_outputs),
    ("trovix", "records beside a command's count refused, 64-bit member", trovix_monitor),
    ("trovix", "any pointer object for data, refused callables", trovix_any_pointer),
]


# Com run-time control: a byte list in with its count first

def trovix_com_write(x, fail=False):
    tv = trovix_set_up(x)
    tv.Qx_Trovix_Com_TxPdu_MaxNumber(x.tport, 1)
    pdu = x.keep(tv, "Qx_Trovix_Com_TxPdu_Config_Parameters_t")
    tv.Qx_Trovix_Com_TxPdu_Config_Parameters_t_TxPduId_set(pdu, 10)
    tv.Qx_Trovix_Com_TxPdu_Config_Parameters_t_PduLength_set(pdu, 8)
    tv.Qx_Trovix_Com_TxPdu_Config(x.tport, pdu)
    tv.Qx_Trovix_Com_Init(x.tport)
    if fail:
        x.sim.fail("Qx_Trovix_Com_TxPdu_Write")

    def call():
        if fail:
            refused(Exception, tv.Qx_Trovix_Com_TxPdu_Write, x.tport, 0, 10, [1, 2, 300])
            return
        assert tv.Qx_Trovix_Com_TxPdu_Write(x.tport, 0, 10, (1, 2, 300)) is None
        refused(TypeError, tv.Qx_Trovix_Com_TxPdu_Write, x.tport, 0, 10, 5)
        refused(TypeError, tv.Qx_Trovix_Com_TxPdu_Write, x.tport, 0, 10, [1, "x"])
        refused(OverflowError, tv.Qx_Trovix_Com_TxPdu_Write, x.tport, 0, 10, [1, 2**31])
    return call


ROWS += [
    ("trovix", "byte list in, count first, refused items", trovix_com_write),
    ("trovix", "failing status, byte list in, count first", lambda x: trovix_com_write(x, fail=True)),
]


# Views and extents (every module's runtime)

def view_outlives_its_record(x):
    def call():
        info = q.new_Qx_InterfaceInfo_t()
        union = q.Qx_InterfaceInfo_t_Parameters_u_get(q.Qx_InterfaceInfo_t_Parameters_get(info))
        q.Qx_InterfaceInfo_t_Parameters_u_CardNumber_set(union, 5)
        q.delete_Qx_InterfaceInfo_t(info)  # the view holds a null address from now on
        refused(ValueError, q.Qx_InterfaceInfo_t_Parameters_u_CardNumber_get, union)
        cell = q.new_int_p()
        view = q.int_p_frompointer(q.int_p_cast(cell))  # keeps the cell until it goes
        q.int_p_assign(view, 3)
        refused(TypeError, cell.append, view)
        del view
        q.delete_int_p(cell)
    return call


def view_refused_by_extent(x):
    data, source = x.keep(x.can, "Qx_Can_Data_t"), x.keep(q, "Qx_Data_t")
    short = x.qxt.qxt_view_reaching("u8_t *", 3)

    def call():
        refused(ValueError, x.can.Qx_Can_Data_t_U16_set, data, q.Qx_Data_t_U16_get(source))
        refused(ValueError, x.c.Qx_Common_Ethernet_SubNetMask_Set, x.common_port, short)
    return call


def value_copies(x):
    record = x.keep(q, "Qx_InterfaceData_t")

    def call():
        port = q.Qx_InterfaceData_t_TcpPort_get(record)
        q.Qx_InterfaceData_t_TcpPort_set(record, port)
    return call


ROWS += [
    ("base", "views keep their record, or refuse a deleted one", view_outlives_its_record),
    ("can", "refused: sources that reach too few bytes", view_refused_by_extent),
    ("base", "value copies free themselves", value_copies),
]


# _qx_storage (rows named "storage")

def storage_arrays(x):
    def call():
        for name, value in (("u8", 255), ("u64", 2**64 - 1), ("s32", -2**31), ("float64", 0.5)):
            array = getattr(st, f"new_{name}_array")(4)
            getattr(st, f"{name}_array_setitem")(array, 3, value)
            assert getattr(st, f"{name}_array_getitem")(array, 3) == value
            getattr(st, f"delete_{name}_array")(array)
            getattr(st, f"delete_{name}_array")(array)  # a second delete frees nothing
        st.new_u16_array(8)  # collected: frees itself
    return call


def storage_cells(x):
    def call():
        for name, value in (("u16", 0xBEEF), ("s64", -2**63), ("float", 0.25), ("Qx_Error", 7), ("size", 9),
                            ("Qx_Common_EventHandle", 9)):
            cell = getattr(st, f"copy_{name}_p")(value)
            getattr(st, f"{name}_p_assign")(cell, value)
            assert getattr(st, f"{name}_p_value")(cell) == value
            getattr(st, f"delete_{name}_p")(cell)
        assert st.u64_p_value(st.new_u64_p()) == 0
    return call


def storage_bytes(x):
    buffer = st.new_u8_array(64)
    data = bytes(range(64))

    def call():
        for source in (data, bytearray(data), memoryview(data)):
            st.memmove(buffer, source)
        assert st.cdata(buffer, 64) == data
        refused(ValueError, st.memmove, buffer, bytes(65))  # the view of the source is released
        refused(TypeError, st.memmove, buffer, "text")
        refused(ValueError, st.cdata, buffer, 65)
    return call


def storage_refused(x):
    array, deleted = st.new_u8_array(4), st.new_u8_array(4)
    st.delete_u8_array(deleted)

    def call():
        refused(OverflowError, st.u8_array_setitem, array, 0, 256)
        refused(TypeError, st.u8_array_setitem, array, 0, "1")
        refused(IndexError, st.u8_array_getitem, array, 4)
        refused(ValueError, st.u8_array_getitem, deleted, 0)
        refused(ValueError, st.new_u8_array, 0)
        refused(OverflowError, st.new_u8_array, 2**32)  # beyond the most an array holds
        refused(OverflowError, st.copy_float64_p, 10**400)
        refused(TypeError, st.copy_s32_p, 1.5)
    return call


def storage_in_the_modules(x):
    record = x.keep(q, "Qx_Data_t")

    def call():
        q.Qx_Data_t_U64_set(record, st.copy_u64_p(2**64 - 1))
        assert st.u64_p_value(q.Qx_Data_t_U64_get(record)) == 2**64 - 1
        assert st.u16_array_getitem(q.Qx_Data_t_U16_get(record), 3) == 0xFFFF
        data, length = st.new_u8_array(8), st.copy_u32_p(8)
        q.Qx_Fpga_WriteFifo(x.port, data, 8)
        q.Qx_Fpga_ReadFifo(x.port, data, length)
        refused(ValueError, q.Qx_Fpga_WriteFifo, x.port, data, 9)
    return call


def storage_event_handles(x):
    handle, monitor = st.new_size_p(), st.new_Qx_Common_EventHandle_p()

    def call():
        x.c.Qx_Common_Events_AllocateEvent(x.common_port, handle)
        st.Qx_Common_EventHandle_p_assign(monitor, st.size_p_value(handle))
        x.can.Qx_Can_Monitor_BufferMode_EnableEvent(x.port, monitor)
        refused(TypeError, x.can.Qx_Can_Monitor_BufferMode_EnableEvent, x.port, handle)
        x.c.Qx_Common_Events_DeallocateEvent(x.common_port, handle)
    return call


SIGNAL = "Qx_Common_Xcp_Daq_Signal_t"


def storage_record_arrays(x):
    c = x.c
    source = x.keep(c, SIGNAL)
    c.Qx_Common_Xcp_Daq_Signal_t_Address_set(source, 0x10000)

    def call():
        array = st.new_Qx_Common_Xcp_Daq_Signal_t_array(4)
        st.Qx_Common_Xcp_Daq_Signal_t_array_setitem(array, 3, source)
        view = st.Qx_Common_Xcp_Daq_Signal_t_array_getitem(array, 3)
        del array  # the view keeps it
        assert c.Qx_Common_Xcp_Daq_Signal_t_Address_get(view) == 0x10000
        c.Qx_Common_Xcp_Daq_Signal_t_Handle_set(view, 7)
        deleted = st.new_Qx_Common_Xcp_Daq_Signal_t_array(2)
        st.delete_Qx_Common_Xcp_Daq_Signal_t_array(deleted)
        st.delete_Qx_Common_Xcp_Daq_Signal_t_array(deleted)  # a second delete frees nothing
    return call


def storage_record_arrays_refused(x):
    c = x.c
    array, deleted = st.new_Qx_Common_Xcp_Daq_Signal_t_array(2), st.new_Qx_Common_Xcp_Daq_Signal_t_array(2)
    st.delete_Qx_Common_Xcp_Daq_Signal_t_array(deleted)
    source, other = x.keep(c, SIGNAL), x.keep(c, "Qx_Common_Xcp_Daq_RxSignal_t")
    other_array = st.new_Qx_Common_Xcp_Daq_RxSignal_t_array(2)

    def call():
        refused(IndexError, st.Qx_Common_Xcp_Daq_Signal_t_array_getitem, array, 2)
        refused(IndexError, st.Qx_Common_Xcp_Daq_Signal_t_array_setitem, array, -1, source)
        refused(TypeError, st.Qx_Common_Xcp_Daq_Signal_t_array_setitem, array, 0, other)
        refused(ValueError, st.Qx_Common_Xcp_Daq_Signal_t_array_setitem, array, 0, None)
        refused(ValueError, st.Qx_Common_Xcp_Daq_Signal_t_array_getitem, deleted, 0)
        refused(ValueError, st.new_Qx_Common_Xcp_Daq_Signal_t_array, 0)
        refused(OverflowError, st.new_Qx_Common_Xcp_Daq_Signal_t_array, 2**32)
        refused(ValueError, c.Qx_Common_Xcp_Daq_SetSignals, x.port, 0, 0, 3, array)  # too few records
        refused(TypeError, c.Qx_Common_Xcp_Daq_SetSignals, x.port, 0, 0, 2, other_array)
        refused(ValueError, c.Qx_Common_Xcp_Daq_SetSignals, x.port, 0, 0, 2, deleted)
    return call


def storage_record_array_given(x):
    c = x.c
    init = x.keep(c, "Qx_Common_Xcp_Init_Can_Cmd_t")
    c.Qx_Common_Xcp_Init_Can_Cmd_t_CanIdMaster_set(init, 0x7F0)
    c.Qx_Common_Xcp_Init_Can_Cmd_t_CanIdSlave_set(init, 0x7F1)
    c.Qx_Common_Xcp_Init_Can(x.port, 0, init)
    c.Qx_Common_Xcp_Cmd_Connect(x.port, 0, x.keep(c, "Qx_Common_Xcp_Cmd_Connect_Cmd_t"),
                                x.keep(c, "Qx_Common_Xcp_Cmd_Connect_Rsp_t"))
    array = st.new_Qx_Common_Xcp_Daq_Signal_t_array(2)
    for i in range(2):
        c.Qx_Common_Xcp_Daq_Signal_t_Address_set(st.Qx_Common_Xcp_Daq_Signal_t_array_getitem(array, i), 0x10000 + i)

    def call():
        assert c.Qx_Common_Xcp_Daq_SetSignals(x.port, 0, 0, 2, array) is None
    return call


def storage_proxy_arrays(x):
    import qx_storage  # registers nothing: its record items, which would, are read in a child below

    def call():
        data = qx_storage.u8_array(8)
        data[0], data[-1] = 1, 255
        assert list(data) == [1, 0, 0, 0, 0, 0, 0, 255] and len(data) == 8 and data.cast().own()
        q.Qx_Fpga_WriteFifo(x.port, data, 8)
        refused(IndexError, data.__getitem__, 8)
        refused(IndexError, data.__setitem__, -9, 1)
        refused(OverflowError, data.__setitem__, 0, 256)
        refused(ValueError, qx_storage.float64_array, 0)
        data[1:7:2] = (value for value in (2, 3, 4))
        assert data[::-2] == [255, 4, 3, 2] and data[5:1] == []
        refused(ValueError, data.__setitem__, slice(0, 2), [1])
        refused(OverflowError, data.__setitem__, slice(0, 3), [1, 256, 1])
        refused(TypeError, data.__setitem__, slice(0, 1), 5)
        gone = qx_storage.u8_array(2)
        st.delete_u8_array(gone.cast())
        for use in (len, iter, lambda a: a[0:1], lambda a: a.__setitem__(0, 1)):
            refused(ValueError, use, gone)
        signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(2)
        refused(ValueError, x.c.Qx_Common_Xcp_Daq_SetSignals, x.port, 0, 0, 3, signals)
    return call


def storage_block_cell(x):
    address = struct.pack("P", 0x1000)

    def call():
        cell = st.new_Qx_Trovix_SignalBlock_pp()
        assert st.Qx_Trovix_SignalBlock_pp_value(cell) is None
        st.memmove(cell, address)
        block = st.Qx_Trovix_SignalBlock_pp_value(cell)
        refused(ValueError, st.cdata, block, 1)
        refused(ValueError, st.memmove, block, b"x")
        st.delete_Qx_Trovix_SignalBlock_pp(cell)
        st.delete_Qx_Trovix_SignalBlock_pp(cell)
        refused(ValueError, st.Qx_Trovix_SignalBlock_pp_value, cell)
        st.new_Qx_Trovix_SignalBlock_pp()  # collected: frees itself
    return call


ROWS += [
    ("storage", "arrays: new, set, get, delete, collected", storage_arrays),
    ("storage", "cells: new, copy, assign, value, delete", storage_cells),
    ("storage", "bytes in and out, refused", storage_bytes),
    ("storage", "refused values, indexes, counts, deleted objects", storage_refused),
    ("storage", "arrays and cells given to a module, copies read", storage_in_the_modules),
    ("can", "storage: event handle cells of common and CAN", storage_event_handles),
    ("common", "storage: record arrays: new, set, views kept and written, delete", storage_record_arrays),
    ("common", "storage: record arrays refused: index, type, None, deleted, count", storage_record_arrays_refused),
    ("common", "storage: record array given to a binding", storage_record_array_given),
    ("common", "storage: proxy arrays: items, length, cast, given, refused", storage_proxy_arrays),
    ("trovix", "storage: signal-block cell: new, value, bytes refused, delete", storage_block_cell),
]

# The module each row needs: a library's by its key in the registry, or the
# storage module.
MODULE_OF = dict(qxtest.registry(), storage="_qx_storage")


@needs_debug
@pytest.mark.parametrize("key, row", [pytest.param(key, row, id=f"{key}: {name}") for key, name, row in ROWS])
def test_no_reference_grows(ctx, key, row):
    qxtest.module(MODULE_OF[key])
    assert growth(row(ctx)) <= SLACK


@needs_debug
@qxtest.skip_if_left_out("common")
@qxtest.isolated
def test_no_reference_grows_through_proxy_record_items():
    # Reading an item imports the record's proxy module, which registers its
    # classes for the rest of the process: measured in a forked child.
    import qx_storage
    signals = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(3)

    def call():
        first = signals[0]
        first.Address = 0x10000
        signals[-1].Handle = first.Address
        assert [s.Handle for s in signals] == [0, 0, 0x10000]
        signals[1] = first
        last = qx_storage.Qx_Common_Xcp_Daq_Signal_t_array(2)[1]  # keeps its array
        last.DataType = 4
        refused(IndexError, signals.__getitem__, 3)
        refused(TypeError, signals.__setitem__, 0, 5)
        signals[1:] = signals[:2]  # views in a slice, records staged and copied
        assert [s.Handle for s in signals[::-1]] == [0, 0, 0]
        refused(TypeError, signals.__setitem__, slice(0, 2), [first, 5])
        refused(ValueError, signals.__setitem__, slice(0, 2), [first])
    assert type(signals[0]).__module__ == "qx_api_common"
    assert growth(call) <= SLACK


# ---- the measurement itself -------------------------------------------------------

@needs_debug
def test_measurement_sees_a_native_leak_of_one_reference_per_call():
    import ctypes
    leaked = object()
    before = sys.getrefcount(leaked)
    incref = ctypes.pythonapi.Py_IncRef
    incref.argtypes = [ctypes.py_object]
    assert growth(lambda: incref(leaked)) >= CALLS
    decref = ctypes.pythonapi.Py_DecRef
    decref.argtypes = [ctypes.py_object]
    for _ in range(sys.getrefcount(leaked) - before):
        decref(leaked)


# ---- the runtime's own references -------------------------------------------------
# Owned pointer objects hold a reference to the type table's capsule; taking
# ownership away (delete_R, a pointer member's setter) must release it. A
# class registered again replaces the earlier registration and releases it.

@needs_debug
@pytest.mark.parametrize("how", ["delete", "pointer member"])
def test_disowning_releases_the_capsule_reference(ctx, how):
    command = ctx.keep(q, "Qx_Interface_UpdateAllInterfaces_Cmd_t")

    def disown():
        if how == "delete":
            q.delete_Qx_Data_t(q.new_Qx_Data_t())
        else:  # the command keeps the record from now on
            q.Qx_Interface_UpdateAllInterfaces_Cmd_t_InterfaceData_set(command, q.new_Qx_InterfaceData_t())

    for _ in range(WARM_UP):
        disown()
    gc.collect()
    before = sys.getrefcount(capsule())
    for _ in range(CALLS):
        disown()
    gc.collect()
    assert sys.getrefcount(capsule()) - before <= SLACK


@needs_debug
def test_registering_a_class_again_releases_the_previous_registration():
    # Registration changes what every later binding returns for the type:
    # measured in an interpreter of its own.
    script = f"""
import gc, sys
import _qx_api as q
class Data:
    pass
for _ in range({WARM_UP}):
    q.Qx_Data_t_swigregister(Data)
gc.collect()
before = sys.gettotalrefcount()
for _ in range({CALLS}):
    q.Qx_Data_t_swigregister(Data)
gc.collect()
print(sys.gettotalrefcount() - before)
"""
    env = qxtest.child_env(os.path.dirname(q.__file__))
    out = subprocess.run([sys.executable, "-c", script], env=env, capture_output=True, text=True, timeout=120)
    assert out.returncode == 0, out.stderr
    assert int(out.stdout) <= SLACK
