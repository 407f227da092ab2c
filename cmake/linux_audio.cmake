# The Linux sound and speech backend: SDL2_mixer plays and mixes,
# speech-dispatcher speaks, or espeak-ng where it cannot be reached. Paths are
# taken from this file's place, so the file works whichever project includes it.
get_filename_component(QUORVEL_LINUX_AUDIO_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)

find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(QUORVEL_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(QUORVEL_SDL2_MIXER REQUIRED IMPORTED_TARGET SDL2_mixer)
pkg_check_modules(QUORVEL_ESPEAK_NG REQUIRED IMPORTED_TARGET espeak-ng)
pkg_check_modules(QUORVEL_SPEECHD REQUIRED IMPORTED_TARGET speech-dispatcher)

file(GLOB QUORVEL_LINUX_AUDIO_SOURCES CONFIGURE_DEPENDS
  ${QUORVEL_LINUX_AUDIO_ROOT}/src/backends/linux/audio/*.cpp)
add_library(quorvel_linux_audio OBJECT ${QUORVEL_LINUX_AUDIO_SOURCES})
target_include_directories(quorvel_linux_audio PUBLIC ${QUORVEL_LINUX_AUDIO_ROOT}/src)
target_link_libraries(quorvel_linux_audio PUBLIC
  PkgConfig::QUORVEL_SDL2 PkgConfig::QUORVEL_SDL2_MIXER PkgConfig::QUORVEL_ESPEAK_NG
  PkgConfig::QUORVEL_SPEECHD Threads::Threads)

# The program loads the backend as a module when it first sounds, so that its
# libraries cost nothing before; the tests link the objects directly. Hidden
# symbols keep the module's calls its own; it shows only its table.
set_target_properties(quorvel_linux_audio PROPERTIES POSITION_INDEPENDENT_CODE ON
  CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
add_library(quorvel_audio_module MODULE $<TARGET_OBJECTS:quorvel_linux_audio>)
target_link_libraries(quorvel_audio_module PRIVATE quorvel_linux_audio)
set_target_properties(quorvel_audio_module PROPERTIES PREFIX "" OUTPUT_NAME quorvel_audio)

if(QUORVEL_TESTS)
  # The tests play real sound through SDL's disk driver and read back the file,
  # and speak through a speech-dispatcher of their own; the core's speech tasks
  # and alarm repeater run on the real threads.
  file(GLOB QUORVEL_LINUX_AUDIO_TESTS CONFIGURE_DEPENDS
    ${QUORVEL_LINUX_AUDIO_ROOT}/tests/backends/linux/audio/*_test.cpp)
  add_executable(quorvel_audio_process ${QUORVEL_LINUX_AUDIO_ROOT}/tests/backends/linux/audio/audio_process.cpp)
  target_link_libraries(quorvel_audio_process PRIVATE quorvel_linux_audio)
  add_executable(quorvel_linux_audio_tests ${QUORVEL_LINUX_AUDIO_TESTS}
    ${QUORVEL_LINUX_AUDIO_ROOT}/tests/backends/linux/audio/private_dispatcher.cpp
    ${QUORVEL_LINUX_AUDIO_ROOT}/tests/backends/linux/audio/fake_dispatcher.cpp
    ${QUORVEL_LINUX_AUDIO_ROOT}/src/backends/linux/threads.cpp)
  target_link_libraries(quorvel_linux_audio_tests PRIVATE
    quorvel_linux_audio quorvel_core GTest::gtest_main)
  target_compile_definitions(quorvel_linux_audio_tests PRIVATE
    QUORVEL_AUDIO_PROCESS="$<TARGET_FILE:quorvel_audio_process>")
  add_dependencies(quorvel_linux_audio_tests quorvel_audio_process)
  include(GoogleTest)
  # A test that hangs on a daemon fails in minutes, not at ctest's 25.
  set(QUORVEL_AUDIO_TEST_PROPERTIES TIMEOUT 240)
  # libspeechd's lost autospawn report is allocated inside glibc, where the
  # fast unwinder stops: only the full stack reaches the library it is
  # suppressed by.
  if(QUORVEL_SANITIZE MATCHES address)
    list(APPEND QUORVEL_AUDIO_TEST_PROPERTIES ENVIRONMENT
      "LSAN_OPTIONS=suppressions=${QUORVEL_LINUX_AUDIO_ROOT}/tests/lsan.supp:fast_unwind_on_malloc=0")
  endif()
  gtest_discover_tests(quorvel_linux_audio_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ${QUORVEL_AUDIO_TEST_PROPERTIES})
endif()
