#!/usr/bin/env bash
# The bash completion of casl2, driven as bash drives it: commands, options read from the
# program's --help, the values of --answer and --format, and file names by position.
#   completion_test.sh CASL2 COMPLETION_SCRIPT
set -uo pipefail
casl2=$1
script=$2

source /usr/share/bash-completion/bash_completion || exit 1
source "$script" || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" && mkdir sub && touch tests.toml prog.cas notes.txt

failures=0

# The candidates, sorted on one line, for the words given, the cursor after the last one.
candidates() {
    COMP_WORDS=("$casl2" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="${COMP_WORDS[*]}"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _casl2 casl2 "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sed 's:/$::' | sort | tr '\n' ' ' | sed 's/ $//'
}

expect() {
    local what=$1 expected=$2
    shift 2
    local got
    got=$(candidates "$@")
    if [[ $got != "$expected" ]]; then
        echo "FAIL $what: 'casl2 $*' completes to '$got', expected '$expected'"
        ((failures++))
    fi
}

# The option names of a --help text's Options block, read another way than the completion does.
help_options() {
    "$casl2" "$@" --help | sed -n '/^Options:/,/^$/p' | grep '^  -' | awk '{print $1}' |
        tr ',' '\n' | sort | tr '\n' ' ' | sed 's/ $//'
}

expect "the commands" "--help --version assemble check run similar" ""
expect "a started command" "check" ch
for command in assemble run check similar; do
    expect "every option of $command" "$(help_options "$command")" "$command" -
done
expect "options by their start" "--max-output --max-steps" run --max-
expect "the answers of --answer" "no yes" run --answer ""
expect "the value of --input is not completed" "" run --input ""
expect "a program after an option's value" "prog.cas sub" run --input x ""
expect "after -- a program" "prog.cas sub" run -- ""
expect "check takes the test file first" "sub tests.toml" check ""
expect "then programs and folders" "prog.cas sub" check tests.toml ""
expect "a value does not count as the test file" "sub tests.toml" check -j 2 ""
expect "the report file of --output" "notes.txt prog.cas sub tests.toml" check -o ""

printf '[[case]]\nname = "three letters"\n[[case]]\n  name="one"\ninputs = ["name = \\"x\\""]\n' >cases.toml
expect "the cases of --explain" 'one three\ letters' check cases.toml prog.cas --explain ""
expect "the cases of --case by their start" 'three\ letters' check -j 2 cases.toml sub --case th
expect "no cases without a test file" "" check --explain ""

# The formats that --format offers are those that check takes: its refusal of a wrong one
# names them all ("takes text, json, ... or coderunner, not 'x'").
formats=$("$casl2" check --format x tests.toml prog.cas 2>&1 | sed -n "s/.* takes \(.*\), not 'x'.*/\1/p" |
    sed 's/ or /, /' | tr -d ' ' | tr ',' '\n' | sort | tr '\n' ' ' | sed 's/ $//')
if [[ -z $formats ]]; then
    echo "FAIL 'casl2 check --format x' no longer names the formats it takes"
    ((failures++))
fi
expect "the formats of --format" "$formats" check --format ""
expect "the formats of -f" "$formats" check -f ""
expect "the formats of similar" "html json text" similar --format ""
expect "similar takes programs and folders" "prog.cas sub" similar ""

if ((failures > 0)); then
    exit 1
fi
echo "casl2's bash completion: every case as expected"
