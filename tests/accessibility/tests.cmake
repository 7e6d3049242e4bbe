# Every window walked through Qt's accessibility interface and the Tab key.
quorvel_test(tst_accessibility gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_accessibility.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_audit.cpp)
