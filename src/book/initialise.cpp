// Initialise and destroy: the two virtual operations of the engine object.
#include "book/initialise.h"

#include <cstdio>
#include <string>

#include "book/hash_book.h"
#include "book/prime_keys.h"
#include "eval/evaluate.h"
#include "platform/program_dir.h"
#include "search/tt_memory.h"

int initialise_engine(Count& e, int hash_megabytes, const std::string& dir, hash_book_use hash_book) {
    if (e.ready_state != 0) return 0;
    build_evaluation_tables(e);
    if (!tt_resize(e, hash_megabytes)) {
        std::fprintf(stderr, "cannot allocate the transposition tables\n");
        return 0;
    }
    if (!load_prime_keys(e, dir)) {
        tt_free(e);
        return 0;
    }
    e.ready_state = 1;
    if (hash_book == hash_book_use::load) hash_book_load(e, (dir.empty() ? std::string(".") : dir) + "/hashbook.bin");
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
