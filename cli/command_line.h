#pragma once

#include "cli/check/check_options.h"
#include "cli/run_options.h"
#include "cli/similar/similar_options.h"

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace casl::cli {

/// The arguments of `casl2 assemble`.
struct AssembleOptions {
    std::string path;
    /// The listing as one JSON object instead of text.
    bool json = false;
};

/// The command that the arguments name, with its options.
struct CommandLine {
    enum class Command { Assemble, Run, Check, Similar };
    Command command = Command::Assemble;
    AssembleOptions assemble;
    RunOptions run;
    check::CheckOptions check;
    similar::SimilarOptions similar;
};

/// What parsing the arguments came to.
struct ParsedCommandLine {
    /// The command to carry out; none after --help, --version or a wrong argument.
    std::optional<CommandLine> commandLine;
    /// The exit status when there is no command: 0 after --help and --version, 2 after a wrong
    /// argument.
    int status = 0;
};

/// Parses the arguments of `casl2` (without the program name). The help and the version go to
/// `out`, what is wrong with the arguments to `err`.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                   std::ostream& err);

} // namespace casl::cli
