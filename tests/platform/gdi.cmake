# The drawing half's tests: headless, into memory DCs.
add_executable(test_platform_gdi ${CMAKE_CURRENT_LIST_DIR}/gdi_test.cpp)
target_link_libraries(test_platform_gdi PRIVATE vapora_platform_gdi GTest::gtest_main)
gtest_discover_tests(test_platform_gdi)
