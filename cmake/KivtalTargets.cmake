# Every tests/<area>/<Name>_test.cpp becomes its own GoogleTest executable, so one
# area's test can be built and run alone while another is being worked on.
function(kivtal_add_tests area label)
  file(GLOB test_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp")
  foreach(src IN LISTS test_sources)
    get_filename_component(name "${src}" NAME_WE)
    add_executable(${name} "${src}")
    target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock)
    target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
    gtest_discover_tests(${name}
      DISCOVERY_MODE PRE_TEST
      PROPERTIES LABELS "${label}"
                 ENVIRONMENT_MODIFICATION "KIVTAL_REFDB=set:${PROJECT_BINARY_DIR}/data/doz2a_v3.db")
  endforeach()
endfunction()

# Every bench/<name>.cpp becomes its own benchmark program.
function(kivtal_add_benchmarks)
  file(GLOB bench_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  foreach(src IN LISTS bench_sources)
    get_filename_component(name "${src}" NAME_WE)
    add_executable(bench_${name} "${src}")
    target_link_libraries(bench_${name} PRIVATE ${ARGN} benchmark::benchmark)
    # Benchmarks reuse the tests' fixtures (scripted service, temporary folders).
    target_include_directories(bench_${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  endforeach()
endfunction()
