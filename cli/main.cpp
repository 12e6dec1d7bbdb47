#include "cli/commands.h"
#include "cli/descriptor_output.h"

#include <ostream>
#include <string>
#include <unistd.h>
#include <vector>

int main(int argc, char** argv) {
    using namespace casl::cli;
    occupyClosedStandardDescriptors();
    const bool outIsTerminal = ::isatty(STDOUT_FILENO) == 1;
    const bool errIsTerminal = ::isatty(STDERR_FILENO) == 1;
    DescriptorOutput outBuffer(STDOUT_FILENO, outIsTerminal);
    // Messages go out as they are written.
    DescriptorOutput errBuffer(STDERR_FILENO, true);
    std::ostream out(&outBuffer);
    std::ostream err(&errBuffer);
    return casl2Main(std::vector<std::string>(argv + 1, argv + argc),
                     Console{out, err, outIsTerminal, errIsTerminal});
}
