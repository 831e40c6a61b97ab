#!/usr/bin/env python3
"""Generates a null native library: every function that the HEADERs declare
returns at once, without touching its arguments.

- A status (Qx_Error_t) is 0, success; other results are 0 or NULL.
- Output cells and buffers are left as the caller set them: a count cell
  holding a capacity stays at the capacity, so a capacity-sized list comes
  back full (every item converted), which is what the list-out cases time.
- Qx_GetLastErrorDescription returns a fixed text.
- Qx_CheckPortHandle fails on purpose (status 1), so that the cost of a
  failed status (raising the last-error text) can be measured.
"""
import argparse
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "sim", "gen"))

from gen_journal import Types, add_header_arguments, parse_headers  # noqa: E402
from pycparser import c_ast, c_generator  # noqa: E402

LAST_ERROR_TEXT = "null library: the call failed on purpose"
FAILING_FUNCTION = "Qx_CheckPortHandle"


def generate(ast, headers):
    types = Types(ast)
    gen = c_generator.CGenerator()
    own = {os.path.realpath(h) for h in headers}
    bodies = []
    for node in ast.ext:
        if not (isinstance(node, c_ast.Decl) and isinstance(node.type, c_ast.FuncDecl)):
            continue
        if os.path.realpath(node.coord.file) not in own:
            continue
        func = node.type
        lines = [gen.visit(node) + " {"]
        for p in (func.args.params if func.args else []):
            if isinstance(p, c_ast.Typename) and types.is_void(p.type):
                continue
            lines.append(f"  (void){p.name};")
        if node.name == "Qx_GetLastErrorDescription":
            lines.append(f'  return "{LAST_ERROR_TEXT}";')
        elif node.name == FAILING_FUNCTION:
            lines.append("  return 1;")
        elif not types.is_void(func.type):
            lines.append("  return 0;")
        lines.append("}")
        bodies.append("\n".join(lines))
    return bodies


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    add_header_arguments(ap)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    ast = parse_headers(args)
    bodies = generate(ast, args.header)
    with open(args.out, "w") as out:
        names = ", ".join(os.path.basename(h) for h in args.header)
        out.write(f"/* Generated from {names}: null bodies, each returns at once. */\n")
        out.write("".join(f'#include "{os.path.basename(h)}"\n' for h in args.header))
        out.write("\n" + "\n\n".join(bodies) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
