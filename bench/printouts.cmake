# What the four reports of the after-sort print run add to an unattended sort of the whole
# program, on generated lists of 10,000 and 100,000 records (each run a process of its own).
# The statement prints over the forms the build draws.
add_executable(bench_printouts ${CMAKE_CURRENT_LIST_DIR}/printouts_bench.cpp)
target_link_libraries(bench_printouts PRIVATE quillan_platform_testing)
target_compile_definitions(bench_printouts PRIVATE
  QUILLAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUILLAN_PROGRAM="$<TARGET_FILE:quillan>"
  QUILLAN_FORM_BITMAPS="${CMAKE_BINARY_DIR}/bitmaps")
add_dependencies(bench_printouts quillan statement_form_files)
