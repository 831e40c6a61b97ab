# qx_sim_library(<key> <lib> [<libraries it links to>...])
#
# The simulated stand-in lib<lib>.so of one native library: the journaling
# bodies of every function that api/<key>/*.h declares are generated
# (sim/gen/gen_journal.py); the hand-written behaviours (sim_<function>) are
# sim/<key>/*.c. The base library also holds the simulated device's core
# (sim/core/), which the other stand-ins link to.

set(QX_SIM_DIR ${CMAKE_SOURCE_DIR}/sim)
set(QX_SIM_GEN ${QX_SIM_DIR}/gen/gen_journal.py)

function(qx_sim_library key lib)
  set(gen_dir ${CMAKE_BINARY_DIR}/sim/${key})
  set(sizes ${QX_SIM_DIR}/${key}/journal_sizes.txt)
  file(GLOB api_headers ${QX_API_DIR}/${key}/*.h)
  file(GLOB sources ${QX_SIM_DIR}/${key}/*.c)
  if(key STREQUAL "base")
    file(GLOB core_sources ${QX_SIM_DIR}/core/*.c)
    list(PREPEND sources ${core_sources})
  endif()
  set(args)
  foreach(header ${api_headers})
    list(APPEND args --header ${header})
  endforeach()
  foreach(dir ${QX_API_INCLUDE_DIRS})
    list(APPEND args --include ${dir})
  endforeach()
  if(EXISTS ${sizes})
    list(APPEND args --sizes ${sizes})
  else()
    set(sizes)
  endif()
  add_custom_command(
    OUTPUT ${gen_dir}/${lib}_journal.c ${gen_dir}/${lib}_behaviour.h
    COMMAND ${CMAKE_COMMAND} -E make_directory ${gen_dir}
    COMMAND ${Python3_EXECUTABLE} ${QX_SIM_GEN} ${args} --stub ${QX_SIM_DIR}/gen/stub
            --out-c ${gen_dir}/${lib}_journal.c --out-h ${gen_dir}/${lib}_behaviour.h
    DEPENDS ${QX_SIM_GEN} ${QX_API_HEADERS} ${QX_SIM_DIR}/gen/stub/qx_types.h ${sizes}
    COMMENT "Generating the journaling bodies of ${lib}")
  add_library(${lib} SHARED ${gen_dir}/${lib}_journal.c ${sources})
  target_include_directories(${lib} PUBLIC ${QX_API_INCLUDE_DIRS} ${QX_SIM_DIR}/core ${gen_dir})
  target_link_libraries(${lib} PRIVATE ${ARGN})
  # Behaviours are weak symbols found by name: one whose name matches no
  # declared function has no prototype, which fails the build.
  target_compile_options(${lib} PRIVATE -Werror=missing-prototypes)
  target_link_options(${lib} PRIVATE ${QX_NO_UNDEFINED})
  set_target_properties(${lib} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${QX_LIB_DIR} C_VISIBILITY_PRESET default)
endfunction()
