#include "workbench/disk_services.h"

#include "platform/file_writer.h"
#include "platform/temp_folder.h"
#include "platform/text_codec.h"
#include "platform/text_file.h"

#include <filesystem>
#include <system_error>

namespace casl {

namespace {

std::filesystem::path pathOf(std::u32string_view name) {
    return std::filesystem::path(platform::toUtf8(name));
}

} // namespace

std::variant<platform::SourceText, platform::FileError>
DiskSourceFiles::read(std::u32string_view name) {
    const std::filesystem::path path = pathOf(name);
    return platform::forEditor(platform::readSourceFile(path), path);
}

std::optional<platform::FileError> DiskSourceFiles::write(std::u32string_view name,
                                                          std::u32string_view text,
                                                          const SourceFormat& format) {
    return platform::writeSourceFile(pathOf(name), text, format.encoding, format.lineEnds);
}

std::optional<std::u32string> DiskScratchFiles::writeInfoText(std::u32string_view text) {
    auto path = platform::temporaryFilePath(platform::infoFileName);
    if (const auto* error = std::get_if<platform::FileError>(&path)) {
        return error->message;
    }
    if (auto error = platform::writeTextFile(std::get<std::filesystem::path>(path), text)) {
        return error->message;
    }
    return std::nullopt;
}

void DiskScratchFiles::keepProgramText(std::u32string_view text) {
    // A failure is harmless: the run's end then takes the copy the session keeps in memory.
    auto path = platform::temporaryFilePath(platform::scratchFileName);
    if (const auto* file = std::get_if<std::filesystem::path>(&path)) {
        static_cast<void>(platform::writeTextFile(*file, std::u32string(text) + U"\r\n"));
    }
}

std::optional<std::u32string> DiskScratchFiles::takeProgramText() {
    auto path = platform::temporaryFilePath(platform::scratchFileName);
    const auto* file = std::get_if<std::filesystem::path>(&path);
    if (file == nullptr) {
        return std::nullopt;
    }
    auto read = platform::readTextFile(*file);
    std::error_code ignored;
    std::filesystem::remove(*file, ignored);
    auto* stored = std::get_if<std::u32string>(&read);
    if (stored == nullptr) {
        return std::nullopt;
    }
    // The run start added one CR LF.
    if (stored->ends_with(U"\r\n")) {
        stored->resize(stored->size() - 2);
    }
    return std::move(*stored);
}

bool RecoveryStore::keep(std::u32string_view text, std::u32string_view fileName) {
    return !file_.write({std::u32string(text), std::u32string(fileName)});
}

void RecoveryStore::remove() {
    file_.remove();
}

std::optional<UnsavedTextStore::Left> RecoveryStore::left() {
    left_ = platform::leftRecoveries();
    if (left_.empty()) {
        return std::nullopt;
    }
    const platform::Recovery& newest = left_.front().recovery;
    return Left{newest.text, newest.fileName};
}

void RecoveryStore::discardLeft() {
    if (!left_.empty()) {
        platform::discardRecovery(left_.front());
        left_.clear();
    }
}

} // namespace casl
