#!/usr/bin/env bash
# Runs each reader fuzz target (the history import, the settings file, the Jet
# reader) for a while and fails if any of them finds a crash, undefined
# behaviour, a leak, a hang or a broken result.
#   scripts/fuzz.sh [SECONDS_EACH] [BUILD_FOLDER]     (defaults: 60, build-asan)
# The build folder must be configured with -DN4_FUZZ=ON (scripts/test.sh does).
# What a run finds is kept in BUILD_FOLDER/fuzz/: the growing corpus of each
# target (reused by the next run) and, for a failure, the input that caused it
# (run the target on that file alone to see it again).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${2:-build-asan}
work=$build/fuzz
mkdir -p "$work/artifacts"
export ASAN_OPTIONS=${ASAN_OPTIONS:-halt_on_error=1:detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
failed=()
for entry in HistoryImportFuzz:history SettingsFileFuzz:settings JetReaderFuzz:jet; do
  target=${entry%%:*}
  kind=${entry##*:}
  mkdir -p "$work/corpus-$kind"
  log=$work/$target.log
  echo "== $target: $seconds s"
  if "$build/tests/fuzz/$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
      -print_final_stats=1 -artifact_prefix="$work/artifacts/$target-" \
      "$work/corpus-$kind" "tests/fuzz/corpus/$kind" >"$log" 2>&1; then
    grep -E "^Done|stat::number_of_executed_units|stat::peak_rss_mb" "$log" || true
  else
    cat "$log"
    failed+=("$target")
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzing found a problem in: ${failed[*]} (inputs in $work/artifacts/)" >&2
  exit 1
fi
