/*
 * The byte buffer that native functions take as a bare `u8_t const *` with
 * no room beside it (message data and masks, user events, CCP command data,
 * broadcast bytes): they read up to this many bytes through it, the data of
 * one CAN FD frame. The modules pass a zeroed buffer of this size for such a
 * parameter (`stack_bytes`, bindings/shared/qx_lists.i), the journal records
 * this many bytes of it, and the simulated device reads and keeps no more.
 *
 * Plain C without includes: SWIG reads it too (%import, which wraps
 * nothing), so that the modules' messages spell the number. C code has it
 * through qx_types.h.
 */
#ifndef QX_BUFFER_H
#define QX_BUFFER_H

#define QX_BUFFER_BYTES 64

#endif
