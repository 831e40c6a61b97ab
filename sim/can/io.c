/*
 * The simulated trigger input and output and the command and UART gateways
 * of each CAN port.
 *
 * Trigger input: reset (mode TRIGGER_INPUT_OFF), sending a message group at
 * a level, or writing an event on an edge; its state query answers the mode
 * set, level 0 and no events. Trigger output: its mode as last set; its
 * state query answers that mode, level 0 and no events. Both have
 * TRIGGER_PROPERTIES numbered properties that keep what was written.
 *
 * Command gateway: a port is slave or master, never both; disabling what is
 * not enabled fails. UART gateway: initialised once until reset; the actual
 * baud rate is the nearest the UART's clock divides down to.
 */
#include <string.h>

#include "qx_api_can_behaviour.h"
#include "qxsim_device.h"

#define TRIGGER_PROPERTIES 8u
enum { TRIGGER_INPUT_OFF, TRIGGER_INPUT_SEND_MSG_GROUP, TRIGGER_INPUT_WRITE_EVENT };

/* Clock the simulated UART divides its baud rate from. */
#define UART_CLOCK 16000000u

typedef struct {
  uint32_t handle; /* 0: slot free */
  u8_t input_mode;
  u8_t output_mode;
  u32_t input_properties[TRIGGER_PROPERTIES];
  u32_t output_properties[TRIGGER_PROPERTIES];
  int slave;
  int master;
  int uart;
} io_port;

static io_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t port_of(Qx_PortHandle_t handle, io_port **p) { return qxsim_port_state(&table, handle, p); }

/* ---- Triggers -------------------------------------------------------------- */

static Qx_Error_t set_input_mode(Qx_PortHandle_t portHandle, u8_t mode) {
  io_port *p = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  p->input_mode = mode;
  return 0;
}

Qx_Error_t sim_Qx_Can_Trigger_InputMode_Set_SendMsgGroup(Qx_PortHandle_t portHandle,
                                                         Qx_Can_Trigger_InputMode_Set_SendMsgGroup_CmdFlags_t cmdFlags,
                                                         u8_t msgGroup, Qx_Can_Trigger_InputLevelSelection_t inputLevel) {
  (void)cmdFlags;
  (void)msgGroup;
  (void)inputLevel;
  return set_input_mode(portHandle, TRIGGER_INPUT_SEND_MSG_GROUP);
}

Qx_Error_t sim_Qx_Can_Trigger_InputMode_Set_WriteEvent(Qx_PortHandle_t portHandle,
                                                       Qx_Can_Trigger_InputMode_Set_WriteEvent_CmdFlags_t cmdFlags,
                                                       Qx_Can_Trigger_InputEdgeSelection_t inputEdge) {
  (void)cmdFlags;
  (void)inputEdge;
  return set_input_mode(portHandle, TRIGGER_INPUT_WRITE_EVENT);
}

Qx_Error_t sim_Qx_Can_Trigger_InputMode_Reset(Qx_PortHandle_t portHandle) {
  return set_input_mode(portHandle, TRIGGER_INPUT_OFF);
}

Qx_Error_t sim_Qx_Can_Trigger_OutputMode_Set(Qx_PortHandle_t portHandle,
                                             Qx_Can_Trigger_OutputMode_Set_Parameters_t const *const parameters) {
  io_port *p = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  p->output_mode = parameters->Mode;
  return 0;
}

Qx_Error_t sim_Qx_Can_Trigger_InputState_Get(Qx_PortHandle_t portHandle,
                                             Qx_Can_Trigger_InputState_Get_Parameters_t const *const parameters,
                                             Qx_Can_Trigger_InputState_Get_Response_t *const response) {
  io_port *p = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  QXSIM_TRY(qxsim_need(response, "response record"));
  memset(response, 0, sizeof *response);
  response->Mode = p->input_mode;
  return 0;
}

Qx_Error_t sim_Qx_Can_Trigger_OutputState_Get(Qx_PortHandle_t portHandle,
                                              Qx_Can_Trigger_OutputState_Get_Parameters_t const *const parameters,
                                              Qx_Can_Trigger_OutputState_Get_Response_t *const response) {
  io_port *p = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  QXSIM_TRY(qxsim_need(response, "response record"));
  memset(response, 0, sizeof *response);
  response->Mode = p->output_mode;
  return 0;
}

/* Property `id` of the trigger `which` ("input" or "output"). */
static uint32_t property(u32_t *properties, const char *which, u16_t id, u32_t **cell) {
  if (id >= TRIGGER_PROPERTIES)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "unknown trigger %s property %u", which, id);
  *cell = &properties[id];
  return 0;
}

Qx_Error_t sim_Qx_Can_Trigger_Input_Property_SetById(Qx_PortHandle_t portHandle,
                                                     Qx_Can_Trigger_Input_PropertyId_t propertyId,
                                                     u32_t propertyValue) {
  io_port *p = NULL;
  u32_t *cell = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(property(p->input_properties, "input", propertyId, &cell));
  *cell = propertyValue;
  return 0;
}

Qx_Error_t sim_Qx_Can_Trigger_Input_Property_GetById(Qx_PortHandle_t portHandle,
                                                     Qx_Can_Trigger_Input_PropertyId_t propertyId,
                                                     u32_t *const triggerPropertyValue) {
  io_port *p = NULL;
  u32_t *cell = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(triggerPropertyValue, "value cell"));
  QXSIM_TRY(property(p->input_properties, "input", propertyId, &cell));
  *triggerPropertyValue = *cell;
  return 0;
}

Qx_Error_t sim_Qx_Can_Trigger_Output_Property_SetById(Qx_PortHandle_t portHandle,
                                                      Qx_Can_Trigger_Output_PropertyId_t propertyId,
                                                      u32_t propertyValue) {
  io_port *p = NULL;
  u32_t *cell = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(property(p->output_properties, "output", propertyId, &cell));
  *cell = propertyValue;
  return 0;
}

Qx_Error_t sim_Qx_Can_Trigger_Output_Property_GetById(Qx_PortHandle_t portHandle,
                                                      Qx_Can_Trigger_Output_PropertyId_t propertyId,
                                                      u32_t *const triggerPropertyValue) {
  io_port *p = NULL;
  u32_t *cell = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(triggerPropertyValue, "value cell"));
  QXSIM_TRY(property(p->output_properties, "output", propertyId, &cell));
  *triggerPropertyValue = *cell;
  return 0;
}

/* ---- Command gateway ------------------------------------------------------- */

/* Makes the port command-gateway master (or slave) unless it is the other. */
static Qx_Error_t gateway_enable(Qx_PortHandle_t portHandle, const void *parameters, int master) {
  io_port *p = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(parameters, "parameters"));
  if (master ? p->slave : p->master)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "port 0x%08X is command-gateway %s", (unsigned)portHandle,
                      master ? "slave" : "master");
  if (master)
    p->master = 1;
  else
    p->slave = 1;
  return 0;
}

static Qx_Error_t gateway_disable(Qx_PortHandle_t portHandle, int master) {
  io_port *p = NULL;
  int *role;
  QXSIM_TRY(port_of(portHandle, &p));
  role = master ? &p->master : &p->slave;
  if (!*role)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "command-gateway %s is not enabled", master ? "master" : "slave");
  *role = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_CmdGateway_Slave_Enable(Qx_PortHandle_t portHandle,
                                              Qx_Can_CmdGateway_Slave_Enable_Parameters_t const *const parameters) {
  return gateway_enable(portHandle, parameters, 0);
}

Qx_Error_t sim_Qx_Can_CmdGateway_Slave_Disable(Qx_PortHandle_t portHandle) { return gateway_disable(portHandle, 0); }

Qx_Error_t sim_Qx_Can_CmdGateway_Master_Enable(Qx_PortHandle_t portHandle,
                                               Qx_Can_CmdGateway_Master_Enable_Parameters_t const *const parameters) {
  return gateway_enable(portHandle, parameters, 1);
}

Qx_Error_t sim_Qx_Can_CmdGateway_Master_Disable(Qx_PortHandle_t portHandle) { return gateway_disable(portHandle, 1); }

/* ---- UART gateway ---------------------------------------------------------- */

Qx_Error_t sim_Qx_Can_UartGateway_Reset(Qx_PortHandle_t portHandle) {
  io_port *p = NULL;
  QXSIM_TRY(port_of(portHandle, &p));
  if (!p->uart) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "UART gateway is not initialised");
  p->uart = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_UartGateway_Init(Qx_PortHandle_t portHandle, Qx_Can_UartGateway_Init_Cmd_t const *const command,
                                       Qx_Can_UartGateway_Init_Rsp_t *const uartResponse) {
  io_port *p = NULL;
  u32_t divider;
  QXSIM_TRY(port_of(portHandle, &p));
  QXSIM_TRY(qxsim_need(command, "command"));
  QXSIM_TRY(qxsim_need(uartResponse, "response record"));
  if (p->uart) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "UART gateway is initialised already");
  if (command->UartInstanceType >= QX_CAN__UART_GATEWAY__UART_INSTANCE_TYPE__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "unknown UART instance type %u", command->UartInstanceType);
  if (command->UartParity >= QX_CAN__UART_GATEWAY__UART_PARITY__UNKNOWN)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown UART parity %u", command->UartParity);
  if (command->UartBaudRate == 0 || command->UartBaudRate > UART_CLOCK)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "UART baud rate %u out of range (1 to %u)",
                      (unsigned)command->UartBaudRate, UART_CLOCK);
  divider = (UART_CLOCK + command->UartBaudRate / 2) / command->UartBaudRate;
  uartResponse->UartBaudRate_Desired = command->UartBaudRate;
  uartResponse->UartBaudRate_Actual = UART_CLOCK / divider;
  p->uart = 1;
  return 0;
}
