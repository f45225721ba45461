# The report template: its XML parts live in template/VELK2016-07-15 and are
# packed into VELK2016-07-15.xltx beside the executables, where the report
# command looks for it, and installed there too.
include(GNUInstallDirs)

add_executable(velk_pack_xlsx ${CMAKE_CURRENT_SOURCE_DIR}/template/PackXlsx_main.cpp)
target_link_libraries(velk_pack_xlsx PRIVATE PkgConfig::LIBZIP pugixml::pugixml)

file(GLOB_RECURSE VELK_REPORT_TEMPLATE_PARTS CONFIGURE_DEPENDS
     ${CMAKE_CURRENT_SOURCE_DIR}/template/VELK2016-07-15/*)
set(VELK_REPORT_TEMPLATE ${PROJECT_BINARY_DIR}/bin/VELK2016-07-15.xltx)
add_custom_command(
  OUTPUT ${VELK_REPORT_TEMPLATE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${PROJECT_BINARY_DIR}/bin
  COMMAND velk_pack_xlsx ${CMAKE_CURRENT_SOURCE_DIR}/template/VELK2016-07-15 ${VELK_REPORT_TEMPLATE}
  DEPENDS velk_pack_xlsx ${VELK_REPORT_TEMPLATE_PARTS}
  COMMENT "Packing the report template VELK2016-07-15.xltx"
  VERBATIM)
add_custom_target(velk_report_template ALL DEPENDS ${VELK_REPORT_TEMPLATE})
# Everything that links the output layer (the programs, the tests) finds the
# template built.
add_dependencies(velk_output velk_report_template)
install(FILES ${VELK_REPORT_TEMPLATE} DESTINATION ${CMAKE_INSTALL_DATADIR}/velk)
