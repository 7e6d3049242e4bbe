# The modem window: its settings files alone, and the window against the simulator's
# modem on a pty.
quorvel_test(tst_phone_book unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_phone_book.cpp)
quorvel_test(tst_modem_window gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_modem_window.cpp)
quorvel_test(tst_modem_connection gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_modem_connection.cpp)
