"""Fixtures shared by the Trovix module's tests."""
import pytest

import _qx_api
import qxtest


def _open_trovix():
    info = qxtest.new_record(_qx_api, "Qx_InterfaceInfo_t")
    _qx_api.Qx_InterfaceInfo_t_Type_set(info, _qx_api.QX_INTERFACE_TYPE__TROVIX)
    # TROVIX1 sits on controller 2 of the simulated device
    _qx_api.Qx_InterfaceInfo_t_Parameters_ControllerNumber_set(_qx_api.Qx_InterfaceInfo_t_Parameters_get(info), 2)
    handle = _qx_api.Qx_OpenInterface(info)
    _qx_api.delete_Qx_InterfaceInfo_t(info)
    return handle


@pytest.fixture
def trovix_port(sim):
    """A port handle of the simulated device's Trovix interface, its stack not
    initialised yet."""
    return _open_trovix()


@pytest.fixture
def tport(sim, trovix_port):
    """A port handle of the Trovix interface whose stack is initialised."""
    import _qx_api_trovix
    _qx_api_trovix.Qx_Trovix_InitInterface(trovix_port, 0)
    return trovix_port


@pytest.fixture
def signals(tport):
    """Three signals configured from a text on the initialised port: handles
    0 (Speed, 16 bits, default 513, transmitted), 1 (Gear, 8 bits, received)
    and 2 (Odo, 32 bits); Speed and Gear travel in PDU Engine of ECU1."""
    import _qx_api_trovix
    _qx_api_trovix.Qx_Trovix_Signal_Config(
        tport, "signal=Speed,bits=16,default=513,mode=1,type=7,pdu=Engine,ecu=ECU1,controller=2,bit=8,comid=40;"
               "signal=Gear,bits=8,mode=2,pdu=Engine,ecu=ECU1,controller=2,bit=24,comid=40\n"
               "signal=Odo,bits=32,type=8")
    return tport
