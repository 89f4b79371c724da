# vapora-calc through its real process: results, --list, --version and the bad-input errors.
add_executable(test_calc ${CMAKE_CURRENT_LIST_DIR}/calc_test.cpp)
target_link_libraries(test_calc PRIVATE vapora_properties tools_test_process GTest::gtest_main)
target_compile_definitions(test_calc PRIVATE VAPORA_CALC_PATH="$<TARGET_FILE:vapora-calc>"
  VAPORA_VERSION="${PROJECT_VERSION}")
add_dependencies(test_calc vapora-calc)
gtest_discover_tests(test_calc)
