import os
import sys

import pytest

BUILD = os.environ.setdefault("QX_BUILD_DIR", os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "build")))
sys.path.insert(0, os.path.join(BUILD, "python"))
sys.path.insert(0, os.path.dirname(__file__))

import _qx_api  # noqa: E402  (loads libqx_api.so for the control interface)
import _qx_testhelpers  # noqa: E402
from qxsim import Sim  # noqa: E402

_sim = Sim()


@pytest.fixture(autouse=True)
def sim():
    """The simulated device, reset before every test."""
    _sim.reset()
    yield _sim
    _qx_testhelpers.qxt_release_all()


@pytest.fixture
def qxt():
    """The test-only helper module (pointer objects with chosen content)."""
    return _qx_testhelpers


@pytest.fixture
def port(sim):
    """A port handle of the simulated device's first CAN interface."""
    info = _qx_api.new_Qx_InterfaceInfo_t()
    _qx_api.Qx_InterfaceInfo_t_Type_set(info, _qx_api.QX_INTERFACE_TYPE__CAN)
    handle = _qx_api.Qx_OpenInterface(info)
    _qx_api.delete_Qx_InterfaceInfo_t(info)
    return handle
