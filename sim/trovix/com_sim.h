/*
 * What the simulated Com configuration (comcfg.c) tells the simulated Com
 * run time (comrt.c), signal filter (filter.c) and checksums (checksum.c): a
 * configured transmit PDU, the signals of the PDUs and
 * the Com signals with their mappings.
 */
#ifndef COM_SIM_H
#define COM_SIM_H

#include "trovix_sim.h"

typedef struct {
  u32_t length;        /* PduLength */
  u8_t unused_default; /* UnusedAreasDefault */
  u32_t period[2];     /* TimePeriod of the transmission mode in the false and the true state */
  int counter;         /* a PDU counter is configured */
  u32_t counter_signal;
} com_sim_tx_pdu;

/* The configured transmit PDU `id` of the port. 0, or the failure set. */
uint32_t com_sim_tx_pdu_of(u32_t handle, u32_t id, com_sim_tx_pdu *pdu);
/* Signal `signal` of the configured transmit (or receive) PDU `pdu`; its bit
 * size in *bits when bits is not NULL. 0, or the failure set. */
uint32_t com_sim_pdu_signal(u32_t handle, int transmit, u32_t pdu, u32_t signal, u32_t *bits);
/* Records mapping `mapping` of the configured Com signal `signal` (a known
 * mapping is replaced; at most the signal's NumberOfMappings). 0, or the
 * failure set. */
uint32_t com_sim_map_signal(u32_t handle, u32_t signal, u32_t mapping);

#endif
