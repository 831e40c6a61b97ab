/*
 * The simulated transmit traces of each CAN port: up to TRACE_MAX traces,
 * each known by the handle Qx_Can_TxTrace_Allocate gave (handles are not
 * reused while the port is open). Downloads append messages; a playing
 * trace takes no more until it is freed; playing needs messages.
 *
 * Qx_Can_TxTrace_GetState answers flags (TRACE_FLAG_PLAYING while the trace
 * plays), the number of messages and the message played next (0: the trace
 * starts over). The repetitions counter is the trace's own: read only.
 */
#include <string.h>

#include "qx_api_can_behaviour.h"
#include "qxsim_device.h"

#define TRACE_MAX 4u
#define TRACE_MAX_MESSAGES 4096u
#define TRACE_FLAG_PLAYING 0x1u

typedef struct {
  u32_t handle; /* 0: slot free */
  int playing;
  u32_t messages;
  u32_t repetitions;
} trace;

typedef struct {
  uint32_t handle; /* 0: slot free */
  u32_t last_handle;
  trace traces[TRACE_MAX];
} trace_port;

static trace_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

/* The trace of `handle` on the port, written into *t. */
static uint32_t trace_of(Qx_PortHandle_t portHandle, u32_t handle, trace **t) {
  trace_port *p = NULL;
  unsigned i;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  for (i = 0; handle && i < TRACE_MAX; i++) {
    if (p->traces[i].handle == handle) {
      *t = &p->traces[i];
      return 0;
    }
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_HANDLE, "no transmit trace %u allocated on port 0x%08X", (unsigned)handle,
                    (unsigned)portHandle);
}

static uint32_t not_playing(const trace *t) {
  if (t->playing) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit trace %u is playing", (unsigned)t->handle);
  return 0;
}

Qx_Error_t sim_Qx_Can_TxTrace_Allocate(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t *traceHandle) {
  trace_port *p = NULL;
  unsigned i;
  QXSIM_TRY(qxsim_port_state(&table, portHandle, &p));
  QXSIM_TRY(qxsim_need(traceHandle, "handle cell"));
  for (i = 0; i < TRACE_MAX; i++) {
    trace *t = &p->traces[i];
    if (t->handle) continue;
    memset(t, 0, sizeof *t);
    t->handle = ++p->last_handle;
    *traceHandle = t->handle;
    return 0;
  }
  return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "all %u transmit traces of port 0x%08X are allocated", TRACE_MAX,
                    (unsigned)portHandle);
}

Qx_Error_t sim_Qx_Can_TxTrace_Free(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle) {
  trace *t = NULL;
  QXSIM_TRY(trace_of(portHandle, traceHandle, &t));
  memset(t, 0, sizeof *t);
  return 0;
}

Qx_Error_t sim_Qx_Can_TxTrace_Download(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                       u32_t numberOfMessages, Qx_Can_TxTrace_Download_Flags_t flags,
                                       Qx_Can_TxTrace_Msg_t *traceMsgs) {
  trace *t = NULL;
  (void)flags;
  QXSIM_TRY(trace_of(portHandle, traceHandle, &t));
  QXSIM_TRY(qxsim_need(traceMsgs || !numberOfMessages, "messages"));
  QXSIM_TRY(not_playing(t));
  if (numberOfMessages > TRACE_MAX_MESSAGES - t->messages)
    return qxsim_fail(QXSIM_ERROR_BUFFER_TOO_SMALL, "transmit trace %u full (%u of %u messages, %u more given)",
                      (unsigned)traceHandle, (unsigned)t->messages, TRACE_MAX_MESSAGES, (unsigned)numberOfMessages);
  t->messages += numberOfMessages;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxTrace_Play(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                   Qx_Can_TxTrace_Play_Flags_t flags) {
  trace *t = NULL;
  (void)flags;
  QXSIM_TRY(trace_of(portHandle, traceHandle, &t));
  QXSIM_TRY(not_playing(t));
  if (!t->messages)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "transmit trace %u holds no messages", (unsigned)traceHandle);
  t->playing = 1;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxTrace_GetState(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                       Qx_Can_TxTrace_GetState_Rsp_t *traceState) {
  trace *t = NULL;
  QXSIM_TRY(trace_of(portHandle, traceHandle, &t));
  QXSIM_TRY(qxsim_need(traceState, "state record"));
  traceState->Flags = t->playing ? TRACE_FLAG_PLAYING : 0u;
  traceState->NumberOfMessages = t->messages;
  traceState->CurrentMessage = 0;
  return 0;
}

Qx_Error_t sim_Qx_Can_TxTrace_Property_SetById(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                               u16_t propertyId, u32_t propertyValue) {
  trace *t = NULL;
  QXSIM_TRY(trace_of(portHandle, traceHandle, &t));
  switch (propertyId) {
    case QX_CAN__TX_TRACE__PROPERTY_ID__REPETITIONS__NUMBER:
      QXSIM_TRY(not_playing(t));
      t->repetitions = propertyValue;
      return 0;
    case QX_CAN__TX_TRACE__PROPERTY_ID__REPETITIONS__COUNTER:
      return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "transmit trace property %u is read only", propertyId);
    default: return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "unknown transmit trace property %u", propertyId);
  }
}

Qx_Error_t sim_Qx_Can_TxTrace_Property_GetById(Qx_PortHandle_t portHandle, Qx_Can_TxTrace_TraceHandle_t traceHandle,
                                               u16_t propertyId, u32_t *const tracePropertyValue) {
  trace *t = NULL;
  QXSIM_TRY(trace_of(portHandle, traceHandle, &t));
  QXSIM_TRY(qxsim_need(tracePropertyValue, "value cell"));
  switch (propertyId) {
    case QX_CAN__TX_TRACE__PROPERTY_ID__REPETITIONS__NUMBER: *tracePropertyValue = t->repetitions; return 0;
    case QX_CAN__TX_TRACE__PROPERTY_ID__REPETITIONS__COUNTER: *tracePropertyValue = 0; return 0;
    default: return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "unknown transmit trace property %u", propertyId);
  }
}
