"""Validates a casl2 check JSON report against its schema and checks its counts.

Usage: validate_json.py SCHEMA REPORT (the report of the command-test class).
"""
import json
import sys

import jsonschema

schema_path, report_path = sys.argv[1:3]
with open(schema_path, encoding="utf-8") as f:
    schema = json.load(f)
with open(report_path, encoding="utf-8") as f:
    report = json.load(f)

jsonschema.Draft7Validator.check_schema(schema)
jsonschema.Draft7Validator(schema).validate(report)

summary = report["summary"]
programs = report["programs"]
checks = [
    ("programs", summary["programs"], len(programs)),
    ("programs passed", summary["programs_passed"], sum(p["passed"] for p in programs)),
    ("cases", summary["cases"], sum(p["cases_total"] for p in programs)),
    ("cases passed", summary["cases_passed"],
     sum(c["passed"] for p in programs for c in p["cases"])),
    ("class counts", (summary["programs"], summary["programs_passed"], summary["cases"],
                      summary["cases_passed"]), (6, 2, 12, 5)),
    ("a name with markup", programs[0]["cases"][1]["name"], 'empty <line> & "quotes" #1'),
]
for p in programs:
    checks.append((p["name"] + " counts", p["cases_passed"],
                   sum(c["passed"] for c in p["cases"])))
    for c in p["cases"]:
        checks.append((p["name"] + " " + c["name"] + " passed",
                       c["passed"], c["problem"] is None and not c["mismatches"]))
failed = [(what, got, wanted) for what, got, wanted in checks if got != wanted]
for what, got, wanted in failed:
    print(f"{what}: got {got!r}, expected {wanted!r}", file=sys.stderr)
sys.exit(1 if failed else 0)
