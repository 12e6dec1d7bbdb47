#include "cli/command_line.h"

#include "cli/exit_status.h"
#include "platform/text_codec.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <functional>
#include <limits>
#include <map>
#include <ostream>

namespace casl::cli {
namespace {

/// The largest `--max-output`: far beyond what anyone reads of one run.
constexpr std::int64_t maxOutputBound = std::int64_t{1} << 40;
/// The longest `--time-limit`, in seconds.
constexpr double timeLimitBound = 1'000'000;

const char* const topDescription =
    "casl2: the assembler and the tracer of the CASL II workbench, without a window.";

const char* const topFooter =
    "Files are read as CP932, or as UTF-8 when they carry a byte-order mark or are valid\n"
    "UTF-8, or as UTF-16 when they carry its byte-order mark; the output is UTF-8. A FILE must\n"
    "be a regular file of at most 2 MiB. \"--\" ends the options: a FILE named after it may\n"
    "begin with \"-\". On a terminal, control characters other than TAB and the line ends are\n"
    "shown in caret notation (ESC as ^[, DEL as ^?, U+0080-U+009F as M-^@ to M-^_).\n"
    "\n"
    "Exit status:\n"
    "  0  \"Program終了\" (run); the program can be traced (assemble); every case passed\n"
    "     (check); the report was written (similar)\n"
    "  1  the assembly does not allow tracing (standard error says why when the listing does\n"
    "     not); a case failed (check)\n"
    "  2  wrong arguments, a file that cannot be read, a wrong test file\n"
    "  3  another message ended the run\n"
    "  4  the step question was answered No (--max-steps)\n"
    "  5  End was pressed (--press)\n"
    "  6  the printed output of the run reached its bound (--max-output)\n"
    "  7  the run reached its time limit (--time-limit)\n"
    "  8  the memory ran out\n"
    "  9  the output could not be written (a full disk, a closed standard output)\n";

const char* const assembleFooter =
    "Prints the listing as the listing window shows it, then its result line \"Assemble Error:\n"
    "N\". Exit status 0 when the program can be traced, 1 when it cannot (a blank file: a line\n"
    "on standard error says so). 'casl2 --help' lists every exit status.\n";

const char* const runFooter =
    "Traces as the Trace button does, pressing Next at every wait. Without --breakpoint every\n"
    "step waits; with --breakpoint N the run goes on without waiting until a step executes\n"
    "line N (the line numbers of the listing) and waits after that step, every time. N is\n"
    "taken as given: on a comment or NOP line the run never waits. A step that executes DC,\n"
    "DS, END or SVC (which stay on their line) counts as executing the line above, and a START\n"
    "with an operand as executing the line above its start line.\n"
    "Message boxes are printed as [TITLE] and their text, one terminal line per line of the\n"
    "box. The IN input box takes the next --input (none left: cancelled); the questions about\n"
    "operands take the next --answer (none left: yes); each answer is printed after \"> \".\n"
    "The step question comes after every 101 counted steps (101, 202, 303, ...; comment and\n"
    "NOP lines are no steps, and a step whose question let the run go on is not counted). It\n"
    "is answered yes, and not printed, while fewer than --max-steps N steps were counted, and\n"
    "no, printed with \"> no\", at the first question after N or more steps: the run ends after\n"
    "the first multiple of 101 that is not below N (101 for N = 0), at most 100 steps past N.\n"
    "--trace prints the displays at every wait: the marked line of the listing as \"line L: \"\n"
    "followed by the editor's line with its \">>>>>> \" mark (nothing when no line is marked),\n"
    "then the display block. The display block of the end of the run is printed last.\n"
    "--press SEQ presses buttons at the first waits instead of Next; after the list, Next at\n"
    "every wait. A step back shows the displays the run had after the step before (printed\n"
    "with --trace like any wait); b where no step can be undone does nothing.\n"
    "Every OUT box shows the whole output so far, so a printing loop prints with the square of\n"
    "its steps: once the boxes and traced displays would print more than --max-output bytes\n"
    "the run stops (exit status 6), and past --time-limit seconds it stops too (exit status\n"
    "7); the final displays are printed in either case. With --json the bound counts the\n"
    "bytes of the boxes' texts.\n"
    "Exit status 0 at \"Program終了\", 3 when another message ended the run, 4 when the step\n"
    "question was answered no, 5 when End was pressed, 1 when the assembly failed or the\n"
    "program cannot be traced, 2 also for a --breakpoint past the program's last line.\n";

const char* const checkFooter =
    "A folder means every .cas file in it (sorted by name, sub-folders not searched). A\n"
    "program that cannot be read, is empty or does not assemble fails its cases with the\n"
    "reason. Exit status 0 when every case of every program passed, 1 when any failed, 2 when\n"
    "the test file or the arguments are wrong, 9 when the report cannot be written. The README\n"
    "and the help page describe the test file.\n"
    "--explain NAME prints the run of the case NAME on one program as run --trace prints it,\n"
    "with the case's inputs, answers, setup.data, call and step budget, then the case's\n"
    "verdict as --verbose gives it (exit status 0 when it passed, 1 when it failed). A hidden\n"
    "case is not shown (exit status 2).\n";

const char* const similarFooter =
    "A folder means every .cas file in it and in its sub-folders (sorted by path). Each\n"
    "program is assembled and compared with every other by its instructions: labels, comments,\n"
    "blank lines, NOP and instructions that change no register are left out, registers and\n"
    "labels count by where they are used, not by name, and DC/DS data by what it holds,\n"
    "whatever its order. The score is the share of runs of 4 instructions (and of data) that\n"
    "two programs have in common, in percent. A program that cannot be read or does not\n"
    "assemble is listed as not compared. Exit status 0 when the report was written, 2 when the\n"
    "arguments are wrong or name no program, 9 when the report cannot be written.\n";

// The validators say what an option takes; the message reads "--max-steps takes a number of
// steps from 0 to 1000000000, not 'ten'".

/// A whole decimal number from `least` to `most`.
CLI::Validator wholeNumber(std::int64_t least, std::int64_t most, const std::string& what) {
    return CLI::Validator(
        [=](std::string& value) -> std::string {
            std::int64_t number = 0;
            const auto [end, ec] =
                std::from_chars(value.data(), value.data() + value.size(), number);
            if (ec == std::errc{} && end == value.data() + value.size() && number >= least &&
                number <= most) {
                return {};
            }
            return "takes " + what + " from " + std::to_string(least) + " to " +
                   std::to_string(most) + ", not '" + value + "'";
        },
        "", "");
}

/// A number of seconds above 0, fractions allowed.
CLI::Validator secondsUpTo(double most) {
    return CLI::Validator(
        [=](std::string& value) -> std::string {
            double seconds = 0;
            const auto [end, ec] =
                std::from_chars(value.data(), value.data() + value.size(), seconds);
            if (ec == std::errc{} && end == value.data() + value.size() && seconds > 0 &&
                seconds <= most) {
                return {};
            }
            return "takes a number of seconds above 0 and at most " +
                   std::to_string(static_cast<std::int64_t>(most)) + ", not '" + value + "'";
        },
        "", "");
}

/// One of `words`, which `said` lists for the message ("yes or no").
CLI::Validator oneOf(std::vector<std::string> words, const std::string& said) {
    return CLI::Validator(
        [=](std::string& value) -> std::string {
            if (std::ranges::find(words, value) != words.end()) {
                return {};
            }
            return "takes " + said + ", not '" + value + "'";
        },
        "", "");
}

/// The buttons of `--press`: "n", "b" and "e" separated by commas.
std::optional<std::vector<Press>> pressesOf(const std::string& value) {
    std::vector<Press> presses;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = value.find(',', start);
        const std::string button = value.substr(start, comma - start);
        if (button == "n") {
            presses.push_back(Press::Next);
        } else if (button == "b") {
            presses.push_back(Press::Back);
        } else if (button == "e") {
            presses.push_back(Press::End);
        } else {
            return std::nullopt;
        }
        if (comma == std::string::npos) {
            return presses;
        }
        start = comma + 1;
    }
}

/// An option that may be given again and again, each time with one value, in order. (A
/// vector option of CLI11 would take the "--" after it as the end of its list.)
CLI::Option* addRepeated(CLI::App& app, const std::string& name,
                         std::function<void(const std::string&)> take, const std::string& help) {
    return app.add_option_function<std::string>(name, std::move(take), help)->trigger_on_parse();
}

/// The `casl2` command line: the subcommands with their options, writing into `line`.
class Casl2App {
public:
    explicit Casl2App(CommandLine& line) : line_(line) {
        app_.set_version_flag("--version", std::string("casl2 ") + CASL2_VERSION,
                              "Print the version and exit");
        app_.require_subcommand(1);
        app_.footer(topFooter);
        addAssemble();
        addRun();
        addCheck();
        addSimilar();
    }

    CLI::App& app() { return app_; }
    CLI::App* assemble() const { return assemble_; }
    CLI::App* run() const { return run_; }
    CLI::App* check() const { return check_; }
    CLI::App* similar() const { return similar_; }

    /// Reads what CLI11 left in its own variables into the command line.
    void finish() {
        if (assemble_->parsed()) {
            line_.command = CommandLine::Command::Assemble;
        } else if (run_->parsed()) {
            line_.command = CommandLine::Command::Run;
            if (timeLimit_->count() > 0) {
                line_.run.timeLimitSeconds = runSeconds_;
            }
        } else if (similar_->parsed()) {
            line_.command = CommandLine::Command::Similar;
            const std::map<std::string, similar::SimilarFormat> formats{
                {"text", similar::SimilarFormat::Text},
                {"json", similar::SimilarFormat::Json},
                {"html", similar::SimilarFormat::Html}};
            line_.similar.format = formats.at(similarFormat_);
        } else {
            line_.command = CommandLine::Command::Check;
            const std::map<std::string, check::ReportFormat> formats{
                {"text", check::ReportFormat::Text},
                {"json", check::ReportFormat::Json},
                {"junit", check::ReportFormat::Junit},
                {"tap", check::ReportFormat::Tap},
                {"html", check::ReportFormat::Html},
                {"gradescope", check::ReportFormat::Gradescope},
                {"prairielearn", check::ReportFormat::PrairieLearn},
                {"vpl", check::ReportFormat::Vpl},
                {"coderunner", check::ReportFormat::CodeRunner}};
            line_.check.format = formats.at(format_);
            if (checkTimeLimit_->count() > 0) {
                line_.check.timeLimitSeconds = checkSeconds_;
            }
        }
    }

private:
    void addAssemble() {
        assemble_ = app_.add_subcommand("assemble", "Prints the assembly listing of FILE");
        assemble_->add_option("FILE", line_.assemble.path, "The program")
            ->required()
            ->type_name("");
        assemble_->add_flag("--json", line_.assemble.json,
                            "Print the listing as one JSON object (docs/assemble.schema.json)");
        assemble_->footer(assembleFooter);
    }

    void addRun() {
        RunOptions& r = line_.run;
        run_ = app_.add_subcommand("run", "Assembles FILE and traces it without a window");
        run_->add_option("FILE", r.path, "The program")->required()->type_name("");
        addRepeated(
            *run_, "--input", [&r](const std::string& v) { r.inputs.push_back(v); },
            "Answer of the next IN box (none left: cancelled)")
            ->type_name("TEXT");
        addRepeated(
            *run_, "--answer", [&r](const std::string& v) { r.answers.push_back(v == "yes"); },
            "Answer of the next operand question (none left: yes)")
            ->check(oneOf({"yes", "no"}, "yes or no"))
            ->type_name("yes|no");
        run_->add_option("--breakpoint", r.breakpointLine,
                         "Wait only after a step that executes line N")
            ->check(wholeNumber(1, std::numeric_limits<int>::max(), "a line number"))
            ->type_name("N");
        run_->add_option("--max-steps", r.maxSteps,
                         "Stop at the step question after N steps (default " +
                             std::to_string(defaultMaxSteps) + ")")
            ->check(wholeNumber(0, maxStepsBound, "a number of steps"))
            ->type_name("N");
        run_->add_option("--max-output", r.maxOutputBytes,
                         "Stop before printing more than BYTES (default " +
                             std::to_string(defaultMaxOutputBytes) + ")")
            ->check(wholeNumber(0, maxOutputBound, "a number of bytes"))
            ->type_name("BYTES");
        timeLimit_ = run_->add_option("--time-limit", runSeconds_,
                                      "Stop the run after SECONDS (default: no limit)")
                         ->check(secondsUpTo(timeLimitBound))
                         ->type_name("SECONDS");
        addRepeated(
            *run_, "--press",
            [&r](const std::string& v) {
                const auto presses = pressesOf(v);
                r.presses.insert(r.presses.end(), presses->begin(), presses->end());
            },
            "Buttons at the first waits: n (Next), b (戻る), e (End)")
            ->check(CLI::Validator(
                [](std::string& value) -> std::string {
                    return pressesOf(value) ? std::string()
                                            : "takes buttons n, b and e separated by commas, "
                                              "not '" +
                                                  value + "'";
                },
                "", ""))
            ->type_name("SEQ");
        run_->add_flag("--simple", r.simpleDisplay, "Check 簡易表示 (the simple data display)");
        auto* json = run_->add_flag("--json", r.json,
                                    "Print the run as one JSON object (docs/run.schema.json)");
        auto* trace =
            run_->add_flag("--trace", r.trace, "Print the displays at every wait")->excludes(json);
        auto* table =
            run_->add_option_function<std::string>(
                    "--table",
                    [&r](const std::string& v) {
                        r.table = v == "csv" ? TraceTableFormat::Csv : TraceTableFormat::Markdown;
                    },
                    "Print the trace table instead: a row per step with the registers, PR, SP, "
                    "flags and the words written")
                ->check(oneOf({"csv", "markdown"}, "csv or markdown"))
                ->type_name("csv|markdown")
                ->excludes(json)
                ->excludes(trace);
        run_->add_option_function<std::string>(
                "--columns",
                [&r](const std::string& v) {
                    r.tableColumns = *TraceTableColumns::parse(platform::fromUtf8(v));
                },
                "The table's values: GR0 to GR7, PR, SP and FR (the flags), separated by commas")
            ->check(CLI::Validator(
                [](std::string& value) -> std::string {
                    return TraceTableColumns::parse(platform::fromUtf8(value))
                               ? std::string()
                               : "takes GR0 to GR7, PR, SP and FR separated by commas, not '" +
                                     value + "'";
                },
                "", ""))
            ->type_name("LIST")
            ->needs(table);
        run_->footer(runFooter);
    }

    void addCheck() {
        check::CheckOptions& c = line_.check;
        check_ =
            app_.add_subcommand("check", "Checks programs against the test cases of a TOML file");
        check_->add_option("TESTS.toml", c.testsPath, "The test file")->required()->type_name("");
        check_->add_option("PROGRAM_OR_FOLDER", c.programs, "Programs, or folders of programs")
            ->required()
            ->type_name("");
        auto* format =
            check_
                ->add_option("-f,--format", format_,
                             "text (default): a line per program; json; junit (JUnit XML); tap "
                             "(TAP 14); html (a page); for one program: gradescope, prairielearn, "
                             "vpl, coderunner")
                ->check(oneOf({"text", "json", "junit", "tap", "html", "gradescope", "prairielearn",
                               "vpl", "coderunner"},
                              "text, json, junit, tap, html, gradescope, prairielearn, vpl or "
                              "coderunner"))
                ->type_name("FORMAT");
        auto* verbose = check_->add_flag(
            "-v,--verbose", c.verbose, "text: every failing case with its inputs and differences");
        auto* output = check_->add_option("-o,--output", c.outputPath, "Write the report to FILE")
                           ->type_name("FILE");
        auto* cases =
            addRepeated(
                *check_, "--case", [&c](const std::string& v) { c.caseNames.push_back(v); },
                "Run only the case NAME (again for more)")
                ->type_name("NAME");
        auto* reference =
            check_
                ->add_option("--reference", c.referencePath,
                             "The teacher's solution: it must pass every case before the class is "
                             "checked (default: the test file's reference)")
                ->type_name("FILE");
        auto* jobs = check_
                         ->add_option("-j,--jobs", c.jobs,
                                      "Programs checked at once (default: one per core)")
                         ->check(wholeNumber(1, 1024, "a number of programs"))
                         ->type_name("N");
        // The explanation is a run and one verdict, not a report of a class.
        check_
            ->add_option("--explain", c.explainCase,
                         "Print the run of the case NAME as run --trace does, then its verdict")
            ->type_name("NAME")
            ->excludes(format)
            ->excludes(verbose)
            ->excludes(output)
            ->excludes(cases)
            ->excludes(reference)
            ->excludes(jobs);
        checkTimeLimit_ = check_
                              ->add_option("--time-limit", checkSeconds_,
                                           "Stop a case's run after SECONDS (default: no limit)")
                              ->check(secondsUpTo(timeLimitBound))
                              ->type_name("SECONDS");
        check_->footer(checkFooter);
    }

    void addSimilar() {
        similar::SimilarOptions& s = line_.similar;
        similar_ = app_.add_subcommand("similar", "Ranks pairs of programs by how alike they are");
        similar_->add_option("FOLDER", s.places, "Folders of programs, or programs")
            ->required()
            ->type_name("");
        similar_
            ->add_option("-f,--format", similarFormat_,
                         "text (default): the ranking and the lines alike; json; html (a page)")
            ->check(oneOf({"text", "json", "html"}, "text, json or html"))
            ->type_name("FORMAT");
        similar_->add_option("--top", s.top, "Show the N most alike pairs (default 10)")
            ->check(wholeNumber(1, 1'000'000, "a number of pairs"))
            ->type_name("N");
        similar_
            ->add_option("--min", s.minScore,
                         "Show only pairs that score at least SCORE percent (default 0)")
            ->check(wholeNumber(0, 100, "a score in percent"))
            ->type_name("SCORE");
        similar_->add_option("-o,--output", s.outputPath, "Write the report to FILE")
            ->type_name("FILE");
        similar_
            ->add_option("-j,--jobs", s.jobs, "Programs compared at once (default: one per core)")
            ->check(wholeNumber(1, 1024, "a number of programs"))
            ->type_name("N");
        similar_->footer(similarFooter);
    }

    CommandLine& line_;
    CLI::App app_{topDescription, "casl2"};
    CLI::App* assemble_ = nullptr;
    CLI::App* run_ = nullptr;
    CLI::App* check_ = nullptr;
    CLI::App* similar_ = nullptr;
    CLI::Option* timeLimit_ = nullptr;
    CLI::Option* checkTimeLimit_ = nullptr;
    double runSeconds_ = 0;
    double checkSeconds_ = 0;
    std::string format_ = "text";
    std::string similarFormat_ = "text";
};

/// The subcommand that was being read when parsing stopped; nullptr for the top level.
CLI::App* parsedSubcommand(const Casl2App& casl2) {
    for (CLI::App* sub : {casl2.assemble(), casl2.run(), casl2.check(), casl2.similar()}) {
        if (sub->parsed()) {
            return sub;
        }
    }
    return nullptr;
}

/// What is wrong, naming the argument. A missing FILE after an unknown option is reported as
/// the unknown option, which is what the user got wrong.
std::string problemOf(const CLI::ParseError& error, const CLI::App* sub, const CLI::App& top) {
    if (dynamic_cast<const CLI::ValidationError*>(&error) != nullptr) {
        // CLI11 writes "--press: takes ..."; the option takes it.
        std::string text = error.what();
        if (const std::size_t colon = text.find(": takes "); colon != std::string::npos) {
            text.erase(colon, 1);
        }
        return text;
    }
    const bool extras = dynamic_cast<const CLI::ExtrasError*>(&error) != nullptr;
    const bool missing = dynamic_cast<const CLI::RequiredError*>(&error) != nullptr;
    const std::vector<std::string> unexpected = (sub != nullptr ? sub : &top)->remaining();
    if ((extras || missing) && !unexpected.empty()) {
        const std::string& first = unexpected.front();
        if (first.size() > 1 && first.starts_with("-")) {
            return "unknown option '" + first + "'";
        }
        if (sub == nullptr) {
            return "unknown command '" + first + "'";
        }
        return "unexpected argument '" + first + "'";
    }
    if (missing && sub == nullptr) {
        return "a command is required: assemble, run, check or similar";
    }
    return error.what();
}

} // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                   std::ostream& err) {
    CommandLine line;
    Casl2App casl2(line);
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        casl2.app().parse(reversed);
    } catch (const CLI::CallForHelp&) {
        const CLI::App* sub = parsedSubcommand(casl2);
        out << (sub != nullptr ? sub->help("casl2") : casl2.app().help());
        return {std::nullopt, exit_status::success};
    } catch (const CLI::CallForVersion& version) {
        out << version.what() << '\n';
        return {std::nullopt, exit_status::success};
    } catch (const CLI::ParseError& error) {
        const CLI::App* sub = parsedSubcommand(casl2);
        const std::string name = sub != nullptr ? "casl2 " + sub->get_name() : "casl2";
        err << name << ": " << problemOf(error, sub, casl2.app()) << "\nRun '" << name
            << " --help' for the options.\n";
        return {std::nullopt, exit_status::usageOrFileError};
    }
    casl2.finish();
    return {line, exit_status::success};
}

} // namespace casl::cli
