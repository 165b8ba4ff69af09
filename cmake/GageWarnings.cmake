# Warnings are errors on every platform; the sanitizer and fuzz builds add their instrumentation.
add_library(gage_options INTERFACE)
target_compile_options(gage_options INTERFACE -Wall -Wextra -Wpedantic -Werror -Wshadow
                                              -Wnon-virtual-dtor -Wimplicit-fallthrough)
if(GAGE_SANITIZE OR GAGE_FUZZ)
  target_compile_options(gage_options INTERFACE -fsanitize=address,undefined -fno-omit-frame-pointer
                                                -fno-sanitize-recover=undefined)
  target_link_options(gage_options INTERFACE -fsanitize=address,undefined)
endif()
if(GAGE_COVERAGE)
  # Source-based coverage; every process (tests, library, gagesrv, children) writes its own
  # profile, named by LLVM_PROFILE_FILE, which scripts/coverage.sh merges.
  target_compile_options(gage_options INTERFACE -fprofile-instr-generate -fcoverage-mapping)
  target_link_options(gage_options INTERFACE -fprofile-instr-generate)
endif()
if(GAGE_FUZZ)
  # Coverage feedback for libFuzzer from all our code; only the fuzz programs link its main.
  target_compile_options(gage_options INTERFACE -fsanitize=fuzzer-no-link)
  # clang leaves the sanitizer and coverage run-times to the executable, so a shared library
  # of this build has undefined references that the loading program resolves.
  if(NOT WIN32)
    target_link_options(gage_options INTERFACE -Wl,-z,undefs)
  endif()
endif()
if(WIN32)
  # The library must load on a bare Windows: no MinGW runtime DLLs.
  target_link_options(gage_options INTERFACE -static -static-libgcc -static-libstdc++)
  target_compile_definitions(gage_options INTERFACE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 4 AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(x86|i[3-6]86)$")
  # x87 arithmetic keeps 80-bit intermediates, so readings, gains, zeros and the simulated
  # source would come out as other doubles than on 64-bit builds; SSE2 rounds every step to
  # double, as those do. A host built elsewhere may call in with a stack aligned to 4 bytes only.
  target_compile_options(gage_options INTERFACE -msse2 -mfpmath=sse -mstackrealign)
endif()
