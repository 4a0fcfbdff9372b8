# Native GoogleTest suite (portable code) and, for Windows targets, the Wine suite.
include(GoogleTest)
if(NOT WIN32)
  find_package(GTest REQUIRED)
  file(GLOB_RECURSE QUELVAR_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/*.cpp)
  list(FILTER QUELVAR_TEST_SOURCES EXCLUDE REGEX "/tests/win32/")
  list(FILTER QUELVAR_TEST_SOURCES EXCLUDE REGEX "/tests/fuzz/")
  list(FILTER QUELVAR_TEST_SOURCES EXCLUDE REGEX "/tests/wine32/")
  list(FILTER QUELVAR_TEST_SOURCES EXCLUDE REGEX "/tests/tools/import_check\\.cpp$")
  add_executable(quelvar_tests ${QUELVAR_TEST_SOURCES})
  target_include_directories(quelvar_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  target_link_libraries(quelvar_tests PRIVATE quelvar_core GTest::gtest GTest::gtest_main)
  # The layering test reads the includes of the source tree.
  target_compile_definitions(quelvar_tests PRIVATE QUELVAR_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
  gtest_discover_tests(quelvar_tests DISCOVERY_MODE PRE_TEST)

  # Reads the import table of the 32-bit release (scripts/test runs it after the i686 build).
  add_executable(quelvar_import_check ${PROJECT_SOURCE_DIR}/tests/tools/import_check.cpp
    ${PROJECT_SOURCE_DIR}/tests/tools/pe_imports.cpp ${PROJECT_SOURCE_DIR}/tests/tools/import_allowlist.cpp)
  target_include_directories(quelvar_import_check PRIVATE ${PROJECT_SOURCE_DIR}/tests)
else()
  include(${PROJECT_SOURCE_DIR}/cmake/wine_tests.cmake)
endif()
