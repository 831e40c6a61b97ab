"""Fixtures shared by the common module's tests."""
import pytest

import qxtest


@pytest.fixture
def port():
    """A port handle of the simulated device's first CAN interface, opened by
    name through the common module."""
    return qxtest.module("_qx_api_common").Qx_Common_OpenInterface("CAN1")
