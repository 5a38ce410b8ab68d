#include "book/book_files.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "book/book_key.h"
#include "platform/regular_file.h"

namespace {

FILE* index_file = nullptr;  // "sg.hash"
FILE* data_file = nullptr;   // "sg.data"
std::string data_name;       // for messages
bool damage_reported = false;  // once per opened book, not at every lookup

void opened_data(const std::string& path) {
    data_name = path;
    damage_reported = false;
}

void report_damaged_chain(const char* why) {
    if (damage_reported) return;
    damage_reported = true;
    std::fprintf(stderr, "%s: a chain of the opening book %s; such chains are cut as damaged\n", data_name.c_str(), why);
}

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
    opened_data(data_path);
    if (index_file == nullptr || data_file == nullptr) {
        std::fprintf(stderr, "cannot open %s: the opening book is not used\n",
                     (index_file == nullptr ? index_path : data_path).c_str());
        return 0;
    }
    return 1;
}

namespace {

bool has_records(const std::string& base) {
    struct stat index {}, data {};
    return stat((base + ".hash").c_str(), &index) == 0 && stat((base + ".data").c_str(), &data) == 0 && data.st_size > 0;
}

// Opens an existing pair without creating anything; a wrong-sized index is no book.
bool open_existing_pair(const std::string& base, std::string& error) {
    close_book_files();
    index_file = std::fopen((base + ".hash").c_str(), "rb");
    data_file = index_file ? std::fopen((base + ".data").c_str(), "rb") : nullptr;
    opened_data(base + ".data");
    if (index_file == nullptr || data_file == nullptr) {
        error = std::string("cannot open ") + base + (index_file == nullptr ? ".hash" : ".data");
    } else if (file_size(index_file) != 4L * BOOK_INDEX_WORDS) {
        error = base + ".hash is not a book index of " + std::to_string(4L * BOOK_INDEX_WORDS) + " bytes";
    } else {
        return true;
    }
    close_book_files();
    return false;
}

// "DIR" or "DIR/NAME.hash" as the base name of the pair.
std::string book_base(const std::string& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) return path + "/sg";
    if (path.size() > 5 && path.compare(path.size() - 5, 5, ".hash") == 0) return path.substr(0, path.size() - 5);
    return path;
}

}  // namespace

int open_default_book(const std::string& program_dir) {
    // A book with records in the working directory is used as it stands; without
    // one, the book beside the program, which is then only read.
    if (!has_records("./sg") && !program_dir.empty() && has_records(program_dir + "/sg")) {
        std::string error;
        if (open_existing_pair(program_dir + "/sg", error)) return 1;
    }
    return open_book_files();
}

int open_book_path(const std::string& path, const std::string& program_dir) {
    if (path.empty()) return open_default_book(program_dir);
    std::string base = book_base(path);
    if (path[0] != '/' && !program_dir.empty() && !has_records(base) && has_records(book_base(program_dir + "/" + path)))
        base = book_base(program_dir + "/" + path);
    std::string error;
    if (open_existing_pair(base, error)) return 1;
    std::fprintf(stderr, "bookfiles %s: %s; no opening book is used\n", path.c_str(), error.c_str());
    return 0;
}

void close_book_files() {
    if (data_file != nullptr) std::fclose(data_file);
    if (index_file != nullptr) std::fclose(index_file);
    data_file = index_file = nullptr;
}

int32_t book_lookup(const uint8_t key[32]) {
    if (index_file == nullptr || data_file == nullptr) return -1;
    struct stat st {};
    if (fstat(fileno(data_file), &st) != 0) return -1;
    const long size = static_cast<long>(st.st_size);
    uint8_t word[4];
    if (std::fseek(index_file, 4L * book_bucket(key), SEEK_SET) != 0 ||
        std::fread(word, 1, sizeof(word), index_file) != sizeof(word)) {
        return -1;
    }
    auto offset = static_cast<int32_t>(get32(word));
    // A loop is caught as soon as an offset comes round again (Brent's method:
    // a marker offset moved to the walk's end at every power of two), so a
    // looping chain costs a few reads; a long one ends at the chain bound.
    const long records = size / BOOK_RECORD_BYTES;
    const long longest = records < MAX_BOOK_CHAIN ? records : MAX_BOOK_CHAIN;
    int32_t marker = offset;
    long power = 1, since_marker = 0;
    for (long walked = 0; offset != -1; ++walked) {
        if (offset < 0 || offset > size - BOOK_RECORD_BYTES) return -1;
        if (walked >= longest) {
            report_damaged_chain("is longer than a book chain can be");
            return -1;
        }
        // pread leaves the stream alone and skips refilling its buffer for 36 bytes.
        uint8_t head[BOOK_PAYLOAD_OFFSET];
        if (pread(fileno(data_file), head, sizeof(head), offset) != static_cast<ssize_t>(sizeof(head))) return -1;
        if (std::memcmp(head, key, 32) == 0) return offset;
        offset = static_cast<int32_t>(get32(head + 32));
        if (offset == marker) {
            report_damaged_chain("loops");
            return -1;
        }
        if (++since_marker == power) {
            marker = offset;
            power *= 2;
            since_marker = 0;
        }
    }
    return -1;
}

int book_read_payload(int32_t offset, uint8_t payload[32]) {
    if (data_file == nullptr || offset < 0) return 0;
    if (std::fseek(data_file, static_cast<long>(offset) + BOOK_PAYLOAD_OFFSET, SEEK_SET) != 0) return 0;
    return static_cast<int>(std::fread(payload, 1, BOOK_PAYLOAD_BYTES, data_file));
}
