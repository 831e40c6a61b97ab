/*
 * What the simulated Com PDU configuration (comcfg.c) offers the stand-in's
 * other Com families (checksum.c).
 */
#ifndef COMCFG_SIM_H
#define COMCFG_SIM_H

#include "trovix_sim.h"

/* 0 and the PDU length in *length when transmit PDU `id` is configured on
 * the initialised Trovix port `handle`, else the failure set ("unknown
 * transmit PDU <id>"). */
uint32_t comcfg_sim_tx_pdu_length(u32_t handle, u32_t id, u32_t *length);

#endif
