# Google Benchmark programs in bench/: they print numbers and never fail on speed.
find_package(benchmark REQUIRED)
file(GLOB QUORVEL_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*_bench.cpp)
add_executable(quorvel_bench ${QUORVEL_BENCH_SOURCES})
target_link_libraries(quorvel_bench PRIVATE quorvel_core quorvel_fake benchmark::benchmark_main)

# Starts a program and times it to its first viewable window on X.
find_package(X11)
if(X11_FOUND)
  add_executable(quorvel_window_wait ${PROJECT_SOURCE_DIR}/bench/window_wait.cpp)
  target_link_libraries(quorvel_window_wait PRIVATE X11::X11)
endif()

# Speech latency through the real Linux backend, not the fake; the window's
# objects bring the threads and the seam functions the core calls.
if(TARGET quorvel_linux_sound)
  # Both run a speech-dispatcher of their own, as the tests do.
  foreach(engine speech dispatcher)
    add_executable(quorvel_${engine}_latency ${PROJECT_SOURCE_DIR}/bench/${engine}_latency.cpp
      ${PROJECT_SOURCE_DIR}/src/backends/linux/clock.cpp
      ${PROJECT_SOURCE_DIR}/tests/backends/linux/audio/private_dispatcher.cpp)
    target_include_directories(quorvel_${engine}_latency PRIVATE
      ${PROJECT_SOURCE_DIR}/tests/backends/linux/audio)
    target_link_libraries(quorvel_${engine}_latency PRIVATE
      quorvel_linux_window ${QUORVEL_LINUX_AUDIO} quorvel_core)
  endforeach()
endif()

# The native toolkit's floor: an empty Qt window with a one-second timer;
# and the same window drawing one line of text, what any window with words costs.
if(TARGET Qt6::Widgets)
  add_executable(quorvel_qt_idle_baseline ${PROJECT_SOURCE_DIR}/bench/qt_idle_baseline.cpp)
  target_link_libraries(quorvel_qt_idle_baseline PRIVATE Qt6::Widgets)
  add_executable(quorvel_qt_text_baseline ${PROJECT_SOURCE_DIR}/bench/qt_idle_baseline.cpp)
  target_compile_definitions(quorvel_qt_text_baseline PRIVATE QUORVEL_FLOOR_DRAWS_TEXT)
  target_link_libraries(quorvel_qt_text_baseline PRIVATE Qt6::Widgets)
endif()
