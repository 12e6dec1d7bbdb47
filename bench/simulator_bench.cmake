add_executable(simulator_bench simulator_bench.cpp)
target_link_libraries(simulator_bench PRIVATE casl_simulator benchmark::benchmark_main)
target_compile_definitions(simulator_bench PRIVATE
  CASL_LOOP4M_PATH="${PROJECT_SOURCE_DIR}/../shared/bench/loop4m.cas")
