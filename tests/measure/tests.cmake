# The continuous reading and the new-data download: their files, and their windows
# against the simulator.
quorvel_test(tst_continuous_file unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_continuous_file.cpp)
quorvel_test(tst_continuous_reading integration quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_continuous_reading.cpp)
quorvel_test(tst_yearly_file unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_yearly_file.cpp)
quorvel_test(tst_new_data_window integration quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_new_data_window.cpp)
