// The hash book: earlier root results kept in "hashbook.bin".
#pragma once
#include <string>

#include "board/engine.h"

// Loads the image from the file at `path` (creating the file when missing).
void hash_book_load(Count& e, const std::string& path);
// Writes the image back, closes the file and frees the image.
void hash_book_save(Count& e);
