# The native Linux program: the portable core, the Qt 6 window backend and
# the SDL2 / espeak-ng audio backend; and the tests that drive the real
# window on Qt's offscreen platform and, for what it draws, on Xvfb.
find_package(Qt6 REQUIRED COMPONENTS Widgets DBus)
find_package(Threads REQUIRED)
include(cmake/linux_audio.cmake)

set(QUORVEL_LINUX_DIR ${CMAKE_CURRENT_SOURCE_DIR}/src/backends/linux)
file(GLOB QUORVEL_LINUX_WINDOW_SOURCES CONFIGURE_DEPENDS ${QUORVEL_LINUX_DIR}/*.cpp)
# The entry point, the clock and the sound module's loader belong to the
# program; the window tests bring a clock, sound and speech of their own.
list(REMOVE_ITEM QUORVEL_LINUX_WINDOW_SOURCES ${QUORVEL_LINUX_DIR}/main.cpp
  ${QUORVEL_LINUX_DIR}/clock.cpp ${QUORVEL_LINUX_DIR}/audio_loader.cpp)

# Objects, not an archive: the core and the backend call each other.
add_library(quorvel_linux_window OBJECT
  ${QUORVEL_LINUX_WINDOW_SOURCES}
  src/backends/posix/posix_files.cpp src/backends/posix/posix_leftovers.cpp)
target_include_directories(quorvel_linux_window PUBLIC src)
target_link_libraries(quorvel_linux_window PUBLIC quorvel_core Qt6::Widgets Qt6::DBus
  Threads::Threads)
# The alarm's notification receives the service's signals in slots.
set_target_properties(quorvel_linux_window PROPERTIES AUTOMOC ON)
# Software centres know the program by its AppStream id, which the .desktop
# file, the metadata (data/) and the window's desktop file name share.
set(QUORVEL_APP_ID io.github.quorvel.quorvel)
target_compile_definitions(quorvel_linux_window PRIVATE QUORVEL_APP_ID="${QUORVEL_APP_ID}")
# The icon built into the window's own objects, so that every program that
# shows the window has it, also where no icon theme has one, as when the
# program runs from its build folder.
qt_add_resources(QUORVEL_ICON_RESOURCE ${CMAKE_CURRENT_SOURCE_DIR}/data/quorvel.qrc)
target_sources(quorvel_linux_window PRIVATE ${QUORVEL_ICON_RESOURCE})

add_executable(quorvel ${QUORVEL_LINUX_DIR}/main.cpp ${QUORVEL_LINUX_DIR}/clock.cpp
  ${QUORVEL_LINUX_DIR}/audio_loader.cpp)
target_link_libraries(quorvel PRIVATE quorvel_linux_window quorvel_linux_voice quorvel_core
  ${CMAKE_DL_LIBS})
add_dependencies(quorvel quorvel_audio_module quorvel_speechd_module quorvel_espeak_module)
# Installed, the sound and speech modules are found from the program's own place.
include(GNUInstallDirs)
file(RELATIVE_PATH QUORVEL_AUDIO_MODULE_DIR ${CMAKE_INSTALL_FULL_BINDIR}
  ${CMAKE_INSTALL_FULL_LIBDIR}/quorvel)
target_compile_definitions(quorvel PRIVATE QUORVEL_AUDIO_MODULE_DIR="${QUORVEL_AUDIO_MODULE_DIR}")

# The tests of a program that runs one test at a time, with, under
# AddressSanitizer, the leak suppressions in `leak_suppressions`. Each waits
# on a server of its own (X, D-Bus, Wayland): one that hangs fails in two
# minutes, not at ctest's 25.
function(quorvel_discover_serial_tests target leak_suppressions)
  set(properties RUN_SERIAL TRUE TIMEOUT 120)
  if(QUORVEL_SANITIZE MATCHES address)
    list(APPEND properties ENVIRONMENT "LSAN_OPTIONS=suppressions=${leak_suppressions}")
  endif()
  gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST PROPERTIES ${properties})
endfunction()

if(QUORVEL_TESTS)
  # The say-time and held-program tests run the real program with its modules.
  target_compile_definitions(quorvel_linux_audio_tests PRIVATE
    QUORVEL_PROGRAM="$<TARGET_FILE:quorvel>"
    QUORVEL_AUDIO_MODULE="$<TARGET_FILE:quorvel_audio_module>"
    QUORVEL_SPEECHD_MODULE="$<TARGET_FILE:quorvel_speechd_module>"
    QUORVEL_ESPEAK_MODULE="$<TARGET_FILE:quorvel_espeak_module>")
  add_dependencies(quorvel_linux_audio_tests quorvel)
  # The held-program test starts an X server of its own.
  target_include_directories(quorvel_linux_audio_tests PRIVATE tests)

  find_package(Qt6 REQUIRED COMPONENTS Test)
  # The program's sound loader with the real module: beside the test program,
  # and in a folder of its own where the module's name is a file that is no
  # library.
  set(QUORVEL_BROKEN_MODULE_DIR ${CMAKE_CURRENT_BINARY_DIR}/broken_module)
  file(WRITE ${QUORVEL_BROKEN_MODULE_DIR}/quorvel_audio.so "not a library\n")
  foreach(case first_sound broken_module)
    add_executable(quorvel_${case}_tests tests/backends/linux/loader/${case}_test.cpp
      ${QUORVEL_LINUX_DIR}/audio_loader.cpp ${QUORVEL_LINUX_DIR}/write_permission.cpp
      tests/backends/linux/loader/told.cpp)
    target_include_directories(quorvel_${case}_tests PRIVATE src tests)
    target_link_libraries(quorvel_${case}_tests PRIVATE quorvel_linux_voice GTest::gtest_main
      ${CMAKE_DL_LIBS})
    target_compile_definitions(quorvel_${case}_tests PRIVATE
      QUORVEL_AUDIO_MODULE_DIR="${QUORVEL_AUDIO_MODULE_DIR}")
    # The first-sound tests speak through a speech-dispatcher they start, so
    # libspeechd's lost autospawn report needs the audio tests' suppression.
    gtest_discover_tests(quorvel_${case}_tests DISCOVERY_MODE PRE_TEST
      PROPERTIES ${QUORVEL_AUDIO_TEST_PROPERTIES})
  endforeach()
  add_dependencies(quorvel_first_sound_tests quorvel_audio_module quorvel_speechd_module
    quorvel_espeak_module)
  # Speech through a speech-dispatcher of the test's own.
  target_sources(quorvel_first_sound_tests PRIVATE tests/backends/linux/audio/private_dispatcher.cpp)
  # Which modules the loader trusts: copies of a probe that loads as the
  # program does, beside the real module or one of another version.
  add_executable(quorvel_loader_probe tests/backends/linux/loader/loader_probe.cpp
    ${QUORVEL_LINUX_DIR}/audio_loader.cpp ${QUORVEL_LINUX_DIR}/write_permission.cpp
    tests/backends/linux/loader/told.cpp)
  target_include_directories(quorvel_loader_probe PRIVATE src tests)
  target_link_libraries(quorvel_loader_probe PRIVATE quorvel_linux_voice ${CMAKE_DL_LIBS})
  target_compile_definitions(quorvel_loader_probe PRIVATE
    QUORVEL_AUDIO_MODULE_DIR="${QUORVEL_AUDIO_MODULE_DIR}")
  add_library(quorvel_other_build_module MODULE tests/backends/linux/loader/other_build_module.cpp)
  target_include_directories(quorvel_other_build_module PRIVATE src)
  add_executable(quorvel_module_trust_tests tests/backends/linux/loader/module_trust_test.cpp)
  target_include_directories(quorvel_module_trust_tests PRIVATE tests)
  target_link_libraries(quorvel_module_trust_tests PRIVATE GTest::gtest_main)
  target_compile_definitions(quorvel_module_trust_tests PRIVATE
    QUORVEL_LOADER_PROBE="$<TARGET_FILE:quorvel_loader_probe>"
    QUORVEL_AUDIO_MODULE="$<TARGET_FILE:quorvel_audio_module>"
    QUORVEL_OTHER_BUILD_MODULE="$<TARGET_FILE:quorvel_other_build_module>")
  add_dependencies(quorvel_module_trust_tests quorvel_loader_probe quorvel_audio_module
    quorvel_other_build_module)
  gtest_discover_tests(quorvel_module_trust_tests DISCOVERY_MODE PRE_TEST)
  set_target_properties(quorvel_broken_module_tests PROPERTIES
    RUNTIME_OUTPUT_DIRECTORY ${QUORVEL_BROKEN_MODULE_DIR})
  # The window tests bring their own clock, sound and speech.
  file(GLOB QUORVEL_LINUX_WINDOW_TESTS CONFIGURE_DEPENDS tests/backends/linux/window/*.cpp)
  add_executable(quorvel_linux_window_tests ${QUORVEL_LINUX_WINDOW_TESTS})
  target_include_directories(quorvel_linux_window_tests PRIVATE tests)
  target_link_libraries(quorvel_linux_window_tests PRIVATE
    quorvel_linux_window quorvel_core Qt6::Test GTest::gtest_main)
  # One at a time: every test process saves beside the test program. No
  # session bus: an alarm box's notification is the notification tests' part,
  # and none may reach the desktop of whoever runs the tests.
  gtest_discover_tests(quorvel_linux_window_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen"
    ENVIRONMENT_MODIFICATION "DBUS_SESSION_BUS_ADDRESS=set:unix:path=/nonexistent/quorvel-no-bus"
    RUN_SERIAL TRUE)

  # What the window draws, read back from an X server of each test's own
  # (Xvfb, started and ended by the test program).
  find_program(QUORVEL_XVFB Xvfb REQUIRED)
  add_executable(quorvel_linux_pixel_tests
    tests/backends/linux/window/pixels/window_pixels_test.cpp
    tests/backends/linux/window/pixels/virtual_display_main.cpp
    tests/backends/linux/window/test_machine.cpp)
  target_include_directories(quorvel_linux_pixel_tests PRIVATE tests)
  target_link_libraries(quorvel_linux_pixel_tests PRIVATE
    quorvel_linux_window quorvel_core Qt6::Test GTest::gtest)
  # Qt's xcb platform keeps a D-Bus connection whose buffer libdbus never
  # frees: a suppression for these tests only. (Under ThreadSanitizer they
  # skip and say why.)
  set(QUORVEL_PIXEL_LEAKS ${CMAKE_CURRENT_SOURCE_DIR}/tests/backends/linux/window/pixels/lsan.supp)
  quorvel_discover_serial_tests(quorvel_linux_pixel_tests ${QUORVEL_PIXEL_LEAKS})

  # What a screen reader gets: the real program read through AT-SPI
  # (libatspi) on an X server and a session bus of the tests' own, driven by
  # the server's pointer and keys (XTest).
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(QUORVEL_ATSPI_CLIENT REQUIRED IMPORTED_TARGET atspi-2 gio-2.0 x11 xtst)
  file(GLOB QUORVEL_ACCESSIBILITY_TESTS CONFIGURE_DEPENDS
    tests/backends/linux/accessibility/*.cpp)
  add_executable(quorvel_linux_accessibility_tests ${QUORVEL_ACCESSIBILITY_TESTS})
  target_include_directories(quorvel_linux_accessibility_tests PRIVATE tests)
  target_link_libraries(quorvel_linux_accessibility_tests PRIVATE
    PkgConfig::QUORVEL_ATSPI_CLIENT GTest::gtest)
  target_compile_definitions(quorvel_linux_accessibility_tests PRIVATE
    QUORVEL_PROGRAM="$<TARGET_FILE:quorvel>"
    QUORVEL_AUDIO_MODULE="$<TARGET_FILE:quorvel_audio_module>"
    QUORVEL_SPEECHD_MODULE="$<TARGET_FILE:quorvel_speechd_module>"
    QUORVEL_ESPEAK_MODULE="$<TARGET_FILE:quorvel_espeak_module>")
  add_dependencies(quorvel_linux_accessibility_tests quorvel)
  gtest_discover_tests(quorvel_linux_accessibility_tests DISCOVERY_MODE PRE_TEST
    PROPERTIES RUN_SERIAL TRUE TIMEOUT 120)
endif()

if(QUORVEL_TESTS)
  # The alarm's notification, heard at a notification service of the tests'
  # own on a session bus of their own (dbus-daemon, started by the test
  # program).
  find_program(QUORVEL_DBUS_DAEMON dbus-daemon REQUIRED)
  file(GLOB QUORVEL_NOTIFICATION_TESTS CONFIGURE_DEPENDS tests/backends/linux/notification/*.cpp)
  add_executable(quorvel_linux_notification_tests ${QUORVEL_NOTIFICATION_TESTS}
    tests/backends/linux/window/test_machine.cpp)
  target_include_directories(quorvel_linux_notification_tests PRIVATE tests)
  target_link_libraries(quorvel_linux_notification_tests PRIVATE
    quorvel_linux_window quorvel_core Qt6::Test Qt6::DBus GTest::gtest)
  quorvel_discover_serial_tests(quorvel_linux_notification_tests ${QUORVEL_PIXEL_LEAKS})

  # The real window on Qt's wayland platform, on a headless Weston of the
  # test program's own.
  find_program(QUORVEL_WESTON weston REQUIRED)
  add_executable(quorvel_linux_wayland_tests tests/backends/linux/wayland/wayland_main.cpp
    tests/backends/linux/wayland/wayland_window_test.cpp
    tests/backends/linux/window/test_machine.cpp)
  target_include_directories(quorvel_linux_wayland_tests PRIVATE tests)
  target_link_libraries(quorvel_linux_wayland_tests PRIVATE
    quorvel_linux_window quorvel_core Qt6::Test GTest::gtest)
  quorvel_discover_serial_tests(quorvel_linux_wayland_tests
    ${CMAKE_CURRENT_SOURCE_DIR}/tests/backends/linux/wayland/lsan.supp)
endif()

include(cmake/linux_package.cmake OPTIONAL)
