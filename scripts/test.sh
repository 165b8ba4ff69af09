#!/usr/bin/env bash
# The test command. On a Debian 12 machine (as root) it installs whatever is missing, builds every
# configuration and runs every test:
#   linux       gcc, optimised, warnings as errors          build, tests
#   linux-asan  gcc with AddressSanitizer and UBSan          build, tests
#   win64       mingw-w64 64-bit DLL, tests under Wine       build, tests
#   win32       mingw-w64 32-bit DLL, under 32-bit Wine      build, tests
#   fuzz        clang with libFuzzer                         fuzz targets, seed corpora replayed
# Windows tests share one virtual display (xvfb-run). Exit status 0 when everything built and
# passed; 1 when something failed; 2 when everything that ran passed but the win32 tests could
# not run because the 32-bit Wine could not be installed. A machine whose kernel runs no 32-bit
# programs at all (no IA-32 emulation) can never run them: there the 32-bit DLL is built and its
# export table checked, the summary says the tests were NOT RUN and why, and the status is 0.
#   scripts/test.sh [--clean]     --clean removes the build folders first
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

presets=(linux linux-asan win64 win32 fuzz)

if [ "${1:-}" != "--under-display" ]; then
  clean=0
  for argument in "$@"; do
    case "$argument" in
      --clean) clean=1 ;;
      -h | --help) sed -n '2,14p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
      *) echo "test: unknown option $argument (try --help)" >&2; exit 2 ;;
    esac
  done
  started=$(date +%s)
  if ! bash scripts/setup.sh; then
    echo "test: setting up the machine failed" >&2
    exit 1
  fi
  if [ "$clean" -eq 1 ]; then
    for preset in "${presets[@]}"; do
      rm -rf "build/$preset"
    done
  fi
  # One virtual display for the whole run: every Windows test that opens a window uses it.
  xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" --under-display "$started" </dev/null
  exit $?
fi

started=${2:-$(date +%s)}
jobs=$(nproc 2>/dev/null || echo 2)
summary=()
failed=0
incomplete=0
no_32bit_kernel=0

# Runs one step, timing it and recording the outcome for the summary.
step() {
  local name=$1
  shift
  local begin=$SECONDS
  echo
  echo "=== ${name}"
  if "$@"; then
    summary+=("$(printf '%-28s %-8s %5ss' "$name" passed $((SECONDS - begin)))")
    return 0
  fi
  summary+=("$(printf '%-28s %-8s %5ss' "$name" FAILED $((SECONDS - begin)))")
  failed=1
  return 1
}

skip() {
  summary+=("$(printf '%-28s %-8s %s' "$1" skipped "$2")")
  failed=1
}

build() {
  cmake --preset "$1" -Wno-dev && cmake --build --preset "$1" -j "$jobs" ${2:+--target "$2"}
}

run_tests() {
  local preset=$1
  shift
  ctest --preset "$preset" --no-tests=error "$@"
}

# setup.sh installs the 32-bit Wine; only when that failed are the win32 tests left out.
wine32_installed() {
  dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'
}

# Some kernels refuse every 32-bit program ("Exec format error", status 126): no install mends that.
kernel_refuses_32bit() {
  local status=0
  /usr/lib/wine/wine --version >/dev/null 2>&1 || status=$?
  [ "$status" -eq 126 ]
}

# What the win32 configuration can still show without running its programs.
win32_exports_only() {
  echo "test: WARNING: $1;"
  echo "test: the 32-bit DLL is built and its export table checked, but its tests do NOT run"
  step "win32: export check" run_tests win32 -R '^library_exports$'
  summary+=("$(printf '%-28s %-8s %s' "win32: tests" "NOT RUN" "($1)")")
}

stop_wine() {
  local prefix
  for prefix in build/win64/wineprefix build/win32/wineprefix; do
    if [ -d "$prefix" ]; then
      WINEPREFIX="$PWD/$prefix" timeout 30 wineserver -k >/dev/null 2>&1 || true
    fi
  done
}
trap stop_wine EXIT

for preset in linux linux-asan win64; do
  if step "$preset: build" build "$preset"; then
    step "$preset: tests" run_tests "$preset"
  else
    skip "$preset: tests" "(build failed)"
  fi
done

if step "win32: build" build win32; then
  if ! wine32_installed; then
    win32_exports_only "no 32-bit Wine: its install failed"
    incomplete=1
  elif kernel_refuses_32bit; then
    win32_exports_only "this machine's kernel runs no 32-bit programs"
    no_32bit_kernel=1
  else
    step "win32: tests" run_tests win32
  fi
else
  skip "win32: tests" "(build failed)"
fi

if step "fuzz: build" build fuzz fuzz_targets; then
  step "fuzz: seed corpora" run_tests fuzz -L fuzz
else
  skip "fuzz: seed corpora" "(build failed)"
fi

stop_wine

elapsed=$(($(date +%s) - started))
echo
echo "=== Summary"
printf '%s\n' "${summary[@]}"
printf 'Total time: %dm%02ds\n' $((elapsed / 60)) $((elapsed % 60))
if [ "$failed" -ne 0 ]; then
  echo "RESULT: FAILED"
  exit 1
fi
if [ "$incomplete" -ne 0 ]; then
  echo "!!! The win32 tests did NOT run: the 32-bit Wine could not be installed."
  echo "RESULT: INCOMPLETE (everything that ran passed, but this is not a full pass)"
  exit 2
fi
if [ "$no_32bit_kernel" -ne 0 ]; then
  echo "!!! The win32 tests did NOT run: this machine's kernel runs no 32-bit programs."
  echo "RESULT: all builds and every test this machine can run passed (win32 tests NOT RUN)"
  exit 0
fi
echo "RESULT: all builds and tests passed"
exit 0
