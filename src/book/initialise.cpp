// Initialise and destroy: the two virtual operations of the engine object.
#include "book/initialise.h"

#include <cstdio>

#include "book/hash_book.h"
#include "book/prime_keys.h"
#include "eval/evaluate.h"
#include "platform/program_dir.h"
#include "search/tt.h"

namespace {

// The program's directory first, then the working directory.
FILE* open_prime_file(const std::string& dir) {
    FILE* f = dir.empty() ? nullptr : std::fopen((dir + "/_prime.txt").c_str(), "r");
    return f ? f : std::fopen("_prime.txt", "r");
}

}  // namespace

int initialise_engine(Count& e, int hash_megabytes, const std::string& dir) {
    if (e.ready_state != 0) return 0;
    build_evaluation_tables(e);
    if (!tt_resize(e, hash_megabytes)) {
        std::fprintf(stderr, "cannot allocate the transposition tables\n");
        return 0;
    }
    FILE* primes = open_prime_file(dir);
    if (primes == nullptr) {
        std::fprintf(stderr, "cannot open _prime.txt in the program's or the working directory\n");
        tt_free(e);
        return 0;
    }
    const char* error = nullptr;
    const bool loaded = read_prime_keys(e, primes, &error);
    std::fclose(primes);
    if (!loaded) {
        std::fprintf(stderr, "%s\n", error);
        tt_free(e);
        return 0;
    }
    e.ready_state = 1;
    hash_book_load(e, (dir.empty() ? std::string(".") : dir) + "/hashbook.bin");
    return 1;
}

int Count::initialise(int hash_megabytes) {
    return initialise_engine(*this, hash_megabytes, platform::program_directory());
}

int Count::destroy() {
    if (ready_state == 0) return 1;
    if (tt_size != 0) tt_free(*this);
    hash_book_save(*this);
    ready_state = 0;
    return 1;
}
