#!/usr/bin/env bash
# Soak run, by hand (not part of the test command): one gagesrv process reads 20 simulated gages
# ten times a second for a long while, and afterwards the run is checked:
#   - no read failed, and gagesrv printed every round of every gage;
#   - per gage the reading numbers are strictly consecutive (nothing lost, nothing doubled);
#   - gagesrv's resident memory did not grow (first minute against last minute);
#   - every simulator answered exactly as many read commands as gagesrv made reads.
# The gages: 10 on pseudo-terminals (serial ports through COM_PREFIX), 6 on TCP ports of
# 127.0.0.1, and a 4-channel multiplexer on one more TCP port. Each answers the read command
# ("R<CR>", on the multiplexer "R<channel as two digits><CR>") with a record that carries its
# running record count (per channel), read as the reading number.
# The run lasts the planned time: gagesrv is asked for minutes x 60000 / interval rounds and, if
# it cannot keep that rate, is interrupted (it stops after the round in progress) a little after
# the planned time; the report gives the rate achieved. A run still going at twice the planned
# time plus a minute is killed and fails.
#
#   scripts/soak.sh [--minutes M] [--build-dir DIR] [--interval MS] [--keep]
#     --minutes M      length of the run (default 10); fractions such as 0.5 work
#     --build-dir DIR  build folder holding gagesrv and gagesim (default build/linux); they are
#                      built there first if missing
#     --interval MS    pause between rounds (default 100, i.e. 10 Hz)
#     --keep           keep the work folder (configuration, output, memory samples, logs)
# Exit status 0 only when every check passed.
set -uo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.." || exit 1

minutes=10
build_dir=build/linux
interval=100
keep=0
while [ $# -gt 0 ]; do
  case "$1" in
    --minutes) minutes=${2:?--minutes needs a value}; shift 2 ;;
    --build-dir) build_dir=${2:?--build-dir needs a value}; shift 2 ;;
    --interval) interval=${2:?--interval needs a value}; shift 2 ;;
    --keep) keep=1; shift ;;
    -h | --help) sed -n '2,20p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "soak: unknown option $1 (try --help)" >&2; exit 2 ;;
  esac
done

log() { echo "soak: $*"; }
fail() { echo "soak: $*" >&2; exit 1; }

gagesrv=$build_dir/tools/gagesrv/gagesrv
gagesim=$build_dir/tools/gagesim/gagesim
if [ ! -x "$gagesrv" ] || [ ! -x "$gagesim" ]; then
  log "building gagesrv and gagesim in $build_dir"
  if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake --preset linux -B "$build_dir" -Wno-dev >/dev/null || fail "configuring $build_dir failed"
  fi
  cmake --build "$build_dir" -j 2 --target gagesrv gagesim tqxGageSrvr6 >/dev/null ||
    fail "building in $build_dir failed"
fi

rounds=$(awk -v m="$minutes" -v i="$interval" 'BEGIN { r = int(m * 60000 / i + 0.5); print (r < 1 ? 1 : r) }')

# A short folder: COM_PREFIX holds at most 15 characters, and "/tmp/gsXXXXXX/c" is 15.
work=$(mktemp -d /tmp/gsXXXXXX) || fail "cannot make a work folder"
sim_pids=()
gagesrv_pid=
# shellcheck disable=SC2317  # run by the EXIT trap
cleanup() {
  local pid
  if [ -n "$gagesrv_pid" ] && kill -0 "$gagesrv_pid" 2>/dev/null; then
    kill "$gagesrv_pid" 2>/dev/null
  fi
  for pid in "${sim_pids[@]}"; do
    kill "$pid" 2>/dev/null
  done
  wait 2>/dev/null
  if [ "$keep" -eq 1 ]; then
    log "work folder kept: $work"
  else
    rm -rf "$work"
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

pty_gages=10
tcp_gages=6
mux_channels=4
gage_count=$((pty_gages + tcp_gages + mux_channels))
single_template='{count},{value:%.4f}<13><10>'
mux_template='{channel},{count},{value:%.4f}<13><10>'

# Starts one simulator; its first output line ("device ..." or "port ...") is awaited.
# Sets sim_line to that line.
start_sim() {
  local name=$1
  shift
  "$gagesim" "$@" >"$work/$name.out" 2>"$work/$name.err" &
  sim_pids+=($!)
  local waited=0
  until [ -s "$work/$name.out" ]; do
    kill -0 "${sim_pids[-1]}" 2>/dev/null || fail "simulator $name did not start: $(cat "$work/$name.err")"
    [ $waited -lt 100 ] || fail "simulator $name did not report its line within 10 s"
    sleep 0.1
    waited=$((waited + 1))
  done
  sim_line=$(head -n 1 "$work/$name.out")
}

log "starting $pty_gages simulators on pseudo-terminals, $tcp_gages on TCP, a $mux_channels-channel multiplexer on TCP"
interfaces=""
gages=""
sims=()  # simulator name per connection row
for i in $(seq 0 $((pty_gages - 1))); do
  port=$((i + 1))
  start_sim "sim$i" --pty --link "$work/c$port" --trigger 'R\r' --template "$single_template" \
    --walk-start "$port" --seed "$port"
  sims+=("sim$i")
  interfaces+="MUX_$i=\"Pty $port\",1,$port,9600,8,1,1,1,1024,0,"$'\n'
  n=$((i + 1))
  gages+="GAGE_$n=\"G$n\",1,1,0,$n,SN$n,0,0,0,1,4,0,$i"$'\n'
done
for j in $(seq 0 $((tcp_gages - 1))); do
  i=$((pty_gages + j))
  start_sim "sim$i" --tcp 0 --trigger 'R\r' --template "$single_template" --walk-start "$i" \
    --seed "$((i + 1))"
  tcp_port=${sim_line#port }
  sims+=("sim$i")
  interfaces+="MUX_$i=\"Tcp $tcp_port\",1,$tcp_port,127,0,0,1,1,1024,1,"$'\n'
  n=$((i + 1))
  gages+="GAGE_$n=\"G$n\",1,1,0,$n,SN$n,0,0,0,1,4,0,$i"$'\n'
done
mux_row=$((pty_gages + tcp_gages))
channel_list=$(seq -s, 1 "$mux_channels")
start_sim "sim$mux_row" --tcp 0 --trigger 'R{ch}\r' --template "$mux_template" \
  --channels "$channel_list" --seed "$((mux_row + 1))"
tcp_port=${sim_line#port }
sims+=("sim$mux_row")
interfaces+="MUX_$mux_row=\"Mux $tcp_port\",1,$tcp_port,127,0,0,1,1,1024,1,"$'\n'
for c in $(seq 1 "$mux_channels"); do
  n=$((mux_row + c))
  gages+="GAGE_$n=\"G$n\",1,2,$c,$n,SN$n,0,0,0,1,4,0,$mux_row"$'\n'
done

cat >"$work/ZRN_SYS.INI" <<EOF
[GAGESERVER]
COM_PREFIX=$work/c
WAITTIME=150
TCPIP_CONNECTION_TIMEOUT=3
USE_SHARED_PATH=0
EOF
cat >"$work/BRW_GAGE.DEF" <<'EOF'
[TYPE1]
DESCRIPTION=Soak interface
[TYPE1.1]
DESCRIPTION=Count and value
DATATYPE=0
SDECIMAL=.
SEPARATOR=,
RECEND=<13><10>
MEAS_READ=R<13>
MEASTIMEOUT=1000
READING=1,1,0
VALUE1=2,1,0
[TYPE1.2]
DESCRIPTION=Channel, count and value
DATATYPE=0
SDECIMAL=.
SEPARATOR=,
RECEND=<13><10>
MEAS_READ=R[CH]<13>
MEASTIMEOUT=1000
CHANNEL=1,1,0
READING=2,1,0
VALUE1=3,1,0
EOF
{
  printf '[APPLICATION]\nNAME=ZRNGSV32\nVERSION=9\n[INTERFACES]\n%s[GAGES]\n%s' "$interfaces" "$gages"
} >"$work/BRW_GAGE.CFG"

names=()
for n in $(seq 1 "$gage_count"); do
  names+=("G$n")
done

now() { awk -v s="$started" -v n="$(date +%s.%N)" 'BEGIN { printf "%.1f", n - s }'; }

planned_s=$(awk -v r="$rounds" -v i="$interval" 'BEGIN { print r * i / 1000 }')
soft_limit=$(awk -v p="$planned_s" 'BEGIN { print int(p * 1.05) + 15 }')
hard_limit=$(awk -v p="$planned_s" 'BEGIN { print int(p * 2) + 60 }')
log "reading ${gage_count} gages: $rounds rounds, one every $interval ms (${planned_s} s planned)"
started=$(date +%s.%N)
"$gagesrv" --shared-dir "$work" --local-dir "$work" read "${names[@]}" --count "$rounds" \
  --interval "$interval" --json >"$work/reads.jsonl" 2>"$work/gagesrv.err" &
gagesrv_pid=$!

# Resident memory every two seconds: "<seconds since start> <VmRSS kB>". The loop wakes every
# quarter second so that the end of the run is seen promptly.
: >"$work/rss.txt"
tick=0
stopped_at_limit=0
killed=0
while kill -0 "$gagesrv_pid" 2>/dev/null; do
  if [ $((tick % 8)) -eq 0 ]; then
    rss=$(awk '/^VmRSS:/ { print $2 }' "/proc/$gagesrv_pid/status" 2>/dev/null)
    if [ -n "$rss" ]; then
      echo "$(now) $rss" >>"$work/rss.txt"
    fi
    seconds=$(now)
    seconds=${seconds%.*}
    if [ "$stopped_at_limit" -eq 0 ] && [ "$seconds" -ge "$soft_limit" ]; then
      log "planned time over; asking gagesrv to stop after the round in progress"
      kill -INT "$gagesrv_pid" 2>/dev/null
      stopped_at_limit=1
    elif [ "$seconds" -ge "$hard_limit" ]; then
      log "gagesrv still running at $hard_limit s; killing it"
      kill -KILL "$gagesrv_pid" 2>/dev/null
      killed=1
    fi
  fi
  tick=$((tick + 1))
  sleep 0.25
done
wait "$gagesrv_pid"
gagesrv_status=$?
gagesrv_pid=
elapsed=$(now)

# The simulators report their command counts on stderr when they stop.
for pid in "${sim_pids[@]}"; do
  kill "$pid" 2>/dev/null
done
for pid in "${sim_pids[@]}"; do
  wait "$pid" 2>/dev/null
done
sim_pids=()

failed=0
# 0 when the test given passes, else 1: the status argument of check.
status_of() { if "$@"; then echo 0; else echo 1; fi; }
check() {  # check <name> <0 passed | 1 failed> <details>
  if [ "$2" -eq 0 ]; then
    printf '  %-28s passed  %s\n' "$1" "$3"
  else
    printf '  %-28s FAILED  %s\n' "$1" "$3"
    failed=1
  fi
}

# Per gage: "<gage> <reads> <good> <failures> <breaks> <first reading> <last reading>", then
# "TOTAL <lines> <failures> <breaks> <rounds seen>". A break is a reading number that is not the
# one after the gage's previous reading (16-bit, so it wraps after 65535).
awk '
  function field(name,   m) {
    if (match($0, "\"" name "\":(\"[^\"]*\"|[^,}]*)")) {
      m = substr($0, RSTART + length(name) + 3, RLENGTH - length(name) - 3)
      gsub(/"/, "", m)
      return m
    }
    return ""
  }
  /^\{/ {
    gage = field("gage")
    round = field("round") + 0
    if (round > rounds) rounds = round
    lines++
    reads[gage]++
    if (field("ok") != "true") { failures[gage]++; total_failures++; next }
    number = field("reading") + 0
    if (gage in last) {
      if (number != (last[gage] + 1) % 65536) {
        breaks[gage]++
        total_breaks++
        if (shown < 10) { printf "    %s: reading %d after %d\n", gage, number, last[gage] > "/dev/stderr"; shown++ }
      }
    } else {
      first[gage] = number
    }
    last[gage] = number
    good[gage]++
  }
  END {
    for (g in reads) {
      printf "%s %d %d %d %d %d %d\n", g, reads[g], good[g] + 0, failures[g] + 0, breaks[g] + 0, (g in first) ? first[g] : -1, (g in last) ? last[g] : -1
    }
    printf "TOTAL %d %d %d %d\n", lines + 0, total_failures + 0, total_breaks + 0, rounds + 0
  }' "$work/reads.jsonl" >"$work/per_gage.txt" 2>"$work/breaks.txt"

read -r _ total_lines total_failures total_breaks rounds_done < <(grep '^TOTAL ' "$work/per_gage.txt")
# gage_figure <gage> <column>: one figure of the per-gage table (0 for a gage never read).
gage_figure() {
  awk -v g="$1" -v c="$2" '$1 == g { print $c; found = 1 } END { if (!found) print 0 }' "$work/per_gage.txt"
}

echo
echo "=== Soak report: $gage_count gages, ${planned_s} s planned, ${elapsed} s run (work folder $work)"
if [ "$killed" -eq 1 ]; then
  check "gagesrv finished" 1 "killed at the hard limit of $hard_limit s"
elif [ "$gagesrv_status" -eq 0 ]; then
  check "gagesrv finished" 0 "exit status 0 after all $rounds rounds"
elif [ "$stopped_at_limit" -eq 1 ] && grep -q '^Interrupted' "$work/gagesrv.err" &&
  [ "$total_failures" -eq 0 ]; then
  check "gagesrv finished" 0 "stopped at the planned time after $rounds_done of $rounds rounds"
else
  check "gagesrv finished" 1 "exit status $gagesrv_status: $(head -c 300 "$work/gagesrv.err")"
fi

expected_lines=$((rounds_done * gage_count))
missing=""
for name in "${names[@]}"; do
  [ "$(gage_figure "$name" 2)" -eq "$rounds_done" ] || missing+=" $name"
done
check "every read reported" "$(status_of [ "$total_lines" -eq "$expected_lines" -a -z "$missing" ])" \
  "$total_lines reads in $rounds_done rounds${missing:+; short of reads:$missing}"
check "no failed read" "$(status_of [ "$total_failures" -eq 0 ])" "$total_failures failed"
bad_start=""
for name in "${names[@]}"; do
  [ "$(gage_figure "$name" 6)" -eq 1 ] || bad_start+=" $name"
done
breaks_shown=""
if [ -s "$work/breaks.txt" ]; then
  breaks_shown=$'\n'$(cat "$work/breaks.txt")
fi
check "reading numbers consecutive" "$(status_of [ "$total_breaks" -eq 0 -a -z "$bad_start" ])" \
  "$total_breaks breaks${bad_start:+; not starting at 1:$bad_start}$breaks_shown"

# Each simulator must have answered one read command per read of its gages, and the last reading
# number of each gage must be its number of reads (records are counted per channel).
mismatches=""
for row in $(seq 0 $((${#sims[@]} - 1))); do
  sim=${sims[$row]}
  commands=$(sed -n 's/^gagesim: \([0-9]*\) commands.*/\1/p' "$work/$sim.err" | tail -n 1)
  if [ "$row" -eq "$mux_row" ]; then
    first_gage=$((mux_row + 1))
    last_gage=$((mux_row + mux_channels))
  else
    first_gage=$((row + 1))
    last_gage=$first_gage
  fi
  made=0
  for n in $(seq "$first_gage" "$last_gage"); do
    reads=$(gage_figure "G$n" 2)
    made=$((made + reads))
    if [ "$(gage_figure "G$n" 7)" -ne $((reads % 65536)) ]; then
      mismatches+=" G$n(reads $reads, last reading $(gage_figure "G$n" 7))"
    fi
  done
  if [ "${commands:-x}" != "$made" ]; then
    mismatches+=" $sim(commands ${commands:-?}, reads $made)"
  fi
done
check "simulator command counts" "$(status_of [ -z "$mismatches" ])" \
  "${mismatches:-each simulator answered exactly the reads made of it}"

# Memory: the largest sample of the first window against the largest of the last window; the
# window is a minute, or a third of the run when the run is shorter than three minutes.
read -r samples rss_start rss_end rss_max first_max last_max < <(awk -v e="$elapsed" '
  { t[NR] = $1; r[NR] = $2; if ($2 > max) max = $2 }
  END {
    w = (e >= 180) ? 60 : e / 3
    for (i = 1; i <= NR; i++) {
      if (t[i] <= w && r[i] > fm) fm = r[i]
      if (t[i] >= t[NR] - w && r[i] > lm) lm = r[i]
    }
    printf "%d %d %d %d %d %d\n", NR, r[1], r[NR], max, fm, lm
  }' "$work/rss.txt")
allowed=$((first_max + (first_max / 20 > 512 ? first_max / 20 : 512)))
check "memory not growing" "$(status_of [ "$samples" -ge 2 -a "$last_max" -le "$allowed" ])" \
  "VmRSS start $rss_start kB, end $rss_end kB, max $rss_max kB; first window max $first_max kB, last window max $last_max kB ($samples samples)"

rate=$(awk -v n="$total_lines" -v r="$rounds_done" -v e="$elapsed" -v i="$interval" \
  'BEGIN { if (e > 0) printf "%.1f reads/s, %.2f rounds/s (planned %.2f rounds/s)", n / e, r / e, 1000 / i }')
printf '  %-28s         %s\n' "rate achieved" "$rate"

echo
if [ "$failed" -ne 0 ]; then
  keep=1
  echo "RESULT: soak FAILED"
  exit 1
fi
echo "RESULT: soak passed"
exit 0
