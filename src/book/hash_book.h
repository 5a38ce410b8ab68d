// The hash book: earlier root results, 85 buckets of four 12-byte entries,
// kept in memory as the exact bytes of "hashbook.bin" (little-endian fields).
#pragma once
#include <cstdint>
#include <string>

#include "board/engine.h"

constexpr int HASH_BOOK_BUCKETS = 85;
constexpr int HASH_BOOK_SLOTS = 4;
constexpr int HASH_BOOK_ENTRY_BYTES = 12;
constexpr int HASH_BOOK_BYTES = HASH_BOOK_BUCKETS * HASH_BOOK_SLOTS * HASH_BOOK_ENTRY_BYTES;  // 4,080

// lock 0 marks an empty entry; value is from the view of the side that moved into the position.
struct hash_book_entry_t {
    uint32_t lock;
    int8_t depth;
    int16_t value;
    uint32_t time;  // milliseconds the search had run
};

// Takes the bucket's entries with probe.lock that beat what `probe` holds so
// far, copying their depth, value and time into it; true if any was taken.
bool hash_book_probe(Count& e, uint32_t key, hash_book_entry_t& probe);
// Updates the entry with entry.lock or replaces the weakest one; a new entry
// shallower and faster than that one is refused.
void hash_book_store(Count& e, uint32_t key, const hash_book_entry_t& entry);

// Allocates the image and reads the file at `path` over it, as far as it goes.
// A missing file is left missing until the first save. A symbolic link is
// followed to the file it names. A file of the wrong size is said once on
// stderr. Where the file cannot be written, or is not a regular file, the book
// lives in memory only and is not saved (said on stderr).
void hash_book_load(Count& e, const std::string& path);
// Writes the image back (a temporary file renamed over the old one, so a failed
// save or a kill leaves the old file whole) and frees it. A loaded file longer
// than the table may not be ours: it is kept under a name ending in ".old".
void hash_book_save(Count& e);
