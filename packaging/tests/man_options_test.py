#!/usr/bin/env python3
"""Checks that a manual page names every command and option that the program's --help lists,
and nothing that it no longer has, so that the page cannot fall behind the program.

  man_options_test.py PROGRAM PAGE

The global options are those of `PROGRAM --help` and the OPTIONS section of the page; each
command of `PROGRAM --help` (its "Subcommands:") has its options in `PROGRAM COMMAND --help` and
in the page's subsection `.SS "PROGRAM COMMAND"`. The page must also format without warnings.
"""

import re
import subprocess
import sys

OPTION = re.compile(r"(?<![\w-])(--?[A-Za-z][\w-]*)")


def help_of(program, *command):
    result = subprocess.run([program, *command, "--help"], capture_output=True, text=True)
    if result.returncode != 0:
        sys.exit(f"'{' '.join([program, *command])} --help' ended with status {result.returncode}")
    return result.stdout


def help_block(text, title):
    """The lines of the block that starts with `title` (e.g. "Options:") up to a blank line."""
    lines = text.splitlines()
    if title not in lines:
        return []
    block = []
    for line in lines[lines.index(title) + 1:]:
        if not line.strip():
            break
        block.append(line)
    return block


def help_options(text):
    """The option names of a --help text: the first field of each line of its Options block."""
    names = set()
    for line in help_block(text, "Options:"):
        if line.startswith("  -"):
            names.update(line.split()[0].split(","))
    return names


def help_commands(text):
    return [line.split()[0] for line in help_block(text, "Subcommands:") if line.startswith("  ")]


def plain(troff):
    """A troff line without its escapes for fonts, dashes and quotes."""
    troff = re.sub(r"\\f[BIRP]", "", troff).replace("\\-", "-").replace('\\(dq', '"')
    return re.sub(r"^\.(B|I|BR|BI|IR|RB|RI)\s+", "", troff)


def page_sections(page_text):
    """{heading: [lines]} for the .SH sections and the .SS subsections ("SH NAME" / "SS NAME")."""
    sections, current = {}, None
    for line in page_text.splitlines():
        heading = re.match(r'^\.(SH|SS)\s+"?([^"]*)"?\s*$', line)
        if heading:
            current = f"{heading.group(1)} {heading.group(2)}"
            sections[current] = []
        elif current:
            sections[current].append(line)
    return sections


def page_options(lines):
    """The options that a section describes: those in the tag line after each .TP."""
    names = set()
    for previous, line in zip(lines, lines[1:]):
        if previous.strip() == ".TP":
            names.update(OPTION.findall(plain(line)))
    return names


def compare(where, listed, described, problems):
    for name in sorted(listed - described):
        problems.append(f"{where}: the option {name} is missing from the manual page"
                        " (add a .TP entry for it there)")
    for name in sorted(described - listed):
        problems.append(f"{where}: the manual page describes {name}, which --help does not list")


def main():
    program, page = sys.argv[1], sys.argv[2]
    name = program.rsplit("/", 1)[-1]
    with open(page, encoding="utf-8") as file:
        page_text = file.read()
    sections = page_sections(page_text)
    problems = []

    top = help_of(program)
    compare(f"'{name} --help' against the section OPTIONS of {page}", help_options(top),
            page_options(sections.get("SH OPTIONS", [])), problems)

    commands = help_commands(top)
    described_commands = {heading[len(f"SS {name} "):] for heading in sections
                          if heading.startswith(f"SS {name} ")}
    for command in commands:
        heading = f"SS {name} {command}"
        if heading not in sections:
            problems.append(f"'{name} --help' lists the command {command}, which the manual page "
                            f"lacks: add a subsection .SS \"{name} {command}\" under COMMANDS")
            continue
        compare(f"'{name} {command} --help' against .SS \"{name} {command}\" of {page}",
                help_options(help_of(program, command)), page_options(sections[heading]),
                problems)
    for command in sorted(described_commands - set(commands)):
        problems.append(f"the manual page describes the command {command}, which "
                        f"'{name} --help' does not list")

    formatted = subprocess.run(["groff", "-man", "-ww", "-z", "-Tutf8"], input=page_text,
                               capture_output=True, text=True)
    if formatted.returncode != 0 or formatted.stderr:
        problems.append(f"{page} does not format cleanly: {formatted.stderr.strip()}")

    for problem in problems:
        print(problem)
    if problems:
        return 1
    described = f" and of its {len(commands)} commands" if commands else ""
    print(f"{page}: every option of '{name} --help'{described} described")
    return 0


if __name__ == "__main__":
    sys.exit(main())
