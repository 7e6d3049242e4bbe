# The main console: its frame and controls alone, and its exchanges with the simulator.
quorvel_test(tst_console_frame gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_console_frame.cpp)
quorvel_test(tst_console_reads gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_console_reads.cpp)
quorvel_test(tst_console_writes gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_console_writes.cpp)
quorvel_test(tst_console_channels gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_console_channels.cpp)
quorvel_test(tst_console_faults gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_console_faults.cpp)
quorvel_test(tst_read_now gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_read_now.cpp)
quorvel_test(tst_operator_input gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_operator_input.cpp)
