"""Runs code that imports the modules and prints every object the collector
tracks that the code made and lost: nothing reaches it any more, though it
is still alive.

    python lost_objects_driver.py '<code>'

Run in a fresh interpreter (tests/rules/test_rules_init.py), with the
build's modules importable. An object the code made counts as reached when
a chain of references leads to it from an object that existed before the
code ran (sys.modules among them), from the namespace of a static type (the
pointer-object types the modules prepare live as long as the process), or
from the copy of a module's namespace that the import system keeps for each
extension module. Prints one line per lost object ("lost: <type> <repr>"),
then "made: <count>".
"""
import gc
import sys

import _qx_empty  # what the interpreter makes once for any extension module

compile("import _qx_empty", "<warm-up>", "exec")  # ... and for compiling code
HEAP_TYPE = 1 << 9  # Py_TPFLAGS_HEAPTYPE


def static_types():
    seen, todo = set(), [object]
    while todo:
        cls = todo.pop()
        if id(cls) not in seen:
            seen.add(id(cls))
            todo.extend(type.__subclasses__(cls))
            if not cls.__flags__ & HEAP_TYPE:
                yield cls


def namespace_copy(obj):
    """Whether obj is the import system's copy of a module's namespace: a
    dict holding that module's own objects under its names (the copy is made
    before the import system sets the module's dunder names)."""
    name = obj.get("__name__") if type(obj) is dict else None
    module = sys.modules.get(name) if isinstance(name, str) else None
    return module is not None and all(vars(module).get(key, obj) is value
                                      for key, value in obj.items() if not key.startswith("__"))


def main(code):
    gc.collect()
    before = gc.get_objects()
    exec(compile(code, "<checked>", "exec"), {"__name__": "__checked__"})
    gc.collect()
    after = gc.get_objects()
    bookkeeping = {id(before), id(after), id(sys._getframe())}
    existed = {id(obj) for obj in before}
    made = {id(obj): obj for obj in after if id(obj) not in existed and id(obj) not in bookkeeping}
    roots = [obj for obj in after if id(obj) not in bookkeeping and (id(obj) in existed or namespace_copy(obj))]
    for cls in static_types():
        roots += [cls.__mro__, cls.__bases__, *gc.get_referents(cls.__dict__)]
    reached, todo = set(), [referent for obj in roots for referent in gc.get_referents(obj)] + roots
    while todo:
        obj = todo.pop()
        if id(obj) in made and id(obj) not in reached:
            reached.add(id(obj))
            todo.extend(gc.get_referents(obj))
    for key, obj in made.items():
        if key not in reached:
            print(f"lost: {type(obj).__name__} {repr(obj)[:200]}")
    print(f"made: {len(made)}")


if __name__ == "__main__":
    main(sys.argv[1])
