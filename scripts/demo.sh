#!/usr/bin/env bash
# The demo. On a Debian 12 machine (as root) it installs what the Linux build needs, builds the
# Linux library, the command-line host gagesrv and the gage simulator, then runs
# scripts/run-demo.sh: gages configured in examples/ (two RandomValue gages, a serial caliper on
# a pseudo-terminal and a three-channel TCP/IP multiplexer on 127.0.0.1, both played by the
# simulator) are read through the library's entry point. No hardware and no display needed.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/.."

bash scripts/setup.sh --linux
jobs=$(nproc 2>/dev/null || echo 2)
echo "demo: building the library, gagesrv and the gage simulator (preset linux)"
cmake --preset linux -Wno-dev >/dev/null
cmake --build --preset linux -j "$jobs" --target tqxGageSrvr6 gagesrv gagesim
bash scripts/run-demo.sh build/linux
