add_executable(bench_presort ${CMAKE_CURRENT_LIST_DIR}/presort_bench.cpp)
target_link_libraries(bench_presort PRIVATE quillan_core)
