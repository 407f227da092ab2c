# The Linux sound and speech backend, as three modules the program loads when
# it first needs them: quorvel_audio.so (SDL2 plays and mixes),
# quorvel_speechd.so (speech-dispatcher) and quorvel_espeak.so (espeak-ng's
# samples, where speech-dispatcher cannot be reached). Paths are taken from this file's place, so the file
# works whichever project includes it.
get_filename_component(QUORVEL_LINUX_AUDIO_ROOT "${CMAKE_CURRENT_LIST_DIR}/.." ABSOLUTE)
set(QUORVEL_AUDIO_DIR ${QUORVEL_LINUX_AUDIO_ROOT}/src/backends/linux/audio)

find_package(PkgConfig REQUIRED)
find_package(Threads REQUIRED)
pkg_check_modules(QUORVEL_SDL2 REQUIRED IMPORTED_TARGET sdl2)
pkg_check_modules(QUORVEL_ESPEAK_NG REQUIRED IMPORTED_TARGET espeak-ng)
pkg_check_modules(QUORVEL_SPEECHD REQUIRED IMPORTED_TARGET speech-dispatcher)

# Each module's objects. Hidden symbols keep a module's calls its own; it
# shows only its table.
set(QUORVEL_SPEECHD_SOURCES ${QUORVEL_AUDIO_DIR}/dispatcher_voice.cpp
  ${QUORVEL_AUDIO_DIR}/connection_thread.cpp ${QUORVEL_AUDIO_DIR}/dispatcher_failures.cpp)
file(GLOB QUORVEL_SOUND_SOURCES CONFIGURE_DEPENDS ${QUORVEL_AUDIO_DIR}/*.cpp)
set(QUORVEL_ESPEAK_SOURCES ${QUORVEL_AUDIO_DIR}/espeak_engine.cpp)
set(QUORVEL_VOICE_SOURCES ${QUORVEL_AUDIO_DIR}/voice.cpp ${QUORVEL_AUDIO_DIR}/espeak_voice.cpp)
list(REMOVE_ITEM QUORVEL_SOUND_SOURCES ${QUORVEL_SPEECHD_SOURCES} ${QUORVEL_ESPEAK_SOURCES}
  ${QUORVEL_VOICE_SOURCES} ${QUORVEL_AUDIO_DIR}/audio_module.cpp
  ${QUORVEL_AUDIO_DIR}/speechd_module.cpp ${QUORVEL_AUDIO_DIR}/espeak_module.cpp)
foreach(part sound speechd espeak)
  string(TOUPPER ${part} PART)
  add_library(quorvel_linux_${part} OBJECT ${QUORVEL_${PART}_SOURCES})
  target_include_directories(quorvel_linux_${part} PUBLIC ${QUORVEL_LINUX_AUDIO_ROOT}/src)
  set_target_properties(quorvel_linux_${part} PROPERTIES POSITION_INDEPENDENT_CODE ON
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endforeach()
target_link_libraries(quorvel_linux_sound PUBLIC PkgConfig::QUORVEL_SDL2 Threads::Threads)
target_link_libraries(quorvel_linux_speechd PUBLIC PkgConfig::QUORVEL_SPEECHD Threads::Threads)
target_link_libraries(quorvel_linux_espeak PUBLIC PkgConfig::QUORVEL_ESPEAK_NG)

add_library(quorvel_audio_module MODULE ${QUORVEL_AUDIO_DIR}/audio_module.cpp)
target_link_libraries(quorvel_audio_module PRIVATE quorvel_linux_sound)
add_library(quorvel_speechd_module MODULE ${QUORVEL_AUDIO_DIR}/speechd_module.cpp)
target_link_libraries(quorvel_speechd_module PRIVATE quorvel_linux_speechd)
add_library(quorvel_espeak_module MODULE ${QUORVEL_AUDIO_DIR}/espeak_module.cpp)
target_link_libraries(quorvel_espeak_module PRIVATE quorvel_linux_espeak)
foreach(module audio speechd espeak)
  set_target_properties(quorvel_${module}_module PROPERTIES PREFIX "" OUTPUT_NAME quorvel_${module}
    CXX_VISIBILITY_PRESET hidden VISIBILITY_INLINES_HIDDEN ON)
endforeach()

# The seam's voice, which chooses between the daemon and espeak-ng, and
# espeak-ng's voice, made of the engine's samples and the device: the program
# links them with the loader's stand-ins for the modules, the tests with the
# modules' objects themselves.
add_library(quorvel_linux_voice OBJECT ${QUORVEL_VOICE_SOURCES})
target_include_directories(quorvel_linux_voice PUBLIC ${QUORVEL_LINUX_AUDIO_ROOT}/src)
# Object libraries give their objects only to targets that link them
# directly: a list, not an interface library.
set(QUORVEL_LINUX_AUDIO quorvel_linux_voice quorvel_linux_sound quorvel_linux_speechd
  quorvel_linux_espeak)

if(QUORVEL_TESTS)
  # The tests play real sound through SDL's disk driver and read back the file,
  # and speak through a speech-dispatcher of their own; the core's speech tasks
  # and alarm repeater run on the real threads.
  set(QUORVEL_AUDIO_TEST_DIR ${QUORVEL_LINUX_AUDIO_ROOT}/tests/backends/linux/audio)
  file(GLOB QUORVEL_LINUX_AUDIO_TESTS CONFIGURE_DEPENDS ${QUORVEL_AUDIO_TEST_DIR}/*_test.cpp)
  add_executable(quorvel_audio_process ${QUORVEL_AUDIO_TEST_DIR}/audio_process.cpp)
  target_link_libraries(quorvel_audio_process PRIVATE ${QUORVEL_LINUX_AUDIO})
  add_executable(quorvel_linux_audio_tests ${QUORVEL_LINUX_AUDIO_TESTS}
    ${QUORVEL_AUDIO_TEST_DIR}/private_dispatcher.cpp
    ${QUORVEL_AUDIO_TEST_DIR}/fake_dispatcher.cpp
    ${QUORVEL_AUDIO_TEST_DIR}/wav_image.cpp
    ${QUORVEL_LINUX_AUDIO_ROOT}/src/backends/linux/threads.cpp)
  target_link_libraries(quorvel_linux_audio_tests PRIVATE
    ${QUORVEL_LINUX_AUDIO} quorvel_core GTest::gtest_main)
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
