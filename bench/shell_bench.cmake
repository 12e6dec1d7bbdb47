# The window's step-latency benchmark (included by bench/CMakeLists.txt).
add_executable(shell_bench ${CMAKE_CURRENT_LIST_DIR}/shell_bench.cpp)
target_link_libraries(shell_bench PRIVATE casl_shell benchmark::benchmark)
