# The English interface. The program's texts are written in Chinese and are
# the source; translations/velk_en.ts holds the English. The .qm is compiled
# at build time into the application library; the .ts goes in too, because
# switching the language at run time maps shown texts back to their source.
# `cmake --build <dir> --target update_translations` refreshes the .ts from
# every layer's sources (lupdate, without file locations).
file(GLOB_RECURSE VELK_TR_SOURCES CONFIGURE_DEPENDS
     ${PROJECT_SOURCE_DIR}/engine/*.cpp ${PROJECT_SOURCE_DIR}/engine/*.h
     ${PROJECT_SOURCE_DIR}/platform/*.cpp ${PROJECT_SOURCE_DIR}/platform/*.h
     ${PROJECT_SOURCE_DIR}/output/*.cpp ${PROJECT_SOURCE_DIR}/output/*.h
     ${PROJECT_SOURCE_DIR}/import/*.cpp ${PROJECT_SOURCE_DIR}/import/*.h
     ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h
     ${PROJECT_SOURCE_DIR}/cli/*.cpp ${PROJECT_SOURCE_DIR}/cli/*.h)
set(VELK_TS_FILES ${PROJECT_SOURCE_DIR}/translations/velk_en.ts)
qt_add_translations(velk_app
  TS_FILES ${VELK_TS_FILES}
  SOURCES ${VELK_TR_SOURCES}
  RESOURCE_PREFIX /i18n
  LUPDATE_OPTIONS -no-obsolete -locations none -source-language zh_CN -target-language en)
qt_add_resources(velk_app velk_translation_sources
  PREFIX /i18n BASE ${PROJECT_SOURCE_DIR}/translations FILES ${VELK_TS_FILES})

# The English report template: the Chinese template's parts with every
# shared string translated, packed like the Chinese one; same layout.
add_executable(velk_translate_template ${PROJECT_SOURCE_DIR}/output/template/TranslateTemplate_main.cpp)
target_link_libraries(velk_translate_template PRIVATE Qt6::Core pugixml::pugixml)
target_include_directories(velk_translate_template PRIVATE ${PROJECT_SOURCE_DIR}/engine)
set(_template_parts ${PROJECT_SOURCE_DIR}/output/template/VELK2016-07-15)
set(_template_en_parts ${CMAKE_CURRENT_BINARY_DIR}/template-en/VELK2016-07-15-en)
set(VELK_REPORT_TEMPLATE_EN ${PROJECT_BINARY_DIR}/bin/VELK2016-07-15-en.xltx)
file(GLOB_RECURSE _template_files CONFIGURE_DEPENDS ${_template_parts}/*)
add_custom_command(
  OUTPUT ${VELK_REPORT_TEMPLATE_EN}
  COMMAND velk_translate_template ${_template_parts} ${_template_en_parts} ${CMAKE_CURRENT_BINARY_DIR}/velk_en.qm
  COMMAND velk_pack_xlsx ${_template_en_parts} ${VELK_REPORT_TEMPLATE_EN}
  DEPENDS velk_translate_template velk_pack_xlsx velk_app_lrelease ${CMAKE_CURRENT_BINARY_DIR}/velk_en.qm
          ${_template_files} ${VELK_TS_FILES}
  COMMENT "Making the English report template VELK2016-07-15-en.xltx"
  VERBATIM)
add_custom_target(velk_report_template_en ALL DEPENDS ${VELK_REPORT_TEMPLATE_EN})
add_dependencies(velk_app velk_report_template_en)
include(GNUInstallDirs)
install(FILES ${VELK_REPORT_TEMPLATE_EN} DESTINATION ${CMAKE_INSTALL_DATADIR}/velk)
