# The compiled HTML help files: VELKHelp.chm (Chinese) built from the sources
# in help/ and VELKHelp_en.chm (English) from help/en/, with chmcmd, placed
# beside the executables and read back with libchm.
find_library(CHM_LIBRARY NAMES chm REQUIRED)
find_path(CHM_INCLUDE_DIR chm_lib.h REQUIRED)
find_program(CHMCMD_EXECUTABLE chmcmd REQUIRED)
find_program(ICONV_EXECUTABLE iconv REQUIRED)

target_include_directories(velk_platform PRIVATE ${CHM_INCLUDE_DIR})
target_link_libraries(velk_platform PUBLIC ${CHM_LIBRARY})

set(VELK_HELP_DIR ${PROJECT_SOURCE_DIR}/help)
set(VELK_HELP_FILE ${PROJECT_BINARY_DIR}/bin/VELKHelp.chm)
set(VELK_HELP_EN_FILE ${PROJECT_BINARY_DIR}/bin/VELKHelp_en.chm)
# The English edition shares the style sheet and the picture (it has no text).
set(VELK_HELP_SHARED help.css diagram.png)
file(GLOB VELK_HELP_SOURCES CONFIGURE_DEPENDS ${VELK_HELP_DIR}/*)
list(FILTER VELK_HELP_SOURCES EXCLUDE REGEX "/en$")
file(GLOB VELK_HELP_EN_SOURCES CONFIGURE_DEPENDS ${VELK_HELP_DIR}/en/*)
add_custom_command(
  OUTPUT ${VELK_HELP_FILE}
  COMMAND ${CMAKE_COMMAND}
          -DSOURCE_DIR=${VELK_HELP_DIR}
          -DSTAGE_DIR=${CMAKE_CURRENT_BINARY_DIR}/help-stage
          -DOUTPUT=${VELK_HELP_FILE}
          -DCHMCMD=${CHMCMD_EXECUTABLE}
          -DICONV=${ICONV_EXECUTABLE}
          -P ${VELK_HELP_DIR}/compile_chm.cmake
  DEPENDS ${VELK_HELP_SOURCES}
  COMMENT "Compiling the HTML help VELKHelp.chm"
  VERBATIM)
add_custom_command(
  OUTPUT ${VELK_HELP_EN_FILE}
  COMMAND ${CMAKE_COMMAND}
          -DSOURCE_DIR=${VELK_HELP_DIR}/en
          -DSTAGE_DIR=${CMAKE_CURRENT_BINARY_DIR}/help-stage-en
          -DOUTPUT=${VELK_HELP_EN_FILE}
          -DCHMCMD=${CHMCMD_EXECUTABLE}
          -DICONV=${ICONV_EXECUTABLE}
          -DCHARSET=CP1252
          -DSHARED_DIR=${VELK_HELP_DIR}
          "-DSHARED_FILES=${VELK_HELP_SHARED}"
          -P ${VELK_HELP_DIR}/compile_chm.cmake
  DEPENDS ${VELK_HELP_EN_SOURCES} ${VELK_HELP_DIR}/compile_chm.cmake ${VELK_HELP_DIR}/help.css
          ${VELK_HELP_DIR}/diagram.png
  COMMENT "Compiling the English HTML help VELKHelp_en.chm"
  VERBATIM)
add_custom_target(velk_help ALL DEPENDS ${VELK_HELP_FILE} ${VELK_HELP_EN_FILE})
# Everything that links the platform layer (the program, the tests) finds the
# help files built beside it.
add_dependencies(velk_platform velk_help)

include(GNUInstallDirs)
install(FILES ${VELK_HELP_FILE} ${VELK_HELP_EN_FILE} DESTINATION ${CMAKE_INSTALL_DATADIR}/velk)
