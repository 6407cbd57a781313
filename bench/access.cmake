# The Access table component over the fill tool's 100,000-record table, against the
# engine's own recordset walk and mdbtools' mdb-export on the same table.
add_executable(bench_access ${CMAKE_CURRENT_LIST_DIR}/access_bench.cpp)
target_link_libraries(bench_access PRIVATE quillan_accessdb)
target_compile_definitions(bench_access PRIVATE
  QUILLAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUILLAN_MDB_CORPUS="${QUILLAN_MDB_CORPUS}"
  QUILLAN_MDBFILL="$<TARGET_FILE:mdbfill>")
add_dependencies(bench_access mdbfill)
