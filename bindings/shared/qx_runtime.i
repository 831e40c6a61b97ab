/*
 * The pointer-object runtime of every module (_qx_api, _qx_api_common,
 * _qx_api_can, _qx_api_trovix and the test helpers).
 *
 * SWIG's Python runtime stays in the wrapper as SWIG emits it, with its data
 * layouts (SwigPyObject, SwigPyClientData, swig_module_info) unchanged, so
 * that the modules still share one type table through SWIG's capsule. This
 * file replaces its behaviour in three ways, all applied before the module
 * makes or takes any pointer object:
 *
 *  1. Functions that wrappers and typemaps reach through the runtime's names
 *     are defined here (in the header section, after the runtime and before
 *     every wrapper) and those names are #defined to them:
 *       SWIG_Python_ConvertPtrAndOwn   (SWIG_ConvertPtr, SWIG_ConvertPtrAndOwn)
 *       SWIG_Python_ConvertFunctionPtr (SWIG_ConvertFunctionPtr)
 *       SWIG_Python_NewPointerObj      (SWIG_NewPointerObj, SWIG_NewFunctionPtrObj)
 *       SWIG_Python_NewShadowInstance, SWIG_Python_GetSwigThis,
 *       SWIG_Python_SetSwigThis, SWIG_Python_InitShadowInstance (every
 *       _swiginit entry), SwigPyObject_Check, SwigPyObject_append,
 *       SwigPyClientData_New (SWIG_NewClientData, every _swigregister entry),
 *       SWIG_TypeNewClientData, SWIG_Python_TypeQuery (SWIG_TypeQuery).
 *     SWIG's own versions stay compiled but nothing calls them any more.
 *  2. The pointer-object type that SWIG's runtime builds in each module is
 *     given this file's slot functions when the module initialises: dealloc,
 *     finalize, repr, richcompare and the methods own, acquire, append,
 *     __repr__, __eq__ and __ne__ (the other methods - disown, next - stay
 *     SWIG's: they take no argument; the ordering comparisons never read the
 *     other operand).
 *  3. The shared capsule, where this module made it, gets this file's
 *     destroy function (the teardown at interpreter exit), and every
 *     module's pointer objects keep the capsule alive, not only the maker's.
 *
 * What the replacement guarantees:
 *  - Pointer objects are recognised by the identity of their type, never by
 *    the type's name. Each module's swig_module_info.clientdata (unused by
 *    SWIG's Python runtime) points at its qx_runtime_info, which names that
 *    module's pointer-object type; a check walks the ring of modules that
 *    share the capsule.
 *  - "this" is resolved through at most QX_THIS_DEPTH attributes, holding a
 *    reference to each object while it is used (a "this" property may make a
 *    new object on every access). An instance whose "this" leads back to
 *    itself converts as no record: TypeError with the argument's message.
 *    An exception that a "this" raises itself (anything but
 *    AttributeError, which counts as no "this", as for getattr() with a
 *    default) fails the conversion with that exception as it stands, in
 *    every rule of every module: the argument's message does not replace
 *    it (QX_ERROR_RAISED, SWIG_Error).
 *  - Chains of pointer objects (append, _swiginit) never form a cycle: an
 *    append that would close one raises TypeError. repr and dealloc walk a
 *    chain iteratively.
 *  - A conversion disowns or clears exactly the link of the chain that
 *    converted. QX_POINTER_DELETE (the destructors' self argument) takes
 *    the ownership away from that link and, when it owned the storage,
 *    leaves it holding a null address: every later use of the deleted object
 *    is refused like a null record, and collecting it frees nothing.
 *  - Registration checks __swig_destroy__: a destructor binding of one of
 *    the modules (a METH_O built-in of their method tables named delete_...)
 *    is called directly on collection; any other callable is called through
 *    the interpreter as the object's finalizer (the object is alive during
 *    the call, and one that the destructor kept is not freed); anything else
 *    raises TypeError at registration.
 *  - Making a returned object (pointer object, instance of the registered
 *    class) either succeeds or returns NULL with the error set; it never
 *    frees the native storage it was given: on failure the caller still owns
 *    it and frees it. A pointer object that escaped a failed instance
 *    creation (kept by a raising __new__ or __setattr__) is left holding a
 *    null address and owning nothing.
 *  - Instances of a registered class whose __new__ is object.__new__ are
 *    made by object's allocator directly; "this" is interned and no type's
 *    attribute cache is invalidated. Python sees the same objects as through
 *    SWIG's runtime.
 *  - Comparing a pointer object with anything that is no pointer object
 *    gives NotImplemented.
 *  - Only an object made owning its storage can own it again once it gave
 *    the ownership away (acquire(), own(True)): a view, an object at an
 *    address nobody allocated for it and a deleted object refuse the claim
 *    with ValueError, so every destructor and collection frees storage only
 *    through the one object it was allocated for, and once.
 *  - Every pointer object carries its extent and its keeper (qx_pointer,
 *    below): how many bytes it reaches from its address, and, for a view
 *    into storage that another object was made owning, a reference to
 *    that maker, so that the storage lives as long as any view of it. The
 *    maker is the keeper whether or not it owns the storage when the view
 *    is made (it may have given it to a record's pointer member, or
 *    disown()), since it alone can take it back and free it. A view whose
 *    maker freed the storage (delete_R) converts as a null address: every
 *    later use is refused like a deleted record, never a read of freed
 *    memory.
 *  - An owned copy of a value type (u16_t, float64_t, ...; no class can be
 *    registered for those) frees its storage when collected, silently.
 *  - The teardown releases the registration data of every type in the
 *    tables of every module of this runtime in the ring, each once,
 *    whichever module made the capsule and in whatever order the modules
 *    were loaded (SWIG's walks only the maker's table, and the classes
 *    registered through the other modules stayed alive until the process
 *    ended), and drops every module's cached "this" name and type cache.
 *    It runs once the last pointer object of any module is gone, and, as
 *    SWIG's, only when the last interpreter that made the capsule lets it
 *    go.
 */

%header %{
#include "qx_convert.h"

/* Resolving "this" stops after this many attribute look-ups. */
#define QX_THIS_DEPTH 32

/* Conversion flag of a destructor's argument (beyond SWIG's flag bits):
 * when the converted link owns its storage, take the ownership away and
 * clear the link's address (the destructor frees the storage). A link that
 * owns nothing is left as it is. */
#define QX_POINTER_DELETE 0x100

/* The tag names the layout of the pointer objects (qx_pointer) and of
 * qx_runtime_info: modules recognise each other's objects and runtimes only
 * under the same tag. */
#define QX_RUNTIME_TAG "qx-runtime-5"

/* The extent of an object that the modules did not make (the test helpers'
 * views, pointers a native function returned): a binding passes it as it
 * is. */
#define QX_EXTENT_UNKNOWN ((size_t)-1)

/* What the modules know of storage that a pointer member was set to, or
 * that holds a pointer member that was set (qx_note_member below): whether
 * it was freed since, and the object made owning it (which owns it, or
 * would, taking it back with acquire()) while that object lives. Shared by
 * that object and by the notes naming the storage; freed with the last of
 * them. */
typedef struct qx_lifeline {
  Py_ssize_t refs;
  PyObject *owner; /* borrowed: the object clears it when it goes */
  int gone;        /* the storage was freed */
} qx_lifeline;

/* A pointer object of the modules: SWIG's object (its layout unchanged, so
 * that SWIG's own methods keep working on it) followed by
 *   extent  bytes the object reaches from its address: an owned object its
 *           allocation, a view the member it designates, a pointer class's
 *           cell the cell; QX_EXTENT_UNKNOWN where nobody knows;
 *   keeper  for a view, a reference to the object made owning the storage
 *           it points into (NULL: none known), whether or not that object
 *           owns it now, released with the view;
 *   frees   owned storage that collection frees with free() when no
 *           destructor is registered for its type (value copies), instead
 *           of reporting a leak;
 *   pins    the number of calls in progress that converted the object, or
 *           a view of its storage (the holds below): while it is pinned, a
 *           destructor refuses to free its storage;
 *   life    the lifeline of the storage it was made owning, once a pointer
 *           member was set to that storage or in it (NULL before);
 *   made    the object was made owning its storage (a constructor's record,
 *           a storage array or cell, a copy): its address is the start of
 *           an allocation that it, and no other object, may free. Only such
 *           an object can take its ownership back (acquire(), own(True));
 *           a view, or an object at an address the modules did not
 *           allocate for it, never owns (qx_claim below).
 * The extent stays with the object through disown, acquire and chains. */
typedef struct {
  SwigPyObject base;
  size_t extent;
  PyObject *keeper;
  int frees;
  int made;
  Py_ssize_t pins;
  qx_lifeline *life;
} qx_pointer;

/* -------------------------------------------------------------------------
 * Holds: what a call converted stays alive until it returns
 *
 * Python code can run while a call converts its arguments (a "this"
 * property, a source's __buffer__, a sequence's items, the finalizers a
 * collection runs) and, while it releases the interpreter lock, in other
 * threads. None of it may free storage whose address the call already
 * took. Every conversion that hands an address to a binding therefore
 * holds what it converted, in the binding's own local qx_origin, until the
 * binding returns (on every path: the local's cleanup, QX_HELD_ORIGIN):
 *  - the object made owning the storage (the converted object itself, or
 *    the maker a view keeps alive, whether or not it owns the storage at
 *    the time) is pinned: a destructor (delete_R,
 *    delete_NAME) given a pinned object that owns its storage refuses to
 *    free it, with BufferError "storage in use by a call in progress in
 *    method '<binding>', argument 1 of type '<T *>'", as a bytearray
 *    refuses to resize while exports exist. Collection cannot free it
 *    either: the pinned object is referenced by the call's argument, or
 *    by the link below;
 *  - a link reached through "this" attributes or a chain (which may be
 *    made afresh on every access, and dropped by its only holder at once)
 *    is referenced until the call returns.
 * A conversion without an origin (SWIG's own conversions) holds nothing:
 * it refuses an object reached through a "this" made afresh for it, whose
 * storage would go with it at once (but for destructors, which free it).
 * ------------------------------------------------------------------------- */

/* What a conversion found out about the object it converted, beyond its
 * address, and what it holds until the call returns:
 *   keeper  the object that keeps the storage alive (borrowed: the
 *           converted link itself when it was made owning the storage,
 *           whether or not it owns it now, else that link's keeper);
 *   extent  the bytes the object reaches;
 *   pinned  the object whose pins the conversion raised (borrowed: alive
 *           through the call's argument or `held`), the storage's maker;
 *   held    a reference to the converted link, where it was reached
 *           through "this" or a chain. */
typedef struct {
  PyObject *keeper;
  size_t extent;
  PyObject *pinned;
  PyObject *held;
} qx_origin;

#define QX_NO_ORIGIN {NULL, QX_EXTENT_UNKNOWN, NULL, NULL}

/* Lets go of what a conversion holds; harmless on an origin that holds
 * nothing, and twice. */
static inline void qx_release(qx_origin *origin) {
  PyObject *held = origin->held;
  if (origin->pinned) {
    ((qx_pointer *)origin->pinned)->pins--;
    origin->pinned = NULL;
  }
  if (held) {
    origin->held = NULL;
    Py_DECREF(held);
  }
}

/* The type of a binding's qx_origin local that lets go of its holds when
 * the binding returns, on every path (the compiler's cleanup attribute;
 * typemaps declare every local at the top of the wrapper, so no jump
 * bypasses it). Initialised with QX_NO_ORIGIN. */
#define QX_HELD_ORIGIN qx_origin __attribute__((cleanup(qx_release)))

/* The conversion code of a destructor given a pinned object. */
#define QX_ERROR_IN_USE (-201)

/* The conversion code of an object whose "this" raised an exception of its
 * own: that exception is set, and the argument's message does not replace
 * it (SWIG_Error below). */
#define QX_ERROR_RAISED (-202)

SWIGINTERN void qx_lifeline_release(qx_lifeline *life) {
  if (life && --life->refs == 0) free(life);
}

/* The storage of `link` was freed: whatever notes it knows it is gone. */
static inline void qx_storage_freed(SwigPyObject *link) {
  qx_lifeline *life = ((qx_pointer *)link)->life;
  if (life) life->gone = 1;
}


/* What a module publishes to the others through its swig_module_info:
 * its pointer-object type and method table, and for the teardown of the
 * shared table (whichever module runs it) the module's pointer to the
 * capsule and the function that drops what the module's runtime caches. */
typedef struct {
  char tag[sizeof(QX_RUNTIME_TAG)];
  PyTypeObject *object_type;
  PyMethodDef *methods;
  PyObject **capsule;
  void (*release)(void);
} qx_runtime_info;

/* Drops this module's cached "this" name and type cache (at the teardown
 * of the shared table; both are made again should the module run on). */
SWIGINTERN void qx_release_runtime(void) {
  Py_CLEAR(Swig_This_global);
  Py_CLEAR(Swig_Globals_global);
  Py_CLEAR(Swig_TypeCache_global);
}

static qx_runtime_info qx_runtime = {QX_RUNTIME_TAG, 0, 0, &Swig_Capsule_global, qx_release_runtime};
static PyObject *qx_object_new;  /* object.__new__ */
static PyObject *qx_empty_tuple;

SWIGINTERN qx_runtime_info *qx_runtime_of(swig_module_info *module) {
  qx_runtime_info *info = (qx_runtime_info *)module->clientdata;
  return info && memcmp(info->tag, QX_RUNTIME_TAG, sizeof(QX_RUNTIME_TAG)) == 0 ? info : NULL;
}

/* True for a pointer object of any module that shares the type table. */
SWIGINTERN int qx_is_pointer_object(PyObject *op) {
  PyTypeObject *type = Py_TYPE(op);
  swig_module_info *iter = &swig_module;
  if (type == SwigPyObject_type()) return 1;
  if (!swig_module.next) return 0;
  do {
    qx_runtime_info *info = qx_runtime_of(iter);
    if (info && info->object_type == type) return 1;
    iter = iter->next;
  } while (iter && iter != &swig_module);
  return 0;
}

/* The pointer object that `obj` stands for: `obj` itself (borrowed, *held
 * NULL), or the one reached through "this" attributes (*held is the
 * reference to drop once it is no longer used). NULL, with no error set,
 * when there is none within QX_THIS_DEPTH look-ups (an object without a
 * "this" attribute: one whose "this" raises AttributeError counts as one,
 * as for getattr() with a default); NULL with the exception set, and
 * *raised 1, when a "this" raised any other exception of its own (a
 * property's KeyError, the BufferError of a delete it tried), which the
 * caller lets propagate as it stands. */
SWIGINTERN SwigPyObject *qx_swig_this(PyObject *obj, PyObject **held, int *raised) {
  int depth;
  *held = NULL;
  *raised = 0;
  if (qx_is_pointer_object(obj)) return (SwigPyObject *)obj;
  Py_INCREF(obj);
  for (depth = 0; depth < QX_THIS_DEPTH; depth++) {
    PyObject *next;
    int found = qx_optional_attr(obj, SWIG_This(), &next);
    Py_DECREF(obj);
    if (found <= 0) {
      *raised = found < 0;
      return NULL;
    }
    obj = next;
    if (qx_is_pointer_object(obj)) {
      *held = obj;
      return (SwigPyObject *)obj;
    }
  }
  Py_DECREF(obj);
  return NULL;
}

/* SWIG_Python_GetSwigThis for code that expects a borrowed result and
 * no error: a "this" that nothing else keeps alive (made on access), or one
 * that raised, counts as none. */
SWIGINTERN SwigPyObject *qx_get_swig_this(PyObject *obj) {
  PyObject *held;
  int raised;
  SwigPyObject *sobj = qx_swig_this(obj, &held, &raised);
  if (raised) PyErr_Clear();
  if (held) {
    if (Py_REFCNT(held) == 1) sobj = NULL;
    Py_DECREF(held);
  }
  return sobj;
}

/* 1 when following "this" from `obj` reaches `target`, or does not end
 * within QX_THIS_DEPTH look-ups, else 0; -1 with the exception set when a
 * "this" raised one of its own (qx_swig_this). */
SWIGINTERN int qx_this_leads_to(PyObject *obj, PyObject *target) {
  int depth, found;
  Py_INCREF(obj);
  for (depth = 0; depth <= QX_THIS_DEPTH; depth++) {
    PyObject *next;
    if (obj == target) break;
    if (qx_is_pointer_object(obj)) {
      Py_DECREF(obj);
      return 0;
    }
    found = qx_optional_attr(obj, SWIG_This(), &next);
    Py_DECREF(obj);
    if (found <= 0) return found;
    obj = next;
  }
  Py_DECREF(obj);
  return 1;
}

/* -------------------------------------------------------------------------
 * Conversion
 * ------------------------------------------------------------------------- */
/* True when the storage a link points into was freed: its keeper (the
 * storage's maker) holds a null address now. */
SWIGINTERN int qx_link_is_dead(SwigPyObject *link) {
  PyObject *keeper = ((qx_pointer *)link)->keeper;
  return keeper && !((SwigPyObject *)keeper)->ptr;
}

/* What a conversion does with the link of the object's chain that
 * converted: the flags' ownership changes, what it reports of the link and
 * holds (the link's owner pinned, the link itself referenced where it was
 * reached through "this" or a chain: `reached`), and a null address for a
 * view whose storage was deleted. A destructor (QX_POINTER_DELETE) given a
 * pinned link that owns its storage changes nothing: QX_ERROR_IN_USE. */
static inline int qx_take_link(SwigPyObject *link, int reached, void **ptr, int flags, int *own,
                               qx_origin *origin) {
  PyObject *keeper = ((qx_pointer *)link)->keeper;
  if ((flags & SWIG_POINTER_RELEASE) == SWIG_POINTER_RELEASE && !link->own) return SWIG_ERROR_RELEASE_NOT_OWNED;
  if ((flags & QX_POINTER_DELETE) && link->own && ((qx_pointer *)link)->pins > 0) return QX_ERROR_IN_USE;
  if (ptr && qx_link_is_dead(link)) *ptr = 0;
  if (origin) {
    qx_pointer *pinned = (qx_pointer *)(keeper ? keeper : (PyObject *)link);
    /* The object made owning the storage keeps it for every view, also
     * while it has given its ownership away (to a record's pointer member,
     * disown()): it is the one object that can take the storage back and
     * free it, so a view made meanwhile must keep it alive, pin it and see
     * its storage go. */
    origin->keeper = ((qx_pointer *)link)->made ? (PyObject *)link : keeper;
    origin->extent = ((qx_pointer *)link)->extent;
    pinned->pins++;
    origin->pinned = (PyObject *)pinned;
    if (reached) {
      Py_INCREF(link);
      origin->held = (PyObject *)link;
    }
  }
  if (own) *own |= link->own;
  if ((flags & QX_POINTER_DELETE) && link->own) {
    /* The destructor frees the storage. */
    qx_storage_freed(link);
    link->ptr = 0;
  }
  if (flags & (SWIG_POINTER_DISOWN | QX_POINTER_DELETE)) link->own = 0;
  if (flags & SWIG_POINTER_CLEAR) link->ptr = 0;
  return SWIG_OK;
}

/* The conversion of anything but a pointer object of this module of the
 * exact type: "this" attributes, chains, the type table's casts. */
SWIGRUNTIME __attribute__((noinline)) int qx_convert_chain(PyObject *obj, void **ptr, swig_type_info *ty, int flags,
                                                           int *own, qx_origin *origin) {
  PyObject *held;
  SwigPyObject *link;
  int res = SWIG_ERROR, raised;
  link = qx_swig_this(obj, &held, &raised);
  if (raised) return QX_ERROR_RAISED;
  for (; link; link = (SwigPyObject *)link->next) {
    if (!ty || link->ty == ty) {
      if (ptr) *ptr = link->ptr;
      break;
    }
    if (link->ty) {
      swig_cast_info *tc = SWIG_TypeCheck(link->ty->name, ty);
      if (tc) {
        if (ptr) {
          int newmemory = 0;
          *ptr = SWIG_TypeCast(tc, link->ptr, &newmemory);
          if (newmemory == SWIG_CAST_NEW_MEMORY && own) *own |= SWIG_CAST_NEW_MEMORY;
        }
        break;
      }
    }
  }
  if (link) {
    if (!origin && held && Py_REFCNT(held) == 1 && !(flags & QX_POINTER_DELETE)) {
      /* Made afresh by "this" and about to go with the storage it may own:
       * nothing would hold it while its address is used. */
      if (ptr) *ptr = 0;
    } else {
      res = qx_take_link(link, link != (SwigPyObject *)obj, ptr, flags, own, origin);
    }
  }
  Py_XDECREF(held);
  return res;
}

/* SWIG_ConvertPtrAndOwn, reporting what `origin` says (NULL: nothing). */
SWIGRUNTIME int qx_convert(PyObject *obj, void **ptr, swig_type_info *ty, int flags, int *own, qx_origin *origin) {
  if (own) *own = 0;
  if (origin) {
    qx_release(origin);
    origin->keeper = NULL;
    origin->extent = QX_EXTENT_UNKNOWN;
  }
  if (!obj) return SWIG_ERROR;
  if (obj == Py_None) {
    if (ptr) *ptr = 0;
    return (flags & SWIG_POINTER_NO_NULL) ? SWIG_NullReferenceError : SWIG_OK;
  }
  if (Py_TYPE(obj) == qx_runtime.object_type && (!ty || ((SwigPyObject *)obj)->ty == ty)) {
    /* The common case: a pointer object of this module, of the type. */
    if (ptr) *ptr = ((SwigPyObject *)obj)->ptr;
    return qx_take_link((SwigPyObject *)obj, 0, ptr, flags, own, origin);
  }
  return qx_convert_chain(obj, ptr, ty, flags, own, origin);
}

SWIGRUNTIME int qx_convert_ptr(PyObject *obj, void **ptr, swig_type_info *ty, int flags, int *own) {
  return qx_convert(obj, ptr, ty, flags, own, NULL);
}

SWIGRUNTIME int qx_convert_function_ptr(PyObject *obj, void **ptr, swig_type_info *ty) {
  void *vptr = 0;
  const char *doc, *desc;
  swig_cast_info *tc;
  int newmemory = 0;
  if (!PyCFunction_Check(obj)) return qx_convert_ptr(obj, ptr, ty, 0, 0);
  doc = ((PyCFunctionObject *)obj)->m_ml->ml_doc;
  desc = doc ? strstr(doc, "swig_ptr: ") : 0;
  if (desc) desc = ty ? SWIG_UnpackVoidPtr(desc + 10, &vptr, ty->name) : 0;
  if (!desc) return SWIG_ERROR;
  tc = SWIG_TypeCheck(desc, ty);
  if (!tc) return SWIG_ERROR;
  *ptr = SWIG_TypeCast(tc, vptr, &newmemory);
  return SWIG_OK;
}

/* -------------------------------------------------------------------------
 * Making returned objects
 * ------------------------------------------------------------------------- */
SWIGRUNTIME PyObject *qx_new_pointer_object(void *ptr, swig_type_info *ty, int own, size_t extent,
                                            PyObject *keeper, int frees) {
  PyTypeObject *type = SwigPyObject_type();
  qx_pointer *obj;
  /* A module may make objects (pointer constants) before its init gives
   * the type this file's slots: the size is set on first use. */
  if (type->tp_basicsize != sizeof(qx_pointer)) type->tp_basicsize = sizeof(qx_pointer);
  obj = PyObject_New(qx_pointer, type);
  if (!obj) return NULL;
  obj->base.ptr = ptr;
  obj->base.ty = ty;
  obj->base.own = own;
  obj->base.next = 0;
  obj->extent = extent;
  Py_XINCREF(keeper);
  obj->keeper = keeper;
  obj->frees = frees;
  obj->made = own ? 1 : 0;
  obj->pins = 0;
  obj->life = NULL;
  /* Every pointer object keeps the shared table's capsule (where this
   * module made it) alive; dealloc releases it. */
  Py_XINCREF(Swig_Capsule_global);
  return (PyObject *)obj;
}

SWIGRUNTIME int qx_set_swig_this(PyObject *inst, PyObject *swig_this) {
  return PyObject_SetAttr(inst, SWIG_This(), swig_this);
}

/* A raw instance of the registered class with "this" set; NULL with the
 * error set when the class makes none or refuses "this". */
SWIGRUNTIME PyObject *qx_new_shadow_instance(SwigPyClientData *data, PyObject *swig_this) {
  PyObject *inst;
  if (data->newraw == qx_object_new && PyType_Check(data->klass) &&
      ((PyTypeObject *)data->klass)->tp_new == PyBaseObject_Type.tp_new) {
    /* What object.__new__(klass) does, without the call's argument tuple. */
    inst = PyBaseObject_Type.tp_new((PyTypeObject *)data->klass, qx_empty_tuple, NULL);
  } else if (data->newraw) {
    inst = PyObject_Call(data->newraw, data->newargs, NULL);
  } else {
    PyTypeObject *type = (PyTypeObject *)data->newargs; /* a type: checked at registration */
    if (!type->tp_new) {
      PyErr_Format(PyExc_TypeError, "cannot create '%.100s' instances", type->tp_name);
      return NULL;
    }
    inst = type->tp_new(type, qx_empty_tuple, NULL);
  }
  if (inst && qx_set_swig_this(inst, swig_this) < 0) {
    Py_DECREF(inst);
    inst = NULL;
  }
  return inst;
}

/* A returned object (an instance of the registered class where one is
 * registered) for `ptr`, reaching `extent` bytes and keeping `keeper` alive;
 * `frees` as in qx_pointer. None for a null pointer. */
SWIGRUNTIME PyObject *qx_make_object(void *ptr, swig_type_info *type, int flags, size_t extent, PyObject *keeper,
                                     int frees);

SWIGRUNTIME PyObject *qx_new_object(void *ptr, swig_type_info *type, int flags, size_t extent, PyObject *keeper,
                                    int frees) {
  if (!ptr) return SWIG_Py_Void();
  return qx_make_object(ptr, type, flags, extent, keeper, frees);
}

/* The same for any address, the null address included (an object that
 * every binding then refuses like a deleted record). */
SWIGRUNTIME PyObject *qx_make_object(void *ptr, swig_type_info *type, int flags, size_t extent, PyObject *keeper,
                                     int frees) {
  SwigPyClientData *data;
  PyObject *robj, *inst;
  robj = qx_new_pointer_object(ptr, type, (flags & SWIG_POINTER_OWN) ? SWIG_POINTER_OWN : 0, extent, keeper, frees);
  if (!robj) {
    /* Only constructors (new_R) pass SWIG_POINTER_NEW: their zeroed record
     * has no other owner, so it goes with the failed object. Every other
     * caller keeps (and frees) its storage. */
    if ((flags & SWIG_POINTER_NEW) == SWIG_POINTER_NEW) free(ptr);
    return NULL;
  }
  data = type ? (SwigPyClientData *)type->clientdata : 0;
  if (!data || (flags & SWIG_POINTER_NOSHADOW)) return robj;
  inst = qx_new_shadow_instance(data, robj);
  if (!inst) {
    /* The caller keeps (and frees) the storage: whoever kept robj holds a
     * deleted object. */
    ((SwigPyObject *)robj)->own = 0;
    ((SwigPyObject *)robj)->ptr = 0;
  }
  Py_DECREF(robj);
  return inst;
}

/* SWIG_NewPointerObj: an object of unknown extent, keeping nothing. */
SWIGRUNTIME PyObject *qx_new_pointer_obj(PyObject *self, void *ptr, swig_type_info *type, int flags) {
  (void)self;
  return qx_new_object(ptr, type, flags, QX_EXTENT_UNKNOWN, NULL, 0);
}

/* -------------------------------------------------------------------------
 * Views
 *
 * Where a binding converted the object it makes a view from (the record of
 * an accessor, the cell of a pointer class), qx_source records what it
 * found: the object that keeps the storage alive, the converted address
 * and the size of its type (the storage a member lies in), and the bytes
 * the object reaches.
 * ------------------------------------------------------------------------- */
typedef struct {
  PyObject *keeper;
  const char *start;
  size_t size;
  size_t extent;
} qx_source;

/* Size of a view that reaches what its source reaches from the view's
 * address on (a pointer class's cast and frompointer). */
#define QX_EXTENT_OF_SOURCE ((size_t)-2)

/* -------------------------------------------------------------------------
 * The storage behind pointer members
 *
 * A pointer member holds a bare address. Its setter knows more of the
 * object it was given: the bytes it reaches and the object made owning
 * them. It notes both for the member itself (qx_note_member), keyed by the
 * member's own address, in a table of this module's: the address it
 * stored, the extent, the lifeline of that storage (qx_lifeline above,
 * which the storage's maker marks when the storage is freed, by a
 * destructor or by collection) and the lifeline of the record storage the
 * member lies in. What the member's getter returns then knows the storage
 * behind it (qx_new_member_view): its extent, keeping its maker alive, or,
 * once the storage was freed, a null address, refused at its next use like
 * a deleted record and never read; so does every check that reads the
 * member's storage before a native call (qx_member_room). A note speaks
 * only for its own member, so storage that another record notes later at
 * the same address (the allocator handing a freed block out again, an
 * object of unknown extent) changes nothing for it.
 *
 * A member counts as unknown storage (read as far as asked) where nothing
 * noted it: set from an object made outside the modules, or holding an
 * address other than the one its setter stored (written as bytes, by the
 * native side, copied into another record). A note whose record storage
 * was freed speaks for nothing: the record that lands at its address is
 * another one. Such notes are dropped when the table is rebuilt, so the
 * table holds about one entry for each member set in a live record.
 * ------------------------------------------------------------------------- */
typedef struct {
  const void *slot;   /* the member's address: the key (NULL: a free entry) */
  const void *target; /* the address its setter stored */
  size_t extent;      /* the bytes the object given reached */
  qx_lifeline *life;  /* the storage at `target` */
  qx_lifeline *home;  /* the record storage the member lies in (NULL: unknown) */
} qx_member_note;

static qx_member_note *qx_notes;
static size_t qx_note_capacity; /* 0, or a power of two */
static size_t qx_note_count;

/* The lifeline of the storage `maker` was made owning (made on first use);
 * NULL with MemoryError. */
SWIGINTERN qx_lifeline *qx_lifeline_of(PyObject *maker) {
  qx_lifeline *life = ((qx_pointer *)maker)->life;
  if (life) return life;
  life = (qx_lifeline *)malloc(sizeof *life);
  if (!life) {
    PyErr_NoMemory();
    return NULL;
  }
  life->refs = 1; /* the maker's */
  life->owner = maker;
  life->gone = 0;
  ((qx_pointer *)maker)->life = life;
  return life;
}

SWIGINTERN size_t qx_note_home(const void *slot, size_t capacity) {
  return ((uintptr_t)slot >> 2) * 0x9E3779B97F4A7C15ull & (capacity - 1);
}

/* The entry of `slot` in `table`, or the free entry where it would go. */
SWIGINTERN qx_member_note *qx_note_slot(qx_member_note *table, size_t capacity, const void *slot) {
  size_t i = qx_note_home(slot, capacity);
  while (table[i].slot && table[i].slot != slot) i = (i + 1) & (capacity - 1);
  return &table[i];
}

/* Whether a note still speaks for its member: its record storage is there. */
static inline int qx_note_live(const qx_member_note *note) {
  return !note->home || !note->home->gone;
}

/* The live note of the member at `slot` that still holds the address its
 * setter stored (`value`); NULL where there is none. */
static inline const qx_member_note *qx_note_of(const void *slot, const void *value) {
  const qx_member_note *note;
  if (!qx_note_capacity || !value) return NULL;
  note = qx_note_slot(qx_notes, qx_note_capacity, slot);
  return note->slot && note->target == value && qx_note_live(note) ? note : NULL;
}

SWIGINTERN void qx_note_clear(qx_member_note *note) {
  qx_lifeline_release(note->life);
  qx_lifeline_release(note->home);
  memset(note, 0, sizeof *note);
}

/* Takes the entry out of the table (linear probing: the entries after it
 * move up where their probe passes over it). */
SWIGINTERN void qx_note_remove(qx_member_note *note) {
  size_t mask = qx_note_capacity - 1, gap = (size_t)(note - qx_notes), i = gap;
  qx_note_clear(note);
  qx_note_count--;
  for (;;) {
    size_t home;
    i = (i + 1) & mask;
    if (!qx_notes[i].slot) return;
    home = qx_note_home(qx_notes[i].slot, qx_note_capacity);
    /* The entry stays where its home lies cyclically in (gap, i]. */
    if (gap <= i ? (gap < home && home <= i) : (gap < home || home <= i)) continue;
    qx_notes[gap] = qx_notes[i];
    memset(&qx_notes[i], 0, sizeof qx_notes[i]);
    gap = i;
  }
}

/* Makes room for one more entry: the table is rebuilt without the notes
 * whose record storage was freed, at a size that leaves it at most half
 * full. 0, or -1 with MemoryError (the table unchanged). */
SWIGINTERN int qx_note_room(void) {
  size_t i, live = 0, capacity = 64;
  qx_member_note *table;
  if ((qx_note_count + 1) * 2 <= qx_note_capacity) return 0;
  for (i = 0; i < qx_note_capacity; i++) live += qx_notes[i].slot && qx_note_live(&qx_notes[i]);
  while ((live + 1) * 4 > capacity) capacity *= 2;
  table = (qx_member_note *)calloc(capacity, sizeof *table);
  if (!table) {
    PyErr_NoMemory();
    return -1;
  }
  for (i = 0; i < qx_note_capacity; i++) {
    if (!qx_notes[i].slot) continue;
    if (qx_note_live(&qx_notes[i])) {
      *qx_note_slot(table, capacity, qx_notes[i].slot) = qx_notes[i];
    } else {
      qx_note_clear(&qx_notes[i]);
    }
  }
  free(qx_notes);
  qx_notes = table;
  qx_note_capacity = capacity;
  qx_note_count = live;
  return 0;
}

/* Notes that the pointer member at `slot` now holds `value`, given as an
 * object reaching `extent` bytes (QX_EXTENT_UNKNOWN: nobody knows) of
 * storage made by `maker` (NULL: none known), the member lying in record
 * storage made by `home` (NULL: none known). A null value, or storage
 * nobody knows, leaves no note. 0, or -1 with MemoryError (nothing
 * changed). */
SWIGINTERN int qx_note_member(const void *slot, const void *value, size_t extent, PyObject *maker, PyObject *home) {
  qx_member_note *note;
  qx_lifeline *life, *home_life = NULL;
  if (!value || !maker || extent == QX_EXTENT_UNKNOWN) {
    note = qx_note_capacity ? qx_note_slot(qx_notes, qx_note_capacity, slot) : NULL;
    if (note && note->slot) qx_note_remove(note);
    return 0;
  }
  if (!(life = qx_lifeline_of(maker)) || (home && !(home_life = qx_lifeline_of(home))) || qx_note_room() < 0)
    return -1;
  note = qx_note_slot(qx_notes, qx_note_capacity, slot);
  if (note->slot) {
    qx_note_clear(note);
  } else {
    qx_note_count++;
  }
  life->refs++;
  if (home_life) home_life->refs++;
  note->slot = slot;
  note->target = value;
  note->extent = extent;
  note->life = life;
  note->home = home_life;
  return 0;
}

/* The bytes known to be reachable through the pointer member at `slot`
 * holding `value`: QX_EXTENT_UNKNOWN where nothing noted it, 0 where its
 * storage was freed since. */
SWIGINTERN size_t qx_member_room(const void *slot, const void *value) {
  const qx_member_note *note = qx_note_of(slot, value);
  if (!note) return QX_EXTENT_UNKNOWN;
  return note->life->gone ? 0 : note->extent;
}

/* Whether the pointer member at `slot` holding `value` is known to reach
 * fewer than `need` bytes (its storage freed since: none). */
static inline int qx_member_short(const void *slot, const void *value, unsigned long long need) {
  size_t room;
  if (!value || !need) return 0;
  room = qx_member_room(slot, value);
  return room != QX_EXTENT_UNKNOWN && (unsigned long long)room < need;
}

/* What the getter of the pointer member at `slot` returns for its value
 * `ptr`: None for a null address; for noted storage an object reaching
 * the noted extent that keeps the storage's maker alive, or, once the
 * storage was freed, an object holding a null address; else an object of
 * unknown extent keeping nothing. */
SWIGRUNTIME PyObject *qx_new_member_view(void *ptr, swig_type_info *type, const void *slot) {
  const qx_member_note *note = qx_note_of(slot, ptr);
  if (!note) return qx_new_object(ptr, type, 0, QX_EXTENT_UNKNOWN, NULL, 0);
  if (note->life->gone) return qx_make_object(NULL, type, 0, 0, NULL, 0);
  return qx_new_object(ptr, type, 0, note->extent, note->life->owner, 0);
}

/* A non-owning object at `ptr` designating `size` bytes. A view that lies
 * in its source's storage keeps the source's keeper alive; one that does
 * not (a pointer no source was converted for) keeps nothing and has an
 * unknown extent. */
SWIGRUNTIME PyObject *qx_new_view(void *ptr, swig_type_info *type, size_t size, const qx_source *src) {
  const char *at = (const char *)ptr;
  if (src->start && at >= src->start && at < src->start + src->size) {
    size_t offset = (size_t)(at - src->start);
    size_t extent = size;
    if (size == QX_EXTENT_OF_SOURCE) {
      extent = src->extent == QX_EXTENT_UNKNOWN ? QX_EXTENT_UNKNOWN
               : src->extent > offset           ? src->extent - offset
                                                : 0;
    }
    return qx_new_object(ptr, type, 0, extent, src->keeper, 0);
  }
  return qx_new_object(ptr, type, 0, QX_EXTENT_UNKNOWN, NULL, 0);
}

/* A result pointer of a wrapper (the default rule of `T *` results): an
 * owned object (a constructor's record) reaches `size` bytes; any other is
 * a view (above). */
SWIGRUNTIME PyObject *qx_new_result(void *ptr, swig_type_info *type, int flags, size_t size, const qx_source *src) {
  if (flags & SWIG_POINTER_OWN) return qx_new_object(ptr, type, flags, size, NULL, 0);
  return qx_new_view(ptr, type, size, src);
}

/* An owned copy of a `size`-byte value (a getter's result of a type the
 * module has no conversion for). `frees`: the copy frees its storage on
 * collection without a registered destructor (value types, for which no
 * class can be registered); else collection follows the record rule. NULL
 * with the error set on failure. */
SWIGRUNTIME PyObject *qx_new_copy(const void *value, size_t size, swig_type_info *type, int frees) {
  PyObject *obj;
  void *copy = calloc(1, size);
  if (!copy) return PyErr_NoMemory();
  memcpy(copy, value, size);
  obj = qx_new_object(copy, type, SWIG_POINTER_OWN, size, NULL, frees);
  if (!obj) free(copy);
  return obj;
}

/* The sources of wrappers that convert none: their views keep nothing. */
static const qx_source SWIGUNUSED qx_src1 = {NULL, NULL, 0, QX_EXTENT_UNKNOWN};

/* -------------------------------------------------------------------------
 * Registration
 * ------------------------------------------------------------------------- */

/* True for a destructor binding of one of the modules sharing the table. */
SWIGINTERN int qx_is_delete_binding(PyObject *fn) {
  PyMethodDef *def;
  swig_module_info *iter = &swig_module;
  if (!PyCFunction_Check(fn)) return 0;
  def = ((PyCFunctionObject *)fn)->m_ml;
  if (!def || !def->ml_name || strncmp(def->ml_name, "delete_", 7) != 0) return 0;
  if ((def->ml_flags & (METH_VARARGS | METH_KEYWORDS | METH_NOARGS | METH_O | METH_FASTCALL | METH_METHOD)) != METH_O)
    return 0;
  if (!swig_module.next) return 0;
  do {
    qx_runtime_info *info = qx_runtime_of(iter);
    PyMethodDef *entry;
    for (entry = info ? info->methods : NULL; entry && entry->ml_name; entry++) {
      if (entry == def) return 1;
    }
    iter = iter->next;
  } while (iter && iter != &swig_module);
  return 0;
}

/* An attribute of the class; NULL, with no error, when the class has none. */
SWIGINTERN int qx_class_attr(PyObject *klass, const char *name, PyObject **value) {
  return qx_optional_attr_string(klass, name, value) < 0 ? -1 : 0;
}

/* Registration data of a class: delargs 0 marks a destructor binding
 * (called directly), 1 any other callable (called as the finalizer). NULL
 * with the error set when the class cannot be registered. */
SWIGRUNTIME SwigPyClientData *qx_client_data_new(PyObject *klass) {
  SwigPyClientData *data;
  PyObject *newraw = NULL, *newargs = NULL, *destroy = NULL;
  int delargs = 0;
  if (!klass) return NULL;
  if (qx_class_attr(klass, "__new__", &newraw) < 0) goto fail;
  if (newraw) {
    newargs = PyTuple_Pack(1, klass);
    if (!newargs) goto fail;
  } else if (PyType_Check(klass)) {
    Py_INCREF(klass);
    newargs = klass;
  } else {
    PyErr_Format(PyExc_TypeError, "swigregister expects a class, not '%.100s'", Py_TYPE(klass)->tp_name);
    goto fail;
  }
  if (qx_class_attr(klass, "__swig_destroy__", &destroy) < 0) goto fail;
  if (destroy && !qx_is_delete_binding(destroy)) {
    if (!PyCallable_Check(destroy)) {
      PyErr_Format(PyExc_TypeError, "__swig_destroy__ must be callable, not '%.100s'", Py_TYPE(destroy)->tp_name);
      goto fail;
    }
    delargs = 1;
  }
  data = (SwigPyClientData *)malloc(sizeof(SwigPyClientData));
  if (!data) {
    PyErr_NoMemory();
    goto fail;
  }
  Py_INCREF(klass);
  data->klass = klass;
  data->newraw = newraw;
  data->newargs = newargs;
  data->destroy = destroy;
  data->delargs = delargs;
  data->implicitconv = 0;
  data->pytype = 0;
  return data;
fail:
  Py_XDECREF(newraw);
  Py_XDECREF(newargs);
  Py_XDECREF(destroy);
  return NULL;
}

/* -------------------------------------------------------------------------
 * Type query: never looks up a NULL key (an allocation may fail), and a
 * failed cache update leaves no error behind.
 * ------------------------------------------------------------------------- */
SWIGRUNTIME swig_type_info *qx_type_query(const char *type) {
  PyObject *cache = SWIG_Python_TypeCache();
  PyObject *key, *entry, *etype, *evalue, *etb;
  swig_type_info *descriptor = NULL;
  if (!swig_module.next) return NULL;
  PyErr_Fetch(&etype, &evalue, &etb);
  key = cache ? PyUnicode_FromString(type) : NULL;
  entry = key ? PyDict_GetItemWithError(cache, key) : NULL;
  if (entry) {
    descriptor = (swig_type_info *)PyCapsule_GetPointer(entry, NULL);
  } else {
    descriptor = SWIG_TypeQueryModule(&swig_module, &swig_module, type);
    if (descriptor && key) {
      entry = PyCapsule_New((void *)descriptor, NULL, NULL);
      if (entry) {
        PyDict_SetItem(cache, key, entry);
        Py_DECREF(entry);
      }
    }
  }
  Py_XDECREF(key);
  PyErr_Clear();
  PyErr_Restore(etype, evalue, etb);
  return descriptor;
}

/* -------------------------------------------------------------------------
 * Slots and methods of the pointer-object type
 * ------------------------------------------------------------------------- */

/* Calls a destructor that is no destructor binding (delargs 1), with the
 * object alive (reached through PyObject_CallFinalizerFromDealloc). */
SWIGRUNTIME void qx_pointer_finalize(PyObject *v) {
  SwigPyObject *sobj = (SwigPyObject *)v;
  SwigPyClientData *data = sobj->ty ? (SwigPyClientData *)sobj->ty->clientdata : 0;
  PyObject *destroy, *res, *etype, *evalue, *etb;
  if (sobj->own != SWIG_POINTER_OWN || !data || !data->destroy || !data->delargs) return;
  destroy = data->destroy;
  Py_INCREF(destroy);
  PyErr_Fetch(&etype, &evalue, &etb);
  res = PyObject_CallOneArg(destroy, v);
  if (res) {
    Py_DECREF(res);
  } else {
    PyErr_WriteUnraisable(destroy);
  }
  PyErr_Restore(etype, evalue, etb);
  Py_DECREF(destroy);
}

SWIGRUNTIME void qx_pointer_dealloc(PyObject *v) {
  SwigPyObject *sobj = (SwigPyObject *)v;
  PyObject *next, *keeper;
  if (sobj->own == SWIG_POINTER_OWN) {
    swig_type_info *ty = sobj->ty;
    SwigPyClientData *data = ty ? (SwigPyClientData *)ty->clientdata : 0;
    PyObject *destroy = data ? data->destroy : 0;
    if (destroy && data->delargs) {
      if (PyObject_CallFinalizerFromDealloc(v) < 0) return; /* the destructor kept it */
    } else if (destroy) {
      /* A destructor binding: converts the object without a reference. */
      PyObject *res, *etype, *evalue, *etb;
      PyErr_Fetch(&etype, &evalue, &etb);
      res = PyCFunction_GET_FUNCTION(destroy)(PyCFunction_GET_SELF(destroy), v);
      if (res) {
        Py_DECREF(res);
      } else {
        PyErr_WriteUnraisable(destroy);
      }
      PyErr_Restore(etype, evalue, etb);
    } else if (((qx_pointer *)v)->frees) {
      qx_storage_freed(sobj);
      free(sobj->ptr);
    } else {
      const char *name = SWIG_TypePrettyName(ty);
      printf("swig/python detected a memory leak of type '%s', no destructor found.\n", (name ? name : "unknown"));
    }
  }
  if (((qx_pointer *)v)->life) {
    /* Storage that it no longer owns, or that nothing freed, outlives it
     * (a freed one is marked where it was freed). */
    qx_lifeline *life = ((qx_pointer *)v)->life;
    life->owner = NULL;
    ((qx_pointer *)v)->life = NULL;
    qx_lifeline_release(life);
  }
  next = sobj->next;
  sobj->next = 0;
  keeper = ((qx_pointer *)v)->keeper;
  ((qx_pointer *)v)->keeper = NULL;
  PyObject_Free(v);
  /* The storage this view pointed into may go now. */
  Py_XDECREF(keeper);
  /* The rest of the chain, one link at a time (no recursion). */
  while (next) {
    SwigPyObject *link = (SwigPyObject *)next;
    PyObject *after;
    if (Py_REFCNT(next) > 1) {
      Py_DECREF(next);
      break;
    }
    after = link->next;
    link->next = 0;
    Py_DECREF(next);
    next = after;
  }
  Py_XDECREF(Swig_Capsule_global);
}

SWIGRUNTIME PyObject *qx_pointer_repr(PyObject *v) {
  PyObject *parts = PyList_New(0), *empty, *repr = NULL;
  SwigPyObject *link;
  if (!parts) return NULL;
  for (link = (SwigPyObject *)v; link; link = (SwigPyObject *)link->next) {
    const char *name = SWIG_TypePrettyName(link->ty);
    PyObject *part = PyUnicode_FromFormat("<Swig Object of type '%s' at %p>", (name ? name : "unknown"), (void *)link);
    int failed = !part || PyList_Append(parts, part) < 0;
    Py_XDECREF(part);
    if (failed) {
      Py_DECREF(parts);
      return NULL;
    }
  }
  empty = PyUnicode_FromStringAndSize(NULL, 0);
  if (empty) {
    repr = PyUnicode_Join(empty, parts);
    Py_DECREF(empty);
  }
  Py_DECREF(parts);
  return repr;
}

SWIGRUNTIME PyObject *qx_pointer_repr_method(PyObject *v, PyObject *SWIGUNUSEDPARM(args)) {
  return qx_pointer_repr(v);
}

SWIGRUNTIME PyObject *qx_pointer_richcompare(PyObject *v, PyObject *w, int op) {
  if ((op != Py_EQ && op != Py_NE) || !qx_is_pointer_object(v) || !qx_is_pointer_object(w)) {
    Py_RETURN_NOTIMPLEMENTED;
  }
  return PyBool_FromLong((((SwigPyObject *)v)->ptr == ((SwigPyObject *)w)->ptr) == (op == Py_EQ));
}

/* __eq__ and __ne__ as methods: the type's slot wrappers of these names call
 * the comparison the type was made with. */
SWIGRUNTIME PyObject *qx_pointer_eq(PyObject *v, PyObject *w) {
  return qx_pointer_richcompare(v, w, Py_EQ);
}

SWIGRUNTIME PyObject *qx_pointer_ne(PyObject *v, PyObject *w) {
  return qx_pointer_richcompare(v, w, Py_NE);
}

/* True when `target` is reached from `obj` through the references pointer
 * objects hold (keepers, and chains behind a keeper): `obj` keeps `target`
 * alive, and putting `obj` into target's chain would make a cycle that
 * nothing frees. The walk is bounded; a longer one counts as reaching. */
SWIGINTERN int qx_keeps_alive(PyObject *obj, PyObject *target) {
  PyObject *stack[64];
  int depth = 0, steps = 0;
  stack[depth++] = ((qx_pointer *)obj)->keeper;
  while (depth > 0) {
    PyObject *at = stack[--depth];
    for (; at; at = ((SwigPyObject *)at)->next) {
      if (at == target || ++steps > 4096) return 1;
      if (((qx_pointer *)at)->keeper) {
        if (depth == (int)(sizeof stack / sizeof stack[0])) return 1;
        stack[depth++] = ((qx_pointer *)at)->keeper;
      }
    }
  }
  return 0;
}

/* Whether `v` may own its storage from now on: only an object made owning
 * it (qx_pointer.made) whose storage is still there. Every other claim
 * raises ValueError, naming the object's type and why, and changes
 * nothing; SWIG's acquire() and own(True) took any claim, so that a view
 * (at offset 0 of its record, or into another block) or an object at an
 * address nobody allocated for it freed storage that was not its own, or
 * freed it a second time. 0, or -1 with the error set. */
SWIGINTERN int qx_claim(PyObject *v) {
  SwigPyObject *sobj = (SwigPyObject *)v;
  qx_pointer *p = (qx_pointer *)v;
  const char *why = NULL;
  if (p->keeper) {
    why = "it is a view into storage that another object owns";
  } else if (!sobj->ptr) {
    why = "it holds a null address (its storage was freed)";
  } else if (!p->made) {
    why = "its address is not the start of storage allocated for it";
  }
  if (why) {
    const char *name = SWIG_TypePrettyName(sobj->ty);
    PyErr_Format(PyExc_ValueError, "cannot take ownership of an object of type '%s': %s", name ? name : "unknown",
                 why);
    return -1;
  }
  return 0;
}

/* acquire(): the object owns its storage from now on (qx_claim). */
SWIGRUNTIME PyObject *qx_pointer_acquire(PyObject *v, PyObject *SWIGUNUSEDPARM(args)) {
  if (qx_claim(v) < 0) return NULL;
  ((SwigPyObject *)v)->own = SWIG_POINTER_OWN;
  return SWIG_Py_Void();
}

/* own([flag]): whether the object owns its storage; with a flag, it owns
 * it from then on if the flag is true (qx_claim), else not. A flag whose
 * truth test raises (its __bool__ or __len__, or a negative length)
 * changes nothing and its exception propagates as it stands; SWIG's
 * version took the failed test for true and returned with the exception
 * still set. The claim is judged after the test, which may run Python
 * code that frees the storage. */
SWIGRUNTIME PyObject *qx_pointer_own(PyObject *v, PyObject *args) {
  SwigPyObject *sobj = (SwigPyObject *)v;
  PyObject *flag = NULL, *owned;
  if (!PyArg_UnpackTuple(args, "own", 0, 1, &flag)) return NULL;
  owned = PyBool_FromLong(sobj->own);
  if (flag) {
    int truth = PyObject_IsTrue(flag);
    if (truth < 0 || (truth && qx_claim(v) < 0)) {
      Py_DECREF(owned);
      return NULL;
    }
    sobj->own = truth ? SWIG_POINTER_OWN : 0;
  }
  return owned;
}

/* Puts `next` right behind `v` in v's chain (next's own former chain is
 * released). Refused when `next` is already in v's chain: the chain would
 * become a cycle. */
SWIGRUNTIME PyObject *qx_pointer_append(PyObject *v, PyObject *next) {
  SwigPyObject *sobj = (SwigPyObject *)v, *link;
  PyObject *former;
  if (!qx_is_pointer_object(next)) {
    PyErr_SetString(PyExc_TypeError, "Attempt to append a non SwigPyObject");
    return NULL;
  }
  for (link = sobj; link; link = (SwigPyObject *)link->next) {
    if ((PyObject *)link == next) {
      PyErr_SetString(PyExc_TypeError, "Attempt to append a SwigPyObject already in the chain");
      return NULL;
    }
  }
  if (qx_keeps_alive(next, v)) {
    PyErr_SetString(PyExc_TypeError, "Attempt to append a SwigPyObject that keeps the chain alive");
    return NULL;
  }
  former = ((SwigPyObject *)next)->next;
  ((SwigPyObject *)next)->next = sobj->next;
  Py_INCREF(next);
  sobj->next = next;
  Py_XDECREF(former);
  return SWIG_Py_Void();
}

/* SharedSwigInit (every _swiginit entry): sets "this" of the instance, or
 * appends to the pointer object it already holds. A "this" that would lead
 * back to the instance is refused. */
SWIGINTERN PyObject *qx_init_shadow_instance(PyObject *args) {
  PyObject *obj[2], *held;
  SwigPyObject *sthis;
  int raised, leads;
  if (!SWIG_Python_UnpackTuple(args, "swiginit", 2, 2, obj)) return NULL;
  sthis = qx_swig_this(obj[0], &held, &raised);
  if (raised) return NULL;
  if (sthis) {
    PyObject *appended = qx_pointer_append((PyObject *)sthis, obj[1]);
    Py_XDECREF(held);
    if (!appended) return NULL;
    Py_DECREF(appended);
    return SWIG_Py_Void();
  }
  leads = qx_this_leads_to(obj[1], obj[0]);
  if (leads < 0) return NULL;
  if (leads) {
    PyErr_SetString(PyExc_TypeError, "Attempt to set a 'this' that leads back to the instance");
    return NULL;
  }
  if (qx_set_swig_this(obj[0], obj[1]) != 0) return NULL;
  return SWIG_Py_Void();
}

/* SWIG_PyInstanceMethod_New: an instance method wrapping the function
 * itself (the modules keep no separate documentation table, so there is
 * nothing to copy the function for). */
SWIGRUNTIME PyObject *qx_instance_method_new(PyObject *SWIGUNUSEDPARM(self), PyObject *func) {
  return PyInstanceMethod_New(func);
}

static PyMethodDef qx_pointer_methods[] = {
  {"own", qx_pointer_own, METH_VARARGS, "returns/sets ownership of the pointer"},
  {"acquire", qx_pointer_acquire, METH_NOARGS, "acquires ownership of the pointer"},
  {"append", qx_pointer_append, METH_O, "appends another 'this' object"},
  {"__repr__", qx_pointer_repr_method, METH_NOARGS, "returns object representation"},
  {"__eq__", qx_pointer_eq, METH_O, "Return self==value."},
  {"__ne__", qx_pointer_ne, METH_O, "Return self!=value."},
  {0, 0, 0, 0}
};

/* Makes every type in the ring of `ring` that holds the registration data
 * `old` hold `data` instead (NULL: none). Types are shared: a type that
 * several modules declare is one record in all their tables, and a
 * registration is attached to a type and to the types that accept it
 * without a conversion. */
SWIGINTERN void qx_replace_client_data(swig_module_info *ring, void *old, void *data) {
  swig_module_info *iter = ring;
  do {
    size_t i;
    for (i = 0; i < iter->size; i++)
      if (iter->types[i]->clientdata == old) iter->types[i]->clientdata = data;
    iter = iter->next;
  } while (iter && iter != ring);
}

/* Destroy function of the shared capsule, run once the capsule is gone
 * (when the interpreter ends, after the last pointer object of any module:
 * each keeps the capsule alive). It is the function of the module that made
 * the capsule, and tears down the whole ring:
 *  1. every module forgets the capsule, so that an object made from here on
 *     (by a destructor the release below runs) takes no reference to it;
 *     this much also when another (sub-)interpreter still uses the types,
 *     as the capsule goes all the same;
 *  2. the registration data of every type in the tables of the modules of
 *     this runtime (whose objects keep the capsule alive, so that none of
 *     their records outlives its registration) is detached from all the
 *     types that hold it and released, each once: the classes registered
 *     through any of them, their constructor arguments and their
 *     destructors are let go; another SWIG module that joined the ring keeps
 *     its own, as SWIG's teardown leaves them;
 *  3. every module drops its cached "this" name and type cache.
 * SWIG's own version released the registrations of the maker's table only,
 * and also made the runtime's variable-link object here, only to drop it
 * again (its dealloc never frees the object itself): the modules install no
 * variables, so nothing of that object is made. */
SWIGRUNTIME void qx_destroy_module(PyObject *capsule) {
  swig_module_info *ring = (swig_module_info *)PyCapsule_GetPointer(capsule, SWIGPY_CAPSULE_NAME);
  swig_module_info *iter;
  if (!ring) {
    PyErr_Clear();
    return;
  }
  iter = ring;
  do {
    qx_runtime_info *info = qx_runtime_of(iter);
    if (info && *info->capsule == capsule) *info->capsule = NULL;
    iter = iter->next;
  } while (iter && iter != ring);
  /* Another (sub-)interpreter may still use the types. */
  if (--interpreter_counter != 0) return;
  iter = ring;
  do {
    size_t i;
    for (i = 0; qx_runtime_of(iter) && i < iter->size; ++i) {
      swig_type_info *ty = iter->types[i];
      SwigPyClientData *data = ty->owndata ? (SwigPyClientData *)ty->clientdata : NULL;
      if (data) {
        qx_replace_client_data(ring, data, NULL);
        SwigPyClientData_Del(data);
      }
    }
    iter = iter->next;
  } while (iter && iter != ring);
  iter = ring;
  do {
    qx_runtime_info *info = qx_runtime_of(iter);
    if (info) info->release();
    iter = iter->next;
  } while (iter && iter != ring);
}

/* The shared capsule (borrowed: the module "swig_runtime_data4" holds it)
 * for a module that joined a ring made by a module of this runtime; NULL,
 * with no error set, in any other case. */
SWIGINTERN PyObject *qx_shared_capsule(void) {
  PyObject *holder = PyDict_GetItemString(PyImport_GetModuleDict(), "swig_runtime_data" SWIG_RUNTIME_VERSION);
  PyObject *capsule = holder ? PyObject_GetAttrString(holder, SWIGPY_CAPSULE_ATTR_NAME) : NULL;
  swig_module_info *ring = capsule ? (swig_module_info *)PyCapsule_GetPointer(capsule, SWIGPY_CAPSULE_NAME) : NULL;
  swig_module_info *iter = ring;
  PyErr_Clear();
  Py_XDECREF(capsule);
  if (!ring || !qx_runtime_of(ring)) return NULL;
  do {
    if (iter == &swig_module) return capsule;
    iter = iter->next;
  } while (iter && iter != ring);
  return NULL;
}

/* Module init: publishes this module's pointer-object type and method
 * table to the ring, gives the type this file's slots (once per process),
 * and makes the cached "this" name the interpreter's interned "this"
 * (attribute look-ups intern their names anyway, and an interned key is
 * found by identity) in place of the str SWIG's init made. Returns -1 with
 * the error set on failure. */
SWIGINTERN int qx_runtime_init(PyMethodDef *methods) {
  PyTypeObject *type = SwigPyObject_type();
  PyObject *name = PyUnicode_InternFromString("this");
  PyMethodDef *def;
  if (!type || !name) {
    Py_XDECREF(name);
    return -1;
  }
  Py_XSETREF(Swig_This_global, name);
  if (!qx_object_new) {
    qx_object_new = PyObject_GetAttrString((PyObject *)&PyBaseObject_Type, "__new__");
    if (!qx_object_new) return -1;
  }
  if (!qx_empty_tuple) {
    qx_empty_tuple = PyTuple_New(0);
    if (!qx_empty_tuple) return -1;
  }
  if (!qx_runtime.object_type) {
    for (def = qx_pointer_methods; def->ml_name; def++) {
      PyObject *descr = PyDescr_NewMethod(type, def);
      int failed = !descr || PyDict_SetItemString(type->tp_dict, def->ml_name, descr) < 0;
      Py_XDECREF(descr);
      if (failed) return -1;
    }
    type->tp_dealloc = qx_pointer_dealloc;
    type->tp_finalize = qx_pointer_finalize;
    type->tp_repr = qx_pointer_repr;
    type->tp_richcompare = qx_pointer_richcompare;
    PyType_Modified(type);
    qx_runtime.object_type = type;
    qx_runtime.methods = methods;
  }
  for (def = methods; def->ml_name; def++) {
    if (strcmp(def->ml_name, "SWIG_PyInstanceMethod_New") == 0) def->ml_meth = qx_instance_method_new;
  }
  swig_module.clientdata = &qx_runtime;
  /* The module that made the shared capsule tears it down with this file's
   * destroy function; every other module's objects keep that capsule alive
   * too, so that it outlives every object whose destructor it names. */
  if (Swig_Capsule_global && PyCapsule_GetDestructor(Swig_Capsule_global) == SWIG_Python_DestroyModule &&
      PyCapsule_SetDestructor(Swig_Capsule_global, qx_destroy_module) < 0)
    return -1;
  if (!Swig_Capsule_global) Swig_Capsule_global = qx_shared_capsule();
  return 0;
}

/* Attaches a class's registration data to a type. Registering a class
 * again replaces the earlier data wherever it was attached (the type and
 * the types of every module that took it over) and releases it, so that a
 * type holds one registration at a time and repeated registration leaks
 * nothing. */
SWIGRUNTIME void qx_register_client_data(swig_type_info *ti, void *data) {
  void *old = ti->owndata ? ti->clientdata : NULL;
  if (old && old != data) qx_replace_client_data(&swig_module, old, data);
  SWIG_TypeNewClientData(ti, data);
  if (old && old != data) SwigPyClientData_Del((SwigPyClientData *)old);
}

/* SWIG_Error (every argument failure of every rule, %argument_fail): a
 * conversion whose object's "this" raised (QX_ERROR_RAISED) keeps that
 * exception as it stands; every other code raises the rule's message. */
SWIGINTERN void qx_error(int code, const char *msg) {
  if (code == QX_ERROR_RAISED && PyErr_Occurred()) return;
  SWIG_Python_SetErrorMsg(SWIG_Python_ErrorType(code), msg);
}

/* The runtime's names, from here on. */
#undef SWIG_Error
#define SWIG_Error(code, msg) qx_error(code, msg)
#undef SWIG_Python_ConvertPtrAndOwn
#define SWIG_Python_ConvertPtrAndOwn(obj, pptr, type, flags, own) qx_convert_ptr(obj, pptr, type, flags, own)
#undef SWIG_Python_ConvertFunctionPtr
#define SWIG_Python_ConvertFunctionPtr(obj, pptr, type) qx_convert_function_ptr(obj, pptr, type)
#undef SWIG_Python_NewPointerObj
#define SWIG_Python_NewPointerObj(self, ptr, type, flags) qx_new_pointer_obj(self, ptr, type, flags)
#undef SWIG_Python_NewShadowInstance
#define SWIG_Python_NewShadowInstance(data, swig_this) qx_new_shadow_instance(data, swig_this)
#undef SWIG_Python_GetSwigThis
#define SWIG_Python_GetSwigThis(obj) qx_get_swig_this(obj)
#undef SWIG_Python_SetSwigThis
#define SWIG_Python_SetSwigThis(inst, swig_this) qx_set_swig_this(inst, swig_this)
#undef SWIG_Python_InitShadowInstance
#define SWIG_Python_InitShadowInstance(args) qx_init_shadow_instance(args)
#undef SwigPyObject_Check
#define SwigPyObject_Check(op) qx_is_pointer_object(op)
#undef SwigPyObject_append
#define SwigPyObject_append(v, next) qx_pointer_append(v, next)
#undef SwigPyClientData_New
#define SwigPyClientData_New(klass) qx_client_data_new(klass)
#undef SWIG_Python_TypeQuery
#define SWIG_Python_TypeQuery(type) qx_type_query(type)
/* A registration whose data cannot be made returns NULL from the entry;
 * one that can replaces the type's earlier registration. */
#undef SWIG_TypeNewClientData
#define SWIG_TypeNewClientData(ti, clientdata) __extension__({ \
    void *qx_clientdata_ = (clientdata); \
    if (!qx_clientdata_) return NULL; \
    qx_register_client_data(ti, qx_clientdata_); })
%}

%init %{
  if (qx_runtime_init(SwigMethods) < 0) {
    Py_DECREF(m);
    return NULL;
  }
%}
