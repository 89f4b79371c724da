# The windowing half of the platform layer on Linux: USER over GTK 3, and the reader of
# resource scripts that lets the same .rc file serve both platforms.
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)

include(${CMAKE_CURRENT_LIST_DIR}/rc.cmake)

file(GLOB vapora_user_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/user*.cpp)
list(FILTER vapora_user_sources EXCLUDE REGEX "user_main\\.cpp$")
add_library(vapora_platform STATIC ${vapora_user_sources})
target_include_directories(vapora_platform PUBLIC ${PROJECT_SOURCE_DIR}/app/platform)
target_link_libraries(vapora_platform PUBLIC vapora_platform_gdi vapora_platform_rc PkgConfig::GTK3
                      vapora_platform_test_hook_none)
# Nothing GTK 3 has deprecated: the layer must build against the API as it stands.
target_compile_definitions(vapora_platform PRIVATE GDK_DISABLE_DEPRECATED GTK_DISABLE_DEPRECATED)

# The layer's test hook (test_hook.h). Every program gets the empty one from this archive;
# a test build that lists its own definition among its sources keeps that one, since the
# linker only takes an archive member for a symbol still undefined.
add_library(vapora_platform_test_hook_none STATIC ${CMAKE_CURRENT_LIST_DIR}/test_hook_none.cpp)
target_include_directories(vapora_platform_test_hook_none PUBLIC ${CMAKE_CURRENT_LIST_DIR})

# main() for a program written with wWinMain: starts GTK and calls it.
add_library(vapora_platform_main STATIC ${CMAKE_CURRENT_LIST_DIR}/user_main.cpp)
target_link_libraries(vapora_platform_main PUBLIC vapora_platform)
target_compile_definitions(vapora_platform_main PRIVATE GDK_DISABLE_DEPRECATED GTK_DISABLE_DEPRECATED)
