# The page of the WebAssembly build (included by web/CMakeLists.txt): the browser module, the
# site bundled into build-web/site/, and the browser test.

# The core with its JavaScript bindings, an ES module that fetches its .wasm beside itself.
add_executable(casl_core binding/bindings.cpp)
target_link_libraries(casl_core PRIVATE casl_web_binding)
target_link_options(casl_core PRIVATE
  -lembind
  -sENVIRONMENT=web
  -sMODULARIZE=1
  -sEXPORT_ES6=1
  -sEXPORT_NAME=createCaslCore
  -sALLOW_MEMORY_GROWTH=1
  -sFILESYSTEM=0)

find_program(CASL_NODE node REQUIRED)
find_program(CASL_NPM npm REQUIRED)

# The npm packages are installed from the lock file when they are missing or the lock changed.
set(node_modules_stamp ${CMAKE_CURRENT_SOURCE_DIR}/node_modules/.package-lock.json)
add_custom_command(OUTPUT ${node_modules_stamp}
  COMMAND ${CASL_NPM} ci --no-audit --no-fund
  DEPENDS package.json package-lock.json
  WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
  COMMENT "Installing the page's npm packages (npm ci)")

set(CASL_SITE_DIR ${CMAKE_BINARY_DIR}/site)
file(GLOB page_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/*.js)
file(GLOB help_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/help/*.html ${PROJECT_SOURCE_DIR}/help/*.css)
file(GLOB example_programs CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/examples/*.cas
     ${PROJECT_SOURCE_DIR}/examples/exercises/*/tests.toml
     ${PROJECT_SOURCE_DIR}/examples/exercises/*/start.cas)
add_custom_command(OUTPUT ${CASL_SITE_DIR}/index.html
  COMMAND ${CASL_NODE} build.mjs --core $<TARGET_FILE:casl_core> --out ${CASL_SITE_DIR}
  DEPENDS casl_core ${node_modules_stamp} build.mjs index.html style.css manifest.webmanifest
          service_worker.js ${page_sources}
          ${help_pages} ${example_programs} ${PROJECT_SOURCE_DIR}/shell/varnic.png
  WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
  COMMENT "Bundling the page into ${CASL_SITE_DIR}")
add_custom_target(web_site ALL DEPENDS ${CASL_SITE_DIR}/index.html)

if(BUILD_TESTING)
  # The page in headless chromium, one test per part so that two run at once.
  foreach(part page editor trace files share offline access explain)
    add_test(NAME web.${part}
      COMMAND ${CASL_NODE} --test ${CMAKE_CURRENT_SOURCE_DIR}/tests/${part}.test.mjs)
    set_tests_properties(web.${part} PROPERTIES
      ENVIRONMENT "CASL_SITE_DIR=${CASL_SITE_DIR}"
      TIMEOUT 180)
  endforeach()

  # Every example traced in the browser against `casl2 run --trace` built natively.
  set(CASL_NATIVE_BUILD_DIR ${PROJECT_SOURCE_DIR}/build CACHE PATH
      "The native build tree whose casl2 the browser's traces are compared with")
  set(native_casl2 ${CMAKE_BINARY_DIR}/casl2-native)
  add_test(NAME web.native_casl2
    COMMAND ${CMAKE_COMMAND} -DSOURCE=${PROJECT_SOURCE_DIR} -DNATIVE=${CASL_NATIVE_BUILD_DIR}
            -DLEAN=${CMAKE_BINARY_DIR}/native -DOUT=${native_casl2}
            -P ${CMAKE_CURRENT_SOURCE_DIR}/tests/native_casl2.cmake)
  set_tests_properties(web.native_casl2 PROPERTIES FIXTURES_SETUP native_casl2 TIMEOUT 900)
  add_test(NAME web.exercises
    COMMAND ${CASL_NODE} --test ${CMAKE_CURRENT_SOURCE_DIR}/tests/exercises.test.mjs)
  set_tests_properties(web.exercises PROPERTIES
    FIXTURES_REQUIRED native_casl2
    ENVIRONMENT "CASL_SITE_DIR=${CASL_SITE_DIR};CASL2=${native_casl2}"
    TIMEOUT 300)
  add_test(NAME web.examples
    COMMAND ${CASL_NODE} --test ${CMAKE_CURRENT_SOURCE_DIR}/tests/examples.test.mjs)
  set_tests_properties(web.examples PROPERTIES
    FIXTURES_REQUIRED native_casl2
    ENVIRONMENT "CASL_SITE_DIR=${CASL_SITE_DIR};CASL2=${native_casl2}"
    TIMEOUT 300)
endif()
