# Reading a generated 100,000-record list of each kind; run by scripts/run-benchmarks with
# the lists it generates.
add_executable(list_read_bench ${CMAKE_CURRENT_LIST_DIR}/ListReadBench.cpp)
target_link_libraries(list_read_bench PRIVATE quillan_app quillan_platform_testing)
