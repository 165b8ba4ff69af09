#!/usr/bin/env bash
# The demo. On a Debian 12 machine (as root) it installs what the Linux build needs, builds the
# Linux library and the command-line host, and has the host load the library on the example
# configuration in examples/: two simulated gages. The library works on a temporary copy, so the
# example files stay as they are.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh --linux
jobs=$(nproc 2>/dev/null || echo 2)
echo "demo: building the library and the command-line host (preset linux)"
cmake --preset linux -Wno-dev >/dev/null
cmake --build --preset linux -j "$jobs" --target tqxGageSrvr6 gagesrv

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp examples/ZRN_SYS.INI examples/BRW_GAGE.DEF examples/BRW_GAGE.CFG "$work"/
gagesrv=build/linux/tools/gagesrv/gagesrv

run() {
  echo
  echo "\$ gagesrv $*"
  "$gagesrv" --shared-dir "$work" --local-dir "$work" "$@"
}

echo
echo "demo: the configuration (copied from examples/ to $work)"
sed 's/\r$//; s/^/    /' "$work/BRW_GAGE.CFG"
run probe
run list
if [ -s "$work/ZRNGSV32.LOG" ]; then
  echo
  echo "demo: the library's log"
  sed 's/\r$//; s/^/    /' "$work/ZRNGSV32.LOG"
fi
