add_executable(cli_run_tests run_command_test.cpp run_press_test.cpp run_table_test.cpp
  run_trace_test.cpp)
target_link_libraries(cli_run_tests PRIVATE casl_cli GTest::gtest_main)
target_compile_definitions(cli_run_tests PRIVATE
  CASL_EXAMPLES_DIR="${PROJECT_SOURCE_DIR}/examples"
  CASL_RUN_PROGRAMS_DIR="${CMAKE_CURRENT_SOURCE_DIR}/programs")
gtest_discover_tests(cli_run_tests)
