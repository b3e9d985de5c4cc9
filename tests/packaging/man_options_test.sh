#!/usr/bin/env bash
# The manual page and the program's own help name the same options: every option that
# `vorlane-cli --help` or a `vorlane-cli COMMAND --help` lists is described in the page's
# OPTIONS section, and every option described there is one that some help lists. Each
# command of the help is in the page's synopsis. Usage: man_options_test.sh VORLANE_CLI PAGE
set -uo pipefail
cli=$1
page=$2
export LC_ALL=C.UTF-8

# The option names of a help text's option lines ("  -h, --help   show ...").
help_options() {
    grep -E '^  +-' | sed -E 's/^ +//; s/  .*//' | grep -oE '(^|[ ,])--?[a-zA-Z][a-zA-Z-]*' |
        sed -E 's/^[ ,]//; s/=.*//'
}

commands=$("$cli" --help | sed -n "s/^  vorlane-cli \([a-z-]*\).*/\1/p" | sort -u)
[[ -n $commands ]] || { echo "FAIL: vorlane-cli --help lists no commands"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
{
    "$cli" --help | help_options
    for command in $commands; do
        "$cli" "$command" --help | help_options
    done
} | sort -u >"$work/help"

# The tag line of each entry of the OPTIONS section (the line after .TP), unescaped.
sed -n '/^\.SH OPTIONS/,/^\.SH [^O]/p' "$page" | sed -n '/^\.TP/{n;p}' | sed 's/\\-/-/g' |
    grep -oE '(^|[ "])--?[a-zA-Z][a-zA-Z-]*' | sed -E 's/^[ "]//' | sort -u >"$work/man"

failures=0
only_help=$(comm -23 "$work/help" "$work/man")
only_man=$(comm -13 "$work/help" "$work/man")
if [[ -n $only_help ]]; then
    echo "FAIL: listed by --help, not described in the manual page: $(tr "\n" " " <<<"$only_help")"
    failures=1
fi
if [[ -n $only_man ]]; then
    echo "FAIL: described in the manual page, listed by no --help: $(tr "\n" " " <<<"$only_man")"
    failures=1
fi
synopsis=$(sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p' "$page" | sed 's/\\-/-/g')
for command in $commands; do
    grep -qE "^\.B $command\$" <<<"$synopsis" || {
        echo "FAIL: the command $command is not in the manual page's synopsis"
        failures=1
    }
done
exit $failures
