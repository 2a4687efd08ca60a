# Host build: the portable library, its tests and the benchmarks.
find_package(GTest REQUIRED)
include(GoogleTest)

add_library(tackaroon_portable STATIC ${PORTABLE_SOURCES} ${POSIX_SOURCES})
target_include_directories(tackaroon_portable PUBLIC ${CMAKE_SOURCE_DIR}/src)
target_link_libraries(tackaroon_portable PUBLIC tackaroon_json)
tackaroon_warnings(tackaroon_portable)
target_precompile_headers(tackaroon_portable PRIVATE ${PORTABLE_PCH})

file(GLOB NATIVE_TEST_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/native/*.cpp)
add_executable(tackaroon_tests ${NATIVE_TEST_SOURCES})
target_include_directories(tackaroon_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests)
target_compile_definitions(tackaroon_tests PRIVATE TACKAROON_RESOURCE_DIR="${RESOURCE_DIR}")
# Cairo draws the scribble in the pixel tests only.
find_package(PkgConfig REQUIRED)
pkg_check_modules(CAIRO REQUIRED IMPORTED_TARGET cairo)
target_link_libraries(tackaroon_tests PRIVATE tackaroon_portable GTest::gtest GTest::gtest_main PkgConfig::CAIRO)
tackaroon_warnings(tackaroon_tests)
tackaroon_test_code(tackaroon_tests)
target_precompile_headers(tackaroon_tests PRIVATE <gtest/gtest.h> ${PORTABLE_PCH})
gtest_discover_tests(tackaroon_tests DISCOVERY_TIMEOUT 60)

# The layering check over a small tree: it names each include that runs back
# up, or from the drawing into the sticky, and lets one within a layer or
# pointing down pass.
add_test(NAME CheckLayers.NamesUpwardIncludes
         COMMAND ${CMAKE_SOURCE_DIR}/tools/check-layers.sh ${CMAKE_SOURCE_DIR}/tests/layers/src)
set_tests_properties(CheckLayers.NamesUpwardIncludes PROPERTIES
    PASS_REGULAR_EXPRESSION "/base/Upward.h:3: base includes app/\n[^\n]*/scribble/Upward.h:3: scribble includes note/\n[^\n]*/storage/Upward.h:3: storage includes groups/\n"
    FAIL_REGULAR_EXPRESSION "Sideways|every include")

# The Wine shards' runner forgives a kill only after a complete, clean report.
add_test(NAME WineGtest.ForgivesOnlyAKillAfterACleanReport
         COMMAND ${CMAKE_SOURCE_DIR}/tests/tools/wine_gtest_test.sh)

if(TACKAROON_BENCH)
  find_package(benchmark QUIET)
  if(benchmark_FOUND)
    file(GLOB BENCH_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/bench/*.cpp)
    foreach(_b ${BENCH_SOURCES})
      get_filename_component(_name ${_b} NAME_WE)
      add_executable(bench_${_name} ${_b})
      target_compile_definitions(bench_${_name} PRIVATE TACKAROON_RESOURCE_DIR="${RESOURCE_DIR}")
      target_include_directories(bench_${_name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/native)
      target_link_libraries(bench_${_name} PRIVATE tackaroon_portable benchmark::benchmark benchmark::benchmark_main
                            PkgConfig::CAIRO)
      tackaroon_benchmark(bench_${_name})
    endforeach()
  endif()
endif()
