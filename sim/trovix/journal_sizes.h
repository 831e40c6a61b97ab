/*
 * What the journal sizes of api/trovix/params.txt ask of the simulated
 * Trovix stack; the generated journaling bodies include this header
 * (cmake/QxSim.cmake). They run at call entry, before the behaviour, so
 * these are lookups only: they neither fail nor touch the last error.
 */
#ifndef TROVIX_JOURNAL_SIZES_H
#define TROVIX_JOURNAL_SIZES_H

#include <stddef.h>

#include "qx_api_trovix_signal.h"

/* Bytes of the data of `block` (TROVIX_SIM_BLOCK_SLOT for each of its
 * signals) when the initialised port `portHandle` has that block in use,
 * else 0. */
size_t trovix_sim_block_bytes(Qx_PortHandle_t portHandle, const Qx_Trovix_SignalBlock_t *block);

#endif
