# The Win32 side: the windows and OS services, the program itself and its data files.
file(GLOB_RECURSE QUELVAR_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/win32/*.cpp)
# WinMain belongs to the program alone, not to the library the Wine tests link.
list(FILTER QUELVAR_WIN32_SOURCES EXCLUDE REGEX "/main/win32/win_main\\.cpp$")
add_library(quelvar_win32 STATIC ${QUELVAR_WIN32_SOURCES})
target_link_libraries(quelvar_win32 PUBLIC quelvar_core
  comctl32 advapi32 shell32 user32 gdi32 ole32 oleaut32 winmm wsock32 msimg32)
# The windows name their controls and resources by the identifiers in res/resource.h.
target_include_directories(quelvar_win32 PUBLIC ${PROJECT_SOURCE_DIR}/res)
target_compile_definitions(quelvar_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
target_compile_definitions(quelvar_core PUBLIC NOMINMAX)

enable_language(RC)
add_executable(Quelvar WIN32 ${PROJECT_SOURCE_DIR}/src/main/win32/win_main.cpp ${PROJECT_SOURCE_DIR}/res/quelvar.rc)
target_include_directories(Quelvar PRIVATE ${PROJECT_SOURCE_DIR}/res)
target_link_libraries(Quelvar PRIVATE quelvar_win32)
if(NOT MSVC)
  # One self-contained executable: no MinGW runtime DLLs beside it.
  target_link_options(Quelvar PRIVATE -static -static-libgcc -static-libstdc++)
endif()

# Data files the program reads from its own folder, written beside Quelvar.exe.
set(QUELVAR_DATA_FILES RQLV.swf RQLVMask.skn RQLVSpl.spl)
foreach(data IN LISTS QUELVAR_DATA_FILES)
  if(EXISTS ${PROJECT_SOURCE_DIR}/res/data/${data})
    add_custom_command(TARGET Quelvar POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/res/data/${data} $<TARGET_FILE_DIR:Quelvar>/${data})
  endif()
endforeach()

# The 32-bit build's layout probe, run by the 32-bit smoke suite (scripts/wine32 smoke).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_executable(quelvar_layout_probe ${PROJECT_SOURCE_DIR}/tests/wine32/layout_probe.cpp)
  target_link_libraries(quelvar_layout_probe PRIVATE quelvar_win32)
  if(NOT MSVC)
    target_link_options(quelvar_layout_probe PRIVATE -static)
  endif()
endif()
