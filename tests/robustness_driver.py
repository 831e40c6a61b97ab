"""Calls every callable of every built module with bad arguments, and with
arguments that run Python code while the call converts them (Reentrant).

Run as a script in a fresh interpreter (tests/test_robustness.py): each call
must raise a Python exception or return; a crash ends the process. Prints
the number of callables tried and of calls made.
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


def main():
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
