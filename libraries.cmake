# The native libraries. Each has one key, the name of its folder in api/,
# bindings/, sim/ and tests/; a library whose api/ folder does not exist yet
# is skipped. Read by the project (cmake/QxLibrary.cmake) and by the
# benchmark's null libraries (bench/CMakeLists.txt).
#          key     native library   keys of the libraries it needs
qx_library(base    qx_api)
qx_library(common  qx_api_common    base)
qx_library(can     qx_api_can       base)
qx_library(trovix  qx_api_trovix    base)
