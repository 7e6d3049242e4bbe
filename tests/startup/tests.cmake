# The start window, the splash, the about window and the connection against the simulator.
quorvel_test(tst_start_window gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_start_window.cpp)
quorvel_test(tst_connect gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_connect.cpp)
