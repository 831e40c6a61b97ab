/*
 * Compiled into every Python module with the module's own include paths and
 * flags, so it sees the very Python.h and pyconfig.h the module's wrapper
 * code sees. QX_PY_DEBUG is 1 when the interpreter the build found is a
 * debug build (cmake/QxModule.cmake). A module whose headers disagree would
 * load into that interpreter and then miscount every reference it takes or
 * drops: the build stops here instead.
 */
#define PY_SSIZE_T_CLEAN
#include <Python.h>

#ifndef QX_PY_DEBUG
#error "QX_PY_DEBUG must say whether the interpreter is a debug build"
#endif

#if defined(Py_DEBUG) != QX_PY_DEBUG
#if QX_PY_DEBUG
#error "the interpreter is a debug build, but the module is compiled without Py_DEBUG (release pyconfig.h found)"
#else
#error "the interpreter is a release build, but the module is compiled with Py_DEBUG"
#endif
#endif
