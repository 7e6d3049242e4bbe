# Tests of the exchange path, the conversions, the file checks and the settings files.
quorvel_test(tst_conversions unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_conversions.cpp)
quorvel_test(tst_file_checks unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_file_checks.cpp)
quorvel_test(tst_settings_files unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_settings_files.cpp)
quorvel_test(tst_file_audit unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_file_audit.cpp)
quorvel_test(tst_serial_exchange integration quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_serial_exchange.cpp)
quorvel_test(tst_tcp_exchange integration quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_tcp_exchange.cpp)
quorvel_test(tst_ftp_fetch integration quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_ftp_fetch.cpp)

include(${CMAKE_CURRENT_LIST_DIR}/telnet_tests.cmake)
quorvel_test(tst_link_transport unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_link_transport.cpp)
# The protocol calls, over a scripted transport.
quorvel_test(tst_protocol_calls unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_protocol_calls.cpp)
quorvel_test(tst_lock_files unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_lock_files.cpp)
