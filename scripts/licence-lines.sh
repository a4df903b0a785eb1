#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the project's licence line at the head of every tracked source file
# that lacks it:
#   // SPDX-License-Identifier: GPL-3.0-or-later     C, C++ and JavaScript
#   # SPDX-License-Identifier: GPL-3.0-or-later      CMake, Python, shell
# A "#!" line stays first, with the licence line after it. Running it again
# changes nothing.
#
#   scripts/licence-lines.sh [--check] [TOP]
#
# --check changes nothing: it lists the files without the line and exits 1
# when there is any. TOP is the git work tree (this script's own by default).
# Files that are not code (texts, data, pictures, the manual pages, the
# page's HTML and style sheet, the Debian packaging, which debian/copyright
# covers) are left alone.
set -euo pipefail
check=false
if [ "${1:-}" = --check ]; then
  check=true
  shift
fi
top=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$top"
id="SPDX-License-Identifier: GPL-3.0-or-later"

# The comment that starts a line in FILE's language, or nothing for a file
# that is not source code.
comment_of() {
  case "$1" in
    packaging/debian/*) return ;;
    *.cpp | *.cc | *.c | *.h | *.hpp | *.js) echo "//" ;;
    CMakeLists.txt | */CMakeLists.txt | *.cmake | *.py | *.sh) echo "#" ;;
    *.*) return ;;
    *)  # a script without an extension, known by its first line
      if head -c 64 "$1" | head -n 1 | grep -qE '^#!.*(python|bash|sh)'; then echo "#"; fi ;;
  esac
}

missing=0
while IFS= read -r -d '' f; do
  [ -f "$f" ] && [ ! -L "$f" ] || continue
  c=$(comment_of "$f")
  [ -n "$c" ] || continue
  # Already there: on the first line, or the second after a "#!" line.
  if head -n 2 "$f" | grep -qF "$id"; then continue; fi
  if $check; then
    echo "$f"
    missing=$((missing + 1))
    continue
  fi
  tmp=$(mktemp "$f.XXXXXX")
  if head -n 1 "$f" | grep -q '^#!'; then
    { head -n 1 "$f"; echo "$c $id"; tail -n +2 "$f"; } >"$tmp"
  else
    { echo "$c $id"; cat "$f"; } >"$tmp"
  fi
  chmod --reference="$f" "$tmp"
  mv "$tmp" "$f"
  echo "licence line added: $f"
done < <(git ls-files -z)

if $check && [ "$missing" -gt 0 ]; then
  echo "$missing file(s) without the line \"$id\": run scripts/licence-lines.sh" >&2
  exit 1
fi
exit 0
