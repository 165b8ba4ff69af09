# The fuzz targets built without libFuzzer, each replaying its seed corpus as an ordinary test.
find_file(GAGE_FUZZED_DATA_PROVIDER fuzzer/FuzzedDataProvider.h
          PATHS /usr/lib/llvm-19/lib/clang /usr/lib/llvm-18/lib/clang /usr/lib/llvm-17/lib/clang
                /usr/lib/llvm-16/lib/clang /usr/lib/llvm-15/lib/clang /usr/lib/llvm-14/lib/clang
          PATH_SUFFIXES 19/include 18/include 17/include 16/include 15.0.7/include 14.0.6/include
          NO_DEFAULT_PATH)
if(NOT GAGE_FUZZED_DATA_PROVIDER)
  message(STATUS "FuzzedDataProvider.h not found: fuzz corpora are not replayed in this build")
  return()
endif()
# Only that one header, not the compiler's whole include folder.
set(replay_include ${CMAKE_BINARY_DIR}/fuzz_replay_include)
file(MAKE_DIRECTORY ${replay_include}/fuzzer)
file(COPY_FILE ${GAGE_FUZZED_DATA_PROVIDER} ${replay_include}/fuzzer/FuzzedDataProvider.h)
file(GLOB fuzz_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_LIST_DIR}/*_fuzz.cpp)
foreach(source IN LISTS fuzz_sources)
  get_filename_component(name ${source} NAME_WE)
  set(corpus ${CMAKE_CURRENT_LIST_DIR}/corpus/${name})
  if(IS_DIRECTORY ${corpus})
    add_executable(${name}_replay ${source} ${CMAKE_CURRENT_LIST_DIR}/corpus_replay_main.cpp)
    target_include_directories(${name}_replay SYSTEM PRIVATE ${replay_include})
    target_link_libraries(${name}_replay PRIVATE gagecore)
    add_test(NAME ${name}_corpus COMMAND ${name}_replay ${corpus})
    set_tests_properties(${name}_corpus PROPERTIES TIMEOUT 300 LABELS fuzz)
  endif()
endforeach()
