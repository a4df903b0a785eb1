#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the game for the browser: build-web/site/ then holds the whole site
# (the page, its script, the program as WebAssembly, the packed data files),
# ready for any static web server.
#
#   bash scripts/build-web.sh [NATIVE_BUILD [WEB_BUILD]]
#
# The data files come from a native build's generators (NATIVE_BUILD,
# default build/), which this builds first; the browser build itself is a
# second configure of the same sources with Debian's emscripten (WEB_BUILD,
# default build-web/). Installs what it needs from Debian first.
set -euo pipefail
cd "$(dirname "$0")/.."
native=${1:-build}
web=${2:-build-web}
bash scripts/install-deps.sh web
[ -f "$native/CMakeCache.txt" ] || cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake -S . -B "$native" >/dev/null  # finds the tune recorders if they came with the dependencies
cmake --build "$native" -j2 --target lexovo_web_data
# Debian's emscripten runs its optimiser under node, which finds Debian's
# acorn only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B "$web" -DCMAKE_BUILD_TYPE=Release -DLEXOVO_NATIVE_BUILD="$(cd "$native" && pwd)" >/dev/null
cmake --build "$web" -j2
echo "The site is in $web/site: serve it with, for example,"
echo "  python3 -m http.server --directory $web/site 8000"
echo "and open http://localhost:8000/ in a browser."
