# kivtal_add_test: the one way a test program is registered with CTest.
#
#   kivtal_add_test(<name>
#       [SOURCES <file>...]        the program's sources; default <name>.cpp in this folder
#       [LABELS <label>...]        core, ui, service or e2e, and `threads` for a test whose
#                                  code runs on several threads: the ThreadSanitizer pass of
#                                  scripts/test runs exactly the tests labelled `threads`
#       [LIBRARIES <target>...]    what it links besides GoogleTest
#       [DEFINES <NAME=value>...]  extra compile definitions
#       [DEPENDS <target>...]      targets to build before it (data files, helpers)
#       [PROGRAMS <target>...]     programs the test starts as child processes: each is
#                                  built first, and its path reaches the code as
#                                  <TARGET>_EXE (kivtal -> KIVTAL_EXE, kivtal-cli ->
#                                  KIVTAL_CLI_EXE, kivtal-service -> KIVTAL_SERVICE_EXE)
#       [ENVIRONMENT <VAR=value>...] extra environment of every test case
#       [OUTPUT_DIR <folder>]      where the program is written (default: the build folder
#                                  of the CMakeLists.txt that registers it)
#       [QT]                       Qt meta-object compilation (AUTOMOC) on its sources
#       [NO_MAIN])                 it brings its own main() (GoogleTest's otherwise)
#
# Each test case of the program becomes a CTest test of its own (discovered before the
# run), with KIVTAL_REFDB pointing at the reference database this build produces.
#
# kivtal_add_tests_in(<folder> [RECURSE] [THREADED <name>...] <arguments of kivtal_add_test>)
#   registers every <folder>/*_test.cpp (with RECURSE, its subfolders' too; found again
#   at each configure) as a test named after its file, each with the arguments given;
#   those named after THREADED also carry the label `threads`. A folder of tests usually needs only this:
#
#     kivtal_add_tests_in("${CMAKE_CURRENT_SOURCE_DIR}" LABELS core
#                         LIBRARIES kivtal_core kivtal_test_support THREADED SyncRun_test)
find_package(GTest REQUIRED)
include(GoogleTest)

function(kivtal_add_test name)
  cmake_parse_arguments(PARSE_ARGV 1 arg "QT;NO_MAIN" "OUTPUT_DIR"
    "SOURCES;LABELS;LIBRARIES;DEFINES;DEPENDS;PROGRAMS;ENVIRONMENT")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "kivtal_add_test(${name}): unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  if(NOT arg_SOURCES)
    set(arg_SOURCES "${name}.cpp")
  endif()

  add_executable(${name} ${arg_SOURCES})
  target_include_directories(${name} PRIVATE "${PROJECT_SOURCE_DIR}/tests")
  target_link_libraries(${name} PRIVATE ${arg_LIBRARIES} GTest::gmock)
  if(arg_NO_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  if(arg_QT)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
  endif()
  if(arg_OUTPUT_DIR)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${arg_OUTPUT_DIR}")
  endif()
  if(arg_DEFINES)
    target_compile_definitions(${name} PRIVATE ${arg_DEFINES})
  endif()
  foreach(program IN LISTS arg_PROGRAMS)
    string(TOUPPER "${program}" macro)
    string(REPLACE "-" "_" macro "${macro}")
    target_compile_definitions(${name} PRIVATE ${macro}_EXE="$<TARGET_FILE:${program}>")
  endforeach()
  if(arg_DEPENDS OR arg_PROGRAMS)
    add_dependencies(${name} ${arg_DEPENDS} ${arg_PROGRAMS})
  endif()

  set(environment "KIVTAL_REFDB=set:${PROJECT_BINARY_DIR}/data/doz2a_v3.db")
  foreach(variable IN LISTS arg_ENVIRONMENT)
    string(REGEX REPLACE "^([^=]*)=" "\\1=set:" variable "${variable}")
    list(APPEND environment "${variable}")
  endforeach()
  # The labels and the environment are lists, which gtest_discover_tests cannot pass
  # through its PROPERTIES; a script run after the discovered tests are read sets them.
  # Its list of names leaves out any name holding [ or ]; with NO_PRETTY_VALUES a
  # parameterised test is named by its index or its generated name, never by its value,
  # so every name is made of identifiers (and stays the same from one build to the next).
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST NO_PRETTY_VALUES TEST_LIST ${name}_TESTS)
  set(script "${CMAKE_CURRENT_BINARY_DIR}/${name}_properties.cmake")
  file(WRITE "${script}"
    "if(${name}_TESTS)\n"
    "  set_tests_properties(\${${name}_TESTS} PROPERTIES LABELS [==[${arg_LABELS}]==]\n"
    "    ENVIRONMENT_MODIFICATION [==[${environment}]==])\n"
    "endif()\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()

function(kivtal_add_tests_in folder)
  cmake_parse_arguments(PARSE_ARGV 1 arg "RECURSE;QT;NO_MAIN" "OUTPUT_DIR"
    "THREADED;LABELS;LIBRARIES;DEFINES;DEPENDS;PROGRAMS;ENVIRONMENT")
  if(arg_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "kivtal_add_tests_in: unknown arguments ${arg_UNPARSED_ARGUMENTS}")
  endif()
  set(common)
  foreach(option IN ITEMS QT NO_MAIN)
    if(arg_${option})
      list(APPEND common ${option})
    endif()
  endforeach()
  foreach(key IN ITEMS OUTPUT_DIR LIBRARIES DEFINES DEPENDS PROGRAMS ENVIRONMENT)
    if(arg_${key})
      list(APPEND common ${key} ${arg_${key}})
    endif()
  endforeach()

  if(arg_RECURSE)
    file(GLOB_RECURSE sources CONFIGURE_DEPENDS "${folder}/*_test.cpp")
  else()
    file(GLOB sources CONFIGURE_DEPENDS "${folder}/*_test.cpp")
  endif()
  foreach(src IN LISTS sources)
    get_filename_component(name "${src}" NAME_WE)
    set(labels ${arg_LABELS})
    if(name IN_LIST arg_THREADED)
      list(APPEND labels threads)
    endif()
    kivtal_add_test(${name} SOURCES "${src}" LABELS ${labels} ${common})
  endforeach()
endfunction()
