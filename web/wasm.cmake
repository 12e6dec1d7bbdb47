# Settings of the WebAssembly build (the `web` preset, emscripten's toolchain file).

# emscripten's JavaScript optimizer needs acorn, which Debian installs as a node module outside
# node's default search path; every link runs it, so the linker is started with the path set.
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=/usr/share/nodejs)

# Programs run by node (the test suites, the throughput measurement): the wasm is inlined into
# the script, because the loader of this emscripten fetches a separate .wasm with fetch(), which
# node 20 refuses for a file path.
set(CASL_NODE_PROGRAM_OPTIONS
  -sENVIRONMENT=node
  -sSINGLE_FILE=1
  -sALLOW_MEMORY_GROWTH=1
  -sEXIT_RUNTIME=1)

if(BUILD_TESTING)
  # Debian's libgtest-dev ships the GoogleTest sources in /usr/src/googletest.
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endif()

# binaryen inlines every function that has one caller, whatever its size: it would put the rare
# paths of a step (other files, never inlined natively) and the step loop itself (never inlined,
# so that the engine optimises it apart from its caller) into one huge function. V8's register
# allocator copes badly with that: the loop ran about 15 % slower in Chromium. Functions with one
# caller are left as the compiler made them.
add_link_options(-sBINARYEN_EXTRA_PASSES=--one-caller-inline-max-function-size=0)
