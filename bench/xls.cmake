# The spreadsheet library: compound-file reading and writing, the cell store, the shared
# string table and the formula encoder and decoder, against the Python reference readers
# where the same work can be timed there.
add_executable(bench_xls ${CMAKE_CURRENT_LIST_DIR}/xls_bench.cpp)
target_link_libraries(bench_xls PRIVATE quillan_xls)
target_compile_definitions(bench_xls PRIVATE QUILLAN_PYTHON="/usr/bin/python3"
  QUILLAN_TOOLS="${CMAKE_SOURCE_DIR}/tools"
  QUILLAN_XLS_CORPUS="${QUILLAN_XLS_CORPUS}")
