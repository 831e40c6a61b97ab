/* Simulated Trovix crypto service: 128-bit keys by key identifier and jobs
 * by job identifier, each replaced in place when configured again. A job
 * computes a primitive the stack knows and needs its key loaded first. The
 * key bytes live in the port's record only, which the core empties when the
 * port closes. */
#include <string.h>

#include "crypto_sim.h"
#include "trovix_tables.h"

#define CRYPTO_SIM_KEYS 16u
#define CRYPTO_SIM_JOBS 16u

typedef struct {
  u32_t id;
  u8_t bytes[16];
} crypto_key;

typedef struct {
  u32_t id;
  u32_t key;
  u8_t primitive;
} crypto_job;

typedef struct {
  u32_t handle; /* 0: slot free */
  u32_t key_count, job_count;
  crypto_key keys[CRYPTO_SIM_KEYS];
  crypto_job jobs[CRYPTO_SIM_JOBS];
} crypto_port;

static crypto_port ports[QXSIM_MAX_PORTS];
static qxsim_port_table table = QXSIM_PORT_TABLE(ports, NULL, NULL);

static uint32_t crypto_state(u32_t handle, crypto_port **port) {
  trovix_sim_port *stack;
  QXSIM_TRY(trovix_sim_port_state(handle, &stack));
  return qxsim_port_state(&table, handle, port);
}

static int key_index(const crypto_port *port, u32_t id) {
  u32_t i;
  for (i = 0; i < port->key_count; i++)
    if (port->keys[i].id == id) return (int)i;
  return -1;
}

static int job_index(const crypto_port *port, u32_t id) {
  u32_t i;
  for (i = 0; i < port->job_count; i++)
    if (port->jobs[i].id == id) return (int)i;
  return -1;
}

uint32_t crypto_sim_job_known(u32_t handle, u32_t job) {
  crypto_port *port;
  QXSIM_TRY(crypto_state(handle, &port));
  if (job_index(port, job) < 0) return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "unknown crypto job %u", (unsigned)job);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Csm_Job(Qx_PortHandle_t portHandle, Qx_Trovix_Csm_Job_Cmd_t const *const jobCmd) {
  crypto_port *port;
  u32_t slot = 0;
  QXSIM_TRY(crypto_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(jobCmd, "command"));
  if (jobCmd->PrimitiveType != QX_TROVIX__CSM__PRIMITIVE_TYPE__CMAC_AES_128 &&
      jobCmd->PrimitiveType != QX_TROVIX__CSM__PRIMITIVE_TYPE__SIP_HASH_2_4)
    return qxsim_fail(QXSIM_ERROR_NOT_SUPPORTED, "unsupported primitive type %u", (unsigned)jobCmd->PrimitiveType);
  if (key_index(port, jobCmd->KeyId) < 0)
    return qxsim_fail(QXSIM_ERROR_NOT_FOUND, "key %u of job %u is not loaded", (unsigned)jobCmd->KeyId,
                      (unsigned)jobCmd->JobId);
  QXSIM_TRY(trovix_table_slot("crypto job", CRYPTO_SIM_JOBS, &port->job_count, job_index(port, jobCmd->JobId), &slot));
  port->jobs[slot].id = jobCmd->JobId;
  port->jobs[slot].key = jobCmd->KeyId;
  port->jobs[slot].primitive = jobCmd->PrimitiveType;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_Csm_Key_128Bit(Qx_PortHandle_t portHandle, Qx_Trovix_Csm_Key_128Bit_Cmd_t const *const keyCmd) {
  crypto_port *port;
  u32_t slot = 0;
  QXSIM_TRY(crypto_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(keyCmd, "command"));
  QXSIM_TRY(trovix_table_slot("key", CRYPTO_SIM_KEYS, &port->key_count, key_index(port, keyCmd->KeyId), &slot));
  port->keys[slot].id = keyCmd->KeyId;
  memcpy(port->keys[slot].bytes, keyCmd->Key, sizeof port->keys[slot].bytes);
  return 0;
}
