#pragma once

#include <filesystem>
#include <ostream>
#include <string>

namespace casl::platform::test {

/// Makes a file of one kind at a path; false when the system refuses (no privilege).
using SpecialFileMaker = bool (*)(const std::filesystem::path&);

/// One kind of file that is not a regular file, as the messages name it.
struct SpecialFileCase {
    std::string name;
    SpecialFileMaker make;
    std::u32string kind;
};

inline void PrintTo(const SpecialFileCase& kind, std::ostream* out) {
    *out << kind.name;
}

bool makeFifo(const std::filesystem::path& path);
/// A node of the device behind /dev/zero, which hands out bytes for ever.
bool makeCharDevice(const std::filesystem::path& path);
bool makeSocket(const std::filesystem::path& path);
bool makeFolder(const std::filesystem::path& path);

/// A FIFO, a device node, a socket and a folder.
const SpecialFileCase& fifoCase();
const SpecialFileCase& charDeviceCase();
const SpecialFileCase& socketCase();
const SpecialFileCase& folderCase();

} // namespace casl::platform::test
