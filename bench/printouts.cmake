# The print run after a sort, to PDF, on generated national mailings of 10,000 and 100,000
# records: CPU time, peak memory and the size of each report's file.
add_executable(bench_printouts ${CMAKE_CURRENT_LIST_DIR}/printouts_bench.cpp)
target_link_libraries(bench_printouts PRIVATE quillan_printouts quillan_platform_qt
  quillan_platform_testing Qt6::Gui)
