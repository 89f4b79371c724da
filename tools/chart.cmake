# vapora-chart: the chart as a PNG, SVG or PDF, drawn headless through the window's own
# repaint.
add_executable(vapora-chart ${CMAKE_CURRENT_LIST_DIR}/vapora_chart.cpp)
target_link_libraries(vapora-chart PRIVATE vapora_diagram vapora_batch)
target_compile_definitions(vapora-chart PRIVATE VAPORA_VERSION="${PROJECT_VERSION}")
