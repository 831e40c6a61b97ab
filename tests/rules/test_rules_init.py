"""Module start-up: constants, method table and the shared type table."""
import collections
import os
import shutil
import subprocess
import sys

import importlib
import xml.etree.ElementTree as ElementTree

import pytest

import _qx_api as q
import qxtest

BUILD_PYTHON = os.path.dirname(q.__file__)


def int_constants(module):
    return [(k, v) for k, v in vars(module).items() if type(v) is int]


def test_constants_in_install_order():
    consts = int_constants(q)
    names = [k for k, _ in consts]
    assert len(consts) == 130
    assert names[:2] == ["MAX_NUMBER_OF_CONTROL_DATA_BYTES", "QX_FW__HEADER_TYPE__COMMAND"]
    assert names[-1] == "QX_HOST_COMMUNICATION_TYPE__PXIE"
    host = [(k, v) for k, v in consts if k.startswith("QX_HOST_INTERFACE_TYPE__")]
    assert [v for _, v in host] == list(range(92))
    assert host[-1] == ("QX_HOST_INTERFACE_TYPE__UNKNOWN", 91)
    assert (q.MAX_NUMBER_OF_CONTROL_DATA_BYTES, q.QX_INTERFACE_TYPE__TROVIX, q.QX_INTERFACE_TYPE__CAN_STM,
            q.QX_HOST_COMMUNICATION_TYPE__PXIE, q.QX_COMMAND_WITH_RESPONSE_MODE__ASYNC) == (16, 10, 16, 8, 1)


@pytest.mark.parametrize("name", qxtest.built_modules())
def test_instance_method_wraps_the_function_itself(name):
    module = importlib.import_module(name)
    functions = [v for k, v in vars(module).items() if callable(v) and not k.startswith("__")]
    for function in (functions[1], functions[-1]):
        assert module.SWIG_PyInstanceMethod_New(function).__func__ is function


def test_instance_method_passes_the_instance_first():
    class Data:
        u8 = q.SWIG_PyInstanceMethod_New(q.Qx_Data_t_U8_get)

        def __init__(self):
            self.this = qxtest.new_record(q, "Qx_Data_t")

    assert Data().u8() == [0] * 8


def test_method_table_runtime_entry_first_pointer_classes_last():
    funcs = [k for k, v in vars(q).items() if callable(v) and not k.startswith("__")]
    assert funcs[0] == "SWIG_PyInstanceMethod_New"
    assert "SWIG_PyStaticMethod_New" not in funcs
    assert funcs[-16:] == [
        "new_int_p", "delete_int_p", "int_p_assign", "int_p_value", "int_p_cast", "int_p_frompointer",
        "int_p_swigregister", "int_p_swiginit",
        "new_char_p", "delete_char_p", "char_p_assign", "char_p_value", "char_p_cast", "char_p_frompointer",
        "char_p_swigregister", "char_p_swiginit"]
    # A record's accessors come before its constructor and registration entries.
    i = funcs.index
    assert i("Qx_Data_t_U8_set") < i("Qx_Data_t_U64_get") < i("new_Qx_Data_t") < i("Qx_Data_t_swiginit") < i("Qx_IpAddress_t_Byte_get")
    assert i("Qx_OpenInterface") < i("Qx_CloseInterface") < i("Qx_Lvds_IsGenerator") < i("new_int_p")


def run_python(code):
    return run_child("-c", code)


def run_child(*args):
    env = qxtest.child_env(BUILD_PYTHON)
    return subprocess.run([sys.executable, *args], env=env, capture_output=True, text=True, timeout=60)


def test_importing_alone_creates_the_shared_capsule():
    out = run_python(
        "import sys, _qx_api\n"
        "m = sys.modules['swig_runtime_data4']\n"
        "print(type(m.type_pointer_capsule).__name__, repr(m.type_pointer_capsule).split()[2])\n")
    assert out.returncode == 0, out.stderr
    assert out.stdout.split() == ["PyCapsule", '"swig_runtime_data4.type_pointer_capsule"']


def test_second_module_joins_the_table_in_either_order():
    # The test-only helper module declares u16_t and the callback types too:
    # its objects must be accepted by _qx_api whichever module came first.
    body = (
        "import sys\n"
        "rt = sys.modules['swig_runtime_data4']\n"
        "assert rt.type_pointer_capsule is capsule\n"
        "assert [k for k in vars(rt) if not k.startswith('__')] == ['type_pointer_capsule']\n"
        "u16 = _qx_testhelpers.qxt_u16_array([7])\n"
        "info = _qx_api.new_Qx_InterfaceInfo_t()\n"
        "_qx_api.Qx_InterfaceInfo_t_Parameters_Flags_set(_qx_api.Qx_InterfaceInfo_t_Parameters_get(info), u16)\n"
        "p = _qx_api.new_int_p()\n"
        "_qx_api.int_p_assign(p, 9)\n"
        "print(_qx_testhelpers.qxt_read_u16(_qx_api.Qx_InterfaceInfo_t_Parameters_get(info), 2),\n"
        "      _qx_testhelpers.qxt_read_u32(_qx_api.int_p_cast(p), 1))\n"
        "_qx_api.delete_Qx_InterfaceInfo_t(info)\n"
        "_qx_api.delete_int_p(p)\n")
    for first, second in (("_qx_api", "_qx_testhelpers"), ("_qx_testhelpers", "_qx_api")):
        out = run_python(f"import sys, {first}\ncapsule = sys.modules['swig_runtime_data4'].type_pointer_capsule\n"
                         f"import {second}\n" + body)
        assert out.returncode == 0, out.stderr
        assert out.stdout == "[0, 7] [9]\n"


# ---- exit ---------------------------------------------------------------------
# memcheck runs the interpreter with the modules and reports every block that
# nothing points to any more at exit ("definitely lost"), with the stack that
# allocated it. The same interpreter is first run bare: importing _qx_empty,
# an extension module of the modules' kind that holds nothing, so that what
# the interpreter loses for any module imported is seen too.
#  - Debian's 3.11 (and its debug build) loses nothing bare: there any
#    definitely lost byte fails the check.
#  - CPython 3.12 and 3.13 lose blocks for good even bare (80 kB and
#    150 kB): above all the str objects of the names they intern, immortal
#    from 3.12 on, among them the names they intern for the modules (every
#    function and constant) and for the code that imports them. There a lost
#    block is the interpreter's only when the bare run loses one allocated
#    along the same native stack, or when it is a str made for a name the
#    interpreter interns.
# Whether a block's stack passes through the modules does not decide: memory
# the interpreter reuses from its free lists carries the stack of its first
# allocation, so a dict the modules lose can show the compiler's stack.
# memcheck cannot see a lost object that the collector tracks (a list, a
# class), nor one kept with a reference too many: the collector's own list
# points to it until the end, so it is "still reachable". The reference
# check below finds those.

# The native stack of an allocation: its frames from the allocator out to the
# first frame that is the modules' code (in the build folder) or runs Python
# code, that one included. What Python code allocates (the import system's
# paths) is compared up to that code, whatever ran it.
PYTHON_CODE = "_PyEval_EvalFrameDefault"
# Interpreter functions whose str objects the interpreter interns: the key of
# PyDict_SetItemString (behind PyModule_AddObject and the constants), the
# method names of PyModule_AddFunctions (behind module creation), and the
# names of code compiled (the parser) or loaded (the unmarshaller): a str of
# theirs that is lost at exit is an interned one.
INTERNING = {"PyDict_SetItemString", "PyModule_AddFunctions", "PyUnicode_InternFromString",
             "_PyPegen_run_parser", "r_object"}
STR_ALLOCATOR = "PyUnicode_New"


def native_stack(frames, build):
    """frames: [(function, object file)], innermost first."""
    for i, (function, obj) in enumerate(frames):
        if function == PYTHON_CODE or obj.startswith(build + os.sep):
            return tuple(frames[:i + 1])
    return tuple(frames)


def modules_own(frames, build, bare):
    """Whether a lost block belongs to the modules, from its allocation
    stack, given the native stacks of the blocks the bare run lost."""
    if not bare:
        return True
    stack = native_stack(frames, build)
    functions = {function for function, _ in stack}
    interned_name = STR_ALLOCATOR in functions and bool(INTERNING & functions)
    return stack not in bare and not interned_name


def lost_blocks(xml):
    """(bytes, blocks, frames) of every definitely lost record of memcheck's
    XML report."""
    report = ElementTree.fromstring(xml)
    assert [state.text for state in report.iter("state")][-1:] == ["FINISHED"], xml[-2000:]
    for error in report.iter("error"):
        if error.findtext("kind") == "Leak_DefinitelyLost":
            what = error.find("xwhat")
            frames = [(frame.findtext("fn", "?"), os.path.realpath(frame.findtext("obj", "?")))
                      for frame in error.find("stack").iter("frame")]
            yield int(what.findtext("leakedbytes")), int(what.findtext("leakedblocks")), frames


PYTHON = "/usr/lib/libpython3.12.so"
MODULE = "/b/python/_qx_api.so"
INTERPRETER_OWN = ((("malloc", "vg"), ("PyUnicode_New", PYTHON), ("PyDict_SetItemString", PYTHON), ("main", PYTHON)),
                   (("malloc", "vg"), ("PyUnicode_New", PYTHON), ("PyUnicode_Join", PYTHON), (PYTHON_CODE, PYTHON)))


@pytest.mark.parametrize("frames, own", [
    # lost bare too, along the same native stack
    (list(INTERPRETER_OWN[0]), False),
    (list(INTERPRETER_OWN[1]) + [("import_name", PYTHON), (PYTHON_CODE, PYTHON), ("run_mod", PYTHON)], False),
    # a constant's or method's name, and the runtime's "this", interned by the interpreter
    ([("malloc", "vg"), ("PyUnicode_New", PYTHON), ("unicode_decode_utf8", PYTHON),
      ("PyDict_SetItemString", PYTHON), ("PyInit__qx_api", MODULE)], False),
    ([("malloc", "vg"), ("PyUnicode_New", PYTHON), ("_add_methods_to_object", PYTHON),
      ("PyModule_AddFunctions", PYTHON), ("_PyModule_CreateInitialized", PYTHON), ("PyInit__qx_api", MODULE)], False),
    ([("malloc", "vg"), ("PyUnicode_New", PYTHON), ("PyUnicode_InternFromString", PYTHON),
      ("qx_runtime_init", MODULE)], False),
    # a name of code that imports the modules, interned by the compiler
    ([("malloc", "vg"), ("PyUnicode_New", PYTHON), ("_PyPegen_constant_from_string", PYTHON),
      ("string_rule", PYTHON), ("_PyPegen_run_parser", PYTHON), ("run_mod", PYTHON)], False),
    # objects the modules made and lost
    ([("malloc", "vg"), ("_PyObject_New", PYTHON), ("SWIG_Python_newvarlink", MODULE),
      ("capsule_dealloc", PYTHON)], True),
    ([("malloc", "vg"), ("qx_alloc", MODULE)], True),
    ([("malloc", "vg"), ("PyUnicode_New", PYTHON), ("PyUnicode_FromString", PYTHON), ("qx_name", MODULE)], True),
    ([("malloc", "vg"), ("PyDict_New", PYTHON), ("qx_cache", MODULE)], True),
    # ... and one reused from the interpreter's free list: no frame of the
    # modules, and not lost bare
    ([("malloc", "vg"), ("PyDict_New", PYTHON), ("analyze_block", PYTHON), ("run_mod", PYTHON)], True),
    # a str made under Python code that the bare run does not lose
    ([("malloc", "vg"), ("PyUnicode_New", PYTHON), ("PyUnicode_FromFormat", PYTHON), (PYTHON_CODE, PYTHON)], True),
])
def test_lost_blocks_are_told_apart_by_their_stack(frames, own):
    assert modules_own(frames, "/b", set(INTERPRETER_OWN)) is own
    assert modules_own(frames, "/b", set()) is True  # an interpreter that loses nothing bare


UNDER_SANITIZER = "libasan" in os.environ.get("LD_PRELOAD", "")
needs_memcheck = pytest.mark.skipif(UNDER_SANITIZER, reason="memcheck cannot run the sanitizer build")


BUILT = qxtest.built_modules()
# All modules, and each alone, as a build of that library alone makes it.
MODULE_ROWS = {"modules": BUILT, **{name: [name] for name in BUILT}}
IMPORTS = [pytest.param("; ".join(f"import {name}" for name in names), id=row) for row, names in MODULE_ROWS.items()]
EXIT_RUNS = IMPORTS + [
    # Registered classes, a record of each module and a view kept past its
    # parent: the capsule's teardown releases the registration data. The
    # storage module's arrays of every kind, flat and through its proxy
    # classes, an item of each (record items are views keeping their array)
    # and a signal-block cell live until exit too.
    pytest.param(f"import sys; sys.path.insert(0, {qxtest.proxy_folder()!r})\n"
                 + "".join(f"import {name[1:]}\n" for name in BUILT)
                 + "records = [cls() for module in list(sys.modules.values()) if module.__name__.startswith('qx_api')\n"
                   "           for cls in vars(module).values() if isinstance(cls, type) and hasattr(cls, '__swig_destroy__')]\n"
                   "view = qx_api.Qx_InterfaceInfo_t().Parameters\n"
                   "arrays = [cls(2) for name, cls in vars(qx_storage).items()\n"
                   "          if isinstance(cls, type) and name.endswith('_array') and not name.startswith('_')]\n"
                   "arrays += [getattr(qx_storage, name)(2) for name in dir(qx_storage)\n"
                   "           if name.startswith('new_') and name.endswith('_array')]\n"
                   "items = [array[1] for array in arrays if not callable(getattr(array, 'own', None))]\n"
                   "cell = qx_storage.new_Qx_Trovix_SignalBlock_pp()\n", id="proxies"),
]
BARE = "import _qx_empty"


@pytest.fixture(scope="module")
def memcheck(tmp_path_factory):
    """{code: the definitely lost blocks of this interpreter running code}
    for the bare run and every run of the check, with the build's modules
    importable; the runs go side by side."""
    valgrind = shutil.which("valgrind")
    assert valgrind, "valgrind is needed (scripts/setup.sh installs it)"
    # Every allocation through malloc, so that memcheck sees the objects too;
    # one hash seed, so that every run does the same.
    env = qxtest.child_env(BUILD_PYTHON, PYTHONMALLOC="malloc", PYTHONHASHSEED="0")
    folder = tmp_path_factory.mktemp("memcheck")
    runs = {}
    for number, code in enumerate([BARE] + [run.values[0] for run in EXIT_RUNS]):
        report = folder / f"{number}.xml"
        runs[code] = report, subprocess.Popen(
            [valgrind, "--leak-check=full", "--show-leak-kinds=definite", "--num-callers=64", "--xml=yes",
             f"--xml-file={report}", sys.executable, "-c", code],
            env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    failed = {}
    for code, (_, child) in runs.items():
        _, errors = child.communicate(timeout=600)
        if child.returncode != 0:
            failed[code] = errors
    assert not failed, failed
    return {code: list(lost_blocks(report.read_text())) for code, (report, _) in runs.items()}


@needs_memcheck
@pytest.mark.parametrize("code", EXIT_RUNS)
def test_exit_leaves_nothing_of_the_modules_definitely_lost(code, memcheck):
    build = os.path.realpath(os.environ["QX_BUILD_DIR"])
    bare = {native_stack(frames, build) for _, _, frames in memcheck[BARE]}
    own = [(size, blocks, frames) for size, blocks, frames in memcheck[code] if modules_own(frames, build, bare)]
    assert not own, "\n\n".join(f"{size} bytes in {blocks} blocks, allocated at\n"
                                 + "\n".join(f"  {function} ({obj})" for function, obj in frames)
                                 for size, blocks, frames in own)


# Every reference to an object is held by an object the collector can list,
# or from C. The reference check (tests/rules/references_driver.py) counts
# both for every object, before and after a run that imports the modules,
# registers a class for every record and tears the shared table down: what
# the run made may be held from C only where the driver's list of objects
# held on purpose says so, and what existed before only as often as before.
# A reference kept too many, an object nothing reaches, a registration the
# teardown keeps: each is held from C. The proxy modules' code is not walked
# (code objects hold their constants without the collector listing them),
# so the proxy row is memcheck's alone.
@pytest.mark.parametrize("names", [pytest.param(names, id=row) for row, names in MODULE_ROWS.items()])
def test_modules_hold_from_c_only_what_they_declare(names):
    out = run_child(os.path.join(os.path.dirname(__file__), "references_driver.py"), *names)
    assert out.returncode == 0, out.stderr
    *held, made = out.stdout.splitlines()
    assert made.startswith("made: ") and int(made.split()[1]) > 0
    assert not held, "\n".join(held)


def import_orders(names):
    """Each module alone, then all of them in the build's order, reversed,
    and with the first one last: the capsule is made by each module in turn,
    and joined by the others in both directions."""
    orders = [[name] for name in names]
    for order in (names, names[::-1], names[1:] + names[:1]):
        if len(order) > 1 and order not in orders:
            orders.append(order)
    return orders


@pytest.mark.parametrize("order", import_orders(BUILT), ids="+".join)
def test_exit_frees_every_registered_class_and_record(order):
    """The teardown releases the registrations of every module's types,
    whichever module made the capsule, and only after the last record: one
    left in a reference cycle is freed by its class's destructor at exit."""
    records = sum(1 for name in order for key in vars(importlib.import_module(name)) if key.endswith("_swigregister"))
    out = run_child(os.path.join(os.path.dirname(__file__), "freed_at_exit_driver.py"), *order)
    assert out.returncode == 0 and not out.stderr, out.stderr
    lines = out.stdout.splitlines()
    registered = collections.Counter(line.split()[1] for line in lines if line.startswith("registered "))
    freed = collections.Counter(line.split()[1] for line in lines if line.startswith("freed "))
    assert sum(registered.values()) == records
    assert freed == registered, f"not freed: {sorted((registered - freed).elements())}"
    assert len(lines) == 2 * records, lines  # nothing else, no leak warning
