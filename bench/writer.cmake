# The sort information writer on a generated 100,000-record mailing: the presort order walk
# (and the plain list-scanning walk it replaces), the text list rewrite, the separate file,
# the dBase table and the fill tool's Access table.
add_executable(bench_writer ${CMAKE_CURRENT_LIST_DIR}/writer_bench.cpp
  ${CMAKE_SOURCE_DIR}/tests/listio/LiteralPresortWalk.cpp
  ${CMAKE_SOURCE_DIR}/tests/support/MailingOf.cpp)
target_link_libraries(bench_writer PRIVATE quillan_app quillan_platform_testing)
target_compile_definitions(bench_writer PRIVATE QUILLAN_MDBFILL="$<TARGET_FILE:mdbfill>")
add_dependencies(bench_writer mdbfill)
