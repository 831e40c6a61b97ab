"""CI: adding a library is its line in libraries.cmake and its own folders.

Copies the project's sources into a temporary folder, adds there the toy
library of .ci/toy/ (api/toy/, bindings/toy/, sim/toy/, tests/toy/ and its
test helpers tests/helpers/helpers_toy.i) and its registry line, and builds
the copy with the other libraries but base left out on request, which keeps
it fast. Then:
  - configuring says what it leaves out, and the build lists the toy's module
    (and the storage module, which binds no library) as built and the others
    as left out;
  - the copy's whole test suite passes, the toy's tests among it, none
    skipped: among them, the array that the storage module makes of the
    toy's step record from the toy's params.txt row alone (the storage
    module's sources are not edited);
  - one more registry line, with the build not configured again (a build
    folder older than the library), fails the suite: a library of the
    registry that the build did not make never passes as skipped.
Nothing outside the temporary folder is written.
"""
import os
import shutil
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
TOY = os.path.join(ROOT, ".ci", "toy")
LEFT_OUT = ["common", "can", "trovix"]


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


def check(condition, message, output=""):
    if not condition:
        sys.exit(f"new library: {message}\n{output}")


def copy_sources(copy):
    """The project's sources as git sees them (tracked, or new and not
    ignored): no build folder."""
    listed = run("git", "-C", ROOT, "ls-files", "-z", "--cached", "--others", "--exclude-standard")
    check(listed.returncode == 0, "cannot list the sources", listed.stderr)
    for name in filter(None, listed.stdout.split("\0")):
        if name.startswith(".ci/") or not os.path.isfile(os.path.join(ROOT, name)):
            continue
        os.makedirs(os.path.dirname(os.path.join(copy, name)), exist_ok=True)
        shutil.copy2(os.path.join(ROOT, name), os.path.join(copy, name))


def lines(path):
    with open(path) as listing:
        return [line.strip() for line in listing if line.strip()]


def main():
    with tempfile.TemporaryDirectory() as copy:
        copy_sources(copy)
        shutil.copytree(TOY, copy, dirs_exist_ok=True)
        with open(os.path.join(copy, "libraries.cmake"), "a") as registry:
            registry.write("qx_library(toy     qx_api_toy       base)\n")

        build = os.path.join(copy, "build")
        configured = run("cmake", "-S", copy, "-B", build, f"-DPython3_EXECUTABLE={sys.executable}",
                         f"-DQX_SKIP_LIBRARIES={';'.join(LEFT_OUT)}")
        check(configured.returncode == 0, "configuring failed", configured.stdout + configured.stderr)
        said = f"Libraries left out on request (QX_SKIP_LIBRARIES): {', '.join(LEFT_OUT)}"
        check(said in configured.stderr, f"configuring did not say: {said}", configured.stderr)
        built = run("cmake", "--build", build, "-j4")
        check(built.returncode == 0, "building failed", built.stdout[-5000:] + built.stderr[-5000:])
        python = os.path.join(build, "python")
        check(lines(os.path.join(python, "qx_modules.txt")) == ["_qx_api", "_qx_api_toy", "_qx_storage"],
              "qx_modules.txt does not list _qx_api, _qx_api_toy and the storage module")
        check(lines(os.path.join(python, "qx_left_out.txt")) == ["_qx_api_" + key for key in LEFT_OUT],
              "qx_left_out.txt does not list the modules left out")

        # The suite's output goes to the CI log, its summary line with it.
        env = dict(os.environ, QX_BUILD_DIR=build)
        report = os.path.join(copy, "report.xml")
        tested = subprocess.run([sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider",
                                 f"--junitxml={report}", os.path.join(copy, "tests")], env=env)
        check(tested.returncode == 0, "the copy's test suite failed")
        toy_cases = [case for case in ElementTree.parse(report).iter("testcase")
                     if case.get("classname", "").endswith("toy.test_toy")]
        check(toy_cases, "the toy's tests did not run")
        check(not any(len(case) for case in toy_cases), "a test of the toy did not pass")

        with open(os.path.join(copy, "libraries.cmake"), "a") as registry:
            registry.write("qx_library(toy2    qx_api_toy2      base)\n")
        stale = run(sys.executable, "-m", "pytest", "-q", "-p", "no:cacheprovider",
                    os.path.join(copy, "tests", "test_module_list.py"), env=env)
        check(stale.returncode != 0 and "_qx_api_toy2" in stale.stdout,
              "a registry library the build did not make passed", stale.stdout)
    print(f"new library: toy built from its registry line and folders, {len(toy_cases)} of its tests passed; "
          "a registry library the build did not make fails the suite")


if __name__ == "__main__":
    main()
