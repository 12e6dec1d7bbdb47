add_executable(check_bench check_bench.cpp)
target_link_libraries(check_bench PRIVATE casl_check casl_reference_trace)
target_compile_definitions(check_bench PRIVATE CASL2_PATH="$<TARGET_FILE:casl2>")
add_dependencies(check_bench casl2)
