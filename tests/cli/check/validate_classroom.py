"""Runs the command line of every test of the GitHub Classroom example workflow, as the
command grader would in the student's repository: with the exercise's solution every test
passes, with the wrong program some fail; the tests' scores add up to the points of the test
file, one test per case.

Usage: validate_classroom.py CASL2 CLASSROOM_FOLDER EXERCISE_FOLDER
"""
import os
import re
import shutil
import subprocess
import sys
import tempfile

casl2, classroom, exercise = sys.argv[1:4]
with open(os.path.join(classroom, ".github", "workflows", "classroom.yml"), encoding="utf-8") as f:
    workflow = f.read()
commands = re.findall(r"^\s+command: (.+)$", workflow, re.M)
scores = [int(s) for s in re.findall(r"^\s+max-score: (\d+)$", workflow, re.M)]
with open(os.path.join(classroom, "tests.toml"), encoding="utf-8") as f:
    tests = f.read()
points = [int(p) for p in re.findall(r"^points = (\d+)$", tests, re.M)]
cases = re.findall(r'^name = "(.+)"$', tests, re.M)

failures = []
if len(commands) != len(cases) or scores != points:
    failures.append(f"{len(commands)} tests worth {scores} for {len(cases)} cases worth {points}")

bin_folder = tempfile.mkdtemp()
os.symlink(os.path.abspath(casl2), os.path.join(bin_folder, "casl2"))
environment = dict(os.environ, PATH=bin_folder + os.pathsep + os.environ["PATH"])


def statuses(program):
    with tempfile.TemporaryDirectory() as repository:
        shutil.copy(os.path.join(classroom, "tests.toml"), repository)
        shutil.copy(os.path.join(exercise, program), os.path.join(repository, "program.cas"))
        return [subprocess.run(command, shell=True, cwd=repository, env=environment,
                               capture_output=True, check=False).returncode
                for command in commands]


solution = statuses("solution.cas")
if solution != [0] * len(commands):
    failures.append(f"the solution's exit statuses: {solution}")
wrong = statuses("wrong.cas")
if not any(status == 1 for status in wrong) or any(status not in (0, 1) for status in wrong):
    failures.append(f"the wrong program's exit statuses: {wrong}")
shutil.rmtree(bin_folder)

for failure in failures:
    print(failure, file=sys.stderr)
if not failures:
    print(f"classroom workflow: {len(commands)} tests run, worth {sum(scores)} points")
sys.exit(1 if failures else 0)
