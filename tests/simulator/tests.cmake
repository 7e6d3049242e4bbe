# The datalogger simulator's own tests, through a client written for them.
set(SIM_CLIENT ${CMAKE_CURRENT_LIST_DIR}/sim_client.cpp)
quorvel_test(tst_sim_commands integration Qt6::Network ${CMAKE_CURRENT_LIST_DIR}/tst_sim_commands.cpp ${SIM_CLIENT})
quorvel_test(tst_sim_memory integration Qt6::Network ${CMAKE_CURRENT_LIST_DIR}/tst_sim_memory.cpp ${SIM_CLIENT})
quorvel_test(tst_sim_links integration Qt6::Network ${CMAKE_CURRENT_LIST_DIR}/tst_sim_links.cpp ${SIM_CLIENT})
