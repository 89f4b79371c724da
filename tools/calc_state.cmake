# vapora-calc's commands of the state solvers: state, turbine and point.
target_sources(vapora-calc PRIVATE ${CMAKE_CURRENT_LIST_DIR}/calc_state.cpp)
target_link_libraries(vapora-calc PRIVATE vapora_solvers)
