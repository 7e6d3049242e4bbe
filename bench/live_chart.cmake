# The live chart's refresh after one more reading, as the table grows.
add_executable(bench_live_chart ${CMAKE_CURRENT_LIST_DIR}/bench_live_chart.cpp)
target_link_libraries(bench_live_chart PRIVATE quorvel_ui)
