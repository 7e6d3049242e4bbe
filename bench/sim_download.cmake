# The simulator serving a 5000-record, 64-channel download over TCP, against plain loopback.
add_executable(bench_sim_download ${CMAKE_CURRENT_LIST_DIR}/sim_download.cpp)
target_link_libraries(bench_sim_download PRIVATE Qt6::Core Qt6::Network)
target_compile_definitions(bench_sim_download PRIVATE QUORVEL_SIM_PATH="$<TARGET_FILE:quorvel-sim>")
add_dependencies(bench_sim_download quorvel-sim)
