#!/usr/bin/env bash
# Puts the gage simulator behind a Windows COM port of the Wine prefix the Windows tests use:
# a pseudo-terminal made by the native gagesim, linked as dosdevices/comN. With start-tcp it
# listens on a free TCP port of 127.0.0.1 instead and writes that port number to
# BUILD_DIR/tcp-sim-NAME.port.
#   serial_sim_fixture.sh start BUILD_DIR PORT GAGESIM [gagesim options...]
#   serial_sim_fixture.sh stop BUILD_DIR PORT
#   serial_sim_fixture.sh start-tcp BUILD_DIR NAME GAGESIM [gagesim options...]
#   serial_sim_fixture.sh stop-tcp BUILD_DIR NAME
# Runs as a CTest fixture around the Windows test programs (see serial_sim_fixture.cmake).
set -euo pipefail
action=$1
build_dir=$2
port=$3
shift 3
here=$(cd "$(dirname "$0")" && pwd)
prefix="${build_dir}/wineprefix"
state="${build_dir}/serial-sim-com${port}"
link="${prefix}/dosdevices/com${port}"
if [ "$action" = start-tcp ] || [ "$action" = stop-tcp ]; then
  state="${build_dir}/tcp-sim-${port}"
  link=""
fi

stop() {
  if [ -f "${state}.pid" ]; then
    kill "$(cat "${state}.pid")" 2>/dev/null || true
    rm -f "${state}.pid"
  fi
  rm -f "${state}.port"
  [ -z "${link}" ] || rm -f "${link}"
}

# Starts gagesim in the background with the given options and waits until it is ready.
launch() {
  rm -f "${state}.ready"
  setsid "$gagesim" --pid-file "${state}.ready" "$@" >"${state}.log" 2>&1 </dev/null &
  echo $! >"${state}.pid"
  for _ in $(seq 1 100); do
    [ -f "${state}.ready" ] && break
    sleep 0.05
  done
}

case "$action" in
  start)
    gagesim=$1
    shift
    stop
    if [ ! -x "$gagesim" ]; then
      echo "no native gagesim at '${gagesim}': the Windows serial tests will be skipped"
      exit 0
    fi
    # The prefix must exist (and be prepared once) before a link goes into it.
    "${here}/wine-run.sh" "${build_dir}" cmd /c exit >/dev/null 2>&1 || true
    mkdir -p "${prefix}/dosdevices"
    launch --pty --link "${link}" "$@"
    if [ ! -L "${link}" ]; then
      echo "gagesim did not come up:"
      cat "${state}.log"
      stop
      exit 1
    fi
    echo "gagesim on com${port} -> $(readlink "${link}")"
    ;;
  start-tcp)
    gagesim=$1
    shift
    stop
    if [ ! -x "$gagesim" ]; then
      echo "no native gagesim at '${gagesim}': the Windows TCP simulator tests will be skipped"
      exit 0
    fi
    launch --tcp 0 "$@"
    tcp_port=$(sed -n 's/^port \([0-9][0-9]*\)$/\1/p' "${state}.log" | head -n 1)
    if [ -z "${tcp_port}" ]; then
      echo "gagesim did not come up:"
      cat "${state}.log"
      stop
      exit 1
    fi
    echo "${tcp_port}" >"${state}.port"
    echo "gagesim on 127.0.0.1:${tcp_port}"
    ;;
  stop | stop-tcp)
    stop
    ;;
  *)
    echo "usage: $0 start|stop|start-tcp|stop-tcp BUILD_DIR PORT|NAME [GAGESIM options...]" >&2
    exit 2
    ;;
esac
