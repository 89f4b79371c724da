# vapora-calc's state, turbine, point and batch commands, run as real processes.
add_executable(test_calc_state ${CMAKE_CURRENT_LIST_DIR}/calc_state_test.cpp)
target_link_libraries(test_calc_state PRIVATE vapora_solvers tools_test_process GTest::gtest_main)
target_compile_definitions(test_calc_state PRIVATE VAPORA_CALC="$<TARGET_FILE:vapora-calc>")
add_dependencies(test_calc_state vapora-calc)
gtest_discover_tests(test_calc_state DISCOVERY_TIMEOUT 60)
