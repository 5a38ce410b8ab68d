// Replacing a file's contents so that a crash or a full disk never leaves it damaged.
#pragma once
#include <cstddef>
#include <string>

namespace platform {

// Writes `size` bytes to a new temporary file next to `path`, flushes it to the
// disk and renames it over `path` (keeping the old file's permissions). On any
// failure the temporary file is removed, `path` is untouched and the result is false.
bool replace_file(const std::string& path, const void* data, size_t size);

// The first half of replace_file: the bytes in a new temporary file next to
// `path`, on the disk, with the old file's permissions. Returns its name, or
// "" on failure (nothing left behind).
std::string write_temp_file(const std::string& path, const void* data, size_t size);

}  // namespace platform
