add_executable(similar_bench similar_bench.cpp)
target_link_libraries(similar_bench PRIVATE casl_similarity)
target_compile_definitions(similar_bench PRIVATE CASL2_PATH="$<TARGET_FILE:casl2>")
add_dependencies(similar_bench casl2)
