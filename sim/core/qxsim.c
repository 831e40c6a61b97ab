/* Journal, scripts and last error of the simulated device (see qxsim.h). */
#include "qxsim.h"

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
  char kind;
  int is_null;
  uint64_t value;
  unsigned char *bytes;
  size_t size;
} qxsim_arg;

struct qxsim_call {
  const char *function;
  qxsim_arg *args;
  int count;
  int capacity;
};

typedef struct qxsim_output_script {
  int arg;
  unsigned char *bytes;
  size_t size;
  struct qxsim_output_script *next;
} qxsim_output_script;

typedef struct qxsim_script {
  char *function;
  int has_status;
  uint32_t status;
  int has_result;
  uint64_t result;
  int has_text;
  char *text; /* NULL scripts a NULL text */
  qxsim_output_script *outputs;
  int calls;
  struct qxsim_script *next;
} qxsim_script;

static qxsim_call **journal;
static int journal_length;
static int journal_capacity;
static qxsim_script *scripts;

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

static qxsim_script *find_script(const char *function, int create) {
  qxsim_script *s;
  for (s = scripts; s; s = s->next)
    if (strcmp(s->function, function) == 0) return s;
  if (!create) return NULL;
  s = xrealloc(NULL, sizeof *s);
  memset(s, 0, sizeof *s);
  s->function = (char *)copy_bytes(function, strlen(function) + 1);
  s->next = scripts;
  scripts = s;
  return s;
}

static void free_call(qxsim_call *c) {
  int i;
  for (i = 0; i < c->count; i++) free(c->args[i].bytes);
  free(c->args);
  free(c);
}

void qxsim_on_reset(qxsim_reset_hook hook) {
  int i;
  for (i = 0; i < hook_count; i++)
    if (hooks[i] == hook) return;
  if (hook_count == QXSIM_MAX_HOOKS) abort(); /* raise QXSIM_MAX_HOOKS */
  hooks[hook_count++] = hook;
}

void qxsim_reset(void) {
  int i;
  for (i = 0; i < journal_length; i++) free_call(journal[i]);
  journal_length = 0;
  while (scripts) {
    qxsim_script *s = scripts;
    scripts = s->next;
    while (s->outputs) {
      qxsim_output_script *o = s->outputs;
      s->outputs = o->next;
      free(o->bytes);
      free(o);
    }
    free(s->function);
    free(s->text);
    free(s);
  }
  last_code = 0;
  snprintf(last_text, sizeof last_text, "no error");
  error_text_scripted = 0;
  free(error_text);
  error_text = NULL;
  for (i = 0; i < hook_count; i++) hooks[i]();
}

int qxsim_call_count(const char *function) {
  qxsim_script *s = find_script(function, 0);
  return s ? s->calls : 0;
}

int qxsim_journal_length(void) { return journal_length; }

static qxsim_arg *journal_arg(int entry, int arg) {
  if (entry < 0 || entry >= journal_length) return NULL;
  if (arg < 1 || arg > journal[entry]->count) return NULL;
  return &journal[entry]->args[arg - 1];
}

const char *qxsim_journal_function(int entry) {
  return entry >= 0 && entry < journal_length ? journal[entry]->function : NULL;
}

int qxsim_journal_arg_count(int entry) { return entry >= 0 && entry < journal_length ? journal[entry]->count : -1; }

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
  if (destination && capacity > 0)
    memcpy(destination, a->bytes, a->size < (size_t)capacity ? a->size : (size_t)capacity);
  return (int)a->size;
}

void qxsim_script_status(const char *function, uint32_t status) {
  qxsim_script *s = find_script(function, 1);
  s->has_status = status != 0;
  s->status = status;
}

void qxsim_script_error_text(const char *text, int length) {
  free(error_text);
  error_text = NULL;
  error_text_scripted = 1;
  if (text && length >= 0) {
    error_text = xrealloc(NULL, (size_t)length + 1);
    memcpy(error_text, text, (size_t)length);
    error_text[length] = 0;
  }
}

void qxsim_script_output(const char *function, int arg, const void *bytes, int length) {
  qxsim_script *s = find_script(function, 1);
  qxsim_output_script *o;
  for (o = s->outputs; o; o = o->next)
    if (o->arg == arg) break;
  if (!o) {
    o = xrealloc(NULL, sizeof *o);
    memset(o, 0, sizeof *o);
    o->arg = arg;
    o->next = s->outputs;
    s->outputs = o;
  }
  free(o->bytes);
  o->size = length > 0 ? (size_t)length : 0;
  o->bytes = copy_bytes(bytes, o->size);
}

void qxsim_script_result(const char *function, uint64_t value) {
  qxsim_script *s = find_script(function, 1);
  s->has_result = 1;
  s->result = value;
}

void qxsim_script_text_result(const char *function, const char *text, int length) {
  qxsim_script *s = find_script(function, 1);
  free(s->text);
  s->text = NULL;
  s->has_text = 1;
  if (text && length >= 0) {
    s->text = xrealloc(NULL, (size_t)length + 1);
    memcpy(s->text, text, (size_t)length);
    s->text[length] = 0;
  }
}

qxsim_call *qxsim_begin(const char *function) {
  qxsim_call *c = xrealloc(NULL, sizeof *c);
  memset(c, 0, sizeof *c);
  c->function = function;
  find_script(function, 1)->calls++;
  if (journal_length == journal_capacity) {
    journal_capacity = journal_capacity ? journal_capacity * 2 : 64;
    journal = xrealloc(journal, sizeof *journal * (size_t)journal_capacity);
  }
  journal[journal_length++] = c;
  return c;
}

static qxsim_arg *add_arg(qxsim_call *c, char kind) {
  qxsim_arg *a;
  if (c->count == c->capacity) {
    c->capacity = c->capacity ? c->capacity * 2 : 8;
    c->args = xrealloc(c->args, sizeof *c->args * (size_t)c->capacity);
  }
  a = &c->args[c->count++];
  memset(a, 0, sizeof *a);
  a->kind = kind;
  return a;
}

void qxsim_arg_unsigned(qxsim_call *c, uint64_t value) { add_arg(c, 'u')->value = value; }

void qxsim_arg_signed(qxsim_call *c, int64_t value) { add_arg(c, 's')->value = (uint64_t)value; }

void qxsim_arg_double(qxsim_call *c, double value) {
  qxsim_arg *a = add_arg(c, 'f');
  memcpy(&a->value, &value, sizeof value);
}

void qxsim_arg_pointer(qxsim_call *c, const void *pointer, size_t size) {
  qxsim_arg *a = add_arg(c, 'p');
  a->is_null = pointer == NULL;
  a->value = (uint64_t)(uintptr_t)pointer;
  a->size = pointer ? size : 0;
  a->bytes = copy_bytes(pointer, a->size);
}

void qxsim_arg_record(qxsim_call *c, const void *record, size_t size) {
  qxsim_arg *a = add_arg(c, 'r');
  a->size = size;
  a->bytes = copy_bytes(record, size);
}

void qxsim_arg_text(qxsim_call *c, const char *text) {
  qxsim_arg *a = add_arg(c, 't');
  a->is_null = text == NULL;
  a->value = (uint64_t)(uintptr_t)text;
  a->size = text ? strlen(text) + 1 : 0;
  a->bytes = copy_bytes(text, a->size);
}

int qxsim_scripted(qxsim_call *c) {
  qxsim_script *s = find_script(c->function, 0);
  return s && (s->has_status || s->has_result || s->has_text);
}

void qxsim_output(qxsim_call *c, int arg, void *pointer) {
  qxsim_script *s = find_script(c->function, 0);
  qxsim_output_script *o;
  if (!s || !pointer) return;
  for (o = s->outputs; o; o = o->next)
    if (o->arg == arg && o->size) memcpy(pointer, o->bytes, o->size);
}

uint32_t qxsim_fail(uint32_t status, const char *format, ...) {
  va_list ap;
  va_start(ap, format);
  vsnprintf(last_text, sizeof last_text, format, ap);
  va_end(ap);
  last_code = status;
  return status;
}

uint32_t qxsim_end_status(qxsim_call *c, uint32_t status) {
  qxsim_script *s = find_script(c->function, 0);
  if (s && s->has_status) {
    status = s->status;
    qxsim_fail(status, "%s failed: simulated error 0x%08X", c->function, status);
  }
  if (status == 0) last_code = 0;
  return status;
}

uint64_t qxsim_end_result(qxsim_call *c, uint64_t value) {
  qxsim_script *s = find_script(c->function, 0);
  return s && s->has_result ? s->result : value;
}

const char *qxsim_end_text(qxsim_call *c, const char *text) {
  qxsim_script *s = find_script(c->function, 0);
  return s && s->has_text ? s->text : text;
}

const char *qxsim_last_error_text(void) { return error_text_scripted ? error_text : last_text; }

uint32_t qxsim_last_error_code(void) { return last_code; }
