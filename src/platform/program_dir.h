// Directory of the running executable (where "_prime.txt" and "hashbook.bin" live).
#pragma once
#include <string>

namespace platform {

// The directory of /proc/self/exe without a trailing slash, or "" if unknown.
std::string program_directory();

}  // namespace platform
