# vapora-chart through its real process: the PNG, SVG and PDF it writes, read back with
# cairo (the vector ones rendered by rsvg-convert and pdftoppm first).
find_program(VAPORA_RSVG_CONVERT rsvg-convert REQUIRED)
find_program(VAPORA_PDFTOPPM pdftoppm REQUIRED)
add_executable(test_tool_chart ${CMAKE_CURRENT_LIST_DIR}/chart_test.cpp)
target_include_directories(test_tool_chart PRIVATE ${PROJECT_SOURCE_DIR}/tests/platform)
target_link_libraries(test_tool_chart PRIVATE vapora_diagram tools_test_process GTest::gtest_main)
target_compile_definitions(test_tool_chart PRIVATE VAPORA_CHART_EXE="$<TARGET_FILE:vapora-chart>"
  RSVG_CONVERT="${VAPORA_RSVG_CONVERT}" PDFTOPPM="${VAPORA_PDFTOPPM}")
add_dependencies(test_tool_chart vapora-chart)
gtest_discover_tests(test_tool_chart)
