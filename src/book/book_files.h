// The opening-book file pair: "sg.hash", an index of 655,360 little-endian
// 32-bit chain heads (-1 for an empty bucket), and "sg.data", chained 68-byte
// records (32-byte key, next offset, then 32 payload bytes). The open streams
// are process-wide; the engine only reads them.
#pragma once
#include <cstdint>

constexpr int32_t BOOK_INDEX_WORDS = 655360;
constexpr int BOOK_RECORD_BYTES = 68;
constexpr int BOOK_PAYLOAD_OFFSET = 36;
constexpr int BOOK_PAYLOAD_BYTES = 32;

// Opens "sg.hash" and "sg.data" in the working directory, creating missing ones
// and filling an empty index with empty buckets. 1 when both are open; 0 when
// either cannot be opened, in which case every lookup misses.
int open_book_files();
// The same in another directory.
int open_book_files_in(const char* directory);
void close_book_files();

// Byte offset in "sg.data" of the record with this key, or -1. Damaged files
// (offsets out of range, records cut short, chains that loop) give -1.
int32_t book_lookup(const uint8_t key[32]);
// Reads the 32 payload bytes of the record at `offset`; returns the bytes read (32 on success).
int book_read_payload(int32_t offset, uint8_t payload[32]);
