# A gage simulator behind COM${GAGE_SIM_COM_PORT} of the Wine prefix while the Windows test
# programs run. The simulator is a Linux program: the native build's gagesim, found in a sibling
# build folder or named with -DGAGE_NATIVE_GAGESIM=/path/to/gagesim. Without one the serial
# tests skip themselves. Windows test programs learn the port from GAGE_SIM_COM.
set(GAGE_SIM_COM_PORT 42 CACHE STRING "COM port number the Windows tests' gage simulator uses")
if(NOT GAGE_NATIVE_GAGESIM)
  file(GLOB _gage_gagesim_candidates "${CMAKE_SOURCE_DIR}/build/*/tools/gagesim/gagesim")
  list(FILTER _gage_gagesim_candidates EXCLUDE REGEX "asan")
  list(LENGTH _gage_gagesim_candidates _gage_gagesim_count)
  if(_gage_gagesim_count GREATER 0)
    list(GET _gage_gagesim_candidates 0 _gage_gagesim_found)
    set(GAGE_NATIVE_GAGESIM "${_gage_gagesim_found}" CACHE FILEPATH "Native gagesim program")
  endif()
endif()

set(_gage_fixture ${CMAKE_CURRENT_LIST_DIR}/serial_sim_fixture.sh)
add_test(NAME serial_sim_start
         COMMAND ${_gage_fixture} start ${CMAKE_BINARY_DIR} ${GAGE_SIM_COM_PORT}
                 "${GAGE_NATIVE_GAGESIM}" --trigger "?\\r" --values 1.5,-2.25
                 --template "{value:%+.3f}<13><10>" --burst-trigger "B\\r" --burst-bytes 102400)
add_test(NAME serial_sim_stop
         COMMAND ${_gage_fixture} stop ${CMAKE_BINARY_DIR} ${GAGE_SIM_COM_PORT})
set_tests_properties(serial_sim_start PROPERTIES FIXTURES_SETUP gage_serial_sim TIMEOUT 300)
set_tests_properties(serial_sim_stop PROPERTIES FIXTURES_CLEANUP gage_serial_sim)

# A second simulator on a free TCP port of 127.0.0.1 that answers each "?\r" with the number of
# commands it has answered, so that a test can tell how many reads reached it. Windows test
# programs find the port number in the file GAGE_SIM_TCP_PORT_FILE names.
add_test(NAME tcp_sim_start
         COMMAND ${_gage_fixture} start-tcp ${CMAKE_BINARY_DIR} counting "${GAGE_NATIVE_GAGESIM}"
                 --trigger "?\\r" --template "{count:%d}<13><10>")
add_test(NAME tcp_sim_stop COMMAND ${_gage_fixture} stop-tcp ${CMAKE_BINARY_DIR} counting)
set_tests_properties(tcp_sim_start PROPERTIES FIXTURES_SETUP gage_tcp_sim TIMEOUT 60)
set_tests_properties(tcp_sim_stop PROPERTIES FIXTURES_CLEANUP gage_tcp_sim)

if(TEST windows_tests)
  # The monitor test builds the burst it asks the simulator for (gagesim/burst_pattern.h).
  target_include_directories(windows_tests PRIVATE ${PROJECT_SOURCE_DIR}/tools)
  set_property(TEST windows_tests APPEND PROPERTY FIXTURES_REQUIRED gage_serial_sim gage_tcp_sim)
  set_property(TEST windows_tests APPEND PROPERTY ENVIRONMENT "GAGE_SIM_COM=${GAGE_SIM_COM_PORT}"
               "GAGE_SIM_TCP_PORT_FILE=Z:${CMAKE_BINARY_DIR}/tcp-sim-counting.port")
endif()
# The portable serial tests of integration_tests use the same simulator; one program at a time
# talks to it.
if(TEST integration_tests)
  set_property(TEST integration_tests APPEND PROPERTY FIXTURES_REQUIRED gage_serial_sim)
  set_property(TEST integration_tests APPEND PROPERTY ENVIRONMENT
               "GAGE_SIM_COM=${GAGE_SIM_COM_PORT}")
endif()
set_property(TEST windows_tests integration_tests APPEND PROPERTY RESOURCE_LOCK gage_serial_sim)
