# The native declarations under QX_API_DIR (api/), as the generators and
# compilers see them: every library's folder is an include directory.
#   QX_API_INCLUDE_DIRS, QX_API_HEADERS, qx_header_args(<var> <key>)
# and the generators' folder beside them:
#   QX_GENERATORS_DIR (generators/), QX_HEADER_WALK (the files of the header
#   walk that every generator reading the headers depends on)

file(GLOB QX_API_KEY_DIRS LIST_DIRECTORIES true ${QX_API_DIR}/*)
set(QX_API_INCLUDE_DIRS ${QX_API_DIR})
foreach(dir ${QX_API_KEY_DIRS})
  if(IS_DIRECTORY ${dir})
    list(APPEND QX_API_INCLUDE_DIRS ${dir})
  endif()
endforeach()
file(GLOB QX_API_HEADERS ${QX_API_DIR}/*.h ${QX_API_DIR}/*/*.h)

get_filename_component(QX_GENERATORS_DIR ${CMAKE_CURRENT_LIST_DIR}/../generators ABSOLUTE)
file(GLOB QX_HEADER_WALK ${QX_GENERATORS_DIR}/header_walk.py ${QX_GENERATORS_DIR}/stub/*.h)

# qx_header_args(<var> <key>): the options with which a generator reads
# library <key>'s headers through the header walk (--header ..., --include ...).
function(qx_header_args var key)
  file(GLOB headers ${QX_API_DIR}/${key}/*.h)
  set(args)
  foreach(header ${headers})
    list(APPEND args --header ${header})
  endforeach()
  foreach(dir ${QX_API_INCLUDE_DIRS})
    list(APPEND args --include ${dir})
  endforeach()
  set(${var} ${args} PARENT_SCOPE)
endfunction()
