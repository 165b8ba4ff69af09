#!/usr/bin/env bash
# Installs what building and testing the gage server need on a Debian 12 machine, from Debian
# packages only. Run as root. Safe to run again: it installs only what is missing, so a second
# run takes a second or two.
#   scripts/setup.sh            everything: Linux, Windows cross builds, 64- and 32-bit Wine, fuzzing
#   scripts/setup.sh --linux    only what the Linux build and the demo need
# The 32-bit Wine (wine32:i386) comes from the i386 architecture, which is added for it. Should
# its install fail even after retries, setup still succeeds but says so, and scripts/test.sh
# then reports the 32-bit tests as not run: the run is incomplete, not passed.
set -euo pipefail

linux_packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev libcli11-dev)
full_packages=("${linux_packages[@]}" googletest clang clang-format libclang-rt-14-dev
               g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
               wine64 wine xvfb xauth locales)

packages=("${full_packages[@]}")
want_wine32=1
case "${1:-}" in
  --linux) packages=("${linux_packages[@]}"); want_wine32=0 ;;
  "") ;;
  *) echo "usage: $0 [--linux]" >&2; exit 2 ;;
esac

log() { echo "setup: $*"; }

is_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

missing=()
for package in "${packages[@]}"; do
  is_installed "$package" || missing+=("$package")
done

if [ "${#missing[@]}" -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "setup: these packages are missing and installing them needs root: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  log "installing ${missing[*]}"
  # A mirror caught mid-sync fails the update now and then; try again before giving up.
  for attempt in 1 2 3; do
    if apt-get update -q && apt-get install -y -q "${missing[@]}"; then
      break
    fi
    if [ "$attempt" -eq 3 ]; then
      echo "setup: could not install ${missing[*]}" >&2
      exit 1
    fi
    log "apt-get failed, trying again in 15 seconds"
    sleep 15
  done
else
  log "all packages present"
fi

# The decimal-comma tests need a German locale; without it they skip.
if [ "${packages[*]}" = "${full_packages[*]}" ] && ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  localedef -i de_DE -f UTF-8 de_DE.UTF-8 || log "warning: could not generate de_DE.UTF-8"
fi

# The 32-bit DLL is the one most hosts load; its tests run under the 32-bit Wine.
if [ "$want_wine32" -eq 1 ] && ! is_installed wine32:i386; then
  installed32=0
  if [ "$(id -u)" -ne 0 ]; then
    log "wine32:i386 is missing and installing it needs root"
  else
    export DEBIAN_FRONTEND=noninteractive
    for attempt in 1 2 3; do
      if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386 || true
      fi
      # An update error on the i386 indexes is not fatal by itself: the install decides.
      apt-get update -q || true
      if apt-get install -y -q --no-install-recommends wine32:i386; then
        installed32=1
        break
      fi
      log "wine32:i386 could not be installed (attempt $attempt of 3)"
      if [ "$attempt" -lt 3 ]; then
        sleep 20
      fi
    done
  fi
  if [ "$installed32" -eq 0 ]; then
    log "WARNING: no 32-bit Wine could be installed; the win32 tests will NOT run"
  fi
fi
exit 0
