#!/usr/bin/env bash
# A man page renders without a warning and stays in step with its program's
# --help: the same commands with the same synopses, every option, every exit
# code, and the version. Usage: man_pages_test.sh PAGE PROGRAM VERSION
set -uo pipefail
page=$1 program=$2 version=$3
failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}

warnings=$(LC_ALL=C groff -z -w w -man -t "$page" 2>&1)
[[ -z $warnings ]] || fail "groff warns: $warnings"
# One line per paragraph's line, no hyphenation, no justification gaps.
text=$(LC_ALL=C groff -Tascii -P-cbou -rHY=0 -rLL=250n -man -t "$page" 2>/dev/null)
[[ -n $text ]] || fail "$page renders to nothing"
help=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$program" --help) || fail "$program --help failed"

# The lines of section $1 of the page that start an item (seven blanks, then
# no blank), cut at the gap before the item's text.
headings() {
    awk -v section="$1" '/^[A-Z]/ { inside = ($0 == section); next }
        inside && /^       [^ ]/ { sub(/^ +/, ""); sub(/  .*/, ""); print }' <<< "$text"
}

grep -q "Quillmark $version" <<< "$text" || fail "the page is not of version $version"

# Commands: "  NAME ...  text" lines of the help's Commands section.
commands=$(awk '/^Commands:/ { inside = 1; next } /^[^ ]/ { inside = 0 }
    inside && /^  [a-z]/ { sub(/^  /, ""); sub(/  .*/, ""); print }' <<< "$help")
command_headings=$(headings COMMANDS)
while IFS= read -r synopsis; do
    [[ -z $synopsis ]] && continue
    grep -qxF -- "$synopsis" <<< "$command_headings" || fail "no COMMANDS item \"$synopsis\""
done <<< "$commands"
if [[ -n $commands ]]; then
    [[ $(wc -l <<< "$commands") -eq $(wc -l <<< "$command_headings") ]] ||
        fail "the page has other commands than --help: $(tr '\n' ';' <<< "$command_headings")"
fi

# Options: every option the help names is an item of OPTIONS.
option_headings=$(headings OPTIONS | tr ',' ' ')
options=$(grep -oE '(^|[[ ])--?[a-z][a-z-]*|(^| )--( |$)' <<< "$help" | tr -d '[ ' | sort -u)
[[ -n $options ]] || fail "no option found in --help"
while IFS= read -r option; do
    # Qt's options are described in the text, not as items.
    if grep -qE "^Qt's own options" <<< "$help" &&
        awk "/^Qt's own options/,/^$/" <<< "$help" | grep -qE -- "(^| )$option( |,|$)"; then
        grep -qE -- "(^| )$option( |,|\.|$)" <<< "$text" || fail "Qt's option $option is not named"
        continue
    fi
    grep -qE -- "(^| )$option( |$)" <<< "$option_headings" || fail "no OPTIONS item for $option"
done <<< "$options"

# Exit codes: each "N word" of the help's exit status is an EXIT STATUS item
# or, for a short list, named in that section.
codes=$(awk '/^Exit status:/,/^$/' <<< "$help" | grep -oE '(^|[ :])[0-9] [a-z]' | grep -oE '[0-9]' | sort -u)
[[ -n $codes ]] || fail "no exit code found in --help"
status=$(awk '/^[A-Z]/ { inside = ($0 == "EXIT STATUS"); next } inside' <<< "$text")
for code in $codes; do
    grep -qE "(^| )$code( |$)" <<< "$status" || fail "exit code $code is not described"
done

if [[ $failures -ne 0 ]]; then
    echo "$page: $failures problem(s)"
    exit 1
fi
echo "$page matches $program --help"
