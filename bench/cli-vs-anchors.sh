#!/bin/bash
# The command-line tool's commands timed as whole processes beside their
# anchors, in turn (A B A B), with the ratios printed (n4-process-pairs):
#   `backtest` at 99,999 synthetic draws beside `export prediction` on the same
#   file, the one prediction that the back-test replays before every draw
#   (goal: at most 1.5 times).
# Given an earlier build of the tool (BEFORE_CLI), the same pair is timed with
# it too, and then this build beside the earlier one: the back-test, and every
# export format (tsv, json, html, png) of a few windows at 32,764 draws, so
# that what got slower shows as well as what got faster.
#
#   bench/cli-vs-anchors.sh [BUILD_DIR] [RUNS] [BEFORE_CLI]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${2:-15}
before=${3:-}
if [ -n "$before" ]; then before=$(cd "$(dirname "$before")" && pwd)/$(basename "$before"); fi
if [ -n "$before" ] && [ ! -x "$before" ]; then echo "no program at $before" >&2; exit 1; fi
for tool in numbers4marvo-cli bench/n4-process-pairs bench/n4-bench-history; do
    [ -x "$build/$tool" ] || { echo "build $tool first (cmake --build $build)" >&2; exit 1; }
done
cli="$build/numbers4marvo-cli"
work=$(mktemp -d /tmp/n4-cli-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
for count in 32764 99999; do
    "$build/bench/n4-bench-history" "$count" > "$work/$count.csv"
    "$cli" import "$work/$count.csv" --db "$work/$count.mdb" >/dev/null
done

pairs() { "$build/bench/n4-process-pairs" --runs "$runs" --warmup 2 "$@" || true; echo; }
most="$work/99999.mdb"
pairs --label "backtest beside export prediction, 99,999 draws" -- \
    "$cli" backtest --db "$most" --vs "$cli" export prediction --db "$most"
[ -n "$before" ] || exit 0

pairs --label "the same, the earlier build (BEFORE), 99,999 draws" -- \
    "$before" backtest --db "$most" --vs "$before" export prediction --db "$most"
pairs --label "backtest, this build beside the earlier one, 99,999 draws" -- \
    "$cli" backtest --db "$most" --vs "$before" backtest --db "$most"
db="$work/32764.mdb"
for window in division10 interval prediction; do
    for format in tsv json html png; do
        pairs --label "export $window --format $format, this build beside the earlier one" -- \
            "$cli" export "$window" --db "$db" --format "$format" \
            --vs "$before" export "$window" --db "$db" --format "$format"
    done
done
