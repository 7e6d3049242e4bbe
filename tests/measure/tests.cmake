# The continuous reading: its file, and its window against the simulator.
quorvel_test(tst_continuous_file unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_continuous_file.cpp)
quorvel_test(tst_miscont integration quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_miscont.cpp)
