# libFuzzer targets (clang only): tests/fuzz/<name>_fuzz.cpp -> <name>_fuzz, each linked with
# the portable library built under the address and undefined-behaviour sanitizers.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "QUELVAR_FUZZ needs clang (CXX=clang++)")
endif()
target_compile_options(quelvar_core PRIVATE -fsanitize=fuzzer-no-link,address,undefined -g)
file(GLOB QUELVAR_FUZZ_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
foreach(src IN LISTS QUELVAR_FUZZ_SOURCES)
  get_filename_component(target ${src} NAME_WE)
  add_executable(${target} ${src})
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined -g)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer,address,undefined)
  target_link_libraries(${target} PRIVATE quelvar_core)
endforeach()
