# Builds the native casl2 whose traces the browser's are compared with, and copies it to OUT:
#   cmake -DSOURCE=<repository> -DNATIVE=<build tree> -DLEAN=<fallback tree> -DOUT=<file> -P ...
# NATIVE is the default preset's tree, which `make test` has built already (then this only checks
# that casl2 is up to date); without it a tree of the core and casl2 alone is made in LEAN.
foreach(variable SOURCE NATIVE LEAN OUT)
  if(NOT DEFINED ${variable})
    message(FATAL_ERROR "native_casl2.cmake needs -D${variable}=...")
  endif()
endforeach()

if(EXISTS "${NATIVE}/CMakeCache.txt")
  set(tree "${NATIVE}")
else()
  set(tree "${LEAN}")
  if(NOT EXISTS "${LEAN}/CMakeCache.txt")
    execute_process(
      COMMAND ${CMAKE_COMMAND} -S "${SOURCE}" -B "${LEAN}" -G Ninja -DCMAKE_BUILD_TYPE=Release
              -DCASL_SHELL=OFF -DCASL_BENCHMARKS=OFF -DBUILD_TESTING=OFF
      RESULT_VARIABLE configured)
    if(NOT configured EQUAL 0)
      message(FATAL_ERROR "configuring the native casl2 in ${LEAN} failed")
    endif()
  endif()
endif()

execute_process(COMMAND ${CMAKE_COMMAND} --build "${tree}" --target casl2 RESULT_VARIABLE built)
if(NOT built EQUAL 0)
  message(FATAL_ERROR "building the native casl2 in ${tree} failed")
endif()
file(COPY_FILE "${tree}/cli/casl2" "${OUT}" ONLY_IF_DIFFERENT)
