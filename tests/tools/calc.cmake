# vapora-calc through its real process: every command, its output and its exit status.
add_executable(test_calc ${CMAKE_CURRENT_LIST_DIR}/calc_test.cpp)
target_link_libraries(test_calc PRIVATE vapora_solvers tools_test_process GTest::gtest_main)
target_compile_definitions(test_calc PRIVATE VAPORA_CALC="$<TARGET_FILE:vapora-calc>" VAPORA_VERSION="${PROJECT_VERSION}")
add_dependencies(test_calc vapora-calc)
gtest_discover_tests(test_calc DISCOVERY_TIMEOUT 60)
