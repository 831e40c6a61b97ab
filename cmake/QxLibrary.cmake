# qx_library(<key> <native library> [<keys of the libraries it needs>...])
#
# One native library and everything built for it, found by convention under
# its key:
#   api/<key>/*.h          declarations (all libraries' folders are include
#                          directories of every module and stand-in)
#   api/<key>/layout.txt   the record layouts the bindings rely on; the
#                          compile-time checks made from it
#                          (generators/gen_layout.py) are compiled in every
#                          build, also against real libraries
#   api/<key>/params.txt   parameter shapes (generators/gen_params.py): the
#                          module's rule lines <library>_rules.i and the
#                          stand-in's journal sizes are generated from it
#   sim/<key>/*.c          behaviours of the simulated stand-in (unless
#                          QX_NATIVE_LIB_DIR names the real libraries)
#   bindings/<key>/<library>.i   the Python module _<library>
#   bindings/<key>/kinds.txt     the rule kinds of that module alone, if any


# A table may name records of other tables, so each check reads them all.
file(GLOB QX_LAYOUT_TABLES ${QX_API_DIR}/*/layout.txt)
set(QX_LAYOUT_GEN ${QX_GENERATORS_DIR}/gen_layout.py)
set(QX_PARAMS_GEN ${QX_GENERATORS_DIR}/gen_params.py)

# qx_params(<key> <lib>) generates, from api/<key>/params.txt (none: no
# shapes) and the library's headers, ${CMAKE_BINARY_DIR}/params/<key>/
# holding <lib>_rules.i (%included by the module) and
# <lib>_journal_sizes.txt (read by the stand-in's generator). The module's
# own rule kinds, beside the shared ones, are bindings/<key>/kinds.txt.
function(qx_params key lib)
  set(dir ${CMAKE_BINARY_DIR}/params/${key})
  set(table ${QX_API_DIR}/${key}/params.txt)
  set(kinds ${CMAKE_SOURCE_DIR}/bindings/${key}/kinds.txt)
  qx_header_args(args ${key})
  if(EXISTS ${table})
    list(APPEND args --table ${table})
  else()
    set(table)
  endif()
  if(EXISTS ${kinds})
    list(APPEND args --kinds ${kinds})
  else()
    set(kinds)
  endif()
  add_custom_command(
    OUTPUT ${dir}/${lib}_rules.i ${dir}/${lib}_journal_sizes.txt
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${Python3_EXECUTABLE} ${QX_PARAMS_GEN} ${args}
            --out-rules ${dir}/${lib}_rules.i --out-sizes ${dir}/${lib}_journal_sizes.txt
    DEPENDS ${QX_PARAMS_GEN} ${QX_HEADER_WALK} ${QX_API_HEADERS} ${table} ${kinds}
    COMMENT "Generating the parameter shapes of ${lib}")
endfunction()

function(qx_library key lib)
  if(NOT IS_DIRECTORY ${QX_API_DIR}/${key})
    return()
  endif()
  if(NOT key STREQUAL "base" AND NOT key IN_LIST QX_MODULES)
    return()
  endif()
  set_property(GLOBAL PROPERTY QX_LIBRARY_${key} ${lib})
  set(needs)
  foreach(dep ${ARGN})
    get_property(dep_lib GLOBAL PROPERTY QX_LIBRARY_${dep})
    if(NOT dep_lib)
      message(FATAL_ERROR "qx_library(${key}): needs ${dep}, which is not declared before it")
    endif()
    list(APPEND needs ${dep_lib})
  endforeach()

  if(EXISTS ${QX_API_DIR}/${key}/layout.txt)
    set(layout_checks ${CMAKE_BINARY_DIR}/layout/${lib}_layout.c)
    qx_header_args(layout_args ${key})
    add_custom_command(
      OUTPUT ${layout_checks}
      COMMAND ${Python3_EXECUTABLE} ${QX_LAYOUT_GEN} ${layout_args} --api ${QX_API_DIR} --key ${key}
              --out ${layout_checks}
      DEPENDS ${QX_LAYOUT_GEN} ${QX_GENERATORS_DIR}/layout_table.py ${QX_HEADER_WALK} ${QX_API_HEADERS}
              ${QX_LAYOUT_TABLES}
      COMMENT "Generating the record layout checks of ${lib}")
    add_library(qx_layout_${key} OBJECT ${layout_checks})
    target_include_directories(qx_layout_${key} PRIVATE ${QX_API_INCLUDE_DIRS})
  endif()

  qx_params(${key} ${lib})
  set(params_dir ${CMAKE_BINARY_DIR}/params/${key})

  if(QX_NATIVE_LIB_DIR)
    add_library(${lib} SHARED IMPORTED GLOBAL)
    set_target_properties(${lib} PROPERTIES IMPORTED_LOCATION ${QX_NATIVE_LIB_DIR}/lib${lib}.so)
  else()
    qx_sim_library(${key} ${lib} ${params_dir}/${lib}_journal_sizes.txt ${needs})
  endif()

  qx_add_module(${lib} INTERFACE ${CMAKE_SOURCE_DIR}/bindings/${key}/${lib}.i
                LIBRARIES ${lib} ${needs}
                INCLUDES ${CMAKE_SOURCE_DIR}/bindings/${key} ${params_dir} ${QX_API_INCLUDE_DIRS}
                DEPENDS ${params_dir}/${lib}_rules.i)
  set_property(GLOBAL APPEND PROPERTY QX_BUILT_MODULES _${lib})
endfunction()

# Writes python/qx_modules.txt, one built module a line: the test suite and
# the robustness run skip only modules missing from it.
function(qx_write_module_list)
  get_property(modules GLOBAL PROPERTY QX_BUILT_MODULES)
  list(JOIN modules "\n" text)
  file(WRITE ${QX_PYTHON_DIR}/qx_modules.txt "${text}\n")
endfunction()
