# The field reader against a plain scan of the same bytes, and the cost of waiting.
add_executable(bench_field_reader ${CMAKE_CURRENT_LIST_DIR}/bench_field_reader.cpp)
target_link_libraries(bench_field_reader PRIVATE quorvel_core quorvel_test_support)
