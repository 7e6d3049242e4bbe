# The historical chart on a year of one-minute readings: load and export against pandas,
# the drawing of the year against one day, the memory against the file's size.
add_executable(bench_yearly_chart ${CMAKE_CURRENT_LIST_DIR}/bench_yearly_chart.cpp)
target_link_libraries(bench_yearly_chart PRIVATE quorvel_ui)
target_include_directories(bench_yearly_chart PRIVATE ${PROJECT_SOURCE_DIR}/tests)
