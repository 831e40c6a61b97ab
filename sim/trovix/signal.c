/* Simulated Trovix signals: configuration from a text or from records, values
 * written and read back, update callbacks, signal information. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "trovix_sim.h"

uint32_t trovix_sim_signal_of(trovix_sim_port *port, u32_t handle, trovix_sim_signal **signal) {
  *signal = NULL;
  if (handle >= port->signal_count)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown signal handle %u", (unsigned)handle);
  *signal = &port->signals[handle];
  return 0;
}

u16_t trovix_sim_signal_size(const trovix_sim_signal *signal) {
  u32_t bytes = (signal->bit_size + 7) / 8;
  return (u16_t)(bytes == 0 ? 1 : bytes > 8 ? 8 : bytes);
}

int trovix_sim_find_pdu(const trovix_sim_port *port, const char *name, const char *ecu, u32_t controller) {
  u32_t i;
  for (i = 0; i < port->pdu_count; i++) {
    const trovix_sim_pdu *pdu = &port->pdus[i];
    if (!strcmp(pdu->name, name) && !strcmp(pdu->ecu, ecu) && pdu->controller == controller) return (int)i;
  }
  return -1;
}

static int find_signal(const trovix_sim_port *port, const char *name) {
  u32_t i;
  for (i = 0; i < port->signal_count; i++)
    if (!strcmp(port->signals[i].name, name)) return (int)i;
  return -1;
}

/* A new signal named `name` at the end of the port's table. */
static uint32_t add_signal(trovix_sim_port *port, const char *name, trovix_sim_signal **signal) {
  *signal = NULL;
  if (!*name) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "a signal has no name");
  if (strlen(name) >= TROVIX_SIM_NAME_BYTES)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "signal name longer than %u bytes", TROVIX_SIM_NAME_BYTES - 1);
  if (find_signal(port, name) >= 0)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "signal '%s' is configured already", name);
  if (port->signal_count == TROVIX_SIM_SIGNALS)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the signal table is full (%u signals)", TROVIX_SIM_SIGNALS);
  *signal = &port->signals[port->signal_count++];
  memset(*signal, 0, sizeof **signal);
  strcpy((*signal)->name, name);
  (*signal)->factor = 1.0;
  return 0;
}

/* ---- configuration from a text ------------------------------------------
 * Entries separated by ';' or new lines, each `key=value` fields separated
 * by ',': signal (the name, required), type, bits, mode (transmission
 * mode), comid, default, and for the PDU that carries the signal pdu, ecu,
 * controller, bit (the signal's bit position) and bus (a bus type). A PDU is
 * made when an entry first names it. */
static uint32_t config_entry(trovix_sim_port *port, char *entry) {
  char *field, *save = NULL;
  char name[TROVIX_SIM_NAME_BYTES] = "", pdu[TROVIX_SIM_NAME_BYTES] = "", ecu[TROVIX_SIM_NAME_BYTES] = "";
  unsigned long type = QX_TROVIX__SIGNAL__TYPE__U8, bits = 8, mode = 0, comid = 0, def = 0, controller = 0, bit = 0,
                bus = QX_TROVIX__BUS_TYPE__CAN;
  trovix_sim_signal *signal;
  for (field = strtok_r(entry, ",", &save); field; field = strtok_r(NULL, ",", &save)) {
    char *eq = strchr(field, '=');
    char *key = field, *value;
    if (!eq) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "'%s' is no key=value field", field);
    *eq = 0;
    value = eq + 1;
    if (strlen(value) >= TROVIX_SIM_NAME_BYTES) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s too long", key);
    if (!strcmp(key, "signal")) strcpy(name, value);
    else if (!strcmp(key, "pdu")) strcpy(pdu, value);
    else if (!strcmp(key, "ecu")) strcpy(ecu, value);
    else {
      char *end;
      unsigned long number = strtoul(value, &end, 0);
      if (!*value || *end) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s is no number: '%s'", key, value);
      if (!strcmp(key, "type")) type = number;
      else if (!strcmp(key, "bits")) bits = number;
      else if (!strcmp(key, "mode")) mode = number;
      else if (!strcmp(key, "comid")) comid = number;
      else if (!strcmp(key, "default")) def = number;
      else if (!strcmp(key, "controller")) controller = number;
      else if (!strcmp(key, "bit")) bit = number;
      else if (!strcmp(key, "bus")) bus = number;
      else return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown key '%s'", key);
    }
  }
  QXSIM_TRY(add_signal(port, name, &signal));
  signal->type = (u8_t)type;
  signal->bit_size = (u32_t)bits;
  signal->transmission_mode = (u8_t)mode;
  signal->com_id = (u16_t)comid;
  signal->default_value = (u32_t)def;
  signal->max_value = bits >= 32 ? 0xFFFFFFFFu : (u32_t)((1ull << bits) - 1);
  signal->bit_position = (u32_t)bit;
  if (*pdu) {
    int index = trovix_sim_find_pdu(port, pdu, ecu, (u32_t)controller);
    if (index < 0) {
      trovix_sim_pdu *made;
      if (port->pdu_count == TROVIX_SIM_PDUS) {
        port->signal_count--;
        return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the PDU table is full (%u PDUs)", TROVIX_SIM_PDUS);
      }
      index = (int)port->pdu_count++;
      made = &port->pdus[index];
      memset(made, 0, sizeof *made);
      strcpy(made->name, pdu);
      strcpy(made->ecu, ecu);
      made->controller = (u32_t)controller;
      made->com_id = (u32_t)comid;
      made->bus_type = (u8_t)bus;
    }
    signal->pdu = (u32_t)index + 1;
  }
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Signal_Config(Qx_PortHandle_t portHandle, char const *const signalConfiguration) {
  trovix_sim_port *port;
  char *text, *entry, *save = NULL;
  uint32_t status = 0;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(signalConfiguration, "signal configuration"));
  text = strdup(signalConfiguration);
  if (!text) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "out of memory");
  for (entry = strtok_r(text, ";\n", &save); entry && !status; entry = strtok_r(NULL, ";\n", &save))
    status = config_entry(port, entry);
  free(text);
  return status;
}

Qx_Error_t sim_Qx_Trovix_Signal_Config2(Qx_PortHandle_t portHandle, Qx_Trovix_Signal_Config2_CmdFlags_t flags,
                                        u32_t numberOfSignals, Qx_Trovix_Signal_Config2_Signal_t const *const signals) {
  trovix_sim_port *port;
  u32_t i;
  (void)flags;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(signals || !numberOfSignals, "signals"));
  for (i = 0; i < numberOfSignals; i++) {
    const Qx_Trovix_Signal_Config2_Signal_t *given = &signals[i];
    char name[sizeof given->Name + 1];
    trovix_sim_signal *signal;
    memcpy(name, given->Name, sizeof given->Name);
    name[sizeof given->Name] = 0;
    QXSIM_TRY(add_signal(port, name, &signal));
    signal->com_id = given->ComId;
    signal->transmission_mode = given->TransmissionMode;
    signal->type = given->Internal.Type;
    signal->bit_size = given->Internal.BitSize;
    signal->min_value = given->Internal.MinValue;
    signal->max_value = given->Internal.MaxValue;
    signal->default_value = given->Internal.DefaultValue;
    signal->physical_type = given->Physical.Type;
    signal->physical_min = given->Physical.MinValue;
    signal->physical_max = given->Physical.MaxValue;
    signal->offset = given->Offset;
    signal->factor = given->Factor;
  }
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Signal_Write(Qx_PortHandle_t portHandle, u8_t mode, Qx_Trovix_Signal_Write_CmdFlags_t flags,
                                      Qx_Trovix_SignalHandle_t signalHandle, u16_t dataSize, void const *const data) {
  trovix_sim_port *port;
  trovix_sim_signal *signal;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(trovix_sim_signal_of(port, signalHandle, &signal));
  QXSIM_TRY(qxsim_need(data, "data"));
  if (dataSize == 0 || dataSize > TROVIX_SIM_VALUE_BYTES)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "data size %u outside 1 to %u bytes", (unsigned)dataSize,
                      TROVIX_SIM_VALUE_BYTES);
  memset(signal->value, 0, sizeof signal->value);
  memcpy(signal->value, data, dataSize);
  signal->value_size = dataSize;
  signal->written = 1;
  if (signal->callback) signal->callback(portHandle, mode, signalHandle, flags, dataSize, signal->value);
  return 0;
}

/* The value a signal holds: the one written last, else its default value. */
static const u8_t *signal_value(trovix_sim_signal *signal, u16_t *size) {
  if (!signal->written) {
    u32_t def = signal->default_value;
    memset(signal->value, 0, sizeof signal->value);
    memcpy(signal->value, &def, sizeof def); /* little-endian host */
    signal->value_size = trovix_sim_signal_size(signal);
  }
  *size = signal->value_size;
  return signal->value;
}

Qx_Error_t sim_Qx_Trovix_Signal_Read(Qx_PortHandle_t portHandle, u8_t mode, Qx_Trovix_Signal_Read_CmdFlags_t flags,
                                     Qx_Trovix_SignalHandle_t signalHandle,
                                     Qx_Trovix_Signal_Read_RspFlags_t *const rspFlags, u16_t *const dataSize,
                                     void *const data) {
  trovix_sim_port *port;
  trovix_sim_signal *signal;
  const u8_t *value;
  u16_t size;
  (void)mode;
  (void)flags;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(trovix_sim_signal_of(port, signalHandle, &signal));
  QXSIM_TRY(qxsim_need(rspFlags, "response flags"));
  QXSIM_TRY(qxsim_need(dataSize, "data size"));
  QXSIM_TRY(qxsim_need(data, "data"));
  value = signal_value(signal, &size);
  if (*dataSize < size)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "room for %u bytes, the value of signal %u has %u",
                      (unsigned)*dataSize, (unsigned)signalHandle, (unsigned)size);
  memcpy(data, value, size);
  *dataSize = size;
  *rspFlags = signal->written ? TROVIX_SIM_READ_WRITTEN : 0;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Signal_UpdateCallback_Set(Qx_PortHandle_t portHandle, u8_t mode,
                                                   Qx_Trovix_Signal_Read_CmdFlags_t flags,
                                                   Qx_Trovix_SignalHandle_t signalHandle,
                                                   Qx_Trovix_Signal_UpdateCallback_t const callback) {
  trovix_sim_port *port;
  trovix_sim_signal *signal;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(trovix_sim_signal_of(port, signalHandle, &signal));
  QXSIM_TRY(qxsim_need(callback, "callback"));
  signal->callback = callback;
  signal->callback_mode = mode;
  signal->callback_flags = flags;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Signal_UpdateCallback_Reset(Qx_PortHandle_t portHandle, Qx_Trovix_SignalHandle_t signalHandle) {
  trovix_sim_port *port;
  trovix_sim_signal *signal;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(trovix_sim_signal_of(port, signalHandle, &signal));
  signal->callback = NULL;
  return 0;
}

/* ---- signal information ------------------------------------------------- */

static void signal_info(const trovix_sim_signal *signal, Qx_Trovix_SignalInfo_t *info) {
  memset(info, 0, sizeof *info);
  memcpy(info->Name, signal->name, sizeof info->Name);
  info->Offset = signal->offset;
  info->Factor = signal->factor;
  info->Internal.MinValue = signal->min_value;
  info->Internal.MaxValue = signal->max_value;
  info->Internal.DefaultValue = signal->default_value;
  info->Internal.Type = signal->type;
  info->Internal.Size = trovix_sim_signal_size(signal);
  info->Physical.MinValue = signal->physical_min;
  info->Physical.MaxValue = signal->physical_max;
  info->Physical.Type = signal->physical_type;
  info->Physical.Size = 8;
}

Qx_Error_t sim_Qx_Trovix_Signal_GetNumberOfSignals(Qx_PortHandle_t portHandle, u32_t *const numberOfSignals) {
  trovix_sim_port *port;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(numberOfSignals, "count"));
  *numberOfSignals = port->signal_count;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Signal_GetSignalList(Qx_PortHandle_t portHandle, u32_t *const signalCount,
                                              Qx_Trovix_SignalInfo_t *const signalList) {
  trovix_sim_port *port;
  u32_t i, n;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(signalCount, "count"));
  n = *signalCount < port->signal_count ? *signalCount : port->signal_count;
  QXSIM_TRY(qxsim_need(signalList || !n, "signal list"));
  for (i = 0; i < n; i++) signal_info(&port->signals[i], &signalList[i]);
  *signalCount = n;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Signal_GetSignalInfo(Qx_PortHandle_t portHandle, Qx_Trovix_SignalHandle_t signalHandle,
                                              Qx_Trovix_SignalInfo_t *const signalInfo) {
  trovix_sim_port *port;
  trovix_sim_signal *signal;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(trovix_sim_signal_of(port, signalHandle, &signal));
  QXSIM_TRY(qxsim_need(signalInfo, "signal information"));
  signal_info(signal, signalInfo);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Signal_GetSignalTransmissionMode(Qx_PortHandle_t portHandle,
                                                          Qx_Trovix_SignalHandle_t signalHandle,
                                                          u8_t *const transmissionMode) {
  trovix_sim_port *port;
  trovix_sim_signal *signal;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(trovix_sim_signal_of(port, signalHandle, &signal));
  QXSIM_TRY(qxsim_need(transmissionMode, "transmission mode"));
  *transmissionMode = signal->transmission_mode;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Signal_GetSignalHandle(Qx_PortHandle_t portHandle, char const *const signalName,
                                                Qx_Trovix_SignalHandle_t *const signalHandle) {
  trovix_sim_port *port;
  int index;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(signalName, "signal name"));
  QXSIM_TRY(qxsim_need(signalHandle, "handle"));
  index = find_signal(port, signalName);
  if (index < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "no signal named '%s'", signalName);
  *signalHandle = (Qx_Trovix_SignalHandle_t)index;
  return 0;
}
