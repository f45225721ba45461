# The program's icon for the window, when the icon theme does not have it
# (a build that was never installed).
qt_add_resources(velk_app velk_icons PREFIX /icons BASE ${PROJECT_SOURCE_DIR}/dist/linux
  FILES ${PROJECT_SOURCE_DIR}/dist/linux/io.github.velk.Velk.svg)
