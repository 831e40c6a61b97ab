"""The command gateway (slave and master) and the UART gateway, through the
simulated CAN library."""
import pytest

import qxtest
can = qxtest.module("_qx_api_can")

from layouts import pack  # noqa: E402
from qxtest import raises_exactly as raises  # noqa: E402

SLAVE = "Qx_Can_CmdGateway_Slave_Enable_Parameters_t"
MASTER = "Qx_Can_CmdGateway_Master_Enable_Parameters_t"
CMD = "Qx_Can_UartGateway_Init_Cmd_t"
RSP = "Qx_Can_UartGateway_Init_Rsp_t"


def record(name, **fields):
    return qxtest.new_record(can, name, **fields)


def uart_command(**fields):
    return record(CMD, **{"UartBaudRate": 115200, **fields})


# ---- command gateway --------------------------------------------------------------------------

def test_slave_enable_sends_its_record(sim, port):
    params = record(SLAVE, Flags=0xFFFFFFFF, BaseAddress=0x80000000, IdOffset=258, reserved1=1, reserved2=2,
                    reserved3=3)
    assert can.Qx_Can_CmdGateway_Slave_Enable(port, params) is None
    call = sim.last("Qx_Can_CmdGateway_Slave_Enable")
    assert call.arg(2).value == int(params)
    assert call.arg(2).bytes == pack(SLAVE, Flags=0xFFFFFFFF, BaseAddress=0x80000000, IdOffset=2, reserved1=1,
                                     reserved2=2, reserved3=3)
    assert can.Qx_Can_CmdGateway_Slave_Disable(port) is None


def test_an_untouched_master_record_sends_zeros(sim, port):
    can.Qx_Can_CmdGateway_Master_Enable(port, record(MASTER))
    assert sim.last("Qx_Can_CmdGateway_Master_Enable").arg(2).bytes == bytes(16)
    params = record(MASTER, Flags=1, BaudRate=500000, BaseAddress=0x1000, SlaveIdOffset=4, TargetControllerNumber=2,
                    reserved1=5, reserved2=6)
    can.Qx_Can_CmdGateway_Master_Disable(port)
    can.Qx_Can_CmdGateway_Master_Enable(port, params)
    assert sim.last("Qx_Can_CmdGateway_Master_Enable").arg(2).bytes == pack(
        MASTER, Flags=1, BaudRate=500000, BaseAddress=0x1000, SlaveIdOffset=4, TargetControllerNumber=2, reserved1=5,
        reserved2=6)


def test_a_port_is_slave_or_master_never_both(port):
    can.Qx_Can_CmdGateway_Slave_Enable(port, record(SLAVE))
    with raises(Exception, f"Qx_Can_CmdGateway_Master_Enable: port 0x{port:08X} is command-gateway slave"):
        can.Qx_Can_CmdGateway_Master_Enable(port, record(MASTER))
    with raises(Exception, "Qx_Can_CmdGateway_Master_Disable: command-gateway master is not enabled"):
        can.Qx_Can_CmdGateway_Master_Disable(port)
    can.Qx_Can_CmdGateway_Slave_Disable(port)
    with raises(Exception, "Qx_Can_CmdGateway_Slave_Disable: command-gateway slave is not enabled"):
        can.Qx_Can_CmdGateway_Slave_Disable(port)


def test_enable_with_none_passes_a_null_pointer(sim, port):
    with raises(Exception, "Qx_Can_CmdGateway_Slave_Enable: no parameters given"):
        can.Qx_Can_CmdGateway_Slave_Enable(port, None)
    assert sim.last("Qx_Can_CmdGateway_Slave_Enable").arg(2).is_null


@pytest.mark.parametrize("function", ["Qx_Can_CmdGateway_Slave_Disable", "Qx_Can_CmdGateway_Master_Disable",
                                      "Qx_Can_UartGateway_Reset"])
def test_single_argument_bindings_take_the_port_itself(sim, port, function):
    with raises(TypeError, f"in method '{function}', argument 1 of type 'Qx_PortHandle_t'"):
        getattr(can, function)((port,))
    with pytest.raises(TypeError):
        getattr(can, function)(port, 0)
    assert sim.calls(function) == 0


def test_enable_refuses_the_other_roles_record(sim, port):
    with raises(TypeError, "in method 'Qx_Can_CmdGateway_Master_Enable', argument 2 of type "
                           "'Qx_Can_CmdGateway_Master_Enable_Parameters_t const *const'"):
        can.Qx_Can_CmdGateway_Master_Enable(port, record(SLAVE))
    assert sim.calls("Qx_Can_CmdGateway_Master_Enable") == 0


# ---- UART gateway -----------------------------------------------------------------------------

def test_uart_init_fills_the_callers_response(sim, port):
    command = uart_command(Flags=1, MaxRetries=3, AckTimeout=100, UartInstanceType=256, UartInstanceId=2,
                           UartParity=can.QX_CAN__UART_GATEWAY__UART_PARITY__ODD, reserved=7, UartBaudRate=115200)
    response = record(RSP)
    assert can.Qx_Can_UartGateway_Init(port, command, response) is None
    call = sim.last("Qx_Can_UartGateway_Init")
    assert call.arg(2).bytes == pack(CMD, Flags=1, MaxRetries=3, AckTimeout=100, UartInstanceType=0, UartInstanceId=2,
                                     UartParity=2, reserved=7, UartBaudRate=115200)
    assert call.arg(3).value == int(response)
    assert can.Qx_Can_UartGateway_Init_Rsp_t_UartBaudRate_Desired_get(response) == 115200
    assert can.Qx_Can_UartGateway_Init_Rsp_t_UartBaudRate_Actual_get(response) == 115107  # 16 MHz / 139


def test_uart_init_and_reset_keep_their_order(port):
    with raises(Exception, "Qx_Can_UartGateway_Reset: UART gateway is not initialised"):
        can.Qx_Can_UartGateway_Reset(port)
    can.Qx_Can_UartGateway_Init(port, uart_command(), record(RSP))
    with raises(Exception, "Qx_Can_UartGateway_Init: UART gateway is initialised already"):
        can.Qx_Can_UartGateway_Init(port, uart_command(), record(RSP))
    assert can.Qx_Can_UartGateway_Reset(port) is None
    can.Qx_Can_UartGateway_Init(port, uart_command(), record(RSP))


@pytest.mark.parametrize("fields, text", [
    (dict(UartInstanceType=can.QX_CAN__UART_GATEWAY__UART_INSTANCE_TYPE__UNKNOWN), "unknown UART instance type 1"),
    (dict(UartParity=can.QX_CAN__UART_GATEWAY__UART_PARITY__UNKNOWN), "unknown UART parity 3"),
    (dict(UartBaudRate=0), "UART baud rate 0 out of range (1 to 16000000)"),
])
def test_uart_init_refuses_what_the_uart_cannot_do(port, fields, text):
    with raises(Exception, f"Qx_Can_UartGateway_Init: {text}"):
        can.Qx_Can_UartGateway_Init(port, uart_command(**fields), record(RSP))


def test_a_failing_uart_init_leaves_the_response_alone(sim, port):
    response = record(RSP, UartBaudRate_Desired=1, UartBaudRate_Actual=2)
    sim.fail("Qx_Can_UartGateway_Init", text=b"no UART")
    with raises(Exception, "no UART"):
        can.Qx_Can_UartGateway_Init(port, uart_command(), response)
    assert [can.Qx_Can_UartGateway_Init_Rsp_t_UartBaudRate_Desired_get(response),
            can.Qx_Can_UartGateway_Init_Rsp_t_UartBaudRate_Actual_get(response)] == [1, 2]


@pytest.mark.parametrize("call, exc, message", [
    (lambda p: can.Qx_Can_UartGateway_Init(p, record(RSP), record(RSP)), TypeError,
     "in method 'Qx_Can_UartGateway_Init', argument 2 of type 'Qx_Can_UartGateway_Init_Cmd_t const *const'"),
    (lambda p: can.Qx_Can_UartGateway_Init(p, uart_command(), uart_command()), TypeError,
     "in method 'Qx_Can_UartGateway_Init', argument 3 of type 'Qx_Can_UartGateway_Init_Rsp_t *const'"),
    (lambda p: can.Qx_Can_UartGateway_Init_Cmd_t_UartParity_set(record(CMD), -1), OverflowError,
     "in method 'Qx_Can_UartGateway_Init_Cmd_t_UartParity_set', argument 2 of type 'u8_t'"),
])
def test_uart_arguments_are_refused(sim, port, call, exc, message):
    with raises(exc, message):
        call(port)
    assert sim.calls("Qx_Can_UartGateway_Init") == 0
