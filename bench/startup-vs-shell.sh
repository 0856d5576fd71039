#!/bin/bash
# The program's start-up and its JSON export, each timed as a whole process
# beside the sqlcipher shell doing the same database work, in turn (A B A B),
# with the ratios printed:
#   1. launch to the prediction window painted (7,054 draws of the real
#      history when ../shared/data has it, and 32,764 synthetic draws) beside
#      the shell opening the file with the key and counting the view's rows;
#   2. `numbers4marvo-cli export division10 --format json` at 32,764 draws
#      beside the shell printing every row of the view.
# The first paint is caught by the paintprobe preload library of
# ../shared/tools/paintprobe, which ends the process right after it.
#
#   bench/startup-vs-shell.sh [BUILD_DIR] [RUNS]
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$here/build}" && pwd)
runs=${2:-15}
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

# The program's own password, as its source holds it (src/data/DrawStore.cpp).
key=$(sed -n 's/.*kDatabasePassword = "\([0-9]*\)".*/\1/p' "$here/src/data/DrawStore.cpp")
work=$(mktemp -d /tmp/n4-startup-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/xdg" && chmod 700 "$work/xdg"

# A portable copy of the program beside its database, for each history.
prepare() { # NAME CSV
    mkdir -p "$work/$1"
    cp "$build/numbers4marvo" "$work/$1/"
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
for size in "${sizes[@]}"; do
    db="$work/$size/Numbers4Marvo.mdb"
    pairs --label "start-up to the prediction window painted, $size history" -- \
        env -C "$work/$size" QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/xdg" \
        PROBE_EXIT_ON=一発マーヴォ LD_PRELOAD="$probe" ./numbers4marvo \
        --vs env "$shell" "$db" "PRAGMA key='$key'; SELECT count(*) FROM 全データ選択クエリ;"
done
db="$work/synthetic/Numbers4Marvo.mdb"
pairs --label "export division10 --format json, 32,764 draws" -- \
    env "$build/numbers4marvo-cli" export division10 --db "$db" --format json \
    --vs env "$shell" "$db" "PRAGMA key='$key'; SELECT * FROM 全データ選択クエリ;"
