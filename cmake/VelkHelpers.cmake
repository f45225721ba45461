# Small helpers shared by the layer folders.

# Includes every *.cmake fragment of the calling folder, so that a feature can
# add its own executables or data without editing the layer's list.
macro(velk_include_fragments)
  file(GLOB _velk_fragments CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
  list(SORT _velk_fragments)
  foreach(_f IN LISTS _velk_fragments)
    include(${_f})
  endforeach()
endmacro()

# Collects the sources of a layer library: every .cpp/.h below the folder,
# except files ending in _main.cpp (program entry points) and the folders
# named in EXCLUDE_DIRS.
function(velk_collect_sources out_var)
  cmake_parse_arguments(ARG "" "" "EXCLUDE_DIRS" ${ARGN})
  file(GLOB_RECURSE _srcs CONFIGURE_DEPENDS
       ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  list(FILTER _srcs EXCLUDE REGEX "_main\\.cpp$")
  foreach(_d IN LISTS ARG_EXCLUDE_DIRS)
    list(FILTER _srcs EXCLUDE REGEX "${CMAKE_CURRENT_SOURCE_DIR}/${_d}/")
  endforeach()
  list(SORT _srcs)
  set(${out_var} ${_srcs} PARENT_SCOPE)
endfunction()

# One test executable per file: foo_test.cpp (GoogleTest) or foo_qtest.cpp
# (QtTest, run on the offscreen platform). LIBS names the layer libraries.
# The user's data folder is an empty one of the build's: a user's own
# packings.csv never changes what a test sees.
function(velk_add_tests)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  file(GLOB _tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp
                                      ${CMAKE_CURRENT_SOURCE_DIR}/*_qtest.cpp)
  list(SORT _tests)
  get_filename_component(_layer ${CMAKE_CURRENT_SOURCE_DIR} NAME)
  foreach(_t IN LISTS _tests)
    get_filename_component(_name ${_t} NAME_WE)
    set(_target ${_layer}_${_name})
    add_executable(${_target} ${_t})
    target_include_directories(${_target} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
    target_compile_definitions(${_target} PRIVATE
      VELK_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
      VELK_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
      VELK_BINARY_DIR="${PROJECT_BINARY_DIR}")
    if(_name MATCHES "_qtest$")
      target_link_libraries(${_target} PRIVATE ${ARG_LIBS} Qt6::Test)
      add_test(NAME ${_target} COMMAND ${_target})
      set_tests_properties(${_target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_DATA_HOME=${PROJECT_BINARY_DIR}/test-data-home" TIMEOUT 300)
    else()
      target_link_libraries(${_target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
      add_test(NAME ${_target} COMMAND ${_target})
      set_tests_properties(${_target} PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;XDG_DATA_HOME=${PROJECT_BINARY_DIR}/test-data-home" TIMEOUT 300)
    endif()
  endforeach()
endfunction()
