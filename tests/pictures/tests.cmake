# Not a test: the tool that takes the README's pictures of windows filled from the simulator.
add_executable(take_pictures ${CMAKE_CURRENT_LIST_DIR}/take_pictures.cpp)
target_link_libraries(take_pictures PRIVATE quorvel_ui quorvel_test_support Qt6::Test)
