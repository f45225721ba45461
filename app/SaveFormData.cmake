# velk-project: converts projects between the stored forms (makes the examples).
add_executable(velk-project ${CMAKE_CURRENT_LIST_DIR}/SaveFormDataTool_main.cpp)
target_link_libraries(velk-project PRIVATE velk_app)
set_target_properties(velk-project PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)
