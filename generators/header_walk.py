"""The one walk over a native library's headers that every generator reads.

    library = read(["api/can/qx_api_can.h", ...], includes=["api", "api/base", ...])

parses the headers once (the C preprocessor, then pycparser) and gives what
the library itself declares, in declaration order:

    library.functions  Function: name, decl (the declaration node), result
                       (its return type node), params [Param: name, decl, type]
                       (a `(void)` list is no parameter)
    library.records    Record: name (the typedef name), kind ("struct" or
                       "union"), node, complete (False for a record declared
                       without members), members [Member: name, type] (the
                       members of records declared in place included, in
                       order)
    library.types      Types over every typedef the parse saw (also those of
                       included headers): resolve(), scalar_kind(), ...

Declarations of the headers a library includes (qx_types.h, another
library's header) are seen by the parser but are not the library's own.

Generators built on it: the module's rule lines and the stand-in's journal
sizes (gen_params.py), the record-layout checks (gen_layout.py), the
stand-ins' journaling bodies (sim/gen_journal.py) and the benchmark's null
libraries (bench/gen_null.py).

The parser reads no system headers: stub/ holds the few C library headers
the declarations include, so api/qx_types.h itself is what the parser reads.
"""
import os
import subprocess
from collections import namedtuple

from pycparser import c_ast, c_parser

STUB = os.path.join(os.path.dirname(os.path.abspath(__file__)), "stub")

UNSIGNED = {"u8_t", "u16_t", "u32_t", "u64_t", "size_t", "unsigned", "char", "_Bool"}
SIGNED = {"s32_t", "s64_t", "int", "long", "short", "signed"}
FLOATING = {"float64_t", "double", "float"}


class WalkError(Exception):
    pass


class Types:
    """What a type node stands for, following typedef names."""

    def __init__(self, ast):
        self.typedefs = {}
        for node in ast.ext:
            if isinstance(node, c_ast.Typedef):
                self.typedefs[node.name] = node.type

    def resolve(self, node):
        """Follows typedef names down to a declaration that is not a name."""
        seen = 0
        while isinstance(node, c_ast.TypeDecl) and isinstance(node.type, c_ast.IdentifierType):
            name = node.type.names[-1]
            if name in self.typedefs and seen < 50:
                node = self.typedefs[name]
                seen += 1
            else:
                break
        return node

    def scalar_kind(self, node):
        """"u" unsigned, "s" signed (enumerations too), "f" floating, "r" a
        record, "p" a pointer."""
        node = self.resolve(node)
        if isinstance(node, c_ast.TypeDecl):
            inner = node.type
            if isinstance(inner, c_ast.Enum):
                return "s"
            if isinstance(inner, (c_ast.Struct, c_ast.Union)):
                return "r"
            if isinstance(inner, c_ast.IdentifierType):
                names = set(inner.names)
                if names & FLOATING:
                    return "f"
                if "unsigned" in names or names & UNSIGNED:
                    return "u"
                if names & SIGNED:
                    return "s"
        if isinstance(node, c_ast.PtrDecl):
            return "p"
        raise WalkError(f"cannot classify type {node}")

    def is_enum(self, node):
        node = self.resolve(node)
        return isinstance(node, c_ast.TypeDecl) and isinstance(node.type, c_ast.Enum)

    def is_void(self, node):
        node = self.resolve(node)
        return (isinstance(node, c_ast.TypeDecl) and isinstance(node.type, c_ast.IdentifierType)
                and node.type.names == ["void"])

    def is_char(self, node):
        node = self.resolve(node)
        return (isinstance(node, c_ast.TypeDecl) and isinstance(node.type, c_ast.IdentifierType)
                and node.type.names == ["char"])


Param = namedtuple("Param", "name decl type")
Function = namedtuple("Function", "name decl result params")
Member = namedtuple("Member", "name type")
Record = namedtuple("Record", "name kind node complete members")


class Library:
    def __init__(self, headers, ast):
        self.headers = list(headers)
        self.ast = ast
        self.types = Types(ast)
        own = {os.path.realpath(h) for h in headers}
        self.functions, self.records = [], []
        for node in ast.ext:
            if os.path.realpath(node.coord.file) not in own:
                continue
            if isinstance(node, c_ast.Decl) and isinstance(node.type, c_ast.FuncDecl):
                self.functions.append(self._function(node))
            elif (isinstance(node, c_ast.Typedef) and isinstance(node.type, c_ast.TypeDecl)
                  and isinstance(node.type.type, (c_ast.Struct, c_ast.Union))):
                record = node.type.type
                self.records.append(Record(node.name, "struct" if isinstance(record, c_ast.Struct) else "union",
                                           record, record.decls is not None, list(_members(record))))

    def _function(self, node):
        params = []
        for p in (node.type.args.params if node.type.args else []):
            if isinstance(p, c_ast.Typename) and self.types.is_void(p.type):
                continue
            params.append(Param(getattr(p, "name", None), p, p.type))
        return Function(node.name, node, node.type.type, params)


def _members(record):
    """Members of a record, those of records declared in place following
    their own member, depth first."""
    for decl in record.decls or []:
        yield Member(decl.name, decl.type)
        inner = decl.type
        while isinstance(inner, (c_ast.ArrayDecl, c_ast.PtrDecl)):
            inner = inner.type
        if isinstance(inner, c_ast.TypeDecl) and isinstance(inner.type, (c_ast.Struct, c_ast.Union)):
            yield from _members(inner.type)


def read(headers, includes=(), stub=STUB):
    """The Library that `headers` declare; `includes` are the directories
    their #include lines are found in."""
    cmd = ["cc", "-E", "-nostdinc", "-I", stub]
    for inc in includes:
        cmd += ["-I", inc]
    source = "".join(f'#include "{os.path.abspath(h)}"\n' for h in headers)
    cmd += ["-x", "c", "-"]
    proc = subprocess.run(cmd, capture_output=True, text=True, input=source)
    if proc.returncode:
        raise WalkError(f"the C preprocessor refused the headers:\n{proc.stderr}")
    return Library(headers, c_parser.CParser().parse(proc.stdout, filename="<headers>"))


def add_arguments(ap):
    """The options with which every generator names a library's headers."""
    ap.add_argument("--header", action="append", required=True, help="a header of the library (repeatable)")
    ap.add_argument("--include", action="append", default=[], help="an include directory (repeatable)")
    ap.add_argument("--stub", default=STUB, help="the C library headers as the parser sees them")


def read_arguments(args):
    """The Library named by add_arguments' options."""
    return read(args.header, args.include, args.stub)
