#pragma once

#include <QString>

namespace casl::test {

/// A clean program: adds two numbers and ends.
inline const QString addProgram = QStringLiteral("PGM\tSTART\n"
                                                 "\tLD\tGR1,A\n"
                                                 "\tADDA\tGR1,B\n"
                                                 "\tST\tGR1,C\n"
                                                 "\tRET\n"
                                                 "A\tDC\t3\n"
                                                 "B\tDC\t4\n"
                                                 "C\tDS\t1\n"
                                                 "\tEND\n");

/// A program with an unknown mnemonic on line 2 and a label defined twice (lines 3 and 4).
inline const QString faultyProgram = QStringLiteral("PGM\tSTART\n"
                                                    "\tLDX\tGR1,A\n"
                                                    "A\tDC\t1\n"
                                                    "A\tDC\t2\n"
                                                    "\tRET\n"
                                                    "\tEND\n");

/// A program whose lines have every kind of operation code the breakpoint rule looks at.
inline const QString breakpointProgram = QStringLiteral("PGM\tSTART\n"  // 1: START
                                                        "; comment\n"   // 2: nothing
                                                        "\tLD\tGR1,A\n" // 3: LD
                                                        "\tNOP\n"       // 4: code 0
                                                        "\tRET\n"       // 5: RET
                                                        "A\tDC\t3\n"    // 6: DC
                                                        "B\tDS\t2\n"    // 7: DS
                                                        "\tEND\n");     // 8: END

} // namespace casl::test
