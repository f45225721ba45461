# The .deb package: `cpack -G DEB` in a build folder (or the `package`
# target). dpkg-shlibdeps finds the libraries the programs link to; what is
# loaded only at run time is named here: the Qt platform plugins (xcb for
# X11, wayland), the SVG image plugin, Qt's Chinese translations and the
# fonts the interface is laid out for.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME velk)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "VELK")
# The project has no mail domain of its own: a name under .invalid (reserved
# for names that never resolve) cannot reach a stranger, where a guessed real
# domain might; lintian asks only for a well-formed address on a domain name,
# which "localhost" is not.
set(CPACK_PACKAGE_CONTACT "VELK maintainers <velk-maintainers@velk.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hydraulics of structured packing columns (desktop calculator)")
# Lines under 80 characters: CPack indents each one for the control file.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
       "Computes flooding, diameter, pressure drop, holdup and mass-transfer\n"
       "heights of a column section filled with corrugated structured packing,\n"
       "with a performance diagram and a report. Chinese or English interface;\n"
       "velk-calc runs the calculation from the command line.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "qt6-qpa-plugins, libqt6svg6, qt6-translations-l10n, fonts-noto-cjk, fonts-liberation2, shared-mime-info, desktop-file-utils, hicolor-icon-theme")
# The Python module's (python/CMakeLists.txt) when it is built.
if(VELK_PYTHON_DEB_DEPENDS)
  string(APPEND CPACK_DEBIAN_PACKAGE_DEPENDS ", ${VELK_PYTHON_DEB_DEPENDS}")
endif()
set(CPACK_STRIP_FILES ON)
include(CPack)
