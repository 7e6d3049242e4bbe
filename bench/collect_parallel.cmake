# The collector fetching eight simulated stations in one run, against the slowest alone.
add_executable(bench_collect_parallel ${CMAKE_CURRENT_LIST_DIR}/bench_collect_parallel.cpp)
target_link_libraries(bench_collect_parallel PRIVATE quorvel_core)
target_compile_definitions(bench_collect_parallel PRIVATE QUORVEL_SIM_PATH="$<TARGET_FILE:quorvel-sim>"
  QUORVEL_COLLECT_PATH="$<TARGET_FILE:quorvel-collect>")
add_dependencies(bench_collect_parallel quorvel-sim quorvel-collect)
