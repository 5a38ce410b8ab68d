#include "platform/regular_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

open_result open_regular_file(const std::string& path, const char* mode, FILE*& file) {
    file = nullptr;
    const int access = std::strchr(mode, '+') != nullptr ? O_RDWR : O_RDONLY;
    // Non-blocking only for the open: a FIFO without a writer would wait for ever.
    const int fd = open(path.c_str(), access | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return open_result::missing;
        return errno == EISDIR ? open_result::not_regular : open_result::failed;
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return open_result::not_regular;
    }
    const int flags = fcntl(fd, F_GETFL);
    if (flags < 0 || fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0 || (file = fdopen(fd, mode)) == nullptr) {
        close(fd);
        return open_result::failed;
    }
    return open_result::opened;
}

}  // namespace platform
