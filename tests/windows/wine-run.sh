#!/usr/bin/env bash
# Runs a Windows test program under Wine in a private prefix kept in the build folder, prepared
# once and shared by the whole test run. Usage: wine-run.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
build_dir=$1
shift
export WINEPREFIX="${build_dir}/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# The build says which kind of prefix its programs need (tests/CMakeLists.txt writes it): a
# 32-bit build gets a plain 32-bit prefix, which prepares in half the time of a 64-bit one.
WINEARCH=win64
if [ -f "${build_dir}/wine-arch" ]; then
  WINEARCH=$(cat "${build_dir}/wine-arch")
fi
export WINEARCH

# The loader follows the program's PE machine; anything that is not a PE file (cmd, wineboot)
# runs with the prefix's own loader.
machine=
if [ -f "$1" ]; then
  machine=$(od -An -tx2 -j $(( $(od -An -tu4 -j60 -N4 "$1") + 4 )) -N2 "$1" | tr -d ' ')
fi
wine_cmd=wine
if [ "$machine" != 14c ] && [ "$WINEARCH" = win64 ]; then
  if command -v wine64 >/dev/null 2>&1; then
    wine_cmd=wine64
  elif [ -x /usr/lib/wine/wine64 ]; then
    wine_cmd=/usr/lib/wine/wine64
  fi
fi

# Prepare the prefix once; concurrent test programs wait for the first to finish.
exec 9>"${build_dir}/wineprefix.lock"
flock 9
if [ ! -f "${WINEPREFIX}/.prepared" ]; then
  # wineboot now and then gives up on a busy machine; a prefix without its registry is no prefix.
  boot_log="${build_dir}/wineboot.log"
  for _ in 1 2 3; do
    "$wine_cmd" wineboot -i >"$boot_log" 2>&1 || true
    wineserver -w || true
    if [ -f "${WINEPREFIX}/system.reg" ]; then
      touch "${WINEPREFIX}/.prepared"
      break
    fi
  done
  if [ ! -f "${WINEPREFIX}/.prepared" ]; then
    echo "wine-run.sh: could not prepare the Wine prefix ${WINEPREFIX}; wineboot said:" >&2
    tail -n 5 "$boot_log" >&2
    exit 1
  fi
fi
# Without a window manager (Xvfb) Wine waits two seconds for one at every window it hides;
# windows it draws itself close at once.
if [ ! -f "${WINEPREFIX}/.unmanaged" ]; then
  "$wine_cmd" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 &&
    touch "${WINEPREFIX}/.unmanaged"
fi
flock -u 9

# Keep one wineserver alive between test programs instead of starting one for each.
WINEPREFIX="$WINEPREFIX" wineserver -p 60 </dev/null >/dev/null 2>&1 || true

# Wine's helper processes outlive the program and would hold CTest's output pipe open, so the
# program writes to a file that is shown afterwards.
output=$(mktemp)
trap 'rm -f "$output"' EXIT
status=0
"$wine_cmd" "$@" </dev/null >"$output" 2>&1 || status=$?
cat "$output"
exit "$status"
