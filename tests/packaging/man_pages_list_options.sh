#!/usr/bin/env bash
# Every option and command that a program's --help lists, and its commands' --help in turn,
# appears in its manual page: man_pages_list_options.sh MANUAL-FOLDER PROGRAM...
set -uo pipefail
manuals=$1
shift
missing=0

subcommands() { sed -n '/^Subcommands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p'; }

# The help of PROGRAM [COMMAND...], then a "command: COMMAND..." line and the help of each
# command it lists.
help_texts() {
    local help command
    help=$("$@" --help) || return 1
    printf '%s\n' "$help"
    for command in $(subcommands <<<"$help"); do
        echo "command: ${*:2} $command"
        help_texts "$@" "$command" || return 1
    done
}

for program in "$@"; do
    name=$(basename "$program")
    # The page as it reads: no font changes, no escaped dashes.
    page=$(sed -e 's/\\f[BIRP]//g' -e 's/\\-/-/g' "$manuals/$name.1") || exit 1
    help=$(help_texts "$program") || { echo "$name: --help failed"; exit 1; }
    options=$(grep -oE '(^|[^[:alnum:]-])--?[[:alpha:]][[:alnum:]-]*' <<<"$help" | sed 's/^[^-]*//')
    commands=$(sed -n 's/^command: *//p' <<<"$help")
    while read -r word; do
        if [ -n "$word" ] && ! grep -qE -- "(^|[^[:alnum:]-])$word([^[:alnum:]-]|$)" <<<"$page"; then
            echo "$name.1 does not mention $word"
            missing=1
        fi
    done < <(printf '%s\n%s\n' "$options" "$commands" | sort -u)
done
exit $missing
