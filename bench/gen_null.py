#!/usr/bin/env python3
"""Generates a null native library: every function that the HEADERs declare
(as the build's header walk, generators/header_walk.py, reads them) returns
at once, without touching its arguments.

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

from pycparser import c_generator

sys.path.insert(0, os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
from generators import header_walk  # noqa: E402

LAST_ERROR_TEXT = "null library: the call failed on purpose"
FAILING_FUNCTION = "Qx_CheckPortHandle"


def generate(library):
    gen = c_generator.CGenerator()
    bodies = []
    for function in library.functions:
        lines = [gen.visit(function.decl) + " {"]
        lines += [f"  (void){p.name};" for p in function.params]
        if function.name == "Qx_GetLastErrorDescription":
            lines.append(f'  return "{LAST_ERROR_TEXT}";')
        elif function.name == FAILING_FUNCTION:
            lines.append("  return 1;")
        elif not library.types.is_void(function.result):
            lines.append("  return 0;")
        lines.append("}")
        bodies.append("\n".join(lines))
    return bodies


def main():
    ap = argparse.ArgumentParser(description=__doc__)
    header_walk.add_arguments(ap)
    ap.add_argument("--out", required=True)
    args = ap.parse_args()
    try:
        bodies = generate(header_walk.read_arguments(args))
    except header_walk.WalkError as e:
        sys.exit(f"gen_null: {e}")
    with open(args.out, "w") as out:
        names = ", ".join(os.path.basename(h) for h in args.header)
        out.write(f"/* Generated from {names}: null bodies, each returns at once. */\n")
        out.write("".join(f'#include "{os.path.basename(h)}"\n' for h in args.header))
        out.write("\n" + "\n\n".join(bodies) + "\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
