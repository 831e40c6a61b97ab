"""The standard CCP commands from CONNECT to GET_CCP_VERSION: arguments as
the library receives them, response records and outputs, byte lists, and
the simulated slave's answers (memory, seed and key, DAQ lists)."""
import struct

import pytest

import qxtest
can = qxtest.module("_qx_api_can")

import layouts  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402
from ccp_support import MEMORY_BASE, MEMORY_SIZE, PGM, STATION, key_for, master, seed_of  # noqa: E402,F401


def fields_of(name, obj):
    return {f: getattr(can, f"{name}_{f}_get")(obj) for f in layouts.record(name).fields}


def rsp(name):
    return qxtest.new_record(can, f"Qx_Can_Ccp_Command_{name}_Rsp_t")


def unlock_programming(qxt, port):
    qxtest.owned(can.Qx_Can_Ccp_Command_GetSeed(port, 0, PGM))
    return can.Qx_Can_Ccp_Command_Unlock(port, 0, qxt.qxt_u8_array(key_for(PGM)))


# Every command on a connected master: Python arguments after port and
# instance ("u8:<bytes>" a u8_t pointer object, "rsp:<name>" a response record
# of the caller) and the scalars the library must receive (argument number:
# value). Each row's set-up makes the slave accept it.
COMMANDS = [
    ("Connect", [STATION + 0x10000], {3: STATION}, None),
    ("ExchangeId", ["u8:1,2,3,4,5,6"], {}, None),
    ("GetSeed", [0x140], {3: 0x40}, None),
    ("Unlock", ["u8:" + ",".join(map(str, key_for(1)))], {}, "seed"),
    ("SetMta", [0x101, 0x100, MEMORY_BASE + 8], {3: 1, 4: 0, 5: MEMORY_BASE + 8}, None),
    ("Download", [0x105, [1, 2, 3, 4, 5], "rsp:Download"], {3: 5}, None),
    ("Download6", [[1, 2, 3, 4, 5, 6], "rsp:Download6"], {}, None),
    ("Upload", [4, "u8:0,0,0,0"], {3: 4}, None),
    ("ShortUp", [2, 0, MEMORY_BASE, "u8:0,0"], {3: 2, 4: 0, 5: MEMORY_BASE}, None),
    ("SelectCalPage", [], {}, None),
    ("GetDaqSize", [1, 0xFFFFFFFF, "rsp:GetDaqSize"], {3: 1, 4: 0xFFFFFFFF}, None),
    ("SetDaqPtr", [1, 3, 6], {3: 1, 4: 3, 5: 6}, None),
    ("WriteDaq", [4, 0, MEMORY_BASE], {3: 4, 4: 0, 5: MEMORY_BASE}, "daq_ptr"),
    ("StartStop", [2, 1, 3, 0x1FF, 0x12345], {3: 2, 4: 1, 5: 3, 6: 0xFF, 7: 0x2345}, None),
    ("Disconnect", [0, STATION], {3: 0, 4: STATION}, None),
    ("SetSessionStatus", [0x181], {3: 0x81}, None),
    ("GetSessionStatus", ["rsp:GetSessionStatus"], {}, None),
    ("BuildChksum", [16, "rsp:BuildChksum"], {3: 16}, None),
    ("ClearMemory", [8], {3: 8}, "unlock"),
    ("Program", [2, [9, 9], "rsp:Program"], {3: 2}, "unlock"),
    ("Program6", [[1] * 6, "rsp:Program6"], {}, "unlock"),
    ("Move", [4], {3: 4}, None),
    ("DiagService", [0x10203, "u8:1,2,3,4", "rsp:DiagService"], {3: 0x0203}, None),
    ("ActionService", [0x0304, "u8:1,2,3,4", "rsp:ActionService"], {3: 0x0304}, None),
    ("Test", [STATION], {3: STATION}, None),
    ("StartStopAll", [0], {3: 0}, None),
    ("GetActiveCalPage", ["rsp:GetActiveCalPage"], {}, None),
    ("GetCcpVersion", [2, 1, "rsp:GetCcpVersion"], {3: 2, 4: 1}, None),
]


def make(qxt, arg):
    if isinstance(arg, str) and arg.startswith("u8:"):
        return qxt.qxt_u8_array([int(v) for v in arg[3:].split(",")])
    if isinstance(arg, str) and arg.startswith("rsp:"):
        return rsp(arg[4:])
    return arg


def prepare(qxt, port, setup):
    if setup == "seed":
        qxtest.owned(can.Qx_Can_Ccp_Command_GetSeed(port, 0, 1))
    elif setup == "daq_ptr":
        can.Qx_Can_Ccp_Command_SetDaqPtr(port, 0, 0, 0, 0)
    elif setup == "unlock":
        unlock_programming(qxt, port)


@pytest.mark.parametrize("name, args, scalars, setup", COMMANDS, ids=[c[0] for c in COMMANDS])
def test_each_command_passes_its_arguments_in_order(sim, qxt, master, name, args, scalars, setup):
    function = "Qx_Can_Ccp_Command_" + name
    prepare(qxt, master, setup)
    made = [make(qxt, a) for a in args]
    qxtest.owned(getattr(can, function)(master, 256, *made))  # the instance travels in 8 bits
    call = sim.last(function)
    assert [call.arg(1).value, call.arg(2).value] == [master, 0]
    assert {n: call.arg(n).value for n in scalars} == scalars
    for n, obj in enumerate(made, 3):  # pointer objects and records pass as they are
        if not isinstance(obj, (int, list)):
            assert call.arg(n).value == int(obj)
    n = 2 + len(args)
    with raises(TypeError, f"{function} expected {n} arguments, got {n + 1}"):
        getattr(can, function)(master, 0, *made, 0)
    with raises(TypeError, f"in method '{function}', argument 2 of type 'u8_t'"):
        getattr(can, function)(master, "0", *made)


def test_select_cal_page_takes_port_and_instance_only(master):
    assert can.Qx_Can_Ccp_Command_SelectCalPage(master, 0) is None
    with raises(TypeError, "Qx_Can_Ccp_Command_SelectCalPage expected 2 arguments, got 3"):
        can.Qx_Can_Ccp_Command_SelectCalPage(master, 0, 0)


@pytest.mark.parametrize("call, cls, text", [
    (lambda p: can.Qx_Can_Ccp_Command_SetMta(p, 0, "0", 0, 0), TypeError,
     "in method 'Qx_Can_Ccp_Command_SetMta', argument 3 of type 'Qx_Can_Ccp_MtaNumber_t'"),
    (lambda p: can.Qx_Can_Ccp_Command_SetMta(p, 0, 0, 0, 2**32), OverflowError,
     "in method 'Qx_Can_Ccp_Command_SetMta', argument 5 of type 'u32_t'"),
    (lambda p: can.Qx_Can_Ccp_Command_Unlock(p, 0, [1, 2]), TypeError,
     "in method 'Qx_Can_Ccp_Command_Unlock', argument 3 of type 'u8_t const *const'"),
    (lambda p: can.Qx_Can_Ccp_Command_ExchangeId(p, 0, rsp("GetSeed")), TypeError,
     "in method 'Qx_Can_Ccp_Command_ExchangeId', argument 3 of type 'u8_t const *const'"),
    (lambda p: can.Qx_Can_Ccp_Command_Download(p, 0, 1, [1], rsp("Download6")), TypeError,
     "in method 'Qx_Can_Ccp_Command_Download', argument 5 of type 'Qx_Can_Ccp_Command_Download_Rsp_t *const'"),
    (lambda p: can.Qx_Can_Ccp_Command_Download6(p, 0, [1], rsp("Download")), TypeError,
     "in method 'Qx_Can_Ccp_Command_Download6', argument 4 of type 'Qx_Can_Ccp_Command_Download6_Rsp_t *const'"),
    (lambda p: can.Qx_Can_Ccp_Command_Upload(p, 0, 1, 5), TypeError,
     "in method 'Qx_Can_Ccp_Command_Upload', argument 4 of type 'u8_t *const'"),
    (lambda p: can.Qx_Can_Ccp_Command_StartStop(p, 0, 0, 0, 0, 0, -1), OverflowError,
     "in method 'Qx_Can_Ccp_Command_StartStop', argument 7 of type 'u16_t'"),
    (lambda p: can.Qx_Can_Ccp_Command_Connect(p, 0, -1), OverflowError,
     "in method 'Qx_Can_Ccp_Command_Connect', argument 3 of type 'u16_t'"),
    (lambda p: can.Qx_Can_Ccp_Command_GetCcpVersion(p, 0, 2, 1, rsp("GetDaqSize")), TypeError,
     "in method 'Qx_Can_Ccp_Command_GetCcpVersion', argument 5 of type "
     "'Qx_Can_Ccp_Command_GetCcpVersion_Rsp_t *const'"),
])
def test_bad_arguments_are_refused_before_the_call(sim, master, call, cls, text):
    calls = len(sim.journal())
    with raises(cls, text):
        call(master)
    assert len(sim.journal()) == calls


@pytest.mark.parametrize("function, args, argno, text", [
    ("Download", [1, [1], None], 5, None),
    ("Download6", [[1] * 6, None], 4, None),
    ("GetDaqSize", [0, 0x100, None], 5, "no response record given"),
    ("GetSessionStatus", [None], 3, "no response record given"),
    ("Upload", [1, None], 4, "no destination given"),
    ("ExchangeId", [None], 3, "no master identification data given"),
    ("Unlock", [None], 3, "no key given"),
    ("DiagService", [1, None, None], 4, "no service parameters given"),
])
def test_none_passes_a_null_pointer(sim, master, function, args, argno, text):
    function = "Qx_Can_Ccp_Command_" + function
    if text is None:  # the slave needs no response record
        getattr(can, function)(master, 0, *args)
    else:
        with raises(Exception, f"{function}: {text}"):
            getattr(can, function)(master, 0, *args)
    assert sim.last(function).arg(argno).is_null


# ---- byte lists -------------------------------------------------------------------------

BYTE_LISTS = [("Download", (1,)), ("Download6", ()), ("Program", (1,)), ("Program6", ())]


@pytest.mark.parametrize("function, size", BYTE_LISTS)
@pytest.mark.parametrize("data", [[], list(range(64)), (256, -1, 0x1FF)])
def test_byte_lists_of_up_to_64_items_fill_a_zeroed_64_byte_buffer(sim, master, function, size, data):
    function = "Qx_Can_Ccp_Command_" + function
    sim.fail(function, 1)  # the buffer is the point, not the slave
    with pytest.raises(Exception):
        getattr(can, function)(master, 0, *size, data, None)
    sent = bytes(v & 0xFF for v in data)
    assert sim.last(function).arg(3 + len(size)).bytes == sent + bytes(64 - len(sent))


@pytest.mark.parametrize("function, size", BYTE_LISTS)
@pytest.mark.parametrize("data, cls, text", [
    (list(range(65)), ValueError, "Expecting a sequence with at most 64 elements"),
    (5, TypeError, "Expecting a sequence"),
    ([1, "2"], TypeError, "list must contain u8_t"),
    ([1, 2, 3, 4, 1.5], TypeError, "list must contain u8_t"),
])
def test_bad_byte_lists_send_nothing(sim, master, function, size, data, cls, text):
    function = "Qx_Can_Ccp_Command_" + function
    with raises(cls, f"fail in '{function}' : {text}"):
        getattr(can, function)(master, 0, *size, data, None)
    assert sim.calls(function) == 0


@pytest.mark.parametrize("function", ["Download", "Program"])
def test_a_size_beyond_the_64_byte_buffer_is_refused(sim, master, function):
    # The library takes the number of bytes to read from the size argument:
    # more than the buffer holds would have it read past the buffer.
    function = "Qx_Can_Ccp_Command_" + function
    with raises(ValueError, f"fail in '{function}' : size above the 64 bytes of the buffer"):
        getattr(can, function)(master, 0, 65, [1, 2], None)
    assert sim.calls(function) == 0
    sim.fail(function, 1)  # 64 still reaches the library
    with pytest.raises(Exception):
        getattr(can, function)(master, 0, 64, [1, 2], None)
    assert sim.last(function).arg(3).value == 64


# ---- outputs ------------------------------------------------------------------------------

def test_get_seed_returns_an_owned_record_with_four_seed_bytes(sim, master):
    first = qxtest.owned(can.Qx_Can_Ccp_Command_GetSeed(master, 0, PGM))
    assert first.own()
    assert fields_of("Qx_Can_Ccp_Command_GetSeed_Rsp_t", first) == dict(ProtectionStatus=1, SeedData=seed_of(PGM))
    second = qxtest.owned(can.Qx_Can_Ccp_Command_GetSeed(master, 0, 1))
    assert can.Qx_Can_Ccp_Command_GetSeed_Rsp_t_SeedData_get(first) == seed_of(PGM)
    assert fields_of("Qx_Can_Ccp_Command_GetSeed_Rsp_t", second) == dict(ProtectionStatus=0, SeedData=seed_of(1))
    assert len(sim.last("Qx_Can_Ccp_Command_GetSeed").arg(4).bytes) == 5


@pytest.mark.parametrize("function, args, argno, name", [
    ("ExchangeId", ["u8:0,0,0,0,0,0"], 4, "ExchangeId"),
    ("GetSeed", [1], 4, "GetSeed"),
])
def test_returned_records_read_every_field_the_library_wrote(sim, qxt, master, function, args, argno, name):
    record = f"Qx_Can_Ccp_Command_{name}_Rsp_t"
    data = bytes(range(0xF1, 0xF1 + layouts.size(record)))
    sim.output("Qx_Can_Ccp_Command_" + function, argno, data)
    result = qxtest.owned(getattr(can, "Qx_Can_Ccp_Command_" + function)(master, 0, *[make(qxt, a) for a in args]))
    assert fields_of(record, result) == layouts.unpack(record, data)


@pytest.mark.parametrize("function, args", [("ExchangeId", ["u8:0,0,0,0,0,0"]), ("GetSeed", [1]),
                                            ("Unlock", ["u8:0,0,0,0,0,0"])])
def test_failing_output_commands_return_nothing(sim, qxt, master, function, args):
    sim.fail("Qx_Can_Ccp_Command_" + function, 3, b"slave lost")
    with raises(Exception, "slave lost"):
        getattr(can, "Qx_Can_Ccp_Command_" + function)(master, 0, *[make(qxt, a) for a in args])


def test_unlock_returns_the_privilege_status_as_a_plain_int(sim, qxt, master):
    assert unlock_programming(qxt, master) == 0x43
    assert sim.last("Qx_Can_Ccp_Command_Unlock").arg(3).bytes == bytes(key_for(PGM))
    sim.output("Qx_Can_Ccp_Command_Unlock", 4, b"\xff")
    qxtest.owned(can.Qx_Can_Ccp_Command_GetSeed(master, 0, PGM))
    assert can.Qx_Can_Ccp_Command_Unlock(master, 0, qxt.qxt_u8_array(key_for(PGM))) == 255


@pytest.mark.parametrize("name, args, expected", [
    ("GetCcpVersion", [2, 1], dict(MainVersion=2, ReleaseVersion=1)),
    ("GetDaqSize", [1, 0x300], dict(DaqListSize=4, FirstPid=4)),
    ("GetActiveCalPage", [], dict(AddressExtension=0, Address=MEMORY_BASE)),
    ("GetSessionStatus", [], dict(StatusFlags=0, StatusInfoQualifier=0, StatusInfo=[0, 0, 0])),
    ("DiagService", [1, "u8:1,2,3,4"], dict(Length=0, DataType=0)),
])
def test_caller_records_are_filled_in_place(qxt, master, name, args, expected):
    record = rsp(name)
    for field in expected:  # prove the fields are written, not just left zero
        setter = getattr(can, f"Qx_Can_Ccp_Command_{name}_Rsp_t_{field}_set")
        setter(record, [0xEE] * len(expected[field]) if isinstance(expected[field], list) else 0xEE)
    made = [make(qxt, a) for a in args]
    assert getattr(can, "Qx_Can_Ccp_Command_" + name)(master, 0, *made, record) is None
    assert {f: v for f, v in fields_of(f"Qx_Can_Ccp_Command_{name}_Rsp_t", record).items() if f in expected} == expected


@pytest.mark.parametrize("record, field, n", [("GetSeed", "SeedData", 4), ("GetSessionStatus", "StatusInfo", 3),
                                              ("BuildChksum", "Data", 4)])
def test_array_setters_take_exactly_their_length(record, field, n):
    name = f"Qx_Can_Ccp_Command_{record}_Rsp_t_{field}"
    obj = rsp(record)
    getattr(can, name + "_set")(obj, [1] * n)
    for value, cls, text in [(7, TypeError, "Expecting a sequence"),
                             ([2] * (n + 1), ValueError, f"Expecting a sequence with {n} elements"),
                             ([2] * (n - 1) + [None], ValueError, "Expecting a sequence of u8_t")]:
        with raises(cls, f"fail in '{name}_set' : {text}"):
            getattr(can, name + "_set")(obj, value)
    assert getattr(can, name + "_get")(obj) == [1] * n


def test_the_seed_record_has_no_padding():
    assert layouts.size("Qx_Can_Ccp_Command_GetSeed_Rsp_t") == 5
    obj = rsp("GetSeed")
    can.Qx_Can_Ccp_Command_GetSeed_Rsp_t_SeedData_set(obj, [1, 2, 3, 4])
    can.Qx_Can_Ccp_Command_GetSeed_Rsp_t_ProtectionStatus_set(obj, 300)
    assert fields_of("Qx_Can_Ccp_Command_GetSeed_Rsp_t", obj) == dict(ProtectionStatus=44, SeedData=[1, 2, 3, 4])


# ---- the slave ----------------------------------------------------------------------------

def test_uploaded_bytes_match_what_was_downloaded(sim, qxt, master):
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 0, 0, MEMORY_BASE + 0x10)
    first, second = rsp("Download"), rsp("Download6")
    can.Qx_Can_Ccp_Command_Download(master, 0, 3, [0x11, 0x22, 0x33, 0x44], first)
    can.Qx_Can_Ccp_Command_Download6(master, 0, [1, 2, 3, 4, 5, 6, 7], second)
    assert fields_of("Qx_Can_Ccp_Command_Download_Rsp_t", first)["MTA0Address"] == MEMORY_BASE + 0x13
    assert fields_of("Qx_Can_Ccp_Command_Download6_Rsp_t", second)["MTA0Address"] == MEMORY_BASE + 0x19
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 0, 0, MEMORY_BASE + 0x10)
    up = qxt.qxt_u8_array([0xAA] * 6)
    can.Qx_Can_Ccp_Command_Upload(master, 0, 5, up)
    assert qxt.qxt_read_u8(up, 6) == [0x11, 0x22, 0x33, 1, 2, 0xAA]
    short = qxt.qxt_u8_array([0] * 4)
    can.Qx_Can_Ccp_Command_ShortUp(master, 0, 4, 0, MEMORY_BASE + 0x15, short)
    assert qxt.qxt_read_u8(short, 4) == [3, 4, 5, 6]
    checksum = rsp("BuildChksum")
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 0, 0, MEMORY_BASE + 0x10)
    can.Qx_Can_Ccp_Command_BuildChksum(master, 0, 9, checksum)
    total = 0x11 + 0x22 + 0x33 + sum(range(1, 7))
    assert fields_of("Qx_Can_Ccp_Command_BuildChksum_Rsp_t", checksum)["Data"] == [total >> 8, total & 0xFF, 0, 0]


def test_move_copies_between_the_two_transfer_addresses(qxt, master):
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 0, 0, MEMORY_BASE)
    can.Qx_Can_Ccp_Command_Download(master, 0, 4, [9, 8, 7, 6], None)
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 0, 0, MEMORY_BASE)
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 1, 0, MEMORY_BASE + 0x80)
    can.Qx_Can_Ccp_Command_Move(master, 0, 4)
    out = qxt.qxt_u8_array([0] * 4)
    can.Qx_Can_Ccp_Command_ShortUp(master, 0, 4, 0, MEMORY_BASE + 0x80, out)
    assert qxt.qxt_read_u8(out, 4) == [9, 8, 7, 6]


def test_programming_needs_the_key_of_the_seed(qxt, master):
    def protection():
        reply = qxtest.owned(can.Qx_Can_Ccp_Command_ExchangeId(master, 0, qxt.qxt_u8_array([0] * 6)))
        return fields_of("Qx_Can_Ccp_Command_ExchangeId_Rsp_t", reply)

    assert protection() == dict(Length=0, DataTypeQualifier=0, ResourceAvailabilityFlags=0x43,
                                ResourceProtectionFlags=PGM)
    with raises(Exception, "Qx_Can_Ccp_Command_ClearMemory: the slave answered CCP error 0x35 (access locked)"):
        can.Qx_Can_Ccp_Command_ClearMemory(master, 0, 4)
    qxtest.owned(can.Qx_Can_Ccp_Command_GetSeed(master, 0, PGM))
    with raises(Exception, "Qx_Can_Ccp_Command_Unlock: the slave answered CCP error 0x33 (access denied)"):
        can.Qx_Can_Ccp_Command_Unlock(master, 0, qxt.qxt_u8_array(seed_of(PGM) + [0, 0]))
    with raises(Exception, "Qx_Can_Ccp_Command_Unlock: the slave answered CCP error 0x31 (command syntax)"):
        can.Qx_Can_Ccp_Command_Unlock(master, 0, qxt.qxt_u8_array(key_for(PGM)))  # the seed is used up
    assert unlock_programming(qxt, master) == 0x43
    assert protection()["ResourceProtectionFlags"] == 0
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 0, 0, MEMORY_BASE)
    can.Qx_Can_Ccp_Command_ClearMemory(master, 0, 2)
    can.Qx_Can_Ccp_Command_Program(master, 0, 1, [0x5A], None)
    out = qxt.qxt_u8_array([0] * 3)
    can.Qx_Can_Ccp_Command_ShortUp(master, 0, 3, 0, MEMORY_BASE, out)
    assert qxt.qxt_read_u8(out, 3) == [0x5A, 0xFF, 0]


@pytest.mark.parametrize("call, text", [
    (lambda p: can.Qx_Can_Ccp_Command_SetMta(p, 0, 0, 0, MEMORY_BASE + MEMORY_SIZE + 1),
     "Qx_Can_Ccp_Command_SetMta: the slave answered CCP error 0x32 (parameter(s) out of range)"),
    (lambda p: can.Qx_Can_Ccp_Command_SetMta(p, 0, 0, 1, MEMORY_BASE),
     "Qx_Can_Ccp_Command_SetMta: the slave answered CCP error 0x32 (parameter(s) out of range)"),
    (lambda p: can.Qx_Can_Ccp_Command_Download(p, 0, 6, [0] * 6, None),
     "Qx_Can_Ccp_Command_Download: 6 bytes: a command carries 1 to 5"),
    (lambda p: can.Qx_Can_Ccp_Command_Upload(p, 0, 0, None),
     "Qx_Can_Ccp_Command_Upload: no destination given"),
    (lambda p: can.Qx_Can_Ccp_Command_WriteDaq(p, 0, 1, 0, MEMORY_BASE),
     "Qx_Can_Ccp_Command_WriteDaq: the slave answered CCP error 0x31 (command syntax)"),
    (lambda p: can.Qx_Can_Ccp_Command_GetDaqSize(p, 0, 2, 0, rsp("GetDaqSize")),
     "Qx_Can_Ccp_Command_GetDaqSize: the slave answered CCP error 0x32 (parameter(s) out of range)"),
    (lambda p: can.Qx_Can_Ccp_Command_Test(p, 0, 0x40),
     "Qx_Can_Ccp_Command_Test: no CCP slave answers at station address 0x0040"),
    (lambda p: can.Qx_Can_Ccp_Command_Connect(p, 0, STATION + 1),
     "Qx_Can_Ccp_Command_Connect: no CCP slave answers at station address 0x013A"),
])
def test_the_slave_refuses_with_clear_texts(master, call, text):
    with raises(Exception, text):
        call(master)


def test_commands_after_disconnect_need_a_new_connect(master):
    can.Qx_Can_Ccp_Command_Disconnect(master, 0, 1, STATION)
    with raises(Exception, "Qx_Can_Ccp_Command_GetCcpVersion: CCP master 0 is not connected: CONNECT comes first"):
        can.Qx_Can_Ccp_Command_GetCcpVersion(master, 0, 2, 1, rsp("GetCcpVersion"))
    can.Qx_Can_Ccp_Command_Test(master, 0, STATION)  # TEST needs no session
    can.Qx_Can_Ccp_Command_Connect(master, 0, STATION)
    can.Qx_Can_Ccp_Command_GetCcpVersion(master, 0, 2, 1, rsp("GetCcpVersion"))


def test_a_started_daq_list_samples_the_elements_written(master):
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 0, 0, MEMORY_BASE + 0x20)
    can.Qx_Can_Ccp_Command_Download6(master, 0, [0x10, 0x11, 0x12, 0x13, 0x14, 0x15], None)
    size = rsp("GetDaqSize")
    can.Qx_Can_Ccp_Command_GetDaqSize(master, 0, 1, 0x7E2, size)
    assert fields_of("Qx_Can_Ccp_Command_GetDaqSize_Rsp_t", size)["FirstPid"] == 4
    for odt, element, width, offset in [(0, 0, 4, 0x20), (0, 1, 2, 0x24), (1, 0, 1, 0x25)]:
        can.Qx_Can_Ccp_Command_SetDaqPtr(master, 0, 1, odt, element)
        can.Qx_Can_Ccp_Command_WriteDaq(master, 0, width, 0, MEMORY_BASE + offset)
    can.Qx_Can_Ccp_Command_StartStop(master, 0, 1, 1, 1, 0, 1)
    flags, messages = qxtest.owned(can.Qx_Can_Ccp_GetDaqMessages(master, 0, 8))
    assert flags == 0
    assert [can.Qx_Can_Ccp_DaqMessage_t_Data_get(m) for m in messages] == [
        [4, 0x10, 0x11, 0x12, 0x13, 0x14, 0x15, 0], [5, 0x15, 0, 0, 0, 0, 0, 0]]
    # prepared lists start together
    can.Qx_Can_Ccp_Command_StartStop(master, 0, 2, 1, 1, 0, 1)
    assert can.Qx_Can_Ccp_GetDaqMessages(master, 0, 8) == [0, []]
    can.Qx_Can_Ccp_Command_StartStopAll(master, 0, 1)
    assert len(qxtest.owned(can.Qx_Can_Ccp_GetDaqMessages(master, 0, 8))[1]) == 4


def test_session_status_reads_back(master):
    can.Qx_Can_Ccp_Command_SetSessionStatus(master, 0, 0x81)
    status = rsp("GetSessionStatus")
    can.Qx_Can_Ccp_Command_GetSessionStatus(master, 0, status)
    assert can.Qx_Can_Ccp_Command_GetSessionStatus_Rsp_t_StatusFlags_get(status) == 0x81


def test_select_cal_page_takes_the_transfer_address(master):
    can.Qx_Can_Ccp_Command_SetMta(master, 0, 0, 0, MEMORY_BASE + 0x40)
    can.Qx_Can_Ccp_Command_SelectCalPage(master, 0)
    page = rsp("GetActiveCalPage")
    can.Qx_Can_Ccp_Command_GetActiveCalPage(master, 0, page)
    assert can.Qx_Can_Ccp_Command_GetActiveCalPage_Rsp_t_Address_get(page) == MEMORY_BASE + 0x40


def test_standard_commands_count_their_messages(sim, master):
    can.Qx_Can_Ccp_Command_Test(master, 0, STATION)
    can.Qx_Can_Ccp_Command_Test(master, 0, STATION)
    described, reply = qxtest.owned(can.Qx_Can_Ccp_GetCcpErrorDescription())
    assert described == "acknowledge (no error)"
    assert can.Qx_Can_Ccp_GetResponse_Rsp_t_Data_get(reply)[:3] == [0xFF, 0, 3]  # CONNECT was message 1
