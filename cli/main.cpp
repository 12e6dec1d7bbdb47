#include "cli/commands.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    return casl::cli::casl2Main(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                                std::cerr);
}
