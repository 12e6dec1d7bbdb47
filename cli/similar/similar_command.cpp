#include "cli/similar/similar_command.h"

#include "cli/check/report_destination.h"
#include "cli/similar/similarity_report.h"
#include "platform/file_writer.h"
#include "platform/source_file.h"
#include "platform/text_codec.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <exception>
#include <filesystem>
#include <mutex>
#include <ostream>
#include <thread>

namespace casl::similar {
namespace {

namespace fs = std::filesystem;

bool isProgramName(const fs::path& path) {
    std::string extension = path.extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension == ".cas";
}

/// A name as the reports show it: bytes that are not UTF-8 become U+FFFD.
std::string shownName(const std::string& name) {
    return platform::toUtf8(platform::fromUtf8(name));
}

similarity::ProgramFingerprint programAt(const std::string& path) {
    auto source = platform::readSourceFile(path);
    if (const auto* error = std::get_if<platform::FileError>(&source)) {
        return similarity::unreadableProgram(shownName(path),
                                             "cannot be read: " + platform::toUtf8(error->message));
    }
    return similarity::fingerprintOf(shownName(path), std::get<platform::SourceText>(source).text);
}

/// Reads and fingerprints every program, `jobs` at a time; the result keeps the order of
/// `paths`.
std::vector<similarity::ProgramFingerprint> programsAt(const std::vector<std::string>& paths,
                                                       unsigned jobs) {
    std::vector<similarity::ProgramFingerprint> programs(paths.size());
    std::atomic<std::size_t> next{0};
    std::mutex failing;
    std::exception_ptr failure;
    const auto work = [&] {
        try {
            for (std::size_t i = next++; i < paths.size(); i = next++) {
                programs[i] = programAt(paths[i]);
            }
        } catch (...) {
            const std::lock_guard lock(failing);
            failure = std::current_exception();
        }
    };
    {
        std::vector<std::jthread> threads;
        for (std::size_t t = 1; t < std::min<std::size_t>(jobs, paths.size()); ++t) {
            threads.emplace_back(work);
        }
        work();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
    return programs;
}

SimilarityReport reportOf(std::vector<similarity::ProgramFingerprint> programs,
                          const SimilarOptions& options, unsigned jobs) {
    SimilarityReport report;
    const auto compared = static_cast<std::size_t>(
        std::ranges::count_if(programs, [](const auto& p) { return p.compared(); }));
    report.comparedPairs = compared * (compared - (compared > 0 ? 1 : 0)) / 2;
    std::vector<similarity::SimilarPair> pairs =
        similarity::similarPairs(programs, options.minScore, jobs);
    if (pairs.size() > options.top) {
        pairs.resize(options.top);
    }
    for (const similarity::SimilarPair& pair : pairs) {
        report.pairs.push_back(
            {pair, similarity::matchingLines(programs[pair.first], programs[pair.second])});
    }
    report.programs = std::move(programs);
    return report;
}

std::string formatted(const SimilarityReport& report, SimilarFormat format) {
    switch (format) {
    case SimilarFormat::Json:
        return similarityJson(report);
    case SimilarFormat::Html:
        return similarityHtml(report);
    case SimilarFormat::Text:
        break;
    }
    return similarityText(report);
}

} // namespace

std::vector<std::string> programPaths(const std::vector<std::string>& arguments) {
    std::vector<std::string> paths;
    for (const std::string& argument : arguments) {
        std::error_code error;
        if (!fs::is_directory(argument, error)) {
            paths.push_back(argument);
            continue;
        }
        std::vector<std::string> found;
        const auto options = fs::directory_options::skip_permission_denied;
        for (fs::recursive_directory_iterator it(argument, options, error), end;
             !error && it != end; it.increment(error)) {
            std::error_code kindError;
            if (isProgramName(it->path()) && !it->is_directory(kindError)) {
                found.push_back(it->path().string());
            }
        }
        if (error) {
            // An unreadable folder is reported as a program that cannot be read, naming it.
            paths.push_back(argument);
            continue;
        }
        std::sort(found.begin(), found.end());
        paths.insert(paths.end(), found.begin(), found.end());
    }
    return paths;
}

int similarCommand(const SimilarOptions& options, std::ostream& out, std::ostream& err) {
    const std::vector<std::string> paths = programPaths(options.places);
    if (paths.empty()) {
        err << "casl2 similar: no .cas programs in the folders given\n";
        return cli::exit_status::usageOrFileError;
    }
    const std::vector<fs::path> inputs(paths.begin(), paths.end());
    const auto destination = check::reportDestination(options.outputPath, inputs);
    if (const auto* refused = std::get_if<check::DestinationRefused>(&destination)) {
        err << "casl2 similar: " << refused->message << '\n';
        return cli::exit_status::usageOrFileError;
    }
    const unsigned jobs =
        options.jobs == 0 ? std::max(1u, std::thread::hardware_concurrency()) : options.jobs;
    const std::string report =
        formatted(reportOf(programsAt(paths, jobs), options, jobs), options.format);

    const check::ReportDestination& to = std::get<check::ReportDestination>(destination);
    switch (to.kind) {
    case check::ReportDestination::Kind::StandardOutput:
        out << report << std::flush;
        break;
    case check::ReportDestination::Kind::StandardError:
        err << report << std::flush;
        if (err.fail()) {
            return cli::exit_status::outputLost;
        }
        break;
    case check::ReportDestination::Kind::File:
        if (const auto error = platform::writeFileAtomically(to.path, report)) {
            err << "casl2 similar: cannot write " << options.outputPath << " (" << error->reason
                << ")\n";
            return cli::exit_status::outputLost;
        }
        break;
    }
    return cli::exit_status::success;
}

} // namespace casl::similar
