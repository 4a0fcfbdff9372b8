# The Win32 side: the windows and OS services, the program itself and its data files.
file(GLOB_RECURSE QUELVAR_WIN32_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/*/win32/*.cpp)
# WinMain belongs to the program alone, not to the library the Wine tests link.
list(FILTER QUELVAR_WIN32_SOURCES EXCLUDE REGEX "/main/win32/win_main\\.cpp$")
add_library(quelvar_win32 STATIC ${QUELVAR_WIN32_SOURCES})
target_link_libraries(quelvar_win32 PUBLIC quelvar_core
  comctl32 comdlg32 advapi32 shell32 user32 gdi32 ole32 oleaut32 winmm wsock32 msimg32)
# The windows name their controls and resources by the identifiers in res/resource.h.
target_include_directories(quelvar_win32 PUBLIC ${PROJECT_SOURCE_DIR}/res)
target_compile_definitions(quelvar_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0501 WINVER=0x0501 _WIN32_IE=0x0600)
target_compile_definitions(quelvar_core PUBLIC NOMINMAX)
# The runtime's CreateSemaphoreW is the program's own (base/win32/runtime_semaphores.cpp): its
# import is named undefined from the start of every link, so the linker takes it from
# quelvar_win32 before it reaches kernel32.
if(MINGW)
  if(CMAKE_SIZEOF_VOID_P EQUAL 4)
    set(QUELVAR_SEMAPHORE_IMPORT "__imp__CreateSemaphoreW@16")
  else()
    set(QUELVAR_SEMAPHORE_IMPORT "__imp_CreateSemaphoreW")
  endif()
  target_link_options(quelvar_win32 INTERFACE "LINKER:--undefined=${QUELVAR_SEMAPHORE_IMPORT}")
endif()

enable_language(RC)
add_executable(Quelvar WIN32 ${PROJECT_SOURCE_DIR}/src/main/win32/win_main.cpp ${PROJECT_SOURCE_DIR}/res/quelvar.rc)
target_include_directories(Quelvar PRIVATE ${PROJECT_SOURCE_DIR}/res ${PROJECT_BINARY_DIR}/generated)
target_link_libraries(Quelvar PRIVATE quelvar_win32)
if(NOT MSVC)
  # One self-contained executable: no MinGW runtime DLLs beside it. Its sections lie on page
  # boundaries in the file too, so the loader maps them from the file (shared, paged in as
  # needed) instead of copying the whole image into the program's private memory.
  target_link_options(Quelvar PRIVATE -static -static-libgcc -static-libstdc++
                      "LINKER:--file-alignment=4096")
endif()

# Everything a package holds beside Quelvar.exe: scripts/package builds this target.
add_custom_target(quelvar_data ALL)
add_dependencies(quelvar_data Quelvar)

# Data files the program reads from its own folder, written beside Quelvar.exe.
set(QUELVAR_DATA_FILES RQLV.swf RQLVMask.skn RQLVSpl.spl)
foreach(data IN LISTS QUELVAR_DATA_FILES)
  if(EXISTS ${PROJECT_SOURCE_DIR}/res/data/${data})
    add_custom_command(TARGET Quelvar POST_BUILD
      COMMAND ${CMAKE_COMMAND} -E copy_if_different ${PROJECT_SOURCE_DIR}/res/data/${data} $<TARGET_FILE_DIR:Quelvar>/${data})
  endif()
endforeach()

# The two sounds, "\low-memory.wav" and "\Ping.wav", made by a small program built for the
# build machine from their descriptions in res/sounds, and written beside Quelvar.exe.
if(CMAKE_CROSSCOMPILING)
  # Built by the build machine's own compiler: it runs here, not on the target.
  find_program(QUELVAR_HOST_CXX NAMES c++ g++ clang++ REQUIRED)
  set(QUELVAR_MAKE_WAV ${CMAKE_BINARY_DIR}/host/make_wav${CMAKE_HOST_EXECUTABLE_SUFFIX})
  add_custom_command(OUTPUT ${QUELVAR_MAKE_WAV}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/host
    COMMAND ${QUELVAR_HOST_CXX} -std=c++17 -O2 -o ${QUELVAR_MAKE_WAV} ${PROJECT_SOURCE_DIR}/tools/make_wav.cpp
    DEPENDS ${PROJECT_SOURCE_DIR}/tools/make_wav.cpp
    COMMENT "Building the sound maker for the build machine")
  set(QUELVAR_MAKE_WAV_DEPENDS ${QUELVAR_MAKE_WAV})
else()
  add_executable(make_wav ${PROJECT_SOURCE_DIR}/tools/make_wav.cpp)
  set(QUELVAR_MAKE_WAV $<TARGET_FILE:make_wav>)
  set(QUELVAR_MAKE_WAV_DEPENDS make_wav)
endif()
set(QUELVAR_SOUNDS)
foreach(sound low-memory Ping)
  set(wav ${CMAKE_BINARY_DIR}/sounds/${sound}.wav)
  add_custom_command(OUTPUT ${wav}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/sounds
    COMMAND ${QUELVAR_MAKE_WAV} ${PROJECT_SOURCE_DIR}/res/sounds/${sound}.txt ${wav}
    DEPENDS ${QUELVAR_MAKE_WAV_DEPENDS} ${PROJECT_SOURCE_DIR}/res/sounds/${sound}.txt
    COMMENT "Making ${sound}.wav")
  list(APPEND QUELVAR_SOUNDS ${wav})
  add_custom_command(TARGET Quelvar POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${wav} $<TARGET_FILE_DIR:Quelvar>/${sound}.wav)
endforeach()
add_custom_target(quelvar_sounds DEPENDS ${QUELVAR_SOUNDS})
add_dependencies(Quelvar quelvar_sounds)

# The help file, compiled from the pages in res/help by chmcmd where it is installed (Debian's
# fp-utils); without it the program is built without help and says so when Help is chosen.
find_program(QUELVAR_CHMCMD chmcmd)
if(QUELVAR_CHMCMD)
  file(GLOB QUELVAR_HELP_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/help/*)
  set(QUELVAR_HELP_DIR ${CMAKE_BINARY_DIR}/help)
  add_custom_command(OUTPUT ${QUELVAR_HELP_DIR}/QLVHelp.chm
    COMMAND ${CMAKE_COMMAND} -E make_directory ${QUELVAR_HELP_DIR}
    COMMAND ${CMAKE_COMMAND} -E copy ${QUELVAR_HELP_SOURCES} ${QUELVAR_HELP_DIR}
    COMMAND ${QUELVAR_CHMCMD} QLVHelp.hhp >/dev/null
    WORKING_DIRECTORY ${QUELVAR_HELP_DIR}
    DEPENDS ${QUELVAR_HELP_SOURCES}
    COMMENT "Compiling the help file QLVHelp.chm")
  add_custom_target(quelvar_help ALL DEPENDS ${QUELVAR_HELP_DIR}/QLVHelp.chm)
  add_dependencies(quelvar_data quelvar_help)
  add_custom_command(TARGET quelvar_help POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${QUELVAR_HELP_DIR}/QLVHelp.chm $<TARGET_FILE_DIR:Quelvar>/QLVHelp.chm)
else()
  message(STATUS "chmcmd not found: QLVHelp.chm is not built")
endif()

# The 32-bit build's layout probe, run by the 32-bit smoke suite (scripts/wine32 smoke).
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_executable(quelvar_layout_probe ${PROJECT_SOURCE_DIR}/tests/wine32/layout_probe.cpp)
  target_link_libraries(quelvar_layout_probe PRIVATE quelvar_win32)
  if(NOT MSVC)
    target_link_options(quelvar_layout_probe PRIVATE -static)
  endif()
endif()

# The runtime-lock probe (tests/wine32/lock_contention_probe.cpp), built as the release is built
# (win32 threads, whose runtime locks are libgcc's semaphores): with the program's routing of
# CreateSemaphoreW, and as the control without it. The x86_64 build's own compiler has POSIX
# threads, so the probes take its win32-threads twin. Run by the Wine suite and the 32-bit smoke
# suite.
if(MINGW AND (QUELVAR_TESTS OR CMAKE_SIZEOF_VOID_P EQUAL 4))
  string(REPLACE "-posix" "-win32" QUELVAR_WIN32_THREADS_CXX "${CMAKE_CXX_COMPILER}")
  set(QUELVAR_LOCK_PROBE_SOURCES ${PROJECT_SOURCE_DIR}/tests/wine32/lock_contention_probe.cpp
    ${PROJECT_SOURCE_DIR}/src/base/win32/runtime_semaphores.cpp
    ${PROJECT_SOURCE_DIR}/src/base/win32/optional_api.cpp)
  foreach(variant IN ITEMS "quelvar_lock_probe:1" "quelvar_unrouted_lock_probe:0")
    string(REPLACE ":" ";" variant ${variant})
    list(GET variant 0 probe)
    list(GET variant 1 routed)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${probe}.exe
      COMMAND ${QUELVAR_WIN32_THREADS_CXX} -std=c++20 -O2 -Wall -Wextra -static
        -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0501 -DWINVER=0x0501 -D_WIN32_IE=0x0600
        -DQUELVAR_ROUTE_WIDE_SEMAPHORES=${routed} -I${PROJECT_SOURCE_DIR}/src
        ${QUELVAR_LOCK_PROBE_SOURCES} -o ${CMAKE_BINARY_DIR}/${probe}.exe
      DEPENDS ${QUELVAR_LOCK_PROBE_SOURCES} ${PROJECT_SOURCE_DIR}/src/base/win32/optional_api.h
      COMMENT "Building ${probe}.exe with win32 threads"
      VERBATIM)
    add_custom_target(${probe} ALL DEPENDS ${CMAKE_BINARY_DIR}/${probe}.exe)
  endforeach()
endif()
