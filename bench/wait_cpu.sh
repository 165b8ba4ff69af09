#!/usr/bin/env bash
# CPU share of a read waiting 500 ms for a silent gage, on a serial port and on TCP, for one build:
#   bench/wait_cpu.sh BUILD_DIR        e.g. build/linux, build/win64, build/win32
# The gage is the native gage simulator (build/linux) that never gets its trigger. Windows builds
# run under Wine (tests/windows/wine-run.sh), the simulator behind COM43 of the build's prefix.
# The figure for Wine also counts wineserver, which does the waiting for Windows programs.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
gagesim="${here}/build/linux/tools/gagesim/gagesim"
program="${build}/bench/wait_cpu/wait_cpu_bench"
[ -x "$program" ] || program="${program}.exe"
scratch=$(mktemp -d /tmp/gwXXXX)  # short: a serial prefix holds 15 characters
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$scratch"
}
trap cleanup EXIT

silent=(--trigger "never\r" --values 1)
run() {
  if [[ "$program" == *.exe ]]; then
    "${here}/tests/windows/wine-run.sh" "$build" "$program" "$@"
  else
    "$program" "$@"
  fi
}
# CPU ticks of the wineserver of the build's prefix: the one working in Wine's server directory
# named for the prefix's device and inode (its parent directory differs between Wine builds).
server_ticks() {
  local prefix="${build}/wineprefix" dir pid
  [ -d "$prefix" ] || { echo 0; return; }
  dir=$(printf 'server-%x-%x' "$(stat -c %d "$prefix")" "$(stat -c %i "$prefix")")
  for pid in $(pgrep -x 'wineserver(64)?' 2>/dev/null); do
    if [ "$(basename "$(readlink "/proc/${pid}/cwd" 2>/dev/null)")" = "$dir" ]; then
      awk '{print $14 + $15}' "/proc/${pid}/stat"
      return
    fi
  done
  echo 0
}

if [[ "$program" == *.exe ]]; then
  port=43
  "${here}/tests/windows/serial_sim_fixture.sh" start "$build" "$port" "$gagesim" "${silent[@]}"
  serial=(serial COM "$port")
else
  setsid "$gagesim" --pty --link "${scratch}/com1" --pid-file "${scratch}/pty.ready" \
    "${silent[@]}" >/dev/null 2>&1 &
  pids+=($!)
  serial=(serial "${scratch}/com" 1)
fi
setsid "$gagesim" --tcp 0 --pid-file "${scratch}/tcp.ready" "${silent[@]}" \
  >"${scratch}/tcp.log" 2>&1 &
pids+=($!)
for _ in $(seq 1 100); do
  [ -f "${scratch}/tcp.ready" ] && { [ -n "${serial[1]##/*}" ] || [ -e "${scratch}/com1" ]; } && grep -q '^port [0-9]' "${scratch}/tcp.log" && break
  sleep 0.05
done
tcp_port=$(sed -n 's/^port \([0-9]*\).*/\1/p' "${scratch}/tcp.log" | head -1)

for connection in serial tcp; do
  if [ "$connection" = serial ]; then args=("${serial[@]}"); else args=(tcp "$tcp_port"); fi
  before=$(server_ticks)
  run "${args[@]}" 10
  after=$(server_ticks)
  [[ "$program" != *.exe ]] || echo "  wineserver during the run: $(( (after - before) * 10 )) ms of CPU"
done
if [[ "$program" == *.exe ]]; then
  "${here}/tests/windows/serial_sim_fixture.sh" stop "$build" "$port"
fi
