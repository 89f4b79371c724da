# vapora-chart through its real process: the PNG it writes, read back with cairo.
add_executable(test_tool_chart ${CMAKE_CURRENT_LIST_DIR}/chart_test.cpp)
# cairo comes with the platform layer, which links it publicly.
target_link_libraries(test_tool_chart PRIVATE vapora_diagram GTest::gtest_main)
target_compile_definitions(test_tool_chart PRIVATE
  VAPORA_CHART_EXE="$<TARGET_FILE:vapora-chart>"
  VAPORA_CHART_OUT_DIR="${CMAKE_CURRENT_BINARY_DIR}")
add_dependencies(test_tool_chart vapora-chart)
gtest_discover_tests(test_tool_chart)
