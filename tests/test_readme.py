"""The README's Python blocks: each runs as it stands, as a new user runs it
after scripts/example.sh: in a fresh interpreter (this one's executable) from
a folder of its own, with the build's one folder of modules (<build>/python)
on PYTHONPATH and no other path or variable of the build. It must end with
status 0 and print nothing on stderr and no leak warning. A block that
imports a module the build was asked to leave out is skipped."""
import os
import re

import pytest

import qxtest

README = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "README.md")


def python_blocks():
    """(line, code) of every ```python block of the README, `line` being the
    number of the block's first line of code."""
    with open(README) as text:
        readme = text.read()
    return [(readme.count("\n", 0, block.start(1)) + 1, block.group(1))
            for block in re.finditer(r"^```python\n(.*?)^```$", readme, re.DOTALL | re.MULTILINE)]


@pytest.mark.parametrize("line, code", [pytest.param(line, code, id=f"line {line}") for line, code in python_blocks()])
def test_readme_block_runs_clean(tmp_path, line, code):
    left_out = [module for module in qxtest.system_modules(code) if module in qxtest.left_out_modules()]
    if left_out:
        pytest.skip(f"the block imports {', '.join(left_out)}, left out of this build (QX_SKIP_LIBRARIES)")
    script = tmp_path / "block.py"
    script.write_text(code)
    env = {k: v for k, v in os.environ.items() if k not in ("PYTHONPATH", "QX_BUILD_DIR")}
    env["PYTHONPATH"] = qxtest.proxy_folder()
    out, faults = qxtest.run_script(str(script), tmp_path, env)
    assert not faults, f"README.md, the block at line {line}: " + "; ".join(faults) + "\nstdout:\n" + out
