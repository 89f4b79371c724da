# Resource scripts on Linux: the C preprocessor runs over the same .rc file that the Windows
# resource compiler compiles, and the reader turns the result into the program's tables.
pkg_check_modules(GLIB2 REQUIRED IMPORTED_TARGET glib-2.0)

# The script reader needs no display: the build-time tool and the unit tests use it too.
add_library(vapora_platform_rc STATIC ${CMAKE_CURRENT_LIST_DIR}/rc_parse.cpp)
target_include_directories(vapora_platform_rc PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(vapora_platform_rc PUBLIC PkgConfig::GLIB2)

add_executable(vapora_rc_embed ${CMAKE_CURRENT_LIST_DIR}/rc_embed.cpp)
target_link_libraries(vapora_rc_embed PRIVATE vapora_platform_rc)

# vapora_add_resources(<target> <script.rc>): preprocesses the script as the resource
# compiler does (RC_INVOKED, the script's folder, then the target's include folders and
# definitions, and a <windows.h> that gives the layer's constants; no macro or header of
# the build machine), checks it with the reader and links the text and its icons into
# <target>. A script the reader refuses fails the build with the file and line of the fault.
function(vapora_add_resources target rc_file)
  get_filename_component(rc_abs ${rc_file} ABSOLUTE)
  get_filename_component(rc_dir ${rc_abs} DIRECTORY)
  get_filename_component(rc_name ${rc_file} NAME_WE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${rc_name}_rc)
  set(includes "$<TARGET_PROPERTY:${target},INCLUDE_DIRECTORIES>")
  set(defines "$<TARGET_PROPERTY:${target},COMPILE_DEFINITIONS>")
  add_custom_command(
    OUTPUT ${out}.cpp
    COMMAND ${CMAKE_C_COMPILER} -E -xc -undef -nostdinc -DRC_INVOKED
            "$<$<BOOL:${defines}>:-D$<JOIN:${defines},;-D>>" -I${rc_dir}
            "$<$<BOOL:${includes}>:-I$<JOIN:${includes},;-I>>"
            -I${PROJECT_SOURCE_DIR}/app/platform/rc_include -o ${out}.i ${rc_abs}
    COMMAND vapora_rc_embed ${out}.i ${rc_dir} ${out}.cpp ${out}.d
    DEPENDS vapora_rc_embed ${rc_abs}
    DEPFILE ${out}.d
    COMMENT "Reading resource script ${rc_file}"
    COMMAND_EXPAND_LISTS VERBATIM)
  target_sources(${target} PRIVATE ${out}.cpp)
endfunction()
