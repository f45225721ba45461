# A small tool that renders the performance diagram of a given case to a PNG
# or SVG file; used to look at the diagram without the main window.
add_executable(performance-render ${CMAKE_CURRENT_SOURCE_DIR}/PerformanceRender_main.cpp)
target_link_libraries(performance-render PRIVATE velk_output)
set_target_properties(performance-render PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
