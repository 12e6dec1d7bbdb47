"""Runs casl2 assemble --json and casl2 run --json on programs that end every way and validates
each output against the schema of the documentation (python3-jsonschema).

Usage: validate_cli_json.py CASL2 DOCS EXAMPLES PROGRAMS
"""
import json
import os
import subprocess
import sys
import tempfile

import jsonschema

casl2, docs, examples, programs = sys.argv[1:5]


def schema(name):
    with open(os.path.join(docs, name), encoding="utf-8") as f:
        loaded = json.load(f)
    jsonschema.Draft7Validator.check_schema(loaded)
    return jsonschema.Draft7Validator(loaded)


assemble_schema = schema("assemble.schema.json")
run_schema = schema("run.schema.json")

work = tempfile.TemporaryDirectory()


def written(name, text):
    path = os.path.join(work.name, name)
    with open(path, "w", encoding="utf-8", newline="") as f:
        f.write(text)
    return path


def example(name):
    return os.path.join(examples, name + ".cas")


def program(name):
    return os.path.join(programs, name + ".cas")


faulty = written("faulty.cas", "P START\r\n LDX GR1\r\nX DC 1\r\n LD GR9,Y\r\n RET\r\n END\r\n")
blank = written("blank.cas", "   ")
too_long = written("too-long.cas", "P START\r\n" + " NOP\r\n" * 310 + " END\r\n")
out_loop = written("out-loop.cas", "P START\r\nL OUT M,N\r\n JUMP L\r\nM DC 'AB'\r\nN DC 2\r\n END\r\n")
controls = written("controls.cas", "P START\r\n RET\r\nM DC '\x1b[2J\x7f\u009b'\r\n END\r\n")
empty_area = written("empty-area.cas", "P START\r\n RET\r\nE DS 0\r\nW DC 5\r\n END\r\n")

# (schema, arguments, exit status, what the output must show)
cases = [
    (assemble_schema, ["assemble", example("hello")], 0, lambda j: j["success"]),
    (assemble_schema, ["assemble", example("literals")], 0, lambda j: j["rows"]),
    (assemble_schema, ["assemble", faulty], 1, lambda j: j["error_count"] == 2),
    (assemble_schema, ["assemble", blank], 1, lambda j: j["blank"] and j["result_line"] is None),
    (assemble_schema, ["assemble", too_long], 1, lambda j: j["limit_message"] is not None),
    # The C1 character is no CP932 character: the DC line is in error.
    (assemble_schema, ["assemble", controls], 1,
     lambda j: j["rows"][2]["operands"] == ["'\x1b[2J\x7f\u009b'"]),
    (run_schema, ["run", example("echo"), "--input", "Hi"], 0,
     lambda j: j["run"]["inputs"] == ["Hi"]),
    (run_schema, ["run", example("echo")], 0, lambda j: j["run"]["inputs"] == [None]),
    (run_schema, ["run", example("subroutine")], 0, lambda j: j["run"]["ending"] == "program-end"),
    (run_schema, ["run", program("questions"), "--answer", "no", "--answer", "no"], 0,
     lambda j: j["run"]["boxes"][0]["answer"] == "no"),
    (run_schema, ["run", program("questions")], 3, lambda j: j["run"]["ending"] == "outside-data"),
    (run_schema, ["run", program("overflow")], 3,
     lambda j: j["run"]["ending"] == "stack-overflow" and len(j["run"]["stack"]) > 90),
    (run_schema, ["run", program("forever"), "--max-steps", "150"], 4,
     lambda j: j["run"]["ending"] == "step-limit"),
    (run_schema, ["run", example("loop"), "--press", "n,e"], 5,
     lambda j: j["run"]["ending"] == "end-button"),
    (run_schema, ["run", out_loop, "--max-output", "5000"], 6,
     lambda j: j["run"]["ending"] == "output-limit"),
    (run_schema, ["run", program("forever"), "--max-steps", "1000000000", "--time-limit", "0.2"], 7,
     lambda j: j["run"]["ending"] == "time-limit"),
    (run_schema, ["run", faulty], 1, lambda j: j["run"] is None and len(j["assembly"]["findings"]) == 2),
    (run_schema, ["run", blank], 1, lambda j: j["run"] is None and j["assembly"]["blank"]),
    (run_schema, ["run", empty_area], 0, lambda j: j["run"]["data"][0]["address"] is None),
]

failed = 0
for validator, args, status, shows in cases:
    done = subprocess.run([casl2, *args, "--json"], capture_output=True)
    what = " ".join(os.path.basename(a) for a in args)
    problems = []
    if done.returncode != status:
        problems.append(f"exit status {done.returncode}, expected {status}")
    # No control character reaches the output raw: JSON escapes them, DEL and C1 included.
    text = done.stdout.decode("utf-8", errors="replace")
    raw = [hex(ord(c)) for c in text if (ord(c) < 0x20 and c != "\n") or 0x7F <= ord(c) <= 0x9F]
    if raw:
        problems.append(f"raw control characters {raw[:5]}")
    try:
        output = json.loads(text)
        for error in validator.iter_errors(output):
            problems.append(f"{'/'.join(map(str, error.path))}: {error.message}")
        if not problems and not shows(output):
            problems.append("the output does not show what it must")
    except (ValueError, KeyError, IndexError, TypeError) as error:
        problems.append(f"no JSON: {error}: {done.stdout[:200]!r} {done.stderr[:200]!r}")
    if problems:
        failed += 1
        print(f"casl2 {what} --json:", *problems, sep="\n  ", file=sys.stderr)

print(f"{len(cases) - failed} of {len(cases)} JSON outputs valid")
sys.exit(1 if failed else 0)
