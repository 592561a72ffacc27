#!/usr/bin/env bash
# Runs every libFuzzer target of a fuzz build for SECONDS each, from the kept
# seeds, and copies any crasher into fuzz/seeds/crashers so that `make test`
# replays it from then on. Exit 1 when a target found something.
# Usage: fuzz/run-fuzzers.sh FUZZ-BUILD-DIR SECONDS
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:?fuzz build folder}
seconds=${2:-180}
seeds=fuzz/seeds
found=0
for binary in "$build"/bin/fuzz_*; do
  [ -x "$binary" ] || continue
  name=${binary##*/fuzz_}
  corpus=$build/corpus/$name
  artifacts=$build/artifacts/$name
  mkdir -p "$corpus" "$artifacts"
  extra=()
  [ -d "$seeds/$name" ] && extra+=("$seeds/$name")
  echo "== fuzz_$name for ${seconds}s"
  # Volumes need room: 64 KiB inputs. Leaks are the sanitized suite's job.
  "$binary" "$corpus" "${extra[@]}" "$seeds/crashers" \
    -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=3072 \
    -artifact_prefix="$artifacts/" -print_final_stats=1 -detect_leaks=0 \
    >"$build/fuzz-$name.log" 2>&1
  status=$?
  grep -E "^stat::number_of_executed_units|^stat::average_exec_per_sec|Done [0-9]+ runs" \
    "$build/fuzz-$name.log" | sed "s/^/  /"
  for crasher in "$artifacts"/*; do
    [ -f "$crasher" ] || continue
    kind=${crasher##*/}
    kind=${kind%%-*}
    kept=$seeds/crashers/$name-$kind-$(sha1sum "$crasher" | cut -c1-16)
    cp "$crasher" "$kept"
    rm -f "$crasher"
    echo "  found: $kept (see $build/fuzz-$name.log)"
    found=1
  done
  [ $status -eq 0 ] || [ $found -eq 1 ] || { echo "  fuzz_$name failed (status $status)"; found=1; }
done
exit $found
