#!/usr/bin/env bash
# Fuzzes every libFuzzer target of the sanitize tree for a bounded time, starting from its seed
# corpora (listed by the build in <target>.corpus); inputs it discovers go to a scratch folder, so
# the committed corpora stay as they are. A crash, leak, timeout or sanitizer report fails the run
# and leaves the reproducer in build/sanitize/fuzz-artifacts.
#   scripts/fuzz.sh [SECONDS_PER_TARGET]   (default 60)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
tree=$root/build/sanitize
artifacts=$tree/fuzz-artifacts
mkdir -p "$artifacts"
found=0
while IFS= read -r list; do
  fuzzer=${list%.corpus}
  [ -x "$fuzzer" ] || continue
  found=1
  mapfile -t corpora < "$list"
  scratch=$(mktemp -d)
  echo "fuzzing $(basename "$fuzzer") for ${seconds}s"
  status=0
  ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
    "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
      -artifact_prefix="$artifacts/" "$scratch" "${corpora[@]}" > "$artifacts/$(basename "$fuzzer").log" 2>&1 || status=$?
  rm -rf "$scratch"
  grep -E "^(stat::number_of_executed_units|stat::peak_rss_mb)|^#[0-9]+ *DONE" "$artifacts/$(basename "$fuzzer").log" || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$artifacts/$(basename "$fuzzer").log"
    echo "$(basename "$fuzzer") failed (exit $status); reproducer in $artifacts" >&2
    exit 1
  fi
done < <(find "$tree" -name '*.corpus' -type f | sort)
[ "$found" = 1 ] || { echo "no fuzzers built in $tree" >&2; exit 1; }
