# The native declarations under QX_API_DIR (api/), as the generators and
# compilers see them: every library's folder is an include directory.
#   QX_API_INCLUDE_DIRS, QX_API_HEADERS, qx_header_args(<var> <key>)

file(GLOB QX_API_KEY_DIRS LIST_DIRECTORIES true ${QX_API_DIR}/*)
set(QX_API_INCLUDE_DIRS ${QX_API_DIR})
foreach(dir ${QX_API_KEY_DIRS})
  if(IS_DIRECTORY ${dir})
    list(APPEND QX_API_INCLUDE_DIRS ${dir})
  endif()
endforeach()
file(GLOB QX_API_HEADERS ${QX_API_DIR}/*.h ${QX_API_DIR}/*/*.h)

# qx_header_args(<var> <key>): the options with which a generator of
# sim/gen/ reads library <key>'s headers (--header ..., --include ...).
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
