# The headless collector, run as the system's timers run it.
quorvel_test(tst_collect integration quorvel_collect ${CMAKE_CURRENT_LIST_DIR}/tst_collect.cpp)
add_dependencies(tst_collect quorvel-collect)
target_compile_definitions(tst_collect PRIVATE QUORVEL_COLLECT_PATH="$<TARGET_FILE:quorvel-collect>"
  QUORVEL_STATIONS_EXAMPLE="${PROJECT_SOURCE_DIR}/packaging/stations.ini.example")

# The collector killed where a yearly file is at risk, and at random, then run again: two
# executables, so that a parallel run packs them.
foreach(name tst_yearly_kills tst_yearly_kills_random)
  quorvel_test(${name} integration quorvel_core ${CMAKE_CURRENT_LIST_DIR}/${name}.cpp)
  add_dependencies(${name} quorvel-collect)
  target_compile_definitions(${name} PRIVATE QUORVEL_COLLECT_PATH="$<TARGET_FILE:quorvel-collect>")
endforeach()

# The readings store alone: its URL, the readings of a block, SQLite.
quorvel_test(tst_store unit quorvel_store ${CMAKE_CURRENT_LIST_DIR}/tst_store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/store_contents.cpp)

# A test that runs quorvel-collect and reads back what it stored.
function(collector_test name)
  quorvel_test(${name} integration quorvel_store ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/${name}.cpp
    ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/store_contents.cpp)
  add_dependencies(${name} quorvel-collect)
  target_compile_definitions(${name} PRIVATE QUORVEL_COLLECT_PATH="$<TARGET_FILE:quorvel-collect>")
endfunction()

# Stations on several ports at once.
collector_test(tst_collect_parallel)
# The collector with its store: a real PostgreSQL server of Debian's packages, SQLite.
collector_test(tst_collect_store)
# The collector with its store killed at random points of its runs, then run again.
collector_test(tst_store_kills)
# The stations' health after their downloads: warnings, the clock set, JSON.
collector_test(tst_collect_health)
