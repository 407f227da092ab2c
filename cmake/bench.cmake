# Google Benchmark programs in bench/: they print numbers and never fail on speed.
find_package(benchmark REQUIRED)
file(GLOB QUORVEL_BENCH_SOURCES CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/bench/*_bench.cpp)
add_executable(quorvel_bench ${QUORVEL_BENCH_SOURCES})
target_link_libraries(quorvel_bench PRIVATE quorvel_core quorvel_fake benchmark::benchmark_main)
