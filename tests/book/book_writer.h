// Opening-book files written by tests in the stored layout (little-endian).
#pragma once
#include <array>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "book/book_files.h"
#include "book/book_key.h"

using Key = std::array<uint8_t, 32>;

inline void put32(std::vector<uint8_t>& bytes, size_t at, uint32_t v) {
    if (bytes.size() < at + 4) bytes.resize(at + 4);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

inline Key key_with(uint8_t fill, uint8_t first = 0) {
    Key k;
    k.fill(fill);
    k[0] = first;
    return k;
}

// A book in the stored layout: index words (default -1) and a data file of records.
struct BookWriter {
    std::map<uint32_t, int32_t> heads;
    std::vector<uint8_t> data;

    // Appends a record and returns its offset; the payload bytes are 100 + i.
    int32_t add(const Key& key, int32_t next) {
        const auto at = static_cast<int32_t>(data.size());
        data.resize(data.size() + BOOK_RECORD_BYTES);
        std::memcpy(&data[at], key.data(), 32);
        put32(data, at + 32, static_cast<uint32_t>(next));
        for (int i = 0; i < 32; ++i) data[at + 36 + i] = static_cast<uint8_t>(100 + i);
        return at;
    }
    void write(const std::string& dir, size_t data_size) const {
        std::vector<uint8_t> index(4 * BOOK_INDEX_WORDS, 0xFF);
        for (const auto& [bucket, offset] : heads) put32(index, 4 * bucket, static_cast<uint32_t>(offset));
        std::ofstream(dir + "/sg.hash", std::ios::binary)
            .write(reinterpret_cast<const char*>(index.data()), static_cast<std::streamsize>(index.size()));
        std::ofstream(dir + "/sg.data", std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data_size));
    }
    void write(const std::string& dir) const { write(dir, data.size()); }

    // Adds a record at the head of its bucket's chain with the counts the book reads.
    int32_t add_position(const Key& key, uint32_t occurrences, uint8_t book_ply, uint32_t tally_a, uint32_t tally_b) {
        const uint32_t bucket = book_bucket(key.data());
        const auto it = heads.find(bucket);
        const int32_t at = add(key, it == heads.end() ? -1 : it->second);
        std::memset(&data[at + 36], 0, 32);
        put32(data, at + 36, occurrences);
        data[at + 40] = book_ply;
        put32(data, at + 44, tally_a);
        put32(data, at + 48, tally_b);
        heads[bucket] = at;
        return at;
    }
};

