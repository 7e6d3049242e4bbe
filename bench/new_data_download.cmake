# The new-data download of a backlog through the collector, against the line's own time.
add_executable(bench_new_data_download ${CMAKE_CURRENT_LIST_DIR}/bench_new_data_download.cpp)
target_link_libraries(bench_new_data_download PRIVATE Qt6::Core)
target_compile_definitions(bench_new_data_download PRIVATE QUORVEL_SIM_PATH="$<TARGET_FILE:quorvel-sim>"
  QUORVEL_COLLECT_PATH="$<TARGET_FILE:quorvel-collect>")
add_dependencies(bench_new_data_download quorvel-sim quorvel-collect)
