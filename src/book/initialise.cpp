// Initialise and destroy: the two virtual operations of the engine object.
#include "book/initialise.h"

#include <cstdio>
#include <initializer_list>
#include <string>

#include "book/hash_book.h"
#include "book/prime_keys.h"
#include "eval/evaluate.h"
#include "platform/program_dir.h"
#include "platform/regular_file.h"
#include "search/tt_memory.h"

namespace {

// The program's directory first, then the working directory. Something other
// than a regular file under the name is damage, not absence: it is refused.
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

int initialise_engine(Count& e, int hash_megabytes, const std::string& dir) {
    if (e.ready_state != 0) return 0;
    build_evaluation_tables(e);
    if (!tt_resize(e, hash_megabytes)) {
        std::fprintf(stderr, "cannot allocate the transposition tables\n");
        return 0;
    }
    FILE* primes = open_prime_file(dir);
    if (primes == nullptr) {
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
