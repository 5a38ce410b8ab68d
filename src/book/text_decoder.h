// Game collections come in UTF-8, GBK/GB18030 or Big5. The decoder guesses the
// encoding of a file from its first bytes and turns the whole file into UTF-8
// through iconv, piece by piece, so a file of any size costs little memory.
#pragma once
#include <cstddef>
#include <cstdio>
#include <string>

enum class text_encoding { UTF8, GB18030, BIG5 };

const char* encoding_name(text_encoding enc);

// The encoding under which `sample` reads best: valid UTF-8 (ASCII included)
// wins outright; otherwise the one that yields the most notation characters.
text_encoding detect_encoding(const char* sample, size_t size);

// Reads a file as UTF-8 text. Bytes the encoding cannot read become U+FFFD.
class TextDecoder {
public:
    TextDecoder() = default;
    ~TextDecoder();
    TextDecoder(const TextDecoder&) = delete;
    TextDecoder& operator=(const TextDecoder&) = delete;

    // Opens the file and detects its encoding; false (with `error`) when it cannot be read.
    bool open(const std::string& path, std::string& error);
    text_encoding encoding() const { return encoding_; }
    // The next piece of UTF-8 text; false at the end of the file.
    bool next(std::string& out);
    // Bytes that could not be read in the file's encoding so far.
    long bad_bytes() const { return bad_bytes_; }

private:
    FILE* file_ = nullptr;
    void* converter_ = reinterpret_cast<void*>(-1);
    text_encoding encoding_ = text_encoding::UTF8;
    std::string pending_;  // undecoded bytes carried to the next piece
    bool at_end_ = false;
    bool first_piece_ = true;
    long bad_bytes_ = 0;
};
