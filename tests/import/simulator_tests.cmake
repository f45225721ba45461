# The simulator import tests run the stand-in programs and read the files
# built beside them, so those are built first and their paths handed in.
file(GLOB _velk_sim_tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp
                                            ${CMAKE_CURRENT_SOURCE_DIR}/*_qtest.cpp)
foreach(_t IN LISTS _velk_sim_tests)
  get_filename_component(_n ${_t} NAME_WE)
  if(_n MATCHES "Proii|Hysys")
    add_dependencies(import_${_n} velk-hysys velk-simdb velk_simulator_examples)
    target_compile_definitions(import_${_n} PRIVATE
      VELK_HYSYS_EXE="$<TARGET_FILE:velk-hysys>"
      VELK_SIMDB_EXE="$<TARGET_FILE:velk-simdb>")
    target_link_libraries(import_${_n} PRIVATE Qt6::Widgets)
  endif()
endforeach()
