# The sensor window and the alert window against the simulator.
quorvel_test(tst_sensor_window gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_sensor_window.cpp)
quorvel_test(tst_alert_window gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_alert_window.cpp)
