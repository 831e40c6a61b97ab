#!/usr/bin/env python3
"""Generates the journaling bodies of a simulated native library.

For every function that the HEADERs declare, writes a C definition that journals
its arguments (sim/core/qxsim.h), runs the hand-written behaviour `sim_<name>`
when the library defines one, writes scripted outputs and returns the
scripted or behaviour status. Also writes a header declaring each behaviour
with the function's own parameter list, so that hand-written behaviours are
checked against the declarations by the compiler.

Byte counts of pointer arguments default to the size of the pointed-to type;
SIZES (lines `Function parameter C-expression`) gives others, such as the
length argument of an input byte buffer.
"""
import argparse
import copy
import os
import subprocess
import sys

from pycparser import c_ast, c_generator, c_parser

UNSIGNED = {"u8_t", "u16_t", "u32_t", "u64_t", "size_t", "unsigned", "char", "_Bool"}
SIGNED = {"s32_t", "s64_t", "int", "long", "short", "signed"}
FLOATING = {"float64_t", "double", "float"}


class Types:
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
        raise SystemExit(f"gen_journal: cannot classify type {node}")

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


def type_name(node):
    if isinstance(node, c_ast.TypeDecl) and isinstance(node.type, c_ast.IdentifierType):
        return node.type.names[-1]
    return None


def type_text(gen, node):
    """C text of a (return) type without its declarator name."""
    node = copy.deepcopy(node)
    inner = node
    while not isinstance(inner, c_ast.TypeDecl):
        inner = inner.type
    inner.declname = None
    return gen._generate_type(node)


def parse(headers, includes, stub):
    cmd = ["cc", "-E", "-nostdinc", "-I", stub]
    for inc in includes:
        cmd += ["-I", inc]
    source = "".join(f'#include "{os.path.abspath(h)}"\n' for h in headers)
    cmd += ["-x", "c", "-"]
    text = subprocess.run(cmd, check=True, capture_output=True, text=True, input=source).stdout
    return c_parser.CParser().parse(text, filename="<headers>")


def load_sizes(path):
    sizes = {}
    if path and os.path.exists(path):
        for line in open(path):
            line = line.split("#", 1)[0].strip()
            if line:
                function, param, expr = line.split(None, 2)
                sizes[(function, param)] = expr
    return sizes


def generate(ast, headers, sizes):
    types = Types(ast)
    gen = c_generator.CGenerator()
    own = {os.path.realpath(h) for h in headers}
    bodies, protos = [], []
    for node in ast.ext:
        if not (isinstance(node, c_ast.Decl) and isinstance(node.type, c_ast.FuncDecl)):
            continue
        if os.path.realpath(node.coord.file) not in own:
            continue
        name = node.name
        func = node.type
        params = []
        if func.args:
            for p in func.args.params:
                if isinstance(p, c_ast.Typename) and types.is_void(p.type):
                    continue
                params.append(p)

        behaviour = copy.deepcopy(node)
        behaviour.name = "sim_" + name
        inner = behaviour.type.type
        while not isinstance(inner, c_ast.TypeDecl):
            inner = inner.type
        inner.declname = "sim_" + name
        behaviour.storage = ["extern"]
        protos.append(gen.visit(behaviour) + " __attribute__((weak));")

        ret = func.type
        void_ret = types.is_void(ret)
        ret_kind = None if void_ret else types.scalar_kind(ret)
        status = type_name(ret) == "Qx_Error_t"
        text_ret = isinstance(ret, c_ast.PtrDecl) and types.is_char(ret.type)

        lines = [gen.visit(node) + " {", f'  qxsim_call *qx_call = qxsim_begin("{name}");']
        if not void_ret:
            lines.append(f"  {type_text(gen, ret)} qx_result = 0;")
        outputs = []
        for index, p in enumerate(params, 1):
            kind = types.scalar_kind(p.type)
            pname = p.name
            if kind == "u":
                lines.append(f"  qxsim_arg_unsigned(qx_call, (uint64_t)({pname}));")
            elif kind == "s" and types.is_enum(p.type):
                # An enumeration travels as a signed int, whatever the
                # compiler's underlying type for it.
                lines.append(f"  qxsim_arg_signed(qx_call, (int64_t)(int)({pname}));")
            elif kind == "s":
                lines.append(f"  qxsim_arg_signed(qx_call, (int64_t)({pname}));")
            elif kind == "f":
                lines.append(f"  qxsim_arg_double(qx_call, (double)({pname}));")
            elif kind == "r":
                lines.append(f"  qxsim_arg_record(qx_call, &{pname}, sizeof {pname});")
            else:
                ptr = types.resolve(p.type)
                target = ptr.type
                const_target = isinstance(target, c_ast.TypeDecl) and "const" in target.quals
                if (name, pname) in sizes:
                    size = sizes[(name, pname)]
                    lines.append(f"  qxsim_arg_pointer(qx_call, (const void *)({pname}), (size_t)({size}));")
                elif types.is_char(target) and const_target:
                    lines.append(f"  qxsim_arg_text(qx_call, (const char *)({pname}));")
                elif isinstance(target, c_ast.FuncDecl) or types.is_void(target) or types.is_char(target):
                    lines.append(f"  qxsim_arg_pointer(qx_call, (const void *)({pname}), 0);")
                else:
                    lines.append(f"  qxsim_arg_pointer(qx_call, (const void *)({pname}), sizeof *({pname}));")
                if not const_target and not isinstance(target, c_ast.FuncDecl):
                    outputs.append((index, pname))
        call = f"sim_{name}({', '.join(p.name for p in params)})"
        if void_ret:
            lines.append(f"  if (!qxsim_scripted(qx_call) && sim_{name}) {call};")
        else:
            lines.append(f"  if (!qxsim_scripted(qx_call) && sim_{name}) qx_result = {call};")
        for index, pname in outputs:
            lines.append(f"  qxsim_output(qx_call, {index}, (void *)({pname}));")
        if void_ret:
            lines.append("  qxsim_end(qx_call);")
        elif status:
            lines.append("  return qxsim_end_status(qx_call, qx_result);")
        elif text_ret:
            lines.append("  return qxsim_end_text(qx_call, qx_result);")
        elif ret_kind == "p":
            lines.append("  qxsim_end(qx_call);")
            lines.append("  return qx_result;")
        else:
            lines.append(f"  return ({type_text(gen, ret)})qxsim_end_result(qx_call, (uint64_t)qx_result);")
        lines.append("}")
        bodies.append("\n".join(lines))
    return protos, bodies


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    ap.add_argument("--header", action="append", required=True)
    ap.add_argument("--include", action="append", default=[])
    ap.add_argument("--stub", required=True)
    ap.add_argument("--sizes")
    ap.add_argument("--out-c", required=True)
    ap.add_argument("--out-h", required=True)
    args = ap.parse_args()

    ast = parse(args.header, args.include, args.stub)
    protos, bodies = generate(ast, args.header, load_sizes(args.sizes))
    bases = [os.path.basename(h) for h in args.header]
    base = ", ".join(bases)
    guard = os.path.basename(args.out_h).upper().replace(".", "_")
    with open(args.out_h, "w") as h:
        h.write(f"/* Generated from {base}: behaviours of the simulated library. */\n")
        h.write(f"#ifndef {guard}\n#define {guard}\n")
        h.write("".join(f'#include "{b}"\n' for b in bases))
        h.write('#include "qxsim.h"\n\n')
        h.write("\n".join(protos))
        h.write(f"\n\n#endif\n")
    with open(args.out_c, "w") as c:
        c.write(f"/* Generated from {base}: journaling bodies of the simulated library. */\n")
        c.write(f"#include \"{os.path.basename(args.out_h)}\"\n\n")
        c.write("\n\n".join(bodies))
        c.write("\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
