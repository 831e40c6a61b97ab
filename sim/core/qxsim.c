/* Journal, call counts, scripts and last error of the simulated device (see
 * qxsim.h). */
#include "qxsim.h"

#include <limits.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "qxsim_device.h"

/* ---- per-function records: call count and scripts ------------------------ */

typedef struct qxsim_output_script {
  int arg;
  unsigned char *bytes;
  size_t size;
  struct qxsim_output_script *next;
} qxsim_output_script;

typedef struct {
  char *function;
  uint64_t calls;
  int has_status;
  uint32_t status;
  int has_result;
  uint64_t result;
  int has_text;
  char *text; /* NULL scripts a NULL text */
  qxsim_output_script *outputs;
} qxsim_record;

/* Open-addressing hash table of the records by function name. Records live
 * until the process ends (a reset clears their counts and scripts), so a
 * call in progress may keep a pointer to its record. */
static qxsim_record **records;
static size_t record_capacity; /* a power of two */
static size_t record_count;

/* ---- the journal: a ring of the most recent calls ------------------------ */

typedef struct {
  char kind;
  int is_null;
  uint64_t value;
  size_t size;          /* bytes the argument held at call time */
  size_t kept;          /* bytes of them kept, at most QXSIM_JOURNAL_ARG_BYTES */
  unsigned char *bytes; /* buffer reused by later entries of the slot */
  size_t room;
} qxsim_arg;

typedef struct {
  const char *function;
  uint64_t sequence; /* number of the call since the last reset */
  int count;
  qxsim_arg args[QXSIM_JOURNAL_ARGS];
} qxsim_entry;

static qxsim_entry journal[QXSIM_JOURNAL_ENTRIES];
static uint64_t journaled; /* calls journaled since the last reset */

/* ---- calls in progress ---------------------------------------------------- */

struct qxsim_call {
  const char *function;
  qxsim_record *record;
  uint64_t sequence; /* its journal entry, while the ring still holds it */
  uint32_t failed;   /* status of a scripted output refused, else 0 */
  struct qxsim_call *outer;
};

static qxsim_call *current;
static qxsim_call *spare_calls; /* ended calls, reused */

/* ---- last error and reset hooks ------------------------------------------ */

static uint32_t last_code;
static char last_text[512] = "no error";
static int error_text_scripted;
static char *error_text; /* NULL with error_text_scripted: a NULL text */

#define QXSIM_MAX_HOOKS 32
static qxsim_reset_hook hooks[QXSIM_MAX_HOOKS];
static int hook_count;

static void *xrealloc(void *p, size_t n) {
  void *q = realloc(p, n ? n : 1);
  if (!q) abort();
  return q;
}

static unsigned char *copy_bytes(const void *src, size_t n) {
  unsigned char *p = xrealloc(NULL, n);
  if (n) memcpy(p, src, n);
  return p;
}

static size_t name_hash(const char *name) {
  size_t h = 2166136261u;
  for (; *name; name++) h = (h ^ (unsigned char)*name) * 16777619u;
  return h;
}

static qxsim_record **record_slot(const char *function) {
  size_t i = name_hash(function) & (record_capacity - 1);
  while (records[i] && strcmp(records[i]->function, function) != 0) i = (i + 1) & (record_capacity - 1);
  return &records[i];
}

static void grow_records(void) {
  qxsim_record **old = records;
  size_t i, old_capacity = record_capacity;
  record_capacity = record_capacity ? record_capacity * 2 : 256;
  records = xrealloc(NULL, sizeof *records * record_capacity);
  memset(records, 0, sizeof *records * record_capacity);
  for (i = 0; i < old_capacity; i++)
    if (old[i]) *record_slot(old[i]->function) = old[i];
  free(old);
}

static qxsim_record *find_record(const char *function, int create) {
  qxsim_record **slot;
  if (!function) return NULL;
  if (record_capacity) {
    slot = record_slot(function);
    if (*slot || !create) return *slot;
  } else if (!create) {
    return NULL;
  }
  if ((record_count + 1) * 2 > record_capacity) grow_records();
  slot = record_slot(function);
  *slot = xrealloc(NULL, sizeof **slot);
  memset(*slot, 0, sizeof **slot);
  (*slot)->function = (char *)copy_bytes(function, strlen(function) + 1);
  record_count++;
  return *slot;
}

static void clear_record(qxsim_record *r) {
  while (r->outputs) {
    qxsim_output_script *o = r->outputs;
    r->outputs = o->next;
    free(o->bytes);
    free(o);
  }
  free(r->text);
  r->text = NULL;
  r->calls = 0;
  r->has_status = r->has_result = r->has_text = 0;
  r->status = 0;
  r->result = 0;
}

void qxsim_on_reset(qxsim_reset_hook hook) {
  int i;
  for (i = 0; i < hook_count; i++)
    if (hooks[i] == hook) return;
  if (hook_count == QXSIM_MAX_HOOKS) abort(); /* raise QXSIM_MAX_HOOKS */
  hooks[hook_count++] = hook;
}

void qxsim_reset(void) {
  size_t i;
  int h;
  /* The argument buffers stay with their slots for the entries to come. */
  journaled = 0;
  for (i = 0; i < record_capacity; i++)
    if (records[i]) clear_record(records[i]);
  last_code = 0;
  snprintf(last_text, sizeof last_text, "no error");
  error_text_scripted = 0;
  free(error_text);
  error_text = NULL;
  for (h = 0; h < hook_count; h++) hooks[h]();
}

int qxsim_call_count(const char *function) {
  qxsim_record *r = find_record(function, 0);
  return !r ? 0 : r->calls > INT_MAX ? INT_MAX : (int)r->calls;
}

/* ---- reading the journal -------------------------------------------------- */

static uint64_t kept_entries(void) { return journaled < QXSIM_JOURNAL_ENTRIES ? journaled : QXSIM_JOURNAL_ENTRIES; }

int qxsim_journal_length(void) { return (int)kept_entries(); }

long long qxsim_journal_dropped(void) { return (long long)(journaled - kept_entries()); }

int qxsim_journal_capacity(void) { return QXSIM_JOURNAL_ENTRIES; }

int qxsim_journal_arg_capacity(void) { return QXSIM_JOURNAL_ARG_BYTES; }

/* Entry `entry` counted from the oldest kept, or NULL. */
static qxsim_entry *journal_entry(int entry) {
  if (entry < 0 || (uint64_t)entry >= kept_entries()) return NULL;
  return &journal[(journaled - kept_entries() + (uint64_t)entry) % QXSIM_JOURNAL_ENTRIES];
}

static qxsim_arg *journal_arg(int entry, int arg) {
  qxsim_entry *e = journal_entry(entry);
  if (!e || arg < 1 || arg > e->count) return NULL;
  return &e->args[arg - 1];
}

const char *qxsim_journal_function(int entry) {
  qxsim_entry *e = journal_entry(entry);
  return e ? e->function : NULL;
}

int qxsim_journal_arg_count(int entry) {
  qxsim_entry *e = journal_entry(entry);
  return e ? e->count : -1;
}

int qxsim_journal_arg_kind(int entry, int arg) {
  qxsim_arg *a = journal_arg(entry, arg);
  return a ? a->kind : 0;
}

uint64_t qxsim_journal_arg_value(int entry, int arg) {
  qxsim_arg *a = journal_arg(entry, arg);
  return a ? a->value : 0;
}

int qxsim_journal_arg_is_null(int entry, int arg) {
  qxsim_arg *a = journal_arg(entry, arg);
  return a ? a->is_null : -1;
}

int qxsim_journal_arg_bytes(int entry, int arg, void *destination, int capacity) {
  qxsim_arg *a = journal_arg(entry, arg);
  if (!a) return -1;
  if (destination && capacity > 0 && a->kept)
    memcpy(destination, a->bytes, a->kept < (size_t)capacity ? a->kept : (size_t)capacity);
  return (int)a->kept;
}

long long qxsim_journal_arg_size(int entry, int arg) {
  qxsim_arg *a = journal_arg(entry, arg);
  return a ? (long long)a->size : -1;
}

/* ---- scripts -------------------------------------------------------------- */

void qxsim_script_status(const char *function, uint32_t status) {
  qxsim_record *r = find_record(function, 1);
  r->has_status = status != 0;
  r->status = status;
}

static char *copy_text(const char *text, int length) {
  char *copy;
  if (!text || length < 0) return NULL;
  copy = xrealloc(NULL, (size_t)length + 1);
  memcpy(copy, text, (size_t)length);
  copy[length] = 0;
  return copy;
}

void qxsim_script_error_text(const char *text, int length) {
  free(error_text);
  error_text = copy_text(text, length);
  error_text_scripted = 1;
}

void qxsim_script_output(const char *function, int arg, const void *bytes, int length) {
  qxsim_record *r = find_record(function, 1);
  qxsim_output_script *o;
  for (o = r->outputs; o; o = o->next)
    if (o->arg == arg) break;
  if (!o) {
    o = xrealloc(NULL, sizeof *o);
    memset(o, 0, sizeof *o);
    o->arg = arg;
    o->next = r->outputs;
    r->outputs = o;
  }
  free(o->bytes);
  o->size = length > 0 ? (size_t)length : 0;
  o->bytes = copy_bytes(bytes, o->size);
}

void qxsim_script_result(const char *function, uint64_t value) {
  qxsim_record *r = find_record(function, 1);
  r->has_result = 1;
  r->result = value;
}

void qxsim_script_text_result(const char *function, const char *text, int length) {
  qxsim_record *r = find_record(function, 1);
  free(r->text);
  r->text = copy_text(text, length);
  r->has_text = 1;
}

/* ---- journaling a call ---------------------------------------------------- */

qxsim_call *qxsim_begin(const char *function) {
  qxsim_call *c = spare_calls;
  qxsim_entry *e = &journal[journaled % QXSIM_JOURNAL_ENTRIES];
  if (c)
    spare_calls = c->outer;
  else
    c = xrealloc(NULL, sizeof *c);
  c->function = function;
  c->record = find_record(function, 1);
  c->record->calls++;
  c->sequence = journaled++;
  c->failed = 0;
  c->outer = current;
  current = c;
  e->function = function;
  e->sequence = c->sequence;
  e->count = 0;
  return c;
}

/* The next argument slot of the call's entry; NULL once the ring has reused
 * the entry or the call has more arguments than an entry keeps. */
static qxsim_arg *add_arg(qxsim_call *c, char kind) {
  qxsim_entry *e = &journal[c->sequence % QXSIM_JOURNAL_ENTRIES];
  qxsim_arg *a;
  if (e->sequence != c->sequence || e->count == QXSIM_JOURNAL_ARGS) return NULL;
  a = &e->args[e->count++];
  a->kind = kind;
  a->is_null = 0;
  a->value = 0;
  a->size = 0;
  a->kept = 0;
  return a;
}

/* Keeps at most QXSIM_JOURNAL_ARG_BYTES of the `size` bytes at `source`. */
static void keep_bytes(qxsim_arg *a, const void *source, size_t size) {
  a->size = size;
  a->kept = size < QXSIM_JOURNAL_ARG_BYTES ? size : QXSIM_JOURNAL_ARG_BYTES;
  if (!a->kept) return;
  if (a->room < a->kept) {
    a->room = a->kept;
    a->bytes = xrealloc(a->bytes, a->room);
  }
  memcpy(a->bytes, source, a->kept);
}

void qxsim_arg_unsigned(qxsim_call *c, uint64_t value) {
  qxsim_arg *a = add_arg(c, 'u');
  if (a) a->value = value;
}

void qxsim_arg_signed(qxsim_call *c, int64_t value) {
  qxsim_arg *a = add_arg(c, 's');
  if (a) a->value = (uint64_t)value;
}

void qxsim_arg_double(qxsim_call *c, double value) {
  qxsim_arg *a = add_arg(c, 'f');
  if (a) memcpy(&a->value, &value, sizeof value);
}

void qxsim_arg_pointer(qxsim_call *c, const void *pointer, size_t size) {
  qxsim_arg *a = add_arg(c, 'p');
  if (!a) return;
  a->is_null = pointer == NULL;
  a->value = (uint64_t)(uintptr_t)pointer;
  if (pointer) keep_bytes(a, pointer, size);
}

void qxsim_arg_record(qxsim_call *c, const void *record, size_t size) {
  qxsim_arg *a = add_arg(c, 'r');
  if (a) keep_bytes(a, record, size);
}

void qxsim_arg_text(qxsim_call *c, const char *text) {
  qxsim_arg *a = add_arg(c, 't');
  if (!a) return;
  a->is_null = text == NULL;
  a->value = (uint64_t)(uintptr_t)text;
  if (text) keep_bytes(a, text, strlen(text) + 1);
}

int qxsim_scripted(qxsim_call *c) {
  qxsim_record *r = c->record;
  return r->has_status || r->has_result || r->has_text;
}

const char *qxsim_function(void) { return current ? current->function : NULL; }

size_t qxsim_received(void *buffer, size_t room) {
  qxsim_output_script *o;
  if (!current || !buffer) return 0;
  for (o = current->record->outputs; o; o = o->next)
    if (o->arg == 0) {
      size_t n = o->size < room ? o->size : room;
      memcpy(buffer, o->bytes, n);
      return n;
    }
  return 0;
}

/* Sets the last error to `text` behind the function in progress. */
static uint32_t set_error(uint32_t status, const char *function, const char *format, va_list ap) {
  int n = function ? snprintf(last_text, sizeof last_text, "%s: ", function) : 0;
  if (n < 0 || (size_t)n >= sizeof last_text) n = 0;
  vsnprintf(last_text + n, sizeof last_text - (size_t)n, format, ap);
  last_code = status;
  return status;
}

uint32_t qxsim_fail(uint32_t status, const char *format, ...) {
  va_list ap;
  va_start(ap, format);
  set_error(status, qxsim_function(), format, ap);
  va_end(ap);
  return status;
}

/* A failure of a call of `function` that the device itself decides (a
 * scripted status, a scripted output too long): the formatted text behind
 * the function's name, or alone where `function` is NULL. */
static void fail_as(uint32_t status, const char *function, const char *format, ...)
    __attribute__((format(printf, 3, 4)));
static void fail_as(uint32_t status, const char *function, const char *format, ...) {
  va_list ap;
  va_start(ap, format);
  set_error(status, function, format, ap);
  va_end(ap);
}

void qxsim_output(qxsim_call *c, int arg, const char *name, void *pointer, size_t room) {
  qxsim_output_script *o;
  if (!pointer) return;
  for (o = c->record->outputs; o && o->arg != arg; o = o->next) {
  }
  if (!o || !o->size) return;
  if (o->size <= room) {
    memcpy(pointer, o->bytes, o->size);
    return;
  }
  /* Written whole it would overrun the caller's storage: nothing is
   * written, and the first such argument names the failure of the call. */
  if (c->failed) return;
  c->failed = QXSIM_ERROR_BUFFER_TOO_SMALL;
  fail_as(c->failed, c->function, "scripted output of %zu bytes for argument %d%s%s%s exceeds its %zu bytes",
          o->size, arg, name ? " (" : "", name ? name : "", name ? ")" : "", room);
}

void qxsim_end(qxsim_call *c) {
  /* Calls end in the reverse order of their start. */
  if (c != current) abort();
  current = c->outer;
  c->outer = spare_calls;
  spare_calls = c;
}

uint32_t qxsim_end_status(qxsim_call *c, uint32_t status) {
  qxsim_record *r = c->record;
  if (c->failed) {
    status = c->failed; /* its last error is set already */
  } else if (r->has_status) {
    status = r->status;
    fail_as(status, NULL, "%s failed: simulated error 0x%08X", c->function, status);
  }
  if (status == 0) last_code = 0;
  qxsim_end(c);
  return status;
}

uint64_t qxsim_end_result(qxsim_call *c, uint64_t value) {
  if (c->record->has_result) value = c->record->result;
  qxsim_end(c);
  return value;
}

const char *qxsim_end_text(qxsim_call *c, const char *text) {
  if (c->record->has_text) text = c->record->text;
  qxsim_end(c);
  return text;
}

const char *qxsim_last_error_text(void) { return error_text_scripted ? error_text : last_text; }

uint32_t qxsim_last_error_code(void) { return last_code; }
