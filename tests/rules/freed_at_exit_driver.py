"""Registers a class for every record of the modules named, imported in that
order, and reports at exit which of the classes were freed.

    python freed_at_exit_driver.py <module> [<module> ...]

Prints "registered <record>" for each class it registers; each class holds
a sentinel that prints "freed <record>" when the class goes. Each module
with a record also leaves one, owned by an instance of its first class, in
a reference cycle that only the interpreter's collections at exit free: its
class's destructor frees it then, and had the registration been released
before it, the runtime's leak warning would show instead. Run in a fresh
interpreter, with the build's modules importable.
"""
import gc
import importlib
import os
import sys

from registrations import register_every_record


class Sentinel:
    def __init__(self, record):
        self.message = b"freed " + record.encode() + b"\n"

    def __del__(self, write=os.write):
        write(1, self.message)


def leave_a_record_in_a_cycle(module, cls):
    holder = cls()
    getattr(module, cls.__name__ + "_swiginit")(holder, getattr(module, "new_" + cls.__name__)())
    holder.cycle = holder


def main(names):
    gc.disable()
    modules = [importlib.import_module(name) for name in names]
    for module in modules:
        classes = register_every_record([module], lambda record: {"sentinel": Sentinel(record)})
        if classes:
            leave_a_record_in_a_cycle(module, classes[0])
        print("".join(f"registered {cls.__name__}\n" for cls in classes), end="", flush=True)


if __name__ == "__main__":
    main(sys.argv[1:])
