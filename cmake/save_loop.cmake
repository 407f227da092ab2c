# The kill test's saver: saves the settings in a loop through the real core
# and the POSIX file code until the test kills it.
add_executable(quorvel_save_loop tests/save_loop/save_loop.cpp)
target_link_libraries(quorvel_save_loop PRIVATE quorvel_core quorvel_fake)
add_dependencies(quorvel_tests quorvel_save_loop)
target_compile_definitions(quorvel_tests PRIVATE
  QUORVEL_SAVE_LOOP_PROGRAM="$<TARGET_FILE:quorvel_save_loop>")
