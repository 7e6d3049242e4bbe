# Fault matrices against the simulator: at each step of the connection, the downloads,
# the continuous reading and the modem and internet links, silence, garbage and a drop.
quorvel_test(tst_faults_connection gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_faults_connection.cpp)
quorvel_test(tst_faults_downloads gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_faults_downloads.cpp)
quorvel_test(tst_faults_reading gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_faults_reading.cpp)
quorvel_test(tst_faults_remote gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_faults_remote.cpp)
