# Tests of the telnet transport: the arrival parser alone, and the client on loopback.
quorvel_test(tst_telnet_parser unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_telnet_parser.cpp)
quorvel_test(tst_telnet_client integration quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_telnet_client.cpp)
