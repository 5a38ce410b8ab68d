// The book options record owned by the command loop and read by the book probe.
#pragma once
#include <memory>

struct bookoption_t {
    bool use_book = true;
    // Holds the result of open_book_files; its presence tells shutdown to close the files.
    std::unique_ptr<int> book_file_marker;
};
