/*
 * What the simulated time-base manager (stbm.c) offers the stand-in's time
 * synchronisation (timesync.c).
 */
#ifndef STBM_SIM_H
#define STBM_SIM_H

#include "trovix_sim.h"

/* 0 when time base `id` of manager `manager` is configured on the
 * initialised Trovix port `handle`, else the failure set ("unknown time base
 * <id> of time-base manager <manager>"). */
uint32_t stbm_sim_time_base_known(u32_t handle, u8_t manager, u16_t id);

#endif
