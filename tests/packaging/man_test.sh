#!/usr/bin/env bash
# Formats each manual page as man and groff do, with every warning on, and fails on any
# warning: both exit 0 even when they warn. Usage: man_test.sh PAGE...
set -uo pipefail
failures=0
for page in "$@"; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings=w -l "$page" 2>&1 >/dev/null)
    warnings+=$(groff -ww -man -z "$page" 2>&1)
    if [[ -n $warnings ]]; then
        printf '%s:\n%s\n' "$page" "$warnings"
        failures=$((failures + 1))
    fi
done
exit $((failures > 0))
