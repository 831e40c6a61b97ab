/*
 * Module start-up shared by every module.
 *
 * SWIG's runtime does the start-up steps itself: the cached "this" name, the
 * type cache, the pointer-object types, the module object (no documentation,
 * state size -1) and joining the shared type table through the capsule
 * "swig_runtime_data4.type_pointer_capsule" (SWIG's own, so that every module
 * of this system, and only SWIG-built ones, shares it).
 *
 * What this file adds:
 *  - an init never hands out a half-made module: when creating the module or
 *    one of its constants fails, the init returns NULL with the error set;
 *  - the pointer-object runtime of qx_runtime.i (SharedSwigInit, making and
 *    converting record objects, registration, collection);
 *  - the method table carries the runtime entry SWIG_PyInstanceMethod_New
 *    (through -fastproxy, see bindings/CMakeLists.txt) and no other runtime
 *    entry: SWIG_PyStaticMethod_New is taken out of the module again.
 */

%include "qx_runtime.i"

%header %{
/* Used only by the module init below, after SWIG's runtime: a failed module
 * creation returns from the init instead of reaching the dictionary. */
#undef PyModule_GetDict
#define PyModule_GetDict(module) __extension__({ \
    PyObject *qx_module_ = (module); \
    if (!qx_module_) return NULL; \
    PyModule_GetDict(qx_module_); })

/* Each integer constant is checked: a failed creation or store drops the
 * module and returns NULL with the error set. */
#undef SWIG_Python_SetConstant
#define SWIG_Python_SetConstant(dict, name, value) do { \
    PyObject *qx_value_ = (value); \
    if (!qx_value_ || PyDict_SetItemString((dict), (name), qx_value_) < 0) { \
      Py_XDECREF(qx_value_); \
      Py_DECREF(m); \
      return NULL; \
    } \
    Py_DECREF(qx_value_); \
  } while (0)
%}


%init %{
  if (PyDict_DelItemString(d, "SWIG_PyStaticMethod_New") < 0) PyErr_Clear();
%}
