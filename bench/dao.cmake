# Reading Access tables: our dump tool against mdbtools' mdb-export on the same tables, and
# the time to open a database with its catalogue, columns and indexes.
add_executable(bench_dao ${CMAKE_CURRENT_LIST_DIR}/dao_bench.cpp)
target_link_libraries(bench_dao PRIVATE quillan_platform_dao)
target_compile_definitions(bench_dao PRIVATE
  QUILLAN_MDB_CORPUS="${QUILLAN_MDB_CORPUS}"
  QUILLAN_MDBDUMP="$<TARGET_FILE:mdbdump>")
add_dependencies(bench_dao mdbdump)
