// The hash book: earlier root results kept in "hashbook.bin".
#pragma once
#include <cstdint>
#include <string>

#include "board/engine.h"

// Loads the image from the file at `path` (creating the file when missing).
void hash_book_load(Count& e, const std::string& path);
// Writes the image back, closes the file and frees the image.
void hash_book_save(Count& e);

struct hash_book_entry_t {
    uint32_t lock;
    int8_t depth;
    int16_t value;
    uint32_t time;
};

bool hash_book_probe(Count& e, uint32_t key, hash_book_entry_t& probe);
void hash_book_store(Count& e, uint32_t key, const hash_book_entry_t& entry);
