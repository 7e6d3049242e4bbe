# The headless collector, run as the system's timers run it.
quorvel_test(tst_collect integration quorvel_collect ${CMAKE_CURRENT_LIST_DIR}/tst_collect.cpp)
add_dependencies(tst_collect quorvel-collect)
target_compile_definitions(tst_collect PRIVATE QUORVEL_COLLECT_PATH="$<TARGET_FILE:quorvel-collect>"
  QUORVEL_STATIONS_EXAMPLE="${PROJECT_SOURCE_DIR}/packaging/stations.ini.example")
