/*
 * What the simulated crypto service (crypto.c) offers the stand-in's secure
 * onboard communication (secoc.c).
 */
#ifndef CRYPTO_SIM_H
#define CRYPTO_SIM_H

#include "trovix_sim.h"

/* 0 when crypto job `job` is configured on the initialised Trovix port
 * `handle`, else the failure set ("unknown crypto job <job>"). */
uint32_t crypto_sim_job_known(u32_t handle, u32_t job);

#endif
