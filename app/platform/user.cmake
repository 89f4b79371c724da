# The windowing half of the platform layer on Linux: USER over GTK 3, and the reader of
# resource scripts that lets the same .rc file serve both platforms.
pkg_check_modules(GTK3 REQUIRED IMPORTED_TARGET gtk+-3.0)

# The script reader needs no display: the build-time tool and the unit tests use it too.
add_library(vapora_platform_rc STATIC ${CMAKE_CURRENT_LIST_DIR}/rc_parse.cpp)
target_include_directories(vapora_platform_rc PUBLIC ${PROJECT_SOURCE_DIR}/app/platform)

add_executable(vapora_rc_embed ${CMAKE_CURRENT_LIST_DIR}/rc_embed.cpp)
target_link_libraries(vapora_rc_embed PRIVATE vapora_platform_rc)

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

# vapora_add_resources(<target> <script.rc>): the script and the headers it includes
# become a table linked into <target>, regenerated whenever one of them changes.
function(vapora_add_resources target rc_file)
  get_filename_component(rc_abs ${rc_file} ABSOLUTE)
  get_filename_component(rc_name ${rc_file} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}_rc.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND vapora_rc_embed -o ${out} -d ${out}.d ${rc_abs}
    DEPENDS vapora_rc_embed ${rc_abs}
    DEPFILE ${out}.d
    COMMENT "Reading resource script ${rc_file}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/app/platform)
endfunction()
