#!/usr/bin/env bash
# Runs every fuzz target of the fuzz build for a fixed time each; any crash, leak or
# undefined behaviour fails the run.
set -eu
build=$1
seconds=${2:-60}
status=0
for f in "$build"/tests/fuzz/fuzz_*; do
  [ -f "$f" ] && [ -x "$f" ] || continue
  name=$(basename "$f")
  corpus=$(mktemp -d)
  seeds="tests/fuzz/corpus/${name#fuzz_}"
  [ -d "$seeds" ] && cp "$seeds"/* "$corpus"/ 2>/dev/null || true
  echo "== $name for ${seconds}s"
  if ! "$f" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 "$corpus"; then status=1; fi
  rm -rf "$corpus"
done
exit $status
