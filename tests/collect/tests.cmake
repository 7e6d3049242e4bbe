# The headless collector, run as the system's timers run it.
quorvel_test(tst_collect integration quorvel_core ${CMAKE_CURRENT_LIST_DIR}/tst_collect.cpp)
add_dependencies(tst_collect quorvel-collect)
target_compile_definitions(tst_collect PRIVATE QUORVEL_COLLECT_PATH="$<TARGET_FILE:quorvel-collect>"
  QUORVEL_STATIONS_EXAMPLE="${PROJECT_SOURCE_DIR}/packaging/stations.ini.example")

# The readings store alone: its URL, the readings of a block, SQLite.
quorvel_test(tst_store unit quorvel_store ${CMAKE_CURRENT_LIST_DIR}/tst_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/store_contents.cpp)
