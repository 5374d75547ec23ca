#!/usr/bin/env bash
# Both programs print their version and help and refuse unknown options with
# exit 1, without a display. Usage: programs_test.sh QUILLMARK QUILLMARK_CLI VERSION
set -uo pipefail
gui=$1 cli=$2 version=$3
failures=0
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# expect NAME EXIT_CODE STDOUT_PATTERN STDERR_PATTERN COMMAND... (patterns: grep -E, "" for empty)
expect() {
    local name=$1 code=$2 out_pattern=$3 err_pattern=$4
    shift 4
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@" > "$scratch/out" 2> "$scratch/err"
    local got=$?
    local problems=()
    [[ $got -eq $code ]] || problems+=("exit $got, not $code")
    if [[ -z $out_pattern ]]; then
        [[ ! -s $scratch/out ]] || problems+=("unexpected output")
    else
        grep -qE -- "$out_pattern" "$scratch/out" || problems+=("output lacks /$out_pattern/")
    fi
    if [[ -z $err_pattern ]]; then
        [[ ! -s $scratch/err ]] || problems+=("unexpected messages")
    else
        grep -qE -- "$err_pattern" "$scratch/err" || problems+=("messages lack /$err_pattern/")
    fi
    if [[ ${#problems[@]} -ne 0 ]]; then
        echo "FAILED: $name: ${problems[*]}"
        sed 's/^/  out: /' "$scratch/out" | head -5
        sed 's/^/  err: /' "$scratch/err" | head -5
        failures=$((failures + 1))
    fi
}

v=${version//./\\.}
expect "quillmark --version" 0 "^quillmark $v\$" "" "$gui" --version
expect "quillmark --help" 0 "^Usage: quillmark " "" "$gui" --help
expect "quillmark -h after a file" 0 "^Usage: quillmark " "" "$gui" some.prx -h
expect "quillmark unknown option" 1 "" "^quillmark: unknown option --frobnicate\$" "$gui" --frobnicate a.prx
expect "quillmark file named like an option" 1 "" "unknown option -x\.prx" "$gui" -x.prx
expect "quillmark Qt option without value" 1 "" "option -platform needs a value" "$gui" -platform
expect "quillmark-cli --version" 0 "^quillmark-cli $v\$" "" "$cli" --version
expect "quillmark-cli --help" 0 "^Usage: quillmark-cli " "" "$cli" --help
expect "quillmark-cli unknown option" 1 "" "^quillmark-cli: unknown option --frobnicate\$" "$cli" --frobnicate

# Both print the same version line, less their names.
[[ $("$gui" --version | cut -d' ' -f2) == $("$cli" --version | cut -d' ' -f2) ]] ||
    { echo "FAILED: the two programs print different versions"; failures=$((failures + 1)); }

if [[ $failures -ne 0 ]]; then
    echo "$failures case(s) failed"
    exit 1
fi
echo "both programs answer without a display"
