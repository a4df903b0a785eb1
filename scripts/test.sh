#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds everything, the browser build too (installing any missing Debian
# package first), and runs every test; the window tests get a virtual X
# display of their own.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
# The browser build's tests use build-web/ (made below from build-test/'s
# data files).
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DLEXOVO_WEB_BUILD="$PWD/build-web" >/dev/null
cmake --build build-test -j2
bash scripts/build-web.sh build-test build-web
cd build-test
if [ -z "${DISPLAY:-}" ]; then
  # Our own Xvfb on a free display number, up and answering before the
  # tests start. -noreset: an X server resets when its last client leaves,
  # and a program starting in that moment cannot open the display.
  n=90
  while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=":$n"
  for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  xdpyinfo >/dev/null 2>&1 || { echo "Xvfb did not start on $DISPLAY" >&2; exit 1; }
fi
ctest -j2 --output-on-failure --timeout 600
