# The program's memory download from the simulator over TCP, against a plain socket.
add_executable(bench_memory_download ${CMAKE_CURRENT_LIST_DIR}/bench_memory_download.cpp)
target_link_libraries(bench_memory_download PRIVATE quorvel_core Qt6::Network)
target_compile_definitions(bench_memory_download PRIVATE QUORVEL_SIM_PATH="$<TARGET_FILE:quorvel-sim>")
add_dependencies(bench_memory_download quorvel-sim)
