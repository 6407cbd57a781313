# Reading Access tables: our dump tool against mdbtools' mdb-export on the same tables, and
# the time to open a database with its catalogue, columns and indexes.
add_executable(bench_dao ${CMAKE_CURRENT_LIST_DIR}/dao_bench.cpp)
target_link_libraries(bench_dao PRIVATE quillan_mdbengine)
target_compile_definitions(bench_dao PRIVATE
  QUILLAN_MDB_CORPUS="${QUILLAN_MDB_CORPUS}"
  QUILLAN_MDBDUMP="$<TARGET_FILE:mdbdump>")
add_dependencies(bench_dao mdbdump)

# Writing: the fill tool's 100,000-record table and the sort write-back on it; the same
# records added to tables with two indexes.
add_executable(bench_dao_write ${CMAKE_CURRENT_LIST_DIR}/dao_write_bench.cpp)
target_link_libraries(bench_dao_write PRIVATE quillan_mdbengine)
target_compile_definitions(bench_dao_write PRIVATE
  QUILLAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUILLAN_MDB_CORPUS="${QUILLAN_MDB_CORPUS}"
  QUILLAN_MDBFILL="$<TARGET_FILE:mdbfill>"
  QUILLAN_MDBDUMP="$<TARGET_FILE:mdbdump>")
add_dependencies(bench_dao_write mdbfill mdbdump)

# Dumping the fill tool's 100,000-record table: our dump tool against mdb-export, in turn.
add_executable(bench_dao_dump ${CMAKE_CURRENT_LIST_DIR}/dao_dump_bench.cpp)
target_compile_definitions(bench_dao_dump PRIVATE
  QUILLAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUILLAN_MDBFILL="$<TARGET_FILE:mdbfill>"
  QUILLAN_MDBDUMP="$<TARGET_FILE:mdbdump>")
add_dependencies(bench_dao_dump mdbfill mdbdump)
