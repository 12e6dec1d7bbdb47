#include "special_files.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace casl::platform::test {

bool makeFifo(const std::filesystem::path& path) {
    return ::mkfifo(path.c_str(), 0600) == 0;
}

bool makeCharDevice(const std::filesystem::path& path) {
    return ::mknod(path.c_str(), S_IFCHR | 0600, makedev(1, 5)) == 0;
}

bool makeSocket(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.native().size() >= sizeof address.sun_path) {
        return false;
    }
    path.native().copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    if (fd < 0) {
        return false;
    }
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool makeFolder(const std::filesystem::path& path) {
    return std::filesystem::create_directory(path);
}

const SpecialFileCase& fifoCase() {
    static const SpecialFileCase kind{"Fifo", makeFifo, U"名前付きパイプ (FIFO)"};
    return kind;
}

const SpecialFileCase& charDeviceCase() {
    static const SpecialFileCase kind{"CharDevice", makeCharDevice, U"デバイス"};
    return kind;
}

const SpecialFileCase& socketCase() {
    static const SpecialFileCase kind{"Socket", makeSocket, U"ソケット"};
    return kind;
}

const SpecialFileCase& folderCase() {
    static const SpecialFileCase kind{"Folder", makeFolder, U"フォルダ"};
    return kind;
}

} // namespace casl::platform::test
