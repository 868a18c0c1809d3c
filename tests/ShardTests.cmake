# Writes the ctest entries of one GoogleTest program as shards (run after the program links):
# the program lists its tests, and every SHARD_SIZE of them (round up) make one entry that runs
# the program once with GTEST_TOTAL_SHARDS/GTEST_SHARD_INDEX. Starting a program once per test
# cost more than most tests, above all under the sanitizers; a failure still shows the failing
# test's name in the entry's output (ctest --output-on-failure), and a crash the name of the test
# that was running (the last "[ RUN      ]" line), which is why the output is not shortened.
#   cmake -D EXE=... -D NAME=... -D SHARD_SIZE=... -D WEIGHT=... -D WORKDIR=... -D OUT=... -P
cmake_minimum_required(VERSION 3.24)
execute_process(COMMAND "${EXE}" --gtest_list_tests
                OUTPUT_VARIABLE listing ERROR_VARIABLE errors RESULT_VARIABLE rc TIMEOUT 120)
if(NOT rc EQUAL 0)
  file(REMOVE "${OUT}")
  message(FATAL_ERROR "${EXE} --gtest_list_tests failed (${rc}):\n${listing}\n${errors}")
endif()
# A test is an indented line of the listing; suites are not indented. Disabled tests are listed
# but never run.
string(REGEX MATCHALL "\n  [^\n]*" tests "\n${listing}")
set(count 0)
foreach(line IN LISTS tests)
  if(NOT line MATCHES "^\n  DISABLED_")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
# Never an empty shard: at most one shard per test, and one for a program without tests.
math(EXPR shards "(${count} + ${SHARD_SIZE} - 1) / ${SHARD_SIZE}")
if(shards LESS 1)
  set(shards 1)
endif()
set(text "")
math(EXPR last "${shards} - 1")
foreach(index RANGE ${last})
  math(EXPR shown "${index} + 1")
  set(test "${NAME}.shard${shown}of${shards}")
  # Larger shards and heavier programs start first, so that the last to end is a short one.
  math(EXPR cost "(${count} / ${shards}) * ${WEIGHT}")
  string(APPEND text
    "add_test([=[${test}]=] [=[${EXE}]=])\n"
    "set_tests_properties([=[${test}]=] PROPERTIES WORKING_DIRECTORY [=[${WORKDIR}]=]"
    " ENVIRONMENT \"GTEST_TOTAL_SHARDS=${shards};GTEST_SHARD_INDEX=${index}\""
    " COST ${cost} TIMEOUT 1800)\n")
endforeach()
file(WRITE "${OUT}" "${text}")
