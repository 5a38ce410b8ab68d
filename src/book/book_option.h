// The book options record owned by the command loop and read by the book probe.
#pragma once
#include <cstdint>
#include <forward_list>
#include <memory>
#include <string>

struct bookoption_t {
    bool use_book = true;
    int32_t book_kind = 0;
    // Holds the result of open_book_files; its presence tells shutdown to close the files.
    std::unique_ptr<int> book_file_marker;
    std::forward_list<std::string> book_files;  // never filled by the front end
    int32_t book_file_count = 0;
};
