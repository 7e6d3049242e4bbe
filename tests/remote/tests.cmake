# The console's GSM, GPRS, e-mail and internet settings against the simulator and the
# scripted transport, and "Connect" with "GSM" ticked.
quorvel_test(tst_gsm_settings gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_gsm_settings.cpp)
quorvel_test(tst_web_switch_faults gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_web_switch_faults.cpp)
quorvel_test(tst_connect_gsm gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_connect_gsm.cpp)
