// The whole contents of a file as bytes ("" when it cannot be read).
#pragma once
#include <fstream>
#include <iterator>
#include <string>

inline std::string read_file(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}
