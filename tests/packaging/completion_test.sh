#!/usr/bin/env bash
# Presses TAB on vesk-batch command lines the way bash does, and checks that every command and
# option `vesk-batch --help` shows is offered.
# usage: completion_test.sh VESK_BATCH COMPLETION_FILE
set -euo pipefail
batch=$(realpath "$1")
source "$2"
# compopt works only while readline completes; what it sets (quoting of file names) is not
# checked here.
compopt() { :; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
touch layout.csv survey.txt "round 42.db" report.html
mkdir results

# What TAB offers at the end of the line (a trailing blank starts a new word), sorted, joined by |.
offers() {
    read -ra COMP_WORDS <<<"$1"
    if [[ $1 == *" " ]]; then
        COMP_WORDS+=("")
    fi
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    _vesk_batch
    if ((${#COMPREPLY[@]} > 0)); then
        printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | paste -sd'|'
    fi
}

failures=0
files="layout.csv|report.html|results|round 42.db|survey.txt"
while IFS=';' read -r line expected; do
    actual=$(offers "$line")
    if [[ $actual != "$expected" ]]; then
        echo "\"$line\" + TAB offers \"$actual\", expected \"$expected\"" >&2
        failures=$((failures + 1))
    fi
done <<EOF_CASES
vesk-batch ;--help|--version|chitest|layout|runtest|suggest|values
vesk-batch ch;chitest
vesk-batch runtest --;--db|--details|--filter|--groups|--input|--keys|--layout|--line-key|--out|--param|--record-type|--report|--sample|--vars
vesk-batch chitest --s;--sample|--suggest-classes
vesk-batch suggest --m;--min-expected
vesk-batch values --;--db|--filter|--input|--keys|--layout|--line-key|--param|--record-type|--vars
vesk-batch runtest --layout la;layout.csv
vesk-batch values --input ;$files
vesk-batch chitest --db rou;round 42.db
vesk-batch runtest --groups STATE --report re;report.html|results
vesk-batch runtest --groups ;
vesk-batch chitest --class ;
vesk-batch layout ;export
vesk-batch layout export ;$files
vesk-batch layout export --;--db
EOF_CASES

# Every option and command of the usage text is offered somewhere.
usage=$("$batch" --help)
offered=" "
for line in "vesk-batch " "vesk-batch "{runtest,chitest,suggest,values,layout}" --"; do
    offered+="$(offers "$line" | tr '|' ' ') "
done
for word in $(grep -oE -- '--[a-z][a-z-]*' <<<"$usage" | sort -u) \
    $(sed -nE 's/^ +vesk-batch ([a-z]+).*/\1/p' <<<"$usage" | sort -u); do
    if [[ $offered != *" $word "* ]]; then
        echo "vesk-batch --help shows $word, packaging/vesk-batch.bash-completion does not offer it" >&2
        failures=$((failures + 1))
    fi
done
exit $((failures > 0))
