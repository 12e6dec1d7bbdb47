add_executable(simulator_bench simulator_bench.cpp)
target_link_libraries(simulator_bench PRIVATE casl_simulator casl_reference_trace
  benchmark::benchmark_main)
target_compile_definitions(simulator_bench PRIVATE
  CASL_LOOP4M_PATH="${CMAKE_CURRENT_SOURCE_DIR}/loop4m.cas")
