# The drawing half of the platform layer on Linux: GDI over cairo. Needs no display.
pkg_check_modules(VAPORA_CAIRO REQUIRED IMPORTED_TARGET cairo)

file(GLOB vapora_gdi_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/gdi*.cpp)
add_library(vapora_platform_gdi STATIC ${vapora_gdi_sources})
target_include_directories(vapora_platform_gdi PUBLIC ${PROJECT_SOURCE_DIR}/app/platform)
target_link_libraries(vapora_platform_gdi PUBLIC PkgConfig::VAPORA_CAIRO)
