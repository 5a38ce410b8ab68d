#include "book/book_files.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>

#include "book/book_key.h"
#include "platform/regular_file.h"

namespace {

FILE* index_file = nullptr;  // "sg.hash"
FILE* data_file = nullptr;   // "sg.data"

// For update as the files are kept; a read-only file still serves lookups.
// Only a regular file is read: a FIFO or a device would block every lookup.
FILE* open_existing(const std::string& path) {
    FILE* f = nullptr;
    const platform::open_result r = platform::open_regular_file(path, "rb+", f);
    if (r == platform::open_result::failed) platform::open_regular_file(path, "rb", f);
    if (r == platform::open_result::not_regular) std::fprintf(stderr, "%s is not a regular file\n", path.c_str());
    return f;
}

void create_if_missing(const std::string& path) {
    if (FILE* f = std::fopen(path.c_str(), "a+")) std::fclose(f);
}

long file_size(FILE* f) {
    return std::fseek(f, 0, SEEK_END) == 0 ? std::ftell(f) : -1;
}

uint32_t get32(const uint8_t* p) {
    return p[0] | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// Every bucket empty (-1). A write that fails part-way is undone, so that the
// next start fills the index again instead of keeping half of it.
void fill_empty_index(FILE* f, const std::string& path) {
    unsigned char chunk[4096];
    std::memset(chunk, 0xFF, sizeof(chunk));
    constexpr long total = 4L * BOOK_INDEX_WORDS;
    bool ok = std::fseek(f, 0, SEEK_SET) == 0;
    for (long done = 0; ok && done < total; done += sizeof(chunk)) {
        ok = std::fwrite(chunk, 1, sizeof(chunk), f) == sizeof(chunk);
    }
    ok = std::fflush(f) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "cannot fill the new book index %s\n", path.c_str());
        if (ftruncate(fileno(f), 0) != 0) std::fprintf(stderr, "cannot empty %s again\n", path.c_str());
    }
}

}  // namespace

int open_book_files() { return open_book_files_in("."); }

int open_book_files_in(const char* directory) {
    close_book_files();
    const std::string base = std::string(directory) + "/sg";
    const std::string index_path = base + ".hash", data_path = base + ".data";
    create_if_missing(index_path);
    create_if_missing(data_path);
    index_file = open_existing(index_path);
    if (index_file != nullptr && file_size(index_file) == 0) fill_empty_index(index_file, index_path);
    data_file = open_existing(data_path);
    if (index_file == nullptr || data_file == nullptr) {
        std::fprintf(stderr, "cannot open %s: the opening book is not used\n",
                     (index_file == nullptr ? index_path : data_path).c_str());
        return 0;
    }
    return 1;
}

void close_book_files() {
    if (data_file != nullptr) std::fclose(data_file);
    if (index_file != nullptr) std::fclose(index_file);
    data_file = index_file = nullptr;
}

int32_t book_lookup(const uint8_t key[32]) {
    if (index_file == nullptr || data_file == nullptr) return -1;
    const long size = file_size(data_file);
    uint8_t word[4];
    if (std::fseek(index_file, 4L * book_bucket(key), SEEK_SET) != 0 ||
        std::fread(word, 1, sizeof(word), index_file) != sizeof(word)) {
        return -1;
    }
    auto offset = static_cast<int32_t>(get32(word));
    // No chain is longer than the file has records; a longer walk is a loop.
    const long records = size / BOOK_RECORD_BYTES;
    for (long walked = 0; offset != -1; ++walked) {
        if (walked >= records || offset < 0 || offset > size - BOOK_RECORD_BYTES) return -1;
        uint8_t head[BOOK_PAYLOAD_OFFSET];
        if (std::fseek(data_file, offset, SEEK_SET) != 0 ||
            std::fread(head, 1, sizeof(head), data_file) != sizeof(head)) {
            return -1;
        }
        if (std::memcmp(head, key, 32) == 0) return offset;
        offset = static_cast<int32_t>(get32(head + 32));
    }
    return -1;
}

int book_read_payload(int32_t offset, uint8_t payload[32]) {
    if (data_file == nullptr || offset < 0) return 0;
    if (std::fseek(data_file, static_cast<long>(offset) + BOOK_PAYLOAD_OFFSET, SEEK_SET) != 0) return 0;
    return static_cast<int>(std::fread(payload, 1, BOOK_PAYLOAD_BYTES, data_file));
}
