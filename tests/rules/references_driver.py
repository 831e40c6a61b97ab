"""Imports the modules named, registers a class for every record of each,
tears the shared type table down as the interpreter does at exit, and
prints every reference that the collector cannot account for.

    python references_driver.py <module> [<module> ...]

Run in a fresh interpreter (tests/rules/test_rules_init.py), with the
build's modules importable.

Each reference to an object is held either by an object that the collector
can list (gc.get_referents of anything it tracks, or of anything reached
from there), or from C. The driver counts both, for every object there is,
before and after the run: an object the run made may be held from C only
where the list below declares it, and an object that existed before may be
held from C as often as before, again unless the list declares more. A
reference kept too many (a class, a list, a function, a module object, a
dict or an int kept by a module's init with one reference it never drops,
a registration the teardown does not release) is held from C, and so is an
object the collector tracks that nothing reaches any more: both are
reported. (A lost object that the collector does not track, such as a tuple
or dict of ints, is reached by nothing the driver walks: memcheck sees it
as lost.)

Not judged are objects whose counts say nothing: the interpreter's immortal
ones (from 3.12 on; on 3.11 the small ints and the empty tuple, statically
allocated with a count no object reaches), its singletons None, True,
False, Ellipsis and NotImplemented (on 3.11 an import moves None's count by
hundreds that nobody lists) and strs (the names the interpreter interns,
whose references it keeps in tables it does not count; memcheck sees a str
that is kept too many, as nothing points to it at exit).

Prints one line per reference count found wrong ("held: ..."), then
"made: <count>" (the objects the run made).
"""
import gc
import importlib
import sys

import _qx_empty  # what the interpreter makes once for any extension module

from registrations import register_every_record

compile("import _qx_empty", "<warm-up>", "exec")  # ... and for compiling code
HEAP_TYPE = 1 << 9  # Py_TPFLAGS_HEAPTYPE
COUNT_OF_NO_OBJECT = 10 ** 8
SINGLETONS = (None, True, False, Ellipsis, NotImplemented)


def static_types():
    seen, todo = set(), [object]
    while todo:
        cls = todo.pop()
        if id(cls) not in seen:
            seen.add(id(cls))
            todo.extend(type.__subclasses__(cls))
            if not cls.__flags__ & HEAP_TYPE:
                yield cls


def is_namespace_copy(obj):
    """Whether obj is the import system's copy of a module's namespace: a
    dict holding that module's own objects under its names (the copy is made
    before the import system sets the module's dunder names)."""
    name = obj.get("__name__") if type(obj) is dict else None
    module = sys.modules.get(name) if isinstance(name, str) else None
    return module is not None and all(vars(module).get(key, obj) is value
                                      for key, value in obj.items() if not key.startswith("__"))


class Run:
    """What the list below counts by, of what the run made: the copies of
    the modules' runtime (each makes a pointer-object type of its own)."""

    def __init__(self, made):
        self.runtimes = 0
        for obj in made:
            if isinstance(obj, type) and obj.__name__ == "SwigPyObject":
                self.runtimes += 1


# What is held from C on purpose, for the life of the process: (what it
# is, whether an object is it, how many references may be held from C, why).
# The shared table's teardown, which every run ends with, releases what the
# modules keep until then: the capsule (each pointer object keeps it alive),
# every module's cached "this" name and type cache, and the registrations
# with their classes, constructor arguments and destructors. What is left is
# this; an object a module keeps in a C static on purpose is declared here.
HELD_ON_PURPOSE = [
    ("a static type a module made (each module's pointer-object and packed-pointer types)",
     lambda obj, was_made: was_made and isinstance(obj, type) and not obj.__flags__ & HEAP_TYPE,
     lambda run: 1,
     "a static type lives as long as the process, with the one reference its definition starts it with"),
    ("object.__new__", lambda obj, was_made: obj is object.__new__, lambda run: run.runtimes,
     "each module's runtime keeps it, to make the instances of a registered class whose __new__ it is "
     "through object's allocator (qx_runtime.i)"),
    ("the empty tuple", lambda obj, was_made: type(obj) is tuple and not obj, lambda run: run.runtimes,
     "each module's runtime keeps it, as the arguments of a class's own allocator (qx_runtime.i); its count "
     "is judged only below 3.11, where it is no static object"),
    # The interpreter's own.
    ("the import system's copy of a module's namespace",
     lambda obj, was_made: was_made and is_namespace_copy(obj), lambda run: sys.maxsize,
     "kept for each single-phase extension module, to give to a later import (once on 3.11 and 3.12, "
     "twice on 3.13)"),
]
HOW_TO_DECLARE = ("An object a module keeps on purpose for the life of the process (in a C static) is declared in "
                  "HELD_ON_PURPOSE in tests/rules/references_driver.py, with the reason; any other reference "
                  "that the collector cannot list is one too many.")


def judged(obj):
    """Whether the count of obj says anything (see above)."""
    if sys.getrefcount(obj) >= COUNT_OF_NO_OBJECT or isinstance(obj, str):
        return False
    for singleton in SINGLETONS:
        if obj is singleton:
            return False
    return True


def census():
    """(objects, {id: references held from C}) for every object the collector
    tracks and every object reached from them (static types included: their
    namespaces, method resolution orders and bases are their references),
    each listed once; the counts are those of the judged objects. No local
    variable holds an object while the counts are taken but `objects`, and
    no closure is made (its cells would hold objects too)."""
    objects = gc.get_objects()
    statics = set()
    for cls in static_types():
        statics.add(id(cls))
        if not gc.is_tracked(cls):
            objects.append(cls)
    seen = {id(obj) for obj in objects}
    seen.add(id(objects))
    listed = {}
    at = 0
    while at < len(objects):
        holder = objects[at]
        if id(holder) in statics:
            referents = [holder.__mro__, holder.__bases__, *gc.get_referents(holder.__dict__)]
        else:
            referents = gc.get_referents(holder)
        for referent in referents:
            listed[id(referent)] = listed.get(id(referent), 0) + 1
            if id(referent) not in seen:
                seen.add(id(referent))
                objects.append(referent)
        at += 1
    del cls, holder, referents, referent
    held = {}
    for at in range(len(objects)):
        if judged(objects[at]):
            # Besides its holders: `objects`, and the argument of getrefcount.
            held[id(objects[at])] = sys.getrefcount(objects[at]) - 2 - listed.get(id(objects[at]), 0)
    return objects, held


def describe(obj):
    try:
        text = repr(obj)
    except Exception as error:  # noqa: BLE001 (any repr that fails is described by its failure)
        text = f"<repr failed: {error!r}>"
    return f"{type(obj).__name__} {text[:200]}"


def run(names):
    modules = [importlib.import_module(name) for name in names]
    register_every_record(modules)
    # The teardown: the capsule goes with the module holding it, once no
    # pointer object keeps it.
    del sys.modules["swig_runtime_data4"]


def declared(obj, was_made, run):
    """How many references to obj HELD_ON_PURPOSE allows from C."""
    allowed = 0
    for _, applies, count, _ in HELD_ON_PURPOSE:
        if applies(obj, was_made):
            allowed = max(allowed, count(run))
    return allowed


def report(obj, was_made, extra, allowed):
    if was_made:
        print(f"held: {describe(obj)}: made by the run; references held from C: {extra} (declared: {allowed})")
    elif extra > 0:
        print(f"held: {describe(obj)}: existed before; references held from C: {extra} more than before "
              f"(declared: {allowed})")
    else:
        print(f"held: {describe(obj)}: existed before; references held from C: {-extra} fewer than before "
              f"(a reference dropped that was never taken)")


def main(names):
    gc.collect()
    before, held_before = census()
    run(names)
    gc.collect()
    after, held_after = census()
    existed = {id(obj) for obj in before}
    existed.add(id(before))
    made = []
    for obj in after:
        if id(obj) not in existed:
            made.append(obj)
    context = Run(made)
    wrong = 0
    for obj in after:
        key = id(obj)
        if key in held_after and obj is not before:
            was_made = key not in existed
            extra = held_after[key] - (0 if was_made else held_before.get(key, 0))
            allowed = declared(obj, was_made, context) if extra else 0
            if extra > allowed or extra < 0:
                wrong += 1
                report(obj, was_made, extra, allowed)
    if wrong:
        print("held: " + HOW_TO_DECLARE)
    print(f"made: {len(made)}")


if __name__ == "__main__":
    main(sys.argv[1:])
