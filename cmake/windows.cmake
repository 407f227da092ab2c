# The Windows program: the portable core plus the Win32 backend, and the
# integration tests that drive the real window under Wine.
enable_language(RC)

# Static runtime: the .exe files import nothing but system DLLs.
add_link_options(-static -static-libgcc -static-libstdc++ $<$<CONFIG:Release>:-s>)

file(GLOB QUORVEL_WIN32_SOURCES CONFIGURE_DEPENDS src/backends/win32/*.cpp)
# The entry point and the idle test seam belong to the program alone.
list(REMOVE_ITEM QUORVEL_WIN32_SOURCES
  ${CMAKE_CURRENT_SOURCE_DIR}/src/backends/win32/win_main.cpp
  ${CMAKE_CURRENT_SOURCE_DIR}/src/backends/win32/observer_none.cpp)

# Objects, not an archive: the core calls into the backend and the backend
# calls into the core, and objects resolve that cycle without link tricks.
add_library(quorvel_win32 OBJECT ${QUORVEL_WIN32_SOURCES})
target_include_directories(quorvel_win32 PUBLIC src)
target_compile_definitions(quorvel_win32 PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX)
target_link_libraries(quorvel_win32 PUBLIC
  quorvel_core comdlg32 winmm ole32 oleaut32 uuid gdi32 user32)

set(QUORVEL_RESOURCES src/backends/win32/quorvel.rc)
set_source_files_properties(${QUORVEL_RESOURCES} PROPERTIES
  OBJECT_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/backends/win32/quorvel.ico)

add_executable(quorvel WIN32
  src/backends/win32/win_main.cpp
  src/backends/win32/observer_none.cpp
  ${QUORVEL_RESOURCES})
target_link_libraries(quorvel PRIVATE quorvel_win32 quorvel_core)

option(QUORVEL_WINE_TESTS "Build the Windows integration tests (they run under Wine)" OFF)
if(QUORVEL_WINE_TESTS)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  file(GLOB QUORVEL_WINE_TEST_SOURCES CONFIGURE_DEPENDS tests/backends/win32/*.cpp)
  add_executable(quorvel_wine_tests ${QUORVEL_WINE_TEST_SOURCES} ${QUORVEL_RESOURCES})
  target_include_directories(quorvel_wine_tests PRIVATE tests)
  target_link_libraries(quorvel_wine_tests PRIVATE quorvel_win32 quorvel_core GTest::gtest_main)

  # The voice the tests register in their prefix, so they hear what is spoken;
  # some tests start the real quorvel.exe beside them.
  add_library(recording_voice SHARED tests/backends/win32/voice/recording_voice.cpp)
  set_target_properties(recording_voice PROPERTIES PREFIX "")
  target_link_libraries(recording_voice PRIVATE ole32 oleaut32 uuid)
  add_dependencies(quorvel_wine_tests recording_voice quorvel)
endif()
