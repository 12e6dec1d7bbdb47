#include "cli/check/check_options.h"

#include <CLI/CLI.hpp>
#include <map>
#include <ostream>

namespace casl::check {

std::string checkUsageText() {
    return "usage: casl2 check TESTS.toml PROGRAM_OR_FOLDER... [--format text|json|junit|tap]\n"
           "                   [--verbose] [--output FILE] [-j N]\n"
           "check     checks every program (every .cas file of a folder) against every case of\n"
           "          the test file; 'casl2 check --help' tells more.\n";
}

ParsedCheckOptions parseCheckOptions(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err) {
    CheckOptions options;
    CLI::App app{"Checks CASL II programs against the test cases of a TOML file: every program "
                 "(a folder means every .cas file in it) against every case. Exit status 0 when "
                 "every case of every program passed, 1 when any failed, 2 when the test file or "
                 "the arguments are wrong.",
                 "casl2 check"};
    app.add_option("tests", options.testsPath, "The test file")
        ->required()
        ->type_name("TESTS.toml");
    app.add_option("programs", options.programs, "Programs, or folders of .cas programs")
        ->required()
        ->type_name("PROGRAM_OR_FOLDER");
    const std::map<std::string, ReportFormat> formats{{"text", ReportFormat::Text},
                                                      {"json", ReportFormat::Json},
                                                      {"junit", ReportFormat::Junit},
                                                      {"tap", ReportFormat::Tap}};
    std::string format = "text";
    app.add_option("-f,--format", format,
                   "text (default): a line per program; json; junit (JUnit XML); tap (TAP 14)")
        ->check(CLI::IsMember({"text", "json", "junit", "tap"}))
        ->type_name("FORMAT");
    app.add_flag("-v,--verbose", options.verbose, "text: list every failing case");
    app.add_option("-o,--output", options.outputPath, "Write the report to FILE")
        ->type_name("FILE");
    app.add_option("-j,--jobs", options.jobs, "Programs checked at once (default: one per core)")
        ->check(CLI::Range(1u, 1024u))
        ->type_name("N");

    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp& help) {
        out << app.help();
        return {std::nullopt, 0};
    } catch (const CLI::ParseError& error) {
        err << "casl2 check: " << error.what() << "\n" << checkUsageText();
        return {std::nullopt, 2};
    }
    options.format = formats.at(format);
    return {options, 0};
}

} // namespace casl::check
