# Helpers every subsystem uses to declare its tests, benchmarks and fuzzers.

if(WIN32)
  # GoogleTest from Debian's sources, built with the cross compiler.
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
endif()

# nx7_native_test(NAME src...): a host test executable on the portable core; each test is its own ctest entry.
function(nx7_native_test name)
  if(WIN32)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE nx7core nx7_host_platform GTest::gtest GTest::gmock GTest::gtest_main)
  nx7_warnings(${name})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE NX7_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 30 PROPERTIES LABELS native)
endfunction()

# Every test that runs through Wine needs the prefix and the display, made once by the fixture
# below, and shares one desktop (input injection, hooks, hover): they run one at a time.
set(NX7_WINE_TEST_PROPERTIES LABELS wine FIXTURES_REQUIRED wine_prefix RESOURCE_LOCK desktop
    ENVIRONMENT NX7_WINE_OUTPUT_FILE=1)
if(WIN32)
  # Makes the Wine prefix and the display if missing and keeps one wineserver alive for the run,
  # so no test pays for starting Wine's server or builds the prefix inside its own time limit.
  add_test(NAME wine_prefix COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/wine-run.sh --keep-server)
  set_tests_properties(wine_prefix PROPERTIES LABELS wine FIXTURES_SETUP wine_prefix RESOURCE_LOCK desktop
                       TIMEOUT 300)
endif()

# nx7_win_test(NAME src...): a Windows test executable, run by ctest through Wine. Each test case
# is its own ctest entry (listed through Wine when ctest starts, again only when the program
# changed), so a failure reruns one case.
function(nx7_win_test name)
  if(NOT WIN32)
    return()
  endif()
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE nx7win nx7core gtest gmock gtest_main)
  nx7_warnings(${name})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_compile_definitions(${name} PRIVATE NX7_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  include(GoogleTest)
  gtest_discover_tests(${name} EXTRA_ARGS --gtest_color=no DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES ${NX7_WINE_TEST_PROPERTIES} TIMEOUT 120)
endfunction()

# nx7_benchmark(NAME src...): a Google Benchmark executable (host only, never run by ctest).
function(nx7_benchmark name)
  if(WIN32 OR NOT NX7_BENCH)
    return()
  endif()
  find_package(benchmark REQUIRED)
  add_executable(${name} ${ARGN})
  target_link_libraries(${name} PRIVATE nx7core nx7_host_platform benchmark::benchmark benchmark::benchmark_main)
  nx7_warnings(${name})
  target_compile_definitions(${name} PRIVATE NX7_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
endfunction()

# nx7_fuzzer(NAME SOURCE CORPUS_DIR [MORE_CORPUS_DIRS...]): a libFuzzer target; ctest replays its
# seed corpora, and scripts/fuzz.sh finds them listed in NAME.corpus beside the program.
function(nx7_fuzzer name source corpus)
  if(NOT NX7_FUZZ)
    return()
  endif()
  add_executable(${name} ${source})
  target_link_libraries(${name} PRIVATE nx7core nx7_host_platform)
  nx7_warnings(${name})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  add_test(NAME ${name}_corpus COMMAND ${name} -runs=0 ${corpus} ${ARGN})
  set_tests_properties(${name}_corpus PROPERTIES LABELS fuzz)
  set(dirs ${corpus} ${ARGN})
  list(JOIN dirs "\n" lines)
  file(GENERATE OUTPUT $<TARGET_FILE_DIR:${name}>/${name}.corpus CONTENT "${lines}\n")
endfunction()
