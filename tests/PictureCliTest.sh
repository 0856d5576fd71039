#!/usr/bin/env bash
# numbers4marvo-cli draws its pictures where there is no display at all: no
# DISPLAY, no platform chosen, no runtime folder, and nothing said about it.
# Usage: PictureCliTest.sh NUMBERS4MARVO_CLI
set -uo pipefail
cli=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; ((failures++)); }

{
    echo "draw,d1,d2,d3,d4"
    for n in $(seq 1 150); do echo "$n,$((n % 10)),$((n * 7 % 10)),$((n * 3 % 10)),$((n / 10 % 10))"; done
} >"$work/h.csv"
"$cli" import "$work/h.csv" --db "$work/h.mdb" >/dev/null || fail "import"

# Runs the tool as a session without any display would, into $work/out.
draw() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM -u XDG_RUNTIME_DIR \
        "$cli" export "$@" --db "$work/h.mdb" >"$work/out" 2>"$work/err"
    local code=$?
    ((code == 0)) || fail "export $* exited $code: $(cat "$work/err")"
    [[ ! -s $work/err ]] || fail "export $* said: $(cat "$work/err")"
}
starts() { [[ $(head -c "${#2}" "$work/out" | od -An -tx1 | tr -d ' \n') == "$1" ]]; }

draw division10 --format png
starts 89504e470d0a1a0a "12345678" || fail "division10 png is not a PNG"
draw interval --format svg --last 5
grep -q "<svg" "$work/out" || fail "interval svg is not an SVG"
draw prediction --format pdf --reflect 0
starts 255044462d "12345" || fail "prediction pdf is not a PDF"

# Onto a terminal (script's pseudo-terminal) a PNG or a PDF is refused with a
# hint and exit code 2, drawing nothing; an SVG is text and is shown.
onto_terminal() {
    script -qec "'$cli' export $* --db '$work/h.mdb'" /dev/null </dev/null >"$work/tty" 2>&1
}
for args in "division10 --format png" "3分割データ分析 --format pdf"; do
    onto_terminal $args
    code=$?
    ((code == 2)) && grep -q "端末には書き出しません" "$work/tty" && ! grep -Eqa "PNG|%PDF" "$work/tty" ||
        fail "export $args onto a terminal exited $code: $(head -c 200 "$work/tty" | cat -v)"
done
onto_terminal sum --format svg --last 2 && grep -q "<svg" "$work/tty" || fail "no SVG onto a terminal"

((failures == 0)) && echo "pictures drawn without a display"
exit $((failures > 0))
