#include "check_test_support.h"

#include "grading/program_check.h"
#include "grading/test_file_reader.h"

#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <stdexcept>

namespace casl::check::test {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "casl2-check-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a scratch folder");
    }
    path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(path_, ignored);
}

fs::path ScratchFolder::write(const std::string& name, std::string_view bytes) const {
    const fs::path file = path_ / name;
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << bytes;
    return file;
}

std::string program(std::initializer_list<std::string_view> lines) {
    std::string text;
    for (std::string_view line : lines) {
        text.append(line);
        text.append("\r\n");
    }
    return text;
}

TestFile testFile(std::string_view toml) {
    auto read = parseTestFile(toml, "tests.toml");
    if (const auto* error = std::get_if<TestFileError>(&read)) {
        ADD_FAILURE() << error->message;
        return {};
    }
    return std::get<TestFile>(read);
}

ProgramResult checkSource(std::string_view source, std::string_view toml) {
    const ScratchFolder folder;
    const fs::path path = folder.write("prog.cas", source);
    return checkProgram({path, "prog.cas"}, testFile(toml));
}

std::string mismatchNames(const CaseResult& result) {
    std::string names;
    for (const Mismatch& m : result.mismatches) {
        names += (names.empty() ? "" : ", ") + m.what;
    }
    return names;
}

std::string failureOf(const CaseResult& result) {
    std::string text = result.problem;
    for (const Mismatch& m : result.mismatches) {
        text +=
            (text.empty() ? "" : "; ") + m.what + ": expected " + m.expected + " | got " + m.actual;
    }
    return text;
}

} // namespace casl::check::test
