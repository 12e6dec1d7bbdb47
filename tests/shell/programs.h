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

} // namespace casl::test
