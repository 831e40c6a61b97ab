/*
 * Sized tables of configured entries, as the simulated Trovix stack keeps
 * them for its CAN interface, CAN network management and PDU router: a
 * sizing call sets a table's capacity, configuration calls fill it (an entry
 * of a known key is replaced in place), and a full table fails with a
 * last-error text that names it.
 */
#ifndef TROVIX_TABLES_H
#define TROVIX_TABLES_H

#include <stddef.h>

#include "trovix_sim.h"

/* Sets *capacity to `wanted`: at most `bound` (what the simulated stack
 * holds) and not below the `count` entries configured already. */
static inline uint32_t trovix_table_size(const char *what, u32_t *capacity, u32_t count, u32_t wanted, u32_t bound) {
  if (wanted > bound)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%u %s asked for, the stack holds at most %u", (unsigned)wanted,
                      what, (unsigned)bound);
  if (wanted < count)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "%u %s asked for, %u are configured already", (unsigned)wanted, what,
                      (unsigned)count);
  *capacity = wanted;
  return 0;
}

/* The slot of an entry: `found` (the index of the entry of the same key, or
 * -1 for a new one, which takes the next free slot while there is room). */
static inline uint32_t trovix_table_slot(const char *what, u32_t capacity, u32_t *count, int found, u32_t *slot) {
  if (found >= 0) {
    *slot = (u32_t)found;
    return 0;
  }
  if (*count >= capacity)
    return qxsim_fail(QXSIM_ERROR_INVALID_STATE, "the %s table is full (%u entries)", what, (unsigned)capacity);
  *slot = (*count)++;
  return 0;
}

/* Pairs of bit-timing limits (minimum, maximum) at these offsets from a
 * record's first limit: minimum above maximum fails. */
static inline uint32_t trovix_check_limits(const u8_t *limits) {
  static const char *const names[] = {"SamplePoint", "NumberOfTimeQuanta", "TSeg1", "TSeg2", "Sjw"};
  unsigned i;
  for (i = 0; i < sizeof names / sizeof names[0]; i++)
    if (limits[2 * i] > limits[2 * i + 1])
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s_Min %u is above %s_Max %u", names[i], (unsigned)limits[2 * i],
                        names[i], (unsigned)limits[2 * i + 1]);
  return 0;
}

/* A byte position of a network-management PDU: the member `name` at
 * `offset` of its configuration record, a byte up to `last` of its
 * enumeration. */
typedef struct {
  const char *name;
  size_t offset;
  u8_t last;
} trovix_nm_position;

/* Checks the byte positions of a network-management configuration `record`:
 * each a value of its enumeration or `not_used` (-1: the enumeration has no
 * such value); with a PDU (`length` not -1), inside its `length` bytes,
 * which are at most `room`. */
static inline uint32_t trovix_check_nm_positions(const void *record, const trovix_nm_position *positions, size_t count,
                                                 int not_used, int length, size_t room) {
  size_t i;
  if (length >= 0 && (size_t)length > room)
    return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "PduLength %u is above %u", (unsigned)length, (unsigned)room);
  for (i = 0; i < count; i++) {
    u8_t at = ((const u8_t *)record)[positions[i].offset];
    if (not_used >= 0 && at == not_used) continue;
    if (at > positions[i].last)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "unknown %s %u", positions[i].name, (unsigned)at);
    if (length >= 0 && at >= length)
      return qxsim_fail(QXSIM_ERROR_INVALID_ARGUMENT, "%s %u lies beyond PduLength %u", positions[i].name, (unsigned)at,
                        (unsigned)length);
  }
  return 0;
}

#endif
