# The print run after a sort, to PDF, on generated national mailings of 10,000 and 100,000
# records: CPU time, peak memory and the size of each report's file. The statement prints
# over the forms the build draws.
add_executable(bench_printouts ${CMAKE_CURRENT_LIST_DIR}/printouts_bench.cpp)
target_link_libraries(bench_printouts PRIVATE quillan_printouts quillan_platform_qt
  quillan_platform_testing Qt6::Gui)
target_compile_definitions(bench_printouts PRIVATE
  QUILLAN_FORM_BITMAPS="${CMAKE_BINARY_DIR}/bitmaps")
add_dependencies(bench_printouts statement_form_files)
