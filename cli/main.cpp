#include "cli/commands.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        std::cerr << casl::cli::usageText();
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
    if (command == "--help" || command == "-h" || command == "help") {
        std::cout << casl::cli::usageText();
        return 0;
    }
    std::cerr << "casl2: unknown command '" << command << "'\n" << casl::cli::usageText();
    return 2;
}
