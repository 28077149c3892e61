#!/usr/bin/env bash
# Runs every fuzz target of a fuzz build for a bounded time on its seed corpus (new inputs go to a
# temporary folder, so the repository's corpus is not changed). Fails on the first crash.
set -euo pipefail
build="$1"
seconds="${FUZZ_SECONDS:-20}"
root="$(cd "$(dirname "$0")/.." && pwd)"
status=0
for target in "$build"/fuzz/*_fuzz; do
  [ -x "$target" ] || continue
  name="$(basename "$target")"
  corpus="$root/fuzz/corpus/${name%_fuzz}"
  work="$(mktemp -d)"
  seeds=()
  [ -d "$corpus" ] && seeds=("$corpus")
  echo "== $name (${seconds} s)"
  if ! "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=0 \
       -artifact_prefix="$work/" "$work" "${seeds[@]}" > "$work/log" 2>&1; then
    cat "$work/log" | tail -40
    echo "$name: a crash; the input is in $work"
    status=1
  else
    grep -E "Done [0-9]+ runs" "$work/log" || tail -2 "$work/log"
    rm -rf "$work"
  fi
done
exit $status
