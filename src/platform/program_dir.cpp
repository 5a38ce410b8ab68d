#include "platform/program_dir.h"

#include <climits>
#include <unistd.h>

namespace platform {

std::string program_directory() {
    char path[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0) return {};
    std::string s(path, static_cast<size_t>(n));
    const size_t slash = s.rfind('/');
    if (slash == std::string::npos) return {};
    return slash == 0 ? std::string("/") : s.substr(0, slash);
}

}  // namespace platform
