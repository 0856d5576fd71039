#!/bin/bash
# The program's start-up and its JSON and HTML exports, each timed as a whole
# process beside the sqlcipher shell doing the same database work, in turn
# (A B A B), with the ratios printed:
#   1. launch to the prediction window painted (7,054 draws of the real
#      history when ../shared/data has it, and 32,764 synthetic draws) beside
#      the shell opening the file with the key and counting the view's rows;
#   2. `numbers4marvo-cli export division10 --format json`, then `--format
#      html`, at 32,764 draws beside the shell printing every row of the view
#      (goal for both: at most 4 times the shell).
# The first paint is caught by the paintprobe preload library of
# ../shared/tools/paintprobe, which ends the process right after it.
# The program and the shell both derive the database key at every start.
# Given an earlier build of the program (BEFORE), its start-up is timed in the
# same run too: beside the shell, and the new program beside it.
#
#   bench/startup-vs-shell.sh [BUILD_DIR] [RUNS] [BEFORE_PROGRAM]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${2:-15}
before=${3:-}
if [ -n "$before" ]; then before=$(cd "$(dirname "$before")" && pwd)/$(basename "$before"); fi
if [ -n "$before" ] && [ ! -x "$before" ]; then echo "no program at $before" >&2; exit 1; fi
probe_src="$here/../shared/tools/paintprobe"
shell=$(command -v sqlcipher || true)
if [ -z "$shell" ]; then echo "sqlcipher (the shell) is not installed" >&2; exit 1; fi
if [ ! -d "$probe_src" ]; then echo "no paintprobe at $probe_src" >&2; exit 1; fi
for tool in numbers4marvo numbers4marvo-cli bench/n4-process-pairs bench/n4-bench-history; do
    [ -x "$build/$tool" ] || { echo "build $tool first (cmake --build $build)" >&2; exit 1; }
done
cmake -S "$probe_src" -B "$build/paintprobe" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/paintprobe" >/dev/null
probe="$build/paintprobe/libpaintprobe.so"

# The program's own password, as its source holds it (src/core/store/DrawStore.cpp).
key=$(sed -n 's/.*kDatabasePassword = "\([0-9]*\)".*/\1/p' "$here/src/core/store/DrawStore.cpp")
work=$(mktemp -d /tmp/n4-startup-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/xdg" "$work/cache" && chmod 700 "$work/xdg" "$work/cache"

# A portable copy of the program beside its database, for each history.
prepare() { # NAME CSV
    mkdir -p "$work/$1"
    cp "$build/numbers4marvo" "$work/$1/"
    if [ -n "$before" ]; then cp "$before" "$work/$1/numbers4marvo-before"; fi
    "$build/numbers4marvo-cli" import "$2" --db "$work/$1/Numbers4Marvo.mdb" >/dev/null
}
sizes=()
if [ -f "$here/../shared/data/numbers4_history.csv" ]; then
    prepare real "$here/../shared/data/numbers4_history.csv"
    sizes+=(real)
fi
"$build/bench/n4-bench-history" 32764 > "$work/synthetic.csv"
prepare synthetic "$work/synthetic.csv"
sizes+=(synthetic)

pairs() { "$build/bench/n4-process-pairs" --runs "$runs" --warmup 2 "$@" || true; echo; }
cd "$work"
start() { # SIZE PROGRAM: the command that starts PROGRAM up to its first paint
    echo env -C "$work/$1" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/xdg" \
        XDG_CACHE_HOME="$work/cache" PROBE_EXIT_ON=一発マーヴォ LD_PRELOAD="$probe" "./$2"
}
for size in "${sizes[@]}"; do
    db="$work/$size/Numbers4Marvo.mdb"
    count=(env "$shell" "$db" "PRAGMA key='$key'; SELECT count(*) FROM 全データ選択クエリ;")
    pairs --label "start-up to the prediction window painted, $size history" -- \
        $(start "$size" numbers4marvo) --vs "${count[@]}"
    if [ -n "$before" ]; then
        pairs --label "the same, the earlier build (BEFORE), $size history" -- \
            $(start "$size" numbers4marvo-before) --vs "${count[@]}"
        pairs --label "start-up, this build beside the earlier one, $size history" -- \
            $(start "$size" numbers4marvo) --vs $(start "$size" numbers4marvo-before)
    fi
done
db="$work/synthetic/Numbers4Marvo.mdb"
for format in json html; do
    pairs --label "export division10 --format $format, 32,764 draws" -- \
        env "$build/numbers4marvo-cli" export division10 --db "$db" --format "$format" \
        --vs env "$shell" "$db" "PRAGMA key='$key'; SELECT * FROM 全データ選択クエリ;"
done
