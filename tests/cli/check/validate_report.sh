#!/usr/bin/env bash
# Writes the report of the command-test class (class/: 6 programs, 2 cases each, 5 cases and
# 2 programs passing) in FORMAT and reads it with a validator of that format.
# Usage: validate_report.sh json|junit|tap CASL2 THIS_FOLDER JSON_SCHEMA
set -euo pipefail
format=$1 casl2=$2 here=$3 schema=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

status=0
"$casl2" check "$here/class/tests.toml" "$here/class" --format "$format" \
  --output "$work/report" 2>"$work/err" || status=$?
if [ "$status" -ne 1 ] || [ -s "$work/err" ]; then
  echo "casl2 check exited $status (expected 1):" >&2
  cat "$work/err" >&2
  exit 1
fi

expect() {  # expect WHAT GOT WANTED
  if [ "$2" != "$3" ]; then
    echo "$1: got '$2', expected '$3'" >&2
    exit 1
  fi
}

case $format in
json)
  /usr/bin/python3 "$here/validate_json.py" "$schema" "$work/report"
  ;;
junit)
  xmllint --noout --schema "$here/junit.xsd" "$work/report"
  xpath() { xmllint --xpath "$1" "$work/report"; }
  expect "test suites" "$(xpath 'count(/testsuites/testsuite)')" 6
  expect "test cases" "$(xpath 'count(//testcase)')" 12
  expect "failures" "$(xpath 'count(//testcase/failure)')" 7
  expect "failures counted" "$(xpath 'string(/testsuites/@failures)')" 7
  expect "tests counted" "$(xpath 'string(/testsuites/@tests)')" 12
  expect "failures of wrong.cas" \
    "$(xpath 'string(//testsuite[contains(@name, "wrong.cas")]/@failures)')" 1
  expect "a name with markup" "$(xpath 'string(//testsuite[1]/testcase[2]/@name)')" \
    'empty <line> & "quotes" #1'
  ;;
tap)
  NODE_PATH=/usr/share/nodejs node "$here/validate_tap.js" "$work/report"
  ;;
*)
  echo "unknown format $format" >&2
  exit 2
  ;;
esac
echo "$format report of $(basename "$here")/class: valid"
