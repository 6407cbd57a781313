#include "platform/fs/TempFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <unistd.h>
#include <vector>

namespace platform {

std::string createTempFile(std::string_view prefix, std::string_view suffix,
                           std::string_view bytes) {
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = std::string(folder && *folder ? folder : "/tmp") + "/" +
                          std::string(prefix) + "XXXXXX" + std::string(suffix);
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    // mkstemps opens the file with O_CREAT | O_EXCL and mode 0600.
    int fd = mkstemps(name.data(), static_cast<int>(suffix.size()));
    if (fd < 0)
        throw std::runtime_error("Cannot create a temporary file in " + pattern + ": " +
                                 std::strerror(errno));
    std::string path(name.data());
    size_t written = 0;
    while (written < bytes.size()) {
        ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int error = errno;
            ::close(fd);
            ::unlink(path.c_str());
            throw std::runtime_error("Cannot write the temporary file " + path + ": " +
                                     std::strerror(error));
        }
        written += static_cast<size_t>(n);
    }
    ::close(fd);
    return path;
}

} // namespace platform
