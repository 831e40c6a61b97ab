/*
 * The simulated device's control interface.
 *
 * libqx_api.so (the simulated base library) holds the one journal and script
 * store of the simulated device; the other simulated libraries link to it.
 * Tests reach these functions through ctypes on the very libqx_api.so that
 * the Python modules loaded (tests/qxsim.py).
 *
 * Arguments are numbered from 1 in native declaration order, as in the
 * bindings' messages.
 *
 * Every simulated native function F:
 *   1. counts the call and appends an entry to the journal: its name and, for
 *      each argument, its kind and value (scalars), or for a pointer whether
 *      it was NULL, its address and a copy of the bytes it pointed to at call
 *      time (records: their bytes; texts: up to and including the zero byte);
 *   2. runs its behaviour (function sim_F in sim/<library>/) unless a status
 *      or result is scripted for F;
 *   3. writes the bytes scripted for an output argument of F into that
 *      argument (when it is not NULL), bounded by the argument's room (see
 *      below);
 *   4. returns the scripted status or result if any, else the behaviour's.
 * A failing status sets the last error (code and text) that
 * Qx_GetLastErrorDescription and Qx_GetLastErrorCode report; a successful
 * status clears the code.
 *
 * The room of an output argument (a pointer to storage the native side
 * writes) is the number of bytes the journal takes of it: the size the
 * library's table of parameter shapes gives (api/<key>/params.txt: the
 * length or capacity beside a buffer, the records a count gives, a text
 * buffer's size, or what only the stand-in knows: 8 bytes for each signal
 * of a Trovix signal block's data, none for a block the port does not
 * have), else the size of the pointed-to type. It is taken when
 * the call starts, before the behaviour may change a count cell it depends
 * on. A scripted output no longer than the room is written as scripted (a
 * shorter one writes its own bytes only, the rest of the storage stays). A
 * longer one writes nothing into the argument and fails the call, whatever
 * the behaviour or a scripted status returned: status
 * QXSIM_ERROR_BUFFER_TOO_SMALL (qxsim_device.h), last error
 * "<F>: scripted output of <n> bytes for argument <arg> (<name>) exceeds
 * its <room> bytes". A function that returns a value rather than a status
 * returns as usual, with nothing written and that last error set.
 *
 * Scripts (a status, a result, a text result, an output, the last-error
 * text) stay in force for every later call until qxsim_reset, or until the
 * same script is given again.
 *
 * The journal is bounded, so that a script making any number of calls runs
 * in constant memory:
 *   - it keeps the QXSIM_JOURNAL_ENTRIES most recent calls; older entries
 *     are dropped (qxsim_journal_dropped counts them), and entry 0 is always
 *     the oldest one kept;
 *   - of each call it keeps the first QXSIM_JOURNAL_ARGS arguments, and of
 *     each argument at most QXSIM_JOURNAL_ARG_BYTES bytes of what a pointer,
 *     record or text held (qxsim_journal_arg_size tells the full size);
 *   - call counts (qxsim_call_count) are exact and kept apart from it.
 */
#ifndef QXSIM_H
#define QXSIM_H

#include <stdbool.h>
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define QXSIM_EXPORT __attribute__((visibility("default")))

/* Bounds of the journal (see above). */
#define QXSIM_JOURNAL_ENTRIES 1024
#define QXSIM_JOURNAL_ARGS 16
#define QXSIM_JOURNAL_ARG_BYTES 4096

/* ---- test control ------------------------------------------------------- */

/* Empties the journal (and its count of entries dropped), drops every call
 * count and every script (statuses, results, text results, outputs, the
 * scripted last-error text), clears the last error, and puts the device
 * back in its start state: every port closed, every lock dropped, the
 * interfaces' names as at start, and each simulated library's state reset
 * by the hook it registered (qxsim_on_reset). */
QXSIM_EXPORT void qxsim_reset(void);

/* Number of calls of `function` since the last reset (exact, whatever the
 * journal kept). */
QXSIM_EXPORT int qxsim_call_count(const char *function);

/* Journal access; `entry` counts from 0 (the oldest entry kept), `arg` from
 * 1. Kinds: 'u' unsigned, 's' signed, 'f' floating point, 'p' pointer, 'r'
 * record passed by value, 't' text. */
QXSIM_EXPORT int qxsim_journal_length(void);
/* Entries dropped since the last reset to keep the journal bounded. */
QXSIM_EXPORT long long qxsim_journal_dropped(void);
/* The bounds QXSIM_JOURNAL_ENTRIES and QXSIM_JOURNAL_ARG_BYTES. */
QXSIM_EXPORT int qxsim_journal_capacity(void);
QXSIM_EXPORT int qxsim_journal_arg_capacity(void);
QXSIM_EXPORT const char *qxsim_journal_function(int entry);
QXSIM_EXPORT int qxsim_journal_arg_count(int entry);
QXSIM_EXPORT int qxsim_journal_arg_kind(int entry, int arg);
/* Scalars: the value's bits (double: its IEEE bits); pointers: the address. */
QXSIM_EXPORT uint64_t qxsim_journal_arg_value(int entry, int arg);
QXSIM_EXPORT int qxsim_journal_arg_is_null(int entry, int arg);
/* Copies at most `capacity` of the kept bytes; returns how many were kept in
 * all (at most QXSIM_JOURNAL_ARG_BYTES). */
QXSIM_EXPORT int qxsim_journal_arg_bytes(int entry, int arg, void *destination, int capacity);
/* Number of bytes the argument held at call time (kept or not). */
QXSIM_EXPORT long long qxsim_journal_arg_size(int entry, int arg);

/* Status that `function` returns from now on (0 clears the script). */
QXSIM_EXPORT void qxsim_script_status(const char *function, uint32_t status);
/* Text that Qx_GetLastErrorDescription returns from now on, whatever failed;
 * a negative length scripts a NULL text. The bytes need not be UTF-8. */
QXSIM_EXPORT void qxsim_script_error_text(const char *text, int length);
/* Bytes written into argument `arg` of `function` on every later call, as
 * far as the argument's room takes them: a script longer than the room
 * writes nothing and fails the call (see above). Length 0 drops the
 * script. */
QXSIM_EXPORT void qxsim_script_output(const char *function, int arg, const void *bytes, int length);
/* Value that a value-returning `function` returns from now on. */
QXSIM_EXPORT void qxsim_script_result(const char *function, uint64_t value);
/* Text that a text-returning `function` returns from now on; a negative
 * length scripts NULL. */
QXSIM_EXPORT void qxsim_script_text_result(const char *function, const char *text, int length);

/* ---- used by the simulated libraries ------------------------------------ */

typedef struct qxsim_call qxsim_call;

/* Starts a call of `function` (a name that lives as long as the library):
 * counts and journals it and makes it the call in progress until its
 * qxsim_end_* (calls nest: a native callback may call into a library). */
QXSIM_EXPORT qxsim_call *qxsim_begin(const char *function);
QXSIM_EXPORT void qxsim_arg_unsigned(qxsim_call *call, uint64_t value);
QXSIM_EXPORT void qxsim_arg_signed(qxsim_call *call, int64_t value);
QXSIM_EXPORT void qxsim_arg_double(qxsim_call *call, double value);
QXSIM_EXPORT void qxsim_arg_pointer(qxsim_call *call, const void *pointer, size_t size);
QXSIM_EXPORT void qxsim_arg_record(qxsim_call *call, const void *record, size_t size);
QXSIM_EXPORT void qxsim_arg_text(qxsim_call *call, const char *text);
/* Nonzero when a status or result is scripted for the call's function. */
QXSIM_EXPORT int qxsim_scripted(qxsim_call *call);
/* Writes the output scripted for argument `arg` (parameter `name`, or NULL),
 * if any, into `pointer`, whose room of `room` bytes was taken at call
 * entry. A script longer than the room writes nothing, sets the last error
 * and makes the call fail (qxsim_end_status returns its status; see
 * above). */
QXSIM_EXPORT void qxsim_output(qxsim_call *call, int arg, const char *name, void *pointer, size_t room);
/* Final status: that of a scripted output refused (qxsim_output), else the
 * scripted one if any, else `status`; records it as the last error
 * (failure) or clears the last error code (success). */
QXSIM_EXPORT uint32_t qxsim_end_status(qxsim_call *call, uint32_t status);
/* Final value of a value-returning function. */
QXSIM_EXPORT uint64_t qxsim_end_result(qxsim_call *call, uint64_t value);
/* Final text of a text-returning function. */
QXSIM_EXPORT const char *qxsim_end_text(qxsim_call *call, const char *text);
/* End of a call that returns nothing the journal scripts. */
QXSIM_EXPORT void qxsim_end(qxsim_call *call);

/* What the simulated bus delivers to the call in progress: the bytes
 * scripted for its argument 0 (which no native function has), at most
 * `room` of them copied into `buffer`. Their number; 0 when none is
 * scripted or no call is in progress. */
QXSIM_EXPORT size_t qxsim_received(void *buffer, size_t room);

/* Name of the native function whose call is in progress (NULL outside a
 * call): behaviours and helpers name the function in their texts with it. */
QXSIM_EXPORT const char *qxsim_function(void);

/* The one failure convention of the behaviours: sets the last error to
 * "<function in progress>: <text>" and returns `status`, which the
 * behaviour returns in turn (QXSIM_TRY). */
QXSIM_EXPORT uint32_t qxsim_fail(uint32_t status, const char *format, ...) __attribute__((format(printf, 2, 3)));

/* Returns from the enclosing behaviour with the status of `check` when it
 * failed. */
#define QXSIM_TRY(check)                             \
  do {                                               \
    uint32_t qxsim_try_status_ = (check);            \
    if (qxsim_try_status_) return qxsim_try_status_; \
  } while (0)

/* Last error as the base library reports it. */
QXSIM_EXPORT const char *qxsim_last_error_text(void);
QXSIM_EXPORT uint32_t qxsim_last_error_code(void);

/* Called by qxsim_reset, in registration order, so that each simulated
 * library can drop its state; registered from constructors. */
typedef void (*qxsim_reset_hook)(void);
QXSIM_EXPORT void qxsim_on_reset(qxsim_reset_hook hook);

#ifdef __cplusplus
}
#endif

#endif
