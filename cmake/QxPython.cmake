# The two interpreters of a build.
#
#  - The target: the CPython the modules are built for (Python3_EXECUTABLE,
#    found by FindPython3). It gives the headers, the library and the
#    extension suffix, and nothing of it runs during the build but a probe.
#  - The tools' interpreter (QX_TOOL_PYTHON): runs the build's generators
#    (generators/, sim/gen_journal.py, bench/gen_null.py), which parse the
#    native headers with pycparser. It need not be the target: a CPython
#    3.12 without pycparser builds modules as well as Debian's python3 with
#    python3-pycparser does.
#
# qx_find_python(<FindPython3 components>...) finds both, refuses a target
# older than QX_PYTHON_MIN_VERSION, and sets QX_TOOL_PYTHON.

# The oldest CPython the modules build for: older ones lack parts of the
# extension interface that the wrappers use (METH_METHOD, from 3.9 on).
set(QX_PYTHON_MIN_VERSION 3.9)

set(QX_TOOL_PYTHON "" CACHE FILEPATH
    "Interpreter that runs the build's tools; it must import pycparser (empty: the first of /usr/bin/python3, the target interpreter and python3 on PATH that does)")

function(qx_tool_python_works python result)
  execute_process(COMMAND ${python} -c "import sys, pycparser; sys.exit(sys.version_info < (3, 7))"
                  RESULT_VARIABLE status OUTPUT_QUIET ERROR_QUIET)
  if(status EQUAL 0)
    set(${result} TRUE PARENT_SCOPE)
  else()
    set(${result} FALSE PARENT_SCOPE)
  endif()
endfunction()

# How the message of a refused interpreter says to choose another; the
# scripts give their own way (-DQX_PYTHON_CHOICE="QX_PYTHON=<python>").
if(NOT QX_PYTHON_CHOICE)
  set(QX_PYTHON_CHOICE "-DPython3_EXECUTABLE=<python>")
endif()

macro(qx_find_python)
  # A folder configured before for another interpreter follows the one now
  # named: FindPython3 keeps what it found for the first (its development
  # files, its properties) and would mix the two, so all of that is found
  # anew, and so is a tools' interpreter that was found rather than given.
  # The install prefix follows too (cmake/QxModule.cmake).
  if(NOT DEFINED CACHE{QX_CONFIGURED_PYTHON} AND DEFINED CACHE{_Python3_EXECUTABLE})
    set(QX_CONFIGURED_PYTHON "${_Python3_EXECUTABLE}" CACHE INTERNAL "")  # a folder configured before this record
  endif()
  if(Python3_EXECUTABLE AND DEFINED CACHE{QX_CONFIGURED_PYTHON}
     AND NOT Python3_EXECUTABLE STREQUAL QX_CONFIGURED_PYTHON)
    message(STATUS "Configured before for ${QX_CONFIGURED_PYTHON}: finding everything of ${Python3_EXECUTABLE} anew")
    get_property(qx_cached DIRECTORY PROPERTY CACHE_VARIABLES)
    foreach(qx_entry ${qx_cached})
      if(qx_entry MATCHES "^_Python3_|^FIND_PACKAGE_MESSAGE_DETAILS_Python3$")
        unset(${qx_entry} CACHE)
      endif()
    endforeach()
    if(QX_TOOL_PYTHON AND QX_TOOL_PYTHON STREQUAL QX_TOOL_PYTHON_FOUND)
      unset(QX_TOOL_PYTHON CACHE)
      unset(QX_TOOL_PYTHON)
    endif()
  endif()

  # FindPython3 takes another interpreter, silently, where the one named
  # cannot be used as given (a relative path, or a pyenv shim's name such as
  # python3.12, which fails unless that version is selected).
  set(qx_requested_python "${Python3_EXECUTABLE}")
  find_package(Python3 REQUIRED COMPONENTS ${ARGN})
  if(qx_requested_python AND NOT qx_requested_python STREQUAL Python3_EXECUTABLE)
    message(FATAL_ERROR "Python3_EXECUTABLE=${qx_requested_python} cannot be used as given (FindPython3 took "
                        "${Python3_EXECUTABLE} instead): name the interpreter by its full path, such as "
                        "$(pyenv prefix 3.12)/bin/python3.12.")
  endif()
  if(NOT Python3_INTERPRETER_ID STREQUAL "Python")
    message(FATAL_ERROR "${Python3_EXECUTABLE} is ${Python3_INTERPRETER_ID}: the modules build for CPython only")
  endif()
  if(Python3_VERSION VERSION_LESS QX_PYTHON_MIN_VERSION)
    message(FATAL_ERROR "${Python3_EXECUTABLE} is CPython ${Python3_VERSION}: the modules build for CPython "
                        "${QX_PYTHON_MIN_VERSION} or newer. Choose another interpreter with "
                        "${QX_PYTHON_CHOICE}.")
  endif()
  set(QX_CONFIGURED_PYTHON "${Python3_EXECUTABLE}" CACHE INTERNAL "The interpreter this folder is configured for")

  if(QX_TOOL_PYTHON)
    qx_tool_python_works(${QX_TOOL_PYTHON} qx_tool_ok)
    if(NOT qx_tool_ok)
      message(FATAL_ERROR "QX_TOOL_PYTHON (${QX_TOOL_PYTHON}) cannot import pycparser, which the build's tools need")
    endif()
  else()
    find_program(qx_path_python3 NAMES python3)
    unset(qx_path_python3 CACHE)
    foreach(qx_candidate /usr/bin/python3 ${Python3_EXECUTABLE} ${qx_path_python3})
      if(EXISTS ${qx_candidate})
        qx_tool_python_works(${qx_candidate} qx_tool_ok)
        if(qx_tool_ok)
          set(QX_TOOL_PYTHON ${qx_candidate} CACHE FILEPATH "Interpreter that runs the build's tools" FORCE)
          set(QX_TOOL_PYTHON_FOUND ${qx_candidate} CACHE INTERNAL "The tools' interpreter found, not given")
          break()
        endif()
      endif()
    endforeach()
    if(NOT QX_TOOL_PYTHON)
      message(FATAL_ERROR "No interpreter found that imports pycparser, which the build's tools need: install "
                          "python3-pycparser (scripts/setup.sh does), or name one with -DQX_TOOL_PYTHON=<python>")
    endif()
  endif()
  message(STATUS "Modules for CPython ${Python3_VERSION} (${Python3_EXECUTABLE}); tools run under ${QX_TOOL_PYTHON}")
endmacro()
