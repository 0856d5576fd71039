#!/usr/bin/env bash
# The bash completion of numbers4marvo-cli, run as bash runs it on <Tab>.
# Usage: CompletionTest.sh COMPLETION_SCRIPT NUMBERS4MARVO_CLI
set -uo pipefail
# The completion library, as an interactive shell has it loaded.
source /usr/share/bash-completion/bash_completion || { echo "bash-completion is missing"; exit 1; }
source "$1"
cli=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && touch history.csv hist.mdb other.txt
failures=0

# Completes the line as typed (a trailing space starts a new, empty word) and
# compares the sorted candidates with the expected ones.
expect() {
    local line=$1 expected=$2
    # Words as bash splits them: at blanks, and "=" a word of its own.
    read -ra COMP_WORDS <<<"${line//=/ = }"
    [[ $line == *" " || $line == *"=" ]] && COMP_WORDS+=("")
    COMP_WORDS[0]=$cli
    COMP_LINE=${line/numbers4marvo-cli/$cli}
    COMP_POINT=${#COMP_LINE}
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _numbers4marvo_cli
    local got
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd' ')
    if [[ $got != "$expected" ]]; then
        echo "FAIL: '$line' gave '$got', expected '$expected'"
        ((failures++))
    fi
}

expect "numbers4marvo-cli " "backtest export import list lookup numbers tickets update"
expect "numbers4marvo-cli ex" "export"
expect "numbers4marvo-cli --" "--db --dry-run --format --from --help --last --reflect --replace --rows --source --to --version"
expect "numbers4marvo-cli export di" "dispersion distance division10 division3 division5"
expect "numbers4marvo-cli export 出現" "出現回数分析 出現間隔分析 出現頻度分析"
expect "numbers4marvo-cli export 連番" "連番・飛び石分析 連番飛び石分析"
expect "numbers4marvo-cli export 3" "3分割データ分析"
expect "numbers4marvo-cli export 回数別" "回数別出現分析 回数別頻度分析"
expect "numbers4marvo-cli export pre" "prediction"
expect "numbers4marvo-cli export sum --format " "html json pdf png svg tsv"
expect "numbers4marvo-cli export prediction --reflect 1" "1 10"
expect "numbers4marvo-cli export sum --" "--db --format --help --last --reflect --rows"
expect "numbers4marvo-cli export sum --rows 1:5 --format p" "pdf png"
expect "numbers4marvo-cli export sum " ""
expect "numbers4marvo-cli --db hist.mdb export co" "consecutive count"
expect "numbers4marvo-cli import hist" "hist.mdb history.csv"
expect "numbers4marvo-cli import --" "--db --dry-run --help --replace"
expect "numbers4marvo-cli import history.csv --r" "--replace"
expect "numbers4marvo-cli import history.csv --db h" "hist.mdb history.csv"
expect "numbers4marvo-cli list --" "--help"
expect "numbers4marvo-cli backtest --" "--db --format --from --help --reflect --to"
expect "numbers4marvo-cli backtest --from 12 --f" "--format --from"
expect "numbers4marvo-cli backtest --format " "html json tsv"
expect "numbers4marvo-cli up" "update"
expect "numbers4marvo-cli update --" "--db --help --source"
expect "numbers4marvo-cli update --source " ""
expect "numbers4marvo-cli numbers --sum 14:22 --t" "--to --type"
expect "numbers4marvo-cli numbers --type " "double double-double quad single triple"
expect "numbers4marvo-cli numbers --pos1 0123 --bought " "box set straight"
expect "numbers4marvo-cli lookup 1149 --format " "json tsv"
expect "numbers4marvo-cli ti" "tickets"
expect "numbers4marvo-cli tickets --" "--db --format --from --help --import --to"
expect "numbers4marvo-cli tickets --import h" "hist.mdb history.csv"
expect "numbers4marvo-cli tickets --import=h" "hist.mdb history.csv"
expect "numbers4marvo-cli tickets --import history.csv --format " "json tsv"
expect "numbers4marvo-cli tickets --import history.csv --f" "--format --from"
expect "numbers4marvo-cli update --source http://127.0.0.1:9/ --s" "--source"
expect "numbers4marvo-cli update --db h" "hist.mdb history.csv"
# A value joined to its option by "=", as the tool accepts it.
expect "numbers4marvo-cli export sum --format=p" "pdf png"
expect "numbers4marvo-cli export sum --format=" "html json pdf png svg tsv"
expect "numbers4marvo-cli --db=hist.mdb export co" "consecutive count"
expect "numbers4marvo-cli --db=F export fr" "frequency"
expect "numbers4marvo-cli import --db=hist" "hist.mdb history.csv"
expect "numbers4marvo-cli backtest --reflect=1" "1 10"
expect "numbers4marvo-cli backtest --from=12 --f" "--format --from"

# Every name the tool lists is offered.
all=$("$cli" list | cut -f1 | sort | paste -sd' ')
COMP_WORDS=("$cli" export "")
COMP_CWORD=2
COMP_LINE="$cli export "
COMP_POINT=${#COMP_LINE}
_numbers4marvo_cli
offered=$(printf '%s\n' "${COMPREPLY[@]}" | grep -v '[^ -~]' | sort | paste -sd' ')
[[ $offered == "$all" ]] || { echo "FAIL: names offered '$offered', listed '$all'"; ((failures++)); }

((failures == 0)) && echo "all completions as expected"
exit $((failures > 0))
