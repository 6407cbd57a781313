# The whole Sort One List command (read, presort, print run, write back) on a generated
# 100,000-record text list and dBase table; without arguments it makes the lists itself.
add_executable(bench_sort ${CMAKE_CURRENT_LIST_DIR}/SortBench.cpp)
target_link_libraries(bench_sort PRIVATE quillan_app quillan_platform_testing)
target_compile_definitions(bench_sort PRIVATE
  QUILLAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUILLAN_FORM_BITMAPS="${CMAKE_BINARY_DIR}/bitmaps")
# The print run prints the postage statement over the forms the build draws.
add_dependencies(bench_sort statement_form_files)
