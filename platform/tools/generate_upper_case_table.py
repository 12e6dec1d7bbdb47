#!/usr/bin/env python3
"""Writes platform/upper_case_table.cpp: every character whose upper case is one other
character, from the Unicode character database of the Python that runs this, as runs of
characters that map by the same difference.

    python3 platform/tools/generate_upper_case_table.py platform/upper_case_table.cpp
"""
import sys
import unicodedata


def runs():
    found = []
    for code in range(0x110000):
        if 0xD800 <= code <= 0xDFFF:
            continue
        upper = chr(code).upper()
        if len(upper) != 1 or upper == chr(code):
            continue
        delta = ord(upper) - code
        if found:
            first, last, d, stride = found[-1]
            step = code - last
            if d == delta and (stride == step or (first == last and step in (1, 2))):
                found[-1] = (first, code, delta, step)
                continue
        found.append((code, code, delta, 1))
    return found


def main(path):
    table = runs()
    rows = "\n".join(
        f"    {{0x{first:05X}, 0x{last:05X}, {delta}, {stride}}}," for first, last, delta, stride in table
    )
    text = f"""// Written by platform/tools/generate_upper_case_table.py from Unicode {unicodedata.unidata_version}.
// Do not edit; write it again with:
//   python3 platform/tools/generate_upper_case_table.py platform/upper_case_table.cpp
// clang-format off
#include "platform/upper_case.h"

#include <array>

namespace casl::platform {{

std::span<const UpperCaseRun> upperCaseRuns() {{
    static constexpr std::array<UpperCaseRun, {len(table)}> runs{{{{
{rows}
    }}}};
    return runs;
}}

}} // namespace casl::platform
"""
    with open(path, "w", encoding="utf-8") as out:
        out.write(text)


if __name__ == "__main__":
    main(sys.argv[1])
