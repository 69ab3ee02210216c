# Every bench/<name>.cpp becomes its own benchmark program.
function(kivtal_add_benchmarks)
  file(GLOB bench_sources CONFIGURE_DEPENDS "${CMAKE_CURRENT_SOURCE_DIR}/*.cpp")
  foreach(src IN LISTS bench_sources)
    get_filename_component(name "${src}" NAME_WE)
    add_executable(bench_${name} "${src}")
    target_link_libraries(bench_${name} PRIVATE ${ARGN} benchmark::benchmark)
  endforeach()
endfunction()
