# The picture taker of scripts/screenshots.sh: the real main window on the
# example project, one PNG per page. A test helper, never installed.
add_executable(velk-screenshots ${CMAKE_CURRENT_SOURCE_DIR}/screenshots_main.cpp)
target_link_libraries(velk-screenshots PRIVATE velk_app Qt6::Test)

# One page in one language into a temporary folder, through the script, under
# Xvfb; skipped where xvfb-run is missing.
add_test(NAME app_screenshots
         COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/screenshots_test.sh
                 ${PROJECT_SOURCE_DIR}/scripts/screenshots.sh ${PROJECT_BINARY_DIR})
# On a real X server the D-Bus library keeps its connection to the end.
set_tests_properties(app_screenshots PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 300
                     ENVIRONMENT "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan-system.supp")
