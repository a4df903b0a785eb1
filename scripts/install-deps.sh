#!/usr/bin/env bash
# Installs the Debian packages the game needs: "play" for building and
# playing, "test" adds what the test suite drives (Xvfb, xdotool, ...).
set -euo pipefail
what=${1:-play}
pkgs=(build-essential cmake pkg-config libfltk1.3-dev libsdl2-dev libsdl2-mixer-dev
      libcairo2-dev libpango1.0-dev libpng-dev nlohmann-json3-dev timgm6mb-soundfont fluid-soundfont-gm fluidsynth lame
      fonts-dejavu-core fonts-dejavu-extra)
if [ "$what" = test ]; then
  pkgs+=(libgtest-dev libbenchmark-dev xvfb xauth xdotool imagemagick x11-utils strace python3 sox dpkg-dev appstream desktop-file-utils file clang libclang-rt-14-dev valgrind)
fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
SUDO=; [ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
