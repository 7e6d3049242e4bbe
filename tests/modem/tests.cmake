# The modem and internet windows: their settings files alone, the modem window against
# the simulator's modem on a pty, the internet window against its FTP server and TCP port.
quorvel_test(tst_phone_book unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_phone_book.cpp)
quorvel_test(tst_modem_window gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_modem_window.cpp)
quorvel_test(tst_modem_connection gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_modem_connection.cpp)
quorvel_test(tst_internet_connection gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_internet_connection.cpp)
