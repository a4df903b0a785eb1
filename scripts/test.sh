#!/usr/bin/env bash
# Builds everything (installing any missing Debian package first) and runs
# every test; the window tests get a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh test
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON >/dev/null
cmake --build build-test -j2
cd build-test
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s "-screen 0 1024x768x24" ctest -j2 --output-on-failure --timeout 600
fi
exec ctest -j2 --output-on-failure --timeout 600
