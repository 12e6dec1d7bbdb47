#include "cli/commands.h"

namespace casl::cli {

std::string usageText() {
    return "usage: casl2 assemble [--] FILE\n"
           "       casl2 run FILE [--input TEXT]... [--answer yes|no]... [--max-steps N]\n"
           "                      [--simple] [--trace]\n"
           "\n"
           "assemble  prints the assembly listing and its result line \"Assemble Error: N\".\n"
           "          Exit status 0 when the program can be traced, 1 when it cannot.\n"
           "run       assembles FILE and traces it as the Trace button does, pressing Next at\n"
           "          every step. Message boxes are printed as [TITLE] and their text; the IN\n"
           "          input box takes the next --input (none left: cancelled); the questions\n"
           "          about operands in the code area take the next --answer (default yes);\n"
           "          the step question is answered yes until --max-steps steps (default\n"
           "          100000). --simple checks the simple data display; --trace prints the\n"
           "          displays after every step. The final displays are printed at the end.\n"
           "          Exit status 0 at \"Program終了\", 3 when another message ended the run,\n"
           "          4 when the step question was answered no, 1 when the assembly failed.\n"
           "Files are read as CP932, or as UTF-8 when they carry a byte-order mark or are\n"
           "valid UTF-8, or as UTF-16 when they carry its byte-order mark; output is UTF-8.\n"
           "A FILE must be a regular file of at most 2 MiB. \"--\" ends the options: a FILE\n"
           "named after it may begin with \"-\". Exit status 2: the file cannot be read or\n"
           "the arguments are wrong; 1 with a line on standard error for a blank file;\n"
           "5: out of memory.\n";
}

} // namespace casl::cli
