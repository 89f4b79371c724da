# vapora-calc's commands of the state solvers: state, turbine, point and batch.
# state, turbine and batch answer with the converged solvers when given --converged.
# The batch and the state solving it shares with state and turbine are a library of
# their own, so that bench/ can measure the batch without a process; vapora-chart reads
# its --states through the same CSV reader.
add_library(vapora_batch STATIC ${CMAKE_CURRENT_LIST_DIR}/batch.cpp
            ${CMAKE_CURRENT_LIST_DIR}/csv_reader.cpp)
target_link_libraries(vapora_batch PUBLIC vapora_solvers vapora_converged)
target_sources(vapora-calc PRIVATE ${CMAKE_CURRENT_LIST_DIR}/calc_state.cpp)
target_link_libraries(vapora-calc PRIVATE vapora_batch)
