# Runs make_refdb with one bad source in place of a good one and checks that the
# build is refused the way a build machine needs: non-zero exit, the offending
# "file:line:" (or "file:") named on stderr, the database built earlier from good
# sources left byte for byte as it was, and no temporary file left over.
#
#   cmake -DTOOL=… -DFIXTURES=… -DWORK=… -DSLOT=area|industry|post
#         -DBAD=<file> -DWHERE=<expected "file:line:" suffix> -P expect_rejected.cmake
foreach(var TOOL FIXTURES WORK SLOT BAD WHERE)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "${var} not set")
  endif()
endforeach()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
set(db "${WORK}/ref.db")
set(sources area industry post)

set(good_args)
foreach(s IN LISTS sources)
  list(APPEND good_args "${FIXTURES}/good/${s}.tsv")
endforeach()
execute_process(COMMAND "${TOOL}" "${db}" ${good_args} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(NOT rc EQUAL 0 OR NOT EXISTS "${db}")
  message(FATAL_ERROR "good fixtures were refused (${rc}): ${err}")
endif()
file(SHA256 "${db}" before)

string(REPLACE "${FIXTURES}/good/${SLOT}.tsv" "${BAD}" bad_args "${good_args}")
execute_process(COMMAND "${TOOL}" "${db}" ${bad_args} RESULT_VARIABLE rc ERROR_VARIABLE err)
if(rc EQUAL 0)
  message(FATAL_ERROR "a bad ${SLOT} source was accepted: ${BAD}")
endif()
string(FIND "${err}" "${BAD}${WHERE}" at)
if(at EQUAL -1)
  message(FATAL_ERROR "stderr does not name ${BAD}${WHERE}: ${err}")
endif()
file(SHA256 "${db}" after)
if(NOT before STREQUAL after)
  message(FATAL_ERROR "the earlier database was changed by a failed build")
endif()
if(EXISTS "${db}.tmp")
  message(FATAL_ERROR "a failed build left ${db}.tmp behind")
endif()
