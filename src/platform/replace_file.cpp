#include "platform/replace_file.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

bool write_all(int fd, const unsigned char* p, size_t size) {
    while (size > 0) {
        const ssize_t n = write(fd, p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

std::string write_temp_file(const std::string& path, const void* data, size_t size) {
    std::string temp = path + ".XXXXXX";
    const int fd = mkstemp(temp.data());
    if (fd < 0) return {};
    struct stat old {};
    const mode_t mode = stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0644;
    bool ok = fchmod(fd, mode) == 0 && write_all(fd, static_cast<const unsigned char*>(data), size) &&
              fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) return temp;
    unlink(temp.c_str());
    return {};
}

bool replace_file(const std::string& path, const void* data, size_t size) {
    const std::string temp = write_temp_file(path, data, size);
    if (temp.empty()) return false;
    if (std::rename(temp.c_str(), path.c_str()) == 0) return true;
    unlink(temp.c_str());
    return false;
}

}  // namespace platform
