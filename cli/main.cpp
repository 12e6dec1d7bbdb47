#include "cli/check/allocator_tuning.h"
#include "cli/check/check_command.h"
#include "cli/check/check_options.h"
#include "cli/commands.h"

#include <iostream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

std::string fullUsage() {
    return casl::cli::usageText() + "\n" + casl::check::checkUsageText();
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << fullUsage();
        return 2;
    }
    const std::string command = args.front();
    args.erase(args.begin());
    if (command == "assemble") {
        return casl::cli::assembleCommand(args, std::cout, std::cerr);
    }
    if (command == "run") {
        return casl::cli::runCommand(args, std::cout, std::cerr);
    }
    if (command == "check") {
        casl::check::keepFreedMemoryForReuse();
        return casl::check::checkCommand(args, std::cout, std::cerr, isatty(STDERR_FILENO) == 1);
    }
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << fullUsage();
        return 0;
    }
    std::cerr << "casl2: unknown command '" << command << "'\n" << fullUsage();
    return 2;
}
