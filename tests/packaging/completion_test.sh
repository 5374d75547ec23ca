#!/usr/bin/env bash
# Completion of quillmark-cli: commands, options per command, key numbers,
# value names of set, files. Usage: completion_test.sh COMPLETION_FILE CLI_DIR
set -uo pipefail
completion=$1
export PATH="$(cd "$2" && pwd):$PATH"
source /usr/share/bash-completion/bash_completion || exit 1
source "$completion" || exit 1
# compopt works only while bash itself completes.
compopt() { :; }

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch" || exit 1
# 311434 bytes: a plain VSH module of release 3.71.
head -c 311434 /dev/zero > vshmain.prx
mkdir looks
touch looks/blue.json looks/notes.txt looks/blue.ctf looks/blue.ptf

# Completes the line, whose last word is the one being completed, and prints
# the candidates sorted, one per line.
complete_line() {
    local line=$1
    COMP_LINE=$line
    COMP_POINT=${#line}
    read -r -a COMP_WORDS <<< "$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _quillmark_cli quillmark-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort
}

failures=0
expect() {
    local line=$1 expected=$2 got
    got=$(complete_line "$line")
    if [[ $got != "$expected" ]]; then
        printf 'FAILED: "%s"\n  expected: %s\n  got:      %s\n' "$line" "${expected//$'\n'/ }" "${got//$'\n'/ }"
        failures=$((failures + 1))
    fi
}
lines() { printf '%s\n' "$@"; }

expect 'quillmark-cli ' "$(lines apply check diff dump help identify keys pack set theme unpack)"
expect 'quillmark-cli d' "$(lines diff dump)"
expect 'quillmark-cli --' "$(lines --help --version)"
expect 'quillmark-cli pack --' "$(lines -- --header --help --key --output)"
expect 'quillmark-cli set vshmain.prx -' "$(lines -- --help --output -o)"
expect 'quillmark-cli check -' "$(lines -- --help --json)"
expect 'quillmark-cli check --json -' "$(lines -- --help --json)"
expect 'quillmark-cli unpack -' "$(lines -- --help)"
expect 'quillmark-cli pack vshmain.prx --key ' "$(lines 0 1 2 3 4 5)"
expect 'quillmark-cli keys ' ''
expect 'quillmark-cli set vshmain.prx TextColors[1' "$(lines 'TextColors[10]=' 'TextColors[11]=' 'TextColors[1]=')"
expect 'quillmark-cli set vshmain.prx XmbX=1.5 BmpS' "$(lines 'BmpSize=')"
expect 'quillmark-cli set -o out.prx vshmain.prx BmpS' "$(lines 'BmpSize=')"
expect 'quillmark-cli set missing.prx BmpS' ''
expect 'quillmark-cli dump vsh' "$(lines vshmain.prx)"
expect 'quillmark-cli apply vshmain.prx looks/' "$(lines looks/blue.ctf looks/blue.json)"
expect 'quillmark-cli theme out.ctf --p' "$(lines --paf --paf-stock --ptf)"
expect 'quillmark-cli theme out.ctf --ptf looks/' "$(lines looks/blue.ptf)"
expect 'quillmark-cli theme out.ctf --firmware 6.3' "$(lines 6.31 6.35 6.37 6.38 6.39)"
expect 'quillmark-cli theme out.ctf --vsh looks/blue.json --vsh-stock vsh' "$(lines vshmain.prx)"
expect 'quillmark-cli pack vshmain.prx --header looks/' "$(lines looks/blue.ctf looks/blue.json looks/blue.ptf looks/notes.txt)"
expect 'quillmark-cli identify -- -' ''
expect 'quillmark-cli identify lo' "$(lines looks)"

if [[ $failures -ne 0 ]]; then
    echo "$failures completion(s) failed"
    exit 1
fi
echo "all completions as expected"
