# The drawing half's tests: headless, into memory DCs and image surfaces.
add_executable(test_platform_gdi
  ${CMAKE_CURRENT_LIST_DIR}/gdi_raster_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gdi_text_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gdi_objects_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/gdi_win_compile.cpp)
target_link_libraries(test_platform_gdi PRIVATE vapora_platform_gdi GTest::gtest_main)
gtest_discover_tests(test_platform_gdi)

# The same drawing calls must compile against the real <windows.h> and link against
# gdi32/user32: gdi_win_compile.cpp is built here too and with the cross compiler.
find_program(VAPORA_MINGW_CXX NAMES i686-w64-mingw32-g++-posix i686-w64-mingw32-g++)
if(VAPORA_MINGW_CXX)
  add_test(NAME platform_gdi_windows_build
    COMMAND ${VAPORA_MINGW_CXX} -std=c++17 -Wall -Wextra -Werror -DVAPORA_WIN_COMPILE_MAIN
      -I${CMAKE_CURRENT_LIST_DIR}/../../app/platform ${CMAKE_CURRENT_LIST_DIR}/gdi_win_compile.cpp
      -o ${CMAKE_CURRENT_BINARY_DIR}/gdi_win_compile.exe -mwindows -lgdi32 -luser32)
endif()
