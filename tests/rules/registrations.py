"""Registering a class for every record of the modules, as a Python layer
does: the exit checks' drivers share it (tests/rules/test_rules_init.py)."""

SUFFIX = "_swigregister"


def register_every_record(modules, attributes=lambda record: {}):
    """Registers a class for every record of each module through its
    R_swigregister entry: a class named after the record, whose
    __swig_destroy__ is the module's delete_R and which holds
    attributes(record) besides. Returns the classes, in registration
    order."""
    classes = []
    for module in modules:
        for name in [name for name in vars(module) if name.endswith(SUFFIX)]:
            record = name[:-len(SUFFIX)]
            cls = type(record, (), {"__swig_destroy__": getattr(module, "delete_" + record), **attributes(record)})
            getattr(module, name)(cls)
            classes.append(cls)
    return classes
