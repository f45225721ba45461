# The stand-ins for the two simulators and what they need beside the program:
# velk-simdb (simulation database files from CSV tray profiles), velk-hysys
# (a running HYSYS serving a case file), the registry file that registers the
# PRO/II database server, and the example simulation and case files.

# Must match ProiiDatabaseServer::kVersion (a test reads the generated file).
set(VELK_PROII_SERVER_VERSION 10)

add_executable(velk-simdb ${CMAKE_CURRENT_SOURCE_DIR}/velk_simdb_main.cpp)
target_link_libraries(velk-simdb PRIVATE velk_import)
add_executable(velk-hysys ${CMAKE_CURRENT_SOURCE_DIR}/velk_hysys_main.cpp)
target_link_libraries(velk-hysys PRIVATE velk_import)
set_target_properties(velk-simdb velk-hysys PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${PROJECT_BINARY_DIR}/bin)

set(VELK_REGISTRY_FILE ${PROJECT_BINARY_DIR}/bin/velk-registry.reg)
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/velk-registry.reg.in ${VELK_REGISTRY_FILE} @ONLY)

set(VELK_EXAMPLE_PRZ ${PROJECT_BINARY_DIR}/examples/debutanizer.prz)
set(VELK_EXAMPLE_HSC ${PROJECT_BINARY_DIR}/examples/debutanizer.hsc)
add_custom_command(
  OUTPUT ${VELK_EXAMPLE_PRZ}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/examples
  COMMAND velk-simdb build ${PROJECT_SOURCE_DIR}/examples/debutanizer.csv ${VELK_EXAMPLE_PRZ}
  DEPENDS velk-simdb ${PROJECT_SOURCE_DIR}/examples/debutanizer.csv
  COMMENT "Building the example simulation file debutanizer.prz"
  VERBATIM)
add_custom_command(
  OUTPUT ${VELK_EXAMPLE_HSC}
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/examples/debutanizer.hsc ${VELK_EXAMPLE_HSC}
  DEPENDS ${PROJECT_SOURCE_DIR}/examples/debutanizer.hsc
  VERBATIM)
add_custom_target(velk_simulator_examples ALL DEPENDS ${VELK_EXAMPLE_PRZ} ${VELK_EXAMPLE_HSC})

include(GNUInstallDirs)
install(TARGETS velk-simdb velk-hysys RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${VELK_REGISTRY_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/velk)
install(FILES ${VELK_EXAMPLE_PRZ} ${VELK_EXAMPLE_HSC} ${PROJECT_SOURCE_DIR}/examples/debutanizer.csv
        DESTINATION ${CMAKE_INSTALL_DATADIR}/velk/examples)
