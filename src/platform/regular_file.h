// Opening data files that must be ordinary files: a FIFO, a device or a
// directory in their place would block the start or feed the engine nonsense.
#pragma once
#include <cstdio>
#include <string>

namespace platform {

enum class open_result { opened, missing, not_regular, failed };

// Opens an existing regular file with an fopen mode ("rb" or "rb+"), never
// blocking on what stands at `path`. `file` is set only when opened.
open_result open_regular_file(const std::string& path, const char* mode, FILE*& file);

}  // namespace platform
