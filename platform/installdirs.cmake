# The data folder as seen from the program folder of an installation, worked
# out once at configure time from the install directories, so that the
# program finds its data wherever the prefix is.
include(GNUInstallDirs)
file(RELATIVE_PATH VELK_DATA_DIR_FROM_BIN_DIR ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_DATADIR}/velk)
configure_file(${CMAKE_CURRENT_LIST_DIR}/VelkInstallDirs.h.in ${CMAKE_CURRENT_BINARY_DIR}/generated/VelkInstallDirs.h @ONLY)
target_include_directories(velk_platform PUBLIC ${CMAKE_CURRENT_BINARY_DIR}/generated)
