// The opening-book file pair: "sg.hash", an index of 655,360 little-endian
// 32-bit chain heads (-1 for an empty bucket), and "sg.data", chained 68-byte
// records (32-byte key, next offset, then 32 payload bytes). The open streams
// are process-wide; the engine only reads them.
#pragma once
#include <cstdint>
#include <string>

constexpr int32_t BOOK_INDEX_WORDS = 655360;
constexpr int BOOK_RECORD_BYTES = 68;
constexpr int BOOK_PAYLOAD_OFFSET = 36;
constexpr int BOOK_PAYLOAD_BYTES = 32;
// The longest chain a lookup walks. The bucket sum spreads positions evenly
// over the 262,144 buckets the mask reaches: the shipped book's longest chain
// holds 8 records, a book of every position of 32,000 games (1.4 M records)
// 19, and even the most records 32-bit offsets allow (31.6 M, 120 a bucket)
// would give no chain much above 180. A longer chain is damage; walking it
// would cost a read per record at every lookup of a book probe.
constexpr long MAX_BOOK_CHAIN = 512;

// Opens "sg.hash" and "sg.data" in the working directory, creating missing ones
// and filling an empty index with empty buckets. 1 when both are open; 0 when
// either cannot be opened, in which case every lookup misses.
int open_book_files();
// The same in another directory.
int open_book_files_in(const char* directory);
void close_book_files();

// The book at start-up: the working directory's pair when it holds records,
// otherwise the pair beside the program (only read; nothing is created in the
// working directory), otherwise open_book_files().
int open_default_book(const std::string& program_dir);
// The "bookfiles" option: a folder holding sg.hash and sg.data, or the path of
// the .hash file; a relative path not found from the working directory is
// tried from the program directory; "" restores the start-up book. A bad path
// leaves no book open (one line on stderr) and returns 0.
int open_book_path(const std::string& path, const std::string& program_dir);

// Byte offset in "sg.data" of the record with this key, or -1. Damaged files
// (offsets out of range, records cut short, chains that loop or run past
// MAX_BOOK_CHAIN records) give -1; the first cut chain of an opened book is
// reported on stderr.
int32_t book_lookup(const uint8_t key[32]);
// Reads the 32 payload bytes of the record at `offset`; returns the bytes read (32 on success).
int book_read_payload(int32_t offset, uint8_t payload[32]);
