# The Wine suite: GoogleTest built for the MinGW target and run through the Wine launcher
# (CMAKE_CROSSCOMPILING_EMULATOR, set by the toolchain file).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
if(EXISTS /usr/src/googletest/CMakeLists.txt)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  message(FATAL_ERROR "GoogleTest sources not found in /usr/src/googletest (install googletest)")
endif()

# Probes: small programs the suite starts (tests/win32/probes/<name>.cpp -> <name>.exe),
# each known to the tests as QUELVAR_<NAME>_PATH.
file(GLOB QUELVAR_WINE_PROBES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win32/probes/*.cpp)
set(QUELVAR_PROBE_DEFINITIONS)
foreach(src IN LISTS QUELVAR_WINE_PROBES)
  get_filename_component(probe ${src} NAME_WE)
  add_executable(${probe} ${src})
  target_link_libraries(${probe} PRIVATE quelvar_win32)
  target_link_options(${probe} PRIVATE -static)
  string(TOUPPER ${probe} probe_upper)
  string(REGEX REPLACE "_PROBE$" "" probe_upper ${probe_upper})
  list(APPEND QUELVAR_PROBE_DEFINITIONS QUELVAR_${probe_upper}_PROBE_PATH="$<TARGET_FILE:${probe}>")
  list(APPEND QUELVAR_PROBE_TARGETS ${probe})
endforeach()

file(GLOB_RECURSE QUELVAR_WINE_TEST_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/win32/*.cpp)
list(FILTER QUELVAR_WINE_TEST_SOURCES EXCLUDE REGEX "/tests/win32/probes/")
if(NOT QUELVAR_WINE_TEST_SOURCES)
  return()
endif()
add_executable(quelvar_wine_tests ${QUELVAR_WINE_TEST_SOURCES})
target_include_directories(quelvar_wine_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/res)
target_link_libraries(quelvar_wine_tests PRIVATE quelvar_win32 shlwapi gtest gtest_main)
target_link_options(quelvar_wine_tests PRIVATE -static)
target_compile_definitions(quelvar_wine_tests PRIVATE
  QUELVAR_EXE_PATH="$<TARGET_FILE:Quelvar>" QUELVAR_BUILD_DIR="${CMAKE_BINARY_DIR}"
  QUELVAR_LOCK_PROBE_PATH="${CMAKE_BINARY_DIR}/quelvar_lock_probe.exe"
  QUELVAR_UNROUTED_LOCK_PROBE_PATH="${CMAKE_BINARY_DIR}/quelvar_unrouted_lock_probe.exe"
  ${QUELVAR_PROBE_DEFINITIONS})
add_dependencies(quelvar_wine_tests Quelvar ${QUELVAR_PROBE_TARGETS} quelvar_lock_probe quelvar_unrouted_lock_probe)
# UI tests start Quelvar.exe and must run one at a time; registry tests use their own keys.
gtest_discover_tests(quelvar_wine_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
  PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)

# The driver of the 32-bit release's smoke suite: run by scripts/wine32 smoke in the 32-bit Wine
# session, never by CTest (it needs that session and the i686 build).
add_executable(quelvar_wine32_smoke ${PROJECT_SOURCE_DIR}/tests/wine32/smoke_test.cpp
  ${PROJECT_SOURCE_DIR}/tests/win32/ui_test_lib.cpp)
target_include_directories(quelvar_wine32_smoke PRIVATE ${PROJECT_SOURCE_DIR}/tests ${PROJECT_SOURCE_DIR}/res)
target_link_libraries(quelvar_wine32_smoke PRIVATE shlwapi gtest gtest_main)
target_link_options(quelvar_wine32_smoke PRIVATE -static)
target_compile_definitions(quelvar_wine32_smoke PRIVATE WIN32_LEAN_AND_MEAN NOMINMAX
  _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600 QUELVAR_BUILD_DIR="${CMAKE_BINARY_DIR}")
