"""What the CCP tests share: the simulated slave's facts and a master set up
and connected on the test's port."""
import pytest

import qxtest

# The simulated slave: its memory window, its version, the resource that is
# protected at start and the seed it gives for a resource.
MEMORY_BASE = 0x1000
MEMORY_SIZE = 256
STATION = 0x0139
CAL, DAQ, PGM = 0x01, 0x02, 0x40


def seed_of(resource):
    return [0x5E, 0xED, resource, 0x42]


def key_for(resource):
    """The key the slave takes for the seed of `resource` (6 bytes, as the
    command carries them)."""
    return [b ^ 0xFF for b in seed_of(resource)] + [0, 0]


def init_parameters(can, **fields):
    values = dict(StationAddress=STATION, CroId=0x7E0, DtoId=0x7E1, TxTimeout=100)
    values.update(fields)
    return qxtest.new_record(can, "Qx_Can_Ccp_Init_Parameters_t", **values)


@pytest.fixture
def master(port):
    """Instance 0 of the port set up for the slave at STATION and connected."""
    can = qxtest.module("_qx_api_can")
    parameters = init_parameters(can)
    can.Qx_Can_Ccp_Init(port, 0, parameters)
    can.delete_Qx_Can_Ccp_Init_Parameters_t(parameters)
    can.Qx_Can_Ccp_Command_Connect(port, 0, STATION)
    return port
