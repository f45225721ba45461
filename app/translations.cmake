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
     ${PROJECT_SOURCE_DIR}/app/*.cpp ${PROJECT_SOURCE_DIR}/app/*.h)
set(VELK_TS_FILES ${PROJECT_SOURCE_DIR}/translations/velk_en.ts)
qt_add_translations(velk_app
  TS_FILES ${VELK_TS_FILES}
  SOURCES ${VELK_TR_SOURCES}
  RESOURCE_PREFIX /i18n
  LUPDATE_OPTIONS -no-obsolete -locations none -source-language zh_CN -target-language en)
qt_add_resources(velk_app velk_translation_sources
  PREFIX /i18n BASE ${PROJECT_SOURCE_DIR}/translations FILES ${VELK_TS_FILES})
