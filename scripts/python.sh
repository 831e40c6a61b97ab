# Sourced by the scripts: chooses the interpreter the modules are built for
# and run under, and its build folder.
#   QX_PYTHON=<interpreter>  that one; else CPython 3.12 where pyenv has it
#                            (`pyenv prefix 3.12`: its python3.12 shim fails
#                            unless that version is selected), else Debian's
#                            /usr/bin/python3
# qx_python sets QX_PYTHON to the interpreter's own path, QX_PYTHON_NAME to
# its name and version ("CPython 3.12.1") and QX_BUILD_NAME to the name of
# its build folder below build/ (scripts/interpreter.py): each interpreter,
# each virtual environment among them, builds into a folder of its own.
# qx_build_dir prints the folder a script builds into: BUILD_DIR if set,
# else build/<QX_BUILD_NAME>, with -sanitize for QX_SANITIZE=ON.
# qx_pyenv_python <version>: prints the interpreter of that version (3.12)
# that pyenv has, or fails.
qx_pyenv_python() {
  local pyenv prefix
  pyenv=$(command -v pyenv || echo "${PYENV_ROOT:-$HOME/.pyenv}/bin/pyenv")
  [ -x "$pyenv" ] && prefix=$("$pyenv" prefix "$1" 2>/dev/null) && [ -x "$prefix/bin/python$1" ] &&
    echo "$prefix/bin/python$1"
}

qx_default_python() {
  qx_pyenv_python 3.12 || echo /usr/bin/python3
}

qx_python() {
  local chosen=${QX_PYTHON:-} named
  [ -n "$chosen" ] || chosen=$(qx_default_python)
  if ! command -v "$chosen" >/dev/null; then
    echo "${QX_PYTHON:+QX_PYTHON=}$chosen: there is no such interpreter. Name one by its full path" \
      "(QX_PYTHON=\$(pyenv prefix 3.12)/bin/python3.12, QX_PYTHON=/usr/bin/python3), or leave QX_PYTHON" \
      "unset for CPython 3.12 where pyenv has it, else /usr/bin/python3." >&2
    exit 1
  fi
  if ! named=$("$chosen" "$(dirname "${BASH_SOURCE[0]}")/interpreter.py" 2>&1); then
    echo "QX_PYTHON: $chosen does not run:" >&2
    echo "$named" >&2
    exit 1
  fi
  { read -r QX_PYTHON; read -r QX_PYTHON_NAME; read -r QX_BUILD_NAME; } <<<"$named"
  export QX_PYTHON
}

qx_build_dir() {
  local suffix=""
  [ "${QX_SANITIZE:-OFF}" = ON ] && suffix=-sanitize
  echo "${BUILD_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/build/$QX_BUILD_NAME$suffix}"
}
