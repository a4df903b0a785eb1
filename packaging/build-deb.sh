#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian packages lexovo and lexovo-data from a clean copy of this
# tree and runs lintian on them and on the source package.
#
#   packaging/build-deb.sh OUTDIR
#
# OUTDIR receives the .deb files (with the debug symbols' lexovo-dbgsym),
# the .changes and .buildinfo, the source package (.dsc and .tar.xz),
# build.log and lintian.txt. The exit status is lintian's: 0 when it reports
# no tag but overridden ones. LEXOVO_JOBS sets the parallel jobs (2).
set -euo pipefail
if [ $# -ne 1 ]; then
  echo "usage: $0 OUTDIR" >&2
  exit 2
fi
top=$(cd "$(dirname "$0")/.." && pwd)
mkdir -p "$1"
out=$(cd "$1" && pwd)

# The version is the release's, the first heading of NEWS; the changelog's
# latest entry must be that release.
release=$(grep -m1 -E '^[0-9]+\.[0-9]+\.[0-9]+ \([0-9]{4}-[0-9]{2}-[0-9]{2}\)$' "$top/NEWS" | cut -d' ' -f1)
version=$(dpkg-parsechangelog -l "$top/packaging/debian/changelog" -S Version)
if [ "$release" != "$version" ]; then
  echo "packaging/debian/changelog is at $version, NEWS at ${release:-no release}: add the changelog entry" >&2
  exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/lexovo-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT
src=$work/lexovo-$version
mkdir "$src"

# The repository's files as they are in the working tree, new ones not yet
# committed included: what .gitignore leaves out (build folders) stays
# behind (without git, all but build*/).
if git -C "$top" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git -C "$top" ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do
      if [ -e "$top/$f" ] || [ -L "$top/$f" ]; then printf '%s\0' "$f"; fi
    done |
    tar -C "$top" --null -T - -cf - | tar -C "$src" -xf -
else
  tar -C "$top" --exclude='./build*' --exclude=./.git --exclude='./obj-*' -cf - . | tar -C "$src" -xf -
fi
# A source package keeps its packaging at the top.
mv "$src/packaging/debian" "$src/debian"

echo "Building the packages of lexovo $version in $work (log: $out/build.log)"
start=$(date +%s)
(cd "$work" && dpkg-source -b "lexovo-$version") >"$out/build.log" 2>&1
(cd "$src" && dpkg-buildpackage -us -uc -b -j"${LEXOVO_JOBS:-2}") >>"$out/build.log" 2>&1 || {
  tail -n 40 "$out/build.log" >&2
  echo "dpkg-buildpackage failed (the whole log: $out/build.log)" >&2
  exit 1
}
echo "Built in $(( $(date +%s) - start )) s"

rm -f "$out"/*.deb "$out"/*.changes "$out"/*.buildinfo "$out"/*.dsc "$out"/*.tar.xz
cp "$work"/*.deb "$work"/*.changes "$work"/*.buildinfo "$work"/*.dsc "$work"/*.tar.xz "$out"/

# Every tag lintian knows of, overridden ones shown as O: with their reason.
status=0
(cd "$out" && lintian --pedantic -E -I --show-overrides --fail-on error,warning,info,pedantic,experimental \
   ./*.changes ./*.dsc) >"$out/lintian.txt" 2>&1 || status=$?
cat "$out/lintian.txt"
if [ "$status" -ne 0 ]; then
  echo "lintian reports tags that are neither fixed nor overridden (status $status)" >&2
fi
exit "$status"
