/* Simulated Trovix signal blocks: a block's data gives each of its signals
 * TROVIX_SIM_BLOCK_SLOT bytes, in the order of the block's signals (a value
 * shorter than its slot is zero-padded). Write reads, and Read and
 * Buffer_Read write, that many bytes of the caller's data, which the
 * journal sizes alike (trovix_sim_block_bytes).
 *
 * A block's address is not its slot in the port's table (a slot is taken
 * again by the next block configured) but the next byte of `addresses`,
 * handed out in turn to the blocks of every port: an address comes back only
 * after TROVIX_SIM_BLOCK_ADDRESSES other blocks were made, so the address of
 * a deleted block names no block made since, and is refused. */
#include <string.h>

#include "journal_sizes.h"
#include "trovix_sim.h"

#define TROVIX_SIM_BLOCK_ADDRESSES 1024u

static unsigned char addresses[TROVIX_SIM_BLOCK_ADDRESSES];
static u32_t next_address;

/* The block at `address` among the port's blocks in use, else NULL. */
static trovix_sim_block *find_block(trovix_sim_port *port, const void *address) {
  u32_t i;
  for (i = 0; address && i < TROVIX_SIM_BLOCKS; i++)
    if (port->blocks[i].used && port->blocks[i].address == address) return &port->blocks[i];
  return NULL;
}

/* As find_block, failing with the block's error text. */
static uint32_t block_of(trovix_sim_port *port, const void *address, trovix_sim_block **block) {
  *block = NULL;
  QXSIM_TRY(qxsim_need(address, "signal block"));
  *block = find_block(port, address);
  return *block ? 0 : qxsim_fail(QXSIM_ERROR_INVALID_HANDLE, "unknown signal block %p", address);
}

/* The bytes Write reads and Read and Buffer_Read write, as the journal sizes
 * the data at call entry: a block the behaviour would refuse gets none. */
size_t trovix_sim_block_bytes(Qx_PortHandle_t portHandle, const Qx_Trovix_SignalBlock_t *address) {
  trovix_sim_port *port = trovix_sim_port_found(portHandle);
  const trovix_sim_block *block = port ? find_block(port, address) : NULL;
  return block ? (size_t)block->count * TROVIX_SIM_BLOCK_SLOT : 0;
}

Qx_Error_t sim_Qx_Trovix_SignalBlock_Config(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_Config_CmdFlags_t flags,
                                            Qx_Trovix_SignalBlock_t **signalBlock, u32_t numberOfSignals,
                                            Qx_Trovix_SignalBlock_Signals_t const *const signals) {
  trovix_sim_port *port;
  trovix_sim_block *block = NULL;
  u32_t i;
  (void)flags;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(signalBlock, "block cell"));
  QXSIM_TRY(qxsim_need(signals && numberOfSignals, "signals"));
  if (numberOfSignals > TROVIX_SIM_SIGNALS)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u signals, a block holds at most %u", (unsigned)numberOfSignals,
                      TROVIX_SIM_SIGNALS);
  for (i = 0; i < numberOfSignals; i++) {
    trovix_sim_signal *signal;
    QXSIM_TRY(trovix_sim_signal_of(port, signals[i].SignalHandle, &signal));
  }
  for (i = 0; i < TROVIX_SIM_BLOCKS && !block; i++)
    if (!port->blocks[i].used) block = &port->blocks[i];
  if (!block) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "all %u signal blocks are in use", TROVIX_SIM_BLOCKS);
  memset(block, 0, sizeof *block);
  block->used = 1;
  block->address = &addresses[next_address];
  next_address = (next_address + 1) % TROVIX_SIM_BLOCK_ADDRESSES;
  block->count = numberOfSignals;
  for (i = 0; i < numberOfSignals; i++) block->handles[i] = signals[i].SignalHandle;
  *signalBlock = (Qx_Trovix_SignalBlock_t *)block->address;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SignalBlock_Delete(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_Delete_CmdFlags_t flags,
                                            Qx_Trovix_SignalBlock_t **signalBlock) {
  trovix_sim_port *port;
  trovix_sim_block *block;
  (void)flags;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(qxsim_need(signalBlock, "block cell"));
  QXSIM_TRY(block_of(port, *signalBlock, &block));
  block->used = 0;
  *signalBlock = NULL;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SignalBlock_Write(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t const *const signalBlock,
                                           u8_t const *const blockData) {
  trovix_sim_port *port;
  trovix_sim_block *block;
  u32_t i;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(block_of(port, signalBlock, &block));
  QXSIM_TRY(qxsim_need(blockData, "data"));
  for (i = 0; i < block->count; i++) {
    trovix_sim_signal *signal = &port->signals[block->handles[i]];
    memset(signal->value, 0, sizeof signal->value);
    signal->value_size = trovix_sim_signal_size(signal);
    memcpy(signal->value, blockData + (size_t)i * TROVIX_SIM_BLOCK_SLOT, signal->value_size);
    signal->written = 1;
  }
  return 0;
}

static void read_block(trovix_sim_port *port, const trovix_sim_block *block, u8_t *data) {
  u32_t i;
  for (i = 0; i < block->count; i++) {
    trovix_sim_signal *signal = &port->signals[block->handles[i]];
    u8_t *slot = data + (size_t)i * TROVIX_SIM_BLOCK_SLOT;
    u16_t size = signal->written ? signal->value_size : trovix_sim_signal_size(signal);
    memset(slot, 0, TROVIX_SIM_BLOCK_SLOT);
    if (signal->written)
      memcpy(slot, signal->value, size < TROVIX_SIM_BLOCK_SLOT ? size : TROVIX_SIM_BLOCK_SLOT);
    else
      memcpy(slot, &signal->default_value, size < sizeof(u32_t) ? size : sizeof(u32_t));
  }
}

Qx_Error_t sim_Qx_Trovix_SignalBlock_Read(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t const *const signalBlock,
                                          u8_t *const blockData) {
  trovix_sim_port *port;
  trovix_sim_block *block;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(block_of(port, signalBlock, &block));
  QXSIM_TRY(qxsim_need(blockData, "data"));
  read_block(port, block, blockData);
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SignalBlock_Buffer_Reset(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t *const signalBlock) {
  trovix_sim_port *port;
  trovix_sim_block *block;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(block_of(port, signalBlock, &block));
  if (!block->buffer_size) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the block has no buffer configured");
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SignalBlock_Buffer_Config(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t *const signalBlock,
                                                   Qx_Trovix_SignalBlock_Buffer_Config_Cmd_t const *const bufferConfig) {
  trovix_sim_port *port;
  trovix_sim_block *block;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(block_of(port, signalBlock, &block));
  QXSIM_TRY(qxsim_need(bufferConfig, "buffer configuration"));
  if (!bufferConfig->BufferSize) return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "buffer size 0");
  block->buffer_size = bufferConfig->BufferSize;
  block->polling_cycle = bufferConfig->PollingCycle;
  return 0;
}

Qx_Error_t sim_Qx_Trovix_SignalBlock_Buffer_Read(Qx_PortHandle_t portHandle, Qx_Trovix_SignalBlock_t *const signalBlock,
                                                 Qx_Trovix_SignalBlock_Buffer_Read_CmdFlags_t flags,
                                                 Qx_Trovix_SignalBlock_Buffer_Read_RspFlags_t *const rspFlags,
                                                 u8_t *const blockData) {
  trovix_sim_port *port;
  trovix_sim_block *block;
  (void)flags;
  QXSIM_TRY(trovix_sim_port_state(portHandle, &port));
  QXSIM_TRY(block_of(port, signalBlock, &block));
  QXSIM_TRY(qxsim_need(rspFlags, "response flags"));
  QXSIM_TRY(qxsim_need(blockData, "data"));
  if (!block->buffer_size) return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the block has no buffer configured");
  read_block(port, block, blockData);
  *rspFlags = 0;
  return 0;
}
