#include "book/prime_keys.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <memory>

#include "board/geometry.h"
#include "platform/regular_file.h"

namespace {

bool parse_int32(const char* token, int32_t& out) {
    const char* digits = token + (*token == '+' || *token == '-');
    if (*digits < '0' || *digits > '9') return false;
    char* end = nullptr;
    errno = 0;
    const long long v = std::strtoll(token, &end, 10);
    if (*end != '\0' || errno == ERANGE || v < INT32_MIN || v > INT32_MAX) return false;
    out = static_cast<int32_t>(v);
    return true;
}

// The program's directory first, then the working directory.
FILE* open_prime_file(const std::string& dir) {
    FILE* f = nullptr;
    for (const std::string& path : {dir.empty() ? std::string() : dir + "/_prime.txt", std::string("_prime.txt")}) {
        if (path.empty()) continue;
        const platform::open_result r = platform::open_regular_file(path, "r", f);
        if (r == platform::open_result::opened) return f;
        if (r == platform::open_result::not_regular) {
            std::fprintf(stderr, "%s is not a regular file: it is not read\n", path.c_str());
            return nullptr;
        }
    }
    std::fprintf(stderr, "cannot open _prime.txt in the program's or the working directory\n");
    return nullptr;
}

}  // namespace

bool read_prime_keys(Count& e, FILE* file, const char** error) {
    auto numbers = std::make_unique<uint32_t[]>(PRIME_NUMBER_COUNT);
    char token[64];
    for (int i = 0; i < PRIME_NUMBER_COUNT; ++i) {
        if (std::fscanf(file, "%63s", token) != 1) {
            *error = "_prime.txt holds fewer than 2520 numbers";
            return false;
        }
        // A token cut at 63 characters (more follow at once) is refused, not split in two.
        const int next = std::fgetc(file);
        int32_t v = 0;
        if ((next != EOF && !std::isspace(next)) || !parse_int32(token, v)) {
            *error = "_prime.txt holds a token that is not a signed 32-bit number";
            return false;
        }
        numbers[i] = static_cast<uint32_t>(v);
    }
    int i = 0;
    for (int type = 1; type <= 14; ++type) {
        for (int rank = 0; rank < 10; ++rank) {
            for (int file_index = 0; file_index < 9; ++file_index) {
                const int sq = make_square(file_index, rank);
                e.zobrist_key_table[type][sq] = numbers[i++];
                e.zobrist_lock_table[type][sq] = numbers[i++];
            }
        }
    }
    return true;
}

bool load_prime_keys(Count& e, const std::string& program_dir) {
    FILE* f = open_prime_file(program_dir);
    if (f == nullptr) return false;
    const char* error = nullptr;
    const bool loaded = read_prime_keys(e, f, &error);
    std::fclose(f);
    if (!loaded) std::fprintf(stderr, "%s\n", error);
    return loaded;
}
