# Registers test binaries a second time, run whole on PostgreSQL: the tests read
# KIVTAL_TEST_BACKEND=postgres and make their databases on the server KIVTAL_TEST_POSTGRES
# names (scripts/test starts one and sets it). Label `postgres`; without a server they
# fail, saying so.
#   kivtal_add_postgres_runs(NAMES E2eFoo_test ... [LABELS extra])
function(kivtal_add_postgres_runs)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "" "NAMES;LABELS")
  foreach(name IN LISTS arg_NAMES)
    add_test(NAME ${name}_postgres COMMAND ${name})
    set_tests_properties(${name}_postgres PROPERTIES
      LABELS "postgres;${arg_LABELS}"
      TIMEOUT 900
      ENVIRONMENT "KIVTAL_TEST_BACKEND=postgres;KIVTAL_REFDB=${PROJECT_BINARY_DIR}/data/doz2a_v3.db")
  endforeach()
endfunction()
