"""Calls every callable of every built module with bad arguments, and with
arguments that run Python code while the call converts them (Reentrant).

Run as a script in a fresh interpreter (tests/test_robustness.py): each call
must raise a Python exception or return; a crash ends the process. Prints
the number of callables tried and of calls made.

With --this-raises, puts an object whose "this" raises an exception of its
own (Spy) at every position of every callable instead, alone and as the
item of a list, and checks that wherever a call looked the attribute up,
it raised that very exception (ThisSweep). Prints the positions reached and
each one where the exception was lost.
"""
import importlib
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from qxtest import built_modules  # noqa: E402

ARITY_ERROR = re.compile(r"expected \d+ arguments, got|takes (no arguments|exactly one argument)")


def views(base):
    """Views of other records' members: an array member (reaching 8 bytes), a
    nested record, and the same two of records that were deleted since."""
    alive, gone = base.new_Qx_Data_t(), base.new_Qx_Data_t()
    info_alive, info_gone = base.new_Qx_InterfaceInfo_t(), base.new_Qx_InterfaceInfo_t()
    made = [base.Qx_Data_t_U16_get(alive), base.Qx_Data_t_U16_get(gone),
            base.Qx_InterfaceInfo_t_Parameters_get(info_alive), base.Qx_InterfaceInfo_t_Parameters_get(info_gone)]
    base.delete_Qx_Data_t(gone)
    base.delete_Qx_InterfaceInfo_t(info_gone)
    return made


def bad_values(base):
    wrong_pointer = base.new_char_p()
    return [None, "str", 1.5, -1, 2**32, 2**64, list(range(10000)), object(), wrong_pointer, b"\xff", (1, "x")] + views(base)


class Reentrant:
    """An argument that runs Python code while the call converts it: its
    "this" (and, from CPython 3.12 on, its buffer) first tries to delete the
    call's other arguments, then gives a fresh array that only the call
    holds. The modules must refuse to free what the call holds, and keep
    the fresh array while they use it."""

    def __init__(self, storage, victims):
        self.storage, self.victims = storage, victims

    def _delete_victims(self):
        for delete, victim in self.victims:
            try:
                delete(victim)
            except Exception:
                pass

    @property
    def this(self):
        self._delete_victims()
        return self.storage.new_u8_array(64)

    def __buffer__(self, flags):
        self._delete_victims()
        return memoryview(bytearray(64))


def reentrant_lists(base, storage, count):
    """For each position of a call of `count` arguments: a Reentrant there,
    storage the call may hold everywhere else (an array, a record)."""
    lists = []
    for position in range(count):
        args, victims = [], []
        for index in range(count):
            if index == position:
                args.append(None)
                continue
            made = (storage.new_u8_array(64), storage.delete_u8_array) if index % 2 else \
                (base.new_Qx_Data_t(), base.delete_Qx_Data_t)
            args.append(made[0])
            victims.append((made[1], made[0]))
        args[position] = Reentrant(storage, victims)
        lists.append((args, victims))
    return lists


def arity(function):
    for count in range(0, 12):
        try:
            function(*[0] * count)
        except TypeError as e:
            if ARITY_ERROR.search(str(e)):
                continue
            return count
        except Exception:
            return count
        return count
    return None


class ThisRaised(Exception):
    pass


class Spy:
    """An object whose "this" raises an exception of its own, noting that
    it was looked up."""

    def __init__(self):
        self.looked, self.raised = False, ThisRaised()

    @property
    def this(self):
        self.looked = True
        raise self.raised


ARGUMENT = re.compile(r"argument (\d+) of type '([^']*)'")
# Values that the positions before the Spy take in turn, until the call
# converts them all and reaches the Spy; then an object of the type that
# the position's message names (ThisSweep.made).
FILLERS = [0, None, [], ""]


class ThisSweep:
    """For each position of a callable: the Spy there (and [Spy]), the
    earlier positions given FILLERS until the call reaches the Spy. A
    position the call converts without looking at "this" (an int, a list of
    ints, a text) is left once its own argument fails."""

    def __init__(self, modules, storage):
        self.modules, self.storage = modules, storage
        self.reached, self.lost = 0, []
        self.objects = {}  # one object of each type named, made once

    def made(self, ctype):
        """An object of the pointer (or record) type `ctype` that a message
        named: a record, an array of 4096 elements or a block cell made by
        the modules; None where none is made."""
        if ctype not in self.objects:
            plain = ctype.replace("const", "").replace("struct ", "").replace(" ", "")
            base = plain.split("[")[0].rstrip("*")
            short = base[:-2] if base.endswith("_t") else base
            makers = [(m, "new_" + base, ()) for m in self.modules]
            if plain.endswith("**"):
                makers = [(self.storage, f"new_{short}_pp", ())]
            elif base == "void":
                makers = [(self.storage, "new_u8_array", (4096,))]
            else:
                makers.append((self.storage, f"new_{short}_array", (4096,)))
            self.objects[ctype] = next((getattr(m, n)(*a) for m, n, a in makers if hasattr(m, n)), None)
        return self.objects[ctype]

    def callable(self, name, function, count):
        options = [list(FILLERS) for _ in range(count)]
        chosen = [0] * count
        confirmed = 0  # positions before this one convert with their fillers
        for position in range(count):
            for listed in (False, True):
                for _ in range(8 * count + 8):
                    spy = Spy()
                    args = [options[i][chosen[i]] for i in range(count)]
                    args[position] = [spy] if listed else spy
                    try:
                        function(*args)
                        outcome = None
                    except Exception as e:
                        outcome = e
                    if spy.looked:
                        if outcome is spy.raised:
                            self.reached += 1
                        else:
                            self.lost.append(f"{name} argument {position + 1}{' in a list' if listed else ''}: "
                                             f"{type(outcome).__name__}: {outcome}")
                        confirmed = max(confirmed, position)
                        break
                    found = ARGUMENT.search(str(outcome)) if outcome is not None else None
                    failed = int(found.group(1)) - 1 if found else None
                    if failed is not None and failed >= position:
                        break  # converted, or refused, without looking at "this"
                    if failed is None:
                        # The message names no position: the first one not
                        # yet known to convert, if any.
                        failed = confirmed if confirmed < position else None
                        if failed is None:
                            break
                    elif len(options[failed]) == len(FILLERS):  # no object of its type tried yet
                        made = self.made(found.group(2))
                        if made is not None:
                            options[failed].append(made)
                    chosen[failed] += 1
                    if chosen[failed] == len(options[failed]):
                        chosen[failed] -= 1
                        break


def this_sweep():
    names = built_modules()
    sweep = ThisSweep([importlib.import_module(name) for name in names], importlib.import_module("_qx_storage"))
    for name in names:
        module = importlib.import_module(name)
        before = sweep.reached
        for attr, function in list(vars(module).items()):
            if not callable(function) or attr.startswith("__") or attr == "trialprint" or \
                    attr.endswith("_swigregister"):
                continue
            count = arity(function)
            if count:
                sweep.callable(f"{name}.{attr}", function, count)
        print(f"this-raises: {name} {sweep.reached - before} positions reached", flush=True)
    for line in sweep.lost:
        print("lost:", line, flush=True)
    return 1 if sweep.lost else 0


def main():
    if sys.argv[1:] == ["--this-raises"]:
        return this_sweep()
    base = importlib.import_module("_qx_api")
    storage = importlib.import_module("_qx_storage")
    # Made once, before the sweep registers hostile "classes" for the types.
    values = bad_values(base)
    calls = callables = 0
    # Every built module is tried; one that fails to import ends the run.
    for name in built_modules():
        module = importlib.import_module(name)
        for attr, function in list(vars(module).items()):
            if not callable(function) or attr.startswith("__") or attr == "trialprint":
                continue
            count = arity(function)
            if count is None:
                continue
            callables += 1
            argument_lists = [[], [0] * (count + 1)]
            for value in values:
                argument_lists.append([value] * count)
                # One argument: the value in every position is the list above.
                for position in range(count if count > 1 else 0):
                    args = [0] * count
                    args[position] = value
                    argument_lists.append(args)
            for args in argument_lists:
                calls += 1
                try:
                    function(*args)
                except Exception:
                    pass
            for args, victims in reentrant_lists(base, storage, count):
                calls += 1
                try:
                    function(*args)
                except Exception:
                    pass
                for delete, victim in victims:  # what the call let go of is freed
                    delete(victim)
    print(f"robustness: {callables} callables, {calls} calls", flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
