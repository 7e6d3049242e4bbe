# The memory downloads into data files, against the simulator.
quorvel_test(tst_memory_download gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_memory_download.cpp)
# The decoder alone over a scripted line: broken replies.
quorvel_test(tst_download_decoder unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_download_decoder.cpp)
