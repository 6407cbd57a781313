# The workbook reader as whole processes: xlsdump against a Python script that takes every
# row's values with xlrd, on a 100,000-row list workbook of two sheets and a one-sheet workbook of
# eight columns (both written by xlwt), and the program's list read of a workbook against
# the same list as text (through list_read_bench).
add_executable(bench_xls_read ${CMAKE_CURRENT_LIST_DIR}/XlsReadBench.cpp)
target_compile_definitions(bench_xls_read PRIVATE
  QUILLAN_PYTHON="/usr/bin/python3"
  QUILLAN_TOOLS="${CMAKE_SOURCE_DIR}/tools"
  QUILLAN_XLSDUMP="$<TARGET_FILE:xlsdump>"
  QUILLAN_LIST_READ_BENCH="$<TARGET_FILE:list_read_bench>")
add_dependencies(bench_xls_read xlsdump list_read_bench)
