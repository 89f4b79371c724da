# The drawing half of the platform layer on Linux: GDI over cairo, text through Pango.
# Needs no display.
pkg_check_modules(VAPORA_PANGOCAIRO REQUIRED IMPORTED_TARGET pangocairo)

file(GLOB vapora_gdi_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/gdi*.cpp)
add_library(vapora_platform_gdi STATIC ${vapora_gdi_sources})
target_include_directories(vapora_platform_gdi PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vapora_platform_gdi PUBLIC PkgConfig::VAPORA_PANGOCAIRO)
