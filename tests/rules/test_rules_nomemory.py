"""Allocation failure never crashes a binding: with the interpreter's
allocators failing from each start point in turn, every call returns a
well-formed result or raises MemoryError (or the native error), never a list
holding NULL items or a partial result beside a pending exception. Each case
runs in a fresh interpreter (nomemory_driver.py)."""
import os
import re
import subprocess
import sys

import pytest

import _qx_api
import qxtest

DRIVER = os.path.join(os.path.dirname(__file__), "nomemory_driver.py")


def sweep(*args):
    env = qxtest.child_env(os.path.dirname(_qx_api.__file__))
    return subprocess.run([sys.executable, DRIVER, *args], env=env, capture_output=True, text=True, timeout=300)


@pytest.mark.parametrize("case, registered", [
    # record lists: owned copies, plain and as instances of a registered class
    ("Qx_Interface_GetInterfaceList", False),
    ("Qx_Interface_GetInterfaceList", True),
    ("Qx_Interface_GetInterfaceList_Usb", True),
    # several appended outputs
    ("Qx_GetApiVersion", False),
    ("Qx_GetFirmwarePackageVersion_Installed", False),
    ("Qx_GetFirmwarePackageVersion_Tested", False),
    ("Qx_Can_TxFifo_GetState", False),
    # a text output, array getters
    ("Qx_InterfaceConfig_GetInstallDir", False),
    ("Qx_Data_t_U8_get", False),
    ("Qx_Can_Data_t_U64_get", False),
    # storage the storage module makes, and bytes read from it
    ("new_u8_array", False),
    ("copy_float64_p", False),
    ("cdata", False),
    # record arrays, an item read with a class registered, the signal-block
    # cell, and the proxy module's array classes
    ("new_Qx_Common_Xcp_Daq_Signal_t_array", False),
    ("Qx_Common_Xcp_Daq_Signal_t_array_getitem", False),
    ("new_Qx_Trovix_SignalBlock_pp", False),
    ("qx_storage.u8_array", False),
    ("qx_storage.Qx_Common_Xcp_Daq_Signal_t_array", False),
    ("qx_storage.Qx_Common_Xcp_Daq_Signal_t_array item", False),
])
def test_bindings_survive_failing_allocations(case, registered):
    for part, name in (("Qx_Can", "_qx_api_can"), ("Qx_Common", "_qx_api_common"), ("Qx_Trovix", "_qx_api_trovix")):
        if part in case:
            qxtest.module(name)
    out = sweep(case, *(["--registered"] if registered else []))
    assert out.returncode == 0, (out.stdout + out.stderr)[-3000:]
    found = re.search(rf"^nomemory: {re.escape(case)} (\d+) (\d+)$", out.stdout, re.M)
    assert found, out.stdout[-3000:]
    results, raised = map(int, found.groups())
    assert results > 0  # the sweep reaches start points after the call's last allocation
    assert raised > 0
