# libFuzzer targets, one per fuzz/*_fuzz.cpp, for clang. The core and the fake
# get coverage instrumentation; the sanitizers come from QUORVEL_SANITIZE (the
# "fuzz" preset sets address,undefined).
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "QUORVEL_FUZZ needs clang: libFuzzer ships with it")
endif()

target_compile_options(quorvel_core PRIVATE -fsanitize=fuzzer-no-link)
target_compile_options(quorvel_fake PRIVATE -fsanitize=fuzzer-no-link)

file(GLOB QUORVEL_FUZZ_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/fuzz/*_fuzz.cpp)
foreach(source ${QUORVEL_FUZZ_SOURCES})
  get_filename_component(target ${source} NAME_WE)
  add_executable(${target} ${source})
  target_compile_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${target} PRIVATE quorvel_core quorvel_fake)
endforeach()
