add_executable(generate_bench generate_bench.cpp)
target_compile_definitions(generate_bench PRIVATE CASL2_PATH="$<TARGET_FILE:casl2>")
add_dependencies(generate_bench casl2)
