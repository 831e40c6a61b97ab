# qx_library(<key> <native library> [<keys of the libraries it needs>...])
#
# One native library of the registry (libraries.cmake) and everything built
# for it, unless QX_SKIP_LIBRARIES names its key. Found by convention under
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
# holding <lib>_rules.i (%included by the module), <lib>_journal_sizes.txt
# (read by the stand-in's generator) and <lib>_storage.i (the storage
# module's arrays of the library's records, qx_storage_records below). The
# module's own rule kinds, beside the shared ones, are
# bindings/<key>/kinds.txt.
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
    OUTPUT ${dir}/${lib}_rules.i ${dir}/${lib}_journal_sizes.txt ${dir}/${lib}_storage.i
    COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
    COMMAND ${QX_TOOL_PYTHON} ${QX_PARAMS_GEN} ${args}
            --out-rules ${dir}/${lib}_rules.i --out-sizes ${dir}/${lib}_journal_sizes.txt
            --out-storage ${dir}/${lib}_storage.i --module ${lib}
    DEPENDS ${QX_PARAMS_GEN} ${QX_HEADER_WALK} ${QX_API_HEADERS} ${table} ${kinds}
    COMMENT "Generating the parameter shapes of ${lib}")
endfunction()

function(qx_library key lib)
  get_property(registry GLOBAL PROPERTY QX_REGISTRY_KEYS)
  if(key IN_LIST registry)
    message(FATAL_ERROR "qx_library(${key}): declared twice")
  endif()
  set_property(GLOBAL APPEND PROPERTY QX_REGISTRY_KEYS ${key})
  if(key IN_LIST QX_SKIP_LIBRARIES)
    set_property(GLOBAL PROPERTY QX_LEFT_OUT_${key} TRUE)
    set_property(GLOBAL APPEND PROPERTY QX_LEFT_OUT_KEYS ${key})
    set_property(GLOBAL APPEND PROPERTY QX_LEFT_OUT_MODULES _${lib})
    return()
  endif()
  if(NOT IS_DIRECTORY ${QX_API_DIR}/${key})
    message(FATAL_ERROR "qx_library(${key}): api/${key}/ does not exist")
  endif()
  set_property(GLOBAL PROPERTY QX_LIBRARY_${key} ${lib})
  set(needs)
  foreach(dep ${ARGN})
    get_property(dep_lib GLOBAL PROPERTY QX_LIBRARY_${dep})
    get_property(dep_left_out GLOBAL PROPERTY QX_LEFT_OUT_${dep})
    if(dep_left_out)
      message(FATAL_ERROR "qx_library(${key}): needs ${dep}, which QX_SKIP_LIBRARIES leaves out")
    elseif(NOT dep_lib)
      message(FATAL_ERROR "qx_library(${key}): needs ${dep}, which is not declared before it")
    endif()
    list(APPEND needs ${dep_lib})
  endforeach()

  if(EXISTS ${QX_API_DIR}/${key}/layout.txt)
    set(layout_checks ${CMAKE_BINARY_DIR}/layout/${lib}_layout.c)
    qx_header_args(layout_args ${key})
    add_custom_command(
      OUTPUT ${layout_checks}
      COMMAND ${QX_TOOL_PYTHON} ${QX_LAYOUT_GEN} ${layout_args} --api ${QX_API_DIR} --key ${key}
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
                DEPENDS ${params_dir}/${lib}_rules.i
                INSTALL)
  set_property(GLOBAL APPEND PROPERTY QX_BUILT_KEYS ${key})
  set_property(GLOBAL APPEND PROPERTY QX_BUILT_MODULES _${lib})
endfunction()

# qx_storage_records(<var>) writes ${CMAKE_BINARY_DIR}/params/
# qx_storage_records.i, which %includes the <lib>_storage.i of every library
# built (the storage module's record arrays: a library left out leaves its
# arrays out, a new one brings its own), and sets <var> to what the storage
# module then needs: its include directories (INCLUDES) and the generated
# files (DEPENDS).
function(qx_storage_records var_includes var_depends)
  get_property(built_keys GLOBAL PROPERTY QX_BUILT_KEYS)
  set(text "/* Generated: the record arrays of every library built. */\n")
  set(includes ${CMAKE_BINARY_DIR}/params)
  set(depends)
  foreach(key ${built_keys})
    get_property(lib GLOBAL PROPERTY QX_LIBRARY_${key})
    string(APPEND text "%include \"${lib}_storage.i\"\n")
    list(APPEND includes ${CMAKE_BINARY_DIR}/params/${key})
    list(APPEND depends ${CMAKE_BINARY_DIR}/params/${key}/${lib}_storage.i)
  endforeach()
  # Written only when it changes, so that configuring again rebuilds nothing.
  file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/params/qx_storage_records.i CONTENT "${text}" @ONLY)
  list(APPEND depends ${CMAKE_BINARY_DIR}/params/qx_storage_records.i)
  set(${var_includes} ${includes} PARENT_SCOPE)
  set(${var_depends} ${depends} PARENT_SCOPE)
endfunction()

# After the registry: checks QX_SKIP_LIBRARIES, says what it leaves out and
# which native libraries the modules link against (the simulated device, or
# those of QX_NATIVE_LIB_DIR), and writes the module lists the test suite
# reads, one module a line:
#   python/qx_modules.txt   the modules this build makes
#   python/qx_left_out.txt  the modules QX_SKIP_LIBRARIES leaves out
# The suite skips the tests of a left-out module and fails for every other
# module of the registry that qx_modules.txt lacks.
function(qx_write_module_list)
  get_property(registry GLOBAL PROPERTY QX_REGISTRY_KEYS)
  foreach(key ${QX_SKIP_LIBRARIES})
    if(NOT key IN_LIST registry)
      list(JOIN registry ", " keys)
      message(FATAL_ERROR "QX_SKIP_LIBRARIES names ${key}, which libraries.cmake does not declare (keys: ${keys})")
    endif()
  endforeach()
  get_property(left_out_keys GLOBAL PROPERTY QX_LEFT_OUT_KEYS)
  if(left_out_keys)
    list(JOIN left_out_keys ", " keys)
    message(NOTICE "Libraries left out on request (QX_SKIP_LIBRARIES): ${keys}")
  endif()
  get_property(built_keys GLOBAL PROPERTY QX_BUILT_KEYS)
  set(libraries)
  foreach(key ${built_keys})
    get_property(lib GLOBAL PROPERTY QX_LIBRARY_${key})
    list(APPEND libraries lib${lib}.so)
  endforeach()
  list(JOIN libraries ", " libraries)
  if(QX_NATIVE_LIB_DIR)
    message(STATUS "The modules link against the native libraries in ${QX_NATIVE_LIB_DIR} (QX_NATIVE_LIB_DIR): "
                   "${libraries}")
  else()
    message(STATUS "The modules link against the simulated device, built from sim/ into ${QX_LIB_DIR}: "
                   "${libraries}")
  endif()
  get_property(built GLOBAL PROPERTY QX_BUILT_MODULES)
  get_property(left_out GLOBAL PROPERTY QX_LEFT_OUT_MODULES)
  qx_write_lines(${QX_PYTHON_DIR}/qx_modules.txt ${built})
  qx_write_lines(${QX_PYTHON_DIR}/qx_left_out.txt ${left_out})
endfunction()

function(qx_write_lines file)
  list(JOIN ARGN "\n" text)
  if(ARGN)
    string(APPEND text "\n")
  endif()
  file(WRITE ${file} "${text}")
endfunction()
