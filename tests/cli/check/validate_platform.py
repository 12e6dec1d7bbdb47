"""Writes the report of a learning platform's format for one program and checks it against the
platform's layout (a JSON Schema written from the platform's documentation, or VPL's lines) and
against the points: three cases worth 3, 2 and 2, two of them hidden, one hidden case failing.

Usage: validate_platform.py FORMAT CASL2 CLASS_FOLDER DOCS_FOLDER
"""
import json
import os
import re
import subprocess
import sys
import tempfile

import jsonschema

fmt, casl2, class_folder, docs = sys.argv[1:5]

TESTS = """max_steps = 1000
points = 2

[[case]]
name = "hello"
inputs = ["HELLO"]
points = 3
expect = { output = "HELLO", GR1 = 5 }

[[case]]
name = "an empty line"
hidden = true
inputs = [""]
expect = { output = [""], GR1 = 0 }

[[case]]
name = "a secret"
hidden = true
inputs = ["AB"]
expect = { output = "SECRET-EXPECTATION" }
"""

failures = []


def check(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: got {got!r}, expected {wanted!r}")


def report(program):
    with tempfile.TemporaryDirectory() as work:
        tests = os.path.join(work, "tests.toml")
        with open(tests, "w", encoding="utf-8") as f:
            f.write(TESTS)
        run = subprocess.run([casl2, "check", tests, program, "--format", fmt],
                             capture_output=True, text=True, check=False)
    check(f"standard error of {program}", run.stderr, "")
    return run.stdout


def validated(text, schema_name):
    with open(os.path.join(docs, schema_name), encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft7Validator.check_schema(schema)
    document = json.loads(text)
    jsonschema.Draft7Validator(schema).validate(document)
    return document


correct = os.path.join(class_folder, "correct.cas")
missing = os.path.join(class_folder, "no-such-program.cas")
text = report(correct)
check("the hidden case's expectation stays out of the report",
      "SECRET-EXPECTATION" in text, False)

if fmt == "gradescope":
    r = validated(text, "gradescope-results.schema.json")
    check("score", (r["score"], r["max_score"]), (5, 7))
    check("test scores", [(t["score"], t["max_score"]) for t in r["tests"]],
          [(3, 3), (2, 2), (0, 2)])
    check("statuses", [t["status"] for t in r["tests"]], ["passed", "passed", "failed"])
    check("visibility", [t["visibility"] for t in r["tests"]],
          ["visible", "after_published", "after_published"])
    check("the hidden failure's output", r["tests"][2]["output"], "")
elif fmt == "prairielearn":
    r = validated(text, "prairielearn-results.schema.json")
    check("gradable", r["gradable"], True)
    check("score", round(r["score"], 9), round(5 / 7, 9))
    check("points", [(t["points"], t["max_points"]) for t in r["tests"]], [(3, 3), (2, 2), (0, 2)])
    unread = validated(report(missing), "prairielearn-results.schema.json")
    check("a program that cannot be read is not gradable", unread["gradable"], False)
    check("and says why", "cannot be read" in unread["message"], True)
elif fmt == "coderunner":
    r = validated(text, "coderunner-results.schema.json")
    check("fraction", round(r["fraction"], 9), round(5 / 7, 9))
    rows = r["testresults"]
    header = rows[0]
    check("rows", len(rows), 4)
    correct_col, hidden_col = header.index("iscorrect"), header.index("ishidden")
    check("correct", [row[correct_col] for row in rows[1:]], [True, True, False])
    check("hidden", [row[hidden_col] for row in rows[1:]], [False, True, True])
elif fmt == "vpl":
    lines = text.splitlines()
    for line in lines:
        if not re.fullmatch(r"Comment :=>>.*|Grade :=>>[0-9]+(\.[0-9]+)?", line):
            failures.append(f"not a line of VPL's evaluation output: {line!r}")
    check("the last line is the grade", lines[-1], "Grade :=>>5")
    check("one grade", sum(line.startswith("Grade :=>>") for line in lines), 1)
else:
    failures.append(f"unknown format {fmt}")

for failure in failures:
    print(failure, file=sys.stderr)
if not failures:
    print(f"{fmt} report: valid")
sys.exit(1 if failures else 0)
