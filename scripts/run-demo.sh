#!/usr/bin/env bash
# The demonstration itself, on an existing Linux build (scripts/demo.sh builds first; the test
# suite runs this directly). It copies the example configuration in examples/ to a temporary
# directory, puts a simulated serial caliper on a pseudo-terminal and a simulated three-channel
# multiplexer on a TCP port of 127.0.0.1, and reads every gage through the library's entry point
# with gagesrv: two RandomValue gages, the caliper and the multiplexer's three channels.
#
#   scripts/run-demo.sh [BUILD_DIR]      (default: build/linux)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build/linux}" && pwd)
gagesrv=$build/tools/gagesrv/gagesrv
gagesim=$build/tools/gagesim/gagesim
for program in "$gagesrv" "$gagesim"; do
  if [ ! -x "$program" ]; then
    echo "demo: $program is missing; build first (bash scripts/demo.sh does)" >&2
    exit 1
  fi
done

# A short directory: the library names serial devices <COM_PREFIX><port>, and COM_PREFIX holds
# at most 15 characters.
work=$(mktemp -d /tmp/gsXXXXXX)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
cp "$root"/examples/ZRN_SYS.INI "$root"/examples/BRW_GAGE.DEF "$root"/examples/BRW_GAGE.CFG "$work"/

# Starts a simulator in the background and waits for its first line ("device ..." or "port N").
start_simulator() {
  local out=$1
  shift
  "$gagesim" "$@" >"$out" 2>"$out.err" &
  pids+=($!)
  for _ in $(seq 1 100); do
    if [ -s "$out" ]; then return 0; fi
    if ! kill -0 "${pids[-1]}" 2>/dev/null; then break; fi
    sleep 0.1
  done
  echo "demo: the gage simulator did not start: $(cat "$out.err")" >&2
  exit 1
}

echo "demo: a serial caliper on a pseudo-terminal, linked as COM3 ($work/c3)"
start_simulator "$work/caliper.out" --pty --link "$work/c3" --trigger '?\r' \
  --template '{sign}{abs:%07.3f}<13><10>' --walk-start 12.345 --walk-step 0.004 --seed 7
echo "demo: a three-channel multiplexer on TCP/IP, 127.0.0.1"
start_simulator "$work/mux.out" --tcp 0 --channels 1,2,3 --trigger '#{ch}?\r' \
  --template '{channel:%02d},{value:%+.4f},{count}<13><10>' --walk-start 25.0 --walk-step 0.002 \
  --seed 11
port=$(sed -n 's/^port //p' "$work/mux.out")

# Point the example configuration at the simulators: serial ports under $work, and the
# multiplexer's port.
sed -i "s|^COM_PREFIX=.*|COM_PREFIX=$work/c\r|" "$work/ZRN_SYS.INI"
sed -i "s|^\(MUX_2=\"Network multiplexer\",3,\)4001,|\1$port,|" "$work/BRW_GAGE.CFG"

run() {
  echo
  printf '$ gagesrv'
  printf ' %q' "$@"
  echo
  "$gagesrv" --shared-dir "$work" --local-dir "$work" "$@"
}

echo
echo "demo: the configuration (examples/BRW_GAGE.CFG, pointed at the simulators)"
sed 's/\r$//; s/^/    /' "$work/BRW_GAGE.CFG"
run list
run read "RandomValue Caliper" "RandomValue Micrometer" Caliper "Bore A" "Bore B" "Bore C" \
  --count 3 --interval 250
run read "Bore B" --json
run subgroup-start
if [ -s "$work/ZRNGSV32.LOG" ]; then
  echo
  echo "demo: the library's log"
  sed 's/\r$//; s/^/    /' "$work/ZRNGSV32.LOG"
fi
echo
echo "demo: every gage was read."
