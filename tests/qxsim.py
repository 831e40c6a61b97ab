"""Access to the simulated device's control interface (sim/core/qxsim.h).

Works on the very libqx_api.so that the imported modules loaded, so the
journal it reads is the one the bindings' native calls wrote.
"""
import ctypes
import struct


def mapped_files(lines):
    """The files mapped in lines of /proc/<pid>/maps, in order: the sixth
    field of each line that has one, which is the rest of the line (a path
    may hold spaces)."""
    for line in lines:
        fields = line.rstrip("\n").split(None, 5)
        if len(fields) == 6 and fields[5].startswith("/"):
            yield fields[5]


def _loaded_library(name):
    with open("/proc/self/maps") as maps:
        for path in mapped_files(maps):
            if path.endswith("/" + name):
                return path
    raise RuntimeError(f"{name} is not loaded; import _qx_api first")


class Arg:
    """One journaled argument: kind ('u', 's', 'f', 'p', 'r', 't'), value,
    whether it was NULL, the bytes it pointed to at call time as the journal
    kept them, and how many bytes it pointed to in all (`size`, more than
    len(bytes) where the journal kept only the first ones)."""

    def __init__(self, kind, value, is_null, data, size):
        self.kind = kind
        self.is_null = bool(is_null)
        self.bytes = data
        self.size = size
        if kind == "s":
            value = value - (1 << 64) if value >= 1 << 63 else value
        elif kind == "f":
            value = struct.unpack("<d", struct.pack("<Q", value))[0]
        self.value = value

    @property
    def text(self):
        """A journaled text without its terminating zero byte."""
        return None if self.is_null else self.bytes[:-1]

    def __repr__(self):
        return f"Arg({self.kind!r}, value={self.value!r}, null={self.is_null}, bytes={self.bytes!r})"


class Entry:
    def __init__(self, function, args):
        self.function = function
        self.args = args

    def arg(self, number):
        """Argument `number`, counted from 1 as in the bindings' messages."""
        return self.args[number - 1]

    def __repr__(self):
        return f"Entry({self.function!r}, {self.args!r})"


class Sim:
    """The simulated device's journal, call counts and scripts.

    A script (a status, a result, a text result, an output, the last-error
    text) stays in force for every later call of its function until
    reset(), or until the same script is given again. A scripted output
    fills its argument only as far as the argument's room (see output()).
    """

    def __init__(self, path=None):
        lib = ctypes.CDLL(path or _loaded_library("libqx_api.so"))
        lib.qxsim_journal_function.restype = ctypes.c_char_p
        lib.qxsim_journal_arg_value.restype = ctypes.c_uint64
        lib.qxsim_journal_arg_size.restype = ctypes.c_longlong
        lib.qxsim_journal_dropped.restype = ctypes.c_longlong
        lib.qxsim_script_status.argtypes = [ctypes.c_char_p, ctypes.c_uint32]
        lib.qxsim_script_result.argtypes = [ctypes.c_char_p, ctypes.c_uint64]
        lib.qxsim_script_error_text.argtypes = [ctypes.c_char_p, ctypes.c_int]
        lib.qxsim_script_text_result.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int]
        lib.qxsim_script_output.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.c_char_p, ctypes.c_int]
        self.lib = lib

    def reset(self):
        """Empties the journal (and its count of dropped entries), drops
        every call count and every script, clears the last error, and puts
        the device back in its start state: every port closed, every lock
        dropped, the interfaces' names as at start, and each simulated
        library's state reset by its reset hook."""
        self.lib.qxsim_reset()

    def calls(self, function):
        """Exact number of calls of `function` since the last reset."""
        return self.lib.qxsim_call_count(function.encode())

    def journal_capacity(self):
        """Most entries the journal keeps (the most recent calls)."""
        return self.lib.qxsim_journal_capacity()

    def journal_arg_capacity(self):
        """Most bytes the journal keeps of one argument."""
        return self.lib.qxsim_journal_arg_capacity()

    def dropped(self):
        """Entries dropped since the last reset to keep the journal bounded."""
        return self.lib.qxsim_journal_dropped()

    def journal(self):
        lib = self.lib
        entries = []
        for e in range(lib.qxsim_journal_length()):
            args = []
            for a in range(1, lib.qxsim_journal_arg_count(e) + 1):
                size = lib.qxsim_journal_arg_bytes(e, a, None, 0)
                buf = ctypes.create_string_buffer(max(size, 1))
                lib.qxsim_journal_arg_bytes(e, a, buf, size)
                args.append(Arg(chr(lib.qxsim_journal_arg_kind(e, a)), lib.qxsim_journal_arg_value(e, a),
                                lib.qxsim_journal_arg_is_null(e, a), buf.raw[:size],
                                lib.qxsim_journal_arg_size(e, a)))
            entries.append(Entry(lib.qxsim_journal_function(e).decode(), args))
        return entries

    def entries(self, function):
        return [e for e in self.journal() if e.function == function]

    def last(self, function):
        """The last journaled call of `function` (AssertionError if none)."""
        found = self.entries(function)
        assert found, f"{function} was not called"
        return found[-1]

    def fail(self, function, status=0x1234, text=None):
        """Scripts a failing status for `function` and, optionally, the last
        error text (bytes, or None for a NULL text)."""
        self.lib.qxsim_script_status(function.encode(), status)
        if text is not None:
            self.error_text(text)

    def error_text(self, text):
        """Scripts the text of Qx_GetLastErrorDescription; None is NULL."""
        if text is None:
            self.lib.qxsim_script_error_text(None, -1)
        else:
            self.lib.qxsim_script_error_text(text, len(text))

    def output(self, function, arg, data):
        """Scripts the bytes written into argument `arg` of `function` on
        every later call (until reset()), when the argument is not NULL.

        They are bounded by the argument's room, the bytes the call may
        write as the journal sizes them at call entry (the length or
        capacity beside a buffer, the records a count cell gives, 8 bytes
        for each signal of a Trovix signal block and none for a block the
        port does not have, else one element). Bytes that fit are written,
        a shorter script writing its own bytes only. A longer script writes
        nothing into the argument and fails the call, over whatever status
        the call would have returned: the last error (the bindings'
        exception) reads "<function>: scripted output of <n> bytes for
        argument <arg> (<name>) exceeds its <room> bytes". A function that
        returns a value rather than a status returns as usual, with that
        last error set."""
        self.lib.qxsim_script_output(function.encode(), arg, bytes(data), len(data))

    def result(self, function, value):
        self.lib.qxsim_script_result(function.encode(), value & (2**64 - 1))

    def text_result(self, function, text):
        if text is None:
            self.lib.qxsim_script_text_result(function.encode(), None, -1)
        else:
            self.lib.qxsim_script_text_result(function.encode(), text, len(text))
