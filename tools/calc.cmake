# vapora-calc: the property library's functions from the command line. Other
# parts add their commands from their own tools/calc_<name>.cmake (included
# after this file) with target_sources and target_link_libraries on
# vapora-calc; see tools/vapora_calc.h.
add_executable(vapora-calc ${CMAKE_CURRENT_LIST_DIR}/vapora_calc.cpp)
target_link_libraries(vapora-calc PRIVATE vapora_properties vapora_solvers)
target_include_directories(vapora-calc PRIVATE ${PROJECT_SOURCE_DIR})
target_compile_definitions(vapora-calc PRIVATE VAPORA_VERSION="${PROJECT_VERSION}")
