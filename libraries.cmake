# The native libraries, the only list of them. Each has one key, the name of
# its folder in api/, bindings/, sim/ and tests/ (and of its test helpers,
# tests/helpers/helpers_<key>.i, where it has any); adding a library is its
# line here and its folders. Every library is built unless QX_SKIP_LIBRARIES
# names its key. Read by the project (cmake/QxLibrary.cmake), by the test
# suite (tests/qxtest.py) and by the benchmark's null libraries
# (bench/CMakeLists.txt).
#          key     native library   keys of the libraries it needs
qx_library(base    qx_api)
qx_library(common  qx_api_common    base)
qx_library(can     qx_api_can       base)
qx_library(trovix  qx_api_trovix    base)
