/*
 * _qx_empty: an extension module of the same kind as the modules (created
 * in one step by its init function, with a method table) that holds
 * nothing. The exit check imports it to learn what the interpreter itself
 * loses for any such module.
 */
#define PY_SSIZE_T_CLEAN
#include <Python.h>

static PyMethodDef qx_empty_methods[] = {{NULL, NULL, 0, NULL}};

static struct PyModuleDef qx_empty_module = {
    PyModuleDef_HEAD_INIT, "_qx_empty", NULL, -1, qx_empty_methods, NULL, NULL, NULL, NULL,
};

PyMODINIT_FUNC PyInit__qx_empty(void) { return PyModule_Create(&qx_empty_module); }
