# Excel and Access mailing lists through the whole Sort One List command, against the same
# mailing as a text list (each sort in a process of its own, through bench_sort), and the
# workbook's read and write against xlrd and xlwt on the same file.
add_executable(bench_component_lists ${CMAKE_CURRENT_LIST_DIR}/ComponentListBench.cpp)
target_link_libraries(bench_component_lists PRIVATE quillan_xls)
target_compile_definitions(bench_component_lists PRIVATE
  QUILLAN_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QUILLAN_BENCH_SORT="$<TARGET_FILE:bench_sort>"
  QUILLAN_MDBFILL="$<TARGET_FILE:mdbfill>")
add_dependencies(bench_component_lists bench_sort mdbfill)
