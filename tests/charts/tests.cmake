# The chart data (matrix, min/max reduction) and the live chart window.
quorvel_test(tst_chart_data unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_chart_data.cpp)
quorvel_test(tst_live_chart gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_live_chart.cpp)
# The yearly file read for the historical chart, and the historical chart window.
quorvel_test(tst_yearly_table unit quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_yearly_table.cpp)
quorvel_test(tst_history_chart gui quorvel_ui ${CMAKE_CURRENT_LIST_DIR}/tst_history_chart.cpp)
