"""Fixtures shared by the CAN module's tests."""
import pytest

import qxtest


@pytest.fixture
def make_signal(qxt):
    """Makes Qx_Common_Signal_t records (through the common module, which owns
    the type) from size, byte order and bit offset."""
    common = qxtest.module("_qx_api_common")

    def make(size=8, order=0, offset=2):
        signal = qxtest.new_record(common, "Qx_Common_Signal_t")
        common.Qx_Common_Signal_t_Size_set(signal, size)
        common.Qx_Common_Signal_t_ByteOrder_set(signal, order)
        common.Qx_Common_Signal_t_Offset_set(signal, qxt.qxt_u16_array([offset]))
        return signal
    return make
