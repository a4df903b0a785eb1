#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# run_fuzzer.sh FUZZER WORKDIR SECONDS [libFuzzer options...] -- SEED...
# Runs one fuzz target for SECONDS on a fresh corpus grown from the seeds
# (files or folders), then prints the corpus size. A crash leaves its input
# in WORKDIR and makes the run fail.
set -euo pipefail
fuzzer=$1 work=$2 seconds=$3
shift 3
opts=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do opts+=("$1"); shift; done
[ $# -gt 0 ] && shift
rm -rf "$work/corpus" "$work/seeds"
mkdir -p "$work/corpus" "$work/seeds"
for s in "$@"; do
  if [ -d "$s" ]; then find "$s" -maxdepth 1 -type f -exec cp {} "$work/seeds/" \; ; elif [ -f "$s" ]; then cp "$s" "$work/seeds/"; fi
done
echo "seeds: $(ls "$work/seeds" | wc -l) files"
cd "$work"
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$work/" "${opts[@]}" corpus seeds
echo "corpus: $(ls corpus | wc -l) files, $(du -sk corpus | cut -f1) kB"
