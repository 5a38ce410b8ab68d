// Engine initialisation with an explicit program directory (Count::initialise
// passes the directory of the running binary).
#pragma once
#include <string>

#include "board/engine.h"

// The hash size the engine starts with, in megabytes.
constexpr int DEFAULT_HASH_MEGABYTES = 32;

// `none`: an engine whose searches no earlier run can change (the bench).
enum class hash_book_use { load, none };

// Builds the evaluation tables, allocates the transposition tables, reads
// "_prime.txt" (from `program_dir`, else the working directory) and loads
// "hashbook.bin" from `program_dir` ("" = the working directory) unless told
// not to. 1 on success; 0 on failure (reason on stderr) or when already
// initialised.
int initialise_engine(Count& e, int hash_megabytes, const std::string& program_dir,
                      hash_book_use hash_book = hash_book_use::load);
