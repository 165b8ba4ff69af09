#!/usr/bin/env bash
# Builds the coverage preset, runs the Linux tests with every process (children included)
# writing its own raw profile, merges them and writes a per-file summary of src/ and tools/.
# Usage: scripts/coverage.sh [summary-file]   (default: build/coverage/coverage-summary.txt)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build/coverage"
summary=${1:-$build/coverage-summary.txt}

cmake --preset coverage >/dev/null
cmake --build --preset coverage -j2

profiles="$build/profiles"
rm -rf "$profiles" && mkdir -p "$profiles"
export LLVM_PROFILE_FILE="$profiles/%p-%m.profraw"
ctest --preset coverage -j2 || echo "coverage: some tests failed; the summary covers what ran" >&2

llvm-profdata merge -sparse "$profiles"/*.profraw -o "$build/merged.profdata"

# Every instrumented program and the library; llvm-cov takes the first as the main object.
mapfile -t objects < <(find "$build" -type f \( -perm -u+x -o -name '*.so' \) \
  ! -path '*/CMakeFiles/*' ! -name '*.sh' | sort)
args=("${objects[0]}")
for object in "${objects[@]:1}"; do args+=(-object "$object"); done

llvm-cov report "${args[@]}" -instr-profile="$build/merged.profdata" \
  "$root/src" "$root/tools" | sed "s|$root/||" >"$summary"
llvm-cov export "${args[@]}" -instr-profile="$build/merged.profdata" -format=lcov \
  "$root/src" "$root/tools" >"$build/coverage.lcov"
echo "coverage: summary in $summary, line detail in $build/coverage.lcov"
