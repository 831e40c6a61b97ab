"""XCP memory and programming commands on the simulated slave's memory."""
import pytest

import qxtest
c = qxtest.module("_qx_api_common")
import _qx_api as q  # noqa: E402
from layouts import pack  # noqa: E402
from qxtest import raises_exactly  # noqa: E402
from xcp_support import MEMORY_BASE, MEMORY_SIZE, connect, record  # noqa: E402

PGM = c.QX_COMMON__XCP__CMD__GET_SEED__RESOURCE__PGM


def download(qxt, port, address, data, extension=0):
    c.Qx_Common_Xcp_Cmd_Download(port, 0, record("Cmd_Download_Cmd_t", Address=address, AddressExtension=extension,
                                                 CodeSize=len(data)), qxt.qxt_u8_array(data))


def upload(qxt, port, address, count):
    buffer = qxt.qxt_u8_array([0xEE] * count)
    c.Qx_Common_Xcp_Cmd_Upload(port, 0, record("Cmd_Upload_Cmd_t", Address=address, NumberOfBytes=count), buffer)
    return qxt.qxt_read_u8(buffer, count)


def unlock_pgm(qxt, port):
    length, seed = qxtest.new_record(q, "int_p"), qxt.qxt_u8_array([0] * 4)
    q.int_p_assign(length, 4)
    c.Qx_Common_Xcp_Cmd_GetSeed(port, 0, PGM, length, seed)
    c.Qx_Common_Xcp_Cmd_Unlock(port, 0, 4, qxt.qxt_u8_array([b ^ 0xFF for b in qxt.qxt_read_u8(seed, 4)]))


def set_mta(port, address):
    c.Qx_Common_Xcp_Cmd_SetMta(port, 0, record("Cmd_SetMta_Cmd_t", Address=address))


def test_upload_gives_what_was_downloaded(sim, qxt, port):
    connect(port)
    cmd = record("Cmd_Download_Cmd_t", Address=MEMORY_BASE + 0x10, Flags=0x1FF, CodeSize=5)
    assert c.Qx_Common_Xcp_Cmd_Download(port, 0, cmd, qxt.qxt_u8_array([1, 2, 3, 254, 255])) is None
    call = sim.last("Qx_Common_Xcp_Cmd_Download")
    assert call.arg(3).bytes == pack("Qx_Common_Xcp_Cmd_Download_Cmd_t", Address=MEMORY_BASE + 0x10, Flags=0xFF,
                                     CodeSize=5)
    assert call.arg(4).bytes == bytes([1, 2, 3, 254, 255])
    assert upload(qxt, port, MEMORY_BASE + 0x0E, 9) == [0, 0, 1, 2, 3, 254, 255, 0, 0]
    assert sim.last("Qx_Common_Xcp_Cmd_Upload").arg(3).bytes == pack(
        "Qx_Common_Xcp_Cmd_Upload_Cmd_t", Address=MEMORY_BASE + 0x0E, NumberOfBytes=9)
    # the whole memory, first and last byte included
    download(qxt, port, MEMORY_BASE, [7] * MEMORY_SIZE)
    assert upload(qxt, port, MEMORY_BASE, MEMORY_SIZE) == [7] * MEMORY_SIZE


def test_null_data_of_no_bytes_is_passed(sim, qxt, port):
    connect(port)
    assert c.Qx_Common_Xcp_Cmd_Download(port, 0, record("Cmd_Download_Cmd_t", Address=MEMORY_BASE), None) is None
    assert sim.last("Qx_Common_Xcp_Cmd_Download").arg(4).is_null
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_Download: no data given"):
        c.Qx_Common_Xcp_Cmd_Download(port, 0, record("Cmd_Download_Cmd_t", Address=MEMORY_BASE, CodeSize=4), None)


@pytest.mark.parametrize("address, count, extension, text", [
    (MEMORY_BASE + MEMORY_SIZE - 2, 3, 0,
     f"3 bytes at 0x{MEMORY_BASE + MEMORY_SIZE - 2:08X} lie outside the slave's memory "
     f"(0x{MEMORY_BASE:08X} to 0x{MEMORY_BASE + MEMORY_SIZE - 1:08X})"),
    (MEMORY_BASE - 1, 1, 0, f"1 bytes at 0x{MEMORY_BASE - 1:08X} lie outside the slave's memory "
                            f"(0x{MEMORY_BASE:08X} to 0x{MEMORY_BASE + MEMORY_SIZE - 1:08X})"),
    (MEMORY_BASE, 1, 1, "address extension 1 not supported (0 expected)"),
])
def test_memory_outside_the_slave_is_refused(sim, qxt, port, address, count, extension, text):
    connect(port)
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_Download: " + text):
        download(qxt, port, address, [1] * count, extension)
    cmd = record("Cmd_Upload_Cmd_t", Address=address, AddressExtension=extension, NumberOfBytes=count)
    buffer = qxt.qxt_u8_array([0xEE] * count)
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_Upload: " + text):
        c.Qx_Common_Xcp_Cmd_Upload(port, 0, cmd, buffer)
    assert qxt.qxt_read_u8(buffer, count) == [0xEE] * count


def test_programming_needs_pgm_unlocked_and_ends_the_session(sim, qxt, port):
    connect(port)
    download(qxt, port, MEMORY_BASE + 0x400, list(range(32)))
    set_mta(port, MEMORY_BASE + 0x400)
    clear = record("Cmd_ProgramClear_Cmd_t", Mode=c.QX_COMMON__XCP__CMD__PROGRAM_CLEAR__MODE__ABSOLUTE, ClearRange=16)
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_ProgramClear: resource PGM is locked (unlock it with seed and "
                                   "key first)"):
        c.Qx_Common_Xcp_Cmd_ProgramClear(port, 0, clear)
    unlock_pgm(qxt, port)
    assert c.Qx_Common_Xcp_Cmd_ProgramClear(port, 0, clear) is None
    assert upload(qxt, port, MEMORY_BASE + 0x400, 18) == [0xFF] * 16 + [16, 17]
    program = record("Cmd_Program_Cmd_t", Flags=0x1FF, Address=MEMORY_BASE + 0x404, CodeSize=3)
    assert c.Qx_Common_Xcp_Cmd_Program(port, 0, program, qxt.qxt_u8_array([0xA0, 0xA1, 0xA2])) is None
    call = sim.last("Qx_Common_Xcp_Cmd_Program")
    assert call.arg(3).bytes == pack("Qx_Common_Xcp_Cmd_Program_Cmd_t", Flags=0x1FF, Address=MEMORY_BASE + 0x404,
                                     CodeSize=3)
    assert call.arg(4).bytes == bytes([0xA0, 0xA1, 0xA2])
    memory = upload(qxt, port, MEMORY_BASE + 0x400, 32)
    assert memory[:8] == [0xFF] * 4 + [0xA0, 0xA1, 0xA2, 0xFF]
    # the checksum over the block at the MTA
    set_mta(port, MEMORY_BASE + 0x400)
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t")
    assert c.Qx_Common_Xcp_Cmd_BuildChecksum(port, 0, record("Cmd_BuildChecksum_Cmd_t", BlockSize=32), rsp) is None
    assert c.Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t_ChecksumType_get(rsp) == c.QX_COMMON__XCP__CHECKSUM_TYPE__XCP_ADD_14
    assert c.Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t_Checksum_get(rsp) == sum(memory)
    assert c.Qx_Common_Xcp_Cmd_ProgramReset(port, 0) is None
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_Upload: XCP instance 0 is not connected (connect first)"):
        upload(qxt, port, MEMORY_BASE, 1)


def test_functional_clear_mode_is_not_supported(sim, qxt, port):
    connect(port)
    unlock_pgm(qxt, port)
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_ProgramClear: clear mode 1 not supported (absolute mode only)"):
        c.Qx_Common_Xcp_Cmd_ProgramClear(port, 0, record("Cmd_ProgramClear_Cmd_t", Mode=1, ClearRange=1))


def test_programming_and_sector_information(sim, port):
    connect(port)
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_GetPgmProcessorInfo_Rsp_t")
    c.Qx_Common_Xcp_Cmd_GetPgmProcessorInfo(port, 0, rsp)
    assert (c.Qx_Common_Xcp_Cmd_GetPgmProcessorInfo_Rsp_t_Flags_get(rsp),
            c.Qx_Common_Xcp_Cmd_GetPgmProcessorInfo_Rsp_t_MaxSector_get(rsp)) == (1, 4)
    sector = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_GetSectorInfo_Rsp_t")
    c.Qx_Common_Xcp_Cmd_GetSectorInfo(port, 0, record("Cmd_GetSectorInfo_Cmd_t", SectorNumber=257), sector)
    assert sim.last("Qx_Common_Xcp_Cmd_GetSectorInfo").arg(3).bytes == bytes([1, 0, 0, 0])
    assert [getattr(c, "Qx_Common_Xcp_Cmd_GetSectorInfo_Rsp_t_%s_get" % f)(sector)
            for f in ("ClearSequenceNumber", "ProgramSequenceNumber", "ProgrammingMethod", "SectorNameLength",
                      "SectorStartAddress", "SectorLength")] == [0, 1, 0, 0, MEMORY_BASE + 0x400, 0x400]
    with raises_exactly(Exception, "Qx_Common_Xcp_Cmd_GetSectorInfo: no sector 4 (the slave has 4)"):
        c.Qx_Common_Xcp_Cmd_GetSectorInfo(port, 0, record("Cmd_GetSectorInfo_Cmd_t", SectorNumber=4), sector)


@pytest.mark.parametrize("call, exc, message", [
    (lambda port: c.Qx_Common_Xcp_Cmd_SetMta(port, 0, qxtest.new_record(c, "Qx_Common_Xcp_Cmd_BuildChecksum_Cmd_t")), TypeError,
     "in method 'Qx_Common_Xcp_Cmd_SetMta', argument 3 of type 'Qx_Common_Xcp_Cmd_SetMta_Cmd_t const *const'"),
    (lambda port: c.Qx_Common_Xcp_Cmd_Upload(port, 0, None, qxtest.new_record(q, "int_p")), TypeError,
     "in method 'Qx_Common_Xcp_Cmd_Upload', argument 4 of type 'u8_t *const'"),
    (lambda port: c.Qx_Common_Xcp_Cmd_ProgramReset(port, 1.0), TypeError,
     "in method 'Qx_Common_Xcp_Cmd_ProgramReset', argument 2 of type 'u8_t'"),
    (lambda port: c.Qx_Common_Xcp_Cmd_ProgramReset(port), TypeError,
     "Qx_Common_Xcp_Cmd_ProgramReset expected 2 arguments, got 1"),
    (lambda port: c.Qx_Common_Xcp_Cmd_Download(-1, 0, None, None), OverflowError,
     "in method 'Qx_Common_Xcp_Cmd_Download', argument 1 of type 'Qx_PortHandle_t'"),
    (lambda port: c.Qx_Common_Xcp_Cmd_Program_Cmd_t_Flags_set(qxtest.new_record(c, "Qx_Common_Xcp_Cmd_Program_Cmd_t"), "1"), TypeError,
     "in method 'Qx_Common_Xcp_Cmd_Program_Cmd_t_Flags_set', argument 2 of type 'Qx_Common_Xcp_Cmd_Program_CmdFlags_t'"),
])
def test_argument_refusals(sim, port, call, exc, message):
    with raises_exactly(exc, message):
        call(port)
    assert sim.calls("Qx_Common_Xcp_Cmd_SetMta") == sim.calls("Qx_Common_Xcp_Cmd_Upload") == 0
    assert sim.calls("Qx_Common_Xcp_Cmd_ProgramReset") == sim.calls("Qx_Common_Xcp_Cmd_Download") == 0


def test_failing_status_leaves_the_response_as_the_library_left_it(sim, qxt, port):
    connect(port)
    rsp = qxtest.new_record(c, "Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t")
    c.Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t_Checksum_set(rsp, 99)
    sim.fail("Qx_Common_Xcp_Cmd_BuildChecksum", 7, b"slave busy")
    with raises_exactly(Exception, "slave busy"):
        c.Qx_Common_Xcp_Cmd_BuildChecksum(port, 0, record("Cmd_BuildChecksum_Cmd_t", BlockSize=4), rsp)
    assert c.Qx_Common_Xcp_Cmd_BuildChecksum_Rsp_t_Checksum_get(rsp) == 99
