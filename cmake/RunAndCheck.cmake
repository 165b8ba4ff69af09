# Runs a command and checks both its exit status and its output (CTest alone checks one or the
# other). Usage:
#   cmake -DEXPECT_STATUS=0|nonzero [-DEXPECT_OUTPUT=regex] -P RunAndCheck.cmake -- command args...
cmake_minimum_required(VERSION 3.25)
set(command)
set(after_separator FALSE)
math(EXPR last "${CMAKE_ARGC} - 1")
foreach(i RANGE ${last})
  if(after_separator)
    list(APPEND command "${CMAKE_ARGV${i}}")
  elseif("${CMAKE_ARGV${i}}" STREQUAL "--")
    set(after_separator TRUE)
  endif()
endforeach()
if(NOT command)
  message(FATAL_ERROR "RunAndCheck: no command after --")
endif()

execute_process(COMMAND ${command} RESULT_VARIABLE status OUTPUT_VARIABLE out
                ERROR_VARIABLE out TIMEOUT 100)
message("${out}")
if(EXPECT_STATUS STREQUAL "nonzero")
  # A crash is no acceptable failure: it must be an orderly non-zero exit.
  if(NOT status MATCHES "^[0-9]+$" OR status EQUAL 0)
    message(FATAL_ERROR "expected a non-zero exit status, got: ${status}")
  endif()
elseif(NOT status STREQUAL "${EXPECT_STATUS}")
  message(FATAL_ERROR "expected exit status ${EXPECT_STATUS}, got: ${status}")
endif()
if(DEFINED EXPECT_OUTPUT AND NOT out MATCHES "${EXPECT_OUTPUT}")
  message(FATAL_ERROR "output does not match: ${EXPECT_OUTPUT}")
endif()
