# The Access engine's cursor core over in-memory records.
add_executable(bench_accessdb accessdb_bench.cpp)
target_link_libraries(bench_accessdb PRIVATE quillan_accessdb)
