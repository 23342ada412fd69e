#!/usr/bin/env bash
# Checks that the manual pages name every command and option the programs' --help shows, and
# that man renders them without a warning.
# usage: manual_pages_test.sh VESK VESK_BATCH MAN_DIR
set -euo pipefail
vesk=$1
batch=$2
man_dir=$3
failures=0

# The options in a usage text, and for vesk-batch its commands, as the page's roff writes them.
options_in() { grep -oE -- '--[a-z][a-z-]*' | sort -u | sed 's/-/\\\\-/g'; }
commands_in() { sed -nE 's/^ +vesk-batch ([a-z]+).*/\1/p' | sort -u; }

check_page() {
    local page=$1 usage=$2 word
    for word in $(options_in <<<"$usage") $(commands_in <<<"$usage"); do
        if ! grep -qE -- "(^|[^a-z])${word}($|[^a-z\\\\])" "$page"; then
            echo "packaging/man/$(basename "$page").in does not mention ${word//\\/}, which --help shows" >&2
            failures=$((failures + 1))
        fi
    done
    local warnings
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
    if [[ -n $warnings ]]; then
        echo "man warns on $(basename "$page"):" >&2
        echo "$warnings" >&2
        failures=$((failures + 1))
    fi
}

check_page "$man_dir/vesk.1" "$("$vesk" --help)"
check_page "$man_dir/vesk-batch.1" "$("$batch" --help)"
exit $((failures > 0))
